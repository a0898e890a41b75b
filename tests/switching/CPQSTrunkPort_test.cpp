// The member picker and the link table dialog against the simulated switch.

#include "CListCtrlEx.h"
#include "CPQSTrunkPort.h"
#include "CPortGrid.h"
#include "CStatusLine.h"
#include "CTrunkConfigDlg.h"
#include "MessageRecorder.h"
#include "SwitchingFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const std::string kMembers = kPrivate + ".8.1.3.1.2";
const std::string kMode = kPrivate + ".8.1.3.1.3";
const std::string kState = kPrivate + ".8.1.2.0";

void Open(CPQSTrunkPort& d, const char* id, const char* mode, const char* members)
{
    d.m_strTrunkId = QString::fromLatin1(id);
    d.m_strMode = QString::fromLatin1(mode);
    d.m_strMembers = QString::fromLatin1(members);
    d.show();
}

void Choose(CPQSTrunkPort& d, std::initializer_list<int> ports)
{
    d.PortGrid()->SetAll(false);
    for (int p : ports)
        d.PortGrid()->SetChecked(p, true);
}

class TrunkPickerTest : public SwitchingTest
{
protected:
    void SetUp() override
    {
        SwitchingTest::SetUp();
        ResetSwitch();
    }
    // The switch starts with loop-back detection on port 5 (for the
    // spanning-tree tests); the member choices here run over ports 1-11.
    static void ResetSwitch()
    {
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kPrivate + ".17.5.1.2.5 i 2"));
    }
};
using TrunkConfigTest = SwitchingTest;

} // namespace

// OK waits for every reader: a slow switch keeps it off until the last
// answer, a reader that fails keeps it off for good with the status line
// naming it (checks never run on a table that did not arrive).
TEST_F(TrunkPickerTest, OkOnlyOnCompleteData)
{
    {
        ASSERT_TRUE(sim->command("delay 150"));
        sim->clearLog();
        CPQSTrunkPort d;
        Open(d, "2", "Static", "");
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        // Some answers in (the switch logs a request as it answers), not all.
        ASSERT_TRUE(WaitFor([&] { return sim->requests().size() >= 20; }));
        EXPECT_TRUE(d.Gate().Pending());
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        ASSERT_TRUE(sim->command("delay 0"));
        ASSERT_TRUE(Settled(d));
        EXPECT_TRUE(d.Gate().AllSucceeded());
        EXPECT_TRUE(d.ApplyButton()->isEnabled());
    }
    ASSERT_TRUE(sim->command("drop under " + kPrivate + ".15.2.1.1.10"));
    CPQSTrunkPort d;
    Open(d, "2", "Static", "");
    ASSERT_TRUE(Settled(d));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(d.StatusLine()->text().toStdString(), "Read failed: ACL ports: No answer from 127.0.0.1");
}

// Member counts: 1 and 9 are refused with their texts as they stand, no set
// is sent and the picker stays open with the choice intact; 2 and 8 are
// written.
TEST_F(TrunkPickerTest, TwoToEightMembers)
{
    struct Case {
        std::initializer_list<int> ports;
        const char* message;   // null: written
    };
    const Case cases[] = {
        {{3}, "The mininum port members for an aggregated link is 2 !"},
        {{3, 4, 5, 6, 7, 8, 9, 10, 11}, "The maxinum port member for an aggregated link is exceeded !"},
        {{3, 4}, nullptr},
        {{3, 4, 5, 6, 7, 8, 9, 10}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ports.size());
        ResetSwitch();
        MessageRecorder messages;
        CPQSTrunkPort d;
        Open(d, "2", "Static", "");
        ASSERT_TRUE(OpenAndRead(d));
        Choose(d, c.ports);
        if (c.message)
            messages.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
        ASSERT_TRUE(WritesDone(d));
        if (c.message) {
            EXPECT_EQ(messages.texts(), QStringList{QString::fromLatin1(c.message)});
            EXPECT_TRUE(sim->sets().empty());
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.PortGrid()->GetPorts().size(), qsizetype(c.ports.size()));
        } else {
            EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
            ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
            EXPECT_EQ(sim->sets().size(), 1u);
            EXPECT_FALSE(d.isVisible());
            EXPECT_EQ(d.result(), QDialog::Accepted);
        }
    }
}

