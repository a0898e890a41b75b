// The spanning tree port table and the settings dialog of one port, against
// the simulated switch.

#include "CListCtrlEx.h"
#include "CSpanTree.h"
#include "CSpanTreePortParam.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kPort = kPrivate + ".51.2.1.";   // column.port
const std::string kLoopDetect = kPrivate + ".17.5.1.2.";
const std::string kStdEnable = "1.3.6.1.2.1.17.2.15.1.4.";
std::string P(int column, int port)
{
    return kPort + std::to_string(column) + "." + std::to_string(port);
}

class SpanTreeTest : public SwitchDialogTest
{
protected:
    // The row of `port` in the table, or -1.
    static int RowOf(CSpanTree& t, int port)
    {
        for (int i = 0; i < t.List()->GetItemCount(); ++i)
            if (t.List()->GetItemText(i, 0) == QString::number(port))
                return i;
        return -1;
    }
    // A settings dialog opened on `port`'s row, its reads done.
    static std::unique_ptr<CSpanTreePortParam> OpenPort(CSpanTree& t, int port)
    {
        t.List()->SelectItem(RowOf(t, port));
        auto d = std::make_unique<CSpanTreePortParam>(&t);
        Open(*d);
        return d;
    }
};

} // namespace

// Opening the table turns the spanning tree off on every loop-detection
// port, before the rows are read, and nowhere else: a pass that skipped a
// port, touched another or ran after the read would show here.
TEST_F(SpanTreeTest, OpeningTurnsStpOffOnLoopDetectionPorts)
{
    ASSERT_TRUE(sim->command("set " + kLoopDetect + "30 i 1"));
    CSpanTree t;
    Open(t);
    const std::vector<std::vector<Varbind>> expected = {{{kStdEnable + "5", "2"}}, {{kStdEnable + "30", "2"}}};
    EXPECT_EQ(SetRequests(*sim), expected);
    EXPECT_EQ(t.List()->GetItemText(RowOf(t, 5), 1), QStringLiteral("Disabled"));
    EXPECT_EQ(t.List()->GetItemText(RowOf(t, 30), 1), QStringLiteral("Disabled"));
    EXPECT_EQ(t.List()->GetItemText(RowOf(t, 6), 1), QStringLiteral("Enabled"));

    // Refresh reads the table again without another pass.
    sim->clearLog();
    t.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !t.Gate().Pending(); }));
    EXPECT_TRUE(sim->sets().empty());
}

// A failed read of loop-back detection stops the pass: nothing is written
// from a value not read, and the table is still shown.
TEST_F(SpanTreeTest, FailedLoopDetectionReadWritesNothing)
{
    // Port 5 (loop detection on) is read before the failure at port 7.
    ASSERT_TRUE(sim->command("error " + kLoopDetect + "7 genErr"));
    CSpanTree t;
    Open(t);
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_EQ(t.List()->GetItemCount(), 52);
}

// A refused switch-off on a loop-detection port is said, not swallowed: the
// engineer must know that spanning tree still runs there. The table is
// still read.
TEST_F(SpanTreeTest, RefusedLoopDetectionWriteIsReported)
{
    ASSERT_TRUE(sim->command("error " + kStdEnable + "5 genErr"));
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("The switch did not take the settings.\nStep 1 of 1 (spanning tree off on port 5 "
                                   "(loop-back detection on)) failed: genErr on ")
                    + QString::fromStdString(kStdEnable) + QStringLiteral("5"));
    CSpanTree t;
    Open(t);
    EXPECT_EQ(t.List()->GetItemCount(), 52);
    EXPECT_TRUE(Control<QPushButton>(&t, 101)->isEnabled());
}

