#include "CSNMPCommunity.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CSetSequence.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxCommunities = 10;
}

CSNMPCommunity::CSNMPCommunity(QWidget* parent)
    : CConfigDialog(QStringLiteral("SNMP Community Table Configuration"), std::make_unique<CSNMPConfig>(),
                    RefreshApplyClose, parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    m_pName = new QLineEdit(inputs);
    m_pName->setMaxLength(32);
    m_pPolicy = new QComboBox(inputs);
    form->addRow(QStringLiteral("Community Name "), m_pName);
    form->addRow(QStringLiteral("User Name (View Policy)"), m_pPolicy);
    ContentLayout()->addWidget(inputs);

    auto* table = new QGroupBox(QStringLiteral("Community Table Info"), this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    m_pList->InsertColumn(0, QStringLiteral("Community Name"), CListCtrlEx::LVCFMT_LEFT, 250);
    m_pList->InsertColumn(1, QStringLiteral("User Name"), CListCtrlEx::LVCFMT_LEFT, 248);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->setMinimumWidth(520);
    tableLayout->addWidget(m_pList);
    m_pDelete = new QPushButton(QStringLiteral("&Delete"), table);
    m_pDelete->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_pDelete);
    tableLayout->addLayout(row);
    ContentLayout()->addWidget(table);

    m_pWrites = NewSequence(Config()->m_cCommonSNMPSet);
    connect(m_pDelete, &QPushButton::clicked, this, &CSNMPCommunity::OnDelete);
}

CSNMPConfig* CSNMPCommunity::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPCommunity::OnRefresh()
{
    m_pDelete->setEnabled(false);
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(QStringLiteral("community table"));
    Config()->GetCommunityTable();   // its end starts the user walk, whose end settles
}

void CSNMPCommunity::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY)
        return;
    if (nCode == MN_COMMUNITY_ROW && pData) {
        const auto* row = static_cast<const SNMP_COMMUNITY_ROW*>(pData);
        if (row->strRowStatus == QLatin1String("1"))
            m_pList->AppendRow({row->strName, row->strViewPolicy});
    } else if (nCode == MN_USER_ROW && pData) {
        // Only users of version 1 and 2c can stand for a community's views.
        const auto* row = static_cast<const SNMP_USER_ROW*>(pData);
        if (row->strVersion.compare(QLatin1String("V3"), Qt::CaseInsensitive) != 0
            && row->strRowStatus == QLatin1String("1") && m_pPolicy->findText(row->strName, Qt::MatchExactly) < 0) {
            m_pPolicy->addItem(row->strName);
            if (m_pPolicy->currentIndex() < 0)
                m_pPolicy->setCurrentIndex(0);
        }
    } else if (nCode == MN_WALK_END) {
        const auto* outcome = static_cast<const WalkOutcome*>(pData);
        m_pDelete->setEnabled(true);
        if (outcome)
            Gate().Settle(m_nTicket, *outcome);
        else
            Gate().Settle(m_nTicket, true);
    }
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
    for (int i = 0; i < m_pList->GetItemCount(); ++i)
        if (m_pList->GetItemText(i, 0) == name) {
            Message(QStringLiteral("This Community Entry already exists."));
            return;
        }
    if (m_pList->GetItemCount() >= kMaxCommunities) {
        Message(QStringLiteral("Maximum number of Community Entry is 10."));
        return;
    }
    m_pWrites->Clear();
    if (!Config()->AddCreateSteps(*m_pWrites, CSNMPConfig::CommunityColumn(3) + CSNMPConfig::StringToIndex(name),
                                  {CSNMPConfig::AddCommunityValues(name, m_pPolicy->currentText())},
                                  QStringLiteral("community %1").arg(name)))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = true;
    RunWrites(m_pWrites);
}

void CSNMPCommunity::OnWritesDone()
{
    // Inputs are cleared only once the switch took the row; a refused write
    // keeps what the user typed.
    if (m_bClearInputs) {
        m_bClearInputs = false;
        m_pName->clear();
        if (m_pPolicy->count() > 0)
            m_pPolicy->setCurrentIndex(0);
    }
    CConfigDialog::OnWritesDone();
}

void CSNMPCommunity::OnDelete()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0) {
        Message(QStringLiteral("Please select the item would be delete!\n"));
        return;
    }
    const QString name = m_pList->GetItemText(item, 0);
    m_pWrites->Clear();
    if (!Config()->AddRowStatusStep(*m_pWrites, CSNMPConfig::CommunityColumn(3) + CSNMPConfig::StringToIndex(name),
                                    QStringLiteral("6"), QStringLiteral("delete community %1").arg(name)))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = false;
    RunWrites(m_pWrites);
}
