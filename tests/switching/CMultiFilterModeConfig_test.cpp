// The multicast filtering mode dialog against the simulated switch.

#include "CCommandTable.h"
#include "CListCtrlEx.h"
#include "CMultiFilterModeConfig.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kFilter = kPrivate + ".7.8.1.";   // column.vid
std::string Mode(int vid)
{
    return kFilter + "2." + std::to_string(vid);
}

enum { kVlanCombo = 1192, kAll = 1193, kModeCombo = 1125 };

class MultiFilterTest : public SwitchDialogTest
{
protected:
    static QStringList Row(const CMultiFilterModeConfig& d, int row)
    {
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << d.List()->GetItemText(row, c);
        return cells;
    }
};

const QString kForward = QStringLiteral("Forward Unregistered Groups");
const QString kFiltering = QStringLiteral("Filtering Unregistered Groups");

} // namespace

// Names are looked up by VLAN id: with VLAN 3 lacking a filtering row and
// a filtering row for VLAN 7 that has no VLAN row, each name stays with its
// VLAN (read side by side, v3 would land on VLAN 4). Any mode but "0"
// reads as filtering.
TEST_F(MultiFilterTest, RowsPairNamesByVlanId)
{
    ASSERT_TRUE(sim->command("vlan add 2 5"));
    ASSERT_TRUE(sim->command("unset " + kFilter + "1.3") && sim->command("unset " + Mode(3)));
    ASSERT_TRUE(sim->command("set " + kFilter + "1.7 i 7") && sim->command("set " + Mode(7) + " i 1"));
    ASSERT_TRUE(sim->command("set " + Mode(4) + " i 2"));
    CMultiFilterModeConfig d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 5);
    EXPECT_EQ(Row(d, 0), (QStringList{"1", "default", kForward}));
    EXPECT_EQ(Row(d, 1), (QStringList{"2", "v2", kForward}));
    EXPECT_EQ(Row(d, 2), (QStringList{"4", "v4", kFiltering}));
    EXPECT_EQ(Row(d, 3), (QStringList{"5", "v5", kForward}));
    EXPECT_EQ(Row(d, 4), (QStringList{"7", "", kFiltering}));
    auto* combo = Control<QComboBox>(&d, kVlanCombo);
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->currentText(), QStringLiteral("1"));
    EXPECT_EQ(combo->itemText(4), QStringLiteral("7"));
}

// One VLAN: one request with one value of the chosen VLAN; the list shows
// the switch's value afterwards.
TEST_F(MultiFilterTest, OneVlanWritesOneValue)
{
    ASSERT_TRUE(sim->command("vlan add 2 3"));
    CMultiFilterModeConfig d;
    Open(d);
    Control<QComboBox>(&d, kVlanCombo)->setCurrentIndex(2);
    Control<QComboBox>(&d, kModeCombo)->setCurrentIndex(1);
    sim->clearLog();
    Apply(d);
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{Mode(3), "1"}}}));
    EXPECT_EQ(Row(d, 2)[2], kFiltering);
    EXPECT_EQ(Row(d, 1)[2], kForward);
}

// "All" disables the VLAN choice and sends every listed VLAN, in requests
// of at most ten values; a switch that takes no more than about a dozen
// values per request takes them all (one request would be tooBig).
TEST_F(MultiFilterTest, AllGoesInBatchesTheSwitchTakes)
{
    ASSERT_TRUE(sim->command("vlan add 2 25"));
    ASSERT_TRUE(sim->command("max-pdu 300"));
    CMultiFilterModeConfig d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 25);
    Control<QCheckBox>(&d, kAll)->click();
    EXPECT_FALSE(Control<QComboBox>(&d, kVlanCombo)->isEnabled());
    Control<QComboBox>(&d, kModeCombo)->setCurrentIndex(1);
    sim->clearLog();
    Apply(d);
    auto sets = SetRequests(*sim);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].size(), 10u);
    EXPECT_EQ(sets[1].size(), 10u);
    EXPECT_EQ(sets[2].size(), 5u);
    EXPECT_EQ(sets[0][0], Varbind(Mode(1), "1"));
    EXPECT_EQ(sets[2][4], Varbind(Mode(25), "1"));
    for (int vid = 1; vid <= 25; ++vid)
        EXPECT_EQ(sim->value(Mode(vid)), "i 1") << vid;
    Control<QCheckBox>(&d, kAll)->click();
    EXPECT_TRUE(Control<QComboBox>(&d, kVlanCombo)->isEnabled());
}

// A batch the switch refuses (tooBig here) is reported, the later batches
// are not sent, and the dialog stays open showing the switch's values.
TEST_F(MultiFilterTest, RefusedBatchIsReported)
{
    ASSERT_TRUE(sim->command("vlan add 2 25"));
    ASSERT_TRUE(sim->command("max-pdu 100"));
    CMultiFilterModeConfig d;
    Open(d);
    Control<QCheckBox>(&d, kAll)->click();
    Control<QComboBox>(&d, kModeCombo)->setCurrentIndex(1);
    sim->clearLog();
    MessageRecorder recorder;
    recorder.script({IDOK});
    Apply(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QStringLiteral("tooBig"))) << recorder.texts()[0].toStdString();
    EXPECT_EQ(sim->sets().size(), 1u);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Row(d, 0)[2], kForward);
}

// A walk that gets no answer keeps Apply off.
TEST_F(MultiFilterTest, FailedWalkKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("drop under " + kFilter.substr(0, kFilter.size() - 1)));
    CMultiFilterModeConfig d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
}

TEST(MultiFilterCommand, MenuCommandBuildsTheDialog)
{
    EnsureTestApp();
    CCommandTable table;
    EXPECT_NE(dynamic_cast<CMultiFilterModeConfig*>(table.Find(ID_MULTICAST_FILTERING)->factory().get()), nullptr);
}
