// The 802.1Q VLAN list against the simulated switch: what it lists, the
// delete rules and the delete, the VLAN mode rules, the VLAN limit and
// write permission.

#include "C8021qVlanSet.h"
#include "CListCtrlEx.h"
#include "CPQSPVIDConfig.h"
#include "CPortGrid.h"
#include "CPQSVlanAdd.h"
#include "CStatusLine.h"
#include "MessageRecorder.h"
#include "VlanTestUtil.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

using namespace vlantest;

namespace {

class VlanListTest : public VlanDialogTest
{
protected:
    // Shows the dialog and waits until every read has ended (a table of
    // hundreds of VLANs takes a thousand and more requests).
    static void Open(C8021qVlanSet& d, int deadlineMs = 5000)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, deadlineMs));
    }
    static void Reread(C8021qVlanSet& d)
    {
        d.Refresh();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }
    static std::vector<int> ListedVids(const C8021qVlanSet& d)
    {
        std::vector<int> vids;
        for (int i = 0; i < d.List()->GetItemCount(); ++i)
            vids.push_back(d.List()->GetItemText(i, 0).toInt());
        return vids;
    }
    static void Select(C8021qVlanSet& d, int vid)
    {
        for (int i = 0; i < d.List()->GetItemCount(); ++i)
            if (d.List()->GetItemText(i, 0).toInt() == vid)
                d.List()->SelectItem(i);
    }
};

} // namespace

// Catches rows listed by arrival order or whatever their row status: only
// active rows are VLANs, in the list and in the records handed on.
TEST_F(VlanListTest, ListsOnlyActiveRows)
{
    ASSERT_TRUE(Do("vlan add 20 20") && Do("vlan add 30 30") && Do("vlan add 40 40") && Do("vlan add 100 100"));
    ASSERT_TRUE(Do("set " + Cell(6, 20) + " i 2"));   // not in service
    ASSERT_TRUE(Do("set " + Cell(6, 30) + " i 3"));   // not ready
    ASSERT_TRUE(Do("set " + Cell(2, 40) + " x 0000000000000000"));
    ASSERT_TRUE(Do("set " + Cell(2, 40) + " x f0c0000000000001"));
    ASSERT_TRUE(Do("set " + Cell(4, 40) + " x 4000000000000000"));
    ASSERT_TRUE(Do("set " + Cell(3, 40) + " x 0001"));
    ASSERT_TRUE(Do("set " + Cell(1, 40) + " s Büro"));
    ASSERT_TRUE(Do("set " + Cell(5, 40) + " i 1"));
    MessageRecorder messages;
    C8021qVlanSet d;
    Open(d);
    ASSERT_TRUE(d.Gate().AllSucceeded()) << d.StatusLine()->text().toStdString();
    EXPECT_EQ(ListedVids(d), (std::vector<int>{1, 40, 100})) << "numeric order, active rows only";
    ASSERT_EQ(d.Vlans().size(), 3);
    const QStringList row40 = {"40", "Büro", "Enabled", "6", "1-4,9-10", "2", "16"};
    const QStringList row1 = {"1", "default", "Disabled", "52", "1-52", "1-52", ""};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(d.List()->GetItemText(1, c), row40[c]) << "column " << c;
        EXPECT_EQ(d.List()->GetItemText(0, c), row1[c]) << "column " << c;
    }
    const VLAN_ENTRY& v40 = d.Vlans()[1];
    EXPECT_EQ(v40.nVid, 40);
    EXPECT_EQ(v40.szName, "Büro");
    EXPECT_EQ(v40.szEgressPorts, "1,2,3,4,9,10");   // the octet of ports 57-64 lies beyond 52 ports
    EXPECT_EQ(v40.szForbiddenPorts, "16");
    EXPECT_EQ(v40.nNotMemberCount, 52 - v40.nEgressCount - 1);
    EXPECT_TRUE(messages.texts().isEmpty());

    // Bits beyond the port count (the rest of the last octet) are no ports.
    g_nDevicePortNum = 28;
    ASSERT_TRUE(Do("set " + Cell(2, 1) + " x ffffffff"));
    C8021qVlanSet small;
    Open(small);
    EXPECT_EQ(small.List()->GetItemText(0, 3), "28");
    EXPECT_EQ(small.List()->GetItemText(0, 4), "1-28");
    EXPECT_EQ(small.Vlans()[0].nEgressCount, 28);
    EXPECT_EQ(small.Vlans()[0].nNotMemberCount, 0);
}

