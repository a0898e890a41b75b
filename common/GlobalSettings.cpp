#include "GlobalSettings.h"

QString g_strCmdArg1;
QString g_strDeviceIP;
QString g_strReadCommunity = QStringLiteral("tundra");
QString g_strWriteCommunity = QStringLiteral("harbors");
QString g_strSnmpVersion = QStringLiteral("1");
QString g_strSnmpPort = QStringLiteral("161");
QString g_strCmdArg8 = QStringLiteral("1");
QString g_strV3SecurityLevel = QStringLiteral("1");
QString g_strV3UserName;
QString g_strV3AuthPassword;
QString g_strV3PrivPassword;
QString g_strV3AuthProtocol = QStringLiteral("1");
QString g_strV3PrivProtocol = QStringLiteral("1");
QString g_strSnmpTimeout = QStringLiteral("3000");
int g_bWritePermission = 1;

QString g_strDeviceName;
int g_nDevicePortNum = 28;
bool g_bPoeModel = false;
int g_nMediumTypeMode = 0;
int g_nPowerMaxThreshold = 7;

namespace {

QString maskText(int prefix)
{
    const quint32 mask = prefix == 0 ? 0u : 0xFFFFFFFFu << (32 - prefix);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(mask >> 24).arg((mask >> 16) & 0xFF).arg((mask >> 8) & 0xFF).arg(mask & 0xFF);
}

} // namespace

const QString g_strSubnetMask[SUBNET_MASK_COUNT] = {
    maskText(32), maskText(31), maskText(30), maskText(29), maskText(28), maskText(27),
    maskText(26), maskText(25), maskText(24), maskText(23), maskText(22), maskText(21),
    maskText(20), maskText(19), maskText(18), maskText(17), maskText(16), maskText(15),
    maskText(14), maskText(13), maskText(12), maskText(11), maskText(10), maskText(9),
    maskText(8),  maskText(7),  maskText(6),  maskText(5),  maskText(4),  maskText(3),
    maskText(2),  maskText(1),  maskText(0),
};

void ResetGlobalSettings()
{
    g_strCmdArg1.clear();
    g_strDeviceIP.clear();
    g_strReadCommunity = QStringLiteral("tundra");
    g_strWriteCommunity = QStringLiteral("harbors");
    g_strSnmpVersion = QStringLiteral("1");
    g_strSnmpPort = QStringLiteral("161");
    g_strCmdArg8 = QStringLiteral("1");
    g_strV3SecurityLevel = QStringLiteral("1");
    g_strV3UserName.clear();
    g_strV3AuthPassword.clear();
    g_strV3PrivPassword.clear();
    g_strV3AuthProtocol = QStringLiteral("1");
    g_strV3PrivProtocol = QStringLiteral("1");
    g_strSnmpTimeout = QStringLiteral("3000");
    g_bWritePermission = 1;
    g_strDeviceName.clear();
    g_nDevicePortNum = 28;
    g_bPoeModel = false;
    g_nMediumTypeMode = 0;
    g_nPowerMaxThreshold = 7;
}

int SettingToInt(const QString& text)
{
    // Like atoi: leading digits count, anything else ends the number.
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    long long value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
        value = value * 10 + (t[i].unicode() - '0');
        if (value > 0x7FFFFFFF)
            value = 0x7FFFFFFF;
    }
    return static_cast<int>(negative ? -value : value);
}

QByteArray ConnectionSettings::AgentAddress() const
{
    return QStringLiteral("%1:%2").arg(strAddress).arg(nPort).toLatin1();
}

ConnectionSettings GetConnectionSettings()
{
    ConnectionSettings s;
    s.strAddress = g_strDeviceIP.trimmed();
    const int port = SettingToInt(g_strSnmpPort);
    s.nPort = port > 0 && port <= 65535 ? port : 161;
    s.nVersion = SettingToInt(g_strSnmpVersion);
    s.readCommunity = g_strReadCommunity.toUtf8();
    s.writeCommunity = g_strWriteCommunity.toUtf8();
    s.nSecurityLevel = SettingToInt(g_strV3SecurityLevel);
    s.userName = g_strV3UserName.toUtf8();
    s.authPassword = g_strV3AuthPassword.toUtf8();
    s.privPassword = g_strV3PrivPassword.toUtf8();
    s.nAuthProtocol = SettingToInt(g_strV3AuthProtocol);
    s.nPrivProtocol = SettingToInt(g_strV3PrivProtocol);
    s.bWritePermission = g_bWritePermission != 0;
    const int timeout = SettingToInt(g_strSnmpTimeout);
    s.nTimeoutMs = timeout > 0 ? timeout : 3000;
    return s;
}

bool IsPoeModelName(const QString& modelName)
{
    static const QString family = QStringLiteral("PQS");
    const QString rest = modelName.startsWith(family) ? modelName.mid(family.size()) : modelName;
    return rest.contains(QLatin1Char('P')) || rest.contains(QLatin1Char('p'));
}