// The rows as an engineer reads them: automatic costs with the cost in use,
// hello time in whole seconds, codes as words, unknown codes as received.
TEST_F(SpanTreeTest, RowsShowTheirTexts)
{
    ASSERT_TRUE(sim->command("set " + P(11, 2) + " i 150"));
    ASSERT_TRUE(sim->command("set " + P(11, 3) + " i 200"));
    ASSERT_TRUE(sim->command("set " + P(7, 3) + " i 1"));
    ASSERT_TRUE(sim->command("set " + P(8, 3) + " i 0"));
    ASSERT_TRUE(sim->command("set " + P(4, 4) + " i 55"));
    ASSERT_TRUE(sim->command("set " + P(9, 4) + " i 1"));
    CSpanTree t;
    Open(t);
    ASSERT_EQ(t.List()->GetItemCount(), 52);
    EXPECT_EQ(Control<QLabel>(&t, 301)->text(), QStringLiteral("52"));
    auto cell = [&](int port, int column) { return t.List()->GetItemText(RowOf(t, port), column); };
    EXPECT_EQ(cell(1, 3), QStringLiteral("AUTO/20000"));
    EXPECT_EQ(cell(20, 3), QStringLiteral("0"));   // automatic, no link: cost in use 0
    EXPECT_EQ(cell(4, 3), QStringLiteral("55"));
    EXPECT_EQ(cell(2, 9), QStringLiteral("1"));
    EXPECT_EQ(cell(3, 9), QStringLiteral("2"));
    EXPECT_EQ(cell(3, 4), QStringLiteral("True"));
    EXPECT_EQ(cell(3, 5), QStringLiteral("Force True"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("Auto"));
    EXPECT_EQ(cell(4, 6), QStringLiteral("True"));
    EXPECT_EQ(cell(1, 7), QStringLiteral("False"));
    EXPECT_EQ(cell(1, 8), QStringLiteral("Enabled"));
    EXPECT_EQ(cell(1, 10), QStringLiteral("Forwarding"));
    EXPECT_EQ(cell(20, 10), QStringLiteral("Disabled"));
    EXPECT_TRUE(Control<QPushButton>(&t, 101)->isEnabled());
}

// An empty or broken table offers no port to configure (the settings
// dialog would otherwise address a port that is not there).
TEST_F(SpanTreeTest, NoCompleteTableNoPortConfig)
{
    {
        ASSERT_TRUE(sim->command("error " + P(3, 1) + " genErr"));
        CSpanTree t;
        Open(t);
        EXPECT_FALSE(Control<QPushButton>(&t, 101)->isEnabled());
    }
    ASSERT_TRUE(sim->command("clear"));
    for (int port = 1; port <= 52; ++port)
        for (int column = 1; column <= 13; ++column)
            ASSERT_TRUE(sim->command("unset " + P(column, port)));
    CSpanTree t;
    Open(t);
    EXPECT_EQ(t.List()->GetItemCount(), 0);
    EXPECT_FALSE(Control<QPushButton>(&t, 101)->isEnabled());
}

// The cost edit's range with its boundaries; a refused cost keeps the
// dialog open with what the user typed, an accepted one sends it.
TEST_F(SpanTreeTest, PathCostRange)
{
    CSpanTree t;
    Open(t);
    struct Case {
        const char* cost;
        bool accepted;
    };
    for (const Case& c : {Case{"0", true}, Case{"200000000", true}, Case{"-1", false}, Case{"200000001", false},
                          Case{"12abc", false}}) {
        SCOPED_TRACE(c.cost);
        auto d = OpenPort(t, 3);
        Control<QLineEdit>(d.get(), 23)->setText(QString::fromLatin1(c.cost));
        sim->clearLog();
        MessageRecorder recorder;
        if (!c.accepted)
            recorder.expect(QStringLiteral("Invalid Path Cost(1-200000000)"));
        Apply(*d);
        recorder.ExpectAllUsed();
        if (c.accepted) {
            EXPECT_EQ(d->result(), QDialog::Accepted);
            EXPECT_EQ(sim->value(P(4, 3)), std::string("i ") + c.cost);
        } else {
            EXPECT_TRUE(sim->sets().empty());
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(Control<QLineEdit>(d.get(), 23)->text(), QString::fromLatin1(c.cost));
        }
    }
}

// The port priority goes out as the number checked, never as typed.
TEST_F(SpanTreeTest, PortPriorityIsChecked)
{
    CSpanTree t;
    Open(t);
    auto d = OpenPort(t, 3);
    for (const char* bad : {"241", "1x", ""}) {
        SCOPED_TRACE(bad);
        Control<QComboBox>(d.get(), 1007)->setEditText(QString::fromLatin1(bad));
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Invalid Priority(0-240)."));
        Apply(*d);
        EXPECT_TRUE(sim->sets().empty());
    }
    Control<QComboBox>(d.get(), 1007)->setEditText(QStringLiteral("016"));
    Apply(*d);
    EXPECT_EQ(sim->value(P(3, 3)), "i 16");
}

// "AUTO/20000" stays automatic: the edit shows 0 and OK sends 0, with every
// setting of the port in one set, in its fixed order and codes.
TEST_F(SpanTreeTest, AutomaticCostStaysAutomaticAndOneSetCarriesAll)
{
    CSpanTree t;
    Open(t);
    auto d = OpenPort(t, 3);
    EXPECT_EQ(Control<QLineEdit>(d.get(), 23)->text(), QStringLiteral("0"));
    EXPECT_EQ(Control<QLabel>(d.get(), 1075)->text(), QStringLiteral("3"));
    EXPECT_FALSE(Control<QLineEdit>(d.get(), 1167)->isEnabled());   // RSTP: no port hello
    Control<QComboBox>(d.get(), 1165)->setCurrentIndex(0);           // Edge True
    Control<QComboBox>(d.get(), 1163)->setCurrentIndex(1);           // P2P Force False
    Control<QComboBox>(d.get(), 1007)->setEditText(QStringLiteral("64"));
    sim->clearLog();
    Apply(*d);
    const std::vector<std::vector<Varbind>> expected = {{
        {P(2, 3), "1"}, {P(3, 3), "64"}, {P(4, 3), "0"}, {P(10, 3), "2"}, {P(6, 3), "2"},
        {P(8, 3), "1"}, {P(13, 3), "1"}, {P(9, 3), "2"}, {P(7, 3), "1"},
    }};
    EXPECT_EQ(SetRequests(*sim), expected);
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

// The port checks: a member of an aggregated link (port 1, link 1) and a
// loop-detection port with spanning tree on are refused before anything is
// sent and the dialog stays open; the loop port may still be switched off.
TEST_F(SpanTreeTest, TrunkMembersAndLoopDetectionPortsAreRefused)
{
    CSpanTree t;
    Open(t);
    {
        auto d = OpenPort(t, 1);
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Cannot add ports with different STP configurations to an aggregated link."));
        Apply(*d);
        EXPECT_TRUE(sim->sets().empty());
        EXPECT_TRUE(d->isVisible());
    }
    auto d = OpenPort(t, 5);
    Control<QCheckBox>(d.get(), 1009)->setChecked(true);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("STP port 5 can not both support Spanning Tree and LBD-enabled mode"));
        Apply(*d);
        EXPECT_TRUE(sim->sets().empty());
    }
    Control<QCheckBox>(d.get(), 1009)->setChecked(false);
    Apply(*d);
    ASSERT_EQ(SetRequests(*sim).size(), 1u);
    EXPECT_EQ(SetRequests(*sim)[0][0], (Varbind{P(2, 5), "0"}));
}

