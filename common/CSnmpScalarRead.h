#pragma once

// One asynchronous get of a few scalars ("1.3.6...18.1.0", ...) in one
// request, so a dialog reads its global settings without blocking the window
// and registers the read with its gate like a walk:
//
//     const int t = Gate().Expect("mirroring state");
//     m_read.Start({kState, kTarget}, [this, t](const WalkOutcome& o) {
//         if (o.Ok()) Show(m_read.Text(0), m_read.Text(1));
//         Gate().Settle(t, o);
//     });
//
// The end is reported exactly once per Start. An answer that lacks a value
// (no such object, an exception value, an error status) is a failure: a
// check must never run on a setting the switch did not give. Start while a
// read runs ends the old one (reported as cancelled) first.

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

    // The read sends on `session` (one request at a time), which must
    // outlive it.
    explicit CSnmpScalarRead(CCommonSNMP& session);
    ~CSnmpScalarRead();

    CSnmpScalarRead(const CSnmpScalarRead&) = delete;
    CSnmpScalarRead& operator=(const CSnmpScalarRead&) = delete;

    // True when under way; false when nothing could be sent (onEnd has then
    // been told NotSent already).
    bool Start(const QStringList& oids, EndFn onEnd);
    void Cancel();
    // Stops without any report (the owner closes the session next).
    void Abandon();
    bool IsRunning() const { return m_bRunning; }

    // The values of the last complete read, in Start's order: raw octets or
    // value text; empty before.
    QByteArray Value(int i) const { return m_values.value(i); }
    QString Text(int i) const { return QString::fromUtf8(m_values.value(i)); }

private:
    static int OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus);
    void Finish(WalkOutcome outcome);

    CCommonSNMP& m_session;
    QStringList m_oids;
    QList<QByteArray> m_values;
    bool m_bRunning = false;
    EndFn m_onEnd;
};
