#include "C8021XAuRadiusServerDLG.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "Dot1xTestUtil.h"
#include "MessageRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class Dot1xRadiusTest : public Dot1xDialogTest
{
protected:
    static std::string Cell(int column, int index)
    {
        return P + ".23.4.2.1." + std::to_string(column) + "." + std::to_string(index);
    }
    // A server straight into the switch's table.
    static void PutServer(int index, int type, const std::string& hex, const std::string& interfaceName, int status = 1)
    {
        ASSERT_TRUE(sim->command("set " + Cell(1, index) + " i " + std::to_string(index)));
        ASSERT_TRUE(sim->command("set " + Cell(2, index) + " i " + std::to_string(type)));
        ASSERT_TRUE(sim->command("set " + Cell(3, index) + " x " + hex));
        ASSERT_TRUE(sim->command("set " + Cell(4, index) + " s \"" + interfaceName + "\""));
        for (int column = 5; column <= 8; ++column)
            ASSERT_TRUE(sim->command("set " + Cell(column, index) + " i " + std::to_string(column * 100)));
        ASSERT_TRUE(sim->command("set " + Cell(9, index) + " s k"));
        ASSERT_TRUE(sim->command("set " + Cell(10, index) + " i " + std::to_string(status)));
    }
    static void Fill(C8021XAuRadiusServerDLG& d, int index, const QString& address, const QString& key,
                     const QString& confirm)
    {
        d.Index()->setCurrentIndex(index - 1);
        d.Address()->setText(address);
        d.Edit(C8021XAuRadiusServerDLG::IDC_KEY)->setText(key);
        d.Edit(C8021XAuRadiusServerDLG::IDC_CONFIRM_KEY)->setText(confirm);
    }
    static void Apply(C8021XAuRadiusServerDLG& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
    }
};

} // namespace

// Active servers are listed: IPv4 dotted, IPv6 in its shortest form, a
// link-local one with "%" and its interface; an inactive row is not.
TEST_F(Dot1xRadiusTest, ListsActiveServers)
{
    PutServer(2, 2, "fe800000000000000000000000000001", "eth0");
    PutServer(3, 2, "20010db8000000000000000000000010", "", 5);
    C8021XAuRadiusServerDLG d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(0, 0), "1");
    EXPECT_EQ(d.List()->GetItemText(0, 1), "10.90.90.100");
    EXPECT_EQ(d.List()->GetItemText(0, 2), "1812");
    EXPECT_EQ(d.List()->GetItemText(0, 6), "*****");
    EXPECT_EQ(d.List()->GetItemText(1, 1), "fe80::1%eth0");
    EXPECT_EQ(d.List()->GetItemText(1, 5), "800");
}

// Writing into a taken slot replaces the server: destroy, createAndWait,
// address type, type with address, the four numbers one by one, the key,
// active. An IPv4 server sends no interface name.
TEST_F(Dot1xRadiusTest, ReplaceSendsEveryStepInOrder)
{
    C8021XAuRadiusServerDLG d;
    Open(d);
    Fill(d, 1, "10.0.0.5", "secret", "secret");
    d.Edit(C8021XAuRadiusServerDLG::IDC_TIMEOUT)->setText("010");
    MessageRecorder messages;
    Apply(d);
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{
                                  "P.23.4.2.1.10.1=6", "P.23.4.2.1.10.1=5", "P.23.4.2.1.2.1=1",
                                  "P.23.4.2.1.2.1=1 P.23.4.2.1.3.1=0a000005", "P.23.4.2.1.5.1=1812",
                                  "P.23.4.2.1.6.1=1813", "P.23.4.2.1.7.1=10", "P.23.4.2.1.8.1=2",
                                  "P.23.4.2.1.9.1=secret", "P.23.4.2.1.10.1=1"}));
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(d.List()->GetItemText(0, 1), "10.0.0.5");
    EXPECT_EQ(d.List()->GetItemText(0, 4), "10");
    EXPECT_TRUE(d.Address()->text().isEmpty());   // defaults back
}

// A new link-local server in a free slot: no destroy, the interface name
// with the address.
TEST_F(Dot1xRadiusTest, LinkLocalServerSendsItsInterface)
{
    C8021XAuRadiusServerDLG d;
    Open(d);
    Fill(d, 2, "fe80::5%eth1", "k", "k");
    MessageRecorder messages;
    Apply(d);
    const auto lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "P.23.4.2.1.10.2=5");
    EXPECT_EQ(lines[2], "P.23.4.2.1.2.2=2 P.23.4.2.1.3.2=fe800000000000000000000000000005 P.23.4.2.1.4.2=eth1");
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(1, 1), "fe80::5%eth1");
}

