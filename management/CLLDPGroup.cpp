#include "CLLDPGroup.h"

#include "CSetSequence.h"
#include "CStatusLine.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "LldpSettings.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace LldpSettings;

namespace {

const QString kChassisSubtype = QStringLiteral("1.0.8802.1.1.2.1.3.1.0");
const QString kChassisId = QStringLiteral("1.0.8802.1.1.2.1.3.2.0");
const QString kSysName = QStringLiteral("1.0.8802.1.1.2.1.3.3.0");
const QString kSysDescr = QStringLiteral("1.0.8802.1.1.2.1.3.4.0");

QLineEdit* NumberEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    SetTextLimit(edit, 5);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    SetControlId(edit, id);
    return edit;
}

QLabel* ValueLabel(QWidget* parent, int id)
{
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    SetControlId(label, id);
    return label;
}

} // namespace

CLLDPGroup::CLLDPGroup(QWidget* parent)
    : CConfigDialog(QStringLiteral("LLDP Global Settings"), nullptr, RefreshClose, parent)
    , m_read(m_cCommonSNMP)
{
    auto* stateBox = new QGroupBox(tr("LLDP State"), this);
    auto* stateRow = new QHBoxLayout(stateBox);
    m_pEnable = new QCheckBox(QStringLiteral(" LLDP Enable "), stateBox);
    SetControlId(m_pEnable, 1091);
    m_pEnableApply = new QPushButton(tr("&Apply"), stateBox);
    SetControlId(m_pEnableApply, 1094);
    stateRow->addWidget(m_pEnable);
    stateRow->addStretch(1);
    stateRow->addWidget(m_pEnableApply);
    ContentLayout()->addWidget(stateBox);

    auto* timerBox = new QGroupBox(tr("LLDP Timers"), this);
    auto* timerLayout = new QVBoxLayout(timerBox);
    auto* timerForm = new QFormLayout;
    m_pHold = NumberEdit(timerBox, 1093);
    m_pInterval = NumberEdit(timerBox, 1105);
    m_pReinit = NumberEdit(timerBox, 1005);
    m_pDelay = NumberEdit(timerBox, 1008);
    timerForm->addRow(QStringLiteral("Message TX Hold Multipier(2 - 10)"), m_pHold);
    timerForm->addRow(QStringLiteral("Message TX Interval(5 - 32768)"), m_pInterval);
    timerForm->addRow(QStringLiteral("LLDP Reinit Delay (1 - 10)"), m_pReinit);
    timerForm->addRow(QStringLiteral("LLDP TX Delay (1 - 8192)"), m_pDelay);
    timerLayout->addLayout(timerForm);
    auto* timerButtons = new QHBoxLayout;
    timerButtons->addStretch(1);
    m_pTimersApply = new QPushButton(tr("Apply"), timerBox);
    SetControlId(m_pTimersApply, 1095);
    timerButtons->addWidget(m_pTimersApply);
    timerLayout->addLayout(timerButtons);
    ContentLayout()->addWidget(timerBox);

    auto* infoBox = new QGroupBox(tr("LLDP System Information"), this);
    auto* infoForm = new QFormLayout(infoBox);
    m_pChassisSubtype = ValueLabel(infoBox, 1106);
    m_pChassisId = ValueLabel(infoBox, 1009);
    m_pSysName = ValueLabel(infoBox, 1096);
    m_pSysDescr = ValueLabel(infoBox, 1011);
    infoForm->addRow(tr("Chassis ID Subtype:"), m_pChassisSubtype);
    infoForm->addRow(tr("Chassis ID:"), m_pChassisId);
    infoForm->addRow(tr("System Name:"), m_pSysName);
    infoForm->addRow(tr("System Description:"), m_pSysDescr);
    ContentLayout()->addWidget(infoBox);
    ContentLayout()->addStretch(1);

    connect(m_pEnableApply, &QPushButton::clicked, this, &CLLDPGroup::OnBUTTONLldpEnableApply);
    connect(m_pTimersApply, &QPushButton::clicked, this, &CLLDPGroup::OnApplyTimers);
    connect(&Gate(), &CReadGate::changed, this, [this] { UpdateButtons(); });

    m_pWrite = NewSequence(m_cCommonSNMPSet);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cCommonSNMPSet, "m_cCommonSNMPSet");
    SetRereadDelay(CurrentWaits().nAfterWriteMs);
    UpdateButtons();
    setMinimumWidth(480);
}

CLLDPGroup::~CLLDPGroup()
{
    m_read.Abandon();
    CloseSessions();
}

