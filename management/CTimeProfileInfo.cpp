#include "CTimeProfileInfo.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CTimeWindowForm.h"
#include "CUtils.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CTimeProfileInfo::CTimeProfileInfo(QWidget* parent)
    : CConfigDialog(tr("Time Profile Info"), std::make_unique<CPowSavSettings>(), RefreshApplyClose, parent)
{
    m_pForm = new CTimeWindowForm(tr("Time Profile Add"), tr("Profile Name"), 2011, 2029, this);
    ContentLayout()->addWidget(m_pForm);
    ApplyButton()->setText(tr("&Add"));

    auto* entries = new QGroupBox(tr("Time Profile Entries"), this);
    auto* entriesLayout = new QVBoxLayout(entries);
    m_pList = new CListCtrlEx(entries);
    m_pList->AppendColumns({{"Profile Name", 100}, {"Weekdays", 180}, {"From Day", 80, CListCtrlEx::LVCFMT_CENTER},
                            {"To Day", 80, CListCtrlEx::LVCFMT_CENTER}, {"Start Time", 80, CListCtrlEx::LVCFMT_CENTER},
                            {"End Time", 70, CListCtrlEx::LVCFMT_CENTER}});
    entriesLayout->addWidget(m_pList);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    m_pDelete = new QPushButton(tr("&Delete"), entries);
    m_pDelete->setEnabled(false);
    row->addWidget(m_pDelete);
    entriesLayout->addLayout(row);
    ContentLayout()->addWidget(entries);

    m_pWalk = NewWalk(Logic<CPowSavSettings>()->m_cSnmpVlanTable);
    m_pWrites = NewSequence(Logic<CPowSavSettings>()->m_cSnmpSet);
    m_pUndo = NewSequence(Logic<CPowSavSettings>()->m_cSnmpSet);
    connect(m_pDelete, &QPushButton::clicked, this, &CTimeProfileInfo::OnDelete);
}

int CTimeProfileInfo::FreeIndex(const QList<TIME_PROFILE_ROW>& rows)
{
    return CPowSavSettings::FreeTimeIndex(rows);
}

void CTimeProfileInfo::OnRefresh()
{
    m_pDelete->setEnabled(false);
    const int ticket = Gate().Expect(tr("time profiles"));
    m_pWalk->Start(CPowSavSettings::TimeProfileColumns(PowerSaveOid::kProfileEntry),
                   [this, ticket](const WalkOutcome& o) { OnWalkEnd(ticket, o); });
}

void CTimeProfileInfo::OnWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok()) {
        m_rows = CPowSavSettings::ShowActiveTimeRows(m_pWalk->Rows(), m_pList);
        m_pDelete->setEnabled(true);
    }
    Gate().Settle(nTicket, outcome);
}

void CTimeProfileInfo::OnApply()
{
    if (m_rows.size() >= CPowSavSettings::kMaxProfiles) {
        Message(QStringLiteral("The Max entry is 8."));
        return;
    }
    TIME_PROFILE_ROW row;
    row.strName = m_pForm->NameEdit()->text();
    if (row.strName.isEmpty()) {
        Message(QStringLiteral("The Profile name can not be empty,please input it."));
        return;
    }
    if (!CUtils::HasNoSpecialChars(row.strName)) {
        Message(QStringLiteral("Invalid Profile name."));
        return;
    }
    for (const TIME_PROFILE_ROW& listed : m_rows)
        if (listed.strName == row.strName) {
            Message(QStringLiteral("The Profile Name is exist."));
            return;
        }
    const QString why = m_pForm->TakeWindow(row);
    if (!why.isEmpty()) {
        Message(why);
        return;
    }
    const int index = FreeIndex(m_rows);
    if (index == 0) {
        Message(QStringLiteral("The Max entry is 8."));
        return;
    }
    row.strIndex = QString::number(index);
    m_pWrites->Clear();
    Logic<CPowSavSettings>()->SetTimeProfile(row, *m_pWrites);
    // Step 1 creates the row: a failure after it would leave a half-made
    // profile on the switch, so the row is removed again.
    m_pUndo->Clear();
    Logic<CPowSavSettings>()->DeleteTimeProfile(row.strIndex, *m_pUndo);
    RunWrites(m_pWrites, m_pUndo, 2);
}

void CTimeProfileInfo::OnDelete()
{
    const int selected = m_pList->GetFirstSelectedItem();
    if (selected < 0 || selected >= m_rows.size()) {
        Message(QStringLiteral("Please select the Time Range to be deleted!"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    Logic<CPowSavSettings>()->DeleteTimeProfile(m_rows[selected].strIndex, *m_pWrites);
    RunWrites(m_pWrites);
}
