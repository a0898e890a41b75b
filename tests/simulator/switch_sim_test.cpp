// The simulated switch over real SNMP, driven by net-snmp's command-line tools.

#include "SimulatedSwitch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

const std::string kSysDescr = "1.3.6.1.2.1.1.1.0";
const std::string kSysUpTime = "1.3.6.1.2.1.1.3.0";
const std::string kSysName = "1.3.6.1.2.1.1.5.0";
const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kReboot = kPrivate + ".1.10.0";
const std::string kSave = kPrivate + ".1.11.0";
const std::string kVlan = kPrivate + ".7.6.1";   // .column.vid
const std::string kTrunk = kPrivate + ".8.1.3.1.2";
const std::string kFdb = "1.3.6.1.2.1.17.7.1.2.2.1";

using Args = std::vector<std::string>;

Args V1(const SimulatedSwitch& sim, const char* community, const char* timeout = "1")
{
    return {"-v1", "-c", community, "-t", timeout, "-r", "0", sim.agent()};
}

Args V2(const SimulatedSwitch& sim, const char* community, const char* timeout = "1")
{
    return {"-v2c", "-c", community, "-t", timeout, "-r", "0", sim.agent()};
}

Args V3(const SimulatedSwitch& sim, const SimUser& u, const char* timeout = "1")
{
    Args a = {"-v3", "-u", u.name, "-l", u.level, "-t", timeout, "-r", "0"};
    if (u.authProtocol)
        a.insert(a.end(), {"-a", u.authProtocol, "-A", u.authPass});
    if (u.privProtocol)
        a.insert(a.end(), {"-x", u.privProtocol, "-X", u.privPass});
    a.push_back(sim.agent());
    return a;
}

ToolResult Tool(const char* tool, Args args, const Args& rest)
{
    args.insert(args.end(), rest.begin(), rest.end());
    return RunSnmpTool(tool, args);
}

// The last request the switch logged.
SimRequest Last(const SimulatedSwitch& sim)
{
    auto all = sim.requests();
    return all.empty() ? SimRequest{} : all.back();
}

size_t CountLines(const std::string& text, const std::string& needle)
{
    size_t n = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1))
        ++n;
    return n;
}

// ------------------------------------------------------------------ reading

using SwitchSimRead = SimulatedSwitchTest;

