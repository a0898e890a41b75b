#include "SimSettings.h"

#include "GlobalSettings.h"

#include <cstring>

void UseSimulatedSwitch(const SimulatedSwitch& sim)
{
    ResetGlobalSettings();
    g_strDeviceIP = QString::fromStdString(sim.address());
    g_strSnmpPort = QString::number(sim.port());
}

void UseSimUser(const SimUser& user)
{
    g_strSnmpVersion = QStringLiteral("3");
    g_strV3UserName = QString::fromLatin1(user.name);
    g_strV3SecurityLevel = QStringLiteral("1");
    if (user.authProtocol) {
        g_strV3SecurityLevel = QStringLiteral("2");
        g_strV3AuthProtocol = std::strcmp(user.authProtocol, "SHA") == 0 ? QStringLiteral("3") : QStringLiteral("2");
        g_strV3AuthPassword = QString::fromLatin1(user.authPass);
    }
    if (user.privProtocol) {
        g_strV3SecurityLevel = QStringLiteral("3");
        g_strV3PrivProtocol = QStringLiteral("2");
        g_strV3PrivPassword = QString::fromLatin1(user.privPass);
    }
}

void UseAnswerTimeout()
{
    g_strSnmpTimeout = QStringLiteral("3000");
}

void UseLostAnswerTimeout()
{
    g_strSnmpTimeout = QStringLiteral("400");
}