// In MSTP the port hello time is checked against the bridge's maximum age
// (relation first, then range) and written; a hello of 10 with 20 s is
// refused.
TEST_F(SpanTreeTest, MstpHelloTime)
{
    ASSERT_TRUE(sim->command("set " + kPrivate + ".51.1.2.0 i 3"));
    CSpanTree t;
    Open(t);
    auto d = OpenPort(t, 3);
    QLineEdit* hello = Control<QLineEdit>(d.get(), 1167);
    EXPECT_TRUE(hello->isEnabled());
    EXPECT_EQ(hello->text(), QStringLiteral("2"));
    hello->setText(QStringLiteral("10"));
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("To set the parameters Hello Time and Max Age the following relation is to be "
                                       "satisfied: \nMax Age >= (2*(Hello Time + 1.0))"));
        Apply(*d);
    }
    hello->setText(QStringLiteral("0"));
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Invalid Hello Time value, the valid Hello Time range is (1-10)s !"));
        Apply(*d);
    }
    EXPECT_TRUE(sim->sets().empty());
    hello->setText(QStringLiteral("4"));
    Apply(*d);
    ASSERT_EQ(SetRequests(*sim).size(), 1u);
    EXPECT_EQ(SetRequests(*sim)[0].back(), (Varbind{P(11, 3), "400"}));
}

// Prev and Next move through the table's rows and re-read the port; with a
// single row Next stays enabled and shows the same row again.
TEST_F(SpanTreeTest, PrevAndNext)
{
    CSpanTree t;
    Open(t);
    auto d = OpenPort(t, 1);
    QPushButton* prev = Control<QPushButton>(d.get(), 1111);
    QPushButton* next = Control<QPushButton>(d.get(), 2222);
    EXPECT_FALSE(prev->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    next->click();
    ASSERT_TRUE(WaitFor([&] { return !d->Gate().Pending(); }));
    EXPECT_EQ(Control<QLabel>(d.get(), 1075)->text(), QStringLiteral("2"));
    EXPECT_TRUE(prev->isEnabled());
    d.reset();

    CSpanTree single;   // a table of one row, as the dialog sees it
    single.List()->AppendRow({QStringLiteral("7"), QStringLiteral("Enabled"), QStringLiteral("128"),
                              QStringLiteral("AUTO/20000"), QStringLiteral("Auto"), QStringLiteral("Auto"),
                              QStringLiteral("False"), QStringLiteral("False"), QStringLiteral("Enabled"),
                              QStringLiteral("2"), QStringLiteral("Forwarding")});
    CSpanTreePortParam one(&single);
    Open(one);
    QPushButton* oneNext = Control<QPushButton>(&one, 2222);
    EXPECT_FALSE(Control<QPushButton>(&one, 1111)->isEnabled());
    EXPECT_TRUE(oneNext->isEnabled());
    oneNext->click();
    ASSERT_TRUE(WaitFor([&] { return !one.Gate().Pending(); }));
    EXPECT_EQ(Control<QLabel>(&one, 1075)->text(), QStringLiteral("7"));
    EXPECT_EQ(one.CurrentRow(), 0);
}
