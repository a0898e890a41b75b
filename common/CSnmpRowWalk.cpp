#include "CSnmpRowWalk.h"

#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "StatusText.h"

#include <QLoggingCategory>

#include <memory>

Q_LOGGING_CATEGORY(lcRowWalk, "velmarc.rowwalk")

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
        cancelled.nResult = WalkOutcome::Cancelled;
        cancelled.strColumn = m_columns.value(m_nColumn);
        cancelled.strIndex = m_strLastIndex;
        oldEnd = std::move(m_onEnd);
    }
    const unsigned generation = ++m_nGeneration;
    m_rows.clear();
    m_columns = columns;
    m_nColumn = 0;
    m_strLastIndex.clear();
    m_onEnd = std::move(onEnd);
    m_bRunning = true;
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
    return SendColumn();
}

void CSnmpRowWalk::Cancel()
{
    if (!m_bRunning)
        return;
    // Prepare drops the step under way; its answer, should it still come,
    // is no longer pending and never reaches OnAnswer's row handling.
    m_session.Prepare(SNMP_PDU_GETNEXT);
    WalkOutcome outcome;
    outcome.nResult = WalkOutcome::Cancelled;
    outcome.strColumn = m_columns.value(m_nColumn);
    outcome.strIndex = m_strLastIndex;
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

bool CSnmpRowWalk::SendColumn()
{
    m_strLastIndex.clear();
    if (!m_session.Prepare(SNMP_PDU_GETNEXT)
        || m_session.AddValue(m_columns[m_nColumn], SNMP_TYPE_NULL, nullptr) != 0) {
        WalkOutcome outcome;
        outcome.nResult = WalkOutcome::NotSent;
        outcome.strColumn = m_columns[m_nColumn];
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
    WalkOutcome outcome;
    outcome.nResult = WalkOutcome::NotSent;
    outcome.strColumn = m_columns[m_nColumn];
    outcome.strIndex = m_strLastIndex;
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
        if (++self->m_nColumn < self->m_columns.size())
            self->SendColumn();
        else
            self->Finish({});
        return 0;
    }
    if (nStatus != 0 || !response) {
        WalkOutcome outcome;
        outcome.nResult = self->m_session.GetLastResult() == SNMP_ERROR_STATUS ? WalkOutcome::ErrorStatus
                                                                                : WalkOutcome::NoAnswer;
        outcome.strColumn = self->m_columns[self->m_nColumn];
        outcome.strIndex = self->m_strLastIndex;
        outcome.strWhy = StatusText::SessionFailure(self->m_session);
        self->Finish(outcome);
        return 0;
    }

    char* pszIndex = nullptr;
    if (response->getVarBindCount() >= 1 && self->m_session.GetIndexText(0, response.get(), &pszIndex) == 0
        && pszIndex) {
        QString strIndex = QString::fromLatin1(pszIndex);
        if (strIndex.startsWith(u'.'))
            strIndex.remove(0, 1);
        self->m_strLastIndex = strIndex;
        char* pszOid = nullptr;
        unsigned char* pData = nullptr;
        int nLen = 0;
        // An exception value is no cell; the row still exists if another
        // column has one.
        if (!strIndex.isEmpty() && response->getValueType(0) != 0
            && response->getValueBytes(0, &pszOid, &pData, &nLen) == 0 && pData) {
            SnmpRow& row = self->m_rows[strIndex];
            if (row.strIndex.isEmpty()) {
                row.strIndex = strIndex;
                row.cells.resize(self->m_columns.size());
                row.present.resize(self->m_columns.size());
            }
            row.cells[self->m_nColumn] = QByteArray(reinterpret_cast<const char*>(pData), nLen);
            row.present[self->m_nColumn] = true;
        }
    }
    self->NextStep();
    return 0;
}
