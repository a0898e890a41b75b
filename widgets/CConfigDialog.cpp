#include "CConfigDialog.h"

#include "CCommonSNMP.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "MessageSink.h"
#include "StatusText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CConfigDialog::CConfigDialog(const QString& strTitle, std::unique_ptr<CModuleBase> logic, ButtonRow buttons,
                             QWidget* parent)
    : ClxDialog(parent)
    , m_pLogic(std::move(logic))
{
    setWindowTitle(strTitle);
    if (m_pLogic)
        m_pLogic->SetOwnerWnd(this);

    auto* outer = new QVBoxLayout(this);
    m_pContent = new QVBoxLayout;
    outer->addLayout(m_pContent, 1);

    auto* row = new QHBoxLayout;
    m_pStatus = new CStatusLine(this);
    row->addWidget(m_pStatus, 1);
    if (buttons == RefreshApplyClose || buttons == RefreshClose) {
        m_pRefresh = new QPushButton(tr("&Refresh"), this);
        if (buttons == RefreshApplyClose)
            m_pApply = new QPushButton(tr("&Apply"), this);
        m_pClose = new QPushButton(tr("&Close"), this);
    } else {
        m_pApply = new QPushButton(tr("OK"), this);
        m_pClose = new QPushButton(tr("Cancel"), this);
    }
    for (QPushButton* button : {m_pRefresh, m_pApply, m_pClose}) {
        if (!button)
            continue;
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    if (m_pApply) {
        m_pApply->setDefault(true);   // Enter: Apply/OK when enabled, else nothing
        m_pApply->setEnabled(false);
    }
    outer->addLayout(row);

    if (m_pRefresh)
        connect(m_pRefresh, &QPushButton::clicked, this, &CConfigDialog::Refresh);
    if (m_pApply)
        connect(m_pApply, &QPushButton::clicked, this, &CConfigDialog::OnApplyClicked);
    connect(m_pClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_gate, &CReadGate::settled, this, &CConfigDialog::OnGateSettled);
    connect(&m_gate, &CReadGate::changed, this, [this] { UpdateApply(); });
}

CConfigDialog::~CConfigDialog()
{
    CloseSessions();
}

bool CConfigDialog::OnInitDialog()
{
    ClxDialog::OnInitDialog();
    // Equal widths, and no button of the derived dialog takes Enter away
    // from Apply (a focused push button would otherwise become the default).
    int width = 0;
    for (QPushButton* button : {m_pRefresh, m_pApply, m_pClose})
        if (button)
            width = qMax(width, button->sizeHint().width());
    for (QPushButton* button : {m_pRefresh, m_pApply, m_pClose})
        if (button)
            button->setMinimumWidth(width);
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button != m_pApply)
            button->setAutoDefault(false);
    Refresh();   // the first read, as the window opens
    return true;
}

CSnmpRowWalk* CConfigDialog::NewWalk(CCommonSNMP& session)
{
    m_walks.push_back(std::make_unique<CSnmpRowWalk>(session));
    return m_walks.back().get();
}

CSnmpScalarRead* CConfigDialog::NewScalarRead(CCommonSNMP& session)
{
    m_reads.push_back(std::make_unique<CSnmpScalarRead>(session));
    return m_reads.back().get();
}

CSetSequence* CConfigDialog::NewSequence(CCommonSNMP& session)
{
    auto* sequence = new CSetSequence(session, this);
    m_sequences.push_back(sequence);
    return sequence;
}

void CConfigDialog::GateButton(QPushButton* button, std::function<bool()> canUse)
{
    m_gated.emplace_back(button, std::move(canUse));
    UpdateApply();
}

CCommonSNMP& CConfigDialog::NewSession(const char* name)
{
    m_ownedSessions.push_back(std::make_unique<CCommonSNMP>());
    AddSession(*m_ownedSessions.back(), name);
    return *m_ownedSessions.back();
}

void CConfigDialog::AddSession(CCommonSNMP& session, const char* name)
{
    m_sessions.emplace_back(&session, name);
}

void CConfigDialog::ReadTrunkMap()
{
    CModuleBase* logic = m_pLogic.get();
    if (!logic)
        return;
    if (!m_pTrunkWalk)
        m_pTrunkWalk = NewWalk(logic->m_cSnmpTrunkTable);
    logic->m_bTrunkLoaded = 0;
    const int ticket = m_gate.Expect(tr("aggregated links"));
    m_pTrunkWalk->Start({CModuleBase::TrunkMemberColumn()}, [this, logic, ticket](const WalkOutcome& outcome) {
        // The map first: settling may enable Apply, whose checks use it.
        if (outcome.Ok())
            logic->LoadTrunkMap(m_pTrunkWalk->Rows());
        m_gate.Settle(ticket, outcome);
    });
}

void CConfigDialog::LinkPortRange(QComboBox* from, QComboBox* to)
{
    connect(from, &QComboBox::activated, this, [from, to] { to->setCurrentIndex(from->currentIndex()); });
    connect(to, &QComboBox::activated, this, [this, from, to] {
        if (to->currentIndex() >= from->currentIndex())
            return;
        Message(QStringLiteral("'To Port' can not be smaller than 'From Port'"));
        to->setCurrentIndex(from->currentIndex());
    });
}

void CConfigDialog::Refresh()
{
    if (m_bClosed || m_bWriting)
        return;
    m_gate.Reset();
    m_pStatus->ShowReading();
    OnRefresh();
    UpdateApply();
}

