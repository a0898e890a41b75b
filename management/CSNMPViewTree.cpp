#include "CSNMPViewTree.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {
constexpr int kMaxViews = 50;
}

CSNMPViewTree::CSNMPViewTree(QWidget* parent)
    : CSNMPTableDialog(QStringLiteral("SNMP View Table Configuration"), parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    m_pName = new QLineEdit(inputs);
    m_pName->setMaxLength(32);
    m_pSubtree = new QLineEdit(inputs);
    m_pSubtree->setMaxLength(32);
    m_pMask = new QLineEdit(inputs);
    m_pType = new QComboBox(inputs);
    m_pType->addItems({QStringLiteral("Included"), QStringLiteral("Excluded")});
    form->addRow(QStringLiteral("View Name "), m_pName);
    form->addRow(QStringLiteral("Subtree OID "), m_pSubtree);
    form->addRow(QStringLiteral("OID Mask "), m_pMask);
    form->addRow(QStringLiteral("View Type"), m_pType);
    ContentLayout()->addWidget(inputs);
    AddTable(QStringLiteral("SNMP View Table  Info"),
             {{QStringLiteral("View Name"), 100}, {QStringLiteral("Subtree OID"), 100},
              {QStringLiteral("OID Mask"), 100}, {QStringLiteral("View Type"), 100}});
}

bool CSNMPViewTree::StartWalk()
{
    return Config()->GetViewTable();
}

void CSNMPViewTree::OnRow(int nCode, const void* pData)
{
    if (nCode != MN_ROW)
        return;
    const auto* row = static_cast<const SNMP_VIEW_ROW*>(pData);
    if (row->strRowStatus == QLatin1String("1"))
        List()->AppendRow({row->strName, row->strSubtree, row->strMask, row->strType});
}

QString CSNMPViewTree::RowStatusOid(int item) const
{
    return CSNMPConfig::ViewColumn(5)
           + CSNMPConfig::ViewIndex(List()->GetItemText(item, 0), List()->GetItemText(item, 1));
}

void CSNMPViewTree::ClearInputs()
{
    m_pName->clear();
    m_pSubtree->clear();
    m_pMask->clear();
    m_pType->setCurrentIndex(0);
}

void CSNMPViewTree::OnApply()
{
    const QString name = m_pName->text().trimmed();
    if (name.isEmpty()) {
        Message(QStringLiteral("Please enter valid view name."));
        return;
    }
    if (!CSNMPConfig::CheckName(name)) {
        Message(QStringLiteral("Invalid View Name."));
        return;
    }
    const QString subtree = m_pSubtree->text();
    for (QChar c : subtree)
        if (!c.isDigit() && c != u'.') {
            Message(QStringLiteral("Please enter valid subtree OID"));
            return;
        }
    const QStringList components = subtree.split(u'.');
    for (const QString& component : components) {
        if (component.isEmpty()) {
            Message(QStringLiteral("Please enter valid subtree OID ."));
            return;
        }
        // A sub-identifier is 32 bits; a larger one cannot travel in an index.
        bool ok = false;
        if (component.toULongLong(&ok) > 4294967295ULL || !ok) {
            Message(QStringLiteral("Please enter valid subtree OID"));
            return;
        }
    }
    const QString mask = m_pMask->text().trimmed();
    QByteArray octets;
    if (mask.isEmpty() || !CSNMPConfig::MaskToOctets(mask, octets)) {
        Message(QStringLiteral("Please enter valid OID Mask."));
        return;
    }
    if (octets.size() > components.size()) {
        Message(QStringLiteral("Invalid  OID length"));
        return;
    }
    for (int i = 0; i < List()->GetItemCount(); ++i)
        if (List()->GetItemText(i, 0) == name && List()->GetItemText(i, 1) == subtree) {
            Message(QStringLiteral("This View Entry already exist."));
            return;
        }
    if (List()->GetItemCount() >= kMaxViews) {
        Message(QStringLiteral("Maximum number of View Entry is 50."));
        return;
    }
    RunCreate(CSNMPConfig::ViewColumn(5) + CSNMPConfig::ViewIndex(name, subtree),
              {CSNMPConfig::AddViewValues(name, subtree, mask, m_pType->currentText())},
              QStringLiteral("view %1").arg(name));
}
