// The traffic segmentation dialog against the simulated switch: the state
// and what it enables, the forwarding table by port, the boxes of a chosen
// port, the forwarding sets of "ALL" (each port's own copy plus itself) and
// of one port, and the aggregated-link refusal before anything is written.

#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "CTrafficSegDlg.h"
#include "TrafficTestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

using namespace traffictest;

namespace {

const std::string kState = kPrivate + ".14.9.1.0";
const std::string kForward = kPrivate + ".14.9.2.1.2.";
const std::string kLink1 = kPrivate + ".8.1.3.1.2.1";
const std::string kLink2 = kPrivate + ".8.1.3.1.2.2";

std::string Forward(int port) { return kForward + std::to_string(port); }

class SegmentationTest : public TrafficDialogTest
{
protected:
    void SetUp() override
    {
        TrafficDialogTest::SetUp();
        g_nDevicePortNum = m_nPorts;
        ASSERT_TRUE(sim->command("set " + kState + " i 1"));
        ASSERT_TRUE(sim->command("set " + kLink1 + " x " + std::string(Octets() * 2, '0')));
    }
    static int Octets() { return g_nDevicePortNum > 28 ? 8 : 4; }
    int m_nPorts = 52;
    static void ChooseFrom(CTrafficSegDlg& d, int port)   // 0: "ALL"
    {
        d.FromPort()->setCurrentIndex(port);
        emit d.FromPort()->activated(port);
    }
    static void Check(CTrafficSegDlg& d, std::initializer_list<int> ports)
    {
        for (int p : ports)
            d.Ports()->GetCheckBox(p)->click();
    }
};

// The 28-port model: 4-octet bitmaps.
class Segmentation28Test : public SegmentationTest
{
protected:
    static void SetUpTestSuite()
    {
        SimulatedSwitch::Options options;
        options.model = "PQS-4400-28";
        StartSuite(options);
    }
    Segmentation28Test() { m_nPorts = 28; }
};

} // namespace

// "ALL" with ports 2 and 3 checked: every port gets its own copy of the
// selection plus itself (port 1 {1,2,3}, port 2 {2,3}, port 10 {2,3,10}),
// in port order, one request per port, 4 octets each (a fault that let the
// own bits accumulate gives port 10 {1,...,10}).
TEST_F(Segmentation28Test, AllGivesEachPortTheSelectionPlusItself)
{
    CTrafficSegDlg d;
    Open(d);
    ASSERT_EQ(d.Ports()->GetCount(), 28);
    ASSERT_EQ(d.FromPort()->currentText(), "ALL");
    Check(d, {2, 3});
    ApplyExpecting(d, nullptr);
    const auto sets = Sets();
    ASSERT_EQ(sets.size(), 28u);
    for (int p = 1; p <= 28; ++p) {
        ASSERT_EQ(sets[size_t(p - 1)].size(), 1u);
        EXPECT_EQ(sets[size_t(p - 1)][0].first, Forward(p));
        EXPECT_EQ(sets[size_t(p - 1)][0].second.size(), 8u) << p;
    }
    EXPECT_EQ(sets[0][0].second, "e0000000");
    EXPECT_EQ(sets[1][0].second, "60000000");
    EXPECT_EQ(sets[9][0].second, "60400000");
    EXPECT_EQ(sets[27][0].second, "60000010");
    // Read back, and the boxes cleared.
    EXPECT_EQ(d.List()->GetItemText(9, 1), "2-3,10");
    EXPECT_EQ(d.List()->GetItemText(0, 1), "1-3");
    EXPECT_TRUE(d.Ports()->GetPorts().isEmpty());
}

// One port's set on the 52-port switch: the selection as shown, in one
// request of 8 octets; the port's own box shows whether it was in its set
// and cannot be changed.
TEST_F(SegmentationTest, OnePortOnFiftyTwoPorts)
{
    ASSERT_TRUE(sim->command("set " + Forward(5) + " x 8800000000000000"));   // ports 1, 5
    CTrafficSegDlg d;
    Open(d);
    ChooseFrom(d, 5);
    EXPECT_EQ(d.Ports()->GetPorts(), QList<int>({1, 5}));
    EXPECT_FALSE(d.Ports()->GetCheckBox(5)->isEnabled());
    EXPECT_TRUE(d.Ports()->GetCheckBox(4)->isEnabled());
    Check(d, {1, 52});
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Forward(5), "0800000000001000"}}}));
    EXPECT_EQ(d.List()->GetItemText(4, 1), "5,52");
}

