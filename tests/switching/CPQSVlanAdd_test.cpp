// The VLAN add and edit dialog against the simulated switch: the order and
// texts of its checks, the exact writes of an add and an in-place edit, and
// what a refused write leaves behind.

#include "C8021qVlanSet.h"
#include "CPQSVlanAdd.h"
#include "CPortGrid.h"
#include "CStatusLine.h"
#include "MessageRecorder.h"
#include "VlanTestUtil.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace vlantest;
using Varbinds = std::vector<std::pair<std::string, std::string>>;

namespace {

class VlanAddTest : public VlanDialogTest
{
protected:
    static void Open(CPQSVlanAdd& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        ASSERT_TRUE(d.ApplyButton()->isEnabled()) << d.StatusLine()->text().toStdString();
    }
    // Clicks a port's box in a row, as the user does.
    static void Click(CPQSVlanAdd& d, CPQSVlanAdd::PortState row, int port)
    {
        d.Row(row)->GetCheckBox(port)->click();
    }
    // 12 octets with the given ports' bits, as hex.
    static std::string Map(std::initializer_list<int> ports, int octets = 12)
    {
        std::string bytes(size_t(octets), '\0');
        for (int p : ports)
            bytes[size_t(p - 1) / 8] = char(quint8(bytes[size_t(p - 1) / 8]) | (0x80 >> ((p - 1) % 8)));
        static const char* digits = "0123456789abcdef";
        std::string hex;
        for (unsigned char c : bytes) {
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }
        return hex;
    }
    static std::string AllPorts(int ports, int octets)
    {
        std::string hex;
        std::vector<int> all;
        for (int p = 1; p <= ports; ++p)
            all.push_back(p);
        std::string bytes(size_t(octets), '\0');
        for (int p : all)
            bytes[size_t(p - 1) / 8] = char(quint8(bytes[size_t(p - 1) / 8]) | (0x80 >> ((p - 1) % 8)));
        static const char* digits = "0123456789abcdef";
        for (unsigned char c : bytes) {
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }
        return hex;
    }
};

} // namespace

// Catches checks run in another order, with other texts, on the wrong
// membership, or a check that lets a write through: each case fails at
// exactly one message and sends nothing.
TEST_F(VlanAddTest, ChecksInOrderWithTheirTexts)
{
    ASSERT_TRUE(Do("vlan add 20 20"));
    const VlanList vlans = ReadVlans();
    struct Case {
        const char* what;
        bool add;
        int editVid;
        std::function<void(CPQSVlanAdd&)> input;
        const char* message;
    };
    const char* vidText = "Invalid VLAN ID, VLAN ID should be (2-4094) !";
    auto vidName = [](const char* vid, const char* name) {
        return [=](CPQSVlanAdd& d) {
            d.VidEdit()->setText(vid);
            d.NameEdit()->setText(QString::fromUtf8(name));
        };
    };
    const Case cases[] = {
        {"VID 1", true, 0, vidName("1", ""), vidText},
        {"VID 4095", true, 0, vidName("4095", "ok"), vidText},
        {"no VID", true, 0, vidName("", "ok"), vidText},
        {"VID in use", true, 0, vidName("20", "ok"), "The VLAN ID has been used, please input again !"},
        {"VID in use as 020", true, 0, vidName("020", "ok"), "The VLAN ID has been used, please input again !"},
        {"name empty", true, 0, vidName("30", ""), "VLAN name is not allow empty."},
        {"name invalid", true, 0, vidName("30", "B\xc3\xbcro"), "Invalid VLAN name."},
        {"another VLAN's name", true, 0, vidName("30", "v20"), "The VLAN Name has been existent."},
        {"trunk split (tagged)", true, 0,
         [&](CPQSVlanAdd& d) {
             vidName("30", "ok")(d);
             Click(d, CPQSVlanAdd::Tagged, 1);
         },
         "Members in VLAN have to be in the same trunk !"},
        {"trunk split (forbidden)", true, 0,
         [&](CPQSVlanAdd& d) {
             vidName("30", "ok")(d);
             Click(d, CPQSVlanAdd::Forbidden, 2);   // port 1 stays Not Member
         },
         "Members in VLAN have to be in the same trunk !"},
        {"bad name before trunk split", true, 0,
         [&](CPQSVlanAdd& d) {
             vidName("30", "v20")(d);
             Click(d, CPQSVlanAdd::Untagged, 2);
         },
         "The VLAN Name has been existent."},
        {"edit: another VLAN's name", false, 20, [](CPQSVlanAdd& d) { d.NameEdit()->setText("default"); },
         "The VLAN Name has been existent."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRecorder messages;
        CPQSVlanAdd d(vlans, c.add, 2, c.editVid);
        Open(d);
        c.input(d);
        sim->clearLog();
        messages.expect(c.message);
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), QStringList{c.message});
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.IsWriting());
        EXPECT_TRUE(sim->sets().empty());
    }
}

