// The GVRP global and port dialogs against the simulated switch.

#include "CCommandTable.h"
#include "CGVRPSettings.h"
#include "CGVRPTime.h"
#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace stptest;

namespace {

const std::string kGvrp = kPrivate + ".30.";
std::string G(int n)
{
    return kGvrp + std::to_string(n) + ".0";
}
std::string PortCell(int column, int port)
{
    return kGvrp + "5.1." + std::to_string(column) + "." + std::to_string(port);
}
const std::string kTrunkMembers = kPrivate + ".8.1.3.1.2.";

enum { kEnabled = 1232, kDisabled = 1233, kJoin = 1240, kLeave = 1241, kLeaveAll = 1005 };
enum { kFrom = 1100, kTo = 211, kPvid = 1235, kGvrpCombo = 1236, kFrameType = 1237, kIngress = 1238 };

class GvrpTest : public SwitchDialogTest
{
protected:
    static void SetTimers(CGVRPTime& d, const char* join, const char* leave, const char* leaveAll)
    {
        Control<QLineEdit>(&d, kJoin)->setText(QString::fromLatin1(join));
        Control<QLineEdit>(&d, kLeave)->setText(QString::fromLatin1(leave));
        Control<QLineEdit>(&d, kLeaveAll)->setText(QString::fromLatin1(leaveAll));
    }
    static void Range(CGVRPSettings& d, int from, int to)
    {
        Control<QComboBox>(&d, kFrom)->setCurrentIndex(from - 1);
        Control<QComboBox>(&d, kTo)->setCurrentIndex(to - 1);
    }
};

} // namespace

// The timer checks in their fixed order, with the numbers sent as checked:
// a check missing, two swapped, a boundary off by one or the typed text
// sent instead of the number each changes a message or the request.
TEST_F(GvrpTest, TimerChecksInOrder)
{
    ASSERT_TRUE(sim->command("set " + G(1) + " i 1"));
    struct Case {
        const char *join, *leave, *leaveAll;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {"100", "201", "202", nullptr},
        {"0100", "0201", "100000", nullptr},   // sent as 100, 201, 100000
        {"100", "200", "300", "Leave Time should be greater than 2*Join Time."},
        {"100", "300", "300", "Leave_All Time should be greater than Leave Time. "},
        {"99", "1", "1", "Join Time(100-100000)."},   // the first check wins
        {"abc", "300", "400", "Join Time(100-100000)."},
        {"100001", "300", "400", "Join Time(100-100000)."},
        {"100", "99", "400", "Leave Time(100-100000)."},
        {"100", "", "400", "Leave Time(100-100000)."},
        {"100", "300", "100001", "Leave_All Time(100-100000)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.join) + "/" + c.leave + "/" + c.leaveAll);
        CGVRPTime d;
        Open(d);
        ASSERT_TRUE(d.ApplyButton()->isEnabled());
        SetTimers(d, c.join, c.leave, c.leaveAll);
        ApplyExpecting(d, c.message);
        if (c.message) {
            EXPECT_EQ(Control<QLineEdit>(&d, kJoin)->text(), QString::fromLatin1(c.join)) << "input kept";
        } else {
            auto sets = SetRequests(*sim);
            ASSERT_EQ(sets.size(), 1u);
            ASSERT_EQ(sets[0].size(), 3u);
            EXPECT_EQ(sets[0][0], Varbind(G(2), "100"));
            EXPECT_EQ(sets[0][1], Varbind(G(3), "201"));
        }
    }
}

// State changes: disabling what is disabled writes nothing; disabling an
// enabled GVRP writes the state alone, unchecked timers and all; enabling
// writes the state and the three timers in one request, only after the
// checks pass.
TEST_F(GvrpTest, StateChangesWriteWhatTheyShould)
{
    {   // disabled -> disabled
        CGVRPTime d;
        Open(d);
        EXPECT_TRUE(Control<QRadioButton>(&d, kDisabled)->isChecked());
        EXPECT_FALSE(Control<QLineEdit>(&d, kJoin)->isEnabled());
        sim->clearLog();
        Apply(d);
        EXPECT_TRUE(sim->sets().empty());
    }
    {   // disabled -> enabled, timers refused: nothing
        CGVRPTime d;
        Open(d);
        Control<QRadioButton>(&d, kEnabled)->click();
        EXPECT_TRUE(Control<QLineEdit>(&d, kJoin)->isEnabled());
        SetTimers(d, "300", "500", "1000");
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Leave Time should be greater than 2*Join Time."));
        Apply(d);
        EXPECT_TRUE(sim->sets().empty());
    }
    {   // disabled -> enabled: one request, state first
        CGVRPTime d;
        Open(d);
        Control<QRadioButton>(&d, kEnabled)->click();
        SetTimers(d, "300", "700", "1000");
        sim->clearLog();
        Apply(d);
        EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{
                                         {{G(1), "1"}, {G(2), "300"}, {G(3), "700"}, {G(4), "1000"}}}));
        EXPECT_TRUE(Control<QRadioButton>(&d, kEnabled)->isChecked()) << "re-read after the write";
        EXPECT_EQ(Control<QLineEdit>(&d, kLeave)->text(), QStringLiteral("700"));
    }
    {   // enabled -> disabled with timers that would fail the checks
        CGVRPTime d;
        Open(d);
        Control<QRadioButton>(&d, kDisabled)->click();
        SetTimers(d, "99", "1", "1");
        sim->clearLog();
        Apply(d);
        EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{G(1), "2"}}}));
    }
}

