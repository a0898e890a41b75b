#include "AnswerGate.h"
#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A UDP port on loopback that never answers: the agent that has gone
// silent, and the witness that nothing was sent.
class SilentPeer
{
public:
    SilentPeer()
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
    }
    ~SilentPeer() { ::close(m_fd); }
    int port() const { return m_port; }
    // Datagrams received so far (waiting up to waitMs for the first).
    int received(int waitMs = 200)
    {
        pollfd p{m_fd, POLLIN, 0};
        char buffer[2048];
        while (::poll(&p, 1, waitMs) > 0) {
            if (::recv(m_fd, buffer, sizeof buffer, 0) >= 0)
                ++m_count;
            waitMs = 0;
        }
        return m_count;
    }

private:
    int m_fd = -1;
    int m_port = 0;
    int m_count = 0;
};

void useV1(int port, const char* read = SnmpdAgent::kReadCommunity, const char* write = SnmpdAgent::kWriteCommunity)
{
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("127.0.0.1");
    g_strSnmpPort = QString::number(port);
    g_strReadCommunity = QString::fromUtf8(read);
    g_strWriteCommunity = QString::fromUtf8(write);
}

void useV3(int port, const char* user, const char* level, const char* authProto, const char* privProto,
           const char* authPassword = SnmpdAgent::kAuthPassword, const char* privPassword = SnmpdAgent::kPrivPassword)
{
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("127.0.0.1");
    g_strSnmpPort = QString::number(port);
    g_strSnmpVersion = QStringLiteral("3");
    g_strV3UserName = QString::fromUtf8(user);
    g_strV3SecurityLevel = QString::fromUtf8(level);
    g_strV3AuthProtocol = QString::fromUtf8(authProto);
    g_strV3PrivProtocol = QString::fromUtf8(privProto);
    g_strV3AuthPassword = QString::fromUtf8(authPassword);
    g_strV3PrivPassword = QString::fromUtf8(privPassword);
}

// Runs delivered callbacks until `done` or the time is up.
bool pump(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        SnmpProcessCallbacks(20);
    return done();
}

// Runs whatever callbacks come within `ms`.
void pumpFor(int ms)
{
    pump([]() { return false; }, ms);
}

const char* const kIfDescr = "1.3.6.1.2.1.2.2.1.2";
const char* const kSysDescr0 = "1.3.6.1.2.1.1.1.0";
const char* const kSysObjectId0 = "1.3.6.1.2.1.1.2.0";
const char* const kSysContact0 = "1.3.6.1.2.1.1.4.0";

// An owner that walks one column the way the dialogs do: drop stale
// answers, take the row, ask for the next one, stop on any non-zero status.
struct ColumnWalk
{
    CCommonSNMP* session = nullptr;
    std::vector<QString> indexes;
    std::vector<QString> values;
    std::vector<int> ids;
    int callbacks = 0;
    int stale = 0;
    int endStatus = 1;   // 1 = not ended yet

    bool ended() const { return endStatus != 1; }

    // Prepares a walk of `column` on `s` and sends its first step: the
    // result of SendAsync, -100 when the request could not be made.
    int Start(CCommonSNMP& s, const char* column, int timeout)
    {
        session = &s;
        if (!s.Prepare(SNMP_PDU_GETNEXT) || s.AddValue(column, SNMP_TYPE_NULL) != 0)
            return -100;
        return s.SendAsync(&ColumnWalk::Callback, this, 0, timeout);
    }

    static int Callback(CSnmp* response, int requestId, void* user, int status)
    {
        auto* self = static_cast<ColumnWalk*>(user);
        ++self->callbacks;
        if (!self->session->RemovePending(requestId)) {
            ++self->stale;
            delete response;
            return 0;
        }
        self->ids.push_back(requestId);
        if (status != 0) {
            EXPECT_EQ(response, nullptr);
            delete response;
            self->endStatus = status;
            self->session->SetDone();
            return 0;
        }
        char* index = nullptr;
        char* oid = nullptr;
        char* value = nullptr;
        EXPECT_EQ(self->session->GetIndexText(0, response, &index), 0);
        EXPECT_EQ(response->getValueText(0, &oid, &value), 0);
        self->indexes.push_back(QString::fromUtf8(index));
        self->values.push_back(QString::fromUtf8(value));
        delete response;
        if (self->session->SendAsync(&ColumnWalk::Callback, self, 0, 0) != 0) {
            self->endStatus = -100;
            self->session->SetDone();
        }
        return 0;
    }
};

