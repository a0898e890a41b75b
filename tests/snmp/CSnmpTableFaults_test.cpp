// Table walks against agents that misbehave: the simulated switch with
// injected errors, and a tiny hand-written v1 agent that breaks the get-next
// rules on purpose.

#include "CSnmpTable.h"
#include "CSnmpTable4w.h"
#include "CSnmpV1.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"
#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Oid = std::vector<uint32_t>;

const Oid kColumn = {1, 3, 6, 1, 4, 1, 32473, 99, 1, 2};

Oid Child(const Oid& parent, uint32_t sub)
{
    Oid out = parent;
    out.push_back(sub);
    return out;
}

// ---- just enough BER for an SNMPv1 agent ----

std::string BerLength(size_t n)
{
    if (n < 0x80)
        return std::string(1, char(n));
    if (n < 0x100)
        return std::string{char(0x81), char(n)};
    return std::string{char(0x82), char(n >> 8), char(n & 0xFF)};
}

std::string Tlv(unsigned char tag, const std::string& body)
{
    return std::string(1, char(tag)) + BerLength(body.size()) + body;
}

std::string BerOid(const Oid& oid)
{
    std::string body(1, char(oid[0] * 40 + oid[1]));
    for (size_t i = 2; i < oid.size(); ++i) {
        std::string bytes(1, char(oid[i] & 0x7F));
        for (uint32_t v = oid[i] >> 7; v; v >>= 7)
            bytes.insert(bytes.begin(), char(0x80 | (v & 0x7F)));
        body += bytes;
    }
    return Tlv(0x06, body);
}

struct Reader {
    const std::string& data;
    size_t pos = 0;
    // Reads one TLV header; false when malformed.
    bool header(unsigned char& tag, size_t& length)
    {
        if (pos + 2 > data.size())
            return false;
        tag = static_cast<unsigned char>(data[pos++]);
        size_t first = static_cast<unsigned char>(data[pos++]);
        if (first < 0x80) {
            length = first;
        } else {
            length = 0;
            for (size_t k = 0; k < (first & 0x7F); ++k) {
                if (pos >= data.size())
                    return false;
                length = (length << 8) | static_cast<unsigned char>(data[pos++]);
            }
        }
        return pos + length <= data.size();
    }
    bool element(unsigned char& tag, std::string& body)
    {
        size_t length = 0;
        if (!header(tag, length))
            return false;
        body = data.substr(pos, length);
        pos += length;
        return true;
    }
};

Oid DecodeOid(const std::string& body)
{
    Oid oid;
    if (body.empty())
        return oid;
    oid.push_back(static_cast<unsigned char>(body[0]) / 40);
    oid.push_back(static_cast<unsigned char>(body[0]) % 40);
    uint32_t value = 0;
    for (size_t i = 1; i < body.size(); ++i) {
        value = (value << 7) | (static_cast<unsigned char>(body[i]) & 0x7F);
        if (!(static_cast<unsigned char>(body[i]) & 0x80)) {
            oid.push_back(value);
            value = 0;
        }
    }
    return oid;
}

// A v1 agent on loopback whose answers a test writes: for the OIDs of a
// request it returns the (OID, octet string) pairs to answer. Counts the
// requests it answered.
class ScriptedAgent
{
public:
    using Script = std::function<std::vector<std::pair<Oid, std::string>>(const std::vector<Oid>&)>;

