// DHCP server screening against the simulated switch: the trusted-port text
// (the complement of the switch's bitmap of untrusted ports), the trusted
// server list with its add and delete, and the per-port form
// CDHCPServerConfig over the same bitmap.

#include "CDHCPServerConfig.h"
#include "CDHCPServerLogic.h"
#include "CDHCPServerScreenDlg.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "ScreeningArpFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <string>
#include <vector>

using namespace screeningtest;

namespace {

const std::string kPortState = kPrivate + ".14.7.1.0";

std::string Server(int column, int entry)
{
    return kPrivate + ".14.7.3.1." + std::to_string(column) + "." + std::to_string(entry);
}

class DhcpScreeningTest : public SecurityDialogTest
{
protected:
    // The bitmap of untrusted (screened) ports.
    static void SetBitmap(const std::string& hex) { ASSERT_TRUE(sim->command("set " + kPortState + " x " + hex)); }
    // An active trusted server row, as if added earlier.
    static void AddServerRow(int entry, const std::string& hexAddress, int type = 1)
    {
        ASSERT_TRUE(sim->command("set " + Server(2, entry) + " x " + hexAddress));
        ASSERT_TRUE(sim->command("set " + Server(3, entry) + " i " + std::to_string(type)));
        ASSERT_TRUE(sim->command("set " + Server(4, entry) + " i 1"));
    }
    static void AddServer(CDHCPServerScreenDlg& d, const QString& address)
    {
        d.AddressEdit()->setText(address);
        d.AddServerButton()->click();
        Settle(d);
    }
};

} // namespace

// The trusted ports are the complement of the switch's bitmap, over the
// port count only (the padding bits of the last octet are no ports).
TEST(CDHCPServerLogicTest, TrustedPortsAreTheComplement)
{
    struct Case {
        int ports;
        QByteArray bitmap;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {52, QByteArray::fromHex("2000000000000000"), true, "1-2,4-52"},   // catches a bitmap shown uninverted
        {28, QByteArray::fromHex("20000000"), true, "1-2,4-28"},
        {28, QByteArray::fromHex("2000000000000000"), true, "1-2,4-28"},   // longer than needed: extra octets ignored
        {52, QByteArray::fromHex("ffffffffffffffff"), true, ""},
        {52, QByteArray::fromHex("20000000"), false, "kept"},   // too short: would read ports 33-52 as trusted
        {52, QByteArray(), false, "kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitmap.toHex().toStdString());
        g_nDevicePortNum = c.ports;
        QString text = QStringLiteral("kept");
        EXPECT_EQ(CDHCPServerLogic::GetPortState(c.bitmap, text), c.ok);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
    }
    g_nDevicePortNum = 52;
}

// A full-form IPv6 address compares equal to its compressed form.
TEST(CDHCPServerLogicTest, ComparableAddress)
{
    EXPECT_EQ(CDHCPServerLogic::ComparableAddress(QStringLiteral("2001:0db8:0000:0000:0000:0000:0000:0001")),
              CDHCPServerLogic::ComparableAddress(QStringLiteral("2001:db8::1")));
    EXPECT_EQ(CDHCPServerLogic::ComparableAddress(QStringLiteral("10.0.0.1")), QStringLiteral("10.0.0.1"));
}

// On opening: the trusted ports, the active servers (entry number derived
// by the switch from the index, IPv6 shown compressed), nothing written.
TEST_F(DhcpScreeningTest, ShowsTrustedPortsAndServers)
{
    SetBitmap("2000000000000000");
    AddServerRow(1, "0a000001");
    AddServerRow(2, "20010db8000000000000000000000001", 2);
    ASSERT_TRUE(sim->command("set " + Server(2, 3) + " x 0a000003"));   // not active: not listed
    ASSERT_TRUE(sim->command("set " + Server(3, 3) + " i 1"));
    ASSERT_TRUE(sim->command("set " + Server(4, 3) + " i 2"));
    CDHCPServerScreenDlg d;
    Open(d);
    EXPECT_EQ(d.windowTitle(), "DHCP Server Screening Settings  ");
    EXPECT_EQ(d.PortEdit()->text(), "1-2,4-52");
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "10.0.0.1"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "2001:db8::1"}));
    EXPECT_TRUE(d.AddServerButton()->isEnabled());
    EXPECT_TRUE(sim->sets().empty());
}

// An address whose length does not fit its type is listed empty (never
// as some other address), so the entry can still be deleted.
TEST_F(DhcpScreeningTest, MalformedAddressListedEmpty)
{
    AddServerRow(1, "0a0000");
    AddServerRow(2, "0a000002", 2);
    CDHCPServerScreenDlg d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", ""}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", ""}));
    EXPECT_TRUE(d.DeleteButton()->isEnabled());
}

