// The RMON statistics dialogs against the simulated switch: the entry list
// and its entry table, adding and deleting an entry (the exact sets from the
// switch's request log), the counter pages and the interface counters (which
// gets they send, paging, one outstanding get per slot at most).

#include "CListCtrlEx.h"
#include "CRmon1Entry.h"
#include "CStatisticRmon1.h"
#include "CStatisticRmonCnt.h"
#include "CStatisticRmonInf.h"
#include "CStatusLine.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

const std::string kStats = "1.3.6.1.2.1.16.1.1.1.";

class RmonTest : public SharedSwitchDialogTest
{
protected:
    static bool Open(CDirectSnmpDialog& d)
    {
        d.show();
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 60000);
    }
    static void Select(CListCtrlEx* list, int row)
    {
        list->selectRow(row);
        emit list->rowClicked(row);
    }
    // Leaves entries 1..n valid: the others are set invalid in one request.
    static void KeepEntries(int n)
    {
        std::vector<std::string> args = {"-v1", "-c", SimulatedSwitch::kWriteCommunity, "-t", "2", "-r", "0", sim->agent()};
        for (int i = n + 1; i <= 52; ++i)
            for (const std::string& a : {kStats + "21." + std::to_string(i), std::string("i"), std::string("4")})
                args.push_back(a);
        ToolResult r = RunSnmpTool("snmpset", args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        sim->clearLog();
    }
    // The gets sent since the log was cleared, by OID.
    static std::map<std::string, int> Gets()
    {
        std::map<std::string, int> out;
        for (const SimRequest& r : sim->requests())
            if (r.pdu == "get")
                for (const SimVarbind& v : r.varbinds)
                    ++out[v.oid];
        return out;
    }
    static int GetCount()
    {
        int n = 0;
        for (const auto& [oid, count] : Gets())
            n += count;
        return n;
    }
};

// ------------------------------------------------------------ entry list

// One row per entry ("Interface #" and the ifIndex of its data source), the
// count, the entry table the counter views read; a click takes the port
// from the row (1 when it exceeds the interface count) into the caption and
// enables Delete.
TEST_F(RmonTest, EntriesListedAndClicked)
{
    ASSERT_TRUE(sim->command("set " + kStats + "2.3 o 1.3.6.1.2.1.2.2.1.1.99"));
    CStatisticRmon1 d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), " RMON 1 Statistic Information:  Port 1");
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Interface #1"}));
    EXPECT_EQ(ListRow(d.List(), 51), QStringList({"52", "Interface #52"}));
    EXPECT_EQ(d.CountLabel()->text(), "52");
    EXPECT_EQ(d.EntryCount(), 52);
    ASSERT_EQ(d.EntryIndexes().size(), 52);
    EXPECT_EQ(d.EntryIndexes()[51], "52");
    EXPECT_EQ(d.InterfaceCount(), 52);
    EXPECT_FALSE(d.DeleteButton()->isEnabled());

    Select(d.List(), 4);
    EXPECT_EQ(d.windowTitle(), " RMON1 Group Info - Port : 5");
    EXPECT_EQ(d.CurrentPort(), 5);
    EXPECT_TRUE(d.DeleteButton()->isEnabled());
    Select(d.List(), 2);
    EXPECT_EQ(d.List()->GetItemText(2, 1), "Interface #99");
    EXPECT_EQ(d.CurrentPort(), 1);
}

// Refresh twice, the second while the first walk is still pending, and
// once more afterwards: the count and the entry table stay at the table's
// size (they start again with every new walk, never pile up).
TEST_F(RmonTest, RefreshesKeepTheCount)
{
    CStatisticRmon1 d;
    ASSERT_TRUE(Open(d));
    ASSERT_TRUE(sim->command("delay 20"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return d.List()->GetItemCount() >= 3; }, 30000));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 20000));
    EXPECT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(d.EntryCount(), 52);
    EXPECT_EQ(d.EntryIndexes().size(), 52);
    ASSERT_TRUE(sim->command("delay 0"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 20000));
    EXPECT_EQ(d.CountLabel()->text(), "52");
    EXPECT_EQ(d.EntryCount(), 52);
    EXPECT_EQ(d.EntryIndexes()[0], "1");
}

