#include "CSNMPCommunity.h"
#include "CUtils.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {
constexpr int kMaxCommunities = 10;
}

CSNMPCommunity::CSNMPCommunity(QWidget* parent)
    : CSNMPTableDialog(QStringLiteral("SNMP Community Table Configuration"), parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    m_pName = new QLineEdit(inputs);
    m_pName->setMaxLength(32);
    m_pPolicy = new QComboBox(inputs);
    form->addRow(QStringLiteral("Community Name "), m_pName);
    form->addRow(QStringLiteral("User Name (View Policy)"), m_pPolicy);
    ContentLayout()->addWidget(inputs);
    AddTable(QStringLiteral("Community Table Info"),
             {{QStringLiteral("Community Name"), 250}, {QStringLiteral("User Name"), 248}});
}

bool CSNMPCommunity::StartWalk()
{
    return Config()->GetCommunityTable();   // its end starts the user walk, whose end settles
}

void CSNMPCommunity::OnRow(int nCode, const void* pData)
{
    if (nCode == MN_COMMUNITY_ROW) {
        const auto* row = static_cast<const SNMP_COMMUNITY_ROW*>(pData);
        if (row->strRowStatus == QLatin1String("1"))
            List()->AppendRow({row->strName, row->strViewPolicy});
    } else if (nCode == MN_USER_ROW) {
        // Only users of version 1 and 2c can stand for a community's views.
        const auto* row = static_cast<const SNMP_USER_ROW*>(pData);
        if (row->strVersion.compare(QLatin1String("V3"), Qt::CaseInsensitive) != 0
            && row->strRowStatus == QLatin1String("1") && m_pPolicy->findText(row->strName, Qt::MatchExactly) < 0) {
            m_pPolicy->addItem(row->strName);
            if (m_pPolicy->currentIndex() < 0)
                m_pPolicy->setCurrentIndex(0);
        }
    }
}

QString CSNMPCommunity::RowStatusOid(int item) const
{
    return CSNMPConfig::CommunityColumn(3) + CUtils::StringToIndex(List()->GetItemText(item, 0));
}

void CSNMPCommunity::ClearInputs()
{
    m_pName->clear();
    if (m_pPolicy->count() > 0)
        m_pPolicy->setCurrentIndex(0);
}

void CSNMPCommunity::OnApply()
{
    const QString name = m_pName->text().trimmed();
    if (name.isEmpty()) {
        Message(QStringLiteral("Please enter valid Community Name !"));
        return;
    }
    if (!CSNMPConfig::CheckName(name)) {
        Message(QStringLiteral("Invalid Community Name."));
        return;
    }
    if (ColumnTexts(0).contains(name)) {
        Message(QStringLiteral("This Community Entry already exists."));
        return;
    }
    if (List()->GetItemCount() >= kMaxCommunities) {
        Message(QStringLiteral("Maximum number of Community Entry is 10."));
        return;
    }
    RunCreate(CSNMPConfig::CommunityColumn(3) + CUtils::StringToIndex(name),
              {CSNMPConfig::AddCommunityValues(name, m_pPolicy->currentText())}, QStringLiteral("community %1").arg(name));
}
