#pragma once

// "LLDP MED Settings": the LLDP-MED Power PSE TLV of each port, set for a
// range of ports at once. Only offered while LLDP is enabled on the switch.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QComboBox;

class CLLDPMED : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CLLDPMED(QWidget* parent = nullptr);
    ~CLLDPMED() override;

    QComboBox* FromPort() const { return m_pFrom; }
    QComboBox* ToPort() const { return m_pTo; }
    QComboBox* PseTlv() const { return m_pTlv; }
    CListCtrlEx* List() const { return m_pList; }

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override { return m_bLldpEnabled; }

private:
    void GetLLDPEnable(int nTicket);
    void ReadMedTable();
    void EnableInputs(bool bEnable);

    CCommonSNMP m_cCommonSNMP;
    CCommonSNMP m_cCommonSNMPTable;
    CCommonSNMP m_cCommonSNMPSet;
    CSnmpScalarRead m_stateRead;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrite = nullptr;
    bool m_bLldpEnabled = false;

    QComboBox* m_pFrom = nullptr;
    QComboBox* m_pTo = nullptr;
    QComboBox* m_pTlv = nullptr;
    CListCtrlEx* m_pList = nullptr;
};