// Add: createRequest, data source, owner, in that order in one request; the
// entry is listed as "Interface #n" and reads underCreation on the switch
// (this dialog never sets it valid). Cancel, and an index or interface that
// is not one decimal number, send nothing. Delete asks first; Cancel sends
// nothing; OK sets the entry invalid and it leaves the list.
TEST_F(RmonTest, AddAndDelete)
{
    MessageRecorder messages;
    CStatisticRmon1 d;
    ASSERT_TRUE(Open(d));
    struct Typed { const char* index; const char* iface; bool ok; };
    const Typed refused[] = {{"60", "7", false}, {"", "7", true}, {"6x", "7", true}, {"1.2", "7", true},
                             {"60", "", true},   {"60", " 7", true}};
    for (const Typed& t : refused) {
        d.m_runEntryForm = [&](CRmon1Entry& form) {
            form.IndexEdit()->setText(QString::fromLatin1(t.index));
            form.InterfaceEdit()->setText(QString::fromLatin1(t.iface));
            form.accept();
            return t.ok;
        };
        d.AddButton()->click();
    }
    WaitFor([] { return false; }, 400);
    EXPECT_TRUE(sim->sets().empty());

    d.m_runEntryForm = [](CRmon1Entry& form) {
        EXPECT_EQ(form.PropertyEdit()->text(), "Orvane");
        form.IndexEdit()->setText(QStringLiteral("60"));
        form.InterfaceEdit()->setText(QStringLiteral("7"));
        form.accept();
        return true;
    };
    d.AddButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 1 && !d.IsBusy(); }, 30000));
    const SimRequest set = sim->sets()[0];
    ASSERT_EQ(set.varbinds.size(), 3u);
    EXPECT_EQ(set.varbinds[0].oid, kStats + "21.60");
    EXPECT_EQ(set.varbinds[0].value, "2");
    EXPECT_EQ(set.varbinds[1].oid, kStats + "2.60");
    EXPECT_EQ(set.varbinds[1].type, "OID");
    EXPECT_EQ(set.varbinds[1].value, "1.3.6.1.2.1.2.2.1.1.7");
    EXPECT_EQ(set.varbinds[2].oid, kStats + "20.60");
    EXPECT_EQ(set.varbinds[2].value, "Orvane");
    EXPECT_EQ(set.errorStatus, 0);
    ASSERT_EQ(d.List()->GetItemCount(), 53);
    EXPECT_EQ(ListRow(d.List(), 52), QStringList({"60", "Interface #7"}));
    EXPECT_EQ(d.EntryCount(), 53);
    EXPECT_EQ(d.CountLabel()->text(), "53");
    EXPECT_EQ(sim->value(kStats + "21.60"), "i 3");

    Select(d.List(), 52);
    messages.expect("Do you want to delete the control item?", IDCANCEL);
    d.DeleteButton()->click();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(sim->sets().size(), 1u);
    messages.expect("Do you want to delete the control item?", IDOK);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 2 && !d.IsBusy(); }, 30000));
    ASSERT_EQ(sim->sets()[1].varbinds.size(), 1u);
    EXPECT_EQ(sim->sets()[1].varbinds[0].oid, kStats + "21.60");
    EXPECT_EQ(sim->sets()[1].varbinds[0].value, "4");
    EXPECT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_FALSE(ListColumn(d.List(), 0).contains("60"));
    EXPECT_FALSE(d.DeleteButton()->isEnabled());
    messages.ExpectAllUsed();
}

// Over v3 the dialog reads nothing and Add sends nothing.
TEST_F(RmonTest, Version3SendsNothing)
{
    UseSimUser(SimulatedSwitch::Users()[2]);
    CStatisticRmon1 d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !d.StatusLine()->text().isEmpty(); }));
    d.m_runEntryForm = [](CRmon1Entry& form) {
        form.IndexEdit()->setText(QStringLiteral("60"));
        form.InterfaceEdit()->setText(QStringLiteral("7"));
        return true;
    };
    d.AddButton()->click();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_FALSE(d.IsBusy());
    EXPECT_TRUE(sim->requests().empty());
}

// ------------------------------------------------------------ counter pages

