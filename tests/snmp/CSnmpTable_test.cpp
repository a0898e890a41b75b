// Table walks, asynchronous senders and their cancellation, over real SNMP.

#include "CSnmp4w.h"
#include "CSnmpTable.h"
#include "CSnmpTable4w.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"
#include "SnmpdAgent.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::string, std::vector<std::string>>>; // index, values

// Collects what asynchronous callbacks deliver; the walker continues itself.
struct Collector {
    CSnmpTable* table = nullptr;
    std::string address;
    Rows rows;
    std::vector<int> statuses;
    std::vector<int> ids;
    int expectedId = 0;
    bool continueWalk = true;
    bool finished = false;

    static int callback(CSnmp* response, int requestId, void* user, int status)
    {
        auto* self = static_cast<Collector*>(user);
        self->statuses.push_back(status);
        self->ids.push_back(requestId);
        if (status != 0) {
            EXPECT_EQ(response, nullptr);
            self->finished = true;
            return 0;
        }
        EXPECT_EQ(requestId, self->expectedId);
        char* index = nullptr;
        std::vector<std::string> values;
        for (int i = 0; i < response->getVarBindCount(); ++i)
            values.push_back(ValueText(response, i));
        self->table->getIndex(0, response, &index);
        self->rows.emplace_back(index ? index : "<none>", values);
        delete response;
        if (self->continueWalk) {
            EXPECT_EQ(self->table->getNextAsync(self->address.c_str(), callback, self, 3000), 0);
            self->expectedId = self->table->getSnmp()->getRequestId();
        } else {
            self->finished = true;
        }
        return 0;
    }
};

void pump(const std::function<bool()>& done, int maxMs = 10000)
{
    auto start = std::chrono::steady_clock::now();
    while (!done() && ElapsedMs(start) < maxMs)
        SnmpProcessCallbacks(50);
}

class SnmpTableTest : public SnmpdSuite
{
protected:
    void TearDown() override { SnmpProcessCallbacks(0); }

    static void prepareIfWalk(CSnmpV1& req)
    {
        req.setType(SNMP_PDU_GETNEXT);
        req.setCommunity(SnmpdAgent::kReadCommunity);
        req.clearVarBindList();
        req.addValue(kIfIndexColumn, SNMP_TYPE_NULL, nullptr);
        req.addValue(kIfDescrColumn, SNMP_TYPE_NULL, nullptr);
    }

    // The reference rows: a synchronous walk with its end status.
    Rows syncWalk(CSnmp& req, int* endStatus)
    {
        CSnmpTable table(&req);
        Rows rows;
        CSnmp* resp = nullptr;
        int rc;
        while ((rc = table.getNext(addr().c_str(), resp, 3000)) == 0) {
            char* index = nullptr;
            EXPECT_EQ(table.getIndex(0, resp, &index), 0);
            std::vector<std::string> values;
            for (int i = 0; i < resp->getVarBindCount(); ++i)
                values.push_back(ValueText(resp, i));
            rows.emplace_back(index ? index : "", values);
            delete resp;
            if (rows.size() > 10000)
                break;
        }
        EXPECT_EQ(resp, nullptr);
        *endStatus = rc;
        return rows;
    }

    int ifNumber()
    {
        CSnmpV1 get(SNMP_PDU_GET);
        get.addValue(kIfNumber, SNMP_TYPE_NULL, nullptr);
        CSnmp* raw = nullptr;
        EXPECT_EQ(get.send(addr().c_str(), raw, 3000), 0);
        std::unique_ptr<CSnmp> resp(raw);
        return resp ? std::stoi(ValueText(resp.get(), 0)) : -1;
    }
};

// Catches a walk that stops early, runs past its columns, or ends with the
// wrong status: every interface comes as one row, indexed by ifIndex, then
// the end of the walk (-2).
TEST_F(SnmpTableTest, SyncWalkOfIfTableEndsWithEndOfWalk)
{
    CSnmpV1 req;
    prepareIfWalk(req);
    int end = 0;
    Rows rows = syncWalk(req, &end);
    EXPECT_EQ(end, SNMP_END_OF_WALK);
    ASSERT_EQ(int(rows.size()), ifNumber());
    for (auto& [index, values] : rows) {
        ASSERT_EQ(values.size(), 2u);
        EXPECT_EQ(index, "." + values[0]);
        EXPECT_FALSE(values[1].empty());
    }
}

