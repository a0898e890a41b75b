// Requests and responses over real SNMP against a private snmpd.

#include "CSnmp.h"
#include "CSnmp4w.h"
#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"
#include "SnmpdAgent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class SnmpRequestTest : public SnmpdSuite
{
protected:
    // One v1 get of `oids`; returns the status and keeps the response.
    int getV1(std::initializer_list<const char*> oids, std::unique_ptr<CSnmp>& out, const char* community = SnmpdAgent::kReadCommunity)
    {
        CSnmpV1 req(SNMP_PDU_GET);
        req.setCommunity(community);
        for (const char* oid : oids)
            EXPECT_EQ(req.addValue(oid, SNMP_TYPE_NULL, nullptr), 0);
        CSnmp* resp = nullptr;
        int rc = req.send(addr().c_str(), resp, 3000);
        out.reset(resp);
        return rc;
    }
};

// Catches malformed input reaching the wire (or a crash in the encoder):
// every bad OID or value is refused at once and leaves the request as it was.
TEST_F(SnmpRequestTest, AddValueRefusesMalformedInput)
{
    struct Case { const char* oid; int type; const char* value; };
    const Case bad[] = {
        {"", SNMP_TYPE_NULL, nullptr},
        {".", SNMP_TYPE_NULL, nullptr},
        {"1..3", SNMP_TYPE_NULL, nullptr},
        {"1.3.", SNMP_TYPE_NULL, nullptr},
        {"1.3.a", SNMP_TYPE_NULL, nullptr},
        {"1.3.4294967296", SNMP_TYPE_NULL, nullptr},
        {nullptr, SNMP_TYPE_NULL, nullptr},
        {kSysContact, SNMP_TYPE_INTEGER, "abc"},
        {kSysContact, SNMP_TYPE_INTEGER, "2147483648"},
        {kSysContact, SNMP_TYPE_INTEGER, nullptr},
        {kSysContact, SNMP_TYPE_UNSIGNED, "-1"},
        {kSysContact, SNMP_TYPE_UNSIGNED, "4294967296"},
        {kSysContact, SNMP_TYPE_IPADDRESS, "1.2.3"},
        {kSysContact, SNMP_TYPE_OID, "1.x"},
        {kSysContact, 7, "1"},
    };
    CSnmpV1 req(SNMP_PDU_SET);
    for (const Case& c : bad) {
        EXPECT_EQ(req.addValue(c.oid, c.type, c.value), SNMP_BAD_REQUEST) << (c.oid ? c.oid : "null") << " type " << c.type;
        EXPECT_EQ(req.getVarBindCount(), 0);
    }
    const Case good[] = {
        {".1.3.6.1.2.1.1.4.0", SNMP_TYPE_OCTETS, "x"},
        {kSysContact, SNMP_TYPE_INTEGER, "-2147483648"},
        {kSysContact, SNMP_TYPE_UNSIGNED, "4294967295"},
        {kSysContact, SNMP_TYPE_IPADDRESS, "10.0.0.1"},
        {kSysContact, SNMP_TYPE_OID, "1.3.6.1"},
    };
    for (const Case& c : good)
        EXPECT_EQ(req.addValue(c.oid, c.type, c.value), 0) << c.oid << " type " << c.type;
    EXPECT_EQ(req.getVarBindCount(), 5);
    // The octets form of a set item: "1" with length 1 is the integer 1.
    EXPECT_EQ(req.addValue(kSysContact, SNMP_TYPE_INTEGER, "1", 1), 0);
}

