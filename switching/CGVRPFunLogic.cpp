#include "CGVRPFunLogic.h"

#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"

#include <QCoreApplication>

namespace {

const QString kGvrp = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.30");

QString Tr(const char* text)
{
    return QCoreApplication::translate("CGVRPFunLogic", text);
}

QString Global(int n)
{
    return kGvrp + u'.' + QString::number(n) + QStringLiteral(".0");
}

QString EnabledText(const QString& code)
{
    return code == QLatin1String("1") ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

constexpr qint64 kTimerMin = 100;
constexpr qint64 kTimerMax = 100000;

} // namespace

CGVRPFunLogic::CGVRPFunLogic()
    : m_nPortNum(qMax(0, g_nDevicePortNum))
{
}

QString CGVRPFunLogic::StateOid()
{
    return Global(1);
}

QStringList CGVRPFunLogic::TimerOids()
{
    return {Global(1), Global(2), Global(3), Global(4)};
}

GVRP_TIMER_INFO CGVRPFunLogic::TimersFromTexts(const QStringList& texts)
{
    GVRP_TIMER_INFO info;
    info.nEnabled = texts.value(0) == QLatin1String("2") ? 0 : 1;
    info.strJoin = texts.value(1);
    info.strLeave = texts.value(2);
    info.strLeaveAll = texts.value(3);
    return info;
}

QString CGVRPFunLogic::PortColumn(int n)
{
    return kGvrp + QStringLiteral(".5.1.") + QString::number(n);
}

QStringList CGVRPFunLogic::PortColumns()
{
    return {PortColumn(1), PortColumn(2), PortColumn(3), PortColumn(4), PortColumn(5)};
}

GVRP_PORT_INFO CGVRPFunLogic::PortRow(const SnmpRow& row)
{
    GVRP_PORT_INFO info;
    info.strPort = row.Has(0) ? row.Text(0) : row.strIndex;
    info.strPvid = row.Text(1);
    info.strGvrp = EnabledText(row.Text(2));
    info.strIngress = EnabledText(row.Text(3));
    info.strFrameType = row.Text(4) == QLatin1String("1") ? QStringLiteral("AllFrames") : QStringLiteral("TaggedOnly");
    return info;
}

QString CGVRPFunLogic::SetTimers(const QString& strOldState, const QString& strNewState, const QString& strJoin,
                                 const QString& strLeave, const QString& strLeaveAll, CSetSequence& writes) const
{
    const bool bWasOff = strOldState == QLatin1String("2");
    if (strNewState == QLatin1String("2")) {
        if (!bWasOff)
            writes.Add(Tr("GVRP state"), {SnmpSetValue::Integer(StateOid(), 2)});
        return {};
    }
    qint64 join = 0, leave = 0, leaveAll = 0;
    if (!ParseStrictInt(strJoin, kTimerMin, kTimerMax, &join))
        return QStringLiteral("Join Time(100-100000).");
    if (!ParseStrictInt(strLeave, kTimerMin, kTimerMax, &leave))
        return QStringLiteral("Leave Time(100-100000).");
    if (!ParseStrictInt(strLeaveAll, kTimerMin, kTimerMax, &leaveAll))
        return QStringLiteral("Leave_All Time(100-100000).");
    if (2 * join > leave - 1)
        return QStringLiteral("Leave Time should be greater than 2*Join Time.");
    if (leaveAll < leave + 1)
        return QStringLiteral("Leave_All Time should be greater than Leave Time. ");

    QList<SnmpSetValue> values;
    bool ok = false;
    const int state = strNewState.toInt(&ok);
    if (bWasOff)
        values << SnmpSetValue::Integer(StateOid(), ok ? state : 1);
    values << SnmpSetValue::Integer(Global(2), join) << SnmpSetValue::Integer(Global(3), leave)
           << SnmpSetValue::Integer(Global(4), leaveAll);
    writes.Add(bWasOff ? Tr("GVRP state and timers") : Tr("GVRP timers"), values);
    return {};
}

QString CGVRPFunLogic::CheckLAGroup(int nFrom, int nTo) const
{
    const int count = qMin(m_nPortNum, int(m_TrunkPorts.size()));
    for (int p = qMax(1, nFrom); p <= qMin(nTo, count); ++p) {
        const int link = m_TrunkPorts[size_t(p - 1)];
        if (link == 0)
            continue;
        for (int q = 1; q <= count; ++q)
            if (m_TrunkPorts[size_t(q - 1)] == link && (q < nFrom || q > nTo))
                return QStringLiteral("Some ports in the same LA Group are not be included.");
    }
    return {};
}

void CGVRPFunLogic::SetPortSettings(int nFrom, int nTo, qint64 nPvid, int nGvrp, int nIngress, int nFrameType,
                                    CSetSequence& writes) const
{
    for (int port = qMax(1, nFrom); port <= qMin(nTo, m_nPortNum); ++port) {
        const QString instance = u'.' + QString::number(port);
        writes.Add(Tr("GVRP settings of port %1").arg(port),
                   {SnmpSetValue::Integer(PortColumn(2) + instance, nPvid),
                    SnmpSetValue::Integer(PortColumn(3) + instance, nGvrp),
                    SnmpSetValue::Integer(PortColumn(4) + instance, nIngress),
                    SnmpSetValue::Integer(PortColumn(5) + instance, nFrameType)});
    }
}
