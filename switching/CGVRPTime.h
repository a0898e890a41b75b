#pragma once

// "GVRP Global Settings": whether GVRP runs on the switch and its join,
// leave and leave-all timers.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CGVRPFunLogic;
class CSetSequence;
class QLineEdit;
class QRadioButton;

class CGVRPTime : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CGVRPTime(QWidget* parent = nullptr);

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void OnGlobalRead();
    void EnableTimers(bool bOn);
    CGVRPFunLogic* GvrpLogic() const;

    CSnmpScalarRead m_read;
    CSetSequence* m_pWrites = nullptr;
    QString m_strOldState;   // the state as last read

    QRadioButton* m_pEnabled = nullptr;    // 1232
    QRadioButton* m_pDisabled = nullptr;   // 1233
    QLineEdit* m_pJoin = nullptr;          // 1240
    QLineEdit* m_pLeave = nullptr;         // 1241
    QLineEdit* m_pLeaveAll = nullptr;      // 1005
};