// Catches walks that end the wrong way at the edges: past the end of the MIB
// (v1 noSuchName, v3 endOfMibView) and a column that does not exist (the
// next object lies outside it) all end at once with -2.
TEST_F(SnmpTableTest, WalkEndsAtMibEndAndOutsideColumn)
{
    for (const char* column : {"1.3.6.1.9", "1.3.6.1.2.1.2.2.1.99"}) {
        CSnmpV1 v1(SNMP_PDU_GETNEXT);
        v1.setCommunity(SnmpdAgent::kReadCommunity);
        v1.addValue(column, SNMP_TYPE_NULL, nullptr);
        int end = 0;
        EXPECT_TRUE(syncWalk(v1, &end).empty()) << column;
        EXPECT_EQ(end, SNMP_END_OF_WALK) << column;

        CSnmpV3 v3(SNMP_PDU_GETNEXT);
        ApplyV3(v3, {SnmpdAgent::kNoAuthUser, 0, 0, "", ""});
        v3.addValue(column, SNMP_TYPE_NULL, nullptr);
        EXPECT_TRUE(syncWalk(v3, &end).empty()) << column;
        EXPECT_EQ(end, SNMP_END_OF_WALK) << column;
    }
}

// Catches an asynchronous walk that differs from the synchronous one or
// reports its end more than once; a v3 walk is checked the same way.
TEST_F(SnmpTableTest, AsyncWalkMatchesSyncWalk)
{
    CSnmpV1 ref;
    prepareIfWalk(ref);
    int end = 0;
    const Rows expected = syncWalk(ref, &end);

    CSnmpV1 req;
    prepareIfWalk(req);
    CSnmpTable4w table(&req);
    Collector c;
    c.table = &table;
    c.address = addr();
    ASSERT_EQ(table.getNextAsync(addr().c_str(), Collector::callback, &c, nullptr, 0), 0);
    c.expectedId = req.getRequestId();
    pump([&] { return c.finished; });
    EXPECT_EQ(c.rows, expected);
    ASSERT_FALSE(c.statuses.empty());
    EXPECT_EQ(c.statuses.back(), SNMP_END_OF_WALK);
    SnmpProcessCallbacks(200);
    EXPECT_EQ(std::count(c.statuses.begin(), c.statuses.end(), SNMP_END_OF_WALK), 1);

    CSnmpV3 v3(SNMP_PDU_GETNEXT);
    ApplyV3(v3, {SnmpdAgent::kShaDesUser, 3, 1, SnmpdAgent::kAuthPassword, SnmpdAgent::kPrivPassword});
    v3.addValue(kIfIndexColumn, SNMP_TYPE_NULL, nullptr);
    v3.addValue(kIfDescrColumn, SNMP_TYPE_NULL, nullptr);
    CSnmpTable t3(&v3);
    Collector c3;
    c3.table = &t3;
    c3.address = addr();
    ASSERT_EQ(t3.getNextAsync(addr().c_str(), Collector::callback, &c3, 3000), 0);
    c3.expectedId = v3.getRequestId();
    pump([&] { return c3.finished; });
    EXPECT_EQ(c3.rows, expected);
}

