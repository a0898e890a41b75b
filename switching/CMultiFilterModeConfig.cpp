#include "CMultiFilterModeConfig.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "VLAN_ENTRY.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kFilterEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.8.1");

} // namespace

CMultiFilterModeConfig::CMultiFilterModeConfig(QWidget* parent)
    : CConfigDialog(QStringLiteral("Multicast Filtering Mode Configuration"), nullptr, RefreshApplyClose, parent)
{
    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, 1126);
    const int center = CListCtrlEx::LVCFMT_CENTER;
    m_pList->AppendColumns({{"VLAN ID", 100, center}, {"VLAN Name", 150, center}, {"Multicast Filtering Mode", 320, center}},
                           true);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT
                              | CListCtrlEx::LVS_EX_FLATSB);
    m_pList->setMinimumHeight(fontMetrics().height() * 12);
    ContentLayout()->addWidget(m_pList, 1);

    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    auto* vlanLabel = new QLabel(QStringLiteral("VLAN ID"), box);
    m_pVlan = new QComboBox(box);
    SetControlId(m_pVlan, 1192);
    m_pAll = new QCheckBox(QStringLiteral("All"), box);
    SetControlId(m_pAll, 1193);
    auto* modeLabel = new QLabel(QStringLiteral("Multicast Filtering Mode"), box);
    SetControlId(modeLabel, 1124);
    m_pMode = new QComboBox(box);
    m_pMode->addItems({QStringLiteral("Forward Unregistered Groups"), QStringLiteral("Filtering Unregistered Groups")});
    m_pMode->setCurrentIndex(0);
    SetControlId(m_pMode, 1125);
    grid->addWidget(vlanLabel, 0, 0);
    grid->addWidget(m_pVlan, 0, 1);
    grid->addWidget(m_pAll, 0, 2);
    grid->addWidget(modeLabel, 1, 0);
    grid->addWidget(m_pMode, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    ContentLayout()->addWidget(box);

    SetControlId(RefreshButton(), 1044);
    SetControlId(ApplyButton(), 1000);
    SetControlId(CloseButton(), 1128);
    m_pFilterWalk = NewWalk(NewSession("m_cCommonSNMPTable"));
    m_pNameWalk = NewWalk(NewSession("m_cCommonSNMPNames"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMP"));
    connect(m_pAll, &QCheckBox::clicked, this, &CMultiFilterModeConfig::OnAll);
}

QString CMultiFilterModeConfig::ModeColumn()
{
    return kFilterEntry + QStringLiteral(".2");
}

QString CMultiFilterModeConfig::ModeText(const QString& strMode)
{
    return strMode == QLatin1String("0") ? QStringLiteral("Forward Unregistered Groups")
                                         : QStringLiteral("Filtering Unregistered Groups");
}

void CMultiFilterModeConfig::OnAll()
{
    m_pVlan->setEnabled(!m_pAll->isChecked());
    UpdateApply();
}

void CMultiFilterModeConfig::OnRefresh()
{
    m_pList->DeleteAllItems();
    m_pVlan->clear();
    // The filtering table is walked on its own and the names are looked up
    // by VLAN id: the two tables need not hold the same VLANs.
    const int filterTicket = Gate().Expect(tr("multicast filtering table"));
    m_pFilterWalk->Start({kFilterEntry + QStringLiteral(".1"), ModeColumn()},
                         [this, filterTicket](const WalkOutcome& o) { OnWalkEnd(filterTicket, o); });
    const int nameTicket = Gate().Expect(tr("VLAN names"));
    m_pNameWalk->Start({VlanOid::kName}, [this, nameTicket](const WalkOutcome& o) { OnWalkEnd(nameTicket, o); });
}

void CMultiFilterModeConfig::OnWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    // A walk replaced by a new Refresh: the new one fills the list.
    if (outcome.nResult != WalkOutcome::Cancelled && !m_pFilterWalk->IsRunning() && !m_pNameWalk->IsRunning())
        FillList();
    Gate().Settle(nTicket, outcome);
}

void CMultiFilterModeConfig::FillList()
{
    m_pList->DeleteAllItems();
    m_pVlan->clear();
    for (const SnmpRow& row : m_pFilterWalk->Rows()) {
        // The row's index is its VLAN id.
        if (!ParseStrictInt(row.strIndex, 1, 4094))
            continue;
        const SnmpRow* name = m_pNameWalk->Find(row.strIndex);
        m_pList->AppendRow({row.strIndex, name ? name->Text(0) : QString(), row.Has(1) ? ModeText(row.Text(1)) : QString()});
        m_pVlan->addItem(row.strIndex);
    }
    m_pVlan->setCurrentIndex(m_pVlan->count() > 0 ? 0 : -1);
    UpdateApply();
}

bool CMultiFilterModeConfig::CanApply() const
{
    return m_pAll->isChecked() ? m_pList->GetItemCount() > 0 : m_pVlan->currentIndex() >= 0;
}

void CMultiFilterModeConfig::OnApply()
{
    const int mode = m_pMode->currentIndex() != 0 ? 1 : 0;
    QStringList vids;
    if (m_pAll->isChecked()) {
        for (int i = 0; i < m_pList->GetItemCount(); ++i)
            vids << m_pList->GetItemText(i, 0);
    } else {
        vids << m_pVlan->currentText();
    }
    m_pWrites->Clear();
    for (int first = 0; first < vids.size(); first += kValuesPerRequest) {
        const QStringList batch = vids.mid(first, kValuesPerRequest);
        QList<SnmpSetValue> values;
        for (const QString& vid : batch)
            values << SnmpSetValue::Integer(ModeColumn() + u'.' + vid, mode);
        m_pWrites->Add(batch.size() == 1 ? tr("mode of VLAN %1").arg(batch.front())
                                         : tr("mode of VLANs %1 to %2").arg(batch.front(), batch.back()),
                       values);
    }
    RunWrites(m_pWrites);
}
