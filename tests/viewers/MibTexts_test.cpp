// The value texts of the standard-MIB viewers, and the forwarding table's
// MAC and status texts, as tables of cases.

#include "CSwitchDatabase.h"
#include "MibTexts.h"

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    const char* value;
    const char* text;
};

// A missing branch or an off-by-one in the state table shows the wrong
// state; "1" and values outside 2..12 must read "closed".
TEST(MibTexts, TcpStates)
{
    const TextCase cases[] = {
        {"1", "closed"},       {"2", "listen"},     {"3", "synSent"},   {"4", "synReceived"},
        {"5", "established"},  {"6", "finWait1"},   {"7", "finWait2"},  {"8", "closeWait"},
        {"9", "lastAck"},      {"10", "closing"},   {"11", "timeWait"}, {"12", "deleteTCB"},
        {"13", "closed"},      {"0", "closed"},     {"", "closed"},     {"02x", "closed"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(MibTexts::TcpState(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

// ifOperStatus: only 1, 2 and 3 have names; 7 (lowerLayerDown) and
// anything else must not borrow one of them.
TEST(MibTexts, LinkStatus)
{
    const TextCase cases[] = {
        {"1", "Connected"}, {"2", "UnConnected"}, {"3", "Test"}, {"7", "Unknown"}, {"5", "Unknown"}, {"", "Unknown"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(MibTexts::LinkStatus(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

// Speeds are unsigned: a signed 32-bit reading turns 4294967295 (the
// Gauge32 maximum that 10G ports report) negative; 64-bit values survive.
TEST(MibTexts, SpeedInMegabits)
{
    const TextCase cases[] = {
        {"1000000000", "1000M"}, {"100000000", "100M"},     {"0", "0M"},
        {"999999", "0M"},        {"4294967295", "4294M"},   {"2147483648", "2147M"},
        {"10000000000", "10000M"}, {"abc", "abc"},          {"", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(MibTexts::SpeedMbps(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

// Uptime: hours from 360000 ticks, minutes from the rest; ticks above
// 2^31 (248 days) must not wrap negative.
TEST(MibTexts, UpTime)
{
    const TextCase cases[] = {
        {"360000", "1 Hour 0 Min"},         {"6000", "0 Hour 1 Min"},         {"0", "0 Hour 0 Min"},
        {"366000", "1 Hour 1 Min"},         {"365999", "1 Hour 0 Min"},         {"2147483648", "5965 Hour 13 Min"},
        {"4294967295", "11930 Hour 27 Min"}, {"", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(MibTexts::UpTime(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

// The MAC is the last six sub-identifiers, whatever the FDB id's length:
// cutting a fixed number of characters breaks FDB ids of two or more digits.
TEST(SwitchDatabaseTexts, MacFromIndex)
{
    const TextCase cases[] = {
        {"1.0.17.34.51.68.85", "00-11-22-33-44-55"},
        {"100.0.17.34.51.68.85", "00-11-22-33-44-55"},
        {"4094.255.254.1.2.171.205", "FF-FE-01-02-AB-CD"},
        {"1.0.17.34.51.68", ""},          // six parts: no FDB id
        {"1.256.0.0.0.0.0", ""},          // not an octet
        {"1.0.17.x.51.68.85", ""},
        {"", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(CSwitchDatabase::MacFromIndex(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

// Status names by the value's first character; 6 and other values give
// no text.
TEST(SwitchDatabaseTexts, Status)
{
    const TextCase cases[] = {
        {"1", "Other"}, {"2", "Invalid"}, {"3", "Learn"}, {"4", "Own"}, {"5", "Static"},
        {"6", ""},      {"0", ""},        {"30", "Learn"}, {"52", "Static"}, {"", ""}, {"-3", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(CSwitchDatabase::StatusText(QString::fromLatin1(c.value)), QString::fromLatin1(c.text)) << c.value;
}

} // namespace
