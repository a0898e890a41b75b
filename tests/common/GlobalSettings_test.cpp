#include "GlobalSettings.h"

#include <QStringList>

#include <gtest/gtest.h>

// The mask table is indexed by 32 minus the prefix length; an off-by-one
// would offer /23 where the dialog says /24. Checked against the entries the
// dialogs rely on, then every entry against its prefix.
TEST(GlobalSettings, SubnetMaskTable)
{
    struct Case { int index; const char* mask; };
    const Case cases[] = {
        {0, "255.255.255.255"}, {1, "255.255.255.254"}, {2, "255.255.255.252"}, {3, "255.255.255.248"},
        {8, "255.255.255.0"}, {16, "255.255.0.0"}, {24, "255.0.0.0"}, {29, "224.0.0.0"},
        {31, "128.0.0.0"}, {32, "0.0.0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(g_strSubnetMask[c.index], QString::fromLatin1(c.mask)) << c.index;

    for (int i = 0; i < SUBNET_MASK_COUNT; ++i) {
        const QStringList parts = g_strSubnetMask[i].split(u'.');
        ASSERT_EQ(parts.size(), 4) << i;
        quint32 value = 0;
        for (const QString& p : parts)
            value = value * 256 + p.toUInt();
        const quint32 expected = (32 - i) == 0 ? 0u : 0xFFFFFFFFu << i;
        EXPECT_EQ(value, expected) << i;
    }
}

// The typed face: the texts become numbers in one place, with the fallbacks
// a session relies on (a port or time-out it cannot use is not passed on).
TEST(GlobalSettings, TypedConnectionSettings)
{
    struct Case {
        const char* port;
        const char* timeout;
        int expectedPort;
        int expectedTimeout;
    };
    const Case cases[] = {
        {"16100", "500", 16100, 500},
        {"", "", 161, 3000},
        {"0", "0", 161, 3000},
        {"70000", "-5", 161, 3000},
        {"abc", "abc", 161, 3000},
    };
    for (const Case& c : cases) {
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral(" 10.0.0.1 ");
        g_strSnmpPort = QString::fromLatin1(c.port);
        g_strSnmpTimeout = QString::fromLatin1(c.timeout);
        const ConnectionSettings s = GetConnectionSettings();
        EXPECT_EQ(s.nPort, c.expectedPort) << c.port;
        EXPECT_EQ(s.nTimeoutMs, c.expectedTimeout) << c.timeout;
        EXPECT_EQ(s.AgentAddress(), QByteArray("10.0.0.1:") + QByteArray::number(c.expectedPort));
    }
    ResetGlobalSettings();
    g_strSnmpVersion = QStringLiteral("3");
    g_strV3SecurityLevel = QStringLiteral("3");
    g_strV3AuthProtocol = QStringLiteral("3");
    g_strV3PrivProtocol = QStringLiteral("2");
    g_strV3UserName = QStringLiteral("velshades");
    g_bWritePermission = 0;
    const ConnectionSettings s = GetConnectionSettings();
    EXPECT_EQ(s.nVersion, 3);
    EXPECT_EQ(s.nSecurityLevel, 3);
    EXPECT_EQ(s.nAuthProtocol, 3);
    EXPECT_EQ(s.nPrivProtocol, 2);
    EXPECT_EQ(s.userName, "velshades");
    EXPECT_FALSE(s.bWritePermission);
    EXPECT_EQ(s.readCommunity, "tundra");
    ResetGlobalSettings();
}
