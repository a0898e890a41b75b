#!/usr/bin/env python3
"""Writes the data file of a simulated switch model (PQS-4400-52.sim,
PQS-4400-28.sim or PQS-4400-20.sim).

The data files are committed; run this again only to change what a freshly
started simulated switch holds:
    simulator/make-model-data.py PQS-4400-52 > simulator/PQS-4400-52.sim
"""

import sys

MODELS = {"PQS-4400-52": 48, "PQS-4400-28": 24, "PQS-4400-20": 16}
MODEL = sys.argv[1] if len(sys.argv) > 1 else "PQS-4400-52"
if MODEL not in MODELS:
    sys.exit("unknown model %s (one of %s)" % (MODEL, ", ".join(MODELS)))

PRIVATE = "1.3.6.1.4.1.32473.10.126.4.1"
COPPER = MODELS[MODEL]
PORTS = COPPER + 4
FDB_ROWS = 1000
TRUNK_LINKS = 2   # other tests count on the two links
# Spanning-tree port columns and the value every port starts with.
RSTP_PORT = {2: 128, 3: 0, 4: 2, 7: 1, 8: 2, 9: 1, 10: 1}
# A few rows of the tables with arbitrary indexes, near the last copper
# ports (40-46 on the PQS-4400-52, away from the ports the tests use):
# (VLAN, MAC, port), (index, ports).
STATIC_FDB = [(1, "001b21aa0001", COPPER - 8), (1, "001b21aa0002", COPPER - 7)]
ACL_PORTS = [("1.5", list(range(COPPER - 7, COPPER - 3))), ("2.20", [])]
ARP_PORTS = [("10.0.0.254", [COPPER - 3, COPPER - 2])]

# Operating mode of a port (private port table column 3): 1 down,
# 2 1000M full, 3 100M full, 4 100M half, 5 10M full, 6 10M half.
LINK = {p: 1 for p in range(1, PORTS + 1)}
for p in range(1, 9):
    LINK[p] = 2
LINK[9] = LINK[10] = 3
LINK[11] = 5
LINK[COPPER + 1] = 2
# Medium code (column 7): 2 copper, 3 SFP 100Base-x, 4 SFP 1000Base-x.
MEDIUM = {p: 2 if p <= COPPER else 4 for p in range(1, PORTS + 1)}
MEDIUM[COPPER + 3] = 3


