// The IGMP snooping VLAN settings and multicast entry dialogs against the
// simulated switch.

#include "CIGMPMulticastEntryTable.h"
#include "CIGMPSnoopingVLANSetting.h"
#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kVlanSettings = kPrivate + ".10.3.4.1.";   // column.vid
const std::string kVlan = kPrivate + ".7.6.1.";              // column.vid
const std::string kTrunk1 = kPrivate + ".8.1.3.1.2.1";
std::string V(int column, int vid)
{
    return kVlanSettings + std::to_string(column) + "." + std::to_string(vid);
}

class IgmpVlanTest : public SwitchDialogTest
{
protected:
    // VLAN `vid` with member ports `egress` (hex bitmap) and its IGMP row.
    void AddVlan(int vid, const std::string& egress, bool snooping)
    {
        const std::string v = std::to_string(vid);
        ToolResult r = RunSnmpTool("snmpset", {"-v2c", "-c", SimulatedSwitch::kWriteCommunity, "-t", "1", "-r", "0",
                                               sim->agent(), kVlan + "1." + v, "s", "v" + v, kVlan + "2." + v, "x",
                                               egress, kVlan + "6." + v, "i", "4"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        if (snooping) {
            ASSERT_TRUE(sim->command("set " + V(2, vid) + " i 1"));
        }
    }
    static int RowOf(CIGMPSnoopingVLANSetting& d, int vid)
    {
        for (int i = 0; i < d.List()->GetItemCount(); ++i)
            if (d.List()->GetItemText(i, 0) == QString::number(vid))
                return i;
        return -1;
    }
    static void Choose(CIGMPSnoopingVLANSetting& d, int vid)
    {
        d.OnClickList(RowOf(d, vid));
        ASSERT_TRUE(WaitFor([&] { return !d.ReadingMembers(); }));
    }
    static void ApplyRouterPorts(CIGMPSnoopingVLANSetting& d)
    {
        d.RouterApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }));
    }
};

} // namespace

// The list joins names and settings by VLAN id and shows the codes as
// words; VLAN 1 starts with router port 49.
TEST_F(IgmpVlanTest, ListsEveryVlan)
{
    AddVlan(10, "30", true);
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    const QStringList first = {QStringLiteral("1"), QStringLiteral("default"), QStringLiteral("Enabled"),
                               QStringLiteral("Disabled"), QStringLiteral("Disabled"), QStringLiteral("49")};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(d.List()->GetItemText(0, c), first[c]) << c;
    EXPECT_EQ(d.List()->GetItemText(1, 1), QStringLiteral("v10"));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RouterApplyButton()->isEnabled());
}

// Clicking VLAN A then VLAN B: B's boxes never keep A's router ports, so
// applying B's ports writes nothing of A to B.
TEST_F(IgmpVlanTest, ClickingAnotherVlanClearsTheRouterPorts)
{
    AddVlan(10, "ffffffffffff", true);
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    Choose(d, 1);
    EXPECT_TRUE(d.RouterPorts()->IsChecked(49));
    Choose(d, 10);
    EXPECT_FALSE(d.RouterPorts()->IsChecked(49));
    EXPECT_EQ(Control<QLineEdit>(&d, 1114)->text(), QStringLiteral("10"));
    sim->clearLog();
    ApplyRouterPorts(d);
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{V(6, 10), "000000000000000000000000"}}}));
}

// Which boxes may be ticked: none on a VLAN with snooping off, only the
// member ports on one with snooping on.
TEST_F(IgmpVlanTest, OnlyMemberPortsOfASnoopingVlanCanBeTicked)
{
    AddVlan(10, "30", true);    // ports 3 and 4
    AddVlan(20, "ff", false);
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    Choose(d, 10);
    for (int p = 1; p <= 52; ++p)
        EXPECT_EQ(d.RouterPorts()->GetCheckBox(p)->isEnabled(), p == 3 || p == 4) << p;
    EXPECT_TRUE(Control<QComboBox>(&d, 763)->isEnabled());
    Choose(d, 20);
    for (int p = 1; p <= 52; ++p)
        EXPECT_FALSE(d.RouterPorts()->GetCheckBox(p)->isEnabled()) << p;
    EXPECT_FALSE(Control<QComboBox>(&d, 763)->isEnabled());
}

// The octets of the router-port map by model: 12 on 52 ports, 8 on 28, 4
// on 20 (bit 7 of octet 0 is port 1).
TEST_F(IgmpVlanTest, RouterPortMapsByModel)
{
    ASSERT_TRUE(sim->command("set " + kTrunk1 + " x 0000000000000000"));   // no link in the way
    struct Case {
        int ports;
        std::vector<int> chosen;
        const char* hex;
    };
    const Case cases[] = {
        {52, {1, 52}, "800000000000100000000000"},
        {28, {1}, "8000000000000000"},
        {20, {1, 20}, "80001000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ports);
        g_nDevicePortNum = c.ports;
        CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
        Open(d);
        Choose(d, 1);
        d.RouterPorts()->SetAll(false);
        for (int p : c.chosen)
            d.RouterPorts()->GetCheckBox(p)->click();
        sim->clearLog();
        ApplyRouterPorts(d);
        EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{V(6, 1), c.hex}}}));
        EXPECT_TRUE(Control<QLineEdit>(&d, 1114)->text().isEmpty());   // controls reset after the write
    }
}

