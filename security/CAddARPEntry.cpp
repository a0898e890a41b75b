#include "CAddARPEntry.h"

#include "CARPSpoofSetting.h"
#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <QVBoxLayout>

namespace {

constexpr int kCreateAndWait = 5;
constexpr int kActive = 1;
constexpr int kDestroy = 6;

// The four fields of a dotted address as an address control holds them:
// each 1-3 digits with a value up to 255, shown without leading zeros.
bool AddressFields(const QString& text, QStringList& fields)
{
    fields = text.split(u'.');
    if (fields.size() != 4)
        return false;
    for (QString& field : fields) {
        if (field.isEmpty() || field.size() > 3)
            return false;
        for (QChar c : field)
            if (c < u'0' || c > u'9')
                return false;
        const int value = field.toInt();
        if (value > 255)
            return false;
        field = QString::number(value);
    }
    return true;
}

bool InRange(quint32 value, const char* lo, const char* hi)
{
    return value >= CUtils::IPv4TextToUInt(QLatin1String(lo)) && value <= CUtils::IPv4TextToUInt(QLatin1String(hi));
}

} // namespace

CAddARPEntry::CAddARPEntry(const QStringList& addresses, const QStringList& macs, QWidget* parent)
    : CConfigDialog(QString(), std::make_unique<CModuleBase>(), OkCancel, parent)
    , m_arrAddresses(addresses)
    , m_arrMacs(macs)
    , m_pSelection(size_t(qMax(0, g_nDevicePortNum)), 0)
    , m_cCommonSNMP(NewSession("m_cCommonSNMP"))
{
    const int ports = qMax(0, g_nDevicePortNum);
    auto* entry = new QGridLayout;
    m_editAddress = new QLineEdit(this);
    SetControlId(m_editAddress, 1012);
    m_editAddress->setMaxLength(15);
    m_editAddress->setInputMethodHints(Qt::ImhPreferNumbers);
    m_editMac = new QLineEdit(this);
    m_editMac->setMaxLength(17);
    SetControlId(m_editMac, 1139);
    const int width = m_editMac->fontMetrics().horizontalAdvance(QStringLiteral("DD-DD-DD-DD-DD-DD")) + 16;
    m_editAddress->setMinimumWidth(width);
    m_editMac->setMinimumWidth(width);
    entry->addWidget(new QLabel(tr("Router/Gateway IP Address"), this), 0, 0);
    entry->addWidget(m_editAddress, 0, 1);
    entry->addWidget(new QLabel(tr("Router/Gateway MAC Address"), this), 1, 0);
    entry->addWidget(m_editMac, 1, 1);
    entry->setColumnStretch(2, 1);
    ContentLayout()->addLayout(entry);

    auto* portBox = new QGroupBox(this);
    SetControlId(portBox, 1172);
    auto* portLayout = new QVBoxLayout(portBox);
    auto* portHead = new QGridLayout;
    auto* portsLabel = new QLabel(tr("Ports"), portBox);
    SetControlId(portsLabel, 1138);
    m_chkAll = new QCheckBox(tr("All Ports"), portBox);
    SetControlId(m_chkAll, 1141);
    portHead->addWidget(portsLabel, 0, 0);
    portHead->addWidget(m_chkAll, 0, 1);
    portHead->setColumnStretch(2, 1);
    portLayout->addLayout(portHead);
    m_pPorts = new CPortGrid(ports, 6001, portBox);
    portLayout->addWidget(m_pPorts, 0, Qt::AlignHCenter);
    ContentLayout()->addWidget(portBox);

    ApplyButton()->setText(tr("&Apply"));
    SetControlId(ApplyButton(), 1000);
    SetControlId(CloseButton(), 1025);

    m_pWrites = NewSequence(m_cCommonSNMP);
    m_pUndo = NewSequence(m_cCommonSNMP);
    connect(m_pPorts, &CPortGrid::portToggled, this, &CAddARPEntry::OnPortButton);
    connect(m_chkAll, &QCheckBox::clicked, this, &CAddARPEntry::OnAllPorts);
}

void CAddARPEntry::OnRefresh()
{
    // Apply waits for the aggregated-link map its check needs.
    ReadTrunkMap();
}

void CAddARPEntry::OnPortButton(int nPort, bool bChecked)
{
    if (nPort >= 1 && nPort <= int(m_pSelection.size()))
        m_pSelection[size_t(nPort - 1)] = bChecked ? 1 : 0;
}

void CAddARPEntry::OnAllPorts(bool bChecked)
{
    for (int p = 1; p <= int(m_pSelection.size()); ++p) {
        m_pPorts->SetChecked(p, bChecked);
        m_pSelection[size_t(p - 1)] = bChecked ? 1 : 0;
    }
}

