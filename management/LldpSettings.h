#pragma once

// What the LLDP dialogs share: the switch's LLDP objects and the pauses the
// switch needs after an LLDP write. The pauses are process-wide values that
// tests shorten.

#include <QString>

namespace LldpSettings {

// Private LLDP objects (written as INTEGER).
QString StateOid();            // 1 enabled, 2 disabled
QString HoldMultiplierOid();   // 2..10
QString TxIntervalOid();       // 5..32768 s
QString ReinitDelayOid();      // 1..10 s
QString TxDelayOid();          // 1..8192 s, at most a quarter of the TX interval
QString MedPseTlvColumn();     // .{port}: 1 enabled, 2 disabled

struct Waits
{
    int nAfterWriteMs = 2000;      // after the state or timers were taken
    int nRetryMs = 1000;           // before sending a set again that got no answer
    int nAfterMedWriteMs = 1000;   // after the MED settings were taken
    int nAttempts = 3;             // sends of the state or timer set
};
Waits& CurrentWaits();

// Chassis ID subtype ("4" -> "macAddress") and port ID subtype texts of
// LLDP-MIB; other values give the value as received.
QString ChassisIdSubtypeText(const QString& value);
QString PortIdSubtypeText(const QString& value);

} // namespace LldpSettings
