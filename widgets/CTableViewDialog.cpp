#include "CTableViewDialog.h"

#include "CListCtrlEx.h"
#include "ControlId.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTableViewDialog::CTableViewDialog(const QString& strTitle, QList<Column> columns, unsigned nListId,
                                   unsigned nCountId, QWidget* parent, const QString& strCountLabel)
    : CConfigDialog(strTitle, nullptr, RefreshClose, parent)
    , m_columns(std::move(columns))
{
    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, nListId);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    int width = 0;
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& c = m_columns[i];
        m_pList->InsertColumn(i, c.strHeading, c.bNumber ? CListCtrlEx::LVCFMT_RIGHT : CListCtrlEx::LVCFMT_LEFT, c.nWidth);
        width += m_pList->GetColumnWidth(i);
    }
    m_pList->horizontalHeader()->setStretchLastSection(true);
    m_pList->setMinimumSize(qMax(width + 24, 400), 300);
    ContentLayout()->addWidget(m_pList, 1);

    if (nCountId) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(strCountLabel, this));
        m_pCount = new QLabel(QStringLiteral("0"), this);
        SetControlId(m_pCount, nCountId);
        row->addWidget(m_pCount);
        row->addStretch(1);
        ContentLayout()->addLayout(row);
    }

    m_pWalk = NewWalk(m_cCommonSNMP);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
}

CTableViewDialog::~CTableViewDialog()
{
    // The session is ours: close it before it goes.
    CloseSessions();
}

QString CTableViewDialog::CellText(const SnmpRow& row, int nColumn) const
{
    return row.Text(WalkedColumn(nColumn));
}

int CTableViewDialog::WalkedColumn(int nColumn) const
{
    if (nColumn < 0 || nColumn >= m_columns.size() || m_columns[nColumn].strOID.isEmpty())
        return -1;
    int walked = 0;
    for (int i = 0; i < nColumn; ++i)
        if (!m_columns[i].strOID.isEmpty())
            ++walked;
    return walked;
}

void CTableViewDialog::OnRefresh()
{
    ReadTable();
}

void CTableViewDialog::ReadTable()
{
    m_pList->DeleteAllItems();
    if (m_pCount)
        m_pCount->setText(QStringLiteral("0"));
    RefreshButton()->setEnabled(false);
    QStringList oids;
    for (const Column& c : m_columns)
        if (!c.strOID.isEmpty())
            oids << c.strOID;
    const int ticket = Gate().Expect(windowTitle());
    m_pWalk->Start(oids, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        ShowRows();
        RefreshButton()->setEnabled(true);
        Gate().Settle(ticket, outcome);
        OnRowsShown(outcome);
    });
}

void CTableViewDialog::ShowRows()
{
    m_pList->setUpdatesEnabled(false);
    m_pList->DeleteAllItems();
    for (const SnmpRow& row : m_pWalk->Rows()) {
        QStringList texts;
        for (int i = 0; i < m_columns.size(); ++i)
            texts << CellText(row, i);
        m_pList->AppendRow(texts);
    }
    m_pList->setUpdatesEnabled(true);
    if (m_pCount)
        m_pCount->setText(QString::number(m_pList->GetItemCount()));
}
