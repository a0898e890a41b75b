#include "CSNMPEngineID.h"

#include "CSNMPConfig.h"
#include "CSetSequence.h"
#include "TextLimit.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CSNMPEngineID::CSNMPEngineID(QWidget* parent)
    : CConfigDialog(QStringLiteral("SNMP Engine ID"), std::make_unique<CSNMPConfig>(), RefreshApplyClose, parent)
{
    auto* group = new QGroupBox(QStringLiteral("SNMP Engine ID"), this);
    auto* layout = new QVBoxLayout(group);
    auto* form = new QFormLayout;
    m_pEdit = new QLineEdit(group);
    SetTextLimit(m_pEdit, 64);
    m_pEdit->setMinimumWidth(m_pEdit->fontMetrics().horizontalAdvance(QString(66, u'0')));
    form->addRow(QStringLiteral("SNMP Engine ID"), m_pEdit);
    layout->addLayout(form);
    layout->addWidget(
        new QLabel(QStringLiteral("Note: Engine ID length is 10-64, the accepted character is from 0 to F."), group));
    ContentLayout()->addWidget(group);
    m_pWrites = NewSequence(Config()->m_cCommonSNMPSet);
}

CSNMPConfig* CSNMPEngineID::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPEngineID::OnRefresh()
{
    m_nTicket = Gate().Expect(QStringLiteral("SNMP engine ID"));
    Config()->GetEngineID();   // reports through OnModuleNotify
}

void CSNMPEngineID::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_SNMP_SCALAR || nCode != SCALAR_ENGINE_ID || !pData)
        return;
    const auto* result = static_cast<const SNMP_SCALAR_RESULT*>(pData);
    if (result->bOk)
        m_pEdit->setText(result->strValue);
    Gate().Settle(m_nTicket, result->bOk, result->strWhy);
}

void CSNMPEngineID::OnApply()
{
    const QString id = m_pEdit->text();   // as typed: a blank is no hex digit
    if (id.size() < 10 || id.size() > 64) {
        Message(QStringLiteral("ID length is 10-64"));
        return;
    }
    QByteArray octets;
    if (!CSNMPConfig::EngineIdOctets(id, octets)) {
        Message(QStringLiteral("the accepted character is from 0 to F"));
        return;
    }
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("SNMP engine ID"), CSNMPConfig::EngineIdValues(id, false, {}));
    RunWrites(m_pWrites);   // then shows what the switch now holds
}
