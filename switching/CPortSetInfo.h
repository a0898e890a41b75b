#pragma once

// "Port Configuration": every port's configured speed and duplex, operating
// mode, flow control, 802.1p default priority and operating flow control;
// the speed and flow control of one port at a time under the switch's rules
// for fibre ports, SFP modules and aggregated links. Opened from the menu
// and by a click on a front-panel port, with no port chosen.
//
// The port is taken from the current row on every row change (mouse or
// keyboard). Apply waits for the port walk and the aggregated-link walk.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"

#include <vector>

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QComboBox;
class QLineEdit;

class CPortSetInfo : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CPortSetInfo(QWidget* parent = nullptr);
    ~CPortSetInfo() override;

    // Opens on port `nPort` (a click on that port of the front panel): its
    // row is chosen and filled in below once the ports have been read.
    Q_INVOKABLE void SelectPort(int nPort);

    CListCtrlEx* List() const { return m_listPorts; }
    QComboBox* SpeedCombo() const { return m_comboSpeed; }
    QComboBox* FlowControlCombo() const { return m_comboFlowControl; }
    QLineEdit* PortIdEdit() const { return m_editPortId; }
    const QString& PortId() const { return m_strPortId; }

    // Texts of the codes the switch reports.
    static QString SpeedText(const QString& code);
    static QString OperModeText(const QString& code, QString* copperForm = nullptr);
    static QString PriorityText(const QString& code);
    static QString OperFlowText(const QString& code);

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void ReadTrunkMembers();
    void ReadPortTable();
    void ShowPortRows();
    void TakeRow(int nItem);
    int RowOfPort(int nPort) const;
    void ChoosePort(int nPort);
    int CheckLagConsistency();
    void ApplyPortSettings();

    CCommonSNMP m_cCommonSNMP;        // the write
    CCommonSNMP m_cCommonSNMPTable;   // the port-table walk
    CCommonSNMP m_cCommonSNMPTrunk;   // the aggregated-link walk
    CSnmpRowWalk* m_pPortWalk = nullptr;
    CSnmpRowWalk* m_pTrunkWalk = nullptr;
    CSetSequence* m_pWrite = nullptr;

    QString m_strPortId;
    QLineEdit* m_editPortId = nullptr;
    QComboBox* m_comboSpeed = nullptr;
    QComboBox* m_comboFlowControl = nullptr;
    CListCtrlEx* m_listPorts = nullptr;
    std::vector<int> m_pnTrunkId;      // entry p-1: link of port p, 0 none
    std::vector<int> m_pnMediumType;   // entry p-1: medium code of port p, 0 not read
    int m_nFiberPorts = 0;             // combo ports at the top of the port range
    int m_nStartPort = 0;              // chosen before the first read, 0 none
};