void CLLDPGroup::OnRefresh()
{
    RefreshButton()->setEnabled(false);
    const int ticket = Gate().Expect(tr("LLDP settings"));
    m_read.Start({StateOid(), HoldMultiplierOid(), TxIntervalOid(), ReinitDelayOid(), TxDelayOid(), kChassisSubtype,
                  kChassisId, kSysName, kSysDescr},
                 [this, ticket](const WalkOutcome& outcome) { OnSystemInfoReply(outcome, ticket); });
    UpdateButtons();
}

void CLLDPGroup::OnSystemInfoReply(const WalkOutcome& outcome, int nTicket)
{
    if (outcome.nResult == WalkOutcome::Cancelled)
        return;
    RefreshButton()->setEnabled(true);
    if (outcome.Ok()) {
        m_bLldpEnabled = m_read.Text(0) == u"1";
        m_pEnable->setChecked(m_bLldpEnabled);
        m_pHold->setText(m_read.Text(1));
        m_pInterval->setText(m_read.Text(2));
        m_pReinit->setText(m_read.Text(3));
        m_pDelay->setText(m_read.Text(4));
        m_pChassisSubtype->setText(ChassisIdSubtypeText(m_read.Text(5)));
        m_pChassisId->setText(CUtils::BytesToHexText(m_read.Value(6)));
        m_pSysName->setText(m_read.Text(7));
        m_pSysDescr->setText(m_read.Text(8));
    }
    Gate().Settle(nTicket, outcome);
    UpdateButtons();
}

void CLLDPGroup::UpdateButtons()
{
    // Inputs only over values read from the switch, never during a write or
    // the pause after it.
    const bool ready = Gate().AllSucceeded() && !IsWriting() && !IsSettling() && g_bWritePermission;
    m_pEnable->setEnabled(ready);
    m_pEnableApply->setEnabled(ready);
    for (QWidget* w : {static_cast<QWidget*>(m_pHold), static_cast<QWidget*>(m_pInterval),
                       static_cast<QWidget*>(m_pReinit), static_cast<QWidget*>(m_pDelay),
                       static_cast<QWidget*>(m_pTimersApply)})
        w->setEnabled(ready && m_bLldpEnabled);
}

void CLLDPGroup::StartWrite(const QString& strWhat, QList<SnmpSetValue> values)
{
    const Waits& waits = CurrentWaits();
    m_pWrite->Clear();
    m_pWrite->SetAttempts(waits.nAttempts, waits.nRetryMs);
    m_pWrite->Add(strWhat, std::move(values));
    RunWrites(m_pWrite);
    UpdateButtons();
}

void CLLDPGroup::OnBUTTONLldpEnableApply()
{
    if (!m_pEnableApply->isEnabled())
        return;
    StartWrite(tr("LLDP state"), {SnmpSetValue::Integer(StateOid(), m_pEnable->isChecked() ? 1 : 2)});
}

void CLLDPGroup::OnApplyTimers()
{
    if (!m_pTimersApply->isEnabled())
        return;
    qint64 hold = 0;
    qint64 interval = 0;
    qint64 reinit = 0;
    qint64 delay = 0;
    if (!ParseStrictInt(m_pHold->text(), 2, 10, &hold)) {
        Message(QStringLiteral("The Message TX Hold Multipier should be 2-10"));
        return;
    }
    if (!ParseStrictInt(m_pInterval->text(), 5, 32768, &interval)) {
        Message(QStringLiteral("The Message TX Interval should be 5-32768"));
        return;
    }
    if (!ParseStrictInt(m_pReinit->text(), 1, 10, &reinit)) {
        Message(QStringLiteral("The LLDP Reinit Delay should be 1-10"));
        return;
    }
    if (!ParseStrictInt(m_pDelay->text(), 1, 8192, &delay)) {
        Message(QStringLiteral("The LLDP TX Delay should be 1-8192"));
        return;
    }
    if (delay * 4 > interval) {   // delay <= 0.25 x interval, in whole numbers
        Message(QStringLiteral("LLDP TX Delay should be <= 0.25 * (Message TX Interval)"));
        return;
    }
    StartWrite(tr("LLDP timers"),
               {SnmpSetValue::Integer(HoldMultiplierOid(), hold), SnmpSetValue::Integer(TxIntervalOid(), interval),
                SnmpSetValue::Integer(ReinitDelayOid(), reinit), SnmpSetValue::Integer(TxDelayOid(), delay)});
}

void CLLDPGroup::OnWritesDone()
{
    CConfigDialog::OnWritesDone();
    UpdateButtons();
}
