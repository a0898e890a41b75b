#include "CDHCPServerConfig.h"

#include "CDHCPServerLogic.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

CDHCPServerConfig::CDHCPServerConfig(QWidget* parent)
    : CConfigDialog(QStringLiteral("DHCP Server Screening Port Settings"), std::make_unique<CDHCPServerLogic>(),
                    RefreshApplyClose, parent)
    , m_nPorts(qMax(0, g_nDevicePortNum))
    , m_states(size_t(qMax(0, g_nDevicePortNum)), StateDisabled)
{
    auto* grid = new QGridLayout;
    m_cmbFrom = new QComboBox(this);
    m_cmbTo = new QComboBox(this);
    for (int p = 1; p <= m_nPorts; ++p) {
        m_cmbFrom->addItem(QString::number(p));
        m_cmbTo->addItem(QString::number(p));
    }
    m_cmbFrom->setCurrentIndex(0);
    m_cmbTo->setCurrentIndex(m_nPorts - 1);
    SetControlId(m_cmbFrom, 1122);
    SetControlId(m_cmbTo, 1123);
    m_cmbState = new QComboBox(this);
    m_cmbState->addItems({QStringLiteral("Disabled"), QStringLiteral("Enabled")});
    m_cmbState->setCurrentIndex(0);
    SetControlId(m_cmbState, 212);
    grid->addWidget(new QLabel(tr("From Port"), this), 0, 0);
    grid->addWidget(m_cmbFrom, 1, 0);
    grid->addWidget(new QLabel(tr("To Port"), this), 0, 1);
    grid->addWidget(m_cmbTo, 1, 1);
    grid->addWidget(new QLabel(tr("State"), this), 0, 2);
    grid->addWidget(m_cmbState, 1, 2);
    grid->setColumnStretch(3, 1);
    ContentLayout()->addLayout(grid);
    LinkPortRange(m_cmbFrom, m_cmbTo);

    m_list = new CListCtrlEx(this);
    SetControlId(m_list, 1120);
    m_list->AppendColumns({{"Port", 100, CListCtrlEx::LVCFMT_LEFT}, {"State", 400, CListCtrlEx::LVCFMT_LEFT}});
    m_list->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    ContentLayout()->addWidget(m_list, 1);

    SetControlId(ApplyButton(), 1000);
    SetControlId(RefreshButton(), 1001);
    SetControlId(CloseButton(), 1128);

    CDHCPServerLogic* logic = Logic<CDHCPServerLogic>();
    m_pRead = NewScalarRead(logic->m_cSnmpGet);
    m_pWrites = NewSequence(logic->m_cSnmpSet);
    resize(560, 520);
}

void CDHCPServerConfig::OnRefresh()
{
    // Every read starts from "Disabled": a port the switch no longer lists
    // must not keep showing (and later writing back) an old "Enabled".
    std::fill(m_states.begin(), m_states.end(), int(StateDisabled));
    m_list->DeleteAllItems();
    const int ticket = Gate().Expect(tr("screening ports"));
    m_pRead->Start({CDHCPServerLogic::PortStateOid()}, [this, ticket](const WalkOutcome& outcome) {
        WalkOutcome o = outcome;
        const QByteArray bitmap = m_pRead->Value(0);
        if (o.Ok() && bitmap.size() < (m_nPorts + 7) / 8) {
            o.nResult = WalkOutcome::ErrorStatus;
            o.strWhy = tr("the port bitmap is too short");
        }
        if (o.Ok()) {
            for (int p = 1; p <= m_nPorts; ++p)
                if (static_cast<unsigned char>(bitmap[(p - 1) / 8]) & (0x80 >> ((p - 1) % 8)))
                    m_states[size_t(p - 1)] = StateEnabled;
            ShowStates();
        }
        Gate().Settle(ticket, o);
    });
    ReadTrunkMap();
}

void CDHCPServerConfig::ShowStates()
{
    m_list->DeleteAllItems();
    for (int p = 1; p <= m_nPorts; ++p)
        m_list->AppendRow({QString::number(p), m_states[size_t(p - 1)] == StateEnabled ? QStringLiteral("Enabled")
                                                                                         : QStringLiteral("Disabled")});
}

void CDHCPServerConfig::OnApply()
{
    const int from = m_cmbFrom->currentIndex() + 1;
    const int to = m_cmbTo->currentIndex() + 1;
    const int state = m_cmbState->currentText() == QLatin1String("Enabled") ? StateEnabled : StateDisabled;
    if (from < 1 || to > m_nPorts || from > to)
        return;
    // The change is made on a copy: the shown states are the switch's until
    // it has taken the write (and the re-read shows them).
    std::vector<int> states = m_states;
    for (int p = from; p <= to; ++p)
        states[size_t(p - 1)] = state;
    std::vector<int> enabled(states.size(), 0);
    for (size_t i = 0; i < states.size(); ++i)
        enabled[i] = states[i] == StateEnabled ? 1 : 0;
    if (!Logic<CDHCPServerLogic>()->CheckTrunkMembers(enabled.data())) {
        Message(CDHCPServerLogic::SplitLinkMessage());
        return;
    }
    m_pWrites->Clear();
    m_pWrites->Add(tr("screening ports"),
                   {SnmpSetValue::Octets(CDHCPServerLogic::PortStateOid(), CUtils::PortArrayToOctets(enabled.data()))});
    RunWrites(m_pWrites);
}
