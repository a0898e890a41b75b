#pragma once

// "Auto Surveillance VLAN OUI Settings": the switch's surveillance OUI
// table, where whole OUIs of camera or server makers are added (written
// with the mask FF-FF-FF-00-00-00, so an entry matches every device of that
// OUI) and user-defined entries deleted. No menu command opens it; the
// surveillance VLAN dialog's code can.

#include "CConfigDialog.h"

#include <QStringList>

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QLineEdit;

class CCameraVLANOUISetting : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CCameraVLANOUISetting(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_listOui; }
    QLineEdit* DescriptionEdit() const { return m_editDescription; }
    QLineEdit* OuiEdit() const { return m_editOui; }
    QPushButton* AddButton() const { return m_btnAdd; }
    QPushButton* DeleteButton() const { return m_btnDelete; }

    void OnAdd();
    void OnDelete();

protected:
    void OnRefresh() override;

private:
    CListCtrlEx* m_listOui = nullptr;       // 1209
    QLineEdit* m_editDescription = nullptr; // 1005
    QLineEdit* m_editOui = nullptr;         // 1212
    QPushButton* m_btnAdd = nullptr;        // 1001
    QPushButton* m_btnDelete = nullptr;     // 1003

    CCommonSNMP& m_cSnmpSet;
    CCommonSNMP& m_cSnmpTable;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrite = nullptr;
    CSetSequence* m_pUndo = nullptr;
    QStringList m_arrIndex;   // the row index of each listed entry
};
