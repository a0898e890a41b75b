#pragma once

// The switch's SNMP users: version, group and, for version 3, the
// authentication and privacy protocols with their passwords.

#include "CSNMPTableDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CSNMPUser : public CSNMPTableDialog
{
public:
    explicit CSNMPUser(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* GroupEdit() const { return m_pGroup; }
    QComboBox* VersionCombo() const { return m_pVersion; }
    QCheckBox* EncryptedBox() const { return m_pEncrypted; }
    QComboBox* AuthCombo() const { return m_pAuth; }
    QLineEdit* AuthPasswordEdit() const { return m_pAuthPassword; }
    QComboBox* PrivCombo() const { return m_pPriv; }
    QLineEdit* PrivPasswordEdit() const { return m_pPrivPassword; }

protected:
    bool StartWalk() override;
    void OnRow(int nCode, const void* pData) override;
    QString RowStatusOid(int item) const override;
    void ClearInputs() override;
    void OnApply() override;

private:
    void UpdateControls();
    void Refuse(const QString& text, QLineEdit* focus = nullptr);

    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pGroup = nullptr;
    QComboBox* m_pVersion = nullptr;
    QCheckBox* m_pEncrypted = nullptr;
    QComboBox* m_pAuth = nullptr;
    QLineEdit* m_pAuthPassword = nullptr;
    QComboBox* m_pPriv = nullptr;
    QLineEdit* m_pPrivPassword = nullptr;
};
