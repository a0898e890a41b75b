#include "SetupDlg.h"

#include "ControlId.h"
#include "GlobalSettings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

SetupDlg::SetupDlg(QWidget* parent)
    : ClxDialog(parent)
{
    setWindowTitle(QStringLiteral("Device Parameter Configuration"));
    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("SNMP Parameter"), this);
    auto* form = new QFormLayout(group);

    m_pAddress = new QLineEdit(group);
    m_pAddress->setInputMask(QStringLiteral("000.000.000.000; "));
    SetControlId(m_pAddress, 1013);
    form->addRow(QStringLiteral("Device IP:"), m_pAddress);

    m_pTimeout = new QLineEdit(group);
    m_pTimeout->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), m_pTimeout));
    SetControlId(m_pTimeout, 1011);
    form->addRow(QStringLiteral("Timeout:"), m_pTimeout);

    // Present on the form, never shown or read.
    auto* spareAddress = new QLineEdit(group);
    SetControlId(spareAddress, 1012);
    spareAddress->hide();
    for (unsigned id : {1007u, 1010u}) {
        auto* check = new QCheckBox(group);
        SetControlId(check, id);
        check->hide();
    }
    outer->addWidget(group);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    auto* apply = new QPushButton(QStringLiteral("&Apply"), this);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    SetControlId(ok, 1);
    SetControlId(apply, 3);
    SetControlId(close, 2);
    for (QPushButton* b : {ok, apply, close}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SetupDlg::accept);
    connect(apply, &QPushButton::clicked, this, &SetupDlg::OnApply);
    connect(close, &QPushButton::clicked, this, &SetupDlg::reject);
    outer->addLayout(row);
}

bool SetupDlg::OnInitDialog()
{
    ClxDialog::OnInitDialog();
    LoadSettings();
    return true;
}

QString SetupDlg::AddressText(const QString& fieldText)
{
    QStringList parts = fieldText.split(QLatin1Char('.'));
    while (parts.size() < 4)
        parts << QString();
    QStringList octets;
    for (int i = 0; i < 4; ++i) {
        const int value = SettingToInt(parts[i]);
        octets << QString::number(qBound(0, value, 255));
    }
    return octets.join(QLatin1Char('.'));
}

void SetupDlg::LoadSettings()
{
    m_strDeviceIP = g_strDeviceIP;
    m_strTimeout = g_strSnmpTimeout;
    m_pAddress->setText(g_strDeviceIP.trimmed());
    m_pTimeout->setText(QString::number(SettingToInt(g_strSnmpTimeout)));
}

void SetupDlg::SaveSettings()
{
    m_strDeviceIP = AddressText(m_pAddress->text());
    m_strTimeout = m_pTimeout->text();
    g_strDeviceIP = m_strDeviceIP;
    g_strSnmpTimeout = m_strTimeout;
}

void SetupDlg::OnApply()
{
    SaveSettings();
    m_bSaved = 1;
}

void SetupDlg::accept()
{
    SaveSettings();
    m_bSaved = 1;
    ClxDialog::accept();
}
