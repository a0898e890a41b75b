#pragma once

// Fixture of the SNMP-agent tests: one simulated switch per suite, reset
// before each test, reached as SNMPv1 or as an SNMPv3 user (the test's
// parameter "v1" or "v3"). The time-out is short enough for the few
// no-answer cases and long enough for a v3 request (discovery, then the
// request) on a loaded machine.

#include "CConfigDialog.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <string>

class SnmpAgentDialogTest : public SharedSwitchDialogTest, public ::testing::WithParamInterface<const char*>
{
protected:
    // The v3 user each suite talks as (an index into the switch's users).
    explicit SnmpAgentDialogTest(int v3User = 1) : m_nV3User(v3User) {}

    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        if (std::string(GetParam()) == "v3")
            UseSimUser(SimulatedSwitch::Users()[size_t(m_nV3User)]);
        g_strSnmpTimeout = QStringLiteral("2000");
    }

    // Waits until no write runs and no read is pending.
    static bool Idle(CConfigDialog& d)
    {
        return WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }, 30000);
    }

    MessageRecorder recorder;

private:
    int m_nV3User;
};
