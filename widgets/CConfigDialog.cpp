#include "CConfigDialog.h"

#include "CCommonSNMP.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "ControlId.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "MessageSink.h"
#include "StatusText.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
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
    // The content between two empty columns, which take the extra width
    // when nothing in the content asks for it (see SettleLayout).
    m_pCentre = new QHBoxLayout;
    m_pCentre->addStretch(0);
    m_pCentre->addLayout(m_pContent, 1);
    m_pCentre->addStretch(0);
    outer->addLayout(m_pCentre, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
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
    // A row of its own under the buttons: the whole width for the text.
    m_pStatus = new CStatusLine(this);
    outer->addWidget(m_pStatus);

    if (m_pRefresh)
        connect(m_pRefresh, &QPushButton::clicked, this, [this] {
            m_strDoneText.clear();   // the user asks for what the switch holds now
            Refresh();
        });
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
    WatchAddressFields();
    SettleLayout();
    Refresh();   // the first read, as the window opens
    return true;
}

CListCtrlEx* CConfigDialog::AddListGroup(const QString& strTitle, int listId, QPushButton*& button,
                                         const QString& strButton, int buttonId, int stretch)
{
    auto* group = new QGroupBox(strTitle, this);
    auto* layout = new QVBoxLayout(group);
    auto* list = new CListCtrlEx(group);
    SetControlId(list, listId);
    layout->addWidget(list);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    button = new QPushButton(strButton, group);
    SetControlId(button, buttonId);
    row->addWidget(button);
    layout->addLayout(row);
    m_pContent->addWidget(group, stretch);
    return list;
}

CSnmpRowWalk* CConfigDialog::NewWalk(CCommonSNMP& session)
{
    m_walks.push_back(std::make_unique<CSnmpRowWalk>(session));
    m_walks.back()->SetProgress([this](int) { ShowReadProgress(); });
    return m_walks.back().get();
}

