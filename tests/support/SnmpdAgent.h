#pragma once

// Debian's snmpd as a private SNMP agent for tests: started on a free
// loopback port with its own configuration and persistent folder, stopped
// (and its folder removed) by stop() or the destructor.
//
//   SnmpdAgent agent;
//   int port = agent.start();          // 0 when snmpd could not be started
//   CSnmpV1 get; ... get.send(agent.address().c_str(), response, 2000);
//
// v1: read community kReadCommunity, write community kWriteCommunity (full
// access; sysContact and sysLocation are writable). v3 users, all with
// kAuthPassword / kPrivPassword where they use them.

#include <gtest/gtest.h>

#include <map>
#include <string>

class QTemporaryDir;

class SnmpdAgent
{
public:
    static constexpr const char* kReadCommunity = "public";
    static constexpr const char* kWriteCommunity = "private";
    static constexpr const char* kNoAuthUser = "velNoAuth";     // noAuthNoPriv, read-only
    static constexpr const char* kMd5User = "velMd5";           // MD5, no privacy
    static constexpr const char* kShaUser = "velSha";           // SHA, no privacy
    static constexpr const char* kMd5DesUser = "velMd5Des";     // MD5 + DES
    static constexpr const char* kShaDesUser = "velShaDes";     // SHA + DES
    static constexpr const char* kAuthPassword = "authpass123";
    static constexpr const char* kPrivPassword = "privpass456";

    SnmpdAgent();
    ~SnmpdAgent();
    SnmpdAgent(const SnmpdAgent&) = delete;
    SnmpdAgent& operator=(const SnmpdAgent&) = delete;

    // Starts snmpd and waits until it answers. Returns its UDP port, or 0.
    int start();
    void stop();
    // Stops snmpd and starts it again on the same port. Keeping its state it
    // comes back as after a reboot (same engine ID, boot counter one up);
    // without, as a replaced or factory-reset agent (a new engine ID).
    // Keeping its state but not its boots, it comes back with its engine ID
    // and its boot counter at 1, as an agent that breaks RFC 3414's rule.
    bool restart(bool keepState, bool keepBoots = true);

    int port() const { return m_port; }
    bool running() const { return m_pid > 0; }
    // "127.0.0.1:port", the form the SNMP layer takes.
    std::string address() const;
    // One column as snmpwalk shows it over v1: index -> value (quotes of
    // strings and the leading dot of OIDs dropped).
    std::map<std::string, std::string> WalkColumn(const std::string& column) const;

private:
    bool answers(int timeoutMs);
    bool spawn();
    void terminate();

    QTemporaryDir* m_dir = nullptr;
    int m_pid = -1;
    int m_port = 0;
};

// A GoogleTest fixture whose snmpd is shared by every suite of the test
// program: started by the first suite that needs it, stopped when the
// program ends. Cases share it, so none may rely on what another wrote.
class SnmpdSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static SnmpdAgent* Agent() { return s_agent; }
    static int port() { return s_agent ? s_agent->port() : 0; }
    static std::string addr() { return s_agent ? s_agent->address() : std::string(); }

private:
    static SnmpdAgent* s_agent;
};
