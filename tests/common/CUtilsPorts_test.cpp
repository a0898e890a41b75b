#include "CUtils.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Sets the port count for one test and puts the old one back.
class PortCount
{
public:
    explicit PortCount(int n) : m_saved(g_nDevicePortNum) { g_nDevicePortNum = n; }
    ~PortCount() { g_nDevicePortNum = m_saved; }

private:
    int m_saved;
};

QByteArray Octets(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

const unsigned char* U(const QByteArray& b)
{
    return reinterpret_cast<const unsigned char*>(b.constData());
}

QString HexText(const std::vector<int>& ports)
{
    char buffer[500] = {};
    CUtils::PortArrayToHexText(ports.data(), buffer);
    return QString::fromLatin1(buffer);
}

} // namespace

// Bit order (port 1 = MSB of byte 0), bits past the port count listed,
// bytes missing from a short value read as zero, surplus bytes ignored.
TEST(CUtilsPorts, PortBitmapToList)
{
    struct Case { int ports; QByteArray bitmap; const char* text; int count; };
    const Case cases[] = {
        {28, Octets({0x80, 0x00, 0x00, 0x01}), "1,32", 2},
        {28, Octets({0, 0, 0, 0}), "", 0},
        {28, Octets({0x41}), "2,8", 2},                   // short value
        {28, Octets({0x01, 0x80}), "8,9", 2},
        {8, Octets({0x00, 0xFF}), "", 0},                 // only ceil(8/8) bytes read
        {52, Octets({0, 0, 0, 0, 0, 0, 0x10, 0xFF}), "52", 1},
        {0, Octets({0xFF}), "", 0},
        {28, QByteArray(), "", 0},
    };
    for (const Case& c : cases) {
        PortCount pc(c.ports);
        int count = -1;
        EXPECT_EQ(CUtils::PortBitmapToList(c.bitmap, count), QString::fromLatin1(c.text)) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
        count = -1;
        EXPECT_EQ(CUtils::PortBitmapToList(U(c.bitmap), int(c.bitmap.size()), count), QString::fromLatin1(c.text));
        EXPECT_EQ(count, c.count);
    }
    int count = -1;
    PortCount pc(28);
    EXPECT_EQ(CUtils::PortBitmapToList(nullptr, 4, count), QString());
    EXPECT_EQ(count, 0);
}

// Runs, isolated ports, bounds; the text is appended to what is there.
TEST(CUtilsPorts, PortBitmapToRangeList)
{
    struct Case { QByteArray bitmap; int lo, hi; const char* text; int count; };
    const Case cases[] = {
        {Octets({0xF2, 0xF0, 0, 0}), 1, 28, "1-4,7,9-12", 9},   // 1-4, 7, 9-12
        {Octets({0xC0, 0, 0, 0}), 1, 28, "1-2", 2},
        {Octets({0x08, 0, 0, 0}), 1, 28, "5", 1},
        {Octets({0xFF, 0xC0, 0, 0}), 5, 7, "5-7", 3},
        {Octets({0xA8, 0, 0, 0}), 1, 28, "1,3,5", 3},
        {Octets({0x01, 0x80, 0, 0x01}), 1, 32, "8-9,32", 3},
        {Octets({0x01, 0x80, 0, 0x01}), 1, 28, "8-9", 2},
        {Octets({0, 0, 0, 0}), 1, 28, "", 0},
    };
    for (const Case& c : cases) {
        QString text;
        EXPECT_EQ(CUtils::PortBitmapToRangeList(U(c.bitmap), int(c.bitmap.size()), c.lo, c.hi, text), c.count) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.text));
    }
    QString text = QStringLiteral("Ports: ");
    CUtils::PortBitmapToRangeList(U(Octets({0x80})), 1, 1, 8, text);
    EXPECT_EQ(text, QStringLiteral("Ports: 1"));
    EXPECT_EQ(CUtils::PortBitmapToRangeList(nullptr, 4, 1, 28, text), 0);
}

