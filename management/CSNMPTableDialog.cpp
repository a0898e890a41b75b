#include "CSNMPTableDialog.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CSetSequence.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CSNMPTableDialog::CSNMPTableDialog(const QString& strTitle, QWidget* parent)
    : CConfigDialog(strTitle, std::make_unique<CSNMPConfig>(), RefreshApplyClose, parent)
{
    m_pWrites = NewSequence(Config()->m_cCommonSNMPSet);
}

CSNMPConfig* CSNMPTableDialog::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPTableDialog::AddTable(const QString& caption, const QList<QPair<QString, int>>& columns)
{
    auto* table = new QGroupBox(caption, this);
    auto* layout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    int width = 40;
    for (int i = 0; i < columns.size(); ++i) {
        m_pList->InsertColumn(i, columns[i].first, CListCtrlEx::LVCFMT_LEFT, columns[i].second);
        width += columns[i].second;
    }
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->setMinimumWidth(width);
    layout->addWidget(m_pList);
    m_pDelete = new QPushButton(QStringLiteral("&Delete"), table);
    m_pDelete->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_pDelete);
    layout->addLayout(row);
    ContentLayout()->addWidget(table);
    connect(m_pDelete, &QPushButton::clicked, this, &CSNMPTableDialog::OnDelete);
}

QStringList CSNMPTableDialog::ColumnTexts(int column) const
{
    QStringList texts;
    for (int i = 0; i < m_pList->GetItemCount(); ++i)
        texts << m_pList->GetItemText(i, column);
    return texts;
}

void CSNMPTableDialog::OnRefresh()
{
    m_pDelete->setEnabled(false);
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(windowTitle().trimmed());
    StartWalk();   // reports its end exactly once, also when nothing was sent
}

void CSNMPTableDialog::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY)
        return;
    if (nCode != MN_WALK_END) {
        if (pData)
            OnRow(nCode, pData);
        return;
    }
    m_pDelete->setEnabled(true);
    if (const auto* outcome = static_cast<const WalkOutcome*>(pData))
        Gate().Settle(m_nTicket, *outcome);
    else
        Gate().Settle(m_nTicket, true);
}

void CSNMPTableDialog::RunCreate(const QString& statusOid, const QList<QList<SnmpSetValue>>& requests,
                                 const QString& what)
{
    m_pWrites->Clear();
    if (!Config()->AddCreateSteps(*m_pWrites, statusOid, requests, what))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = true;
    SetWriteSuccessText(tr("Added: %1").arg(what));
    RunWrites(m_pWrites);
}

void CSNMPTableDialog::OnWritesDone()
{
    // Inputs are cleared only once the switch took the row; a refused write
    // keeps what the user typed.
    if (m_bClearInputs) {
        m_bClearInputs = false;
        ClearInputs();
    }
    CConfigDialog::OnWritesDone();
}

void CSNMPTableDialog::OnDelete()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0) {
        Message(NoSelectionMessage());
        return;
    }
    const QString oid = RowStatusOid(item);
    if (oid.isEmpty())
        return;
    m_pWrites->Clear();
    if (!Config()->AddRowStatusStep(*m_pWrites, oid, QStringLiteral("6"),
                                    QStringLiteral("delete %1").arg(m_pList->GetItemText(item, 0))))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = false;
    RunWrites(m_pWrites);
}
