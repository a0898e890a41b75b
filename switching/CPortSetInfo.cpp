#include "CPortSetInfo.h"

#include "CListCtrlEx.h"
#include "CModuleBase.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString P = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
const QString kSpeed = P + QStringLiteral(".1.13.1.2");
const QString kOperMode = P + QStringLiteral(".1.13.1.3");
const QString kFlow = P + QStringLiteral(".1.13.1.5");
const QString kPriority = P + QStringLiteral(".12.3.1.1.2");
const QString kOperFlow = P + QStringLiteral(".1.13.1.6");
const QString kMedium = P + QStringLiteral(".1.13.1.7");
const QString kTrunkMembers = P + QStringLiteral(".8.1.3.1.2");

// Speed code c is list text c-1 and combo entry c-1.
const char* const kSpeedTexts[] = {"1000MFull", "100MFull", "100MHalf", "10MFull", "10MHalf", "Auto", "Disable"};
const char* const kSpeedEntries[] = {"1000M-Full", "100M-Full", "100M-Half", "10M-Full", "10M-Half", "Auto", "Disable"};

enum Column { ColIndex, ColSpeed, ColOperMode, ColFlow, ColPriority, ColOperFlow };

int SpeedPosition(const QString& text)
{
    for (int i = 0; i < 7; ++i)
        if (text == QLatin1String(kSpeedTexts[i]))
            return i;
    return -1;
}

} // namespace

QString CPortSetInfo::SpeedText(const QString& code)
{
    const int c = code.toInt();
    return QString::fromLatin1(kSpeedTexts[c >= 1 && c <= 7 ? c - 1 : 0]);
}

QString CPortSetInfo::OperModeText(const QString& code, QString* copperForm)
{
    static const char* const plain[] = {"Down", "1000MFull", "100MFull", "100MHalf", "10MFull", "10MHalf"};
    static const char* const copper[] = {"Down", "1000M C Full", "100M C Full", "100M C Half", "10M C Full", "10M C Half"};
    const int c = code.toInt();
    const int i = c >= 1 && c <= 6 ? c - 1 : 1;
    if (copperForm)
        *copperForm = QString::fromLatin1(copper[i]);
    return QString::fromLatin1(plain[i]);
}

QString CPortSetInfo::PriorityText(const QString& code)
{
    static const char* const texts[] = {"Low", "Middle", "High", "Highest"};
    const int c = code.toInt();
    return QString::fromLatin1(texts[c >= 1 && c <= 4 ? c - 1 : 0]);
}

QString CPortSetInfo::OperFlowText(const QString& code)
{
    if (code == QLatin1String("1"))
        return QStringLiteral("Enabled");
    if (code == QLatin1String("2"))
        return QStringLiteral("Disabled");
    return code;
}

CPortSetInfo::CPortSetInfo(QWidget* parent)
    : CConfigDialog(QStringLiteral("Port Configuration"), nullptr, RefreshApplyClose, parent)
{
    auto* info = new QGroupBox(QStringLiteral("Port Information"), this);
    auto* infoLayout = new QVBoxLayout(info);
    m_listPorts = new CListCtrlEx(info);
    SetControlId(m_listPorts, 201);
    const char* const headings[] = {"Index ", "PortControlSpeed ", "OperMode  ", "FlowControlMode  ", "DefaultPriority  ",
                                    "OperFlowControlMode  "};
    for (const char* heading : headings) {
        const QString text = QString::fromLatin1(heading);
        const int format = heading == headings[0] ? CListCtrlEx::LVCFMT_RIGHT : CListCtrlEx::LVCFMT_LEFT;
        m_listPorts->InsertColumn(m_listPorts->GetColumnCount(), text, format, m_listPorts->GetStringWidth(text) + 15);
    }
    m_listPorts->SetExtendedStyle(0x120);
    infoLayout->addWidget(m_listPorts);
    ContentLayout()->addWidget(info, 1);

    auto* config = new QGroupBox(QStringLiteral("Port Configuration"), this);
    auto* row = new QHBoxLayout(config);
    m_editPortId = new QLineEdit(config);
    m_editPortId->setReadOnly(true);
    m_editPortId->setEnabled(false);
    m_editPortId->setMaximumWidth(m_editPortId->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    m_comboSpeed = new QComboBox(config);
    for (const char* entry : kSpeedEntries)
        m_comboSpeed->addItem(QString::fromLatin1(entry));
    m_comboSpeed->setCurrentIndex(-1);
    m_comboFlowControl = new QComboBox(config);
    m_comboFlowControl->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    m_comboFlowControl->setCurrentIndex(0);
    SetControlId(m_editPortId, 216);
    SetControlId(m_comboSpeed, 209);
    SetControlId(m_comboFlowControl, 210);
    const std::pair<const char*, QWidget*> fields[] = {
        {"Port ID:", m_editPortId}, {"PortControlSpeed:", m_comboSpeed}, {"FlowControlMode:", m_comboFlowControl}};
    for (const auto& [label, field] : fields) {
        auto* form = new QFormLayout;
        form->addRow(QString::fromLatin1(label), field);
        row->addLayout(form);
    }
    row->addStretch();
    ContentLayout()->addWidget(config);

    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cCommonSNMPTable, "m_cCommonSNMPTable");
    AddSession(m_cCommonSNMPTrunk, "m_cCommonSNMPTrunk");
    m_pPortWalk = NewWalk(m_cCommonSNMPTable);
    m_pTrunkWalk = NewWalk(m_cCommonSNMPTrunk);
    m_pWrite = NewSequence(m_cCommonSNMP);

    const int n = g_nDevicePortNum;
    m_pnTrunkId.assign(size_t(qMax(n, 0)), 0);
    m_pnMediumType.assign(size_t(qMax(n, 0)), 0);
    m_nFiberPorts = (n == 16 || n == 24 || n == 48) ? 4 : n == 10 ? 2 : 0;

    connect(m_listPorts, &CListCtrlEx::currentRowChanged, this, &CPortSetInfo::TakeRow);
    int width = 0;
    for (int i = 0; i < m_listPorts->GetColumnCount(); ++i)
        width += m_listPorts->GetColumnWidth(i);
    resize(width + 80, 520);
}

