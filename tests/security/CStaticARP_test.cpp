#include "CListCtrlEx.h"
#include "CStaticARP.h"
#include "L3TestUtil.h"

#include <QLineEdit>

using namespace l3test;

namespace {

class StaticArpTest : public L3DialogTest
{
protected:
    // An active static row, as the switch holds one.
    static void PutArp(const std::string& index)
    {
        ASSERT_TRUE(sim->command("set " + kArp + "1." + index + " s System"));
        ASSERT_TRUE(sim->command("set " + kArp + "2." + index + " a 0.0.0.0"));   // address and MAC: from the index
        ASSERT_TRUE(sim->command("set " + kArp + "3." + index + " x 000000000000"));
        ASSERT_TRUE(sim->command("set " + kArp + "4." + index + " i 2"));
        ASSERT_TRUE(sim->command("set " + kArp + "5." + index + " i 1"));
    }
};

} // namespace

// The switch's own address and the broadcast row, and the aging time.
TEST_F(StaticArpTest, ListsTheTableAndAging)
{
    CStaticARP d;
    Open(d);
    EXPECT_EQ(d.AgingEdit()->text(), "20");
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    const char* expected[2][4] = {{"System", "10.90.90.90", "00-A0-C9-00-44-00", "LOCAL"},
                                  {"System", "10.255.255.255", "FF-FF-FF-FF-FF-FF", "BROADCAST"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(d.List()->GetItemText(r, c).toStdString(), expected[r][c]) << r << "," << c;
}

// A MAC value that is not six octets is shown empty, never read past.
TEST_F(StaticArpTest, ShortMacIsHarmless)
{
    ASSERT_TRUE(sim->command("short " + kArp + "3.10.90.90.90.0.160.201.0.68.0 4"));
    CStaticARP d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(0, 2), "");
    EXPECT_EQ(d.List()->GetItemText(1, 2), "FF-FF-FF-FF-FF-FF");
}

// Aging bounds: 0 to 65535 sent as checked; an empty text is 0.
TEST_F(StaticArpTest, AgingBounds)
{
    CStaticARP d;
    Open(d);
    for (const char* text : {"65536", "99999"}) {
        SCOPED_TRACE(text);
        d.AgingEdit()->setText(text);
        MessageRecorder messages;
        messages.expect("The range of ARP Aging Time is 0-65535 ");
        d.AgingApplyButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    const struct {
        const char *text, *sent;
    } cases[] = {{"65535", "65535"}, {"", "0"}, {"007", "7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(sim->command("clearlog"));
        d.AgingEdit()->setText(c.text);
        d.AgingApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{std::string("P.34.1.0=") + c.sent}));
        EXPECT_EQ(d.AgingEdit()->text().toStdString(), c.sent);   // read back
    }
}

// A multicast MAC is a valid static entry; the switch fills its interface
// and type.
TEST_F(StaticArpTest, AddMulticastMac)
{
    CStaticARP d;
    Open(d);
    TypeAddress(d.AddressCtrl(), "10.90.90.5");
    d.MacEdit()->setText("01-00-5E-00-00-01");
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.34.2.1.5.10.90.90.5.1.0.94.0.0.1=4"}));
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    EXPECT_EQ(d.List()->GetItemText(0, 0), "System");
    EXPECT_EQ(d.List()->GetItemText(0, 1), "10.90.90.5");
    EXPECT_EQ(d.List()->GetItemText(0, 2), "01-00-5E-00-00-01");
    EXPECT_EQ(d.List()->GetItemText(0, 3), "STATIC");
}

// Broadcast, zero and malformed MACs are refused with the check's message
// and the dialog's; a listed address too. Nothing is sent.
TEST_F(StaticArpTest, RefusedEntries)
{
    CStaticARP d;
    Open(d);
    const struct {
        const char *address, *mac;
        QStringList messages;
    } cases[] = {
        {"10.90.90.5", "FF-FF-FF-FF-FF-FF", {"Broadcast MAC is not allowed.", "Invalid MAC address."}},
        {"10.90.90.5", "00-00-00-00-00-00",
         {"Please enter correct MAC format(ex:00-00-00-00-00-01)", "Invalid MAC address."}},
        {"10.90.90.5", "00-0a-ff-00-00",
         {"Please enter correct MAC format(ex:00-00-00-00-00-01)", "Invalid MAC address."}},
        {"10.90.90.90", "00-0a-ff-00-00-01", {"This IP Address has used,please enter other IP Address"}},
        {"10.90.90.0", "00-0a-ff-00-00-01", {"Invalid IP address."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mac);
        TypeAddress(d.AddressCtrl(), c.address);
        d.MacEdit()->setText(c.mac);
        MessageRecorder messages;
        for (const QString& m : c.messages)
            messages.expect(m);
        d.AddButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// Only static rows can be deleted; a local one is refused before anything
// is sent.
TEST_F(StaticArpTest, Delete)
{
    PutArp("10.90.90.7.0.10.255.0.0.1");
    CStaticARP d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    for (int row : {1, 2}) {   // 10.90.90.90 (local), 10.255.255.255 (broadcast)
        d.List()->SelectItem(row);
        MessageRecorder messages;
        messages.expect("Can't delete the entry.");
        d.DeleteButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    d.List()->SelectItem(0);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.34.2.1.5.10.90.90.7.0.10.255.0.0.1=6"}));
    EXPECT_EQ(d.List()->GetItemCount(), 2);
}

// 128 rows of any type stop the add at once.
TEST_F(StaticArpTest, FullTableStopsTheAdd)
{
    for (int n = 1; n <= 126; ++n)
        ASSERT_TRUE(sim->command("set " + kArp + "5.10.1.0." + std::to_string(n) + ".0.1.2.3.4." + std::to_string(n)
                                 + " i 1"));
    CStaticARP d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 128);
    TypeAddress(d.AddressCtrl(), "10.90.90.90");   // listed already: the count is checked first
    d.MacEdit()->setText("FF-FF-FF-FF-FF-FF");
    MessageRecorder messages;
    messages.expect("The max entry is 128.");
    d.AddButton()->click();
    messages.ExpectAllUsed();
    EXPECT_TRUE(SetLines(*sim).empty());
}
