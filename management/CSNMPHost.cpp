#include "CSNMPHost.h"

#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CSetSequence.h"
#include "CUtils.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxHosts = 10;
}

CSNMPHost::CSNMPHost(QWidget* parent)
    : CConfigDialog(QStringLiteral("SNMP Host Table"), std::make_unique<CSNMPConfig>(), RefreshApplyClose, parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    m_pAddress = new CEditEXIPV6(inputs);
    m_pVersion = new QComboBox(inputs);
    m_pVersion->addItems({QStringLiteral("V1"), QStringLiteral("V2c"), QStringLiteral("V3-NoAuthNoPriv"),
                          QStringLiteral("V3-AuthNoPriv"), QStringLiteral("V3-AuthPriv")});
    m_pName = new QLineEdit(inputs);
    m_pName->setMaxLength(32);
    form->addRow(QStringLiteral("Host IP Adress"), m_pAddress);
    form->addRow(QStringLiteral("SNMP Version"), m_pVersion);
    form->addRow(QStringLiteral("Community String/SNMPv3 User Name"), m_pName);
    ContentLayout()->addWidget(inputs);

    auto* table = new QGroupBox(QStringLiteral("Host Table Info"), this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    m_pList->InsertColumn(0, QStringLiteral("Host IP Address"), CListCtrlEx::LVCFMT_LEFT, 150);
    m_pList->InsertColumn(1, QStringLiteral("SNMP Version"), CListCtrlEx::LVCFMT_LEFT, 130);
    m_pList->InsertColumn(2, QStringLiteral("Community Name/SNMPv3 User Name "), CListCtrlEx::LVCFMT_LEFT, 250);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->setMinimumWidth(560);
    tableLayout->addWidget(m_pList);
    m_pDelete = new QPushButton(QStringLiteral("&Delete"), table);
    m_pDelete->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_pDelete);
    tableLayout->addLayout(row);
    ContentLayout()->addWidget(table);

    m_pWrites = NewSequence(Config()->m_cCommonSNMPSet);
    connect(m_pDelete, &QPushButton::clicked, this, &CSNMPHost::OnDelete);
}

CSNMPConfig* CSNMPHost::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPHost::OnRefresh()
{
    m_pDelete->setEnabled(false);
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(QStringLiteral("host table"));
    Config()->GetHostTable();
}

void CSNMPHost::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY)
        return;
    if (nCode == MN_ROW && pData) {
        const auto* row = static_cast<const SNMP_HOST_ROW*>(pData);
        if (row->strRowStatus != QLatin1String("1"))
            return;
        QString shown = row->strAddress;
        if (shown.contains(u':') && CUtils::IsLinkLocalIPv6(shown))
            shown += u'%' + row->strInterface;
        m_pList->AppendRow({shown, row->strVersion, row->strName});
    } else if (nCode == MN_WALK_END) {
        m_pDelete->setEnabled(true);
        if (const auto* outcome = static_cast<const WalkOutcome*>(pData))
            Gate().Settle(m_nTicket, *outcome);
        else
            Gate().Settle(m_nTicket, true);
    }
}

void CSNMPHost::OnApply()
{
    // Classified again now: the index must come from this address, never
    // from one typed earlier.
    if (m_pAddress->OnKillFocus() != CEditEXIPV6::StatusValid) {
        Message(CEditEXIPV6::AddressErrorText(m_pAddress->GetStatus()));
        return;
    }
    QString address = m_pAddress->GetAddress();
    if (m_pAddress->GetAddressType() == QLatin1String("2"))
        address = CUtils::CompressIPv6(address);
    const bool linkLocal = m_pAddress->IsLinkLocal();
    if (linkLocal && !CSNMPConfig::CheckName(m_pAddress->GetInterfaceName())) {
        Message(QStringLiteral("Invalid Interface Name."));
        return;
    }
    for (int i = 0; i < m_pList->GetItemCount(); ++i)
        if (m_pList->GetItemText(i, 0).section(u'%', 0, 0) == address) {
            Message(QStringLiteral("This IP Address has used,please enter other IP Address"));
            return;
        }
    const QString name = m_pName->text().trimmed();
    if (name.isEmpty()) {
        Message(QStringLiteral("The Community String or SNMPv3 User Name can not be empty."));
        return;
    }
    if (!CSNMPConfig::CheckName(name)) {
        Message(QStringLiteral("Invalid Community String/SNMPv3 User Name. "));
        return;
    }
    const QString version = QString::number(m_pVersion->currentIndex() + 1);
    if (m_pList->GetItemCount() >= kMaxHosts) {
        Message(QStringLiteral("Maximum number of Host Entry is 10."));
        return;
    }
    const QByteArray octets = m_pAddress->GetAddressOctets();
    m_pWrites->Clear();
    if (!Config()->AddCreateSteps(
            *m_pWrites, CSNMPConfig::HostColumn(6) + CSNMPConfig::HostIndex(octets),
            {CSNMPConfig::AddHostValues(octets, name, version, address, m_pAddress->GetInterfaceName())},
            QStringLiteral("host %1").arg(address)))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = true;
    RunWrites(m_pWrites);
}

void CSNMPHost::OnWritesDone()
{
    if (m_bClearInputs) {
        m_bClearInputs = false;
        m_pAddress->clear();
        m_pVersion->setCurrentIndex(0);
        m_pName->clear();
    }
    CConfigDialog::OnWritesDone();
}

QByteArray CSNMPHost::ListedAddressOctets(const QString& listed)
{
    const QString address = listed.section(u'%', 0, 0);
    if (address.contains(u':')) {
        QString hex = CUtils::ExpandIPv6(address);
        hex.remove(u':');
        const QByteArray octets = QByteArray::fromHex(hex.toLatin1());
        return octets.size() == 16 ? octets : QByteArray();
    }
    const QStringList parts = address.split(u'.');
    if (parts.size() != 4)
        return {};
    QByteArray octets;
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (!ok || n < 0 || n > 255)
            return {};
        octets.append(char(n));
    }
    return octets;
}

void CSNMPHost::OnDelete()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0) {
        Message(QStringLiteral("Please Selecte the Item you would delete"));
        return;
    }
    // The interface name is no part of the index.
    const QByteArray octets = ListedAddressOctets(m_pList->GetItemText(item, 0));
    if (octets.isEmpty())
        return;
    m_pWrites->Clear();
    if (!Config()->AddRowStatusStep(*m_pWrites, CSNMPConfig::HostColumn(6) + CSNMPConfig::HostIndex(octets),
                                    QStringLiteral("6"),
                                    QStringLiteral("delete host %1").arg(m_pList->GetItemText(item, 0))))
        return;
    m_pDelete->setEnabled(false);
    m_bClearInputs = false;
    RunWrites(m_pWrites);
}