// Catches a get that loses values or renders them wrongly: each type comes
// back as its bare text, integers unsigned where the type is.
TEST_F(SnmpRequestTest, GetGivesBareValueTexts)
{
    std::unique_ptr<CSnmp> resp;
    ASSERT_EQ(getV1({kSysDescr, kSysObjectId, kSysUpTime, kIfNumber, "1.3.6.1.2.1.4.20.1.1.127.0.0.1"}, resp), 0);
    int status = -1, index = -1;
    resp->getErrorStatus(&status, &index);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(resp->getVarBindCount(), 5);
    char* oid = nullptr;
    ASSERT_EQ(resp->getOid(0, &oid), 0);
    EXPECT_STREQ(oid, kSysDescr);
    EXPECT_NE(ValueText(resp.get(), 0).find("Linux"), std::string::npos);
    EXPECT_EQ(resp->getValueType(0), SNMP_TYPE_OCTETS);
    EXPECT_EQ(ValueText(resp.get(), 1), "1.3.6.1.4.1.8072.3.2.10");
    EXPECT_EQ(resp->getValueType(1), SNMP_TYPE_OID);
    EXPECT_EQ(resp->getValueType(2), 0x43); // TimeTicks: its BER tag
    EXPECT_TRUE(IsDecimal(ValueText(resp.get(), 2)));
    EXPECT_EQ(resp->getValueType(3), SNMP_TYPE_INTEGER);
    EXPECT_GT(std::stoi(ValueText(resp.get(), 3)), 0);
    EXPECT_EQ(ValueText(resp.get(), 4), "127.0.0.1");
    EXPECT_EQ(resp->getValueType(4), SNMP_TYPE_IPADDRESS);
    // A bad index is refused, not read out of bounds.
    char* value = nullptr;
    EXPECT_EQ(resp->getValueText(5, &oid, &value), -1);
    EXPECT_EQ(resp->getValueText(-1, &oid, &value), -1);
}

// Catches Counter64 truncated to 32 bits and exception values handed out as
// texts: noSuchObject and noSuchInstance give no text at all.
TEST_F(SnmpRequestTest, V3GetGivesCounter64AndNoTextForExceptions)
{
    CSnmpV3 req(SNMP_PDU_GET);
    ApplyV3(req, {SnmpdAgent::kNoAuthUser, 0, 0, "", ""});
    req.addValue("1.3.6.1.2.1.31.1.1.1.6.1", SNMP_TYPE_NULL, nullptr);  // ifHCInOctets.1
    req.addValue("1.3.6.1.2.1.1.99.0", SNMP_TYPE_NULL, nullptr);        // no such object
    req.addValue("1.3.6.1.2.1.1.1.7", SNMP_TYPE_NULL, nullptr);         // no such instance
    CSnmp* raw = nullptr;
    ASSERT_EQ(req.send(addr().c_str(), raw, 3000), 0);
    std::unique_ptr<CSnmp> resp(raw);
    ASSERT_EQ(resp->getVarBindCount(), 3);
    EXPECT_EQ(resp->getValueType(0), 0x46);
    EXPECT_TRUE(IsDecimal(ValueText(resp.get(), 0)));
    for (int i : {1, 2}) {
        EXPECT_EQ(ValueText(resp.get(), i), "<null>");
        EXPECT_EQ(resp->getValueType(i), 0);
        unsigned char* data = reinterpret_cast<unsigned char*>(1);
        int length = -1;
        char* oid = nullptr;
        EXPECT_EQ(resp->getValueBytes(i, &oid, &data, &length), 0);
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(length, 0);
    }
}

// Catches octets cut at a 0x00 byte: snmpd's engine ID (enterprise 8072 in
// network order) holds zero octets, and all of them arrive.
TEST_F(SnmpRequestTest, BinaryOctetsSurviveZeroBytes)
{
    std::unique_ptr<CSnmp> resp;
    ASSERT_EQ(getV1({"1.3.6.1.6.3.10.2.1.1.0"}, resp), 0);
    char* oid = nullptr;
    unsigned char* data = nullptr;
    int length = 0;
    ASSERT_EQ(resp->getValueBytes(0, &oid, &data, &length), 0);
    ASSERT_GE(length, 5);
    const unsigned char enterprise[] = {0x80, 0x00, 0x1f, 0x88};
    EXPECT_EQ(memcmp(data, enterprise, 4), 0);
    char* text = nullptr;
    ASSERT_EQ(resp->getValueText(0, &oid, &text), 0);
    EXPECT_EQ(strlen(text), 1u); // the text form stops at the first zero octet
}

