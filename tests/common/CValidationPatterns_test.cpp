// std::regex (the oracle here) trips a false -Wmaybe-uninitialized inside
// libstdc++ when built with the sanitizers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "CValidationPatterns.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace {

QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

// Deterministic generator (xorshift) so failures reproduce.
class Random
{
public:
    explicit Random(uint64_t start) : m_state(start) {}
    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return uint32_t(m_state >> 11);
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }

private:
    uint64_t m_state;
};

std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// std::regex reading of a pattern: our \s is space, tab, CR and LF only and
// our "." everything but LF; ECMAScript's are wider, so spell ours out.
std::regex Oracle(const char* pattern)
{
    std::string p = Replace(pattern, "\\s", "[ \\t\\r\\n]");
    p = Replace(p, "%.+", "%[^\\n]+");
    return std::regex(p, std::regex::ECMAScript);
}

std::string Mutate(std::string s, Random& rnd, const std::vector<std::string>& pieces)
{
    const int edits = 1 + rnd.Below(2);
    for (int e = 0; e < edits; ++e) {
        const size_t at = s.empty() ? 0 : size_t(rnd.Below(int(s.size()) + 1));
        switch (rnd.Below(3)) {
        case 0:
            s.insert(at, pieces[size_t(rnd.Below(int(pieces.size())))]);
            break;
        case 1:
            if (at < s.size())
                s.erase(at, 1);
            break;
        default:
            if (at < s.size())
                s[at] = pieces[size_t(rnd.Below(int(pieces.size())))][0];
            break;
        }
    }
    return s;
}

std::string RandomIPv4(Random& rnd)
{
    const char* fields[] = {"0", "1", "9", "10", "99", "100", "199", "200", "249", "250", "255", "256", "300",
                            "001", "099", "000", "0000", "1000", "25", "26"};
    std::string s;
    for (int i = 0; i < 4; ++i) {
        if (i)
            s += '.';
        s += fields[rnd.Below(20)];
    }
    return s;
}

std::string RandomGroup(Random& rnd)
{
    const char* hex = "0123456789abcdef";
    std::string g;
    const int n = 1 + rnd.Below(4);
    for (int i = 0; i < n; ++i)
        g += hex[rnd.Below(16)];
    return g;
}

std::string RandomIPv6(Random& rnd)
{
    // A full address with a random run squeezed to "::", sometimes an
    // embedded quad, zone and blanks.
    const bool quad = rnd.Below(4) == 0;
    const int groups = quad ? 6 : 8;
    std::vector<std::string> g;
    for (int i = 0; i < groups; ++i)
        g.push_back(RandomGroup(rnd));
    std::string s;
    const int runStart = rnd.Below(groups + 1);
    const int runLen = rnd.Below(3) ? rnd.Below(groups - runStart + 1) : 0;
    for (int i = 0; i < groups; ++i) {
        if (runLen > 0 && i == runStart) {
            s += "::";
            i += runLen - 1;
            continue;
        }
        if (!s.empty() && s.back() != ':')
            s += ':';
        s += g[size_t(i)];
    }
    if (quad) {
        if (!s.empty() && s.back() != ':')
            s += ':';
        s += RandomIPv4(rnd);
    }
    if (rnd.Below(5) == 0)
        s += "%eth" + std::to_string(rnd.Below(3));
    if (rnd.Below(8) == 0)
        s = " \t" + s;
    if (rnd.Below(8) == 0)
        s += "\r\n";
    return s;
}

void ExpectAgreement(bool (*check)(const QByteArray&), const char* pattern, const std::vector<std::string>& texts,
                     int minAccepted, int minRefused)
{
    const std::regex oracle = Oracle(pattern);
    int accepted = 0, refused = 0;
    for (const std::string& t : texts) {
        const bool expected = std::regex_match(t, oracle);
        ASSERT_EQ(check(Bytes(t)), expected) << "text '" << t << "'";
        (expected ? accepted : refused)++;
    }
    // A generator that produces only one kind would test nothing.
    EXPECT_GE(accepted, minAccepted);
    EXPECT_GE(refused, minRefused);
}

} // namespace

// A transcription slip in a pattern changes its length before anything else.
TEST(CValidationPatterns, PatternsHaveTheirFixedLengths)
{
    EXPECT_EQ(std::string(CValidationPatterns::VlanNamePattern()).size(), 61u);
    EXPECT_EQ(std::string(CValidationPatterns::IPv4Pattern()).size(), 66u);
    EXPECT_EQ(std::string(CValidationPatterns::IPv6Pattern()).size(), 1066u);
}

