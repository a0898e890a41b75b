#pragma once

// Switches the switch's SNMP agent on or off. Disabling it asks first: it
// cuts this program (and every other manager) off from the switch.

#include "CConfigDialog.h"

class QCheckBox;
class CSNMPConfig;

class CSNMPGlobal : public CConfigDialog
{
public:
    explicit CSNMPGlobal(QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_pEnable; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    CSNMPConfig* Config() const;

    QCheckBox* m_pEnable = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
};