CPortSetInfo::~CPortSetInfo()
{
    CloseSessions();
}

void CPortSetInfo::OnRefresh()
{
    std::fill(m_pnTrunkId.begin(), m_pnTrunkId.end(), 0);
    std::fill(m_pnMediumType.begin(), m_pnMediumType.end(), 0);
    ReadTrunkMembers();
    ReadPortTable();
}

void CPortSetInfo::ReadTrunkMembers()
{
    const int ticket = Gate().Expect(QStringLiteral("aggregated links"));
    m_pTrunkWalk->Start({kTrunkMembers}, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            for (const SnmpRow& row : m_pTrunkWalk->Rows()) {
                const int link = row.strIndex.toInt();
                int count = 0;
                const QString members = CUtils::PortBitmapToList(row.cells.value(0), count);
                for (const QString& item : members.split(u',', Qt::SkipEmptyParts)) {
                    const int port = item.toInt();
                    if (link > 0 && port >= 1 && port <= int(m_pnTrunkId.size()))
                        m_pnTrunkId[size_t(port - 1)] = link;
                }
            }
        }
        Gate().Settle(ticket, outcome);
    });
}

void CPortSetInfo::ReadPortTable()
{
    m_listPorts->DeleteAllItems();
    const int ticket = Gate().Expect(QStringLiteral("ports"));
    m_pPortWalk->Start({kSpeed, kOperMode, kFlow, kPriority, kOperFlow, kMedium},
                       [this, ticket](const WalkOutcome& outcome) {
                           // What arrived is shown; a failed walk keeps Apply off.
                           ShowPortRows();
                           Gate().Settle(ticket, outcome);
                       });
}

void CPortSetInfo::ShowPortRows()
{
    m_listPorts->DeleteAllItems();
    const int n = int(m_pnMediumType.size());
    for (const SnmpRow& row : m_pPortWalk->Rows()) {
        bool ok = false;
        const int port = row.strIndex.toInt(&ok);
        if (!ok || port < 1 || port > n)
            continue;
        QString copper;
        QString operMode = OperModeText(row.Text(1), &copper);
        const int medium = row.Text(5).toInt();
        m_pnMediumType[size_t(port - 1)] = medium;
        if (port > n - m_nFiberPorts) {
            if (medium == 3 && copper == QLatin1String("100M C Half"))
                operMode = QStringLiteral("100M F Half");
            else if (medium == 3 && copper == QLatin1String("100M C Full"))
                operMode = QStringLiteral("100M F Full");
            else if (medium == 4 && copper == QLatin1String("1000M C Full"))
                operMode = QStringLiteral("1000M F Full");
            else if (medium == 2 && port <= n - 2)
                operMode = copper;
        }
        m_listPorts->AppendRow({QString::number(port), SpeedText(row.Text(0)), operMode,
                                row.Text(2) == QLatin1String("1") ? QStringLiteral("Enabled") : QStringLiteral("Disabled"),
                                PriorityText(row.Text(3)), OperFlowText(row.Text(4))});
    }
    // The port being edited stays chosen across a re-read (after Apply or
    // Refresh); before any choice, the port the dialog was opened on.
    ChoosePort(m_strPortId.isEmpty() ? m_nStartPort : m_strPortId.toInt());
}

void CPortSetInfo::SelectPort(int nPort)
{
    m_nStartPort = nPort;
    ChoosePort(nPort);
}

void CPortSetInfo::ChoosePort(int nPort)
{
    const int item = nPort > 0 ? RowOfPort(nPort) : -1;
    if (item < 0)
        return;
    m_listPorts->SelectItem(item);   // current too: TakeRow fills the fields
    TakeRow(item);
    m_listPorts->EnsureVisible(item);
}

int CPortSetInfo::RowOfPort(int nPort) const
{
    const QString text = QString::number(nPort);
    for (int i = 0; i < m_listPorts->GetItemCount(); ++i)
        if (m_listPorts->GetItemText(i, ColIndex) == text)
            return i;
    return -1;
}

