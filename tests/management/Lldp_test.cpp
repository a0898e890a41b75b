// The LLDP dialogs against the simulated switch: what they read, the timer
// rules, the state write's three attempts without a frozen window, MED rows
// by port, and the remote table.

#include "CLLDPGroup.h"
#include "CLLDPMED.h"
#include "CLLDPREMOTEINFO.h"
#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "LldpSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kLldp = "1.3.6.1.4.1.32473.10.126.4.1.24.";
const std::string kState = kLldp + "1.0";
const std::string kMed = kLldp + "7.1.2.";

QString Text(const QWidget* d, int id)
{
    QWidget* w = GetDlgItem(d, id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return QStringLiteral("<no control %1>").arg(id);
}

QLineEdit* Edit(const QWidget* d, int id)
{
    return qobject_cast<QLineEdit*>(GetDlgItem(d, id));
}

class LldpTest : public SharedSwitchDialogTest
{
protected:
    static void SetUpTestSuite()
    {
        SharedSwitchDialogTest::SetUpTestSuite();
        // Short pauses: the same logic, quicker.
        LldpSettings::CurrentWaits() = {60, 40, 60, 3};
    }
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        // The writes here are sent again when no answer comes in time: a
        // time-out short enough to fire on a loaded machine would send a set
        // twice. Only the test of lost answers shortens it.
        UseAnswerTimeout();
        g_nDevicePortNum = 52;
    }

    static bool Idle(CConfigDialog& d)
    {
        return WaitFor([&] {
            return !d.Gate().Pending() && !d.IsWriting() && !d.IsSettling() && d.RefreshButton()->isEnabled();
        }, 20000);
    }
    static bool Open(CConfigDialog& d)
    {
        d.show();
        return Idle(d);
    }
};

// Every field from its object, by position; the chassis ID as hex pairs;
// the timers offered because LLDP is on.
TEST_F(LldpTest, GlobalSettingsShowWhatTheSwitchHolds)
{
    MessageRecorder messages;
    CLLDPGroup d;
    ASSERT_TRUE(Open(d));
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_EQ(Text(&d, 1093), "4");
    EXPECT_EQ(Text(&d, 1105), "30");
    EXPECT_EQ(Text(&d, 1005), "2");
    EXPECT_EQ(Text(&d, 1008), "2");
    EXPECT_EQ(Text(&d, 1106), "macAddress");
    EXPECT_EQ(Text(&d, 1009), "00A0C9004400");
    EXPECT_EQ(Text(&d, 1096), "PQS-4400-52");
    EXPECT_EQ(Text(&d, 1011), "PQS-4400-52 Managed Gigabit Ethernet Switch");
    EXPECT_TRUE(Edit(&d, 1093)->isEnabled());
    EXPECT_TRUE(d.TimersApply()->isEnabled());
    EXPECT_TRUE(d.EnableApply()->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// LLDP off on the switch: the box is clear and the timers are not offered;
// the state itself can still be changed.
TEST_F(LldpTest, GlobalSettingsWithLldpDisabled)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 2"));
    CLLDPGroup d;
    ASSERT_TRUE(Open(d));
    EXPECT_FALSE(d.EnableBox()->isChecked());
    for (int id : {1093, 1105, 1005, 1008})
        EXPECT_FALSE(Edit(&d, id)->isEnabled()) << id;
    EXPECT_FALSE(d.TimersApply()->isEnabled());
    EXPECT_TRUE(d.EnableApply()->isEnabled());
}

// The timer rules in their order, each with its message and nothing sent;
// values as checked are sent, in one set, in the object order.
TEST_F(LldpTest, TimerRules)
{
    struct Case
    {
        const char* hold;
        const char* interval;
        const char* reinit;
        const char* delay;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {"11", "30", "2", "2", "The Message TX Hold Multipier should be 2-10"},
        {"1", "30", "2", "2", "The Message TX Hold Multipier should be 2-10"},
        {"0x4", "30", "2", "2", "The Message TX Hold Multipier should be 2-10"},
        {"4", "4", "2", "2", "The Message TX Interval should be 5-32768"},
        {"4", "32769", "2", "2", "The Message TX Interval should be 5-32768"},
        {"4", " 30", "2", "2", "The Message TX Interval should be 5-32768"},
        {"4", "30", "0", "2", "The LLDP Reinit Delay should be 1-10"},
        {"4", "30", "11", "2", "The LLDP Reinit Delay should be 1-10"},
        {"4", "30", "2", "0", "The LLDP TX Delay should be 1-8192"},
        {"4", "30", "2", "8193", "The LLDP TX Delay should be 1-8192"},
        {"4", "30", "2", "8", "LLDP TX Delay should be <= 0.25 * (Message TX Interval)"},
        {"10", "030", "10", "7", nullptr},   // 7 <= 7.5
    };
    CLLDPGroup d;
    ASSERT_TRUE(Open(d));
    for (const Case& c : cases) {
        MessageRecorder messages;
        if (c.message)
            messages.expect(c.message);
        sim->clearLog();
        Edit(&d, 1093)->setText(c.hold);
        Edit(&d, 1105)->setText(c.interval);
        Edit(&d, 1005)->setText(c.reinit);
        Edit(&d, 1008)->setText(c.delay);
        d.TimersApply()->click();
        ASSERT_TRUE(Idle(d));
        if (c.message) {
            EXPECT_EQ(messages.texts(), QStringList({c.message})) << c.hold << " " << c.interval << " " << c.delay;
            EXPECT_TRUE(sim->sets().empty());
            continue;
        }
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
        const auto sets = sim->sets();
        ASSERT_EQ(sets.size(), 1u);
        ASSERT_EQ(sets[0].varbinds.size(), 4u);
        const char* const expected[][2] = {{"2.0", "10"}, {"3.0", "30"}, {"4.0", "10"}, {"5.0", "7"}};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(sets[0].varbinds[i].oid, kLldp + expected[i][0]);
            EXPECT_EQ(sets[0].varbinds[i].value, expected[i][1]);
        }
        // Read again after the pause: the edits show what the switch holds.
        EXPECT_EQ(Text(&d, 1105), "30");
        EXPECT_EQ(Text(&d, 1008), "7");
    }
}

