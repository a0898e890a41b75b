// The simulated switch's PoE objects (PoE model only) and its rules: the
// user-defined limit and the power threshold as checked decimal text, the
// read-only measurements, a disabled port's readings, the injected error
// on the global settings, and the 802.1X scalars beside the time ranges.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";

using Args = std::vector<std::string>;

class SimPoeTest : public SharedSimulatedSwitchTest
{
protected:
    static void SetUpTestSuite()
    {
        SimulatedSwitch::Options options;
        options.model = "PQS-4400-28P";
        StartSuite(options);
    }

    static ToolResult Tool(const char* tool, Args rest)
    {
        Args args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "2", "-r", "0", sim->agent()};
        args.insert(args.end(), rest.begin(), rest.end());
        return RunSnmpTool(tool, args);
    }
    static std::string Set(const std::string& oid, const char* type, const std::string& value)
    {
        ToolResult r = Tool("snmpset", {oid, type, value});
        return r.exitCode == 0 ? "ok" : r.err + r.out;
    }
};

} // namespace

// Limits: 1.0 to 30.0 W in 0.2 W steps as decimal text; others wrongValue.
// Measurements are read only.
TEST_F(SimPoeTest, PortLimitRuleAndReadOnlyMeasurements)
{
    const std::string limit = P + ".42.1.1.8.1.5";
    struct Case { const char* value; bool ok; };
    for (const Case& c : {Case{"15.4", true}, Case{"1.0", true}, Case{"30", true}, Case{"15.40", true},
                          Case{"15.5", false}, Case{"30.2", false}, Case{"0.8", false}, Case{"1e1", false},
                          Case{"15.4abc", false}}) {
        const std::string result = Set(limit, "s", c.value);
        EXPECT_EQ(result == "ok", c.ok) << c.value << ": " << result;
        if (!c.ok) {
            EXPECT_NE(result.find("wrongValue"), std::string::npos) << c.value << ": " << result;
        }
    }
    EXPECT_NE(Set(P + ".42.1.1.9.1.1", "s", "1.0").find("notWritable"), std::string::npos);
}

// A disabled port draws nothing: its readings say so until it is enabled.
TEST_F(SimPoeTest, DisabledPortReadsZero)
{
    ASSERT_EQ(Set(P + ".42.1.1.3.1.1", "i", "2"), "ok");
    EXPECT_EQ(sim->value(P + ".42.1.1.9.1.1"), "x 302e30");          // "0.0"
    ToolResult get = Tool("snmpget", {P + ".42.1.1.13.1.1"});
    EXPECT_NE(get.out.find("\"Disabled\""), std::string::npos) << get.out;
    ASSERT_EQ(Set(P + ".42.1.1.3.1.1", "i", "1"), "ok");
    get = Tool("snmpget", {P + ".42.1.1.13.1.1"});
    EXPECT_NE(get.out.find("\"Delivering Power\""), std::string::npos) << get.out;
}

// The threshold's upper bound follows the RPS; `set-error` refuses sets of
// an object (reads still answer) until `off` or reset.
TEST_F(SimPoeTest, ThresholdBoundAndInjectedError)
{
    EXPECT_EQ(Set(P + ".42.2.0", "s", "370"), "ok");
    EXPECT_NE(Set(P + ".42.2.0", "s", "371").find("wrongValue"), std::string::npos);
    ASSERT_TRUE(sim->command("set " + P + ".42.9.0 i 1"));
    EXPECT_EQ(Set(P + ".42.2.0", "s", "740"), "ok");
    EXPECT_NE(Set(P + ".42.2.0", "s", "741").find("wrongValue"), std::string::npos);

    EXPECT_EQ(sim->control("set-error " + P + ".42.3.0 genErr"), "ok");
    EXPECT_NE(Set(P + ".42.3.0", "i", "2").find("genErr"), std::string::npos);
    EXPECT_EQ(sim->value(P + ".42.3.0"), "i 1");
    EXPECT_NE(Tool("snmpget", {P + ".42.3.0"}).out.find("INTEGER: 1"), std::string::npos);
    EXPECT_EQ(sim->control("set-error " + P + ".42.3.0 off"), "ok");
    EXPECT_EQ(Set(P + ".42.3.0", "i", "2"), "ok");
    EXPECT_EQ(sim->control("set-error " + P + ".42.3.0 genErr"), "ok");
    ASSERT_TRUE(sim->command("reset"));
    EXPECT_EQ(Set(P + ".42.3.0", "i", "2"), "ok");
    EXPECT_EQ(sim->control("set-error " + P + ".42.3.0 nonsense").rfind("error", 0), 0u);
}

// The 802.1X scalars and the time-range columns share the arc but no
// instance: a walk of a column stays in it, and the scalars are answered
// and written beside the table.
TEST_F(SimPoeTest, TimeRangeColumnsBesideThe8021xScalars)
{
    ToolResult walk = Tool("snmpwalk", {P + ".23.1.1.2"});
    ASSERT_EQ(walk.exitCode, 0) << walk.err;
    EXPECT_NE(walk.out.find(".23.1.1.2.1 = STRING: \"Office\""), std::string::npos) << walk.out;
    EXPECT_EQ(walk.out.find(".23.1.1.0 "), std::string::npos) << walk.out;
    EXPECT_EQ(Set(P + ".23.1.1.0", "i", "1"), "ok");
    EXPECT_EQ(Set(P + ".23.1.1.21.2", "i", "5"), "ok");
    EXPECT_EQ(sim->value(P + ".23.1.1.0"), "i 1");
    ToolResult next = Tool("snmpgetnext", {P + ".23.1.1.21.2"});
    EXPECT_NE(next.out.find(".23.1.3.0 = INTEGER"), std::string::npos) << next.out;
}

// Models without PoE have no PoE objects, but the 802.1X scalars.
TEST(SimPoeModels, PoeObjectsOnlyOnPoeModels)
{
    SimulatedSwitch plain;
    ASSERT_TRUE(plain.running()) << plain.error();
    EXPECT_EQ(plain.value(P + ".42.2.0"), "");
    EXPECT_EQ(plain.value(P + ".23.1.1.2.1"), "");
    EXPECT_EQ(plain.value(P + ".23.1.3.0"), "i 1");
}
