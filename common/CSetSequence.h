#pragma once

// An ordered list of set requests sent one after another without blocking
// the window. It stops at the first step that gets no answer or a non-zero
// error status, and says which step, which OID (the one the error index
// names) and why ("wrongValue", "No answer from the agent"). Steps after a
// failed one are never sent. Each value owns its bytes.
//
//     m_seq.Clear();
//     m_seq.Add("egress ports", {SnmpSetValue::Octets(kEgress + vid, egress)});
//     m_seq.Add("row status", {SnmpSetValue::Integer(kStatus + vid, 1)}, 50);
//     m_seq.Add("PoE of port 3", {...}, 300, 20000);   // after 300 ms, 20 s to answer
//     m_seq.Start();   // progress(...) per step, then finished(ok, failure) once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <string>

class CCommonSNMP;
class CSnmp;
class QTimer;

struct SnmpSetValue
{
    QString strOID;
    int nType = 0;        // SNMP_TYPE_INTEGER, _OCTETS, _IPADDRESS, _UNSIGNED, _OID
    QByteArray value;     // decimal or dotted text; octets for octet strings

    static SnmpSetValue Integer(const QString& oid, qint64 value);
    static SnmpSetValue Unsigned(const QString& oid, quint32 value);
    static SnmpSetValue Octets(const QString& oid, const QByteArray& octets);
    static SnmpSetValue Text(const QString& oid, const QString& text);   // sent as UTF-8
    static SnmpSetValue IpAddress(const QString& oid, const QString& dotted);
};

struct SnmpSetFailure
{
    // Restarted: the switch answered step nStep as a restarted agent (v3: a
    // new engine ID or boot count), so steps 1 to nStep - 1 may be lost.
    enum Result { None = 0, NoAnswer, ErrorStatus, NotSent, Cancelled, Restarted };
    int nResult = None;
    int nStep = 0;           // 1-based step that failed
    int nSteps = 0;
    QString strWhat;         // that step's description
    QString strOID;          // the OID the error index names (else the step's first)
    int nErrorStatus = 0;
    int nErrorIndex = 0;
    QString strReason;       // "wrongValue", "No answer from the agent", ...

    // "wrongValue on 1.3.6...", "No answer from the agent"
    QString Text() const;
};

class CSetSequence : public QObject
{
    Q_OBJECT
public:
    // The sequence sends on `session`, which must outlive it.
    explicit CSetSequence(CCommonSNMP& session, QObject* parent = nullptr);
    ~CSetSequence() override;

    // A step that gets no answer is sent again after nRetryWaitMs, up to
    // nAttempts sends in all (default 1: no retry). Only for steps that may
    // safely arrive twice (a scalar set to a value); a refusal (error
    // status) is never retried.
    void SetAttempts(int nAttempts, int nRetryWaitMs);

    // Appends one set request; nDelayMs waits that long before sending it.
    // nTimeoutMs is the step's own time-out (0: the session's), for objects
    // the switch is slow to set.
    void Add(const QString& strWhat, QList<SnmpSetValue> values, int nDelayMs = 0, int nTimeoutMs = 0);
    void Clear();
    int StepCount() const { return int(m_steps.size()); }
    QString StepText(int nStep) const;   // 1-based
    // The values of all steps: what a successful run has written.
    int ValueCount() const;

    // Starts sending; false when running already or there is nothing to
    // send. finished() follows exactly once per successful Start.
    bool Start();
    // Sends no further step; finished(false) with Cancelled. A set already
    // on its way cannot be called back.
    void Cancel();
    bool IsRunning() const { return m_bRunning; }
    // Stops without any report (the owner is going away and closes the
    // session next).
    void Abandon();

    // Name of an SNMP error status: 10 -> "wrongValue".
    static QString ErrorStatusName(int nStatus);

signals:
    // Step nStep (1-based) of nTotal is being sent.
    void progress(int nStep, int nTotal, const QString& strWhat);
    void finished(bool bOk, const SnmpSetFailure& failure);

private:
    struct Step
    {
        QString strWhat;
        QList<SnmpSetValue> values;
        int nDelayMs = 0;
        int nTimeoutMs = 0;
    };

    static int OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus);
    void SendCurrent();
    void Fail(SnmpSetFailure failure);
    void Done(bool bOk, const SnmpSetFailure& failure);

    CCommonSNMP& m_session;
    QList<Step> m_steps;
    int m_nCurrent = 0;
    int m_nAttempts = 1;
    int m_nRetryWaitMs = 0;
    int m_nTry = 0;   // sends of the current step so far
    bool m_bRunning = false;
    QTimer* m_pDelay = nullptr;
    // The agent that answered the first step (v3): engine ID, boot count.
    bool m_bAgentKnown = false;
    std::string m_strAgentEngine;
    long m_nAgentBoots = -1;
};
