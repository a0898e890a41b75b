#include "CStaticRoute.h"

#include "CIPv4AddressCtrl.h"
#include "CListCtrlEx.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxRoutes = 32;
constexpr int kDefaultMaskItem = 8;   // /24 in the list /32 ... /1

} // namespace

CStaticRoute::CStaticRoute(QWidget* parent)
    : CConfigDialog(tr("Static Route Settings "), std::make_unique<CProL3FunLogic>(), RefreshApplyClose, parent)
{
    auto* config = new QGroupBox(tr("Config Static Route"), this);
    auto* form = new QFormLayout(config);
    m_pDestination = new CIPv4AddressCtrl(config);
    SetControlId(m_pDestination, 1012);
    form->addRow(tr("IP Address"), m_pDestination);
    m_pMask = new QComboBox(config);
    for (int prefix = 32; prefix >= 1; --prefix)
        m_pMask->addItem(g_strSubnetMask[32 - prefix]);
    SetControlId(m_pMask, 1016);
    form->addRow(tr("Netmask"), m_pMask);
    m_pGateway = new QLineEdit(config);
    m_pGateway->setMaxLength(15);
    SetControlId(m_pGateway, 1025);
    form->addRow(tr("Gateway"), m_pGateway);
    m_pMetric = new QLineEdit(config);
    m_pMetric->setMaxLength(5);
    SetControlId(m_pMetric, 1026);
    form->addRow(tr("Metric (1-65535)"), m_pMetric);
    m_pBackup = new QComboBox(config);
    m_pBackup->addItems({tr("Primary"), tr("Backup")});
    SetControlId(m_pBackup, 1024);
    form->addRow(tr("Backup State"), m_pBackup);
    ContentLayout()->addWidget(config);

    m_pList = AddListGroup(tr("Static Route Info"), 1027, m_pDelete, tr("&Delete"), 1003);
    m_pList->AppendColumns({{"IP Addresse", 110}, {"Netmask", 110}, {"Gateway", 110},
                            {"Metric", 70, CListCtrlEx::LVCFMT_RIGHT}, {"Protocol", 80}, {"Backup", 80},
                            {"Status ", 80}});

    ApplyButton()->setText(tr("&Add"));
    SetControlId(ApplyButton(), 1018);
    GateButton(m_pDelete);
    m_pWrites = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    m_pUndo = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    connect(m_pDelete, &QPushButton::clicked, this, &CStaticRoute::OnDelete);
    connect(m_pDestination, &CIPv4AddressCtrl::addressChanged, this, [this] { UpdateApply(); });
    ResetInputs();
}

bool CStaticRoute::CanApply() const
{
    return m_pDestination->IsComplete();
}

void CStaticRoute::ResetInputs()
{
    m_pGateway->clear();
    m_pMask->setCurrentIndex(kDefaultMaskItem);
    m_pBackup->setCurrentIndex(0);
    m_pMetric->clear();
}

void CStaticRoute::OnRefresh()
{
    m_rows.clear();
    m_pList->DeleteAllItems();
    m_nTicket = Gate().Expect(tr("static routes"));
    Logic<CProL3FunLogic>()->GetStaticRoutes();   // ends with L3_WALK_END, also when nothing was sent
}

void CStaticRoute::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_STATICROUTE_NOTIFY || !pData)
        return;
    if (nCode == L3_WALK_END) {
        Gate().Settle(m_nTicket, *static_cast<const WalkOutcome*>(pData));
        return;
    }
    const auto& r = *static_cast<const CStaticRouteInfo*>(pData);
    if (r.strRowStatus != L3RowStatus::kActive)
        return;
    m_rows.append(r);
    m_pList->AppendRow({r.strDestination, r.strMask, r.strGateway, r.strMetric,
                        r.strProtocol == QLatin1String("0") ? tr("Default") : tr("Static"),
                        r.strBackup == QLatin1String("1") ? tr("Backup") : tr("Primary"),
                        r.strStatus == QLatin1String("0") ? tr("Active") : tr("Inactive")});
}

void CStaticRoute::OnApply()
{
    CStaticRouteInfo info;
    info.strDestination = m_pDestination->GetAddress();
    if (m_rows.size() >= kMaxRoutes) {
        Message(QStringLiteral("The max Static Route is 32."));
        return;
    }
    for (const CStaticRouteInfo& r : m_rows)
        if (r.strDestination == info.strDestination) {
            Message(QStringLiteral("This IP Address has used,please enter other IP Address"));
            return;
        }
    info.strMask = m_pMask->currentText();
    // A destination is a host or a network (10.0.0.0/8): its host part under
    // the mask may be zero.
    if (!m_pDestination->IsComplete() || !CProL3FunLogic::ValidateRouteDestination(info.strDestination, info.strMask)) {
        Message(QStringLiteral("Invalid IP address."));
        m_pDestination->setFocus();
        return;
    }
    info.strGateway = m_pGateway->text();
    if (!CUtils::ValidateIPv4(info.strGateway)) {
        Message(QStringLiteral("Invalid Gateway."));
        return;
    }
    if (!ParseStrictInt(m_pMetric->text(), 1, 65535, nullptr, &info.strMetric)) {
        Message(QStringLiteral("The Metric range is 1-65535 "));
        return;
    }
    info.strBackup = QString::number(m_pBackup->currentIndex());
    m_pWrites->Clear();
    m_pUndo->Clear();
    if (Logic<CProL3FunLogic>()->SetStaticRoute(info, 1, *m_pWrites, m_pUndo))
        // Step 1 creates the route; when its metric is refused the route
        // is removed again rather than left with values nobody chose.
        RunWrites(m_pWrites, m_pUndo, 2);
    ResetInputs();
}

void CStaticRoute::OnDelete()
{
    const int selected = m_pList->GetFirstSelectedItem();
    if (selected < 0 || selected >= m_rows.size()) {
        Message(QStringLiteral("Please select the entry to delete."));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    if (Logic<CProL3FunLogic>()->SetStaticRoute(m_rows[selected], 3, *m_pWrites))
        RunWrites(m_pWrites);
}
