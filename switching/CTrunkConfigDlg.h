#pragma once

// "Trunk Configuration": the switch-wide link aggregation state, the fixed
// table of aggregated links (id, channel mode, members), the channel mode of
// one link, and the member picker (CPQSTrunkPort) for the link chosen.
// Writes wait for both reads; a failed state read keeps them off, since an
// unchecked box read from nothing would switch aggregation off switch-wide.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CTrunkConfigDlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CTrunkConfigDlg(QWidget* parent = nullptr);
    ~CTrunkConfigDlg() override;

    CListCtrlEx* List() const { return m_listTrunk; }
    QCheckBox* EnableBox() const { return m_btnEnable; }
    QComboBox* ModeCombo() const { return m_cmbMode; }
    QPushButton* PortMemberButton() const { return m_btnPortMember; }
    QPushButton* ApplyStateButton() const { return m_btnApplyState; }
    QLineEdit* TrunkIdEdit() const { return m_editTrunkId; }

    // The picker opened by "&PortMember", before it runs (tests answer it).
    std::function<void(class CPQSTrunkPort&)> m_onPickerOpen;

protected:
    void OnRefresh() override;
    void OnApply() override;   // ApplyTrunkMode
    void OnWritesDone() override;

private:
    void GetLinkAggregationState();
    void GetTrunkTable();
    void ShowTrunkRows();
    void OnRowChanged(int nItem);
    void SetLinkAggregationState();
    void ApplyTrunkMode();
    void SetTrunkMode(const QString& strId);
    void OnPortMember();
    void UpdateButtons();
    int FindRow(const QString& strId) const;

    CCommonSNMP m_cSnmpGetSet;
    CCommonSNMP m_cSnmpWalk;
    CSnmpScalarRead* m_pStateRead = nullptr;
    CSnmpRowWalk* m_pTrunkWalk = nullptr;
    CSetSequence* m_pWrite = nullptr;
    bool m_bStateEnabled = false;

    QLineEdit* m_editTrunkId = nullptr;
    QComboBox* m_cmbMode = nullptr;
    CListCtrlEx* m_listTrunk = nullptr;
    QCheckBox* m_btnEnable = nullptr;
    QPushButton* m_btnApplyState = nullptr;
    QPushButton* m_btnPortMember = nullptr;
    QString m_strMembers;
};
