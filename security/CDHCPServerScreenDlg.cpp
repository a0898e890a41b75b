#include "CDHCPServerScreenDlg.h"

#include "CDHCPServerLogic.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "ControlId.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum { ListIndex, ListAddress };

} // namespace

CDHCPServerScreenDlg::CDHCPServerScreenDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("DHCP Server Screening Settings  "), std::make_unique<CDHCPServerLogic>(),
                    RefreshClose, parent)
{
    SetSwallowEnterEscape(true);

    auto* portBox = new QGroupBox(tr("DHCP Server Trusted Port Settings"), this);
    auto* portRow = new QHBoxLayout(portBox);
    portRow->addWidget(new QLabel(tr("DHCP Server Trusted Port "), portBox));
    m_editPorts = new QLineEdit(portBox);
    SetControlId(m_editPorts, 1135);
    portRow->addWidget(m_editPorts, 1);
    portRow->addWidget(new QLabel(tr("Ex:(1,2,4-6) "), portBox));
    m_btnAddPorts = new QPushButton(tr("&Add"), portBox);
    SetControlId(m_btnAddPorts, 1134);
    portRow->addWidget(m_btnAddPorts);
    ContentLayout()->addWidget(portBox);

    auto* serverBox = new QGroupBox(tr("Trusted DHCP Server IP Settings"), this);
    auto* serverRow = new QHBoxLayout(serverBox);
    serverRow->addWidget(new QLabel(tr("IPv4/IPv6 Address"), serverBox));
    m_editAddress = new CEditEXIPV6(serverBox);
    SetControlId(m_editAddress, 203);
    // Room for a full IPv6 address and an interface name, no more.
    m_editAddress->setMinimumWidth(
        m_editAddress->fontMetrics().horizontalAdvance(QStringLiteral("8888:8888:8888:8888:8888:8888:8888:8888%eth0"))
        + 12);
    serverRow->addWidget(m_editAddress);
    m_btnAddServer = new QPushButton(tr("&Add"), serverBox);
    SetControlId(m_btnAddServer, 1149);
    serverRow->addWidget(m_btnAddServer);
    serverRow->addStretch(1);
    ContentLayout()->addWidget(serverBox);

    auto* listBox = new QGroupBox(tr("Trusted DHCP Server IP Lists "), this);
    auto* listLayout = new QVBoxLayout(listBox);
    m_list = new CListCtrlEx(listBox);
    SetControlId(m_list, 1131);
    m_list->AppendColumns({{"Index", 150, CListCtrlEx::LVCFMT_LEFT}, {"IP Address", 450, CListCtrlEx::LVCFMT_LEFT}});
    m_list->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    listLayout->addWidget(m_list, 1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(new QLabel(tr("Note:Maximum 5 entries"), listBox));
    listRow->addStretch(1);
    m_btnDelete = new QPushButton(tr("&Delete"), listBox);
    SetControlId(m_btnDelete, 1121);
    listRow->addWidget(m_btnDelete);
    listLayout->addLayout(listRow);
    ContentLayout()->addWidget(listBox, 1);

    SetControlId(RefreshButton(), 1044);
    SetControlId(CloseButton(), 1133);
    GateButton(m_btnAddPorts);
    GateButton(m_btnAddServer);
    GateButton(m_btnDelete);

    CDHCPServerLogic* logic = ScreenLogic();
    m_pPortRead = NewScalarRead(logic->m_cSnmpGet);
    m_pServerWalk = NewWalk(logic->m_cSnmpVlanTable);
    m_pWrites = NewSequence(logic->m_cSnmpSet);
    m_pUndo = NewSequence(logic->m_cSnmpSet);
    connect(m_btnAddPorts, &QPushButton::clicked, this, &CDHCPServerScreenDlg::OnApplyPorts);
    connect(m_btnAddServer, &QPushButton::clicked, this, &CDHCPServerScreenDlg::OnAddServer);
    connect(m_btnDelete, &QPushButton::clicked, this, &CDHCPServerScreenDlg::OnDeleteServer);
    resize(640, 460);
}

CDHCPServerLogic* CDHCPServerScreenDlg::ScreenLogic() const
{
    return Logic<CDHCPServerLogic>();
}

void CDHCPServerScreenDlg::OnRefresh()
{
    const int portTicket = Gate().Expect(tr("trusted ports"));
    m_pPortRead->Start({CDHCPServerLogic::PortStateOid()}, [this, portTicket](const WalkOutcome& outcome) {
        WalkOutcome o = outcome;
        QString text;
        if (o.Ok() && !CDHCPServerLogic::GetPortState(m_pPortRead->Value(0), text)) {
            o.nResult = WalkOutcome::ErrorStatus;
            o.strWhy = tr("the port bitmap is too short");
        }
        if (o.Ok()) {
            m_strPorts = text;
            m_editPorts->setText(m_strPorts);
        }
        Gate().Settle(portTicket, o);
    });

    m_list->DeleteAllItems();
    const int serverTicket = Gate().Expect(tr("trusted servers"));
    m_pServerWalk->Start(CDHCPServerLogic::ServerWalkColumns(), [this, serverTicket](const WalkOutcome& o) {
        for (const SnmpRow& row : m_pServerWalk->Rows()) {
            DHCP_SERVER_ROW server;
            // A malformed address is listed empty, so the entry can still be deleted.
            if (!CDHCPServerLogic::ServerRow(row, server))
                qWarning("trusted DHCP server %s: address does not match its type", qPrintable(row.strIndex));
            if (server.strStatus == QLatin1String("1"))
                m_list->AppendRow({server.strEntry, server.strAddress});
        }
        Gate().Settle(serverTicket, o);
    });
    ReadTrunkMap();
}

void CDHCPServerScreenDlg::OnApplyPorts()
{
    if (!m_btnAddPorts->isEnabled())
        return;
    const QString text = m_editPorts->text();
    if (text == m_strPorts)
        return;
    QString why;
    if (!ScreenLogic()->SetPortState(text, *m_pWrites, why)) {
        if (!why.isEmpty())
            Message(why);
        return;
    }
    RunWrites(m_pWrites);
}

void CDHCPServerScreenDlg::OnAddServer()
{
    if (!m_btnAddServer->isEnabled())
        return;
    // Checked again here: the text may have changed since the edit last
    // lost the focus.
    if (m_editAddress->OnKillFocus() != CEditEXIPV6::StatusValid) {
        Message(QStringLiteral("Invalid server IP address."));
        return;
    }
    const int rows = m_list->GetItemCount();
    if (rows >= CDHCPServerLogic::kMaxServers) {
        Message(QStringLiteral("The maximum entries is 5."));
        return;
    }
    const QString typed = CDHCPServerLogic::ComparableAddress(m_editAddress->GetAddress());
    for (int row = 0; row < rows; ++row) {
        if (CDHCPServerLogic::ComparableAddress(m_list->GetItemText(row, ListAddress)) == typed) {
            Message(QStringLiteral("Duplicate server IP address."));
            return;
        }
    }
    // The next entry number follows the listed rows; when that entry is
    // still in use (after a delete in the middle) the switch refuses the
    // create and nothing is overwritten.
    const QString entry = QString::number(rows + 1);
    CDHCPServerLogic* logic = ScreenLogic();
    logic->SetAddressEdit(m_editAddress);
    if (!logic->SetServerEntry(entry, CDHCPServerLogic::OpAdd, *m_pWrites)) {
        Message(QStringLiteral("Invalid server IP address."));
        return;
    }
    // A refused address or activation leaves a row this add made: take it back.
    logic->SetServerEntry(entry, CDHCPServerLogic::OpDelete, *m_pUndo);
    RunWrites(m_pWrites, m_pUndo, 2);
}

void CDHCPServerScreenDlg::OnDeleteServer()
{
    if (!m_btnDelete->isEnabled())
        return;
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) {
        Message(QStringLiteral("Please select the entry to delete."));
        return;
    }
    ScreenLogic()->SetServerEntry(m_list->GetItemText(row, ListIndex), CDHCPServerLogic::OpDelete, *m_pWrites);
    RunWrites(m_pWrites);
}
