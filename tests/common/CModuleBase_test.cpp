#include "CModuleBase.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

// A per-port array of g_nDevicePortNum entries with the given ports set.
std::vector<int> PortArray(std::initializer_list<std::pair<int, int>> portValues)
{
    std::vector<int> a(g_nDevicePortNum, 0);
    for (auto [port, value] : portValues)
        a[port - 1] = value;
    return a;
}

} // namespace

// The split check against a map filled by hand: every way a selection can
// cut an aggregated link, and the selections that must pass.
TEST(CModuleBaseTrunkCheck, SelectionMustNotSplitAnAggregatedLink)
{
    struct Case {
        const char* what;
        bool loaded;
        std::vector<int> links;       // port -> link id
        std::vector<int> selection;   // port -> value
        int expected;
    };
    ResetGlobalSettings();
    const std::vector<int> link12 = PortArray({{1, 1}, {2, 1}});
    const std::vector<int> twoLinks = PortArray({{1, 1}, {2, 1}, {5, 7}, {6, 7}, {7, 7}});
    const std::vector<int> lastPorts = PortArray({{27, 3}, {28, 3}});
    const Case cases[] = {
        // No walk has ended: nothing is known, so nothing may be refused.
        {"not loaded", false, link12, PortArray({{1, 1}}), 1},
        {"port 1 without port 2", true, link12, PortArray({{1, 1}}), 0},
        // The check must look at unselected first members too, not only
        // from the selected port onwards.
        {"port 2 without port 1", true, link12, PortArray({{2, 1}}), 0},
        {"both members", true, link12, PortArray({{1, 1}, {2, 1}}), 1},
        {"neither member", true, link12, PortArray({}), 1},
        // Values differ (e.g. tagged vs untagged): still a split.
        {"members with different values", true, link12, PortArray({{1, 1}, {2, 2}}), 0},
        {"unaggregated port alone", true, link12, PortArray({{3, 1}}), 1},
        {"second link split, first whole", true, twoLinks,
         PortArray({{1, 1}, {2, 1}, {5, 1}, {6, 1}}), 0},
        {"both links whole", true, twoLinks,
         PortArray({{1, 1}, {2, 1}, {5, 1}, {6, 1}, {7, 1}}), 1},
        // The last port of the device belongs to the check (no off-by-one).
        {"last port left out", true, lastPorts, PortArray({{27, 1}}), 0},
        {"last ports together", true, lastPorts, PortArray({{27, 1}, {28, 1}}), 1},
        {"empty map", true, PortArray({}), PortArray({{1, 1}}), 1},
    };
    for (const Case& c : cases) {
        CModuleBase base;
        ASSERT_EQ(base.m_TrunkPorts.size(), size_t(g_nDevicePortNum));
        base.m_TrunkPorts = c.links;
        base.m_bTrunkLoaded = c.loaded ? 1 : 0;
        EXPECT_EQ(base.CheckTrunkMembers(c.selection.data()), c.expected) << c.what;
    }
}

// The map is sized by the port count when the object is built, so a 52-port
// switch has its upper ports checked as well.
TEST(CModuleBaseTrunkCheck, MapFollowsThePortCount)
{
    ResetGlobalSettings();
    g_nDevicePortNum = 52;
    {
        CModuleBase base;
        ASSERT_EQ(base.m_TrunkPorts.size(), 52u);
        EXPECT_EQ(base.m_bTrunkLoaded, 0);
        for (int id : base.m_TrunkPorts)
            EXPECT_EQ(id, 0);
        base.m_TrunkPorts[50] = 4;
        base.m_TrunkPorts[51] = 4;
        base.m_bTrunkLoaded = 1;
        std::vector<int> sel(52, 0);
        sel[51] = 1;
        EXPECT_EQ(base.CheckTrunkMembers(sel.data()), 0);
    }
    ResetGlobalSettings();
}

