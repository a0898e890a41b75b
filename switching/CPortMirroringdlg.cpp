#include "CPortMirroringdlg.h"

#include "CPortGrid.h"
#include "CSetSequence.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CPortMirroringdlg::CPortMirroringdlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Port Mirroring"), std::make_unique<CPortMirroringLogic>(), RefreshApplyClose,
                    parent)
{
    const int n = g_nDevicePortNum;
    auto* top = new QHBoxLayout;
    m_btnEnabled = new QRadioButton(QStringLiteral("Enabled"), this);
    m_btnDisabled = new QRadioButton(QStringLiteral("Disabled"), this);
    SetControlId(m_btnEnabled, 1242);
    SetControlId(m_btnDisabled, 1233);
    m_cmbTarget = new QComboBox(this);
    SetControlId(m_cmbTarget, 1250);
    for (int p = 1; p <= n; ++p)
        m_cmbTarget->addItem(QString::number(p));
    m_cmbTarget->setCurrentIndex(n > 0 ? 0 : -1);
    auto* targetLabel = new QLabel(QStringLiteral("TargetPort"), this);
    targetLabel->setBuddy(m_cmbTarget);
    top->addWidget(m_btnEnabled);
    top->addWidget(m_btnDisabled);
    top->addSpacing(24);
    top->addWidget(targetLabel);
    top->addWidget(m_cmbTarget);
    top->addStretch();
    ContentLayout()->addLayout(top);

    auto* sources = new QGroupBox(QStringLiteral("Source Port Selection"), this);
    auto* grid = new QGridLayout(sources);
    grid->addWidget(new QLabel(QStringLiteral("Sniffer\nMode"), sources), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Select\nAll"), sources), 0, 2, Qt::AlignHCenter);
    const char* const names[] = {"TX", "RX", "Both", "None"};
    for (int m = 0; m < 4; ++m) {
        grid->addWidget(new QLabel(QString::fromLatin1(names[m]), sources), m + 1, 0);
        m_rows[size_t(m)] = new CPortGrid(n, 8001 + 100 * m, sources);
        grid->addWidget(m_rows[size_t(m)], m + 1, 1, Qt::AlignHCenter);
        m_all[size_t(m)] = new QPushButton(QStringLiteral("All"), sources);
        SetControlId(m_all[size_t(m)], 1258 + m);
        grid->addWidget(m_all[size_t(m)], m + 1, 2, Qt::AlignVCenter);
        const Mode mode = Mode(m);
        connect(m_rows[size_t(m)], &CPortGrid::portToggled, this, [this, mode](int port, bool) { OnPortButton(mode, port); });
        connect(m_all[size_t(m)], &QPushButton::clicked, this, [this, mode] { OnAll(mode); });
    }
    grid->setColumnStretch(1, 1);
    ContentLayout()->addWidget(sources);

    CPortMirroringLogic* logic = MirrorLogic();
    AddSession(logic->m_cSnmpMirror, "m_cSnmpMirror");
    AddSession(logic->m_cSnmpMirrorTrunk, "m_cSnmpMirrorTrunk");
    AddSession(logic->m_cSnmpMirrorSet, "m_cSnmpMirrorSet");
    m_pWrite = NewSequence(logic->m_cSnmpMirrorSet);

    connect(m_btnEnabled, &QRadioButton::clicked, this, &CPortMirroringdlg::OnEnabled);
    connect(m_btnDisabled, &QRadioButton::clicked, this, &CPortMirroringdlg::OnDisabled);
    connect(m_cmbTarget, &QComboBox::activated, this, &CPortMirroringdlg::OnSelchangeTargetPort);
    SetSwallowEnterEscape(true);
}

CPortMirroringdlg::~CPortMirroringdlg()
{
    MirrorLogic()->Close();
}

void CPortMirroringdlg::done(int result)
{
    // The base refuses to close in the middle of a write (but for OK).
    if (!IsWriting() || result == QDialog::Accepted)
        MirrorLogic()->Close();
    CConfigDialog::done(result);
}

int CPortMirroringdlg::TargetPort() const
{
    return m_cmbTarget->currentText().toInt();
}

CPortMirroringdlg::Mode CPortMirroringdlg::ModeOf(int nPort) const
{
    for (int m = 0; m < 4; ++m)
        if (m_rows[size_t(m)]->IsChecked(nPort))
            return Mode(m);
    return None;
}

void CPortMirroringdlg::SetMode(int nPort, Mode mode)
{
    for (int m = 0; m < 4; ++m)
        m_rows[size_t(m)]->SetChecked(nPort, m == mode);
}

void CPortMirroringdlg::EnableBoxes(bool bEnable)
{
    for (CPortGrid* row : m_rows)
        row->EnableAll(bEnable);
}

void CPortMirroringdlg::OnRefresh()
{
    EnableBoxes(true);
    MirrorLogic()->GetTrunkInfo(Gate());
    MirrorLogic()->GetMirror(Gate());
}

void CPortMirroringdlg::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY || nCode != MN_ROW || !pData)
        return;
    const auto* row = static_cast<const MIRROR_ROW*>(pData);
    m_btnEnabled->setChecked(row->bEnabled == 1);
    m_btnDisabled->setChecked(row->bEnabled != 1);
    m_cmbTarget->setEnabled(row->bEnabled == 1);
    if (row->bEnabled != 1)
        EnableBoxes(false);
    const int target = m_cmbTarget->findText(row->strTarget);
    if (target >= 0)
        m_cmbTarget->setCurrentIndex(target);
    m_nTargetPort = row->strTarget.toInt();
    for (CPortGrid* grid : m_rows)
        grid->EnablePort(m_nTargetPort, false);
    const int n = Row(Tx)->GetCount();
    for (int p = 1; p <= n; ++p) {
        const MIRROR_PORT& port = row->pPorts[p - 1];
        SetMode(p, port.bRx && port.bTx ? Both : port.bRx ? Rx : port.bTx ? Tx : None);
    }
}

