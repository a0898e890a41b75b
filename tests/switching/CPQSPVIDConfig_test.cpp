// The PVID dialog against the simulated switch: PVIDs read by port index,
// Apply only after a complete read, the trunk and VLAN rules with their
// texts, and writes of the changed ports only.

#include "C8021qVlanSet.h"
#include "CPQSPVIDConfig.h"
#include "CStatusLine.h"
#include "MessageRecorder.h"
#include "VlanTestUtil.h"

#include <QLineEdit>
#include <QPushButton>

using namespace vlantest;
using Varbinds = std::vector<std::pair<std::string, std::string>>;

namespace {

class PvidTest : public VlanDialogTest
{
protected:
    static void Open(CPQSPVIDConfig& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }
};

} // namespace

// Catches PVIDs stored by arrival order: a missing port must not shift the
// others, and an answer for a port beyond the port count is ignored.
TEST_F(PvidTest, PvidsAreReadByPort)
{
    ASSERT_TRUE(Do("set " + kPvid + "8 u 30"));
    ASSERT_TRUE(Do("unset " + kPvid + "7"));
    ASSERT_TRUE(Do("set " + kPvid + "60 u 99"));
    ASSERT_TRUE(Do("vlan add 30 30") && Do("set " + Cell(2, 30) + " x 01"));
    MessageRecorder messages;
    CPQSPVIDConfig d(ReadVlans());
    Open(d);
    ASSERT_TRUE(d.Gate().AllSucceeded());
    EXPECT_EQ(d.PvidEdit(6)->text(), "1");
    EXPECT_EQ(d.PvidEdit(7)->text(), "");
    EXPECT_FALSE(d.PvidEdit(7)->isEnabled()) << "a port the switch did not report";
    EXPECT_EQ(d.PvidEdit(8)->text(), "30");
    EXPECT_EQ(d.PvidEdit(52)->text(), "1");
    EXPECT_EQ(d.PvidEdit(53), nullptr);
    EXPECT_EQ(d.ReadPvids().size(), 52u);
    // Unchanged: nothing to write, and port 7 (unknown) is left alone.
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// Catches Apply enabled on a PVID read that did not complete: the edits
// would then count as PVID 1 or 0 and be written.
TEST_F(PvidTest, UnreadPvidsKeepApplyOff)
{
    const VlanList vlans = ReadVlans();
    ASSERT_TRUE(Do("drop under " + kPvid.substr(0, kPvid.size() - 1)));
    CPQSPVIDConfig d(vlans);
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(d.StatusLine()->text(), "Read failed: PVIDs: No answer from 127.0.0.1");
    EXPECT_FALSE(d.PvidEdit(1)->isEnabled());
    ASSERT_TRUE(Do("drop off"));
    d.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    d.reject();
}

// Catches a rule missing, out of order or with another text: trunk members
// keep PVID 1, every PVID names a listed VLAN with members.
TEST_F(PvidTest, RulesWithTheirTexts)
{
    ASSERT_TRUE(Do("vlan add 30 31"));
    ASSERT_TRUE(Do("set " + Cell(2, 30) + " x ff"));   // VLAN 31 has no members
    const VlanList vlans = ReadVlans();
    struct Case {
        const char* what;
        std::vector<std::pair<int, const char*>> edits;   // port, text
        const char* message;
    };
    const Case cases[] = {
        {"trunk members differ", {{1, "30"}}, "You should let all Trunk member in the same PVID !"},
        {"trunk members agree", {{1, "30"}, {2, "30"}},
         "Setting PVID on a Trunk is not supported. Please use Web interface for the settings."},
        {"trunk before VLAN rule", {{5, "77"}, {2, "30"}}, "You should let all Trunk member in the same PVID !"},
        {"unlisted VID", {{5, "77"}}, "Invalid PVID"},
        {"emptied edit", {{5, ""}}, "Invalid PVID"},
        {"VLAN without members", {{5, "31"}}, "Invalid PVID,VlAN is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRecorder messages;
        CPQSPVIDConfig d(vlans);
        Open(d);
        for (const auto& [port, text] : c.edits)
            d.PvidEdit(port)->setText(text);
        sim->clearLog();
        messages.expect(c.message);
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), QStringList{c.message});
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(sim->sets().empty());
        d.reject();
    }
}

// Catches writes of unchanged ports, PVIDs sent in another type, and a
// failed write that does not name its port or lets later ports be written.
TEST_F(PvidTest, WritesChangedPortsAndNamesAFailedOne)
{
    ASSERT_TRUE(Do("vlan add 30 30") && Do("set " + Cell(2, 30) + " x 0f"));
    const VlanList vlans = ReadVlans();
    {
        MessageRecorder messages;
        CPQSPVIDConfig d(vlans);
        Open(d);
        d.PvidEdit(45)->setText("30");
        d.PvidEdit(5)->setText("030");
        d.PvidEdit(6)->setText("1");   // unchanged
        sim->clearLog();
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(SetVarbinds(*sim), (Varbinds{{kPvid + "5", "30"}, {kPvid + "45", "30"}}));
        for (const SimRequest& r : sim->sets())
            EXPECT_EQ(r.varbinds[0].type, "Gauge32");
    }
    MessageRecorder messages;
    CPQSPVIDConfig d(vlans);
    Open(d);
    d.PvidEdit(9)->setText("30");
    d.PvidEdit(10)->setText("30");
    d.PvidEdit(11)->setText("30");
    ASSERT_TRUE(Do("error " + kPvid + "10 genErr"));
    sim->clearLog();
    const QString failure = QString::fromStdString("The switch did not take the settings.\nStep 2 of 3 (PVID of port 10) "
                                                   "failed: genErr on " + kPvid + "10\nSteps 1 to 1 were written.");
    messages.expect(failure);
    // Slow answers until "clear": the fault is gone before the re-read's
    // walk reaches port 10, which would otherwise fail the re-read too.
    ASSERT_TRUE(Do("delay 100"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !messages.texts().isEmpty(); }));
    EXPECT_EQ(messages.texts(), QStringList{failure});
    EXPECT_EQ(sim->sets().size(), 2u);
    EXPECT_TRUE(d.isVisible());
    ASSERT_TRUE(Do("clear"));
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(d.PvidEdit(9)->text(), "30") << "re-read what the switch holds";
    EXPECT_EQ(d.PvidEdit(11)->text(), "1");
    d.reject();
}
