#include "CSNMPGroup.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {
constexpr int kMaxGroups = 50;
}

CSNMPGroup::CSNMPGroup(QWidget* parent)
    : CSNMPTableDialog(QStringLiteral("SNMP Group Table Info"), parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    for (QLineEdit** edit : {&m_pName, &m_pRead, &m_pWrite, &m_pNotify}) {
        *edit = new QLineEdit(inputs);
        (*edit)->setMaxLength(32);
    }
    m_pModel = new QComboBox(inputs);
    m_pModel->addItems({QStringLiteral("v1"), QStringLiteral("v2c"), QStringLiteral("v3")});
    m_pLevel = new QComboBox(inputs);
    m_pLevel->addItems({QStringLiteral("NoAuthNoPriv"), QStringLiteral("AuthNoPriv"), QStringLiteral("AuthPriv")});
    m_pLevel->setEnabled(false);
    form->addRow(QStringLiteral("Group Name"), m_pName);
    form->addRow(QStringLiteral("Read View Name "), m_pRead);
    form->addRow(QStringLiteral("Write View Name"), m_pWrite);
    form->addRow(QStringLiteral("Notify View Name "), m_pNotify);
    form->addRow(QStringLiteral("Security Model"), m_pModel);
    form->addRow(QStringLiteral("Security Level"), m_pLevel);
    ContentLayout()->addWidget(inputs);
    AddTable(QStringLiteral("SNMP Group Table"),
             {{QStringLiteral("Group Name"), 100}, {QStringLiteral("Read View"), 100},
              {QStringLiteral("Write View"), 100}, {QStringLiteral("Notify View"), 100},
              {QStringLiteral("Security Model"), 100}, {QStringLiteral("Security Level"), 100}});
    connect(m_pModel, &QComboBox::currentIndexChanged, this,
            [this] { m_pLevel->setEnabled(m_pModel->currentText() == QLatin1String("v3")); });
}

bool CSNMPGroup::StartWalk()
{
    return Config()->GetGroupTable();
}

void CSNMPGroup::OnRow(int nCode, const void* pData)
{
    if (nCode != MN_ROW)
        return;
    const auto* row = static_cast<const SNMP_GROUP_ROW*>(pData);
    if (row->strRowStatus == QLatin1String("1"))
        List()->AppendRow(
            {row->strName, row->strReadView, row->strWriteView, row->strNotifyView, row->strModel, row->strLevel});
}

QString CSNMPGroup::RowStatusOid(int item) const
{
    return CSNMPConfig::GroupColumn(7)
           + CSNMPConfig::GroupIndex(List()->GetItemText(item, 0), List()->GetItemText(item, 4),
                                     List()->GetItemText(item, 5));
}

void CSNMPGroup::ClearInputs()
{
    // The four edits only: model and level stay as chosen for the next group.
    for (QLineEdit* edit : {m_pName, m_pRead, m_pWrite, m_pNotify})
        edit->clear();
}

void CSNMPGroup::OnApply()
{
    const QString name = m_pName->text();
    if (name.isEmpty()) {
        Message(QStringLiteral("Please enter valid group name!"));
        return;
    }
    if (!CSNMPConfig::CheckName(name)) {
        Message(QStringLiteral("Invalid Group Name."));
        return;
    }
    const QString model = m_pModel->currentText();
    // A v1 or v2c group has no security level of its own: a v3 level left
    // selected from before would make an index the switch never lists.
    const QString level = model == QLatin1String("v3") ? m_pLevel->currentText() : QStringLiteral("NoAuthNoPriv");
    for (int i = 0; i < List()->GetItemCount(); ++i)
        if (List()->GetItemText(i, 0) == name && List()->GetItemText(i, 4) == model) {
            Message(QStringLiteral("This Group Entry already exists."));
            return;
        }
    if (List()->GetItemCount() >= kMaxGroups) {
        Message(QStringLiteral("Maximum number of Group Entry is 50."));
        return;
    }
    RunCreate(CSNMPConfig::GroupColumn(7) + CSNMPConfig::GroupIndex(name, model, level),
              {CSNMPConfig::AddGroupValues(name, model, level, m_pRead->text(), m_pWrite->text(), m_pNotify->text())},
              QStringLiteral("group %1").arg(name));
}
