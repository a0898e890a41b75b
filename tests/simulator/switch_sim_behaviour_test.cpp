// The simulated switch's behaviours that run on their own clock: transfer
// status progression and the demo's link changes.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kPortLink = kPrivate + ".1.13.1.3.";   // .port
const std::string kIfOperStatus = "1.3.6.1.2.1.2.2.1.8.";  // .port

using Clock = std::chrono::steady_clock;

// Reads the objects until `done` says so or the deadline passes; gives the
// distinct values each object took, in order.
std::map<std::string, std::vector<std::string>> Follow(SimulatedSwitch& sim, const std::vector<std::string>& oids,
                                                       const std::function<bool(const std::map<std::string, std::vector<std::string>>&)>& done,
                                                       std::chrono::milliseconds limit)
{
    std::map<std::string, std::vector<std::string>> seen;
    auto deadline = Clock::now() + limit;
    do {
        for (const std::string& o : oids) {
            std::string v = sim.value(o);
            auto& values = seen[o];
            if (values.empty() || values.back() != v)
                values.push_back(v);
        }
    } while (!done(seen) && Clock::now() < deadline);
    return seen;
}

// Catches a transfer whose status skips a stage, never ends, or reports
// success without a file name (and failure with one).
TEST(SwitchSimTransfer, StatusGoesThroughItsStagesToTheResult)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string firmware = kPrivate + ".3.9.";
    const std::string config = kPrivate + ".3.10.";
    ASSERT_TRUE(sim.command("set " + firmware + "4.0 s image.bin"));

    ToolResult r = RunSnmpTool("snmpset", {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                           sim.agent(), firmware + "5.0", "i", "1", config + "5.0", "i", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    auto ended = [&](const auto& seen) {
        for (const auto& [oid, values] : seen)
            if (values.back() == "i 4" || values.back() == "i 3")
                return false;
        return true;
    };
    auto seen = Follow(sim, {firmware + "6.0", config + "6.0"}, ended, std::chrono::seconds(10));
    EXPECT_EQ(seen[firmware + "6.0"], (std::vector<std::string>{"i 4", "i 3", "i 1"})) << "with a file name";
    EXPECT_EQ(seen[config + "6.0"], (std::vector<std::string>{"i 4", "i 3", "i 2"})) << "without a file name";
}

// Catches --live that changes nothing, or a link code and its interface's
// operating status that disagree.
TEST(SwitchSimLive, LinksGoUpAndDownWithTheirInterfaces)
{
    SimulatedSwitch::Options o;
    o.live = true;
    SimulatedSwitch sim(o);
    ASSERT_TRUE(sim.running()) << sim.error();

    std::vector<std::string> links;
    for (int port = 1; port <= 48; ++port)
        links.push_back(kPortLink + std::to_string(port));
    auto changed = [](const auto& seen) {
        for (const auto& [oid, values] : seen)
            if (values.size() > 1)
                return true;
        return false;
    };
    auto seen = Follow(sim, links, changed, std::chrono::seconds(10));
    ASSERT_TRUE(changed(seen)) << "no link changed";
    for (int port = 1; port <= 48; ++port) {
        const auto& values = seen[kPortLink + std::to_string(port)];
        if (values.size() < 2)
            continue;
        bool down = sim.value(kPortLink + std::to_string(port)) == "i 1";
        EXPECT_EQ(sim.value(kIfOperStatus + std::to_string(port)), down ? "i 2" : "i 1") << "port " << port;
    }
}

} // namespace
