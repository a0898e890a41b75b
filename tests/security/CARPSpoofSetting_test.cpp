// ARP spoofing prevention against the simulated switch: the list of
// entries with its delete, and CAddARPEntry with its checks and the three
// writes of a new entry.

#include "CARPSpoofSetting.h"
#include "CAddARPEntry.h"
#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "ScreeningArpFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

using namespace screeningtest;

namespace {

const char* const kConfirm = "Make sure the host IP and MAC exists or you will lose the connection.";

std::string Arp(int column, const std::string& index)
{
    return kPrivate + ".14.3.1.1." + std::to_string(column) + "." + index;
}

// The list dialog with the add dialog replaced by a test's own handler.
class TestArpSpoofSetting : public CARPSpoofSetting
{
public:
    std::function<void(const QStringList&, const QStringList&)> onAdd;
    int adds = 0;

protected:
    int RunAddDialog(const QStringList& addresses, const QStringList& macs) override
    {
        ++adds;
        if (onAdd)
            onAdd(addresses, macs);
        return IDCANCEL;
    }
};

class ArpSpoofTest : public SecurityDialogTest
{
protected:
    static void AddRow(const std::string& index, const std::string& mac, const std::string& ports)
    {
        ASSERT_TRUE(sim->command("set " + Arp(2, index) + " x " + mac));
        ASSERT_TRUE(sim->command("set " + Arp(3, index) + " x " + ports));
        ASSERT_TRUE(sim->command("set " + Arp(4, index) + " i 1"));
    }
    static void Fill(CAddARPEntry& d, const char* address, const char* mac, const std::vector<int>& ports)
    {
        d.AddressEdit()->setText(QString::fromLatin1(address));
        d.MacEdit()->setText(QString::fromLatin1(mac));
        for (int p : ports)
            d.Ports()->GetCheckBox(p)->click();
    }
};

} // namespace

// The address and MAC checks in their order, each with its own text.
TEST(CAddARPEntryChecks, CheckIpMac)
{
    struct Case {
        const char* address;
        const char* mac;
        const char* message;   // empty: valid
    };
    const char* const ok = "00-1b-21-00-00-01";
    const Case cases[] = {
        {"9.1.1.1", ok, ""},
        {"30.1.1.1", ok, ""},
        {"100.1.1.1", ok, ""},
        {"223.255.254.254", ok, ""},   // upper bound of the last range
        {"128.1.0.1", ok, ""},
        {"192.0.1.1", "00-1B-21-00-00-01", ""},
        {"10.0.0", ok, "Please enter correct IP format(ex:192.168.0.10)"},
        {"10.0.0.256", ok, "Please enter correct IP format(ex:192.168.0.10)"},
        {"10.0..1", ok, "Please enter correct IP format(ex:192.168.0.10)"},
        {"a.0.0.1", ok, "Please enter correct IP format(ex:192.168.0.10)"},
        {"0.0.0.0", ok, "Invalid IP."},
        {"0.1.1.1", ok, "Invalid  IP."},   // two blanks: the first-octet check
        {"255.1.1.1", ok, "Invalid  IP."},
        {"10.0.0.0", ok, "Invalid IP."},   // the last-octet check
        {"10.0.0.255", ok, "Invalid IP."},
        {"127.0.0.1", ok, "Multicast IP is not allowed"},
        {"128.0.0.1", ok, "Multicast IP is not allowed"},
        {"191.255.0.1", ok, "Multicast IP is not allowed"},
        {"192.0.0.1", ok, "Multicast IP is not allowed"},
        {"224.0.0.1", ok, "Multicast IP is not allowed"},
        {"10.0.0.1", "00-1b-21-00-00", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"10.0.0.1", "00:1b:21:00:00:01", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"10.0.0.1", "00-00-00-00-00-00", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"10.0.0.1", "0g-1b-21-00-00-01", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"10.0.0.1", "ff-ff-ff-ff-ff-ff", "Broadcast MAC is not allowed."},
        {"10.0.0.1", "01-00-5E-00-00-01", "Multicast MAC address is not allowed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.mac);
        EXPECT_EQ(CAddARPEntry::CheckIpMacText(QString::fromLatin1(c.address), QString::fromLatin1(c.mac)),
                  QString::fromLatin1(c.message));
    }
}

// The list: the switch's entry with its MAC and ports, the total.
TEST_F(ArpSpoofTest, ListsTheTable)
{
    TestArpSpoofSetting d;
    Open(d);
    EXPECT_EQ(d.windowTitle(), "ARP Spoofing Prevention Setting");
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "10.0.0.254", "00-1B-21-6D-C0-3C", "45-46"}));
    EXPECT_EQ(d.TotalEdit()->text(), "1");
    EXPECT_TRUE(d.AddButton()->isEnabled());
}