// Catches a set that is not written or written with the wrong community:
// the value read back is the value written, given as octets with a length.
TEST_F(SnmpRequestTest, SetWritesAndReadsBack)
{
    const unsigned char value[] = {'r', 'a', 'c', 'k', ' ', '7', '/', 'B'};
    CSnmpV1 set(SNMP_PDU_SET);
    set.setCommunity(SnmpdAgent::kWriteCommunity);
    ASSERT_EQ(set.addValue(kSysLocation, SNMP_TYPE_OCTETS, value, int(sizeof(value))), 0);
    CSnmp* raw = nullptr;
    ASSERT_EQ(set.send(addr().c_str(), raw, 3000), 0);
    std::unique_ptr<CSnmp> answer(raw);
    int status = -1, index = -1;
    answer->getErrorStatus(&status, &index);
    ASSERT_EQ(status, 0);

    std::unique_ptr<CSnmp> resp;
    ASSERT_EQ(getV1({kSysLocation}, resp), 0);
    char* oid = nullptr;
    unsigned char* data = nullptr;
    int length = 0;
    ASSERT_EQ(resp->getValueBytes(0, &oid, &data, &length), 0);
    ASSERT_EQ(length, int(sizeof(value)));
    EXPECT_EQ(memcmp(data, value, sizeof(value)), 0);
    char* text = nullptr;
    ASSERT_EQ(resp->getValueText(0, &oid, &text), 0);
    EXPECT_STREQ(text, "rack 7/B");
}

// Catches an error status or index lost on the way: a set of the wrong type
// is answered with an error whose index names the offending varbind, for
// every type code the program writes with (each must also encode).
TEST_F(SnmpRequestTest, ErrorStatusAndIndexAreReadable)
{
    struct Case { int type; const char* value; };
    const Case cases[] = {{SNMP_TYPE_INTEGER, "5"}, {SNMP_TYPE_UNSIGNED, "7"}, {SNMP_TYPE_IPADDRESS, "10.1.2.3"}, {SNMP_TYPE_OID, "1.3.6.1.4"}};
    for (const Case& c : cases) {
        CSnmpV1 set(SNMP_PDU_SET);
        set.setCommunity(SnmpdAgent::kWriteCommunity);
        set.addValue(kSysName, SNMP_TYPE_OCTETS, "fine");
        set.addValue(kSysContact, c.type, c.value);
        CSnmp* raw = nullptr;
        ASSERT_EQ(set.send(addr().c_str(), raw, 3000), 0) << c.type;
        std::unique_ptr<CSnmp> resp(raw);
        int status = 0, index = 0;
        resp->getErrorStatus(&status, &index);
        EXPECT_NE(status, 0) << c.type;
        EXPECT_EQ(index, 2) << c.type;
    }
}

struct V3Case {
    const char* name;
    V3Credentials cred;
};

void PrintTo(const V3Case& c, std::ostream* os)
{
    *os << c.name;
}

class SnmpV3Test : public SnmpRequestTest, public ::testing::WithParamInterface<V3Case>
{
};

