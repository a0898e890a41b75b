#include "CSnmpRowWalk.h"

#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "StatusText.h"

#include <QLoggingCategory>

#include <memory>

Q_LOGGING_CATEGORY(lcRowWalk, "velmarc.rowwalk")

namespace {

// Progress reports come at most this often: a status line that counts
// rows needs no more, and a fast walk must not spend its time redrawing.
constexpr qint64 kProgressIntervalMs = 250;

} // namespace

CSnmpRowWalk::CSnmpRowWalk(CCommonSNMP& session)
    : m_session(session)
{
}

CSnmpRowWalk::~CSnmpRowWalk()
{
    // A pending answer would reach a destroyed walk.
    if (m_bRunning)
        m_session.Close();
}

bool CSnmpRowWalk::IndexLess(const QString& a, const QString& b)
{
    const QStringList pa = a.split(u'.', Qt::SkipEmptyParts);
    const QStringList pb = b.split(u'.', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < pa.size() && i < pb.size(); ++i) {
        const qulonglong x = pa[i].toULongLong();
        const qulonglong y = pb[i].toULongLong();
        if (x != y)
            return x < y;
    }
    return pa.size() < pb.size();
}

bool CSnmpRowWalk::Start(const QStringList& columns, EndFn onEnd)
{
    WalkOutcome cancelled;
    EndFn oldEnd;
    if (m_bRunning) {
        cancelled = Stopped(WalkOutcome::Cancelled);
        oldEnd = std::move(m_onEnd);
    }
    const unsigned generation = ++m_nGeneration;
    m_rows.clear();
    m_columns = columns;
    m_lastIndexes = QList<QString>(columns.size());
    m_onEnd = std::move(onEnd);
    m_bRunning = true;
    // Quick reads show no count at all: the first comes after a while.
    m_progressClock.start();
    if (oldEnd) {
        // The old walk's step is dropped before its owner hears of it, so
        // nothing of it can reach the new walk.
        m_session.Prepare(SNMP_PDU_GETNEXT);
        oldEnd(cancelled);
        if (generation != m_nGeneration)
            return m_bRunning;   // the report started a newer walk
    }
    if (m_columns.isEmpty()) {
        Finish({});
        return true;
    }
    return SendColumns();
}

void CSnmpRowWalk::Cancel()
{
    if (!m_bRunning)
        return;
    const WalkOutcome outcome = Stopped(WalkOutcome::Cancelled);
    // Prepare drops the step under way; its answer, should it still come,
    // is no longer pending and never reaches OnAnswer's row handling.
    m_session.Prepare(SNMP_PDU_GETNEXT);
    Finish(outcome);
}

void CSnmpRowWalk::Abandon()
{
    m_onEnd = nullptr;
    if (m_bRunning) {
        m_bRunning = false;
        m_session.Prepare(SNMP_PDU_GETNEXT);
    }
}

void CSnmpRowWalk::SetProgress(ProgressFn onProgress)
{
    m_onProgress = std::move(onProgress);
}

QList<SnmpRow> CSnmpRowWalk::Rows() const
{
    QList<SnmpRow> rows;
    rows.reserve(qsizetype(m_rows.size()));
    for (const auto& [index, row] : m_rows)
        rows.append(row);
    return rows;
}

const SnmpRow* CSnmpRowWalk::Find(const QString& strIndex) const
{
    const auto it = m_rows.find(strIndex);
    return it == m_rows.end() ? nullptr : &it->second;
}

WalkOutcome CSnmpRowWalk::Stopped(int result) const
{
    WalkOutcome outcome;
    outcome.nResult = result;
    int column = m_session.GetWalkColumn();
    if (column < 0 || column >= m_columns.size())
        column = 0;
    outcome.strColumn = m_columns.value(column);
    outcome.strIndex = m_lastIndexes.value(column);
    return outcome;
}

