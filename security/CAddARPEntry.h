#pragma once

// Adds one ARP spoofing prevention entry: a router or gateway address, its
// MAC address and the ports it is bound on. Opened by CARPSpoofSetting with
// the entries it lists, for the duplicate check.

#include "CConfigDialog.h"

#include <QStringList>

#include <vector>

class CPortGrid;
class CSetSequence;
class QCheckBox;
class QLineEdit;

class CAddARPEntry : public CConfigDialog
{
    Q_OBJECT
public:
    CAddARPEntry(const QStringList& addresses, const QStringList& macs, QWidget* parent = nullptr);

    QLineEdit* AddressEdit() const { return m_editAddress; }
    QLineEdit* MacEdit() const { return m_editMac; }
    QCheckBox* AllPortsBox() const { return m_chkAll; }
    CPortGrid* Ports() const { return m_pPorts; }

    // The address and MAC checks in their fixed order: the message of the
    // first that fails, or empty.
    static QString CheckIpMacText(const QString& strAddress, const QString& strMac);
    // 0 valid, 1 after its message.
    int CheckIpMac();
    // 1 no duplicate, 0 after its message.
    int CheckDuplicate();
    // 1 when every selected port's aggregated link is selected whole.
    int CheckTrunkSelection() const;

    void OnPortButton(int nPort, bool bChecked);
    void OnAllPorts(bool bChecked);

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    QLineEdit* m_editAddress = nullptr;   // 1012
    QLineEdit* m_editMac = nullptr;       // 1139
    QCheckBox* m_chkAll = nullptr;        // 1141
    CPortGrid* m_pPorts = nullptr;        // boxes 6001 upward

    QStringList m_arrAddresses;   // the listed entries, for the duplicate check
    QStringList m_arrMacs;
    std::vector<int> m_pSelection;   // entry p-1: port p checked

    CCommonSNMP& m_cCommonSNMP;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;
};
