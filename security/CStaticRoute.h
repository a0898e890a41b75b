#pragma once

// "Static Route Settings ": the switch's static routes (at most 32), the add
// of one and the removal of the selected one.

#include "CConfigDialog.h"
#include "CProL3FunLogic.h"

#include <QList>

class CIPv4AddressCtrl;
class CListCtrlEx;
class QComboBox;
class QLineEdit;

class CStaticRoute : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CStaticRoute(QWidget* parent = nullptr);

    CIPv4AddressCtrl* DestinationCtrl() const { return m_pDestination; }
    QComboBox* MaskCombo() const { return m_pMask; }
    QLineEdit* GatewayEdit() const { return m_pGateway; }
    QLineEdit* MetricEdit() const { return m_pMetric; }
    QComboBox* BackupCombo() const { return m_pBackup; }
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* AddButton() const { return ApplyButton(); }
    QPushButton* DeleteButton() const { return m_pDelete; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    void OnDelete();
    void ResetInputs();

    CIPv4AddressCtrl* m_pDestination = nullptr;
    QComboBox* m_pMask = nullptr;
    QLineEdit* m_pGateway = nullptr;
    QLineEdit* m_pMetric = nullptr;
    QComboBox* m_pBackup = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;   // removes a route the add left half made
    QList<CStaticRouteInfo> m_rows;   // the active routes, as listed
    int m_nTicket = 0;
};
