#pragma once

// "BandWidth Control": every port's transmit and receive rate limits, and
// the setting of one or both limits for a range of ports. A range holding a
// member of an aggregated link is refused before anything is written; Apply
// and Refresh wait for both the rate table and the links.

#include "CBandWidthControlFunLogic.h"
#include "CConfigDialog.h"

class CListCtrlEx;
class CSnmpRowWalk;
class QComboBox;
class QLineEdit;

class CBandWidthControlDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_FROM_PORT = 1100,
        IDC_TO_PORT = 211,
        IDC_TYPE = 1118,
        IDC_NO_LIMIT = 1271,
        IDC_RATE = 1270,
        IDC_APPLY = 1000,
        IDC_REFRESH = 1044,
        IDC_LIST = 1247,
    };

    explicit CBandWidthControlDlg(QWidget* parent = nullptr);

    QComboBox* FromPort() const { return m_pFrom; }
    QComboBox* ToPort() const { return m_pTo; }
    QComboBox* TypeCombo() const { return m_pType; }
    QComboBox* NoLimitCombo() const { return m_pNoLimit; }
    QLineEdit* RateEdit() const { return m_pRate; }
    CListCtrlEx* List() const { return m_pList; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    CBandWidthControlFunLogic* BandwidthLogic() const { return Logic<CBandWidthControlFunLogic>(); }
    void OnSelchangeNoLimit();
    void ResetInput();

    QComboBox* m_pFrom = nullptr;
    QComboBox* m_pTo = nullptr;
    QComboBox* m_pType = nullptr;
    QComboBox* m_pNoLimit = nullptr;
    QLineEdit* m_pRate = nullptr;
    CListCtrlEx* m_pList = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
};
