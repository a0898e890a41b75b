#include "CPQSVlanAdd.h"

#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Control ids: a row's boxes are first id + port - 1.
constexpr int kRowFirstId[] = {3501, 3001, 4801, 4001};   // Tagged, Untagged, Forbidden, Not Member
constexpr int kAllButtonId[] = {1170, 1171, 1173, 1172};
constexpr int kNameEditId = 1053;
constexpr int kVidEditId = 1054;
constexpr int kAdvertisementId = 1126;

} // namespace

CPQSVlanAdd::CPQSVlanAdd(const VlanList& list, bool bAdd, int nVlanMode, int nVid, QWidget* parent)
    : CConfigDialog(bAdd ? tr("Add VLAN") : tr("Edit VLAN"), std::make_unique<CVlanAddLogic>(), OkCancel, parent)
    , m_pVlanList(list)
    , m_bAdd(bAdd)
    , m_nVlanMode(nVlanMode)
    , m_nVid(bAdd ? 0 : nVid)
{
    SetSwallowEnterEscape(true);
    const int nPorts = VlanLogic()->PortCount();
    m_state.assign(size_t(nPorts), NotMember);

    auto* idBox = new QGroupBox(tr("802.1Q VLAN Name and ID"), this);
    auto* idLayout = new QHBoxLayout(idBox);
    auto* form = new QFormLayout;
    m_editVid = new QLineEdit(idBox);
    SetTextLimit(m_editVid, 4, QStringLiteral("[0-9]*"));
    m_editVid->setMaximumWidth(m_editVid->fontMetrics().horizontalAdvance(QStringLiteral("88888")) + 16);
    SetControlId(m_editVid, kVidEditId);
    m_editName = new QLineEdit(idBox);
    SetTextLimit(m_editName, 20);
    m_editName->setMinimumWidth(m_editName->fontMetrics().horizontalAdvance(QString(22, u'M')) / 2 + 16);
    SetControlId(m_editName, kNameEditId);
    form->addRow(tr("VID:"), m_editVid);
    form->addRow(tr("VLAN Name:"), m_editName);
    idLayout->addLayout(form);
    m_btnAdvertisement = new QCheckBox(tr("Enabled Advertisement"), idBox);
    SetControlId(m_btnAdvertisement, kAdvertisementId);
    idLayout->addSpacing(24);
    idLayout->addWidget(m_btnAdvertisement, 0, Qt::AlignBottom);
    idLayout->addStretch(1);
    ContentLayout()->addWidget(idBox);

    auto* memberBox = new QGroupBox(tr("VLAN Port Member"), this);
    auto* grid = new QGridLayout(memberBox);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(fontMetrics().height());   // one membership clearly apart from the next
    const QString titles[] = {tr("Tagged"), tr("Untagged"), tr("Forbidden"), tr("Not Member")};
    for (int row = 0; row < StateCount; ++row) {
        const auto state = PortState(row);
        grid->addWidget(new QLabel(titles[row], memberBox), row, 0, Qt::AlignVCenter);
        m_allButtons[row] = new QPushButton(tr("All"), memberBox);
        SetControlId(m_allButtons[row], kAllButtonId[row]);
        m_allButtons[row]->setToolTip(tr("Every port %1").arg(titles[row]));
        grid->addWidget(m_allButtons[row], row, 1, Qt::AlignVCenter);
        m_rows[row] = new CPortGrid(nPorts, kRowFirstId[row], memberBox);
        grid->addWidget(m_rows[row], row, 2, Qt::AlignLeft);
        connect(m_allButtons[row], &QPushButton::clicked, this, [this, state] { OnAll(state); });
        connect(m_rows[row], &CPortGrid::portToggled, this,
                [this, state](int port, bool checked) { OnPortClicked(state, port, checked); });
    }
    grid->setColumnStretch(3, 1);
    ContentLayout()->addWidget(memberBox);
    m_pWrites = NewSequence(VlanLogic()->m_cSnmpSet);
    m_pUndo = NewSequence(VlanLogic()->m_cSnmpSet);
}

bool CPQSVlanAdd::OnInitDialog()
{
    CVlanAddLogic* logic = VlanLogic();
    if (!m_bAdd) {
        m_editVid->setText(QString::number(m_nVid));
        m_editVid->setEnabled(false);
        m_editName->setEnabled(m_nVid != 1);   // the default VLAN keeps its name
        if (const VLAN_ENTRY* entry = FindVlan(m_pVlanList, m_nVid)) {
            m_editName->setText(entry->szName);
            m_strAdvertisement = entry->strAdvertisement;
            m_btnAdvertisement->setChecked(entry->strAdvertisement == QLatin1String("1"));
            PortFlags egress, untagged, forbidden;
            logic->SplitPortList(*entry, egress, untagged, forbidden);
            for (int port = 1; port <= logic->PortCount(); ++port) {
                const size_t i = size_t(port - 1);
                m_state[i] = forbidden[i] ? Forbidden : untagged[i] ? Untagged : egress[i] ? Tagged : NotMember;
            }
        }
    }
    m_btnAdvertisement->setEnabled(AdvertisementKnown());
    for (int port = 1; port <= logic->PortCount(); ++port)
        SetState(port, m_state[size_t(port - 1)]);
    m_untaggedElsewhere = logic->UntaggedElsewhere(m_pVlanList, m_nVid);
    return CConfigDialog::OnInitDialog();   // the first read
}

