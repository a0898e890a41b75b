// The standard-MIB viewers and the forwarding table against the simulated
// switch: what each list shows, counts, paging, the system write, and how a
// walk that stops early ends.

#include "CIPAddrTable.h"
#include "CIntfList.h"
#include "CListCtrlEx.h"
#include "CSnmpDevIden.h"
#include "CStatusLine.h"
#include "CSwitchDatabase.h"
#include "CTcpPortInfo.h"
#include "CUdpPortInfo.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kIf = "1.3.6.1.2.1.2.2.1.";
const std::string kSysName = "1.3.6.1.2.1.1.5.0";
const std::string kSysLocation = "1.3.6.1.2.1.1.6.0";
const std::string kFdbStatus = "1.3.6.1.2.1.17.7.1.2.2.1.3.";

class ViewerTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        g_strSnmpTimeout = QStringLiteral("2000");   // no time-out on a loaded machine
    }

    // Shows the dialog (its first read starts) and waits until every read
    // has ended.
    static bool Open(CConfigDialog& d)
    {
        d.show();
        return WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }, 60000);
    }
};

// 52 interfaces plus extra ones: the count label follows the rows, rows are
// in index order (10 after 9, 100 after 52) and each cell gets its column's
// text, unsigned speeds included.
TEST_F(ViewerTest, InterfaceTableShowsEveryRowWithItsTexts)
{
    ASSERT_TRUE(sim->command("set " + kIf + "8.5 i 7"));
    ASSERT_TRUE(sim->command("set " + kIf + "5.2 u 4294967295"));
    for (const char* col : {"1.100 i 100", "8.100 i 3", "5.100 u 10000000"})
        ASSERT_TRUE(sim->command("set " + kIf + col));
    MessageRecorder messages;
    CIntfList d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "Interface Table");
    ASSERT_EQ(d.List()->GetItemCount(), 53);
    EXPECT_EQ(d.CountLabel()->text(), "53");
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1095)), d.CountLabel());
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Connected", "1000M"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "Connected", "4294M"}));
    EXPECT_EQ(ListRow(d.List(), 4), QStringList({"5", "Unknown", "1000M"}));
    EXPECT_EQ(ListRow(d.List(), 8), QStringList({"9", "Connected", "100M"}));
    EXPECT_EQ(ListRow(d.List(), 9), QStringList({"10", "Connected", "100M"}));
    EXPECT_EQ(ListRow(d.List(), 11), QStringList({"12", "UnConnected", "0M"}));
    EXPECT_EQ(ListRow(d.List(), 52), QStringList({"100", "Test", "10M"}));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

// The other three tables: the columns in the order the list shows them,
// IpAddress values as dotted text, TCP states as names.
TEST_F(ViewerTest, AddressTcpAndUdpTables)
{
    MessageRecorder messages;
    {
        CIPAddrTable d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.windowTitle(), "IP Table : 127.0.0.1");
        ASSERT_EQ(d.List()->GetItemCount(), 2);
        EXPECT_EQ(ListRow(d.List(), 0), QStringList({"10.90.90.90", "255.0.0.0"}));
        EXPECT_EQ(ListRow(d.List(), 1), QStringList({"192.168.1.1", "255.255.255.0"}));
        EXPECT_EQ(d.CountLabel()->text(), "2");
    }
    {
        CTcpPortInfo d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.List()->GetColumnCount(), 5);
        ASSERT_EQ(d.List()->GetItemCount(), 4);
        EXPECT_EQ(ListRow(d.List(), 0), QStringList({"23", "0.0.0.0", "0.0.0.0", "0", "listen"}));
        EXPECT_EQ(ListRow(d.List(), 2), QStringList({"23", "10.90.90.90", "10.90.90.1", "51514", "established"}));
        EXPECT_EQ(ListRow(d.List(), 3), QStringList({"80", "10.90.90.90", "10.90.90.7", "40022", "timeWait"}));
    }
    {
        CUdpPortInfo d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(ListColumn(d.List(), 0), QStringList({"69", "161", "162", "514"}));
        EXPECT_EQ(ListColumn(d.List(), 1), QStringList({"0.0.0.0", "0.0.0.0", "0.0.0.0", "10.90.90.90"}));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
}

// An empty table: no row, the count says 0, and the read still counts as
// done (Refresh back, no failure on the status line).
TEST_F(ViewerTest, EmptyAddressTable)
{
    for (const char* col : {"1", "2", "3", "4", "5"})
        for (const char* addr : {"10.90.90.90", "192.168.1.1"})
            ASSERT_TRUE(sim->command(std::string("unset 1.3.6.1.2.1.4.20.1.") + col + "." + addr));
    CIPAddrTable d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(d.CountLabel()->text(), "0");
    EXPECT_TRUE(d.StatusLine()->text().isEmpty()) << d.StatusLine()->text().toStdString();
}

