#pragma once

// "IGMP Snooping Configuration": the switch's global IGMP snooping state
// and its six timers; opens the per-VLAN settings.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CIGMPSnoopingLogic;
class CSetSequence;
class QCheckBox;
class QLineEdit;

class CIGMPSnoopConfig : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CIGMPSnoopConfig(QWidget* parent = nullptr);

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void OnGlobalReady();
    void OnEnableSnooping();
    void OnIgmpVlanInfo();
    CIGMPSnoopingLogic* IgmpLogic() const;

    CSnmpScalarRead m_read;
    CSetSequence* m_pWrites = nullptr;

    QCheckBox* m_pEnable = nullptr;            // 545
    QLineEdit* m_pHostTimeout = nullptr;       // 6871
    QLineEdit* m_pRouterTimeout = nullptr;     // 5654
    QLineEdit* m_pRobustness = nullptr;        // 7841
    QLineEdit* m_pLastMemberQuery = nullptr;   // 43565
    QLineEdit* m_pQueryInterval = nullptr;     // 1246
    QLineEdit* m_pMaxResponse = nullptr;       // 4324
    QPushButton* m_pVlanInfo = nullptr;        // 10218
};
