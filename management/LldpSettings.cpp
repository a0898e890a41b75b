#include "LldpSettings.h"

namespace {

const QString kLldp = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.24.");

QString SubtypeText(const QString& value, const char* const texts[7])
{
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n >= 1 && n <= 7 ? QString::fromLatin1(texts[n - 1]) : value;
}

} // namespace

namespace LldpSettings {

QString StateOid() { return kLldp + QStringLiteral("1.0"); }
QString HoldMultiplierOid() { return kLldp + QStringLiteral("2.0"); }
QString TxIntervalOid() { return kLldp + QStringLiteral("3.0"); }
QString ReinitDelayOid() { return kLldp + QStringLiteral("4.0"); }
QString TxDelayOid() { return kLldp + QStringLiteral("5.0"); }
QString MedPseTlvColumn() { return kLldp + QStringLiteral("7.1.2"); }

Waits& CurrentWaits()
{
    static Waits waits;
    return waits;
}

QString ChassisIdSubtypeText(const QString& value)
{
    static const char* const texts[7] = {"chassisComponent", "interfaceAlias", "portComponent", "macAddress",
                                         "networkAddress",   "interfaceName",  "local"};
    return SubtypeText(value, texts);
}

QString PortIdSubtypeText(const QString& value)
{
    static const char* const texts[7] = {"interfaceAlias", "portComponent",  "macAddress", "networkAddress",
                                         "interfaceName",  "agentCircuitld", "local"};
    return SubtypeText(value, texts);
}

} // namespace LldpSettings