// Catches a delete rule missing, run out of order, comparing VIDs as text,
// or applying the PVID rule in symmetric mode. The PVID rule follows the
// "Enable Asymmetric VLAN" box as the user left it, not the mode last read.
TEST_F(VlanListTest, CanDeleteVlanRules)
{
    struct Case {
        const char* what;
        std::vector<std::string> setup;   // control commands
        int vid;
        const char* message;              // null: may be deleted
        int box = -1;                     // the user's box: -1 as read, 0 off, 1 on
    };
    const Case cases[] = {
        {"the default VLAN, before any other rule", {"set " + kMode + " i 1", "set " + kPvid + "5 u 1"}, 1,
         "Can't delete the default VLAN!"},
        {"a PVID in asymmetric mode", {"set " + kMode + " i 1", "set " + kPvid + "5 u 30"}, 30,
         "The VID is one of The PVID, so it cannot be deleted."},
        {"a PVID in symmetric mode", {"set " + kPvid + "5 u 30"}, 30, nullptr},
        {"the voice VLAN", {"set " + kVoiceState + " i 1", "set " + kVoiceVid + " i 30"}, 30,
         "The VLAN ID is Voice VLAN ID."},
        {"a disabled voice VLAN's VID", {"set " + kVoiceVid + " i 30"}, 30, nullptr},
        {"the surveillance VLAN", {"set " + kSurveillanceState + " i 1", "set " + kSurveillanceVid + " i 30"}, 30,
         "The VLAN ID is Surveillance VLAN ID."},
        {"an IP interface's VLAN", {"set " + kIpInterfaceVlan + "2 i 30"}, 30, "The VLAN ID is IP Interface VLAN."},
        {"an IP interface on VLAN 300 is not VLAN 30", {"set " + kIpInterfaceVlan + "2 i 300"}, 30, nullptr},
        {"a plain VLAN", {}, 30, nullptr},
        {"a PVID, symmetric as read, the box checked", {"set " + kPvid + "5 u 30"}, 30,
         "The VID is one of The PVID, so it cannot be deleted.", 1},
        {"a PVID, asymmetric as read, the box cleared", {"set " + kMode + " i 1", "set " + kPvid + "5 u 30"}, 30,
         nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(30, 30, c.setup);
        MessageRecorder messages;
        C8021qVlanSet d;
        Open(d);
        ASSERT_TRUE(d.Gate().AllSucceeded()) << d.StatusLine()->text().toStdString();
        if (c.box >= 0)
            d.AsymmetricBox()->setChecked(c.box == 1);
        if (c.message)
            messages.expect(c.message);
        EXPECT_EQ(d.CanDeleteVlan(c.vid), c.message == nullptr);
        EXPECT_EQ(messages.texts(), c.message ? QStringList{c.message} : QStringList{});
    }
}

// Catches a delete that sends anything but row status 6 for the selected
// VLAN, keeps the row listed, or writes after a cancelled confirmation
// (which still re-reads).
TEST_F(VlanListTest, DeleteDestroysTheRowAfterConfirmation)
{
    ASSERT_TRUE(Do("vlan add 30 31"));
    MessageRecorder messages;
    C8021qVlanSet d;
    Open(d);
    Select(d, 31);
    sim->clearLog();
    messages.expect("The VLAN 31 settings in IGMP Snooping and MAC Address Table maybe be affected, continue?",
                    IDCANCEL);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(messages.texts(),
              QStringList{"The VLAN 31 settings in IGMP Snooping and MAC Address Table maybe be affected, continue?"});
    EXPECT_TRUE(sim->sets().empty());
    bool reread = false;
    for (const SimRequest& r : sim->requests())
        reread = reread || r.pdu == "getnext";
    EXPECT_TRUE(reread) << "a cancelled delete re-reads";

    messages.clear();
    messages.expect("The VLAN 31 settings in IGMP Snooping and MAC Address Table maybe be affected, continue?",
                    IDOK);
    Select(d, 31);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }));
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(SetVarbinds(*sim), (std::vector<std::pair<std::string, std::string>>{{Cell(6, 31), "6"}}));
    EXPECT_EQ(ListedVids(d), (std::vector<int>{1, 30}));
    EXPECT_EQ(sim->value(Cell(6, 31)), "");
    EXPECT_EQ(d.StatusLine()->text(), "VLAN 31 deleted");   // said after the re-read too

    // Nothing selected: told so, nothing written.
    messages.clear();
    sim->clearLog();
    d.List()->ClearSelection();
    messages.expect("Please select the VLAN want to be deleted!");
    d.DeleteButton()->click();
    EXPECT_EQ(messages.texts(), QStringList{"Please select the VLAN want to be deleted!"});
    EXPECT_TRUE(sim->sets().empty());
}

