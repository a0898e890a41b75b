#include "CDirectTableDialog.h"

#include "CListCtrlEx.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CDirectTableDialog::CDirectTableDialog(Form form, const QString& strCaption, Table table, QWidget* parent)
    : CDirectSnmpDialog(form, strCaption, parent)
    , m_table(std::move(table))
{
    if (m_table.strGroup.isEmpty()) {
        m_pList = AddList(m_table.nListId, m_table.headings);
    } else {
        auto* group = new QGroupBox(m_table.strGroup, this);
        auto* inner = new QVBoxLayout(group);
        m_pList = AddList(m_table.nListId, m_table.headings, inner);
        ContentLayout()->addWidget(group, 1);
    }
    if (m_table.nCountId)
        m_pCount = AddCountLine(m_table.nCountId);
    AddButtonRow(m_table.nRefreshId);
    AddWalk(m_walk);
}

QStringList CDirectTableDialog::RowTexts(const CDirectWalk::Response& response) const
{
    QStringList texts;
    for (const CDirectWalk::Binding& b : response)
        texts << QString::fromUtf8(b.value);
    return texts;
}

void CDirectTableDialog::OnRefresh()
{
    FetchTable();
}

bool CDirectTableDialog::FetchTable()
{
    if (m_walk.IsPending())
        return false;
    m_pList->DeleteAllItems();
    if (m_pCount)
        m_pCount->setText(QStringLiteral("0"));
    const int rc = StartRead(m_walk, m_table.columns, SNMP_PDU_GETNEXT, windowTitle(),
        [this](const CDirectWalk::Response& response) {
            const QStringList texts = RowTexts(response);
            if (texts.isEmpty())
                return false;
            m_pList->AppendRow(texts);
            if (m_pCount)
                m_pCount->setText(QString::number(m_pList->GetItemCount()));
            return true;
        },
        [this](int status) { OnWalkEnd(status); });
    return rc == CDirectWalk::Started;
}