QString CAddARPEntry::CheckIpMacText(const QString& strAddress, const QString& strMac)
{
    QStringList fields;
    if (!AddressFields(strAddress, fields))
        return QStringLiteral("Please enter correct IP format(ex:192.168.0.10)");
    const QString address = fields.join(u'.');
    if (address == QLatin1String("0.0.0.0"))
        return QStringLiteral("Invalid IP.");
    if (fields[0] == QLatin1String("0") || fields[0] == QLatin1String("255"))
        return QStringLiteral("Invalid  IP.");
    if (fields[3] == QLatin1String("0") || fields[3] == QLatin1String("255"))
        return QStringLiteral("Invalid IP.");
    const quint32 value = CUtils::IPv4TextToUInt(address);
    if (!InRange(value, "1.0.0.1", "126.255.255.254") && !InRange(value, "128.1.0.1", "191.254.255.254")
        && !InRange(value, "192.0.1.1", "223.255.254.254"))
        return QStringLiteral("Multicast IP is not allowed");
    switch (CUtils::CheckMacText(strMac, 0)) {
    case CUtils::MacOk:
        return {};
    case CUtils::MacBroadcast:
        return QStringLiteral("Broadcast MAC is not allowed.");
    case CUtils::MacMulticast:
        return QStringLiteral("Multicast MAC address is not allowed.");
    case CUtils::MacBadFormat:
        break;
    }
    return QStringLiteral("Please enter correct MAC format(ex:00-00-00-00-00-01)");
}

int CAddARPEntry::CheckIpMac()
{
    const QString why = CheckIpMacText(m_editAddress->text(), m_editMac->text());
    if (why.isEmpty())
        return 0;
    Message(why);
    if (why.startsWith(QLatin1String("Please enter correct IP")))
        m_editAddress->setFocus();
    return 1;
}

int CAddARPEntry::CheckDuplicate()
{
    QStringList fields;
    AddressFields(m_editAddress->text(), fields);
    const QString address = fields.join(u'.');
    for (int i = 0; i < m_arrAddresses.size(); ++i) {
        if (m_arrAddresses[i] != address)
            continue;
        const bool sameMac = m_arrMacs.value(i).compare(m_editMac->text(), Qt::CaseInsensitive) == 0;
        Message(sameMac ? QStringLiteral("Duplicate MAC and IP.") : QStringLiteral("Duplicate IP."));
        return 0;
    }
    return 1;
}

int CAddARPEntry::CheckTrunkSelection() const
{
    return Logic<CModuleBase>()->CheckTrunkMembers(m_pSelection.data());
}

void CAddARPEntry::OnApply()
{
    if (std::find(m_pSelection.begin(), m_pSelection.end(), 1) == m_pSelection.end()) {
        Message(QStringLiteral("please select one port at least."));
        return;
    }
    if (CheckIpMac())
        return;
    if (!CheckDuplicate())
        return;
    if (!CheckTrunkSelection()) {
        Message(QStringLiteral("ARP Spoofing Prevention enabled port must match to the aggregated link port."));
        return;
    }
    if (Message(QStringLiteral("Make sure the host IP and MAC exists or you will lose the connection."),
                MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
        != IDOK)
        return;

    QStringList fields;
    AddressFields(m_editAddress->text(), fields);
    const QString index = fields.join(u'.');
    QString digits = m_editMac->text();
    digits.remove(u'-');
    const QByteArray mac = QByteArray::fromHex(digits.toLatin1());
    const QByteArray ports = CUtils::PortArrayToOctets(m_pSelection.data());
    const QString status = CARPSpoofSetting::Column(CARPSpoofSetting::ColStatus) + QLatin1Char('.') + index;

    m_pWrites->Clear();
    m_pWrites->Add(tr("create %1").arg(index), {SnmpSetValue::Integer(status, kCreateAndWait)});
    m_pWrites->Add(tr("MAC address and ports"),
                   {SnmpSetValue::Octets(CARPSpoofSetting::Column(CARPSpoofSetting::ColMac) + QLatin1Char('.') + index, mac),
                    SnmpSetValue::Octets(CARPSpoofSetting::Column(CARPSpoofSetting::ColPorts) + QLatin1Char('.') + index, ports)},
                   50);
    m_pWrites->Add(tr("activate %1").arg(index), {SnmpSetValue::Integer(status, kActive)}, 50);
    // A refused MAC, ports or activation would leave the row half made.
    m_pUndo->Clear();
    m_pUndo->Add(tr("remove %1").arg(index), {SnmpSetValue::Integer(status, kDestroy)});
    RunWrites(m_pWrites, m_pUndo, 2);
}