    explicit ScriptedAgent(Script script) : m_script(std::move(script))
    {
        m_fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
        socklen_t len = sizeof(addr);
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedAgent()
    {
        m_stop = true;
        m_thread.join();
        close(m_fd);
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    int answered() const { return m_answered; }

private:
    void run()
    {
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            char buffer[4096];
            sockaddr_in from{};
            socklen_t fromLen = sizeof(from);
            ssize_t n = recvfrom(m_fd, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n <= 0)
                continue;
            std::string reply = answer(std::string(buffer, size_t(n)));
            if (reply.empty())
                continue;
            sendto(m_fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
            ++m_answered;
        }
    }

    std::string answer(const std::string& packet)
    {
        Reader msg{packet};
        unsigned char tag;
        std::string body, version, community, pdu;
        if (!msg.element(tag, body) || tag != 0x30)
            return {};
        Reader outer{body};
        if (!outer.element(tag, version) || !outer.element(tag, community) || tag != 0x04)
            return {};
        if (!outer.element(tag, pdu))
            return {};
        Reader inner{pdu};
        std::string requestId, errStatus, errIndex, list;
        if (!inner.element(tag, requestId) || !inner.element(tag, errStatus) || !inner.element(tag, errIndex)
            || !inner.element(tag, list))
            return {};
        std::vector<Oid> requested;
        Reader vbs{list};
        std::string vb;
        while (vbs.pos < list.size() && vbs.element(tag, vb)) {
            Reader pair{vb};
            std::string name;
            if (pair.element(tag, name) && tag == 0x06)
                requested.push_back(DecodeOid(name));
        }
        std::string answerList;
        for (const auto& [oid, value] : m_script(requested))
            answerList += Tlv(0x30, BerOid(oid) + Tlv(0x04, value));
        std::string response = Tlv(0x02, requestId) + Tlv(0x02, std::string(1, '\0')) + Tlv(0x02, std::string(1, '\0'))
            + Tlv(0x30, answerList);
        return Tlv(0x30, Tlv(0x02, std::string(1, '\0')) + Tlv(0x04, community) + Tlv(0xA2, response));
    }

    Script m_script;
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};

struct WalkOutcome {
    std::vector<std::string> indexes;
    int end = 1;
};

// A synchronous walk, cut off after `cap` rows (a loop would otherwise hang
// the test).
WalkOutcome SyncWalk(CSnmp& request, const std::string& address, int cap = 50, int timeout = 2000)
{
    CSnmpTable table(&request);
    WalkOutcome out;
    CSnmp* resp = nullptr;
    while ((out.end = table.getNext(address.c_str(), resp, timeout)) == 0) {
        char* index = nullptr;
        table.getIndex(0, resp, &index);
        out.indexes.push_back(index ? index : "<none>");
        delete resp;
        if (int(out.indexes.size()) >= cap)
            break;
    }
    return out;
}

// The same walk the way the stand-alone dialogs run it: asynchronously, the
// callback continuing until any non-zero status.
struct AsyncWalker {
    CSnmpTable4w table;
    std::string address;
    int timeout = 2000;
    int cap = 50;
    WalkOutcome out;
    bool finished = false;

    static int Callback(CSnmp* response, int, void* user, int status)
    {
        auto* self = static_cast<AsyncWalker*>(user);
        if (status != 0) {
            EXPECT_EQ(response, nullptr);
            delete response;
            self->out.end = status;
            self->finished = true;
            return 0;
        }
        char* index = nullptr;
        self->table.getIndex(0, response, &index);
        self->out.indexes.push_back(index ? index : "<none>");
        delete response;
        if (int(self->out.indexes.size()) >= self->cap
            || self->table.getNextAsync(self->address.c_str(), Callback, self, nullptr, unsigned(self->timeout)) != 0) {
            self->out.end = 0;
            self->finished = true;
        }
        return 0;
    }
};

WalkOutcome AsyncWalk(CSnmp& request, const std::string& address, int cap = 50, int timeout = 2000)
{
    AsyncWalker walker;
    walker.table.setSnmp(&request);
    walker.address = address;
    walker.timeout = timeout;
    walker.cap = cap;
    EXPECT_EQ(walker.table.getNextAsync(address.c_str(), AsyncWalker::Callback, &walker, nullptr, unsigned(timeout)), 0);
    auto start = std::chrono::steady_clock::now();
    while (!walker.finished && ElapsedMs(start) < 20000)
        SnmpProcessCallbacks(50);
    EXPECT_TRUE(walker.finished);
    return walker.out;
}

void PrepareWalk(CSnmpV1& req, const char* community, const std::vector<Oid>& columns)
{
    req.setType(SNMP_PDU_GETNEXT);
    req.setCommunity(community);
    req.clearVarBindList();
    for (const Oid& column : columns) {
        std::string text;
        for (size_t i = 0; i < column.size(); ++i)
            text += (i ? "." : "") + std::to_string(column[i]);
        req.addValue(text.c_str(), SNMP_TYPE_NULL, nullptr);
    }
}

} // namespace


// Catches a broken agent looping the program (or rows made of garbage): an
// answer whose OIDs do not increase, or whose number of varbinds differs
// from the walked columns, ends the walk at once with -2, synchronously and
// asynchronously.
TEST(SnmpWalkFaults, BrokenAgentCannotLoopTheWalk)
{
    const Oid nextColumn = {1, 3, 6, 1, 4, 1, 32473, 99, 1, 3};
    // A well-formed column of three rows, then the next column.
    const auto next = [nextColumn](const Oid& requested) {
        if (requested == kColumn)
            return Child(kColumn, 1);
        if (requested.size() == kColumn.size() + 1 && requested.back() < 3)
            return Child(kColumn, requested.back() + 1);
        return Child(nextColumn, 1);
    };
    struct Case {
        const char* name;
        int columns;
        ScriptedAgent::Script script;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"same OID again", 1,
         [](const std::vector<Oid>& req) -> std::vector<std::pair<Oid, std::string>> {
             return {{req[0] == kColumn ? Child(kColumn, 1) : req[0], "row"}};
         },
         {".1"}},
        {"OID goes back", 1,
         [](const std::vector<Oid>& req) -> std::vector<std::pair<Oid, std::string>> {
             return {{Child(kColumn, req[0] == kColumn ? 5 : 3), "row"}};
         },
         {".5"}},
        {"extra varbind", 1,
         [next](const std::vector<Oid>& req) -> std::vector<std::pair<Oid, std::string>> {
             return {{next(req[0]), "row"}, {Child(kColumn, 99), "extra"}};
         },
         {}},
        {"missing varbind", 2,
         [next](const std::vector<Oid>& req) -> std::vector<std::pair<Oid, std::string>> {
             return {{next(req[0]), "row"}};
         },
         {}},
        {"well-formed", 1,
         [next](const std::vector<Oid>& req) -> std::vector<std::pair<Oid, std::string>> {
             return {{next(req[0]), "row"}};
         },
         {".1", ".2", ".3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedAgent agent(c.script);
        std::vector<Oid> columns = {kColumn};
        if (c.columns == 2)
            columns.push_back(nextColumn);
        CSnmpV1 request(SNMP_PDU_GETNEXT);
        PrepareWalk(request, "public", columns);
        WalkOutcome sync = SyncWalk(request, agent.address());
        EXPECT_EQ(sync.indexes, c.rows);
        EXPECT_EQ(sync.end, SNMP_END_OF_WALK);
        PrepareWalk(request, "public", columns);
        WalkOutcome async = AsyncWalk(request, agent.address());
        EXPECT_EQ(async.indexes, c.rows);
        EXPECT_EQ(async.end, SNMP_END_OF_WALK);
    }
}

// Catches a walk cut short by the agent passing for a complete table: an
// error status in the middle of a walk is a failure (SNMP_ERROR_STATUS), a
// dropped answer is no answer, and only a clean end of the column is -2.
TEST(SnmpWalkFaults, FailureInTheMiddleOfAWalkIsNotTheEnd)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    struct Case {
        const char* fault;     // control command, or null
        const char* undo;
        size_t rows;
        int end;
    };
    const Case cases[] = {
        {nullptr, nullptr, 52, SNMP_END_OF_WALK},
        {"error 1.3.6.1.2.1.2.2.1.2.5 genErr", "error 1.3.6.1.2.1.2.2.1.2.5 off", 4, SNMP_ERROR_STATUS},
        {"drop under 1.3.6.1.2.1.2.2.1.2.5", "drop off", 5, SNMP_NO_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault ? c.fault : "no fault");
        if (c.fault) {
            ASSERT_TRUE(sim.command(c.fault));
        }
        CSnmpV1 request(SNMP_PDU_GETNEXT);
        request.setCommunity(SimulatedSwitch::kReadCommunity);
        request.addValue(kIfDescrColumn, SNMP_TYPE_NULL, nullptr);
        WalkOutcome sync = SyncWalk(request, sim.agent(), 100, 500);
        EXPECT_EQ(sync.indexes.size(), c.rows);
        EXPECT_EQ(sync.end, c.end);
        request.clearVarBindList();
        request.addValue(kIfDescrColumn, SNMP_TYPE_NULL, nullptr);
        WalkOutcome async = AsyncWalk(request, sim.agent(), 100, 500);
        EXPECT_EQ(async.indexes.size(), c.rows);
        EXPECT_EQ(async.end, c.end);
        if (c.undo) {
            ASSERT_TRUE(sim.command(c.undo));
        }
    }
}

// Catches a multi-column walk that runs on when one column is exhausted
// before the others (its "row" would hold a value of the next column): the
// walk ends with -2 after the last complete row.
TEST(SnmpWalkFaults, WalkEndsWhenOneColumnRunsOut)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(sim.command("unset 1.3.6.1.2.1.2.2.1.3.52"));
    CSnmpV1 request(SNMP_PDU_GETNEXT);
    request.setCommunity(SimulatedSwitch::kReadCommunity);
    request.addValue(kIfDescrColumn, SNMP_TYPE_NULL, nullptr);
    request.addValue("1.3.6.1.2.1.2.2.1.3", SNMP_TYPE_NULL, nullptr);
    WalkOutcome sync = SyncWalk(request, sim.agent(), 100, 2000);
    EXPECT_EQ(sync.indexes.size(), 51u);
    EXPECT_EQ(sync.end, SNMP_END_OF_WALK);
}

