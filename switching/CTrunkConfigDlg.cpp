#include "CTrunkConfigDlg.h"

#include "CListCtrlEx.h"
#include "CPQSTrunkPort.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString P = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
const QString kState = P + QStringLiteral(".8.1.2.0");
const QString kMembers = P + QStringLiteral(".8.1.3.1.2");
const QString kMode = P + QStringLiteral(".8.1.3.1.3");

QString ModeText(const QString& code)
{
    if (code == QLatin1String("1"))
        return QStringLiteral("LACP");
    if (code == QLatin1String("2"))
        return QStringLiteral("Static");
    return QStringLiteral("Disable");
}

} // namespace

CTrunkConfigDlg::CTrunkConfigDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Trunk Configuration"), nullptr, RefreshApplyClose, parent)
{
    auto* status = new QGroupBox(QStringLiteral("Trunk status"), this);
    auto* statusRow = new QHBoxLayout(status);
    m_btnEnable = new QCheckBox(QStringLiteral("Enable Trunk"), status);
    m_btnApplyState = new QPushButton(QStringLiteral("&Apply"), status);
    SetControlId(m_btnEnable, 1008);
    SetControlId(m_btnApplyState, 1046);
    statusRow->addWidget(m_btnEnable);
    statusRow->addStretch();
    statusRow->addWidget(m_btnApplyState);
    ContentLayout()->addWidget(status);

    auto* info = new QGroupBox(QStringLiteral("Trunk Information"), this);
    auto* infoLayout = new QVBoxLayout(info);
    m_listTrunk = new CListCtrlEx(info);
    SetControlId(m_listTrunk, 201);
    const std::pair<const char*, int> columns[] = {{"TrunkID    ", CListCtrlEx::LVCFMT_RIGHT},
                                                    {"PortChannelMode    ", CListCtrlEx::LVCFMT_LEFT},
                                                    {"PortMember                            ", CListCtrlEx::LVCFMT_LEFT}};
    for (const auto& [heading, format] : columns) {
        const QString text = QString::fromLatin1(heading);
        m_listTrunk->InsertColumn(m_listTrunk->GetColumnCount(), text, format, m_listTrunk->GetStringWidth(text) + 15);
    }
    m_listTrunk->SetExtendedStyle(0x120);
    m_listTrunk->horizontalHeader()->setStretchLastSection(true);   // long member lists
    infoLayout->addWidget(m_listTrunk);
    ContentLayout()->addWidget(info, 1);

    auto* config = new QGroupBox(QStringLiteral("Trunk Configuration"), this);
    auto* configRow = new QHBoxLayout(config);
    auto* form = new QFormLayout;
    m_editTrunkId = new QLineEdit(config);
    m_editTrunkId->setEnabled(false);
    m_editTrunkId->setMaximumWidth(m_editTrunkId->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    m_cmbMode = new QComboBox(config);
    m_cmbMode->addItems({QStringLiteral("LACP"), QStringLiteral("Static"), QStringLiteral("Disable")});
    SetControlId(m_editTrunkId, 215);
    SetControlId(m_cmbMode, 1018);
    form->addRow(QStringLiteral("Trunk ID:"), m_editTrunkId);
    form->addRow(QStringLiteral("PortChannelMode:"), m_cmbMode);
    configRow->addLayout(form);
    configRow->addStretch();
    m_btnPortMember = new QPushButton(QStringLiteral("&PortMember"), config);
    SetControlId(m_btnPortMember, 1000);
    configRow->addWidget(m_btnPortMember, 0, Qt::AlignBottom);
    ContentLayout()->addWidget(config);

    AddSession(m_cSnmpGetSet, "m_cSnmpGetSet");
    AddSession(m_cSnmpWalk, "m_cSnmpWalk");
    m_pTrunkWalk = NewWalk(m_cSnmpWalk);
    m_pWrite = NewSequence(m_cSnmpGetSet);
    m_pStateRead = new CSnmpScalarRead(m_cSnmpGetSet);

    connect(m_btnApplyState, &QPushButton::clicked, this, &CTrunkConfigDlg::SetLinkAggregationState);
    connect(m_btnPortMember, &QPushButton::clicked, this, &CTrunkConfigDlg::OnPortMember);
    connect(m_listTrunk, &CListCtrlEx::currentRowChanged, this, &CTrunkConfigDlg::OnRowChanged);
    connect(&Gate(), &CReadGate::changed, this, &CTrunkConfigDlg::UpdateButtons);
    UpdateButtons();
    resize(460, 480);
}

CTrunkConfigDlg::~CTrunkConfigDlg()
{
    m_pStateRead->Abandon();
    CloseSessions();
    delete m_pStateRead;
}

void CTrunkConfigDlg::OnRefresh()
{
    GetLinkAggregationState();
    GetTrunkTable();
}

void CTrunkConfigDlg::UpdateButtons()
{
    // The rule of Apply: every read succeeded, no write under way, write
    // permission; "&PortMember" also needs aggregation on.
    const bool bMayWrite = !IsWriting() && g_bWritePermission && Gate().AllSucceeded();
    m_btnApplyState->setEnabled(bMayWrite);
    m_btnPortMember->setEnabled(bMayWrite && m_bStateEnabled);
}

void CTrunkConfigDlg::GetLinkAggregationState()
{
    const int ticket = Gate().Expect(QStringLiteral("link aggregation state"));
    m_pStateRead->Start({kState}, [this, ticket](const WalkOutcome& outcome) {
        // A failed read changes nothing shown.
        if (outcome.Ok()) {
            m_bStateEnabled = m_pStateRead->Text(0) == QLatin1String("1");
            m_btnEnable->setChecked(m_bStateEnabled);
        }
        Gate().Settle(ticket, outcome);
    });
}

void CTrunkConfigDlg::GetTrunkTable()
{
    m_listTrunk->DeleteAllItems();
    const int ticket = Gate().Expect(QStringLiteral("aggregated links"));
    m_pTrunkWalk->Start({kMembers, kMode}, [this, ticket](const WalkOutcome& outcome) {
        // Rows that arrived are shown even when the walk failed; the gate
        // keeps the writes off then.
        ShowTrunkRows();
        Gate().Settle(ticket, outcome);
    });
}

void CTrunkConfigDlg::ShowTrunkRows()
{
    m_listTrunk->DeleteAllItems();
    for (const SnmpRow& row : m_pTrunkWalk->Rows()) {
        int count = 0;
        const QString members = CUtils::PortBitmapToList(row.cells.value(0), count);
        m_listTrunk->AppendRow({row.strIndex, ModeText(row.Text(1)), members});
    }
    // The chosen row's fields follow what the switch now holds.
    const int item = FindRow(m_editTrunkId->text());
    if (item >= 0)
        m_strMembers = m_listTrunk->GetItemText(item, 2);
}

int CTrunkConfigDlg::FindRow(const QString& strId) const
{
    if (strId.isEmpty())
        return -1;
    for (int i = 0; i < m_listTrunk->GetItemCount(); ++i)
        if (m_listTrunk->GetItemText(i, 0) == strId)
            return i;
    return -1;
}

void CTrunkConfigDlg::OnRowChanged(int nItem)
{
    if (nItem < 0 || nItem >= m_listTrunk->GetItemCount())
        return;
    m_strMembers = m_listTrunk->GetItemText(nItem, 2);
    m_editTrunkId->setText(m_listTrunk->GetItemText(nItem, 0));
    const int mode = m_cmbMode->findText(m_listTrunk->GetItemText(nItem, 1));
    if (mode >= 0)
        m_cmbMode->setCurrentIndex(mode);
}

void CTrunkConfigDlg::SetLinkAggregationState()
{
    if (!m_btnApplyState->isEnabled())
        return;
    m_pWrite->Clear();
    m_pWrite->Add(QStringLiteral("link aggregation state"),
                  {SnmpSetValue::Integer(kState, m_btnEnable->isChecked() ? 1 : 2)});
    RunWrites(m_pWrite);
    UpdateButtons();
}

void CTrunkConfigDlg::OnApply()
{
    ApplyTrunkMode();
}

void CTrunkConfigDlg::ApplyTrunkMode()
{
    // The box as the user left it decides, as for the state write.
    if (!m_btnEnable->isChecked()) {
        Message(QStringLiteral("Link Aggregation State is disable."));
        return;
    }
    const QString strId = m_editTrunkId->text();
    if (strId.isEmpty())
        return;
    // The row of this link id, wherever it stands in the list.
    const int item = FindRow(strId);
    if (item < 0)
        return;
    if (m_cmbMode->currentText() == m_listTrunk->GetItemText(item, 1))
        return;
    if (m_listTrunk->GetItemText(item, 2).isEmpty()) {
        Message(QStringLiteral("The minimum port numbers for an aggregated link is 2."));
        return;
    }
    SetTrunkMode(strId);
}

void CTrunkConfigDlg::SetTrunkMode(const QString& strId)
{
    const int index = m_cmbMode->currentIndex();
    const int mode = index == 0 ? 1 : index == 1 ? 2 : 3;
    m_pWrite->Clear();
    m_pWrite->Add(QStringLiteral("channel mode of link %1").arg(strId),
                  {SnmpSetValue::Integer(kMode + QLatin1Char('.') + strId, mode)});
    RunWrites(m_pWrite);
    UpdateButtons();
}

void CTrunkConfigDlg::OnWritesDone()
{
    CConfigDialog::OnWritesDone();
    UpdateButtons();
}

void CTrunkConfigDlg::OnPortMember()
{
    if (m_cmbMode->currentText() == QLatin1String("Disable")) {
        Message(QStringLiteral("Please select the Channel Mode (LACP or Static) first."));
        return;
    }
    const QString strId = m_editTrunkId->text();
    if (strId.isEmpty()) {
        Message(QStringLiteral("Please select the Trunk !"));
        return;
    }
    const int item = FindRow(strId);
    if (item >= 0)
        m_strMembers = m_listTrunk->GetItemText(item, 2);
    CPQSTrunkPort picker(this);
    picker.m_strTrunkId = strId;
    picker.m_strMode = m_cmbMode->currentText();
    picker.m_strMembers = m_strMembers;
    if (m_onPickerOpen)
        m_onPickerOpen(picker);
    if (picker.DoModal() == IDOK)
        Refresh();
}
