#include "CSNMPEngineID.h"
#include "CSNMPGlobal.h"
#include "GlobalSettings.h"
#include "SnmpAgentDialogTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kGlobal = "1.3.6.1.4.1.32473.10.126.4.1.25.1.0";
const std::string kEngine = "1.3.6.1.4.1.32473.10.126.4.1.25.7.0";

class ScalarDialogTest : public SnmpAgentDialogTest
{
protected:
    ScalarDialogTest() : SnmpAgentDialogTest(2) {}


    static void Open(CConfigDialog& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }
};

INSTANTIATE_TEST_SUITE_P(Versions, ScalarDialogTest, ::testing::Values("v1", "v3"));

} // namespace

// Disabling the agent asks first; Cancel sends nothing, OK sends "2" and the
// box then shows what the switch holds. Enabling asks nothing.
TEST_P(ScalarDialogTest, GlobalStateDisableAsksFirst)
{
    CSNMPGlobal d;
    Open(d);
    EXPECT_TRUE(d.EnableBox()->isChecked());
    ASSERT_TRUE(sim->command("clearlog"));

    d.EnableBox()->setChecked(false);
    recorder.script({IDCANCEL});
    d.ApplyButton()->click();
    EXPECT_TRUE(sim->sets().empty());

    recorder.script({IDOK});
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, kGlobal);
    EXPECT_EQ(sim->sets()[0].varbinds[0].value, "2");
    EXPECT_FALSE(d.EnableBox()->isChecked());

    d.EnableBox()->setChecked(true);
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_EQ(sim->control("get " + kGlobal), "ok i 1");
}

// A refused write shows its failure and the box then shows the switch's
// value, not the user's choice.
TEST_P(ScalarDialogTest, GlobalStateRefusedShowsTheSwitch)
{
    ASSERT_TRUE(sim->command("set " + kGlobal + " i 2"));
    CSNMPGlobal d;
    Open(d);
    EXPECT_FALSE(d.EnableBox()->isChecked());
    ASSERT_TRUE(sim->command("error " + kGlobal + " genErr"));
    d.EnableBox()->setChecked(true);
    recorder.script({IDOK});   // the write failure
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting(); }, 30000));
    ASSERT_TRUE(sim->command("clear"));
    d.Refresh();
    ASSERT_TRUE(Idle(d));
    EXPECT_FALSE(d.EnableBox()->isChecked());
}

// A failed read keeps Apply off.
TEST_P(ScalarDialogTest, FailedReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("drop all"));
    CSNMPGlobal d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(sim->command("drop off"));
}

// The engine ID's checks: length 10 to 64, hex digits only; nothing is sent
// for a refused text; an accepted one is written and read back.
TEST_P(ScalarDialogTest, EngineIdChecksAndWrite)
{
    CSNMPEngineID d;
    Open(d);
    EXPECT_EQ(d.IdEdit()->text(), "5051532d343430302d3532001500062052");
    ASSERT_TRUE(sim->command("clearlog"));
    struct Case { QString text; const char* message; };
    const Case cases[] = {
        {QString(9, u'8'), "ID length is 10-64"},
        {QStringLiteral("80000000GG"), "the accepted character is from 0 to F"},
        {QStringLiteral("80000000 A"), "the accepted character is from 0 to F"},
    };
    for (const Case& c : cases) {
        d.IdEdit()->setText(c.text);
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
    }
    // Typing stops at 64: the 65th character cannot be typed.
    d.IdEdit()->clear();
    for (int i = 0; i < 65; ++i)
        d.IdEdit()->insert(QStringLiteral("8"));
    EXPECT_EQ(d.IdEdit()->text().size(), 64);
    EXPECT_TRUE(sim->sets().empty());

    d.IdEdit()->setText(QStringLiteral("800000000A1"));
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, kEngine);
    EXPECT_EQ(sim->sets()[0].varbinds[0].hex, "0800000000a1");
    EXPECT_EQ(d.IdEdit()->text(), "0800000000a1");
}
