#pragma once

// "DHCP Server Screening Port Settings": DHCP server screening per port
// ("Enabled" where the switch's bitmap has the port's bit set), set on a
// range of ports at a time, never splitting an aggregated link. No menu
// command opens it.

#include "CConfigDialog.h"

#include <vector>

class CDHCPServerLogic;
class CListCtrlEx;
class CSetSequence;
class CSnmpScalarRead;
class QComboBox;

class CDHCPServerConfig : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CDHCPServerConfig(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_list; }
    QComboBox* StateCombo() const { return m_cmbState; }
    QComboBox* FromCombo() const { return m_cmbFrom; }
    QComboBox* ToCombo() const { return m_cmbTo; }

    enum : int { StateEnabled = 1, StateDisabled = 2 };

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void ShowStates();

    QComboBox* m_cmbState = nullptr;   // 212
    QComboBox* m_cmbFrom = nullptr;    // 1122
    QComboBox* m_cmbTo = nullptr;      // 1123
    CListCtrlEx* m_list = nullptr;     // 1120

    CSnmpScalarRead* m_pRead = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nPorts = 0;
    // Per port (entry p-1): StateEnabled or StateDisabled as last read.
    std::vector<int> m_states;
};
