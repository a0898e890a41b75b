#include "CPOEConfigDlg.h"

#include "CCommonSNMP.h"
#include "CListCtrlEx.h"
#include "CPowSavSettings.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"
#include "StrictNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kPortEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.42.1.1");
const QString kNotApplicable = QStringLiteral("N/A");
// The PoE controller is slow to take a port's settings and needs a pause
// before the next port.
constexpr int kPortSetTimeoutMs = 20000;
constexpr int kPortPauseMs = 300;

// The port table's columns in the order walked; cell i of a row is
// kPortColumns[i].
const int kPortColumns[] = {3, 4, 5, 6, 9, 10, 11, 12, 13, 7, 8};
enum { cState, cTimeRange, cPriority, cClass, cPower, cVoltage, cCurrent, cClassification, cStatus, cUserInForce, cUserLimit };

QString Column(int n) { return QStringLiteral("%1.%2").arg(kPortEntry).arg(n); }

// A port row's instance is "1.<port>".
int PortOfIndex(const QString& strIndex)
{
    const QStringList parts = strIndex.split(u'.');
    qint64 port = 0;
    if (parts.size() != 2 || parts[0] != QLatin1String("1") || !ParseStrictInt(parts[1], 1, 4096, &port))
        return 0;
    return int(port);
}

QString PriorityText(const QString& value)
{
    if (value == QLatin1String("1"))
        return QStringLiteral("Low");
    if (value == QLatin1String("2"))
        return QStringLiteral("Normal");
    return QStringLiteral("High");
}

QString LimitText(const SnmpRow& row)
{
    if (row.Text(cUserInForce) == QLatin1String("1"))
        return row.Text(cUserLimit);
    const QString cls = row.Text(cClass);
    if (cls == QLatin1String("0") || cls == QLatin1String("1"))
        return QStringLiteral("Auto");
    qint64 n = 0;
    if (ParseStrictInt(cls, 2, 5, &n))
        return QStringLiteral("Class %1").arg(n - 1);
    return {};
}

QComboBox* DropDown(QWidget* parent, int nId, const QStringList& items = {})
{
    auto* list = new QComboBox(parent);
    SetControlId(list, nId);
    list->addItems(items);
    return list;
}

} // namespace