// One set: the member map (zero-padded to the switch's width for the port
// count) then the mode, LACP "1" and Static "2".
TEST_F(TrunkPickerTest, MemberMapAndModeInOneSet)
{
    struct Case {
        int ports;
        const char* id;
        const char* mode;
        const char* members;
        std::initializer_list<int> chosen;
        const char* hex;
        const char* code;
    };
    const Case cases[] = {
        {28, "1", "Static", "1,2", {1, 2}, "c0000000", "2"},
        {52, "2", "LACP", "", {49, 50}, "000000000000c000", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        g_nDevicePortNum = c.ports;
        sim->clearLog();
        MessageRecorder messages;
        CPQSTrunkPort d;
        Open(d, c.id, c.mode, c.members);
        ASSERT_TRUE(OpenAndRead(d));
        Choose(d, c.chosen);
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
        const auto sets = sim->sets();
        ASSERT_EQ(sets.size(), 1u);
        ASSERT_EQ(sets[0].varbinds.size(), 2u);
        EXPECT_EQ(sets[0].varbinds[0].oid, kMembers + "." + c.id);
        EXPECT_EQ(sets[0].varbinds[0].hex, c.hex);
        EXPECT_EQ(sets[0].varbinds[1].oid, kMode + "." + c.id);
        EXPECT_EQ(sets[0].varbinds[1].value, c.code);
    }
}

// The rules run on what was read: a port of another link and a port in a
// static forwarding row are refused with their messages and nothing is sent.
TEST_F(TrunkPickerTest, RulesRefuseOnReadState)
{
    struct Case {
        std::initializer_list<int> chosen;
        const char* message;
    };
    const Case cases[] = {
        {{2, 3}, "Cannot add the port as it is a member of another aggregated link !"},
        {{39, 40}, "Cannot add ports with different FDB-destination-hit configurations to an aggregated link."},
        {{44, 45}, "Cannot add ports of ARP Spoofing Prevent enable ports to an aggregated link."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        sim->clearLog();
        MessageRecorder messages;
        CPQSTrunkPort d;
        Open(d, "3", "LACP", "");
        ASSERT_TRUE(OpenAndRead(d));
        Choose(d, c.chosen);
        messages.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(sim->sets().empty());
        EXPECT_TRUE(d.isVisible());
    }
}

// A set the switch refuses is reported and the picker stays open (the
// choice kept) instead of closing as if it had worked; Cancel sends nothing.
TEST_F(TrunkPickerTest, RefusedSetReportedCancelSendsNothing)
{
    ASSERT_TRUE(sim->command("error " + kMode + ".2 wrongValue"));
    MessageRecorder messages;
    {
        CPQSTrunkPort d;
        Open(d, "2", "Static", "");
        ASSERT_TRUE(OpenAndRead(d));
        Choose(d, {5, 6});
        messages.script({IDOK});
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !messages.texts().isEmpty(); }));
        ASSERT_TRUE(WritesDone(d));
        EXPECT_TRUE(messages.texts().first().contains(QString::fromStdString(kMode) + ".2"))
            << messages.texts().first().toStdString();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.PortGrid()->GetPorts(), (QList<int>{5, 6}));
    }
    sim->clearLog();
    messages.clear();
    CPQSTrunkPort d;
    Open(d, "2", "Static", "");
    ASSERT_TRUE(OpenAndRead(d));
    Choose(d, {5, 6});
    d.CloseButton()->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// The link list shows each link by its index with its mode and members.
