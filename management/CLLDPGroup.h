#pragma once

// "LLDP Global Settings": LLDP on or off, the four transmit timers and the
// switch's own LLDP system data. The state and the timers are written
// separately, each set sent up to three times while the switch does not
// answer; after a write the dialog waits for the switch to apply it, then
// reads again. The window stays responsive throughout.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CLLDPGroup : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CLLDPGroup(QWidget* parent = nullptr);
    ~CLLDPGroup() override;

    void OnGetSystemInfo() { Refresh(); }
    void OnBUTTONLldpEnableApply();
    void OnApplyTimers();

    QCheckBox* EnableBox() const { return m_pEnable; }
    QPushButton* EnableApply() const { return m_pEnableApply; }
    QPushButton* TimersApply() const { return m_pTimersApply; }

protected:
    void OnRefresh() override;
    void OnWritesDone() override;

private:
    void OnSystemInfoReply(const WalkOutcome& outcome, int nTicket);
    void UpdateButtons();
    void StartWrite(const QString& strWhat, QList<SnmpSetValue> values);

    CCommonSNMP m_cCommonSNMP;
    CCommonSNMP m_cCommonSNMPSet;
    CSnmpScalarRead m_read;
    CSetSequence* m_pWrite = nullptr;
    bool m_bLldpEnabled = false;

    QCheckBox* m_pEnable = nullptr;
    QPushButton* m_pEnableApply = nullptr;
    QLineEdit* m_pHold = nullptr;
    QLineEdit* m_pInterval = nullptr;
    QLineEdit* m_pReinit = nullptr;
    QLineEdit* m_pDelay = nullptr;
    QPushButton* m_pTimersApply = nullptr;
    QLabel* m_pChassisSubtype = nullptr;
    QLabel* m_pChassisId = nullptr;
    QLabel* m_pSysName = nullptr;
    QLabel* m_pSysDescr = nullptr;
};
