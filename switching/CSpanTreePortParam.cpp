#include "CSpanTreePortParam.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSpanTree.h"
#include "ComboPrefix.h"
#include "ControlId.h"
#include "SpanTreeMib.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace SpanTreeMib;

namespace {

// Columns of the table's list.
enum { kColPort = 0, kColPriority = 2, kColCost = 3, kColEdge = 4, kColP2P = 5, kColRole = 6, kColTcn = 7,
       kColBpdu = 8, kColHello = 9 };

QComboBox* Combo(QWidget* parent, int id, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    SetControlId(combo, id);
    return combo;
}

} // namespace

CSpanTreePortParam::CSpanTreePortParam(CSpanTree* pSpanTree)
    : CConfigDialog(QStringLiteral(" Port STP Configuration"), std::make_unique<CModuleBase>(), RefreshApplyClose,
                    pSpanTree)
    , m_pSpanTree(pSpanTree)
    , m_read(Logic<CModuleBase>()->m_cSnmpGet)
{
    const QStringList enabled = {QStringLiteral("Enabled"), QStringLiteral("Disabled")};
    const QStringList trueFalse = {QStringLiteral("True"), QStringLiteral("False")};

    auto* moves = new QHBoxLayout;
    m_pPrev = new QPushButton(QStringLiteral("<= Prev Port"), this);
    SetControlId(m_pPrev, 1111);
    m_pNext = new QPushButton(QStringLiteral("Next Port =>"), this);
    SetControlId(m_pNext, 2222);
    moves->addWidget(m_pPrev);
    moves->addStretch(1);
    moves->addWidget(new QLabel(QStringLiteral("Port"), this));
    m_pPort = new QLabel(this);
    SetControlId(m_pPort, 1075);
    moves->addWidget(m_pPort);
    moves->addStretch(1);
    moves->addWidget(m_pNext);
    ContentLayout()->addLayout(moves);

    auto* box = new QGroupBox(this);
    auto* left = new QFormLayout;
    auto* right = new QFormLayout;
    m_pEnable = new QCheckBox(box);
    SetControlId(m_pEnable, 1009);
    left->addRow(QStringLiteral("Enable:"), m_pEnable);
    m_pPriority = new QComboBox(box);
    m_pPriority->setEditable(true);
    for (int p = 0; p <= 240; p += 16)
        m_pPriority->addItem(QString::number(p));
    m_pPriority->setEditText(QStringLiteral("0"));
    SetControlId(m_pPriority, 1007);
    left->addRow(QStringLiteral("Priority:"), m_pPriority);
    m_pCost = new QLineEdit(box);
    SetTextLimit(m_pCost, 10);
    SetControlId(m_pCost, 23);
    left->addRow(QStringLiteral("Cost:(1-200000000,\n0=auto)"), m_pCost);
    m_pHello = new QLineEdit(box);
    SetTextLimit(m_pHello, 4);
    SetControlId(m_pHello, 1167);
    left->addRow(QStringLiteral("Hello Time"), m_pHello);
    right->addRow(QStringLiteral("Migrate"), m_pMigrate = Combo(box, 1162, enabled));
    right->addRow(QStringLiteral("P2P"), m_pP2P = Combo(box, 1163, {QStringLiteral("Force True"),
                                                                   QStringLiteral("Force False"),
                                                                   QStringLiteral("Auto")}));
    right->addRow(QStringLiteral("Forward BPDU"), m_pForwardBpdu = Combo(box, 1164, enabled));
    right->addRow(QStringLiteral("Edge"), m_pEdge = Combo(box, 1165, {QStringLiteral("True"), QStringLiteral("False"),
                                                                     QStringLiteral("Auto")}));
    right->addRow(QStringLiteral("Restricted Role"), m_pRestrictedRole = Combo(box, 1166, trueFalse));
    right->addRow(QStringLiteral("Restricted TCN"), m_pRestrictedTcn = Combo(box, 1161, trueFalse));
    auto* columns = new QHBoxLayout(box);
    columns->addLayout(left);
    columns->addSpacing(24);
    columns->addLayout(right);
    ContentLayout()->addWidget(box);

    ApplyButton()->setText(QStringLiteral("&OK"));
    CloseButton()->setText(QStringLiteral("&Cancel"));

    CModuleBase* logic = Logic<CModuleBase>();
    m_pWrite = NewSequence(logic->m_cSnmpSet);
    connect(m_pPrev, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(m_pNext, &QPushButton::clicked, this, [this] { Move(+1); });
}

bool CSpanTreePortParam::OnInitDialog()
{
    const int selected = m_pSpanTree->List()->GetFirstSelectedItem();
    m_nRow = selected < 0 ? 0 : selected;
    return CConfigDialog::OnInitDialog();
}

void CSpanTreePortParam::Move(int nStep)
{
    // Edits not applied are dropped, as the next row is shown.
    m_nRow += nStep;
    Refresh();
}

void CSpanTreePortParam::ShowRow()
{
    const CListCtrlEx* list = m_pSpanTree->List();
    const int n = list->GetItemCount();
    m_nRow = qBound(0, m_nRow, qMax(0, n - 1));
    // The first row has no previous one; with a single row, Next stays
    // usable and shows that row again.
    m_pPrev->setEnabled(m_nRow > 0);
    m_pNext->setEnabled(m_nRow == 0 || m_nRow < n - 1);

    auto cell = [&](int column) { return list->GetItemText(m_nRow, column); };
    m_pPort->setText(cell(kColPort));
    m_pPriority->setEditText(cell(kColPriority));
    // "AUTO/20000" is an automatic cost: the edit shows 0, so that OK keeps
    // it automatic unless the user types a cost.
    const QString cost = cell(kColCost);
    m_pCost->setText(cost.startsWith(QLatin1String("AUTO/")) ? QStringLiteral("0") : cost);
    SelectComboPrefix(m_pEdge, cell(kColEdge));
    SelectComboPrefix(m_pP2P, cell(kColP2P));
    SelectComboPrefix(m_pRestrictedRole, cell(kColRole));
    SelectComboPrefix(m_pRestrictedTcn, cell(kColTcn));
    SelectComboPrefix(m_pForwardBpdu, cell(kColBpdu));
    m_pHello->setText(cell(kColHello));
}

void CSpanTreePortParam::OnRefresh()
{
    ShowRow();
    ReadTrunkMap();
    const QString port = m_pPort->text();
    const int ticket = Gate().Expect(tr("settings of port %1").arg(port));
    m_read.Start({PortColumn(kPortMigrate) + u'.' + port, PortColumn(kPortOn) + u'.' + port, Bridge(kVersion),
                  Bridge(kMaxAge), LoopDetectColumn() + u'.' + port},
                 [this, ticket](const WalkOutcome& outcome) {
                     if (outcome.Ok())
                         OnPortReply(outcome);
                     Gate().Settle(ticket, outcome);
                 });
}

void CSpanTreePortParam::OnPortReply(const WalkOutcome&)
{
    m_pMigrate->setCurrentIndex(m_read.Text(0) == QLatin1String("1") ? 0 : 1);
    m_pEnable->setChecked(m_read.Text(1) == QLatin1String("1"));
    m_strStpVersion = m_read.Text(2);
    m_strBridgeMaxAge = m_read.Text(3);
    m_strLbdState = m_read.Text(4);
    // The port's own hello time counts in MSTP only.
    m_pHello->setEnabled(m_strStpVersion == QLatin1String("3"));
}

void CSpanTreePortParam::OnApply()
{
    qint64 cost = 0;
    if (!ParseStrictInt(m_pCost->text(), 0, 200000000, &cost)) {
        Message(QStringLiteral("Invalid Path Cost(1-200000000)"));
        return;
    }
    const QString port = m_pPort->text();
    const int p = port.toInt();
    const std::vector<int>& trunks = Logic<CModuleBase>()->m_TrunkPorts;
    if (p >= 1 && p <= int(trunks.size()) && trunks[p - 1] != 0) {
        Message(QStringLiteral("Cannot add ports with different STP configurations to an aggregated link."));
        return;
    }
    qint64 priority = 0;
    if (!ParseStrictInt(m_pPriority->currentText(), 0, 240, &priority)) {
        Message(QStringLiteral("Invalid Priority(0-240)."));
        return;
    }
    const bool on = m_pEnable->isChecked();
    if (on && m_strLbdState == QLatin1String("1")) {
        Message(QStringLiteral("STP port ") + port + QStringLiteral(" can not both support Spanning Tree and LBD-enabled mode"));
        return;
    }
    auto cell = [&](int column) { return PortColumn(column) + u'.' + port; };
    QList<SnmpSetValue> values = {
        SnmpSetValue::Integer(cell(kPortOn), on ? 1 : 0),
        SnmpSetValue::Integer(cell(kPortPriority), priority),
        SnmpSetValue::Integer(cell(kPortCost), cost),
        SnmpSetValue::Integer(cell(kPortRestrictedTcn), m_pRestrictedTcn->currentIndex() + 1),
        SnmpSetValue::Integer(cell(kPortMigrate), m_pMigrate->currentIndex() + 1),
        SnmpSetValue::Integer(cell(kPortP2P), m_pP2P->currentIndex()),
        SnmpSetValue::Integer(cell(kPortForwardBpdu), m_pForwardBpdu->currentIndex() + 1),
        SnmpSetValue::Integer(cell(kPortRestrictedRole), m_pRestrictedRole->currentIndex() + 1),
    };
    static const int kEdgeCodes[] = {1, 0, 2};   // True, False, Auto
    if (m_pEdge->currentIndex() >= 0)
        values << SnmpSetValue::Integer(cell(kPortEdge), kEdgeCodes[m_pEdge->currentIndex()]);
    if (m_strStpVersion == QLatin1String("3")) {
        // The relation is checked before the range, as the switch's own
        // messages come in that order; text that is no number fails the range.
        qint64 hello = 0;
        const bool number = ParseStrictInt(m_pHello->text(), 0, 1000000, &hello);
        const double maxAge = double(m_strBridgeMaxAge.toLongLong() / 100);
        if (number && maxAge < 2 * (double(hello) + 1.0)) {
            Message(QStringLiteral("To set the parameters Hello Time and Max Age the following relation is to be "
                                   "satisfied: \nMax Age >= (2*(Hello Time + 1.0))"));
            return;
        }
        if (!number || hello < 1 || hello > 10) {
            Message(QStringLiteral("Invalid Hello Time value, the valid Hello Time range is (1-10)s !"));
            return;
        }
        values << SnmpSetValue::Integer(cell(kPortHello), hello * 100);
    }
    m_pWrite->Clear();
    m_pWrite->Add(tr("spanning tree settings of port %1").arg(port), values);
    RunWrites(m_pWrite);
}

void CSpanTreePortParam::OnWritesDone()
{
    accept();
}
