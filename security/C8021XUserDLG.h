#pragma once

// "802.1X User": the accounts the switch's authenticator checks locally.
// Add creates a row (createAndGo), writes its password and activates it; a
// row whose password the switch refused is destroyed again, so no account
// is left active without one. Delete destroys the selected row.

#include "CConfigDialog.h"

class C8021XSettingLogic;
class CListCtrlEx;
class QLineEdit;
class QPushButton;

class C8021XUserDLG : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_REFRESH = 1044,
        IDC_DELETE = 1003,
        IDC_ADD = 22410,
        IDC_LIST = 22411,
        IDC_CONFIRM = 22405,
        IDC_PASSWORD = 22589,
        IDC_USER_NAME = 22402,
        IDC_TOTAL = 22431,
    };

    explicit C8021XUserDLG(QWidget* parent = nullptr);

    // The checks of Add in their order: the message that refuses the input,
    // or empty. `existing` are the user names of the last read.
    static QString CheckUser(const QString& strName, const QString& strPassword, const QString& strConfirm,
                             const QStringList& existing);

    CListCtrlEx* List() const { return m_pList; }
    QLineEdit* UserName() const { return m_pName; }
    QLineEdit* Password() const { return m_pPassword; }
    QLineEdit* Confirm() const { return m_pConfirm; }
    QLineEdit* Total() const { return m_pTotal; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* DeleteButton() const { return m_pDelete; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnWritesDone() override;
    QString WriteFailureMessage(const SnmpSetFailure& failure) const override;
    QString UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const override;

private:
    C8021XSettingLogic* Dot1x() const;
    void FillList();
    void OnAdd();
    void OnDelete();
    void ClearEdits();

    CListCtrlEx* m_pList = nullptr;
    QLineEdit* m_pConfirm = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pTotal = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;
    int m_nTicket = -1;
};