// Catches a walker that treats a prepared get as a walk step: it is sent as
// prepared at every step and answered with status 0, never -2, even though
// its OIDs do not grow; a prepared set through getNext writes.
TEST_F(SnmpTableTest, PreparedGetAndSetGoThroughTheWalkerAsPrepared)
{
    CSnmpV1 get(SNMP_PDU_GET);
    get.setCommunity(SnmpdAgent::kReadCommunity);
    get.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    get.addValue(kSysUpTime, SNMP_TYPE_NULL, nullptr);
    CSnmpTable4w table(&get);
    for (int step = 0; step < 3; ++step) {
        Collector c;
        c.table = &table;
        c.address = addr();
        c.continueWalk = false;
        ASSERT_EQ(table.getNextAsync(addr().c_str(), Collector::callback, &c, nullptr, 3000), 0);
        c.expectedId = get.getRequestId();
        pump([&] { return c.finished; });
        ASSERT_EQ(c.statuses, std::vector<int>{0}) << "step " << step;
        ASSERT_EQ(c.rows.size(), 1u);
        EXPECT_EQ(c.rows[0].second.size(), 2u);
        EXPECT_NE(c.rows[0].second[0], "<null>");
    }

    CSnmpV1 set(SNMP_PDU_SET);
    set.setCommunity(SnmpdAgent::kWriteCommunity);
    set.addValue(kSysContact, SNMP_TYPE_OCTETS, "walker-set");
    CSnmpTable setter(&set);
    CSnmp* raw = nullptr;
    ASSERT_EQ(setter.getNext(addr().c_str(), raw, 3000), 0);
    delete raw;
    CSnmpV1 check(SNMP_PDU_GET);
    check.addValue(kSysContact, SNMP_TYPE_NULL, nullptr);
    ASSERT_EQ(check.send(addr().c_str(), raw, 3000), 0);
    std::unique_ptr<CSnmp> resp(raw);
    EXPECT_EQ(ValueText(resp.get(), 0), "walker-set");
}

// Catches walks that block or mix each other up: twenty walkers in flight
// together all finish with the right rows.
TEST_F(SnmpTableTest, ManyWalksAtOnceAllFinishCorrectly)
{
    CSnmpV1 ref;
    prepareIfWalk(ref);
    int end = 0;
    const Rows expected = syncWalk(ref, &end);

    constexpr int kWalkers = 20;
    std::vector<std::unique_ptr<CSnmpV1>> reqs;
    std::vector<std::unique_ptr<CSnmpTable>> tables;
    std::vector<Collector> collectors(kWalkers);
    for (int i = 0; i < kWalkers; ++i) {
        reqs.push_back(std::make_unique<CSnmpV1>());
        prepareIfWalk(*reqs.back());
        tables.push_back(std::make_unique<CSnmpTable>(reqs.back().get()));
        collectors[i].table = tables.back().get();
        collectors[i].address = addr();
    }
    for (int i = 0; i < kWalkers; ++i) {
        ASSERT_EQ(tables[i]->getNextAsync(addr().c_str(), Collector::callback, &collectors[i], 3000), 0);
        collectors[i].expectedId = reqs[i]->getRequestId();
    }
    pump([&] { return std::all_of(collectors.begin(), collectors.end(), [](const Collector& c) { return c.finished; }); }, 30000);
    for (int i = 0; i < kWalkers; ++i) {
        EXPECT_EQ(collectors[i].rows, expected) << "walker " << i;
        EXPECT_EQ(collectors[i].statuses.back(), SNMP_END_OF_WALK) << "walker " << i;
    }
}

int g_unexpectedCalls = 0;
int countingCallback(CSnmp* response, int, void*, int)
{
    delete response;
    ++g_unexpectedCalls;
    return 0;
}

// Catches callbacks into destroyed owners (use after free under ASan) and
// leaked responses: destroying or cancelling a walker or sender with a
// request in flight means no callback, whether the answer comes or not.
TEST_F(SnmpTableTest, DestroyedOrCancelledSendersGetNoCallback)
{
    SilentAgent silent;
    g_unexpectedCalls = 0;
    CSnmpV1 req;
    prepareIfWalk(req);
    for (const std::string& target : {addr(), silent.address()}) {
        {
            auto table = std::make_unique<CSnmpTable4w>(&req);
            ASSERT_EQ(table->getNextAsync(target.c_str(), countingCallback, nullptr, nullptr, 200), 0);
            table.reset();
        }
        {
            auto sender = std::make_unique<CSnmp4w>(&req);
            ASSERT_EQ(sender->sendAsync(target.c_str(), countingCallback, nullptr, nullptr, 200), 0);
            sender.reset();
        }
        CSnmpTable kept(&req);
        ASSERT_EQ(kept.getNextAsync(target.c_str(), countingCallback, nullptr, 200), 0);
        kept.cancel();
        CSnmp4w keptSender(&req);
        ASSERT_EQ(keptSender.sendAsync(target.c_str(), countingCallback, nullptr, nullptr, 200), 0);
        keptSender.cancel();
        SnmpProcessCallbacks(600);
        SnmpProcessCallbacks(200);
        EXPECT_EQ(g_unexpectedCalls, 0) << target;

        // A cancelled walker can walk again and is answered.
        ASSERT_EQ(kept.getNextAsync(target.c_str(), countingCallback, nullptr, 200), 0);
        pump([] { return g_unexpectedCalls == 1; }, 3000);
        EXPECT_EQ(g_unexpectedCalls, 1) << target;
        g_unexpectedCalls = 0;
    }
}