// A switch that stops answering in the middle of a walk: the list keeps what
// arrived (every column travels in each step, so the rows up to port 30,
// whole), the status line says the read failed, Refresh comes back, and no
// message box interrupts.
TEST_F(ViewerTest, WalkWithoutAnswerKeepsWhatArrived)
{
    ASSERT_TRUE(sim->command("drop under " + kIf + "5.30"));
    MessageRecorder messages;
    CIntfList d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 30);
    EXPECT_EQ(d.List()->GetItemText(29, 2), "0M");   // port 30's speed arrived
    EXPECT_EQ(d.List()->GetItemText(29, 1), "UnConnected");
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Read failed")) << d.StatusLine()->text().toStdString();
    EXPECT_TRUE(messages.texts().isEmpty());

    // Refresh once the switch answers again: the whole table, no failure.
    ASSERT_TRUE(sim->command("drop off"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(d.List()->GetItemText(30, 2), "0M");
    EXPECT_TRUE(d.StatusLine()->text().isEmpty());
}

// Refresh is off for as long as the walk runs: a second walk on the same
// session would interleave with the first.
TEST_F(ViewerTest, RefreshDisabledWhileWalking)
{
    ASSERT_TRUE(sim->command("delay 30"));
    CUdpPortInfo d;
    d.show();
    EXPECT_FALSE(d.RefreshButton()->isEnabled());
    d.RefreshButton()->click();   // ignored
    ASSERT_TRUE(WaitFor([&] { return d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(d.List()->GetItemCount(), 4);
    // One walk only: each column's first step was asked once.
    int firstSteps = 0;
    for (const SimRequest& r : sim->requests())
        if (r.pdu == "getnext" && !r.varbinds.empty() && r.varbinds[0].oid == "1.3.6.1.2.1.7.5.1.2")
            ++firstSteps;
    EXPECT_EQ(firstSteps, 1);
}

// System group: every field from its object, the uptime as hours and
// minutes, and no Apply before the read has arrived.
TEST_F(ViewerTest, SystemInformationShowsTheSystemGroup)
{
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.1.6.0 s \"Rack 4\""));
    MessageRecorder messages;
    CSnmpDevIden d;
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "System Information");
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1302))->text(), "PQS-4400-52 Managed Gigabit Ethernet Switch");
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1303))->text(), "1.3.6.1.4.1.32473.10.126.4.1");
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1304))->text(), "0 Hour 0 Min");
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->text(), "PQS-4400-52");
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313))->text(), "Rack 4");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());
}

// Under SNMPv3 with authentication and privacy the viewers read the same:
// each request goes out as the user, at the user's level.
TEST_F(ViewerTest, ViewersOverV3)
{
    const SimUser& user = SimulatedSwitch::Users().back();
    UseSimUser(user);
    sim->clearLog();
    {
        CSnmpDevIden d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->text(), "PQS-4400-52");
    }
    {
        CUdpPortInfo d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.List()->GetItemCount(), 4);
    }
    const auto log = sim->requests();
    ASSERT_FALSE(log.empty());
    for (const SimRequest& r : log) {
        EXPECT_EQ(r.version, "3");
        EXPECT_EQ(r.user, user.name);
        EXPECT_EQ(r.level, user.level);
    }
}

// A name that is not ASCII goes out as UTF-8 and comes back the same; name
// and location travel in one set, and the dialog says the switch took them.
TEST_F(ViewerTest, SystemNameRoundTripsAsUtf8)
{
    MessageRecorder messages;
    CSnmpDevIden d;
    ASSERT_TRUE(Open(d));
    const QString name = QString::fromUtf8("Büro Köln Ω");
    auto* nameEdit = qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310));
    auto* locationEdit = qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313));
    nameEdit->setText(name);
    locationEdit->setText("Hall 2");
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    ASSERT_EQ(sets[0].varbinds.size(), 2u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kSysName);
    EXPECT_EQ(sets[0].varbinds[0].hex, name.toUtf8().toHex().toStdString());
    EXPECT_EQ(sets[0].varbinds[1].oid, kSysLocation);
    EXPECT_EQ(sets[0].varbinds[1].value, "Hall 2");
    EXPECT_EQ(sim->value(kSysName), "x " + name.toUtf8().toHex().toStdString());
    // Shown from the re-read, not from the edit.
    nameEdit->setText("stale");
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(nameEdit->text(), name);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

