#pragma once

// A fixture for dialog tests against the simulated switch shared by the
// suite (reset before each test): the connection settings pointed at it,
// answers delivered on the GUI thread, a 500 ms time-out.
//
//     class MyDialogTest : public SimDialogTest {};
//     TEST_F(MyDialogTest, ...) { sim->command("drop 1"); ... }

#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>

class SimDialogTest : public SharedSimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SharedSimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(*sim);
        g_strSnmpTimeout = QStringLiteral("500");
    }
};
