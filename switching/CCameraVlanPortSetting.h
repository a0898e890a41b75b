#pragma once

// "Auto Camera Vlan Port Settings": per port, whether the switch detects
// surveillance devices on it and how the port is a member of the
// surveillance VLAN; sets detection for a range of ports. No menu command
// opens it; whoever does gives it the surveillance VLAN id to show and the
// surveillance state ("1" enabled), without which nothing can be applied.

#include "CConfigDialog.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QComboBox;
class QLineEdit;

class CCameraVlanPortSetting : public CConfigDialog
{
    Q_OBJECT
public:
    CCameraVlanPortSetting(const QString& strVlanId, const QString& strState, QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_listPorts; }
    QComboBox* FromPort() const { return m_cmbFrom; }
    QComboBox* ToPort() const { return m_cmbTo; }
    QComboBox* AutoDetection() const { return m_cmbDetection; }
    QLineEdit* VlanIdEdit() const { return m_editVlanId; }

    // Ports set in one request at most.
    static constexpr int kPortsPerRequest = 30;

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    QString m_strVlanId;
    QString m_strState;

    CListCtrlEx* m_listPorts = nullptr;   // 1205
    QLineEdit* m_editVlanId = nullptr;    // 1054
    QComboBox* m_cmbFrom = nullptr;       // 1100
    QComboBox* m_cmbTo = nullptr;         // 211
    QComboBox* m_cmbDetection = nullptr;  // 1009

    CCommonSNMP& m_cSnmpSet;
    CCommonSNMP& m_cSnmpPortTable;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
};
