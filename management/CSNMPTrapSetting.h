#pragma once

// Which traps the switch's SNMP agent sends: six switches, nine on a PoE
// model. A failed read keeps Apply off, so a switch never read is never
// written.

#include "CConfigDialog.h"

class CSNMPConfig;
class QCheckBox;

class CSNMPTrapSetting : public CConfigDialog
{
public:
    explicit CSNMPTrapSetting(QWidget* parent = nullptr);

    // Boxes in SNMP_TRAP_ROW field order (field 6, "CPU Utilization", is
    // hidden and has no object).
    QCheckBox* Box(int field) const { return m_pBoxes[field]; }
    bool IsPoe() const { return m_bPoe; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    CSNMPConfig* Config() const;

    QCheckBox* m_pBoxes[10] = {};
    bool m_bPoe = false;
    CSetSequence* m_pWrites = nullptr;
};
