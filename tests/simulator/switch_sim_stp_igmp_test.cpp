// The simulated switch's spanning tree and IGMP snooping behaviour, over
// SNMP with net-snmp's own tools.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kBridge = kPrivate + ".51.1.";      // N.0
const std::string kPort = kPrivate + ".51.2.1.";      // column.port
const std::string kStdEnable = "1.3.6.1.2.1.17.2.15.1.4.";
const std::string kIgmp = kPrivate + ".10.1.";
const std::string kIgmpVlan = kPrivate + ".10.3.4.1.";   // column.vid
const std::string kGroups = kPrivate + ".10.3.5.1.";     // column.vid.a.b.c.d
const std::string kVlan = kPrivate + ".7.6.1.";

class SwitchSimStpIgmp : public SimulatedSwitchTest
{
protected:
    // snmpset with the write community; the tool's exit code and output.
    ToolResult Set(const std::vector<std::string>& varbinds)
    {
        std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                         sim.agent()};
        args.insert(args.end(), varbinds.begin(), varbinds.end());
        return RunSnmpTool("snmpset", args);
    }
};

} // namespace

// Each timer set is checked against the 802.1D relations as the switch
// leaves it: a simulator that checked nothing (or only whole sets) could not
// catch a dialog that writes the timers in an order passing through a
// refused combination. Defaults: max age 20 s, hello 2 s, forward delay 15 s.
TEST_F(SwitchSimStpIgmp, TimerRelationsAreCheckedOnEverySet)
{
    struct Case {
        const char* what;
        std::vector<std::string> varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {"hello 10 s with max age 20 s", {kBridge + "6.0", "i", "1000"}, false},
        {"max age 40 s with forward delay 15 s", {kBridge + "5.0", "i", "4000"}, false},
        {"max age 6 s with hello 2 s (the boundary 6 = 2*(2+1))", {kBridge + "5.0", "i", "600"}, true},
        {"hello 1 s and forward delay 30 s together", {kBridge + "6.0", "i", "100", kBridge + "7.0", "i", "3000"},
         true},
        {"then max age 40 s", {kBridge + "5.0", "i", "4000"}, true},
        {"then forward delay 20 s (2*19 < 40)", {kBridge + "7.0", "i", "2000"}, false},
    };
    for (const Case& c : cases) {
        ToolResult r = Set(c.varbinds);
        EXPECT_EQ(r.exitCode == 0, c.accepted) << c.what << ": " << r.err;
        if (!c.accepted) {
            EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << c.what << ": " << r.err;
        }
    }
    EXPECT_EQ(sim.value(kBridge + "5.0"), "i 4000");
    EXPECT_EQ(sim.value(kBridge + "7.0"), "i 3000");
}

// The root values are the switch's, not the manager's, and they move.
TEST_F(SwitchSimStpIgmp, RootValuesAreReadOnlyAndDrift)
{
    ASSERT_TRUE(sim.command("stp drift off"));
    EXPECT_NE(Set({kBridge + "10.0", "i", "5"}).exitCode, 0);
    const std::string cost = sim.value(kBridge + "10.0");
    const std::string port = sim.value(kBridge + "13.0");
    ASSERT_TRUE(sim.command("stp drift step"));
    EXPECT_NE(sim.value(kBridge + "10.0"), cost);
    EXPECT_NE(sim.value(kBridge + "13.0"), port);
}

