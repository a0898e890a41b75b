#include "CGVRPTime.h"

#include "CGVRPFunLogic.h"
#include "CSetSequence.h"
#include "ControlId.h"
#include "TextLimit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CGVRPTime::CGVRPTime(QWidget* parent)
    : CConfigDialog(QStringLiteral("GVRP Global Settings"), std::make_unique<CGVRPFunLogic>(), RefreshApplyClose,
                    parent)
    , m_read(Logic<CGVRPFunLogic>()->m_cSnmpGet)
{
    AddSession(GvrpLogic()->m_cSnmpPortTable, "m_cSnmpPortTable");

    auto* box = new QGroupBox(tr("GVRP"), this);
    auto* grid = new QGridLayout(box);
    auto* stateRow = new QHBoxLayout;
    m_pEnabled = new QRadioButton(QStringLiteral("Enabled"), box);
    SetControlId(m_pEnabled, 1232);
    m_pDisabled = new QRadioButton(QStringLiteral("Disabled"), box);
    SetControlId(m_pDisabled, 1233);
    auto* group = new QButtonGroup(this);
    group->addButton(m_pEnabled);
    group->addButton(m_pDisabled);
    stateRow->addWidget(m_pEnabled);
    stateRow->addWidget(m_pDisabled);
    stateRow->addStretch(1);
    grid->addLayout(stateRow, 0, 0, 1, 3);

    auto timer = [&](int row, const char* label, int id) {
        auto* edit = new QLineEdit(box);
        SetTextLimit(edit, 6, QStringLiteral("[0-9]*"));
        edit->setAlignment(Qt::AlignRight);
        SetControlId(edit, id);
        grid->addWidget(new QLabel(QString::fromLatin1(label), box), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("ms"), box), row, 2);
        return edit;
    };
    m_pJoin = timer(1, "Join Time(100-100000)", 1240);
    m_pLeave = timer(2, "Leave Time(100-100000)", 1241);
    m_pLeaveAll = timer(3, "Leave_All Time(100-100000)", 1005);
    grid->setColumnStretch(1, 1);
    ContentLayout()->addWidget(box);

    auto* note = new QLabel(QStringLiteral("Note:\nLeave Time should be greater than 2*Join Time.\n"
                                           "Leave All Time should be greater than Leave Time."),
                            this);
    ContentLayout()->addWidget(note);

    SetControlId(RefreshButton(), 1044);
    SetControlId(ApplyButton(), 1000);
    SetControlId(CloseButton(), 1128);
    m_pWrites = NewSequence(GvrpLogic()->m_cSnmpSet);
    // The switch takes the timers a moment after it answers.
    SetRereadDelay(50);
    EnableTimers(false);
    connect(m_pEnabled, &QRadioButton::clicked, this, [this] { EnableTimers(true); });
    connect(m_pDisabled, &QRadioButton::clicked, this, [this] { EnableTimers(false); });
}

CGVRPFunLogic* CGVRPTime::GvrpLogic() const
{
    return Logic<CGVRPFunLogic>();
}

void CGVRPTime::EnableTimers(bool bOn)
{
    for (QLineEdit* edit : {m_pJoin, m_pLeave, m_pLeaveAll})
        edit->setEnabled(bOn);
}

void CGVRPTime::OnRefresh()
{
    const int ticket = Gate().Expect(tr("GVRP settings"));
    m_read.Start(CGVRPFunLogic::TimerOids(), [this, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok())
            OnGlobalRead();
        Gate().Settle(ticket, outcome);
    });
}

void CGVRPTime::OnGlobalRead()
{
    QStringList texts;
    for (int i = 0; i < 4; ++i)
        texts << m_read.Text(i);
    m_strOldState = texts[0];
    const GVRP_TIMER_INFO info = CGVRPFunLogic::TimersFromTexts(texts);
    const bool on = m_strOldState == QLatin1String("1");
    m_pEnabled->setChecked(on);
    m_pDisabled->setChecked(!on);
    EnableTimers(on);
    m_pJoin->setText(info.strJoin);
    m_pLeave->setText(info.strLeave);
    m_pLeaveAll->setText(info.strLeaveAll);
}

void CGVRPTime::OnApply()
{
    const QString newState = m_pEnabled->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    m_pWrites->Clear();
    const QString refusal = GvrpLogic()->SetTimers(m_strOldState, newState, m_pJoin->text(), m_pLeave->text(),
                                                   m_pLeaveAll->text(), *m_pWrites);
    if (!refusal.isEmpty()) {
        Message(refusal);
        return;
    }
    if (m_pWrites->StepCount() == 0) {
        Refresh();   // nothing to change
        return;
    }
    RunWrites(m_pWrites);
}
