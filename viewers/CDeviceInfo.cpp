#include "CDeviceInfo.h"

#include "CListCtrlEx.h"
#include "ControlId.h"
#include "SyslogTexts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDeviceInfo::CDeviceInfo(QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("Device Information"), parent)
{
    auto* power = new QGroupBox(QStringLiteral("Power Supply"), this);
    auto* powerLayout = new QVBoxLayout(power);
    m_pList = AddList(201, {QStringLiteral(" Description      "), QStringLiteral(" State     "),
                            QStringLiteral(" Source            ")},
                      powerLayout);
    m_pList->setMinimumHeight(120);
    ContentLayout()->addWidget(power, 1);

    auto* ports = new QGroupBox(QStringLiteral("Port Information"), this);
    auto* form = new QFormLayout(ports);
    const char* labels[4] = {"Web HTTP Port:", "Num of Ports:", "User Defined Port:", "Loopback Port:"};
    for (int i = 0; i < 4; ++i) {
        m_pEdits[i] = new QLineEdit(ports);
        m_pEdits[i]->setReadOnly(true);
        m_pEdits[i]->setEnabled(false);
        SetControlId(m_pEdits[i], 245 + i);
        form->addRow(QString::fromLatin1(labels[i]), m_pEdits[i]);
    }
    ContentLayout()->addWidget(ports);
    AddButtonRow(241);
    RefreshButton()->setDefault(true);
    AddWalk(m_walkPower);
    AddWalk(m_walkPorts);
}

QString CDeviceInfo::SourceText(const QByteArray& value, int version)
{
    static const char* const v1[] = {"Unknown", "AC", "DC", "External PowerSupply", "Internal Redundant", "Other"};
    static const char* const v3[] = {"unknown", "ac", "dc", "externalPowerSupply", "internalRedundant", "other"};
    int n = 5;
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '5')
        n = value[0] - '1';
    return QString::fromLatin1(version == 3 ? v3[n] : v1[n]);
}

void CDeviceInfo::OnRefresh()
{
    ReadScalars();
    FetchPowerTable();
}

void CDeviceInfo::ReadScalars()
{
    StartRead(m_walkPorts,
              {SyslogTexts::Oid("66.10.0"), SyslogTexts::Oid("54.2.0"), SyslogTexts::Oid("54.5.0"),
               SyslogTexts::Oid("54.7.0")},
              SNMP_PDU_GET, QStringLiteral("Port Information"), [this](const CDirectWalk::Response& r) {
                  if (m_walkPorts.m_nErrorStatus != 0)
                      return true;
                  for (int i = 0; i < r.size() && i < 4; ++i)
                      m_pEdits[i]->setText(QString::fromUtf8(r[i].value));
                  return true;
              });
}

void CDeviceInfo::FetchPowerTable()
{
    if (m_walkPower.IsPending())
        return;
    m_pList->DeleteAllItems();
    const int version = Settings().m_nVersion;
    StartRead(m_walkPower,
              {SyslogTexts::Oid("83.1.2.1.2"), SyslogTexts::Oid("83.1.2.1.3"), SyslogTexts::Oid("83.1.2.1.4")},
              SNMP_PDU_GETNEXT, QStringLiteral("Power Supply"), [this, version](const CDirectWalk::Response& r) {
                  m_pList->AppendRow({QString::fromUtf8(r[0].value), QString::fromUtf8(r[1].value),
                                      SourceText(r[2].value, version)});
                  return true;
              });
}
