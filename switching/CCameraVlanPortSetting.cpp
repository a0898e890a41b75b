#include "CCameraVlanPortSetting.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kPortEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.26.1.5.1");
QString PortColumn(int column)
{
    return kPortEntry + u'.' + QString::number(column);
}

QString DetectionText(const QString& code)
{
    return code == QLatin1String("2") ? QStringLiteral("Disabled") : QStringLiteral("Enabled");
}

QString MembershipText(const QString& code)
{
    if (code == QLatin1String("1"))
        return QStringLiteral("Static");
    if (code == QLatin1String("2"))
        return QStringLiteral("Dynamic");
    if (code == QLatin1String("3"))
        return QStringLiteral("None");
    return code;
}

} // namespace

CCameraVlanPortSetting::CCameraVlanPortSetting(const QString& strVlanId, const QString& strState, QWidget* parent)
    : CConfigDialog(tr("Auto Camera Vlan Port Settings"), std::make_unique<CModuleBase>(), RefreshApplyClose, parent)
    , m_strVlanId(strVlanId)
    , m_strState(strState)
    , m_cSnmpSet(NewSession("m_cSnmpSet"))
    , m_cSnmpPortTable(NewSession("m_cSnmpPortTable"))
{
    const int ports = qMax(0, g_nDevicePortNum);
    auto* grid = new QGridLayout;
    m_editVlanId = new QLineEdit(m_strVlanId, this);
    m_editVlanId->setReadOnly(true);
    m_editVlanId->setMaximumWidth(m_editVlanId->fontMetrics().horizontalAdvance(QStringLiteral("88888")) * 2);
    SetControlId(m_editVlanId, 1054);
    m_cmbFrom = new QComboBox(this);
    m_cmbTo = new QComboBox(this);
    for (int p = 1; p <= ports; ++p) {
        m_cmbFrom->addItem(QString::number(p));
        m_cmbTo->addItem(QString::number(p));
    }
    m_cmbFrom->setCurrentIndex(0);
    m_cmbTo->setCurrentIndex(ports - 1);
    SetControlId(m_cmbFrom, 1100);
    SetControlId(m_cmbTo, 211);
    m_cmbDetection = new QComboBox(this);
    m_cmbDetection->addItems({tr("Enable"), tr("Disable")});
    m_cmbDetection->setCurrentIndex(1);
    SetControlId(m_cmbDetection, 1009);
    grid->addWidget(new QLabel(tr("VLAN ID"), this), 0, 0);
    grid->addWidget(m_editVlanId, 1, 0);
    grid->addWidget(new QLabel(tr("From Port"), this), 0, 1);
    grid->addWidget(m_cmbFrom, 1, 1);
    grid->addWidget(new QLabel(tr("To Port"), this), 0, 2);
    grid->addWidget(m_cmbTo, 1, 2);
    grid->addWidget(new QLabel(tr("Auto Detection"), this), 0, 3);
    grid->addWidget(m_cmbDetection, 1, 3);
    SetControlId(ApplyButton(), 1000);
    grid->addWidget(ApplyButton(), 1, 4);
    grid->setColumnStretch(5, 1);
    ContentLayout()->addLayout(grid);

    m_listPorts = new CListCtrlEx(this);
    SetControlId(m_listPorts, 1205);
    m_listPorts->InsertColumn(0, tr("Port"), CListCtrlEx::LVCFMT_CENTER, 100);
    m_listPorts->InsertColumn(1, tr("Auto Detection"), CListCtrlEx::LVCFMT_CENTER, 200);
    m_listPorts->InsertColumn(2, tr("Status"), CListCtrlEx::LVCFMT_CENTER, 200);
    m_listPorts->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    ContentLayout()->addWidget(m_listPorts, 1);
    SetControlId(RefreshButton(), 1044);

    m_pWalk = NewWalk(m_cSnmpPortTable);
    m_pWrites = NewSequence(m_cSnmpSet);
    LinkPortRange(m_cmbFrom, m_cmbTo);
    resize(560, 520);
}

bool CCameraVlanPortSetting::CanApply() const
{
    return m_strState == QLatin1String("1");
}

void CCameraVlanPortSetting::OnRefresh()
{
    ReadTrunkMap();
    m_listPorts->DeleteAllItems();
    const int ticket = Gate().Expect(tr("surveillance VLAN ports"));
    m_pWalk->Start({PortColumn(1), PortColumn(2), PortColumn(3)}, [this, ticket](const WalkOutcome& o) {
        for (const SnmpRow& row : m_pWalk->Rows())
            m_listPorts->AppendRow({row.strIndex, DetectionText(row.Text(1)), MembershipText(row.Text(2))});
        Gate().Settle(ticket, o);
    });
}

void CCameraVlanPortSetting::OnApply()
{
    const int value = m_cmbDetection->currentIndex() == 0 ? 1 : 2;
    const int from = m_cmbFrom->currentIndex() + 1;
    const int to = m_cmbTo->currentIndex() + 1;
    if (from < 1 || to < from)
        return;
    const std::vector<int>& trunks = Logic<CModuleBase>()->m_TrunkPorts;
    // The whole range is checked before anything is sent, so a refusal
    // never leaves part of the range changed.
    if (value == 1)
        for (int p = from; p <= to; ++p)
            if (p <= int(trunks.size()) && trunks[size_t(p - 1)] != 0) {
                Message(tr("LA member port can not support in auto Surveillance vlan mode."));
                return;
            }
    m_pWrites->Clear();
    QList<SnmpSetValue> batch;
    int first = from;
    for (int p = from; p <= to; ++p) {
        batch << SnmpSetValue::Integer(PortColumn(2) + u'.' + QString::number(p), value);
        if (int(batch.size()) == kPortsPerRequest || p == to) {
            // The switch takes a moment between batches.
            m_pWrites->Add(tr("auto detection of ports %1-%2").arg(first).arg(p), batch,
                           m_pWrites->StepCount() > 0 ? 100 : 0);
            batch.clear();
            first = p + 1;
        }
    }
    RunWrites(m_pWrites);
}
