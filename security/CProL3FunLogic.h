#pragma once

// The switch's own IP configuration: IP interfaces, static routes, the ARP
// table with its aging time, and gratuitous ARP. The logic object of the
// four layer-3 dialogs; each calls only the operations of its own table.
//
// Walks report every row to the owner, whatever its row status (the dialogs
// filter), once the walk is complete, then one end report whose payload is
// the walk's WalkOutcome. A table read only in part is never offered: rows
// are reported only after a complete walk. The IP interface walk is
// followed by the VLAN walk; its IPIF_VLAN_END is the one end report of
// that refresh (also when the interface walk failed, which skips the VLAN
// walk).
//
// Writes are given as requests for a CSetSequence, which stops at the first
// refused or unanswered step; a row that a failed create left half made is
// destroyed again by the undo sequence the Set... call fills.

#include "CModuleBase.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"

#include <QString>

#include <memory>

class CSnmpScalarRead;

namespace L3Oid {
inline const QString kArc = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
inline const QString kIpInterfaceEntry = kArc + QStringLiteral(".41.1.1.1");
inline const QString kRouteEntry = kArc + QStringLiteral(".36.1.1");
inline const QString kArpEntry = kArc + QStringLiteral(".34.2.1");
inline const QString kArpAging = kArc + QStringLiteral(".34.1.0");
inline const QString kGarpGlobal = kArc + QStringLiteral(".33.1");   // + ".1.0" ... ".3.0"
inline const QString kGarpIfEntry = kArc + QStringLiteral(".33.2.1.1");
inline const QString kVlanEntry = kArc + QStringLiteral(".7.6.1");
} // namespace L3Oid

// Reports of the layer-3 logic (numbers as the classic messages).
enum : unsigned {
    WM_GRATUITOUSARP_NOTIFY = 0x0400 + 116,
    WM_IPINTERFACE_NOTIFY = 0x0400 + 134,
    WM_STATICARP_NOTIFY = 0x0400 + 164,
    WM_STATICROUTE_NOTIFY = 0x0400 + 188,
};

enum : int {
    GARP_GLOBAL = 0,       // payload: CGratuitousARPInfo (empty fields after a failed read)
    GARP_ROW = 1,          // payload: CGratuitousARPIfInfo
    GARP_IF_END = 2,       // payload: the interface walk's WalkOutcome
    GARP_GLOBAL_END = 3,   // payload: the global read's WalkOutcome (after GARP_GLOBAL)
    IPIF_ROW = 0,          // payload: CIPInterfaceInfo
    IPIF_VLAN_ROW = 1184,  // payload: VLAN_ROW_TEXTS
    IPIF_VLAN_END = 2116,  // payload: the WalkOutcome of the refresh
    L3_ROW = 0,            // route and ARP rows
    L3_WALK_END = 1,       // route and ARP walks: payload the WalkOutcome
    ARP_AGING_END = 2,     // WM_STATICARP_NOTIFY: the aging read ended; payload its WalkOutcome
};

// Row status texts of the tables.
namespace L3RowStatus {
inline const QString kActive = QStringLiteral("1");
inline const QString kCreateAndGo = QStringLiteral("4");
inline const QString kCreateAndWait = QStringLiteral("5");
inline const QString kDestroy = QStringLiteral("6");
} // namespace L3RowStatus

struct CIPInterfaceInfo
{
    QString strIndex, strName, strVlanId, strVlanName, strAddress, strMask, strAdminState, strLinkState,
        strRowStatus;
};

// The nine route columns in column order.
struct CStaticRouteInfo
{
    QString strRouteNo, strDestination, strMask, strGateway, strMetric, strProtocol, strBackup, strStatus,
        strRowStatus;
};

struct CStaticARPInfo
{
    QString strInterfaceName, strAddress, strMac, strType, strRowStatus;
};

struct CGratuitousARPInfo
{
    QString strSendOnUp, strSendOnDuplicate, strLearn;
};

struct CGratuitousARPIfInfo
{
    QString strIndex, strName, strInterval;
};

// VLAN id (the row's index), VLAN name, row status.
struct VLAN_ROW_TEXTS
{
    QString text[3];
};

