// The IGMP snooping global dialog against the simulated switch.

#include "CIGMPSnoopConfig.h"
#include "CStatusLine.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kGlobal = kPrivate + ".10.1.";
std::string G(int n)
{
    return kGlobal + std::to_string(n) + ".0";
}

// Edit ids in the order the checks run.
enum { kHost = 6871, kRouter = 5654, kRobust = 7841, kLastMember = 43565, kQuery = 1246, kMaxResp = 4324 };

class IgmpGlobalTest : public SwitchDialogTest
{
protected:
    static QLineEdit* Edit(CIGMPSnoopConfig& d, int id) { return Control<QLineEdit>(&d, id); }
};

} // namespace

// The six ranges, checked in their order with both boundaries: a range off
// by one, a check missing or two checks swapped shows another message (or
// none), and a refused apply must send nothing.
TEST_F(IgmpGlobalTest, SixRangesInOrder)
{
    struct Case {
        int id;
        const char* value;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {kHost, "129", "Invalid Host Timeout (130-153025 sec)."},
        {kHost, "153026", "Invalid Host Timeout (130-153025 sec)."},
        {kHost, "", "Invalid Host Timeout (130-153025 sec)."},
        {kHost, "130", nullptr},
        {kHost, "153025", nullptr},
        {kRouter, "59", "Invalid Router Timeout (60-600 sec)."},
        {kRouter, "601", "Invalid Router Timeout (60-600 sec)."},
        {kRouter, "600", nullptr},
        {kRobust, "1", "Invalid Robustness Variable (2-255)."},
        {kRobust, "256", "Invalid Robustness Variable (2-255)."},
        {kRobust, "255", nullptr},
        {kLastMember, "0", "Invalid Last Member Query Interval (1-25 sec)."},
        {kLastMember, "26", "Invalid Last Member Query Interval (1-25 sec)."},
        {kLastMember, "25", nullptr},
        {kQuery, "59", "Invalid Query Interval (60-600 sec)."},
        {kQuery, "601", "Invalid Query Interval (60-600 sec)."},
        {kQuery, "60", nullptr},
        {kMaxResp, "9", "Invalid Max. Response Time (10-25 sec)."},
        {kMaxResp, "26", "Invalid Max. Response Time (10-25 sec)."},
        {kMaxResp, "25", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + "=" + c.value);
        ASSERT_TRUE(sim->command("reset"));
        CIGMPSnoopConfig d;
        Open(d);
        Edit(d, c.id)->setText(QString::fromLatin1(c.value));
        ApplyExpecting(d, c.message);
        if (!c.message) {
            EXPECT_EQ(SetRequests(*sim).size(), 1u);
        }
    }

    // Two failing fields: the first in the order is the one reported.
    CIGMPSnoopConfig d;
    Open(d);
    Edit(d, kMaxResp)->setText(QStringLiteral("99"));
    Edit(d, kRobust)->setText(QStringLiteral("1"));
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("Invalid Robustness Variable (2-255)."));
    Apply(d);
}

// Disabling asks first and writes the state alone, even with changed
// timers; Cancel writes nothing and shows the switch's values again.
TEST_F(IgmpGlobalTest, DisablingAsksAndSendsOnlyTheState)
{
    CIGMPSnoopConfig d;
    Open(d);
    Control<QCheckBox>(&d, 545)->click();
    EXPECT_FALSE(Edit(d, kHost)->isEnabled());
    Edit(d, kQuery)->setText(QStringLiteral("300"));
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("All router ports will be deleted."), IDCANCEL);
        Apply(d);
    }
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_TRUE(Control<QCheckBox>(&d, 545)->isChecked());
    EXPECT_EQ(Edit(d, kQuery)->text(), QStringLiteral("125"));

    Control<QCheckBox>(&d, 545)->click();
    Edit(d, kQuery)->setText(QStringLiteral("300"));
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("All router ports will be deleted."), IDOK);
        Apply(d);
    }
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{G(1), "2"}}}));

    // Already disabled: the question still comes; OK sends nothing.
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("All router ports will be deleted."), IDOK);
    Apply(d);
    EXPECT_TRUE(sim->sets().empty());
}

// Disabled to enabled with changed timers: the state in a request of its
// own, then only the changed timers, as checked numbers, in one request.
TEST_F(IgmpGlobalTest, EnablingSendsStateThenChangedTimers)
{
    ASSERT_TRUE(sim->command("set " + G(1) + " i 2"));
    CIGMPSnoopConfig d;
    Open(d);
    EXPECT_FALSE(Edit(d, kRouter)->isEnabled());
    Control<QCheckBox>(&d, 545)->click();
    EXPECT_TRUE(Edit(d, kRouter)->isEnabled());
    Edit(d, kRouter)->setText(QStringLiteral("0300"));
    Edit(d, kMaxResp)->setText(QStringLiteral("20"));
    sim->clearLog();
    Apply(d);
    const std::vector<std::vector<Varbind>> expected = {{{G(1), "1"}}, {{G(2), "300"}, {G(7), "20"}}};
    EXPECT_EQ(SetRequests(*sim), expected);
    EXPECT_EQ(Edit(d, kRouter)->text(), QStringLiteral("300"));
}

// Enabled and nothing changed: nothing is sent (an empty set would be a
// failure to report for no reason).
TEST_F(IgmpGlobalTest, NothingChangedSendsNothing)
{
    CIGMPSnoopConfig d;
    Open(d);
    sim->clearLog();
    Apply(d);
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// A failed read leaves Apply off, Refresh usable and says why.
TEST_F(IgmpGlobalTest, FailedReadIsShownAndRefreshWorks)
{
    ASSERT_TRUE(sim->command("drop all"));
    CIGMPSnoopConfig d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
    EXPECT_TRUE(d.StatusLine()->text().contains(QStringLiteral("IGMP snooping settings")));
    ASSERT_TRUE(sim->command("drop off"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(Edit(d, kHost)->text(), QStringLiteral("260"));
}