void CConfigDialog::ShowReadProgress()
{
    // Only over the read round's own "Reading…", never over a write's steps.
    if (!m_bReadRound || m_bWriting || m_bClosed)
        return;
    int rows = 0;
    for (const auto& walk : m_walks)
        if (walk->IsRunning())
            rows += walk->RowCount();
    const QString reading = StatusText::ReadingRows(rows);
    m_pStatus->ShowText(m_strRoundDone.isEmpty() ? reading : StatusText::Then(m_strRoundDone, reading));
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

void CConfigDialog::LinkPortRange(QComboBox* from, QComboBox* to, const QString& strRefusal)
{
    const QString refusal = strRefusal.isEmpty() ? QStringLiteral("'To Port' can not be smaller than 'From Port'")
                                                  : strRefusal;
    connect(from, &QComboBox::activated, this, [from, to] { to->setCurrentIndex(from->currentIndex()); });
    connect(to, &QComboBox::activated, this, [this, from, to, refusal] {
        if (to->currentIndex() >= from->currentIndex())
            return;
        Message(refusal);
        to->setCurrentIndex(from->currentIndex());
    });
}

void CConfigDialog::Refresh()
{
    if (m_bClosed || m_bWriting)
        return;
    m_gate.Reset();
    // A write just done stays in view while its result is read back.
    m_strRoundDone = std::exchange(m_strDoneText, QString());
    m_bReadRound = true;
    m_pStatus->ShowText(m_strRoundDone.isEmpty() ? StatusText::Reading()
                                                 : StatusText::Then(m_strRoundDone, StatusText::Reading()));
    OnRefresh();
    UpdateApply();
}

void CConfigDialog::RunWrites(CSetSequence* sequence, CSetSequence* undo, int nUndoFromStep)
{
    if (!sequence || m_bWriting || m_bClosed)
        return;
    // The success text belongs to this write only (an undo started below
    // never reports success).
    QString doneText = std::exchange(m_strNextSuccess, QString());
    if (doneText.isEmpty())
        doneText = StatusText::Written(sequence->ValueCount());
    SetWriting(true);
    auto progress = connect(sequence, &CSetSequence::progress, this,
                            [this](int step, int total, const QString&) { m_pStatus->ShowWriting(step, total); });
    auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = connect(sequence, &CSetSequence::finished, this,
                        [this, progress, finished, undo, nUndoFromStep, doneText](bool ok,
                                                                                  const SnmpSetFailure& failure) {
                            disconnect(progress);
                            disconnect(*finished);
                            SetWriting(false);
                            if (m_pUndoneFailure) {
                                OnUndoEnded(ok, failure);
                                return;
                            }
                            if (ok) {
                                ShowDoneText(doneText);
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
                            m_strDoneText.clear();
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
    m_strDoneText.clear();
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

void CConfigDialog::ShowDoneText(const QString& strText)
{
    m_strDoneText = strText;
    m_strLastDone = strText;
    m_pStatus->ShowText(strText);
}

void CConfigDialog::OnWritesDone()
{
    if (!m_pRefresh) {
        // The dialog that opened this one says what was done.
        if (auto* owner = qobject_cast<CConfigDialog*>(parentWidget()))
            owner->ShowDoneText(m_strDoneText);
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
    m_pStatus->ShowText(StatusText::Then(m_strDoneText, tr("Waiting for the switch to apply the settings…")));
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
        m_pApply->setEnabled(bMayWrite && !HasInvalidAddress() && CanApply());
}

bool CConfigDialog::HasInvalidAddress() const
{
    for (const CEditEXIPV6* edit : findChildren<CEditEXIPV6*>())
        if (edit->IsMarkedInvalid() && edit->isEnabled())
            return true;
    return false;
}

void CConfigDialog::WatchAddressFields()
{
    for (CEditEXIPV6* edit : findChildren<CEditEXIPV6*>()) {
        connect(edit, &CEditEXIPV6::statusChanged, this, [this] { UpdateApply(); });
        edit->installEventFilter(this);   // enabled or disabled by the dialog
    }
}

bool CConfigDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && qobject_cast<CEditEXIPV6*>(watched))
        UpdateApply();
    return ClxDialog::eventFilter(watched, event);
}

namespace {

// Whether a widget of the content asks for extra room in a direction: a
// list or another expanding view does; spacers, edits and per-port grids
// never do. A container counts when something inside it does.
bool WantsRoom(const QLayout* layout, Qt::Orientation orientation);

bool WantsRoom(const QWidget* widget, Qt::Orientation orientation)
{
    if (widget->isHidden())
        return false;
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget))
        return false;
    if (const QLayout* inner = widget->layout())
        return WantsRoom(inner, orientation);
    const QSizePolicy policy = widget->sizePolicy();
    const auto part = orientation == Qt::Horizontal ? policy.horizontalPolicy() : policy.verticalPolicy();
    return (part & QSizePolicy::ExpandFlag) != 0;
}

bool WantsRoom(const QLayout* layout, Qt::Orientation orientation)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (const QWidget* widget = item->widget()) {
            if (WantsRoom(widget, orientation))
                return true;
        } else if (const QLayout* inner = item->layout()) {
            if (WantsRoom(inner, orientation))
                return true;
        }
    }
    return false;
}

} // namespace

void CConfigDialog::SettleLayout()
{
    // An edit asks for no more than its own width; where a dialog has no
    // list, the rest of the window stays empty rather than widening edits.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        QSizePolicy policy = edit->sizePolicy();
        if (policy.horizontalPolicy() == QSizePolicy::Expanding) {
            policy.setHorizontalPolicy(QSizePolicy::Preferred);
            edit->setSizePolicy(policy);
        }
    }
    if (!WantsRoom(m_pContent, Qt::Vertical))
        m_pContent->addStretch(1);
    if (!WantsRoom(m_pContent, Qt::Horizontal)) {
        m_pCentre->setStretch(0, 1);
        m_pCentre->setStretch(1, 0);
        m_pCentre->setStretch(2, 1);
    }
}

void CConfigDialog::OnGateSettled(bool bAllSucceeded)
{
    // What the last write did stays in view, with any read that failed after it.
    m_bReadRound = false;
    const QStringList failures = bAllSucceeded ? QStringList() : m_gate.Failures();
    const QString failed = failures.isEmpty() ? QString() : StatusText::ReadFailed(failures.join(QStringLiteral("; ")));
    m_pStatus->ShowText(StatusText::Then(m_strRoundDone, failed));
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