class CProL3FunLogic : public CModuleBase
{
public:
    CProL3FunLogic();
    ~CProL3FunLogic() override;

    // --- Index forms (empty when a part is malformed: nothing may be sent) ---
    // interface.vid: "2.10"; interface 1-4, VLAN 1-4094, both strict decimals.
    static QString IPInterfaceIndex(const CIPInterfaceInfo& info);
    // destination.mask.gateway: twelve sub-identifiers.
    static QString StaticRouteIndex(const CStaticRouteInfo& info);
    // address + the MAC's six octets: 192.168.0.5.0.10.255.0.0.1.
    static QString StaticARPIndex(const CStaticARPInfo& info);

    // A dotted quad of four decimal octets 0-255 (no leading blanks or signs).
    static bool IsDottedQuad(const QString& text);
    // Prefix length of a mask of contiguous ones; -1 for another text.
    static int MaskPrefixLength(const QString& mask);
    // True when the wider of the two masks maps both addresses to the same
    // network. Masks of contiguous ones only (as the mask lists offer).
    static bool SubnetsOverlap(const QString& address, const QString& mask, const QString& rowAddress,
                               const QString& rowMask);
    // A route destination: a host address as CUtils::ValidateIPv4 takes it,
    // or a network, whose host part under a mask shorter than /32 is zero
    // (10.0.0.0/8), with the same class rules for its first octet.
    static bool ValidateRouteDestination(const QString& destination, const QString& mask);

    // --- Walks ----------------------------------------------------------------
    bool GetIPInterfaces();
    bool GetStaticRoutes();
    bool GetStaticARP();
    bool GetGratuitousARPIf();
    // Reads: ARP aging (ARP_AGING_END; m_strArpAging on success) and the
    // gratuitous-ARP scalars (GARP_GLOBAL, always, then GARP_GLOBAL_END).
    bool GetARPAging();
    bool GetGratuitousARP();

    // --- Writes (requests for a CSetSequence) ----------------------------------
    // nMode 1 creates (createAndWait, columns, active; undo: destroy), 3
    // destroys. False, adding nothing, for a malformed index or another mode.
    bool SetIPInterface(const CIPInterfaceInfo& info, int nMode, CSetSequence& writes, CSetSequence* undo = nullptr);
    // nMode 1 creates (createAndGo, then metric and backup state; undo:
    // destroy), 3 destroys.
    bool SetStaticRoute(const CStaticRouteInfo& info, int nMode, CSetSequence& writes, CSetSequence* undo = nullptr);
    // nMode 1 createAndGo, 3 destroy; the switch fills interface and type.
    bool SetStaticARP(const CStaticARPInfo& info, int nMode, CSetSequence& writes);
    // The aging text as checked (canonical decimal).
    static void SetARPAging(const QString& strAging, CSetSequence& writes);
    // Three texts "1" or "2", in one request.
    static void SetGratuitousARP(const QString& a, const QString& b, const QString& c, CSetSequence& writes);
    // The interval of the row named by info.strIndex; false for an index
    // that is not a positive decimal.
    static bool SetGratuitousARPIf(const CGratuitousARPIfInfo& info, CSetSequence& writes);

    // Stops the walks and reads without a report and closes the sessions.
    void Close();

    QString m_strArpAging;
    CCommonSNMP& m_cCommonSNMP;        // requests: scalar reads and the VLAN walk
    CCommonSNMP& m_cCommonSNMPTable;   // the table walks
    CCommonSNMP& m_cCommonSNMPSet;     // every write

private:
    enum Table { Interfaces, Routes, Arp, GarpInterfaces };
    bool StartWalk(Table table);
    void OnWalkEnd(Table table, const WalkOutcome& outcome);
    void OnVlanWalkEnd(const WalkOutcome& outcome);
    void ReportRow(Table table, const SnmpRow& row);

    std::unique_ptr<CSnmpRowWalk> m_pTableWalk;
    std::unique_ptr<CSnmpRowWalk> m_pVlanWalk;
    std::unique_ptr<CSnmpScalarRead> m_pScalarRead;
};