class CCommonSNMPTest : public SnmpdSuite
{
protected:
    static void SetUpTestSuite()
    {
        SnmpInit(nullptr);   // callbacks through SnmpProcessCallbacks
        SetSnmpTimeout(5000);
        SnmpdSuite::SetUpTestSuite();
        s_port = port();
    }
    static void TearDownTestSuite() { ResetGlobalSettings(); }

    static int s_port;
};

int CCommonSNMPTest::s_port = 0;

// Walks ifDescr through the session and checks what every walk must give:
// rows keyed by increasing indexes, the loopback interface among them, one
// end status -2, every answer's id pending exactly once.
void expectIfDescrWalk(CCommonSNMP& session)
{
    ColumnWalk walk;
    ASSERT_EQ(walk.Start(session, kIfDescr, 0), 0);
    EXPECT_FALSE(session.IsDone());
    ASSERT_TRUE(pump([&]() { return walk.ended(); }, 20000));
    EXPECT_EQ(walk.endStatus, SNMP_END_OF_WALK);
    EXPECT_EQ(walk.stale, 0);
    EXPECT_TRUE(session.IsDone());
    ASSERT_FALSE(walk.values.empty());
    EXPECT_NE(std::find(walk.values.begin(), walk.values.end(), QStringLiteral("lo")), walk.values.end());
    int previous = 0;
    for (const QString& index : walk.indexes) {
        ASSERT_TRUE(index.startsWith(u'.')) << index.toStdString();
        const int n = index.mid(1).toInt();
        EXPECT_GT(n, previous) << index.toStdString();
        previous = n;
    }
    for (size_t i = 1; i < walk.ids.size(); ++i)
        EXPECT_GT(walk.ids[i], walk.ids[i - 1]);
    // Nothing more arrives once the walk has ended.
    const int calls = walk.callbacks;
    pumpFor(300);
    EXPECT_EQ(walk.callbacks, calls);
}

} // namespace

// A version-1 table walk over the wire, with the station's port.
TEST_F(CCommonSNMPTest, V1WalkOverTheWire)
{
    useV1(s_port);
    CCommonSNMP session;
    expectIfDescrWalk(session);
}

// A version-3 walk with authentication and privacy (MD5 + DES); the same
// session walks a second time after a new Prepare.
TEST_F(CCommonSNMPTest, V3Md5DesWalkOverTheWire)
{
    useV3(s_port, SnmpdAgent::kMd5DesUser, "3", "2", "2");
    CCommonSNMP session;
    expectIfDescrWalk(session);
    expectIfDescrWalk(session);
}

// The security-level table: each combination must reach a user whose
// agent-side security is exactly what the flags ask for; a session that
// kept privacy on for privacy protocol "1", or authentication on for
// authentication protocol "1", would be refused by the agent.
TEST_F(CCommonSNMPTest, V3SecurityLevels)
{
    struct Case { const char* user; const char* level; const char* auth; const char* priv; };
    const Case cases[] = {
        {SnmpdAgent::kNoAuthUser, "1", "2", "2"},
        {SnmpdAgent::kMd5User, "2", "2", "1"},
        {SnmpdAgent::kShaUser, "2", "3", "2"},          // level 2 never encrypts
        {SnmpdAgent::kMd5User, "3", "2", "1"},          // no privacy protocol: auth only
        {SnmpdAgent::kNoAuthUser, "3", "1", "2"},       // no auth protocol: neither
        {SnmpdAgent::kNoAuthUser, "2", "1", "1"},
        {SnmpdAgent::kShaDesUser, "3", "3", "2"},
        {SnmpdAgent::kMd5DesUser, "3", "2", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " level " + c.level + " auth " + c.auth + " priv " + c.priv);
        useV3(s_port, c.user, c.level, c.auth, c.priv);
        CCommonSNMP session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
        ASSERT_EQ(session.AddValue(kSysDescr0, SNMP_TYPE_NULL), 0);
        CSnmp* response = nullptr;
        ASSERT_EQ(session.SendSync(response, 3000), 0) << session.GetLastResultText().toStdString();
        std::unique_ptr<CSnmp> owned(response);
        int status = -1, index = -1;
        ASSERT_EQ(response->getErrorStatus(&status, &index), 0);
        EXPECT_EQ(status, 0);
        char* oid = nullptr;
        char* value = nullptr;
        ASSERT_EQ(response->getValueText(0, &oid, &value), 0);
        EXPECT_NE(value, nullptr);
    }
}