// The write path: hex digits, padding by model, octets. Any non-zero entry
// is a member (a caller's "checked" value 2 or -1 must not corrupt a digit).
TEST(CUtilsPorts, HexPortMaps)
{
    {
        PortCount pc(28);
        std::vector<int> ports(52, 0);
        ports[0] = ports[27] = 1;
        QString hex = HexText(ports);
        EXPECT_EQ(hex, QStringLiteral("8000001"));
        EXPECT_EQ(CUtils::PortMapZeroPad(hex), 1);
        EXPECT_EQ(hex, QStringLiteral("80000010"));
        unsigned char octets[4] = {};
        CUtils::HexTextToBytes(hex, octets, 4);
        EXPECT_EQ(QByteArray(reinterpret_cast<char*>(octets), 4), Octets({0x80, 0, 0, 0x10}));
        EXPECT_EQ(CUtils::PortArrayToOctets(ports.data()), Octets({0x80, 0, 0, 0x10}));

        ports[0] = 2;
        ports[1] = -1;
        EXPECT_EQ(HexText(ports), QStringLiteral("c000001"));
    }
    {
        PortCount pc(52);
        std::vector<int> ports(52, 0);
        ports[51] = 1;
        QString hex = HexText(ports);
        EXPECT_EQ(hex, QStringLiteral("0000000000001"));
        CUtils::PortMapZeroPad(hex);
        EXPECT_EQ(hex, QStringLiteral("0000000000001000"));
        EXPECT_EQ(CUtils::PortArrayToOctets(ports.data()), Octets({0, 0, 0, 0, 0, 0, 0x10, 0}));
    }
    {
        PortCount pc(20);
        std::vector<int> ports(52, 1);
        QString hex = HexText(ports);
        CUtils::PortMapZeroPad(hex);
        EXPECT_EQ(hex, QStringLiteral("fffff000"));
    }
    // Padding table, including counts that get none.
    struct Pad { int ports; const char* appended; };
    const Pad pads[] = {{8, "000000"}, {10, "00000"}, {16, "0000"}, {20, "000"}, {24, "00"},
                        {28, "0"}, {48, "0000"}, {52, "000"}, {12, ""}, {0, ""}};
    for (const Pad& p : pads) {
        PortCount pc(p.ports);
        QString text;
        CUtils::PortMapZeroPad(text);
        EXPECT_EQ(text, QString::fromLatin1(p.appended)) << p.ports;
    }
}

// Callers size their per-port arrays for the largest model, so entries past
// the port count hold whatever the caller left there. When the count is not
// a multiple of 4 the last digit carries fewer than 4 ports: reading the
// whole group from the array would turn those entries into members.
TEST(CUtilsPorts, LastHexDigitStopsAtThePortCount)
{
    struct Case { int ports; const char* hex; QByteArray octets; };
    const Case cases[] = {
        {10, "ffc", Octets({0xff, 0xc0, 0, 0})},   // padded to 8 digits
        {26, "ffffffc", Octets({0xff, 0xff, 0xff, 0xc0})},
        {30, "fffffffc", Octets({0xff, 0xff, 0xff, 0xfc})},
        {51, "ffffffffffffe", Octets({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xe0})},
    };
    for (const Case& c : cases) {
        PortCount pc(c.ports);
        std::vector<int> ports(64, 1);   // every entry set, also past the count
        EXPECT_EQ(HexText(ports).toStdString(), c.hex) << c.ports;
        EXPECT_EQ(CUtils::PortArrayToOctets(ports.data()), c.octets) << c.ports;
    }
}

// The buffer is appended to and never overrun, whatever it holds.
TEST(CUtilsPorts, PortArrayToHexTextStaysInsideItsBuffer)
{
    PortCount pc(52);
    std::vector<int> ports(52, 1);
    char small[6];
    std::strcpy(small, "ab");
    CUtils::PortArrayToHexText(ports.data(), small, sizeof small);
    EXPECT_STREQ(small, "abfff");
    char full[4] = {'x', 'x', 'x', 'x'};  // not terminated: left alone
    CUtils::PortArrayToHexText(ports.data(), full, sizeof full);
    EXPECT_EQ(std::memcmp(full, "xxxx", 4), 0);
    CUtils::PortArrayToHexText(nullptr, small, sizeof small);
    CUtils::PortArrayToHexText(ports.data(), nullptr, 10);
}

// Odd length gets a trailing "0"; surplus pairs are dropped; a pair that is
// not hex reads as its leading hex digits.
TEST(CUtilsPorts, HexTextToBytes)
{
    struct Case { const char* hex; int room; QByteArray expected; };
    const Case cases[] = {
        {"abc", 4, Octets({0xab, 0xc0})},
        {"8000001000", 4, Octets({0x80, 0x00, 0x00, 0x10})},
        {"", 4, QByteArray()},
        {"FFff", 4, Octets({0xff, 0xff})},
        {"5g", 4, Octets({0x05})},
        {"g5", 4, Octets({0x00})},
        {"12", 0, QByteArray()},
    };
    for (const Case& c : cases) {
        unsigned char out[8];
        std::memset(out, 0xEE, sizeof out);
        EXPECT_EQ(CUtils::HexTextToBytes(QString::fromLatin1(c.hex), out, c.room), 1);
        EXPECT_EQ(QByteArray(reinterpret_cast<char*>(out), int(c.expected.size())), c.expected) << c.hex;
        EXPECT_EQ(out[c.expected.size()], 0xEE) << c.hex;  // nothing stored past the values
    }
    EXPECT_EQ(CUtils::HexTextToBytes(QStringLiteral("ab"), nullptr, 4), 1);
}

