// The row walk on real tables of the simulated switch, over SNMPv1 (one
// get-next per row for all columns) and SNMPv3 (get-bulk): the rows and
// cells must be exactly what net-snmp's snmpwalk finds column by column,
// holes and short columns included.

#include "CCommonSNMP.h"
#include "CSnmpRowWalk.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <map>
#include <set>

namespace {

const std::string kFdbStatus = "1.3.6.1.2.1.17.7.1.2.2.1.3";
const std::string kFdbPort = "1.3.6.1.2.1.17.7.1.2.2.1.2";
const std::string kVlanEntry = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1";
const std::string kVlanName = kVlanEntry + ".1";
const std::string kVlanStatus = kVlanEntry + ".6";

using Column = std::map<std::string, std::string>;   // index -> value text

// One column as snmpwalk shows it over v1.
Column SnmpWalk(const SimulatedSwitch& sim, const std::string& column)
{
    ToolResult r = RunSnmpTool("snmpwalk", {"-v1", "-c", SimulatedSwitch::kReadCommunity, "-On", "-Oq", "-t", "3",
                                            "-r", "1", sim.agent(), column});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ParseWalkColumn(r.out, column);
}

struct Outcome {
    bool ended = false;
    WalkOutcome end;
    std::vector<Column> columns;
    std::set<std::string> rows;
    QStringList order;
};

// Walks `columns` with the program's row walk and the current settings.
Outcome RowWalk(const std::vector<std::string>& columns, int deadlineMs = 60000)
{
    Outcome out;
    CCommonSNMP session;
    CSnmpRowWalk walk(session);
    QStringList oids;
    for (const std::string& c : columns)
        oids << QString::fromStdString(c);
    walk.Start(oids, [&](const WalkOutcome& o) {
        out.ended = true;
        out.end = o;
    });
    EXPECT_TRUE(WaitFor([&] { return out.ended; }, deadlineMs));
    out.columns.resize(columns.size());
    for (const SnmpRow& row : walk.Rows()) {
        out.rows.insert(row.strIndex.toStdString());
        out.order << row.strIndex;
        for (size_t c = 0; c < columns.size(); ++c)
            if (row.Has(int(c)))
                out.columns[c][row.strIndex.toStdString()] = row.Text(int(c)).toStdString();
    }
    return out;
}

class RowWalkTablesTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
    }

    // Checks a walk against snmpwalk of each column: same cells, rows the
    // union of the columns' indexes, in OID order.
    void ExpectSameAsSnmpWalk(const std::vector<std::string>& columns, const Outcome& walk)
    {
        ASSERT_TRUE(walk.ended);
        EXPECT_EQ(walk.end.nResult, WalkOutcome::Complete) << walk.end.strWhy.toStdString();
        std::set<std::string> rows;
        for (size_t c = 0; c < columns.size(); ++c) {
            SCOPED_TRACE(columns[c]);
            const Column expected = SnmpWalk(sim, columns[c]);
            EXPECT_FALSE(expected.empty());
            EXPECT_EQ(walk.columns[c], expected);
            for (const auto& [index, value] : expected)
                rows.insert(index);
        }
        EXPECT_EQ(walk.rows, rows);
        QStringList sorted = walk.order;
        std::sort(sorted.begin(), sorted.end(), CSnmpRowWalk::IndexLess);
        EXPECT_EQ(walk.order, sorted);
    }

    // Leaves holes: three cells removed in the middle of the first column,
    // six at the end of the second (so the second ends well before the
    // first, and the last rows have the first column only).
    void MakeSparseFdb(int entries)
    {
        ASSERT_TRUE(sim.command("fdb " + std::to_string(entries)));
        const Column status = SnmpWalk(sim, kFdbStatus);
        ASSERT_EQ(int(status.size()), entries);
        std::vector<std::string> indexes;
        for (const auto& [index, value] : status)
            indexes.push_back(index);
        std::sort(indexes.begin(), indexes.end(), [](const std::string& a, const std::string& b) {
            return CSnmpRowWalk::IndexLess(QString::fromStdString(a), QString::fromStdString(b));
        });
        const int mid = entries / 2;
        for (int i : {mid, mid + 1, mid + 2})
            ASSERT_TRUE(sim.command("unset " + kFdbStatus + "." + indexes[size_t(i)]));
        for (int i = entries - 6; i < entries; ++i)
            ASSERT_TRUE(sim.command("unset " + kFdbPort + "." + indexes[size_t(i)]));
    }

    void UseV3()
    {
        for (const SimUser& user : SimulatedSwitch::Users())
            if (std::string(user.name) == "velshades")
                UseSimUser(user);
    }
};

} // namespace