// Typing the trusted ports writes the complement, padded to the switch's
// width; the text as read sends nothing.
TEST_F(DhcpScreeningTest, TrustedPortsWriteTheComplement)
{
    CDHCPServerScreenDlg d;
    Open(d);
    EXPECT_EQ(d.PortEdit()->text(), "1-52");
    sim->clearLog();
    d.AddPortsButton()->click();   // unchanged text
    Settle(d);
    EXPECT_TRUE(sim->sets().empty());

    d.PortEdit()->setText(QStringLiteral("1-2,4-52"));
    d.AddPortsButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{kPortState, "2000000000000000"}}}));
    EXPECT_EQ(d.PortEdit()->text(), "1-2,4-52");   // re-read
}

// Refusals of the port text: each shows its message and writes nothing.
TEST_F(DhcpScreeningTest, TrustedPortRefusals)
{
    CDHCPServerScreenDlg d;
    Open(d);
    struct Case {
        const char* ports;
        const char* message;
    };
    const Case cases[] = {
        {"1-4,x", "Invalid Port list"},
        {"1;2", "Invalid Port list"},
        {"1-53", "Invalid Portlist"},   // the parser's own message
        {"4-1", "Invalid Portlist"},
        // Link 1 holds ports 1 and 2: taking one of them splits it.
        {"1,3-52", "The link aggregation member port can not be configured."},
    };
    sim->clearLog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ports);
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        d.PortEdit()->setText(QString::fromLatin1(c.ports));
        d.AddPortsButton()->click();
        Settle(d);
    }
    EXPECT_TRUE(sim->sets().empty());
}

// An add takes entry rows + 1: createAndWait, address type and address in
// one request, active; the list then shows it.
TEST_F(DhcpScreeningTest, AddWritesTheRow)
{
    AddServerRow(1, "0a000001");
    CDHCPServerScreenDlg d;
    Open(d);
    sim->clearLog();
    AddServer(d, QStringLiteral("192.168.5.1"));
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{
                                 {{Server(4, 2), "5"}},
                                 {{Server(3, 2), "1"}, {Server(2, 2), "c0a80501"}},
                                 {{Server(4, 2), "1"}}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "192.168.5.1"}));
}

// The checks of an add, in order; none writes anything.
TEST_F(DhcpScreeningTest, AddRefusals)
{
    AddServerRow(1, "0a000001");
    AddServerRow(2, "20010db8000000000000000000000001", 2);
    CDHCPServerScreenDlg d;
    Open(d);
    struct Case {
        const char* address;
        const char* message;
    };
    const Case cases[] = {
        {"", "Invalid server IP address."},
        {"10.0.0.", "Invalid server IP address."},
        {"fe80::1", "Invalid server IP address."},   // link-local without interface
        {"10.0.0.1", "Duplicate server IP address."},
        // The full form of a listed compressed address.
        {"2001:0db8:0000:0000:0000:0000:0000:0001", "Duplicate server IP address."},
    };
    sim->clearLog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        AddServer(d, QString::fromLatin1(c.address));
    }
    EXPECT_TRUE(sim->sets().empty());
}

// Five servers fill the table: the sixth add is refused before any write.
TEST_F(DhcpScreeningTest, SixthAddRefused)
{
    for (int n = 1; n <= 5; ++n)
        AddServerRow(n, "0a00000" + std::to_string(n));
    CDHCPServerScreenDlg d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 5);
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("The maximum entries is 5."));
    AddServer(d, QStringLiteral("10.0.0.9"));
    EXPECT_TRUE(sim->sets().empty());
}

// Delete needs a selection and destroys the row's entry. After entry 2 of
// three goes, the next add takes entry 3, which is still in use: the switch
// refuses the create, the message says so, nothing more is sent and entry
// 3 keeps its address.
TEST_F(DhcpScreeningTest, DeleteThenAddMeetsAnEntryInUse)
{
    for (int n = 1; n <= 3; ++n)
        AddServerRow(n, "0a00000" + std::to_string(n));
    CDHCPServerScreenDlg d;
    Open(d);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Please select the entry to delete."));
        d.DeleteButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());
    d.List()->SelectItem(1);
    d.DeleteButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{Server(4, 2), "6"}}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);

    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.script({IDOK});
        AddServer(d, QStringLiteral("10.0.0.9"));
        ASSERT_EQ(recorder.texts().size(), 1);
        EXPECT_TRUE(recorder.texts()[0].contains(QLatin1String("badValue on 1.3.6.1.4.1.32473.10.126.4.1.14.7.3.1.4.3"))) << recorder.texts()[0].toStdString();
    }
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{Server(4, 3), "5"}}}));
    EXPECT_EQ(sim->value(Server(2, 3)), "x 0a000003");
    EXPECT_EQ(sim->value(Server(4, 3)), "i 1");
}

