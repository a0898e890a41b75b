#pragma once

// The switch's SNMP communities, each bound to a view policy (a user of
// version 1 or 2c whose views apply). Lists, adds and deletes rows.

#include "CSNMPTableDialog.h"

class QComboBox;
class QLineEdit;

class CSNMPCommunity : public CSNMPTableDialog
{
public:
    explicit CSNMPCommunity(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QComboBox* PolicyCombo() const { return m_pPolicy; }
protected:
    bool StartWalk() override;
    void OnRow(int nCode, const void* pData) override;
    QString RowStatusOid(int item) const override;
    void ClearInputs() override;
    void OnApply() override;

private:
    QLineEdit* m_pName = nullptr;
    QComboBox* m_pPolicy = nullptr;
};
