#include "CIGMPSnoopingVLANSetting.h"

#include "CIGMPMulticastEntryTable.h"
#include "CIGMPSnoopingLogic.h"
#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CStatusLine.h"
#include "CUtils.h"
#include "ComboPrefix.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

QString EnabledText(const QString& code)
{
    return code == QLatin1String("1") ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

QComboBox* EnabledCombo(QWidget* parent, int id)
{
    auto* combo = new QComboBox(parent);
    combo->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    SetControlId(combo, id);
    return combo;
}

QString Code(const QComboBox* combo)
{
    return combo->currentIndex() == 0 ? QStringLiteral("1") : QStringLiteral("2");
}

} // namespace

CIGMPSnoopingVLANSetting::CIGMPSnoopingVLANSetting(const QString& strGlobalState, QWidget* parent)
    : CConfigDialog(QStringLiteral("The VLAN Settings of IGMP snooping "), std::make_unique<CIGMPSnoopingLogic>(),
                    RefreshApplyClose, parent)
    , m_strGlobalState(strGlobalState)
    , m_members(Logic<CIGMPSnoopingLogic>()->m_cSnmpIgmpGet)
{
    for (auto [session, name] : IgmpLogic()->OwnSessions())
        AddSession(*session, name);
    SetSwallowEnterEscape(true);

    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, 6567);
    const std::pair<const char*, int> columns[] = {{"VLAN ID", 80},      {"VLAN Name", 80},  {"State ", 80},
                                                   {"Querier State", 120}, {"Fast Leave", 100},
                                                   {"Static Router Ports ", 160}};
    for (int i = 0; i < 6; ++i)
        m_pList->InsertColumn(i, QString::fromLatin1(columns[i].first),
                              i == 0 ? CListCtrlEx::LVCFMT_RIGHT : CListCtrlEx::LVCFMT_LEFT, columns[i].second);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    ContentLayout()->addWidget(m_pList, 1);

    auto* settings = new QGroupBox(tr("VLAN Settings"), this);
    auto* settingsRow = new QHBoxLayout(settings);
    auto* form = new QFormLayout;
    m_pVlanId = new QLineEdit(settings);
    m_pVlanId->setReadOnly(true);
    SetControlId(m_pVlanId, 1114);
    m_pVlanName = new QLineEdit(settings);
    m_pVlanName->setReadOnly(true);
    SetControlId(m_pVlanName, 12120);
    form->addRow(QStringLiteral("VLAN ID"), m_pVlanId);
    form->addRow(QStringLiteral("VLAN Name"), m_pVlanName);
    auto* form2 = new QFormLayout;
    form2->addRow(QStringLiteral("State"), m_pState = EnabledCombo(settings, 212));
    form2->addRow(QStringLiteral("Querier State"), m_pQuerier = EnabledCombo(settings, 763));
    form2->addRow(QStringLiteral("Fast Leave "), m_pFastLeave = EnabledCombo(settings, 235));
    settingsRow->addLayout(form);
    settingsRow->addLayout(form2);
    // The base's Apply writes these settings: it sits with them.
    SetControlId(ApplyButton(), 1000);
    settingsRow->addWidget(ApplyButton(), 0, Qt::AlignBottom);
    ContentLayout()->addWidget(settings);

    auto* router = new QGroupBox(QStringLiteral("Static Router Ports"), this);
    SetControlId(router, 1138);
    auto* routerLayout = new QVBoxLayout(router);
    m_pPorts = new CPortGrid(g_nDevicePortNum, 8001, router);
    auto* gridRow = new QHBoxLayout;
    gridRow->addStretch(1);
    gridRow->addWidget(m_pPorts);
    gridRow->addStretch(1);
    routerLayout->addLayout(gridRow);
    auto* routerButtons = new QHBoxLayout;
    routerButtons->addStretch(1);
    m_pApplyRouter = new QPushButton(QStringLiteral("&Apply"), router);
    SetControlId(m_pApplyRouter, 1149);
    m_pApplyRouter->setAutoDefault(false);
    routerButtons->addWidget(m_pApplyRouter);
    routerLayout->addLayout(routerButtons);
    ContentLayout()->addWidget(router);

    auto* row = new QHBoxLayout;
    m_pViewEntries = new QPushButton(QStringLiteral("&View Multicast Entry "), this);
    SetControlId(m_pViewEntries, 324);
    row->addWidget(m_pViewEntries);
    row->addStretch(1);
    ContentLayout()->addLayout(row);

    CIGMPSnoopingLogic* logic = IgmpLogic();
    m_pWalk = NewWalk(logic->m_cSnmpVlanSettingTable);
    m_pWrites = NewSequence(logic->m_cSnmpIgmpSet);
    connect(m_pList, &CListCtrlEx::rowClicked, this, &CIGMPSnoopingVLANSetting::OnClickList);
    connect(m_pState, &QComboBox::activated, this, &CIGMPSnoopingVLANSetting::OnSelchangeVlan);
    connect(m_pApplyRouter, &QPushButton::clicked, this, &CIGMPSnoopingVLANSetting::OnApplyRouterPorts);
    connect(m_pViewEntries, &QPushButton::clicked, this, &CIGMPSnoopingVLANSetting::OnViewMulticastEntry);
    connect(&Gate(), &CReadGate::changed, this, [this] { UpdateRouterApply(); });
}

