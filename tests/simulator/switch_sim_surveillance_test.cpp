// The simulated switch's auto surveillance VLAN OUI table: MAC-indexed rows
// made with createAndGo alone, the MAC column repeating the index, the
// default row that cannot be destroyed and the limit of five other rows.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kEntry = "1.3.6.1.4.1.32473.10.126.4.1.26.2.1.1.";
const std::string kDefault = "10.60.94.0.0.0";

std::string Cell(int column, const std::string& index)
{
    return kEntry + std::to_string(column) + "." + index;
}

ToolResult Set(const SimulatedSwitch& sim, const std::vector<std::string>& varbinds)
{
    std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

class SurveillanceSimTest : public SharedSimulatedSwitchTest
{
};

} // namespace

// createAndGo alone makes a row with its defaults (mask of the whole MAC,
// type "other"), and its MAC column reads the index as six octets.
TEST_F(SurveillanceSimTest, CreateAndGoAloneMakesARowWhoseMacIsItsIndex)
{
    const std::string index = "0.17.34.51.68.85";
    ASSERT_EQ(Set(*sim, {Cell(5, index), "i", "4"}).exitCode, 0);
    ToolResult r = RunSnmpTool("snmpget", {"-v2c", "-c", SimulatedSwitch::kReadCommunity, "-t", "1", "-r", "0",
                                           "-Ox", sim->agent(), Cell(1, index)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("00 11 22 33 44 55"), std::string::npos) << r.out;
    EXPECT_EQ(sim->value(Cell(3, index)), "x ffffffffffff");
    EXPECT_EQ(sim->value(Cell(4, index)), "i 4");
    EXPECT_EQ(sim->value(Cell(1, kDefault)), "x 0a3c5e000000");
    EXPECT_EQ(sim->value(Cell(4, kDefault)), "i 5");
    // A type only the default row has cannot be given to another.
    EXPECT_NE(Set(*sim, {Cell(4, index), "i", "5"}).exitCode, 0);
}

// The rules a real switch keeps: the default row stays, five other rows at
// most (the default one not counted), a row index must be a MAC address.
TEST_F(SurveillanceSimTest, DefaultRowStaysAndFiveOtherRowsAtMost)
{
    ToolResult r = Set(*sim, {Cell(5, kDefault), "i", "6"});
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    EXPECT_EQ(sim->value(Cell(5, kDefault)), "i 1");

    for (int n = 1; n <= 5; ++n)
        ASSERT_EQ(Set(*sim, {Cell(5, "0.17.34.0.0." + std::to_string(n)), "i", "4"}).exitCode, 0) << n;
    r = Set(*sim, {Cell(5, "0.17.34.0.0.6"), "i", "4"});
    EXPECT_NE(r.err.find("resourceUnavailable"), std::string::npos) << r.err;
    EXPECT_EQ(sim->value(Cell(5, "0.17.34.0.0.6")), "");
    // Room again once one goes.
    ASSERT_EQ(Set(*sim, {Cell(5, "0.17.34.0.0.1"), "i", "6"}).exitCode, 0);
    EXPECT_EQ(sim->value(Cell(5, "0.17.34.0.0.1")), "");
    EXPECT_EQ(Set(*sim, {Cell(5, "0.17.34.0.0.6"), "i", "4"}).exitCode, 0);

    r = Set(*sim, {Cell(5, "0.17.34.0.0"), "i", "4"});
    EXPECT_NE(r.err.find("noCreation"), std::string::npos) << r.err;
    r = Set(*sim, {Cell(5, "0.17.34.0.0.256"), "i", "4"});
    EXPECT_NE(r.err.find("noCreation"), std::string::npos) << r.err;
}
