#include "C8021XAuRadiusServerDLG.h"

#include "C8021XSettingLogic.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CUtils.h"
#include "ControlId.h"
#include "StrictNumber.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxKeyLength = 32;

} // namespace

C8021XAuRadiusServerDLG::C8021XAuRadiusServerDLG(QWidget* parent)
    : CConfigDialog(QStringLiteral("Authentication RADIUS Server"), std::make_unique<C8021XSettingLogic>(),
                    RefreshApplyClose, parent)
{
    auto* server = new QGroupBox(QStringLiteral("Authentication RADIUS Server"), this);
    auto* grid = new QGridLayout(server);
    m_pIndex = new QComboBox(server);
    SetControlId(m_pIndex, IDC_INDEX);
    m_pIndex->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_pAddress = new CEditEXIPV6(server);
    SetControlId(m_pAddress, IDC_ADDRESS);
    m_pAddress->setMinimumWidth(m_pAddress->fontMetrics().horizontalAdvance(
                                    QStringLiteral("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff%interface12")));
    auto edit = [server](int id, int maxLength, bool hidden = false) {
        auto* e = new QLineEdit(server);
        SetControlId(e, id);
        e->setMaxLength(maxLength);
        if (hidden)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_pAuthPort = edit(IDC_AUTH_PORT, 5);
    m_pAcctPort = edit(IDC_ACCT_PORT, 5);
    m_pTimeout = edit(IDC_TIMEOUT, 3);
    m_pRetransmit = edit(IDC_RETRANSMIT, 3);
    m_pKey = edit(IDC_KEY, kMaxKeyLength, true);
    m_pConfirmKey = edit(IDC_CONFIRM_KEY, kMaxKeyLength, true);
    const struct { const char* label; QWidget* widget; } rows[] = {
        {"Index", m_pIndex},
        {"IPv4/IPv6 Address", m_pAddress},
        {"Authentication Port (1-65535)", m_pAuthPort},
        {"Accounting Port (1-65535)", m_pAcctPort},
        {"Timeout (1-255)", m_pTimeout},
        {"Retransmit (1-255)", m_pRetransmit},
        {"Key", m_pKey},
        {"Confirm Key", m_pConfirmKey},
    };
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(r.label), server), row, 0);
        grid->addWidget(r.widget, row++, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("For key, the maximum number of character is 32."), server), row, 0, 1, 2);
    grid->setColumnStretch(2, 1);
    ContentLayout()->addWidget(server);

    auto* table = new QGroupBox(QStringLiteral("RADIUS Server List"), this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    SetControlId(m_pList, IDC_LIST);
    const int right = CListCtrlEx::LVCFMT_RIGHT;
    m_pList->AppendColumns({{"Index", 50, right},
                            {"IP Address", 200},
                            {"Auth-Port", 90, right},
                            {"Acct-Port", 90, right},
                            {"Timeout", 70, right},
                            {"Retransmit", 100, right},
                            {"Key", 50}},
                           true);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    tableLayout->addWidget(m_pList);
    m_pDelete = new QPushButton(QStringLiteral("Delete"), table);
    SetControlId(m_pDelete, IDC_DELETE);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_pDelete);
    tableLayout->addLayout(bottom);
    ContentLayout()->addWidget(table, 1);

    // Apply replaces a row only when it knows whether the slot is taken, and
    // Delete addresses a listed row: both wait for a complete read.
    GateButton(m_pDelete);
    connect(m_pDelete, &QPushButton::clicked, this, &C8021XAuRadiusServerDLG::OnDelete);
    connect(RefreshButton(), &QPushButton::clicked, this, &C8021XAuRadiusServerDLG::PutDefaults);

    m_pWrites = NewSequence(Dot1x()->m_cCommonSNMPSet);
    PutDefaults();
}

C8021XSettingLogic* C8021XAuRadiusServerDLG::Dot1x() const
{
    return Logic<C8021XSettingLogic>();
}

QLineEdit* C8021XAuRadiusServerDLG::Edit(int nId) const
{
    return qobject_cast<QLineEdit*>(GetDlgItem(this, nId));
}

void C8021XAuRadiusServerDLG::PutDefaults()
{
    m_pIndex->setCurrentIndex(0);
    m_pAddress->clear();
    m_pAuthPort->setText(QStringLiteral("1812"));
    m_pAcctPort->setText(QStringLiteral("1813"));
    m_pTimeout->setText(QStringLiteral("5"));
    m_pRetransmit->setText(QStringLiteral("2"));
    m_pKey->clear();
    m_pConfirmKey->clear();
}

void C8021XAuRadiusServerDLG::OnRefresh()
{
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(QStringLiteral("RADIUS servers"));
    Dot1x()->SetOwnerWnd(this);
    Dot1x()->GetRadiusServerTable();   // reports its end exactly once
}

void C8021XAuRadiusServerDLG::OnModuleNotify(unsigned nMessage, int, const void* pData)
{
    if (nMessage != WM_8021X_TABLE_DONE && nMessage != WM_8021X_TABLE_STALE)
        return;
    FillList();
    if (nMessage == WM_8021X_TABLE_DONE && pData)
        Gate().Settle(m_nTicket, *static_cast<const WalkOutcome*>(pData));
}

