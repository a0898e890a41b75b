#include "C8021Config.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"
#include "ControlId.h"
#include "Dot1xPortConfig.h"
#include "StrictNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString kOld = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.11.");

// The key edits take one character more than the switch's 32, as they
// always have.
constexpr int kKeyEditLength = 33;

// The read's objects, in the order of the values.
const char* const kReadTails[] = {"2.1", "1.1", "1.2", "2.2", "2.3", "2.4", "2.5", "2.6", "2.7", "2.8"};
// The edits the timer values (positions 3 to 8) go into.
const int kTimerEdits[] = {C8021Config::IDC_QUIET_PERIOD, C8021Config::IDC_TX_PERIOD, C8021Config::IDC_SUPP_TIMEOUT,
                           C8021Config::IDC_SERVER_TIMEOUT, C8021Config::IDC_MAX_REQ, C8021Config::IDC_REAUTH_PERIOD};

struct Timer
{
    int id;
    const char* tail;
    qint64 lo, hi;
    const char* message;
};
// In the order they are checked and sent.
const Timer kTimers[] = {
    {C8021Config::IDC_QUIET_PERIOD, "2.2", 0, 65535, "Invalid QuietPeriod (0-65535)"},
    {C8021Config::IDC_TX_PERIOD, "2.3", 1, 65535, "Invalid TxPeriod (1-65535)"},
    {C8021Config::IDC_SUPP_TIMEOUT, "2.4", 1, 65535, "Invalid SuppTimeout (1-65535)"},
    {C8021Config::IDC_SERVER_TIMEOUT, "2.5", 1, 65535, "Invalid ServerTimeout (1-65535)"},
    {C8021Config::IDC_MAX_REQ, "2.6", 1, 10, "Invalid MaxReq (1-10)"},
    {C8021Config::IDC_REAUTH_PERIOD, "2.7", 1, 4294967295LL, "Invalid ReAuthPeriod (1-4294967295)"},
};

} // namespace

