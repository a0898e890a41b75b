#pragma once

// One simulated switch per test program, reset before every test, with the
// program's settings pointing at it; helpers to wait for a dialog's reads
// and writes with a deadline.

#include "CConfigDialog.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include "WaitFor.h"

#include "SharedSwitchDialogTest.h"

#include <QApplication>

#include <gtest/gtest.h>

inline const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";

class SwitchingTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        g_nDevicePortNum = 52;
        // Long enough for a loaded machine (sanitizers), short for the
        // cases that expect no answer.
        g_strSnmpTimeout = QStringLiteral("1500");
    }

    // The member picker walks some thousand rows: on a loaded machine that
    // takes seconds, so the deadline for reads is generous.
    static constexpr int kReadDeadlineMs = 30000;

    // Shows the dialog (which starts its reads) and waits until they ended.
    static bool OpenAndRead(CConfigDialog& d)
    {
        d.show();
        return WaitFor([&] { return !d.Gate().Pending() && d.Gate().AllSucceeded(); }, kReadDeadlineMs);
    }
    static bool Settled(CConfigDialog& d)
    {
        return WaitFor([&] { return !d.Gate().Pending(); }, kReadDeadlineMs);
    }
    static bool WritesDone(CConfigDialog& d)
    {
        return WaitFor([&] { return !d.IsWriting(); });
    }
};
