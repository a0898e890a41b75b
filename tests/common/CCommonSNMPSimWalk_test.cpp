// Session walks against the simulated switch: a walk abandoned by Prepare
// (v1 and v3) and a VLAN-name walk that fails part way.

#include "AnswerGate.h"
#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kVlanName = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1";   // .vid
const char* const kSysDescr0 = "1.3.6.1.2.1.1.1.0";

// An owner walking one column the way the dialogs do.
struct Walk {
    CCommonSNMP* session = nullptr;
    std::vector<std::string> indexes;
    int callbacks = 0;
    int end = 1;   // 1 while walking

    static int Callback(CSnmp* response, int requestId, void* user, int status)
    {
        auto* self = static_cast<Walk*>(user);
        ++self->callbacks;
        if (!self->session->RemovePending(requestId)) {
            delete response;
            return 0;
        }
        if (status != 0) {
            delete response;
            self->end = status;
            self->session->SetDone();
            return 0;
        }
        char* index = nullptr;
        self->session->GetIndexText(0, response, &index);
        self->indexes.push_back(index ? index : "");
        delete response;
        if (self->session->SendAsync(&Walk::Callback, self) != 0) {
            self->end = -100;
            self->session->SetDone();
        }
        return 0;
    }
};

bool Pump(const std::function<bool()>& done, int ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < deadline)
        SnmpProcessCallbacks(20);
    return done();
}

class CCommonSNMPSimWalk : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { SnmpInit(nullptr); }
    void SetUp() override
    {
        ASSERT_TRUE(sim.running()) << sim.error();
        UseSimulatedSwitch(sim);
    }
    void TearDown() override { ResetGlobalSettings(); }
    SimulatedSwitch sim;
};

} // namespace

// Catches an abandoned walk's answer reaching the owner after a new
// Prepare (the owner would take a row of the old table for the new
// request), for v1 and for v3 with privacy, both when the answer is already
// waiting for delivery and when it arrives only after the Prepare.
TEST_F(CCommonSNMPSimWalk, PrepareAbandonsTheWalkUnderWay)
{
    struct Case {
        const char* name;
        int userIndex;    // -1: v1
        int delayMs;      // the switch's answer delay
    };
    const Case cases[] = {
        {"v1, answer waiting", -1, 0},
        {"v1, answer after Prepare", -1, 300},
        {"v3 authPriv, answer waiting", 4, 0},
        {"v3 authPriv, answer after Prepare", 4, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseSimulatedSwitch(sim);
        if (c.userIndex >= 0)
            UseSimUser(SimulatedSwitch::Users()[size_t(c.userIndex)]);
        ASSERT_TRUE(sim.command("delay " + std::to_string(c.delayMs)));
        CCommonSNMP session;
        AnswerGate gate;
        Walk old;
        old.session = &session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
        ASSERT_EQ(session.AddValue(QString::fromStdString(kVlanName), 4), 0);
        ASSERT_EQ(session.SendAsync(&Walk::Callback, &old), 0);
        if (c.delayMs == 0) {
            ASSERT_TRUE(gate.WaitForAnswers(1, 3000)) << "the walk's first answer never came";
        }

        ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
        ASSERT_EQ(session.AddValue(kSysDescr0, 4), 0);
        CSnmp* response = nullptr;
        ASSERT_EQ(session.SendSync(response, 3000), 0);
        delete response;

        ASSERT_TRUE(gate.WaitForAnswers(1, 3000)) << "the abandoned answer never came";
        EXPECT_GE(gate.Release(), 1);
        EXPECT_EQ(old.callbacks, 0);
        EXPECT_TRUE(session.IsDone());
    }
    ASSERT_TRUE(sim.command("delay 0"));
}

// Catches a failed VLAN-name walk passing for a complete table: an error
// status or a lost answer part way through must end the walk with -1 (not
// the end of the table, -2), keep the rows before it, leave the session
// done and tell the reason through GetLastResult.
TEST_F(CCommonSNMPSimWalk, FailedVlanNameWalkEndsAsAFailure)
{
    for (const char* vid : {"2", "3"})
        ASSERT_TRUE(sim.command("set " + kVlanName + "." + vid + " s vlan" + vid));
    struct Case {
        const char* name;
        std::string fault;
        std::string undo;
        int timeoutMs;
        int lastResult;
    };
    const Case cases[] = {
        {"error status at VLAN 3", "error " + kVlanName + ".3 genErr", "error " + kVlanName + ".3 off", 2000, SNMP_ERROR_STATUS},
        {"no answer for the VLAN names", "drop under " + kVlanName + ".1", "drop off", 300, SNMP_NO_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim.command(c.fault));
        CCommonSNMP session;
        Walk walk;
        walk.session = &session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
        ASSERT_EQ(session.AddValue(QString::fromStdString(kVlanName), 4), 0);
        ASSERT_EQ(session.SendAsyncWithTimeout(&Walk::Callback, &walk, c.timeoutMs), 0);
        ASSERT_TRUE(Pump([&] { return walk.end != 1; }, 5000));
        EXPECT_EQ(walk.end, SNMP_NO_ANSWER);
        EXPECT_EQ(session.GetLastResult(), c.lastResult);
        EXPECT_FALSE(session.GetLastResultText().isEmpty());
        EXPECT_TRUE(session.IsDone());
        ASSERT_GE(walk.indexes.size(), 1u);
        EXPECT_EQ(walk.indexes[0], ".1");
        ASSERT_TRUE(sim.command(c.undo));

        // The same session walks the whole column once the fault is gone.
        Walk again;
        again.session = &session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
        ASSERT_EQ(session.AddValue(QString::fromStdString(kVlanName), 4), 0);
        ASSERT_EQ(session.SendAsync(&Walk::Callback, &again), 0);
        ASSERT_TRUE(Pump([&] { return again.end != 1; }, 5000));
        EXPECT_EQ(again.end, SNMP_END_OF_WALK);
        EXPECT_EQ(again.indexes, (std::vector<std::string>{".1", ".2", ".3"}));
    }
}
