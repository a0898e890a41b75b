// The project's own SNMP layer against the simulated switch: the reads and
// writes the features make, as the switch sees them.

#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kVlan = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1";

std::string Text(CSnmp* response, int i)
{
    char* oid = nullptr;
    char* value = nullptr;
    if (response->getValueText(i, &oid, &value) != 0 || !value)
        return {};
    return value;
}

class SwitchSimSnmpLayer : public SimulatedSwitchTest
{
protected:
    static void SetUpTestSuite() { SnmpInit(nullptr); }
};

// Catches a session that does not reach the switch with the community it
// was given, or mangles a scalar's value.
TEST_F(SwitchSimSnmpLayer, V1GetOfAScalar)
{
    CSnmpV1 request(SNMP_PDU_GET);
    request.setCommunity(SimulatedSwitch::kReadCommunity);
    request.addValue("1.3.6.1.2.1.1.5.0", SNMP_TYPE_NULL, nullptr);
    CSnmp* response = nullptr;
    ASSERT_EQ(request.send(sim.agent().c_str(), response, 2000), 0);
    std::unique_ptr<CSnmp> owned(response);
    int status = -1;
    int index = -1;
    response->getErrorStatus(&status, &index);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Text(response, 0), "PQS-4400-52");
    EXPECT_EQ(sim.requests().back().community, "tundra");
}

// The VLAN list's walk of name and row status: catches a walker that stops
// early, loses the row index or runs past the columns. A VLAN created over
// SNMP first shows that the walk sees rows made at run time.
TEST_F(SwitchSimSnmpLayer, WalkOfTheVlanTable)
{
    CSnmpV1 create(SNMP_PDU_SET);
    create.setCommunity(SimulatedSwitch::kWriteCommunity);
    create.addValue((kVlan + ".6.20").c_str(), SNMP_TYPE_INTEGER, "4");
    create.addValue((kVlan + ".1.20").c_str(), SNMP_TYPE_OCTETS, "voice");
    CSnmp* created = nullptr;
    ASSERT_EQ(create.send(sim.agent().c_str(), created, 2000), 0);
    delete created;

    CSnmpV1 request(SNMP_PDU_GETNEXT);
    request.setCommunity(SimulatedSwitch::kReadCommunity);
    request.addValue((kVlan + ".1").c_str(), SNMP_TYPE_NULL, nullptr);
    request.addValue((kVlan + ".6").c_str(), SNMP_TYPE_NULL, nullptr);
    CSnmpTable table(&request);
    std::vector<std::string> rows;
    for (int step = 0; step < 10; ++step) {
        CSnmp* response = nullptr;
        int result = table.getNext(sim.agent().c_str(), response, 2000);
        if (result != 0)
            break;
        std::unique_ptr<CSnmp> owned(response);
        char* index = nullptr;
        ASSERT_EQ(table.getIndex(0, response, &index), 0);
        rows.push_back(std::string(index) + " " + Text(response, 0) + " " + Text(response, 1));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{".1 default 1", ".20 voice 1"}));
}

// Port bitmaps travel as octets: catches a layer that sends them as text or
// cuts them at a zero octet.
TEST_F(SwitchSimSnmpLayer, PortBitmapSetArrivesAsOctets)
{
    const unsigned char egress[12] = {0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    CSnmpV1 request(SNMP_PDU_SET);
    request.setCommunity(SimulatedSwitch::kWriteCommunity);
    request.addValue((kVlan + ".2.1").c_str(), SNMP_TYPE_OCTETS, egress, sizeof egress);
    CSnmp* response = nullptr;
    ASSERT_EQ(request.send(sim.agent().c_str(), response, 2000), 0);
    delete response;
    std::vector<SimRequest> sets = sim.sets();
    ASSERT_EQ(sets.size(), 1u);
    ASSERT_EQ(sets[0].varbinds.size(), 1u);
    EXPECT_EQ(sets[0].varbinds[0].hex, "c00000000000000000000001");
    EXPECT_EQ(sim.value(kVlan + ".2.1"), "x c00000000000000000000001");
}

// An integer given as octets with a length (how set items carry their
// values) goes out as the number those octets spell: "25" with length 1 is
// 2 on the wire. A layer that read the text up to its NUL would send 25,
// one that sent the octets as they are would send an OCTET STRING; both
// show only in what the switch received.
TEST_F(SwitchSimSnmpLayer, IntegerGivenAsOctetsGoesOutAsItsNumber)
{
    struct Case { const char* text; int length; const char* wire; };
    const Case cases[] = {{"25", 1, "2"}, {"1", 1, "1"}, {"4094", 4, "4094"}, {"-7x", 2, "-7"}};
    const std::string pvid1 = "1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1.1";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sim.clearLog();
        CSnmpV1 request(SNMP_PDU_SET);
        request.setCommunity(SimulatedSwitch::kWriteCommunity);
        ASSERT_EQ(request.addValue(pvid1.c_str(), SNMP_TYPE_INTEGER, c.text, c.length), 0);
        CSnmp* response = nullptr;
        ASSERT_EQ(request.send(sim.agent().c_str(), response, 2000), 0);
        delete response;
        const std::vector<SimRequest> sets = sim.sets();
        ASSERT_EQ(sets.size(), 1u);
        ASSERT_EQ(sets[0].varbinds.size(), 1u);
        EXPECT_EQ(sets[0].varbinds[0].type, "INTEGER");
        EXPECT_EQ(sets[0].varbinds[0].value, c.wire);
    }
}

} // namespace
