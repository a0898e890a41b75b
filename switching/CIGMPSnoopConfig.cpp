#include "CIGMPSnoopConfig.h"

#include "CIGMPSnoopingLogic.h"
#include "CIGMPSnoopingVLANSetting.h"
#include "CSetSequence.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

CIGMPSnoopConfig::CIGMPSnoopConfig(QWidget* parent)
    : CConfigDialog(QStringLiteral("IGMP Snooping Configuration"), std::make_unique<CIGMPSnoopingLogic>(),
                    RefreshApplyClose, parent)
    , m_read(Logic<CIGMPSnoopingLogic>()->m_cSnmpIgmpGet)
{
    for (auto [session, name] : IgmpLogic()->OwnSessions())
        AddSession(*session, name);

    auto* box = new QGroupBox(QStringLiteral("IGMP Global Settings"), this);
    auto* form = new QFormLayout(box);
    m_pEnable = new QCheckBox(QStringLiteral("Enable IGMP Snooping "), box);
    SetControlId(m_pEnable, 545);
    form->addRow(m_pEnable);
    auto digits = [box](int id) {
        auto* edit = new QLineEdit(box);
        SetTextLimit(edit, 6, QStringLiteral("[0-9]*"));
        SetControlId(edit, id);
        return edit;
    };
    form->addRow(QStringLiteral("Host Timeout(130-153025 sec)"), m_pHostTimeout = digits(6871));
    form->addRow(QStringLiteral("Router Timeout(60-600 sec)"), m_pRouterTimeout = digits(5654));
    form->addRow(QStringLiteral("Robustness Variable(2-255)"), m_pRobustness = digits(7841));
    form->addRow(QStringLiteral("Last Member Query Interval(1-25 sec)"), m_pLastMemberQuery = digits(43565));
    form->addRow(QStringLiteral("Query Interval(60-600 sec)"), m_pQueryInterval = digits(1246));
    form->addRow(QStringLiteral("Max Response Time(10-25 sec)"), m_pMaxResponse = digits(4324));
    auto* note = new QLabel(QStringLiteral("Note: The Host Timeout was computed automatically in Querier Enabled by\n "
                                           "(Robustness Variable * Query Interval + Max Response Time)."),
                            box);
    form->addRow(note);
    ContentLayout()->addWidget(box);

    auto* row = new QHBoxLayout;
    m_pVlanInfo = new QPushButton(QStringLiteral("&IGMP Vlan Info"), this);
    SetControlId(m_pVlanInfo, 10218);
    m_pVlanInfo->setEnabled(false);
    row->addWidget(m_pVlanInfo);
    row->addStretch(1);
    ContentLayout()->addLayout(row);

    m_pWrites = NewSequence(IgmpLogic()->m_cSnmpIgmpSet);
    connect(m_pEnable, &QCheckBox::clicked, this, &CIGMPSnoopConfig::OnEnableSnooping);
    connect(m_pVlanInfo, &QPushButton::clicked, this, &CIGMPSnoopConfig::OnIgmpVlanInfo);
}

CIGMPSnoopingLogic* CIGMPSnoopConfig::IgmpLogic() const
{
    return Logic<CIGMPSnoopingLogic>();
}

void CIGMPSnoopConfig::OnRefresh()
{
    const int ticket = Gate().Expect(tr("IGMP snooping settings"));
    m_read.Start(CIGMPSnoopingLogic::GlobalOids(), [this, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            QStringList texts;
            for (int i = 0; i < 7; ++i)
                texts << m_read.Text(i);
            IgmpLogic()->m_GlobalInfo = CIGMPSnoopingLogic::GlobalFromTexts(texts);
            OnGlobalReady();
        }
        Gate().Settle(ticket, outcome);
    });
}

void CIGMPSnoopConfig::OnGlobalReady()
{
    const IGMP_GLOBAL_INFO& info = IgmpLogic()->m_GlobalInfo;
    m_pEnable->setChecked(info.m_strState == QLatin1String("1"));
    OnEnableSnooping();
    m_pHostTimeout->setText(info.m_strHostTimeout);
    m_pRouterTimeout->setText(info.m_strRouterTimeout);
    m_pRobustness->setText(info.m_strRobustness);
    m_pQueryInterval->setText(info.m_strQueryInterval);
    m_pLastMemberQuery->setText(info.m_strLastMemberQueryInterval);
    m_pMaxResponse->setText(info.m_strMaxResponseTime);
    m_pVlanInfo->setEnabled(true);
}

void CIGMPSnoopConfig::OnEnableSnooping()
{
    const bool on = m_pEnable->isChecked();
    for (QLineEdit* edit : {m_pHostTimeout, m_pRouterTimeout, m_pRobustness, m_pLastMemberQuery, m_pQueryInterval,
                            m_pMaxResponse})
        edit->setEnabled(on);
}

void CIGMPSnoopConfig::OnApply()
{
    IGMP_GLOBAL_INFO now;
    now.m_strState = m_pEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    // Checked in this order also when the edits are disabled; what goes to
    // the switch is the number checked, not the text typed.
    const struct {
        QLineEdit* edit;
        qint64 lo, hi;
        const char* message;
        QString* out;
    } fields[] = {
        {m_pHostTimeout, 130, 153025, "Invalid Host Timeout (130-153025 sec).", &now.m_strHostTimeout},
        {m_pRouterTimeout, 60, 600, "Invalid Router Timeout (60-600 sec).", &now.m_strRouterTimeout},
        {m_pRobustness, 2, 255, "Invalid Robustness Variable (2-255).", &now.m_strRobustness},
        {m_pLastMemberQuery, 1, 25, "Invalid Last Member Query Interval (1-25 sec).",
         &now.m_strLastMemberQueryInterval},
        {m_pQueryInterval, 60, 600, "Invalid Query Interval (60-600 sec).", &now.m_strQueryInterval},
        {m_pMaxResponse, 10, 25, "Invalid Max. Response Time (10-25 sec).", &now.m_strMaxResponseTime},
    };
    for (const auto& f : fields)
        if (!ParseStrictInt(f.edit->text(), f.lo, f.hi, nullptr, f.out)) {
            Message(QString::fromLatin1(f.message));
            return;
        }
    if (now.m_strState == QLatin1String("2")
        && Message(QStringLiteral("All router ports will be deleted."), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
               != IDOK) {
        Refresh();
        return;
    }
    if (IgmpLogic()->SetGlobal(IgmpLogic()->m_GlobalInfo, now, *m_pWrites) == 0) {
        Refresh();   // nothing changed: nothing to send
        return;
    }
    RunWrites(m_pWrites);
}

void CIGMPSnoopConfig::OnIgmpVlanInfo()
{
    // The state as last read, not as the box shows it.
    CIGMPSnoopingVLANSetting vlans(IgmpLogic()->m_GlobalInfo.m_strState, this);
    vlans.DoModal();
}
