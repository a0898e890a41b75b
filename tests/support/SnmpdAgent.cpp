#include "SnmpdAgent.h"

#include "SimulatedSwitch.h"


#include <QFile>
#include <QTemporaryDir>

#include <QDir>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace {

int freeUdpPort()
{
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0
        && getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

QByteArray configuration()
{
    QByteArray conf;
    conf += "rocommunity " + QByteArray(SnmpdAgent::kReadCommunity) + " 127.0.0.1\n";
    conf += "rwcommunity " + QByteArray(SnmpdAgent::kWriteCommunity) + " 127.0.0.1\n";
    const QByteArray auth = SnmpdAgent::kAuthPassword;
    const QByteArray priv = SnmpdAgent::kPrivPassword;
    conf += "createUser " + QByteArray(SnmpdAgent::kNoAuthUser) + "\n";
    conf += "createUser " + QByteArray(SnmpdAgent::kMd5User) + " MD5 " + auth + "\n";
    conf += "createUser " + QByteArray(SnmpdAgent::kShaUser) + " SHA " + auth + "\n";
    conf += "createUser " + QByteArray(SnmpdAgent::kMd5DesUser) + " MD5 " + auth + " DES " + priv + "\n";
    conf += "createUser " + QByteArray(SnmpdAgent::kShaDesUser) + " SHA " + auth + " DES " + priv + "\n";
    conf += "rouser " + QByteArray(SnmpdAgent::kNoAuthUser) + " noauth\n";
    conf += "rwuser " + QByteArray(SnmpdAgent::kMd5User) + " auth\n";
    conf += "rwuser " + QByteArray(SnmpdAgent::kShaUser) + " auth\n";
    conf += "rwuser " + QByteArray(SnmpdAgent::kMd5DesUser) + " priv\n";
    conf += "rwuser " + QByteArray(SnmpdAgent::kShaDesUser) + " priv\n";
    // VACM names of 1, 10 and 11 characters beside the users' own (9 for
    // velNoAuth): string indexes whose length takes two digits.
    conf += "view all included .1\n";
    conf += "group g v2c s\n";
    conf += "group grp10chars v2c tencharsAB\n";
    conf += "group grp11charsX usm elevenchars\n";
    conf += "access g \"\" any noauth exact all none none\n";
    conf += "access grp10chars \"\" any noauth exact all none none\n";
    conf += "access grp11charsX \"\" usm noauth exact all none none\n";
    conf += "dontLogTCPWrappersConnects yes\n";
    return conf;
}

} // namespace

SnmpdAgent::SnmpdAgent() = default;

SnmpdAgent::~SnmpdAgent()
{
    stop();
}

std::map<std::string, std::string> SnmpdAgent::WalkColumn(const std::string& column) const
{
    ToolResult r = RunSnmpTool("snmpwalk", {"-v1", "-c", kReadCommunity, "-Oq", "-Ot", "-t", "2", "-r", "0",
                                            address(), column});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ParseWalkColumn(r.out, column);
}

std::string SnmpdAgent::address() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

int SnmpdAgent::start()
{
    stop();
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_dir = new QTemporaryDir();
        if (!m_dir->isValid())
            break;
        QFile conf(m_dir->filePath("snmpd.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            break;
        conf.write(configuration());
        conf.close();
        m_port = freeUdpPort();
        if (!spawn())
            break;
        if (answers(5000))
            return m_port;
        stop(); // the port was taken meanwhile, or snmpd failed: try again
    }
    stop();
    return 0;
}

bool SnmpdAgent::restart(bool keepState, bool keepBoots)
{
    if (!m_dir)
        return false;
    terminate();
    // snmpd reads no persistent file besides its -c configuration (-C): the
    // engine ID and boot counter it saved on its way down go there.
    QByteArray conf = configuration();
    if (keepState) {
        QFile saved(m_dir->filePath("persist/snmpd.conf"));
        if (saved.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : saved.readAll().split('\n'))
                if ((keepBoots && line.startsWith("engineBoots ")) || line.startsWith("oldEngineID "))
                    conf += line + "\n";
        }
    }
    QDir(m_dir->filePath("persist")).removeRecursively();
    QFile file(m_dir->filePath("snmpd.conf"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(conf);
    file.close();
    return spawn() && answers(5000);
}

bool SnmpdAgent::spawn()
{
    const QString confPath = m_dir->filePath("snmpd.conf");
    const QString persistDir = m_dir->filePath("persist");
    QDir().mkpath(persistDir);
    const QByteArray confArg = confPath.toLocal8Bit();
    const QByteArray pidArg = m_dir->filePath("snmpd.pid").toLocal8Bit();
    const QByteArray listen = "udp:127.0.0.1:" + QByteArray::number(m_port);
    std::vector<const char*> argv = {"/usr/sbin/snmpd", "-f", "-Ln", "-C", "-c", confArg.constData(),
                                     "-p", pidArg.constData(), listen.constData(), nullptr};

    // Its own persistent folder, no MIBs: nothing of the machine's set-up.
    const QByteArray persistEnv = "SNMP_PERSISTENT_DIR=" + persistDir.toLocal8Bit();
    std::vector<const char*> envp = {persistEnv.constData(), "MIBS=", "PATH=/usr/sbin:/usr/bin:/sbin:/bin", nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv.data()),
                         const_cast<char* const*>(envp.data()));
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    m_pid = pid;
    return true;
}

void SnmpdAgent::stop()
{
    terminate();
    delete m_dir;
    m_dir = nullptr;
}

void SnmpdAgent::terminate()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        bool gone = false;
        for (int i = 0; i < 300 && !gone; ++i) {
            gone = waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!gone)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!gone) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
    }
    m_pid = -1;
}

// A hand-made v1 get of sysUpTime.0: readiness must not depend on the SNMP
// layer under test.
bool SnmpdAgent::answers(int timeoutMs)
{
    static const unsigned char packet[] = {
        0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',
        0xa0, 0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00,
        0x30, 0x0e, 0x30, 0x0c, 0x06, 0x08, 0x2b, 0x06, 0x01, 0x02, 0x01, 0x01, 0x03, 0x00, 0x05, 0x00};
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(m_port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = false;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!ok && std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1; // snmpd has exited
            break;
        }
        sendto(fd, packet, sizeof(packet), 0, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            unsigned char buf[1500];
            ok = recv(fd, buf, sizeof(buf), 0) > 0;
        }
    }
    close(fd);
    return ok;
}

SnmpdAgent* SnmpdSuite::s_agent = nullptr;

void SnmpdSuite::SetUpTestSuite()
{
    // One agent for every suite of the program, stopped when it ends.
    static SnmpdAgent agent;
    if (!agent.running())
        agent.start();
    s_agent = &agent;
}

void SnmpdSuite::TearDownTestSuite()
{
}

void SnmpdSuite::SetUp()
{
    ASSERT_TRUE(s_agent && s_agent->running()) << "snmpd could not be started";
}