// Catches an edit that may leave the switch without any VLAN member, and
// one refused while another VLAN still has members.
TEST_F(VlanAddTest, EditWithoutMembers)
{
    ASSERT_TRUE(Do("vlan add 20 20"));
    ASSERT_TRUE(Do("set " + Cell(2, 1) + " x 00"));
    ASSERT_TRUE(Do("set " + Cell(4, 1) + " x 00"));
    MessageRecorder messages;
    {
        CPQSVlanAdd d(ReadVlans(), false, 2, 20);
        Open(d);
        sim->clearLog();
        messages.expect("You have to include at least one member in the vlan");
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), QStringList{"You have to include at least one member in the vlan"});
        EXPECT_TRUE(sim->sets().empty());
    }
    messages.clear();
    ASSERT_TRUE(Do("set " + Cell(2, 1) + " x 80"));
    CPQSVlanAdd d(ReadVlans(), false, 2, 20);
    Open(d);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// Catches a changed order of the add's writes, port maps of the wrong
// length or bit order, a name not sent as UTF-8, and an add that does not
// end with the row made active.
TEST_F(VlanAddTest, AddWritesTheRowInOrder)
{
    struct Case {
        int ports;
        int octets;
        bool advertise;
    };
    for (const Case c : {Case{52, 12, false}, Case{28, 8, true}}) {
        SCOPED_TRACE(c.ports);
        ASSERT_TRUE(Do("reset"));
        g_nDevicePortNum = c.ports;
        MessageRecorder messages;
        CPQSVlanAdd d(ReadVlans(), true, 1, 0);
        Open(d);
        EXPECT_EQ(d.windowTitle(), "Add VLAN");
        d.VidEdit()->setText("10");
        d.NameEdit()->setText("ten");
        d.AdvertisementBox()->setChecked(c.advertise);
        Click(d, CPQSVlanAdd::Untagged, 3);
        Click(d, CPQSVlanAdd::Tagged, 5);
        Click(d, CPQSVlanAdd::Forbidden, 7);
        Click(d, CPQSVlanAdd::Tagged, c.ports);
        sim->clearLog();
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
        EXPECT_TRUE(messages.texts().isEmpty());
        EXPECT_EQ(d.result(), QDialog::Accepted);
        Varbinds expected = {
            {Cell(6, 10), "5"},
            {Cell(2, 10), AllPorts(c.ports, c.octets)},
            {Cell(4, 10), Map({3}, c.octets)},
            {Cell(2, 10), Map({3, 5, c.ports}, c.octets)},
            {Cell(3, 10), Map({7}, c.octets)},
            {Cell(1, 10), "74656e"},
        };
        if (c.advertise)
            expected.push_back({Cell(5, 10), "1"});
        expected.push_back({Cell(6, 10), "1"});
        EXPECT_EQ(SetVarbinds(*sim), expected);
        EXPECT_EQ(sim->value(Cell(6, 10)), "i 1");
    }
}

// Catches an edit that destroys and re-creates the row (the VLAN's IGMP row
// would go with it), or writes in an order a strict switch refuses.
TEST_F(VlanAddTest, EditChangesTheVlanInPlace)
{
    ASSERT_TRUE(Do("vlan add 10 10"));
    ASSERT_TRUE(Do("set " + Cell(2, 10) + " x 3c"));   // 3-6 egress
    ASSERT_TRUE(Do("set " + Cell(4, 10) + " x 30"));   // 3-4 untagged
    ASSERT_TRUE(Do("set " + Cell(3, 10) + " x 02"));   // 7 forbidden
    ASSERT_TRUE(Do("set " + kPrivate + ".10.3.4.1.1.10 i 10"));
    ASSERT_TRUE(Do("vlan strict on"));
    MessageRecorder messages;
    CPQSVlanAdd d(ReadVlans(), false, 1, 10);
    Open(d);
    EXPECT_EQ(d.windowTitle(), "Edit VLAN");
    EXPECT_FALSE(d.VidEdit()->isEnabled());
    EXPECT_EQ(d.NameEdit()->text(), "v10");
    const std::vector<CPQSVlanAdd::PortState> before = {CPQSVlanAdd::NotMember, CPQSVlanAdd::NotMember,
                                                        CPQSVlanAdd::Untagged,  CPQSVlanAdd::Untagged,
                                                        CPQSVlanAdd::Tagged,    CPQSVlanAdd::Tagged,
                                                        CPQSVlanAdd::Forbidden, CPQSVlanAdd::NotMember};
    for (int p = 1; p <= 8; ++p)
        EXPECT_EQ(d.State(p), before[size_t(p - 1)]) << "port " << p;
    Click(d, CPQSVlanAdd::Tagged, 4);      // untagged -> tagged
    Click(d, CPQSVlanAdd::Forbidden, 5);   // tagged -> forbidden
    Click(d, CPQSVlanAdd::NotMember, 6);   // tagged -> not member
    Click(d, CPQSVlanAdd::Untagged, 7);    // forbidden -> untagged
    d.NameEdit()->setText("ten");
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(SetVarbinds(*sim), (Varbinds{
                                     {Cell(3, 10), Map({})},                // forbidden: kept ones only
                                     {Cell(2, 10), Map({3, 4, 5, 6, 7})},   // egress: old and new
                                     {Cell(4, 10), Map({3, 7})},
                                     {Cell(2, 10), Map({3, 4, 7})},
                                     {Cell(3, 10), Map({5})},
                                     {Cell(1, 10), "74656e"},
                                     {Cell(6, 10), "1"},
                                 }));
    EXPECT_EQ(sim->value(kPrivate + ".10.3.4.1.1.10"), "i 10") << "the VLAN's IGMP row stays";
    EXPECT_EQ(sim->value(Cell(2, 10)), "x " + Map({3, 4, 7}));
}