// The special characters are refused with the fixed messages before
// anything is sent; a blank is a normal character.
TEST_F(ViewerTest, SystemNameAndLocationChecks)
{
    struct Case
    {
        const char* name;
        const char* location;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {"a.b", "x", "Invalid System Name."},
        {"core sw", "x/y", "Invalid System Location."},
        {"a,b", "", "Invalid System Name."},
        {"core sw", "floor 1", nullptr},
    };
    CSnmpDevIden d;
    ASSERT_TRUE(Open(d));
    for (const Case& c : cases) {
        MessageRecorder messages;
        if (c.message)
            messages.expect(c.message);
        sim->clearLog();
        qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->setText(c.name);
        qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313))->setText(c.location);
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
        if (c.message) {
            EXPECT_EQ(messages.texts(), QStringList({c.message})) << c.name;
            EXPECT_TRUE(sim->sets().empty()) << c.name;
        } else {
            EXPECT_TRUE(messages.texts().isEmpty()) << c.name;
            EXPECT_EQ(sim->sets().size(), 1u) << c.name;
        }
    }
}

// Name and location longer than the 20 characters the dialog takes are
// shown whole (an edit's maximum length would cut them, and Apply would
// write the cut text back); Apply refuses them naming the field and the
// limit and writes nothing. Typing past the limit stays impossible.
TEST_F(ViewerTest, LongNameFromTheSwitchIsShownWholeAndNeverWrittenCut)
{
    const std::string longName = "access-sw-building-07-floor-3";
    const std::string longLocation = "building 07, floor 3, rack B";
    ASSERT_TRUE(sim->command("set " + kSysName + " s " + longName));
    ASSERT_TRUE(sim->command("set " + kSysLocation + " s \"" + longLocation + "\""));
    CSnmpDevIden d;
    ASSERT_TRUE(Open(d));
    auto* nameEdit = qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310));
    auto* locationEdit = qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313));
    EXPECT_EQ(nameEdit->text().toStdString(), longName);
    EXPECT_EQ(locationEdit->text().toStdString(), longLocation);

    struct Case
    {
        const char* name;       // null: as read
        const char* location;
        const char* message;
    };
    const Case cases[] = {
        {nullptr, nullptr, "System Name may have at most 20 characters."},
        {"core-01", nullptr, "System Location may have at most 20 characters."},
        {"abcdefghijklmnopqrstu", "hall", "System Name may have at most 20 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        if (c.name)
            nameEdit->setText(c.name);
        if (c.location)
            locationEdit->setText(c.location);
        sim->clearLog();
        MessageRecorder messages;
        messages.expect(c.message);
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }));
        EXPECT_TRUE(sim->sets().empty());
    }
    EXPECT_EQ(sim->value(kSysName), "x " + QByteArray::fromStdString(longName).toHex().toStdString());

    // Typing cannot go past 20 characters; 20 are written.
    nameEdit->clear();
    for (QChar c : QStringLiteral("abcdefghijklmnopqrstuvwxyz"))
        nameEdit->insert(c);   // as typed: through the edit's checks
    EXPECT_EQ(nameEdit->text(), "abcdefghijklmnopqrst");
    locationEdit->setText("hall");
    sim->clearLog();
    MessageRecorder messages;
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].value, "abcdefghijklmnopqrst");
}

