#include "StrictNumber.h"

#include <gtest/gtest.h>

// What the user typed is what was checked is what is sent: every text that
// a lenient conversion would take differently from the check is refused.
TEST(StrictNumber, IntegersAsChecked)
{
    struct Case {
        const char* text;
        qint64 lo, hi;
        bool ok;
        const char* sent;
    };
    const Case cases[] = {
        {"7", 1, 4094, true, "7"},
        {"4094", 1, 4094, true, "4094"},
        {"007", 1, 4094, true, "7"},          // leading zeros are not sent
        {"4095", 1, 4094, false, ""},         // range, upper edge
        {"0", 1, 4094, false, ""},            // range, lower edge
        {"-1", -5, 5, true, "-1"},
        {"-1", 0, 5, false, ""},
        {"", 1, 10, false, ""},
        {" 7", 1, 10, false, ""},             // a blank an atoi would skip
        {"7 ", 1, 10, false, ""},
        {"+7", 1, 10, false, ""},
        {"0x1E", 0, 100, false, ""},          // a base prefix toInt(0) would take
        {"15abc", 0, 100, false, ""},         // trailing garbage atoi would drop
        {"1e1", 0, 100, false, ""},           // exponent
        {"1.0", 0, 100, false, ""},
        {"\u0663", 0, 100, false, ""},        // an Arabic-Indic digit
        {"99999999999999999999", 0, 1LL << 62, false, ""},   // overflow, not wrap-around
        {"-", -5, 5, false, ""},
    };
    for (const Case& c : cases) {
        qint64 value = -99;
        QString sent;
        EXPECT_EQ(ParseStrictInt(QString::fromUtf8(c.text), c.lo, c.hi, &value, &sent), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(sent, QString::fromLatin1(c.sent)) << c.text;
        }
    }
}

// Limits with one fractional digit (watts, e.g. "15.4").
TEST(StrictNumber, TenthsAsChecked)
{
    struct Case {
        const char* text;
        bool ok;
        qint64 tenths;
        const char* sent;
    };
    const Case cases[] = {
        {"15.4", true, 154, "15.4"},
        {"15", true, 150, "15"},
        {"15.0", true, 150, "15"},
        {"0.5", true, 5, "0.5"},
        {"30.0", true, 300, "30"},
        {"30.1", false, 0, ""},     // above the limit
        {".5", false, 0, ""},
        {"15.", false, 0, ""},
        {"15.45", false, 0, ""},    // a second digit would be cut silently
        {"15,4", false, 0, ""},
        {" 15.4", false, 0, ""},
        {"1e1", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case& c : cases) {
        qint64 tenths = -1;
        QString sent;
        EXPECT_EQ(ParseStrictTenths(QString::fromUtf8(c.text), 0, 300, &tenths, &sent), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(tenths, c.tenths) << c.text;
            EXPECT_EQ(sent, QString::fromLatin1(c.sent)) << c.text;
        }
    }
}

// Decimals with several fractional digits (PoE watts in millionths): the
// whole text or nothing, trailing zeros beyond the precision accepted,
// other digits there refused rather than cut.
TEST(StrictNumber, DecimalsAsChecked)
{
    struct Case {
        const char* text;
        bool ok;
        qint64 scaled;
        const char* sent;
    };
    const Case cases[] = {
        {"15.4", true, 15400, "15.4"},
        {"15.40", true, 15400, "15.4"},      // trailing zero: the same number
        {"15.4000", true, 15400, "15.4"},    // zeros past the precision
        {"15.4001", false, 0, ""},           // a digit past the precision would be cut
        {"370", true, 370000, "370"},
        {"370.0", true, 370000, "370"},
        {"0.125", true, 125, "0.125"},
        {"740.001", false, 0, ""},           // above the bound
        {".5", false, 0, ""},
        {"15.", false, 0, ""},
        {"0x1E", false, 0, ""},
        {"1e1", false, 0, ""},
        {"15.4abc", false, 0, ""},
        {"-1", false, 0, ""},
        {" 15", false, 0, ""},
        {"", false, 0, ""},
        {"99999999999999999999", false, 0, ""},
    };
    for (const Case& c : cases) {
        qint64 scaled = -1;
        QString sent;
        EXPECT_EQ(ParseStrictDecimal(QString::fromUtf8(c.text), 3, 0, 740000, &scaled, &sent), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(scaled, c.scaled) << c.text;
            EXPECT_EQ(sent, QString::fromLatin1(c.sent)) << c.text;
        }
    }
}