// A null owner is refused and the earlier owner kept: a dialog that loses
// its owner pointer must not silence the reports of a running walk.
TEST(CModuleBaseOwner, NullOwnerIsRefusedAndKeepsTheEarlierOne)
{
    struct Owner : CModuleOwner {
        void OnModuleNotify(unsigned, int, const void*) override {}
    } owner;
    CModuleBase base;
    EXPECT_EQ(base.m_hOwnerWnd, nullptr);
    EXPECT_EQ(base.SetOwnerWnd(nullptr), 0);
    EXPECT_EQ(base.SetOwnerWnd(&owner), 1);
    EXPECT_EQ(base.SetOwnerWnd(nullptr), 0);
    EXPECT_EQ(base.m_hOwnerWnd, &owner);
}

// ------------------------------------------------ against the simulated switch

namespace {

const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kSysContact = "1.3.6.1.2.1.1.4.0";
const char* const kSysLocation = "1.3.6.1.2.1.1.6.0";
const char* const kSysUpTime = "1.3.6.1.2.1.1.3.0";
const char* const kIfAdminStatus1 = "1.3.6.1.2.1.2.2.1.7.1";
const char* const kTrunkMembers = "1.3.6.1.4.1.32473.10.126.4.1.8.1.3.1.2";
const char* const kVlanName = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1";
const char* const kVlanStatus = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.6";

bool Pump(const std::function<bool()>& done, int maxMs = 10000)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(maxMs))
            return false;
        SnmpProcessCallbacks(50);
    }
    return true;
}

std::string Sub(const char* column, int index)
{
    return std::string(column) + "." + std::to_string(index);
}

// Records what a logic object reports, copying the payload during the call
// as a dialog must.
struct RecordingOwner : CModuleOwner
{
    struct Report { unsigned message; int code; QString id; QString name; };
    std::vector<Report> reports;
    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override
    {
        Report r{nMessage, nCode, {}, {}};
        if (nMessage == WM_VLANLIST_NOTIFY && nCode == VLANLIST_ROW && pData) {
            const auto* row = static_cast<const VLAN_LIST_ROW*>(pData);
            r.id = row->strVlanId;
            r.name = row->strVlanName;
        }
        reports.push_back(r);
    }
};

} // namespace

class ModuleBaseSimTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(nullptr);
        UseSimulatedSwitch(sim);
        g_nDevicePortNum = 52;
        sim.clearLog();
    }
    void TearDown() override
    {
        SnmpProcessCallbacks(0);
        ResetGlobalSettings();
    }
    void UseV3()
    {
        UseSimUser(SimulatedSwitch::Users().front());
    }
    bool WalkTrunks(CModuleBase& base)
    {
        base.GetTrunkInfo();
        return Pump([&] { return base.m_bTrunkLoaded == 1; });
    }
};

// The multi-value set must reach the switch as ONE request whose varbinds
// keep the array order, types and lengths: sorting, splitting or reading a
// value up to its NUL instead of nLen would all show here.
TEST_F(ModuleBaseSimTest, SetListSendsOneRequestWithItemsInOrder)
{
    const unsigned char bitmap[8] = {0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x00};
    const SNMP_SET_ITEM items[] = {
        {QString::fromLatin1(kSysLocation), "lab", 2, 3},
        {QString::fromLatin1(kSysContact), "noc", 2, 3},
        // Only the first digit counts: "25" with length 1 is 2.
        {QString::fromLatin1(kIfAdminStatus1), "25", 1, 1},
        {QString::fromStdString(Sub(kTrunkMembers, 2)), bitmap, 2, 8},
    };
    CModuleBase base;
    EXPECT_EQ(base.SnmpSetList(items, 4), 1);

    const std::vector<SimRequest> sets = sim.sets();
    ASSERT_EQ(sets.size(), 1u);
    const std::vector<SimVarbind>& vb = sets[0].varbinds;
    ASSERT_EQ(vb.size(), 4u);
    EXPECT_EQ(vb[0].oid, kSysLocation);
    EXPECT_EQ(vb[0].value, "lab");
    EXPECT_EQ(vb[1].oid, kSysContact);
    EXPECT_EQ(vb[1].value, "noc");
    EXPECT_EQ(vb[2].oid, kIfAdminStatus1);
    EXPECT_EQ(vb[2].type, "INTEGER");
    EXPECT_EQ(vb[2].value, "2");
    EXPECT_EQ(vb[3].oid, Sub(kTrunkMembers, 2));
    EXPECT_EQ(vb[3].type, "OCTET STRING");
    EXPECT_EQ(vb[3].hex, "0000003000000000");
    EXPECT_EQ(sets[0].community, SimulatedSwitch::kWriteCommunity);
    EXPECT_EQ(sim.value(kIfAdminStatus1), "i 2");
}

