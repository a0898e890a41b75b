// The simulated switch's DHCP server screening trusted-server table and
// ARP spoofing prevention table: index rules, the columns derived from the
// index, the address length of the server's type and the 64-entry limit.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";

std::string Server(int column, int entry)
{
    return kPrivate + ".14.7.3.1." + std::to_string(column) + "." + std::to_string(entry);
}

std::string Arp(int column, const std::string& index)
{
    return kPrivate + ".14.3.1.1." + std::to_string(column) + "." + index;
}

ToolResult Set(const SimulatedSwitch& sim, const std::vector<std::string>& varbinds)
{
    std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

class ScreeningArpSimTest : public SharedSimulatedSwitchTest
{
};

} // namespace

// A server row: entries 1-5 only, the entry column reads the index, and
// activation needs an address of its type's length.
TEST_F(ScreeningArpSimTest, TrustedServerRows)
{
    EXPECT_NE(Set(*sim, {Server(4, 6), "i", "5"}).err.find("noCreation"), std::string::npos);
    ASSERT_EQ(Set(*sim, {Server(4, 4), "i", "5"}).exitCode, 0);
    EXPECT_EQ(sim->value(Server(1, 4)), "i 4");
    // Not ready without type and address.
    EXPECT_NE(Set(*sim, {Server(4, 4), "i", "1"}).exitCode, 0);
    // An IPv6 type with 4 octets is refused at activation.
    ASSERT_EQ(Set(*sim, {Server(3, 4), "i", "2", Server(2, 4), "x", "0a000001"}).exitCode, 0);
    EXPECT_NE(Set(*sim, {Server(4, 4), "i", "1"}).err.find("inconsistentValue"), std::string::npos);
    ASSERT_EQ(Set(*sim, {Server(3, 4), "i", "1"}).exitCode, 0);
    ASSERT_EQ(Set(*sim, {Server(4, 4), "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim->value(Server(4, 4)), "i 1");
    // Creating an entry in use is refused and changes nothing.
    EXPECT_NE(Set(*sim, {Server(4, 4), "i", "5"}).err.find("inconsistentValue"), std::string::npos);
    EXPECT_EQ(sim->value(Server(2, 4)), "x 0a000001");
}

// An ARP row is named by an IPv4 address, which its address column reads;
// the MAC takes exactly 6 octets; the table holds 64 rows at most.
TEST_F(ScreeningArpSimTest, ArpRows)
{
    EXPECT_NE(Set(*sim, {Arp(4, "10.1.1"), "i", "5"}).err.find("noCreation"), std::string::npos);
    EXPECT_NE(Set(*sim, {Arp(4, "10.1.1.300"), "i", "5"}).err.find("noCreation"), std::string::npos);
    ASSERT_EQ(Set(*sim, {Arp(4, "10.1.1.1"), "i", "5"}).exitCode, 0);
    EXPECT_EQ(sim->value(Arp(1, "10.1.1.1")), "a 10.1.1.1");
    EXPECT_NE(Set(*sim, {Arp(2, "10.1.1.1"), "x", "001b21"}).err.find("wrongLength"), std::string::npos);
    ASSERT_EQ(Set(*sim, {Arp(2, "10.1.1.1"), "x", "001b21000001", Arp(3, "10.1.1.1"), "x", "8000000000000000"})
                  .exitCode,
              0);
    ASSERT_EQ(Set(*sim, {Arp(4, "10.1.1.1"), "i", "1"}).exitCode, 0);

    // 10.0.0.254 and 10.1.1.1 exist: 62 more fill the table.
    for (int n = 1; n <= 62; ++n)
        ASSERT_TRUE(sim->command("set " + Arp(4, "10.2.0." + std::to_string(n)) + " i 1"));
    EXPECT_NE(Set(*sim, {Arp(4, "10.3.0.1"), "i", "5"}).err.find("resourceUnavailable"), std::string::npos);
    ASSERT_EQ(Set(*sim, {Arp(4, "10.1.1.1"), "i", "6"}).exitCode, 0);
    EXPECT_EQ(Set(*sim, {Arp(4, "10.3.0.1"), "i", "5"}).exitCode, 0);
}
