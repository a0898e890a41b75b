#pragma once

// "DHCP Server Screening Settings": the trusted ports as a port-list text
// (the complement of the switch's bitmap of untrusted ports) and up to five
// trusted DHCP server addresses (IPv4 or IPv6).

#include "CConfigDialog.h"

#include <QString>

class CDHCPServerLogic;
class CEditEXIPV6;
class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;
class QLineEdit;

class CDHCPServerScreenDlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CDHCPServerScreenDlg(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_list; }
    CEditEXIPV6* AddressEdit() const { return m_editAddress; }
    QLineEdit* PortEdit() const { return m_editPorts; }
    QPushButton* AddPortsButton() const { return m_btnAddPorts; }
    QPushButton* AddServerButton() const { return m_btnAddServer; }
    QPushButton* DeleteButton() const { return m_btnDelete; }

    void OnApplyPorts();
    void OnAddServer();
    void OnDeleteServer();

protected:
    void OnRefresh() override;

private:
    CDHCPServerLogic* ScreenLogic() const;

    CListCtrlEx* m_list = nullptr;            // 1131
    CEditEXIPV6* m_editAddress = nullptr;     // 203
    QLineEdit* m_editPorts = nullptr;         // 1135
    QPushButton* m_btnAddPorts = nullptr;     // 1134
    QPushButton* m_btnAddServer = nullptr;    // 1149
    QPushButton* m_btnDelete = nullptr;       // 1121

    CSnmpScalarRead* m_pPortRead = nullptr;
    CSnmpRowWalk* m_pServerWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;
    QString m_strPorts;   // the trusted-port text last read from the switch
};
