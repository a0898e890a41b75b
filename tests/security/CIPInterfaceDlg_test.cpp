#include "CIPInterfaceDlg.h"
#include "CListCtrlEx.h"
#include "L3TestUtil.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

using namespace l3test;

namespace {

class IPInterfaceTest : public L3DialogTest
{
protected:
    // Fills the form; the VLAN by its id text.
    static void Fill(CIPInterfaceDlg& d, const QString& name, const QString& vid, const QString& address,
                     const QString& mask = "255.255.255.0")
    {
        d.NameEdit()->setText(name);
        d.VlanCombo()->setCurrentIndex(d.VlanCombo()->findText(vid));
        TypeAddress(d.AddressCtrl(), address);
        d.MaskCombo()->setCurrentIndex(d.MaskCombo()->findText(mask));
    }
};

} // namespace

// The switch's own interface is listed with its texts; the mask list runs
// /29 to /3 with /24 chosen.
TEST_F(IPInterfaceTest, ListsTheInterfaces)
{
    CIPInterfaceDlg d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    const char* expected[] = {"1", "System", "1", "default", "10.90.90.90", "255.0.0.0", "Enabled", "Link Up"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(d.List()->GetItemText(0, c).toStdString(), expected[c]) << c;
    EXPECT_EQ(d.MaskCombo()->count(), 27);
    EXPECT_EQ(d.MaskCombo()->itemText(0), "255.255.255.248");
    EXPECT_EQ(d.MaskCombo()->itemText(26), "224.0.0.0");
    EXPECT_EQ(d.MaskCombo()->currentText(), "255.255.255.0");
}

// The add: createAndWait, the columns in one request (name, mask, address,
// admin state), active; the new interface is listed after the re-read and
// gets its gratuitous-ARP row.
TEST_F(IPInterfaceTest, AddSendsCreateColumnsActive)
{
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    CIPInterfaceDlg d;
    Open(d);
    Fill(d, "mgmt", "10", "192.168.5.1");
    d.AdminCombo()->setCurrentIndex(1);
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::string e = "P.41.1.1.1.";
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{
                                  e + "10.2.10=5",
                                  e + "3.2.10=mgmt " + e + "7.2.10=255.255.255.0 " + e + "6.2.10=192.168.5.1 " + e
                                      + "8.2.10=2",
                                  e + "10.2.10=1"}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(1, 1), "mgmt");
    EXPECT_EQ(d.List()->GetItemText(1, 3), "v10");
    EXPECT_EQ(d.List()->GetItemText(1, 6), "Disabled");
    EXPECT_EQ(sim->value(kGarp + "2.1.1.1.2"), "x 6d676d74");   // "mgmt"
    // The form is emptied for the next entry.
    EXPECT_TRUE(d.NameEdit()->text().isEmpty());
    EXPECT_TRUE(d.AddressCtrl()->IsBlank());
}

// A refused column step leaves no half-made interface: the row is destroyed
// again and the one message says so.
TEST_F(IPInterfaceTest, RefusedColumnsAreUndone)
{
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    ASSERT_TRUE(sim->command("error " + kIf + "6.2.10 genErr"));
    CIPInterfaceDlg d;
    Open(d);
    Fill(d, "mgmt", "10", "192.168.5.1");
    MessageRecorder messages;
    messages.script({IDOK});
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("genErr")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].endsWith("taken back.")) << messages.texts()[0].toStdString();
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "P.41.1.1.1.10.2.10=5");
    EXPECT_EQ(lines[2], "P.41.1.1.1.10.2.10=6");
    EXPECT_EQ(sim->value(kIf + "10.2.10"), "");
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

// Interfaces 1, 3 and 4 listed: the new one is 2. Four listed, or a fifth
// row the switch should never hold: "The max entry is 4" and nothing sent.
TEST_F(IPInterfaceTest, FreeIndexAndFullTable)
{
    ASSERT_TRUE(sim->command("vlan add 10 14"));
    PutInterface(*sim, 3, 11, "three", "172.16.3.1", "255.255.255.0");
    PutInterface(*sim, 4, 12, "four", "172.16.4.1", "255.255.255.0");
    {
        CIPInterfaceDlg d;
        Open(d);
        EXPECT_EQ(CIPInterfaceDlg::FreeIndex(d.Interfaces()), 2);
        Fill(d, "two", "10", "192.168.5.1");
        d.AddButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        ASSERT_FALSE(SetLines(*sim).empty());
        EXPECT_EQ(SetLines(*sim)[0], "P.41.1.1.1.10.2.10=5");
        EXPECT_EQ(d.List()->GetItemCount(), 4);
    }
    for (int rows : {4, 5}) {
        SCOPED_TRACE(rows);
        if (rows == 5)
            PutInterface(*sim, 5, 14, "five", "172.16.5.1", "255.255.255.0");
        CIPInterfaceDlg d;
        Open(d);
        EXPECT_EQ(d.List()->GetItemCount(), rows);
        Fill(d, "more", "13", "192.168.6.1");
        MessageRecorder messages;
        messages.expect("The max entry is 4");
        d.AddButton()->click();
        messages.ExpectAllUsed();
        EXPECT_TRUE(SetLines(*sim).empty());
    }
}

