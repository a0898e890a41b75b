#pragma once

// Objects of the spanning tree dialogs. Timers are held by the switch in
// hundredths of a second; the dialogs show and take whole seconds.

#include <QString>

namespace SpanTreeMib {

// Bridge scalars, each with its instance ".0".
inline QString Bridge(int n)
{
    return QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.51.1.%1.0").arg(n);
}
enum : int {
    kState = 1, kVersion = 2, kPriority = 3, kHoldCount = 4, kMaxAge = 5, kHello = 6, kForwardDelay = 7,
    kForwardBpdu = 8, kRootBridge = 9, kRootCost = 10, kRootMaxAge = 11, kRootForwardDelay = 12, kRootPort = 13,
};

// Columns of the per-port table (index: port number).
inline QString PortColumn(int n)
{
    return QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.51.2.1.%1").arg(n);
}
enum : int {
    kPortNumber = 1, kPortOn = 2, kPortPriority = 3, kPortCost = 4, kPortCostInUse = 5, kPortMigrate = 6,
    kPortEdge = 7, kPortP2P = 8, kPortRestrictedRole = 9, kPortRestrictedTcn = 10, kPortHello = 11,
    kPortState = 12, kPortForwardBpdu = 13,
};

// Loop-back detection per port ("1" enabled) and the standard bridge MIB's
// dot1dStpPortEnable (1 enabled, 2 disabled).
inline QString LoopDetectColumn()
{
    return QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.17.5.1.2");
}
inline QString StpPortEnableColumn()
{
    return QStringLiteral("1.3.6.1.2.1.17.2.15.1.4");
}

} // namespace SpanTreeMib
