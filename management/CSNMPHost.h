#pragma once

// The switch's trap receivers: IPv4 or IPv6 address (a link-local one with
// its interface name), SNMP version, and community string or SNMPv3 user.

#include "CConfigDialog.h"

class CEditEXIPV6;
class CListCtrlEx;
class CSNMPConfig;
class QComboBox;
class QLineEdit;

class CSNMPHost : public CConfigDialog
{
public:
    explicit CSNMPHost(QWidget* parent = nullptr);

    CEditEXIPV6* AddressEdit() const { return m_pAddress; }
    QComboBox* VersionCombo() const { return m_pVersion; }
    QLineEdit* NameEdit() const { return m_pName; }
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* DeleteButton() const { return m_pDelete; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;
    void OnDelete();

    // The address octets of a listed address (the text before any "%");
    // empty when it is neither IPv4 nor IPv6.
    static QByteArray ListedAddressOctets(const QString& listed);

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    CSNMPConfig* Config() const;

    CEditEXIPV6* m_pAddress = nullptr;
    QComboBox* m_pVersion = nullptr;
    QLineEdit* m_pName = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
    bool m_bClearInputs = false;
};
