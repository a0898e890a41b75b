#include "CARPSpoofSetting.h"

#include "CAddARPEntry.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Walk columns, in this order.
enum { WalkAddress, WalkMac, WalkPorts, WalkStatus };
// List columns.
enum { ListIndex, ListAddress, ListMac, ListPorts };

constexpr int kDestroy = 6;

} // namespace

QString CARPSpoofSetting::Column(int nColumn)
{
    return QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.14.3.1.1.%1").arg(nColumn);
}

CARPSpoofSetting::CARPSpoofSetting(QWidget* parent)
    : CConfigDialog(QStringLiteral("ARP Spoofing Prevention Setting"), nullptr, RefreshClose, parent)
    , m_cCommonSNMP(NewSession("m_cCommonSNMP"))
    , m_cCommonSNMPTable(NewSession("m_cCommonSNMPTable"))
{
    m_list = new CListCtrlEx(this);
    SetControlId(m_list, 1133);
    const int center = CListCtrlEx::LVCFMT_CENTER;
    m_list->AppendColumns({{"Index", 50, center},
                           {"Router/Gateway IP Address", 190, center},
                           {"Router/Gateway MAC Address", 195, center},
                           {"Ports", 150, center}});
    m_list->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    ContentLayout()->addWidget(m_list, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Total Entries:"), this));
    m_editTotal = new QLineEdit(QStringLiteral("0"), this);
    m_editTotal->setReadOnly(true);
    m_editTotal->setMaximumWidth(m_editTotal->fontMetrics().horizontalAdvance(QStringLiteral("88888")) + 16);
    SetControlId(m_editTotal, 1144);
    row->addWidget(m_editTotal);
    row->addWidget(new QLabel(tr("( Note:64 Entries Maximum ) "), this));
    row->addStretch(1);
    m_btnAdd = new QPushButton(tr("&Add"), this);
    SetControlId(m_btnAdd, 1001);
    m_btnDelete = new QPushButton(tr("&Delete"), this);
    SetControlId(m_btnDelete, 1003);
    row->addWidget(m_btnAdd);
    row->addWidget(m_btnDelete);
    ContentLayout()->addLayout(row);

    SetControlId(RefreshButton(), 1044);
    SetControlId(CloseButton(), 1200);
    GateButton(m_btnAdd);
    GateButton(m_btnDelete);

    m_pWalk = NewWalk(m_cCommonSNMPTable);
    m_pWrites = NewSequence(m_cCommonSNMP);
    SetRereadDelay(50);
    connect(m_btnAdd, &QPushButton::clicked, this, &CARPSpoofSetting::OnAdd);
    connect(m_btnDelete, &QPushButton::clicked, this, &CARPSpoofSetting::OnDelete);
    resize(660, 420);
}

void CARPSpoofSetting::OnRefresh()
{
    GetArpSpoofTable();
}

void CARPSpoofSetting::GetArpSpoofTable()
{
    m_list->DeleteAllItems();
    m_editTotal->setText(QStringLiteral("0"));
    const int ticket = Gate().Expect(tr("ARP spoofing prevention table"));
    m_pWalk->Start({Column(ColAddress), Column(ColMac), Column(ColPorts), Column(ColStatus)},
                   [this, ticket](const WalkOutcome& o) {
                       const int ports = qMax(0, g_nDevicePortNum);
                       for (const SnmpRow& row : m_pWalk->Rows()) {
                           if (row.Text(WalkStatus) != QLatin1String("1"))
                               continue;
                           // The row is named (and deleted) by its index, the gateway address.
                           const QString address = row.strIndex;
                           // A MAC or bitmap of the wrong length shows empty rather than
                           // as another address or other ports; the row stays deletable.
                           const QString mac = CUtils::OctetsToMacText(row.cells.value(WalkMac));
                           const QByteArray bitmap = row.cells.value(WalkPorts);
                           QString portText;
                           if (ports > 0 && bitmap.size() >= (ports + 7) / 8)
                               CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(bitmap.constData()),
                                                             int(bitmap.size()), 1, ports, portText);
                           const QString n = QString::number(m_list->GetItemCount() + 1);
                           m_list->AppendRow({n, address, mac, portText});
                           m_editTotal->setText(n);
                       }
                       Gate().Settle(ticket, o);
                   });
}

int CARPSpoofSetting::RunAddDialog(const QStringList& addresses, const QStringList& macs)
{
    CAddARPEntry add(addresses, macs, this);
    return add.DoModal();
}

void CARPSpoofSetting::OnAdd()
{
    if (!m_btnAdd->isEnabled())
        return;
    const int rows = m_list->GetItemCount();
    if (rows >= kMaxEntries) {
        Message(QStringLiteral("The Maximum of Entry is 64, can not add any more"));
        return;
    }
    QStringList addresses;
    QStringList macs;
    for (int row = 0; row < rows; ++row) {
        addresses << m_list->GetItemText(row, ListAddress);
        macs << m_list->GetItemText(row, ListMac);
    }
    RunAddDialog(addresses, macs);
    Refresh();
}

void CARPSpoofSetting::OnDelete()
{
    if (!m_btnDelete->isEnabled())
        return;
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) {
        Message(QStringLiteral("Please select the entry you would be delete!"));
        return;
    }
    const QString address = m_list->GetItemText(row, ListAddress);
    m_pWrites->Clear();
    m_pWrites->Add(tr("remove %1").arg(address), {SnmpSetValue::Integer(Column(ColStatus) + QLatin1Char('.') + address, kDestroy)});
    RunWrites(m_pWrites);
}
