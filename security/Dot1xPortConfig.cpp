#include "Dot1xPortConfig.h"

#include "C8021XGlobalDlg.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

const QString kPortEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.23.2.1.1");

// Pause after each request of a port, as the switch needs between writes.
constexpr int kStepDelayMs = 50;

// The timer fields in the order they are checked.
struct Timer
{
    int id;
    int column;          // port table column written
    qint64 lo, hi;
    const char* message;
};
const Timer kTimers[] = {
    {Dot1xPortConfig::IDC_QUIET_PERIOD, 2, 0, 65535, "Invalid QuietPeriod (0-65535)"},
    {Dot1xPortConfig::IDC_TX_PERIOD, 6, 1, 65535, "Invalid TxPeriod (1-65535)"},
    {Dot1xPortConfig::IDC_SUPP_TIMEOUT, 3, 1, 65535, "Invalid SuppTimeout (1-65535)"},
    {Dot1xPortConfig::IDC_SERVER_TIMEOUT, 4, 1, 65535, "Invalid ServerTimeout (1-65535)"},
    {Dot1xPortConfig::IDC_MAX_REQ, 5, 1, 10, "Invalid MaxReq (1-10)"},
    {Dot1xPortConfig::IDC_REAUTH_PERIOD, 7, 1, 65535, "Invalid ReAuthPeriod (1-65535)"},
};

QComboBox* DropDown(QWidget* parent, int nId, const QStringList& items)
{
    auto* list = new QComboBox(parent);
    SetControlId(list, nId);
    list->addItems(items);
    return list;
}

QString ControlText(const QString& value)
{
    if (value == QLatin1String("1"))
        return QStringLiteral("forceUnauthorized");
    if (value == QLatin1String("2"))
        return QStringLiteral("auto");
    if (value == QLatin1String("3"))
        return QStringLiteral("forceAuthorized");
    return QStringLiteral("other");
}

} // namespace

