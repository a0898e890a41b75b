#pragma once

// What the storm control, bandwidth control and traffic segmentation tests
// share: one simulated switch per suite (reset before each test), the
// dialog opened and its reads awaited, Apply clicked and its writes
// awaited, and the sets of the request log as (OID, value) pairs.

#include "CConfigDialog.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <QPushButton>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace traffictest {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";

// One varbind of a set as (oid, value): octet strings as hex.
using Varbind = std::pair<std::string, std::string>;

class TrafficDialogTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        ASSERT_TRUE(sim->command("stp drift off"));
        ASSERT_TRUE(sim->command("igmp churn off"));
        g_strSnmpTimeout = QStringLiteral("1000");
        g_nDevicePortNum = 52;
    }
    void TearDown() override
    {
        SharedSwitchDialogTest::TearDown();
        g_nDevicePortNum = 52;
    }

    // Every set request of the log, each as its varbinds.
    static std::vector<std::vector<Varbind>> Sets() { return sim->setVarbinds(); }

    // Shows the dialog (its first reads start) and waits for every read.
    static void Open(CConfigDialog& dialog)
    {
        dialog.show();
        ASSERT_TRUE(WaitFor([&] { return !dialog.Gate().Pending(); }, 30000));
    }
    // Clicks `button` (Apply by default) and waits until no write runs and
    // the re-read, if any, has ended.
    static void Click(CConfigDialog& dialog, QPushButton* button = nullptr)
    {
        (button ? button : dialog.ApplyButton())->click();
        ASSERT_TRUE(WaitFor([&] { return !dialog.IsWriting() && !dialog.Gate().Pending(); }, 20000));
    }
    // Apply with the log emptied first: exactly `message` is shown (none
    // when null), and a refusal sends nothing.
    static void ApplyExpecting(CConfigDialog& dialog, const char* message, QPushButton* button = nullptr)
    {
        sim->clearLog();
        MessageRecorder recorder;
        if (message)
            recorder.expect(QString::fromLatin1(message));
        Click(dialog, button);
        recorder.ExpectAllUsed();
        if (message) {
            EXPECT_TRUE(sim->sets().empty());
        }
    }
};

} // namespace traffictest