TEST_F(TrunkConfigTest, ListsTheLinks)
{
    for (int link : {3, 4}) {
        ASSERT_TRUE(sim->command("set " + kMembers + "." + std::to_string(link) + " x 0000000000000000"));
        ASSERT_TRUE(sim->command("set " + kMode + "." + std::to_string(link) + " i " + (link == 3 ? "1" : "0")));
    }
    CTrunkConfigDlg d;
    ASSERT_TRUE(OpenAndRead(d));
    CListCtrlEx* list = d.List();
    ASSERT_EQ(list->GetItemCount(), 4);
    EXPECT_EQ(list->GetItemText(0, 0), "1");
    EXPECT_EQ(list->GetItemText(0, 1), "Static");
    EXPECT_EQ(list->GetItemText(0, 2), "1,2");
    EXPECT_EQ(list->GetItemText(2, 1), "LACP");
    EXPECT_EQ(list->GetItemText(3, 1), "Disable");
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_TRUE(d.PortMemberButton()->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// Channel mode: by link id even when the table has gaps; the current mode
// writes nothing; a link without members is refused; "Disable" writes 3.
TEST_F(TrunkConfigTest, ChannelModeByLinkId)
{
    for (const std::string& col : {kMembers, kMode})
        ASSERT_TRUE(sim->command("unset " + col + ".2"));
    ASSERT_TRUE(sim->command("set " + kMembers + ".5 x 3000000000000000"));
    ASSERT_TRUE(sim->command("set " + kMode + ".5 i 2"));
    ASSERT_TRUE(sim->command("set " + kMembers + ".6 x 0000000000000000"));
    ASSERT_TRUE(sim->command("set " + kMode + ".6 i 3"));
    MessageRecorder messages;
    CTrunkConfigDlg d;
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_EQ(d.List()->GetItemText(1, 0), "5");
    sim->clearLog();

    d.List()->SelectItem(1);
    EXPECT_EQ(d.TrunkIdEdit()->text(), "5");
    EXPECT_EQ(d.ModeCombo()->currentText(), "Static");
    d.ApplyButton()->click();   // unchanged: nothing to write
    EXPECT_TRUE(sim->sets().empty());

    d.ModeCombo()->setCurrentText("LACP");
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, kMode + ".5");
    EXPECT_EQ(sim->sets()[0].varbinds[0].value, "1");
    EXPECT_EQ(d.List()->GetItemText(1, 1), "LACP");

    sim->clearLog();
    d.List()->SelectItem(1);
    d.ModeCombo()->setCurrentText("Disable");
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].value, "3");
    ASSERT_TRUE(OpenAndRead(d));

    sim->clearLog();
    d.List()->SelectItem(2);   // link 6, no member
    d.ModeCombo()->setCurrentText("LACP");
    messages.expect("The minimum port numbers for an aggregated link is 2.");
    d.ApplyButton()->click();
    EXPECT_EQ(messages.texts(), QStringList{"The minimum port numbers for an aggregated link is 2."});
    EXPECT_TRUE(sim->sets().empty());
}

// A state read that failed keeps both Apply buttons and the picker off:
// the unread box would otherwise switch aggregation off switch-wide.
TEST_F(TrunkConfigTest, FailedStateReadKeepsWritesOff)
{
    ASSERT_TRUE(sim->command("drop under " + kState));
    CTrunkConfigDlg d;
    d.show();
    ASSERT_TRUE(Settled(d));
    EXPECT_FALSE(d.ApplyStateButton()->isEnabled());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.PortMemberButton()->isEnabled());
    EXPECT_EQ(d.StatusLine()->text().toStdString(), "Read failed: link aggregation state: No answer from 127.0.0.1");
    EXPECT_EQ(d.List()->GetItemCount(), 2);
}