// Member text to array: out-of-range and empty items ignored, others kept.
TEST(CUtilsPorts, PortListToArray)
{
    PortCount pc(28);
    std::vector<int> ports(52, 0);
    CUtils::PortListToArray(QStringLiteral("1,3,60"), ports.data(), 1);
    std::vector<int> expected(52, 0);
    expected[0] = expected[2] = 1;
    EXPECT_EQ(ports, expected);
    CUtils::PortListToArray(QStringLiteral("2,,28,"), ports.data(), 7);
    expected[1] = expected[27] = 7;
    EXPECT_EQ(ports, expected);
    CUtils::PortListToArray(QString(), ports.data(), 9);
    EXPECT_EQ(ports, expected);
    CUtils::PortListToArray(QStringLiteral("1"), nullptr, 1);
}

// Typed port lists: the accepted forms, and every refusal with its message.
// "1 5" and "3x" were taken as 1 and 3 by a reader that stops at the first
// non-digit; they must be refused.
TEST(CUtilsPorts, ParsePortList)
{
    PortCount pc(52);
    struct Case { const char* text; int result; std::vector<int> set; };
    const Case cases[] = {
        {"1-3,5", 1, {1, 2, 3, 5}},
        {"", 1, {}},
        {"2,", 1, {2}},
        {"1-3,", 1, {1, 2, 3}},
        {" 4 , 6- 7", 1, {4, 6, 7}},
        {"52", 1, {52}},
        {"5-3", 0, {}},
        {"0", 0, {}},
        {"1,,3", 0, {1}},
        {",1", 0, {}},
        {"53", 0, {}},
        {"1-60", 0, {}},
        {"1 5", 0, {}},
        {"3x", 0, {}},
        {"x3", 0, {}},
        {"1-", 0, {}},
        {"-3", 0, {}},
        {"1-2-3", 0, {}},
        // The decimal rule takes one "+" right before the digits; nothing
        // else around the number.
        {"+3", 1, {3}},
        {"1-+3", 1, {1, 2, 3}},
        {"+ 3", 0, {}},
        {"3+", 0, {}},
        {"++3", 0, {}},
        {"+", 0, {}},
        {"99999999999", 0, {}},
        {"\x85" "1", 0, {}},  // NEL is no blank to the decimal rule
        {"1-2147483647", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MessageRecorder recorder;
        if (!c.result)
            recorder.expect(QStringLiteral("Invalid Portlist"));
        std::vector<int> flags(52, 0);
        EXPECT_EQ(CUtils::ParsePortList(QString::fromLatin1(c.text), flags.data()), c.result) << c.text;
        std::vector<int> expected(52, 0);
        for (int p : c.set)
            expected[size_t(p - 1)] = 1;
        if (c.result) {
            EXPECT_EQ(flags, expected) << c.text;
        } else {
            ASSERT_EQ(recorder.texts().size(), 1) << c.text;
            EXPECT_EQ(recorder.requests()[0].buttons, MessageButtons::Ok);
            // Flags set before the error stay set; none after it.
            for (int p : c.set)
                EXPECT_EQ(flags[size_t(p - 1)], 1) << c.text;
        }
    }
    // It only ever sets flags.
    std::vector<int> flags(52, 1);
    EXPECT_EQ(CUtils::ParsePortList(QStringLiteral("1"), flags.data()), 1);
    EXPECT_EQ(flags, std::vector<int>(52, 1));
    MessageRecorder recorder;
    EXPECT_EQ(CUtils::ParsePortList(QStringLiteral("1"), nullptr), 0);
    EXPECT_TRUE(recorder.texts().isEmpty());
}

// The upper bound is the device's port count, not the largest model's: on a
// 28-port or 20-port switch "29" or "21" names no port (a bound fixed at 52
// would take it and write past a flags array sized by the port count).
TEST(CUtilsPorts, ParsePortListStopsAtThePortCount)
{
    struct Case { int ports; const char* text; int result; };
    const Case cases[] = {
        {28, "28", 1},       {28, "29", 0},   {28, "27-28", 1}, {28, "27-29", 0},
        {28, "1-28", 1},     {28, "1,52", 0}, {20, "20", 1},    {20, "21", 0},
        {20, "19-21", 0},    {20, "1-20", 1}, {52, "52", 1},    {52, "53", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ports) + " ports, \"" + c.text + '"');
        PortCount pc(c.ports);
        MessageRecorder recorder;
        if (!c.result)
            recorder.expect(QStringLiteral("Invalid Portlist"));
        std::vector<int> flags(size_t(c.ports), 0);   // exactly one entry per port
        EXPECT_EQ(CUtils::ParsePortList(QString::fromLatin1(c.text), flags.data()), c.result);
        if (c.result) {
            EXPECT_EQ(flags.back(), 1);
        }
    }
}