// Catches a dangling request pointer: destroying the request object while
// a walker still refers to it, even with a step in flight, does not crash;
// the walker then refuses further steps.
TEST_F(SnmpTableTest, DestroyedRequestObjectDoesNotCrashTheWalker)
{
    auto req = std::make_unique<CSnmpV1>();
    prepareIfWalk(*req);
    CSnmpTable4w table(req.get());
    CSnmp4w sender(req.get());
    g_unexpectedCalls = 0;
    ASSERT_EQ(table.getNextAsync(addr().c_str(), countingCallback, nullptr, nullptr, 3000), 0);
    req.reset();
    pump([] { return g_unexpectedCalls == 1; }, 3000);
    EXPECT_EQ(g_unexpectedCalls, 1);
    EXPECT_EQ(table.getSnmp(), nullptr);
    CSnmp* raw = nullptr;
    EXPECT_EQ(table.getNext(addr().c_str(), raw, 1000), SNMP_BAD_REQUEST);
    EXPECT_EQ(table.getNextAsync(addr().c_str(), countingCallback, nullptr, nullptr, 1000), SNMP_BAD_REQUEST);
    EXPECT_EQ(sender.sendAsync(addr().c_str(), countingCallback, nullptr, nullptr, 1000), SNMP_BAD_REQUEST);
}

// Catches a deadlock or crash when a callback destroys its own walker.
TEST_F(SnmpTableTest, CallbackMayDestroyItsWalker)
{
    CSnmpV1 req;
    prepareIfWalk(req);
    struct Owner { std::unique_ptr<CSnmpTable> table; int calls = 0; } owner;
    owner.table = std::make_unique<CSnmpTable>(&req);
    auto cb = [](CSnmp* response, int, void* user, int) -> int {
        auto* o = static_cast<Owner*>(user);
        delete response;
        o->table.reset();
        ++o->calls;
        return 0;
    };
    ASSERT_EQ(owner.table->getNextAsync(addr().c_str(), cb, &owner, 3000), 0);
    pump([&] { return owner.calls > 0; }, 3000);
    EXPECT_EQ(owner.calls, 1);
    EXPECT_EQ(owner.table, nullptr);
}

// Catches a walk that keeps its position after the request was changed:
// preparing again starts from the new columns.
TEST_F(SnmpTableTest, ChangingTheRequestRestartsTheWalk)
{
    CSnmpV1 req;
    prepareIfWalk(req);
    CSnmpTable table(&req);
    CSnmp* raw = nullptr;
    ASSERT_EQ(table.getNext(addr().c_str(), raw, 3000), 0);
    delete raw;
    ASSERT_EQ(table.getNext(addr().c_str(), raw, 3000), 0);
    delete raw;
    prepareIfWalk(req);
    ASSERT_EQ(table.getNext(addr().c_str(), raw, 3000), 0);
    std::unique_ptr<CSnmp> first(raw);
    char* index = nullptr;
    ASSERT_EQ(table.getIndex(0, first.get(), &index), 0);
    EXPECT_STREQ(index, ".1");
    // getIndex refuses a varbind that is not under its column.
    EXPECT_EQ(table.getIndex(5, first.get(), &index), -1);
}

} // namespace
