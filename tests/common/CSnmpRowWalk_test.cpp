#include "CCommonSNMP.h"
#include "CSnmpRowWalk.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kVlan = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1");
const QString kName = kVlan + QStringLiteral(".1");
const QString kStatus = kVlan + QStringLiteral(".6");
const std::string kVlanS = kVlan.toStdString();

class RowWalkTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());   // answers come through the event loop, as in the program
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
    }

    // Records every end report of the walk.
    std::function<void(const WalkOutcome&)> Recorder()
    {
        return [this](const WalkOutcome& o) { ends.push_back(o); };
    }

    std::vector<WalkOutcome> ends;
};

} // namespace

// Rows are keyed by index and ordered as OIDs: a sparse table (a row with
// no name, a row with no status, an index past 255) must neither shift
// cells onto another row nor sort "300" before "5".
TEST_F(RowWalkTest, SparseRowsStayOnTheirIndex)
{
    ASSERT_TRUE(sim.command("set " + kVlanS + ".1.20 s v20"));     // no status cell
    ASSERT_TRUE(sim.command("set " + kVlanS + ".6.5 i 3"));        // no name cell
    ASSERT_TRUE(sim.command("set " + kVlanS + ".1.300 s v300"));
    ASSERT_TRUE(sim.command("set " + kVlanS + ".6.300 i 2"));

    CCommonSNMP session;
    CSnmpRowWalk walk(session);
    ASSERT_TRUE(walk.Start({kName, kStatus}, Recorder()));
    ASSERT_TRUE(WaitFor([&] { return !ends.empty(); }));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].nResult, WalkOutcome::Complete) << ends[0].strWhy.toStdString();

    QStringList order;
    for (const SnmpRow& row : walk.Rows())
        order << row.strIndex;
    EXPECT_EQ(order, (QStringList{"1", "5", "20", "300"}));

    const SnmpRow* v1 = walk.Find("1");
    ASSERT_NE(v1, nullptr);
    EXPECT_EQ(v1->Text(0), "default");
    EXPECT_EQ(v1->Text(1), "1");
    const SnmpRow* v5 = walk.Find("5");
    ASSERT_NE(v5, nullptr);
    EXPECT_FALSE(v5->Has(0));
    EXPECT_EQ(v5->Text(1), "3");
    const SnmpRow* v20 = walk.Find("20");
    ASSERT_NE(v20, nullptr);
    EXPECT_EQ(v20->Text(0), "v20");
    EXPECT_FALSE(v20->Has(1));
    EXPECT_EQ(walk.Find("300")->Text(1), "2");
    EXPECT_EQ(walk.Find("2"), nullptr);
    EXPECT_FALSE(walk.IsRunning());
}

// A walk cut short is reported once as the failure it is, never as a
// complete table: answers that stop coming (every step carries the status
// column; the walk names the first column still running), and an error
// status in the middle of the first column.
TEST_F(RowWalkTest, CutShortWalkEndsOnceWithItsOutcome)
{
    struct Case {
        const char* what;
        std::string fault;
        int result;
        QString column;
        QString lastIndex;
    };
    const Case cases[] = {
        {"drop in the status column", "drop under " + kVlanS + ".6", WalkOutcome::NoAnswer, kName, ""},
        {"error status after row 1", "error " + kVlanS + ".1.20 genErr", WalkOutcome::ErrorStatus, kName, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim.command("reset"));
        ASSERT_TRUE(sim.command("set " + kVlanS + ".1.20 s v20"));
        ASSERT_TRUE(sim.command("set " + kVlanS + ".6.20 i 1"));
        ASSERT_TRUE(sim.command(c.fault));
        ends.clear();
        if (c.result == WalkOutcome::NoAnswer)
            UseLostAnswerTimeout();   // the walk's first request is the one dropped
        else
            UseAnswerTimeout();
        CCommonSNMP session;
        CSnmpRowWalk walk(session);
        ASSERT_TRUE(walk.Start({kName, kStatus}, Recorder()));
        ASSERT_TRUE(WaitFor([&] { return !ends.empty(); }));
        EXPECT_EQ(ends[0].nResult, c.result);
        EXPECT_EQ(ends[0].strColumn, c.column);
        EXPECT_EQ(ends[0].strIndex, c.lastIndex);
        if (c.result == WalkOutcome::NoAnswer) {
            EXPECT_EQ(ends[0].strWhy, "No answer from 127.0.0.1");
        }
        EXPECT_FALSE(walk.IsRunning());
        // Nothing more arrives once the end was told (a second report
        // would run a dialog's end handling twice).
        ASSERT_TRUE(sim.command("clear"));
        CCommonSNMP other;
        CSnmpRowWalk marker(other);
        bool markerDone = false;
        marker.Start({kStatus}, [&](const WalkOutcome&) { markerDone = true; });
        ASSERT_TRUE(WaitFor([&] { return markerDone; }));
        EXPECT_EQ(ends.size(), 1u);
    }
}