void C8021XAuRadiusServerDLG::FillList()
{
    m_pList->DeleteAllItems();
    for (const X8021_AuRadiusServer_Statistics_info& server : Dot1x()->m_RadiusServerList) {
        if (server.nRowStatus != 1)
            continue;
        QString address = server.strAddress;
        if (address.contains(u':') && CUtils::IsLinkLocalIPv6(address))
            address += QLatin1Char('%') + server.strInterfaceName;
        const int item = m_pList->InsertItem(m_pList->GetItemCount(), QString::number(server.nIndex));
        m_pList->SetItemText(item, 1, address);
        m_pList->SetItemText(item, 2, QString::number(server.nAuthPort));
        m_pList->SetItemText(item, 3, QString::number(server.nAcctPort));
        m_pList->SetItemText(item, 4, QString::number(server.nTimeout));
        m_pList->SetItemText(item, 5, QString::number(server.nRetransmit));
        m_pList->SetItemText(item, 6, server.strKey);
    }
}

bool C8021XAuRadiusServerDLG::CheckField(QLineEdit* field, int nHigh, const QString& strMessage, QString* pSend)
{
    if (ParseStrictInt(field->text(), 1, nHigh, nullptr, pSend))
        return true;
    Message(strMessage);
    field->setFocus();
    field->selectAll();
    return false;
}

void C8021XAuRadiusServerDLG::OnApply()
{
    const int index = m_pIndex->currentIndex() + 1;
    if (m_pAddress->OnKillFocus() != CEditEXIPV6::StatusValid) {
        m_pAddress->ShowAddressError();
        return;
    }
    if (m_pAddress->IsLinkLocal() && !CUtils::HasNoSpecialChars(m_pAddress->GetInterfaceName())) {
        Message(QStringLiteral("Invalid Interface Name. "));
        return;
    }
    QString authPort, acctPort, timeout, retransmit;
    if (!CheckField(m_pAuthPort, 65535, QStringLiteral("Please Confirm Authentication Port range from 1 to 65535."),
                    &authPort)
        || !CheckField(m_pAcctPort, 65535, QStringLiteral("Please Confirm Accounting Port range from 1 to 65535."),
                       &acctPort)
        || !CheckField(m_pTimeout, 255, QStringLiteral("Please Confirm Timeout value range from 1 to 255."), &timeout)
        || !CheckField(m_pRetransmit, 255, QStringLiteral("Please Confirm Retransmit value from 1 to 255."),
                       &retransmit))
        return;
    const QString key = m_pKey->text();
    if (key.isEmpty() && m_pConfirmKey->text().isEmpty()) {
        Message(QStringLiteral("Invalid Authentication RADIUS Server Key"));
        return;
    }
    if (key != m_pConfirmKey->text()) {
        Message(QStringLiteral("Please Confirm Your Key!"));
        return;
    }

    const QString suffix = QStringLiteral(".%1").arg(index);
    auto cell = [&suffix](int column) { return C8021XSettingLogic::RadiusColumn(column) + suffix; };
    const QString what = QStringLiteral("server %1").arg(index);
    m_pWrites->Clear();
    for (const X8021_AuRadiusServer_Statistics_info& server : Dot1x()->m_RadiusServerList)
        if (server.nIndex == index) {
            m_pWrites->Add(QStringLiteral("remove the old %1").arg(what), {SnmpSetValue::Integer(cell(10), 6)});
            break;
        }
    const int addressType = m_pAddress->GetAddressType().toInt();
    m_pWrites->Add(QStringLiteral("create %1").arg(what), {SnmpSetValue::Integer(cell(10), 5)});
    m_pWrites->Add(QStringLiteral("address type of %1").arg(what), {SnmpSetValue::Integer(cell(2), addressType)});
    QList<SnmpSetValue> address{SnmpSetValue::Integer(cell(2), addressType),
                                SnmpSetValue::Octets(cell(3), m_pAddress->GetAddressOctets())};
    if (m_pAddress->IsLinkLocal())
        address << SnmpSetValue::Text(cell(4), m_pAddress->GetInterfaceName());
    m_pWrites->Add(QStringLiteral("address of %1").arg(what), address);
    m_pWrites->Add(QStringLiteral("authentication port of %1").arg(what),
                   {SnmpSetValue::Integer(cell(5), authPort.toLongLong())});
    m_pWrites->Add(QStringLiteral("accounting port of %1").arg(what),
                   {SnmpSetValue::Integer(cell(6), acctPort.toLongLong())});
    m_pWrites->Add(QStringLiteral("timeout of %1").arg(what), {SnmpSetValue::Integer(cell(7), timeout.toLongLong())});
    m_pWrites->Add(QStringLiteral("retransmit of %1").arg(what),
                   {SnmpSetValue::Integer(cell(8), retransmit.toLongLong())});
    m_pWrites->Add(QStringLiteral("key of %1").arg(what), {SnmpSetValue::Text(cell(9), key)});
    m_pWrites->Add(QStringLiteral("activate %1").arg(what), {SnmpSetValue::Integer(cell(10), 1)});
    // A failure is reported and the table read again; the old server cannot
    // be put back, as its key cannot be read.
    m_pList->DeleteAllItems();
    RunWrites(m_pWrites);
}

void C8021XAuRadiusServerDLG::OnDelete()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0) {
        Message(QStringLiteral("Please Choose One To Delete Or Check If Have Any Data"));
        return;
    }
    const QString index = m_pList->GetItemText(item, 0);
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("delete server %1").arg(index),
                   {SnmpSetValue::Integer(C8021XSettingLogic::RadiusColumn(10) + QLatin1Char('.') + index, 6)});
    RunWrites(m_pWrites);
}

void C8021XAuRadiusServerDLG::OnWritesDone()
{
    PutDefaults();
    CConfigDialog::OnWritesDone();
}
