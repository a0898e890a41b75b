#pragma once

// "Traffic Segmentation Settings ": switches segmentation on and off, lists
// each port's forwarding ports and writes the forwarding ports of one port,
// or of every port ("ALL": each gets the chosen ports plus itself), from a
// grid of port boxes. A set that holds only part of an aggregated link is
// refused before anything is written.

#include "CConfigDialog.h"
#include "CTrafficSeg.h"

#include <QMap>

class CListCtrlEx;
class CPortGrid;
class CSnmpRowWalk;
class CSnmpScalarRead;
class QCheckBox;
class QComboBox;
class QPushButton;

class CTrafficSegDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_ENABLE = 1037,
        IDC_APPLY_STATE = 1003,
        IDC_FROM_PORT = 1038,
        IDC_TO_PORT = 1119,
        IDC_PORT_BOX = 32501,
        IDC_FIRST_PORT = 8001,
        IDC_SELECT_ALL = 1120,
        IDC_CLEAR = 1149,
        IDC_APPLY_PORTS = 1011,
        IDC_LIST = 1039,
        IDC_REFRESH = 1044,
    };

    explicit CTrafficSegDlg(QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_pEnable; }
    QPushButton* ApplyStateButton() const { return m_pApplyState; }
    QComboBox* FromPort() const { return m_pFrom; }
    CPortGrid* Ports() const { return m_pGrid; }
    QPushButton* SelectAllButton() const { return m_pSelectAll; }
    QPushButton* ClearButton() const { return m_pClear; }
    CListCtrlEx* List() const { return m_pList; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;   // the ports' "&Apply"
    bool CanApply() const override;

private:
    CTrafficSeg* SegLogic() const { return Logic<CTrafficSeg>(); }
    void OnApplyState();
    void OnSelchangePort();
    void OnSelectAll();
    void OnClear();
    void ShowState();
    int FromPortNumber() const;   // 0 for "ALL"

    QCheckBox* m_pEnable = nullptr;
    QPushButton* m_pApplyState = nullptr;
    QComboBox* m_pFrom = nullptr;
    CPortGrid* m_pGrid = nullptr;
    QPushButton* m_pSelectAll = nullptr;
    QPushButton* m_pClear = nullptr;
    CListCtrlEx* m_pList = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSnmpScalarRead* m_pStateRead = nullptr;
    CSetSequence* m_pWrites = nullptr;
    // Each port's forwarding ports as a list ("1,3,5"), by port.
    QMap<int, QString> m_forwardPorts;
};