void CConfigDialog::RunWrites(CSetSequence* sequence, CSetSequence* undo, int nUndoFromStep)
{
    if (!sequence || m_bWriting || m_bClosed)
        return;
    SetWriting(true);
    auto progress = connect(sequence, &CSetSequence::progress, this,
                            [this](int step, int total, const QString&) { m_pStatus->ShowWriting(step, total); });
    auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = connect(sequence, &CSetSequence::finished, this,
                        [this, progress, finished, undo, nUndoFromStep](bool ok, const SnmpSetFailure& failure) {
                            disconnect(progress);
                            disconnect(*finished);
                            SetWriting(false);
                            if (m_pUndoneFailure) {
                                OnUndoEnded(ok, failure);
                                return;
                            }
                            if (ok) {
                                m_pStatus->Clear();
                                OnWritesDone();
                                return;
                            }
                            // A restarted switch has lost the earlier steps itself.
                            if (undo && failure.nStep >= nUndoFromStep && failure.nResult != SnmpSetFailure::Cancelled
                                && failure.nResult != SnmpSetFailure::Restarted && !m_bClosed) {
                                m_pUndoneFailure = std::make_unique<SnmpSetFailure>(failure);
                                m_strUndoneMessage = WriteFailureMessage(failure);
                                RunWrites(undo);
                                if (!m_bWriting && m_pUndoneFailure) {   // the undo could not be sent
                                    SnmpSetFailure notSent;
                                    notSent.nResult = SnmpSetFailure::NotSent;
                                    notSent.strReason = tr("not sent");
                                    OnUndoEnded(false, notSent);
                                }
                                return;
                            }
                            m_pStatus->ShowWriteFailure(failure);
                            OnWritesFailed(failure);
                        });
    if (!sequence->Start()) {
        disconnect(progress);
        disconnect(*finished);
        SetWriting(false);
    }
}

void CConfigDialog::OnUndoEnded(bool bOk, const SnmpSetFailure& undoFailure)
{
    const SnmpSetFailure failure = *std::exchange(m_pUndoneFailure, nullptr);
    const QString text = std::exchange(m_strUndoneMessage, QString()) + UndoResultText(bOk, undoFailure);
    m_pStatus->ShowWriteFailure(failure);
    Message(text, MB_OK | MB_ICONERROR);
    Refresh();
}

QString CConfigDialog::UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const
{
    return bOk ? tr("\nWhat those steps had written was taken back.")
               : tr("\nTaking back what those steps had written failed: %1").arg(undoFailure.Text());
}

void CConfigDialog::SetWriting(bool bWriting)
{
    m_bWriting = bWriting;
    if (m_pRefresh)
        m_pRefresh->setEnabled(!bWriting);
    m_pClose->setEnabled(!bWriting);
    UpdateApply();
}

void CConfigDialog::OnWritesDone()
{
    if (!m_pRefresh) {
        accept();
        return;
    }
    if (m_nRereadDelayMs <= 0) {
        Refresh();
        return;
    }
    m_bSettling = true;
    m_pRefresh->setEnabled(false);
    UpdateApply();
    m_pStatus->ShowText(tr("Waiting for the switch to apply the settings…"));
    QTimer::singleShot(m_nRereadDelayMs, this, [this] {
        m_bSettling = false;
        m_pRefresh->setEnabled(true);
        Refresh();
    });
}

void CConfigDialog::OnWritesFailed(const SnmpSetFailure& failure)
{
    Message(WriteFailureMessage(failure), MB_OK | MB_ICONERROR);
    // What the switch now holds may differ from both the old and the new
    // values: show it.
    Refresh();
}

QString CConfigDialog::WriteFailureMessage(const SnmpSetFailure& failure) const
{
    if (failure.nResult == SnmpSetFailure::Restarted)
        return tr("The switch restarted during the write; steps 1 to %1 may be lost.").arg(failure.nStep - 1);
    QString text = tr("The switch did not take the settings.\nStep %1 of %2 (%3) failed: %4")
                       .arg(failure.nStep)
                       .arg(failure.nSteps)
                       .arg(failure.strWhat, failure.Text());
    if (failure.nStep > 1)
        text += tr("\nSteps 1 to %1 were written.").arg(failure.nStep - 1);
    return text;
}

void CConfigDialog::UpdateApply()
{
    const bool bMayWrite = !m_bClosed && !m_bWriting && !m_bSettling && g_bWritePermission && m_gate.AllSucceeded();
    for (auto& [button, canUse] : m_gated)
        button->setEnabled(bMayWrite && (!canUse || canUse()));
    if (m_pApply)
        m_pApply->setEnabled(bMayWrite && CanApply());
}

void CConfigDialog::OnGateSettled(bool bAllSucceeded)
{
    if (bAllSucceeded)
        m_pStatus->Clear();
    else
        m_pStatus->ShowReadFailures(m_gate.Failures());
    UpdateApply();
}

void CConfigDialog::OnApplyClicked()
{
    // Enter reaches here too: only act on what the gate allows.
    if (!m_pApply || !m_pApply->isEnabled())
        return;
    OnApply();
}

void CConfigDialog::CloseSessions()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    ++m_nCloses;
    for (auto& walk : m_walks)
        walk->Abandon();
    for (auto& read : m_reads)
        read->Abandon();
    for (CSetSequence* sequence : m_sequences)
        sequence->Abandon();
    if (m_pLogic)
        m_pLogic->CloseSessions();
    for (auto& [session, name] : m_sessions)
        CloseSnmpSession(*session, name);
    m_bWriting = false;
}

void CConfigDialog::OnModuleNotify(unsigned, int, const void*)
{
}

void CConfigDialog::done(int result)
{
    // Leaving in the middle of a write would leave the switch half-set; each
    // step ends within the time-out, then the dialog may close.
    if (m_bWriting && result != QDialog::Accepted)
        return;
    CloseSessions();
    ClxDialog::done(result);
}