// The state: unchecking writes 2 and the dialog reads it back; with the
// state off, Apply on a mode says so and the picker stays off.
TEST_F(TrunkConfigTest, StateWriteAndDisabledState)
{
    MessageRecorder messages;
    CTrunkConfigDlg d;
    ASSERT_TRUE(OpenAndRead(d));
    sim->clearLog();
    d.EnableBox()->setChecked(false);
    d.ApplyStateButton()->click();
    ASSERT_TRUE(WritesDone(d));
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, kState);
    EXPECT_EQ(sim->sets()[0].varbinds[0].value, "2");
    EXPECT_FALSE(d.EnableBox()->isChecked());
    EXPECT_FALSE(d.PortMemberButton()->isEnabled());
    d.List()->SelectItem(0);
    d.ModeCombo()->setCurrentText("LACP");
    messages.expect("Link Aggregation State is disable.");
    d.ApplyButton()->click();
    EXPECT_EQ(messages.texts(), QStringList{"Link Aggregation State is disable."});
}

// "Link Aggregation State is disable." follows the box as the user left it,
// not the state last read: unchecked, nothing is written; checked over a
// state read as off, the mode goes out.
TEST_F(TrunkConfigTest, DisabledStateFollowsTheBox)
{
    MessageRecorder messages;
    CTrunkConfigDlg d;
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_TRUE(d.EnableBox()->isChecked());
    sim->clearLog();
    d.EnableBox()->setChecked(false);
    d.List()->SelectItem(0);   // link 1: ports 1 and 2, static
    d.ModeCombo()->setCurrentText("LACP");
    messages.expect("Link Aggregation State is disable.");
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    EXPECT_TRUE(sim->sets().empty());
    messages.ExpectAllUsed();

    ASSERT_TRUE(sim->command("set " + kState + " i 2"));
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_FALSE(d.EnableBox()->isChecked());
    sim->clearLog();
    d.EnableBox()->setChecked(true);
    d.List()->SelectItem(0);   // link 1: ports 1 and 2, static
    d.ModeCombo()->setCurrentText("LACP");
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    EXPECT_FALSE(sim->sets().empty());
}

// The picker's preconditions, channel mode first; with both given the
// picker opens on the chosen link and, after its OK, the list is re-read.
TEST_F(TrunkConfigTest, PortMemberOpensThePicker)
{
    MessageRecorder messages;
    CTrunkConfigDlg d;
    ASSERT_TRUE(OpenAndRead(d));
    messages.expect("Please select the Channel Mode (LACP or Static) first.");
    messages.expect("Please select the Trunk !");
    d.ModeCombo()->setCurrentText("Disable");
    d.PortMemberButton()->click();
    d.ModeCombo()->setCurrentText("LACP");
    d.PortMemberButton()->click();
    EXPECT_EQ(messages.texts(), (QStringList{"Please select the Channel Mode (LACP or Static) first.",
                                             "Please select the Trunk !"}));
    messages.clear();
    sim->clearLog();
    d.List()->SelectItem(0);
    QString seen;
    d.m_onPickerOpen = [&](CPQSTrunkPort& picker) {
        QTimer::singleShot(0, &picker, [&picker, &seen] {
            seen = picker.m_strTrunkId + "/" + picker.m_strMode + "/" + picker.m_strMembers;
            // Whatever goes wrong, the picker's modal loop must end.
            if (!WaitFor([&] { return picker.ApplyButton()->isEnabled(); }, kReadDeadlineMs)) {
                ADD_FAILURE() << "the picker's reads did not succeed";
                picker.reject();
                return;
            }
            picker.PortGrid()->SetChecked(3, true);
            picker.ApplyButton()->click();
            if (!WaitFor([&] { return !picker.isVisible(); })) {
                ADD_FAILURE() << "the picker did not close after its write";
                picker.reject();
            }
        });
    };
    d.PortMemberButton()->click();
    EXPECT_EQ(seen, "1/Static/1,2");
    ASSERT_TRUE(OpenAndRead(d));
    EXPECT_EQ(d.List()->GetItemText(0, 2), "1,2,3");
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
}