bool CPQSVlanAdd::AdvertisementKnown() const
{
    // A switch without the advertisement object reads none for any VLAN.
    if (!m_bAdd)
        return !m_strAdvertisement.isEmpty();
    for (const VLAN_ENTRY& entry : m_pVlanList)
        if (!entry.strAdvertisement.isEmpty())
            return true;
    return false;
}

CPQSVlanAdd::PortState CPQSVlanAdd::State(int nPort) const
{
    return nPort >= 1 && size_t(nPort) <= m_state.size() ? m_state[size_t(nPort - 1)] : NotMember;
}

void CPQSVlanAdd::SetState(int nPort, PortState state)
{
    m_state[size_t(nPort - 1)] = state;
    for (int row = 0; row < StateCount; ++row)
        m_rows[row]->SetChecked(nPort, row == state);
}

PortFlags CPQSVlanAdd::FlagsOf(std::initializer_list<PortState> states) const
{
    PortFlags flags(m_state.size(), 0);
    for (size_t i = 0; i < m_state.size(); ++i)
        for (PortState s : states)
            if (m_state[i] == s)
                flags[i] = 1;
    return flags;
}

void CPQSVlanAdd::OnPortClicked(PortState row, int nPort, bool bChecked)
{
    if (!bChecked || row == State(nPort)) {
        SetState(nPort, State(nPort));   // a port always keeps exactly one state
        return;
    }
    if (row == Untagged && m_nVlanMode == 2 && m_untaggedElsewhere[size_t(nPort - 1)]) {
        SetState(nPort, State(nPort));
        StatusLine()->ShowText(tr("Port %1 is untagged in another VLAN.").arg(nPort));
        return;
    }
    StatusLine()->Clear();
    SetState(nPort, row);
}

void CPQSVlanAdd::OnAll(PortState row)
{
    if (row == Untagged && m_nVlanMode == 2) {
        Message(tr("Duplicate untagged port member is not allowed in one port."));
        return;
    }
    for (int port = 1; port <= int(m_state.size()); ++port)
        SetState(port, row);
}

void CPQSVlanAdd::OnRefresh()
{
    ReadTrunkMap();
}

void CPQSVlanAdd::OnApply()
{
    CVlanAddLogic* logic = VlanLogic();
    CVlanAddLogic::Settings s;
    if (m_bAdd) {
        qint64 vid = 0;
        s.nVid = ParseStrictInt(m_editVid->text(), 0, 9999, &vid) ? int(vid) : 0;
    } else {
        s.nVid = m_nVid;
    }
    s.strName = m_editName->text();
    s.egress = FlagsOf({Tagged, Untagged});
    s.untagged = FlagsOf({Untagged});
    s.forbidden = FlagsOf({Forbidden});
    const bool bAdvertise = m_btnAdvertisement->isChecked();
    const bool bWasAdvertised = m_strAdvertisement == QLatin1String("1");
    if (m_btnAdvertisement->isEnabled() && bAdvertise != bWasAdvertised)
        s.nAdvertisement = bAdvertise ? 1 : 2;

    QString why = m_bAdd ? CVlanAddLogic::CheckVid(m_pVlanList, s.nVid) : QString();
    if (why.isEmpty() && m_editName->isEnabled())
        why = TextLimitMessage(m_editName, tr("VLAN Name"));   // a longer name read from the switch
    if (why.isEmpty())
        why = CVlanAddLogic::CheckName(m_pVlanList, s.strName, s.nVid);
    if (why.isEmpty())
        why = logic->CheckTrunkMembers(s.egress, s.untagged, s.forbidden);
    if (why.isEmpty() && !m_bAdd)
        why = CVlanAddLogic::CheckMembers(m_pVlanList, s.nVid, s.egress);
    if (!why.isEmpty()) {
        Message(why);
        return;
    }

    m_pWrites->Clear();
    if (m_bAdd) {
        logic->AddSteps(*m_pWrites, s);
    } else {
        VLAN_ENTRY old;
        if (const VLAN_ENTRY* entry = FindVlan(m_pVlanList, s.nVid))
            old = *entry;
        logic->EditSteps(*m_pWrites, old, s);
    }
    m_nVid = s.nVid;
    SetWriteSuccessText(m_bAdd ? tr("VLAN %1 added").arg(m_nVid) : tr("VLAN %1 changed").arg(m_nVid));
    if (!m_bAdd) {
        RunWrites(m_pWrites);
        return;
    }
    // Step 1 creates the row: a failure after it would leave a half-made
    // VLAN on the switch, so the row is removed again.
    m_pUndo->Clear();
    CVlanAddLogic::DestroySteps(*m_pUndo, m_nVid);
    RunWrites(m_pWrites, m_pUndo, 2);
}

QString CPQSVlanAdd::UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const
{
    if (bOk)
        return tr("\nVLAN %1 was removed again.").arg(m_nVid);
    return tr("\nVLAN %1 could not be removed again (%2); remove it in the VLAN list.")
        .arg(m_nVid)
        .arg(undoFailure.Text());
}
