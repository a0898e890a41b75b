#include "CPQSTrunkPort.h"

#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CPQSTrunkPort::CPQSTrunkPort(QWidget* parent)
    : CConfigDialog(QStringLiteral("Trunk member"), nullptr, OkCancel, parent)
{
    auto* trunk = new QGroupBox(QStringLiteral("Trunk"), this);
    auto* form = new QFormLayout(trunk);
    m_editTrunkId = new QLineEdit(trunk);
    m_editMode = new QLineEdit(trunk);
    SetControlId(m_editTrunkId, 1003);
    SetControlId(m_editMode, 1004);
    for (QLineEdit* edit : {m_editTrunkId, m_editMode}) {
        edit->setEnabled(false);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("StaticStatic")));
    }
    form->addRow(QStringLiteral("Trunk ID:"), m_editTrunkId);
    form->addRow(QStringLiteral("PortChannelMode:"), m_editMode);
    ContentLayout()->addWidget(trunk);

    auto* members = new QGroupBox(QStringLiteral("Port Member"), this);
    auto* row = new QHBoxLayout(members);
    m_pPortBtns = new CPortGrid(g_nDevicePortNum, 2001, members);
    row->addStretch();
    row->addWidget(m_pPortBtns);
    row->addStretch();
    ContentLayout()->addWidget(members);
    ContentLayout()->addStretch();

    for (auto& [session, name] : m_cTrunkLogic.Sessions())
        AddSession(*session, name);
    m_pWrite = NewSequence(m_cTrunkLogic.m_cCommonSNMPSet);
}

CPQSTrunkPort::~CPQSTrunkPort()
{
    // The logic's sessions are members of this class: close them while
    // they still exist.
    m_cTrunkLogic.CloseAll();
    CloseSessions();
}

void CPQSTrunkPort::done(int result)
{
    // The base refuses to close in the middle of a write (but for OK).
    if (!IsWriting() || result == QDialog::Accepted)
        m_cTrunkLogic.CloseAll();
    CConfigDialog::done(result);
}

bool CPQSTrunkPort::OnInitDialog()
{
    LoadMembers();   // before the first read starts
    CConfigDialog::OnInitDialog();
    return true;
}

void CPQSTrunkPort::LoadMembers()
{
    m_editTrunkId->setText(m_strTrunkId);
    m_editMode->setText(m_strMode);
    std::vector<int> members(size_t(m_pPortBtns->GetCount()), 0);
    CUtils::PortListToArray(m_strMembers, members.data(), 1);
    m_pPortBtns->SetPortArray(members);
}

void CPQSTrunkPort::OnRefresh()
{
    m_cTrunkLogic.Init(Gate());
}

void CPQSTrunkPort::OnApply()
{
    const QString strTrunkId = m_editTrunkId->text();
    const QString strMode = m_editMode->text() == QLatin1String("LACP") ? QStringLiteral("1") : QStringLiteral("2");
    const std::vector<int> selected = m_pPortBtns->GetPortArray();
    const int count = int(m_pPortBtns->GetPorts().size());
    if (count < 2) {
        Message(QStringLiteral("The mininum port members for an aggregated link is 2 !"));
        return;
    }
    if (count > 8) {
        Message(QStringLiteral("The maxinum port member for an aggregated link is exceeded !"));
        return;
    }
    const TRUNK_RULE_FAILURE failure = m_cTrunkLogic.CheckRules(selected, m_strMembers);
    if (!failure.Passed()) {
        Message(failure.strMessage);
        return;
    }
    char buffer[500] = {};
    CUtils::PortArrayToHexText(selected.data(), buffer, sizeof buffer);
    QString strHexMap = QString::fromLatin1(buffer);
    CUtils::PortMapZeroPad(strHexMap);
    m_pWrite->Clear();
    QString message;
    if (!m_cTrunkLogic.SetTrunk(*m_pWrite, strMode, strHexMap, strTrunkId, &message)) {
        Message(message);
        return;
    }
    RunWrites(m_pWrite);
}
