#pragma once

// "The VLAN Settings of IGMP snooping ": every VLAN's snooping settings; the
// chosen VLAN's state, querier and fast leave, and its static router ports
// on a per-port grid. Both writes need global snooping on.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CIGMPSnoopingLogic;
class CListCtrlEx;
class CPortGrid;
class CSetSequence;
class CSnmpRowWalk;
class QComboBox;
class QLineEdit;

class CIGMPSnoopingVLANSetting : public CConfigDialog
{
    Q_OBJECT
public:
    // strGlobalState: the global snooping state as last read ("1" on).
    explicit CIGMPSnoopingVLANSetting(const QString& strGlobalState, QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }
    CPortGrid* RouterPorts() const { return m_pPorts; }
    QPushButton* RouterApplyButton() const { return m_pApplyRouter; }
    // True while the chosen VLAN's member ports are being read.
    bool ReadingMembers() const { return m_members.IsRunning(); }
    // Chooses a row as a click does.
    void OnClickList(int nRow);

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;
    void OnWritesFailed(const SnmpSetFailure& failure) override;
    bool CanApply() const override;
    bool OnInitDialog() override;

private:
    void OnSelchangeVlan();
    void OnApplyRouterPorts();
    void OnViewMulticastEntry();
    void EnableMemberPorts(const QString& strVid, const QString& strState);
    void ResetControls();
    void UpdateRouterApply();
    CIGMPSnoopingLogic* IgmpLogic() const;

    QString m_strGlobalState;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSnmpScalarRead m_members;
    CSetSequence* m_pWrites = nullptr;
    bool m_bRouterWrite = false;   // the write under way is the router ports

    CListCtrlEx* m_pList = nullptr;        // 6567
    QLineEdit* m_pVlanId = nullptr;        // 1114
    QLineEdit* m_pVlanName = nullptr;      // 12120
    QComboBox* m_pState = nullptr;         // 212
    QComboBox* m_pQuerier = nullptr;       // 763
    QComboBox* m_pFastLeave = nullptr;     // 235
    CPortGrid* m_pPorts = nullptr;         // 8001 + port - 1
    QPushButton* m_pApplyRouter = nullptr; // 1149
    QPushButton* m_pViewEntries = nullptr; // 324
};