// Failures are told apart, synchronously as the result and asynchronously
// through GetLastResult (the callback sees -1), so the caller can say
// "wrong password" or "password too short" instead of "no answer".
TEST_F(CCommonSNMPTest, V3FailuresAreToldApart)
{
    struct Case { const char* user; const char* authPassword; int expected; };
    const Case cases[] = {
        {SnmpdAgent::kMd5User, "wrongpass123", SNMP_AUTH_FAILURE},
        {"velNobody", "authpass123", SNMP_UNKNOWN_USER},
        {SnmpdAgent::kMd5User, "short", SNMP_BAD_PASSPHRASE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user + std::string("/") + c.authPassword);
        useV3(s_port, c.user, "2", "2", "1", c.authPassword);
        CCommonSNMP session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
        ASSERT_EQ(session.AddValue(kSysDescr0, SNMP_TYPE_NULL), 0);
        CSnmp* response = nullptr;
        EXPECT_EQ(session.SendSync(response, 2000), c.expected);
        EXPECT_EQ(response, nullptr);
        EXPECT_EQ(session.GetLastResult(), c.expected);
        EXPECT_EQ(session.GetLastResultText(), QString::fromUtf8(SnmpResultText(c.expected)));

        ColumnWalk walk;
        walk.session = &session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
        ASSERT_EQ(session.AddValue(kIfDescr, SNMP_TYPE_NULL), 0);
        const int sent = session.SendAsync(&ColumnWalk::Callback, &walk, 0, 2000);
        if (sent == 0) {
            ASSERT_TRUE(pump([&]() { return walk.ended(); }, 5000));
            EXPECT_EQ(walk.endStatus, SNMP_NO_ANSWER);
        } else {
            EXPECT_EQ(sent, c.expected);
        }
        EXPECT_EQ(session.GetLastResult(), c.expected);
    }
    EXPECT_TRUE(QString::fromUtf8(SnmpResultText(SNMP_BAD_PASSPHRASE)).contains(QStringLiteral("8 characters")));
}

// Reads go out with the read community and writes with the write
// community; a mix-up would make every set fail (or every get write-able).
TEST_F(CCommonSNMPTest, V1CommunitiesByRequestType)
{
    {
        useV1(s_port);
        CCommonSNMP session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_SET));
        ASSERT_EQ(session.AddValue(kSysContact0, SNMP_TYPE_OCTETS, "lab admin"), 0);
        CSnmp* response = nullptr;
        ASSERT_EQ(session.SendSync(response, 3000), 0);
        int status = -1, index = -1;
        response->getErrorStatus(&status, &index);
        delete response;
        EXPECT_EQ(status, 0);

        ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
        ASSERT_EQ(session.AddValue(kSysContact0, SNMP_TYPE_NULL), 0);
        ASSERT_EQ(session.SendSync(response, 3000), 0);
        char* oid = nullptr;
        char* value = nullptr;
        response->getValueText(0, &oid, &value);
        EXPECT_STREQ(value, "lab admin");
        delete response;
    }
    {
        // A wrong write community must not spoil reads.
        useV1(s_port, SnmpdAgent::kReadCommunity, "nosuchcommunity");
        CCommonSNMP session;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
        session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
        CSnmp* response = nullptr;
        ASSERT_EQ(session.SendSync(response, 3000), 0);
        delete response;
        ASSERT_TRUE(session.Prepare(SNMP_PDU_SET));
        session.AddValue(kSysContact0, SNMP_TYPE_OCTETS, "x");
        EXPECT_EQ(session.SendSync(response, 1000), SNMP_NO_ANSWER);
        EXPECT_EQ(response, nullptr);
    }
    {
        // Version 1 knows no other request type.
        useV1(s_port);
        CCommonSNMP session;
        EXPECT_FALSE(session.Prepare(2));
    }
}

