#include "CProL3FunLogic.h"

#include "CSnmpScalarRead.h"
#include "CUtils.h"
#include "StrictNumber.h"

namespace {

QString Column(const QString& entry, int column)
{
    return entry + QStringLiteral(".%1").arg(column);
}

QString Cell(const QString& entry, int column, const QString& index)
{
    return entry + QStringLiteral(".%1.").arg(column) + index;
}

quint32 PrefixMask(int prefix)
{
    return prefix <= 0 ? 0u : ~0u << (32 - prefix);
}

const int kIpInterfaceColumns[] = {1, 3, 2, 4, 6, 7, 8, 9, 10};   // in CIPInterfaceInfo's field order
constexpr int kIpInterfaceStatus = 10;
constexpr int kRouteStatus = 9;
constexpr int kArpStatus = 5;

} // namespace

CProL3FunLogic::CProL3FunLogic()
    : m_cCommonSNMP(m_cSnmpGet)
    , m_cCommonSNMPTable(m_cSnmpVlanTable)
    , m_cCommonSNMPSet(m_cSnmpSet)
    , m_pTableWalk(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTable))
    , m_pVlanWalk(std::make_unique<CSnmpRowWalk>(m_cCommonSNMP))
    , m_pScalarRead(std::make_unique<CSnmpScalarRead>(m_cCommonSNMP))
{
}

CProL3FunLogic::~CProL3FunLogic()
{
    Close();
}

void CProL3FunLogic::Close()
{
    m_pTableWalk->Abandon();
    m_pVlanWalk->Abandon();
    m_pScalarRead->Abandon();
    CloseSessions();
}

// --- Index forms and address rules ---------------------------------------------

bool CProL3FunLogic::IsDottedQuad(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts)
        if (part.size() > 3 || !ParseStrictInt(part, 0, 255))
            return false;
    return true;
}

int CProL3FunLogic::MaskPrefixLength(const QString& mask)
{
    if (!IsDottedQuad(mask))
        return -1;
    const quint32 m = CUtils::IPv4TextToUInt(mask);
    for (int prefix = 0; prefix <= 32; ++prefix)
        if (PrefixMask(prefix) == m)
            return prefix;
    return -1;
}

QString CProL3FunLogic::IPInterfaceIndex(const CIPInterfaceInfo& info)
{
    QString index, vid;
    if (!ParseStrictInt(info.strIndex, 1, 4, nullptr, &index) || !ParseStrictInt(info.strVlanId, 1, 4094, nullptr, &vid))
        return {};
    return index + u'.' + vid;
}

QString CProL3FunLogic::StaticRouteIndex(const CStaticRouteInfo& info)
{
    if (!IsDottedQuad(info.strDestination) || !IsDottedQuad(info.strMask) || !IsDottedQuad(info.strGateway))
        return {};
    return QStringLiteral("%1.%2.%3").arg(info.strDestination, info.strMask, info.strGateway);
}

QString CProL3FunLogic::StaticARPIndex(const CStaticARPInfo& info)
{
    // Only a well-formed MAC (six hex pairs) becomes six sub-identifiers;
    // anything else would give an index of another length.
    if (!IsDottedQuad(info.strAddress) || CUtils::CheckMacText(info.strMac, 1) == CUtils::MacBadFormat)
        return {};
    return info.strAddress + CUtils::MacTextToOidIndex(info.strMac);
}

bool CProL3FunLogic::SubnetsOverlap(const QString& address, const QString& mask, const QString& rowAddress,
                                    const QString& rowMask)
{
    if (!IsDottedQuad(address) || !IsDottedQuad(mask) || !IsDottedQuad(rowAddress) || !IsDottedQuad(rowMask))
        return false;
    // For masks of contiguous ones, their AND is the wider of the two.
    const quint32 wider = CUtils::IPv4TextToUInt(mask) & CUtils::IPv4TextToUInt(rowMask);
    return (CUtils::IPv4TextToUInt(address) & wider) == (CUtils::IPv4TextToUInt(rowAddress) & wider);
}