// Catches the default VLAN's name or VID made editable, or its row
// destroyed or created.
TEST_F(VlanAddTest, EditOfTheDefaultVlan)
{
    MessageRecorder messages;
    CPQSVlanAdd d(ReadVlans(), false, 1, 1);
    Open(d);
    EXPECT_FALSE(d.VidEdit()->isEnabled());
    EXPECT_FALSE(d.NameEdit()->isEnabled());
    EXPECT_EQ(d.State(52), CPQSVlanAdd::Untagged);
    Click(d, CPQSVlanAdd::Tagged, 52);
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
    std::vector<std::string> statuses;
    for (const auto& [oid, value] : SetVarbinds(*sim))
        if (oid == Cell(6, 1))
            statuses.push_back(value);
    EXPECT_EQ(statuses, std::vector<std::string>{"1"});
    EXPECT_EQ(sim->value(Cell(1, 1)), "x 64656661756c74");   // "default"
}

// Catches a failed edit step reported as success, steps sent after it, or
// an edit that leaves the VLAN missing: the VLAN stays, the dialog stays
// open with the user's input.
TEST_F(VlanAddTest, FailedEditLeavesTheVlanAndIsReported)
{
    ASSERT_TRUE(Do("vlan add 10 10"));
    ASSERT_TRUE(Do("set " + Cell(2, 10) + " x 30"));
    MessageRecorder messages;
    CPQSVlanAdd d(ReadVlans(), false, 1, 10);
    Open(d);
    Click(d, CPQSVlanAdd::Untagged, 3);
    d.NameEdit()->setText("ten");
    ASSERT_TRUE(Do("error " + Cell(4, 10) + " genErr"));
    sim->clearLog();
    const QString failure = QString::fromStdString("The switch did not take the settings.\nStep 3 of 7 (untagged ports) "
                                                   "failed: genErr on " + Cell(4, 10) + "\nSteps 1 to 2 were written.");
    messages.expect(failure);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !messages.texts().isEmpty(); }));
    EXPECT_EQ(messages.texts(), QStringList{failure});
    EXPECT_EQ(sim->sets().size(), 3u);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.NameEdit()->text(), "ten");
    EXPECT_EQ(d.State(3), CPQSVlanAdd::Untagged);
    EXPECT_EQ(sim->value(Cell(6, 10)), "i 1");
    EXPECT_EQ(sim->value(Cell(1, 10)), "x 763130");   // "v10"
    ASSERT_TRUE(Do("clear"));
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    d.reject();
}

// Catches a half-made VLAN left on the switch when a write after the
// row's creation fails, and the removal not reported.
TEST_F(VlanAddTest, FailedAddRemovesTheHalfMadeRow)
{
    MessageRecorder messages;
    CPQSVlanAdd d(ReadVlans(), true, 1, 0);
    Open(d);
    d.VidEdit()->setText("10");
    d.NameEdit()->setText("ten");
    ASSERT_TRUE(Do("error " + Cell(3, 10) + " genErr"));
    sim->clearLog();
    const QString failure = QString::fromStdString("The switch did not take the settings.\nStep 5 of 7 (forbidden ports) "
                                                   "failed: genErr on " + Cell(3, 10)
                                                   + "\nSteps 1 to 4 were written.\nVLAN 10 was removed again.");
    messages.expect(failure);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !messages.texts().isEmpty(); }));
    EXPECT_EQ(messages.texts(), QStringList{failure});
    const Varbinds sets = SetVarbinds(*sim);
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(sets.back(), (std::pair<std::string, std::string>{Cell(6, 10), "6"}));
    EXPECT_EQ(sim->value(Cell(6, 10)), "");
    EXPECT_TRUE(d.isVisible());
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    d.reject();
}

