#pragma once

// Helpers of the power-saving and time-profile tests: the set requests the
// simulated switch received, as "object=value" lines with the private arc
// shortened to "P", and waiting for a configuration dialog to settle.

#include "CConfigDialog.h"
#include "SharedSwitchDialogTest.h"
#include "SimulatedSwitch.h"
#include "WaitFor.h"

#include <string>
#include <vector>

inline std::string ShortOid(const std::string& oid)
{
    static const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1.";
    return oid.rfind(kPrivate, 0) == 0 ? "P." + oid.substr(kPrivate.size()) : oid;
}

// One line per set request: its varbinds as "oid=value" joined by " ".
inline std::vector<std::string> SetLines(const SimulatedSwitch& sim)
{
    std::vector<std::string> lines;
    for (const SimRequest& request : sim.sets()) {
        std::string line;
        for (const SimVarbind& v : request.varbinds) {
            if (!line.empty())
                line += ' ';
            line += ShortOid(v.oid) + '=' + v.value;
        }
        lines.push_back(line);
    }
    return lines;
}

// Until no read or write of the dialog runs any more.
inline bool WaitSettled(CConfigDialog& d, int deadlineMs = 8000)
{
    return WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }, deadlineMs);
}

// Shows the dialog and waits for its reads, which must have succeeded; the
// request log is emptied after.
inline void OpenSettled(CConfigDialog& d, SimulatedSwitch& sim)
{
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_TRUE(d.Gate().AllSucceeded()) << d.Gate().Failures().join("; ").toStdString();
    ASSERT_TRUE(sim.command("clearlog"));
}

// The shared switch (a PQS-4400-52) and a dialog opened on it with its reads
// complete and the request log emptied.
class PowerDialogTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        g_strDeviceName = QStringLiteral("PQS-4400-52");
        g_nDevicePortNum = 52;
        g_strSnmpTimeout = QStringLiteral("1000");
    }

    static void Open(CConfigDialog& d) { OpenSettled(d, *sim); }
};