// Catches value texts rendered wrongly at the edges of their types: the
// sign of INTEGER, the full unsigned range of Gauge32, Counter32, TimeTicks
// and Counter64, an empty octet string (a text, not "no value") and octets
// holding zeros (all of them as bytes).
TEST(SnmpWalkFaults, ValueTextsAtTheEdgesOfTheirTypes)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    struct Case {
        const char* type;
        const char* value;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"i", "-5", "-5"},
        {"i", "-2147483648", "-2147483648"},
        {"i", "2147483647", "2147483647"},
        {"u", "4294967295", "4294967295"},
        {"c", "4294967295", "4294967295"},
        {"t", "4294967295", "4294967295"},
        {"C", "18446744073709551615", "18446744073709551615"},
        {"a", "10.0.200.255", "10.0.200.255"},
        {"o", "1.3.6.1.4.1.32473.0.4294967295", "1.3.6.1.4.1.32473.0.4294967295"},
        {"x", "\"\"", ""},
        {"x", "00410042", std::string("\0A\0B", 4)},
    };
    const SimUser& user = SimulatedSwitch::Users().front();   // no authentication
    CSnmpV3 request(SNMP_PDU_GET);
    ApplyV3(request, {user.name, 0, 0, "", ""});
    std::vector<std::string> oids;
    for (size_t i = 0; i < cases.size(); ++i) {
        oids.push_back("1.3.6.1.4.1.32473.10.126.4.1.250." + std::to_string(i + 1) + ".0");
        ASSERT_TRUE(sim.command("set " + oids.back() + " " + cases[i].type + " " + cases[i].value)) << cases[i].value;
        request.addValue(oids.back().c_str(), SNMP_TYPE_NULL, nullptr);
    }
    CSnmp* raw = nullptr;
    ASSERT_EQ(request.send(sim.agent().c_str(), raw, 3000), 0);
    std::unique_ptr<CSnmp> resp(raw);
    ASSERT_EQ(resp->getVarBindCount(), int(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].value);
        char* oid = nullptr;
        unsigned char* data = nullptr;
        int length = -1;
        ASSERT_EQ(resp->getValueBytes(int(i), &oid, &data, &length), 0);
        EXPECT_EQ(oid, oids[i]);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size_t(length)), cases[i].text);
        if (cases[i].text.find('\0') == std::string::npos) {
            EXPECT_EQ(ValueText(resp.get(), int(i)), cases[i].text);
        }
    }
}

