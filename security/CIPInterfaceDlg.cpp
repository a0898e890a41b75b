#include "CIPInterfaceDlg.h"

#include "CIPv4AddressCtrl.h"
#include "CListCtrlEx.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The masks offered: /29 down to /3; /24 preselected.
constexpr int kLongestPrefix = 29;
constexpr int kShortestPrefix = 3;
constexpr int kDefaultMaskItem = kLongestPrefix - 24;
constexpr int kMaxInterfaces = 4;

} // namespace

CIPInterfaceDlg::CIPInterfaceDlg(QWidget* parent)
    : CConfigDialog(tr("IP Interface Settings"), std::make_unique<CProL3FunLogic>(), RefreshApplyClose, parent)
{
    auto* config = new QWidget(this);
    auto* form = new QFormLayout(config);
    form->setContentsMargins(0, 0, 0, 0);
    m_pName = new QLineEdit(config);
    m_pName->setMaxLength(20);
    SetControlId(m_pName, 1012);
    form->addRow(tr("Interface Name"), m_pName);
    m_pVlan = new QComboBox(config);
    SetControlId(m_pVlan, 1013);
    form->addRow(tr("VLAN ID"), m_pVlan);
    m_pAddress = new CIPv4AddressCtrl(config);
    SetControlId(m_pAddress, 1123);
    form->addRow(tr("IP Address"), m_pAddress);
    m_pMask = new QComboBox(config);
    for (int prefix = kLongestPrefix; prefix >= kShortestPrefix; --prefix)
        m_pMask->addItem(g_strSubnetMask[32 - prefix]);
    SetControlId(m_pMask, 1016);
    form->addRow(tr("Netmask"), m_pMask);
    m_pAdmin = new QComboBox(config);
    m_pAdmin->addItems({tr("Enabled"), tr("Disabled")});
    SetControlId(m_pAdmin, 1017);
    form->addRow(tr("Interface Admin State"), m_pAdmin);
    ContentLayout()->addWidget(config);

    m_pList = AddListGroup(tr("IP Interface Info"), 1021, m_pDelete, tr("&Delete"), 1003);
    m_pList->AppendColumns({{"Index", 50, CListCtrlEx::LVCFMT_RIGHT}, {"Interface Name", 120},
                            {"VID", 50, CListCtrlEx::LVCFMT_RIGHT}, {"VLAN Name", 100}, {"IP Address", 130},
                            {"Net mask", 120}, {"Admin State ", 100}, {"Link State ", 100}});

    ApplyButton()->setText(tr("Add"));
    SetControlId(ApplyButton(), 1079);
    GateButton(m_pDelete);
    m_pWrites = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    m_pUndo = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    connect(m_pDelete, &QPushButton::clicked, this, &CIPInterfaceDlg::OnDelete);
    connect(m_pAddress, &CIPv4AddressCtrl::addressChanged, this, [this] { UpdateApply(); });
    ResetInputs();
}

int CIPInterfaceDlg::FreeIndex(const QList<CIPInterfaceInfo>& rows)
{
    for (int index = 1; index <= kMaxInterfaces; ++index) {
        bool used = false;
        for (const CIPInterfaceInfo& r : rows)
            used = used || r.strIndex == QString::number(index);
        if (!used)
            return index;
    }
    return 0;
}

bool CIPInterfaceDlg::CanApply() const
{
    return m_pAddress->IsComplete();
}

void CIPInterfaceDlg::ResetInputs()
{
    m_pMask->setCurrentIndex(kDefaultMaskItem);
    m_pVlan->setCurrentIndex(m_pVlan->count() ? 0 : -1);
    m_pAdmin->setCurrentIndex(0);
    m_pName->clear();
    m_pAddress->ClearAddress();
}

void CIPInterfaceDlg::OnRefresh()
{
    m_pVlan->setEnabled(false);
    m_pVlan->clear();
    m_rows.clear();
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(tr("IP interfaces"));
    Logic<CProL3FunLogic>()->GetIPInterfaces();   // ends with IPIF_VLAN_END, also when nothing was sent
}

