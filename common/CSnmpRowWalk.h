#pragma once

// One walk of table rows: the get-next steps of one or more columns, each
// row stored by the instance suffix of its OIDs ("5", "1.3.0.12.4"), never by
// arrival order, so a sparse or extra row cannot shift values onto another
// row. Every step asks for all columns at once (get-bulk over SNMPv3,
// get-next over v1) and each column moves on from its own last OID, so a
// column with missing cells or fewer rows never pulls the others out of
// step: its answers name their own rows, and a missing cell stays empty.
//
//     m_walk.Start({kVlanName, kVlanStatus}, [this](const WalkOutcome& o) {
//         if (o.nResult == WalkOutcome::Complete)
//             for (const SnmpRow& row : m_walk.Rows()) ...;
//     });
//
// The end is reported exactly once per Start with its outcome. The walk's
// state is final before the report, so the report may start the walk again
// or read its rows; Start while a walk runs ends the old one (reported as
// cancelled) before the new one sends anything, and answers of the old one
// are dropped. The rows of an earlier walk are cleared by Start.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

class CCommonSNMP;
class CSnmp;

struct SnmpRow
{
    QString strIndex;           // instance suffix without its leading dot
    QList<QByteArray> cells;    // one per column, in Start's order; raw octets or value text
    QList<bool> present;        // false where the switch had no cell

    bool Has(int column) const { return column >= 0 && column < present.size() && present[column]; }
    QString Text(int column) const { return Has(column) ? QString::fromUtf8(cells[column]) : QString(); }
};

struct WalkOutcome
{
    enum Result { Complete = 0, NoAnswer, ErrorStatus, Cancelled, NotSent };
    int nResult = Complete;
    QString strColumn;   // column being walked when it stopped (empty when complete)
    QString strIndex;    // last index received in that column before it stopped
    QString strWhy;      // the session's sentence for a failure

    bool Ok() const { return nResult == Complete; }
};

class CSnmpRowWalk
{
public:
    using EndFn = std::function<void(const WalkOutcome&)>;
    using ProgressFn = std::function<void(int rowCount)>;

    // The walk drives `session` (one walk per session at a time); the
    // session must outlive the walk.
    explicit CSnmpRowWalk(CCommonSNMP& session);
    ~CSnmpRowWalk();

    CSnmpRowWalk(const CSnmpRowWalk&) = delete;
    CSnmpRowWalk& operator=(const CSnmpRowWalk&) = delete;

    // Starts walking `columns` (dotted OIDs without a leading dot). True
    // when under way; false when nothing could be sent, and onEnd has then
    // been told NotSent (or NoAnswer) already.
    bool Start(const QStringList& columns, EndFn onEnd);
    // Ends a running walk; its end is reported as Cancelled. Nothing
    // happens when no walk runs.
    void Cancel();
    bool IsRunning() const { return m_bRunning; }
    // Stops without any report (the owner is going away and closes the
    // session next).
    void Abandon();
    // Told the number of rows read so far while the walk runs, at most a
    // few times a second (for a status line). It may cancel or restart the
    // walk; it is kept across walks.
    void SetProgress(ProgressFn onProgress);

    // Rows in OID order (numeric comparison of the index components).
    QList<SnmpRow> Rows() const;
    const SnmpRow* Find(const QString& strIndex) const;
    int RowCount() const { return int(m_rows.size()); }
    const QStringList& Columns() const { return m_columns; }

    // Orders index texts as their OIDs are ordered ("2" before "10").
    static bool IndexLess(const QString& a, const QString& b);

private:
    struct IndexOrder
    {
        bool operator()(const QString& a, const QString& b) const { return IndexLess(a, b); }
    };

    static int OnAnswer(CSnmp* pResponse, int nRequestId, void* pUser, int nStatus);
    bool SendColumns();
    bool NextStep();
    void Finish(WalkOutcome outcome);
    void ReportProgress();
    // An outcome naming the column the walk is in (or failed in) and the
    // last index read in it.
    WalkOutcome Stopped(int result) const;

    CCommonSNMP& m_session;
    QStringList m_columns;
    QList<QString> m_lastIndexes;   // per column
    bool m_bRunning = false;
    unsigned m_nGeneration = 0;
    EndFn m_onEnd;
    ProgressFn m_onProgress;
    QElapsedTimer m_progressClock;
    std::map<QString, SnmpRow, IndexOrder> m_rows;
};