// Some dialogs send a prepared get through the walker (GetNextSync, or
// SendAsync with a callback): it must go out as a get, not as a get-next,
// and arrive with status 0 every time, never as the end of a walk.
TEST_F(CCommonSNMPTest, PreparedGetThroughTheWalkerStaysAGet)
{
    useV1(s_port);
    CCommonSNMP session;
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    ASSERT_EQ(session.AddValue(kSysDescr0, SNMP_TYPE_NULL), 0);
    ASSERT_EQ(session.AddValue(kSysObjectId0, SNMP_TYPE_NULL), 0);

    for (int round = 0; round < 2; ++round) {
        CSnmp* response = nullptr;
        ASSERT_EQ(session.GetNextSync(response, 3000), 0);
        std::unique_ptr<CSnmp> owned(response);
        ASSERT_EQ(response->getVarBindCount(), 2);
        char* oid = nullptr;
        response->getOid(0, &oid);
        EXPECT_STREQ(oid, kSysDescr0);   // a get-next would answer sysObjectID.0
        response->getOid(1, &oid);
        EXPECT_STREQ(oid, kSysObjectId0);
    }

    struct Answer { CCommonSNMP* session = nullptr; int calls = 0; int status = 1; QString oid; };
    Answer answer;
    answer.session = &session;
    const SNMPCALLBACK callback = [](CSnmp* response, int id, void* user, int status) {
        auto* a = static_cast<Answer*>(user);
        ++a->calls;
        EXPECT_EQ(a->session->RemovePending(id), 1);
        a->status = status;
        char* oid = nullptr;
        if (response && response->getOid(0, &oid) == 0)
            a->oid = QString::fromUtf8(oid);
        delete response;
        a->session->SetDone();
        return 0;
    };
    for (int round = 0; round < 2; ++round) {
        answer.calls = 0;
        ASSERT_EQ(session.SendAsync(callback, &answer, 0, 3000), 0);
        ASSERT_TRUE(pump([&]() { return answer.calls == 1; }, 5000));
        EXPECT_EQ(answer.status, 0);
        EXPECT_EQ(answer.oid, QString::fromLatin1(kSysDescr0));
    }
}

// A session of an unserved version (2) refuses every operation and puts
// nothing on the wire.
TEST_F(CCommonSNMPTest, VersionTwoRefusesEverythingAndSendsNothing)
{
    SilentPeer peer;
    useV1(peer.port());
    g_strSnmpVersion = QStringLiteral("2");
    CCommonSNMP session;
    EXPECT_FALSE(session.Prepare(SNMP_PDU_GET));
    EXPECT_FALSE(session.Prepare(SNMP_PDU_GETNEXT));
    EXPECT_EQ(session.AddValue(kSysDescr0, SNMP_TYPE_NULL), -1);
    const unsigned char bytes[2] = {0xF0, 0x0F};
    EXPECT_EQ(session.AddValueBytes(kSysDescr0, SNMP_TYPE_OCTETS, bytes, 2), -1);
    CSnmp* response = reinterpret_cast<CSnmp*>(0x1);
    EXPECT_EQ(session.SendSync(response, 500), -1);
    EXPECT_EQ(response, nullptr);
    EXPECT_EQ(session.GetNextSync(response, 500), -1);
    ColumnWalk walk;
    walk.session = &session;
    EXPECT_EQ(session.SendAsync(&ColumnWalk::Callback, &walk, 0, 500), -1);
    EXPECT_TRUE(session.IsDone());
    char* index = nullptr;
    EXPECT_EQ(session.GetIndexText(0, nullptr, &index), -1);
    pumpFor(300);
    EXPECT_EQ(walk.callbacks, 0);
    EXPECT_EQ(peer.received(300), 0);
}

