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
