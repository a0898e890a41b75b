// The simulated switch's GVRP rules, the multicast filtering rows that
// follow the VLANs, and the optional SET size limit, over SNMP with
// net-snmp's own tools.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kGvrp = kPrivate + ".30.";
const std::string kGvrpPvid = kPrivate + ".30.5.1.2.";
const std::string kFilter = kPrivate + ".7.8.1.";   // column.vid
const std::string kVlan = kPrivate + ".7.6.1.";     // column.vid
const std::string kJumbo = kPrivate + ".1.12.0";

class SwitchSimGvrpFilter : public SharedSimulatedSwitchTest
{
protected:
    static ToolResult Set(const std::vector<std::string>& varbinds, const char* version = "-v2c")
    {
        std::vector<std::string> args = {version, "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                         sim->agent()};
        args.insert(args.end(), varbinds.begin(), varbinds.end());
        return RunSnmpTool("snmpset", args);
    }
};

} // namespace

// The three timers of one SET are judged together (a dialog sends them in
// one request); a switch that checked each alone would refuse a valid
// change of all three. Defaults: join 200, leave 600, leave-all 10000.
TEST_F(SwitchSimGvrpFilter, GvrpTimersKeepTheirRelations)
{
    struct Case {
        const char* what;
        std::vector<std::string> varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {"leave 400 = 2 x join", {kGvrp + "3.0", "i", "400"}, false},
        {"leave-all equal to leave", {kGvrp + "4.0", "i", "600"}, false},
        {"join 100, leave 201, leave-all 202 together",
         {kGvrp + "2.0", "i", "100", kGvrp + "3.0", "i", "201", kGvrp + "4.0", "i", "202"}, true},
        {"join back to 200 alone (leave 201)", {kGvrp + "2.0", "i", "200"}, false},
        {"join 99: outside the range", {kGvrp + "2.0", "i", "99"}, false},
    };
    for (const Case& c : cases) {
        ToolResult r = Set(c.varbinds);
        EXPECT_EQ(r.exitCode == 0, c.accepted) << c.what << ": " << r.err;
    }
    EXPECT_EQ(sim->value(kGvrp + "2.0"), "i 100");
    EXPECT_EQ(sim->value(kGvrp + "4.0"), "i 202");
}

// A port's GVRP PVID names an existing VLAN; another is refused and
// changes nothing.
TEST_F(SwitchSimGvrpFilter, GvrpPvidMustNameAVlan)
{
    ToolResult r = Set({kGvrpPvid + "3", "i", "7"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    EXPECT_EQ(sim->value(kGvrpPvid + "3"), "i 1");
    ASSERT_TRUE(sim->command("vlan add 7 7"));
    EXPECT_EQ(Set({kGvrpPvid + "3", "i", "7"}).exitCode, 0);
    EXPECT_EQ(sim->value(kGvrpPvid + "3"), "i 7");
}

// One filtering row per VLAN: made for a VLAN created by SET or by the
// control channel, dropped with the VLAN; its mode starts at forward (0).
TEST_F(SwitchSimGvrpFilter, FilterRowsFollowTheVlans)
{
    EXPECT_EQ(sim->value(kFilter + "2.1"), "i 0");
    ASSERT_TRUE(sim->command("vlan add 10 11"));
    EXPECT_EQ(sim->value(kFilter + "1.10"), "i 10");
    EXPECT_EQ(sim->value(kFilter + "2.11"), "i 0");

    ASSERT_EQ(Set({kVlan + "1.20", "s", "cams", kVlan + "6.20", "i", "4"}).exitCode, 0);
    EXPECT_EQ(sim->value(kFilter + "1.20"), "i 20");
    ASSERT_EQ(Set({kFilter + "2.20", "i", "1"}).exitCode, 0);

    ASSERT_EQ(Set({kVlan + "6.10", "i", "6"}).exitCode, 0);
    EXPECT_EQ(sim->value(kFilter + "1.10"), "");
    EXPECT_EQ(sim->value(kFilter + "2.10"), "");
    EXPECT_EQ(sim->value(kFilter + "2.20"), "i 1");

    // A new VLAN mode leaves VLAN 1 alone: the other rows go.
    ASSERT_EQ(Set({kPrivate + ".7.5.0", "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim->value(kFilter + "1.20"), "");
    EXPECT_EQ(sim->value(kFilter + "1.1"), "i 1");
}

// max-pdu: a SET whose variable bindings exceed the limit is answered
// tooBig (v1 and v2c) and changes nothing; a smaller one passes; off and
// reset end it.
TEST_F(SwitchSimGvrpFilter, SetsAboveTheSizeLimitAreTooBig)
{
    // Each of these varbinds takes 25 octets; the list 2 more.
    const std::vector<std::string> two = {kFilter + "2.1", "i", "1", kJumbo, "i", "1"};
    ASSERT_TRUE(sim->command("max-pdu 40"));
    for (const char* version : {"-v1", "-v2c"}) {
        ToolResult r = Set(two, version);
        EXPECT_NE(r.exitCode, 0) << version;
        EXPECT_NE(r.err.find("tooBig"), std::string::npos) << version << ": " << r.err;
    }
    EXPECT_EQ(sim->value(kJumbo), "i 2");
    EXPECT_EQ(Set({kJumbo, "i", "1"}).exitCode, 0);
    EXPECT_FALSE(sim->command("max-pdu 0"));
    ASSERT_TRUE(sim->command("max-pdu off"));
    EXPECT_EQ(Set(two).exitCode, 0);
    ASSERT_TRUE(sim->command("max-pdu 40"));
    ASSERT_TRUE(sim->command("reset"));
    EXPECT_EQ(Set(two).exitCode, 0);
}

namespace {

// A switch started with --max-pdu 40.
class SwitchSimMaxPduOption : public SharedSimulatedSwitchTest
{
protected:
    static void SetUpTestSuite()
    {
        SimulatedSwitch::Options options;
        options.maxPduOctets = 40;
        StartSuite(options);
    }
};

} // namespace

// The command line's limit holds from the start, `max-pdu off` lifts it,
// and `reset` puts it back (a test's change must not outlive the test).
TEST_F(SwitchSimMaxPduOption, CommandLineLimitHoldsAndComesBackAtReset)
{
    const std::vector<std::string> two = {kFilter + "2.1", "i", "1", kJumbo, "i", "1"};
    auto set = [&] {
        return RunSnmpTool("snmpset", {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                       sim->agent(), two[0], two[1], two[2], two[3], two[4], two[5]});
    };
    EXPECT_NE(set().err.find("tooBig"), std::string::npos);
    ASSERT_TRUE(sim->command("max-pdu off"));
    EXPECT_EQ(set().exitCode, 0);
    ASSERT_TRUE(sim->command("reset"));
    EXPECT_NE(set().err.find("tooBig"), std::string::npos);
}