// The counter items' columns: "Collisions" (position 8) is column 13,
// Jabbers (12) is not offered.
TEST(RmonCounterColumns, AsATable)
{
    const int expected[15] = {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(CStatisticRmonCnt::CounterColumn(i), expected[i]) << i;
    EXPECT_EQ(CStatisticRmonCnt::CounterColumn(-1), -1);
    EXPECT_EQ(CStatisticRmonCnt::CounterColumn(15), -1);
}

// 30 entries make 2 pages: page 1 polls 24 slots, page 2 polls 6 and blanks
// and disables slots 7 to 24; Next on the last page and Prev on the first
// wrap. "Collisions" polls column 13. Parameter opens the view on page 1 of 2.
TEST_F(RmonTest, CounterPages)
{
    KeepEntries(30);
    CStatisticRmon1 source;
    ASSERT_TRUE(Open(source));
    ASSERT_EQ(source.EntryCount(), 30);
    int pagesSeen = 0;
    source.m_runCounterView = [&](QDialog& view) {
        auto* pages = qobject_cast<CStatisticRmonCnt*>(&view);
        ASSERT_NE(pages, nullptr);
        pagesSeen = pages->Page();
        EXPECT_TRUE(pages->NextButton()->isEnabled());
    };
    source.ParameterButton()->click();
    EXPECT_EQ(pagesSeen, 1);

    sim->clearLog();
    CStatisticRmonCnt d(source, 1, 2);
    d.SetPollPeriod(600000);
    EXPECT_EQ(d.windowTitle(), "RMON 1 Parameter Information");
    ASSERT_TRUE(Open(d));
    auto gets = Gets();
    EXPECT_EQ(gets.size(), 24u);
    EXPECT_EQ(gets.count(kStats + "4.1"), 1u);
    EXPECT_EQ(gets.count(kStats + "4.24"), 1u);
    EXPECT_EQ(d.ItemLabel(24)->text(), "Item 24");
    EXPECT_GE(d.ItemValue(1)->text().toLongLong(), 104);
    EXPECT_TRUE(d.PrevButton()->isEnabled());

    sim->clearLog();
    d.NextButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 30000));
    EXPECT_EQ(d.Page(), 2);
    gets = Gets();
    ASSERT_EQ(gets.size(), 6u);
    for (int e = 25; e <= 30; ++e)
        EXPECT_EQ(gets.count(kStats + "4." + std::to_string(e)), 1u) << e;
    EXPECT_EQ(d.ItemLabel(1)->text(), "Item 25");
    for (int k = 7; k <= 24; ++k) {
        EXPECT_EQ(d.ItemLabel(k)->text(), "Item ") << k;
        EXPECT_FALSE(d.ItemLabel(k)->isEnabled()) << k;
        EXPECT_FALSE(d.ItemValue(k)->isEnabled()) << k;
        EXPECT_TRUE(d.ItemValue(k)->text().isEmpty()) << k;
    }
    EXPECT_TRUE(d.ItemValue(6)->isEnabled());

    d.NextButton()->click();
    EXPECT_EQ(d.Page(), 1);
    EXPECT_TRUE(d.ItemValue(24)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 30000));
    d.PrevButton()->click();
    EXPECT_EQ(d.Page(), 2);
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 30000));

    sim->clearLog();
    d.ParameterCombo()->setCurrentText(QStringLiteral("Collisions"));
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy() && GetCount() == 6; }, 30000));
    gets = Gets();
    EXPECT_EQ(gets.count(kStats + "13.25"), 1u);
    EXPECT_EQ(gets.count(kStats + "12.25"), 0u);

    // No counter chosen: the one message, nothing sent.
    MessageRecorder messages;
    messages.expect("Please input parameter!");
    sim->clearLog();
    d.ParameterCombo()->setCurrentIndex(-1);
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(GetCount(), 0);
    messages.ExpectAllUsed();
}

// With 24 entries or fewer there is one page: Prev and Next are off, and
// the poll covers only the entries there are.
TEST_F(RmonTest, OnePageWithFewEntries)
{
    KeepEntries(10);
    CStatisticRmon1 source;
    ASSERT_TRUE(Open(source));
    sim->clearLog();
    CStatisticRmonCnt d(source, 1, 1);
    d.SetPollPeriod(600000);
    ASSERT_TRUE(Open(d));
    EXPECT_FALSE(d.PrevButton()->isEnabled());
    EXPECT_FALSE(d.NextButton()->isEnabled());
    EXPECT_EQ(Gets().size(), 10u);
    EXPECT_EQ(d.ItemLabel(11)->text(), "Item ");
}

// A switch that stops answering: however often the page polls, each slot
// has at most one get outstanding (the next poll skips a slot still
// waiting), and the same holds for the interface counters' rows.
TEST_F(RmonTest, StoppedAgentLeavesOneGetPerSlot)
{
    KeepEntries(30);
    CStatisticRmon1 source;
    ASSERT_TRUE(Open(source));
    ASSERT_TRUE(sim->command("drop all"));
    sim->clearLog();
    // Interface counters first, then page 2 of the counter pages: 17 + 6
    // gets stay within the SNMP layer's limit of requests on the wire per
    // agent, which cancelled ones keep counting against until their time-out.
    {
        CStatisticRmonInf d(source, 0);
        d.SetPollPeriod(50);
        d.show();
        WaitFor([] { return false; }, 1500);
        const auto gets = Gets();
        EXPECT_EQ(gets.size(), 17u);
        for (const auto& [oid, count] : gets)
            EXPECT_EQ(count, 1) << oid;
    }
    sim->clearLog();
    {
        CStatisticRmonCnt d(source, 2, 2);
        d.SetPollPeriod(50);
        d.show();
        WaitFor([] { return false; }, 1500);
        const auto gets = Gets();
        EXPECT_EQ(gets.size(), 6u);
        for (const auto& [oid, count] : gets)
            EXPECT_EQ(count, 1) << oid;
    }
}

