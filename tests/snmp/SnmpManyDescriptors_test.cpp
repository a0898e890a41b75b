// The SNMP layer in a process that has more than a thousand descriptors
// open: its own descriptors are then numbered 1024 and up. A program of its
// own, so that the engine starts only after the descriptors are open.

#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

// Raises the soft limit of open files to `needed` when the hard limit allows.
bool RaiseOpenFiles(rlim_t needed)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < needed)
        return false;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        limit.rlim_cur = needed;
        return setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    return true;
}

} // namespace

// Catches a fixed-size fd_set in the engine's select loop: a descriptor of
// 1024 or more wrote past it (a crash, or a loop spinning at full CPU and
// answers never read). With 1,100 descriptors open before the engine
// starts, its wake-up descriptor and every agent socket lie above 1024, and
// v1 and v3 requests must still be answered.
TEST(SnmpManyDescriptors, RequestsAreAnsweredAboveDescriptor1024)
{
    if (!RaiseOpenFiles(1400))
        GTEST_SKIP() << "the hard limit of open files is under 1400";
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();

    std::vector<int> fds;
    int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(null, 0);
    while (fds.empty() || fds.back() < 1100) {
        int fd = fcntl(null, F_DUPFD_CLOEXEC, 0);
        ASSERT_GE(fd, 0);
        fds.push_back(fd);
    }

    SnmpInit(nullptr);
    CSnmpV1 v1(SNMP_PDU_GET);
    v1.setCommunity(SimulatedSwitch::kReadCommunity);
    v1.addValue(kSysDescr, SNMP_TYPE_NULL, nullptr);
    CSnmpV3 v3(SNMP_PDU_GET);
    const SimUser& user = SimulatedSwitch::Users().back();
    const V3Credentials who = {user.name, char(user.privPass ? 3 : user.authPass ? 1 : 0),
                               user.authProtocol && std::string(user.authProtocol) == "SHA" ? 1 : 0,
                               user.authPass, user.privPass};
    ApplyV3(v3, who);
    v3.addValue(kSysDescr, SNMP_TYPE_NULL, nullptr);
    for (int round = 0; round < 3; ++round) {
        for (CSnmp* request : {static_cast<CSnmp*>(&v1), static_cast<CSnmp*>(&v3)}) {
            CSnmp* raw = nullptr;
            EXPECT_EQ(request->send(sim.agent().c_str(), raw, 2000), SNMP_OK) << "round " << round;
            std::unique_ptr<CSnmp> resp(raw);
            if (resp) {
                EXPECT_NE(ValueText(resp.get(), 0).find("PQS-4400"), std::string::npos);
            }
        }
    }
    for (int fd : fds)
        close(fd);
    close(null);
}

// Catches the same overrun reached the other way: one request to each of
// 1,100 silent agents gives the engine 1,100 sockets of its own. Each must
// end with its own time-out, and an agent that answers is still heard
// meanwhile.
TEST(SnmpManyDescriptors, OneRequestToEachOfManySilentAgents)
{
    const int agents = 1100;
    if (!RaiseOpenFiles(2 * agents + 400))
        GTEST_SKIP() << "the hard limit of open files is under " << 2 * agents + 400;
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    SnmpInit(nullptr);

    std::vector<std::unique_ptr<SilentAgent>> silent;
    for (int i = 0; i < agents; ++i)
        silent.push_back(std::make_unique<SilentAgent>());
    AsyncGets gets;
    const auto start = std::chrono::steady_clock::now();
    for (auto& agent : silent)
        ASSERT_EQ(gets.send(agent->address(), 1500), 0);
    CSnmpV1 get(SNMP_PDU_GET);
    get.setCommunity(SimulatedSwitch::kReadCommunity);
    get.addValue(kSysDescr, SNMP_TYPE_NULL, nullptr);
    CSnmp* raw = nullptr;
    EXPECT_EQ(get.send(sim.agent().c_str(), raw, 1000), SNMP_OK);
    delete raw;
    while (int(gets.statuses().size()) < agents && ElapsedMs(start) < 10000)
        SnmpProcessCallbacks(50);
    ASSERT_EQ(int(gets.statuses().size()), agents);
    EXPECT_EQ(std::count(gets.statuses().begin(), gets.statuses().end(), SNMP_NO_ANSWER), agents);
}