// Catches a switch that does not speak v1 or v2c, or serves wrong model data.
TEST_F(SwitchSimRead, GetAnswersV1AndV2c)
{
    for (const Args& cred : {V1(sim, SimulatedSwitch::kReadCommunity), V2(sim, SimulatedSwitch::kReadCommunity)}) {
        ToolResult r = Tool("snmpget", cred, {kSysDescr, kVlan + ".1.1"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("PQS-4400-52"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("\"default\""), std::string::npos) << r.out;
    }
}

// Catches missing objects answered with a value, or v1 answered with v2
// exception values (a v1 manager needs noSuchName).
TEST_F(SwitchSimRead, MissingObjectsAnswerAsEachVersionMust)
{
    ToolResult v2 = Tool("snmpget", V2(sim, SimulatedSwitch::kReadCommunity), {"1.3.6.1.2.1.1.9.0", "1.3.6.1.2.1.1.1.1"});
    EXPECT_NE(v2.out.find("No Such Object"), std::string::npos) << v2.out;
    EXPECT_NE(v2.out.find("No Such Instance"), std::string::npos) << v2.out;

    sim.clearLog();
    ToolResult v1 = Tool("snmpget", V1(sim, SimulatedSwitch::kReadCommunity), {kSysDescr, "1.3.6.1.2.1.1.9.0"});
    EXPECT_NE(v1.err.find("noSuchName"), std::string::npos) << v1.err;
    // snmpget retries without the failed varbind: the first request is ours.
    EXPECT_EQ(sim.requests().at(0).errorIndex, 2);
}

// Catches a GET-NEXT that skips or repeats rows, or a GETBULK that differs
// from GET-NEXT: the forwarding table has 1000 rows of three columns.
TEST_F(SwitchSimRead, WalkAndBulkWalkSeeTheWholeForwardingTable)
{
    ToolResult walk = Tool("snmpwalk", V2(sim, SimulatedSwitch::kReadCommunity, "5"), {kFdb});
    ToolResult bulk = Tool("snmpbulkwalk", V2(sim, SimulatedSwitch::kReadCommunity, "5"), {kFdb});
    ASSERT_EQ(walk.exitCode, 0) << walk.err;
    EXPECT_EQ(CountLines(walk.out, "." + kFdb + ".2."), 1000u);
    EXPECT_EQ(CountLines(walk.out, "\n"), 3000u);
    EXPECT_EQ(walk.out, bulk.out);
    EXPECT_EQ(sim.requests().back().pdu, "getbulk");
}

// Catches a trunk table whose bitmaps do not follow the port bitmap rule
// (bit 7 of byte 0 is port 1).
TEST_F(SwitchSimRead, TrunkTableHasLinkOfPortsOneAndTwoAndAnEmptyLink)
{
    EXPECT_EQ(sim.value(kTrunk + ".1"), "x c000000000000000");
    EXPECT_EQ(sim.value(kTrunk + ".2"), "x 0000000000000000");
}

// Catches a broken v3 set-up: each default user reads with its own
// security level and protocols.
TEST_F(SwitchSimRead, EveryDefaultV3UserReads)
{
    for (const SimUser& u : SimulatedSwitch::Users()) {
        ToolResult r = Tool("snmpget", V3(sim, u), {kSysName});
        EXPECT_EQ(r.exitCode, 0) << u.name << ": " << r.err;
        EXPECT_NE(r.out.find("PQS-4400-52"), std::string::npos) << u.name;
        SimRequest req = Last(sim);
        EXPECT_EQ(req.user, u.name);
        EXPECT_EQ(req.level, u.level);
    }
}

// Catches an agent that answers a wrong community or a wrong v3 key.
TEST_F(SwitchSimRead, WrongCredentialsGetNoValue)
{
    ToolResult community = Tool("snmpget", V2(sim, "wrong", "0.3"), {kSysDescr});
    EXPECT_NE(community.exitCode, 0);
    EXPECT_NE(community.err.find("Timeout"), std::string::npos) << community.err;
    EXPECT_FALSE(Last(sim).answered);

    SimUser bad = SimulatedSwitch::Users()[2];
    bad.authPass = "not-the-password";
    ToolResult key = Tool("snmpget", V3(sim, bad), {kSysDescr});
    EXPECT_NE(key.exitCode, 0);
    EXPECT_NE(key.err.find("Authentication failure"), std::string::npos) << key.err;
}

// ------------------------------------------------------------------ writing

using SwitchSimWrite = SimulatedSwitchTest;

// Catches writes that are not stored, or a v3 user with privacy that
// cannot write.
TEST_F(SwitchSimWrite, WriteCommunityAndV3UsersWrite)
{
    ToolResult v1 = Tool("snmpset", V1(sim, SimulatedSwitch::kWriteCommunity), {kSysName, "s", "core-1"});
    EXPECT_EQ(v1.exitCode, 0) << v1.err;
    EXPECT_EQ(sim.value(kSysName), "x 636f72652d31");

    ToolResult v3 = Tool("snmpset", V3(sim, SimulatedSwitch::Users()[4]), {kSysName, "s", "core-2"});
    EXPECT_EQ(v3.exitCode, 0) << v3.err;
    EXPECT_EQ(sim.value(kSysName), "x 636f72652d32");
}

struct Refusal
{
    const char* what;
    const char* version;   // "1", "2c" or "3"
    const char* credential;
    Args varbinds;
    const char* errorName;
    int errorIndex;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.what;
}

class SwitchSimRefusal : public SimulatedSwitchTest, public ::testing::WithParamInterface<Refusal>
{};

// Each refusal a real agent gives, with the status each version must carry
// (v1 maps noAccess, notWritable and noCreation to noSuchName, the value
// errors to badValue). Catches a simulator that stores what it must refuse,
// or answers the wrong status or index.
TEST_P(SwitchSimRefusal, IsAnsweredAndNothingChanges)
{
    const Refusal& c = GetParam();
    Args cred = std::string(c.version) == "1"  ? V1(sim, c.credential)
                : std::string(c.version) == "2c" ? V2(sim, c.credential)
                                                 : V3(sim, SimulatedSwitch::ReadOnlyUser());
    std::string nameBefore = sim.value(kSysName);
    ToolResult r = Tool("snmpset", cred, c.varbinds);
    EXPECT_NE(r.exitCode, 0);
    SimRequest req = Last(sim);
    EXPECT_TRUE(req.answered);
    EXPECT_EQ(req.errorName, c.errorName) << req.line;
    EXPECT_EQ(req.errorIndex, c.errorIndex) << req.line;
    EXPECT_EQ(sim.value(kSysName), nameBefore) << "a refused SET changed sysName";
}

const char* const R = SimulatedSwitch::kReadCommunity;
const char* const W = SimulatedSwitch::kWriteCommunity;

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchSimRefusal,
    ::testing::Values(
        Refusal{"read community v2c", "2c", R, {kSysName, "s", "x"}, "noAccess", 1},
        Refusal{"read community v1", "1", R, {kSysName, "s", "x"}, "noSuchName", 1},
        Refusal{"read-only v3 user", "3", "", {kSysName, "s", "x"}, "noAccess", 1},
        Refusal{"read-only object", "2c", W, {kSysName, "s", "x", kSysDescr, "s", "x"}, "notWritable", 2},
        Refusal{"read-only object v1", "1", W, {kSysDescr, "s", "x"}, "noSuchName", 1},
        Refusal{"wrong type", "2c", W, {kSysName, "i", "3"}, "wrongType", 1},
        Refusal{"wrong type v1", "1", W, {kSysName, "i", "3"}, "badValue", 1},
        Refusal{"out of range", "2c", W, {kSysName, "s", "x", kSave, "i", "7"}, "wrongValue", 2},
        Refusal{"too long", "2c", W, {kSysName, "s", std::string(300, 'a')}, "wrongLength", 1},
        Refusal{"unknown object", "2c", W, {kSysName, "s", "x", "1.3.6.1.2.1.1.99.0", "i", "1"}, "noCreation", 2},
        Refusal{"column of a missing row", "2c", W, {kVlan + ".1.77", "s", "x"}, "noCreation", 1},
        Refusal{"row outside the index range", "2c", W, {kVlan + ".6.4095", "i", "4"}, "noCreation", 1},
        Refusal{"create an existing row", "2c", W, {kSysName, "s", "x", kVlan + ".6.1", "i", "5"}, "inconsistentValue", 2},
        Refusal{"createAndGo without a name", "2c", W, {kVlan + ".6.20", "i", "4"}, "inconsistentValue", 1},
        Refusal{"activate a missing row", "2c", W, {kVlan + ".6.21", "i", "1"}, "inconsistentValue", 1},
        Refusal{"row status notReady", "2c", W, {kVlan + ".6.22", "i", "3"}, "wrongValue", 1}),
    [](const ::testing::TestParamInfo<Refusal>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// The VLAN add sequence: createAndWait, port maps, name, active; then
// destroy. Catches rows that become active too early, columns that outlive
// a destroyed row, and a log that does not keep the exact write order.
TEST_F(SwitchSimWrite, RowStatusLifeCycle)
{
    Args w = V2(sim, W);
    auto set = [&](Args vbs) { return Tool("snmpset", w, vbs).exitCode; };

    ASSERT_EQ(set({kVlan + ".6.10", "i", "5"}), 0);
    EXPECT_EQ(sim.value(kVlan + ".6.10"), "i 3") << "notReady until the name is set";
    EXPECT_NE(set({kVlan + ".6.10", "i", "1"}), 0) << "a notReady row must not become active";
    EXPECT_EQ(Last(sim).errorName, "inconsistentValue");

    ASSERT_EQ(set({kVlan + ".2.10", "x", "C00000000000000000000000"}), 0);
    ASSERT_EQ(set({kVlan + ".4.10", "x", "400000000000000000000000"}), 0);
    ASSERT_EQ(set({kVlan + ".1.10", "s", "ten"}), 0);
    EXPECT_EQ(sim.value(kVlan + ".6.10"), "i 2") << "notInService once complete";
    ASSERT_EQ(set({kVlan + ".6.10", "i", "1"}), 0);
    EXPECT_EQ(sim.value(kVlan + ".6.10"), "i 1");

    ToolResult rows = Tool("snmpwalk", V2(sim, R), {kVlan + ".1"});
    EXPECT_NE(rows.out.find("\"ten\""), std::string::npos) << rows.out;

    ASSERT_EQ(set({kVlan + ".6.10", "i", "6"}), 0);
    ToolResult after = Tool("snmpwalk", V2(sim, R), {kVlan});
    EXPECT_EQ(after.out.find(".10 ="), std::string::npos) << "columns of a destroyed row remain:\n" << after.out;

    std::vector<SimRequest> sets = sim.sets();
    ASSERT_EQ(sets.size(), 7u);
    EXPECT_EQ(sets[1].errorName, "inconsistentValue");
    ASSERT_EQ(sets[2].varbinds.size(), 1u);
    EXPECT_EQ(sets[2].varbinds[0].oid, kVlan + ".2.10");
    EXPECT_EQ(sets[2].varbinds[0].type, "OCTET STRING");
    EXPECT_EQ(sets[2].varbinds[0].hex, "c00000000000000000000000");
    EXPECT_EQ(sets[4].varbinds[0].value, "ten");
    EXPECT_EQ(sets[6].varbinds[0].value, "6");
}

// Catches createAndGo that ignores the columns set in the same request.
TEST_F(SwitchSimWrite, CreateAndGoWithItsColumnsInOneRequest)
{
    ToolResult r = Tool("snmpset", V2(sim, W), {kVlan + ".6.30", "i", "4", kVlan + ".1.30", "s", "thirty"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(sim.value(kVlan + ".6.30"), "i 1");
    EXPECT_EQ(sim.value(kVlan + ".5.30"), "i 2") << "a column with a default gets it";
}

// ------------------------------------------------------------------ the log

using SwitchSimLog = SimulatedSwitchTest;

// Catches a log that loses the version, community, PDU type or values, or
// that writes octets ambiguously.
TEST_F(SwitchSimLog, GetAndSetLines)
{
    Tool("snmpget", V1(sim, R), {kSysDescr, kSysName});
    Tool("snmpset", V2(sim, W), {kSysName, "s", "a\"b", kVlan + ".3.1", "x", "00FF"});

    std::vector<SimRequest> log = sim.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].version, "1");
    EXPECT_EQ(log[0].community, "tundra");
    EXPECT_EQ(log[0].pdu, "get");
    ASSERT_EQ(log[0].varbinds.size(), 2u);
    EXPECT_EQ(log[0].varbinds[1].oid, kSysName);
    EXPECT_EQ(log[0].varbinds[1].type, "NULL");
    EXPECT_EQ(log[0].response[1].value, "PQS-4400-52");

    EXPECT_EQ(log[1].version, "2c");
    EXPECT_EQ(log[1].community, "harbors");
    EXPECT_EQ(log[1].pdu, "set");
    EXPECT_EQ(log[1].errorName, "noError");
    ASSERT_EQ(log[1].varbinds.size(), 2u);
    EXPECT_EQ(log[1].varbinds[0].value, "a\"b");
    EXPECT_EQ(log[1].varbinds[1].value, "00ff") << "non-printable octets are written as hex";
    EXPECT_EQ(log[1].varbinds[1].hex, "00ff");

    sim.clearLog();
    EXPECT_TRUE(sim.requests().empty());
}

// ------------------------------------------------------------------ faults

using SwitchSimFault = SimulatedSwitchTest;

// Catches a drop fault that drops too many or too few answers.
TEST_F(SwitchSimFault, DropNextAnswers)
{
    ASSERT_TRUE(sim.command("drop 2"));
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    EXPECT_EQ(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    std::vector<SimRequest> log = sim.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].dropped);
    EXPECT_TRUE(log[1].dropped);
    EXPECT_TRUE(log[2].answered);
}

// Catches subtree drops that hit other objects, and "drop all" that lets
// answers through.
TEST_F(SwitchSimFault, DropUnderSubtreeAndDropAll)
{
    ASSERT_TRUE(sim.command("drop under " + kVlan));
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kVlan + ".1.1"}).exitCode, 0);
    EXPECT_EQ(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    ASSERT_TRUE(sim.command("drop all"));
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    ASSERT_TRUE(sim.command("drop off"));
    EXPECT_EQ(Tool("snmpget", V2(sim, R, "0.3"), {kVlan + ".1.1"}).exitCode, 0);
}

