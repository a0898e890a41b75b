#include "CEngineInfo.h"

#include "ControlId.h"
#include "DirectTexts.h"

#include <QFormLayout>
#include <QLineEdit>

CEngineInfo::CEngineInfo(QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("SNMPv3 Engine Information"), parent)
{
    auto* form = new QFormLayout;
    const char* labels[4] = {"Engine ID:", "Boot Numbers:", "Engine Time:", "Max Message Size:"};
    for (int i = 0; i < 4; ++i) {
        m_pFields[i] = new QLineEdit(this);
        m_pFields[i]->setReadOnly(true);
        SetControlId(m_pFields[i], 249 + i);
        form->addRow(QString::fromLatin1(labels[i]), m_pFields[i]);
    }
    // Room for an engine ID of 32 octets in hexadecimal.
    m_pFields[0]->setMinimumWidth(m_pFields[0]->fontMetrics().horizontalAdvance(QString(66, QLatin1Char('0'))));
    ContentLayout()->addLayout(form);
    ContentLayout()->addStretch(1);
    AddButtonRow(241);
    AddWalk(m_walk);
}

void CEngineInfo::OnRefresh()
{
    ReadScalars();
}

void CEngineInfo::ReadScalars()
{
    StartRead(m_walk,
              {"1.3.6.1.6.3.10.2.1.1.0", "1.3.6.1.6.3.10.2.1.2.0", "1.3.6.1.6.3.10.2.1.3.0", "1.3.6.1.6.3.10.2.1.4.0"},
              SNMP_PDU_GET, windowTitle(), [this](const CDirectWalk::Response& r) {
                  for (int i = 0; i < r.size() && i < 4; ++i)
                      m_pFields[i]->setText(i == 0 ? DirectTexts::OctetsAsHex(r[i].value) : QString::fromUtf8(r[i].value));
                  return true;
              });
}
