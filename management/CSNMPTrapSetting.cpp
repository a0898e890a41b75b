#include "CSNMPTrapSetting.h"

#include "CSNMPConfig.h"
#include "CSetSequence.h"
#include "GlobalSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>

CSNMPTrapSetting::CSNMPTrapSetting(QWidget* parent)
    : CConfigDialog(QStringLiteral("SNMP Trap Configuration"), std::make_unique<CSNMPConfig>(), RefreshApplyClose,
                    parent)
    , m_bPoe(IsPoeModelName(g_strDeviceName))
{
    static const char* const kCaptions[10] = {
        "SNMP Authentication Traps", "Device Bootup", "Port Link Up / Link Down", "RSTP Port State Change",
        "Firmware Upgrade State", "Duplicate IP Detected", "CPU Utilization", "PoE Power On / Off",
        "PoE Power Error ", "PoE over max power budget",
    };
    auto* group = new QGroupBox(QStringLiteral("Trap Settings"), this);
    auto* grid = new QGridLayout(group);
    int shown = 0;
    for (int field = 0; field < 10; ++field) {
        m_pBoxes[field] = new QCheckBox(QString::fromLatin1(kCaptions[field]), group);
        if (field == 6) {
            m_pBoxes[field]->hide();   // no object behind it
            continue;
        }
        grid->addWidget(m_pBoxes[field], shown % 5, shown / 5);
        ++shown;
        if (field >= 7 && !m_bPoe)
            m_pBoxes[field]->setEnabled(false);
    }
    ContentLayout()->addWidget(group);
    m_pWrites = NewSequence(Config()->m_cCommonSNMP);
}

CSNMPConfig* CSNMPTrapSetting::Config() const
{
    return Logic<CSNMPConfig>();
}

void CSNMPTrapSetting::OnRefresh()
{
    const int ticket = Gate().Expect(QStringLiteral("trap settings"));
    QString why;
    const bool ok = Config()->GetTrapSettings(m_bPoe, &why);   // the row arrives through OnModuleNotify
    Gate().Settle(ticket, ok, why);
    if (!ok)
        Message(QStringLiteral("The trap settings could not be read from the switch (%1). Nothing can be applied "
                               "until they are read; try Refresh.")
                    .arg(why));
}

void CSNMPTrapSetting::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY || nCode != MN_ROW || !pData)
        return;
    const auto* row = static_cast<const SNMP_TRAP_ROW*>(pData);
    for (int field = 0; field < 10; ++field)
        m_pBoxes[field]->setChecked(field != 6 && row->field[field] == QLatin1String("1"));
}

void CSNMPTrapSetting::OnApply()
{
    SNMP_TRAP_ROW row;
    for (int field = 0; field < 10; ++field)
        row.field[field] = m_pBoxes[field]->isChecked() && field != 6 ? QStringLiteral("1") : QStringLiteral("2");
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("trap settings"), CSNMPConfig::TrapValues(row, m_bPoe));
    RunWrites(m_pWrites);
}
