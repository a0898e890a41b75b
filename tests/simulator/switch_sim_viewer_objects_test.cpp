// The simulated switch's objects for the viewers and LLDP: the IEEE 802
// arc answered beside 1.3.6.1, typed standard values, the fdb command and
// the LLDP timer rule.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kLldp = "1.3.6.1.4.1.32473.10.126.4.1.24.";

using Args = std::vector<std::string>;

ToolResult Tool(const SimulatedSwitch& sim, const char* tool, const char* community, Args rest)
{
    Args args = {"-v2c", "-c", community, "-t", "2", "-r", "0", sim.agent()};
    args.insert(args.end(), rest.begin(), rest.end());
    return RunSnmpTool(tool, args);
}

size_t Count(const std::string& text, const std::string& needle)
{
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

// LLDP-MIB lives below 1.0.8802, outside 1.3.6.1: GET answers it, a walk of
// it ends in it, and a GET-NEXT from its last object goes on to 1.3.6.1.
TEST_F(SimulatedSwitchTest, AnswersTheIeee8802Arc)
{
    ToolResult get = Tool(sim, "snmpget", SimulatedSwitch::kReadCommunity,
                          {"1.0.8802.1.1.2.1.3.1.0", "1.3.6.1.2.1.1.5.0"});
    ASSERT_EQ(get.exitCode, 0) << get.err;
    EXPECT_NE(get.out.find(".1.0.8802.1.1.2.1.3.1.0 = INTEGER: 4"), std::string::npos) << get.out;
    ToolResult walk = Tool(sim, "snmpwalk", SimulatedSwitch::kReadCommunity, {"1.0.8802.1.1.2.1.4.1.1.5"});
    ASSERT_EQ(walk.exitCode, 0) << walk.err;
    EXPECT_EQ(Count(walk.out, "\n"), 3u) << walk.out;
    EXPECT_NE(walk.out.find(".1.0.8802.1.1.2.1.4.1.1.5.1200.49.12 = Hex-STRING: 00 A0 C9 11 55 00"), std::string::npos)
        << walk.out;
    ToolResult next = Tool(sim, "snmpgetnext", SimulatedSwitch::kReadCommunity, {"1.0.8802.1.1.2.1.4.1.1.10.1200.49.12"});
    EXPECT_NE(next.out.find(".1.3.6.1.2.1.1.1.0 = STRING"), std::string::npos) << next.out;
}

// Standard values carry their SNMP types: a viewer that reads them as text
// relies on Gauge32, TimeTicks, IpAddress and OID arriving as such.
TEST_F(SimulatedSwitchTest, StandardObjectsAreTyped)
{
    ToolResult get = Tool(sim, "snmpget", SimulatedSwitch::kReadCommunity,
                          {"1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.3.0", "1.3.6.1.2.1.2.2.1.5.1",
                           "1.3.6.1.2.1.4.20.1.3.10.90.90.90", "1.3.6.1.2.1.6.13.1.1.0.0.0.0.23.0.0.0.0.0",
                           "1.3.6.1.2.1.17.4.2.0"});
    ASSERT_EQ(get.exitCode, 0) << get.err;
    for (const char* expected : {"= OID: .1.3.6.1.4.1.32473.10.126.4.1", "= Timeticks:", "= Gauge32: 1000000000",
                                 "= IpAddress: 255.0.0.0", "0.0.0.0.23.0.0.0.0.0 = INTEGER: 2", "= INTEGER: 300"})
        EXPECT_NE(get.out.find(expected), std::string::npos) << expected << "\n" << get.out;
}

// `fdb N FDBID` replaces the whole table; the entries' MACs follow each
// other and the FDB id is the first index part.
TEST_F(SimulatedSwitchTest, FdbCommandReplacesTheTable)
{
    EXPECT_EQ(sim.control("fdb 250 100"), "ok");
    ToolResult walk = Tool(sim, "snmpwalk", SimulatedSwitch::kReadCommunity, {"1.3.6.1.2.1.17.7.1.2.2.1.2"});
    ASSERT_EQ(walk.exitCode, 0) << walk.err;
    EXPECT_EQ(Count(walk.out, "\n"), 250u);
    EXPECT_EQ(Count(walk.out, ".2.100.0.27.33.0."), 250u);
    EXPECT_EQ(sim.value("1.3.6.1.2.1.17.7.1.2.2.1.1.100.0.27.33.0.0.249"), "x 001b210000f9");
    EXPECT_EQ(sim.value("1.3.6.1.2.1.17.7.1.2.2.1.2.100.0.27.33.0.0.52"), "i 1");
    EXPECT_EQ(sim.control("fdb 0"), "ok");
    ToolResult empty = Tool(sim, "snmpwalk", SimulatedSwitch::kReadCommunity, {"1.3.6.1.2.1.17.7.1.2.2.1"});
    EXPECT_EQ(Count(empty.out, ".17.7.1.2.2.1."), 0u) << empty.out;
    EXPECT_EQ(sim.control("fdb x").rfind("error", 0), 0u);
    EXPECT_EQ(sim.control("fdb 1 4095").rfind("error", 0), 0u);
}

// The TX delay may be at most a quarter of the TX interval, whichever of
// the two a set changes; a refused set changes neither.
TEST_F(SimulatedSwitchTest, LldpTxDelayRule)
{
    struct Case
    {
        Args varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {{kLldp + "5.0", "i", "8"}, false},                            // 8 > 30 / 4
        {{kLldp + "5.0", "i", "7"}, true},
        {{kLldp + "3.0", "i", "20"}, false},                           // 7 > 20 / 4
        {{kLldp + "3.0", "i", "40", kLldp + "5.0", "i", "10"}, true},
    };
    for (const Case& c : cases) {
        const std::string before = sim.value(kLldp + "3.0") + sim.value(kLldp + "5.0");
        ToolResult set = Tool(sim, "snmpset", SimulatedSwitch::kWriteCommunity, c.varbinds);
        EXPECT_EQ(set.exitCode == 0, c.accepted) << c.varbinds[0] << " " << set.err;
        if (!c.accepted) {
            EXPECT_NE(set.err.find("inconsistentValue"), std::string::npos) << set.err;
            EXPECT_EQ(sim.value(kLldp + "3.0") + sim.value(kLldp + "5.0"), before);
        }
    }
    EXPECT_EQ(sim.value(kLldp + "3.0"), "i 40");
    EXPECT_EQ(sim.value(kLldp + "5.0"), "i 10");
}

} // namespace