// The switch drops its answers: the state set goes out exactly three times,
// the window keeps working meanwhile, the failure is told and the dialog
// reads again. One lost answer: the second attempt is taken.
TEST_F(LldpTest, EnableWriteTriesThreeTimes)
{
    struct Case
    {
        int dropped;
        size_t sets;
        bool failed;
    };
    g_strSnmpTimeout = QStringLiteral("1000");   // each lost answer costs one time-out
    for (const Case c : {Case{3, 3, true}, Case{5, 3, true}, Case{1, 2, false}, Case{0, 1, false}}) {
        CLLDPGroup d;
        ASSERT_TRUE(Open(d));
        MessageRecorder messages;
        if (c.failed)
            messages.script({IDOK});   // the failure's text, checked below
        sim->clearLog();
        ASSERT_TRUE(sim->command("drop " + std::to_string(c.dropped)));
        d.EnableBox()->setChecked(false);
        d.EnableApply()->click();
        // The click returned before the switch answered: nothing blocks.
        EXPECT_TRUE(d.IsWriting());
        EXPECT_FALSE(d.EnableApply()->isEnabled());
        ASSERT_TRUE(Idle(d)) << c.dropped;
        ASSERT_TRUE(sim->command("drop off"));
        EXPECT_EQ(sim->sets().size(), c.sets) << c.dropped;
        for (const SimRequest& r : sim->sets()) {
            ASSERT_EQ(r.varbinds.size(), 1u);
            EXPECT_EQ(r.varbinds[0].oid, kState);
            EXPECT_EQ(r.varbinds[0].value, "2");
        }
        ASSERT_EQ(messages.texts().size(), c.failed ? 1 : 0) << c.dropped;
        if (c.failed) {
            EXPECT_TRUE(messages.texts()[0].contains("No answer")) << messages.texts()[0].toStdString();
        }
        // A dropped answer is still a set the switch carried out.
        EXPECT_EQ(sim->value(kState), "i 2");
        ASSERT_TRUE(sim->command("set " + kState + " i 1"));
    }
}

// After the switch took the state, the dialog waits before reading again
// and offers nothing meanwhile.
TEST_F(LldpTest, ReadsAgainOnlyAfterThePause)
{
    CLLDPGroup d;
    ASSERT_TRUE(Open(d));
    sim->clearLog();
    d.EnableBox()->setChecked(false);
    d.EnableApply()->click();
    ASSERT_TRUE(WaitFor([&] { return d.IsSettling(); }));
    EXPECT_FALSE(d.EnableApply()->isEnabled());
    EXPECT_FALSE(d.RefreshButton()->isEnabled());
    EXPECT_EQ(sim->requests().size(), 1u);   // the set, no read yet
    ASSERT_TRUE(Idle(d));
    const auto log = sim->requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].pdu, "get");
    EXPECT_FALSE(d.EnableBox()->isChecked());
    EXPECT_FALSE(d.TimersApply()->isEnabled());
}

// MED rows are numbered by their port, so a missing row shifts nothing.
TEST_F(LldpTest, MedRowsByPort)
{
    ASSERT_TRUE(sim->command("unset " + kMed + "3"));
    MessageRecorder messages;
    CLLDPMED d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 51);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"    1", "Enable"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"    4", "Enable"}));
    EXPECT_EQ(ListRow(d.List(), 47), QStringList({"    49", "Disable"}));
    EXPECT_EQ(d.FromPort()->count(), 52);
    EXPECT_EQ(d.FromPort()->itemText(0), "   1 ");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// LLDP off: the message, and nothing to set.