// Catches a security combination that does not work end to end: every
// user and protocol the program offers reads, and (with auth) writes.
TEST_P(SnmpV3Test, GetAndSetWork)
{
    const V3Credentials& c = GetParam().cred;
    CSnmpV3 get(SNMP_PDU_GET);
    ApplyV3(get, c);
    get.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp* raw = nullptr;
    int rc = get.send(addr().c_str(), raw, 3000);
    ASSERT_EQ(rc, 0) << SnmpResultText(rc);
    std::unique_ptr<CSnmp> resp(raw);
    EXPECT_NE(ValueText(resp.get(), 0), "<null>");
    if (c.flags == 0)
        return; // read-only user
    const std::string contact = std::string("ops-") + c.user;
    CSnmpV3 set(SNMP_PDU_SET);
    ApplyV3(set, c);
    set.addValue(kSysContact, SNMP_TYPE_OCTETS, contact.c_str());
    ASSERT_EQ(set.send(addr().c_str(), raw, 3000), 0);
    resp.reset(raw);
    int status = -1, index = -1;
    resp->getErrorStatus(&status, &index);
    EXPECT_EQ(status, 0);
    get.clearVarBindList();
    get.addValue(kSysContact, SNMP_TYPE_NULL, nullptr);
    ASSERT_EQ(get.send(addr().c_str(), raw, 3000), 0);
    resp.reset(raw);
    EXPECT_EQ(ValueText(resp.get(), 0), contact);
}

INSTANTIATE_TEST_SUITE_P(Users, SnmpV3Test,
    ::testing::Values(
        V3Case{"NoAuth", {SnmpdAgent::kNoAuthUser, 0, 0, "", ""}},
        V3Case{"Md5", {SnmpdAgent::kMd5User, 1, 0, SnmpdAgent::kAuthPassword, ""}},
        V3Case{"Sha", {SnmpdAgent::kShaUser, 1, 1, SnmpdAgent::kAuthPassword, ""}},
        V3Case{"Md5Des", {SnmpdAgent::kMd5DesUser, 3, 0, SnmpdAgent::kAuthPassword, SnmpdAgent::kPrivPassword}},
        V3Case{"ShaDes", {SnmpdAgent::kShaDesUser, 3, 1, SnmpdAgent::kAuthPassword, SnmpdAgent::kPrivPassword}}),
    [](const ::testing::TestParamInfo<V3Case>& info) { return std::string(info.param.name); });

int sendV3(const std::string& address, const V3Credentials& c, CSnmpV3* reuse = nullptr, unsigned long timeout = 3000)
{
    CSnmpV3 own(SNMP_PDU_GET);
    CSnmpV3& req = reuse ? *reuse : own;
    ApplyV3(req, c);
    req.clearVarBindList();
    req.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp* raw = nullptr;
    int rc = req.send(address.c_str(), raw, timeout);
    delete raw;
    return rc;
}

// Catches net-snmp's process-wide user cache keeping the first key: a wrong
// password fails as an authentication failure, the right one works right
// after (same object and a new one), and a wrong one fails again afterwards.
TEST_F(SnmpRequestTest, ChangedPasswordTakesEffect)
{
    const V3Credentials right{SnmpdAgent::kMd5User, 1, 0, SnmpdAgent::kAuthPassword, ""};
    const V3Credentials wrong{SnmpdAgent::kMd5User, 1, 0, "notthepassword", ""};
    CSnmpV3 same(SNMP_PDU_GET);
    EXPECT_EQ(sendV3(addr(), wrong, &same), SNMP_AUTH_FAILURE);
    EXPECT_EQ(sendV3(addr(), right, &same), 0);
    EXPECT_EQ(sendV3(addr(), wrong), SNMP_AUTH_FAILURE);
    EXPECT_EQ(sendV3(addr(), right), 0);
    EXPECT_EQ(sendV3(addr(), wrong, &same), SNMP_AUTH_FAILURE);
    EXPECT_EQ(sendV3(addr(), right, &same), 0);

    // A wrong privacy password: the agent decrypts garbage and drops it
    // silently, so all that can be said is that no answer came.
    const V3Credentials privRight{SnmpdAgent::kShaDesUser, 3, 1, SnmpdAgent::kAuthPassword, SnmpdAgent::kPrivPassword};
    const V3Credentials privWrong{SnmpdAgent::kShaDesUser, 3, 1, SnmpdAgent::kAuthPassword, "wrongprivacy"};
    EXPECT_EQ(sendV3(addr(), privWrong, nullptr, 500), SNMP_NO_ANSWER);
    EXPECT_EQ(sendV3(addr(), privRight), 0);
    // The wrong protocol is an authentication failure too.
    EXPECT_EQ(sendV3(addr(), {SnmpdAgent::kShaUser, 1, 0, SnmpdAgent::kAuthPassword, ""}), SNMP_AUTH_FAILURE);
    EXPECT_EQ(sendV3(addr(), {SnmpdAgent::kShaUser, 1, 1, SnmpdAgent::kAuthPassword, ""}), 0);
}