bool CSnmpRowWalk::SendColumns()
{
    // All columns in one request per step, each moving on by itself: a
    // column that ends or has holes is told by the OIDs it answers.
    bool ok = m_session.Prepare(SNMP_PDU_GETNEXT);
    for (qsizetype i = 0; ok && i < m_columns.size(); ++i)
        ok = m_session.AddValue(m_columns[i], SNMP_TYPE_NULL, nullptr) == 0;
    if (!ok || !m_session.SetColumnWalk()) {
        WalkOutcome outcome;
        outcome.nResult = WalkOutcome::NotSent;
        outcome.strColumn = m_columns.value(0);
        outcome.strWhy = StatusText::SessionFailure(m_session);
        Finish(outcome);
        return false;
    }
    return NextStep();
}

bool CSnmpRowWalk::NextStep()
{
    if (m_session.SendAsync(&CSnmpRowWalk::OnAnswer, this) == 0)
        return true;
    WalkOutcome outcome = Stopped(WalkOutcome::NotSent);
    outcome.strWhy = StatusText::SessionFailure(m_session);
    Finish(outcome);
    return false;
}

void CSnmpRowWalk::Finish(WalkOutcome outcome)
{
    // Final state first: the report may start a new walk or read the rows.
    m_bRunning = false;
    m_session.SetDone();
    EndFn onEnd = m_onEnd;
    if (onEnd)
        onEnd(outcome);
}

int CSnmpRowWalk::OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus)
{
    std::unique_ptr<CSnmp> response(pResponse);
    auto* self = static_cast<CSnmpRowWalk*>(pUser);
    if (!self->m_session.RemovePending(nRequestId) || !self->m_bRunning)
        return 0;

    if (nStatus == SNMP_END_OF_WALK) {
        self->Finish({});
        return 0;
    }
    if (nStatus != 0 || !response) {
        const int reason = self->m_session.GetLastResult();
        WalkOutcome outcome = self->Stopped(reason == SNMP_ERROR_STATUS || reason == SNMP_BAD_ANSWER
                                                ? WalkOutcome::ErrorStatus
                                                : WalkOutcome::NoAnswer);
        outcome.strWhy = StatusText::SessionFailure(self->m_session);
        self->Finish(outcome);
        return 0;
    }

    const int count = response->getVarBindCount();
    for (int i = 0; i < count; ++i) {
        const int column = self->m_session.GetColumn(i, response.get());
        char* pszIndex = nullptr;
        if (column < 0 || column >= self->m_columns.size()
            || self->m_session.GetIndexText(i, response.get(), &pszIndex) != 0 || !pszIndex)
            continue;
        QString strIndex = QString::fromLatin1(pszIndex);
        if (strIndex.startsWith(u'.'))
            strIndex.remove(0, 1);
        if (strIndex.isEmpty())
            continue;
        self->m_lastIndexes[column] = strIndex;
        char* pszOid = nullptr;
        unsigned char* pData = nullptr;
        int nLen = 0;
        if (response->getValueType(i) == 0 || response->getValueBytes(i, &pszOid, &pData, &nLen) != 0 || !pData)
            continue;
        SnmpRow& row = self->m_rows[strIndex];
        if (row.strIndex.isEmpty()) {
            row.strIndex = strIndex;
            row.cells.resize(self->m_columns.size());
            row.present.resize(self->m_columns.size());
        }
        row.cells[column] = QByteArray(reinterpret_cast<const char*>(pData), nLen);
        row.present[column] = true;
    }
    // The progress report may cancel or restart the walk.
    const unsigned generation = self->m_nGeneration;
    self->ReportProgress();
    if (generation == self->m_nGeneration && self->m_bRunning)
        self->NextStep();
    return 0;
}

void CSnmpRowWalk::ReportProgress()
{
    if (!m_onProgress)
        return;
    if (m_progressClock.elapsed() < kProgressIntervalMs)
        return;
    m_progressClock.start();
    ProgressFn onProgress = m_onProgress;
    onProgress(RowCount());
}
