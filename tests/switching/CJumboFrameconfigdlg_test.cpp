// The jumbo frame dialog against the simulated switch.

#include "CCommandTable.h"
#include "CJumboFrameconfigdlg.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kJumbo = kPrivate + ".1.12.0";

class JumboTest : public SwitchDialogTest
{
};

} // namespace

// The box shows the switch's state; Apply writes "1" or "2", then says so
// and closes. The text comes only after the switch took the value.
TEST_F(JumboTest, ApplyWritesThenSaysSoAndCloses)
{
    struct Case {
        const char* initial;
        bool checked;     // as read
        const char* sent;
        const char* message;
    };
    for (const Case& c : {Case{"1", true, "2", "Disabled Jumbo Frame"}, Case{"2", false, "1", "Enabled Jumbo Frame"}}) {
        SCOPED_TRACE(c.message);
        ASSERT_TRUE(sim->command(std::string("set ") + kJumbo + " i " + c.initial));
        CJumboFrameconfigdlg d;
        Open(d);
        auto* box = Control<QCheckBox>(&d, 1062);
        EXPECT_EQ(box->isChecked(), c.checked);
        box->click();
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
        EXPECT_EQ(d.result(), int(QDialog::Accepted));
        EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{kJumbo, c.sent}}}));
    }
}

// A read that fails keeps Apply off (the design wrote whatever the box
// happened to show).
TEST_F(JumboTest, FailedReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("drop under " + kJumbo));
    CJumboFrameconfigdlg d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
}

// A refused write shows an error, never "Disabled Jumbo Frame", and the
// dialog stays open.
TEST_F(JumboTest, RefusedWriteIsAnErrorAndTheDialogStays)
{
    ASSERT_TRUE(sim->command("set " + kJumbo + " i 1"));
    CJumboFrameconfigdlg d;
    Open(d);
    ASSERT_TRUE(sim->command("error " + kJumbo + " genErr"));
    Control<QCheckBox>(&d, 1062)->click();
    MessageRecorder recorder;
    recorder.script({IDOK});
    Apply(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QStringLiteral("genErr"))) << recorder.texts()[0].toStdString();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(sim->value(kJumbo), "i 1");
}

TEST(JumboCommand, MenuCommandBuildsTheDialog)
{
    EnsureTestApp();
    CCommandTable table;
    EXPECT_NE(dynamic_cast<CJumboFrameconfigdlg*>(table.Find(ID_JUMBO_FRAME)->factory().get()), nullptr);
}