// Catches failures that all look alike (or a crash, or a silent time-out):
// unknown users and short passphrases are reported as such.
TEST_F(SnmpRequestTest, V3FailuresAreToldApart)
{
    struct Case { V3Credentials cred; int expected; };
    const Case cases[] = {
        {{"nobodyHere", 0, 0, "", ""}, SNMP_UNKNOWN_USER},
        {{"nobodyHere", 1, 0, SnmpdAgent::kAuthPassword, ""}, SNMP_UNKNOWN_USER},
        {{SnmpdAgent::kMd5User, 1, 0, "short7!", ""}, SNMP_BAD_PASSPHRASE},
        {{SnmpdAgent::kMd5DesUser, 3, 0, SnmpdAgent::kAuthPassword, "tiny"}, SNMP_BAD_PASSPHRASE},
        {{SnmpdAgent::kMd5User, 1, 0, "", ""}, SNMP_BAD_PASSPHRASE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sendV3(addr(), c.cred), c.expected) << c.cred.user << " " << c.cred.authPwd;

    // The asynchronous forms refuse a short passphrase at once, no callback.
    CSnmpV3 req(SNMP_PDU_GETNEXT);
    ApplyV3(req, {SnmpdAgent::kMd5User, 1, 0, "short", ""});
    req.addValue(kIfIndexColumn, SNMP_TYPE_NULL, nullptr);
    static std::atomic<int> calls{0};
    auto cb = [](CSnmp* r, int, void*, int) -> int { delete r; ++calls; return 0; };
    CSnmpTable table(&req);
    EXPECT_EQ(table.getNextAsync(addr().c_str(), cb, nullptr, 2000), SNMP_BAD_PASSPHRASE);
    CSnmp4w sender(&req);
    EXPECT_EQ(sender.sendAsync(addr().c_str(), cb, nullptr, nullptr, 2000), SNMP_BAD_PASSPHRASE);
    SnmpProcessCallbacks(200);
    EXPECT_EQ(calls.load(), 0);
}

// Catches requests sent without varbinds or to unusable addresses.
TEST_F(SnmpRequestTest, BadRequestsAndAddressesAreRefused)
{
    SilentAgent silent;
    CSnmpV1 empty(SNMP_PDU_GET);
    CSnmp* raw = reinterpret_cast<CSnmp*>(1);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(empty.send(silent.address().c_str(), raw, 3000), SNMP_BAD_REQUEST);
    EXPECT_EQ(raw, nullptr);
    EXPECT_LT(ElapsedMs(start), 1000) << "nothing may be sent without varbinds";

    CSnmpV1 get(SNMP_PDU_GET);
    get.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    for (const char* bad : {"", "999.1.1.1", "127.0.0.1:0", "127.0.0.1:70000", "127.0.0.1:", "switch.local", "127.0.0.1:16x"})
        EXPECT_EQ(get.send(bad, raw, 1000), SNMP_BAD_ADDRESS) << bad;
    EXPECT_EQ(get.send(nullptr, raw, 1000), SNMP_BAD_ADDRESS);
}

// Catches the default port being ignored: an address without a port goes
// to SetSnmpDefaultPort's port.
TEST_F(SnmpRequestTest, AddressWithoutPortUsesDefaultPort)
{
    SetSnmpDefaultPort(Agent()->port());
    CSnmpV1 get(SNMP_PDU_GET);
    get.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp* raw = nullptr;
    EXPECT_EQ(get.send("127.0.0.1", raw, 3000), 0);
    delete raw;
    SetSnmpDefaultPort(161);
    EXPECT_EQ(GetSnmpDefaultPort(), 161);
}

// Catches retries and wrong time-outs: a silent agent is reported as no
// answer after the time-out, not before it and not much after (v1, and v3
// whose engine discovery goes unanswered); 0 means the library default.
TEST_F(SnmpRequestTest, SilentAgentTimesOutExactly)
{
    SilentAgent silent;
    struct Case { int version; unsigned long timeout; int expectedMs; };
    SetSnmpTimeout(400);
    const Case cases[] = {{1, 300, 300}, {3, 300, 300}, {1, 0, 400}};
    for (const Case& c : cases) {
        std::unique_ptr<CSnmp> req;
        if (c.version == 3) {
            auto v3 = std::make_unique<CSnmpV3>(SNMP_PDU_GET);
            ApplyV3(*v3, {SnmpdAgent::kMd5User, 1, 0, SnmpdAgent::kAuthPassword, ""});
            req = std::move(v3);
        } else {
            req = std::make_unique<CSnmpV1>(SNMP_PDU_GET);
        }
        req->addValue(kSysName, SNMP_TYPE_NULL, nullptr);
        CSnmp* raw = nullptr;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(req->send(silent.address().c_str(), raw, c.timeout), SNMP_NO_ANSWER);
        long long ms = ElapsedMs(start);
        EXPECT_GE(ms, c.expectedMs) << "v" << c.version;
        EXPECT_LT(ms, c.expectedMs + 1500) << "v" << c.version;
        EXPECT_EQ(raw, nullptr);
    }
    SetSnmpTimeout(5000);
}

// Catches an engine that serves one request at a time: while a synchronous
// request waits for a silent agent, other requests are answered.
TEST_F(SnmpRequestTest, EngineServesOthersWhileOneWaits)
{
    SilentAgent silent;
    std::atomic<bool> silentDone{false};
    std::thread waiter([&] {
        CSnmpV1 req(SNMP_PDU_GET);
        req.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
        CSnmp* raw = nullptr;
        EXPECT_EQ(req.send(silent.address().c_str(), raw, 3000), SNMP_NO_ANSWER);
        silentDone = true;
    });
    ASSERT_TRUE(silent.WaitForRequest(5000)) << "the waiting request never left";
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<CSnmp> resp;
        EXPECT_EQ(getV1({kSysName}, resp), 0);
    }
    EXPECT_FALSE(silentDone.load()) << "the gets had to wait for the silent agent";
    waiter.join();
}