bool CProL3FunLogic::ValidateRouteDestination(const QString& destination, const QString& mask)
{
    if (!IsDottedQuad(destination))
        return false;
    if (CUtils::ValidateIPv4(destination))
        return true;
    const int prefix = MaskPrefixLength(mask);
    if (prefix < 1 || prefix > 31)
        return false;
    const quint32 v = CUtils::IPv4TextToUInt(destination);
    const quint32 first = v >> 24;
    if ((v & ~PrefixMask(prefix)) != 0 || first == 0 || first == 127 || first >= 224)
        return false;
    return true;
}

// --- Walks ------------------------------------------------------------------------

bool CProL3FunLogic::GetIPInterfaces()
{
    m_pVlanWalk->Cancel();
    return StartWalk(Interfaces);
}

bool CProL3FunLogic::GetStaticRoutes()
{
    return StartWalk(Routes);
}

bool CProL3FunLogic::GetStaticARP()
{
    return StartWalk(Arp);
}

bool CProL3FunLogic::GetGratuitousARPIf()
{
    return StartWalk(GarpInterfaces);
}

bool CProL3FunLogic::StartWalk(Table table)
{
    QStringList columns;
    switch (table) {
    case Interfaces:
        for (int c : {1, 2, 3, 4, 6, 7, 8, 9, 10})
            columns << Column(L3Oid::kIpInterfaceEntry, c);
        break;
    case Routes:
        for (int c = 1; c <= 9; ++c)
            columns << Column(L3Oid::kRouteEntry, c);
        break;
    case Arp:
        for (int c = 1; c <= 5; ++c)
            columns << Column(L3Oid::kArpEntry, c);
        break;
    case GarpInterfaces:
        columns << Column(L3Oid::kGarpIfEntry, 1) << Column(L3Oid::kGarpIfEntry, 2);
        break;
    }
    // The walk reports its end exactly once, also when nothing could be sent.
    return m_pTableWalk->Start(columns, [this, table](const WalkOutcome& outcome) { OnWalkEnd(table, outcome); });
}

void CProL3FunLogic::OnWalkEnd(Table table, const WalkOutcome& outcome)
{
    if (outcome.nResult == WalkOutcome::Cancelled)
        return;   // a newer walk reports instead
    if (outcome.Ok())
        for (const SnmpRow& row : m_pTableWalk->Rows())
            ReportRow(table, row);
    switch (table) {
    case Interfaces:
        if (!outcome.Ok()) {
            // Without the interfaces no VLAN is worth offering: the refresh
            // ends here, with the reason.
            SendOwnerMessage(WM_IPINTERFACE_NOTIFY, IPIF_VLAN_END, &outcome);
            return;
        }
        m_pVlanWalk->Start({Column(L3Oid::kVlanEntry, 1), Column(L3Oid::kVlanEntry, 6)},
                           [this](const WalkOutcome& o) { OnVlanWalkEnd(o); });
        break;
    case Routes: SendOwnerMessage(WM_STATICROUTE_NOTIFY, L3_WALK_END, &outcome); break;
    case Arp: SendOwnerMessage(WM_STATICARP_NOTIFY, L3_WALK_END, &outcome); break;
    case GarpInterfaces: SendOwnerMessage(WM_GRATUITOUSARP_NOTIFY, GARP_IF_END, &outcome); break;
    }
}

void CProL3FunLogic::OnVlanWalkEnd(const WalkOutcome& outcome)
{
    if (outcome.nResult == WalkOutcome::Cancelled)
        return;
    if (outcome.Ok())
        for (const SnmpRow& row : m_pVlanWalk->Rows()) {
            const VLAN_ROW_TEXTS r{{row.strIndex, row.Text(0), row.Text(1)}};
            SendOwnerMessage(WM_IPINTERFACE_NOTIFY, IPIF_VLAN_ROW, &r);
        }
    SendOwnerMessage(WM_IPINTERFACE_NOTIFY, IPIF_VLAN_END, &outcome);
}