// A row whose MAC or bitmap has the wrong length is listed with those
// cells empty (never as another address or other ports), so it can still
// be deleted.
TEST_F(ArpSpoofTest, MalformedCellsShowEmpty)
{
    ASSERT_TRUE(sim->command("short " + Arp(2, "10.0.0.254") + " 4"));
    ASSERT_TRUE(sim->command("short " + Arp(3, "10.0.0.254") + " 2"));
    TestArpSpoofSetting d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "10.0.0.254", "", ""}));
}

// Delete needs a selection and destroys the entry named by its address.
TEST_F(ArpSpoofTest, Delete)
{
    TestArpSpoofSetting d;
    Open(d);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Please select the entry you would be delete!"));
        d.DeleteButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());
    d.List()->SelectItem(0);
    d.DeleteButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{Arp(4, "10.0.0.254"), "6"}}}));
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(d.TotalEdit()->text(), "0");
}

// Add hands the listed entries to the add dialog and reads the table
// again afterwards; with 64 entries it opens nothing.
TEST_F(ArpSpoofTest, AddOpensWithTheListedEntriesUpTo64)
{
    {
        TestArpSpoofSetting d;
        d.onAdd = [](const QStringList& addresses, const QStringList& macs) {
            EXPECT_EQ(addresses, QStringList({"10.0.0.254"}));
            EXPECT_EQ(macs, QStringList({"00-1B-21-6D-C0-3C"}));
            AddRow("10.0.0.1", "001b21000001", "8000000000000000");   // as if the add wrote it
        };
        Open(d);
        d.AddButton()->click();
        Settle(d);
        EXPECT_EQ(d.adds, 1);
        EXPECT_EQ(d.List()->GetItemCount(), 2);
    }
    for (int n = 2; n <= 63; ++n)
        AddRow("10.0.1." + std::to_string(n), "001b21000001", "8000000000000000");
    TestArpSpoofSetting d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 64);
    EXPECT_EQ(d.TotalEdit()->text(), "64");
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("The Maximum of Entry is 64, can not add any more"));
    d.AddButton()->click();
    EXPECT_EQ(d.adds, 0);
}

// A new entry: confirmation, then createAndWait, MAC and ports (8 octets
// on 52 ports) in one request, active; the dialog closes with OK.
TEST_F(ArpSpoofTest, AddWritesTheEntry)
{
    CAddARPEntry d({QStringLiteral("10.0.0.254")}, {QStringLiteral("00-1B-21-6D-C0-3C")});
    Open(d);
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    Fill(d, "192.168.1.254", "00-1b-21-aa-bb-cc", {3, 52});
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QString::fromLatin1(kConfirm), IDOK);
    d.ApplyButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{
                                 {{Arp(4, "192.168.1.254"), "5"}},
                                 {{Arp(2, "192.168.1.254"), "001b21aabbcc"}, {Arp(3, "192.168.1.254"), "2000000000001000"}},
                                 {{Arp(4, "192.168.1.254"), "1"}}}));
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(sim->value(Arp(1, "192.168.1.254")), "a 192.168.1.254");   // derived from the index
}

// On 28 ports the bitmap is 7 digits and one padding zero: 4 octets.
TEST_F(ArpSpoofTest, FourOctetsOn28Ports)
{
    g_nDevicePortNum = 28;
    CAddARPEntry d({}, {});
    Open(d);
    d.AllPortsBox()->click();
    Fill(d, "10.1.1.1", "00-1b-21-aa-bb-cc", {});
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QString::fromLatin1(kConfirm), IDOK);
    d.ApplyButton()->click();
    Settle(d);
    const auto sets = SetRequests();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[1][1], (Varbind{Arp(3, "10.1.1.1"), "fffffff0"}));
}

