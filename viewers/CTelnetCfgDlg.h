#pragma once

// "Telnet Configuration": the switch's telnet password and idle time-out,
// its telnet sessions, and one session's status. The time-out is written
// over SNMPv1 only; the sessions are read and a session's status written
// over v1 or v3.

#include "CDirectSnmpDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class CTelnetCfgDlg : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CTelnetCfgDlg(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_list; }
    QLineEdit* PasswordEdit() const { return m_pPassword; }
    QLineEdit* TimeoutEdit() const { return m_pTimeout; }
    QLineEdit* SessionIdEdit() const { return m_pSessionId; }
    QComboBox* StatusCombo() const { return m_pStatus; }
    QPushButton* TimeoutApplyButton() const { return m_pApply243; }
    QPushButton* StatusApplyButton() const { return m_pApply242; }
    CDirectWalk& SessionWalk() { return m_cSessionWalk; }

    // The list text of a walked value: the Status column (3) reads
    // "Connected" for 1 and "Unconnected" for anything else.
    static QString StatusToText(int nColumn, const CDirectWalk::Binding& value);

    void OnRefresh() override;

public slots:
    void OnSessionClick();
    void OnApply243();
    void OnApply242();

private:
    void ReadScalars();
    void FetchSessions();
    void ReadSessionRow(const QString& strId);

    CDirectWalk m_cSessionWalk;   // the session table
    CDirectWalk m_cScalars;       // password and time-out
    CDirectWalk m_cRowRead;       // the clicked session's status
    CListCtrlEx* m_list = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QLineEdit* m_pTimeout = nullptr;
    QLineEdit* m_pSessionId = nullptr;
    QComboBox* m_pStatus = nullptr;
    QPushButton* m_pApply243 = nullptr;
    QPushButton* m_pApply242 = nullptr;
};