void CIPInterfaceDlg::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_IPINTERFACE_NOTIFY || !pData)
        return;
    switch (nCode) {
    case IPIF_ROW: {
        const auto& r = *static_cast<const CIPInterfaceInfo*>(pData);
        if (r.strRowStatus != L3RowStatus::kActive)
            return;
        m_rows.append(r);
        m_pList->AppendRow({r.strIndex, r.strName, r.strVlanId, r.strVlanName, r.strAddress, r.strMask,
                            r.strAdminState == QLatin1String("1") ? tr("Enabled") : tr("Disabled"),
                            r.strLinkState == QLatin1String("1") ? tr("Link Up") : tr("Link Down")});
        break;
    }
    case IPIF_VLAN_ROW: {
        const auto& r = *static_cast<const VLAN_ROW_TEXTS*>(pData);
        if (r.text[2] == L3RowStatus::kActive)
            m_pVlan->addItem(r.text[0]);
        m_pVlan->setCurrentIndex(0);
        break;
    }
    case IPIF_VLAN_END:
        m_pVlan->setEnabled(true);
        Gate().Settle(m_nTicket, *static_cast<const WalkOutcome*>(pData));
        break;
    }
}

void CIPInterfaceDlg::OnApply()
{
    const int index = FreeIndex(m_rows);
    if (index == 0) {
        Message(QStringLiteral("The max entry is 4"));
        return;
    }
    CIPInterfaceInfo info;
    info.strIndex = QString::number(index);
    info.strName = m_pName->text();
    if (info.strName.isEmpty()) {
        Message(QStringLiteral("The Interface Name can not be Empty "));
        return;
    }
    if (!CUtils::HasNoSpecialChars(info.strName)) {
        Message(QStringLiteral("Invalid Interface Name."));
        return;
    }
    for (const CIPInterfaceInfo& r : m_rows)
        if (r.strName == info.strName) {
            Message(QStringLiteral("This Interface Name has exist."));
            return;
        }
    info.strVlanId = m_pVlan->currentText();
    if (info.strVlanId.isEmpty()) {
        // Without a VLAN there is no row to create.
        Message(QStringLiteral("Please select a VLAN ID."));
        return;
    }
    for (const CIPInterfaceInfo& r : m_rows)
        if (r.strVlanId == info.strVlanId) {
            Message(QStringLiteral("This Vlan ID has exist,please select again"));
            m_pVlan->setCurrentIndex(0);
            return;
        }
    info.strAddress = m_pAddress->GetAddress();
    info.strMask = m_pMask->currentText();
    for (const CIPInterfaceInfo& r : m_rows) {
        if (r.strAddress == info.strAddress) {
            Message(QStringLiteral("This IP Address has used,please enter other IP Address"));
            return;
        }
        if (CProL3FunLogic::SubnetsOverlap(info.strAddress, info.strMask, r.strAddress, r.strMask)) {
            Message(QStringLiteral("Conflicted subnet address."));
            return;
        }
    }
    if (!m_pAddress->IsComplete() || !CUtils::ValidateIPv4(info.strAddress)) {
        Message(QStringLiteral("Invalid IP address."));
        m_pAddress->setFocus();
        return;
    }
    info.strAdminState = m_pAdmin->currentIndex() == 0 ? QStringLiteral("1") : QStringLiteral("2");
    m_pWrites->Clear();
    m_pUndo->Clear();
    if (Logic<CProL3FunLogic>()->SetIPInterface(info, 1, *m_pWrites, m_pUndo))
        // Step 1 creates the row: a failure after it would leave a
        // half-made interface on the switch, so the row is removed again.
        RunWrites(m_pWrites, m_pUndo, 2);
    ResetInputs();
}

void CIPInterfaceDlg::OnDelete()
{
    const int selected = m_pList->GetFirstSelectedItem();
    if (selected < 0 || selected >= m_rows.size()) {
        Message(QStringLiteral("Please select the entry to delete."));
        return;
    }
    if (m_rows[selected].strIndex == QLatin1String("1")) {
        Message(QStringLiteral("The default entry can not be deleted."));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    if (Logic<CProL3FunLogic>()->SetIPInterface(m_rows[selected], 3, *m_pWrites))
        RunWrites(m_pWrites);
}
