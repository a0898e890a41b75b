#include "CSpanTree.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSpanTreePortParam.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "SpanTreeMib.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace SpanTreeMib;

namespace {

// Walk order of the port table; cells are taken by these positions.
const int kColumns[] = {kPortNumber, kPortOn, kPortPriority, kPortCost, kPortEdge, kPortP2P,
                        kPortRestrictedRole, kPortRestrictedTcn, kPortForwardBpdu, kPortHello,
                        kPortState, kPortCostInUse};

QString Coded(const QString& value, std::initializer_list<std::pair<const char*, const char*>> texts)
{
    for (const auto& [code, text] : texts)
        if (value == QLatin1String(code))
            return QString::fromLatin1(text);
    return value;   // a value without a text is shown as received
}

} // namespace

CSpanTree::CSpanTree(QWidget* parent)
    : CConfigDialog(QStringLiteral("Spanning Tree Table"), std::make_unique<CModuleBase>(), RefreshApplyClose, parent)
{
    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, 1088);
    const char* const headings[] = {"Port",          "State",          "Priority",     "External Cost ",
                                    "Edge",          "P2P",            "Restricted Role", "Restricted TCN",
                                    "Forward BPDU ", "Hello Time",     "Port State"};
    for (int i = 0; i < int(std::size(headings)); ++i)
        m_pList->InsertColumn(i, QString::fromLatin1(headings[i]), i == 0 ? CListCtrlEx::LVCFMT_RIGHT
                                                                          : CListCtrlEx::LVCFMT_LEFT);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_FLATSB);
    ContentLayout()->addWidget(m_pList, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Entries:"), this));
    m_pCount = new QLabel(QStringLiteral("0"), this);
    SetControlId(m_pCount, 301);
    row->addWidget(m_pCount);
    row->addStretch(1);
    m_pPortConfig = new QPushButton(QStringLiteral("&Port Config"), this);
    SetControlId(m_pPortConfig, 101);
    m_pPortConfig->setEnabled(false);
    row->addWidget(m_pPortConfig);
    ContentLayout()->addLayout(row);
    // Nothing here is applied: the settings are written per port.
    ApplyButton()->hide();

    CModuleBase* logic = Logic<CModuleBase>();
    m_pLoopWalk = NewWalk(logic->m_cSnmpGet);
    m_pTableWalk = NewWalk(logic->m_cSnmpVlanTable);
    m_pLoopWrites = NewSequence(logic->m_cSnmpSet);
    connect(m_pPortConfig, &QPushButton::clicked, this, &CSpanTree::OnPortConfig);
    connect(m_pList, &CListCtrlEx::rowDoubleClicked, this, [this] {
        if (m_pPortConfig->isEnabled())
            OnPortConfig();
    });
}

bool CSpanTree::OnInitDialog()
{
    resize(qMax(width(), 900), qMax(height(), 480));
    return CConfigDialog::OnInitDialog();
}

void CSpanTree::OnRefresh()
{
    m_pPortConfig->setEnabled(false);
    // The table's ticket first, so the round stays open through the pass.
    const int tableTicket = Gate().Expect(tr("spanning tree ports"));
    if (m_bPassDone) {
        GetPortTable(tableTicket);
        return;
    }
    // Once per opening, before the table is shown.
    m_bPassDone = true;
    const int loopTicket = Gate().Expect(tr("loop-back detection"));
    m_pLoopWalk->Start({LoopDetectColumn()}, [this, loopTicket, tableTicket](const WalkOutcome& outcome) {
        Gate().Settle(loopTicket, outcome);
        LoopDetectPass(tableTicket, outcome);
    });
}

void CSpanTree::LoopDetectPass(int nTableTicket, const WalkOutcome& outcome)
{
    m_pLoopWrites->Clear();
    if (outcome.Ok())
        for (const SnmpRow& row : m_pLoopWalk->Rows())
            if (row.Text(0) == QLatin1String("1"))
                m_pLoopWrites->Add(tr("spanning tree off on port %1 (loop-back detection on)").arg(row.strIndex),
                                   {SnmpSetValue::Integer(StpPortEnableColumn() + u'.' + row.strIndex, 2)});
    if (m_pLoopWrites->StepCount() > 0)
        RunWrites(m_pLoopWrites);   // its end reads the table in a new round
    else
        GetPortTable(nTableTicket);
}

void CSpanTree::OnWritesDone()
{
    Refresh();
}

void CSpanTree::GetPortTable(int nTicket)
{
    m_pList->DeleteAllItems();
    m_pCount->setText(QStringLiteral("0"));
    QStringList columns;
    for (int column : kColumns)
        columns << PortColumn(column);
    m_pTableWalk->Start(columns, [this, ticket = nTicket](const WalkOutcome& outcome) {
        for (const SnmpRow& row : m_pTableWalk->Rows())
            m_pList->AppendRow(RowTexts(row));
        m_pCount->setText(QString::number(m_pList->GetItemCount()));
        m_pList->resizeColumnsToContents();
        // Only a complete table may be edited: the settings dialog moves
        // through its rows.
        m_pPortConfig->setEnabled(outcome.Ok() && m_pList->GetItemCount() > 0);
        Gate().Settle(ticket, outcome);
    });
}

QStringList CSpanTree::RowTexts(const SnmpRow& row)
{
    QStringList t;
    for (int i = 0; i < int(std::size(kColumns)); ++i)
        t << row.Text(i);
    QStringList out;
    out << t[0];
    out << (t[1] == QLatin1String("1") ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
    out << t[2];
    // A configured cost of 0 means automatic: show the cost in use with it.
    QString cost = t[3];
    if (cost == QLatin1String("0") && !t[11].isEmpty() && t[11] != QLatin1String("0"))
        cost = QStringLiteral("AUTO/") + t[11];
    out << cost;
    out << Coded(t[4], {{"0", "False"}, {"1", "True"}, {"2", "Auto"}});
    out << Coded(t[5], {{"0", "Force True"}, {"1", "Force False"}, {"2", "Auto"}});
    out << Coded(t[6], {{"1", "True"}, {"2", "False"}});
    out << Coded(t[7], {{"1", "True"}, {"2", "False"}});
    out << Coded(t[8], {{"1", "Enabled"}, {"2", "Disabled"}});
    out << (t[9].isEmpty() ? QString() : QString::number(t[9].toLongLong() / 100));
    out << Coded(t[10], {{"1", "Disabled"}, {"2", "Discarding"}, {"4", "Learning"}, {"5", "Forwarding"}});
    return out;
}

void CSpanTree::OnPortConfig()
{
    if (m_pList->GetItemCount() == 0)
        return;
    CSpanTreePortParam settings(this);
    if (settings.DoModal() == IDOK)
        Refresh();
}