CPOEConfigDlg::CPOEConfigDlg(QWidget* parent)
    : CConfigDialog(tr("PoE Configuration"), nullptr, RefreshApplyClose, parent)
{
    auto* info = new QGroupBox(tr("Port Information"), this);
    auto* infoLayout = new QVBoxLayout(info);
    m_pList = new CListCtrlEx(info);
    SetControlId(m_pList, IDC_PORT_LIST);
    const int right = CListCtrlEx::LVCFMT_RIGHT;
    m_pList->AppendColumns({{"Index", 50, right}, {"State", 60}, {"Time Range", 90}, {"Priority", 60},
                            {"Power Limit", 80}, {"Power\n(W)", 60, right}, {"Voltage\n(V)", 60, right},
                            {"Current\n(mA)", 60, right}, {"Classification", 95}, {"Status", 120}},
                           true);
    m_pList->setMinimumHeight(m_pList->verticalHeader()->defaultSectionSize() * 10 + 40);
    infoLayout->addWidget(m_pList);
    ContentLayout()->addWidget(info, 1);

    auto* config = new QGroupBox(tr("PoE Configuration"), this);
    auto* grid = new QGridLayout(config);
    m_pFrom = DropDown(config, IDC_FROM_PORT);
    m_pTo = DropDown(config, IDC_TO_PORT);
    m_pTimeRange = DropDown(config, IDC_TIME_RANGE, {kNotApplicable});
    m_pState = DropDown(config, IDC_STATE, {tr("Enable"), tr("Disable")});
    m_pPriority = DropDown(config, IDC_PRIORITY, {tr("Low"), tr("Normal"), tr("High")});
    m_pPriority->setCurrentIndex(1);
    m_pLimit = DropDown(config, IDC_POWER_LIMIT, {tr("Auto"), tr("Class 1"), tr("Class 2"), tr("Class 3"), tr("Class 4")});
    m_pUserDefine = new QCheckBox(tr("User Define"), config);
    SetControlId(m_pUserDefine, IDC_USER_DEFINE);
    m_pUserLimit = new QLineEdit(config);
    SetControlId(m_pUserLimit, IDC_USER_LIMIT);
    m_pUserLimit->setMaxLength(8);
    const struct { const char* label; QWidget* widget; } cells[] = {
        {"Form Port", m_pFrom}, {"To Port", m_pTo},         {"Time Range", m_pTimeRange},
        {"State", m_pState},    {"Priority", m_pPriority}, {"Power Limit", m_pLimit}};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(tr(cells[i].label), config), 0, i);
        grid->addWidget(cells[i].widget, 1, i);
    }
    auto* user = new QHBoxLayout;
    user->addWidget(m_pUserDefine);
    user->addWidget(m_pUserLimit);
    user->addWidget(new QLabel(tr("(1~30w) "), config));
    user->addStretch(1);
    grid->addLayout(user, 2, 4, 1, 3);
    grid->setColumnStretch(6, 1);
    ContentLayout()->addWidget(config);

    m_pTimeRangeWalk = NewWalk(NewSession("m_cCommonSNMPTimeRang"));
    m_pPortWalk = NewWalk(NewSession("m_cCommonSNMP"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMPSet"));

    connect(m_pList, &QTableWidget::itemSelectionChanged, this, &CPOEConfigDlg::OnRowSelected);
    LinkPortRange(m_pFrom, m_pTo);
    connect(m_pUserDefine, &QCheckBox::toggled, this, &CPOEConfigDlg::UpdateLimitControls);
    UpdateLimitControls();
}

QString CPOEConfigDlg::CheckPowerLimit(const QString& strText, QString* pSend)
{
    // In millionths of a watt, so that "15.40" is 15.4 and "15.45" is
    // caught as off the 0.2 W steps rather than cut to 15.4.
    qint64 micro = 0;
    if (!ParseStrictDecimal(strText, 6, 1000000, 30000000, &micro))
        return QStringLiteral("The User Defined power limit ranges between 1.0 ~ 30.0");
    if (micro % 200000 != 0)
        return QStringLiteral("The per-port power limit must be a multiple of 0.2");
    if (pSend)
        *pSend = QStringLiteral("%1.%2").arg(micro / 1000000).arg(micro / 100000 % 10);
    return {};
}

bool CPOEConfigDlg::CanApply() const
{
    return m_pFrom->currentIndex() >= 0 && m_pTo->currentIndex() >= 0;
}

void CPOEConfigDlg::OnRefresh()
{
    // Each read starts from nothing: names, their indexes and ports of an
    // earlier read never mix with this one's.
    m_timeRanges.clear();
    while (m_pTimeRange->count() > 1)
        m_pTimeRange->removeItem(m_pTimeRange->count() - 1);
    m_pTimeRange->setCurrentIndex(0);
    const int ranges = Gate().Expect(tr("time ranges"));
    const int ports = Gate().Expect(tr("PoE ports"));
    m_pTimeRangeWalk->Start({PowerSaveOid::kProfileEntry + QStringLiteral(".2")},
                            [this, ranges, ports](const WalkOutcome& o) { OnTimeRangesEnd(ranges, ports, o); });
}

void CPOEConfigDlg::OnTimeRangesEnd(int nRangesTicket, int nPortsTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok()) {
        for (const SnmpRow& row : m_pTimeRangeWalk->Rows()) {
            qint64 index = 0;
            if (!row.Has(0) || !ParseStrictInt(row.strIndex, 1, 0x7fffffff, &index))
                break;   // a row cut short ends the table
            m_timeRanges << TimeRangeName{int(index), row.Text(0)};
            m_pTimeRange->addItem(row.Text(0));
        }
    }
    Gate().Settle(nRangesTicket, outcome);
    if (!outcome.Ok()) {
        // Without the names the ports' time ranges cannot be shown: the port
        // table is not read, and Refresh tries both again.
        WalkOutcome skipped;
        skipped.nResult = WalkOutcome::NotSent;
        skipped.strWhy = tr("not read without the time ranges");
        Gate().Settle(nPortsTicket, skipped);
        return;
    }
    ReadPorts(nPortsTicket);
}

void CPOEConfigDlg::ReadPorts(int nTicket)
{
    QStringList columns;
    for (int c : kPortColumns)
        columns << Column(c);
    m_pPortWalk->Start(columns, [this, nTicket](const WalkOutcome& o) { OnPortsEnd(nTicket, o); });
}

