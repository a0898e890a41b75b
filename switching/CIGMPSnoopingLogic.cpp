#include "CIGMPSnoopingLogic.h"

#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "GlobalSettings.h"

namespace {

const char* const kIgmp = "1.3.6.1.4.1.32473.10.126.4.1.10";
const char* const kVlanTable = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1";

QString EntryColumn(int n)
{
    return QStringLiteral("%1.3.5.1.%2").arg(QLatin1String(kIgmp)).arg(n);
}

QString Tr(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

CIGMPSnoopingLogic::CIGMPSnoopingLogic() = default;

QString CIGMPSnoopingLogic::GlobalOid(int n)
{
    return QStringLiteral("%1.1.%2.0").arg(QLatin1String(kIgmp)).arg(n);
}

QStringList CIGMPSnoopingLogic::GlobalOids()
{
    QStringList oids;
    for (int n = 1; n <= 7; ++n)
        oids << GlobalOid(n);
    return oids;
}

IGMP_GLOBAL_INFO CIGMPSnoopingLogic::GlobalFromTexts(const QStringList& t)
{
    IGMP_GLOBAL_INFO info;
    info.m_strState = t.value(0);
    info.m_strRouterTimeout = t.value(1);
    info.m_strHostTimeout = t.value(2);
    info.m_strRobustness = t.value(3);
    info.m_strLastMemberQueryInterval = t.value(4);
    info.m_strQueryInterval = t.value(5);
    info.m_strMaxResponseTime = t.value(6);
    return info;
}

QString CIGMPSnoopingLogic::VlanColumn(int n)
{
    return QStringLiteral("%1.3.4.1.%2").arg(QLatin1String(kIgmp)).arg(n);
}

QString CIGMPSnoopingLogic::VlanEgressColumn()
{
    return QLatin1String(kVlanTable) + QStringLiteral(".2");
}

QStringList CIGMPSnoopingLogic::VlanColumns()
{
    return {VlanColumn(1), QLatin1String(kVlanTable) + QStringLiteral(".1"), VlanColumn(2), VlanColumn(4),
            VlanColumn(8), VlanColumn(6)};
}

bool CIGMPSnoopingLogic::VlanRow(const SnmpRow& row, IGMP_VLAN_INFO& info)
{
    // Names and settings are joined by the VLAN id of their index; a VLAN
    // the switch keeps no settings for is no row of this list.
    if (!row.Has(0) || !row.Has(2))
        return false;
    info.strVlanId = row.Text(0);
    info.strVlanName = row.Text(1);
    info.strState = row.Text(2);
    info.strQuerierState = row.Text(3);
    info.strFastLeave = row.Text(4);
    int count = 0;
    info.strRouterPorts = row.Has(5) ? CUtils::PortBitmapToList(row.cells[5], count) : QString();
    return true;
}

QStringList CIGMPSnoopingLogic::EntryColumns()
{
    return {EntryColumn(1), EntryColumn(2), EntryColumn(3), EntryColumn(4)};
}

bool CIGMPSnoopingLogic::EntryRow(const SnmpRow& row, IGMP_ENTRY_INFO& info)
{
    if (!row.Has(0))
        return false;
    info.strVlanId = row.Text(0);
    const QByteArray group = row.cells.value(1);
    const QByteArray mac = row.cells.value(2);
    // Addresses of another length are shown as received, never read past.
    if (group.size() == 4)
        info.strGroup = QStringLiteral("%1.%2.%3.%4")
                            .arg(quint8(group[0]))
                            .arg(quint8(group[1]))
                            .arg(quint8(group[2]))
                            .arg(quint8(group[3]));
    else
        info.strGroup = QString::fromLatin1(group.toHex());
    info.strMac = mac.size() == 6 ? CUtils::OctetsToMacText(mac) : QString::fromLatin1(mac.toHex());
    int count = 0;
    info.strPorts = CUtils::PortBitmapToList(row.cells.value(3), count);
    return true;
}

int CIGMPSnoopingLogic::SetGlobal(const IGMP_GLOBAL_INFO& old, const IGMP_GLOBAL_INFO& now,
                                  CSetSequence& writes) const
{
    writes.Clear();
    if (now.m_strState != QLatin1String("1") && now.m_strState != QLatin1String("2"))
        return 0;
    if (old.m_strState != now.m_strState)
        writes.Add(Tr("IGMP snooping state"), {SnmpSetValue::Integer(GlobalOid(1), now.m_strState.toInt())});
    if (now.m_strState == QLatin1String("1")) {
        const std::pair<QString, QString> timers[] = {
            {old.m_strRouterTimeout, now.m_strRouterTimeout},
            {old.m_strHostTimeout, now.m_strHostTimeout},
            {old.m_strRobustness, now.m_strRobustness},
            {old.m_strLastMemberQueryInterval, now.m_strLastMemberQueryInterval},
            {old.m_strQueryInterval, now.m_strQueryInterval},
            {old.m_strMaxResponseTime, now.m_strMaxResponseTime},
        };
        QList<SnmpSetValue> changed;
        for (int i = 0; i < 6; ++i)
            if (timers[i].first != timers[i].second)
                changed << SnmpSetValue::Integer(GlobalOid(i + 2), timers[i].second.toLongLong());
        if (!changed.isEmpty())
            writes.Add(Tr("IGMP snooping timers"), changed);
    }
    return writes.StepCount();
}

int CIGMPSnoopingLogic::SetVlanSettings(const QString& strVid, const QString& strOld, const QString& strNew,
                                        const QString& strQuerier, const QString& strFastLeave,
                                        CSetSequence& writes) const
{
    writes.Clear();
    auto cell = [&](int column) { return VlanColumn(column) + u'.' + strVid; };
    const SnmpSetValue querier = SnmpSetValue::Integer(cell(4), strQuerier.toInt());
    const SnmpSetValue fastLeave = SnmpSetValue::Integer(cell(8), strFastLeave.toInt());
    const SnmpSetValue state = SnmpSetValue::Integer(cell(2), strNew.toInt());
    if (strOld == QLatin1String("2")) {
        if (strNew == QLatin1String("2"))
            return 0;
        // Querier and fast leave take effect only on a snooping VLAN.
        writes.Add(Tr("IGMP snooping of VLAN %1").arg(strVid), {state});
        writes.Add(Tr("querier and fast leave of VLAN %1").arg(strVid), {querier, fastLeave});
    } else if (strOld == QLatin1String("1")) {
        QList<SnmpSetValue> values = {querier, fastLeave};
        if (strNew == QLatin1String("2"))
            values << state;   // the state last
        writes.Add(Tr("IGMP snooping settings of VLAN %1").arg(strVid), values);
    }
    return writes.StepCount();
}

QByteArray CIGMPSnoopingLogic::RouterPortOctets(const std::vector<int>& ports)
{
    const int n = g_nDevicePortNum;
    std::vector<int> array(ports);
    array.resize(std::max(n, 0), 0);
    return n > 0 ? CUtils::PortArrayToModelOctets(array.data()) : QByteArray();
}

int CIGMPSnoopingLogic::SetVlanRouterPorts(const QString& strVid, const QByteArray& octets,
                                           CSetSequence& writes) const
{
    writes.Clear();
    writes.Add(Tr("static router ports of VLAN %1").arg(strVid),
               {SnmpSetValue::Octets(VlanColumn(6) + u'.' + strVid, octets)});
    return writes.StepCount();
}

std::vector<std::pair<CCommonSNMP*, const char*>> CIGMPSnoopingLogic::OwnSessions()
{
    return {{&m_cSnmpIgmpGet, "m_cSnmpIgmpGet"},
            {&m_cSnmpIgmpSet, "m_cSnmpIgmpSet"},
            {&m_cSnmpEntryTable, "m_cSnmpEntryTable"},
            {&m_cSnmpVlanSettingTable, "m_cSnmpVlanSettingTable"}};
}
