#include "SimulatedSwitch.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Reads from fd until `stop` says enough or the deadline passes.
template <typename Stop>
bool ReadUntil(int fd, std::string& data, Clock::time_point deadline, Stop stop)
{
    while (!stop(data)) {
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, left) <= 0)
            continue;
        char buf[4096];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            return stop(data);
        data.append(buf, n);
    }
    return true;
}

std::vector<SimVarbind> Varbinds(const QJsonArray& array)
{
    std::vector<SimVarbind> out;
    for (const QJsonValue& v : array) {
        QJsonObject o = v.toObject();
        out.push_back({o["oid"].toString().toStdString(), o["type"].toString().toStdString(),
                       o["value"].toString().toStdString(), o["hex"].toString().toStdString()});
    }
    return out;
}

} // namespace

const std::vector<SimUser>& SimulatedSwitch::Users()
{
    static const std::vector<SimUser> users = {
        {"velnone", "noAuthNoPriv", nullptr, nullptr, nullptr, nullptr},
        {"velmd5", "authNoPriv", "MD5", "velmd5-auth", nullptr, nullptr},
        {"velsha", "authNoPriv", "SHA", "velsha-auth", nullptr, nullptr},
        {"velmd5des", "authPriv", "MD5", "velmd5des-auth", "DES", "velmd5des-priv"},
        {"velshades", "authPriv", "SHA", "velshades-auth", "DES", "velshades-priv"},
    };
    return users;
}

const SimUser& SimulatedSwitch::ReadOnlyUser()
{
    static const SimUser user{"velreader", "authNoPriv", "SHA", "velreader-auth", nullptr, nullptr};
    return user;
}

SimulatedSwitch::SimulatedSwitch()
{
    start(Options{});
}

SimulatedSwitch::SimulatedSwitch(Options options)
{
    start(options);
}

