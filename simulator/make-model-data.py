#!/usr/bin/env python3
"""Writes the data file of a simulated switch model (PQS-4400-52.sim,
PQS-4400-28.sim, PQS-4400-20.sim or PQS-4400-28P.sim, the PoE model).

The data files are committed; run this again only to change what a freshly
started simulated switch holds:
    simulator/make-model-data.py PQS-4400-52 > simulator/PQS-4400-52.sim
"""

import sys

MODELS = {"PQS-4400-52": 48, "PQS-4400-28": 24, "PQS-4400-20": 16, "PQS-4400-28P": 24}
MODEL = sys.argv[1] if len(sys.argv) > 1 else "PQS-4400-52"
if MODEL not in MODELS:
    sys.exit("unknown model %s (one of %s)" % (MODEL, ", ".join(MODELS)))

PRIVATE = "1.3.6.1.4.1.32473.10.126.4.1"
COPPER = MODELS[MODEL]
PORTS = COPPER + 4
POE = "P" in MODEL[3:].upper()   # a PoE model: "P" after the family prefix
FDB_ROWS = 1000
TRUNK_LINKS = 2   # other tests count on the two links
# A few rows of the tables with arbitrary indexes, near the last copper
# ports (40-46 on the PQS-4400-52, away from the ports the tests use):
# (VLAN, MAC, port), (index, ports).
STATIC_FDB = [(1, "001b21aa0001", COPPER - 8), (1, "001b21aa0002", COPPER - 7)]
ACL_PORTS = [("1.5", list(range(COPPER - 7, COPPER - 3))), ("2.20", [])]
ARP_PORTS = [("10.0.0.254", [COPPER - 3, COPPER - 2])]
FDB_FIRST_ROWS = 900   # in FDB 1; the rest in FDB_SECOND
FDB_SECOND = 100

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



def screening_and_arp_spoofing():
    """DHCP server screening's trusted servers and the ARP spoofing
    prevention table (the screening port bitmap is written above)."""
    w("# DHCP server screening trusted servers (RowStatus 4, index entry 1-5):")
    w("# 1 entry number (from the index), 2 address (4 or 16 octets),")
    w("# 3 address type (1 IPv4, 2 IPv6); no row at start")
    w("table %s.14.7.3.1 rowstatus 4 index 1..5" % PRIVATE)
    w("column 1 ro i 0")
    w("column 2 rw(4..16) x")
    w("column 3 rw(1..2) i")
    w("# ARP spoofing prevention (RowStatus 4, index the gateway address):")
    w("# 1 gateway address (from the index), 2 MAC (6 octets), 3 port bitmap")
    w("table %s.14.3.1.1 rowstatus 4" % PRIVATE)
    w("column 1 ro a 0.0.0.0")
    w("column 2 rw(6..6) x")
    w("column 3 rw(0..64) x")
    for n, (index, ports) in enumerate(ARP_PORTS):
        cell = PRIVATE + ".14.3.1.1.%d." + index
        w(cell % 1 + " ro a " + index)
        w(cell % 2 + " rw(6..6) x " + mac(900 + n))
        w(cell % 3 + " rw(0..64) x " + bitmap(ports))
        w(cell % 4 + " rw i 1")


def services_and_rmon():
    """Telnet and web services and the RMON control scalars (second private
    arc), and RMON's etherStatsTable with one entry per port
    (RmonBehaviour.cpp fills a new entry's index and lets counters grow)."""
    arc = "1.3.6.1.4.1.32473.10.94.89.89"
    w("")
    w("# telnet: 58.2.0 password, 58.3.0 idle time-out (minutes); sessions")
    w("# (58.4.1, index session id): 1 id, 2 client address, 3 login time,")
    w("# 4 status (1 connected, 2 not connected)")
    w(arc + '.58.2.0 ro s "velmarc"')
    w(arc + ".58.3.0 rw(0..60) i 5")
    for sid, client, login, status in ((1, "10.90.90.1", "2026/12/11 08:30:12", 1),
                                       (2, "10.90.90.7", "2026/12/11 07:02:45", 2)):
        t = arc + ".58.4.1.%%d.%d" % sid
        w((t + " ro i %d") % (1, sid))
        w((t + ' ro s "%s"') % (2, client))
        w((t + ' ro s "%s"') % (3, login))
        w((t + " rw(1..2) i %d") % (4, status))
    w("# web services (66.30.1, index of two parts): 2 name, 3 enable (2 disabled,")
    w("# 3 enabled), 4 UDP port, 5 max users, 6 protocol (2 http, 3 https),")
    w("# 7 certificate id, 8 max idle time-out")
    for index, name, enable, port, users, protocol, cert, idle in (("1.5", "http", 3, 80, 8, 2, 0, 600),
                                                                  ("2.7", "https", 2, 443, 4, 3, 1, 300)):
        t = arc + ".66.30.1.%%d.%s" % index
        w((t + ' ro s "%s"') % (2, name))
        w((t + " rw(2..3) i %d") % (3, enable))
        w((t + " rw(1..65535) i %d") % (4, port))
        w((t + " ro i %d") % (5, users))
        w((t + " ro i %d") % (6, protocol))
        w((t + " ro i %d") % (7, cert))
        w((t + " rw(0..65535) i %d") % (8, idle))
    w("# RMON control: 49.1.0 MIB version, 49.2.0 quota bucket, 49.3.0 max global")
    w("# buckets (read only), 49.6.0, 49.7.0, 49.8.0 history control settings")
    w(arc + ".49.1.0 ro i 1")
    w(arc + ".49.2.0 rw(1..65535) i 50")
    w(arc + ".49.3.0 ro i 2000")
    w(arc + ".49.6.0 rw(1..65535) i 50")
    w(arc + ".49.7.0 rw(1..65535) i 2000")
    w(arc + ".49.8.0 rw(1..65535) i 100")
    w("# RMON etherStatsTable (EntryStatus 21: 1 valid, 2 createRequest,")
    w("# 3 underCreation, 4 invalid): 1 index, 2 data source (ifIndex instance,")
    w("# required), 3-19 counters, 20 owner; entry n watches port n")
    e = "1.3.6.1.2.1.16.1.1.1"
    w("table %s entrystatus 21 index 1..65535" % e)
    w("column 1 ro i 0")
    w("column 2 rw o")
    for column in range(3, 20):
        w("column %d ro c 0" % column)
    w('column 20 rw(0..127) s ""')
    for p in range(1, PORTS + 1):
        w("%s.1.%d ro i %d" % (e, p, p))
        w("%s.2.%d rw o 1.3.6.1.2.1.2.2.1.1.%d" % (e, p, p))
        for column in range(3, 20):
            w("%s.%d.%d ro c %d" % (e, column, p, p * 100 + column))
        w('%s.20.%d rw(0..127) s "monitor"' % (e, p))
        w("%s.21.%d rw i 1" % (e, p))


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
w("# auto surveillance VLAN: priority (0 highest .. 3 low), tagged")
w("# uplink/downlink ports (bitmap), the port column of the port table; the")
w("# OUI table (index: the MAC's six octets) with 1 MAC (from the index),")
w("# 2 description, 3 mask, 4 component type (0-4; 5 only the default row),")
w("# 5 row status; the default row 0A-3C-5E-00-00-00 cannot be destroyed and")
w("# at most 5 other rows exist (SurveillanceBehaviour.cpp)")
w(PRIVATE + ".26.1.3.0 rw(0..3) i 2")
w(PRIVATE + ".26.1.4.0 rw(0..64) x " + bitmap([]))
for p in range(1, PORTS + 1):
    w(PRIVATE + ".26.1.5.1.1.%d ro i %d" % (p, p))
