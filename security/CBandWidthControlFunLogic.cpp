#include "CBandWidthControlFunLogic.h"

#include "CReadGate.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "StrictNumber.h"

namespace {

const QString kRateEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.13.1.2.1");

constexpr int kMinRate = 64;
constexpr int kMaxRate = 1024000;

} // namespace

QString CBandWidthControlFunLogic::RateColumn(int nColumn)
{
    return kRateEntry + u'.' + QString::number(nColumn);
}

void CBandWidthControlFunLogic::GetBandwidthTable(CSnmpRowWalk& walk, CReadGate& gate)
{
    const int ticket = gate.Expect(QStringLiteral("bandwidth table"));
    CReadGate* pGate = &gate;
    CSnmpRowWalk* pWalk = &walk;
    walk.Start({RateColumn(1), RateColumn(2), RateColumn(3)}, [this, pWalk, pGate, ticket](const WalkOutcome& outcome) {
        // Rows are keyed by port; what arrived before a failure is shown,
        // and the failed read keeps Apply off.
        for (const SnmpRow& row : pWalk->Rows()) {
            const BANDWIDTH_ROW record{row.strIndex, row.Text(1), row.Text(2)};
            SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &record);
        }
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_READ_FINISHED, "Finished");
        pGate->Settle(ticket, outcome);
    });
}

int CBandWidthControlFunLogic::CheckRate(const QString& strRate, QString* pSend)
{
    return ParseStrictInt(strRate, kMinRate, kMaxRate, nullptr, pSend) ? 1 : 0;
}

int CBandWidthControlFunLogic::BuildPortList(int nFrom, int nTo, QString& strPorts) const
{
    QStringList ports;
    for (int p = qMax(nFrom, 1); p <= nTo && p <= int(m_TrunkPorts.size()); ++p)
        if (m_TrunkPorts[size_t(p - 1)] != 0)
            ports << QString::number(p);
    strPorts = ports.join(u',');
    return ports.isEmpty() ? 1 : 0;
}

void CBandWidthControlFunLogic::SetBandwidth(CSetSequence& sequence, int nFrom, int nTo, const QString& strRate,
                                             int nType) const
{
    const qint64 rate = strRate.toLongLong();
    for (int p = nFrom; p <= nTo; ++p) {
        const QString port = QString::number(p);
        QList<SnmpSetValue> values;
        if (nType == Rx || nType == Both)
            values << SnmpSetValue::Integer(RateColumn(3) + u'.' + port, rate);
        if (nType == Tx || nType == Both)
            values << SnmpSetValue::Integer(RateColumn(2) + u'.' + port, rate);
        sequence.Add(QStringLiteral("rate of port %1").arg(p), values);
    }
}