// Router ports may not split an aggregated link (ports 1 and 2): one of
// them alone is refused before anything is sent; both together pass. No VLAN
// chosen asks for one.
TEST_F(IgmpVlanTest, RouterPortChecks)
{
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Please select VLAN first."));
        ApplyRouterPorts(d);
    }
    Choose(d, 1);
    d.RouterPorts()->GetCheckBox(1)->click();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Members of port channel must have the same status."));
        ApplyRouterPorts(d);
    }
    EXPECT_TRUE(sim->sets().empty());
    d.RouterPorts()->GetCheckBox(2)->click();
    ApplyRouterPorts(d);
    EXPECT_EQ(sim->value(V(6, 1)), "x c00000000000800000000000");   // 1, 2 and 49 as read
}

// A refused router-port write is told, and the controls start afresh as
// after a taken one: the refused choice is not left on screen as if the
// switch held it.
TEST_F(IgmpVlanTest, RefusedRouterPortWriteResetsTheControls)
{
    ASSERT_TRUE(sim->command("set " + kTrunk1 + " x 0000000000000000"));
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    Choose(d, 1);
    d.RouterPorts()->GetCheckBox(3)->click();
    ASSERT_TRUE(sim->command("set-error " + V(6, 1) + " genErr"));
    MessageRecorder recorder;
    recorder.script({IDOK});
    ApplyRouterPorts(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains("genErr")) << recorder.texts()[0].toStdString();
    EXPECT_TRUE(Control<QLineEdit>(&d, 1114)->text().isEmpty());
    EXPECT_FALSE(d.RouterPorts()->GetCheckBox(3)->isChecked());
    EXPECT_EQ(sim->value(V(6, 1)), "x 0000000000008000");   // port 49 as before
}

// Turning a VLAN's snooping on sends the state alone, then querier and fast
// leave; turning it off asks first, Cancel leaves the controls, OK sends
// querier, fast leave and the state last.
TEST_F(IgmpVlanTest, VlanSettingsWrites)
{
    AddVlan(10, "30", false);
    CIGMPSnoopingVLANSetting d(QStringLiteral("1"));
    Open(d);
    Choose(d, 10);
    Control<QComboBox>(&d, 212)->setCurrentIndex(0);
    Control<QComboBox>(&d, 763)->setCurrentIndex(0);
    sim->clearLog();
    Apply(d);
    const std::vector<std::vector<Varbind>> on = {{{V(2, 10), "1"}}, {{V(4, 10), "1"}, {V(8, 10), "2"}}};
    EXPECT_EQ(SetRequests(*sim), on);

    Choose(d, 10);
    Control<QComboBox>(&d, 212)->setCurrentIndex(1);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("All router ports of this VLAN will be deleted."), IDCANCEL);
        Apply(d);
    }
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_EQ(Control<QLineEdit>(&d, 1114)->text(), QStringLiteral("10"));
    EXPECT_EQ(Control<QComboBox>(&d, 212)->currentIndex(), 1);
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("All router ports of this VLAN will be deleted."), IDOK);
        Apply(d);
    }
    const std::vector<std::vector<Varbind>> off = {{{V(4, 10), "1"}, {V(8, 10), "2"}, {V(2, 10), "2"}}};
    EXPECT_EQ(SetRequests(*sim), off);
}

// With global snooping off both Apply buttons stay off; the list can still
// be read.
TEST_F(IgmpVlanTest, GlobalSnoopingOffKeepsBothAppliesOff)
{
    CIGMPSnoopingVLANSetting d(QStringLiteral("2"));
    Open(d);
    EXPECT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.RouterApplyButton()->isEnabled());
    Choose(d, 1);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.RouterApplyButton()->isEnabled());
}

// Learned groups numbered from 1 in table order, addresses in their text
// forms; a refresh shows what the switch holds now and counts from 1 again.
TEST_F(IgmpVlanTest, MulticastEntries)
{
    CIGMPMulticastEntryTable t;
    Open(t);
    ASSERT_EQ(t.List()->GetItemCount(), 2);
    const QStringList first = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("239.1.1.1"),
                               QStringLiteral("01-00-5E-01-01-01"), QStringLiteral("3,5")};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(t.List()->GetItemText(0, c), first[c]) << c;
    EXPECT_EQ(t.List()->GetItemText(1, 0), QStringLiteral("2"));
    ASSERT_TRUE(sim->command("igmp leave 1 239.1.1.1"));
    ASSERT_TRUE(sim->command("igmp join 1 239.0.0.200 9"));
    t.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !t.Gate().Pending(); }));
    ASSERT_EQ(t.List()->GetItemCount(), 2);
    EXPECT_EQ(t.List()->GetItemText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(t.List()->GetItemText(0, 2), QStringLiteral("239.0.0.200"));
    EXPECT_EQ(t.List()->GetItemText(0, 3), QStringLiteral("01-00-5E-00-00-C8"));
}
