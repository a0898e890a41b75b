#pragma once

// The switch side of the three IGMP snooping dialogs: the objects, the
// records of a read, and the set requests of each write. Each dialog holds
// its own instance; the walks and writes run on its sessions.

#include "CModuleBase.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class CSetSequence;
struct SnmpRow;

// The seven global values as texts, in the order of their objects.
struct IGMP_GLOBAL_INFO
{
    QString m_strState;   // "1" enabled, "2" disabled
    QString m_strRouterTimeout;
    QString m_strHostTimeout;
    QString m_strRobustness;
    QString m_strLastMemberQueryInterval;
    QString m_strQueryInterval;
    QString m_strMaxResponseTime;
};

// One VLAN's snooping settings; router ports as a member text ("1,3,5").
struct IGMP_VLAN_INFO
{
    QString strVlanId;
    QString strVlanName;
    QString strState;
    QString strQuerierState;
    QString strFastLeave;
    QString strRouterPorts;
};

// One learned multicast group.
struct IGMP_ENTRY_INFO
{
    QString strVlanId;
    QString strGroup;     // "239.1.1.1"
    QString strMac;       // "01-00-5E-01-01-01"
    QString strPorts;     // member text
};

class CIGMPSnoopingLogic : public CModuleBase
{
public:
    CIGMPSnoopingLogic();

    // Global objects 1-7 (state, router timeout, host timeout, robustness,
    // last member query interval, query interval, max response time).
    static QString GlobalOid(int n);
    static QStringList GlobalOids();
    static IGMP_GLOBAL_INFO GlobalFromTexts(const QStringList& texts);

    // Columns of the per-VLAN walk, in the order VlanRow reads them: VLAN
    // id, VLAN name (of the VLAN table, same index), state, querier state,
    // fast leave, static router ports.
    static QStringList VlanColumns();
    static QString VlanColumn(int n);   // 10.3.4.1.n
    static QString VlanEgressColumn();  // the VLAN table's member ports
    // Null when the row is no IGMP row (a VLAN name without settings).
    static bool VlanRow(const SnmpRow& row, IGMP_VLAN_INFO& info);

    static QStringList EntryColumns();
    static bool EntryRow(const SnmpRow& row, IGMP_ENTRY_INFO& info);

    // Fills `writes` with what changed from `old` to `now` (texts compared
    // as they are): a state change as a request of its own, then, when
    // snooping is on, the changed timers in one request. Returns the number
    // of requests (0: nothing to send).
    int SetGlobal(const IGMP_GLOBAL_INFO& old, const IGMP_GLOBAL_INFO& now, CSetSequence& writes) const;

    // One VLAN's settings: turning snooping on sends the state alone first;
    // turning it off sends it last. Returns the number of requests.
    int SetVlanSettings(const QString& strVid, const QString& strOld, const QString& strNew,
                        const QString& strQuerier, const QString& strFastLeave, CSetSequence& writes) const;

    // The static router ports of a VLAN as the switch takes them: 12 octets
    // on 52 ports, 8 on 28, 4 on 20, the common width otherwise.
    static QByteArray RouterPortOctets(const std::vector<int>& ports);
    int SetVlanRouterPorts(const QString& strVid, const QByteArray& octets, CSetSequence& writes) const;

    // The logic's own sessions with their names, for the dialog to close.
    std::vector<std::pair<CCommonSNMP*, const char*>> OwnSessions();

    CCommonSNMP m_cSnmpIgmpGet;           // global read; VLAN member read
    CCommonSNMP m_cSnmpIgmpSet;           // every write
    CCommonSNMP m_cSnmpEntryTable;        // multicast entry walk
    CCommonSNMP m_cSnmpVlanSettingTable;  // per-VLAN walk
    IGMP_GLOBAL_INFO m_GlobalInfo;        // the last successful global read
};
