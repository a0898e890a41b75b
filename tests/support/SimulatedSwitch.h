#pragma once

// Starts the simulated switch (switch-sim) for a test, on a free loopback
// port, and stops it when destroyed. Gives the port, sends control commands
// (fault injection, direct reads and writes) and reads the request log.
//
//     SimulatedSwitch sim;                       // or a SimulatedSwitchTest fixture
//     ASSERT_TRUE(sim.running()) << sim.error();
//     sim.control("drop 1");
//     ... talk SNMP to sim.address() : sim.port() ...
//     auto sets = sim.sets();                    // every SET received, in order

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

struct SimVarbind
{
    std::string oid;
    std::string type;    // "INTEGER", "OCTET STRING", "OID", "IpAddress", "Gauge32", "NULL", ...
    std::string value;   // decimal, dotted, or the text of a printable octet string (else hex)
    std::string hex;     // octet strings and IpAddress: every octet as two hex digits
};

// One line of the request log: a request received and what was answered.
struct SimRequest
{
    std::string version;     // "1", "2c", "3"
    std::string community;   // v1/v2c
    std::string user;        // v3
    std::string level;       // v3: "noAuthNoPriv", "authNoPriv", "authPriv"
    std::string pdu;         // "get", "getnext", "getbulk", "set"
    std::vector<SimVarbind> varbinds;   // as received
    bool answered = false;
    bool dropped = false;    // answer dropped by a fault
    bool silent = false;     // received while rebooting: neither processed nor answered
    int errorStatus = 0;
    std::string errorName;   // "noError", "noAccess", ...
    int errorIndex = 0;
    std::vector<SimVarbind> response;
    std::string line;        // the raw JSON line
};

struct SimUser
{
    const char* name;
    const char* level;        // snmpget -l
    const char* authProtocol; // MD5, SHA or null
    const char* authPass;
    const char* privProtocol; // DES or null
    const char* privPass;
};

class SimulatedSwitch
{
public:
    static constexpr const char* kReadCommunity = "tundra";
    static constexpr const char* kWriteCommunity = "harbors";
    // The default v3 users: one per security level and protocol, all with
    // write access, and one read-only user.
    static const std::vector<SimUser>& Users();
    static const SimUser& ReadOnlyUser();

    struct Options
    {
        std::string model = "PQS-4400-52";
        std::vector<std::string> configLines;   // replaces the default credentials when not empty
        int rebootSilenceMs = 3000;
        int saveBusyMs = 1000;
        bool live = false;
        int maxPduOctets = 0;   // --max-pdu: SETs above it are answered tooBig (0: no limit)
    };

    SimulatedSwitch();
    explicit SimulatedSwitch(Options options);
    ~SimulatedSwitch();

    SimulatedSwitch(const SimulatedSwitch&) = delete;
    SimulatedSwitch& operator=(const SimulatedSwitch&) = delete;

    bool running() const { return m_port > 0; }
    const std::string& error() const { return m_error; }
    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1"; }
    std::string agent() const { return "127.0.0.1:" + std::to_string(m_port); }   // for the net-snmp tools

    // Sends one control command and returns its reply line ("ok ...",
    // "error: ..."). The command has taken effect when this returns.
    std::string control(const std::string& command);
    // The same, true when the reply begins with "ok".
    bool command(const std::string& command) { return control(command).rfind("ok", 0) == 0; }
    // Reads an object without SNMP: "i 5", "x 6465", ... or empty.
    std::string value(const std::string& oid);

    std::vector<SimRequest> requests() const;
    std::vector<SimRequest> sets() const;
    // Every set received, each as its varbinds (oid, value), octet
    // strings as hex: what the tests compare write sequences with.
    std::vector<std::vector<std::pair<std::string, std::string>>> setVarbinds() const;
    void clearLog() { command("clearlog"); }

    // Stops the switch (SIGTERM) and waits; the exit status, or -1.
    int stop();

private:
    void start(const Options& options);

    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_dir;
    std::string m_error;
    int m_control = -1;
    int m_life = -1; // the write end of the switch's standard input
};

// A fixture whose switch is started for every test.
class SimulatedSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sim.running()) << sim.error(); }
    SimulatedSwitch sim;
};

// A fixture whose switch is started once per test suite and reset before
// every test (objects as the data file has them, no faults, empty log).
class SharedSimulatedSwitchTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { StartSuite({}); }
    // A suite that needs other start options calls this from its own
    // SetUpTestSuite.
    static void StartSuite(const SimulatedSwitch::Options& options) { sim = new SimulatedSwitch(options); }
    static void TearDownTestSuite()
    {
        delete sim;
        sim = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(sim->running()) << sim->error();
        ASSERT_TRUE(sim->command("reset"));
    }
    static inline SimulatedSwitch* sim = nullptr;
};

// Runs one of net-snmp's command-line tools (snmpget, snmpset, snmpwalk,
// snmpbulkwalk ...) without reading any configuration, OIDs numeric.
struct ToolResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};
ToolResult RunSnmpTool(const std::string& tool, const std::vector<std::string>& args);

// The rows of one column in snmpwalk's -Oq output (numeric OIDs), keyed by
// their index: quotes around a text and the dot before an OID value taken
// off, lines outside the column passed over.
std::map<std::string, std::string> ParseWalkColumn(const std::string& output, const std::string& column);
