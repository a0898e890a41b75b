#pragma once

// What the DHCP server screening and ARP spoofing prevention dialog tests
// share: one simulated switch per test program (reset before each test),
// the connection settings pointing at it on 52 ports, waits for a dialog's
// reads and writes, and the sets of the request log.

#include "CConfigDialog.h"
#include "GlobalSettings.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <string>
#include <utility>
#include <vector>

namespace screeningtest {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";

// One varbind of a set as (oid, value): octet strings as hex.
using Varbind = std::pair<std::string, std::string>;

class SecurityDialogTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        // Long enough for a loaded machine, short for the cases without answer.
        g_strSnmpTimeout = QStringLiteral("1500");
        g_nDevicePortNum = 52;
    }
    void TearDown() override
    {
        SharedSwitchDialogTest::TearDown();
        g_nDevicePortNum = 52;
    }

    // Every set request of the log, each as its varbinds.
    static std::vector<std::vector<Varbind>> SetRequests() { return sim->setVarbinds(); }
    // Shows the dialog (its reads start) and waits until they ended.
    static void Open(CConfigDialog& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
    }
    // Waits until no write runs and the re-read, if any, has ended.
    static void Settle(CConfigDialog& d)
    {
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.IsSettling() && !d.Gate().Pending(); }, 30000));
    }
};

} // namespace screeningtest
