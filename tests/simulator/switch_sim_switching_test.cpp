// The simulated switch's behaviours for the layer-2 dialogs: operating
// columns that follow a port's settings, and port mirroring's strict mode.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kSpeed = kPrivate + ".1.13.1.2.";
const std::string kOperMode = kPrivate + ".1.13.1.3.";
const std::string kFlow = kPrivate + ".1.13.1.5.";
const std::string kOperFlow = kPrivate + ".1.13.1.6.";
const std::string kTarget = kPrivate + ".18.2.0";
const std::string kRx = kPrivate + ".18.3.0";

ToolResult Set(const SimulatedSwitch& sim, const std::vector<std::string>& varbinds)
{
    std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

// Polls an object until it holds `value` or the deadline passes.
bool Becomes(SimulatedSwitch& sim, const std::string& oid, const std::string& value)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (sim.value(oid) != value)
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

} // namespace

// A moment after a set, the operating mode and flow control follow: the
// forced speed, down when disabled, the medium's fastest on Auto; a port
// without a link partner stays down whatever is set.
TEST_F(SimulatedSwitchTest, OperatingColumnsFollowThePortSettings)
{
    ASSERT_EQ(Set(sim, {kSpeed + "5", "i", "4", kFlow + "5", "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim.value(kOperMode + "5"), "i 2");   // not at once
    EXPECT_TRUE(Becomes(sim, kOperMode + "5", "i 5"));
    EXPECT_TRUE(Becomes(sim, kOperFlow + "5", "i 1"));
    ASSERT_EQ(Set(sim, {kSpeed + "5", "i", "7"}).exitCode, 0);
    EXPECT_TRUE(Becomes(sim, kOperMode + "5", "i 1"));
    ASSERT_EQ(Set(sim, {kSpeed + "51", "i", "6"}).exitCode, 0);   // an SFP 100Base-x port without a link
    ASSERT_EQ(Set(sim, {kSpeed + "5", "i", "6"}).exitCode, 0);    // settles after port 51
    EXPECT_TRUE(Becomes(sim, kOperMode + "5", "i 2"));
    EXPECT_EQ(sim.value(kOperMode + "51"), "i 1");
}

// Strict mode refuses a set that leaves the target among the sources (with
// the index of the first mirroring varbind) and changes nothing; without it
// (and after reset) the switch stores what it is given.
TEST_F(SimulatedSwitchTest, StrictMirroringRefusesATargetAmongTheSources)
{
    ASSERT_TRUE(sim.command("mirror-strict on"));
    ToolResult r = Set(sim, {kRx, "x", "0200000000000000", kTarget, "i", "7"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    const auto sets = sim.sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].errorIndex, 1);
    EXPECT_EQ(sim.value(kTarget), "i 1");
    EXPECT_EQ(Set(sim, {kRx, "x", "0200000000000000", kTarget, "i", "6"}).exitCode, 0);

    ASSERT_TRUE(sim.command("reset"));
    EXPECT_EQ(Set(sim, {kRx, "x", "0200000000000000", kTarget, "i", "7"}).exitCode, 0);
    EXPECT_EQ(sim.value(kTarget), "i 7");
    EXPECT_EQ(sim.control("mirror-strict maybe").rfind("error", 0), 0u);
}