// Each refused form shows its message and sends nothing.
TEST_F(IPInterfaceTest, RefusedFormsSendNothing)
{
    ASSERT_TRUE(sim->command("vlan add 10 10"));
    CIPInterfaceDlg d;
    Open(d);
    const struct {
        const char *name, *vid, *address, *mask, *message;
    } cases[] = {
        {"", "10", "192.168.5.1", "255.255.255.0", "The Interface Name can not be Empty "},
        {"a/b", "10", "192.168.5.1", "255.255.255.0", "Invalid Interface Name."},
        {"System", "10", "192.168.5.1", "255.255.255.0", "This Interface Name has exist."},
        {"mgmt", "1", "192.168.5.1", "255.255.255.0", "This Vlan ID has exist,please select again"},
        {"mgmt", "10", "10.90.90.90", "255.255.255.0", "This IP Address has used,please enter other IP Address"},
        {"mgmt", "10", "10.1.1.1", "255.255.255.0", "Conflicted subnet address."},   // inside 10.0.0.0/8
        {"mgmt", "10", "192.168.5.0", "255.255.255.0", "Invalid IP address."},
        {"mgmt", "10", "224.0.0.1", "255.255.255.0", "Invalid IP address."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Fill(d, c.name, c.vid, c.address, c.mask);
        MessageRecorder messages;
        messages.expect(QString::fromLatin1(c.message));
        d.AddButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// Only active VLANs are offered.
TEST_F(IPInterfaceTest, InactiveVlanNotOffered)
{
    ASSERT_TRUE(sim->command("vlan add 10 11"));
    ASSERT_TRUE(sim->command("set " + P + ".7.6.1.6.11 i 2"));
    CIPInterfaceDlg d;
    Open(d);
    QStringList offered;
    for (int i = 0; i < d.VlanCombo()->count(); ++i)
        offered << d.VlanCombo()->itemText(i);
    EXPECT_EQ(offered, (QStringList{"1", "10"}));
    EXPECT_TRUE(d.VlanCombo()->isEnabled());
}

// An empty interface table still ends the walk and the VLAN walk follows.
TEST_F(IPInterfaceTest, EmptyInterfaceTable)
{
    for (int column : {1, 2, 3, 4, 6, 7, 8, 9, 10})
        ASSERT_TRUE(sim->command("unset " + kIf + std::to_string(column) + ".1.1"));
    CIPInterfaceDlg d;
    Open(d);
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(d.VlanCombo()->count(), 1);
}

// A failed interface read keeps Add and Delete off and offers no VLAN.
TEST_F(IPInterfaceTest, FailedReadKeepsWritesOff)
{
    ASSERT_TRUE(sim->command("error " + kIf + "3.1.1 genErr"));
    CIPInterfaceDlg d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    TypeAddress(d.AddressCtrl(), "192.168.5.1");
    EXPECT_FALSE(d.AddButton()->isEnabled());
    EXPECT_FALSE(d.DeleteButton()->isEnabled());
    EXPECT_EQ(d.VlanCombo()->count(), 0);
}

// Delete: interface 1 is refused before anything is sent; another is
// destroyed by its own index.
TEST_F(IPInterfaceTest, Delete)
{
    ASSERT_TRUE(sim->command("vlan add 11 11"));
    PutInterface(*sim, 3, 11, "three", "172.16.3.1", "255.255.255.0");
    CIPInterfaceDlg d;
    Open(d);
    {
        MessageRecorder messages;
        messages.expect("Please select the entry to delete.");
        d.DeleteButton()->click();
        messages.ExpectAllUsed();
    }
    d.List()->SelectItem(0);
    {
        MessageRecorder messages;
        messages.expect("The default entry can not be deleted.");
        d.DeleteButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    d.List()->SelectItem(1);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.41.1.1.1.10.3.11=6"}));
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

// Add stays off while the address is incomplete.
TEST_F(IPInterfaceTest, AddOffWhileAddressIncomplete)
{
    CIPInterfaceDlg d;
    Open(d);
    EXPECT_FALSE(d.AddButton()->isEnabled());
    TypeAddress(d.AddressCtrl(), "192.168.5");
    EXPECT_FALSE(d.AddButton()->isEnabled());
    EXPECT_TRUE(d.AddressCtrl()->property("invalid").toBool());
    TypeAddress(d.AddressCtrl(), "192.168.5.1");
    EXPECT_TRUE(d.AddButton()->isEnabled());
}

// Closing while the walk waits for an answer does not wait out the
// time-out.
TEST_F(IPInterfaceTest, CloseDuringWalkDoesNotWait)
{
    g_strSnmpTimeout = QStringLiteral("8000");
    ASSERT_TRUE(sim->command("drop all"));
    CIPInterfaceDlg d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !sim->requests().empty(); }, 5000));
    QElapsedTimer timer;
    timer.start();
    d.reject();
    EXPECT_LT(timer.elapsed(), 4000);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.SessionCloseCount(), 1);
    ASSERT_TRUE(sim->command("drop off"));
}
