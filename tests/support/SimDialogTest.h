#pragma once

// A fixture for dialog tests against the simulated switch: one switch for
// every test of the suite (reset before each test), the connection settings
// pointed at it, answers delivered on the GUI thread, a 500 ms time-out.
//
//     class MyDialogTest : public SimDialogTest {};
//     TEST_F(MyDialogTest, ...) { sim->command("drop 1"); ... }

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

class SimDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static SimulatedSwitch* sim;
};
