#include "TimeBasedConfig.h"

#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CTimeWindowForm.h"
#include "CUtils.h"
#include "TimeRangInfo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TimeBasedConfig::TimeBasedConfig(const QString& strEditIndex, QWidget* parent)
    : CConfigDialog(tr("Time Based PoE Config"), nullptr, OkCancel, parent)
    , m_strEditIndex(strEditIndex)
{
    m_pForm = new CTimeWindowForm(tr("Time Range Setting"), tr("Range Name"), 2009, 2037, this);
    ContentLayout()->addWidget(m_pForm);
    ApplyButton()->setText(tr("Apply"));
    // The name is the range's identity: an edit changes its window only.
    m_pForm->NameEdit()->setEnabled(!IsEdit());
    m_pWalk = NewWalk(NewSession("m_cCommonSNMP"));
    CCommonSNMP& set = NewSession("m_cCommonSNMPSet");
    m_pWrites = NewSequence(set);
    m_pUndo = NewSequence(set);
}

void TimeBasedConfig::OnRefresh()
{
    const int ticket = Gate().Expect(tr("time ranges"));
    m_pWalk->Start(CPowSavSettings::TimeProfileColumns(TimeRangInfo::kEntry),
                   [this, ticket](const WalkOutcome& o) { OnWalkEnd(ticket, o); });
}

void TimeBasedConfig::OnWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    if (!outcome.Ok()) {
        Gate().Settle(nTicket, outcome);
        return;
    }
    m_rows = CPowSavSettings::TakeTimeRows(m_pWalk->Rows(), false);
    if (IsEdit()) {
        const TIME_PROFILE_ROW* edited = nullptr;
        for (const TIME_PROFILE_ROW& row : m_rows)
            if (row.strIndex == m_strEditIndex)
                edited = &row;
        if (!edited) {
            WalkOutcome gone;
            gone.nResult = WalkOutcome::NotSent;
            gone.strWhy = tr("the switch no longer holds time range %1").arg(m_strEditIndex);
            Gate().Settle(nTicket, gone);
            return;
        }
        m_pForm->NameEdit()->setText(edited->strName);
        m_pForm->LoadWindow(*edited);
    }
    Gate().Settle(nTicket, outcome);
}

void TimeBasedConfig::OnApply()
{
    TIME_PROFILE_ROW row;
    row.strName = m_pForm->NameEdit()->text();
    if (!IsEdit()) {
        if (row.strName.isEmpty()) {
            Message(QStringLiteral("The TimeRange name can not be empty,please input it."));
            return;
        }
        bool taken = !CUtils::HasNoSpecialChars(row.strName);
        for (const TIME_PROFILE_ROW& existing : m_rows)
            taken = taken || existing.strName == row.strName;
        if (taken) {
            Message(QStringLiteral("Invalid TimeRange Name."));
            return;
        }
    }
    const QString why = m_pForm->TakeWindow(row);
    if (!why.isEmpty()) {
        Message(why);
        return;
    }
    m_pWrites->Clear();
    if (IsEdit()) {
        // In place: a refused set leaves the range as it was.
        row.strIndex = m_strEditIndex;
        m_pWrites->Add(tr("time range %1").arg(row.strIndex),
                       CPowSavSettings::TimeWindowValues(TimeRangInfo::kEntry, row));
        RunWrites(m_pWrites);
        return;
    }
    int active = 0;
    for (const TIME_PROFILE_ROW& existing : m_rows)
        active += existing.strRowStatus == QLatin1String("1") ? 1 : 0;
    const int index = active >= TimeRangInfo::kMaxRanges ? 0 : CPowSavSettings::FreeTimeIndex(m_rows);
    if (index == 0) {
        Message(QStringLiteral("The max number of PoE Time Range is 8"));
        reject();
        return;
    }
    row.strIndex = QString::number(index);
    m_strCreated = row.strIndex;
    CPowSavSettings::SetTimeWindowSteps(TimeRangInfo::kEntry, row, *m_pWrites);
    // Step 1 creates the row: a failure after it would leave a half-made
    // range on the switch, so the row is removed again.
    m_pUndo->Clear();
    CPowSavSettings::RemoveTimeWindowStep(TimeRangInfo::kEntry, m_strCreated, tr("time range removal"), *m_pUndo);
    RunWrites(m_pWrites, m_pUndo, 2);
}

QString TimeBasedConfig::UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const
{
    if (bOk)
        return tr("\nThe new time range was removed again.");
    return tr("\nTime range %1 could not be removed again (%2); delete it in the list.")
        .arg(m_strCreated, undoFailure.Text());
}
