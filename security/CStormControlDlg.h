#pragma once

// "Storm Control": whether storm control is on, which traffic it limits and
// the threshold, entered as N x 64 kbit/s (N from 1 to 16000). Apply writes,
// in one request, what differs from the values last read: switching storm
// control off writes the state alone.

#include "CConfigDialog.h"
#include "CStormControlLogic.h"

class CSnmpScalarRead;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CStormControlDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_ENABLE = 1091,
        IDC_TYPE = 1277,
        IDC_UNIT = 1278,
        IDC_N = 1279,
        IDC_THRESHOLD = 1005,
        IDC_APPLY = 1276,
        IDC_REFRESH = 1044,
    };

    explicit CStormControlDlg(QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_pEnable; }
    QComboBox* TypeCombo() const { return m_pType; }
    QLineEdit* NEdit() const { return m_pN; }
    QLineEdit* ThresholdEdit() const { return m_pThreshold; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    CStormControlLogic* StormLogic() const { return Logic<CStormControlLogic>(); }
    void OnChangeN();
    void OnEnableStormControl();

    QCheckBox* m_pEnable = nullptr;
    QComboBox* m_pType = nullptr;
    QLineEdit* m_pN = nullptr;
    QLineEdit* m_pThreshold = nullptr;
    CSnmpScalarRead* m_pRead = nullptr;
    CSetSequence* m_pWrite = nullptr;
    CStormControlInfo m_last;   // as last read from the switch
};