// Both counter views read again on their own while open, and not once
// they are closed: a timer never started, never connected or left running
// after Close shows here.
TEST_F(RmonTest, CounterViewsPollWhileOpenOnly)
{
    KeepEntries(10);
    CStatisticRmon1 source;
    ASSERT_TRUE(Open(source));
    std::unique_ptr<CDirectSnmpDialog> views[] = {std::make_unique<CStatisticRmonInf>(source, 0),
                                                  std::make_unique<CStatisticRmonCnt>(source, 1, 1)};
    for (const auto& d : views) {
        SCOPED_TRACE(d->windowTitle().toStdString());
        d->SetPollPeriod(100);
        ASSERT_TRUE(Open(*d));
        sim->clearLog();
        // Two more rounds without a click: the timer's.
        ASSERT_TRUE(WaitFor([] { return !Gets().empty() && Gets().begin()->second >= 2; }));
        d->CloseButton()->click();
        EXPECT_FALSE(d->PollTimer()->isActive());
        // Gets sent before the close may reach the switch a little later: a
        // get of our own, answered, comes after all of them.
        const ToolResult marker = RunSnmpTool(
            "snmpget", {"-v1", "-c", SimulatedSwitch::kReadCommunity, sim->agent(), "1.3.6.1.2.1.1.5.0"});
        ASSERT_EQ(marker.exitCode, 0) << marker.err;
        sim->clearLog();
        WaitFor([] { return false; }, 500);   // five periods
        EXPECT_EQ(GetCount(), 0) << "gets after the close";
    }
}

// ------------------------------------------------------- interface counters

// Row r polls column r + 2 of the entry its drop-down names (every row
// starts on the selected entry); another entry on row 5 polls all rows,
// row 5 with the new entry; a typed index that is not decimal, or an empty
// row, is skipped, not disabled: it polls again once it holds an index.
TEST_F(RmonTest, InterfaceCounters)
{
    CStatisticRmon1 source;
    ASSERT_TRUE(Open(source));
    Select(source.List(), 4);
    int entrySeen = -1;
    source.m_runCounterView = [&](QDialog& view) {
        auto* inf = qobject_cast<CStatisticRmonInf*>(&view);
        ASSERT_NE(inf, nullptr);
        entrySeen = inf->EntryCombo(17)->currentIndex();
    };
    source.InterfaceButton()->click();
    EXPECT_EQ(entrySeen, 4);

    sim->clearLog();
    CStatisticRmonInf d(source, 4);
    d.SetPollPeriod(600000);
    EXPECT_EQ(d.windowTitle(), "RMON 1 Interface Information");
    ASSERT_TRUE(Open(d));
    auto gets = Gets();
    ASSERT_EQ(gets.size(), 17u);
    for (int r = 1; r <= 17; ++r)
        EXPECT_EQ(gets.count(kStats + std::to_string(r + 2) + ".5"), 1u) << r;
    EXPECT_GE(d.CounterValue(10)->text().toLongLong(), 512);   // Jabbers of entry 5: 5 * 100 + 12

    sim->clearLog();
    d.EntryCombo(5)->setCurrentIndex(9);
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy() && GetCount() == 17; }, 30000));
    gets = Gets();
    EXPECT_EQ(gets.count(kStats + "7.10"), 1u);
    EXPECT_EQ(gets.count(kStats + "7.5"), 0u);
    EXPECT_EQ(gets.count(kStats + "6.5"), 1u);

    sim->clearLog();
    d.EntryCombo(1)->setEditText(QStringLiteral("abc"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy() && GetCount() == 16; }, 30000));
    EXPECT_EQ(Gets().count(kStats + "3.5"), 0u);
    sim->clearLog();
    d.EntryCombo(1)->setEditText(QStringLiteral("7"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy() && GetCount() == 17; }, 30000));
    EXPECT_EQ(Gets().count(kStats + "3.7"), 1u);
}

} // namespace