// One malformed item refuses the whole list before anything is sent: a
// list that skipped the item would write the others alone, a partial
// configuration the user never asked for. The next list goes out with its
// own varbinds only (nothing left over from the refused one).
TEST_F(ModuleBaseSimTest, SetListWithOneMalformedItemSendsNothing)
{
    const char* const location = "lab";
    const char* const contact = "noc";
    struct Case { const char* what; SNMP_SET_ITEM bad; };
    const Case cases[] = {
        {"no value", {QString::fromLatin1(kSysName), nullptr, 2, 3}},
        {"negative length", {QString::fromLatin1(kSysName), "core", 2, -1}},
        {"OID with a letter", {QStringLiteral("1.3.6.1.2.1.1.x.0"), "core", 2, 4}},
        {"empty OID", {QString(), "core", 2, 4}},
        {"integer that is no number", {QString::fromLatin1(kIfAdminStatus1), "up", 1, 2}},
        {"unknown type code", {QString::fromLatin1(kSysName), "core", 7, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim.clearLog();
        const SNMP_SET_ITEM items[] = {
            {QString::fromLatin1(kSysLocation), location, 2, 3},
            c.bad,
            {QString::fromLatin1(kSysContact), contact, 2, 3},
        };
        CModuleBase base;
        EXPECT_EQ(base.SnmpSetList(items, 3), 0);
        EXPECT_TRUE(sim.requests().empty());

        EXPECT_EQ(base.SnmpSetList(&items[2], 1), 1);
        const std::vector<SimRequest> sets = sim.sets();
        ASSERT_EQ(sets.size(), 1u);
        ASSERT_EQ(sets[0].varbinds.size(), 1u);
        EXPECT_EQ(sets[0].varbinds[0].oid, kSysContact);
    }
}

// A write the switch refuses (error status set) is a failure, for the
// single set as for the list: reporting it as done would tell the user a
// setting was stored that the switch never took.
TEST_F(ModuleBaseSimTest, RefusedSetGivesZero)
{
    struct Case { const char* what; const char* fault; const char* oid; const char* value; };
    const Case cases[] = {
        {"read-only object", nullptr, kSysUpTime, "5"},
        {"value out of range", nullptr, kIfAdminStatus1, "9"},
        {"switch answers genErr", "error 1.3.6.1.2.1.2.2.1.7.1 genErr", kIfAdminStatus1, "2"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("clear"));
        if (c.fault) {
            ASSERT_TRUE(sim.command(c.fault)) << c.what;
        }
        CModuleBase base;
        EXPECT_EQ(base.SnmpSet(QString::fromLatin1(c.oid), c.value), 0) << c.what;
        const SNMP_SET_ITEM item(QString::fromLatin1(c.oid), c.value, 1, 1);
        EXPECT_EQ(base.SnmpSetList(&item, 1), 0) << c.what;
    }
    EXPECT_EQ(sim.value(kIfAdminStatus1), "i 1");

    // And an accepted one is a success.
    ASSERT_TRUE(sim.command("clear"));
    CModuleBase base;
    EXPECT_EQ(base.SnmpSet(QString::fromLatin1(kIfAdminStatus1), "2"), 1);
    EXPECT_EQ(sim.value(kIfAdminStatus1), "i 2");
}

// A get that brings no value fails and leaves the caller's pointer alone,
// under v1 (error status) and v3 (exception values); a successful get's
// text outlives the response it came in (the sanitizer build catches a
// dangling pointer).
TEST_F(ModuleBaseSimTest, GetFailsCleanlyAndItsTextOutlivesTheResponse)
{
    struct Case { const char* what; bool v3; const char* fault; const char* oid; };
    const Case cases[] = {
        {"v1 missing object", false, nullptr, "1.3.6.1.4.1.32473.10.126.4.1.99.0"},
        {"v3 missing object (exception value)", true, nullptr, "1.3.6.1.4.1.32473.10.126.4.1.99.0"},
        {"v3 missing instance", true, nullptr, "1.3.6.1.2.1.1.5.7"},
        {"error status", false, "error 1.3.6.1.2.1.1.5.0 genErr", kSysName},
        {"no answer", false, "drop all", kSysName},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("clear"));
        UseSimulatedSwitch(sim);
        if (c.fault && std::string(c.fault) == "drop all")
            UseLostAnswerTimeout();
        if (c.v3)
            UseV3();
        if (c.fault) {
            ASSERT_TRUE(sim.command(c.fault)) << c.what;
        }
        CModuleBase base;
        char untouched[] = "untouched";
        char* value = untouched;
        EXPECT_EQ(base.SnmpGet(QString::fromLatin1(c.oid), &value, 0), 0) << c.what;
        EXPECT_EQ(value, untouched) << c.what;
    }

    ASSERT_TRUE(sim.command("clear"));
    CModuleBase base;
    char* value = nullptr;
    ASSERT_EQ(base.SnmpGet(QString::fromLatin1(kSysName), &value, 0), 1);
    EXPECT_STREQ(value, "PQS-4400-52");
}

// A link removed on the switch must disappear from the map on the next
// walk; otherwise its former ports stay locked together and valid
// selections are refused.
TEST_F(ModuleBaseSimTest, ReWalkForgetsARemovedLink)
{
    CModuleBase base;
    EXPECT_EQ(base.m_bTrunkLoaded, 0);
    ASSERT_TRUE(WalkTrunks(base));
    EXPECT_EQ(base.m_TrunkPorts[0], 1);
    EXPECT_EQ(base.m_TrunkPorts[1], 1);
    std::vector<int> sel(52, 0);
    sel[0] = 1;
    EXPECT_EQ(base.CheckTrunkMembers(sel.data()), 0);

    ASSERT_TRUE(sim.command("set " + Sub(kTrunkMembers, 1) + " x 0000000000000000"));
    ASSERT_TRUE(WalkTrunks(base));
    for (int id : base.m_TrunkPorts)
        EXPECT_EQ(id, 0);
    EXPECT_EQ(base.CheckTrunkMembers(sel.data()), 1);
}

// Port bitmaps are octets with a length: a 0x00 octet in front of member
// ports must not end the bitmap (reading it as text would lose every port
// after it), the row index is the link id, and ports above the device's
// count are ignored without writing past the map.
TEST_F(ModuleBaseSimTest, TrunkBitmapWithZeroOctets)
{
    struct Case { int portCount; std::vector<int> expectedPorts; };
    const Case cases[] = {
        {52, {27, 28, 41}},
        {28, {27, 28}},
    };
    ASSERT_TRUE(sim.command("set " + Sub(kTrunkMembers, 1) + " x 0000000000000000"));
    ASSERT_TRUE(sim.command("set " + Sub(kTrunkMembers, 2) + " x 0000003000800000"));
    for (const Case& c : cases) {
        g_nDevicePortNum = c.portCount;
        CModuleBase base;
        ASSERT_TRUE(WalkTrunks(base)) << c.portCount;
        std::vector<int> expected(c.portCount, 0);
        for (int p : c.expectedPorts)
            expected[p - 1] = 2;
        EXPECT_EQ(base.m_TrunkPorts, expected) << c.portCount;
    }
}

// A walk that gets no answer still ends (the map counts as loaded with what
// arrived: nothing), so a dialog waiting for it is not stuck; the links of
// an earlier walk do not survive as if the switch had confirmed them.
TEST_F(ModuleBaseSimTest, TrunkWalkWithoutAnswerEnds)
{
    CModuleBase base;
    ASSERT_TRUE(WalkTrunks(base));
    ASSERT_EQ(base.m_TrunkPorts[0], 1);
    ASSERT_TRUE(sim.command("drop all"));
    ASSERT_TRUE(WalkTrunks(base));
    EXPECT_EQ(base.m_bTrunkLoaded, 1);
    EXPECT_EQ(base.m_TrunkPorts, std::vector<int>(52, 0));
}

// A walk cut short by an error keeps the links that arrived before it and
// counts as loaded: their ports are checked (0 for a split), which no
// "not loaded" map could give. Link 1 (ports 1, 2) arrives; the step to
// link 2 is answered genErr.
TEST_F(ModuleBaseSimTest, TrunkWalkCutShortKeepsTheLinksReceived)
{
    ASSERT_TRUE(sim.command("set " + Sub(kTrunkMembers, 2) + " x 0000000c00000000"));
    ASSERT_TRUE(sim.command("error " + Sub(kTrunkMembers, 2) + " genErr"));
    CModuleBase base;
    ASSERT_TRUE(WalkTrunks(base));
    EXPECT_EQ(base.m_TrunkPorts[0], 1);
    EXPECT_EQ(base.m_TrunkPorts[1], 1);
    EXPECT_EQ(base.m_TrunkPorts[28], 0);   // link 2 never arrived
    std::vector<int> sel(52, 0);
    sel[0] = 1;
    EXPECT_EQ(base.CheckTrunkMembers(sel.data()), 0);
    sel[1] = 1;
    EXPECT_EQ(base.CheckTrunkMembers(sel.data()), 1);
}

// The VLAN walk reports every row with its id and name to the owner, then
// its end, and keeps the rows keyed by their index.
TEST_F(ModuleBaseSimTest, VlanWalkReportsRowsAndEnd)
{
    ASSERT_TRUE(sim.command("set " + Sub(kVlanName, 10) + " s lab"));
    ASSERT_TRUE(sim.command("set " + Sub(kVlanStatus, 10) + " i 1"));
    RecordingOwner owner;
    CModuleBase base;
    ASSERT_EQ(base.SetOwnerWnd(&owner), 1);
    EXPECT_EQ(base.GetVlanTable(), 0);
    ASSERT_TRUE(Pump([&] {
        return !owner.reports.empty() && owner.reports.back().code == VLANLIST_END;
    }));
    ASSERT_EQ(owner.reports.size(), 3u);
    EXPECT_EQ(owner.reports[0].message, unsigned(WM_VLANLIST_NOTIFY));
    EXPECT_EQ(owner.reports[0].id, QStringLiteral("1"));
    EXPECT_EQ(owner.reports[0].name, QStringLiteral("default"));
    EXPECT_EQ(owner.reports[1].id, QStringLiteral("10"));
    EXPECT_EQ(owner.reports[1].name, QStringLiteral("lab"));
    EXPECT_EQ(base.m_arrVlanIndex, QStringList({QStringLiteral("1"), QStringLiteral("10")}));
    EXPECT_EQ(base.m_arrVlanColumn1, QStringList({QStringLiteral("default"), QStringLiteral("lab")}));
    EXPECT_EQ(base.m_arrVlanColumn6, QStringList({QStringLiteral("1"), QStringLiteral("1")}));
}

// The name lookup reads from the switch before it answers: a slow switch
// (answers after 200 ms) must still give the name rather than "not found",
// and only an exact VLAN id names a row.
TEST_F(ModuleBaseSimTest, FindVlanNameWaitsForTheSwitch)
{
    ASSERT_TRUE(sim.command("set " + Sub(kVlanName, 10) + " s lab"));
    ASSERT_TRUE(sim.command("set " + Sub(kVlanStatus, 10) + " i 1"));
    ASSERT_TRUE(sim.command("delay 200"));
    struct Case { const char* vid; const char* name; };
    const Case cases[] = {
        {"1", "default"}, {"10", "lab"}, {"11", ""}, {"01", ""}, {"1.0", ""}, {"", ""},
    };
    CModuleBase base;
    for (const Case& c : cases)
        EXPECT_EQ(base.FindVlanColumn1(QString::fromLatin1(c.vid)), QString::fromLatin1(c.name)) << c.vid;
}
