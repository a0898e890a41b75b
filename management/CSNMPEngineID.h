#pragma once

// Shows and sets the switch's SNMP engine ID (10 to 64 hex digits).

#include "CConfigDialog.h"

class QLineEdit;
class CSNMPConfig;

class CSNMPEngineID : public CConfigDialog
{
public:
    explicit CSNMPEngineID(QWidget* parent = nullptr);

    QLineEdit* IdEdit() const { return m_pEdit; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    CSNMPConfig* Config() const;

    QLineEdit* m_pEdit = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
};