CIGMPSnoopingLogic* CIGMPSnoopingVLANSetting::IgmpLogic() const
{
    return Logic<CIGMPSnoopingLogic>();
}

bool CIGMPSnoopingVLANSetting::OnInitDialog()
{
    UpdateRouterApply();
    return CConfigDialog::OnInitDialog();
}

bool CIGMPSnoopingVLANSetting::CanApply() const
{
    return m_strGlobalState == QLatin1String("1");
}

void CIGMPSnoopingVLANSetting::UpdateRouterApply()
{
    m_pApplyRouter->setEnabled(CanApply() && g_bWritePermission && Gate().AllSucceeded() && !IsWriting());
}

void CIGMPSnoopingVLANSetting::OnRefresh()
{
    // A refresh keeps the chosen VLAN's controls.
    m_pList->DeleteAllItems();
    const int ticket = Gate().Expect(tr("IGMP snooping VLAN settings"));
    m_pWalk->Start(CIGMPSnoopingLogic::VlanColumns(), [this, ticket](const WalkOutcome& outcome) {
        for (const SnmpRow& row : m_pWalk->Rows()) {
            IGMP_VLAN_INFO info;
            if (CIGMPSnoopingLogic::VlanRow(row, info))
                m_pList->AppendRow({info.strVlanId, info.strVlanName, EnabledText(info.strState),
                                    EnabledText(info.strQuerierState), EnabledText(info.strFastLeave),
                                    info.strRouterPorts});
        }
        Gate().Settle(ticket, outcome);
    });
    ReadTrunkMap();
}

void CIGMPSnoopingVLANSetting::OnClickList(int nRow)
{
    if (nRow < 0 || nRow >= m_pList->GetItemCount())
        return;
    const QString vid = m_pList->GetItemText(nRow, 0);
    const QString state = m_pList->GetItemText(nRow, 2);
    m_pVlanId->setText(vid);
    m_pVlanName->setText(m_pList->GetItemText(nRow, 1));
    SelectComboPrefix(m_pState, state);
    SelectComboPrefix(m_pQuerier, m_pList->GetItemText(nRow, 3));
    SelectComboPrefix(m_pFastLeave, m_pList->GetItemText(nRow, 4));
    const bool on = state == QLatin1String("Enabled");
    m_pQuerier->setEnabled(on);
    m_pFastLeave->setEnabled(on);
    // Another VLAN's router ports must never carry over to this one.
    m_pPorts->SetAll(false);
    std::vector<int> ports(size_t(std::max(g_nDevicePortNum, 0)), 0);
    const QString list = m_pList->GetItemText(nRow, 5);
    if (!list.isEmpty() && !ports.empty()) {
        CUtils::PortListToArray(list, ports.data(), 1);
        m_pPorts->SetPortArray(ports);
    }
    EnableMemberPorts(vid, state);
}

