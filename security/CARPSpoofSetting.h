#pragma once

// "ARP Spoofing Prevention Setting": the switch's bindings of a router or
// gateway address to its MAC address on a set of ports (at most 64), with
// Add (CAddARPEntry) and Delete.

#include "CConfigDialog.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QLineEdit;

class CARPSpoofSetting : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CARPSpoofSetting(QWidget* parent = nullptr);

    enum : int { kMaxEntries = 64 };
    // Columns of the table (entry P.14.3.1.1); the index is the gateway address.
    enum : int { ColAddress = 1, ColMac = 2, ColPorts = 3, ColStatus = 4 };
    static QString Column(int nColumn);

    CListCtrlEx* List() const { return m_list; }
    QLineEdit* TotalEdit() const { return m_editTotal; }
    QPushButton* AddButton() const { return m_btnAdd; }
    QPushButton* DeleteButton() const { return m_btnDelete; }

    void OnAdd();
    void OnDelete();

protected:
    void OnRefresh() override;
    // Opens the add dialog; tests replace it to drive the dialog themselves.
    virtual int RunAddDialog(const QStringList& addresses, const QStringList& macs);

private:
    void GetArpSpoofTable();

    CListCtrlEx* m_list = nullptr;        // 1133
    QLineEdit* m_editTotal = nullptr;     // 1144
    QPushButton* m_btnAdd = nullptr;      // 1001
    QPushButton* m_btnDelete = nullptr;   // 1003

    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPTable;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
};