// Catches ids that repeat or that differ from the callback's: ids grow
// across objects and kinds of send, and the callback receives the id read
// right after the call.
TEST_F(SnmpRequestTest, RequestIdsIncreaseAcrossObjects)
{
    CSnmpV1 a(SNMP_PDU_GET), b(SNMP_PDU_GETNEXT), c(SNMP_PDU_GET);
    for (CSnmpV1* r : {&a, &b, &c})
        r->addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp* raw = nullptr;
    ASSERT_EQ(a.send(addr().c_str(), raw, 3000), 0);
    delete raw;
    const int first = a.getRequestId();
    EXPECT_GT(first, 0);

    static std::vector<int> seen;
    seen.clear();
    auto cb = [](CSnmp* r, int id, void*, int) -> int { delete r; seen.push_back(id); return 0; };
    CSnmpTable table(&b);
    ASSERT_EQ(table.getNextAsync(addr().c_str(), cb, nullptr, 3000), 0);
    const int second = b.getRequestId();
    CSnmp4w sender(&c);
    ASSERT_EQ(sender.sendAsync(addr().c_str(), cb, nullptr, nullptr, 3000), 0);
    const int third = c.getRequestId();
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    for (int i = 0; i < 50 && seen.size() < 2; ++i)
        SnmpProcessCallbacks(100);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(std::find(seen.begin(), seen.end(), second), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), third), seen.end());
}

} // namespace
