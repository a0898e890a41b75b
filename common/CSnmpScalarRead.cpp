#include "CSnmpScalarRead.h"

#include "CCommonSNMP.h"
#include "CSetSequence.h"
#include "CSnmp.h"
#include "StatusText.h"

#include <memory>

CSnmpScalarRead::CSnmpScalarRead(CCommonSNMP& session)
    : m_session(session)
{
}

CSnmpScalarRead::~CSnmpScalarRead()
{
    // A pending answer would reach a destroyed read.
    if (m_bRunning)
        m_session.Close();
}

bool CSnmpScalarRead::Start(const QStringList& oids, EndFn onEnd)
{
    Cancel();
    m_oids = oids;
    m_values.clear();
    m_onEnd = std::move(onEnd);
    m_bRunning = true;
    bool ok = !m_oids.isEmpty() && m_session.Prepare(SNMP_PDU_GET);
    for (const QString& oid : m_oids)
        ok = ok && m_session.AddValue(oid, SNMP_TYPE_NULL, nullptr) == 0;
    if (ok && m_session.SendAsync(&CSnmpScalarRead::OnAnswer, this) == 0)
        return true;
    WalkOutcome outcome;
    outcome.nResult = WalkOutcome::NotSent;
    outcome.strColumn = m_oids.value(0);
    outcome.strWhy = StatusText::SessionFailure(m_session);
    Finish(outcome);
    return false;
}

void CSnmpScalarRead::Cancel()
{
    if (!m_bRunning)
        return;
    m_session.Prepare(SNMP_PDU_GET);   // drops the answer still expected
    WalkOutcome outcome;
    outcome.nResult = WalkOutcome::Cancelled;
    Finish(outcome);
}

void CSnmpScalarRead::Abandon()
{
    m_onEnd = nullptr;
    if (m_bRunning) {
        m_bRunning = false;
        m_session.Prepare(SNMP_PDU_GET);
    }
}

void CSnmpScalarRead::Finish(WalkOutcome outcome)
{
    // Final state first: the report may start the read again.
    m_bRunning = false;
    m_session.SetDone();
    if (!outcome.Ok())
        m_values.clear();
    EndFn onEnd = m_onEnd;
    if (onEnd)
        onEnd(outcome);
}

int CSnmpScalarRead::OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus)
{
    std::unique_ptr<CSnmp> response(pResponse);
    auto* self = static_cast<CSnmpScalarRead*>(pUser);
    if (!self->m_session.RemovePending(nRequestId) || !self->m_bRunning)
        return 0;
    WalkOutcome outcome;
    if (nStatus != 0 || !response) {
        outcome.nResult = WalkOutcome::NoAnswer;
        outcome.strColumn = self->m_oids.value(0);
        outcome.strWhy = StatusText::SessionFailure(self->m_session);
        self->Finish(outcome);
        return 0;
    }
    int errorStatus = 0;
    int errorIndex = 0;
    response->getErrorStatus(&errorStatus, &errorIndex);
    if (errorStatus != 0) {
        outcome.nResult = WalkOutcome::ErrorStatus;
        outcome.strColumn = self->m_oids.value(errorIndex >= 1 ? errorIndex - 1 : 0, self->m_oids.value(0));
        outcome.strWhy = QStringLiteral("%1 on %2").arg(CSetSequence::ErrorStatusName(errorStatus), outcome.strColumn);
        self->Finish(outcome);
        return 0;
    }
    QList<QByteArray> values;
    for (int i = 0; i < self->m_oids.size(); ++i) {
        char* pszOid = nullptr;
        unsigned char* pData = nullptr;
        int nLen = 0;
        if (i >= response->getVarBindCount() || response->getValueType(i) == 0
            || response->getValueBytes(i, &pszOid, &pData, &nLen) != 0 || (!pData && nLen != 0)) {
            outcome.nResult = WalkOutcome::ErrorStatus;
            outcome.strColumn = self->m_oids[i];
            outcome.strWhy = QStringLiteral("No such object: %1").arg(self->m_oids[i]);
            self->Finish(outcome);
            return 0;
        }
        values.append(pData ? QByteArray(reinterpret_cast<const char*>(pData), nLen) : QByteArray());
    }
    self->m_values = values;
    self->Finish(outcome);
    return 0;
}
