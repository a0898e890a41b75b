#include "TimeRangInfo.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "TimeBasedConfig.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

const QString TimeRangInfo::kEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.23.1.1");

TimeRangInfo::TimeRangInfo(QWidget* parent)
    : CConfigDialog(tr("Time Range Information"), nullptr, RefreshClose, parent)
{
    m_pList = new CListCtrlEx(this);
    m_pList->AppendColumns({{"Range Name", 100}, {"Weekdays", 200}, {"From Day", 80, CListCtrlEx::LVCFMT_CENTER},
                            {"To Day", 80, CListCtrlEx::LVCFMT_CENTER}, {"Start Time", 70, CListCtrlEx::LVCFMT_CENTER},
                            {"End Time", 70, CListCtrlEx::LVCFMT_CENTER}});
    ContentLayout()->addWidget(m_pList, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    m_pAdd = new QPushButton(tr("&Add"), this);
    m_pEdit = new QPushButton(tr("&Edit"), this);
    m_pDelete = new QPushButton(tr("&Delete"), this);
    for (QPushButton* button : {m_pAdd, m_pEdit, m_pDelete}) {
        row->addWidget(button);
        GateButton(button);
    }
    ContentLayout()->addLayout(row);

    m_pWalk = NewWalk(NewSession("m_cCommonSNMP"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMPSet"));
    m_runForm = [](QDialog& form) { form.exec(); };
    connect(m_pAdd, &QPushButton::clicked, this, &TimeRangInfo::OnAdd);
    connect(m_pEdit, &QPushButton::clicked, this, &TimeRangInfo::OnEdit);
    connect(m_pDelete, &QPushButton::clicked, this, &TimeRangInfo::OnDelete);
}

void TimeRangInfo::OnRefresh()
{
    const int ticket = Gate().Expect(tr("time ranges"));
    m_pWalk->Start(CPowSavSettings::TimeProfileColumns(kEntry),
                   [this, ticket](const WalkOutcome& o) { OnWalkEnd(ticket, o); });
}

void TimeRangInfo::OnWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok())
        m_rows = CPowSavSettings::ShowActiveTimeRows(m_pWalk->Rows(), m_pList);
    Gate().Settle(nTicket, outcome);
}

int TimeRangInfo::SelectedRow(const QString& strMessage)
{
    if (m_rows.isEmpty()) {
        Message(strMessage);
        return -1;
    }
    const int selected = m_pList->GetFirstSelectedItem();
    if (selected < 0 || selected >= m_rows.size()) {
        Message(strMessage, MB_OK | MB_ICONINFORMATION);
        return -1;
    }
    return selected;
}

void TimeRangInfo::OnAdd()
{
    TimeBasedConfig form(QString(), this);
    m_runForm(form);
    Refresh();
}

void TimeRangInfo::OnEdit()
{
    const int selected = SelectedRow(QStringLiteral("Please select the Time Range to be edit!"));
    if (selected < 0)
        return;
    TimeBasedConfig form(m_rows[selected].strIndex, this);
    m_runForm(form);
    Refresh();
}

void TimeRangInfo::OnDelete()
{
    const int selected = SelectedRow(QStringLiteral("Please select the Time Range to be deleted!"));
    if (selected < 0 || IsWriting())
        return;
    m_pWrites->Clear();
    CPowSavSettings::RemoveTimeWindowStep(kEntry, m_rows[selected].strIndex, tr("time range removal"), *m_pWrites);
    RunWrites(m_pWrites);
}