void CPortMirroringdlg::OnPortButton(Mode mode, int nPort)
{
    SetMode(nPort, mode);   // one mode per port; a click never leaves none
}

void CPortMirroringdlg::OnAll(Mode mode)
{
    const int target = TargetPort();
    for (int p = 1; p <= Row(Tx)->GetCount(); ++p)
        SetMode(p, mode == None || p != target ? mode : None);
}

void CPortMirroringdlg::OnSelchangeTargetPort()
{
    EnableBoxes(true);
    const int target = TargetPort();
    if (m_cmbTarget->currentText().isEmpty())
        return;
    for (CPortGrid* grid : m_rows)
        grid->EnablePort(target, false);
    SetMode(target, None);
}

void CPortMirroringdlg::OnEnabled()
{
    m_cmbTarget->setEnabled(true);
    EnableBoxes(true);
    for (CPortGrid* grid : m_rows)
        grid->EnablePort(TargetPort(), false);
}

void CPortMirroringdlg::OnDisabled()
{
    m_cmbTarget->setEnabled(false);
    EnableBoxes(false);
}

void CPortMirroringdlg::OnApply()
{
    CPortMirroringLogic* logic = MirrorLogic();
    m_pWrite->Clear();
    if (m_btnDisabled->isChecked()) {
        logic->SetMirror(*m_pWrite, QStringLiteral("2"), QString());
        RunWrites(m_pWrite);
        return;
    }
    const int n = Row(Tx)->GetCount();
    QString strTarget;
    qint64 target = 0;
    if (!ParseStrictInt(m_cmbTarget->currentText(), 1, n, &target, &strTarget))
        return;
    if (logic->m_pTrunkIds[size_t(target - 1)] != 0) {
        Message(QStringLiteral("Target Port is Trunking Port!"));
        return;
    }
    bool anySource = false;
    for (int p = 1; p <= n; ++p) {
        MIRROR_PORT& port = logic->m_pMirrorPorts[size_t(p - 1)];
        // The target is never its own source, whatever was read.
        const Mode mode = p == target ? None : ModeOf(p);
        port.bTx = mode == Both || mode == Tx;
        port.bRx = mode == Both || mode == Rx;
        port.nTrunkId = logic->m_pTrunkIds[size_t(p - 1)];
        port.bChecked = port.nTrunkId != 0 ? 0 : 1;
        anySource = anySource || port.bTx || port.bRx;
    }
    if (!anySource) {
        Message(QStringLiteral("Must at least select one source port."));
        Refresh();
        return;
    }
    if (!logic->CheckSourcePorts()) {
        Message(QStringLiteral("Must select whole ports of the aggregated link with the same Sniffer Mode to source port."));
        Refresh();
        return;
    }
    logic->SetMirror(*m_pWrite, QStringLiteral("1"), strTarget);
    RunWrites(m_pWrite);
}
