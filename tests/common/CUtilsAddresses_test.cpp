#include "CUtils.h"
#include "MessageRecorder.h"

#include <QHostAddress>

#include <gtest/gtest.h>

namespace {

const char* const kFormat = "Please enter correct MAC format(ex:00-00-00-00-00-01)";

} // namespace

// Each MAC case: result and the exact message (or none).
TEST(CUtilsAddresses, ValidateMacText)
{
    struct Case { const char* text; int allowMulticast; int result; const char* message; };
    const Case cases[] = {
        {"00-11-22-33-44-55", 0, 1, nullptr},
        {"0a-bB-cC-dD-eE-fF", 0, 1, nullptr},
        {"00:11:22:33:44:55", 0, 0, kFormat},
        {"001122334455", 0, 0, kFormat},
        {"00-11-22-33-44-5", 0, 0, kFormat},
        {"00-11-22-33-44-555", 0, 0, kFormat},
        {"00-00-00-00-00-00", 1, 0, kFormat},
        {"FF-ff-FF-ff-FF-ff", 1, 0, "Broadcast MAC is not allowed."},
        {"FF-FF-FF-FF-FF-FF", 0, 0, "Broadcast MAC is not allowed."},
        {"01-00-5E-00-00-01", 0, 0, "Multicast MAC is not allowed."},
        {"01-00-5E-00-00-01", 1, 1, nullptr},
        {"0G-11-22-33-44-55", 0, 0, kFormat},
        {"00-11-22-33-4--55", 0, 0, kFormat},  // an extra dash leaves fewer than 12 digits
        {"", 0, 0, kFormat},
    };
    for (const Case& c : cases) {
        MessageRecorder recorder;
        if (c.message)
            recorder.expect(QString::fromLatin1(c.message));
        EXPECT_EQ(CUtils::ValidateMacText(QString::fromLatin1(c.text), c.allowMulticast), c.result) << c.text;
        if (c.message) {
            ASSERT_EQ(recorder.texts().size(), 1) << c.text;
            EXPECT_EQ(recorder.texts()[0], QString::fromLatin1(c.message)) << c.text;
        } else {
            EXPECT_TRUE(recorder.texts().isEmpty()) << c.text;
        }
    }
}

// The silent check gives the same verdicts as the one with messages (one
// check behind both), so dialogs with texts of their own judge alike.
TEST(CUtilsAddresses, CheckMacTextAgreesWithValidateMacText)
{
    struct Case { const char* text; int allowMulticast; CUtils::MacFault fault; };
    const Case cases[] = {
        {"00-11-22-33-44-55", 0, CUtils::MacOk},
        {"00:11:22:33:44:55", 0, CUtils::MacBadFormat},
        {"00-00-00-00-00-00", 0, CUtils::MacBadFormat},
        {"ff-FF-ff-FF-ff-FF", 0, CUtils::MacBroadcast},
        {"01-00-5E-00-00-01", 0, CUtils::MacMulticast},
        {"01-00-5E-00-00-01", 1, CUtils::MacOk},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(CUtils::CheckMacText(text, c.allowMulticast), c.fault) << c.text;
        MessageRecorder recorder;
        if (c.fault != CUtils::MacOk)
            recorder.script({IDOK});
        EXPECT_EQ(CUtils::ValidateMacText(text, c.allowMulticast), c.fault == CUtils::MacOk ? 1 : 0) << c.text;
    }
}

TEST(CUtilsAddresses, MacTextToOidIndex)
{
    EXPECT_EQ(CUtils::MacTextToOidIndex(QStringLiteral("00-11-22-33-44-55")), QStringLiteral(".0.17.34.51.68.85"));
    EXPECT_EQ(CUtils::MacTextToOidIndex(QStringLiteral("FF-fe-0A-00-00-01")), QStringLiteral(".255.254.10.0.0.1"));
    EXPECT_EQ(CUtils::MacTextToOidIndex(QString()), QString());
}

