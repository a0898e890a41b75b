#pragma once

// "802.1Q VLAN Configuration": the switch's active VLANs, its asymmetric
// VLAN mode, and the entry to adding, editing and deleting VLANs and to
// the PVIDs. Every read (mode, voice and surveillance VLANs, PVIDs, IP
// interfaces, VLAN table) must have succeeded before anything is written,
// because the mode and delete rules depend on all of them.

#include "CConfigDialog.h"
#include "VLAN_ENTRY.h"

#include <QStringList>

#include <vector>

class CListCtrlEx;
class QCheckBox;

class C8021qVlanSet : public CConfigDialog
{
    Q_OBJECT
public:
    explicit C8021qVlanSet(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_listVlan; }
    QCheckBox* AsymmetricBox() const { return m_btnAsymmetric; }
    QPushButton* AddButton() const { return m_btnAdd; }
    QPushButton* EditButton() const { return m_btnEdit; }
    QPushButton* DeleteButton() const { return m_btnDelete; }
    QPushButton* PvidButton() const { return m_btnPvid; }
    const VlanList& Vlans() const { return m_pVlanList; }

    // Whether VLAN nVid may be deleted; else shows why and refuses.
    bool CanDeleteVlan(int nVid);

    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnPvid();

protected:
    void OnRefresh() override;
    void OnApply() override;   // the VLAN mode

private:
    void OnVlanWalkEnd(const WalkOutcome& outcome);
    VLAN_ENTRY EntryOf(const SnmpRow& row) const;
    bool Asymmetric() const { return m_strVlanMode == QLatin1String("1"); }
    int SelectedVid() const;
    // False, after telling the user, when no VLAN is selected.
    bool HasSelection(const QString& strPlease);

    CListCtrlEx* m_listVlan = nullptr;
    QCheckBox* m_btnAsymmetric = nullptr;
    QPushButton* m_btnAdd = nullptr;
    QPushButton* m_btnEdit = nullptr;
    QPushButton* m_btnDelete = nullptr;
    QPushButton* m_btnPvid = nullptr;

    CCommonSNMP& m_cCommonSNMP;                  // VLAN mode
    CCommonSNMP& m_cCommonSNMPVoiceVlan;         // voice and surveillance VLANs
    CCommonSNMP& m_cCommonSNMPTable;             // PVIDs
    CCommonSNMP& m_cCommonSNMPTableVlan;         // VLAN table
    CCommonSNMP& m_cCommonSNMPTableVlanDelete;   // VLAN delete
    CCommonSNMP& m_cCommonSNMPIpInterface;       // IP interfaces

    CSnmpRowWalk* m_pModeWalk = nullptr;
    CSnmpRowWalk* m_pVoiceWalk = nullptr;
    CSnmpRowWalk* m_pPvidWalk = nullptr;
    CSnmpRowWalk* m_pVlanWalk = nullptr;
    CSnmpRowWalk* m_pIpWalk = nullptr;
    CSetSequence* m_pModeWrite = nullptr;
    CSetSequence* m_pDelete = nullptr;

    int m_nPortNum = 0;
    std::vector<int> m_pPvid;   // by port (port - 1); 0 = not reported
    int m_nVoiceVlanState = 2;
    int m_nSurveillanceVlanState = 2;
    int m_nVoiceVlanId = 0;
    int m_nSurveillanceVlanId = 0;
    VlanList m_pVlanList;
    std::vector<int> m_arrIpIfVlan;
    QString m_strVlanMode;   // "1" or "2" as last read
    int m_nReselectVid = 0;
};
