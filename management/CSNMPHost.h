#pragma once

// The switch's trap receivers: IPv4 or IPv6 address (a link-local one with
// its interface name), SNMP version, and community string or SNMPv3 user.

#include "CSNMPTableDialog.h"

class CEditEXIPV6;
class QComboBox;
class QLineEdit;

class CSNMPHost : public CSNMPTableDialog
{
public:
    explicit CSNMPHost(QWidget* parent = nullptr);

    CEditEXIPV6* AddressEdit() const { return m_pAddress; }
    QComboBox* VersionCombo() const { return m_pVersion; }
    QLineEdit* NameEdit() const { return m_pName; }
    // The address octets of a listed address (the text before any "%");
    // empty when it is neither IPv4 nor IPv6.
    static QByteArray ListedAddressOctets(const QString& listed);

protected:
    bool StartWalk() override;
    void OnRow(int nCode, const void* pData) override;
    QString RowStatusOid(int item) const override;
    QString NoSelectionMessage() const override { return QStringLiteral("Please Selecte the Item you would delete"); }
    void ClearInputs() override;
    void OnApply() override;

private:
    CEditEXIPV6* m_pAddress = nullptr;
    QComboBox* m_pVersion = nullptr;
    QLineEdit* m_pName = nullptr;
};