// Catches a delay that is not applied (a manager time-out shorter than the
// delay must expire; a longer one must get the answer).
TEST_F(SwitchSimFault, DelayAnswers)
{
    ASSERT_TRUE(sim.command("delay 700"));
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Tool("snmpget", V2(sim, R, "3"), {kSysDescr}).exitCode, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(650));
}

// Catches an injected error status that is not answered for its OID, or a
// SET that is partly applied despite it.
TEST_F(SwitchSimFault, ErrorStatusForAnOid)
{
    ASSERT_TRUE(sim.command("error " + kSysName + " genErr"));
    ToolResult get = Tool("snmpget", V2(sim, R), {kSysDescr, kSysName});
    EXPECT_NE(get.err.find("genErr"), std::string::npos) << get.err;
    SimRequest first = sim.requests().at(0);
    EXPECT_EQ(first.errorName, "genErr");
    EXPECT_EQ(first.errorIndex, 2);

    ASSERT_TRUE(sim.command("error " + kVlan + ".1.1 commitFailed"));
    Tool("snmpset", V2(sim, W), {kVlan + ".5.1", "i", "1", kVlan + ".1.1", "s", "x"});
    EXPECT_EQ(Last(sim).errorName, "commitFailed");
    EXPECT_EQ(sim.value(kVlan + ".5.1"), "i 2");

    ASSERT_TRUE(sim.command("error " + kSysName + " off"));
    EXPECT_EQ(Tool("snmpget", V2(sim, R), {kSysName}).exitCode, 0);
}

