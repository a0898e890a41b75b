// The storm control dialog against the simulated switch: the threshold shown
// as N, the one set request holding only what differs from the values last
// read, N checked whatever the state, and a failed read keeping Apply off.

#include "CStormControlDlg.h"
#include "CStatusLine.h"
#include "TrafficTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace traffictest;

namespace {

const std::string kState = kPrivate + ".13.3.1.0";
const std::string kType = kPrivate + ".13.3.2.0";
const std::string kThreshold = kPrivate + ".13.3.3.0";

class StormControlTest : public TrafficDialogTest
{
protected:
    static void Set(const std::string& oid, int value)
    {
        ASSERT_TRUE(sim->command("set " + oid + " i " + std::to_string(value)));
    }
};

} // namespace

// A threshold that is not a multiple of 64 shows the N below it and N x 64;
// applying with storm control on writes that threshold and nothing else
// (a fault that compared with the shown value, or sent every object, fails).
TEST_F(StormControlTest, ThresholdOf100ShowsN1AndWrites64)
{
    Set(kState, 1);
    Set(kThreshold, 100);
    CStormControlDlg d;
    Open(d);
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_EQ(d.NEdit()->text(), "1");
    EXPECT_EQ(d.ThresholdEdit()->text(), "64");
    EXPECT_TRUE(d.NEdit()->isEnabled());
    EXPECT_TRUE(d.TypeCombo()->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());

    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kThreshold, "64"}}}));
    EXPECT_EQ(sim->value(kThreshold), "i 64");
    EXPECT_EQ(d.ThresholdEdit()->text(), "64");   // read back
}

// The state, type and threshold shown follow the switch; N x 64 follows N
// as it is typed, and the type and N are editable only while the box is
// checked.
TEST_F(StormControlTest, ShowsTheSwitchAndFollowsN)
{
    Set(kType, 3);
    Set(kThreshold, 0);
    CStormControlDlg d;
    Open(d);
    EXPECT_FALSE(d.EnableBox()->isChecked());
    EXPECT_EQ(d.TypeCombo()->currentText(), "Multicast & Broadcast & Unknown Unicast");
    EXPECT_EQ(d.NEdit()->text(), "0");
    EXPECT_EQ(d.ThresholdEdit()->text(), "0");
    EXPECT_FALSE(d.NEdit()->isEnabled());
    EXPECT_FALSE(d.TypeCombo()->isEnabled());
    EXPECT_FALSE(d.windowFlags() & Qt::WindowStaysOnTopHint);   // an ordinary window

    d.EnableBox()->click();
    EXPECT_TRUE(d.NEdit()->isEnabled());
    EXPECT_TRUE(d.TypeCombo()->isEnabled());
    d.NEdit()->setText(QStringLiteral("250"));
    EXPECT_EQ(d.ThresholdEdit()->text(), "16000");
    d.NEdit()->clear();
    EXPECT_EQ(d.ThresholdEdit()->text(), "");
    d.NEdit()->insert(QStringLiteral("1x"));   // digits only
    EXPECT_EQ(d.NEdit()->text(), "");
}

// Switching storm control off writes the state alone, even with the type
// and N changed at the same time.
TEST_F(StormControlTest, SwitchingOffWritesOnlyTheState)
{
    Set(kState, 1);
    CStormControlDlg d;
    Open(d);
    d.TypeCombo()->setCurrentIndex(2);
    d.NEdit()->setText(QStringLiteral("300"));
    d.EnableBox()->click();
    ASSERT_FALSE(d.EnableBox()->isChecked());
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kState, "2"}}}));
    EXPECT_EQ(sim->value(kType), "i 1");
    EXPECT_EQ(sim->value(kThreshold), "i 1024");
}

// Switching on writes the state, then the type and the threshold that
// differ, in one request; with storm control on, a changed type alone is
// written alone.
TEST_F(StormControlTest, OnWritesWhatDiffersInOneRequest)
{
    CStormControlDlg d;
    Open(d);
    d.EnableBox()->click();
    d.TypeCombo()->setCurrentIndex(1);
    d.NEdit()->setText(QStringLiteral("2"));
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kState, "1"}, {kType, "2"}, {kThreshold, "128"}}}));

    d.TypeCombo()->setCurrentIndex(2);
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kType, "3"}}}));
}

// With storm control off and nothing changed, Apply sends nothing at all:
// no set and no re-read.
TEST_F(StormControlTest, NoChangeWhileOffSendsNothing)
{
    CStormControlDlg d;
    Open(d);
    ASSERT_FALSE(d.EnableBox()->isChecked());
    d.TypeCombo()->setCurrentIndex(2);   // not written while off
    ApplyExpecting(d, nullptr);
    EXPECT_TRUE(sim->requests().empty());
}

// The upper bound: N = 16000 writes 1024000.
TEST_F(StormControlTest, N16000Writes1024000)
{
    Set(kState, 1);
    CStormControlDlg d;
    Open(d);
    d.NEdit()->setText(QStringLiteral("16000"));
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kThreshold, "1024000"}}}));
}

// N outside 1..16000 (or none) is refused before anything is sent, also
// when storm control is being switched off (a check skipped while off, or
// an off-by-one at either end, fails).
TEST_F(StormControlTest, NOutOfRangeRefusedEvenWhenSwitchingOff)
{
    Set(kState, 1);
    CStormControlDlg d;
    Open(d);
    d.EnableBox()->click();   // switching off
    for (const char* n : {"0", "16001", "", "00000"}) {
        SCOPED_TRACE(n);
        d.NEdit()->setText(QString::fromLatin1(n));
        ApplyExpecting(d, "Invalid input of N ( input range must between 1~16000)");
    }
    EXPECT_EQ(sim->value(kState), "i 1");
}

// A read that fails keeps Apply off and says why in the status line, with
// no message box; nothing is checked against values never shown.
TEST_F(StormControlTest, FailedReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("error " + kThreshold + " genErr"));
    CStormControlDlg d;
    Open(d);
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.StatusLine()->text().contains(QStringLiteral("storm control")));
}

// A refused write is reported, the dialog stays open and shows what the
// switch holds.
TEST_F(StormControlTest, RefusedWriteIsReported)
{
    Set(kState, 1);
    ASSERT_TRUE(sim->command("set-error " + kThreshold + " wrongValue"));
    CStormControlDlg d;
    Open(d);
    d.NEdit()->setText(QStringLiteral("20"));
    sim->clearLog();
    MessageRecorder recorder;
    recorder.script({IDOK});
    Click(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QString::fromStdString(kThreshold))) << recorder.texts()[0].toStdString();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.NEdit()->text(), "16");   // re-read: the switch's 1024
}
