#pragma once

// "Static ARP Settings ": the switch's ARP table (at most 128 rows), its
// aging time, and the add and removal of static entries.

#include "CConfigDialog.h"
#include "CProL3FunLogic.h"

#include <QList>

class CIPv4AddressCtrl;
class CListCtrlEx;
class QLineEdit;

class CStaticARP : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CStaticARP(QWidget* parent = nullptr);

    QLineEdit* AgingEdit() const { return m_pAging; }
    QPushButton* AgingApplyButton() const { return m_pApplyAging; }
    CIPv4AddressCtrl* AddressCtrl() const { return m_pAddress; }
    QLineEdit* MacEdit() const { return m_pMac; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* DeleteButton() const { return m_pDelete; }
    CListCtrlEx* List() const { return m_pList; }

    // "BROADCAST", "LOCAL", "STATIC" or empty for the type column's value.
    static QString TypeText(const QString& type);

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;

private:
    void OnApplyAging();
    void OnAdd();
    void OnDelete();

    QLineEdit* m_pAging = nullptr;
    QPushButton* m_pApplyAging = nullptr;
    CIPv4AddressCtrl* m_pAddress = nullptr;
    QLineEdit* m_pMac = nullptr;
    QPushButton* m_pAdd = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    QList<CStaticARPInfo> m_rows;   // the active rows, as listed
    int m_nAgingTicket = 0;
    int m_nTableTicket = 0;
};