// Catches a short-string fault that does not shorten the answer (the
// manager's length checks are tested against it).
TEST_F(SwitchSimFault, ShortOctetString)
{
    ASSERT_TRUE(sim.command("short " + kTrunk + ".1 3"));
    Tool("snmpget", V2(sim, R), {kTrunk + ".1"});
    SimRequest r = Last(sim);
    ASSERT_EQ(r.response.size(), 1u);
    EXPECT_EQ(r.response[0].hex, "c00000");
}

// Catches control writes and resets that do not reach what SNMP reads.
TEST_F(SwitchSimFault, SetAnyObjectAndReset)
{
    ASSERT_TRUE(sim.command(std::string("set ") + kPrivate + ".1.13.1.3.5 i 1"));
    ToolResult r = Tool("snmpget", V2(sim, R), {kPrivate + ".1.13.1.3.5"});
    EXPECT_NE(r.out.find("INTEGER: 1"), std::string::npos) << r.out;
    ASSERT_TRUE(sim.command("set 1.3.6.1.4.1.32473.99.0 s \"new object\""));
    EXPECT_EQ(sim.value("1.3.6.1.4.1.32473.99.0"), "x 6e6577206f626a656374");
    EXPECT_EQ(sim.control("frobnicate"), "error: unknown command 'frobnicate'");

    ASSERT_TRUE(sim.command("reset"));
    EXPECT_EQ(sim.value(kPrivate + ".1.13.1.3.5"), "i 2");
    EXPECT_EQ(sim.value("1.3.6.1.4.1.32473.99.0"), "");
    EXPECT_TRUE(sim.requests().empty());
}

