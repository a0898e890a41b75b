// The simulated switch's RMON statistics (etherStatsTable with EntryStatus:
// createRequest, underCreation, valid, invalid; the index column from the
// index; counters of valid entries that grow) and the telnet, web and RMON
// control objects of the second private arc.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kStats = "1.3.6.1.2.1.16.1.1.1.";

ToolResult Set(const SimulatedSwitch& sim, const std::vector<std::string>& varbinds, const char* version = "-v2c")
{
    std::vector<std::string> args = {version, "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0", sim.agent()};
    args.insert(args.end(), varbinds.begin(), varbinds.end());
    return RunSnmpTool("snmpset", args);
}

// Polls `done` until it holds or the deadline passes.
bool Eventually(const std::function<bool()>& done, int deadlineMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

class RmonSimTest : public SharedSimulatedSwitchTest
{
};

} // namespace

// createRequest with its data source and owner in one request makes the
// row under creation, with its index column; valid needs the data source;
// invalid removes the row. Refusals: a second createRequest, valid on a row
// without a data source, and a status that EntryStatus does not have.
TEST_F(RmonSimTest, EntryStatusLifeCycle)
{
    ToolResult r = Set(*sim, {kStats + "21.60", "i", "2", kStats + "2.60", "o", "1.3.6.1.2.1.2.2.1.1.7", kStats + "20.60",
                              "s", "Orvane"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(sim->value(kStats + "21.60"), "i 3");
    EXPECT_EQ(sim->value(kStats + "1.60"), "i 60");
    EXPECT_EQ(sim->value(kStats + "2.60"), "o 1.3.6.1.2.1.2.2.1.1.7");
    EXPECT_EQ(sim->value(kStats + "3.60"), "c 0");

    r = Set(*sim, {kStats + "21.60", "i", "2"});
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    r = Set(*sim, {kStats + "21.60", "i", "7"});
    EXPECT_NE(r.err.find("wrongValue"), std::string::npos) << r.err;

    ASSERT_EQ(Set(*sim, {kStats + "21.60", "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim->value(kStats + "21.60"), "i 1");

    // Without a data source the entry cannot become valid.
    ASSERT_EQ(Set(*sim, {kStats + "21.61", "i", "2"}).exitCode, 0);
    EXPECT_EQ(sim->value(kStats + "21.61"), "i 3");
    r = Set(*sim, {kStats + "21.61", "i", "1"});
    EXPECT_NE(r.err.find("inconsistentValue"), std::string::npos) << r.err;
    EXPECT_EQ(sim->value(kStats + "21.61"), "i 3");

    ASSERT_EQ(Set(*sim, {kStats + "21.60", "i", "4"}).exitCode, 0);
    EXPECT_EQ(sim->value(kStats + "21.60"), "");
    EXPECT_EQ(sim->value(kStats + "2.60"), "");
    // Over v1 a refusal is badValue.
    r = Set(*sim, {kStats + "21.1", "i", "2"}, "-v1");
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
}

// A valid entry's counters grow with time; an entry under creation's stay.
TEST_F(RmonSimTest, CountersOfValidEntriesGrow)
{
    ASSERT_EQ(Set(*sim, {kStats + "21.70", "i", "2", kStats + "2.70", "o", "1.3.6.1.2.1.2.2.1.1.3"}).exitCode, 0);
    const std::string first = sim->value(kStats + "5.3");
    ASSERT_EQ(first.rfind("c ", 0), 0u) << first;
    EXPECT_TRUE(Eventually([&] { return sim->value(kStats + "5.3") != first; }, 5000));
    EXPECT_GT(std::stoll(sim->value(kStats + "5.3").substr(2)), std::stoll(first.substr(2)));
    EXPECT_EQ(sim->value(kStats + "5.70"), "c 0");
}

// The services' objects: the telnet session statuses and time-out, the web
// table with its two-part index, and the RMON control scalars, writable
// within their ranges.
TEST_F(RmonSimTest, ServiceObjects)
{
    const std::string arc = "1.3.6.1.4.1.32473.10.94.89.89.";
    EXPECT_EQ(sim->value(arc + "58.4.1.4.1"), "i 1");
    EXPECT_EQ(sim->value(arc + "58.4.1.4.2"), "i 2");
    EXPECT_EQ(sim->value(arc + "66.30.1.2.1.5"), "x 68747470");   // "http"
    EXPECT_EQ(sim->value(arc + "49.3.0"), "i 2000");
    ASSERT_EQ(Set(*sim, {arc + "58.3.0", "i", "12", arc + "66.30.1.3.2.7", "i", "3", arc + "49.8.0", "i", "200"}).exitCode, 0);
    EXPECT_EQ(sim->value(arc + "58.3.0"), "i 12");
    ToolResult r = Set(*sim, {arc + "66.30.1.3.1.5", "i", "1"});
    EXPECT_NE(r.err.find("wrongValue"), std::string::npos) << r.err;
    r = Set(*sim, {arc + "49.3.0", "i", "5"});
    EXPECT_NE(r.err.find("notWritable"), std::string::npos) << r.err;
}
