#pragma once

// Base of the stand-alone dialogs that talk to the switch through the SNMP
// layer's request and walker classes (CDirectWalk), without a session.
//
// Two forms: SettingsCopy takes the connection settings when the dialog
// opens (version 1 or 3); DirectSettings takes them again for every request
// and serves version "1" only. Either way every read is asynchronous, the
// status line says what is read and why a read stopped, and every pending
// request is cancelled on each way out (Close, Escape, the close box, the
// destructor), so no callback reaches a closed or destroyed dialog.
//
// A derived dialog builds its controls in its constructor (AddList and
// AddButtonRow help), starts its reads in OnRefresh() through StartRead and
// fills its controls from the rows. OnRefresh runs once when the dialog is
// shown first, and on its Refresh button.

#include "CDirectWalk.h"
#include "ClxDialog.h"
#include "DirectSnmpSettings.h"

#include <QList>
#include <QString>

#include <memory>

class CListCtrlEx;
class CSnmp4w;
class CSnmpV1;
class CStatusLine;
class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTimer;
class QVBoxLayout;

// One value of a version-1 set, in the order sent.
struct DirectSetValue
{
    QByteArray strOID;
    int nType = 1;        // SnmpTypeCode
    QByteArray value;     // decimal text for integers, raw octets for strings
};

class CDirectSnmpDialog : public ClxDialog
{
    Q_OBJECT
public:
    using Form = CDirectWalk::Form;

    ~CDirectSnmpDialog() override;

    CStatusLine* StatusLine() const { return m_pStatus; }
    QPushButton* RefreshButton() const { return m_pRefresh; }
    QPushButton* CloseButton() const { return m_pClose; }
    // True while one of the dialog's reads or its write is pending.
    bool IsBusy() const;

    // The settings the next request uses.
    DirectSnmpSettings Settings() const;

    // Outcome of a version-1 set: 0 sent and answered without error, else
    // the SNMP layer's code (SNMP_ERROR_STATUS with the error status and
    // index), VersionNotServed or SNMP_BAD_REQUEST before anything was sent.
    using WriteDone = std::function<void(int result, int errorStatus, int errorIndex)>;
    // V1AndV3: a settings-copy dialog whose copy says version 3 writes over
    // v3 with its user; otherwise only the version-1 set is sent.
    enum class WriteOver { V1Only, V1AndV3 };
    // Sends `values` in one set with the write community when the version
    // setting is "1" (else nothing is sent). Integers must be decimal text:
    // anything else refuses the whole set before it is sent. The status
    // line says what failed, and keeps saying it through the re-read that
    // follows (until the next write or a click on Refresh). Returns what
    // was known at once: 0 under way.
    int WriteScalars(const QList<DirectSetValue>& values, WriteDone done, WriteOver over = WriteOver::V1Only);

    // Views of live values read again on a timer (see PollEvery): the timer,
    // null in a view that does not poll, and its period.
    QTimer* PollTimer() const { return m_pPollTimer; }
    void SetPollPeriod(int ms);

    // True when `text` is one decimal sub-identifier (or, with bMultiPart,
    // several joined by dots), so that it can follow an OID as its index.
    static bool IsIndex(const QString& text, bool bMultiPart = false);

public slots:
    virtual void OnRefresh() = 0;
    // One tick of the poll timer: the read Refresh starts. A read still
    // waiting for its answer is not sent again (StartRead: Busy).
    void OnPollTimer() { OnRefresh(); }

protected:
    CDirectSnmpDialog(Form form, const QString& strCaption, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

    // The content area above the button row.
    QVBoxLayout* ContentLayout() const { return m_pContent; }
    // A report list with the given headings, each column as wide as its
    // heading plus 15 pixels, full-row select; added to `layout` (default:
    // the content area).
    CListCtrlEx* AddList(unsigned nId, const QStringList& headings, QBoxLayout* layout = nullptr);
    // "Entries:" with a count label, added to the content area.
    QLabel* AddCountLine(unsigned nId);
    // The bottom row: status line, then Refresh (id nRefreshId, 0 for none)
    // and Close (id 2). Extra buttons go between them.
    void AddButtonRow(unsigned nRefreshId, const QList<QPushButton*>& extra = {});
    // Puts one more button in the row, before Close.
    void InsertButton(QPushButton* button);

    // Starts a read on `walk` with this dialog's settings and form: rows go
    // to onRow, the end to onEnd (optional); the status line shows
    // "Reading…" and, at the end, what went wrong. Returns
    // CDirectWalk::Start's result (Busy while the walk is pending: nothing
    // changes then).
    int StartRead(CDirectWalk& walk, const QList<QByteArray>& oids, int pduType, const QString& strWhat,
                  CDirectWalk::RowHandler onRow, CDirectWalk::EndHandler onEnd = {});
    // The settings WriteScalars sends with: the process-wide ones as they
    // are now, unless the dialog has its own.
    virtual DirectSnmpSettings WriteSettings() const { return DirectSnmpSettings::Current(); }
    // Registers a walk of the dialog, cancelled on every way out.
    void AddWalk(CDirectWalk& walk);
    void CancelAll();
    // Makes the view poll every `ms`: from OnInitDialog (the first read is
    // the one at show) until the dialog ends, by any way out.
    void PollEvery(int ms);
    // For the views that speak SNMPv1 only: StartRead then sends nothing
    // under another version and says so.
    void SetVersion1Only(bool bOnly) { m_bVersion1Only = bOnly; }

    const Form m_form;
    DirectSnmpSettings m_settings;   // the copy (settings-copy form)

private:
    void ShowEnd(int status, const QString& strWhat, int errorStatus = 0, int errorIndex = 0);

    QVBoxLayout* m_pContent = nullptr;
    CStatusLine* m_pStatus = nullptr;
    QPushButton* m_pRefresh = nullptr;
    QPushButton* m_pClose = nullptr;
    QHBoxLayout* m_pButtonRow = nullptr;
    QList<CDirectWalk*> m_walks;
    QTimer* m_pPollTimer = nullptr;
    std::unique_ptr<CSnmp4w> m_cSnmp4w;
    std::unique_ptr<CSnmp> m_pSetRequest;
    WriteDone m_writeDone;
    int m_nSetRequestId = 0;
    int m_nSetValues = 0;
    bool m_bRefreshPosted = false;
    // The first failure of the current round of reads: a read of the same
    // round that ends well afterwards does not wipe it off the status line.
    QString m_strFailure;
    bool m_bVersion1Only = false;
    QString m_strWriteOutcome;   // what the last write did, shown through its re-read
};
