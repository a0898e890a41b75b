#pragma once

// The switch's SNMP views: name and subtree, with an OID mask and
// Included or Excluded.

#include "CSNMPTableDialog.h"

class QComboBox;
class QLineEdit;

class CSNMPViewTree : public CSNMPTableDialog
{
public:
    explicit CSNMPViewTree(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* SubtreeEdit() const { return m_pSubtree; }
    QLineEdit* MaskEdit() const { return m_pMask; }
    QComboBox* TypeCombo() const { return m_pType; }

protected:
    bool StartWalk() override;
    void OnRow(int nCode, const void* pData) override;
    QString RowStatusOid(int item) const override;
    QString NoSelectionMessage() const override { return QStringLiteral("Please Selecte the Item you would delete"); }
    void ClearInputs() override;
    void OnApply() override;

private:
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pSubtree = nullptr;
    QLineEdit* m_pMask = nullptr;
    QComboBox* m_pType = nullptr;
};
