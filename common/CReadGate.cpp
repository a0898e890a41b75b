#include "CReadGate.h"

namespace {
// A ticket carries its round so that a late answer of an old round cannot
// settle a read of the new one.
constexpr int kRoundShift = 16;
constexpr int kSlotMask = (1 << kRoundShift) - 1;
} // namespace

CReadGate::CReadGate(QObject* parent)
    : QObject(parent)
{
}

int CReadGate::Expect(const QString& strWhat)
{
    Read read;
    read.strWhat = strWhat;
    m_reads.push_back(read);
    emit changed(false);
    return (m_nRound << kRoundShift) | int(m_reads.size() - 1);
}

void CReadGate::Settle(int nTicket, const WalkOutcome& outcome)
{
    QString why = outcome.strWhy;
    if (outcome.nResult == WalkOutcome::Cancelled)
        why = tr("cancelled");
    else if (why.isEmpty() && !outcome.Ok())
        why = tr("no answer");
    Settle(nTicket, outcome.Ok(), why);
}

void CReadGate::Settle(int nTicket, bool bOk, const QString& strWhy)
{
    const int round = nTicket >> kRoundShift;
    const size_t slot = size_t(nTicket & kSlotMask);
    if (round != m_nRound || slot >= m_reads.size() || m_reads[slot].bSettled)
        return;
    m_reads[slot].bSettled = true;
    m_reads[slot].bOk = bOk;
    m_reads[slot].strWhy = strWhy;
    if (!Pending()) {
        const bool ok = AllSucceeded();
        emit changed(ok);
        emit settled(ok);
    }
}

void CReadGate::Reset()
{
    m_nRound = (m_nRound + 1) & 0x7FFF;
    m_reads.clear();
    emit changed(false);
}

bool CReadGate::AllSucceeded() const
{
    if (m_reads.empty())
        return false;
    for (const Read& read : m_reads)
        if (!read.bSettled || !read.bOk)
            return false;
    return true;
}

bool CReadGate::Pending() const
{
    for (const Read& read : m_reads)
        if (!read.bSettled)
            return true;
    return false;
}

QStringList CReadGate::Failures() const
{
    QStringList failures;
    for (const Read& read : m_reads)
        if (read.bSettled && !read.bOk)
            failures.append(read.strWhy.isEmpty() ? read.strWhat : read.strWhat + QStringLiteral(": ") + read.strWhy);
    return failures;
}
