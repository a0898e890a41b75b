#include "CSetSequence.h"

#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "StatusText.h"

#include <QTimer>

#include <memory>

SnmpSetValue SnmpSetValue::Integer(const QString& oid, qint64 value)
{
    return {oid, SNMP_TYPE_INTEGER, QByteArray::number(value)};
}

SnmpSetValue SnmpSetValue::Unsigned(const QString& oid, quint32 value)
{
    return {oid, SNMP_TYPE_UNSIGNED, QByteArray::number(value)};
}

SnmpSetValue SnmpSetValue::Octets(const QString& oid, const QByteArray& octets)
{
    return {oid, SNMP_TYPE_OCTETS, octets};
}

SnmpSetValue SnmpSetValue::Text(const QString& oid, const QString& text)
{
    return {oid, SNMP_TYPE_OCTETS, text.toUtf8()};
}

SnmpSetValue SnmpSetValue::IpAddress(const QString& oid, const QString& dotted)
{
    return {oid, SNMP_TYPE_IPADDRESS, dotted.toLatin1()};
}

QString SnmpSetFailure::Text() const
{
    if (nResult == ErrorStatus && !strOID.isEmpty())
        return QStringLiteral("%1 on %2").arg(strReason, strOID);
    return strReason;
}

CSetSequence::CSetSequence(CCommonSNMP& session, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_pDelay(new QTimer(this))
{
    m_pDelay->setSingleShot(true);
    // A pause the switch needs between steps is a minimum: a coarse timer
    // may fire up to 5 % early.
    m_pDelay->setTimerType(Qt::PreciseTimer);
    connect(m_pDelay, &QTimer::timeout, this, &CSetSequence::SendCurrent);
}

CSetSequence::~CSetSequence()
{
    // No answer may reach a destroyed sequence.
    if (m_bRunning)
        m_session.Close();
}

void CSetSequence::SetAttempts(int nAttempts, int nRetryWaitMs)
{
    m_nAttempts = qMax(1, nAttempts);
    m_nRetryWaitMs = qMax(0, nRetryWaitMs);
}

void CSetSequence::Add(const QString& strWhat, QList<SnmpSetValue> values, int nDelayMs, int nTimeoutMs)
{
    m_steps.append({strWhat, std::move(values), nDelayMs, qMax(0, nTimeoutMs)});
}

void CSetSequence::Clear()
{
    if (!m_bRunning)
        m_steps.clear();
}

int CSetSequence::ValueCount() const
{
    int n = 0;
    for (const Step& step : m_steps)
        n += int(step.values.size());
    return n;
}

QString CSetSequence::StepText(int nStep) const
{
    return nStep >= 1 && nStep <= m_steps.size() ? m_steps[nStep - 1].strWhat : QString();
}

bool CSetSequence::Start()
{
    if (m_bRunning || m_steps.isEmpty())
        return false;
    m_bRunning = true;
    m_nCurrent = 0;
    m_nTry = 0;
    m_bAgentKnown = false;
    if (m_steps[0].nDelayMs > 0)
        m_pDelay->start(m_steps[0].nDelayMs);
    else
        SendCurrent();
    return true;
}

void CSetSequence::Cancel()
{
    if (!m_bRunning)
        return;
    m_pDelay->stop();
    m_session.Prepare(SNMP_PDU_SET);   // drops the answer still expected
    SnmpSetFailure failure;
    failure.nResult = SnmpSetFailure::Cancelled;
    failure.strReason = tr("Cancelled");
    Fail(failure);
}

void CSetSequence::Abandon()
{
    m_pDelay->stop();
    if (m_bRunning) {
        m_bRunning = false;
        m_session.Prepare(SNMP_PDU_SET);
    }
}

QString CSetSequence::ErrorStatusName(int nStatus)
{
    static const char* const names[] = {
        "noError", "tooBig", "noSuchName", "badValue", "readOnly", "genErr", "noAccess", "wrongType",
        "wrongLength", "wrongEncoding", "wrongValue", "noCreation", "inconsistentValue",
        "resourceUnavailable", "commitFailed", "undoFailed", "authorizationError", "notWritable",
        "inconsistentName",
    };
    if (nStatus >= 0 && nStatus < int(std::size(names)))
        return QString::fromLatin1(names[nStatus]);
    return QStringLiteral("error %1").arg(nStatus);
}

void CSetSequence::SendCurrent()
{
    if (!m_bRunning)
        return;
    const Step& step = m_steps[m_nCurrent];
    ++m_nTry;
    emit progress(m_nCurrent + 1, int(m_steps.size()), step.strWhat);
    if (!m_bRunning)
        return;   // cancelled from the progress report
    bool ok = !step.values.isEmpty() && m_session.Prepare(SNMP_PDU_SET);
    for (const SnmpSetValue& v : step.values) {
        if (!ok)
            break;
        ok = m_session.AddValueBytes(v.strOID, v.nType, v.value.constData(), int(v.value.size())) == 0;
    }
    if (ok && m_session.SendAsync(&CSetSequence::OnAnswer, this, 0, step.nTimeoutMs) == 0)
        return;
    SnmpSetFailure failure;
    failure.nResult = SnmpSetFailure::NotSent;
    failure.strOID = step.values.isEmpty() ? QString() : step.values.first().strOID;
    failure.strReason = m_session.GetLastResult() != 0 ? StatusText::SessionFailure(m_session) : tr("Malformed request");
    Fail(failure);
}

int CSetSequence::OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus)
{
    std::unique_ptr<CSnmp> response(pResponse);
    auto* self = static_cast<CSetSequence*>(pUser);
    if (!self->m_session.RemovePending(nRequestId) || !self->m_bRunning)
        return 0;
    self->m_session.SetDone();
    const Step& step = self->m_steps[self->m_nCurrent];
    int errorStatus = 0;
    int errorIndex = 0;
    if (nStatus != 0 || !response) {
        if (self->m_nTry < self->m_nAttempts && self->m_session.GetLastResult() == SNMP_NO_ANSWER) {
            self->m_pDelay->start(self->m_nRetryWaitMs);
            return 0;
        }
        SnmpSetFailure failure;
        failure.nResult = SnmpSetFailure::NoAnswer;
        failure.strOID = step.values.first().strOID;
        failure.strReason = StatusText::SessionFailure(self->m_session);
        self->Fail(failure);
        return 0;
    }
    response->getErrorStatus(&errorStatus, &errorIndex);
    if (errorStatus != 0) {
        SnmpSetFailure failure;
        failure.nResult = SnmpSetFailure::ErrorStatus;
        failure.nErrorStatus = errorStatus;
        failure.nErrorIndex = errorIndex;
        const int named = errorIndex >= 1 && errorIndex <= step.values.size() ? errorIndex - 1 : 0;
        failure.strOID = step.values[named].strOID;
        failure.strReason = ErrorStatusName(errorStatus);
        self->Fail(failure);
        return 0;
    }
    // A switch that restarted between or during the steps has lost what the
    // earlier steps wrote (unless saved), although this step was taken: the
    // SNMP layer finds the new engine and resends without a failure.
    std::string engine;
    long boots = -1;
    response->getAgentEngine(&engine, &boots);
    if (!self->m_bAgentKnown) {
        self->m_bAgentKnown = true;
        self->m_strAgentEngine = engine;
        self->m_nAgentBoots = boots;
    } else if (engine != self->m_strAgentEngine
               || (boots >= 0 && self->m_nAgentBoots >= 0 && boots != self->m_nAgentBoots)) {
        SnmpSetFailure failure;
        failure.nResult = SnmpSetFailure::Restarted;
        failure.strOID = step.values.first().strOID;
        failure.strReason = tr("the switch restarted during the write");
        self->Fail(failure);
        return 0;
    }
    if (boots >= 0 && self->m_nAgentBoots < 0)
        self->m_nAgentBoots = boots;
    self->m_nTry = 0;
    if (++self->m_nCurrent >= self->m_steps.size()) {
        self->Done(true, {});
        return 0;
    }
    const int delay = self->m_steps[self->m_nCurrent].nDelayMs;
    if (delay > 0)
        self->m_pDelay->start(delay);
    else
        self->SendCurrent();
    return 0;
}

void CSetSequence::Fail(SnmpSetFailure failure)
{
    failure.nStep = m_nCurrent + 1;
    failure.nSteps = int(m_steps.size());
    failure.strWhat = StepText(failure.nStep);
    Done(false, failure);
}

void CSetSequence::Done(bool bOk, const SnmpSetFailure& failure)
{
    // Final state first: the receiver may start another sequence.
    m_bRunning = false;
    emit finished(bOk, failure);
}