// A Prepare that version 1 refuses (another request type) must still drop
// the previous request: values added afterwards would otherwise go out
// together with the last write's values, as that write, a second time.
TEST_F(CCommonSNMPTest, RefusedPrepareDropsThePreviousRequest)
{
    SilentPeer peer;
    useV1(peer.port());
    CCommonSNMP session;
    ASSERT_TRUE(session.Prepare(SNMP_PDU_SET));
    ASSERT_EQ(session.AddValue(kSysContact0, SNMP_TYPE_OCTETS, "written once"), 0);
    EXPECT_FALSE(session.Prepare(2));
    session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
    CSnmp* response = nullptr;
    EXPECT_NE(session.SendSync(response, 300), 0);
    EXPECT_NE(session.GetNextSync(response, 300), 0);
    EXPECT_EQ(response, nullptr);
    ColumnWalk walk;
    walk.session = &session;
    EXPECT_NE(session.SendAsync(&ColumnWalk::Callback, &walk, 0, 300), 0);
    pumpFor(400);
    EXPECT_EQ(walk.callbacks, 0);
    EXPECT_EQ(peer.received(300), 0);
}

// A walk that the agent breaks off with an error status is a failed walk
// (-1, GetLastResult says why), not a complete table (-2): owners that go on
// only after a complete walk must not take the rows so far for all of them.
TEST_F(CCommonSNMPTest, ErrorStatusInAWalkIsAFailure)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(sim.command("error 1.3.6.1.2.1.2.2.1.2.5 genErr"));
    useV1(sim.port(), SimulatedSwitch::kReadCommunity, SimulatedSwitch::kWriteCommunity);
    CCommonSNMP session;
    ColumnWalk walk;
    ASSERT_EQ(walk.Start(session, kIfDescr, 2000), 0);
    ASSERT_TRUE(pump([&]() { return walk.ended(); }, 10000));
    EXPECT_EQ(walk.indexes.size(), 4u);
    EXPECT_EQ(walk.endStatus, SNMP_NO_ANSWER);
    EXPECT_EQ(session.GetLastResult(), SNMP_ERROR_STATUS);

    // Synchronously the reason is the result itself.
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
    ASSERT_EQ(session.AddValue("1.3.6.1.2.1.2.2.1.2.4", SNMP_TYPE_NULL), 0);
    CSnmp* response = nullptr;
    EXPECT_EQ(session.GetNextSync(response, 2000), SNMP_ERROR_STATUS);
    EXPECT_EQ(response, nullptr);
}

// A prepared request without varbinds is not sent, by any road, in either
// version.
TEST_F(CCommonSNMPTest, RequestWithoutVarbindsIsNotSent)
{
    SilentPeer peer;
    for (const char* version : {"1", "3"}) {
        SCOPED_TRACE(version);
        if (QByteArray(version) == "3")
            useV3(peer.port(), SnmpdAgent::kMd5User, "2", "2", "1");
        else
            useV1(peer.port());
        CCommonSNMP session;
        for (int type : {SNMP_PDU_GET, SNMP_PDU_GETNEXT, SNMP_PDU_SET}) {
            ASSERT_TRUE(session.Prepare(type));
            CSnmp* response = nullptr;
            EXPECT_EQ(session.SendSync(response, 500), -1);
            EXPECT_EQ(session.GetNextSync(response, 500), -1);
            ColumnWalk walk;
            walk.session = &session;
            EXPECT_EQ(session.SendAsync(&ColumnWalk::Callback, &walk, 0, 500), -1);
            EXPECT_TRUE(session.IsDone());
            pumpFor(100);
            EXPECT_EQ(walk.callbacks, 0);
        }
    }
    EXPECT_EQ(peer.received(300), 0);
}