QString CPOEConfigDlg::TimeRangeText(const QString& strIndex) const
{
    if (strIndex == QLatin1String("0"))
        return kNotApplicable;
    for (const TimeRangeName& range : m_timeRanges)
        if (QString::number(range.nIndex) == strIndex)
            return range.strName;
    return {};
}

void CPOEConfigDlg::OnPortsEnd(int nTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok()) {
        const int from = m_pFrom->currentData().toInt();
        const int to = m_pTo->currentData().toInt();
        m_pList->DeleteAllItems();
        m_ports.clear();
        m_pFrom->clear();
        m_pTo->clear();
        for (const SnmpRow& row : m_pPortWalk->Rows()) {
            bool complete = true;
            for (int i = 0; i < int(std::size(kPortColumns)); ++i)
                complete = complete && row.Has(i);
            if (!complete)
                break;   // a row cut short ends the table
            const int port = PortOfIndex(row.strIndex);
            if (port == 0)
                continue;
            m_ports << port;
            m_pFrom->addItem(QString::number(port), port);
            m_pTo->addItem(QString::number(port), port);
            m_pList->AppendRow({QString::number(port),
                                row.Text(cState) == QLatin1String("1") ? tr("Enable") : tr("Disable"),
                                TimeRangeText(row.Text(cTimeRange)), PriorityText(row.Text(cPriority)), LimitText(row),
                                row.Text(cPower), row.Text(cVoltage), row.Text(cCurrent), row.Text(cClassification),
                                row.Text(cStatus)});
        }
        // The range chosen before a re-read stays chosen; at first, all ports.
        const int f = m_pFrom->findData(from);
        const int t = m_pTo->findData(to);
        m_pFrom->setCurrentIndex(f >= 0 ? f : 0);
        m_pTo->setCurrentIndex(t >= 0 ? t : m_pTo->count() - 1);
    }
    Gate().Settle(nTicket, outcome);
    UpdateApply();
}

void CPOEConfigDlg::OnRowSelected()
{
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0 || row >= m_ports.size())
        return;
    m_pFrom->setCurrentIndex(row);
    m_pTo->setCurrentIndex(row);
    m_pState->setCurrentIndex(m_pList->GetItemText(row, 1) == tr("Enable") ? 0 : 1);
}

void CPOEConfigDlg::UpdateLimitControls()
{
    m_pLimit->setEnabled(!m_pUserDefine->isChecked());
    m_pUserLimit->setEnabled(m_pUserDefine->isChecked());
}

void CPOEConfigDlg::OnApply()
{
    const int from = m_pFrom->currentData().toInt();
    const int to = m_pTo->currentData().toInt();
    if (to < from) {
        Message(QStringLiteral("'To Port' can not be smaller than 'From Port'"));
        return;
    }
    // The limit is the same for every port: checked once, before any port
    // is written.
    QString limit;
    if (m_pUserDefine->isChecked()) {
        const QString why = CheckPowerLimit(m_pUserLimit->text(), &limit);
        if (!why.isEmpty()) {
            Message(why);
            return;
        }
    }
    const int range = m_pTimeRange->currentIndex();
    const qint64 timeRange = range >= 1 && range <= m_timeRanges.size() ? m_timeRanges[range - 1].nIndex : 0;
    const qint64 state = m_pState->currentIndex() == 0 ? 1 : 2;
    const qint64 priority = m_pPriority->currentIndex() + 1;
    const qint64 cls = m_pLimit->currentIndex() + 1;
    m_pWrites->Clear();
    for (int port : m_ports) {
        if (port < from || port > to)
            continue;
        const QString instance = QStringLiteral(".1.%1").arg(port);
        QList<SnmpSetValue> values{SnmpSetValue::Integer(Column(3) + instance, state),
                                   SnmpSetValue::Integer(Column(4) + instance, timeRange),
                                   SnmpSetValue::Integer(Column(5) + instance, priority)};
        if (m_pUserDefine->isChecked())
            values << SnmpSetValue::Integer(Column(7) + instance, 1) << SnmpSetValue::Text(Column(8) + instance, limit);
        else
            values << SnmpSetValue::Integer(Column(7) + instance, 2) << SnmpSetValue::Integer(Column(6) + instance, cls);
        m_pWrites->Add(tr("PoE port %1").arg(port), values, m_pWrites->StepCount() == 0 ? 0 : kPortPauseMs,
                       kPortSetTimeoutMs);
    }
    RunWrites(m_pWrites);
}
