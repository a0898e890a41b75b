#include "CTrafficSeg.h"

#include "CReadGate.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"

namespace {

const QString kSegmentation = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.14.9");

} // namespace

QString CTrafficSeg::StateOid()
{
    return kSegmentation + QStringLiteral(".1.0");
}

QString CTrafficSeg::ForwardColumn(int nColumn)
{
    return kSegmentation + QStringLiteral(".2.1.") + QString::number(nColumn);
}

void CTrafficSeg::GetState(CSnmpScalarRead& read, CReadGate& gate)
{
    const int ticket = gate.Expect(QStringLiteral("segmentation state"));
    CReadGate* pGate = &gate;
    CSnmpScalarRead* pRead = &read;
    read.Start({StateOid()}, [this, pRead, pGate, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            m_strState = pRead->Text(0);
            SendOwnerMessage(WM_MODULE_NOTIFY, MN_READ_FINISHED, &m_strState);
        }
        pGate->Settle(ticket, outcome);
    });
}

void CTrafficSeg::SetState(CSetSequence& sequence, const QString& strState) const
{
    sequence.Add(QStringLiteral("segmentation state"), {SnmpSetValue::Integer(StateOid(), strState.toLongLong())});
}

int CTrafficSeg::BuildForwardSets(int nFromPort, const std::vector<int>& selection, ForwardSets& sets) const
{
    sets.clear();
    const int ports = int(selection.size());
    const int first = nFromPort == 0 ? 1 : nFromPort;
    const int last = nFromPort == 0 ? ports : nFromPort;
    if (first < 1 || last > ports)
        return 0;
    // Every set is checked before any is written, so a refusal leaves the
    // switch as it was.
    for (int p = first; p <= last; ++p) {
        std::vector<int> own = selection;   // each port's own copy
        if (nFromPort == 0)
            own[size_t(p - 1)] = 1;
        if (!CheckTrunkMembers(own.data())) {
            sets.clear();
            return 0;
        }
        sets.append({p, CUtils::PortArrayToOctets(own.data())});
    }
    return 1;
}

void CTrafficSeg::SetForwardPorts(CSetSequence& sequence, const ForwardSets& sets) const
{
    for (const auto& [port, bitmap] : sets)
        sequence.Add(QStringLiteral("forwarding ports of port %1").arg(port),
                     {SnmpSetValue::Octets(ForwardColumn(2) + u'.' + QString::number(port), bitmap)},
                     sequence.StepCount() > 0 ? kForwardGapMs : 0);
}