// Close in the middle of a walk whose agent has gone quiet: no callback of
// the session runs afterwards (its owner may be gone), SendAsync refuses
// until the next Prepare, which re-opens the session.
TEST_F(CCommonSNMPTest, CloseDuringAWalkSilencesTheSession)
{
    SilentPeer peer;
    for (const char* version : {"1", "3"}) {
        SCOPED_TRACE(version);
        if (QByteArray(version) == "3")
            useV3(peer.port(), SnmpdAgent::kNoAuthUser, "1", "1", "1");
        else
            useV1(peer.port());
        CCommonSNMP session;

        // Without Close the time-out is reported: the test can see callbacks.
        ColumnWalk control;
        ASSERT_EQ(control.Start(session, kIfDescr, 300), 0);
        ASSERT_TRUE(pump([&]() { return control.ended(); }, 3000));
        EXPECT_EQ(control.endStatus, SNMP_NO_ANSWER);

        ColumnWalk walk;
        {
            AnswerGate gate;
            ASSERT_EQ(walk.Start(session, kIfDescr, 300), 0);
            EXPECT_FALSE(session.IsDone());
            session.Close();
            EXPECT_TRUE(session.IsDone());
            EXPECT_NE(session.SendAsync(&ColumnWalk::Callback, &walk, 0, 300), 0);
            // The time-out comes all the same; delivered, it must find no one.
            ASSERT_TRUE(gate.WaitForAnswers(1, 5000));
            gate.Release();
            EXPECT_EQ(walk.callbacks, 0);
        }

        ASSERT_TRUE(session.Prepare(SNMP_PDU_GETNEXT));
        session.AddValue(kIfDescr, SNMP_TYPE_NULL);
        EXPECT_EQ(session.SendAsync(&ColumnWalk::Callback, &walk, 0, 300), 0);
        ASSERT_TRUE(pump([&]() { return walk.ended(); }, 3000));
        EXPECT_EQ(walk.endStatus, SNMP_NO_ANSWER);
    }
}

// A new Prepare abandons the walk under way: its answer, already arrived
// and waiting for delivery, must never reach the owner's callback, which
// would take a row of the old table for the new request.
TEST_F(CCommonSNMPTest, PrepareAbandonsTheWalkUnderWay)
{
    useV1(s_port);
    CCommonSNMP session;
    ColumnWalk old;
    AnswerGate gate;
    ASSERT_EQ(old.Start(session, kIfDescr, 0), 0);
    ASSERT_TRUE(gate.WaitForAnswers(1, 5000));
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
    CSnmp* response = nullptr;
    ASSERT_EQ(session.SendSync(response, 3000), 0);
    delete response;
    EXPECT_EQ(gate.Release(), 1);
    EXPECT_EQ(old.callbacks, 0);
}

// An answer whose id is no longer pending is stale: RemovePending says so
// once the id was taken, and Close forgets every pending id.
TEST_F(CCommonSNMPTest, StaleIdsAreRecognised)
{
    useV1(s_port);
    CCommonSNMP session;
    struct First { CCommonSNMP* session; int id = 0; int calls = 0; };
    First first{&session};
    const SNMPCALLBACK keepId = [](CSnmp* response, int id, void* user, int) {
        auto* f = static_cast<First*>(user);
        f->id = id;
        ++f->calls;
        delete response;   // leaves the id pending
        return 0;
    };
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
    ASSERT_EQ(session.SendAsync(keepId, &first, 0, 3000), 0);
    ASSERT_TRUE(pump([&]() { return first.calls == 1; }, 5000));
    EXPECT_EQ(session.RemovePending(first.id), 1);
    EXPECT_EQ(session.RemovePending(first.id), 0);   // the same answer again

    first.calls = 0;
    ASSERT_EQ(session.SendAsync(keepId, &first, 0, 3000), 0);
    ASSERT_TRUE(pump([&]() { return first.calls == 1; }, 5000));
    session.Close();
    EXPECT_EQ(session.RemovePending(first.id), 0);
    EXPECT_EQ(session.RemovePending(12345678), 0);
}