void CProL3FunLogic::ReportRow(Table table, const SnmpRow& row)
{
    switch (table) {
    case Interfaces: {
        // Cells are in walk order (.1 .2 .3 .4 .6 .7 .8 .9 .10); the record
        // takes them in its own field order.
        static const int kWalkPosition[] = {0, 2, 1, 3, 4, 5, 6, 7, 8};
        CIPInterfaceInfo r;
        QString* out[] = {&r.strIndex, &r.strName, &r.strVlanId, &r.strVlanName, &r.strAddress,
                          &r.strMask, &r.strAdminState, &r.strLinkState, &r.strRowStatus};
        for (int i = 0; i < 9; ++i)
            *out[i] = row.Text(kWalkPosition[i]);
        SendOwnerMessage(WM_IPINTERFACE_NOTIFY, IPIF_ROW, &r);
        break;
    }
    case Routes: {
        CStaticRouteInfo r;
        QString* out[] = {&r.strRouteNo, &r.strDestination, &r.strMask, &r.strGateway, &r.strMetric,
                          &r.strProtocol, &r.strBackup, &r.strStatus, &r.strRowStatus};
        for (int i = 0; i < 9; ++i)
            *out[i] = row.Text(i);
        SendOwnerMessage(WM_STATICROUTE_NOTIFY, L3_ROW, &r);
        break;
    }
    case Arp: {
        CStaticARPInfo r;
        r.strInterfaceName = row.Text(0);
        r.strAddress = row.Text(1);
        // Six octets or nothing: a short or long value never reads past its end.
        r.strMac = row.Has(2) ? CUtils::OctetsToMacText(row.cells[2]) : QString();
        r.strType = row.Text(3);
        r.strRowStatus = row.Text(4);
        SendOwnerMessage(WM_STATICARP_NOTIFY, L3_ROW, &r);
        break;
    }
    case GarpInterfaces: {
        const CGratuitousARPIfInfo r{row.strIndex, row.Text(0), row.Text(1)};
        SendOwnerMessage(WM_GRATUITOUSARP_NOTIFY, GARP_ROW, &r);
        break;
    }
    }
}

bool CProL3FunLogic::GetARPAging()
{
    return m_pScalarRead->Start({L3Oid::kArpAging}, [this](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        if (outcome.Ok())
            m_strArpAging = m_pScalarRead->Text(0);
        SendOwnerMessage(WM_STATICARP_NOTIFY, ARP_AGING_END, &outcome);
    });
}

bool CProL3FunLogic::GetGratuitousARP()
{
    const QStringList oids = {L3Oid::kGarpGlobal + QStringLiteral(".1.0"), L3Oid::kGarpGlobal + QStringLiteral(".2.0"),
                              L3Oid::kGarpGlobal + QStringLiteral(".3.0")};
    return m_pScalarRead->Start(oids, [this](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        CGratuitousARPInfo r;
        if (outcome.Ok())
            r = {m_pScalarRead->Text(0), m_pScalarRead->Text(1), m_pScalarRead->Text(2)};
        SendOwnerMessage(WM_GRATUITOUSARP_NOTIFY, GARP_GLOBAL, &r);   // empty fields after a failure
        SendOwnerMessage(WM_GRATUITOUSARP_NOTIFY, GARP_GLOBAL_END, &outcome);
    });
}

// --- Writes -----------------------------------------------------------------------

