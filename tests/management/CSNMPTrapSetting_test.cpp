#include "CSNMPTrapSetting.h"
#include "GlobalSettings.h"
#include "SnmpAgentDialogTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kTraps = "1.3.6.1.4.1.32473.10.126.4.1.25.8";

class TrapDialogTest : public SnmpAgentDialogTest
{
protected:
    TrapDialogTest() : SnmpAgentDialogTest(0) {}

    void SetUp() override
    {
        SnmpAgentDialogTest::SetUp();
        g_strDeviceName = QStringLiteral("PQS-4400-52");
    }
    void TearDown() override
    {
        SnmpAgentDialogTest::TearDown();
        g_strDeviceName.clear();
    }
};

INSTANTIATE_TEST_SUITE_P(Versions, TrapDialogTest, ::testing::Values("v1", "v3"));

} // namespace

// Without PoE: six objects read and written, the PoE boxes disabled; a
// value other than 1 shows the box cleared; cleared boxes send 2.
TEST_P(TrapDialogTest, SixSwitchesWithoutPoe)
{
    ASSERT_TRUE(sim->command("set " + kTraps + ".3.0 i 2"));
    CSNMPTrapSetting d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_FALSE(d.IsPoe());
    EXPECT_TRUE(d.Box(0)->isChecked());
    EXPECT_FALSE(d.Box(2)->isChecked());
    EXPECT_FALSE(d.Box(7)->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());

    ASSERT_TRUE(sim->command("clearlog"));
    d.Box(0)->setChecked(false);
    d.Box(2)->setChecked(true);
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    const std::vector<std::string> expected = {".1.0=2", ".2.0=1", ".3.0=1", ".4.0=1", ".5.0=1", ".9.0=1"};
    std::vector<std::string> got;
    for (const SimVarbind& v : sets[0].varbinds)
        got.push_back(v.oid.substr(kTraps.size()) + "=" + v.value);
    EXPECT_EQ(got, expected);
}

// On a PoE model the three PoE switches are read and written after the six.
TEST_P(TrapDialogTest, NineSwitchesOnPoeModel)
{
    for (int t : {6, 7, 8})
        ASSERT_TRUE(sim->command("set " + kTraps + "." + std::to_string(t) + ".0 i " + (t == 7 ? "2" : "1")));
    g_strDeviceName = QStringLiteral("PQS-4400-28P");
    CSNMPTrapSetting d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_TRUE(d.Box(7)->isEnabled());
    EXPECT_TRUE(d.Box(7)->isChecked());
    EXPECT_FALSE(d.Box(8)->isChecked());
    ASSERT_TRUE(sim->command("clearlog"));
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    ASSERT_EQ(sets[0].varbinds.size(), 9u);
    EXPECT_EQ(sets[0].varbinds[6].oid, kTraps + ".6.0");
    EXPECT_EQ(sets[0].varbinds[7].value, "2");
}

// A dropped or refused read shows a message and keeps Apply off: switches
// never read are never written.
TEST_P(TrapDialogTest, FailedReadKeepsApplyOff)
{
    for (const std::string& fault : std::vector<std::string>{"drop 1", "error " + kTraps + ".4.0 genErr"}) {
        ASSERT_TRUE(sim->command("clear"));
        ASSERT_TRUE(sim->command(fault));
        ASSERT_TRUE(sim->command("clearlog"));
        recorder.script({IDOK});
        CSNMPTrapSetting d;
        d.show();
        ASSERT_TRUE(Idle(d));
        EXPECT_FALSE(d.ApplyButton()->isEnabled()) << fault;
        EXPECT_TRUE(sim->sets().empty()) << fault;
    }
    ASSERT_TRUE(sim->command("clear"));
}