C8021Config::C8021Config(QWidget* parent)
    : CConfigDialog(QStringLiteral("802.1X Config Information"), nullptr, RefreshApplyClose, parent)
{
    auto* global = new QGroupBox(QStringLiteral("802.1X Global Setting"), this);
    auto* grid = new QGridLayout(global);
    m_pEnable = new QCheckBox(QStringLiteral("Enable 802.1X"), global);
    SetControlId(m_pEnable, IDC_ENABLE);
    grid->addWidget(m_pEnable, 0, 0, 1, 2);
    m_pServer = new QLineEdit(global);
    SetControlId(m_pServer, IDC_SERVER);
    m_pServer->setMaxLength(15);
    auto edit = [global](int id, int maxLength, bool hidden = false) {
        auto* e = new QLineEdit(global);
        SetControlId(e, id);
        e->setMaxLength(maxLength);
        if (hidden)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_pReAuth = new QComboBox(global);
    SetControlId(m_pReAuth, IDC_REAUTH);
    m_pReAuth->addItems({QStringLiteral("Enable"), QStringLiteral("Disabled")});
    const struct { const char* label; QWidget* widget; } cells[] = {
        {"Radius Server IP:", m_pServer},
        {"Key:", edit(IDC_KEY, kKeyEditLength, true)},
        {"Confirm Key:", edit(IDC_CONFIRM_KEY, kKeyEditLength, true)},
        {"QuietPeriod(0-65535 sec)", edit(IDC_QUIET_PERIOD, 5)},
        {"TxPeriod(1-65535 sec)", edit(IDC_TX_PERIOD, 5)},
        {"SuppTimeout(1-65535 sec)", edit(IDC_SUPP_TIMEOUT, 5)},
        {"ServerTimeout(1-65535 sec)", edit(IDC_SERVER_TIMEOUT, 5)},
        {"MaxReq(1-10)", edit(IDC_MAX_REQ, 2)},
        {"ReAuthPeriod(1-4294967295 sec)", edit(IDC_REAUTH_PERIOD, 10)},
        {"ReAuthEnabled", m_pReAuth},
    };
    int row = 1;
    for (const auto& c : cells) {
        grid->addWidget(new QLabel(QString::fromLatin1(c.label), global), row, 0);
        grid->addWidget(c.widget, row++, 1);
    }
    m_pPortSet = new QPushButton(QStringLiteral("&PortSet"), global);
    SetControlId(m_pPortSet, IDC_PORTSET);
    grid->addWidget(m_pPortSet, row, 1, Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    ContentLayout()->addWidget(global);

    // The list of the form's layout; the switch gives nothing to fill it.
    auto* list = new CListCtrlEx(this);
    SetControlId(list, IDC_LIST);
    list->AppendColumns({{"Index", 50},
                         {"AuthControlledPortStatus", 160},
                         {"AuthControlledPortControl", 160},
                         {"QuietPeriod", 80},
                         {"TxPeriod", 70},
                         {"SuppTimeout", 80},
                         {"ServerTimeout", 90},
                         {"MaxReq", 60},
                         {"ReAuthPeriod", 90},
                         {"ReAuthEnabled", 90}});
    list->setMaximumHeight(120);
    ContentLayout()->addWidget(list);

    connect(m_pEnable, &QCheckBox::clicked, this, [this](bool bChecked) { EnableFields(bChecked); });
    connect(m_pPortSet, &QPushButton::clicked, this, [this] {
        Dot1xPortConfig ports(this);
        ports.exec();
    });

    m_pRead = NewScalarRead(NewSession("m_cCommonSNMP"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMPSet"));
    m_pTimerWrites = NewSequence(NewSession("m_cCommonSNMParg"));
    EnableFields(false);
    m_pPortSet->setEnabled(false);
}

QString C8021Config::Oid(const char* tail)
{
    return kOld + QString::fromLatin1(tail) + QStringLiteral(".0");
}

QLineEdit* C8021Config::Edit(int nId) const
{
    return qobject_cast<QLineEdit*>(GetDlgItem(this, nId));
}

void C8021Config::EnableFields(bool bEnable)
{
    for (int id : {int(IDC_KEY), int(IDC_CONFIRM_KEY)})
        Edit(id)->setEnabled(bEnable);
    m_pServer->setEnabled(bEnable);
    for (int id : kTimerEdits)
        Edit(id)->setEnabled(bEnable);
    m_pReAuth->setEnabled(bEnable);
}

QString C8021Config::CheckServerAddress(const QString& strAddress)
{
    const QString refusal = QStringLiteral("Invalid RADIUS Server IP Address.");
    const QStringList parts = strAddress.split(u'.');
    if (parts.size() != 4)
        return refusal;
    qint64 octet[4] = {};
    for (int i = 0; i < 4; ++i)
        if (!ParseStrictInt(parts[i], 0, 255, &octet[i]))
            return refusal;
    if (octet[0] == 0 || octet[0] == 255 || octet[3] == 0 || octet[3] == 255)
        return refusal;
    return {};
}

void C8021Config::OnRefresh()
{
    m_pEnable->setChecked(false);
    m_pEnable->setEnabled(false);
    EnableFields(false);
    m_pPortSet->setEnabled(false);
    QStringList oids;
    for (const char* tail : kReadTails)
        oids << Oid(tail);
    const int ticket = Gate().Expect(QStringLiteral("802.1X settings"));
    m_pRead->Start(oids, [this, ticket](const WalkOutcome& o) {
        if (o.Ok()) {
            const bool enabled = m_pRead->Text(0) == QLatin1String("1");
            m_pEnable->setEnabled(true);
            m_pEnable->setChecked(enabled);
            m_pServer->setText(m_pRead->Text(1));
            Edit(IDC_KEY)->setText(m_pRead->Text(2));
            Edit(IDC_CONFIRM_KEY)->setText(m_pRead->Text(2));
            for (int i = 0; i < 6; ++i)
                Edit(kTimerEdits[i])->setText(m_pRead->Text(3 + i));
            m_pReAuth->setCurrentIndex(m_pRead->Text(9) == QLatin1String("1") ? 0 : 1);
            EnableFields(enabled);
            m_pPortSet->setEnabled(enabled);
        }
        Gate().Settle(ticket, o);
    });
}

QString C8021Config::BuildTimers(QList<SnmpSetValue>& values) const
{
    for (const Timer& t : kTimers) {
        qint64 value = 0;
        if (!ParseStrictInt(Edit(t.id)->text(), t.lo, t.hi, &value))
            return QString::fromLatin1(t.message);
        if (t.id == IDC_REAUTH_PERIOD)
            values << SnmpSetValue::Unsigned(Oid(t.tail), quint32(value));
        else
            values << SnmpSetValue::Integer(Oid(t.tail), value);
    }
    values << SnmpSetValue::Integer(Oid("2.8"), m_pReAuth->currentIndex() == 0 ? 1 : 2);
    return {};
}

void C8021Config::OnApply()
{
    m_pWrites->Clear();
    if (!m_pEnable->isChecked()) {
        // Turning 802.1X off writes the state alone, whatever the fields hold.
        m_pWrites->Add(QStringLiteral("802.1X state"), {SnmpSetValue::Integer(Oid("2.1"), 2)});
        m_phase = Phase::StateOnly;
        RunWrites(m_pWrites);
        return;
    }
    const QString address = m_pServer->text();
    QString refusal = CheckServerAddress(address);
    const QString key = Edit(IDC_KEY)->text();
    if (refusal.isEmpty() && key.isEmpty())
        refusal = QStringLiteral("Invalid Key.");
    if (refusal.isEmpty() && key != Edit(IDC_CONFIRM_KEY)->text())
        refusal = QStringLiteral("Please confirm the key again !");
    if (!refusal.isEmpty()) {
        Message(refusal);
        return;
    }
    m_pWrites->Add(QStringLiteral("RADIUS server and key"),
                   {SnmpSetValue::IpAddress(Oid("1.1"), address), SnmpSetValue::Text(Oid("1.2"), key)});
    m_pWrites->Add(QStringLiteral("802.1X state"), {SnmpSetValue::Integer(Oid("2.1"), 1)});
    m_phase = Phase::Server;
    RunWrites(m_pWrites);
}

void C8021Config::OnWritesDone()
{
    if (std::exchange(m_phase, Phase::None) == Phase::Server) {
        // The timers are checked once the server and state were taken, so a
        // bad timer leaves those written and says what it refused.
        QList<SnmpSetValue> timers;
        const QString refusal = BuildTimers(timers);
        if (refusal.isEmpty()) {
            m_pTimerWrites->Clear();
            m_pTimerWrites->Add(QStringLiteral("802.1X timers"), timers);
            m_phase = Phase::Timers;
            RunWrites(m_pTimerWrites);
            return;
        }
        Message(refusal);
    }
    CConfigDialog::OnWritesDone();
}
