// The simulated switch's 802.1X objects: the local users (name-indexed rows
// made with createAndGo, the name column repeating the index, the password
// write-only), the RADIUS servers (createAndWait, an existing row refused,
// the index column, a write-only key, an address that must fit its type)
// and the older scalars, whose IpAddress and Unsigned32 types are checked.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kUsers = P + ".23.3.1.1.";
const std::string kServers = P + ".23.4.2.1.";
const std::string kAbcd = "4.97.98.99.100";

ToolResult Set(const SimulatedSwitch& sim, const std::vector<std::string>& varbinds, const char* version = "-v2c")
{
    std::vector<std::string> args = {version, "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

ToolResult Get(const SimulatedSwitch& sim, const std::string& oid)
{
    return RunSnmpTool("snmpget", {"-v2c", "-c", SimulatedSwitch::kReadCommunity, "-t", "1", "-r", "0", "-Ov",
                                   sim.agent(), oid});
}

class Dot1xSimTest : public SharedSimulatedSwitchTest
{
};

} // namespace

// createAndGo alone makes a user; the name reads from the index; the
// password is taken but reads empty; active again and destroy work.
TEST_F(Dot1xSimTest, UserRowsByName)
{
    ASSERT_EQ(Set(*sim, {kUsers + "3." + kAbcd, "i", "4"}).exitCode, 0);
    EXPECT_EQ(sim->value(kUsers + "1." + kAbcd), "x 61626364");
    ASSERT_EQ(Set(*sim, {kUsers + "2." + kAbcd, "s", "pass1"}).exitCode, 0);
    ToolResult r = Get(*sim, kUsers + "2." + kAbcd);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find("pass1"), std::string::npos) << r.out;
    EXPECT_EQ(Set(*sim, {kUsers + "3." + kAbcd, "i", "1"}).exitCode, 0);
    EXPECT_EQ(Set(*sim, {kUsers + "3." + kAbcd, "i", "6"}).exitCode, 0);
    EXPECT_EQ(sim->value(kUsers + "1." + kAbcd), "");
    // Not a name: a length that does not match, an octet above 255, 16 octets.
    for (const std::string index : {"4.97.98.99", "1.256", "16.97.97.97.97.97.97.97.97.97.97.97.97.97.97.97.97"}) {
        r = Set(*sim, {kUsers + "3." + index, "i", "4"});
        EXPECT_NE(r.err.find("noCreation"), std::string::npos) << index << r.err;
    }
}

// RADIUS rows: createAndWait of a taken slot is refused, of a free one
// makes a row whose index column repeats the index; it turns active only
// with an address of its type's length and a key, which reads empty.
TEST_F(Dot1xSimTest, RadiusRows)
{
    ToolResult r = Set(*sim, {kServers + "10.1", "i", "5"});
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    r = Set(*sim, {kServers + "10.4", "i", "5"});
    EXPECT_NE(r.err.find("noCreation"), std::string::npos) << r.err;

    ASSERT_EQ(Set(*sim, {kServers + "10.2", "i", "5"}).exitCode, 0);
    EXPECT_EQ(sim->value(kServers + "1.2"), "i 2");
    ASSERT_EQ(Set(*sim, {kServers + "2.2", "i", "1", kServers + "3.2", "x", "20010db8000000000000000000000001",
                         kServers + "9.2", "s", "key2"})
                  .exitCode,
              0);
    r = Set(*sim, {kServers + "10.2", "i", "1"});
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;   // 16 octets for IPv4
    ASSERT_EQ(Set(*sim, {kServers + "2.2", "i", "2"}).exitCode, 0);
    EXPECT_EQ(Set(*sim, {kServers + "10.2", "i", "1"}).exitCode, 0);
    r = Get(*sim, kServers + "9.2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find("key2"), std::string::npos) << r.out;
}

// The older scalars keep their types: an IpAddress sent as a string or an
// Unsigned32 as an INTEGER is refused (v1 badValue); the right types pass,
// the top Unsigned32 value included.
TEST_F(Dot1xSimTest, OlderScalarsCheckTheirTypes)
{
    ToolResult r = Set(*sim, {P + ".11.1.1.0", "s", "10.0.0.1"}, "-v1");
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
    r = Set(*sim, {P + ".11.2.7.0", "i", "3600"}, "-v1");
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
    EXPECT_EQ(sim->value(P + ".11.1.1.0"), "a 10.90.90.100");
    r = Set(*sim, {P + ".11.1.1.0", "a", "10.0.0.1", P + ".11.2.7.0", "u", "4294967295"}, "-v1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(sim->value(P + ".11.2.7.0"), "u 4294967295");
    r = Set(*sim, {P + ".11.2.7.0", "u", "0"}, "-v1");
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
}

// The port table: one row per port, the port column repeating the index
// and read-only.
TEST_F(Dot1xSimTest, PortTableRows)
{
    EXPECT_EQ(sim->value(P + ".23.2.1.1.1.52"), "i 52");
    EXPECT_EQ(sim->value(P + ".23.2.1.1.9.1"), "i 3");
    ToolResult r = Set(*sim, {P + ".23.2.1.1.1.5", "i", "6"});
    EXPECT_NE(r.err.find("notWritable"), std::string::npos) << r.err;
    EXPECT_EQ(Set(*sim, {P + ".23.2.1.1.9.5", "i", "2"}).exitCode, 0);
    r = Set(*sim, {P + ".23.2.1.1.5.5", "i", "11"});
    EXPECT_NE(r.err.find("wrongValue"), std::string::npos) << r.err;
}
