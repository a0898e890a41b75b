#pragma once

// One asynchronous GET of several objects (scalars such as sysName.0), the
// values kept by their position in the request. The end is reported exactly
// once per Start with the same outcome type as a row walk, so a dialog
// settles its read gate with it:
//
//     const int t = Gate().Expect("system group");
//     m_read.Start({kSysDescr, kSysName}, [this, t](const WalkOutcome& o) {
//         Gate().Settle(t, o);
//         if (o.Ok()) m_name->setText(m_read.Text(1));
//     }, 4000);
//
// An answer with an error status, or one that carries fewer values than
// asked, is a failure: nothing is shown from half an answer. An object the
// agent does not have (noSuchObject, noSuchInstance) is a value that is not
// Has(). Start while a read runs cancels the old one (reported Cancelled).

#include "CSnmpRowWalk.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class CCommonSNMP;
class CSnmp;

class CSnmpScalarRead
{
public:
    using EndFn = CSnmpRowWalk::EndFn;

    // The read drives `session`, which must outlive it.
    explicit CSnmpScalarRead(CCommonSNMP& session);
    ~CSnmpScalarRead();

    CSnmpScalarRead(const CSnmpScalarRead&) = delete;
    CSnmpScalarRead& operator=(const CSnmpScalarRead&) = delete;

    // Sends one GET of `oids` (dotted, no leading dot); nTimeoutMs 0 is the
    // session's default. False when nothing could be sent (onEnd has been
    // told NotSent already).
    bool Start(const QStringList& oids, EndFn onEnd, int nTimeoutMs = 0);
    void Cancel();
    // Stops without any report (the owner is going away).
    void Abandon();
    bool IsRunning() const { return m_bRunning; }

    // The values of the last successful answer, by request position.
    bool Has(int i) const { return i >= 0 && i < m_present.size() && m_present[i]; }
    QByteArray Bytes(int i) const { return Has(i) ? m_values[i] : QByteArray(); }
    QString Text(int i) const { return QString::fromUtf8(Bytes(i)); }
    int Count() const { return int(m_values.size()); }

private:
    static int OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus);
    void Finish(const WalkOutcome& outcome);

    CCommonSNMP& m_session;
    QStringList m_oids;
    QList<QByteArray> m_values;
    QList<bool> m_present;
    bool m_bRunning = false;
    EndFn m_onEnd;
};
