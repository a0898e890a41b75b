#include "CSpanTreeBridgeParam.h"

#include "CSetSequence.h"
#include "CSpanTree.h"
#include "ControlId.h"
#include "SpanTreeMib.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace SpanTreeMib;

namespace {

// The order of the read; the answer is taken by these positions.
const int kReadOrder[] = {kPriority,   kForwardBpdu, kRootMaxAge, kRootBridge, kRootPort,
                          kMaxAge,     kHello,       kForwardDelay, kRootCost, kHoldCount,
                          kRootForwardDelay, kState, kVersion};

int Position(int object)
{
    for (int i = 0; i < int(std::size(kReadOrder)); ++i)
        if (kReadOrder[i] == object)
            return i;
    return -1;
}

QString Seconds(const QString& hundredths)
{
    return QString::number(hundredths.toLongLong() / 100);
}

// Eight octets as "80:00:00:1B:21:00:01:00"; anything else as received.
QString BridgeIdText(const QByteArray& octets)
{
    if (octets.size() != 8)
        return QString::fromLatin1(octets);
    QStringList parts;
    for (char c : octets)
        parts << QStringLiteral("%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(u':');
}

QLineEdit* NumberEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    SetControlId(edit, id);
    SetTextLimit(edit, 10);
    return edit;
}

QLabel* ValueLabel(QWidget* parent, int id)
{
    auto* label = new QLabel(parent);
    SetControlId(label, id);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CSpanTreeBridgeParam::CSpanTreeBridgeParam(QWidget* parent)
    : CConfigDialog(QStringLiteral(" STP Configuration "), std::make_unique<CModuleBase>(), RefreshApplyClose, parent)
    , m_read(Logic<CModuleBase>()->m_cSnmpGet)
{
    auto* bridge = new QGroupBox(tr("Bridge"), this);
    auto* form = new QFormLayout(bridge);
    m_pEnable = new QCheckBox(QStringLiteral("Enable STP"), bridge);
    SetControlId(m_pEnable, 1008);
    form->addRow(QStringLiteral("STP Status:"), m_pEnable);
    m_pVersion = new QComboBox(bridge);
    m_pVersion->addItems({QStringLiteral("STP"), QStringLiteral("RSTP"), QStringLiteral("MSTP")});
    SetControlId(m_pVersion, 1085);
    form->addRow(QStringLiteral("STP Version:"), m_pVersion);
    m_pPriority = new QComboBox(bridge);
    m_pPriority->setEditable(true);
    for (int p = 0; p <= 61440; p += 4096)
        m_pPriority->addItem(QString::number(p));
    m_pPriority->setEditText(QStringLiteral("0"));
    SetControlId(m_pPriority, 1007);
    form->addRow(QStringLiteral("Bridge Priority:"), m_pPriority);
    form->addRow(QStringLiteral("Tx Hold Count(1-10):"), m_pHoldCount = NumberEdit(bridge, 15));
    form->addRow(QStringLiteral("Maximum Age(6-40 secs):"), m_pMaxAge = NumberEdit(bridge, 11));
    form->addRow(QStringLiteral("Forward Delay(4-30 secs):"), m_pForwardDelay = NumberEdit(bridge, 13));
    form->addRow(QStringLiteral("Hello Time(1-10 secs):"), m_pHello = NumberEdit(bridge, 14));
    m_pForwardBpdu = new QComboBox(bridge);
    m_pForwardBpdu->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    SetControlId(m_pForwardBpdu, 1160);
    form->addRow(QStringLiteral("Forwarding BPDU:"), m_pForwardBpdu);
    // Until the first answer: the numbers the fields start with.
    m_pMaxAge->setText(QStringLiteral("600"));
    m_pForwardDelay->setText(QStringLiteral("400"));
    m_pHello->setText(QStringLiteral("100"));

    auto* root = new QGroupBox(tr("Root Bridge"), this);
    auto* rootForm = new QFormLayout(root);
    rootForm->addRow(QStringLiteral("Root Bridge :"), m_pRootBridge = ValueLabel(root, 1189));
    // The opening size is the dialog's minimum: leave room for a bridge id.
    m_pRootBridge->setMinimumWidth(m_pRootBridge->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00:00:00:00:00:00 ")));
    rootForm->addRow(QStringLiteral("Root Cost :"), m_pRootCost = ValueLabel(root, 1197));
    rootForm->addRow(QStringLiteral("Root Maximum Age:"), m_pRootMaxAge = ValueLabel(root, 1194));
    rootForm->addRow(QStringLiteral("ROOT Forward Delay:"), m_pRootForwardDelay = ValueLabel(root, 1192));
    rootForm->addRow(QStringLiteral("RootPort:"), m_pRootPort = ValueLabel(root, 1195));

    auto* columns = new QHBoxLayout;
    columns->addWidget(bridge);
    columns->addWidget(root, 1);
    ContentLayout()->addLayout(columns);

    auto* portRow = new QHBoxLayout;
    m_pPortSetting = new QPushButton(QStringLiteral("Port Setting"), this);
    SetControlId(m_pPortSetting, 1048);
    portRow->addWidget(m_pPortSetting);
    portRow->addStretch(1);
    ContentLayout()->addLayout(portRow);

    m_pWrites = NewSequence(Logic<CModuleBase>()->m_cSnmpSet);
    m_pUndo = NewSequence(Logic<CModuleBase>()->m_cSnmpSet);
    connect(m_pEnable, &QCheckBox::clicked, this, &CSpanTreeBridgeParam::OnEnableStp);
    connect(m_pVersion, &QComboBox::activated, this, &CSpanTreeBridgeParam::OnSelchangeVersion);
    connect(m_pPortSetting, &QPushButton::clicked, this, &CSpanTreeBridgeParam::OnPortSetting);
}

bool CSpanTreeBridgeParam::OnInitDialog()
{
    // The answer enables the fields when the spanning tree is on.
    EnableFields(false);
    m_pPortSetting->setEnabled(false);
    return CConfigDialog::OnInitDialog();
}

void CSpanTreeBridgeParam::OnRefresh()
{
    QStringList oids;
    for (int object : kReadOrder)
        oids << Bridge(object);
    const int ticket = Gate().Expect(tr("bridge settings"));
    m_read.Start(oids, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok())
            OnBridgeReply(outcome);
        Gate().Settle(ticket, outcome);
    });
}

void CSpanTreeBridgeParam::OnBridgeReply(const WalkOutcome&)
{
    auto text = [this](int object) { return m_read.Text(Position(object)); };
    m_pPriority->setEditText(text(kPriority));
    const int bpdu = text(kForwardBpdu).toInt();
    if (bpdu == 1 || bpdu == 2)
        m_pForwardBpdu->setCurrentIndex(bpdu - 1);
    m_pRootMaxAge->setText(Seconds(text(kRootMaxAge)));
    m_pRootBridge->setText(BridgeIdText(m_read.Value(Position(kRootBridge))));
    m_pRootPort->setText(text(kRootPort));
    m_pMaxAge->setText(Seconds(text(kMaxAge)));
    m_pHello->setText(Seconds(text(kHello)));
    m_pForwardDelay->setText(Seconds(text(kForwardDelay)));
    m_pRootCost->setText(text(kRootCost));
    m_pHoldCount->setText(text(kHoldCount));
    m_pRootForwardDelay->setText(Seconds(text(kRootForwardDelay)));

    const QString version = text(kVersion);
    if (version == QLatin1String("0"))
        m_pVersion->setCurrentIndex(0);
    else if (version == QLatin1String("2"))
        m_pVersion->setCurrentIndex(1);
    else if (version == QLatin1String("3"))
        m_pVersion->setCurrentIndex(2);

    m_bStpOnAsRead = text(kState) == QLatin1String("1");
    m_pEnable->setChecked(m_bStpOnAsRead);
    EnableFields(m_bStpOnAsRead);
    m_pHoldCount->setEnabled(m_bStpOnAsRead);
    m_pForwardBpdu->setEnabled(m_bStpOnAsRead);
    if (m_bStpOnAsRead)
        m_pPortSetting->setEnabled(true);
}

void CSpanTreeBridgeParam::EnableFields(bool bOn)
{
    m_pVersion->setEnabled(bOn);
    m_pPriority->setEnabled(bOn);
    m_pMaxAge->setEnabled(bOn);
    m_pForwardDelay->setEnabled(bOn);
    // MSTP keeps the hello time per port.
    m_pHello->setEnabled(bOn && m_pVersion->currentIndex() != 2);
}

void CSpanTreeBridgeParam::OnEnableStp()
{
    EnableFields(m_pEnable->isChecked());
}

void CSpanTreeBridgeParam::OnSelchangeVersion()
{
    m_pHello->setEnabled(m_pVersion->isEnabled() && m_pVersion->currentIndex() != 2);
}

void CSpanTreeBridgeParam::OnPortSetting()
{
    CSpanTree table(this);
    table.DoModal();
}

QString CSpanTreeBridgeParam::CheckInput(Settings& s) const
{
    s.bOn = m_pEnable->isChecked();
    s.nVersion = m_pVersion->currentIndex() == 0 ? 0 : m_pVersion->currentIndex() == 1 ? 2 : 3;
    s.nForwardBpdu = m_pForwardBpdu->currentIndex() + 1;
    if (!ParseStrictInt(m_pHoldCount->text(), 1, 10, &s.nHoldCount))
        return QStringLiteral("Invalid Transmit Hold Count(1-10).");
    if (!ParseStrictInt(m_pMaxAge->text(), 6, 40, &s.nMaxAge))
        return QStringLiteral("Invalid Age Time value, the valid Age Time range is  (6-40)s !");
    if (!ParseStrictInt(m_pForwardDelay->text(), 4, 30, &s.nForwardDelay))
        return QStringLiteral("Invalid Forward Delay value, the valid Forward Delay range is (4-30)s !");
    if (!ParseStrictInt(m_pHello->text(), 1, 10, &s.nHello))
        return QStringLiteral("Invalid Hello Time value, the valid Hello Time range is (1-10)s !");
    if (double(s.nMaxAge) < 2 * (double(s.nHello) + 1.0))
        return QStringLiteral("To set the parameters Hello Time and Max Age the following relation is to be "
                              "satisfied: \nMax Age >= (2*(Hello Time + 1.0))");
    if (2 * (double(s.nForwardDelay) - 1) < double(s.nMaxAge))
        return QStringLiteral("To set the parameters Forward Delay and Max Age, the following relation is to be "
                              "satisfied: \n2*(Forward Delay - 1) >= Max Age");
    // The priority goes out as the number checked here, never as typed.
    if (!ParseStrictInt(m_pPriority->currentText(), 0, 61440, &s.nPriority))
        return QStringLiteral("Invalid Bridge Priority(0-61440).");
    return QString();
}

void CSpanTreeBridgeParam::OnApply()
{
    Settings s;
    const QString refusal = CheckInput(s);
    if (!refusal.isEmpty()) {
        Message(refusal);
        return;
    }
    m_pWrites->Clear();
    if (!s.bOn) {
        m_pWrites->Add(tr("spanning tree off"), {SnmpSetValue::Integer(Bridge(kState), 2)});
        RunWrites(m_pWrites);
        return;
    }
    int delay = 0;
    if (!m_bStpOnAsRead) {
        m_pWrites->Add(tr("spanning tree on"), {SnmpSetValue::Integer(Bridge(kState), 1)});
        delay = 30;
    }
    // Hello time 1 s and forward delay 30 s satisfy both relations for any
    // maximum age of 6-40 s, so the single writes below never pass through
    // a combination the switch refuses.
    m_pWrites->Add(tr("hello time and forward delay (safe values)"),
                   {SnmpSetValue::Integer(Bridge(kHello), 100), SnmpSetValue::Integer(Bridge(kForwardDelay), 3000)},
                   delay);
    m_pWrites->Add(tr("transmit hold count"), {SnmpSetValue::Integer(Bridge(kHoldCount), s.nHoldCount)}, 50);
    m_pWrites->Add(tr("maximum age"), {SnmpSetValue::Integer(Bridge(kMaxAge), s.nMaxAge * 100)});
    m_pWrites->Add(tr("forward delay"), {SnmpSetValue::Integer(Bridge(kForwardDelay), s.nForwardDelay * 100)});
    m_pWrites->Add(tr("hello time"), {SnmpSetValue::Integer(Bridge(kHello), s.nHello * 100)});
    m_pWrites->Add(tr("forwarding BPDU"), {SnmpSetValue::Integer(Bridge(kForwardBpdu), s.nForwardBpdu)});
    m_pWrites->Add(tr("forwarding BPDU, priority and version"),
                   {SnmpSetValue::Integer(Bridge(kForwardBpdu), s.nForwardBpdu),
                    SnmpSetValue::Integer(Bridge(kPriority), s.nPriority),
                    SnmpSetValue::Integer(Bridge(kVersion), s.nVersion)});
    // A refusal after the safe pair would leave values nobody asked for
    // (hello 1 s, forward delay 30 s): put back what was read.
    BuildUndo();
    RunWrites(m_pWrites, m_pUndo, m_bStpOnAsRead ? 2 : 3);
}

void CSpanTreeBridgeParam::BuildUndo()
{
    auto read = [this](int object) { return SnmpSetValue::Integer(Bridge(object), m_read.Text(Position(object)).toLongLong()); };
    m_pUndo->Clear();
    // The same safe pair first, so that the single writes below pass the
    // relations whatever the failed write left; the values read satisfied
    // them, so each step back does too.
    m_pUndo->Add(tr("hello time and forward delay (safe values)"),
                 {SnmpSetValue::Integer(Bridge(kHello), 100), SnmpSetValue::Integer(Bridge(kForwardDelay), 3000)});
    m_pUndo->Add(tr("transmit hold count"), {read(kHoldCount)});
    m_pUndo->Add(tr("maximum age"), {read(kMaxAge)});
    m_pUndo->Add(tr("forward delay"), {read(kForwardDelay)});
    m_pUndo->Add(tr("hello time"), {read(kHello)});
    m_pUndo->Add(tr("forwarding BPDU"), {read(kForwardBpdu)});
    if (!m_bStpOnAsRead)
        m_pUndo->Add(tr("spanning tree off"), {SnmpSetValue::Integer(Bridge(kState), 2)});
}

QString CSpanTreeBridgeParam::UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const
{
    if (bOk)
        return tr("\nThe bridge settings read before the write were put back.");
    return tr("\nPutting back the bridge settings read before the write failed at step %1 (%2): %3\n"
              "The switch may keep hello time 1 s and forward delay 30 s.")
        .arg(undoFailure.nStep)
        .arg(undoFailure.strWhat, undoFailure.Text());
}