// Catches a refused delete reported as done: the message names the step
// and the dialog re-reads what the switch holds.
TEST_F(VlanListTest, RefusedDeleteIsReported)
{
    ASSERT_TRUE(Do("vlan add 30 30"));
    MessageRecorder messages;
    C8021qVlanSet d;
    Open(d);
    Select(d, 30);
    ASSERT_TRUE(Do("set-error " + Cell(6, 30) + " genErr"));
    const std::string failure =
        "The switch did not take the settings.\nStep 1 of 1 (remove VLAN 30) failed: genErr on " + Cell(6, 30);
    messages.expect("The VLAN 30 settings in IGMP Snooping and MAC Address Table maybe be affected, continue?", IDOK);
    messages.expect(QString::fromStdString(failure));
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitFor([&] { return messages.texts().size() == 2; }));
    EXPECT_EQ(messages.texts()[1].toStdString(), failure);
    ASSERT_TRUE(Do("clear"));
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(ListedVids(d), (std::vector<int>{1, 30}));
}

// Catches a mode rule missing or out of order, the voice and surveillance
// refusal only in one direction, a write after Cancel, and a mode write
// that is not followed by a re-read.
TEST_F(VlanListTest, ModeApplyRules)
{
    struct Case {
        const char* what;
        std::vector<std::string> setup;
        bool check;                 // the box as the user leaves it
        QList<int> answers;
        QStringList messages;
        bool boxAfter;              // the box once the messages are answered
        std::string written;        // the mode written, empty for none
    };
    const QString voice = "Voice Vlan is enable,the vlan mode can't change to Asymmetric mode!\n"
                          "If you could disable it, please set it through the web!";
    const QString surveillance = "Auto Surveillance VLAN is enable,the vlan mode can't change to Asymmetric mode!";
    const QString confirm = "The setting of VLAN, IGMP Snooping, Management VLAN and MAC Address Table will be "
                            "reset to default.";
    const Case cases[] = {
        {"two IP interfaces, mode changed", {"set " + kIpInterfaceVlan + "2 i 1", "set " + kVoiceState + " i 1"},
         true, {}, {"Multiple Interfaces are set, the VLAN mode can not be changed."}, true, ""},
        {"two IP interfaces, mode unchanged", {"set " + kIpInterfaceVlan + "2 i 1"}, false, {IDCANCEL}, {confirm},
         false, ""},
        {"voice VLAN, to asymmetric", {"set " + kVoiceState + " i 1"}, true, {}, {voice}, false, ""},
        {"voice VLAN, to symmetric", {"set " + kMode + " i 1", "set " + kVoiceState + " i 1"}, false, {}, {voice},
         true, ""},
        {"voice VLAN, unchanged", {"set " + kVoiceState + " i 1"}, false, {}, {voice}, false, ""},
        {"surveillance VLAN", {"set " + kSurveillanceState + " i 1"}, true, {}, {surveillance}, false, ""},
        {"cancelled", {}, true, {IDCANCEL}, {confirm}, true, ""},
        {"confirmed", {}, true, {IDOK}, {confirm}, true, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(30, 30, c.setup);
        MessageRecorder messages;
        for (int i = 0; i < c.messages.size(); ++i)
            messages.expect(c.messages[i], c.answers.value(i, IDOK));
        C8021qVlanSet d;
        Open(d);
        ASSERT_TRUE(d.ApplyButton()->isEnabled()) << d.StatusLine()->text().toStdString();
        d.AsymmetricBox()->setChecked(c.check);
        sim->clearLog();
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }));
        EXPECT_EQ(messages.texts(), c.messages);
        if (c.written.empty()) {
            EXPECT_TRUE(sim->sets().empty());
            EXPECT_EQ(d.AsymmetricBox()->isChecked(), c.boxAfter);
        } else {
            EXPECT_EQ(SetVarbinds(*sim), (std::vector<std::pair<std::string, std::string>>{{kMode, c.written}}));
            EXPECT_TRUE(d.AsymmetricBox()->isChecked());
            EXPECT_EQ(ListedVids(d), std::vector<int>{1}) << "re-read after the switch reset its VLANs";
        }
    }
}