Dot1xPortConfig::Dot1xPortConfig(QWidget* parent)
    : CConfigDialog(QStringLiteral("802.1X Port Configuration"), std::make_unique<CModuleBase>(), RefreshApplyClose,
                    parent)
{
    auto* settings = new QGroupBox(QStringLiteral("802.1X Port Settings"), this);
    auto* grid = new QGridLayout(settings);
    m_pFrom = DropDown(settings, IDC_FROM_PORT, {});
    m_pTo = DropDown(settings, IDC_TO_PORT, {});
    for (int p = 1; p <= g_nDevicePortNum; ++p) {
        m_pFrom->addItem(QString::number(p));
        m_pTo->addItem(QString::number(p));
    }
    m_pControl = DropDown(settings, IDC_PORT_CONTROL,
                          {QStringLiteral("ForceUnauthorized"), QStringLiteral("Auto"), QStringLiteral("ForceAuthorized")});
    m_pReAuth = DropDown(settings, IDC_REAUTH, {QStringLiteral("Enable"), QStringLiteral("Disabled")});
    m_pCapability = DropDown(settings, IDC_CAPABILITY, {QStringLiteral("Authenticator"), QStringLiteral("None")});
    m_pDirection = DropDown(settings, IDC_DIRECTION, {QStringLiteral("Both"), QStringLiteral("In")});
    auto edit = [settings](int id, int maxLength) {
        auto* e = new QLineEdit(settings);
        SetControlId(e, id);
        e->setMaxLength(maxLength);
        return e;
    };
    m_pTxPeriod = edit(IDC_TX_PERIOD, 5);
    m_pQuietPeriod = edit(IDC_QUIET_PERIOD, 5);
    m_pSuppTimeout = edit(IDC_SUPP_TIMEOUT, 5);
    m_pServerTimeout = edit(IDC_SERVER_TIMEOUT, 5);
    m_pMaxReq = edit(IDC_MAX_REQ, 2);
    m_pReAuthPeriod = edit(IDC_REAUTH_PERIOD, 5);

    const struct { const char* label; QWidget* widget; const char* unit; } cells[] = {
        {"From Port", m_pFrom, ""},
        {"To Port", m_pTo, ""},
        {"Capability", m_pCapability, ""},
        {"AdmCtrlDir", m_pDirection, ""},
        {"Port Control", m_pControl, ""},
        {"ReAuthentication", m_pReAuth, ""},
        {"TxPeriod(1-65535)", m_pTxPeriod, "sec"},
        {"QuietPeriod(0-65535)", m_pQuietPeriod, "sec"},
        {"SuppTimeout(1-65535)", m_pSuppTimeout, "sec"},
        {"ServerTimeout(1-65535)", m_pServerTimeout, "sec"},
        {"MaxReq(1-10)", m_pMaxReq, "times"},
        {"ReAuthPeriod(1-65535)", m_pReAuthPeriod, "sec"},
    };
    for (int i = 0; i < int(std::size(cells)); ++i) {
        const int row = i / 3, col = (i % 3) * 3;
        grid->addWidget(new QLabel(QString::fromLatin1(cells[i].label), settings), row, col);
        grid->addWidget(cells[i].widget, row, col + 1);
        if (*cells[i].unit)
            grid->addWidget(new QLabel(QString::fromLatin1(cells[i].unit), settings), row, col + 2);
    }
    ContentLayout()->addWidget(settings);

    auto* table = new QGroupBox(QStringLiteral("802.1X Port Table"), this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    SetControlId(m_pList, IDC_LIST);
    const int right = CListCtrlEx::LVCFMT_RIGHT;
    m_pList->AppendColumns({{"Port", 40, right},
                            {"AdmDirDir", 70},
                            {"OperCrlDir", 80},
                            {"PortControl", 120},
                            {"TxPeriod", 60, right},
                            {"QuietPeriod", 80, right},
                            {"SuppTimeout", 90, right},
                            {"ServerTimeout", 100, right},
                            {"MaxReq", 50, right},
                            {"ReAuthPeriod", 90, right},
                            {"ReAuthEnabled", 100},
                            {"Capability", 100}},
                           true);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT);
    m_pList->setMinimumHeight(m_pList->verticalHeader()->defaultSectionSize() * 10 + 40);
    tableLayout->addWidget(m_pList);
    ContentLayout()->addWidget(table, 1);

    m_pStateRead = NewScalarRead(Logic<CModuleBase>()->m_cSnmpGet);
    m_pPortWalk = NewWalk(NewSession("m_cCommonSNMPTable"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMP"));

    LinkPortRange(m_pFrom, m_pTo);
    connect(m_pCapability, &QComboBox::currentIndexChanged, this, &Dot1xPortConfig::UpdateControlCombo);
    connect(m_pList, &QTableWidget::itemSelectionChanged, this, &Dot1xPortConfig::OnListClicked);
    m_pFrom->setCurrentIndex(0);
    m_pTo->setCurrentIndex(m_pTo->count() - 1);
    PutDefaults();
}

QString Dot1xPortConfig::PortColumn(int nColumn)
{
    return QStringLiteral("%1.%2").arg(kPortEntry).arg(nColumn);
}

QLineEdit* Dot1xPortConfig::Edit(int nId) const
{
    return qobject_cast<QLineEdit*>(GetDlgItem(this, nId));
}

void Dot1xPortConfig::PutDefaults()
{
    m_pControl->setCurrentIndex(2);
    m_pDirection->setCurrentIndex(0);
    m_pCapability->setCurrentIndex(1);
    m_pReAuth->setCurrentIndex(1);
    m_pTxPeriod->setText(QStringLiteral("30"));
    m_pSuppTimeout->setText(QStringLiteral("30"));
    m_pMaxReq->setText(QStringLiteral("2"));
    m_pQuietPeriod->setText(QStringLiteral("60"));
    m_pReAuthPeriod->setText(QStringLiteral("3600"));
    m_pServerTimeout->setText(QStringLiteral("30"));
    UpdateControlCombo();
}

void Dot1xPortConfig::UpdateControlCombo()
{
    // Port control means something only for an authenticator.
    m_pControl->setEnabled(m_pCapability->currentIndex() == 0);
}

void Dot1xPortConfig::OnListClicked()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0)
        return;
    const int from = m_pFrom->findText(m_pList->GetItemText(item, 0));
    if (from < 0)
        return;
    m_pFrom->setCurrentIndex(from);
    m_pTo->setCurrentIndex(from);
}

bool Dot1xPortConfig::CanApply() const
{
    return m_strState == QLatin1String("1") && m_pFrom->currentIndex() >= 0 && m_pTo->currentIndex() >= 0;
}

void Dot1xPortConfig::OnRefresh()
{
    m_strState.clear();
    m_portControl.assign(size_t(std::max(0, g_nDevicePortNum)), 0);
    m_pList->DeleteAllItems();

    const int state = Gate().Expect(QStringLiteral("802.1X state"));
    m_pStateRead->Start({C8021XGlobalDlg::StateOid()}, [this, state](const WalkOutcome& o) {
        if (o.Ok())
            m_strState = m_pStateRead->Text(0);
        Gate().Settle(state, o);
        UpdateApply();
    });
    const int ports = Gate().Expect(QStringLiteral("802.1X ports"));
    QStringList columns;
    for (int c = 1; c <= 11; ++c)
        columns << PortColumn(c);
    m_pPortWalk->Start(columns, [this, ports](const WalkOutcome& o) { OnPortsEnd(ports, o); });
    ReadTrunkMap();
}