SimulatedSwitch::~SimulatedSwitch()
{
    stop();
    if (!m_dir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
}

void SimulatedSwitch::start(const Options& options)
{
#ifndef VELMARC_SWITCH_SIM
    m_error = "switch-sim is not built";
    (void)options;
#else
    char tmpl[] = "/tmp/velmarc-sim.XXXXXX";
    if (!mkdtemp(tmpl)) {
        m_error = "cannot make a temporary folder";
        return;
    }
    m_dir = tmpl;
    std::vector<std::string> args = {VELMARC_SWITCH_SIM, "--listen", "udp:127.0.0.1:0", "--model", options.model,
                                     "--log", m_dir + "/requests.log", "--control", m_dir + "/control",
                                     "--reboot-silence", std::to_string(options.rebootSilenceMs),
                                     "--save-busy", std::to_string(options.saveBusyMs), "--exit-with-stdin"};
    if (options.live)
        args.push_back("--live");
    if (options.maxPduOctets > 0) {
        args.push_back("--max-pdu");
        args.push_back(std::to_string(options.maxPduOctets));
    }
    if (!options.configLines.empty()) {
        std::ofstream conf(m_dir + "/agent.conf");
        for (const std::string& line : options.configLines)
            conf << line << "\n";
        args.push_back("--config");
        args.push_back(m_dir + "/agent.conf");
    }

    // The switch reads its standard input from a pipe this process holds
    // open: should the test die, the switch sees the end and stops rather
    // than outlive it with the test's output still open.
    int out[2];
    int life[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        m_error = "pipe failed";
        return;
    }
    if (pipe2(life, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        m_error = "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, life[0], STDIN_FILENO);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(life[0]);
    m_life = life[1];
    if (rc != 0) {
        m_pid = -1;
        close(out[0]);
        m_error = std::string("cannot start switch-sim: ") + strerror(rc);
        return;
    }

    std::string text;
    bool ready = ReadUntil(out[0], text, Clock::now() + std::chrono::seconds(10),
                           [](const std::string& d) { return d.find('\n') != std::string::npos; });
    close(out[0]);
    const std::string prefix = "listening on udp:127.0.0.1:";
    if (!ready || text.rfind(prefix, 0) != 0) {
        m_error = "switch-sim did not start: " + text;
        stop();
        return;
    }
    m_port = std::atoi(text.c_str() + prefix.size());
    if (m_port <= 0)
        m_error = "switch-sim printed no port: " + text;
#endif
}

int SimulatedSwitch::stop()
{
    if (m_control >= 0) {
        close(m_control);
        m_control = -1;
    }
    if (m_life >= 0) {
        close(m_life);
        m_life = -1;
    }
    if (m_pid <= 0)
        return -1;
    kill(m_pid, SIGTERM);
    int status = 0;
    auto deadline = Clock::now() + std::chrono::seconds(5);
    pid_t done = 0;
    while ((done = waitpid(m_pid, &status, WNOHANG)) == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
        status = -1;
    }
    m_pid = -1;
    m_port = 0;
    return status == -1 ? -1 : (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

std::string SimulatedSwitch::control(const std::string& command)
{
    if (m_pid <= 0)
        return "error: not running";
    if (m_control < 0) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string path = m_dir + "/control";
        strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
        m_control = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_control < 0 || connect(m_control, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            if (m_control >= 0)
                close(m_control);
            m_control = -1;
            return "error: cannot reach the control socket";
        }
    }
    std::string line = command + "\n";
    if (write(m_control, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        return "error: write failed";
    std::string reply;
    if (!ReadUntil(m_control, reply, Clock::now() + std::chrono::seconds(5),
                   [](const std::string& d) { return d.find('\n') != std::string::npos; }))
        return "error: no reply";
    return reply.substr(0, reply.find('\n'));
}

std::string SimulatedSwitch::value(const std::string& oid)
{
    std::string reply = control("get " + oid);
    return reply.rfind("ok ", 0) == 0 ? reply.substr(3) : std::string();
}

std::vector<SimRequest> SimulatedSwitch::requests() const
{
    std::vector<SimRequest> out;
    std::ifstream in(m_dir + "/requests.log");
    std::string line;
    while (std::getline(in, line)) {
        QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        if (o.isEmpty())
            continue;
        SimRequest r;
        r.version = o["version"].toString().toStdString();
        r.community = o["community"].toString().toStdString();
        r.user = o["user"].toString().toStdString();
        r.level = o["level"].toString().toStdString();
        r.pdu = o["pdu"].toString().toStdString();
        r.varbinds = Varbinds(o["varbinds"].toArray());
        r.answered = o["answered"].toBool();
        r.dropped = o["dropped"].toBool();
        r.silent = o["silent"].toBool();
        r.errorStatus = o["error_status"].toInt();
        r.errorName = o["error_name"].toString().toStdString();
        r.errorIndex = o["error_index"].toInt();
        r.response = Varbinds(o["response"].toArray());
        r.line = line;
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<SimRequest> SimulatedSwitch::sets() const
{
    std::vector<SimRequest> out;
    for (SimRequest& r : requests())
        if (r.pdu == "set")
            out.push_back(std::move(r));
    return out;
}

std::vector<std::vector<std::pair<std::string, std::string>>> SimulatedSwitch::setVarbinds() const
{
    std::vector<std::vector<std::pair<std::string, std::string>>> out;
    for (const SimRequest& r : sets()) {
        std::vector<std::pair<std::string, std::string>> one;
        for (const SimVarbind& v : r.varbinds)
            one.emplace_back(v.oid, v.type == "OCTET STRING" ? v.hex : v.value);
        out.push_back(std::move(one));
    }
    return out;
}

std::map<std::string, std::string> ParseWalkColumn(const std::string& output, const std::string& column)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(output);
    std::string line;
    const std::string prefix = "." + column + ".";
    while (std::getline(lines, line)) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        const size_t blank = line.find(' ');
        std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        else if (!value.empty() && value.front() == '.')
            value = value.substr(1);
        values[line.substr(prefix.size(), blank - prefix.size())] = value;
    }
    return values;
}

ToolResult RunSnmpTool(const std::string& tool, const std::vector<std::string>& args)
{
    ToolResult result;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    std::vector<std::string> all = {"/usr/bin/" + tool, "-On"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // No configuration, no MIB files: numeric OIDs only.
    std::vector<std::string> env = {"SNMPCONFPATH=/nonexistent", "MIBS=", "MIBDIRS=/nonexistent",
                                    "HOME=/nonexistent", "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (rc == 0) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        int open = 2;
        while (open > 0) {
            if (poll(fds, 2, 60000) <= 0)
                break;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                char buf[4096];
                ssize_t n = read(fds[i].fd, buf, sizeof buf);
                if (n <= 0) {
                    fds[i].fd = -1;
                    --open;
                } else {
                    (i == 0 ? result.out : result.err).append(buf, n);
                }
            }
        }
        int status = 0;
        waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    close(out[0]);
    close(err[0]);
    return result;
}