// The table lists each port's set as ranges; the rows are keyed by port,
// so a missing row neither shifts the others nor gives its neighbour's
// set; an all-zero set shows an empty cell and chooses no box.
TEST_F(SegmentationTest, TableByPort)
{
    ASSERT_TRUE(sim->command("set " + Forward(1) + " x f10000000000f000"));   // 1-4, 8, 49-52
    ASSERT_TRUE(sim->command("set " + Forward(3) + " x 0000000000000000"));
    ASSERT_TRUE(sim->command("unset " + Forward(2)));
    ASSERT_TRUE(sim->command("unset " + kPrivate + ".14.9.2.1.1.2"));
    CTrafficSegDlg d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 51);
    EXPECT_EQ(d.List()->GetItemText(0, 1), "1-4,8,49-52");
    EXPECT_EQ(d.List()->GetItemText(1, 0), "3");
    EXPECT_EQ(d.List()->GetItemText(1, 1), "");
    ChooseFrom(d, 3);
    EXPECT_TRUE(d.Ports()->GetPorts().isEmpty());
    ChooseFrom(d, 2);   // no row: nothing chosen
    EXPECT_TRUE(d.Ports()->GetPorts().isEmpty());
    ChooseFrom(d, 4);
    EXPECT_EQ(d.Ports()->GetCount(), 52);
    EXPECT_EQ(d.Ports()->GetPorts().size(), 52);
    ChooseFrom(d, 0);   // "ALL": every box enabled and clear
    EXPECT_TRUE(d.Ports()->GetPorts().isEmpty());
    EXPECT_TRUE(d.Ports()->GetCheckBox(4)->isEnabled());
}

// A set holding only part of an aggregated link is refused before anything
// is written: "ALL" (where port 5's own bit splits the link 5+6) and one
// port alike; the boxes stay as they were.
TEST_F(SegmentationTest, SplitLinkWritesNothing)
{
    ASSERT_TRUE(sim->command("set " + kLink2 + " x 0c00000000000000"));   // ports 5, 6
    CTrafficSegDlg d;
    Open(d);
    Check(d, {2, 3});
    ApplyExpecting(d, "The link aggregation member port can not be configured.");
    EXPECT_EQ(d.Ports()->GetPorts(), QList<int>({2, 3}));

    ChooseFrom(d, 9);
    d.ClearButton()->click();
    Check(d, {5});
    ApplyExpecting(d, "The link aggregation member port can not be configured.");
    Check(d, {6});
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Forward(9), "0c80000000000000"}}}));
}

// Select All checks every box; Clear unchecks every box but the chosen
// port's own, which keeps what it showed.
TEST_F(SegmentationTest, SelectAllAndClear)
{
    CTrafficSegDlg d;
    Open(d);
    ChooseFrom(d, 4);   // every port in its set at start
    d.ClearButton()->click();
    EXPECT_EQ(d.Ports()->GetPorts(), QList<int>({4}));
    d.SelectAllButton()->click();
    EXPECT_EQ(d.Ports()->GetPorts().size(), 52);
    ChooseFrom(d, 0);
    d.SelectAllButton()->click();
    d.ClearButton()->click();
    EXPECT_TRUE(d.Ports()->GetPorts().isEmpty());
}

// While segmentation is off only the state can change: the grid, the From
// list and the ports' Apply are off. Applying the state writes it and
// re-reads, which enables them.
TEST_F(SegmentationTest, StateGatesThePorts)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 2"));
    CTrafficSegDlg d;
    Open(d);
    EXPECT_FALSE(d.EnableBox()->isChecked());
    EXPECT_FALSE(d.FromPort()->isEnabled());
    EXPECT_FALSE(d.Ports()->isEnabled());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.ApplyStateButton()->isEnabled());

    d.EnableBox()->click();
    ApplyExpecting(d, nullptr, d.ApplyStateButton());
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kState, "1"}}}));
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_TRUE(d.FromPort()->isEnabled());
    EXPECT_TRUE(d.Ports()->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());

    d.EnableBox()->click();
    ApplyExpecting(d, nullptr, d.ApplyStateButton());
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{kState, "2"}}}));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// A state read that fails keeps every write off (no box shown).
TEST_F(SegmentationTest, FailedStateReadKeepsWritesOff)
{
    ASSERT_TRUE(sim->command("error " + kState + " genErr"));
    CTrafficSegDlg d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.ApplyStateButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
}

// Enter and Escape do not end the dialog (nor write): it closes only by its
// Close button or the close box.
TEST_F(SegmentationTest, EnterAndEscapeDoNotClose)
{
    CTrafficSegDlg d;
    Open(d);
    sim->clearLog();
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&d, &press);
    }
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(sim->sets().empty());
    d.CloseButton()->click();
    EXPECT_FALSE(d.isVisible());
}