// Catches the limit checked with another count: 255 VLANs still open the
// add dialog, 256 refuse with the switch's text.
TEST_F(VlanListTest, AddRefusesAt256Vlans)
{
    ASSERT_TRUE(Do("vlan add 2 255"));
    MessageRecorder messages;
    {
        C8021qVlanSet d;
        Open(d, 60000);
        ASSERT_EQ(d.List()->GetItemCount(), 255);
        QString opened;
        WhenModal modal(&d, [&](QWidget* w) {
            opened = w->windowTitle();
            static_cast<QDialog*>(w)->reject();
        });
        d.AddButton()->click();
        EXPECT_TRUE(modal.seen());
        EXPECT_EQ(opened, "Add VLAN");
        EXPECT_TRUE(messages.texts().isEmpty());
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 60000));
    }
    ASSERT_TRUE(Do("vlan add 256 256"));
    C8021qVlanSet d;
    Open(d, 60000);
    ASSERT_EQ(d.List()->GetItemCount(), 256);
    WhenModal modal(&d, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    messages.expect(" Number of VLAN group is over limit");
    d.AddButton()->click();
    EXPECT_FALSE(modal.seen());
    EXPECT_EQ(messages.texts(), QStringList{" Number of VLAN group is over limit"});
}

// Catches a refresh that enables the buttons again without write
// permission, and buttons enabled while a read failed.
TEST_F(VlanListTest, ButtonsNeedWritePermissionAndEveryRead)
{
    auto writeButtons = [](const C8021qVlanSet& d) {
        return std::vector<bool>{d.AddButton()->isEnabled(), d.EditButton()->isEnabled(),
                                 d.DeleteButton()->isEnabled(), d.PvidButton()->isEnabled()};
    };
    const std::vector<bool> off(4, false);
    const std::vector<bool> on(4, true);
    {
        C8021qVlanSet d;
        Open(d);
        EXPECT_EQ(writeButtons(d), on);
        ASSERT_TRUE(Do("drop under " + kPrivate + ".41.1.1.1.2"));
        Reread(d);
        EXPECT_EQ(writeButtons(d), off) << "IP interfaces unread";
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        EXPECT_EQ(d.StatusLine()->text(), "Read failed: IP interfaces: No answer from 127.0.0.1");
        ASSERT_TRUE(Do("drop off"));
        Reread(d);
        EXPECT_EQ(writeButtons(d), on);
    }
    g_bWritePermission = 0;
    C8021qVlanSet d;
    d.show();
    EXPECT_EQ(writeButtons(d), off) << "while reading";
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(d.Gate().AllSucceeded());
        EXPECT_EQ(writeButtons(d), off) << "after refresh " << i;
        Reread(d);
    }
}

// Catches a PVID button that Enter triggers or that opens nothing.
TEST_F(VlanListTest, PvidButtonOpensThePvidDialog)
{
    MessageRecorder messages;
    C8021qVlanSet d;
    Open(d);
    EXPECT_TRUE(d.PvidButton()->isVisible());
    EXPECT_FALSE(d.PvidButton()->isDefault());
    EXPECT_FALSE(d.PvidButton()->autoDefault());
    QString opened;
    WhenModal modal(&d, [&](QWidget* w) {
        opened = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    d.PvidButton()->click();
    EXPECT_EQ(opened, "PVID Configuration");
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_TRUE(messages.texts().isEmpty());
}

// After an add the list says so in its status line, and keeps saying it
// after re-reading (the add dialog closed with OK and said nothing itself).
TEST_F(VlanListTest, AddSaysVlanAddedInTheList)
{
    MessageRecorder messages;
    C8021qVlanSet d;
    Open(d);
    WhenModal modal(&d, [&](QWidget* w) {
        auto* add = qobject_cast<CPQSVlanAdd*>(w);
        ASSERT_NE(add, nullptr);
        ASSERT_TRUE(WaitFor([&] { return add->ApplyButton()->isEnabled(); }));
        add->VidEdit()->setText("40");
        add->NameEdit()->setText("forty");
        add->Row(CPQSVlanAdd::Tagged)->GetCheckBox(5)->click();
        add->ApplyButton()->click();
    });
    d.AddButton()->click();
    ASSERT_TRUE(modal.seen());
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(ListedVids(d), (std::vector<int>{1, 40}));
    EXPECT_EQ(d.StatusLine()->text(), "VLAN 40 added");
    EXPECT_TRUE(messages.texts().isEmpty());
}