// A refused address takes back the row the add made, and says so.
TEST_F(DhcpScreeningTest, RefusedAddressRemovesTheNewRow)
{
    ASSERT_TRUE(sim->command("set-error " + Server(2, 1) + " wrongValue"));
    CDHCPServerScreenDlg d;
    Open(d);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.script({IDOK});
        AddServer(d, QStringLiteral("10.0.0.9"));
        ASSERT_EQ(recorder.texts().size(), 1);
        EXPECT_TRUE(recorder.texts()[0].contains(QLatin1String("taken back"))) << recorder.texts()[0].toStdString();
    }
    const auto sets = SetRequests();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[2], (std::vector<Varbind>{{Server(4, 1), "6"}}));
    EXPECT_EQ(sim->value(Server(4, 1)), "");
    EXPECT_EQ(d.List()->GetItemCount(), 0);
}

// A failed read of the port bitmap keeps every write button off.
TEST_F(DhcpScreeningTest, FailedReadKeepsWritesOff)
{
    ASSERT_TRUE(sim->command("error " + kPortState + " genErr"));
    CDHCPServerScreenDlg d;
    Open(d);
    EXPECT_FALSE(d.AddPortsButton()->isEnabled());
    EXPECT_FALSE(d.AddServerButton()->isEnabled());
    EXPECT_FALSE(d.DeleteButton()->isEnabled());
}

// ---- the per-port form ----

namespace {

class DhcpPortFormTest : public DhcpScreeningTest
{
protected:
    static void Choose(CDHCPServerConfig& d, int from, int to, const char* state)
    {
        d.FromCombo()->setCurrentIndex(from - 1);
        d.ToCombo()->setCurrentIndex(to - 1);
        d.StateCombo()->setCurrentText(QString::fromLatin1(state));
    }
};

} // namespace

// A set bit shows "Enabled"; a port the switch clears between two reads
// shows "Disabled" again (no state survives a read).
TEST_F(DhcpPortFormTest, EveryReadStartsFromDisabled)
{
    SetBitmap("c000000000000000");   // ports 1, 2
    CDHCPServerConfig d;
    Open(d);
    EXPECT_EQ(d.windowTitle(), "DHCP Server Screening Port Settings");
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Enabled"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "Enabled"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"3", "Disabled"}));
    SetBitmap("4000000000000000");   // port 2 only
    d.RefreshButton()->click();
    Settle(d);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Disabled"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "Enabled"}));
}

// A range refused for splitting link 1 (ports 1, 2) changes nothing: the
// next accepted Apply writes only its own change.
TEST_F(DhcpPortFormTest, RefusedThenAcceptedApply)
{
    CDHCPServerConfig d;
    Open(d);
    sim->clearLog();
    Choose(d, 1, 1, "Enabled");
    {
        MessageRecorder recorder;
        recorder.expect(CDHCPServerLogic::SplitLinkMessage());
        d.ApplyButton()->click();
        Settle(d);
    }
    EXPECT_TRUE(sim->sets().empty());
    Choose(d, 3, 3, "Enabled");
    d.ApplyButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{kPortState, "2000000000000000"}}}));
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Disabled"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"3", "Enabled"}));

    // The whole link at once is accepted.
    sim->clearLog();
    Choose(d, 1, 2, "Enabled");
    d.ApplyButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{kPortState, "e000000000000000"}}}));
}

// On 28 ports the map is 7 digits and one padding zero: 4 octets.
TEST_F(DhcpPortFormTest, FourOctetsOn28Ports)
{
    g_nDevicePortNum = 28;
    CDHCPServerConfig d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 28);
    sim->clearLog();
    Choose(d, 28, 28, "Enabled");
    d.ApplyButton()->click();
    Settle(d);
    EXPECT_EQ(SetRequests(), (std::vector<std::vector<Varbind>>{{{kPortState, "00000010"}}}));
}

// A failed read keeps Apply off; a refused write shows its message.
TEST_F(DhcpPortFormTest, FailuresKeepApplyOffOrReport)
{
    {
        ASSERT_TRUE(sim->command("error " + kPortState + " genErr"));
        CDHCPServerConfig d;
        Open(d);
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        ASSERT_TRUE(sim->command("clear"));
    }
    ASSERT_TRUE(sim->command("set-error " + kPortState + " wrongValue"));
    CDHCPServerConfig d;
    Open(d);
    Choose(d, 5, 6, "Enabled");
    MessageRecorder recorder;
    recorder.script({IDOK});
    d.ApplyButton()->click();
    Settle(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QLatin1String("badValue"))) << recorder.texts()[0].toStdString();
    EXPECT_EQ(ListRow(d.List(), 4), QStringList({"5", "Disabled"}));
}