// Request ids come from one counter for the whole process: ids of two
// sessions interleaved still increase, so an id never names two requests.
TEST_F(CCommonSNMPTest, RequestIdsIncreaseAcrossSessions)
{
    SilentPeer peer;
    useV1(peer.port());
    CCommonSNMP a, b;
    useV3(peer.port(), SnmpdAgent::kNoAuthUser, "1", "1", "1");
    CCommonSNMP c;
    std::vector<int> ids;
    struct Sink { std::vector<int>* ids; };
    Sink sink{&ids};
    const SNMPCALLBACK record = [](CSnmp* response, int id, void* user, int) {
        static_cast<Sink*>(user)->ids->push_back(id);
        delete response;
        return 0;
    };
    for (int round = 0; round < 3; ++round) {
        for (CCommonSNMP* s : {&a, &c, &b}) {
            ASSERT_TRUE(s->Prepare(SNMP_PDU_GET));
            s->AddValue(kSysDescr0, SNMP_TYPE_NULL);
            ASSERT_EQ(s->SendAsync(record, &sink, 0, 100), 0);
        }
        ASSERT_TRUE(pump([&]() { return ids.size() == size_t(3 * (round + 1)); }, 3000));
    }
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_GT(sorted.front(), 0);
}

// Destroying a session whose walk is still under way must not let the
// answer reach the dead owner (the sanitizer build sees any use).
TEST_F(CCommonSNMPTest, DestroyedSessionGetsNoCallback)
{
    SilentPeer peer;
    useV1(peer.port());
    auto walk = std::make_unique<ColumnWalk>();
    AnswerGate gate;
    {
        CCommonSNMP session;
        ASSERT_EQ(walk->Start(session, kIfDescr, 200), 0);
    }
    ASSERT_TRUE(gate.WaitForAnswers(1, 5000));   // the time-out, after the session
    gate.Release();
    EXPECT_EQ(walk->callbacks, 0);
}

// Octet values (port bitmaps) travel byte for byte, also octets that are
// no text at all. (snmpd keeps sysContact as a C string, hence no zero.)
TEST_F(CCommonSNMPTest, AddValueBytesKeepsEveryOctet)
{
    useV1(s_port);
    CCommonSNMP session;
    const unsigned char octets[6] = {0xFF, 0x80, 0x01, 0x7F, 0xC3, 0x28};
    ASSERT_TRUE(session.Prepare(SNMP_PDU_SET));
    ASSERT_EQ(session.AddValueBytes(kSysContact0, SNMP_TYPE_OCTETS, octets, 6), 0);
    CSnmp* response = nullptr;
    ASSERT_EQ(session.SendSync(response, 3000), 0);
    delete response;
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    session.AddValue(kSysContact0, SNMP_TYPE_NULL);
    ASSERT_EQ(session.SendSync(response, 3000), 0);
    std::unique_ptr<CSnmp> owned(response);
    char* oid = nullptr;
    unsigned char* data = nullptr;
    int length = 0;
    ASSERT_EQ(response->getValueBytes(0, &oid, &data, &length), 0);
    ASSERT_EQ(length, 6);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(data), 6), QByteArray(reinterpret_cast<const char*>(octets), 6));
}

namespace {
QStringList g_debugLines;
void captureDebug(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_debugLines << text;
}
} // namespace

// Owners leave the exact shutdown line for each session they close.
TEST(CCommonSNMPClose, ShutdownLineNamesTheMember)
{
    ResetGlobalSettings();
    CCommonSNMP m_cCommonSNMPset;
    g_debugLines.clear();
    const QtMessageHandler old = qInstallMessageHandler(captureDebug);
    CLOSE_SNMP_SESSION(m_cCommonSNMPset);
    qInstallMessageHandler(old);
    EXPECT_EQ(g_debugLines, QStringList{QStringLiteral("==================m_cCommonSNMPset.Close===============")});
}

// The copy helper: an owned NUL-terminated copy, none for an empty text.
TEST(CCommonSNMPClose, CopyToCharArray)
{
    EXPECT_EQ(CopyToCharArray(QString()), nullptr);
    EXPECT_EQ(CopyToCharArray(QStringLiteral("")), nullptr);
    std::unique_ptr<char[]> copy(CopyToCharArray(QStringLiteral("1.3.6.1")));
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy.get(), "1.3.6.1");
}

// ------------------------------------------------ against the simulated switch

namespace {

const char* const kVlanNameColumn = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1";
const char* const kTrunkMemberColumn = "1.3.6.1.4.1.32473.10.126.4.1.8.1.3.1.2";

class CCommonSNMPSimTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(nullptr);
    }
    void TearDown() override { ResetGlobalSettings(); }

    // True once the switch has received a get-next under `column`.
    bool Received(const std::string& column)
    {
        for (const SimRequest& r : sim.requests())
            if (r.pdu == "getnext" && !r.varbinds.empty() && r.varbinds[0].oid.rfind(column, 0) == 0)
                return true;
        return false;
    }
};

} // namespace