// Host addresses only: the fixed refusals, the text comparisons, and the
// classful host checks (B and C test only their host part).
TEST(CUtilsAddresses, OctetsToMacText)
{
    EXPECT_EQ(CUtils::OctetsToMacText(QByteArray::fromHex("0a3c5eff0001")), QStringLiteral("0A-3C-5E-FF-00-01"));
    EXPECT_EQ(CUtils::OctetsToMacText(QByteArray::fromHex("0a3c5eff00")), QString());
    EXPECT_EQ(CUtils::OctetsToMacText(QByteArray::fromHex("0a3c5eff000102")), QString());
}

TEST(CUtilsAddresses, ValidateIPv4)
{
    struct Case { const char* text; int result; };
    const Case cases[] = {
        {"1.2.3.4", 1}, {"192.168.1.1", 1}, {"172.16.0.1", 1}, {"10.0.0.1", 1}, {"126.255.255.254", 1},
        {"128.0.0.1", 1},  // class B network part is not tested
        {"0.1.2.3", 0}, {"255.1.1.1", 0}, {"10.0.0.0", 0}, {"127.0.0.1", 0}, {"10.255.255.255", 0},
        {"172.16.255.255", 0}, {"172.16.0.0", 0}, {"192.168.1.255", 0}, {"224.0.0.1", 0}, {"240.1.1.1", 0},
        {"1.2.3", 0}, {" 1.2.3.4", 0}, {"x1.2.3.4", 0}, {"00.1.2.3", 0}, {"0.0.0.0", 0},
        {"255.255.255.255", 0}, {"1.2.3.4\n", 0}, {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::ValidateIPv4(QString::fromLatin1(c.text)), c.result) << c.text;
}

TEST(CUtilsAddresses, IPv4Conversions)
{
    EXPECT_EQ(CUtils::IPv4TextToUInt(QStringLiteral("192.168.1.1")), 0xC0A80101u);
    EXPECT_EQ(CUtils::IPv4TextToUInt(QStringLiteral("255.255.255.255")), 0xFFFFFFFFu);
    EXPECT_EQ(CUtils::IPv4TextToUInt(QStringLiteral("1.2")), (1u << 24) | (2u << 16));
    EXPECT_EQ(CUtils::DottedIPv4ToHex(QStringLiteral("192.168.1.1")), QStringLiteral("C0A80101"));
    EXPECT_EQ(CUtils::DottedIPv4ToHex(QStringLiteral("2001:0db8:0000:0000:0000:0000:0000:0001")),
              QStringLiteral("20010db8000000000000000000000001"));
    EXPECT_EQ(CUtils::DottedIPv4ToHex(QStringLiteral("abc")), QString());
    EXPECT_EQ(CUtils::HexToDottedIPv4(QStringLiteral("C0A80101")), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(CUtils::HexToDottedIPv4(QString()), QString());
    const unsigned char v4[] = {192, 168, 1, 10};
    EXPECT_EQ(CUtils::InetOctetsToHex(v4, 1), QStringLiteral("C0A8010A"));
    const unsigned char v6[] = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xAB, 0x01};
    EXPECT_EQ(CUtils::InetOctetsToHex(v6, 2), QStringLiteral("2001:0db8:0000:0000:0000:0000:0000:ab01"));
    EXPECT_EQ(CUtils::CompressIPv6(CUtils::InetOctetsToHex(v6, 2)), QStringLiteral("2001:db8::ab01"));
    EXPECT_EQ(CUtils::HexToDottedIPv4(CUtils::InetOctetsToHex(v4, 1)), QStringLiteral("192.168.1.10"));
    EXPECT_EQ(CUtils::InetOctetsToHex(nullptr, 2), QString());
}

// IPv6 check results, including the interface-name codes.
TEST(CUtilsAddresses, ValidateIPv6)
{
    const QString name21(21, u'x');
    const QString name20(20, u'x');
    struct Case { const char* text; QString ifName; int allowLinkLocal; int checkScope; int result; };
    const Case cases[] = {
        {"fe80::1", "", 1, 1, -2}, {"fe80::1", name21, 1, 1, -1}, {"fe80::1", name20, 1, 1, 1},
        {"fe80::1", "eth0", 1, 1, 1}, {"fe80::1", "eth0", 0, 1, 0}, {"fe80::1", "", 0, 0, 1},
        {"febf::1", "", 1, 1, -2}, {"fec0::1", "", 1, 1, 1},
        {"::", "", 1, 1, 0}, {"::1", "", 1, 1, 0}, {"ff02::1", "", 1, 1, 0}, {"::ffff:1.2.3.4", "", 1, 1, 0},
        {"1.2.3.4", "", 1, 1, 0}, {"100.2.3.4", "", 1, 1, 0}, {"100::1", "", 1, 1, 0}, {"FE80::1", "eth0", 1, 1, 0},
        {"2001:db8::1", "", 1, 1, 1}, {":1::2", "", 1, 1, 0}, {"1::2:", "", 1, 1, 0},
        {"1000::", "", 1, 1, 1},
        {"1000::1", "", 1, 1, 0},  // only 0s and 1s, ending in 1: refused like ::1
        {"2001:db8::1.2.3.4", "", 1, 1, 1},
        {" 2001:db8::1 ", "", 1, 1, 1}, {"\t1::2:\r\n", "", 1, 1, 0},
        {"1::2:%eth0", "", 1, 1, 0},  // the trailing colon hides behind the interface name
        {"2001:db8::1%eth0", "", 1, 1, 1},
        // The limit is on the octets sent (UTF-8), not on the letters:
        // 10 two-octet letters fit, 11 do not.
        {"fe80::1", QString(10, QChar(0xe9)), 1, 1, 1},
        {"fe80::1", QString(11, QChar(0xe9)), 1, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::ValidateIPv6(QString::fromLatin1(c.text), c.ifName, c.allowLinkLocal, c.checkScope), c.result)
            << c.text << " if=" << c.ifName.toStdString();
}

// fe80::/10 by the expanded text: a short first group is no link-local
// address (fe8::1 is 0fe8::1), and every written form of one is.
TEST(CUtilsAddresses, IsLinkLocalIPv6)
{
    struct Case { const char* text; bool linkLocal; };
    const Case cases[] = {
        {"fe80::1", true}, {"febf::a", true}, {"fe9a:1:2:3:4:5:6:7", true}, {"FEA0::", true},
        {" fe80::1%eth0 ", true}, {"fec0::1", false}, {"fe8::1", false}, {"fe7f::1", false},
        {"2001:db8::1", false}, {"::", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::IsLinkLocalIPv6(QString::fromLatin1(c.text)), c.linkLocal) << c.text;
}

TEST(CUtilsAddresses, ExpandIPv6)
{
    struct Case { const char* text; const char* full; };
    const Case cases[] = {
        {"1:2:3:4:5:6::7", "0001:0002:0003:0004:0005:0006:0000:0007"},
        {"::", "0000:0000:0000:0000:0000:0000:0000:0000"},
        {"::1", "0000:0000:0000:0000:0000:0000:0000:0001"},
        {"1::", "0001:0000:0000:0000:0000:0000:0000:0000"},
        {"FE80::A", "fe80:0000:0000:0000:0000:0000:0000:000a"},
        {"1:2:3:4:5:6:7::", "0001:0002:0003:0004:0005:0006:0007:0000"},
        {"::2:3:4:5:6:7:8", "0000:0002:0003:0004:0005:0006:0007:0008"},
        {"2001:db8:0:0:0:0:0:1", "2001:0db8:0000:0000:0000:0000:0000:0001"},
        // Blanks and an interface name never reach the groups; an embedded
        // quad becomes its two groups.
        {" ::1 ", "0000:0000:0000:0000:0000:0000:0000:0001"},
        {"\t2001:db8::1\r\n", "2001:0db8:0000:0000:0000:0000:0000:0001"},
        {"fe80::1%eth0", "fe80:0000:0000:0000:0000:0000:0000:0001"},
        {"::ffff:1.2.3.4", "0000:0000:0000:0000:0000:ffff:0102:0304"},
        {"1:2:3:4:5:6:10.0.255.1", "0001:0002:0003:0004:0005:0006:0a00:ff01"},
        {"2001:db8::192.168.1.1", "2001:0db8:0000:0000:0000:0000:c0a8:0101"},
        // Leading zeros in a quad field are decimal, as the pattern and the
        // IPv4 check read them (octal would make 010 the octet 8).
        {"2001:db8::192.168.001.010", "2001:0db8:0000:0000:0000:0000:c0a8:010a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::ExpandIPv6(QString::fromLatin1(c.text)), QString::fromLatin1(c.full)) << c.text;
    EXPECT_EQ(CUtils::PadTo4(QStringLiteral("a")), QStringLiteral("000a"));
    EXPECT_EQ(CUtils::PadTo4(QStringLiteral("12345")), QStringLiteral("12345"));
    EXPECT_EQ(CUtils::StripLeadingZeros(QStringLiteral("000a")), QStringLiteral("a"));
    EXPECT_EQ(CUtils::StripLeadingZeros(QStringLiteral("0000")), QStringLiteral("0"));
}

TEST(CUtilsAddresses, CompressIPv6)
{
    struct Case { const char* text; const char* shown; };
    const Case cases[] = {
        {"2001:0db8:0000:0000:0000:0000:0000:0001", "2001:db8::1"},
        {"0000:0000:0000:0000:0000:0000:0000:0000", "::"},
        {"1:0:0:2:0:0:3:4", "1::2:0:0:3:4"},       // leftmost of equal runs
        {"1:0:2:3:4:5:6:7", "1::2:3:4:5:6:7"},     // single zero group between two groups
        {"0:1:2:3:4:5:6:7", "0:1:2:3:4:5:6:7"},    // single zero group at the start stays
        {"1:2:3:4:5:6:7:0", "1:2:3:4:5:6:7:0"},
        {"1:0:0:2:0:0:0:4", "1:0:0:2::4"},         // longest run wins
        {"1:0:0:0:0:0:0:0", "1::"},
        {"0:0:1:2:3:4:5:6", "::1:2:3:4:5:6"},
        {"FE80:0:0:0:0:0:0:ABCD", "fe80::abcd"},
        {"1:2:3:4:5:6:7:8", "1:2:3:4:5:6:7:8"},
        {" ::1 ", "::1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::CompressIPv6(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown)) << c.text;
}

// Expand and compress are inverse on every full form, and agree with Qt's
// own IPv6 parser on the octets: a text that passed the check must never
// become different octets.
TEST(CUtilsAddresses, IPv6RoundTrip)
{
    uint64_t state = 0x1234567887654321ULL;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int trial = 0; trial < 3000; ++trial) {
        QStringList groups;
        for (int g = 0; g < 8; ++g)
            groups << ((next() % 3 == 0) ? QStringLiteral("0000")
                                         : QStringLiteral("%1").arg(uint(next() % 0x10000), 4, 16, QLatin1Char('0')));
        const QString full = groups.join(u':');
        const QString shown = CUtils::CompressIPv6(full);
        ASSERT_EQ(CUtils::ExpandIPv6(shown), full) << shown.toStdString();
        ASSERT_LE(shown.count(QStringLiteral("::")), 1);
        // The octets the full form carries are the address's octets.
        const Q_IPV6ADDR qt = QHostAddress(shown).toIPv6Address();
        const QString qtFull = CUtils::InetOctetsToHex(qt.c, 2);
        ASSERT_EQ(qtFull, full) << shown.toStdString();
    }
    for (const char* text : {"2001:db8::1.2.3.4", " 2001:db8::1 ", "fe80::1%eth0", "1:2:3:4:5:6:7::"}) {
        const QString t = QString::fromLatin1(text);
        const Q_IPV6ADDR qt = QHostAddress(t.trimmed().section(u'%', 0, 0)).toIPv6Address();
        EXPECT_EQ(CUtils::ExpandIPv6(t), CUtils::InetOctetsToHex(qt.c, 2)) << text;
    }
}
