#pragma once

// "Authentication RADIUS Server": the RADIUS servers of the switch's
// authenticator, in three index slots. Apply writes one server into its
// slot, replacing what was there (destroy, createAndWait, the columns,
// active), every step checked; Delete destroys the selected server.

#include "CConfigDialog.h"

class C8021XSettingLogic;
class CEditEXIPV6;
class CListCtrlEx;
class QComboBox;
class QLineEdit;
class QPushButton;

class C8021XAuRadiusServerDLG : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_LIST = 22414,
        IDC_INDEX = 22335,
        IDC_ADDRESS = 22938,
        IDC_AUTH_PORT = 22337,
        IDC_ACCT_PORT = 22338,
        IDC_RETRANSMIT = 22339,
        IDC_KEY = 1004,
        IDC_CONFIRM_KEY = 22378,
        IDC_TIMEOUT = 22336,
        IDC_DELETE = 22535,
    };

    explicit C8021XAuRadiusServerDLG(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }
    QComboBox* Index() const { return m_pIndex; }
    CEditEXIPV6* Address() const { return m_pAddress; }
    QLineEdit* Edit(int nId) const;
    QPushButton* DeleteButton() const { return m_pDelete; }

    // The controls' defaults (at start and after every write or delete).
    void PutDefaults();

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    C8021XSettingLogic* Dot1x() const;
    void FillList();
    void OnDelete();
    // Checks a number field; on failure the message, the focus on the field
    // with its text selected, and false.
    bool CheckField(QLineEdit* field, int nHigh, const QString& strMessage, QString* pSend);

    CListCtrlEx* m_pList = nullptr;
    QComboBox* m_pIndex = nullptr;
    CEditEXIPV6* m_pAddress = nullptr;
    QLineEdit* m_pAuthPort = nullptr;
    QLineEdit* m_pAcctPort = nullptr;
    QLineEdit* m_pRetransmit = nullptr;
    QLineEdit* m_pKey = nullptr;
    QLineEdit* m_pConfirmKey = nullptr;
    QLineEdit* m_pTimeout = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
};