w("table %s.26.2.1.1 rowstatus 5" % PRIVATE)
w('column 1 ro x ""')
w('column 2 rw(0..64) s ""')
w("column 3 rw(6..6) x ffffffffffff")
w("column 4 rw(0..4) i 4")
SURVEILLANCE_DEFAULT = "10.60.94.0.0.0"
w(PRIVATE + ".26.2.1.1.1.%s ro x 0a3c5e000000" % SURVEILLANCE_DEFAULT)
w(PRIVATE + '.26.2.1.1.2.%s rw(0..64) s "Velmarc"' % SURVEILLANCE_DEFAULT)
w(PRIVATE + ".26.2.1.1.3.%s ro x ffffff000000" % SURVEILLANCE_DEFAULT)
w(PRIVATE + ".26.2.1.1.4.%s ro i 5" % SURVEILLANCE_DEFAULT)
w(PRIVATE + ".26.2.1.1.5.%s rw i 1" % SURVEILLANCE_DEFAULT)
w("# voice VLAN OUI table (index: the OUI's six octets): 1 OUI, 4 status (1 in")
w("# use; only those rows keep an OUI from the surveillance table)")
for oui, status in (("00036b", 1), ("00096e", 1), ("0060b9", 2), ("00e0bb", 1)):
    index = ".".join(str(int(oui[k:k + 2], 16)) for k in range(0, 6, 2)) + ".0.0.0"
    w(PRIVATE + ".21.2.1.1.1.%s ro x %s000000" % (index, oui))
    w(PRIVATE + ".21.2.1.1.4.%s ro i %d" % (index, status))
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
w("# port security (1 on, 2 off), bandwidth control")
w("# rates (0 no limit), 802.1X port value, voice VLAN port mode (1 auto),")
w("# auto surveillance VLAN port mode (1 auto) and value (2 dynamic)")
for p in range(1, PORTS + 1):
    w(PRIVATE + ".12.3.1.1.2.%d rw(1..4) i 1" % p)
    w(PRIVATE + ".14.2.1.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".13.1.2.1.2.%d rw i 0" % p)
    w(PRIVATE + ".13.1.2.1.3.%d rw i 0" % p)
    w(PRIVATE + ".11.2.9.1.2.%d rw(0..3) i 0" % p)
    w(PRIVATE + ".21.1.6.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".26.1.5.1.2.%d rw(1..2) i 2" % p)
    w(PRIVATE + ".26.1.5.1.3.%d rw(1..2) i 1" % p)
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
screening_and_arp_spoofing()
w("# port mirroring: state (1 on, 2 off), target port, receive and transmit")
w("# source ports (bitmaps)")
w(PRIVATE + ".18.1.0 rw(1..2) i 2")
w(PRIVATE + ".18.2.0 rw(1..%d) i 1" % PORTS)
w(PRIVATE + ".18.3.0 rw(0..64) x " + bitmap([]))
w(PRIVATE + ".18.4.0 rw(0..64) x " + bitmap([]))
w("")
w("# power saving: per feature (1 LED shut-off, 2 port shut-off, 3 port standby)")
w("# .1 port bitmap, .2 state (1 enabled, 2 disabled), .3/.4 time profile names")
w("# (\"None\" for none); 4 system hibernation: .1 state, .2/.3 profiles;")
w("# .5 cable-length detection, .6 link-status detection")
PS_OCTETS = 8 if PORTS > 28 else 4
for feature in (1, 2, 3):
    f = PRIVATE + ".31.%d" % feature
    w(f + ".1.0 rw(0..8) x " + bitmap(range(1, 5) if feature == 1 else [], PS_OCTETS))
    w(f + ".2.0 rw(1..2) i %d" % (1 if feature == 1 else 2))
    w(f + '.3.0 rw(0..20) s "%s"' % ("Day" if feature == 1 else "None"))
    w(f + '.4.0 rw(0..20) s "None"')
w(PRIVATE + ".31.4.1.0 rw(1..2) i 2")
w(PRIVATE + '.31.4.2.0 rw(0..20) s "None"')
w(PRIVATE + '.31.4.3.0 rw(0..20) s "None"')
w(PRIVATE + ".31.5.0 rw(1..2) i 1")
w(PRIVATE + ".31.6.0 rw(1..2) i 2")
w("")


def time_window_table(entry, default_year, rows):
    """A table of time windows (time profiles, PoE time ranges) and its rows,
    each (index, name, the values of columns 3 to 20)."""
    w("table %s rowstatus 21 index 1..8" % entry)
    w("column 2 rw(1..20) s          # name: must be set before the row is active")
    w("column 3 rw(1..2) i 2")
    for column, (lo, hi, default) in zip(range(4, 14), [(2000, 2099, default_year), (1, 12, 1), (1, 31, 1), (0, 23, 0), (0, 59, 0)] * 2):
        w("column %d rw(%d..%d) i %d" % (column, lo, hi, default))
    for column in range(14, 21):
        w("column %d rw(1..2) i 2" % column)
    for index, name, values in rows:
        w(entry + '.2.%d rw(1..20) s "%s"' % (index, name))
        for column, value in zip(range(3, 21), values):
            w(entry + ".%d.%d rw i %s" % (column, index, value))
        w(entry + ".21.%d rw i 1" % index)


w("# time profiles, index 1-8: 2 name, 3 date flag (1 dated, 2 not), 4-8 start")
w("# year, month, day, hour, minute, 9-13 end, 14-20 Monday..Sunday (1 yes, 2 no)")
time_window_table(PRIVATE + ".32.1.1", 2011, [
    (1, "Daytime", ["2", "2011", "1", "1", "8", "0", "2011", "1", "1", "18", "0"] + ["1"] * 5 + ["2"] * 2),
    (2, "Day", ["1", "2012", "5", "9", "8", "30", "2012", "6", "1", "17", "0"] + ["1"] * 7)])
w("")
# --- PoE and the 802.1X scalars beside the PoE time ranges ---
w("# 802.1X global scalars (every model): 23.1.1.0 authentication state,")
w("# 23.1.3.0 protocol (1 RADIUS, 2 local), 23.1.4.0 forward EAPOL; they sit")
w("# beside the PoE time-range columns (23.1.1.1 to .21) without sharing an instance")
w(PRIVATE + ".23.1.1.0 rw(1..2) i 2")
w(PRIVATE + ".23.1.3.0 rw(1..2) i 1")
w(PRIVATE + ".23.1.4.0 rw(1..2) i 2")


def dot1x_objects():
    """802.1X: the port table, the local users and the RADIUS servers below
    23 (beside the global scalars above), and the older scalars below 11."""
    w("# 802.1X ports (index port): 1 port (the index), 2 quiet period (s),")
    w("# 3 supplicant timeout, 4 server timeout, 5 max requests, 6 transmit")
    w("# period, 7 re-authentication period, 8 re-authentication (1 on, 2 off),")
    w("# 9 port control (1 forceUnauthorized, 2 auto, 3 forceAuthorized),")
    w("# 10 capability (1 authenticator, 2 none), 11 direction (0 both, 1 in)")
    port = PRIVATE + ".23.2.1.1"
    columns = [(2, "rw(0..65535)", 60), (3, "rw(1..65535)", 30), (4, "rw(1..65535)", 30), (5, "rw(1..10)", 2),
               (6, "rw(1..65535)", 30), (7, "rw(1..65535)", 3600), (8, "rw(1..2)", 2), (9, "rw(1..3)", 3),
               (10, "rw(1..2)", 2), (11, "rw(0..1)", 0)]
    for p in range(1, PORTS + 1):
        w(port + ".1.%d ro i %d" % (p, p))
    for column, access, value in columns:
        for p in range(1, PORTS + 1):
            w(port + ".%d.%d %s i %d" % (column, p, access, value))
    w("# 802.1X local users (RowStatus 3, index the name as length and octets):")
    w("# 1 name (from the index), 2 password (write-only: reads empty)")
    users = PRIVATE + ".23.3.1.1"
    w("table %s rowstatus 3" % users)
    w('column 1 ro s ""')
    w('column 2 rw(0..15) s ""')
    guest = ".".join(["5"] + [str(ord(c)) for c in "guest"])
    w(users + '.1.%s ro s "guest"' % guest)
    w(users + '.2.%s rw(0..15) s "guest123"' % guest)
    w(users + ".3.%s rw i 1" % guest)
    w("# RADIUS servers (RowStatus 10, index 1-3): 1 index, 2 address type")
    w("# (1 IPv4, 2 IPv6), 3 address (4 or 16 octets, required), 4 interface")
    w("# name, 5 authentication port, 6 accounting port, 7 timeout (s),")
    w("# 8 retransmit, 9 key (required; write-only: reads empty)")
    radius = PRIVATE + ".23.4.2.1"
    w("table %s rowstatus 10 index 1..3" % radius)
    w("column 1 ro i 0")
    w("column 2 rw(1..2) i 1")
    w("column 3 rw(0..16) x")
    w('column 4 rw(0..20) s ""')
    w("column 5 rw(1..65535) i 1812")
    w("column 6 rw(1..65535) i 1813")
    w("column 7 rw(1..255) i 5")
    w("column 8 rw(1..255) i 2")
    w("column 9 rw(0..32) s")
    for column, cell in [(1, "ro i 1"), (2, "rw(1..2) i 1"), (3, "rw(0..16) x 0a5a5a64"), (4, 'rw(0..20) s ""'),
                         (5, "rw(1..65535) i 1812"), (6, "rw(1..65535) i 1813"), (7, "rw(1..255) i 5"),
                         (8, "rw(1..255) i 2"), (9, 'rw(0..32) s "radius"'), (10, "rw i 1")]:
        w(radius + ".%d.1 %s" % (column, cell))
    w("# older 802.1X scalars (the state 11.2.1.0 is above): 11.1.1.0 RADIUS")
    w("# server (IpAddress), 11.1.2.0 key, 11.2.2.0-11.2.6.0 quiet period,")
    w("# transmit period, supplicant timeout, server timeout, max requests,")
    w("# 11.2.7.0 re-authentication period (Unsigned32), 11.2.8.0")
    w("# re-authentication (1 on, 2 off)")
    w(PRIVATE + ".11.1.1.0 rw a 10.90.90.100")
    w(PRIVATE + '.11.1.2.0 rw(0..32) s "radius"')
    for tail, access, value in [("2.2", "rw(0..65535)", 60), ("2.3", "rw(1..65535)", 30), ("2.4", "rw(1..65535)", 30),
                                ("2.5", "rw(1..65535)", 30), ("2.6", "rw(1..10)", 2)]:
        w(PRIVATE + ".11.%s.0 %s i %d" % (tail, access, value))
    w(PRIVATE + ".11.2.7.0 rw(1..4294967295) u 3600")
    w(PRIVATE + ".11.2.8.0 rw(1..2) i 2")


dot1x_objects()
if POE:
    w("")
    w("# PoE time ranges, index 1-8: the columns of the time profiles (no column 1)")
    time_window_table(PRIVATE + ".23.1.1", 2009, [
        (1, "Office", ["2", "2009", "1", "1", "7", "30", "2009", "1", "1", "19", "0"] + ["1"] * 5 + ["2"] * 2)])
    w("")
    w("# PoE ports (42.1.1, index 1.port, copper ports only): 3 state (1 on, 2 off),")
    w("# 4 time range (a time-profile index, 0 none), 5 priority (1 low, 2 normal,")
    w("# 3 high), 6 class limit (1 auto, 2-5 class 1-4), 7 user limit in force")
    w("# (1 yes, 2 no), 8 user limit (watts, 1.0-30.0 by 0.2); read only:")
    w("# 9 power (W), 10 voltage (V), 11 current (mA), 12 classification, 13 status")
    for port in range(1, COPPER + 1):
        i = "1.%d" % port
        drawing = port <= 4
        w(PRIVATE + ".42.1.1.3.%s rw(1..2) i 1" % i)
        w(PRIVATE + ".42.1.1.4.%s rw(0..8) i %d" % (i, 1 if port == 3 else 0))
        w(PRIVATE + ".42.1.1.5.%s rw(1..3) i %d" % (i, 3 if port == 1 else 2))
        w(PRIVATE + ".42.1.1.6.%s rw(0..5) i %d" % (i, 3 if port == 4 else 1))
        w(PRIVATE + ".42.1.1.7.%s rw(1..2) i %d" % (i, 1 if port == 2 else 2))
        w(PRIVATE + '.42.1.1.8.%s rw(0..8) s "%s"' % (i, "15.4" if port == 2 else "30.0"))
        w(PRIVATE + '.42.1.1.9.%s ro s "%s"' % (i, ["6.4", "12.2", "3.1", "5.8"][port - 1] if drawing else "0.0"))
        w(PRIVATE + '.42.1.1.10.%s ro s "%s"' % (i, "53.5" if drawing else "0.0"))
        w(PRIVATE + '.42.1.1.11.%s ro s "%s"' % (i, ["120", "228", "58", "108"][port - 1] if drawing else "0"))
        w(PRIVATE + '.42.1.1.12.%s ro s "%s"' % (i, ["Class 0", "Class 4", "Class 1", "Class 2"][port - 1] if drawing else "N/A"))
        w(PRIVATE + '.42.1.1.13.%s ro s "%s"' % (i, "Delivering Power" if drawing else "Searching"))
    w("")
    w("# PoE globals: 42.2.0 power threshold (watts, 15.4 to 370, 740 with the")
    w("# RPS on), 42.3.0 shut-off sequence (1 deny next port, 2 deny low")
    w("# priority port); read only: 42.4.0 budget, 42.5.0 used, 42.6.0 left,")
    w("# 42.7.0 percentage of system power supplied, 42.9.0 RPS (0 off)")
    w(PRIVATE + '.42.2.0 rw(1..8) s "370"')
    w(PRIVATE + ".42.3.0 rw(1..2) i 1")
    w(PRIVATE + '.42.4.0 ro s "370"')
    w(PRIVATE + '.42.5.0 ro s "27.5"')
    w(PRIVATE + '.42.6.0 ro s "342.5"')
    w(PRIVATE + ".42.7.0 ro i 100")
    w(PRIVATE + ".42.9.0 ro i 0")
w("")
w("# spanning tree bridge (51.1): 1 state (1 on, 2 off), 2 version (0 STP,")
w("# 2 RSTP, 3 MSTP), 3 priority, 4 transmit hold count, 5 maximum age,")
w("# 6 hello time, 7 forward delay (hundredths of a second), 8 forwarding")
w("# BPDU; read only: 9 root bridge, 10 root cost, 11 root maximum age,")
w("# 12 root forward delay, 13 root port")
w(PRIVATE + ".51.1.1.0 rw(1..2) i 1")
w(PRIVATE + ".51.1.2.0 rw(0..3) i 2")
w(PRIVATE + ".51.1.3.0 rw(0..61440) i 32768")
w(PRIVATE + ".51.1.4.0 rw(1..10) i 6")
w(PRIVATE + ".51.1.5.0 rw(600..4000) i 2000")
w(PRIVATE + ".51.1.6.0 rw(100..1000) i 200")
w(PRIVATE + ".51.1.7.0 rw(400..3000) i 1500")
w(PRIVATE + ".51.1.8.0 rw(1..2) i 1")
w(PRIVATE + ".51.1.9.0 ro x 1000001b21000100")
w(PRIVATE + ".51.1.10.0 ro i 20000")
w(PRIVATE + ".51.1.11.0 ro i 2000")
w(PRIVATE + ".51.1.12.0 ro i 1500")
w(PRIVATE + ".51.1.13.0 ro i %d" % (PORTS - 3))
w("# spanning tree ports (51.2.1): 1 port, 2 on (1) / off (0 or 2), 3 priority,")
w("# 4 configured path cost (0 automatic), 5 path cost in use, 6 migrate,")
w("# 7 edge (0 false, 1 true, 2 auto), 8 point-to-point (0 force true,")
w("# 1 force false, 2 auto), 9 restricted role, 10 restricted TCN, 11 hello")
w("# time (hundredths), 12 port state (1 disabled, 2 discarding, 4 learning,")
w("# 5 forwarding), 13 forward BPDU")
for p in range(1, PORTS + 1):
    t = PRIVATE + ".51.2.1.%d." + str(p)
    w((t + " ro i %d") % (1, p))
    w((t + " rw(0..2) i 1") % 2)
    w((t + " rw(0..240) i 128") % 3)
    w((t + " rw(0..200000000) i 0") % 4)
    w((t + " ro i 0") % 5)
    w((t + " rw(1..2) i 2") % 6)
    w((t + " rw(0..2) i 2") % 7)
    w((t + " rw(0..2) i 2") % 8)
    w((t + " rw(1..2) i 2") % 9)
    w((t + " rw(1..2) i 2") % 10)
    w((t + " rw(100..1000) i 200") % 11)
    w((t + " ro i 5") % 12)
    w((t + " rw(1..2) i 1") % 13)
w("# dot1dStpPortEnable (1 enabled, 2 disabled), the same switch as 51.2.1.2")
for p in range(1, PORTS + 1):
    w("1.3.6.1.2.1.17.2.15.1.4.%d rw(1..2) i 1" % p)
w("# loop-back detection per port (17.5.1.2): 1 enabled, 2 disabled")
for p in range(1, PORTS + 1):
    w(PRIVATE + ".17.5.1.2.%d rw(1..2) i %d" % (p, 1 if p == 5 else 2))
w("")
w("# IGMP snooping (10.1): 1 state (1 enabled, 2 disabled), 2 router timeout,")
w("# 3 host timeout, 4 robustness, 5 last member query interval, 6 query")
w("# interval, 7 max response time")
w(PRIVATE + ".10.1.1.0 rw(1..2) i 1")
w(PRIVATE + ".10.1.2.0 rw(60..600) i 260")
w(PRIVATE + ".10.1.3.0 rw(130..153025) i 260")
w(PRIVATE + ".10.1.4.0 rw(2..255) i 2")
w(PRIVATE + ".10.1.5.0 rw(1..25) i 1")
w(PRIVATE + ".10.1.6.0 rw(60..600) i 125")
w(PRIVATE + ".10.1.7.0 rw(10..25) i 10")
w("# IGMP snooping per VLAN (10.3.4.1, one row per VLAN): 1 VLAN id, 2 state,")
w("# 4 querier state, 6 static router ports, 8 fast leave")
w(PRIVATE + ".10.3.4.1.1.1 ro i 1")
w(PRIVATE + ".10.3.4.1.2.1 rw(1..2) i 1")
w(PRIVATE + ".10.3.4.1.4.1 rw(1..2) i 2")
w(PRIVATE + ".10.3.4.1.6.1 rw(0..64) x " + bitmap([PORTS - 3]))
w(PRIVATE + ".10.3.4.1.8.1 rw(1..2) i 2")
w("# learned multicast groups (10.3.5.1, index VLAN.group): 1 VLAN id,")
w("# 2 group address, 3 group MAC, 4 member ports")
for group, members in (("239.1.1.1", [3, 5]), ("239.2.2.2", [7])):
    index = "1." + group
    a = [int(x) for x in group.split(".")]
    w(PRIVATE + ".10.3.5.1.1.%s ro i 1" % index)
    w(PRIVATE + ".10.3.5.1.2.%s ro x %s" % (index, bytes(a).hex()))
    w(PRIVATE + ".10.3.5.1.3.%s ro x 01005e%02x%02x%02x" % (index, a[1] & 0x7F, a[2], a[3]))
    w(PRIVATE + ".10.3.5.1.4.%s ro x %s" % (index, bitmap(members)))
w("")
w("# GVRP (30): 1 state (1 enabled, 2 disabled), 2 join, 3 leave, 4 leave-all")
w("# time (ms); port table 30.5.1: 1 port, 2 PVID, 3 GVRP (1 enabled,")
w("# 2 disabled), 4 ingress checking (1/2), 5 acceptable frame types (1 all,")
w("# 2 tagged only)")
w(PRIVATE + ".30.1.0 rw(1..2) i 2")
w(PRIVATE + ".30.2.0 rw(100..100000) i 200")
w(PRIVATE + ".30.3.0 rw(100..100000) i 600")
w(PRIVATE + ".30.4.0 rw(100..100000) i 10000")
for p in range(1, PORTS + 1):
    t = PRIVATE + ".30.5.1.%d." + str(p)
    w((t + " ro i %d") % (1, p))
    w((t + " rw(1..4094) i 1") % 2)
    w((t + " rw(1..2) i 2") % 3)
    w((t + " rw(1..2) i 1") % 4)
    w((t + " rw(1..2) i 1") % 5)
w("# multicast filtering per VLAN (7.8.1, one row per VLAN of the VLAN table):")
w("# 1 VLAN id, 2 mode (0 forward unregistered groups, else filter)")
w(PRIVATE + ".7.8.1.1.1 ro i 1")
w(PRIVATE + ".7.8.1.2.1 rw(0..2) i 0")
w("# jumbo frames (1 enabled, 2 disabled)")
w(PRIVATE + ".1.12.0 rw(1..2) i 2")
w("")
w("# dot1dTpAgingTime, seconds")
w("1.3.6.1.2.1.17.4.2.0 rw(10..1000000) i 300")
w("")
w("# dot1qTpFdbTable: 1 address, 2 port, 3 status (3 learned, 4 own, 5 static);")
w("# index fdbId.mac. The last %d entries are learned in FDB %d." % (FDB_ROWS - FDB_FIRST_ROWS, FDB_SECOND))
rows = []
for i in range(FDB_ROWS):
    m = mac(i)
    fdb = 1 if i < FDB_FIRST_ROWS else FDB_SECOND
    index = str(fdb) + "." + ".".join(str(int(m[k:k + 2], 16)) for k in range(0, 12, 2))
    status = 4 if i == 0 else 5 if i % 100 == 50 else 3
    rows.append((index, m, 1 + i % PORTS, status))
for index, m, port, status in rows:
    w("1.3.6.1.2.1.17.7.1.2.2.1.1.%s ro x %s" % (index, m))
    w("1.3.6.1.2.1.17.7.1.2.2.1.2.%s ro i %d" % (index, port))
    w("1.3.6.1.2.1.17.7.1.2.2.1.3.%s ro i %d" % (index, status))
w("")
w("# ipAddrTable: 1 address, 2 ifIndex, 3 netmask, 4 broadcast bit, 5 largest datagram")
for addr, if_index, mask in (("10.90.90.90", 1, "255.0.0.0"), ("192.168.1.1", 2, "255.255.255.0")):
    t = "1.3.6.1.2.1.4.20.1.%d." + addr
    w((t + " ro a %s") % (1, addr))
    w((t + " ro i %d") % (2, if_index))
    w((t + " ro a %s") % (3, mask))
    w((t + " ro i 1") % 4)
    w((t + " ro i 65535") % 5)
w("")
w("# tcpConnTable: 1 state, 2 local address, 3 local port, 4 remote address,")
w("# 5 remote port; index local address.local port.remote address.remote port")
for state, local, lport, remote, rport in (
        (2, "0.0.0.0", 23, "0.0.0.0", 0),
        (2, "0.0.0.0", 80, "0.0.0.0", 0),
        (5, "10.90.90.90", 23, "10.90.90.1", 51514),
        (11, "10.90.90.90", 80, "10.90.90.7", 40022)):
    t = "1.3.6.1.2.1.6.13.1.%%d.%s.%d.%s.%d" % (local, lport, remote, rport)
    w((t + " rw(1..12) i %d") % (1, state))
    w((t + " ro a %s") % (2, local))
    w((t + " ro i %d") % (3, lport))
    w((t + " ro a %s") % (4, remote))
    w((t + " ro i %d") % (5, rport))
w("")
w("# udpTable: 1 local address, 2 local port; index address.port")
for local, port in (("0.0.0.0", 69), ("0.0.0.0", 161), ("0.0.0.0", 162), ("10.90.90.90", 514)):
    t = "1.3.6.1.2.1.7.5.1.%%d.%s.%d" % (local, port)
    w((t + " ro a %s") % (1, local))
    w((t + " ro i %d") % (2, port))
w("")
UPLINK = COPPER + 1   # the first SFP port
w("# LLDP: 1 state (1 enabled, 2 disabled), 2 TX hold multiplier, 3 TX interval,")
w("# 4 reinit delay, 5 TX delay, 7.1.2.{port} MED Power PSE TLV (1 on, 2 off)")
w(PRIVATE + ".24.1.0 rw(1..2) i 1")
w(PRIVATE + ".24.2.0 rw(2..10) i 4")
w(PRIVATE + ".24.3.0 rw(5..32768) i 30")
w(PRIVATE + ".24.4.0 rw(1..10) i 2")
w(PRIVATE + ".24.5.0 rw(1..8192) i 2")
for p in range(1, PORTS + 1):
    w(PRIVATE + ".24.7.1.2.%d rw(1..2) i %d" % (p, 2 if p in (3, UPLINK) else 1))
w("")
w("# LLDP-MIB local system: chassis ID subtype (4 MAC address), chassis ID,")
w("# system name, system description")
LLDP = "1.0.8802.1.1.2.1"
w(LLDP + ".3.1.0 ro i 4")
w(LLDP + ".3.2.0 ro x 00a0c9004400")
w(LLDP + '.3.3.0 ro s "%s"' % MODEL)
w(LLDP + '.3.4.0 ro s "%s Managed Gigabit Ethernet Switch"' % MODEL)
w("# LLDP-MIB remote table, columns 4 to 10: chassis ID subtype, chassis ID,")
w("# port ID subtype, port ID, port description, system name, system")
w("# description; index time mark.local port.remote index")
for mark, port, index, chassis, port_subtype, port_id, descr, name, sysdescr in (
        (0, 1, 1, "001b21a0b0c1", 5, "gi0/1", "GigabitEthernet0/1", "core-sw1", "Core switch, floor 1"),
        (0, 2, 2, "001b21a0b0c2", 3, bytes.fromhex("001b21a0b0d2"), "uplink", "edge-sw2", "Edge switch"),
        (1200, UPLINK, 12, "00a0c9115500", 7, str(UPLINK), "Port %d" % UPLINK, "dist-sw3", "Distribution switch")):
    t = LLDP + ".4.1.1.%%d.%d.%d.%d" % (mark, port, index)
    w((t + " ro i 4") % 4)
    w((t + " ro x %s") % (5, chassis))
    w((t + " ro i %d") % (6, port_subtype))
    if isinstance(port_id, bytes):
        w((t + " ro x %s") % (7, port_id.hex()))
    else:
        w((t + ' ro s "%s"') % (7, port_id))
    w((t + ' ro s "%s"') % (8, descr))
    w((t + ' ro s "%s"') % (9, name))
    w((t + ' ro s "%s"') % (10, sysdescr))
w("")
w("# the switch's own SNMP agent: global state, engine ID, trap switches and")
w("# the user, group, view, community and trap-host tables (names are UTF-8")
w("# strings in the index: length, then one sub-identifier per octet)")
AGENT = PRIVATE + ".25"


def sindex(text):
    data = text.encode("utf-8")
    return ".".join([str(len(data))] + [str(b) for b in data])


w(AGENT + ".1.0 rw(1..2) i 1                # global state: 1 enabled, 2 disabled")
engine = {"PQS-4400-52": "5051532d343430302d3532001500062052",
          "PQS-4400-28P": "5051532d343430302d3238500001020304"}.get(MODEL, "5051532d343430302d3230000102030405")
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

def traffic_control():
    """Storm control, bandwidth control and traffic segmentation."""
    w("")
    w("# storm control: 13.3.1.0 state (1 enabled, 2 disabled), .2.0 traffic")
    w("# (1 broadcast, 2 multicast and broadcast, 3 those and unknown unicast),")
    w("# .3.0 threshold (kbps, N x 64, N 1-16000)")
    w(PRIVATE + ".13.3.1.0 rw(1..2) i 2")
    w(PRIVATE + ".13.3.2.0 rw(1..3) i 1")
    w(PRIVATE + ".13.3.3.0 rw(0..1024000) i 1024")
    w("# bandwidth control (13.1.2.1): 1 port; the rates (.2 Tx, .3 Rx) are above")
    for p in range(1, PORTS + 1):
        w(PRIVATE + ".13.1.2.1.1.%d ro i %d" % (p, p))
    w("# traffic segmentation: 14.9.1.0 state (1 enabled, 2 disabled); per port")
    w("# (14.9.2.1): 1 port, 2 the ports it may forward to (bitmap, every port)")
    w(PRIVATE + ".14.9.1.0 rw(1..2) i 2")
    octets = 8 if PORTS > 28 else 4
    for p in range(1, PORTS + 1):
        w(PRIVATE + ".14.9.2.1.1.%d ro i %d" % (p, p))
        w(PRIVATE + ".14.9.2.1.2.%d rw(0..8) x %s" % (p, bitmap(range(1, PORTS + 1), octets)))


traffic_control()
services_and_rmon()
def direct_viewers():
    """Objects of the stand-alone viewers: the agent's engine (an engine ID
    of the full 32 octets), the 802.1X authenticator statistics and
    diagnostics of every port (IEEE 802.1X PAE MIB) and the software
    packages of the second private arc."""
    w("")
    w("# SNMP engine: ID (32 octets), boots, time, largest message size")
    w("1.3.6.1.6.3.10.2.1.1.0 ro x %s" % bytes(range(0x80, 0x80 + 32)).hex())
    w("1.3.6.1.6.3.10.2.1.2.0 ro i 7")
    w("1.3.6.1.6.3.10.2.1.3.0 ro i 86400")
    w("1.3.6.1.6.3.10.2.1.4.0 ro i 1500")
    w("")
    w("# 802.1X authenticator statistics (2.2.1, columns 1-12) and diagnostics")
    w("# (2.3.1, columns 1-18) per port: counter = port * 1000 + column; column 11")
    w("# of the statistics the last EAPOL version, 12 its source MAC")
    for p in range(1, PORTS + 1):
        for col in range(1, 11):
            w("1.0.8802.1.1.1.1.2.2.1.%d.%d ro c %d" % (col, p, p * 1000 + col))
        w("1.0.8802.1.1.1.1.2.2.1.11.%d ro u 2" % p)
        w("1.0.8802.1.1.1.1.2.2.1.12.%d ro x 001b2133%04x" % (p, p))
    for p in range(1, PORTS + 1):
        for col in range(1, 19):
            w("1.0.8802.1.1.1.1.2.3.1.%d.%d ro c %d" % (col, p, p * 1000 + col))
    w("")
    w("# software packages: 1 name, 2 version")
    for i, (name, version) in enumerate([("Runtime", "2.10.014"), ("Boot", "1.00.003")], 1):
        w('1.3.6.1.4.1.32473.10.94.89.89.67.1.1.1.%d ro s "%s"' % (i, name))
        w('1.3.6.1.4.1.32473.10.94.89.89.67.1.1.2.%d ro s "%s"' % (i, version))


direct_viewers()


def information_forms():
    """Objects of the device configuration form (standard objects) and of the
    second private arc's information forms: syslog settings, log, cache and
    applications; power supplies, port facts, processor utilization and
    MIB tree; CLI, DHCP, link-aggregation and VLAN facts. Numbers that the
    CLI form writes as Unsigned32 are Gauge32 here."""
    q = "1.3.6.1.4.1.32473.10.94.89.89"
    w("")
    w("# snmpEnableAuthenTraps (1 enabled, 2 disabled) and ipForwarding (1, 2)")
    w("1.3.6.1.2.1.11.30.0 rw(1..2) i 2")
    w("1.3.6.1.2.1.4.1.0 rw(1..2) i 2")
    w("# syslog: 82.2.1.0 logging (1 on, 2 off); minimum severities (0-8) to the")
    w("# console (.2), the file (.3) and the cache (.4)")
    w(q + ".82.2.1.0 rw(1..2) i 1")
    for n, sev in ((2, 3), (3, 4), (4, 6)):
        w(q + ".82.2.%d.0 rw(0..8) i %d" % (n, sev))
    w("# the log (82.2.8.1) and its cache (82.2.9.1): 1 index, 2 time, 3")
    w("# application, 4 severity, 5 message, 6-9 texts")
    for table, rows in (("82.2.8.1", [("SYSTEM", 6, "System started"), ("PORT", 4, "Port 3 link down"),
                                      ("STP", 2, "Topology change")]),
                        ("82.2.9.1", [("SNMP", 5, "Login failed"), ("PORT", 7, "Port 3 link up")])):
        for i, (app, sev, msg) in enumerate(rows, 1):
            w("%s.%s.1.%d ro i %d" % (q, table, i, i))
            w('%s.%s.2.%d ro s "2026-12-11 08:00:%02d"' % (q, table, i, i))
            w('%s.%s.3.%d ro s "%s"' % (q, table, i, app))
            w("%s.%s.4.%d ro i %d" % (q, table, i, sev))
            w('%s.%s.5.%d ro s "%s"' % (q, table, i, msg))
            for t in range(6, 10):
                w('%s.%s.%d.%d ro s "text%d-%d"' % (q, table, t, i, t - 5, i))
    w("# syslog applications (82.1.3.1.1, sparse index): 2 description, 3")
    w("# abbreviation, 4 severity")
    for i, (desc, abbr, sev) in ((1, ("System", "SYS", 6)), (2, ("Spanning Tree", "STP", 4)),
                                 (5, ("SNMP Agent", "SNMP", 7))):
        w('%s.82.1.3.1.1.2.%d ro s "%s"' % (q, i, desc))
        w('%s.82.1.3.1.1.3.%d ro s "%s"' % (q, i, abbr))
        w("%s.82.1.3.1.1.4.%d ro i %d" % (q, i, sev))
    w("# power supplies (83.1.2.1): 2 description, 3 state, 4 source (1 unknown,")
    w("# 2 ac, 3 dc, 4 external, 5 internal redundant)")
    for i, (desc, state, source) in ((1, ("Main Power", 1, 2)), (2, ("Redundant Power", 3, 5))):
        w('%s.83.1.2.1.2.%d ro s "%s"' % (q, i, desc))
        w("%s.83.1.2.1.3.%d ro i %d" % (q, i, state))
        w("%s.83.1.2.1.4.%d ro i %d" % (q, i, source))
    w("# web HTTP port, number of ports, user-defined port, loopback port")
    w(q + ".66.10.0 ro i 80")
    w(q + ".54.2.0 ro i %d" % PORTS)
    w(q + ".54.5.0 ro i 0")
    w(q + ".54.7.0 ro i 0")
    w("# processor utilization (%) over 1 s, 1 min, 5 min; the MIB tree (35.2.10.1.1:")
    w("# 3 son, 4 its OID, 5 grandfather)")
    for n, value in ((7, 12), (8, 9), (9, 7)):
        w(q + ".1.%d.0 ro u %d" % (n, value))
    for i, (son, oid, grand) in ((1, ("system", "1.3.6.1.2.1.1", "mib-2")), (2, ("interfaces", "1.3.6.1.2.1.2", "mib-2"))):
        w('%s.35.2.10.1.1.3.%d ro s "%s"' % (q, i, son))
        w('%s.35.2.10.1.1.4.%d ro s "%s"' % (q, i, oid))
        w('%s.35.2.10.1.1.5.%d ro s "%s"' % (q, i, grand))
    w("# CLI (74): 2 time-out, 3 history (1 on, 2 off), 4 history size, 6 SSH")
    w("# time-out, 7 telnet time-out, 8 telnet history, 9 its size, 10 SSH")
    w("# history, 11 its size")
    for n, access, kind, value in ((2, "rw", "u", 15), (3, "rw(1..2)", "i", 1), (4, "rw", "u", 20), (6, "rw", "u", 10),
                                   (7, "rw", "u", 15), (8, "rw(1..2)", "i", 1), (9, "ro", "u", 20), (10, "ro", "i", 1),
                                   (11, "ro", "u", 20)):
        w("%s.74.%d.0 %s %s %d" % (q, n, access, kind, value))
    w("# DHCP (38): MIB version, relay exists, server exists (1 yes, 2 no)")
    w(q + ".38.14.0 ro i 1")
    w(q + ".38.26.0 ro i 1")
    w(q + ".38.31.0 ro i 2")
    w("# link aggregation (65): MIB version, trunks, ports per trunk, creation")
    w("# support (0 none)")
    for n, value in ((1, 1), (3, 8), (4, 8), (5, 1)):
        w(q + ".65.%d.0 ro i %d" % (n, value))
    w("# VLAN facts (48): 1 MIB version, 2 table size, 27 unknown to all ports")
    w("# (1 on, 2 off), 29 default, 31 802.1v, 32 default on, 35 private edge,")
    w("# 36 its version, 38 dynamic VLANs (1 yes)")
    for n, value in ((1, 1), (2, 256), (29, 1), (31, 2), (32, 1), (35, 1), (36, 1), (38, 2)):
        w(q + ".48.%d.0 ro i %d" % (n, value))
    w(q + ".48.27.0 rw(1..2) i 2")


information_forms()
def layer3():
    """The switch's own IP configuration (Layer3Behaviour.cpp derives columns
    and keeps the gratuitous-ARP rows in step with the interfaces)."""
    w("")
    w("# IP interfaces (41.1.1.1, index interface.VID, interfaces 1-4): 1 interface")
    w("# and 2 VLAN (from the index), 3 name, 4 VLAN name (from the VLAN table),")
    w("# 6 address, 7 mask, 8 admin state (1 enabled, 2 disabled), 9 link state")
    w("# (1 up, 2 down), 10 row status; interface 1, the switch's own, on VLAN 1")
    e = PRIVATE + ".41.1.1.1"
    w("table %s rowstatus 10" % e)
    for line in ("1 ro i 0", "2 ro i 0", "3 rw(0..20) s", '4 ro s ""', "6 rw a", "7 rw a", "8 rw(1..2) i 1",
                 "9 ro i 2"):
        w("column " + line)
    for column, cell in ((1, "ro i 1"), (2, "ro i 1"), (3, 'rw(0..20) s "System"'), (4, 'ro s "default"'),
                         (6, "rw a 10.90.90.90"), (7, "rw a 255.0.0.0"), (8, "rw(1..2) i 1"), (9, "ro i 1"),
                         (10, "rw i 1")):
        w("%s.%d.1.1 %s" % (e, column, cell))
    w("# static routes (36.1.1, index destination.mask.gateway): 1 unused, 2-4 from")
    w("# the index, 5 metric, 6 protocol (0 default route, 1 static), 7 backup")
    w("# state (0 primary, 1 backup), 8 status (0 active, 1 inactive), 9 row status")
    e = PRIVATE + ".36.1.1"
    w("table %s rowstatus 9" % e)
    for line in ("1 ro i 0", "2 ro a 0.0.0.0", "3 ro a 0.0.0.0", "4 ro a 0.0.0.0", "5 rw(1..65535) i 1",
                 "6 ro i 1", "7 rw(0..1) i 0", "8 ro i 1"):
        w("column " + line)
    route = "0.0.0.0.0.0.0.0.10.90.90.254"
    for column, cell in ((1, "ro i 1"), (2, "ro a 0.0.0.0"), (3, "ro a 0.0.0.0"), (4, "ro a 10.90.90.254"),
                         (5, "rw(1..65535) i 1"), (6, "ro i 0"), (7, "rw(0..1) i 0"), (8, "ro i 0"), (9, "rw i 1")):
        w("%s.%d.%s %s" % (e, column, route, cell))
    w("# ARP aging time (minutes) and table (34.2.1, index address.MAC): 1 interface")
    w("# name, 2 address and 3 MAC (from the index), 4 type (0 local, 1 broadcast,")
    w("# 2 static), 5 row status; the switch's own address and the broadcast")
    w(PRIVATE + ".34.1.0 rw(0..65535) i 20")
    e = PRIVATE + ".34.2.1"
    w("table %s rowstatus 5" % e)
    for line in ('1 ro s ""', "2 ro a 0.0.0.0", '3 ro x ""', "4 ro i 2"):
        w("column " + line)
    for address, mac_hex, kind in (("10.90.90.90", "00a0c9004400", 0), ("10.255.255.255", "ffffffffffff", 1)):
        index = address + "." + ".".join(str(int(mac_hex[k:k + 2], 16)) for k in range(0, 12, 2))
        for column, cell in ((1, 'ro s "System"'), (2, "ro a " + address), (3, "ro x " + mac_hex),
                             (4, "ro i %d" % kind), (5, "rw i 1")):
            w("%s.%d.%s %s" % (e, column, index, cell))
    w("# gratuitous ARP: 33.1.1.0 send when an interface comes up, .2.0 send on a")
    w("# duplicate address, .3.0 learn (1 enabled, 2 disabled); 33.2.1.1 per")
    w("# interface: 1 name, 2 send interval (s)")
    w(PRIVATE + ".33.1.1.0 rw(1..2) i 1")
    w(PRIVATE + ".33.1.2.0 rw(1..2) i 1")
    w(PRIVATE + ".33.1.3.0 rw(1..2) i 2")
    w(PRIVATE + '.33.2.1.1.1.1 ro s "System"')
    w(PRIVATE + ".33.2.1.1.2.1 rw(0..65535) i 0")


layer3()
print("\n".join(out))
