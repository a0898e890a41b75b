#pragma once

// Base of every configuration dialog: it owns the feature's logic object
// and is its owner, holds the read gate, the status line and the button row
// (Refresh, Apply, Close or OK, Cancel: right-aligned, equal widths, always
// in this order), and closes the sessions exactly once on every way out
// (OK, Cancel, Escape, the close box, destruction).
//
// A derived dialog puts its widgets into ContentLayout() and implements:
//   OnRefresh()  (called when the dialog opens and on Refresh) start the reads, each registered with Gate().Expect(...)
//                and settled when it ends; Apply/OK stay off until every
//                one has succeeded;
//   OnApply()    check the input (messages through Message()), fill a
//                sequence from NewSequence() and hand it to RunWrites().
// A failed write shows its message, leaves the dialog open and re-reads.
// A successful one says so in the status line ("Written: 7 settings", or
// the dialog's own text from SetWriteSuccessText), and the text stays there
// through the re-read that follows.
// Enter triggers Apply (OK) or nothing, never Refresh.
//
// Every address field (CEditEXIPV6) of the dialog takes part in Apply's
// rule: while one that is enabled holds a text that is not a valid address,
// it is marked and Apply/OK stays off.
//
// Resizing: extra height and width go to the widgets that ask for room
// (lists); a dialog without any keeps its content at its natural size, at
// the top and centred, so headings stay with their grids. Plain edits never
// ask for room.

#include "CModuleBase.h"
#include "CReadGate.h"
#include "ClxDialog.h"
#include "MessageSink.h"

#include <functional>
#include <memory>
#include <vector>

class CCommonSNMP;
class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;
class CStatusLine;
class QComboBox;
class QPushButton;
class QVBoxLayout;
struct SnmpSetFailure;

class CConfigDialog : public ClxDialog, public CModuleOwner
{
    Q_OBJECT
public:
    // RefreshClose: read-only dialogs (no Apply; Enter does nothing).
    enum ButtonRow { RefreshApplyClose, OkCancel, RefreshClose };

    // The dialog owns `logic` (may be null) and registers itself as its owner.
    CConfigDialog(const QString& strTitle, std::unique_ptr<CModuleBase> logic, ButtonRow buttons = RefreshApplyClose,
                  QWidget* parent = nullptr);
    ~CConfigDialog() override;

    template <class T> T* Logic() const { return static_cast<T*>(m_pLogic.get()); }

    CReadGate& Gate() { return m_gate; }
    CStatusLine* StatusLine() const { return m_pStatus; }
    QVBoxLayout* ContentLayout() const { return m_pContent; }
    // A titled group in the content holding a list (control `listId`) and,
    // under it at the right, one button (`button`, control `buttonId`): the
    // layout of the lists whose rows are deleted. The group takes the extra
    // height when `stretch` is not 0.
    CListCtrlEx* AddListGroup(const QString& strTitle, int listId, QPushButton*& button, const QString& strButton,
                              int buttonId, int stretch = 1);
    QPushButton* RefreshButton() const { return m_pRefresh; }   // null in OK/Cancel dialogs
    QPushButton* ApplyButton() const { return m_pApply; }       // Apply or OK; null in RefreshClose dialogs
    QPushButton* CloseButton() const { return m_pClose; }       // Close or Cancel

    // A walk or a write sequence on `session`, owned by the dialog and
    // stopped before the sessions close.
    CSnmpRowWalk* NewWalk(CCommonSNMP& session);
    // The same for a read of a few scalars in one request.
    CSnmpScalarRead* NewScalarRead(CCommonSNMP& session);
    CSetSequence* NewSequence(CCommonSNMP& session);
    // A button that writes (Add, Edit, Delete ...): enabled by the rule of
    // Apply (every read succeeded, no write under way, write permission),
    // without CanApply(), and, when given, only while `canUse` agrees (call
    // UpdateApply() when its answer may have changed).
    void GateButton(QPushButton* button, std::function<bool()> canUse = {});
    // A session owned by the dialog (for dialogs without a logic object),
    // closed with the others and destroyed with the dialog.
    CCommonSNMP& NewSession(const char* name);
    // A session of the dialog's own, closed with the logic object's.
    void AddSession(CCommonSNMP& session, const char* name);

    // A "From Port"/"To Port" pair of drop-downs listing the same ports in
    // ascending order: choosing From moves To along; a To before From is
    // refused with the message (strRefusal, when the dialog has its own
    // text) and set back to From.
    void LinkPortRange(QComboBox* from, QComboBox* to, const QString& strRefusal = QString());

    // Walks the logic object's aggregated-link table into its trunk map as
    // one read of the gate ("aggregated links"); call it from OnRefresh.
    void ReadTrunkMap();