// Refusals before any write: no port, the address checks, duplicates,
// a split aggregated link (link 1 = ports 1, 2); Cancel in the
// confirmation writes nothing and keeps the dialog open.
TEST_F(ArpSpoofTest, AddRefusals)
{
    CAddARPEntry d({QStringLiteral("10.0.0.254")}, {QStringLiteral("00-1B-21-6D-C0-3C")});
    Open(d);
    sim->clearLog();
    struct Case {
        const char* address;
        const char* mac;
        std::vector<int> ports;   // toggled
        const char* message;
    };
    const Case cases[] = {
        {"10.0.0.1", "00-1b-21-aa-bb-cc", {}, "please select one port at least."},
        {"224.0.0.1", "00-1b-21-aa-bb-cc", {5}, "Multicast IP is not allowed"},
        {"10.0.0.254", "00-1b-21-6d-c0-3c", {}, "Duplicate MAC and IP."},
        {"10.0.0.254", "00-1b-21-aa-bb-cc", {}, "Duplicate IP."},
        {"10.0.0.1", "00-1b-21-aa-bb-cc", {5, 1}, "ARP Spoofing Prevention enabled port must match to the aggregated link port."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        Fill(d, c.address, c.mac, c.ports);
        d.ApplyButton()->click();
    }
    // Ports 1 and 2 together pass the link check; Cancel stops.
    {
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(kConfirm), IDCANCEL);
        Fill(d, "10.0.0.1", "00-1b-21-aa-bb-cc", {2});
        d.ApplyButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_TRUE(d.isVisible());
}

// A refused MAC and ports set takes back the row just created and says
// so; the dialog stays open.
TEST_F(ArpSpoofTest, RefusedMacLeavesNoRow)
{
    const std::string index = "10.9.9.9";
    ASSERT_TRUE(sim->command("set-error " + Arp(2, index) + " wrongValue"));
    CAddARPEntry d({}, {});
    Open(d);
    Fill(d, index.c_str(), "00-1b-21-aa-bb-cc", {7});
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QString::fromLatin1(kConfirm), IDOK);
    recorder.script({IDOK});
    d.ApplyButton()->click();
    Settle(d);
    ASSERT_EQ(recorder.texts().size(), 2);
    EXPECT_TRUE(recorder.texts()[1].contains(QLatin1String("badValue"))) << recorder.texts()[1].toStdString();
    EXPECT_TRUE(recorder.texts()[1].contains(QLatin1String("taken back"))) << recorder.texts()[1].toStdString();
    const auto sets = SetRequests();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[2], (std::vector<Varbind>{{Arp(4, index), "6"}}));
    EXPECT_EQ(sim->value(Arp(4, index)), "");
    EXPECT_TRUE(d.isVisible());
}

// Apply waits for the aggregated-link map: with the link walk failing it
// stays off.
TEST_F(ArpSpoofTest, ApplyWaitsForTheLinkMap)
{
    ASSERT_TRUE(sim->command("error " + kPrivate + ".8.1.3.1.2.1 genErr"));
    CAddARPEntry d({}, {});
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// The whole way from the list: Add opens the add dialog modally, its Apply
// writes the entry and closes it, and the list reads the table again.
TEST_F(ArpSpoofTest, AddThroughTheAddDialog)
{
    CARPSpoofSetting d;
    Open(d);
    MessageRecorder recorder;
    recorder.expect(QString::fromLatin1(kConfirm), IDOK);
    bool driven = false;
    int tries = 0;
    std::function<void()> drive = [&] {
        auto* add = qobject_cast<CAddARPEntry*>(QApplication::activeModalWidget());
        if (!add || add->Gate().Pending()) {
            // Never leave a modal dialog waiting for ever.
            if (++tries > 500 && add)
                add->reject();
            else
                QTimer::singleShot(20, drive);
            return;
        }
        driven = true;
        add->AddressEdit()->setText(QStringLiteral("10.5.5.5"));
        add->MacEdit()->setText(QStringLiteral("00-1B-21-AA-BB-CC"));
        add->Ports()->GetCheckBox(9)->click();
        add->ApplyButton()->click();
    };
    QTimer::singleShot(0, drive);
    d.AddButton()->click();   // returns once the add dialog has closed
    Settle(d);
    EXPECT_TRUE(driven);
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "10.5.5.5", "00-1B-21-AA-BB-CC", "9"}));
    EXPECT_EQ(d.TotalEdit()->text(), "2");
}
