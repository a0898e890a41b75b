#pragma once

// What the spanning tree and IGMP dialog tests share: one simulated switch
// per test program (reset before each test, its clocks held still), controls
// found by id, and the sets of the request log.

#include "CConfigDialog.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SimSettings.h"
#include "SharedSwitchDialogTest.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace stptest {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";

// Control `id` of `dialog` as a T (fails the test when missing).
template <class T> T* Control(QWidget* dialog, int id)
{
    T* control = qobject_cast<T*>(GetDlgItem(dialog, id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

// One varbind of a set as (oid, value): octet strings as hex.
using Varbind = std::pair<std::string, std::string>;

// Every set request of the log, each as its varbinds.
inline std::vector<std::vector<Varbind>> SetRequests(const SimulatedSwitch& sim)
{
    return sim.setVarbinds();
}

class SwitchDialogTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        ASSERT_TRUE(sim->command("stp drift off"));
        ASSERT_TRUE(sim->command("igmp churn off"));
        g_strSnmpTimeout = QStringLiteral("2000");   // no time-out on a loaded machine
        g_nDevicePortNum = 52;
    }
    void TearDown() override
    {
        SharedSwitchDialogTest::TearDown();
        g_nDevicePortNum = 52;
    }

    // Shows the dialog (its first read starts) and waits for every read.
    static void Open(CConfigDialog& dialog)
    {
        dialog.show();
        ASSERT_TRUE(WaitFor([&] { return !dialog.Gate().Pending(); }));
    }
    // Clicks Apply (or OK) and waits until no write runs and the re-read,
    // if any, has settled.
    static void Apply(CConfigDialog& dialog)
    {
        dialog.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !dialog.IsWriting() && !dialog.Gate().Pending(); }));
    }
    // Apply with the request log emptied first: exactly `message` is shown
    // (no message when null), and a refusal sends nothing.
    static void ApplyExpecting(CConfigDialog& dialog, const char* message)
    {
        sim->clearLog();
        MessageRecorder recorder;
        if (message)
            recorder.expect(QString::fromLatin1(message));
        Apply(dialog);
        recorder.ExpectAllUsed();
        if (message) {
            EXPECT_TRUE(sim->sets().empty());
        }
    }
};

} // namespace stptest
