#include "CCommonSNMP.h"
#include "CEditEXIPV6.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

const char* const kTypeOid = "1.3.6.1.4.1.32473.10.126.4.1.99.1.0";
const char* const kAddressOid = "1.3.6.1.4.1.32473.10.126.4.1.99.2.0";
const char* const kInterfaceOid = "1.3.6.1.4.1.32473.10.126.4.1.99.3.0";

class AddressEditSessionTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        EnsureTestApp();
        SnmpInit(nullptr);
        UseSimulatedSwitch(sim);
        // Three writable objects to receive what the edit adds.
        ASSERT_TRUE(sim.command(std::string("set ") + kTypeOid + " i 0"));
        ASSERT_TRUE(sim.command(std::string("set ") + kAddressOid + " x \"\""));
        ASSERT_TRUE(sim.command(std::string("set ") + kInterfaceOid + " s \"\""));
        sim.clearLog();
    }
    void TearDown() override { ResetGlobalSettings(); }

    // Prepares a set on `session` with everything the edit offers.
    static void AddEverything(const CEditEXIPV6& edit, CCommonSNMP& session)
    {
        EXPECT_TRUE(session.Prepare(3));
        edit.AddAddressTypeValue(session, QString::fromLatin1(kTypeOid));
        edit.AddAddressValue(session, QString::fromLatin1(kAddressOid));
        edit.AddInterfaceNameValue(session, QString::fromLatin1(kInterfaceOid));
    }

    // Adds what the edit offers for `text` to one set and sends it; the
    // varbinds the switch received, in order.
    std::vector<SimVarbind> WriteAddress(const QString& text)
    {
        CEditEXIPV6 edit;
        edit.setText(text);
        CCommonSNMP session;
        AddEverything(edit, session);
        CSnmp* response = nullptr;
        EXPECT_EQ(session.SendSync(response), 0) << text.toStdString();
        int status = -1, index = -1;
        if (response) {
            response->getErrorStatus(&status, &index);
            delete response;
        }
        EXPECT_EQ(status, 0);
        const std::vector<SimRequest> sets = sim.sets();
        EXPECT_EQ(sets.size(), 1u);
        return sets.empty() ? std::vector<SimVarbind>{} : sets.back().varbinds;
    }
};

} // namespace

// The edit's values must reach the switch as the typed objects it expects:
// a fake session cannot show that the octets survive the real session and
// the wire (e.g. an address cut at its first 0x00 octet, or sent as text).
TEST_F(AddressEditSessionTest, LinkLocalAddressReachesTheSwitchAsTypeOctetsAndInterface)
{
    const std::vector<SimVarbind> vbs = WriteAddress(QStringLiteral("FE80::1%Eth0"));
    ASSERT_EQ(vbs.size(), 3u);
    EXPECT_EQ(vbs[0].oid, kTypeOid);
    EXPECT_EQ(vbs[0].type, "INTEGER");
    EXPECT_EQ(vbs[0].value, "2");
    EXPECT_EQ(vbs[1].type, "OCTET STRING");
    EXPECT_EQ(vbs[1].hex, "fe800000000000000000000000000001");
    EXPECT_EQ(vbs[2].type, "OCTET STRING");
    EXPECT_EQ(vbs[2].value, "Eth0");   // the interface name keeps its case
}

// An IPv4 address goes out as type 1 and four octets, with no interface
// name at all.
TEST_F(AddressEditSessionTest, IPv4AddressReachesTheSwitchAsFourOctets)
{
    const std::vector<SimVarbind> vbs = WriteAddress(QStringLiteral("192.168.0.10"));
    ASSERT_EQ(vbs.size(), 2u);
    EXPECT_EQ(vbs[0].value, "1");
    EXPECT_EQ(vbs[1].hex, "c0a8000a");
}

// Over a real session: a link-local text left invalid after a valid one
// adds nothing, so the prepared set has no varbind and nothing reaches the
// switch (a stale interface name or address would be written alone).
TEST_F(AddressEditSessionTest, InvalidLinkLocalAfterValidSendsNothing)
{
    for (const char* invalid : {"fe80::1", "fe80::1%abcdefghijklmnopqrstu"}) {
        SCOPED_TRACE(invalid);
        CEditEXIPV6 edit;
        edit.setText(QStringLiteral("fe80::1%eth0"));
        ASSERT_TRUE(edit.IsValid());
        edit.setText(QString::fromLatin1(invalid));
        CCommonSNMP session;
        AddEverything(edit, session);
        CSnmp* response = nullptr;
        EXPECT_EQ(session.SendSync(response), -1);
        EXPECT_EQ(response, nullptr);
        EXPECT_TRUE(sim.requests().empty());
    }
}