namespace {

bool Under(const Oid& column, const Oid& oid)
{
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}

// A column walk, synchronously: every (column, index) it delivers, in order.
struct ColumnWalkOutcome {
    std::vector<std::pair<int, std::string>> cells;
    int end = 1;
};

ColumnWalkOutcome SyncColumnWalk(CSnmp& request, const std::string& address, int cap = 50)
{
    CSnmpTable table(&request);
    table.setColumnWalk(true);
    ColumnWalkOutcome out;
    CSnmp* resp = nullptr;
    for (int step = 0; step < cap && (out.end = table.getNext(address.c_str(), resp, 2000)) == 0; ++step) {
        for (int i = 0; i < resp->getVarBindCount(); ++i) {
            char* index = nullptr;
            table.getIndex(i, resp, &index);
            out.cells.emplace_back(table.getColumn(i, resp), index ? index : "<none>");
        }
        delete resp;
    }
    return out;
}

} // namespace

// Catches a column walk that shifts cells or loops: each column moves on by
// itself (a short column ends early, a hole is simply skipped), and a column
// whose OIDs go back or stand still fails the walk instead of looping or
// passing for a complete table.
TEST(SnmpWalkFaults, ColumnWalkKeepsColumnsApartAndFailsOnDisorder)
{
    const Oid a = {1, 3, 6, 1, 4, 1, 32473, 99, 1, 2};
    const Oid b = {1, 3, 6, 1, 4, 1, 32473, 99, 1, 3};
    const Oid after = {1, 3, 6, 1, 4, 1, 32473, 99, 1, 4, 1};
    // Column a has rows 1, 2, 3; column b only row 2.
    const std::vector<Oid> universe = {Child(a, 1), Child(a, 2), Child(a, 3), Child(b, 2), after};
    const auto next = [universe](const Oid& requested) {
        for (const Oid& o : universe)
            if (requested < o)
                return o;
        return universe.back();
    };
    struct Case {
        const char* name;
        ScriptedAgent::Script script;
        std::vector<std::pair<int, std::string>> cells;
        int end;
    };
    const std::vector<Case> cases = {
        {"sparse", [next](const std::vector<Oid>& req) {
             std::vector<std::pair<Oid, std::string>> out;
             for (const Oid& o : req)
                 out.push_back({next(o), "x"});
             return out;
         },
         {{0, ".1"}, {1, ".2"}, {0, ".2"}, {0, ".3"}}, SNMP_END_OF_WALK},
        {"first column goes back", [next, a](const std::vector<Oid>& req) {
             std::vector<std::pair<Oid, std::string>> out;
             for (const Oid& o : req)
                 out.push_back({Under(a, o) ? Child(a, 0) : next(o), "x"});
             return out;
         },
         {{0, ".1"}, {1, ".2"}}, SNMP_BAD_ANSWER},
        {"second column stands still", [next, b](const std::vector<Oid>& req) {
             std::vector<std::pair<Oid, std::string>> out;
             for (const Oid& o : req)
                 out.push_back({o == Child(b, 2) ? o : next(o), "x"});
             return out;
         },
         {{0, ".1"}, {1, ".2"}}, SNMP_BAD_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedAgent agent(c.script);
        CSnmpV1 request(SNMP_PDU_GETNEXT);
        PrepareWalk(request, "public", {a, b});
        const ColumnWalkOutcome walk = SyncColumnWalk(request, agent.address());
        EXPECT_EQ(walk.cells, c.cells);
        EXPECT_EQ(walk.end, c.end);
    }
}