def bitmap(ports, octets=8):
    data = bytearray(octets)
    for p in ports:
        data[(p - 1) // 8] |= 0x80 >> ((p - 1) % 8)
    return data.hex()


def mac(n):
    return "001b21%06x" % (0x10000 + n * 7919 % 0xEFFFFF)


out = []
w = out.append

w("# %s: %d copper ports (1-%d) and 4 SFP ports (%d-%d)." % (MODEL, COPPER, COPPER, COPPER + 1, PORTS))
w("# Format: see simulator/README.md. Written by make-model-data.py.")
w("")
w("# MIB-II system group")
w('1.3.6.1.2.1.1.1.0 ro s "%s Managed Gigabit Ethernet Switch"' % MODEL)
w("1.3.6.1.2.1.1.2.0 ro o " + PRIVATE)
w("1.3.6.1.2.1.1.3.0 ro t 0  # counts from the (simulated) boot")
w('1.3.6.1.2.1.1.4.0 rw(0..255) s ""')
w('1.3.6.1.2.1.1.5.0 rw(0..255) s "%s"' % MODEL)
w('1.3.6.1.2.1.1.6.0 rw(0..255) s ""')
w("1.3.6.1.2.1.1.7.0 ro i 2")
w("")
w("# interfaces")
w("1.3.6.1.2.1.2.1.0 ro i %d" % PORTS)
for p in range(1, PORTS + 1):
    up = LINK[p] != 1
    speed = {1: 0, 2: 1000000000, 3: 100000000, 4: 100000000, 5: 10000000, 6: 10000000}[LINK[p]]
    t = "1.3.6.1.2.1.2.2.1.%d." + str(p)
    w((t + " ro i %d") % (1, p))
    w((t + ' ro s "Port %d"') % (2, p))
    w((t + " ro i 6") % 3)
    w((t + " ro i 1518") % 4)
    w((t + " ro u %d") % (5, speed))
    w((t + " ro x 00a0c9%06x") % (6, 0x4400 + p))
    w((t + " rw(1..3) i 1") % 7)
    w((t + " ro i %d") % (8, 1 if up else 2))
    w((t + " ro t 0") % 9)
    for col, base in ((10, 1000000), (11, 9000), (13, 0), (14, 0), (16, 2000000), (17, 12000), (19, 0), (20, 0)):
        w((t + " ro c %d") % (col, base * p if up else 0))
w("")
w("# save configuration (1 = save; reads 1 while saving, else 2)")
w(PRIVATE + ".1.11.0 rw(1..2) i 2")
w("# reboot (1 = reboot now; reads 2)")
w(PRIVATE + ".1.10.0 rw(1..2) i 2")
w("# front-panel lamps: power supply and system status (1 normal, 2 fault)")
w(PRIVATE + ".1.15.1.0 ro i 1")
w(PRIVATE + ".1.15.2.0 ro i 1")
w("")
w("# port table: 2 speed, 3 operating mode (link), 5 flow control,")
w("# 6 operating flow control, 7 medium code")
for p in range(1, PORTS + 1):
    t = PRIVATE + ".1.13.1.%d." + str(p)
    w((t + " rw(1..7) i 6") % 2)
    w((t + " ro i %d") % (3, LINK[p]))
    w((t + " rw(1..2) i 2") % 5)
    w((t + " ro i 2") % 6)
    w((t + " ro i %d") % (7, MEDIUM[p]))
w("")
w("# firmware (3.9) and configuration (3.10) transfer: server address, its")
w("# type, file name, operation (1 upgrade, 2 backup), status")
for arc in (9, 10):
    t = PRIVATE + ".3.%d.%%d.0" % arc
    w((t + ' rw(0..16) x "00000000"') % 1)
    w((t + " rw(1..2) i 1") % 2)
    w((t + ' rw(0..64) s ""') % 4)
    w((t + " rw(1..2) i 0") % 5)
    w((t + " ro i 0") % 6)
w("")
w("# syslog: enable (1/2), time stamp (1/2), severity (4 warning, 6 info,")
w("# 7 all), facility (128 + 8 x k for local k); host table indexed by")
w("# address type.length.octets: 1 type and 2 address (from the index),")
w("# 3 UDP port (required), 4 interface name (link-local IPv6), 5 row status")
w(PRIVATE + ".16.2.1.0 rw(1..2) i 2")
w(PRIVATE + ".16.2.2.0 rw(1..2) i 1")
w(PRIVATE + ".16.2.3.0 rw(0..7) i 4")
w(PRIVATE + ".16.2.4.0 rw(128..184) i 128")
w("table %s.16.2.5.1 rowstatus 5" % PRIVATE)
w("column 1 ro i 1")
w('column 2 ro x ""')
w("column 3 rw(1..65535) i")
w('column 4 rw(0..20) s ""')
w("")
w("# 802.1Q VLANs: mode (1 asymmetric, 2 symmetric), PVIDs (Unsigned32), VLAN table")
w(PRIVATE + ".7.5.0 rw(1..2) i 2")
for p in range(1, PORTS + 1):
    w(PRIVATE + ".7.7.1.1.%d rw(1..4094) u 1" % p)
w("table %s.7.6.1 rowstatus 6 index 1..4094" % PRIVATE)
w("column 1 rw(0..32) s          # name: must be set before the row is active")
w('column 2 rw(0..64) x ""       # egress ports')
w('column 3 rw(0..64) x ""       # forbidden ports')
w('column 4 rw(0..64) x ""       # untagged ports')
w("column 5 rw(1..2) i 2         # advertisement")
all_ports = bitmap(range(1, PORTS + 1))
w(PRIVATE + '.7.6.1.1.1 rw(0..32) s "default"')
w(PRIVATE + ".7.6.1.2.1 rw(0..64) x " + all_ports)
w(PRIVATE + ".7.6.1.3.1 rw(0..64) x " + bitmap([]))
w(PRIVATE + ".7.6.1.4.1 rw(0..64) x " + all_ports)
w(PRIVATE + ".7.6.1.5.1 rw(1..2) i 2")
w(PRIVATE + ".7.6.1.6.1 rw i 1")
w("")
w("# voice VLAN (21.1) and auto surveillance VLAN (26.1): state (1 enabled,")
w("# 2 disabled) and VID")
w(PRIVATE + ".21.1.2.0 rw(1..2) i 2")
w(PRIVATE + ".21.1.3.0 rw(1..4094) i 1")
w(PRIVATE + ".26.1.1.0 rw(1..2) i 2")
w(PRIVATE + ".26.1.2.0 rw(1..4094) i 1")
w("# IP interfaces: the VLAN of each (interface 1, the switch's own, on VLAN 1)")
w(PRIVATE + ".41.1.1.1.2.1 rw(1..4094) i 1")
w("")
w("# aggregated links: state (1 enabled, 2 disabled) and a fixed table of")
w("# links: 2 member port bitmap, 3 channel mode (1 LACP, 2 static, 3 off)")
w(PRIVATE + ".8.1.2.0 rw(1..2) i 1")
for link in range(1, TRUNK_LINKS + 1):
    w(PRIVATE + ".8.1.3.1.2.%d rw(0..64) x %s" % (link, bitmap([1, 2] if link == 1 else [])))
for link in range(1, TRUNK_LINKS + 1):
    w(PRIVATE + ".8.1.3.1.3.%d rw(1..3) i %d" % (link, 2 if link == 1 else 3))
w("")
w("# what the link rules compare, per port: 802.1p default priority (1-4),")
w("# port security and loopback detection (1 on, 2 off), bandwidth control")
w("# rates (0 no limit), 802.1X port value, voice VLAN port mode (1 auto),")
w("# auto surveillance VLAN port mode (1 auto) and value (2 dynamic)")
for p in range(1, PORTS + 1):
    w(PRIVATE + ".12.3.1.1.2.%d rw(1..4) i 1" % p)
    w(PRIVATE + ".14.2.1.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".17.5.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".13.1.2.1.2.%d rw i 0" % p)
    w(PRIVATE + ".13.1.2.1.3.%d rw i 0" % p)
    w(PRIVATE + ".11.2.9.1.2.%d rw(0..3) i 0" % p)
    w(PRIVATE + ".21.1.6.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".26.1.5.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".26.1.5.1.3.%d rw(1..2) i 1" % p)
w("# spanning tree: state (1 on) and seven settings per port")
w(PRIVATE + ".51.1.1.0 rw(1..2) i 1")
for col, value in RSTP_PORT.items():
    for p in range(1, PORTS + 1):
        w(PRIVATE + ".51.2.1.%d.%d rw i %d" % (col, p, value))
w("# 802.1X state (1 on, 2 off)")
w(PRIVATE + ".11.2.1.0 rw(1..2) i 2")
w("# DHCP server screening ports, auto-learning ports (bitmaps)")
w(PRIVATE + ".14.7.1.0 rw(0..64) x " + bitmap([]))
w(PRIVATE + ".9.2.0 rw(0..64) x " + bitmap(range(1, PORTS + 1)))
w("# static forwarding entries (index VLAN.MAC): 3 port")
for vid, mac_text, port in STATIC_FDB:
    index = "%d.%s" % (vid, ".".join(str(int(mac_text[k:k + 2], 16)) for k in range(0, 12, 2)))
    w(PRIVATE + ".9.3.1.3.%s ro i %d" % (index, port))
w("# ACL rules (index profile.rule): 10 port bitmap")
for index, ports in ACL_PORTS:
    w(PRIVATE + ".15.2.1.1.10.%s rw(0..64) x %s" % (index, bitmap(ports)))
w("# ARP spoofing prevention (index gateway address): 3 port bitmap")
for index, ports in ARP_PORTS:
    w(PRIVATE + ".14.3.1.1.3.%s rw(0..64) x %s" % (index, bitmap(ports)))
w("# port mirroring: state (1 on, 2 off), target port, receive and transmit")
w("# source ports (bitmaps)")
w(PRIVATE + ".18.1.0 rw(1..2) i 2")
w(PRIVATE + ".18.2.0 rw(1..%d) i 1" % PORTS)
w(PRIVATE + ".18.3.0 rw(0..64) x " + bitmap([]))
w(PRIVATE + ".18.4.0 rw(0..64) x " + bitmap([]))
w("")
w("# dot1qTpFdbTable: 1 address, 2 port, 3 status (3 learned); index fdbId.mac")
rows = []
for i in range(FDB_ROWS):
    m = mac(i)
    index = "1." + ".".join(str(int(m[k:k + 2], 16)) for k in range(0, 12, 2))
    rows.append((index, m, 1 + i % PORTS))
for index, m, port in rows:
    w("1.3.6.1.2.1.17.7.1.2.2.1.1.%s ro x %s" % (index, m))
    w("1.3.6.1.2.1.17.7.1.2.2.1.2.%s ro i %d" % (index, port))
    w("1.3.6.1.2.1.17.7.1.2.2.1.3.%s ro i 3" % index)
w("")
w("# the switch's own SNMP agent: global state, engine ID, trap switches and")
w("# the user, group, view, community and trap-host tables (names are UTF-8")
w("# strings in the index: length, then one sub-identifier per octet)")
AGENT = PRIVATE + ".25"
POE = "P" in MODEL[3:].upper()


def sindex(text):
    data = text.encode("utf-8")
    return ".".join([str(len(data))] + [str(b) for b in data])


w(AGENT + ".1.0 rw(1..2) i 1                # global state: 1 enabled, 2 disabled")
engine = {"PQS-4400-52": "5051532d343430302d3532001500062052"}.get(MODEL, "5051532d343430302d3230000102030405")
w(AGENT + ".7.0 rw(5..32) x " + engine + "   # engine ID")
traps = [1, 2, 3, 4, 5, 9] + ([6, 7, 8] if POE else [])
for t in sorted(traps):
    w(AGENT + ".8.%d.0 rw(1..2) i 1" % t)
w("table %s.2.1.1 rowstatus 8        # users: name.model" % AGENT)
w('column 1 ro s ""                  # name, from the index')
w("column 2 ro i 1                   # model 1 v1, 2 v2c, 3 v3, from the index")
w("column 3 rw(0..32) s              # group: must be set before the row is active")
w("column 4 rw(1..3) i 1             # authentication 1 none, 2 MD5, 3 SHA")
w('column 5 rw(0..40) s ""           # authentication password')
w("column 6 rw(1..2) i 1             # privacy 1 none, 2 DES")
w('column 7 rw(0..32) s ""           # privacy password')
w("table %s.3.1.1 rowstatus 7        # groups: name.model.level" % AGENT)
w('column 1 ro s ""                  # name, from the index')
w("column 2 ro i 1                   # model, from the index")
w("column 3 ro i 1                   # level 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv, from the index")
w('column 4 rw(0..32) s ""           # read view')
w('column 5 rw(0..32) s ""           # write view')
w('column 6 rw(0..32) s ""           # notify view')
w("table %s.4.1.1 rowstatus 5        # views: name.length.subtree" % AGENT)
w('column 1 ro s ""                  # name, from the index')
w("column 2 ro o 0.0                 # subtree, from the index")
w('column 3 rw(0..16) x ""           # mask, one octet per sub-identifier')
w("column 4 rw(1..2) i 1             # 1 included, 2 excluded")
w("table %s.5.1.1 rowstatus 3        # communities: name" % AGENT)
w('column 1 ro s ""                  # name, from the index')
w('column 2 rw(0..32) s ""           # view policy: a user name')
w("table %s.6.2.1 rowstatus 6        # trap hosts: length.address.type" % AGENT)
w('column 1 ro x ""                  # address octets, from the index')
w("column 2 ro i 1                   # address type 1 IPv4, 2 IPv6, from the index")
w("column 3 rw(0..32) s              # community or user name: must be set")
w("column 4 rw(1..5) i 1             # version 1 v1, 2 v2c, 3-5 v3 levels")
w('column 5 rw(0..32) s ""           # interface of a link-local address')


def row(table, index, cells):
    for col, access, kind, value in cells:
        w("%s.%s.%d.%s %s %s %s" % (AGENT, table, col, index, access, kind, value))


for name, model, group, auth, authpw, priv, privpw in [
        ("public", 1, "public", 1, "", 1, ""), ("private", 2, "private", 1, "", 1, ""),
        ("admin", 3, "admin", 2, "adminpass", 2, "adminpriv")]:
    i = "%s.%d" % (sindex(name), model)
    row("2.1.1", i, [(1, "ro", "s", '"%s"' % name), (2, "ro", "i", model), (3, "rw(0..32)", "s", '"%s"' % group),
                     (4, "rw(1..3)", "i", auth), (5, "rw(0..40)", "s", '"%s"' % authpw), (6, "rw(1..2)", "i", priv),
                     (7, "rw(0..32)", "s", '"%s"' % privpw), (8, "rw", "i", 1)])
for name, model, level, view in [("public", 1, 1, "all"), ("private", 2, 1, "all"), ("admin", 3, 2, "all")]:
    i = "%s.%d.%d" % (sindex(name), model, level)
    row("3.1.1", i, [(1, "ro", "s", '"%s"' % name), (2, "ro", "i", model), (3, "ro", "i", level),
                     (4, "rw(0..32)", "s", '"%s"' % view), (5, "rw(0..32)", "s", '"%s"' % view),
                     (6, "rw(0..32)", "s", '"%s"' % view), (7, "rw", "i", 1)])
i = "%s.4.1.3.6.1" % sindex("all")
row("4.1.1", i, [(1, "ro", "s", '"all"'), (2, "ro", "o", "1.3.6.1"), (3, "rw(0..16)", "x", "01010101"), (4, "rw(1..2)", "i", 1),
                 (5, "rw", "i", 1)])
for name, policy in [("public", "public"), ("private", "private")]:
    row("5.1.1", sindex(name), [(1, "ro", "s", '"%s"' % name), (2, "rw(0..32)", "s", '"%s"' % policy),
                                 (3, "rw", "i", 1)])
row("6.2.1", "4.10.0.0.9.1", [(1, "ro", "x", "0a000009"), (2, "ro", "i", 1), (3, "rw(0..32)", "s", '"public"'),
                              (4, "rw(1..5)", "i", 1), (5, "rw(0..32)", "s", '""'), (6, "rw", "i", 1)])
print("\n".join(out))
