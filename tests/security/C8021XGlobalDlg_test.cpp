#include "C8021XGlobalDlg.h"
#include "Dot1xTestUtil.h"
#include "MessageRecorder.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

class Dot1xGlobalTest : public Dot1xDialogTest
{
protected:
    static void Apply(C8021XGlobalDlg& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        ASSERT_TRUE(WaitFor([&] { return !d.IsSettling() && !d.Gate().Pending(); }, 8000));
    }
};

} // namespace

// The switch's texts map to the controls: state "2" and EAPOL "2" show
// "Disabled", protocol "1" "RADIUS"; the protocol is off while 802.1X is.
TEST_F(Dot1xGlobalTest, ReadShowsTheSwitchsSettings)
{
    C8021XGlobalDlg d;
    Open(d);
    EXPECT_TRUE(d.StateDisabled()->isChecked());
    EXPECT_TRUE(d.EapolDisabled()->isChecked());
    EXPECT_EQ(d.Protocol()->currentText(), "RADIUS");
    EXPECT_FALSE(d.Protocol()->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());

    // Any text other than "1" reads as Disabled / Local; "1" enables the
    // protocol choice.
    ASSERT_TRUE(sim->command("set " + P + ".23.1.1.0 i 1"));
    ASSERT_TRUE(sim->command("set " + P + ".23.1.4.0 i 1"));
    ASSERT_TRUE(sim->command("set " + P + ".23.1.3.0 i 2"));
    C8021XGlobalDlg e;
    Open(e);
    EXPECT_TRUE(e.StateEnabled()->isChecked());
    EXPECT_TRUE(e.EapolEnabled()->isChecked());
    EXPECT_EQ(e.Protocol()->currentText(), "Local");
    EXPECT_TRUE(e.Protocol()->isEnabled());
}

// Only what differs from the read goes out, in one request in the order
// state, forward EAPOL, protocol; an Apply without change sends nothing.
// Catches: a full write every time (would turn a state nobody touched
// back), a changed order, one request per object.
TEST_F(Dot1xGlobalTest, SendsOnlyWhatChangedInOneRequest)
{
    C8021XGlobalDlg d;
    Open(d);
    MessageRecorder messages;   // no box at all
    Apply(d);
    EXPECT_TRUE(SetLines(*sim).empty());

    d.Protocol()->setCurrentIndex(1);
    Apply(d);
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.23.1.3.0=2"});
    EXPECT_EQ(d.Protocol()->currentText(), "Local");   // read back
    ASSERT_TRUE(sim->command("clearlog"));

    d.StateEnabled()->click();
    d.EapolEnabled()->setChecked(true);
    d.Protocol()->setCurrentIndex(0);
    Apply(d);
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.23.1.1.0=1 P.23.1.4.0=1 P.23.1.3.0=1"});
    EXPECT_TRUE(d.StateEnabled()->isChecked());
}

// A failed read shows no value and keeps Apply off: with the read taken as
// empty, Apply would write state "2" and turn 802.1X off.
TEST_F(Dot1xGlobalTest, FailedReadShowsNothingAndSendsNothing)
{
    ASSERT_TRUE(sim->command("error " + P + ".23.1.4.0 genErr"));
    C8021XGlobalDlg d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.StateEnabled()->isChecked());
    EXPECT_FALSE(d.StateDisabled()->isChecked());
    EXPECT_FALSE(d.EapolDisabled()->isChecked());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    d.ApplyButton()->click();
    EXPECT_TRUE(SetLines(*sim).empty());
}

// "Enabled " enables the protocol at once; "Disabled" leaves it as it is.
TEST_F(Dot1xGlobalTest, EnabledRadioEnablesTheProtocol)
{
    C8021XGlobalDlg d;
    Open(d);
    ASSERT_FALSE(d.Protocol()->isEnabled());
    d.StateEnabled()->click();
    EXPECT_TRUE(d.Protocol()->isEnabled());
    d.StateDisabled()->click();
    EXPECT_TRUE(d.Protocol()->isEnabled());
}

// A refused write is reported, never taken as done, and the switch's
// values are read again.
TEST_F(Dot1xGlobalTest, RefusedWriteIsReported)
{
    C8021XGlobalDlg d;
    Open(d);
    ASSERT_TRUE(sim->command("set-error " + P + ".23.1.3.0 genErr"));
    MessageRecorder messages;
    messages.script({IDOK});
    d.Protocol()->setCurrentIndex(1);
    Apply(d);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith("The switch did not take the settings.")) << messages.texts()[0].toStdString();
    EXPECT_EQ(d.Protocol()->currentText(), "RADIUS");   // what the switch holds
}