bool CProL3FunLogic::SetIPInterface(const CIPInterfaceInfo& info, int nMode, CSetSequence& writes,
                                    CSetSequence* undo)
{
    const QString index = IPInterfaceIndex(info);
    if (index.isEmpty())
        return false;
    const QString status = Cell(L3Oid::kIpInterfaceEntry, kIpInterfaceStatus, index);
    if (nMode == 3) {
        writes.Add(QStringLiteral("remove interface %1").arg(index), {SnmpSetValue::Integer(status, 6)});
        return true;
    }
    if (nMode != 1)
        return false;
    QString admin;
    if (!IsDottedQuad(info.strAddress) || !IsDottedQuad(info.strMask) || !ParseStrictInt(info.strAdminState, 1, 2, nullptr, &admin))
        return false;
    const auto cell = [&index](int column) { return Cell(L3Oid::kIpInterfaceEntry, column, index); };
    writes.Add(QStringLiteral("create interface %1").arg(index), {SnmpSetValue::Integer(status, 5)});
    writes.Add(QStringLiteral("interface %1 settings").arg(index),
               {SnmpSetValue::Text(cell(3), info.strName), SnmpSetValue::IpAddress(cell(7), info.strMask),
                SnmpSetValue::IpAddress(cell(6), info.strAddress), SnmpSetValue::Integer(cell(8), admin.toInt())});
    writes.Add(QStringLiteral("activate interface %1").arg(index), {SnmpSetValue::Integer(status, 1)});
    if (undo)
        undo->Add(QStringLiteral("remove the half-made interface %1").arg(index), {SnmpSetValue::Integer(status, 6)});
    return true;
}

bool CProL3FunLogic::SetStaticRoute(const CStaticRouteInfo& info, int nMode, CSetSequence& writes,
                                    CSetSequence* undo)
{
    const QString index = StaticRouteIndex(info);
    if (index.isEmpty())
        return false;
    const QString status = Cell(L3Oid::kRouteEntry, kRouteStatus, index);
    if (nMode == 3) {
        writes.Add(QStringLiteral("remove route"), {SnmpSetValue::Integer(status, 6)});
        return true;
    }
    qint64 metric = 0, backup = 0;
    if (!ParseStrictInt(info.strMetric, 1, 65535, &metric) || !ParseStrictInt(info.strBackup, 0, 1, &backup))
        return false;
    writes.Add(QStringLiteral("create route"), {SnmpSetValue::Integer(status, 4)});
    writes.Add(QStringLiteral("route metric and backup state"),
               {SnmpSetValue::Integer(Cell(L3Oid::kRouteEntry, 5, index), metric),
                SnmpSetValue::Integer(Cell(L3Oid::kRouteEntry, 7, index), backup)});
    if (undo)
        undo->Add(QStringLiteral("remove the half-made route"), {SnmpSetValue::Integer(status, 6)});
    return true;
}

bool CProL3FunLogic::SetStaticARP(const CStaticARPInfo& info, int nMode, CSetSequence& writes)
{
    const QString index = StaticARPIndex(info);
    if (index.isEmpty())
        return false;
    const QString status = Cell(L3Oid::kArpEntry, kArpStatus, index);
    writes.Add(nMode == 3 ? QStringLiteral("remove ARP entry") : QStringLiteral("create ARP entry"),
               {SnmpSetValue::Integer(status, nMode == 3 ? 6 : 4)});
    return true;
}

void CProL3FunLogic::SetARPAging(const QString& strAging, CSetSequence& writes)
{
    writes.Add(QStringLiteral("ARP aging time"), {SnmpSetValue::Integer(L3Oid::kArpAging, strAging.toLongLong())});
}

void CProL3FunLogic::SetGratuitousARP(const QString& a, const QString& b, const QString& c, CSetSequence& writes)
{
    writes.Add(QStringLiteral("gratuitous ARP settings"),
               {SnmpSetValue::Integer(L3Oid::kGarpGlobal + QStringLiteral(".1.0"), a.toInt()),
                SnmpSetValue::Integer(L3Oid::kGarpGlobal + QStringLiteral(".2.0"), b.toInt()),
                SnmpSetValue::Integer(L3Oid::kGarpGlobal + QStringLiteral(".3.0"), c.toInt())});
}

bool CProL3FunLogic::SetGratuitousARPIf(const CGratuitousARPIfInfo& info, CSetSequence& writes)
{
    QString index;
    qint64 interval = 0;
    if (!ParseStrictInt(info.strIndex, 1, 0xFFFFFFFF, nullptr, &index) || !ParseStrictInt(info.strInterval, 0, 65535, &interval))
        return false;
    writes.Add(QStringLiteral("send interval of %1").arg(info.strName),
               {SnmpSetValue::Integer(Cell(L3Oid::kGarpIfEntry, 2, index), interval)});
    return true;
}