// A dialog restarts the walk from inside its end report (Refresh after a
// failure) and restarts a running walk (Refresh pressed twice): each Start
// ends exactly once, the rows are those of the last walk only, never
// doubled or mixed with the old walk's answers.
TEST_F(RowWalkTest, RestartFromTheReportAndWhileRunning)
{
    ASSERT_TRUE(sim.command("set " + kVlanS + ".1.20 s v20"));
    ASSERT_TRUE(sim.command("set " + kVlanS + ".6.20 i 1"));
    CCommonSNMP session;
    CSnmpRowWalk walk(session);

    int restarts = 0;
    std::function<void(const WalkOutcome&)> onEnd = [&](const WalkOutcome& o) {
        ends.push_back(o);
        EXPECT_FALSE(walk.IsRunning());   // state is final before the report
        if (restarts++ == 0)
            walk.Start({kName, kStatus}, onEnd);
    };
    ASSERT_TRUE(walk.Start({kName, kStatus}, onEnd));
    ASSERT_TRUE(WaitFor([&] { return ends.size() == 2; }));
    EXPECT_EQ(ends[1].nResult, WalkOutcome::Complete);
    EXPECT_EQ(walk.RowCount(), 2);

    // Restart while the first walk's answer is still on its way.
    ends.clear();
    ASSERT_TRUE(sim.command("delay 150"));
    std::vector<WalkOutcome> second;
    ASSERT_TRUE(walk.Start({kName, kStatus}, Recorder()));
    ASSERT_TRUE(walk.Start({kName}, [&](const WalkOutcome& o) { second.push_back(o); }));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].nResult, WalkOutcome::Cancelled);
    ASSERT_TRUE(WaitFor([&] { return !second.empty(); }));
    EXPECT_EQ(second[0].nResult, WalkOutcome::Complete);
    ASSERT_EQ(walk.RowCount(), 2);
    for (const SnmpRow& row : walk.Rows())
        EXPECT_EQ(row.cells.size(), 1);   // only the second walk's column
    EXPECT_EQ(ends.size(), 1u);
    EXPECT_EQ(second.size(), 1u);
}

// Cancel reports once, and the answer still on its way reaches nobody.
TEST_F(RowWalkTest, CancelReportsOnceAndDropsTheLateAnswer)
{
    ASSERT_TRUE(sim.command("delay 150"));
    CCommonSNMP session;
    CSnmpRowWalk walk(session);
    ASSERT_TRUE(walk.Start({kName}, Recorder()));
    walk.Cancel();
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].nResult, WalkOutcome::Cancelled);
    walk.Cancel();   // nothing runs: no second report
    EXPECT_EQ(ends.size(), 1u);

    CCommonSNMP other;
    CSnmpRowWalk marker(other);
    bool markerDone = false;
    marker.Start({kName}, [&](const WalkOutcome&) { markerDone = true; });
    ASSERT_TRUE(WaitFor([&] { return markerDone; }));
    EXPECT_EQ(ends.size(), 1u);
    EXPECT_EQ(walk.RowCount(), 0);
}
