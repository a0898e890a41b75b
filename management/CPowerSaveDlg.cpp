#include "CPowerSaveDlg.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNone = QStringLiteral("None");
const QString kAllPort = QStringLiteral("All Port");

// Takes a widget out of whichever layout below `layout` holds it.
void Detach(QLayout* layout, QWidget* widget)
{
    if (!layout)
        return;
    layout->removeWidget(widget);
    for (int i = 0; i < layout->count(); ++i)
        Detach(layout->itemAt(i)->layout(), widget);
}

} // namespace

CPowerSaveDlg::CPowerSaveDlg(QWidget* parent)
    : CConfigDialog(tr("Power Saving Settings "), std::make_unique<CPowSavSettings>(), RefreshApplyClose, parent)
{
    auto* global = new QGroupBox(tr("Global Settings"), this);
    auto* globalLayout = new QHBoxLayout(global);
    auto* checks = new QVBoxLayout;
    m_pCableLength = new QCheckBox(tr("Enable Cable Length Detection"), global);
    m_pLinkStatus = new QCheckBox(tr("Enable Link Status Detection"), global);
    checks->addWidget(m_pCableLength);
    checks->addWidget(m_pLinkStatus);
    globalLayout->addLayout(checks, 1);
    m_pGlobalApply = new QPushButton(tr("&Apply"), global);
    m_pGlobalApply->setEnabled(false);
    globalLayout->addWidget(m_pGlobalApply, 0, Qt::AlignBottom);
    ContentLayout()->addWidget(global);

    auto* advanced = new QGroupBox(tr("Advanced Power Saving Settings"), this);
    auto* advancedLayout = new QVBoxLayout(advanced);
    auto* form = new QFormLayout;
    m_pType = new QComboBox(advanced);
    m_pType->addItems({tr("LED Shut-off"), tr("Port Shut-off"), tr("Port Standby"), tr("System Hibernation")});
    m_pState = new QComboBox(advanced);
    m_pState->addItems({tr("Enabled"), tr("Disabled")});
    m_pProfile1 = new QComboBox(advanced);
    m_pProfile2 = new QComboBox(advanced);
    m_pPorts = new QLineEdit(advanced);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_pPorts, 1);
    portRow->addWidget(new QLabel(tr("(e.g.:1-4,6)"), advanced));
    form->addRow(tr("Type"), m_pType);
    form->addRow(tr("State"), m_pState);
    form->addRow(tr("Time Profile1"), m_pProfile1);
    form->addRow(tr("Time Profile2"), m_pProfile2);
    form->addRow(tr("Port"), portRow);
    advancedLayout->addLayout(form);
    // The feature's Apply sits with its controls; the base keeps it gated.
    Detach(layout(), ApplyButton());
    auto* applyRow = new QHBoxLayout;
    applyRow->addStretch(1);
    applyRow->addWidget(ApplyButton());
    advancedLayout->addLayout(applyRow);
    ContentLayout()->addWidget(advanced);

    auto* summaryBox = new QGroupBox(tr("Summary"), this);
    auto* summaryLayout = new QVBoxLayout(summaryBox);
    m_pSummary = new CListCtrlEx(summaryBox);
    m_pSummary->AppendColumns({{"Type", 140}, {"State", 80}, {"Time Profile 1 ", 120}, {"Time Profile 2", 120}, {"Port ", 120}});
    m_pSummary->setMinimumHeight(m_pSummary->verticalHeader()->defaultSectionSize() * 5 + 8);
    summaryLayout->addWidget(m_pSummary);
    ContentLayout()->addWidget(summaryBox);

    m_pRead = NewScalarRead(Settings()->m_cSnmpGet);
    m_pNames = NewWalk(Settings()->m_cSnmpVlanTable);
    m_pWrites = NewSequence(Settings()->m_cSnmpSet);

    ApplyButton()->installEventFilter(this);
    connect(m_pGlobalApply, &QPushButton::clicked, this, &CPowerSaveDlg::OnGlobalApply);
    connect(m_pType, &QComboBox::currentIndexChanged, this, &CPowerSaveDlg::LoadFeature);
    connect(m_pState, &QComboBox::currentIndexChanged, this, &CPowerSaveDlg::UpdateAdvanced);
    UpdateAdvanced();
}

bool CPowerSaveDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Both Apply buttons follow the same gate.
    if (watched == ApplyButton() && event->type() == QEvent::EnabledChange)
        m_pGlobalApply->setEnabled(ApplyButton()->isEnabled());
    return CConfigDialog::eventFilter(watched, event);
}

