#include "CProL3FunLogic.h"
#include "TestApp.h"

#include <gtest/gtest.h>

// The index forms: a wrong form would name another row or an OID the switch
// does not have.
TEST(L3Index, Forms)
{
    CStaticARPInfo arp;
    arp.strAddress = "192.168.0.5";
    arp.strMac = "00-0a-ff-00-00-01";
    EXPECT_EQ(CProL3FunLogic::StaticARPIndex(arp), "192.168.0.5.0.10.255.0.0.1");

    CStaticRouteInfo route;
    route.strDestination = "10.0.0.0";
    route.strMask = "255.0.0.0";
    route.strGateway = "192.168.1.254";
    const QString routeIndex = CProL3FunLogic::StaticRouteIndex(route);
    EXPECT_EQ(routeIndex, "10.0.0.0.255.0.0.0.192.168.1.254");
    EXPECT_EQ(routeIndex.split('.').size(), 12);

    CIPInterfaceInfo ip;
    ip.strIndex = "2";
    ip.strVlanId = "10";
    EXPECT_EQ(CProL3FunLogic::IPInterfaceIndex(ip), "2.10");
}

// Malformed parts give no index at all, so nothing is written: no VLAN read
// (an empty VLAN id) must not become "2." and a short MAC must not become an
// index of another length.
TEST(L3Index, MalformedPartsGiveNoIndex)
{
    const struct {
        const char* index;
        const char* vid;
    } interfaces[] = {{"2", ""}, {"", "10"}, {"5", "10"}, {"2", "4095"}, {"2", " 10"}, {"2", "10abc"}};
    for (const auto& c : interfaces) {
        CIPInterfaceInfo ip;
        ip.strIndex = c.index;
        ip.strVlanId = c.vid;
        EXPECT_TRUE(CProL3FunLogic::IPInterfaceIndex(ip).isEmpty()) << c.index << "/" << c.vid;
    }
    for (const char* mac : {"00-0a-ff-00-00", "00-0a-ff-00-00-01-02", "", "zz-0a-ff-00-00-01"}) {
        CStaticARPInfo arp;
        arp.strAddress = "192.168.0.5";
        arp.strMac = mac;
        EXPECT_TRUE(CProL3FunLogic::StaticARPIndex(arp).isEmpty()) << mac;
    }
    CStaticRouteInfo route;
    route.strDestination = "10.0.0";
    route.strMask = "255.0.0.0";
    route.strGateway = "192.168.1.254";
    EXPECT_TRUE(CProL3FunLogic::StaticRouteIndex(route).isEmpty());
}

// The subnet check takes the wider mask of the two.
TEST(L3Subnets, Overlap)
{
    const struct {
        const char *address, *mask, *rowAddress, *rowMask;
        bool overlap;
    } cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.0.1", "255.255.0.0", true},   // the row's /16 is wider
        {"10.1.1.1", "255.255.255.0", "10.1.2.1", "255.255.255.0", false},
        {"10.1.2.9", "255.255.255.0", "10.1.2.1", "255.255.255.0", true},
        {"10.1.1.1", "255.0.0.0", "10.200.2.1", "255.255.255.0", true},          // the new /8 is wider
        {"192.168.1.10", "255.255.255.248", "192.168.1.17", "255.255.255.248", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProL3FunLogic::SubnetsOverlap(c.address, c.mask, c.rowAddress, c.rowMask), c.overlap)
            << c.address << "/" << c.mask << " vs " << c.rowAddress << "/" << c.rowMask;
}

// Route destinations are networks or hosts: a network's zero host part is
// accepted; other address checks stay.
TEST(L3Routes, Destinations)
{
    const struct {
        const char *destination, *mask;
        bool ok;
    } cases[] = {
        {"10.0.0.0", "255.0.0.0", true},
        {"192.168.1.0", "255.255.255.0", true},
        {"172.16.0.0", "255.240.0.0", true},
        {"192.168.1.5", "255.255.255.0", true},     // a host
        {"192.168.1.5", "255.255.255.255", true},
        {"10.1.0.0", "255.0.0.0", false},            // host part not zero, and not a host either
        {"192.168.1.0", "255.255.255.255", false},   // /32: must be a host
        {"0.0.0.0", "0.0.0.0", false},
        {"127.0.0.0", "255.0.0.0", false},
        {"224.0.0.0", "240.0.0.0", false},
        {"10.0.0.0", "255.0.255.0", false},          // not a mask
        {"10.0.0", "255.0.0.0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProL3FunLogic::ValidateRouteDestination(c.destination, c.mask), c.ok)
            << c.destination << "/" << c.mask;
}

// An interface create is three requests and its undo one destroy; a record
// the switch could not take adds nothing.
TEST(L3Writes, InterfaceStepsAndRefusedRecords)
{
    EnsureTestApp();
    CProL3FunLogic logic;
    CSetSequence writes(logic.m_cCommonSNMPSet), undo(logic.m_cCommonSNMPSet);
    CIPInterfaceInfo ip{"2", "mgmt", "10", "", "192.168.5.1", "255.255.255.0", "1", "", ""};
    ASSERT_TRUE(logic.SetIPInterface(ip, 1, writes, &undo));
    EXPECT_EQ(writes.StepCount(), 3);
    EXPECT_EQ(undo.StepCount(), 1);

    writes.Clear();
    ip.strVlanId.clear();
    EXPECT_FALSE(logic.SetIPInterface(ip, 1, writes));
    ip.strVlanId = "10";
    ip.strAdminState = "3";
    EXPECT_FALSE(logic.SetIPInterface(ip, 1, writes));
    EXPECT_FALSE(logic.SetIPInterface(ip, 2, writes));
    EXPECT_EQ(writes.StepCount(), 0);

    CStaticRouteInfo route{"", "10.0.0.0", "255.0.0.0", "10.90.90.254", "65536", "", "0", "", ""};
    EXPECT_FALSE(logic.SetStaticRoute(route, 1, writes));
    route.strMetric = "65535";
    EXPECT_TRUE(logic.SetStaticRoute(route, 1, writes, &undo));
    EXPECT_EQ(writes.StepCount(), 2);
}
