#include "CSyslogCfgDlg.h"

#include "ControlId.h"
#include "SyslogTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>

namespace {

const QByteArray kEnable = SyslogTexts::Oid("82.2.1.0");
const QByteArray kSeverity[3] = {SyslogTexts::Oid("82.2.2.0"), SyslogTexts::Oid("82.2.3.0"),
                                 SyslogTexts::Oid("82.2.4.0")};

} // namespace

CSyslogCfgDlg::CSyslogCfgDlg(QWidget* parent)
    : CDirectSnmpDialog(Form::DirectSettings, QStringLiteral("Syslog Configuration"), parent)
{
    auto* form = new QFormLayout;
    m_pEnable = new QCheckBox(QStringLiteral("SyslogEnable"), this);
    SetControlId(m_pEnable, 1008);
    form->addRow(m_pEnable);
    const int ids[3] = {211, 214, 215};
    const char* labels[3] = {"MinLogToConsoleSeverity:", "MinLogToFileSeverity:", "MinLogToCacheSeverity:"};
    for (int i = 0; i < 3; ++i) {
        m_pCombos[i] = new QComboBox(this);
        SetControlId(m_pCombos[i], ids[i]);
        m_pCombos[i]->addItems(SyslogTexts::SeverityNames());
        form->addRow(QString::fromLatin1(labels[i]), m_pCombos[i]);
    }
    ContentLayout()->addLayout(form);
    ContentLayout()->addStretch(1);
    m_pApply = new QPushButton(QStringLiteral("&Apply"), this);
    SetControlId(m_pApply, 1145);
    m_pApply->setEnabled(false);
    AddButtonRow(103, {m_pApply});
    SetControlId(CloseButton(), 1146);
    AddWalk(m_walk);
    connect(m_pApply, &QPushButton::clicked, this, &CSyslogCfgDlg::OnOK);
}

void CSyslogCfgDlg::OnRefresh()
{
    ReadScalars();
}

void CSyslogCfgDlg::ReadScalars()
{
    if (m_walk.IsPending())
        return;
    m_pApply->setEnabled(false);
    StartRead(m_walk, {kEnable, kSeverity[0], kSeverity[1], kSeverity[2]}, SNMP_PDU_GET, windowTitle(),
              [this](const CDirectWalk::Response& r) {
                  if (r.size() < 4 || m_walk.m_nErrorStatus != 0)
                      return true;   // the controls stay as they were
                  m_pEnable->setChecked(r[0].value == "1");
                  for (int i = 0; i < 3; ++i) {
                      const QByteArray& v = r[i + 1].value;
                      const bool severity = v.size() == 1 && v[0] >= '0' && v[0] <= '8';
                      m_pCombos[i]->setCurrentIndex(severity ? v[0] - '0' : 0);
                  }
                  m_pApply->setEnabled(true);
                  return true;
              });
}

void CSyslogCfgDlg::OnOK()
{
    WriteScalars();
}

void CSyslogCfgDlg::WriteScalars()
{
    if (!m_pApply->isEnabled())
        return;
    QList<DirectSetValue> values = {{kEnable, SNMP_TYPE_INTEGER, m_pEnable->isChecked() ? "1" : "2"}};
    for (int i = 0; i < 3; ++i)
        values.append({kSeverity[i], SNMP_TYPE_INTEGER, QByteArray::number(qMax(0, m_pCombos[i]->currentIndex()))});
    CDirectSnmpDialog::WriteScalars(values, {});
}
