#include "CStormControlLogic.h"

#include "CReadGate.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"

namespace {

const QString kStorm = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.13.3");

} // namespace

QString CStormControlLogic::StateOid()
{
    return kStorm + QStringLiteral(".1.0");
}

QString CStormControlLogic::TypeOid()
{
    return kStorm + QStringLiteral(".2.0");
}

QString CStormControlLogic::ThresholdOid()
{
    return kStorm + QStringLiteral(".3.0");
}

void CStormControlLogic::GetGlobal(CSnmpScalarRead& read, CReadGate& gate)
{
    const int ticket = gate.Expect(QStringLiteral("storm control"));
    CReadGate* pGate = &gate;
    CSnmpScalarRead* pRead = &read;
    read.Start({StateOid(), TypeOid(), ThresholdOid()}, [this, pRead, pGate, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            const CStormControlInfo info{pRead->Text(0), pRead->Text(1), pRead->Text(2)};
            SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &info);
        }
        pGate->Settle(ticket, outcome);
    });
}

bool CStormControlLogic::SetGlobal(CSetSequence& sequence, const CStormControlInfo& old,
                                   const CStormControlInfo& now) const
{
    QList<SnmpSetValue> values;
    if (now.strState != old.strState)
        values << SnmpSetValue::Integer(StateOid(), now.strState.toLongLong());
    // Type and threshold mean something only while storm control is on;
    // switching it off writes the state alone.
    if (now.strState == QLatin1String("1")) {
        if (now.strType != old.strType)
            values << SnmpSetValue::Integer(TypeOid(), now.strType.toLongLong());
        if (now.strThreshold != old.strThreshold)
            values << SnmpSetValue::Integer(ThresholdOid(), now.strThreshold.toLongLong());
    }
    if (values.isEmpty())
        return false;
    sequence.Add(QStringLiteral("storm control"), values);
    return true;
}