// A refused write is told (which object, why), nothing is half taken, and
// the dialog reads the switch again at once.
TEST_F(ViewerTest, SystemWriteRefusedIsReported)
{
    CSnmpDevIden d;
    ASSERT_TRUE(Open(d));
    ASSERT_TRUE(sim->command("error " + kSysLocation + " genErr"));
    sim->clearLog();
    MessageRecorder messages;
    messages.script({IDOK});   // the failure's text, checked below
    qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->setText("edge");
    qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313))->setText("there");
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("genErr on 1.3.6.1.2.1.1.6.0")) << messages.texts()[0].toStdString();
    EXPECT_EQ(sim->value(kSysName), "x " + QByteArray("PQS-4400-52").toHex().toStdString());
    const auto log = sim->requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].pdu, "set");
    EXPECT_EQ(log[1].pdu, "get");   // the re-read
    // The error also hits that read: the status line names it, Apply stays
    // off; once the switch answers again the fields show what it holds.
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Read failed")) << d.StatusLine()->text().toStdString();
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(sim->command("clear"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->text(), "PQS-4400-52");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

class ForwardingTableTest : public ViewerTest
{
protected:
    static QStringList Ids(const CSwitchDatabase& d)
    {
        const QStringList ids = ListColumn(d.List(), 0);
        return ids.isEmpty() ? ids : QStringList({ids.first(), ids.last()});
    }
};

// Paging through 250 entries: 100 a page, Next and Back enabled exactly when
// there is a page to go to.
TEST_F(ForwardingTableTest, PagesOfAHundred)
{
    ASSERT_TRUE(sim->command("fdb 250"));
    CSwitchDatabase d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.Entries().size(), 250);
    EXPECT_EQ(d.List()->GetItemCount(), 100);
    EXPECT_EQ(Ids(d), QStringList({"1", "100"}));
    EXPECT_TRUE(d.NextButton()->isEnabled());
    EXPECT_FALSE(d.BackButton()->isEnabled());
    d.NextButton()->click();
    EXPECT_EQ(Ids(d), QStringList({"101", "200"}));
    EXPECT_TRUE(d.BackButton()->isEnabled());
    EXPECT_TRUE(d.NextButton()->isEnabled());
    d.NextButton()->click();
    EXPECT_EQ(Ids(d), QStringList({"201", "250"}));
    EXPECT_FALSE(d.NextButton()->isEnabled());
    d.BackButton()->click();
    EXPECT_EQ(Ids(d), QStringList({"101", "200"}));
    EXPECT_TRUE(d.NextButton()->isEnabled());
    // A refresh starts again at page one.
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(Ids(d), QStringList({"1", "100"}));
    EXPECT_FALSE(d.BackButton()->isEnabled());
    EXPECT_EQ(d.Entries().size(), 250);   // not 500: the array starts empty
}

// The page boundary: 100 entries are one page, 101 make a second page
// holding entry 101 alone, none shows an empty list.
TEST_F(ForwardingTableTest, PageBoundaries)
{
    struct Case
    {
        int entries;
        bool next;
    };
    for (const Case c : {Case{100, false}, Case{101, true}, Case{0, false}}) {
        ASSERT_TRUE(sim->command("fdb " + std::to_string(c.entries)));
        CSwitchDatabase d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.List()->GetItemCount(), std::min(c.entries, 100)) << c.entries;
        EXPECT_EQ(d.NextButton()->isEnabled(), c.next) << c.entries;
        EXPECT_FALSE(d.BackButton()->isEnabled()) << c.entries;
        if (c.next) {
            d.NextButton()->click();
            EXPECT_EQ(ListColumn(d.List(), 0), QStringList({"101"}));
            EXPECT_FALSE(d.NextButton()->isEnabled());
        }
    }
}

// Entries of an FDB with a three-digit id give the right MAC; each row
// shows port, MAC and status of the same entry; status 4 is "Own", 6 none;
// the aging time is shown.
TEST_F(ForwardingTableTest, RowsOfAMultiDigitFdb)
{
    ASSERT_TRUE(sim->command("fdb 3 100"));
    ASSERT_TRUE(sim->command("set " + kFdbStatus + "100.0.27.33.0.0.1 i 4"));
    ASSERT_TRUE(sim->command("set " + kFdbStatus + "100.0.27.33.0.0.2 i 6"));
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.17.4.2.0 i 250"));
    CSwitchDatabase d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "1", "00-1B-21-00-00-00", "Learn"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "2", "00-1B-21-00-00-01", "Own"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"3", "3", "00-1B-21-00-00-02", ""}));
    EXPECT_EQ(d.AgingTime()->text(), "250");
}

// The switch's own data: 900 entries in FDB 1 and 100 in FDB 100, all
// read, every MAC six pairs, no entry lost to its index's shape.
TEST_F(ForwardingTableTest, FullTableOfTheSwitch)
{
    CSwitchDatabase d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.Entries().size(), 1000);
    QSet<QString> macs;
    for (const FWD_TABLE& e : d.Entries()) {
        EXPECT_EQ(e.strMac.size(), 17) << e.nID;
        macs.insert(e.strMac);
    }
    EXPECT_EQ(macs.size(), 1000);
    EXPECT_EQ(d.AgingTime()->text(), "300");
}

// A failed aging-time read keeps the value shown and is named on the status
// line; the table itself is still listed.
TEST_F(ForwardingTableTest, AgingTimeReadFails)
{
    ASSERT_TRUE(sim->command("fdb 5"));
    CSwitchDatabase d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.AgingTime()->text(), "300");
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.17.4.2.0 i 77"));
    ASSERT_TRUE(sim->command("error 1.3.6.1.2.1.17.4.2.0 genErr"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    EXPECT_EQ(d.AgingTime()->text(), "300");
    EXPECT_EQ(d.List()->GetItemCount(), 5);
    EXPECT_TRUE(d.StatusLine()->text().contains("aging time")) << d.StatusLine()->text().toStdString();
}

} // namespace
