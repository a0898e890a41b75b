#pragma once

// The switch's SNMP groups: name, security model and level, with read,
// write and notify views.

#include "CSNMPTableDialog.h"

class QComboBox;
class QLineEdit;

class CSNMPGroup : public CSNMPTableDialog
{
public:
    explicit CSNMPGroup(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* ReadEdit() const { return m_pRead; }
    QLineEdit* WriteEdit() const { return m_pWrite; }
    QLineEdit* NotifyEdit() const { return m_pNotify; }
    QComboBox* ModelCombo() const { return m_pModel; }
    QComboBox* LevelCombo() const { return m_pLevel; }

protected:
    bool StartWalk() override;
    void OnRow(int nCode, const void* pData) override;
    QString RowStatusOid(int item) const override;
    void ClearInputs() override;
    void OnApply() override;

private:
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pRead = nullptr;
    QLineEdit* m_pWrite = nullptr;
    QLineEdit* m_pNotify = nullptr;
    QComboBox* m_pModel = nullptr;
    QComboBox* m_pLevel = nullptr;
};