// The two character pre-checks, each refused character on its own.
TEST(CUtilsPorts, CharacterChecks)
{
    const QString special = QStringLiteral("~`!@#$%^&*{}[]|\\:;\"'<>,.?/");
    ASSERT_EQ(special.size(), 26);
    for (QChar c : special) {
        EXPECT_FALSE(CUtils::HasNoSpecialChars(QStringLiteral("ab") + c)) << QString(c).toStdString();
        EXPECT_EQ(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("12") + c), c == u',') << QString(c).toStdString();
    }
    EXPECT_TRUE(CUtils::HasNoSpecialChars(QStringLiteral("Office 2 (east)_-+=")));
    EXPECT_FALSE(CUtils::HasNoSpecialChars(QStringLiteral("a,b")));
    EXPECT_TRUE(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("1-4,6 ()_+=")));
    EXPECT_FALSE(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("1.4")));
    EXPECT_FALSE(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("a")));
    EXPECT_FALSE(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("Z")));
    EXPECT_FALSE(CUtils::HasNoSpecialCharsOrLetters(QStringLiteral("1;2")));
    EXPECT_TRUE(CUtils::HasNoSpecialChars(QString()));
}

TEST(CUtilsPorts, BytesToHexText)
{
    const unsigned char b[] = {0x00, 0x0a, 0xff, 0x10};
    EXPECT_EQ(CUtils::BytesToHexText(b, 4), QStringLiteral("000AFF10"));
    EXPECT_EQ(CUtils::BytesToHexText(b, 0), QString());
    EXPECT_EQ(CUtils::BytesToHexText(nullptr, 4), QString());
}

// Every encoding round-trips for every port count 1..52: array -> octets ->
// member text -> array, and octets -> range text -> typed list -> array.
// Catches bit-order slips, a lost last digit on odd digit counts and
// padding that shifts ports.
TEST(CUtilsPorts, RoundTripsForEveryPortCount)
{
    MessageRecorder recorder;
    uint64_t state = 0x9e3779b97f4a7c15ULL;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int n = 1; n <= 52; ++n) {
        PortCount pc(n);
        for (int trial = 0; trial < 40; ++trial) {
            std::vector<int> ports(52, 0);
            for (int p = 0; p < n; ++p)
                ports[size_t(p)] = trial == 0 ? 1 : (trial == 1 ? 0 : int(next() % 2));
            const QByteArray octets = CUtils::PortArrayToOctets(ports.data());
            ASSERT_GE(octets.size(), (n + 7) / 8) << n;

            int count = 0;
            const QString list = CUtils::PortBitmapToList(octets, count);
            std::vector<int> back(52, 0);
            CUtils::PortListToArray(list, back.data(), 1);
            ASSERT_EQ(back, ports) << "ports " << n << " list " << list.toStdString();
            int members = 0;
            for (int v : ports)
                members += v;
            EXPECT_EQ(count, members);

            QString ranges;
            EXPECT_EQ(CUtils::PortBitmapToRangeList(U(octets), int(octets.size()), 1, n, ranges), members);
            std::vector<int> parsed(52, 0);
            ASSERT_EQ(CUtils::ParsePortList(ranges, parsed.data()), 1) << ranges.toStdString();
            ASSERT_EQ(parsed, ports) << "ports " << n << " ranges " << ranges.toStdString();
        }
    }
    EXPECT_TRUE(recorder.texts().isEmpty());
}

// The model widths: 52 ports take 12 octets (the plain map has 8), 28 ports
// 8 (plain 4); other counts keep the plain width. A fault here writes a port
// map the switch refuses for its length, or drops the uplinks.
TEST(CUtilsPorts, PortArrayToModelOctets)
{
    struct Case { int ports; std::vector<int> members; QByteArray octets; };
    const Case cases[] = {
        {52, {1, 2, 3, 4, 6}, Octets({0xf4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {52, {52}, Octets({0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0})},
        {28, {1, 2, 3, 4, 6}, Octets({0xf4, 0, 0, 0, 0, 0, 0, 0})},
        {28, {28}, Octets({0, 0, 0, 0x10, 0, 0, 0, 0})},
        {20, {1, 20}, Octets({0x80, 0, 0x10, 0})},
    };
    for (const Case& c : cases) {
        PortCount pc(c.ports);
        std::vector<int> ports(64, 0);
        for (int p : c.members)
            ports[size_t(p - 1)] = 1;
        EXPECT_EQ(CUtils::PortArrayToModelOctets(ports.data()), c.octets) << c.ports;
    }
}