void CPortSetInfo::TakeRow(int nItem)
{
    if (nItem < 0 || nItem >= m_listPorts->GetItemCount())
        return;
    m_strPortId = m_listPorts->GetItemText(nItem, ColIndex);
    m_editPortId->setText(m_strPortId);
    const int speed = SpeedPosition(m_listPorts->GetItemText(nItem, ColSpeed));
    if (speed >= 0)
        m_comboSpeed->setCurrentIndex(speed);
    m_comboFlowControl->setCurrentIndex(m_listPorts->GetItemText(nItem, ColFlow) == QLatin1String("Enabled") ? 0 : 1);
}

int CPortSetInfo::CheckLagConsistency()
{
    const int s = m_comboSpeed->currentIndex();
    const QString speed = s >= 0 ? QString::fromLatin1(kSpeedTexts[s]) : QString();
    const QString flow = m_comboFlowControl->currentIndex() == 0 ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
    const int p = m_strPortId.toInt();
    const int link = p >= 1 && p <= int(m_pnTrunkId.size()) ? m_pnTrunkId[size_t(p - 1)] : 0;
    if (link == 0)
        return 1;
    for (int i = 0; i < int(m_pnTrunkId.size()); ++i) {
        if (i == p - 1 || m_pnTrunkId[size_t(i)] != link)
            continue;
        const int item = RowOfPort(i + 1);
        if (item < 0)
            continue;
        if (m_listPorts->GetItemText(item, ColSpeed) != speed) {
            Message(QStringLiteral("LA port can not support in different speed."));
            return 0;
        }
        if (m_listPorts->GetItemText(item, ColFlow) != flow) {
            Message(QStringLiteral("LA port can not support in different flow control."));
            return 0;
        }
    }
    return 1;
}

void CPortSetInfo::OnApply()
{
    ApplyPortSettings();
}

void CPortSetInfo::ApplyPortSettings()
{
    const QString N = m_strPortId;
    const int p = N.toInt();
    const int s = m_comboSpeed->currentIndex();
    if (N.isEmpty() || p < 1 || p > int(m_pnMediumType.size()) || s < 0) {
        Message(QStringLiteral("Please Select one port !"));
        return;
    }
    if (!CheckLagConsistency())
        return;
    if (s == 6) {
        bool othersDisabled = true;
        for (int i = 0; i < m_listPorts->GetItemCount(); ++i)
            if (m_listPorts->GetItemText(i, ColIndex) != N && m_listPorts->GetItemText(i, ColSpeed) != QLatin1String("Disable"))
                othersDisabled = false;
        if (othersDisabled) {
            Message(QStringLiteral("Sorry, you cannot disable all ports."));
            return;
        }
    }
    const int medium = m_pnMediumType[size_t(p - 1)];
    if (medium == 1 && s == 0) {
        Message(QStringLiteral("Port ") + N + QStringLiteral(" can not support 1000M speed."));
        return;
    }
    if (s == 5 && medium == 3) {
        Message(QStringLiteral("Fiber Port ") + N + QStringLiteral(" with 100Base-x SFP Module can not support in Auto mode."));
        return;
    }
    if (medium == 4 && s >= 1 && s <= 4) {
        Message(QStringLiteral("Fiber Port ") + N + QStringLiteral(" with 1000Base-x SFP Module can not support this speed."));
        return;
    }
    if (medium == 3 && s != 1 && s != 2 && s != 6) {
        Message(QStringLiteral("Fiber Port ") + N + QStringLiteral(" with 100Base-x SFP Module can not support this speed."));
        return;
    }
    const bool inLink = m_pnTrunkId[size_t(p - 1)] != 0;
    if (inLink && (s == 2 || s == 4)) {
        Message(QStringLiteral("LA port ") + N + QStringLiteral(" can not support in half-duplex mode."));
        return;
    }

    const int speedCode = s + 1;
    if (speedCode != 6 && speedCode != 7
        && Message(QStringLiteral("The speed is set to force mode. \n* The speed mode must be the same as the counterpart. "),
                   MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
               != IDOK)
        return;
    const int flow = m_comboFlowControl->currentIndex() == 0 ? 1 : 2;
    if (flow == 1
        && Message(QStringLiteral("QoS works best when Flow Control is disabled. \n* When Flow Control is enabled.QoS may "
                                  "not perform accurate bandwidth allocation. \n* Do you still want to enable Flow Control?. "),
                   MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
               != IDOK)
        return;

    // A link member's speed is never written: the consistency check made
    // sure it equals the other members'.
    QList<SnmpSetValue> values;
    if (!inLink)
        values.append(SnmpSetValue::Integer(kSpeed + QLatin1Char('.') + N, speedCode));
    values.append(SnmpSetValue::Integer(kFlow + QLatin1Char('.') + N, flow));
    m_pWrite->Clear();
    m_pWrite->Add(QStringLiteral("settings of port %1").arg(N), values);
    RunWrites(m_pWrite);
}
