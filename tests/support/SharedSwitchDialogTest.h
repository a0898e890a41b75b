#pragma once

// A fixture whose one simulated switch serves every test of the suite (see
// SharedSimulatedSwitchTest), with the program's connection settings pointed
// at it (put back to their defaults after each test) and the offscreen
// application delivering the SNMP answers, so dialogs can be tested.

#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>

#include <gtest/gtest.h>

class SharedSwitchDialogTest : public SharedSimulatedSwitchTest
{
protected:
    static void SetUpTestSuite() { StartSuite({}); }
    static void StartSuite(const SimulatedSwitch::Options& options)
    {
        SharedSimulatedSwitchTest::StartSuite(options);
        SnmpInit(EnsureTestApp());
    }
    void SetUp() override
    {
        SharedSimulatedSwitchTest::SetUp();
        UseSimulatedSwitch(*sim);
    }
    void TearDown() override { ResetGlobalSettings(); }
};