// Catches symmetric-mode rules that let a port be untagged in two VLANs,
// and an "All" button that leaves stale what depends on the port states.
TEST_F(VlanAddTest, SymmetricModeKeepsOneUntaggedVlanPerPort)
{
    ASSERT_TRUE(Do("vlan add 10 10"));
    ASSERT_TRUE(Do("set " + Cell(4, 1) + " x 3fffffffffff"));   // ports 1 and 2 not untagged in VLAN 1
    ASSERT_TRUE(Do("set " + Cell(2, 10) + " x 40"));            // port 2 untagged in VLAN 10
    ASSERT_TRUE(Do("set " + Cell(4, 10) + " x 40"));
    const VlanList vlans = ReadVlans();
    MessageRecorder messages;
    {
        CPQSVlanAdd d(vlans, true, 2, 0);
        Open(d);
        messages.expect("Duplicate untagged port member is not allowed in one port.");
        d.AllButton(CPQSVlanAdd::Untagged)->click();
        EXPECT_EQ(messages.texts(), QStringList{"Duplicate untagged port member is not allowed in one port."});
        EXPECT_EQ(d.State(5), CPQSVlanAdd::NotMember);
        Click(d, CPQSVlanAdd::Untagged, 2);   // untagged in VLAN 10
        EXPECT_EQ(d.State(2), CPQSVlanAdd::NotMember);
        EXPECT_FALSE(d.Row(CPQSVlanAdd::Untagged)->IsChecked(2));
        Click(d, CPQSVlanAdd::Untagged, 3);   // untagged in VLAN 1
        EXPECT_EQ(d.State(3), CPQSVlanAdd::NotMember);
        Click(d, CPQSVlanAdd::Untagged, 1);   // untagged nowhere
        EXPECT_EQ(d.State(1), CPQSVlanAdd::Untagged);
        d.reject();
    }
    messages.clear();
    {
        // Editing VLAN 10: its own untagged port may go and come back,
        // also after "All".
        CPQSVlanAdd d(vlans, false, 2, 10);
        Open(d);
        d.AllButton(CPQSVlanAdd::Forbidden)->click();
        Click(d, CPQSVlanAdd::Untagged, 2);
        EXPECT_EQ(d.State(2), CPQSVlanAdd::Untagged);
        d.reject();
    }
    CPQSVlanAdd d(vlans, true, 1, 0);
    Open(d);
    d.AllButton(CPQSVlanAdd::Untagged)->click();
    for (int p : {1, 2, 3, 52})
        EXPECT_EQ(d.State(p), CPQSVlanAdd::Untagged) << "asymmetric: port " << p;
    EXPECT_TRUE(messages.texts().isEmpty());
    d.reject();
}

// Catches a port left without a state or with two: clicking its current
// state keeps it, clicking another moves it.
TEST_F(VlanAddTest, EveryPortHasExactlyOneState)
{
    CPQSVlanAdd d(ReadVlans(), true, 1, 0);
    Open(d);
    Click(d, CPQSVlanAdd::NotMember, 9);
    EXPECT_EQ(d.State(9), CPQSVlanAdd::NotMember);
    EXPECT_TRUE(d.Row(CPQSVlanAdd::NotMember)->IsChecked(9));
    Click(d, CPQSVlanAdd::Tagged, 9);
    Click(d, CPQSVlanAdd::Forbidden, 9);
    for (int row = 0; row < CPQSVlanAdd::StateCount; ++row)
        EXPECT_EQ(d.Row(CPQSVlanAdd::PortState(row))->IsChecked(9), row == CPQSVlanAdd::Forbidden) << row;
    d.reject();
}

// Catches an advertisement written although unchanged, or offered on a
// switch that has no such object (the write would be refused).
TEST_F(VlanAddTest, AdvertisementOnlyWhenChangedAndKnown)
{
    ASSERT_TRUE(Do("vlan add 10 10") && Do("set " + Cell(2, 10) + " x 20"));
    {
        CPQSVlanAdd d(ReadVlans(), false, 1, 10);
        Open(d);
        EXPECT_TRUE(d.AdvertisementBox()->isEnabled());
        sim->clearLog();
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
        for (const auto& [oid, value] : SetVarbinds(*sim))
            EXPECT_NE(oid, Cell(5, 10)) << "unchanged";
    }
    ASSERT_TRUE(Do("unset " + Cell(5, 1)) && Do("unset " + Cell(5, 10)));
    const VlanList vlans = ReadVlans();
    for (bool add : {true, false}) {
        CPQSVlanAdd d(vlans, add, 1, add ? 0 : 10);
        Open(d);
        EXPECT_FALSE(d.AdvertisementBox()->isEnabled()) << (add ? "add" : "edit");
        d.reject();
    }
}
