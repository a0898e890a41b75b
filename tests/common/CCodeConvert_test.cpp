#include "CCodeConvert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const char* p)
{
    return std::string(p);
}

} // namespace

// Encoder forms by code point range.
TEST(CCodeConvert, EncodeUtf8Char)
{
    struct Case { unsigned c; std::string bytes; };
    const Case cases[] = {
        {0x41, "A"}, {0xE9, "\xC3\xA9"}, {0x4E2D, "\xE4\xB8\xAD"}, {0x1F600, "\xF0\x9F\x98\x80"},
        {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x7FF, "\xDF\xBF"}, {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"},
        {0x200000, "\xF8\x88\x80\x80\x80"}, {0x4000000, "\xFC\x84\x80\x80\x80\x80"},
    };
    for (const Case& c : cases) {
        unsigned char out[8] = {};
        unsigned char* end = CCodeConvert::EncodeUtf8Char(c.c, out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), size_t(end - out)), c.bytes) << std::hex << c.c;
        unsigned back = 0;
        EXPECT_EQ(CCodeConvert::DecodeUtf8Char(out, &back), int(c.bytes.size()));
        EXPECT_EQ(back, c.c);
    }
    EXPECT_EQ(CCodeConvert::EncodeUtf8Char(0x41, nullptr), nullptr);
    unsigned c = 0;
    EXPECT_EQ(CCodeConvert::DecodeUtf8Char(nullptr, &c), 0);
    const unsigned char cut[] = {0xE4, 0xB8, 0x00};
    EXPECT_EQ(CCodeConvert::DecodeUtf8Char(cut, &c), 0);  // never past the terminator
    const unsigned char stray[] = {0x80, 0x00};
    EXPECT_EQ(CCodeConvert::DecodeUtf8Char(stray, &c), 1);
    EXPECT_EQ(c, 0x80u);
}

// The buffer size is respected to the byte, a character is never split and
// the output is always terminated, empty input included.
TEST(CCodeConvert, WideToUtf8)
{
    char out[16];
    std::memset(out, 'X', sizeof out);
    const char16_t twoE[] = {0xE9, 0xE9, 0};
    char* end = CCodeConvert::WideToUtf8(twoE, out, 4);
    EXPECT_EQ(Bytes(out), "\xC3\xA9");
    EXPECT_EQ(end, out + 2);
    EXPECT_EQ(out[3], 'X');  // nothing written past the size

    std::memset(out, 'X', sizeof out);
    const char16_t empty[] = {0};
    CCodeConvert::WideToUtf8(empty, out, sizeof out);
    EXPECT_EQ(out[0], '\0');  // a stale buffer never comes back as the result

    const char16_t pair[] = {0xD83D, 0xDE00, u'a', 0};  // U+1F600
    CCodeConvert::WideToUtf8(pair, out, sizeof out);
    EXPECT_EQ(Bytes(out), "\xF0\x9F\x98\x80" "a");
    const char16_t lone[] = {0xD83D, u'a', 0xDC00, 0};
    CCodeConvert::WideToUtf8(lone, out, sizeof out);
    EXPECT_EQ(Bytes(out), "\xEF\xBF\xBD" "a" "\xEF\xBF\xBD");
    EXPECT_EQ(CCodeConvert::WideToUtf8(pair, out, 4), out);  // 4 bytes + terminator do not fit in 4
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(CCodeConvert::WideToUtf8(nullptr, out, 4), out);
    EXPECT_EQ(CCodeConvert::WideToUtf8(pair, out, 0), out);
}

TEST(CCodeConvert, Utf8ToWide)
{
    char16_t out[8];
    EXPECT_EQ(CCodeConvert::Utf8ToWide("\xE4\xB8", out, 8), 0);  // cut short: nothing, no overread
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(CCodeConvert::Utf8ToWide("a\xF0\x9F\x98\x80" "b", out, 8), 4);
    EXPECT_EQ(std::u16string(out), std::u16string(u"a\U0001F600b"));
    // A pair that would not fit with its terminator is not split.
    EXPECT_EQ(CCodeConvert::Utf8ToWide("a\xF0\x9F\x98\x80", out, 3), 1);
    EXPECT_EQ(std::u16string(out), u"a");
    EXPECT_EQ(CCodeConvert::Utf8ToWide("abc", out, 1), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(CCodeConvert::Utf8ToWide("\xED\xA0\x80", out, 8), 1);  // encoded surrogate
    EXPECT_EQ(out[0], 0xFFFD);
    EXPECT_EQ(CCodeConvert::Utf8ToWide("\xF8\x88\x80\x80\x80", out, 8), 1);  // beyond U+10FFFF
    EXPECT_EQ(out[0], 0xFFFD);
    EXPECT_EQ(CCodeConvert::Utf8ToWide(nullptr, out, 8), 0);
}

TEST(CCodeConvert, AnsiToUtf8)
{
    char out[512];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(CCodeConvert::AnsiToUtf8(QString(200, u'v'), out, sizeof out), 1);
    EXPECT_EQ(std::strlen(out), 200u);

    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(CCodeConvert::AnsiToUtf8(QString(), out, sizeof out), 1);
    EXPECT_EQ(out[0], '\0');

    CCodeConvert::AnsiToUtf8(QStringLiteral("Büro 中 😀"), out, sizeof out);
    EXPECT_EQ(Bytes(out), "B\xC3\xBCro \xE4\xB8\xAD \xF0\x9F\x98\x80");

    // At most 255 units; a pair at the cut is dropped whole.
    CCodeConvert::AnsiToUtf8(QString(400, u'a'), out, sizeof out);
    EXPECT_EQ(std::strlen(out), 255u);
    CCodeConvert::AnsiToUtf8(QString(254, u'a') + QStringLiteral("😀"), out, sizeof out);
    EXPECT_EQ(std::strlen(out), 254u);

    char tiny[3];
    std::memset(tiny, 'X', sizeof tiny);
    CCodeConvert::AnsiToUtf8(QStringLiteral("abc"), tiny, sizeof tiny);
    EXPECT_EQ(Bytes(tiny), "ab");
}

TEST(CCodeConvert, Utf8ToAnsi)
{
    QString text = QStringLiteral("stale");
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi("", text), 0);
    EXPECT_TRUE(text.isEmpty());
    text = QStringLiteral("stale");
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi(static_cast<const char*>(nullptr), text), 0);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi(std::string(300, 'a').c_str(), text), 1);
    EXPECT_EQ(text.size(), 255);
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi("caf\xC3\xA9 \xF0\x9F\x98\x80", text), 1);
    EXPECT_EQ(text, QStringLiteral("café 😀"));
    // Received octets need no terminator of their own.
    const QByteArray received("VLAN\xE4\xB8\xAD", 7);
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi(received, text), 1);
    EXPECT_EQ(text, QStringLiteral("VLAN中"));
    EXPECT_EQ(CCodeConvert::Utf8ToAnsi(received.left(6), text), 1);  // cut inside a character
    EXPECT_EQ(text, QStringLiteral("VLAN"));
}
