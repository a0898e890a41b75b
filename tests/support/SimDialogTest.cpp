#include "SimDialogTest.h"

#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>

SimulatedSwitch* SimDialogTest::sim = nullptr;

void SimDialogTest::SetUpTestSuite()
{
    sim = new SimulatedSwitch;
    SnmpInit(EnsureTestApp());
}

void SimDialogTest::TearDownTestSuite()
{
    delete sim;
    sim = nullptr;
}

void SimDialogTest::SetUp()
{
    ASSERT_TRUE(sim && sim->running()) << (sim ? sim->error() : std::string("no switch"));
    ASSERT_TRUE(sim->command("reset"));
    UseSimulatedSwitch(*sim);
    g_strSnmpTimeout = QStringLiteral("500");
}
