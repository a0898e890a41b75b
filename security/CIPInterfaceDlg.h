#pragma once

// "IP Interface Settings": the switch's IP interfaces (at most four, each on
// its own VLAN; interface 1 is the switch's default and stays), with the add
// of one at the lowest free index and the removal of the selected one.

#include "CConfigDialog.h"
#include "CProL3FunLogic.h"

#include <QList>

class CIPv4AddressCtrl;
class CListCtrlEx;
class QComboBox;
class QLineEdit;

class CIPInterfaceDlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CIPInterfaceDlg(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QComboBox* VlanCombo() const { return m_pVlan; }
    CIPv4AddressCtrl* AddressCtrl() const { return m_pAddress; }
    QComboBox* MaskCombo() const { return m_pMask; }
    QComboBox* AdminCombo() const { return m_pAdmin; }
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* AddButton() const { return ApplyButton(); }
    QPushButton* DeleteButton() const { return m_pDelete; }
    // The active interfaces as listed.
    const QList<CIPInterfaceInfo>& Interfaces() const { return m_rows; }

    // The lowest interface index 1-4 no listed interface holds; 0 when all
    // are taken (also with more than four rows).
    static int FreeIndex(const QList<CIPInterfaceInfo>& rows);

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    void OnDelete();
    void ResetInputs();

    QLineEdit* m_pName = nullptr;
    QComboBox* m_pVlan = nullptr;
    CIPv4AddressCtrl* m_pAddress = nullptr;
    QComboBox* m_pMask = nullptr;
    QComboBox* m_pAdmin = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;   // removes an interface the add left half made
    QList<CIPInterfaceInfo> m_rows;
    int m_nTicket = 0;
};
