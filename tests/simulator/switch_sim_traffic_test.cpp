// The simulated switch's storm control, bandwidth control and traffic
// segmentation objects over SNMP with net-snmp's own tools: what a data file
// gives at start and the limits the switch keeps on the rates.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kStorm = kPrivate + ".13.3.";
const std::string kRate = kPrivate + ".13.1.2.1.";
const std::string kSeg = kPrivate + ".14.9.";

class SwitchSimTraffic : public SharedSimulatedSwitchTest
{
protected:
    static ToolResult Set(const std::vector<std::string>& varbinds)
    {
        std::vector<std::string> args = {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                         sim->agent()};
        args.insert(args.end(), varbinds.begin(), varbinds.end());
        return RunSnmpTool("snmpset", args);
    }
};

} // namespace

// The objects as a fresh switch has them: storm control off on broadcast at
// 1024 kbit/s, the rate table with its port column, segmentation off with
// every port free to forward to every port (8 octets on 52 ports).
TEST_F(SwitchSimTraffic, StartValues)
{
    EXPECT_EQ(sim->value(kStorm + "1.0"), "i 2");
    EXPECT_EQ(sim->value(kStorm + "2.0"), "i 1");
    EXPECT_EQ(sim->value(kStorm + "3.0"), "i 1024");
    EXPECT_EQ(sim->value(kRate + "1.52"), "i 52");
    EXPECT_EQ(sim->value(kRate + "2.52"), "i 0");
    EXPECT_EQ(sim->value(kRate + "3.1"), "i 0");
    EXPECT_EQ(sim->value(kSeg + "1.0"), "i 2");
    EXPECT_EQ(sim->value(kSeg + "2.1.1.7"), "i 7");
    EXPECT_EQ(sim->value(kSeg + "2.1.2.7"), "x fffffffffffff000");
}

// The threshold is N x 64 with N 1 to 16000; a rate is 0 (no limit) or 64
// to 1024000; a refused varbind changes nothing of its request.
TEST_F(SwitchSimTraffic, RatesKeepTheirUnits)
{
    struct Case {
        const char* what;
        std::vector<std::string> varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {"threshold 128", {kStorm + "3.0", "i", "128"}, true},
        {"threshold 100: not a multiple of 64", {kStorm + "3.0", "i", "100"}, false},
        {"threshold 0", {kStorm + "3.0", "i", "0"}, false},
        {"threshold 1024064: N above 16000", {kStorm + "3.0", "i", "1024064"}, false},
        {"rate 0: no limit", {kRate + "2.3", "i", "0"}, true},
        {"rates 64 and 1024000", {kRate + "3.3", "i", "64", kRate + "2.4", "i", "1024000"}, true},
        {"rate 63 with a good one", {kRate + "3.5", "i", "640", kRate + "2.5", "i", "63"}, false},
        {"rate 1024001", {kRate + "3.6", "i", "1024001"}, false},
        {"forwarding ports of port 3", {kSeg + "2.1.2.3", "x", "2000000000000000"}, true},
    };
    for (const Case& c : cases) {
        ToolResult r = Set(c.varbinds);
        EXPECT_EQ(r.exitCode == 0, c.accepted) << c.what << ": " << r.err;
    }
    EXPECT_EQ(sim->value(kStorm + "3.0"), "i 128");
    EXPECT_EQ(sim->value(kRate + "2.4"), "i 1024000");
    EXPECT_EQ(sim->value(kRate + "3.5"), "i 0");
    EXPECT_EQ(sim->value(kSeg + "2.1.2.3"), "x 2000000000000000");
}
