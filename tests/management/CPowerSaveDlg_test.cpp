#include "CCommandTable.h"
#include "CListCtrlEx.h"
#include "CPowSavSettings.h"
#include "CPowerSaveDlg.h"
#include "CSetSequence.h"
#include "CTimeProfileInfo.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "PowerTestUtil.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";

class PowerSaveTest : public PowerDialogTest
{
protected:
    static void ApplyAndWait(CPowerSaveDlg& d, QPushButton* button)
    {
        ASSERT_TRUE(button->isEnabled());
        button->click();
        ASSERT_TRUE(WaitSettled(d));
    }
};

} // namespace

// The read: bitmaps become range text over all 52 ports, bits past port 52
// ignored (a read cut at 28 ports or 4 octets would lose 49-52), "None"
// becomes an empty profile, system hibernation shows "All Port", an empty
// port list shows "None", and the detection switches reach their boxes.
TEST_F(PowerSaveTest, ReadFillsSummaryAndChecks)
{
    ASSERT_TRUE(sim->command("set " + P + ".31.2.1.0 x f00000000000ffff"));
    CPowerSaveDlg d;
    Open(d);
    CListCtrlEx* list = d.Summary();
    ASSERT_EQ(list->GetItemCount(), 4);
    const char* expected[4][5] = {
        {"LED_Shutoff", "Enabled", "Day", "", "1-4"},
        {"Port_Shutoff", "Disabled", "", "", "1-4,49-52"},
        {"Port_Standby", "Disabled", "", "", "None"},
        {"System_Hibernation", "Disabled", "", "", "All Port"},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(list->GetItemText(r, c).toStdString(), expected[r][c]) << "row " << r << " column " << c;
    EXPECT_TRUE(d.CableLengthCheck()->isChecked());
    EXPECT_FALSE(d.LinkStatusCheck()->isChecked());
}

// After opening, the selected feature's stored row is in the controls and
// the profile is chosen by its exact name: "Day" and not "Daytime", which
// is listed first. Apply at once writes exactly what the switch held.
TEST_F(PowerSaveTest, ApplyRightAfterOpeningWritesWhatIsShown)
{
    CPowerSaveDlg d;
    Open(d);
    EXPECT_EQ(d.Profile1List()->itemText(1), "Daytime");
    EXPECT_EQ(d.Profile1List()->currentText(), "Day");
    EXPECT_EQ(d.Profile2List()->currentText(), "None");
    EXPECT_EQ(d.PortEdit()->text(), "1-4");
    EXPECT_EQ(d.StateList()->currentText(), "Enabled");
    ApplyAndWait(d, d.ApplyButton());
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{
        "P.31.1.2.0=1 P.31.1.1.0=f000000000000000 P.31.1.3.0=Day P.31.1.4.0=None"});
}

// Request composition per feature and state: a disabled feature sends its
// state alone, port standby sends its ports last, system hibernation sends
// no ports at all.
TEST_F(PowerSaveTest, EachFeatureSendsItsOwnRequest)
{
    struct Case {
        int type;
        int state;        // list index: 0 Enabled, 1 Disabled
        const char* ports;
        const char* request;
    };
    const Case cases[] = {
        {0, 1, "1-4", "P.31.1.2.0=2"},
        {1, 0, "1-2,52", "P.31.2.2.0=1 P.31.2.1.0=c000000000001000 P.31.2.3.0=Daytime P.31.2.4.0=None"},
        {2, 0, "5", "P.31.3.2.0=1 P.31.3.3.0=Daytime P.31.3.4.0=None P.31.3.1.0=0800000000000000"},
        {2, 1, "5", "P.31.3.2.0=2"},
        {3, 0, "", "P.31.4.1.0=1 P.31.4.2.0=Daytime P.31.4.3.0=None"},
    };
    CPowerSaveDlg d;
    Open(d);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ASSERT_TRUE(sim->command("clearlog"));
        d.TypeList()->setCurrentIndex(c.type);
        d.StateList()->setCurrentIndex(c.state);
        if (d.PortEdit()->isEnabled()) {
            d.PortEdit()->setText(QString::fromLatin1(c.ports));
        }
        if (c.state == 0) {
            d.Profile1List()->setCurrentIndex(d.Profile1List()->findText("Daytime"));
        }
        if (c.type == 3) {
            EXPECT_EQ(d.PortEdit()->text(), "All Port");
        }
        ApplyAndWait(d, d.ApplyButton());
        EXPECT_EQ(SetLines(*sim), std::vector<std::string>{c.request});
    }
}

// Port lists with a letter or a bad range are refused with the fixed
// message before any request.
TEST_F(PowerSaveTest, BadPortListIsRefusedBeforeAnyRequest)
{
    CPowerSaveDlg d;
    Open(d);
    for (const char* ports : {"1-4,x", "4-1", "1-53"}) {
        SCOPED_TRACE(ports);
        MessageRecorder messages;
        messages.expect("Invalid Portlist");
        d.PortEdit()->setText(QString::fromLatin1(ports));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        messages.ExpectAllUsed();
        EXPECT_TRUE(SetLines(*sim).empty());
    }
}

