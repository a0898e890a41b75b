#pragma once

// The reboot guard: tells whether the switch may be rebooted now (no save of
// the configuration and no firmware or configuration transfer under way)
// and sends the reboot.

#include "CCommonSNMP.h"

class QWidget;

class CResetDevice
{
public:
    CResetDevice();
    virtual ~CResetDevice();

    CResetDevice(const CResetDevice&) = delete;
    CResetDevice& operator=(const CResetDevice&) = delete;

    // 1 the reboot may go ahead, 0 a save or a transfer is running. A switch
    // that does not answer does not block the reboot. Shows nothing.
    int CanReboot();

    // Sends the reboot set once and waits at most the default time-out; a
    // missing answer is normal (the switch restarts). Shows nothing.
    void Reboot();

private:
    CCommonSNMP m_cCommonSNMP;
};

// What the main window's "Reboot" command does: asks for confirmation,
// consults the guard and reboots, refusing with a message while a save or a
// transfer is running.
enum RebootOutcome { REBOOT_CANCELLED, REBOOT_REFUSED, REBOOT_SENT };
RebootOutcome ConfirmAndRebootDevice(QWidget* parent = nullptr);
