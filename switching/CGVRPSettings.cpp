#include "CGVRPSettings.h"

#include "CGVRPFunLogic.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "VLAN_ENTRY.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

QComboBox* Combo(QWidget* parent, int id, const QStringList& items, int selected)
{
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    SetControlId(combo, id);
    return combo;
}

} // namespace

CGVRPSettings::CGVRPSettings(QWidget* parent)
    : CConfigDialog(QStringLiteral("GVRP Settings"), std::make_unique<CGVRPFunLogic>(), RefreshApplyClose, parent)
    , m_stateRead(Logic<CGVRPFunLogic>()->m_cSnmpGet)
{
    CGVRPFunLogic* logic = GvrpLogic();
    AddSession(logic->m_cSnmpPortTable, "m_cSnmpPortTable");

    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, 1234);
    const int right = CListCtrlEx::LVCFMT_RIGHT;
    m_pList->AppendColumns(
        {{"Port", 50, right}, {"PVID", 80, right}, {"GVRP", 110}, {"Ingress Checking", 130}, {"Acceptable Frame Type", 140}});
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT
                              | CListCtrlEx::LVS_EX_FLATSB);
    m_pList->setMinimumHeight(fontMetrics().height() * 14);
    ContentLayout()->addWidget(m_pList, 1);

    auto* box = new QGroupBox(QStringLiteral("GVRP Port Setting"), this);
    auto* grid = new QGridLayout(box);
    QStringList ports;
    for (int p = 1; p <= logic->PortCount(); ++p)
        ports << QString::number(p);
    m_pFromPort = Combo(box, 1100, ports, 0);
    m_pToPort = Combo(box, 211, ports, int(ports.size()) - 1);
    m_pPvid = new QLineEdit(box);
    m_pPvid->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_pPvid));
    m_pPvid->setMaxLength(4);
    SetControlId(m_pPvid, 1235);
    m_pGvrp = Combo(box, 1236, {QStringLiteral("Disabled"), QStringLiteral("Enabled")}, 0);
    m_pIngress = Combo(box, 1238, {QStringLiteral("Disabled"), QStringLiteral("Enabled")}, 1);
    m_pFrameType = Combo(box, 1237, {QStringLiteral("Admit All"), QStringLiteral("Tagged Only")}, 0);
    const std::pair<const char*, QWidget*> fields[] = {
        {"From Port", m_pFromPort}, {"To Port", m_pToPort},         {"PVID(1-4094)", m_pPvid},
        {"GVRP", m_pGvrp},          {"Ingree Checking", m_pIngress}, {"Acceptable Frame Type", m_pFrameType}};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(fields[i].first), box), 0, i);
        grid->addWidget(fields[i].second, 1, i);
    }
    ContentLayout()->addWidget(box);

    SetControlId(RefreshButton(), 1044);
    SetControlId(ApplyButton(), 1149);
    SetControlId(CloseButton(), 1128);
    m_pPortWalk = NewWalk(logic->m_cSnmpPortTable);
    m_pVlanWalk = NewWalk(logic->m_cSnmpVlanTable);
    m_pWrites = NewSequence(logic->m_cSnmpSet);
    EnablePortCombos(false);
    LinkPortRange(m_pFromPort, m_pToPort);
}

CGVRPFunLogic* CGVRPSettings::GvrpLogic() const
{
    return Logic<CGVRPFunLogic>();
}

void CGVRPSettings::EnablePortCombos(bool bOn)
{
    for (QComboBox* combo : {m_pGvrp, m_pIngress, m_pFrameType})
        combo->setEnabled(bOn);
}

void CGVRPSettings::OnRefresh()
{
    m_pList->DeleteAllItems();
    const int stateTicket = Gate().Expect(tr("GVRP state"));
    m_stateRead.Start({CGVRPFunLogic::StateOid()}, [this, stateTicket](const WalkOutcome& outcome) {
        EnablePortCombos(outcome.Ok() && m_stateRead.Text(0) == QLatin1String("1"));
        Gate().Settle(stateTicket, outcome);
    });
    const int portTicket = Gate().Expect(tr("GVRP port table"));
    m_pPortWalk->Start(CGVRPFunLogic::PortColumns(),
                       [this, portTicket](const WalkOutcome& outcome) { OnPortWalkEnd(portTicket, outcome); });
    const int vlanTicket = Gate().Expect(tr("VLAN table"));
    m_pVlanWalk->Start({VlanOid::kName},
                       [this, vlanTicket](const WalkOutcome& outcome) { OnVlanWalkEnd(vlanTicket, outcome); });
    // Apply checks the range against the links: it waits for this read too.
    ReadTrunkMap();
}

void CGVRPSettings::OnPortWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    // What arrived is listed even when the walk stopped early; the status
    // line then says why and Apply stays off.
    for (const SnmpRow& row : m_pPortWalk->Rows()) {
        const GVRP_PORT_INFO info = CGVRPFunLogic::PortRow(row);
        m_pList->AppendRow({info.strPort, info.strPvid, info.strGvrp, info.strIngress, info.strFrameType});
    }
    Gate().Settle(nTicket, outcome);
}

void CGVRPSettings::OnVlanWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    QString list;
    for (const SnmpRow& row : m_pVlanWalk->Rows())
        list += row.strIndex + u',';
    GvrpLogic()->m_strVlanList = list;
    Gate().Settle(nTicket, outcome);
}

void CGVRPSettings::OnApply()
{
    qint64 pvid = 0;
    if (!ParseStrictInt(m_pPvid->text(), 1, 4094, &pvid)) {
        Message(QStringLiteral("PVID Range is 1-4094"));
        return;
    }
    const int from = m_pFromPort->currentIndex() + 1;
    const int to = m_pToPort->currentIndex() + 1;
    CGVRPFunLogic* logic = GvrpLogic();
    const QString refusal = logic->CheckLAGroup(from, to);
    if (!refusal.isEmpty()) {
        Message(refusal);
        return;
    }
    const int gvrp = m_pGvrp->currentIndex() == 1 ? 1 : 2;
    const int ingress = m_pIngress->currentIndex() == 1 ? 1 : 2;
    const int frameType = m_pFrameType->currentIndex() == 0 ? 1 : 2;
    m_pWrites->Clear();
    logic->SetPortSettings(from, to, pvid, gvrp, ingress, frameType, *m_pWrites);
    RunWrites(m_pWrites);
}
