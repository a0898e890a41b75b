#pragma once

// The reads a dialog's checks depend on. Each read takes a ticket with
// Expect before it is sent and settles it when it ends; the gate is open
// (Apply/OK enabled) only when every ticket settled successfully. A read
// that failed, or one that has not arrived, keeps it shut, so checks never
// run on values the user did not see.
//
//     m_gate.Reset();
//     const int t = m_gate.Expect("VLAN table");
//     m_walk.Start(cols, [this, t](const WalkOutcome& o) { m_gate.Settle(t, o); ... });
//
// Reset starts a new round: tickets of the old round settle nothing.

#include "CSnmpRowWalk.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class CReadGate : public QObject
{
    Q_OBJECT
public:
    explicit CReadGate(QObject* parent = nullptr);

    // Registers one read of this round; returns its ticket.
    int Expect(const QString& strWhat);
    // Settles a ticket; a ticket of an earlier round, or one settled before,
    // is ignored. Emits settled() once every ticket of the round has settled.
    void Settle(int nTicket, const WalkOutcome& outcome);
    void Settle(int nTicket, bool bOk, const QString& strWhy = QString());
    // Forgets every ticket: a new round with nothing expected (shut).
    void Reset();

    // True when at least one read was expected and all of them succeeded.
    bool AllSucceeded() const;
    // True while a ticket of this round is still open.
    bool Pending() const;
    // "what: why" of each failed read, in Expect order.
    QStringList Failures() const;

signals:
    // Every read of the round has ended.
    void settled(bool bAllSucceeded);
    // Emitted whenever AllSucceeded() may have changed.
    void changed(bool bOpen);

private:
    struct Read
    {
        QString strWhat;
        bool bSettled = false;
        bool bOk = false;
        QString strWhy;
    };

    int m_nRound = 0;
    std::vector<Read> m_reads;
};
