#include "CTrafficSegDlg.h"

#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTrafficSegDlg::CTrafficSegDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Traffic Segmentation Settings "), std::make_unique<CTrafficSeg>(),
                    RefreshApplyClose, parent)
{
    const int ports = qMax(0, g_nDevicePortNum);

    auto* global = new QGroupBox(QStringLiteral("Global Settings"), this);
    auto* globalRow = new QHBoxLayout(global);
    m_pEnable = new QCheckBox(QStringLiteral("Enable Forwarding Port Settings"), global);
    SetControlId(m_pEnable, IDC_ENABLE);
    m_pApplyState = new QPushButton(QStringLiteral("&Apply"), global);
    SetControlId(m_pApplyState, IDC_APPLY_STATE);
    globalRow->addWidget(m_pEnable);
    globalRow->addStretch();
    globalRow->addWidget(m_pApplyState);
    ContentLayout()->addWidget(global);

    auto* from = new QHBoxLayout;
    m_pFrom = new QComboBox(this);
    SetControlId(m_pFrom, IDC_FROM_PORT);
    m_pFrom->addItem(QStringLiteral("ALL"));
    for (int p = 1; p <= ports; ++p)
        m_pFrom->addItem(QString::number(p));
    auto* fromLabel = new QLabel(QStringLiteral("From Port"), this);
    fromLabel->setBuddy(m_pFrom);
    from->addWidget(fromLabel);
    from->addWidget(m_pFrom);
    from->addStretch();
    ContentLayout()->addLayout(from);

    auto* to = new QGroupBox(this);
    SetControlId(to, IDC_PORT_BOX);
    auto* toLayout = new QVBoxLayout(to);
    auto* toLabel = new QLabel(QStringLiteral("To Port"), to);
    SetControlId(toLabel, IDC_TO_PORT);
    toLayout->addWidget(toLabel);
    m_pGrid = new CPortGrid(ports, IDC_FIRST_PORT, to);
    toLayout->addWidget(m_pGrid, 0, Qt::AlignHCenter);
    auto* portButtons = new QHBoxLayout;
    m_pSelectAll = new QPushButton(QStringLiteral("Select All"), to);
    SetControlId(m_pSelectAll, IDC_SELECT_ALL);
    m_pClear = new QPushButton(QStringLiteral("&Clear"), to);
    SetControlId(m_pClear, IDC_CLEAR);
    SetControlId(ApplyButton(), IDC_APPLY_PORTS);
    portButtons->addStretch();
    portButtons->addWidget(m_pSelectAll);
    portButtons->addWidget(m_pClear);
    portButtons->addWidget(ApplyButton());
    toLayout->addLayout(portButtons);
    ContentLayout()->addWidget(to);

    auto* table = new QGroupBox(QStringLiteral("Forwarding Port Table"), this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    SetControlId(m_pList, IDC_LIST);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT
                              | CListCtrlEx::LVS_EX_FLATSB);
    m_pList->AppendColumns({{"Port", 150}, {"Forwarding Port", 300}}, true);
    tableLayout->addWidget(m_pList);
    ContentLayout()->addWidget(table, 1);
    SetControlId(RefreshButton(), IDC_REFRESH);

    CTrafficSeg* logic = SegLogic();
    AddSession(logic->m_cSnmpSeg, "m_cSnmpSeg");
    AddSession(logic->m_cSnmpSegSet, "m_cSnmpSegSet");
    m_pWalk = NewWalk(NewSession("m_cSnmpForward"));
    m_pStateRead = NewScalarRead(logic->m_cSnmpSeg);
    m_pWrites = NewSequence(logic->m_cSnmpSegSet);
    GateButton(m_pApplyState);

    connect(m_pApplyState, &QPushButton::clicked, this, &CTrafficSegDlg::OnApplyState);
    connect(m_pFrom, &QComboBox::activated, this, &CTrafficSegDlg::OnSelchangePort);
    connect(m_pSelectAll, &QPushButton::clicked, this, &CTrafficSegDlg::OnSelectAll);
    connect(m_pClear, &QPushButton::clicked, this, &CTrafficSegDlg::OnClear);
    connect(&Gate(), &CReadGate::settled, this, [this] { RefreshButton()->setEnabled(!IsWriting()); });
    SetSwallowEnterEscape(true);
    ShowState();
}

