// The simulated switch's 802.1Q VLAN behaviour: the row life cycle, what a
// destroyed VLAN takes with it, the reset on a mode change, strict mode.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kMode = kPrivate + ".7.5.0";
const std::string kPvid = kPrivate + ".7.7.1.1.";
const std::string kVlan = kPrivate + ".7.6.1.";   // + column + "." + vid

std::string Cell(int column, int vid)
{
    return kVlan + std::to_string(column) + "." + std::to_string(vid);
}

class SwitchSimVlan : public SharedSimulatedSwitchTest
{
protected:
    // snmpset with the write community; the tool's error text, empty when accepted.
    static std::string Set(const std::vector<std::string>& varbinds)
    {
        std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                         sim->agent()};
        args.insert(args.end(), varbinds.begin(), varbinds.end());
        ToolResult r = RunSnmpTool("snmpset", args);
        return r.exitCode == 0 ? std::string() : r.err + r.out;
    }
};

} // namespace

// Catches a row that becomes active without its name, or a destroy that
// leaves cells behind (a later create would then be refused).
TEST_F(SwitchSimVlan, RowIsCreatedNamedActivatedAndDestroyed)
{
    EXPECT_EQ(Set({Cell(6, 10), "i", "5"}), "");
    EXPECT_EQ(sim->value(Cell(6, 10)), "i 3") << "not ready without a name";
    EXPECT_NE(Set({Cell(6, 10), "i", "1"}), "") << "active without a name";
    EXPECT_EQ(Set({Cell(1, 10), "s", "ten"}), "");
    EXPECT_EQ(Set({Cell(6, 10), "i", "1"}), "");
    EXPECT_EQ(sim->value(Cell(6, 10)), "i 1");
    EXPECT_EQ(Set({Cell(6, 10), "i", "1"}), "") << "active again is accepted";
    EXPECT_EQ(Set({Cell(6, 10), "i", "6"}), "");
    for (int column = 1; column <= 6; ++column)
        EXPECT_EQ(sim->value(Cell(column, 10)), "") << "column " << column;
    EXPECT_EQ(Set({Cell(6, 10), "i", "5"}), "") << "created again";
}

// Catches a destroy that leaves the VLAN's IGMP, multicast or learned
// address rows behind, or one that takes another VLAN's rows with it.
TEST_F(SwitchSimVlan, DestroyDropsTheRowsOfThatVlanOnly)
{
    ASSERT_TRUE(sim->command("vlan add 10 11"));
    const std::string igmp = kPrivate + ".10.3.4.1.";
    const std::string entries = kPrivate + ".10.3.5.1.";
    const std::string fdb = "1.3.6.1.2.1.17.7.1.2.2.1.2.";
    for (int vid : {10, 11}) {
        const std::string v = std::to_string(vid);
        ASSERT_TRUE(sim->command("set " + igmp + "1." + v + " i " + v));
        ASSERT_TRUE(sim->command("set " + igmp + "2." + v + " i 1"));
        ASSERT_TRUE(sim->command("set " + entries + "1." + v + ".239.1.1.1 i " + v));
        ASSERT_TRUE(sim->command("set " + entries + "4." + v + ".239.1.1.1 x 80"));
        ASSERT_TRUE(sim->command("set " + fdb + v + ".0.27.33.0.0.1 i 5"));
    }
    EXPECT_EQ(Set({Cell(6, 10), "i", "6"}), "");
    for (const std::string& gone : {igmp + "1.10", igmp + "2.10", entries + "1.10.239.1.1.1",
                                    entries + "4.10.239.1.1.1", fdb + "10.0.27.33.0.0.1"})
        EXPECT_EQ(sim->value(gone), "") << gone;
    for (const std::string& kept : {igmp + "1.11", igmp + "2.11", entries + "1.11.239.1.1.1",
                                    entries + "4.11.239.1.1.1", fdb + "11.0.27.33.0.0.1", Cell(6, 11)})
        EXPECT_NE(sim->value(kept), "") << kept;
}

// Catches a mode write that keeps old VLANs or PVIDs, and one that resets
// them although the mode did not change.
TEST_F(SwitchSimVlan, ModeChangeResetsVlansAndPvids)
{
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    ASSERT_EQ(Set({Cell(1, 1), "s", "office", kPvid + "3", "u", "10"}), "");
    EXPECT_EQ(Set({kMode, "i", "2"}), "") << "unchanged";
    EXPECT_EQ(sim->value(Cell(6, 10)), "i 1");
    EXPECT_EQ(sim->value(kPvid + "3"), "u 10");

    EXPECT_EQ(Set({kMode, "i", "1"}), "");
    EXPECT_EQ(sim->value(kMode), "i 1");
    EXPECT_EQ(sim->value(Cell(6, 10)), "");
    EXPECT_EQ(sim->value(Cell(1, 10)), "");
    EXPECT_EQ(sim->value(kPvid + "3"), "u 1");
    EXPECT_EQ(sim->value(Cell(6, 1)), "i 1");
    EXPECT_EQ(sim->value(Cell(2, 1)), "x fffffffffffff000");
}

// Catches strict mode that lets an untagged port outside egress, or an
// egress port that is forbidden, through, or that refuses valid steps.
TEST_F(SwitchSimVlan, StrictModeRefusesInconsistentPortMaps)
{
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    EXPECT_EQ(Set({Cell(4, 10), "x", "80"}), "") << "lenient by default";
    ASSERT_EQ(Set({Cell(4, 10), "x", "00"}), "");
    ASSERT_TRUE(sim->command("vlan strict on"));
    struct Case {
        const char* what;
        std::vector<std::string> set;
        bool accepted;
    } cases[] = {
        {"untagged outside egress", {Cell(4, 10), "x", "80"}, false},
        {"egress first", {Cell(2, 10), "x", "c0"}, true},
        {"then untagged within it", {Cell(4, 10), "x", "80"}, true},
        {"egress shrinking below untagged", {Cell(2, 10), "x", "40"}, false},
        {"forbidding an egress port", {Cell(3, 10), "x", "40"}, false},
        {"forbidding another port", {Cell(3, 10), "x", "20"}, true},
        {"both in one request, consistent", {Cell(2, 10), "x", "80", Cell(4, 10), "x", "80"}, true},
    };
    for (const Case& c : cases) {
        const std::string err = Set(c.set);
        EXPECT_EQ(err.empty(), c.accepted) << c.what << ": " << err;
        if (!c.accepted) {
            EXPECT_NE(err.find("inconsistentValue"), std::string::npos) << c.what << ": " << err;
        }
    }
    EXPECT_EQ(sim->value(Cell(2, 10)), "x 80");
    ASSERT_TRUE(sim->command("reset"));
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    EXPECT_EQ(Set({Cell(4, 10), "x", "80"}), "") << "reset ends strict mode";
}