// Catches cells shifted onto other rows, or rows lost, when all columns
// travel in one request: holes in the middle of one column, a column that
// ends before the other, a row present in one column only, over v1 and v3.
TEST_F(RowWalkTablesTest, SparseTablesEqualSnmpWalk)
{
    MakeSparseFdb(60);
    ASSERT_TRUE(sim.command("vlan add 2 40"));
    for (int vid : {7, 8, 39, 40})
        ASSERT_TRUE(sim.command("unset " + kVlanName + "." + std::to_string(vid)));
    for (int vid : {3})
        ASSERT_TRUE(sim.command("unset " + kVlanStatus + "." + std::to_string(vid)));

    for (const char* version : {"1", "3"}) {
        SCOPED_TRACE(std::string("SNMPv") + version);
        UseSimulatedSwitch(sim);
        if (std::string(version) == "3")
            UseV3();
        ExpectSameAsSnmpWalk({kFdbStatus, kFdbPort}, RowWalk({kFdbStatus, kFdbPort}));
        ExpectSameAsSnmpWalk({kFdbPort, kFdbStatus}, RowWalk({kFdbPort, kFdbStatus}));
        ExpectSameAsSnmpWalk({kVlanName, kVlanStatus}, RowWalk({kVlanName, kVlanStatus}));
    }
}

// Catches a walk that still asks one get-next per cell or per column: over
// v1 one request carries every column of a row; over v3 one get-bulk
// carries many rows, and the table ends inside a bulk answer.
TEST_F(RowWalkTablesTest, OneRequestPerRowOverV1AndManyRowsPerBulkOverV3)
{
    ASSERT_TRUE(sim.command("fdb 200"));
    for (const char* version : {"1", "3"}) {
        SCOPED_TRACE(std::string("SNMPv") + version);
        UseSimulatedSwitch(sim);
        const bool v3 = std::string(version) == "3";
        if (v3)
            UseV3();
        sim.clearLog();
        const Outcome walk = RowWalk({kFdbStatus, kFdbPort});
        const std::vector<SimRequest> log = sim.requests();   // before snmpwalk adds its own
        ExpectSameAsSnmpWalk({kFdbStatus, kFdbPort}, walk);
        int requests = 0;
        for (const SimRequest& r : log) {
            ++requests;
            EXPECT_EQ(r.pdu, v3 ? "getbulk" : "getnext");
            EXPECT_EQ(r.varbinds.size(), 2u);
        }
        if (v3) {
            // 200 rows of two cells: a handful of datagrams, the last one
            // holding the end of both columns.
            EXPECT_LE(requests, 40);
            EXPECT_GE(requests, 2);
        } else {
            EXPECT_EQ(requests, 201);
        }
    }
}

// Catches a switch that answers tooBig to a large get-bulk ending the walk:
// the walk asks again with fewer rows and reads the same table.
TEST_F(RowWalkTablesTest, TooBigShrinksTheBulk)
{
    MakeSparseFdb(80);
    UseV3();
    ASSERT_TRUE(sim.command("bulk-limit 3"));
    sim.clearLog();
    const Outcome walk = RowWalk({kFdbStatus, kFdbPort});
    const std::vector<SimRequest> log = sim.requests();
    ExpectSameAsSnmpWalk({kFdbStatus, kFdbPort}, walk);
    bool refused = false;
    int after = 0;
    for (const SimRequest& r : log) {
        ASSERT_EQ(r.pdu, "getbulk");
        if (r.errorName == "tooBig") {
            refused = true;
            continue;
        }
        EXPECT_TRUE(refused) << "the first bulk fitted already: the case is not set up";
        ++after;
        const size_t at = r.line.find("\"max_repetitions\":");
        ASSERT_NE(at, std::string::npos);
        EXPECT_LE(std::stoi(r.line.substr(at + 18)), 3) << r.line;
    }
    EXPECT_TRUE(refused);
    EXPECT_GE(after, 80 / 3);
}

// Catches a long read that shows nothing: the walk tells its row count as
// it goes, growing, and not after every answer.
TEST_F(RowWalkTablesTest, ProgressCountsRowsAsTheyArrive)
{
    ASSERT_TRUE(sim.command("fdb 400"));
    ASSERT_TRUE(sim.command("delay 2"));
    CCommonSNMP session;
    CSnmpRowWalk walk(session);
    std::vector<int> counts;
    walk.SetProgress([&](int rows) { counts.push_back(rows); });
    bool ended = false;
    QElapsedTimer clock;
    clock.start();
    walk.Start({QString::fromStdString(kFdbStatus), QString::fromStdString(kFdbPort)},
               [&](const WalkOutcome&) { ended = true; });
    ASSERT_TRUE(WaitFor([&] { return ended; }, 60000));
    const qint64 elapsed = clock.elapsed();
    ASSERT_FALSE(counts.empty());
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_GT(counts.back(), 0);
    EXPECT_LE(counts.back(), 400);
    // At most four a second (plus the first), far fewer than the 401 answers.
    EXPECT_LE(qint64(counts.size()), elapsed / 250 + 2);
}