void CIGMPSnoopingVLANSetting::EnableMemberPorts(const QString& strVid, const QString& strState)
{
    m_pPorts->EnableAll(false);
    if (strState == QLatin1String("Disabled")) {
        m_members.Cancel();
        return;
    }
    // Only the VLAN's member ports can be router ports.
    m_members.Start({CIGMPSnoopingLogic::VlanEgressColumn() + u'.' + strVid}, [this, strVid](const WalkOutcome& o) {
        if (!o.Ok()) {
            StatusLine()->ShowReadFailures({tr("member ports of VLAN %1: %2").arg(strVid, o.strWhy)});
            return;
        }
        int count = 0;
        const QString members = CUtils::PortBitmapToList(m_members.Value(0), count);
        std::vector<int> ports(size_t(std::max(g_nDevicePortNum, 0)), 0);
        if (!members.isEmpty() && !ports.empty())
            CUtils::PortListToArray(members, ports.data(), 1);
        for (int p = 1; p <= m_pPorts->GetCount(); ++p)
            m_pPorts->EnablePort(p, ports[size_t(p - 1)] != 0);
    });
}

void CIGMPSnoopingVLANSetting::OnSelchangeVlan()
{
    const bool on = m_pState->currentIndex() == 0;
    m_pQuerier->setEnabled(on);
    m_pFastLeave->setEnabled(on);
}

void CIGMPSnoopingVLANSetting::OnApply()
{
    const QString vid = m_pVlanId->text();
    if (vid.isEmpty())
        return;
    QString old;
    for (int i = 0; i < m_pList->GetItemCount(); ++i)
        if (m_pList->GetItemText(i, 0) == vid)
            old = m_pList->GetItemText(i, 2) == QLatin1String("Enabled") ? QStringLiteral("1") : QStringLiteral("2");
    const QString now = Code(m_pState);
    if (now == QLatin1String("2")
        && Message(QStringLiteral("All router ports of this VLAN will be deleted."),
                   MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
               != IDOK)
        return;
    if (IgmpLogic()->SetVlanSettings(vid, old, now, Code(m_pQuerier), Code(m_pFastLeave), *m_pWrites) == 0) {
        ResetControls();
        Refresh();
        return;
    }
    m_bRouterWrite = false;
    RunWrites(m_pWrites);
}

void CIGMPSnoopingVLANSetting::OnApplyRouterPorts()
{
    if (!m_pApplyRouter->isEnabled())
        return;
    const QString vid = m_pVlanId->text();
    if (vid.isEmpty()) {
        Message(QStringLiteral("Please select VLAN first."));
        return;
    }
    const std::vector<int> ports = m_pPorts->GetPortArray();
    if (!IgmpLogic()->CheckTrunkMembers(ports.data())) {
        Message(QStringLiteral("Members of port channel must have the same status."));
        return;
    }
    IgmpLogic()->SetVlanRouterPorts(vid, CIGMPSnoopingLogic::RouterPortOctets(ports), *m_pWrites);
    m_bRouterWrite = true;
    RunWrites(m_pWrites);
    UpdateRouterApply();
}

void CIGMPSnoopingVLANSetting::OnWritesDone()
{
    ResetControls();
    Refresh();
    UpdateRouterApply();
}

void CIGMPSnoopingVLANSetting::OnWritesFailed(const SnmpSetFailure& failure)
{
    // A refused router-port choice is not left standing as if it were the
    // switch's: the controls start afresh, the message says what failed.
    if (std::exchange(m_bRouterWrite, false))
        ResetControls();
    CConfigDialog::OnWritesFailed(failure);
    UpdateRouterApply();
}

void CIGMPSnoopingVLANSetting::ResetControls()
{
    m_members.Cancel();
    m_pPorts->SetAll(false);
    m_pPorts->EnableAll(true);
    m_pVlanId->clear();
    m_pVlanName->clear();
    for (QComboBox* combo : {m_pState, m_pQuerier, m_pFastLeave}) {
        combo->setCurrentIndex(0);
        combo->setEnabled(true);
    }
}

void CIGMPSnoopingVLANSetting::OnViewMulticastEntry()
{
    CIGMPMulticastEntryTable entries(this);
    entries.DoModal();
}