    // Re-reads: resets the gate, shows "Reading…" and calls OnRefresh.
    void Refresh();
    // Sends the sequence, shows its progress and, at its end, either calls
    // OnWritesDone() or shows the failure and re-reads.
    // With `undo`, for a write that leaves something half-made when it fails
    // at step nUndoFromStep or later (a row created by an earlier step):
    // `undo` is sent first, then the failure is shown, saying whether the
    // undo was taken, and the dialog re-reads.
    void RunWrites(CSetSequence* sequence, CSetSequence* undo = nullptr, int nUndoFromStep = 0);
    bool IsWriting() const { return m_bWriting; }
    // The status text after the next write that succeeds ("VLAN 100 added")
    // in place of "Written: N settings"; used once.
    void SetWriteSuccessText(const QString& strText) { m_strNextSuccess = strText; }
    // Shows what a write did and keeps it through the next re-read (an
    // OK/Cancel dialog opened from this one hands its text over this way).
    void ShowDoneText(const QString& strText);
    // The text of the last successful write (kept after an OK/Cancel
    // dialog closed).
    QString DoneText() const { return m_strLastDone; }
    // True while an enabled address field holds an invalid address.
    bool HasInvalidAddress() const;
    // A pause between a write the switch took and the re-read, for settings
    // the switch applies only after it has answered. Apply and Refresh stay
    // off meanwhile and the status line says why.
    void SetRereadDelay(int nMs) { m_nRereadDelayMs = nMs; }
    bool IsSettling() const { return m_bSettling; }


    // Closes every session once; later calls do nothing.
    void CloseSessions();
    int SessionCloseCount() const { return m_nCloses; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

public slots:
    void done(int result) override;

protected:
    virtual void OnRefresh() {}
    virtual void OnApply() {}
    // After every step was accepted: OK/Cancel dialogs close with OK,
    // Refresh/Apply/Close dialogs re-read (after the re-read delay).
    virtual void OnWritesDone();
    // A write failed: by default the message, then a re-read. (A write that
    // can leave a half-made row passes its undo to RunWrites instead.)
    virtual void OnWritesFailed(const SnmpSetFailure& failure);
    // The message for a failed write ("Writing ... failed at step ...").
    virtual QString WriteFailureMessage(const SnmpSetFailure& failure) const;
    // The line that follows that message once the undo of RunWrites has
    // ended, taken (bOk) or failed with undoFailure.
    virtual QString UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const;
    // Extra conditions for Apply besides the gate (input complete, ...).
    virtual bool CanApply() const { return true; }
    // Re-evaluates Apply/OK; call when CanApply() may have changed.
    void UpdateApply();

    bool OnInitDialog() override;
    // Follows the address fields being enabled or disabled; a derived
    // filter passes what it does not handle on to this one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnGateSettled(bool bAllSucceeded);
    // "Reading… 1,200 rows" while the round's walks run.
    void ShowReadProgress();
    void OnUndoEnded(bool bOk, const SnmpSetFailure& undoFailure);
    void SetWriting(bool bWriting);
    void OnApplyClicked();
    void WatchAddressFields();
    void SettleLayout();

    std::unique_ptr<CModuleBase> m_pLogic;
    CReadGate m_gate;
    CStatusLine* m_pStatus = nullptr;
    QVBoxLayout* m_pContent = nullptr;
    class QHBoxLayout* m_pCentre = nullptr;
    QPushButton* m_pRefresh = nullptr;
    QPushButton* m_pApply = nullptr;
    QPushButton* m_pClose = nullptr;
    std::vector<std::unique_ptr<CCommonSNMP>> m_ownedSessions;   // outlive the walks
    std::vector<std::unique_ptr<CSnmpRowWalk>> m_walks;
    CSnmpRowWalk* m_pTrunkWalk = nullptr;
    std::vector<std::unique_ptr<CSnmpScalarRead>> m_reads;
    std::vector<CSetSequence*> m_sequences;
    std::vector<std::pair<CCommonSNMP*, const char*>> m_sessions;
    std::vector<std::pair<QPushButton*, std::function<bool()>>> m_gated;
    // While an undo runs: the failure it follows and its message.
    std::unique_ptr<SnmpSetFailure> m_pUndoneFailure;
    QString m_strUndoneMessage;
    // Success texts: the one for the next write, the one to show through
    // the next re-read, the one of the current read round, the last one.
    QString m_strNextSuccess;
    QString m_strDoneText;
    QString m_strRoundDone;
    QString m_strLastDone;
    bool m_bWriting = false;
    bool m_bReadRound = false;   // from Refresh until the gate settles
    bool m_bSettling = false;
    int m_nRereadDelayMs = 0;
    bool m_bClosed = false;
    int m_nCloses = 0;
};