int CTrafficSegDlg::FromPortNumber() const
{
    return m_pFrom->currentIndex() <= 0 ? 0 : m_pFrom->currentText().toInt();
}

bool CTrafficSegDlg::CanApply() const
{
    return SegLogic()->m_strState == QLatin1String("1");
}

void CTrafficSegDlg::OnRefresh()
{
    m_pFrom->setCurrentIndex(0);
    m_pGrid->EnableAll(true);
    m_pGrid->SetAll(false);
    RefreshButton()->setEnabled(false);
    m_forwardPorts.clear();
    m_pList->DeleteAllItems();
    SegLogic()->m_strState.clear();
    ShowState();

    const int ports = m_pGrid->GetCount();
    const int ticket = Gate().Expect(QStringLiteral("forwarding table"));
    m_pWalk->Start({CTrafficSeg::ForwardColumn(1), CTrafficSeg::ForwardColumn(2)},
                   [this, ticket, ports](const WalkOutcome& outcome) {
                       for (const SnmpRow& row : m_pWalk->Rows()) {
                           bool ok = false;
                           const int port = row.strIndex.toInt(&ok);
                           if (!ok || port < 1)
                               continue;
                           const QByteArray bitmap = row.cells.value(1);
                           QString range;
                           CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(bitmap.constData()),
                                                         int(bitmap.size()), 1, ports, range);
                           int count = 0;
                           m_forwardPorts.insert(port, CUtils::PortBitmapToList(bitmap, count));
                           m_pList->AppendRow({row.strIndex, range});
                       }
                       Gate().Settle(ticket, outcome);
                   });
    ReadTrunkMap();
    SegLogic()->GetState(*m_pStateRead, Gate());
}

void CTrafficSegDlg::OnModuleNotify(unsigned nMessage, int nCode, const void*)
{
    if (nMessage == WM_MODULE_NOTIFY && nCode == MN_READ_FINISHED)
        ShowState();
}

void CTrafficSegDlg::ShowState()
{
    const bool on = SegLogic()->m_strState == QLatin1String("1");
    m_pEnable->setChecked(on);
    m_pFrom->setEnabled(on);
    m_pGrid->setEnabled(on);
    m_pSelectAll->setEnabled(on);
    m_pClear->setEnabled(on);
    UpdateApply();
}

void CTrafficSegDlg::OnSelchangePort()
{
    const int port = FromPortNumber();
    m_pGrid->EnableAll(true);
    if (port == 0) {
        m_pGrid->SetAll(false);
        return;
    }
    m_pGrid->EnablePort(port, false);
    std::vector<int> selection(size_t(m_pGrid->GetCount()), 0);
    CUtils::PortListToArray(m_forwardPorts.value(port), selection.data(), 1);
    m_pGrid->SetPortArray(selection);
}

void CTrafficSegDlg::OnSelectAll()
{
    m_pGrid->SetAll(true);
}

void CTrafficSegDlg::OnClear()
{
    const int port = FromPortNumber();
    for (int p = 1; p <= m_pGrid->GetCount(); ++p)
        if (p != port)
            m_pGrid->SetChecked(p, false);
}

void CTrafficSegDlg::OnApplyState()
{
    if (!m_pApplyState->isEnabled())
        return;
    m_pWrites->Clear();
    SegLogic()->SetState(*m_pWrites, m_pEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
    RunWrites(m_pWrites);
}

void CTrafficSegDlg::OnApply()
{
    CTrafficSeg::ForwardSets sets;
    if (!SegLogic()->BuildForwardSets(FromPortNumber(), m_pGrid->GetPortArray(), sets)) {
        Message(QStringLiteral("The link aggregation member port can not be configured."));
        return;
    }
    m_pWrites->Clear();
    SegLogic()->SetForwardPorts(*m_pWrites, sets);
    RunWrites(m_pWrites);   // the re-read that follows clears the boxes
}