TEST_F(LldpTest, MedWithLldpDisabled)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 2"));
    MessageRecorder messages;
    messages.expect("The LLDP is disable ,so can not set LLDP MED !");
    CLLDPMED d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(messages.texts(), QStringList({"The LLDP is disable ,so can not set LLDP MED !"}));
    EXPECT_FALSE(d.FromPort()->isEnabled());
    EXPECT_FALSE(d.ToPort()->isEnabled());
    EXPECT_FALSE(d.PseTlv()->isEnabled());
    EXPECT_FALSE(d.List()->isEnabled());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// A port range: one set per port in order, then the table is read again.
// "To Port" below "From Port" is refused and put back.
TEST_F(LldpTest, MedWriteAndPortRange)
{
    CLLDPMED d;
    ASSERT_TRUE(Open(d));
    MessageRecorder messages;
    messages.expect("'To Port' can not be smaller than 'From Port'");
    d.FromPort()->setCurrentIndex(4);
    emit d.FromPort()->activated(4);
    EXPECT_EQ(d.ToPort()->currentIndex(), 4);
    d.ToPort()->setCurrentIndex(2);
    emit d.ToPort()->activated(2);
    EXPECT_EQ(messages.texts(), QStringList({"'To Port' can not be smaller than 'From Port'"}));
    EXPECT_EQ(d.ToPort()->currentIndex(), 4);
    messages.clear();

    d.ToPort()->setCurrentIndex(6);
    emit d.ToPort()->activated(6);
    d.PseTlv()->setCurrentIndex(1);
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sets[i].varbinds[0].oid, kMed + std::to_string(5 + i));
        EXPECT_EQ(sets[i].varbinds[0].value, "2");
    }
    EXPECT_EQ(ListRow(d.List(), 5), QStringList({"    6", "Disable"}));
    EXPECT_EQ(ListRow(d.List(), 7), QStringList({"    8", "Enable"}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

// The remote table: local port and remote index from the row's index, the
// subtypes as names, the chassis ID as hex, the count beside it.
TEST_F(LldpTest, RemoteTableOverV1)
{
    MessageRecorder messages;
    CLLDPREMOTEINFO d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "1", "macAddress", "001B21A0B0C1", "interfaceName", "gi0/1",
                                             "GigabitEthernet0/1", "core-sw1", "Core switch, floor 1"}));
    // A MAC address as port ID shows as hex pairs, not as raw octets.
    EXPECT_EQ(ListRow(d.List(), 1).mid(4, 2), QStringList({"macAddress", "001B21A0B0D2"}));
    EXPECT_EQ(ListRow(d.List(), 2).mid(0, 6),
              QStringList({"49", "12", "macAddress", "00A0C9115500", "local", "49"}));
    EXPECT_EQ(d.CountLabel()->text(), "3");
    EXPECT_TRUE(messages.texts().isEmpty());
}

// LLDP off on the switch: the table and Refresh are disabled and stay so
// after the walk that follows the state read (its end enables Refresh).
TEST_F(LldpTest, RemoteTableWithLldpOffDisablesRefresh)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 2"));
    MessageRecorder messages;
    CLLDPREMOTEINFO d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && !d.Walk()->IsRunning() && d.Gate().AllSucceeded(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(d.List()->isEnabled());
    EXPECT_FALSE(d.RefreshButton()->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// Over SNMPv3 the dialog opens empty and sends nothing; Refresh reads.
TEST_F(LldpTest, RemoteTableOverV3OpensEmpty)
{
    UseSimUser(SimulatedSwitch::Users().front());
    sim->clearLog();
    CLLDPREMOTEINFO d;
    d.show();
    QCoreApplication::processEvents();
    // Reads start as the window opens; none did.
    EXPECT_FALSE(d.Walk()->IsRunning());
    EXPECT_FALSE(d.Gate().Pending());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(d.CountLabel()->text(), "0");
    EXPECT_TRUE(sim->requests().empty());
    d.RefreshButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(d.List()->GetItemCount(), 3);
}

// The state read fails: its message; an empty table says so on the status
// line with the count at 0.
TEST_F(LldpTest, RemoteTableFailuresAndEmptyTable)
{
    {
        ASSERT_TRUE(sim->command("error " + kState + " genErr"));
        MessageRecorder messages;
        messages.expect("Get LLDP remote port information unsuccessful!");
        CLLDPREMOTEINFO d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(messages.texts(), QStringList({"Get LLDP remote port information unsuccessful!"}));
        EXPECT_EQ(d.List()->GetItemCount(), 0);
    }
    ASSERT_TRUE(sim->command("reset"));
    for (int col = 4; col <= 10; ++col)
        for (const char* index : {"0.1.1", "0.2.2", "1200.49.12"})
            ASSERT_TRUE(sim->command("unset 1.0.8802.1.1.2.1.4.1.1." + std::to_string(col) + "." + index));
    MessageRecorder messages;
    CLLDPREMOTEINFO d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(d.CountLabel()->text(), "0");
    EXPECT_EQ(d.StatusLine()->text(), "There is no LLDP Remote Port");
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
