#pragma once

// The switch's SNMP communities, each bound to a view policy (a user of
// version 1 or 2c whose views apply). Lists, adds and deletes rows.

#include "CConfigDialog.h"

class CListCtrlEx;
class CSNMPConfig;
class QComboBox;
class QLineEdit;

class CSNMPCommunity : public CConfigDialog
{
public:
    explicit CSNMPCommunity(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QComboBox* PolicyCombo() const { return m_pPolicy; }
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* DeleteButton() const { return m_pDelete; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;
    void OnDelete();

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    CSNMPConfig* Config() const;

    QLineEdit* m_pName = nullptr;
    QComboBox* m_pPolicy = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
    bool m_bClearInputs = false;
};
