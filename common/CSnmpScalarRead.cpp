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

bool CSnmpScalarRead::Start(const QStringList& oids, EndFn onEnd, int nTimeoutMs)
{
    if (m_bRunning)
        Cancel();
    m_oids = oids;
    m_values.clear();
    m_present.clear();
    m_onEnd = std::move(onEnd);
    m_bRunning = true;
    bool ok = !oids.isEmpty() && m_session.Prepare(SNMP_PDU_GET);
    for (const QString& oid : oids) {
        if (!ok)
            break;
        ok = m_session.AddValue(oid, SNMP_TYPE_NULL, nullptr) == 0;
    }
    if (ok && m_session.SendAsyncWithTimeout(&CSnmpScalarRead::OnAnswer, this, nTimeoutMs) == 0)
        return true;
    WalkOutcome outcome;
    outcome.nResult = WalkOutcome::NotSent;
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

void CSnmpScalarRead::Finish(const WalkOutcome& outcome)
{
    // Final state first: the report may start another read.
    m_bRunning = false;
    m_session.SetDone();
    EndFn onEnd = std::move(m_onEnd);
    m_onEnd = nullptr;
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
        outcome.nResult = self->m_session.GetLastResult() == SNMP_ERROR_STATUS ? WalkOutcome::ErrorStatus
                                                                                : WalkOutcome::NoAnswer;
        outcome.strWhy = StatusText::SessionFailure(self->m_session);
        self->Finish(outcome);
        return 0;
    }
    int errorStatus = 0;
    int errorIndex = 0;
    response->getErrorStatus(&errorStatus, &errorIndex);
    if (errorStatus != 0) {
        outcome.nResult = WalkOutcome::ErrorStatus;
        outcome.strColumn = self->m_oids.value(errorIndex - 1, self->m_oids.value(0));
        outcome.strWhy = QStringLiteral("%1 on %2").arg(CSetSequence::ErrorStatusName(errorStatus), outcome.strColumn);
        self->Finish(outcome);
        return 0;
    }
    if (response->getVarBindCount() < self->m_oids.size()) {
        outcome.nResult = WalkOutcome::ErrorStatus;
        outcome.strWhy = QStringLiteral("The switch answered %1 of %2 values")
                             .arg(response->getVarBindCount())
                             .arg(self->m_oids.size());
        self->Finish(outcome);
        return 0;
    }
    for (int i = 0; i < self->m_oids.size(); ++i) {
        char* pszOid = nullptr;
        unsigned char* pData = nullptr;
        int nLen = 0;
        const bool has = response->getValueType(i) != 0 && response->getValueBytes(i, &pszOid, &pData, &nLen) == 0;
        self->m_values.append(has && pData ? QByteArray(reinterpret_cast<const char*>(pData), nLen) : QByteArray());
        self->m_present.append(has);
    }
    self->Finish(outcome);
    return 0;
}