// A dialog that refreshes restarts its walk: Prepare, new columns,
// SendAsync. On a slow switch the old walk's answer is still on its way
// then and arrives while the new walk runs; the session must drop it before
// the owner's callback (the relay's pending-id check, and the cancel in
// Prepare). Handed to the new walk's callback it would be taken for the new
// table's first row, or at least count as a call the owner never asked for.
TEST_F(CCommonSNMPSimTest, NewWalkNeverReceivesThePreviousWalksAnswer)
{
    for (bool v3 : {false, true}) {
        SCOPED_TRACE(v3 ? "v3" : "v1");
        UseSimulatedSwitch(sim);
        if (v3)
            UseSimUser(SimulatedSwitch::Users().front());
        ASSERT_TRUE(sim.command("delay 300"));
        sim.clearLog();
        CCommonSNMP session;
        ColumnWalk first;
        ASSERT_EQ(first.Start(session, kVlanNameColumn, 3000), 0);
        QElapsedTimer timer;
        timer.start();
        while (!Received(kVlanNameColumn) && timer.elapsed() < 5000)
            SnmpProcessCallbacks(10);
        ASSERT_TRUE(Received(kVlanNameColumn)) << "the first walk's request never reached the switch";

        ColumnWalk second;
        ASSERT_EQ(second.Start(session, kTrunkMemberColumn, 3000), 0);
        // Answers leave the switch in order, so the first walk's answer has
        // come and gone long before the second walk's third one.
        ASSERT_TRUE(pump([&]() { return second.ended(); }, 10000));

        EXPECT_EQ(first.callbacks, 0);
        EXPECT_EQ(second.stale, 0) << "the old walk's answer reached the new walk's callback";
        EXPECT_EQ(second.callbacks, 3);   // link 1, link 2, end
        EXPECT_EQ(second.endStatus, SNMP_END_OF_WALK);
        EXPECT_EQ(second.indexes, (std::vector<QString>{QStringLiteral(".1"), QStringLiteral(".2")}));
        ASSERT_TRUE(sim.command("delay 0"));
    }
}

// The session's own check: an answer whose request id is no longer pending
// never reaches the callback, even with the request still live on the wire
// (nothing cancelled it: the id alone was forgotten). A relay without the
// check would hand the late answer to the owner as if it were current.
TEST_F(CCommonSNMPSimTest, AnswerOfAForgottenIdIsDroppedByTheSession)
{
    UseSimulatedSwitch(sim);
    CCommonSNMP session;
    int lastId = 0;
    int calls = 0;
    struct Probe { int* lastId; int* calls; } probe{&lastId, &calls};
    const SNMPCALLBACK count = [](CSnmp* response, int id, void* user, int) {
        auto* p = static_cast<Probe*>(user);
        *p->lastId = id;
        ++*p->calls;
        delete response;
        return 0;
    };
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
    ASSERT_EQ(session.SendAsync(count, &probe, 0, 3000), 0);
    ASSERT_TRUE(pump([&]() { return calls == 1; }, 5000));
    ASSERT_EQ(session.RemovePending(lastId), 1);

    ASSERT_TRUE(sim.command("delay 300"));
    calls = 0;
    ASSERT_TRUE(session.Prepare(SNMP_PDU_GET));
    session.AddValue(kSysDescr0, SNMP_TYPE_NULL);
    ASSERT_EQ(session.SendAsync(count, &probe, 0, 3000), 0);
    // Forget the one pending id (ids only grow), as a session does for an
    // answer it took already.
    bool forgotten = false;
    for (int id = lastId + 1; id < lastId + 1000 && !forgotten; ++id)
        forgotten = session.RemovePending(id) == 1;
    ASSERT_TRUE(forgotten);
    pumpFor(1500);   // the answer comes after 300 ms
    EXPECT_EQ(calls, 0) << "an answer of a forgotten id reached the callback";
    ASSERT_TRUE(sim.command("delay 0"));
}