// One switch seen through two objects: turning a port's spanning tree off
// through the standard bridge MIB must show in the private table, and back.
TEST_F(SwitchSimStpIgmp, PortEnableIsTiedToTheStandardObject)
{
    ASSERT_EQ(Set({kStdEnable + "3", "i", "2"}).exitCode, 0);
    EXPECT_EQ(sim.value(kPort + "2.3"), "i 0");
    ASSERT_EQ(Set({kPort + "2.3", "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim.value(kStdEnable + "3"), "i 1");
}

// The cost in use follows the configured cost, or the link when automatic;
// the port state follows link and switch.
TEST_F(SwitchSimStpIgmp, CostInUseAndPortStateAreDerived)
{
    EXPECT_EQ(sim.value(kPort + "5.1"), "i 20000");    // 1000M, automatic
    EXPECT_EQ(sim.value(kPort + "5.9"), "i 200000");   // 100M
    EXPECT_EQ(sim.value(kPort + "5.20"), "i 0");       // no link
    EXPECT_EQ(sim.value(kPort + "12.1"), "i 5");
    EXPECT_EQ(sim.value(kPort + "12.20"), "i 1");
    ASSERT_EQ(Set({kPort + "4.1", "i", "777"}).exitCode, 0);
    EXPECT_EQ(sim.value(kPort + "5.1"), "i 777");
    ASSERT_EQ(Set({kPort + "2.1", "i", "0"}).exitCode, 0);
    EXPECT_EQ(sim.value(kPort + "12.1"), "i 1");
}

// IGMP settings rows follow the VLANs: a new VLAN gets one (snooping off),
// a destroyed VLAN takes its row and its learned groups with it.
TEST_F(SwitchSimStpIgmp, IgmpVlanRowsFollowTheVlanTable)
{
    ASSERT_EQ(Set({kVlan + "1.10", "s", "ten", kVlan + "6.10", "i", "4"}).exitCode, 0);
    EXPECT_EQ(sim.value(kIgmpVlan + "1.10"), "i 10");
    EXPECT_EQ(sim.value(kIgmpVlan + "2.10"), "i 2");
    ASSERT_TRUE(sim.command("igmp join 10 239.9.9.9 4"));
    EXPECT_EQ(sim.value(kGroups + "1.10.239.9.9.9"), "i 10");
    ASSERT_EQ(Set({kVlan + "6.10", "i", "6"}).exitCode, 0);
    EXPECT_EQ(sim.value(kIgmpVlan + "1.10"), "");
    EXPECT_EQ(sim.value(kGroups + "1.10.239.9.9.9"), "");
    EXPECT_EQ(sim.value(kIgmpVlan + "1.1"), "i 1");   // the others stay
}

// Switching snooping off clears static router ports and learned groups:
// globally for every VLAN, per VLAN for that one.
TEST_F(SwitchSimStpIgmp, DisablingSnoopingClearsRouterPorts)
{
    ASSERT_TRUE(sim.command("igmp churn off"));
    ASSERT_EQ(Set({kVlan + "1.10", "s", "ten", kVlan + "6.10", "i", "4"}).exitCode, 0);
    ASSERT_EQ(Set({kIgmpVlan + "2.10", "i", "1", kIgmpVlan + "6.10", "x", "40"}).exitCode, 0);
    ASSERT_EQ(Set({kIgmpVlan + "2.10", "i", "2"}).exitCode, 0);
    EXPECT_EQ(sim.value(kIgmpVlan + "6.10"), "x 00");
    EXPECT_NE(sim.value(kIgmpVlan + "6.1"), "x 0000000000000000");   // another VLAN keeps its ports

    ASSERT_EQ(Set({kIgmp + "1.0", "i", "2"}).exitCode, 0);
    EXPECT_EQ(sim.value(kIgmpVlan + "6.1"), "x 0000000000000000");
    EXPECT_EQ(sim.value(kGroups + "1.1.239.1.1.1"), "");
}

// Learned groups come and go.
TEST_F(SwitchSimStpIgmp, LearnedGroupsComeAndGo)
{
    ASSERT_TRUE(sim.command("igmp churn off"));
    ASSERT_TRUE(sim.command("igmp join 1 239.3.4.5 2 9"));
    EXPECT_EQ(sim.value(kGroups + "2.1.239.3.4.5"), "x ef030405");
    EXPECT_EQ(sim.value(kGroups + "3.1.239.3.4.5"), "x 01005e030405");
    EXPECT_EQ(sim.value(kGroups + "4.1.239.3.4.5"), "x 4080000000000000");
    ASSERT_TRUE(sim.command("igmp leave 1 239.3.4.5"));
    EXPECT_EQ(sim.value(kGroups + "1.1.239.3.4.5"), "");
}