// ------------------------------------------------------------ behaviour

// Windows wide enough that a loaded machine still sees the switch silent
// (or busy) right after the set; their end is waited for, not slept over.
SimulatedSwitch::Options QuickSwitch()
{
    SimulatedSwitch::Options o;
    o.rebootSilenceMs = 2500;
    o.saveBusyMs = 2000;
    return o;
}

// Polls `done` until it holds or `ms` pass.
bool WaitUntil(const std::function<bool()>& done, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Catches a reboot that leaves the switch answering, a switch that never
// comes back, and a reboot that keeps unsaved changes.
TEST(SwitchSimBehaviour, RebootIsSilentThenAnswersWithTheSavedConfiguration)
{
    SimulatedSwitch sim(QuickSwitch());
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_EQ(Tool("snmpset", V2(sim, W), {kVlan + ".6.40", "i", "4", kVlan + ".1.40", "s", "saved"}).exitCode, 0);
    ASSERT_EQ(Tool("snmpset", V2(sim, W), {kSave, "i", "1"}).exitCode, 0);
    ASSERT_EQ(Tool("snmpset", V2(sim, W), {kSysName, "s", "unsaved"}).exitCode, 0);

    ToolResult reboot = Tool("snmpset", V2(sim, W), {kReboot, "i", "1"});
    EXPECT_EQ(reboot.exitCode, 0) << "the reboot SET is answered before the switch goes quiet";
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0) << "answered while rebooting";
    EXPECT_TRUE(Last(sim).silent);

    ToolResult back;
    ASSERT_TRUE(WaitUntil([&] {
        back = Tool("snmpget", V2(sim, R, "0.3"), {kSysName, kVlan + ".1.40", kSysUpTime, kReboot});
        return back.exitCode == 0;
    }, 15000)) << "the switch never came back: " << back.err;
    EXPECT_NE(back.out.find("\"PQS-4400-52\""), std::string::npos) << back.out;
    EXPECT_NE(back.out.find("\"saved\""), std::string::npos) << back.out;
    EXPECT_NE(back.out.find("INTEGER: 2"), std::string::npos) << "reboot object reads idle";
}

