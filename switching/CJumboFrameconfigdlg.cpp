#include "CJumboFrameconfigdlg.h"

#include "CSetSequence.h"
#include "ControlId.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CJumboFrameconfigdlg::CJumboFrameconfigdlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Jumbo Frame Configuration"), nullptr, RefreshApplyClose, parent)
    , m_cCommonSNMP(NewSession("m_cCommonSNMP"))
    , m_read(m_cCommonSNMP)
{
    auto* box = new QGroupBox(this);
    SetControlId(box, 1063);
    auto* layout = new QVBoxLayout(box);
    m_pEnable = new QCheckBox(QStringLiteral("Enable Jumbo Frame"), box);
    SetControlId(m_pEnable, 1062);
    layout->addWidget(m_pEnable);
    layout->addWidget(new QLabel(QStringLiteral("Note: Maximum Length is 10000 bytes"), box));
    ContentLayout()->addWidget(box);
    SetControlId(ApplyButton(), 1);
    m_pWrites = NewSequence(m_cCommonSNMP);
}

QString CJumboFrameconfigdlg::JumboOid()
{
    return QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.1.12.0");
}

void CJumboFrameconfigdlg::OnRefresh()
{
    const int ticket = Gate().Expect(tr("jumbo frame state"));
    m_read.Start({JumboOid()}, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok())
            m_pEnable->setChecked(m_read.Text(0) == QLatin1String("1"));
        Gate().Settle(ticket, outcome);
    });
}

void CJumboFrameconfigdlg::OnApply()
{
    m_bWroteOn = m_pEnable->isChecked();
    m_pWrites->Clear();
    m_pWrites->Add(tr("jumbo frame"), {SnmpSetValue::Integer(JumboOid(), m_bWroteOn ? 1 : 2)});
    RunWrites(m_pWrites);
}

void CJumboFrameconfigdlg::OnWritesDone()
{
    // Said only once the switch has taken it.
    Message(m_bWroteOn ? QStringLiteral("Enabled Jumbo Frame") : QStringLiteral("Disabled Jumbo Frame"));
    accept();
}
