#pragma once

// A fixture whose one simulated switch serves every test of the suite: it
// starts once, is `reset` before each test, and the program's connection
// settings point at it (put back to their defaults after each test). The
// offscreen application delivers the SNMP answers, so dialogs can be tested.

#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>

#include <gtest/gtest.h>

class SharedSimulatedSwitchTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sim = new SimulatedSwitch;
        SnmpInit(EnsureTestApp());
    }
    static void TearDownTestSuite()
    {
        delete sim;
        sim = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(sim->running()) << sim->error();
        ASSERT_TRUE(sim->command("reset"));
        UseSimulatedSwitch(*sim);
    }
    void TearDown() override { ResetGlobalSettings(); }

    static inline SimulatedSwitch* sim = nullptr;
};
