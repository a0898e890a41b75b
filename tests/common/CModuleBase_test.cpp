#include "CModuleBase.h"
#include "GlobalSettings.h"

#include <gtest/gtest.h>

#include <initializer_list>
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
