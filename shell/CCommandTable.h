#pragma once

// The main window's command table: every command id the main window answers
// with a management dialog, the dialog class it opens and how it is built.
// The main window knows the feature dialogs through this table only. A
// command whose dialog has no factory yet stays in the menu, disabled; a
// feature enables its commands by giving them their factory here.

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QDialog;

// Command ids of the main window's menu and of the commands no menu sends.
enum : int {
    IDM_ABOUTBOX = 16,
    ID_802_1X_USER = 23698,
    ID_802_1X_RADIUS = 23984,
    ID_PORT_CONFIGURATION = 32774,
    ID_DEVICE_CONFIGURATION = 32775,
    ID_TELNET = 32788,
    ID_WEB = 32789,
    ID_802_1X_PORT = 32792,
    ID_REBOOT = 32797,
    ID_SYSTEM_INFORMATION = 32805,
    ID_IP_TABLE = 32808,
    ID_INTERFACE_TABLE = 32809,
    ID_FORWARDING_TABLE = 32810,
    ID_TCP_SERVICE = 32811,
    ID_UDP_SERVICE = 32812,
    ID_SPANNING_TREE = 32813,
    ID_SAVE_CONFIGURATION = 32815,
    ID_JUMBO_FRAME = 32817,
    ID_TRUNK_CONFIGURATION = 32818,
    ID_TIME_BASED_POE = 32819,
    ID_FIRMWARE_TRANSFER = 32823,
    ID_LLDP_GROUP = 32825,
    ID_LLDP_REMOTE_INFO = 32826,
    ID_LLDP_MED = 32827,
    ID_AUTO_SURVEILLANCE_VLAN = 32828,
    ID_DHCP_SERVER_SCREENING = 32829,
    ID_MULTICAST_FILTERING = 32830,
    ID_SYSLOG_HOST = 32832,
    ID_ARP_SPOOFING = 32833,
    ID_VLAN_CONFIGURATION = 32834,
    ID_GVRP_GLOBAL = 32835,
    ID_GVRP_PORT = 32836,
    ID_IGMP_SNOOPING = 32837,
    ID_IP_INTERFACE = 32838,
    ID_SNMP_GLOBAL = 32839,
    ID_SNMP_HOST = 32840,
    ID_SNMP_USER = 32841,
    ID_SNMP_GROUP = 32842,
    ID_SNMP_VIEW = 32843,
    ID_SNMP_COMMUNITY = 32844,
    ID_SNMP_ENGINE_ID = 32845,
    ID_SNMP_TRAP = 32846,
    ID_STATIC_ROUTE = 32847,
    ID_STATIC_ARP = 32848,
    ID_GRATUITOUS_ARP = 32849,
    ID_BANDWIDTH_CONTROL = 32850,
    ID_TRAFFIC_SEGMENTATION = 32851,
    ID_POE_PORT = 32852,
    ID_STORM_CONTROL = 32853,
    ID_PORT_MIRRORING = 32854,
    ID_TIME_PROFILE = 32855,
    ID_POWER_SAVING = 32856,
    ID_802_1X_GLOBAL = 32859,
    ID_POE_GLOBAL = 32860,
    ID_APP_ABOUT = 57664,
};

// Builds a command's dialog, without a parent; the main window runs it
// modally and destroys it when it closes.
using DialogFactory = std::function<std::unique_ptr<QDialog>()>;

struct CommandEntry
{
    enum Flags : unsigned {
        None = 0,
        KeepMainWindow = 0x1,   // runs beside the main window instead of hiding it
        PoeOnly = 0x2,          // removed on models without PoE
    };

    int nID = 0;
    QString strClass;           // the dialog class the command opens
    DialogFactory factory;      // empty until the dialog is built
    unsigned nFlags = None;
};

class CCommandTable
{
public:
    // The program's table.
    CCommandTable();

    // The entry of a command id, or null.
    const CommandEntry* Find(int nID) const;
    // True when the command has an entry with a factory.
    bool IsBuilt(int nID) const;
    // Replaces the factory of an existing entry (false when there is none).
    bool SetFactory(int nID, DialogFactory factory);

    const QList<CommandEntry>& Entries() const { return m_entries; }

private:
    QList<CommandEntry> m_entries;
};
