#pragma once

// "Auto Surveillance VLAN Settings": the surveillance VLAN's state, VLAN id,
// priority and tagged uplink/downlink ports, and the table of device MAC
// addresses and OUIs the switch recognises surveillance equipment by (the
// default row and at most five user-defined rows).
//
// Every read the checks depend on (VLAN ids, VLAN mode and voice VLAN,
// aggregated links, the surveillance settings, the OUI table and the voice
// VLAN OUI table) must have succeeded before Apply, Add or Delete write.

#include "CConfigDialog.h"

#include <QStringList>

#include <vector>

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CCameraVlanSetting : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CCameraVlanSetting(QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_btnEnable; }
    QLineEdit* VlanIdEdit() const { return m_editVlanId; }
    QComboBox* PriorityCombo() const { return m_cmbPriority; }
    QLineEdit* TaggedPortsEdit() const { return m_editTaggedPorts; }
    QComboBox* ComponentCombo() const { return m_cmbComponent; }
    QLineEdit* DescriptionEdit() const { return m_editDescription; }
    QComboBox* MacModeCombo() const { return m_cmbMacMode; }
    QLineEdit* MacEdit() const { return m_editMac; }
    QPushButton* AddButton() const { return m_btnAdd; }
    QPushButton* DeleteButton() const { return m_btnDelete; }
    CListCtrlEx* List() const { return m_listOui; }

    // 1 when a new entry passes every check; else 0 after its message.
    int CheckOuiEntry(const QString& strDescription, const QString& strMac);
    // The row index of twelve hex digits: "0A3C5E000000" -> ".10.60.94.0.0.0".
    static QString ConvertMacText(const QString& strDigits);

    void OnAdd();
    void OnDelete();

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    void OnEnable();
    void OnSelchangeMacMode();
    void EnableSettings(bool bEnable);
    void OnGlobalRead();
    void OnOuiTableRead();

    QCheckBox* m_btnEnable = nullptr;        // 1214
    QLineEdit* m_editVlanId = nullptr;       // 1114
    QComboBox* m_cmbPriority = nullptr;      // 219
    QLineEdit* m_editTaggedPorts = nullptr;  // 1113
    QComboBox* m_cmbComponent = nullptr;     // 1218
    QLineEdit* m_editDescription = nullptr;  // 1005
    QComboBox* m_cmbMacMode = nullptr;       // 1112
    QLineEdit* m_editMac = nullptr;          // 1212
    QPushButton* m_btnAdd = nullptr;         // 1001
    QPushButton* m_btnDelete = nullptr;      // 1003
    CListCtrlEx* m_listOui = nullptr;        // 1209

    CCommonSNMP& m_cCommonSNMP;             // conflict read, OUI add and delete
    CCommonSNMP& m_cCommonSNMPSet;          // the settings' write
    CCommonSNMP& m_cCommonSNMPGet;          // the settings' read
    CCommonSNMP& m_cCommonSNMPTable;        // OUI table
    CCommonSNMP& m_cCommonSNMPVoiceOui;     // voice VLAN OUI table
    CCommonSNMP& m_cCommonSNMPVlanTable;    // VLAN ids

    CSnmpRowWalk* m_pVlanWalk = nullptr;
    CSnmpScalarRead* m_pConflictRead = nullptr;
    CSnmpScalarRead* m_pGlobalRead = nullptr;
    CSnmpRowWalk* m_pOuiWalk = nullptr;
    CSnmpRowWalk* m_pVoiceOuiWalk = nullptr;
    CSetSequence* m_pApplyWrite = nullptr;
    CSetSequence* m_pOuiWrite = nullptr;
    CSetSequence* m_pOuiUndo = nullptr;

    QString m_strState = QStringLiteral("2");   // the state as last read
    QStringList m_arrVlanId;
    QStringList m_arrVoiceOui;       // the voice VLAN OUIs in use, six hex digits each
    QStringList m_arrOuiIndex;       // the row index of each listed entry
    // No conflict until the first read (Apply waits for it anyway).
    int m_nVoiceVlanState = 2;
    int m_nVoiceVlanId = 0;
    int m_nVlanMode = 2;
    std::vector<int> m_pTaggedPorts;
};
