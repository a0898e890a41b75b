// The simulated switch's scripted transfer statuses and its syslog host
// table, over SNMP with net-snmp's tools.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kFirmware = kPrivate + ".3.9.";
const std::string kConfig = kPrivate + ".3.10.";
const std::string kHost = kPrivate + ".16.2.5.1.";

ToolResult Set(SimulatedSwitch& sim, const std::vector<std::string>& varbinds)
{
    std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

ToolResult Get(SimulatedSwitch& sim, const std::string& oid, const char* timeout = "1")
{
    return RunSnmpTool("snmpget", {"-v2c", "-c", SimulatedSwitch::kReadCommunity, "-t", timeout, "-r", "0", "-Oqv",
                                   sim.agent(), oid});
}

std::string Trim(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

} // namespace

// A poll script answers one status per read after the operation set, the
// last one repeated; a timeline moves on by time. Catches a script that
// starts before the operation set, skips or repeats an entry.
TEST(SwitchSimTransferScript, StatusesFollowTheScript)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(sim.command("set " + kConfig + "6.0 i 1"));
    ASSERT_TRUE(sim.command("transfer polls config 4 3 2"));
    EXPECT_EQ(Trim(Get(sim, kConfig + "6.0").out), "1") << "a script waits for the operation set";
    ASSERT_EQ(Set(sim, {kConfig + "5.0", "i", "2"}).exitCode, 0);
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i)
        seen.push_back(Trim(Get(sim, kConfig + "6.0").out));
    EXPECT_EQ(seen, (std::vector<std::string>{"4", "3", "2", "2"}));

    ASSERT_TRUE(sim.command("transfer timeline firmware 4:100 3:100 1"));
    ASSERT_EQ(Set(sim, {kFirmware + "5.0", "i", "2"}).exitCode, 0);
    std::vector<std::string> timeline;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline && (timeline.empty() || timeline.back() != "i 1")) {
        const std::string v = sim.value(kFirmware + "6.0");
        if (timeline.empty() || timeline.back() != v)
            timeline.push_back(v);
    }
    EXPECT_EQ(timeline, (std::vector<std::string>{"i 4", "i 3", "i 1"}));
    EXPECT_NE(sim.control("transfer polls disk 1").rfind("error", 0), std::string::npos);
}

// silent=MS keeps the switch silent from the answer before it: a read in
// that period gets no answer, the next one after it gets the next status.
TEST(SwitchSimTransferScript, SilentEntryDropsTheReadsInItsPeriod)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(sim.command("transfer polls config 3 silent=1500 1"));
    ASSERT_EQ(Set(sim, {kConfig + "5.0", "i", "2"}).exitCode, 0);
    EXPECT_EQ(Trim(Get(sim, kConfig + "6.0").out), "3");
    EXPECT_NE(Get(sim, kConfig + "6.0", "0.3").exitCode, 0) << "silent";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::string status;
    while (status != "1" && std::chrono::steady_clock::now() < deadline)
        status = Trim(Get(sim, kConfig + "6.0", "0.3").out);
    EXPECT_EQ(status, "1");
}

// A refused operation set starts nothing: the status left from an earlier
// transfer stays (the program must not take it for this one's).
TEST(SwitchSimTransferScript, RefusedOperationLeavesTheStaleStatus)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(sim.command("set " + kConfig + "6.0 i 1"));
    ASSERT_TRUE(sim.command("error " + kConfig + "5.0 genErr"));
    EXPECT_NE(Set(sim, {kConfig + "5.0", "i", "2"}).exitCode, 0);
    EXPECT_EQ(sim.value(kConfig + "6.0"), "i 1");
}

// Host rows: the address columns come from the index, an index of another
// shape cannot be created, and a limited table refuses one row too many.
TEST(SwitchSimSyslog, HostRowsFollowTheirIndex)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string row = "1.4.10.0.0.5";
    ASSERT_EQ(Set(sim, {kHost + "5." + row, "i", "5", kHost + "3." + row, "i", "514"}).exitCode, 0);
    ASSERT_EQ(Set(sim, {kHost + "5." + row, "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim.value(kHost + "1." + row), "i 1");
    EXPECT_EQ(sim.value(kHost + "2." + row), "x 0a000005");

    ToolResult bad = Set(sim, {kHost + "5.1.4.10.0.0", "i", "5"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("noCreation"), std::string::npos) << bad.err;

    ASSERT_TRUE(sim.command("syslog rows 1"));
    ToolResult full = Set(sim, {kHost + "5.1.4.10.0.0.6", "i", "5"});
    EXPECT_NE(full.exitCode, 0);
    EXPECT_NE(full.err.find("resourceUnavailable"), std::string::npos) << full.err;
    // Destroying the one row and creating another in one request fits.
    EXPECT_EQ(Set(sim, {kHost + "5." + row, "i", "6", kHost + "5.1.4.10.0.0.6", "i", "5"}).exitCode, 0);

    ToolResult facility = Set(sim, {kPrivate + ".16.2.4.0", "i", "130"});
    EXPECT_NE(facility.exitCode, 0) << "facility must be 128 + 8 x k";
}