bool CPowerSaveDlg::SelectProfile(QComboBox* list, const QString& strName)
{
    const int at = list->findText(strName.isEmpty() ? kNone : strName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(at);
    return at >= 0;
}

void CPowerSaveDlg::OnRefresh()
{
    m_bRead = false;
    m_bNames = false;
    m_pProfile1->clear();
    m_pProfile2->clear();
    m_pSummary->DeleteAllItems();
    const int settings = Gate().Expect(tr("power saving"));
    const int names = Gate().Expect(tr("time profiles"));
    m_pRead->Start(CPowSavSettings::PowerSavingOids(), [this, settings](const WalkOutcome& o) {
        QList<QByteArray> values;
        for (int i = 0; i < CPowSavSettings::PowerSavingOids().size(); ++i)
            values << m_pRead->Value(i);
        if (o.Ok() && Settings()->TakePowerSaving(values)) {
            m_pCableLength->setChecked(Settings()->Global().strCableLength == QLatin1String("1"));
            m_pLinkStatus->setChecked(Settings()->Global().strLinkStatus == QLatin1String("1"));
            ShowSummary();
            m_bRead = true;
            LoadFeature();
        }
        Gate().Settle(settings, o);
    });
    m_pNames->Start({PowerSaveOid::kProfileEntry + QStringLiteral(".2")}, [this, names](const WalkOutcome& o) { OnNamesEnd(names, o); });
}

void CPowerSaveDlg::OnNamesEnd(int nTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok()) {
        QStringList items{kNone};
        for (const SnmpRow& row : m_pNames->Rows())
            if (row.Has(0) && !row.Text(0).isEmpty())
                items << row.Text(0);
        m_pProfile1->addItems(items);
        m_pProfile2->addItems(items);
        m_bNames = true;
        LoadFeature();
    }
    Gate().Settle(nTicket, outcome);
}

void CPowerSaveDlg::ShowSummary()
{
    static const char* const kTypes[4] = {"LED_Shutoff", "Port_Shutoff", "Port_Standby", "System_Hibernation"};
    m_pSummary->DeleteAllItems();
    for (const POWER_SAVE_ROW& row : Settings()->Rows())
        m_pSummary->AppendRow({QLatin1String(kTypes[row.nType - 1]),
                               row.strState == QLatin1String("1") ? tr("Enabled") : tr("Disabled"), row.strProfile1,
                               row.strProfile2, row.strPorts.isEmpty() ? kNone : row.strPorts});
}

void CPowerSaveDlg::LoadFeature()
{
    // Only once both the settings and the profile names are in.
    if (!m_bRead || !m_bNames)
        return;
    const int type = m_pType->currentIndex() + 1;
    if (type < 1 || type > 4)
        return;
    const POWER_SAVE_ROW& row = Settings()->Rows()[size_t(type - 1)];
    SelectProfile(m_pProfile1, row.strProfile1);
    SelectProfile(m_pProfile2, row.strProfile2);
    m_pPorts->setText(type == 4 ? kAllPort : row.strPorts);
    m_pState->setCurrentIndex(row.strState == QLatin1String("1") ? 0 : 1);
    UpdateAdvanced();
}

void CPowerSaveDlg::UpdateAdvanced()
{
    const bool enabled = m_pState->currentIndex() == 0;
    const bool hibernation = m_pType->currentIndex() == 3;
    m_pProfile1->setEnabled(enabled);
    m_pProfile2->setEnabled(enabled);
    m_pPorts->setEnabled(enabled && !hibernation);
    if (hibernation)
        m_pPorts->setText(kAllPort);
}

void CPowerSaveDlg::OnGlobalApply()
{
    if (IsWriting())
        return;
    POWER_SAVE_GLOBAL global;
    global.strCableLength = m_pCableLength->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    global.strLinkStatus = m_pLinkStatus->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    m_pWrites->Clear();
    Settings()->SetPowerSavingExtra(global, *m_pWrites);
    RunWrites(m_pWrites);
}

void CPowerSaveDlg::OnApply()
{
    POWER_SAVE_ROW row;
    row.nType = m_pType->currentIndex() + 1;
    row.strState = m_pState->currentIndex() == 0 ? QStringLiteral("1") : QStringLiteral("2");
    if (row.nType != 4) {
        const QString ports = m_pPorts->text();
        if (!CUtils::HasNoSpecialCharsOrLetters(ports)) {
            Message(QStringLiteral("Invalid Portlist"));
            return;
        }
        row.strPorts = ports;
    }
    // "None" travels as the empty name and is written back as "None".
    row.strProfile1 = m_pProfile1->currentText() == kNone ? QString() : m_pProfile1->currentText();
    row.strProfile2 = m_pProfile2->currentText() == kNone ? QString() : m_pProfile2->currentText();
    m_pWrites->Clear();
    if (!Settings()->SetPowerSaving(row, *m_pWrites).isEmpty()) {
        // Its own message was shown; show the switch's settings again.
        Refresh();
        return;
    }
    RunWrites(m_pWrites);
}
