#include "CSNMPGlobal.h"

#include "CSNMPConfig.h"
#include "CSetSequence.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

CSNMPGlobal::CSNMPGlobal(QWidget* parent)
    : CConfigDialog(QStringLiteral("SNMP Global State Settings"), std::make_unique<CSNMPConfig>(), RefreshApplyClose,
                    parent)
{
    auto* group = new QGroupBox(QStringLiteral("SNMP Global State Settings"), this);
    auto* layout = new QVBoxLayout(group);
    m_pEnable = new QCheckBox(QStringLiteral("Enable SNMP Global "), group);
    m_pEnable->setLayoutDirection(Qt::RightToLeft);   // text on the left of the box
    layout->addWidget(m_pEnable);
    ContentLayout()->addWidget(group);
    m_pWrites = NewSequence(Config()->m_cCommonSNMPSet);
}

CSNMPConfig* CSNMPGlobal::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPGlobal::OnRefresh()
{
    m_nTicket = Gate().Expect(QStringLiteral("SNMP global state"));
    Config()->GetGlobalState();   // reports through OnModuleNotify
}

void CSNMPGlobal::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_SNMP_SCALAR || nCode != SCALAR_GLOBAL_STATE || !pData)
        return;
    const auto* result = static_cast<const SNMP_SCALAR_RESULT*>(pData);
    if (result->bOk)
        m_pEnable->setChecked(result->strValue == QLatin1String("1"));
    Gate().Settle(m_nTicket, result->bOk, result->strWhy);
}

void CSNMPGlobal::OnApply()
{
    const QString state = m_pEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    if (state == QLatin1String("2")
        && Message(QStringLiteral("Disabling the SNMP agent cuts this program and every other SNMP manager off "
                                  "from the switch. Disable it?"),
                   MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2)
               != IDOK)
        return;
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("SNMP global state"), CSNMPConfig::GlobalStateValues(state));
    RunWrites(m_pWrites);   // success and failure both re-read what the switch holds
}