// The checks in their order with their texts; none writes anything.
TEST_F(Dot1xRadiusTest, ChecksInOrder)
{
    C8021XAuRadiusServerDLG d;
    Open(d);
    struct Case { const char* address; int field; const char* value; const char* key; const char* confirm; const char* message; };
    const int timeout = C8021XAuRadiusServerDLG::IDC_TIMEOUT;
    const int retransmit = C8021XAuRadiusServerDLG::IDC_RETRANSMIT;
    // An address the address field itself finds invalid (link-local without
    // its interface, a network address) is marked while typed and keeps
    // Apply off: nothing to click, nothing sent.
    for (const char* address : {"fe80::1", "10.0.0.0"}) {
        d.PutDefaults();
        Fill(d, 2, address, "k", "k");
        EXPECT_FALSE(d.ApplyButton()->isEnabled()) << address;
        d.ApplyButton()->click();
    }
    const Case cases[] = {
        {"fe80::1%eth!", 0, "", "k", "k", "Invalid Interface Name. "},
        {"10.0.0.5", C8021XAuRadiusServerDLG::IDC_AUTH_PORT, "0", "k", "k",
         "Please Confirm Authentication Port range from 1 to 65535."},
        {"10.0.0.5", C8021XAuRadiusServerDLG::IDC_ACCT_PORT, "65536", "k", "k",
         "Please Confirm Accounting Port range from 1 to 65535."},
        {"10.0.0.5", timeout, "0", "k", "k", "Please Confirm Timeout value range from 1 to 255."},
        {"10.0.0.5", timeout, "256", "k", "k", "Please Confirm Timeout value range from 1 to 255."},
        {"10.0.0.5", retransmit, "0x1", "k", "k", "Please Confirm Retransmit value from 1 to 255."},
        {"10.0.0.5", 0, "", "", "", "Invalid Authentication RADIUS Server Key"},
        {"10.0.0.5", 0, "", "k", "", "Please Confirm Your Key!"},
        {"10.0.0.5", 0, "", "", "k", "Please Confirm Your Key!"},
    };
    for (const Case& c : cases) {
        d.PutDefaults();
        Fill(d, 2, c.address, c.key, c.confirm);
        if (c.field)
            d.Edit(c.field)->setText(c.value);
        MessageRecorder messages;
        messages.expect(c.message);
        d.ApplyButton()->click();
        messages.ExpectAllUsed();
    }
    // Retransmit is looked at only after the timeout.
    d.PutDefaults();
    Fill(d, 2, "10.0.0.5", "k", "k");
    d.Edit(timeout)->setText("256");
    d.Edit(retransmit)->setText("0");
    MessageRecorder messages;
    messages.expect("Please Confirm Timeout value range from 1 to 255.");
    d.ApplyButton()->click();
    messages.ExpectAllUsed();
    EXPECT_TRUE(SetLines(*sim).empty());
}

// A step the switch refuses stops the write, is reported, and the table is
// read again (the slot is then empty: the old key cannot be put back).
TEST_F(Dot1xRadiusTest, RefusedStepIsReported)
{
    C8021XAuRadiusServerDLG d;
    Open(d);
    ASSERT_TRUE(sim->command("set-error " + Cell(7, 1) + " wrongValue"));
    Fill(d, 1, "10.0.0.5", "k", "k");
    MessageRecorder messages;
    messages.script({IDOK});
    Apply(d);
    const auto lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines.back(), "P.23.4.2.1.7.1=5");
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("timeout of server 1")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(d.Gate().AllSucceeded());
    EXPECT_EQ(d.List()->GetItemCount(), 0);
}

// Delete: no selection says so; else the selected server is destroyed.
TEST_F(Dot1xRadiusTest, DeleteTheSelectedServer)
{
    C8021XAuRadiusServerDLG d;
    Open(d);
    {
        MessageRecorder messages;
        messages.expect("Please Choose One To Delete Or Check If Have Any Data");
        d.DeleteButton()->click();
    }
    d.List()->selectRow(0);
    MessageRecorder messages;
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.23.4.2.1.10.1=6"});
    EXPECT_EQ(d.List()->GetItemCount(), 0);
}
