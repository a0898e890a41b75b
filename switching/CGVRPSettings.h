#pragma once

// "GVRP Settings": the per-port GVRP table, and PVID, GVRP, ingress
// checking and acceptable frame types written to a range of ports.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CGVRPFunLogic;
class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QComboBox;
class QLineEdit;

class CGVRPSettings : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CGVRPSettings(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void OnPortWalkEnd(int nTicket, const WalkOutcome& outcome);
    void OnVlanWalkEnd(int nTicket, const WalkOutcome& outcome);
    void EnablePortCombos(bool bOn);
    CGVRPFunLogic* GvrpLogic() const;

    CSnmpScalarRead m_stateRead;
    CSnmpRowWalk* m_pPortWalk = nullptr;
    CSnmpRowWalk* m_pVlanWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;

    CListCtrlEx* m_pList = nullptr;        // 1234
    QComboBox* m_pFromPort = nullptr;      // 1100
    QComboBox* m_pToPort = nullptr;        // 211
    QLineEdit* m_pPvid = nullptr;          // 1235
    QComboBox* m_pGvrp = nullptr;          // 1236
    QComboBox* m_pFrameType = nullptr;     // 1237
    QComboBox* m_pIngress = nullptr;       // 1238
};
