#include "CSNMPHost.h"

#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CUtils.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {
constexpr int kMaxHosts = 10;
}

CSNMPHost::CSNMPHost(QWidget* parent)
    : CSNMPTableDialog(QStringLiteral("SNMP Host Table"), parent)
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
    AddTable(QStringLiteral("Host Table Info"), {{QStringLiteral("Host IP Address"), 150},
                                                 {QStringLiteral("SNMP Version"), 130},
                                                 {QStringLiteral("Community Name/SNMPv3 User Name "), 250}});
}

bool CSNMPHost::StartWalk()
{
    return Config()->GetHostTable();
}

void CSNMPHost::OnRow(int nCode, const void* pData)
{
    if (nCode != MN_ROW)
        return;
    const auto* row = static_cast<const SNMP_HOST_ROW*>(pData);
    if (row->strRowStatus != QLatin1String("1"))
        return;
    QString shown = row->strAddress;
    if (shown.contains(u':') && CUtils::IsLinkLocalIPv6(shown))
        shown += u'%' + row->strInterface;
    List()->AppendRow({shown, row->strVersion, row->strName});
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
    if (m_pAddress->IsLinkLocal() && !CSNMPConfig::CheckName(m_pAddress->GetInterfaceName())) {
        Message(QStringLiteral("Invalid Interface Name."));
        return;
    }
    for (const QString& listed : ColumnTexts(0))
        if (listed.section(u'%', 0, 0) == address) {
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
    if (List()->GetItemCount() >= kMaxHosts) {
        Message(QStringLiteral("Maximum number of Host Entry is 10."));
        return;
    }
    const QByteArray octets = m_pAddress->GetAddressOctets();
    RunCreate(CSNMPConfig::HostColumn(6) + CSNMPConfig::HostIndex(octets),
              {CSNMPConfig::AddHostValues(octets, name, version, address, m_pAddress->GetInterfaceName())},
              QStringLiteral("host %1").arg(address));
}

void CSNMPHost::ClearInputs()
{
    m_pAddress->clear();
    m_pVersion->setCurrentIndex(0);
    m_pName->clear();
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

QString CSNMPHost::RowStatusOid(int item) const
{
    // The interface name is no part of the index.
    const QByteArray octets = ListedAddressOctets(List()->GetItemText(item, 0));
    return octets.isEmpty() ? QString() : CSNMPConfig::HostColumn(6) + CSNMPConfig::HostIndex(octets);
}
