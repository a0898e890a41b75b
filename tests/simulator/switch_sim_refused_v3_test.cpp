// The simulated switch's request log for v3 requests refused for their user
// or key: tests that check what a manager sent must see those too.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

namespace {

const std::string kSysName = "1.3.6.1.2.1.1.5.0";

std::vector<std::string> V3Args(const SimulatedSwitch& sim, const SimUser& u)
{
    std::vector<std::string> a = {"-v3", "-u", u.name, "-l", u.level, "-t", "1", "-r", "0"};
    if (u.authProtocol)
        a.insert(a.end(), {"-a", u.authProtocol, "-A", u.authPass});
    a.push_back(sim.agent());
    a.push_back(kSysName);
    return a;
}

using SwitchSimRefusedV3 = SimulatedSwitchTest;

} // namespace

// Catches refused v3 requests missing from the log, or logged as answered:
// a wrong authentication key and an unknown user each give one line, not
// answered, marked as answered by a report with its reason; a request of
// the right user afterwards is logged as answered.
TEST_F(SwitchSimRefusedV3, WrongKeyAndUnknownUserAreLoggedAsReported)
{
    struct Case {
        SimUser user;
        const char* reason;
    };
    SimUser wrongKey = SimulatedSwitch::Users()[2];
    wrongKey.authPass = "not-the-password";
    const SimUser unknown{"nobody-here", "noAuthNoPriv", nullptr, nullptr, nullptr, nullptr};
    for (const Case& c : {Case{wrongKey, "wrongDigest"}, Case{unknown, "unknownUserName"}}) {
        SCOPED_TRACE(c.reason);
        sim.clearLog();
        EXPECT_NE(RunSnmpTool("snmpget", V3Args(sim, c.user)).exitCode, 0);
        const std::vector<SimRequest> log = sim.requests();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].version, "3");
        EXPECT_EQ(log[0].user, c.user.name);
        EXPECT_FALSE(log[0].answered);
        EXPECT_NE(log[0].line.find("\"report\":true"), std::string::npos) << log[0].line;
        EXPECT_NE(log[0].line.find(std::string("\"report_name\":\"") + c.reason + "\""), std::string::npos) << log[0].line;
    }
    sim.clearLog();
    EXPECT_EQ(RunSnmpTool("snmpget", V3Args(sim, SimulatedSwitch::Users()[2])).exitCode, 0);
    const std::vector<SimRequest> log = sim.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].answered);
    EXPECT_EQ(log[0].line.find("report"), std::string::npos);
}
