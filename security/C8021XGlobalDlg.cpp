#include "C8021XGlobalDlg.h"

#include "CSetSequence.h"
#include "CSnmpScalarRead.h"
#include "ControlId.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kGlobal = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.23.1");

// The switch applies a change before it answers, but reading at once may
// still see the old value.
constexpr int kRereadDelayMs = 20;

QGroupBox* RadioGroup(QWidget* parent, const QString& title, const QString& enabled, int enabledId,
                      int disabledId, QRadioButton*& on, QRadioButton*& off)
{
    auto* box = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(box);
    on = new QRadioButton(enabled, box);
    off = new QRadioButton(QStringLiteral("Disabled"), box);
    SetControlId(on, enabledId);
    SetControlId(off, disabledId);
    auto* group = new QButtonGroup(box);
    group->addButton(on);
    group->addButton(off);
    row->addWidget(on);
    row->addWidget(off);
    row->addStretch(1);
    return box;
}

// No radio checked: the group shows nothing until a read gave a value.
void ClearGroup(QRadioButton* on, QRadioButton* off)
{
    on->group()->setExclusive(false);
    on->setChecked(false);
    off->setChecked(false);
    on->group()->setExclusive(true);
}

QString OnOffText(const QRadioButton* enabled)
{
    return enabled->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
}

} // namespace

C8021XGlobalDlg::C8021XGlobalDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("802.1X Global Settings "), nullptr, RefreshApplyClose, parent)
{
    ContentLayout()->addWidget(RadioGroup(this, QStringLiteral("Authentication State"), QStringLiteral("Enabled "),
                                          IDC_STATE_ENABLED, IDC_STATE_DISABLED, m_pStateEnabled, m_pStateDisabled));
    ContentLayout()->addWidget(RadioGroup(this, QStringLiteral("Forward EAPOL PDU"),
                                          QStringLiteral("Enabled       "), IDC_EAPOL_ENABLED, IDC_EAPOL_DISABLED,
                                          m_pEapolEnabled, m_pEapolDisabled));
    auto* protocolBox = new QGroupBox(QStringLiteral("Authentication Protocol"), this);
    auto* protocolRow = new QHBoxLayout(protocolBox);
    m_pProtocol = new QComboBox(protocolBox);
    SetControlId(m_pProtocol, IDC_PROTOCOL);
    m_pProtocol->addItems({QStringLiteral("RADIUS"), QStringLiteral("Local")});
    m_pProtocol->setCurrentIndex(0);
    protocolRow->addWidget(m_pProtocol);
    protocolRow->addStretch(1);
    ContentLayout()->addWidget(protocolBox);
    CloseButton()->setText(QStringLiteral("Cancel"));

    // Only "Enabled " has a handler: choosing "Disabled" leaves the protocol
    // as it is until the next read.
    connect(m_pStateEnabled, &QRadioButton::clicked, this, &C8021XGlobalDlg::OnStateEnabledClicked);

    m_pRead = NewScalarRead(NewSession("m_cModuleBase"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMP"));
    SetRereadDelay(kRereadDelayMs);
}

QString C8021XGlobalDlg::StateOid()
{
    return kGlobal + QStringLiteral(".1.0");
}

QString C8021XGlobalDlg::ForwardEapolOid()
{
    return kGlobal + QStringLiteral(".4.0");
}

QString C8021XGlobalDlg::ProtocolOid()
{
    return kGlobal + QStringLiteral(".3.0");
}

void C8021XGlobalDlg::OnStateEnabledClicked()
{
    m_pProtocol->setEnabled(true);
}

void C8021XGlobalDlg::OnRefresh()
{
    // Nothing of an earlier read stays on show while this one runs or after
    // it failed: Apply compares with these texts.
    m_strState.clear();
    m_strEapol.clear();
    m_strProtocol.clear();
    ClearGroup(m_pStateEnabled, m_pStateDisabled);
    ClearGroup(m_pEapolEnabled, m_pEapolDisabled);
    m_pProtocol->setEnabled(false);
    const int ticket = Gate().Expect(QStringLiteral("802.1X settings"));
    m_pRead->Start({StateOid(), ForwardEapolOid(), ProtocolOid()}, [this, ticket](const WalkOutcome& o) {
        if (o.Ok()) {
            m_strState = m_pRead->Text(0);
            m_strEapol = m_pRead->Text(1);
            m_strProtocol = m_pRead->Text(2);
            const bool enabled = m_strState == QLatin1String("1");
            (enabled ? m_pStateEnabled : m_pStateDisabled)->setChecked(true);
            (m_strEapol == QLatin1String("1") ? m_pEapolEnabled : m_pEapolDisabled)->setChecked(true);
            m_pProtocol->setCurrentIndex(m_strProtocol == QLatin1String("1") ? 0 : 1);
            m_pProtocol->setEnabled(enabled);
        }
        Gate().Settle(ticket, o);
    });
}

void C8021XGlobalDlg::OnApply()
{
    const QString state = OnOffText(m_pStateEnabled);
    const QString eapol = OnOffText(m_pEapolEnabled);
    const QString protocol = m_pProtocol->currentIndex() == 0 ? QStringLiteral("1") : QStringLiteral("2");
    QList<SnmpSetValue> values;
    if (state != m_strState)
        values << SnmpSetValue::Integer(StateOid(), state.toInt());
    if (eapol != m_strEapol)
        values << SnmpSetValue::Integer(ForwardEapolOid(), eapol.toInt());
    if (protocol != m_strProtocol)
        values << SnmpSetValue::Integer(ProtocolOid(), protocol.toInt());
    if (values.isEmpty())
        return;
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("802.1X global settings"), values);
    RunWrites(m_pWrites);
}