void Dot1xPortConfig::OnPortsEnd(int nTicket, const WalkOutcome& outcome)
{
    // Rows by port: a row of a port the switch does not have, or with an
    // index that is no port number, is left out; the control codes of an
    // incomplete walk are never used (Apply stays off).
    for (const SnmpRow& row : m_pPortWalk->Rows()) {
        qint64 port = 0;
        if (!ParseStrictInt(row.strIndex, 1, g_nDevicePortNum, &port))
            continue;
        const QString control = row.Text(8);
        const int item = m_pList->InsertItem(m_pList->GetItemCount(), QString::number(port));
        m_pList->SetItemText(item, 1, row.Text(10) == QLatin1String("0") ? QStringLiteral("Both") : QStringLiteral("In"));
        m_pList->SetItemText(item, 2, QStringLiteral("Both"));
        m_pList->SetItemText(item, 3, ControlText(control));
        m_pList->SetItemText(item, 4, row.Text(5));
        m_pList->SetItemText(item, 5, row.Text(1));
        m_pList->SetItemText(item, 6, row.Text(2));
        m_pList->SetItemText(item, 7, row.Text(3));
        m_pList->SetItemText(item, 8, row.Text(4));
        m_pList->SetItemText(item, 9, row.Text(6));
        m_pList->SetItemText(item, 10,
                             row.Text(7) == QLatin1String("1") ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
        m_pList->SetItemText(item, 11,
                             row.Text(9) == QLatin1String("2") ? QStringLiteral("None") : QStringLiteral("Authenticator"));
        qint64 code = 0;
        if (ParseStrictInt(control, 1, 3, &code))
            m_portControl[size_t(port - 1)] = int(code);
    }
    Gate().Settle(nTicket, outcome);
}

QString Dot1xPortConfig::CheckAllPortsRule(const std::vector<int>& portControl, int nFrom, int nTo, int nControl)
{
    if (nControl != 1 && nControl != 2)
        return {};
    const int ports = int(portControl.size());
    int unauthorizedOutside = 0, autoOutside = 0;
    for (int p = 1; p <= ports; ++p) {
        if (p >= nFrom && p <= nTo)
            continue;
        if (portControl[size_t(p - 1)] == 1)
            ++unauthorizedOutside;
        else if (portControl[size_t(p - 1)] == 2)
            ++autoOutside;
    }
    const int range = nTo - nFrom + 1;
    if (nControl == 1 && unauthorizedOutside + range == ports)
        return QStringLiteral("Could not set all ports to Force Unauthorized to the port access control.");
    if (nControl == 2 && autoOutside + range == ports)
        return QStringLiteral("Could not set all ports to AUTO  to the port access control.");
    if (unauthorizedOutside + autoOutside + range == ports)
        return QStringLiteral("Could not set all ports to AUTO or Force Unauthorized to the port access control.");
    return {};
}

void Dot1xPortConfig::OnApply()
{
    QString timers[8];   // by port table column
    for (const Timer& t : kTimers) {
        QLineEdit* field = Edit(t.id);
        if (!ParseStrictInt(field->text(), t.lo, t.hi, nullptr, &timers[t.column])) {
            Message(QString::fromLatin1(t.message));
            return;
        }
    }
    const int from = m_pFrom->currentText().toInt();
    const int to = m_pTo->currentText().toInt();
    const CModuleBase* logic = Logic<CModuleBase>();
    for (int p = from; p <= to; ++p)
        if (p - 1 < int(logic->m_TrunkPorts.size()) && logic->m_TrunkPorts[size_t(p - 1)] != 0) {
            Message(QStringLiteral("Cannot add an aggregated link to the 802.1X-enabled port"));
            PutDefaults();
            return;
        }
    const int control = m_pControl->currentIndex() + 1;
    const QString refusal = CheckAllPortsRule(m_portControl, from, to, control);
    if (!refusal.isEmpty()) {
        Message(refusal);
        PutDefaults();
        return;
    }

    const int reAuth = m_pReAuth->currentIndex() + 1;
    const int capability = m_pCapability->currentIndex() + 1;
    const int direction = m_pDirection->currentIndex();
    m_pWrites->Clear();
    for (int p = from; p <= to; ++p) {
        auto cell = [p](int column) { return QStringLiteral("%1.%2").arg(PortColumn(column)).arg(p); };
        QList<SnmpSetValue> values;
        for (int column : {2, 3, 4, 5, 6, 7})
            values << SnmpSetValue::Integer(cell(column), timers[column].toLongLong());
        values << SnmpSetValue::Integer(cell(8), reAuth) << SnmpSetValue::Integer(cell(10), capability)
               << SnmpSetValue::Integer(cell(11), direction);
        const int delay = m_pWrites->StepCount() ? kStepDelayMs : 0;
        m_pWrites->Add(QStringLiteral("port %1 settings").arg(p), values, delay);
        if (capability != 1)
            continue;
        m_pWrites->Add(QStringLiteral("port %1 port control").arg(p), {SnmpSetValue::Integer(cell(9), control)},
                       kStepDelayMs);
        if (control == 1 || control == 2)
            m_pWrites->Add(QStringLiteral("port %1 re-authentication").arg(p), {SnmpSetValue::Integer(cell(8), reAuth)},
                           kStepDelayMs);
    }
    RunWrites(m_pWrites);
}

void Dot1xPortConfig::OnWritesDone()
{
    PutDefaults();
    CConfigDialog::OnWritesDone();
}