// Catches a save that does not report itself busy (the reboot guard
// relies on it) or that stays busy forever.
TEST(SwitchSimBehaviour, SaveReadsBusyForAMoment)
{
    SimulatedSwitch sim(QuickSwitch());
    ASSERT_TRUE(sim.running()) << sim.error();
    EXPECT_EQ(sim.value(kSave), "i 2");
    ASSERT_EQ(Tool("snmpset", V2(sim, W), {kSave, "i", "1"}).exitCode, 0);
    EXPECT_EQ(sim.value(kSave), "i 1");
    EXPECT_TRUE(WaitUntil([&] { return sim.value(kSave) == "i 2"; }, 15000)) << sim.value(kSave);
}

// Catches a switch that ignores its --config credentials.
TEST(SwitchSimBehaviour, ConfigReplacesTheDefaultCredentials)
{
    SimulatedSwitch::Options o;
    o.configLines = {"rocommunity private-ro", "rwcommunity private-rw"};
    SimulatedSwitch sim(o);
    ASSERT_TRUE(sim.running()) << sim.error();
    EXPECT_EQ(Tool("snmpset", V2(sim, "private-rw"), {kSysName, "s", "x"}).exitCode, 0);
    EXPECT_NE(Tool("snmpget", V2(sim, R, "0.3"), {kSysDescr}).exitCode, 0);
}

// Catches a switch that does not stop on SIGTERM or leaves files behind.
TEST(SwitchSimBehaviour, StopsCleanlyOnSigterm)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    EXPECT_EQ(sim.stop(), 0);
}

} // namespace