// VLAN names: printable ASCII only, the empty name included; a control
// character, a high byte or a zero byte anywhere refuses the name (a zero
// byte must not end the check early and let the rest through).
TEST(CValidationPatterns, VlanName)
{
    std::string all;
    for (int c = 0x20; c <= 0x7E; ++c)
        all += char(c);
    struct Case { std::string text; bool match; };
    const Case cases[] = {
        {"", true}, {"VLAN 10", true}, {all, true}, {"a\"b`c'd\\e", true},
        {"VLAN\t10", false}, {"VLAN\n", false}, {"caf\xc3\xa9", false}, {"x\x80", false}, {"\x7f", false},
        {std::string("ok\0\x01", 4), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CValidationPatterns::MatchesVlanName(Bytes(c.text)), c.match) << c.text;
    EXPECT_FALSE(CValidationPatterns::MatchesVlanName(QStringLiteral("Büro")));
}

// IPv4: four fields of 0-255 with one to three digits, nothing around them.
TEST(CValidationPatterns, IPv4)
{
    struct Case { const char* text; bool match; };
    const Case cases[] = {
        {"192.168.001.010", true}, {"0.0.0.0", true}, {"255.255.255.255", true}, {"1.2.3.4", true},
        {"256.1.1.1", false}, {"1.1.1.256", false}, {"0000.1.1.1", false}, {"1.2.3", false},
        {"1.2.3.4.5", false}, {" 1.2.3.4", false}, {"1.2.3.4 ", false}, {"x1.2.3.4", false},
        {"1.2.3.4\n", false}, {"1..2.3", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CValidationPatterns::MatchesIPv4(QByteArray(c.text)), c.match) << c.text;
}

// IPv6: the address forms with lower-case hex, optional blanks around and an
// optional non-empty %interface.
TEST(CValidationPatterns, IPv6)
{
    struct Case { const char* text; bool match; };
    const Case cases[] = {
        {"fe80::1%eth0", true}, {" ::1 ", true}, {"::", true}, {"::1", true},
        {"1:2:3:4:5:6:7:8", true}, {"1:2:3:4:5:6:7::", true}, {"::ffff:1.2.3.4", true},
        {"1:2:3:4:5:6:1.2.3.4", true}, {"\t::1\r\n", true}, {"1.2.3.4", true}, {"2001:db8::1", true},
        {"FE80::1", false}, {"fe80::1%", false}, {"1::2::3", false}, {"12345::1", false},
        {"1:2:3:4:5:6:7:8:9", false}, {"::1\f", false}, {"", false}, {":", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CValidationPatterns::MatchesIPv6(QByteArray(c.text)), c.match) << c.text;
}

// The compiled pattern is kept: the same text gives the same answer on
// every call, and one text's failure does not leak into the next.
TEST(CValidationPatterns, RepeatedCallsAgree)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(CValidationPatterns::MatchesIPv6(QByteArray("2001:db8::1")));
        EXPECT_FALSE(CValidationPatterns::MatchesIPv6(QByteArray("2001:db8::1::")));
        EXPECT_TRUE(CValidationPatterns::MatchesIPv4(QByteArray("10.1.2.3")));
    }
}

// The engine against std::regex on thousands of generated texts per
// pattern, near misses included: any backtracking fault in the engine or
// slip in a pattern shows up as a disagreement.
TEST(CValidationPatterns, AgreesWithStdRegex)
{
    Random rnd(0x5a5a1234abcdULL);
    {
        std::vector<std::string> pieces;
        for (int c = 0x20; c <= 0x7E; ++c)
            pieces.push_back(std::string(1, char(c)));
        for (const char* odd : {"\t", "\n", "\r", "\x7f", "\x80", "\xff", "\x01"})
            pieces.push_back(odd);
        std::vector<std::string> texts;
        for (int i = 0; i < 3000; ++i) {
            std::string s;
            const int n = rnd.Below(33);
            for (int k = 0; k < n; ++k)
                s += pieces[size_t(rnd.Below(int(pieces.size()) - (rnd.Below(10) ? 7 : 0)))];
            texts.push_back(s);
        }
        ExpectAgreement(CValidationPatterns::MatchesVlanName, CValidationPatterns::VlanNamePattern(), texts, 1000, 200);
    }
    {
        const std::vector<std::string> pieces = {"0", "1", "2", "5", "9", ".", " ", "x", "\n", "25", "00"};
        std::vector<std::string> texts;
        for (int i = 0; i < 3000; ++i) {
            const std::string valid = RandomIPv4(rnd);
            texts.push_back(rnd.Below(2) ? valid : Mutate(valid, rnd, pieces));
        }
        ExpectAgreement(CValidationPatterns::MatchesIPv4, CValidationPatterns::IPv4Pattern(), texts, 500, 1000);
    }
    {
        const std::vector<std::string> pieces = {"0", "1", "a", "f", "F", "g", ":", "::", ".", "%", " ", "\t",
                                                 "\n", "\f", "ffff", "255", "256", "1.2.3.4"};
        std::vector<std::string> texts;
        for (int i = 0; i < 4000; ++i) {
            const std::string valid = RandomIPv6(rnd);
            texts.push_back(rnd.Below(2) ? valid : Mutate(valid, rnd, pieces));
        }
        ExpectAgreement(CValidationPatterns::MatchesIPv6, CValidationPatterns::IPv6Pattern(), texts, 1000, 1000);
    }
}
