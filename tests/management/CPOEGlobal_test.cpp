#include "CPOEGlobal.h"
#include "MessageRecorder.h"
#include "PoeTestUtil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class PoeGlobalTest : public PoeDialogTest
{
protected:
    static void Apply(CPOEGlobal& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
    }
};

} // namespace

// The threshold check by RPS state: the whole text a number of watts in
// range, sent as checked ("370.0" sends "370").
TEST(PoeThreshold, BoundsByRpsState)
{
    const QString off = QStringLiteral("invalid number,it should be from 15.4 to 370");
    const QString on = QStringLiteral("invalid number,it should be from 15.4 to 740");
    struct Case { const char* text; bool rpsOn; QString message; const char* sent; };
    const Case cases[] = {
        {"15.4", false, {}, "15.4"}, {"370", false, {}, "370"},   {"370.0", false, {}, "370"},
        {"15.3", false, off, ""},    {"371", false, off, ""},     {"740", false, off, ""},
        {"740", true, {}, "740"},    {"15.4", true, {}, "15.4"},  {"741", true, on, ""},
        {"15.4abc", false, off, ""}, {"0x1E", true, on, ""},      {"1e2", true, on, ""},
        {"", false, off, ""},        {" 100", false, off, ""},
    };
    for (const Case& c : cases) {
        QString sent;
        EXPECT_EQ(CPOEGlobal::CheckThreshold(QString::fromLatin1(c.text), c.rpsOn, &sent), c.message) << c.text;
        if (c.message.isEmpty()) {
            EXPECT_EQ(sent.toStdString(), c.sent) << c.text;
        }
    }
}

// The read fills every field; RPS "0" shows "off".
TEST_F(PoeGlobalTest, ReadShowsTheSwitchsValues)
{
    CPOEGlobal d;
    Open(d);
    EXPECT_EQ(d.Threshold()->text(), "370");
    EXPECT_EQ(d.Sequence()->currentText(), "DenyNextPort");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_RPS)->text(), "off");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_BUDGET)->text(), "370");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_USED)->text(), "27.5");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_LEFT)->text(), "342.5");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_PERCENTAGE)->text(), "100");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// A read that fails keeps "wait..." and Apply off: nothing can be checked
// against an RPS state never read.
TEST_F(PoeGlobalTest, FailedReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("error " + P + ".42.9.0 genErr"));
    CPOEGlobal d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_EQ(d.Threshold()->text(), "wait...");
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_RPS)->text(), "wait...");
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// Only what changed is sent, in one request, sequence before threshold;
// "set succeed" follows the switch's acceptance; no change sends nothing.
TEST_F(PoeGlobalTest, SendsWhatChanged)
{
    CPOEGlobal d;
    Open(d);
    {
        MessageRecorder messages;   // no box at all
        Apply(d);
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    {
        MessageRecorder messages;
        messages.expect("set succeed");
        d.Sequence()->setCurrentIndex(1);
        Apply(d);
    }
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.42.3.0=2"});
    ASSERT_TRUE(sim->command("clearlog"));
    {
        MessageRecorder messages;
        messages.expect("set succeed");
        d.Sequence()->setCurrentIndex(0);
        d.Threshold()->setText("15.40");
        Apply(d);
    }
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.42.3.0=1 P.42.2.0=15.4"});
    EXPECT_EQ(d.Threshold()->text(), "15.4");   // read back
}

// RPS off: 371 is refused with the 370 message, the edit becomes "370" and
// nothing is sent, not even a changed sequence. RPS on: 740 is sent, 741
// refused with the edit kept.
TEST_F(PoeGlobalTest, ThresholdBoundsFollowTheRps)
{
    {
        CPOEGlobal d;
        Open(d);
        MessageRecorder messages;
        messages.expect("invalid number,it should be from 15.4 to 370");
        d.Sequence()->setCurrentIndex(1);
        d.Threshold()->setText("371");
        Apply(d);
        EXPECT_EQ(d.Threshold()->text(), "370");
        EXPECT_TRUE(SetLines(*sim).empty());
    }
    ASSERT_TRUE(sim->command("set " + P + ".42.9.0 i 1"));
    CPOEGlobal d;
    Open(d);
    EXPECT_EQ(d.Field(CPOEGlobal::IDC_RPS)->text(), "on");
    {
        MessageRecorder messages;
        messages.expect("invalid number,it should be from 15.4 to 740");
        d.Threshold()->setText("741");
        Apply(d);
        EXPECT_EQ(d.Threshold()->text(), "741");
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    MessageRecorder messages;
    messages.expect("set succeed");
    d.Threshold()->setText("740");
    Apply(d);
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.42.2.0=740"});
}

// A set answered with an error status is no success: the failure is shown,
// never "set succeed", and the switch's values are read again.
TEST_F(PoeGlobalTest, RefusedSetIsNoSuccess)
{
    CPOEGlobal d;
    Open(d);
    for (const char* object : {".42.2.0", ".42.3.0"})
        ASSERT_TRUE(sim->command("set-error " + P + object + " genErr"));
    MessageRecorder messages;
    messages.script({IDOK});
    d.Sequence()->setCurrentIndex(1);
    Apply(d);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_NE(messages.texts()[0], "set succeed");
    EXPECT_TRUE(messages.texts()[0].contains("genErr")) << messages.texts()[0].toStdString();
    EXPECT_EQ(d.Sequence()->currentText(), "DenyNextPort");
}

// The global set has a time-out of its own (5 s), not the session's (1 s
// here): a 2.5 s answer is a success, a 5.6 s one is no answer.
TEST_F(PoeGlobalTest, GlobalSetWaitsFiveSeconds)
{
    CPOEGlobal d;
    Open(d);
    ASSERT_TRUE(sim->command("delay under " + P + ".42.3.0 2500"));
    {
        MessageRecorder messages;
        messages.expect("set succeed");
        d.Sequence()->setCurrentIndex(1);
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d, 30000));
    }
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.42.3.0=2"});
    EXPECT_EQ(d.Sequence()->currentText(), "DenyLowPriorityPort");

    ASSERT_TRUE(sim->command("delay under " + P + ".42.3.0 5600"));
    MessageRecorder messages;
    messages.script({IDOK});
    d.Sequence()->setCurrentIndex(0);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d, 30000));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("No answer")) << messages.texts()[0].toStdString();
}