// A port list the parser refuses is refused for a feature being disabled
// too (its write would carry the state alone), and after any refusal of the
// write the dialog reads the switch again.
TEST_F(PowerSaveTest, RefusedPortListOfADisabledFeatureAndTheReread)
{
    CPowerSaveDlg d;
    Open(d);
    struct Case { const char* ports; int state; };
    const Case cases[] = {{"4-1", 0}, {"1-53", 1}};   // state list: 0 Enabled, 1 Disabled
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ports);
        ASSERT_TRUE(sim->command("clearlog"));
        MessageRecorder messages;
        messages.expect("Invalid Portlist");
        d.StateList()->setCurrentIndex(c.state);
        d.PortEdit()->setText(QString::fromLatin1(c.ports));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        messages.ExpectAllUsed();
        EXPECT_TRUE(SetLines(*sim).empty());
        EXPECT_FALSE(sim->requests().empty()) << "no read after the refusal";
    }
}

// The detection switches go in one request.
TEST_F(PowerSaveTest, GlobalApplyWritesBothDetectionSwitches)
{
    CPowerSaveDlg d;
    Open(d);
    EXPECT_TRUE(d.GlobalApplyButton()->isEnabled());
    d.CableLengthCheck()->setChecked(false);
    d.LinkStatusCheck()->setChecked(true);
    ApplyAndWait(d, d.GlobalApplyButton());
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.31.5.0=2 P.31.6.0=1"});
}

// A refused write is reported with the step and the object, not taken as
// done; both Apply buttons stay shut while the read is unanswered.
TEST_F(PowerSaveTest, RefusedWriteAndUnansweredRead)
{
    CPowerSaveDlg d;
    Open(d);
    ASSERT_TRUE(sim->command("error " + P + ".31.5.0 genErr"));
    {
        MessageRecorder messages;
        messages.script({IDOK});
        ApplyAndWait(d, d.GlobalApplyButton());
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(messages.texts()[0].contains("genErr")) << messages.texts()[0].toStdString();
    }
    ASSERT_TRUE(sim->command("clear"));
    ASSERT_TRUE(sim->command("drop all"));
    d.Refresh();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.GlobalApplyButton()->isEnabled());
    ASSERT_TRUE(sim->command("drop off"));
}

// Copper-port limits of the 20-port model: LED shut-off and port standby
// stop at port 16, port shut-off takes the fiber ports; 1-16 goes for all.
TEST(PowerSaveLimits, TwentyPortModelRefusesFiberPortsForLedAndStandby)
{
    EnsureTestApp();
    g_strDeviceName = QStringLiteral("PQS-4400-20");
    g_nDevicePortNum = 20;
    CPowSavSettings settings;
    struct Case {
        int type;
        const char* ports;
        bool accepted;
    };
    const Case cases[] = {{1, "1-17", false}, {3, "18", false}, {2, "1-17", true},
                          {1, "1-16", true},  {2, "1-16", true}, {3, "1-16", true}, {4, "", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.ports);
        MessageRecorder messages;
        if (!c.accepted)
            messages.expect("Not support fiber Port.");
        CCommonSNMP session;
        CSetSequence sequence(session);
        POWER_SAVE_ROW row;
        row.nType = c.type;
        row.strState = QStringLiteral("1");
        row.strPorts = QString::fromLatin1(c.ports);
        EXPECT_EQ(settings.SetPowerSaving(row, sequence).isEmpty(), c.accepted);
        EXPECT_EQ(sequence.StepCount(), c.accepted ? 1 : 0);
    }
    g_strDeviceName = QStringLiteral("PQS-4400-28");
    g_nDevicePortNum = 28;
    EXPECT_EQ(settings.PortLimit(1), 24);
    EXPECT_EQ(settings.PortLimit(2), 28);
    g_strDeviceName = QStringLiteral("PQS-4400-52");
    g_nDevicePortNum = 52;
    EXPECT_EQ(settings.PortLimit(1), 52);
}

// The main menu opens both dialogs: their commands have factories that
// build the right dialog.
TEST(PowerSaveCommands, MenuCommandsBuildTheDialogs)
{
    EnsureTestApp();
    CCommandTable table;
    ASSERT_TRUE(table.IsBuilt(ID_POWER_SAVING));
    ASSERT_TRUE(table.IsBuilt(ID_TIME_PROFILE));
    EXPECT_NE(dynamic_cast<CPowerSaveDlg*>(table.Find(ID_POWER_SAVING)->factory().get()), nullptr);
    EXPECT_NE(dynamic_cast<CTimeProfileInfo*>(table.Find(ID_TIME_PROFILE)->factory().get()), nullptr);
}