// A failed read keeps Apply off and leaves Refresh and Close usable (the
// design left all three disabled); a refused write is reported and the
// dialog stays open with the switch's values.
TEST_F(GvrpTest, FailedReadAndRefusedWrite)
{
    ASSERT_TRUE(sim->command("drop under " + kGvrp + "1"));
    CGVRPTime d;
    Open(d);
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
    EXPECT_TRUE(d.CloseButton()->isEnabled());
    EXPECT_FALSE(d.StatusLine()->text().isEmpty());

    ASSERT_TRUE(sim->command("clear"));
    ASSERT_TRUE(sim->command("set " + G(1) + " i 1"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    ASSERT_TRUE(d.ApplyButton()->isEnabled());

    ASSERT_TRUE(sim->command("error " + G(3) + " wrongValue"));
    SetTimers(d, "100", "201", "202");
    MessageRecorder recorder;
    recorder.script({IDOK});
    Apply(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QString::fromStdString(G(3)))) << recorder.texts()[0].toStdString();
    EXPECT_TRUE(d.isVisible());
    // The switch kept its values: the re-read shows them.
    ASSERT_TRUE(sim->command("clear"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(Control<QLineEdit>(&d, kJoin)->text(), QStringLiteral("200"));
}

// The port list: one row per port in port order with the design's texts.
TEST_F(GvrpTest, PortListShowsTheTable)
{
    ASSERT_TRUE(sim->command("vlan add 7 7"));
    ASSERT_TRUE(sim->command("set " + PortCell(2, 3) + " i 7") && sim->command("set " + PortCell(3, 3) + " i 1")
                && sim->command("set " + PortCell(4, 3) + " i 2") && sim->command("set " + PortCell(5, 3) + " i 2"));
    CGVRPSettings d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    const QStringList expected = {"3", "7", "Enabled", "Disabled", "TaggedOnly"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(d.List()->GetItemText(2, c), expected[c]) << c;
    EXPECT_EQ(d.List()->GetItemText(51, 0), QStringLiteral("52"));
    EXPECT_EQ(d.List()->GetItemText(0, 4), QStringLiteral("AllFrames"));
    // GVRP off: its port settings cannot be chosen.
    EXPECT_FALSE(Control<QComboBox>(&d, kGvrpCombo)->isEnabled());
}

// GVRP's own link rule: a range must hold whole links. With ports 3 and 4
// in one link, 1-3 and 4-6 are refused, 3-4 passes.
TEST_F(GvrpTest, RangesMustHoldWholeLinks)
{
    ASSERT_TRUE(sim->command("set " + kTrunkMembers + "1 x 3000000000000000"));
    struct Case {
        int from, to;
        bool refused;
    };
    for (const Case& c : {Case{1, 3, true}, Case{4, 6, true}, Case{3, 4, false}, Case{5, 6, false}}) {
        SCOPED_TRACE(std::to_string(c.from) + "-" + std::to_string(c.to));
        CGVRPSettings d;
        Open(d);
        Range(d, c.from, c.to);
        Control<QLineEdit>(&d, kPvid)->setText(QStringLiteral("1"));
        sim->clearLog();
        MessageRecorder recorder;
        if (c.refused)
            recorder.expect(QStringLiteral("Some ports in the same LA Group are not be included."));
        Apply(d);
        recorder.ExpectAllUsed();
        EXPECT_EQ(SetRequests(*sim).size(), c.refused ? 0u : size_t(c.to - c.from + 1));
    }
}

// The PVID is checked whole: "0", "4095", "abc", " 5" and "" are refused
// before anything is sent.
TEST_F(GvrpTest, PvidOutsideTheRangeIsRefused)
{
    CGVRPSettings d;
    Open(d);
    Range(d, 5, 5);
    for (const char* pvid : {"0", "4095", "abc", " 5", "", "5x"}) {
        SCOPED_TRACE(pvid);
        Control<QLineEdit>(&d, kPvid)->setText(QString::fromLatin1(pvid));
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("PVID Range is 1-4094"));
        Apply(d);
        recorder.ExpectAllUsed();
        EXPECT_TRUE(sim->sets().empty());
    }
}

// Ports 5 to 8: four requests, one per port, each with PVID, GVRP, ingress
// checking and frame types in column order, as the combos map them.
TEST_F(GvrpTest, PortRangeWritesOneRequestPerPort)
{
    ASSERT_TRUE(sim->command("set " + G(1) + " i 1"));
    CGVRPSettings d;
    Open(d);
    EXPECT_TRUE(Control<QComboBox>(&d, kGvrpCombo)->isEnabled());
    Control<QComboBox>(&d, kFrom)->setCurrentIndex(4);
    Control<QComboBox>(&d, kFrom)->activated(4);   // To follows From
    EXPECT_EQ(Control<QComboBox>(&d, kTo)->currentIndex(), 4);
    Control<QComboBox>(&d, kTo)->setCurrentIndex(7);
    Control<QLineEdit>(&d, kPvid)->setText(QStringLiteral("01"));
    Control<QComboBox>(&d, kGvrpCombo)->setCurrentIndex(1);   // Enabled
    Control<QComboBox>(&d, kIngress)->setCurrentIndex(0);     // Disabled
    Control<QComboBox>(&d, kFrameType)->setCurrentIndex(1);   // Tagged Only
    sim->clearLog();
    Apply(d);
    std::vector<std::vector<Varbind>> expected;
    for (int port = 5; port <= 8; ++port)
        expected.push_back({{PortCell(2, port), "1"}, {PortCell(3, port), "1"}, {PortCell(4, port), "2"},
                            {PortCell(5, port), "2"}});
    EXPECT_EQ(SetRequests(*sim), expected);
    ASSERT_EQ(d.List()->GetItemCount(), 52) << "re-read after the write";
    EXPECT_EQ(d.List()->GetItemText(7, 4), QStringLiteral("TaggedOnly"));
}

// A refused set stops the range and is reported: a PVID the switch does
// not take, and a refusal in the middle of the range.
TEST_F(GvrpTest, RefusedSetStopsTheRangeAndIsReported)
{
    CGVRPSettings d;
    Open(d);
    Range(d, 5, 8);
    Control<QLineEdit>(&d, kPvid)->setText(QStringLiteral("77"));   // no such VLAN
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.script({IDOK});
        Apply(d);
        ASSERT_EQ(recorder.texts().size(), 1);
        EXPECT_TRUE(recorder.texts()[0].contains(QString::fromStdString(PortCell(2, 5))))
            << recorder.texts()[0].toStdString();
    }
    EXPECT_EQ(SetRequests(*sim).size(), 1u);

    ASSERT_TRUE(sim->command("error " + PortCell(3, 6) + " genErr"));
    Range(d, 5, 8);
    Control<QLineEdit>(&d, kPvid)->setText(QStringLiteral("1"));
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.script({IDOK});
        Apply(d);
        ASSERT_EQ(recorder.texts().size(), 1);
        EXPECT_TRUE(recorder.texts()[0].contains(QStringLiteral("port 6"))) << recorder.texts()[0].toStdString();
    }
    EXPECT_EQ(SetRequests(*sim).size(), 2u) << "ports 7 and 8 are not sent";
}

// Apply waits for every read of this Refresh: a link read that fails keeps
// it off even though the other reads ended (the design counted "Finished"
// reports across Refreshes and enabled Apply early).
TEST_F(GvrpTest, ApplyWaitsForEveryReadOfThisRefresh)
{
    CGVRPSettings d;
    Open(d);
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(sim->command("drop under " + kTrunkMembers.substr(0, kTrunkMembers.size() - 1)));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.StatusLine()->text().contains(QStringLiteral("aggregated links")));
}

// To Port below From Port is refused and put back to From Port.
TEST_F(GvrpTest, ToPortNeverBelowFromPort)
{
    CGVRPSettings d;
    Open(d);
    Control<QComboBox>(&d, kFrom)->setCurrentIndex(9);
    Control<QComboBox>(&d, kFrom)->activated(9);
    Control<QComboBox>(&d, kTo)->setCurrentIndex(3);
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("'To Port' can not be smaller than 'From Port'"));
    Control<QComboBox>(&d, kTo)->activated(3);
    EXPECT_EQ(Control<QComboBox>(&d, kTo)->currentIndex(), 9);
}

// The menu's two GVRP commands build their dialogs (global: CGVRPTime,
// ports: CGVRPSettings).
TEST(GvrpCommands, MenuCommandsBuildTheDialogs)
{
    EnsureTestApp();
    CCommandTable table;
    EXPECT_NE(dynamic_cast<CGVRPTime*>(table.Find(ID_GVRP_GLOBAL)->factory().get()), nullptr);
    EXPECT_NE(dynamic_cast<CGVRPSettings*>(table.Find(ID_GVRP_PORT)->factory().get()), nullptr);
}
