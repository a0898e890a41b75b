// Walks one table column through CSnmpTable (get-next, v1) and through
// net-snmp's snmpwalk against the same agent, and prints both times
// ("ratio <ours/snmpwalk>"). Then the forwarding table's two columns walked
// as a dialog walks them (all columns in one request per step; get-bulk
// over v3) against snmpwalk of the same columns, and, with the simulated
// switch's control channel, the VLAN dialog's reads over a link whose
// answers come late, column after column and all columns together. The
// last line is "ratio table v1 <ours/snmpwalk> v3 <ours/snmpwalk -v3>".
//
// bench_walk --agent HOST:PORT [--community C] [--oid OID] [--runs N]
//            [--user U --auth A --priv P] [--control PATH] [--fdb ROWS] [--delay MS]

#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "SnmpSetup.h"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One walk through the library; returns the row count, or -1 on failure.
int walkOurs(const std::string& agent, const std::string& community, const std::string& column)
{
    CSnmpV1 req(SNMP_PDU_GETNEXT);
    req.setCommunity(community.c_str());
    req.addValue(column.c_str(), SNMP_TYPE_NULL, nullptr);
    CSnmpTable table(&req);
    CSnmp* resp = nullptr;
    int rows = 0;
    int rc;
    while ((rc = table.getNext(agent.c_str(), resp, 5000)) == 0) {
        char* oid = nullptr;
        char* value = nullptr;
        resp->getValueText(0, &oid, &value);
        ++rows;
        delete resp;
    }
    return rc == SNMP_END_OF_WALK ? rows : -1;
}

// One run of snmpwalk with `args`; returns the number of lines it printed,
// or -1.
int runSnmpwalk(const std::vector<std::string>& args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::vector<const char*> argv = {"/usr/bin/snmpwalk"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 01 /* O_WRONLY */, 0);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return -1;
    }
    int lines = 0;
    char buf[65536];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof(buf))) > 0)
        lines += int(std::count(buf, buf + n, '\n'));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return (WIFEXITED(status) && WEXITSTATUS(status) == 0) ? lines : -1;
}

int walkSnmpwalk(const std::string& agent, const std::string& community, const std::string& column)
{
    return runSnmpwalk({"-v1", "-c", community, "-On", "-Oq", agent, column});
}

// One command to the simulated switch's control channel; true for "ok".
bool controlCommand(const std::string& path, const std::string& command)
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    bool ok = false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
        const std::string line = command + "\n";
        if (write(fd, line.data(), line.size()) == ssize_t(line.size())) {
            char reply[256] = {};
            ok = read(fd, reply, sizeof(reply) - 1) > 0 && strncmp(reply, "ok", 2) == 0;
        }
    }
    close(fd);
    return ok;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// ---- tables walked the way a dialog walks them ----

struct TableWalk {
    std::unique_ptr<CSnmp> request;
    CSnmpTable table{nullptr};
    std::string agent;
    int cells = 0;
    int requests = 0;
    int end = 1;   // 1 while walking

    static int Callback(CSnmp* response, int, void* user, int status)
    {
        auto* self = static_cast<TableWalk*>(user);
        if (status != SNMP_OK) {
            delete response;
            self->end = status;
            return 0;
        }
        for (int i = 0; i < response->getVarBindCount(); ++i) {
            char* oid = nullptr;
            unsigned char* data = nullptr;
            int length = 0;
            response->getValueBytes(i, &oid, &data, &length);
            ++self->cells;
        }
        delete response;
        self->next();
        return 0;
    }
    void next()
    {
        ++requests;
        if (table.getNextAsync(agent.c_str(), Callback, this, 5000) != SNMP_OK)
            end = SNMP_SEND_FAILED;
    }
};

struct Credentials {
    std::string community = "public";
    std::string user, auth, priv;   // v3 when user is set (SHA, DES)
};

std::unique_ptr<CSnmp> makeRequest(const Credentials& who, bool v3, const std::vector<std::string>& columns)
{
    std::unique_ptr<CSnmp> req;
    if (v3) {
        auto r = std::make_unique<CSnmpV3>(SNMP_PDU_GETNEXT);
        r->setMsgMaxSize(1024);
        r->setMsgSecurityModel(3);
        r->setUserName(who.user.c_str());
        r->setMsgFlags(3);
        r->setAuthArith(1);
        r->setAuthPwd(reinterpret_cast<const unsigned char*>(who.auth.data()), int(who.auth.size()));
        r->setPriArith(0);
        r->setPriPwd(reinterpret_cast<const unsigned char*>(who.priv.data()), int(who.priv.size()));
        req = std::move(r);
    } else {
        auto r = std::make_unique<CSnmpV1>(SNMP_PDU_GETNEXT);
        r->setCommunity(who.community.c_str());
        req = std::move(r);
    }
    for (const std::string& c : columns)
        req->addValue(c.c_str(), SNMP_TYPE_NULL, nullptr);
    return req;
}

// Several walks at once, as a dialog starts its reads. `together`: each
// walk's columns in one request per step (the row walk); else column after
// column, one get-next each (the walk before). Returns the cells read and
// counts the requests.
int walkTables(const std::string& agent, const Credentials& who, bool v3,
               const std::vector<std::vector<std::string>>& walks, bool together, int& requests)
{
    std::vector<std::unique_ptr<TableWalk>> running;
    std::vector<std::vector<std::string>> queue;   // per walk: columns still to walk (column after column)
    for (const auto& columns : walks) {
        auto w = std::make_unique<TableWalk>();
        w->agent = agent;
        if (together) {
            w->request = makeRequest(who, v3, columns);
            w->table.setSnmp(w->request.get());
            w->table.setColumnWalk(true);
            queue.push_back({});
        } else {
            w->request = makeRequest(who, v3, {columns.front()});
            w->table.setSnmp(w->request.get());
            queue.push_back(std::vector<std::string>(columns.begin() + 1, columns.end()));
        }
        running.push_back(std::move(w));
    }
    for (auto& w : running)
        w->next();
    int cells = 0;
    bool busy = true;
    while (busy) {
        SnmpProcessCallbacks(20);
        busy = false;
        for (size_t i = 0; i < running.size(); ++i) {
            TableWalk& w = *running[i];
            if (w.end == SNMP_END_OF_WALK && !queue[i].empty()) {
                w.request->clearVarBindList();
                w.request->addValue(queue[i].front().c_str(), SNMP_TYPE_NULL, nullptr);
                queue[i].erase(queue[i].begin());
                w.end = 1;
                w.next();
            }
            if (w.end == 1)
                busy = true;
            else if (w.end != SNMP_END_OF_WALK)
                return -1;
        }
    }
    requests = 0;
    for (auto& w : running) {
        cells += w->cells;
        requests += w->requests;
    }
    return cells;
}

// snmpwalk of each column in turn; the lines it printed, or -1.
int snmpwalkColumns(const std::string& agent, const Credentials& who, bool v3, const std::vector<std::string>& columns)
{
    int lines = 0;
    for (const std::string& c : columns) {
        std::vector<std::string> args;
        if (v3)
            args = {"-v3", "-l", "authPriv", "-u", who.user, "-a", "SHA", "-A", who.auth, "-x", "DES", "-X", who.priv};
        else
            args = {"-v1", "-c", who.community};
        args.insert(args.end(), {"-On", "-Oq", agent, c});
        const int n = runSnmpwalk(args);
        if (n < 0)
            return -1;
        lines += n;
    }
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    std::string agent;
    std::string community = "public";
    std::string column = "1.3.6.1.2.1.17.7.1.2.2.1.2"; // dot1qTpFdbPort of the simulated switch
    int runs = 5;
    Credentials who;
    std::string control;
    int fdbRows = 3000;
    int delayMs = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--agent"))
            agent = argv[i + 1];
        else if (!strcmp(argv[i], "--community"))
            community = argv[i + 1];
        else if (!strcmp(argv[i], "--oid"))
            column = argv[i + 1];
        else if (!strcmp(argv[i], "--runs"))
            runs = std::max(1, atoi(argv[i + 1]));
        else if (!strcmp(argv[i], "--user"))
            who.user = argv[i + 1];
        else if (!strcmp(argv[i], "--auth"))
            who.auth = argv[i + 1];
        else if (!strcmp(argv[i], "--priv"))
            who.priv = argv[i + 1];
        else if (!strcmp(argv[i], "--control"))
            control = argv[i + 1];
        else if (!strcmp(argv[i], "--fdb"))
            fdbRows = std::max(1, atoi(argv[i + 1]));
        else if (!strcmp(argv[i], "--delay"))
            delayMs = std::max(0, atoi(argv[i + 1]));
    }
    if (agent.empty()) {
        fprintf(stderr, "usage: bench_walk --agent HOST:PORT [--community C] [--oid OID] [--runs N]\n"
                        "                  [--user U --auth A --priv P] [--control PATH] [--fdb ROWS] [--delay MS]\n");
        return 2;
    }
    SnmpInit(nullptr);
    who.community = community;

    // Warm-up: starts the engine and fills the agent's caches for both.
    int ourRows = walkOurs(agent, community, column);
    int theirRows = walkSnmpwalk(agent, community, column);
    if (ourRows <= 0 || theirRows <= 0) {
        fprintf(stderr, "walk failed: ours %d rows, snmpwalk %d rows\n", ourRows, theirRows);
        return 1;
    }

    std::vector<double> ours, theirs;
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        int rows = walkOurs(agent, community, column);
        ours.push_back(msSince(start));
        if (rows != ourRows)
            fprintf(stderr, "run %d: ours gave %d rows instead of %d\n", r, rows, ourRows);
        start = Clock::now();
        rows = walkSnmpwalk(agent, community, column);
        theirs.push_back(msSince(start));
        if (rows != theirRows)
            fprintf(stderr, "run %d: snmpwalk gave %d rows instead of %d\n", r, rows, theirRows);
    }
    const double a = median(ours);
    const double b = median(theirs);
    printf("agent %s column %s\n", agent.c_str(), column.c_str());
    printf("rows: ours %d, snmpwalk %d\n", ourRows, theirRows);
    printf("CSnmpTable get-next walk: %.2f ms (median of %d)\n", a, runs);
    printf("snmpwalk -v1 -On -Oq:     %.2f ms (median of %d)\n", b, runs);
    printf("ratio %.3f\n", a / b);
    if (ourRows != theirRows)
        return 1;

    // The forwarding table's two columns walked as a dialog walks them (the
    // row walk: both columns in each request; get-bulk over v3), against
    // snmpwalk of the same columns (get-next, one column after the other).
    if (!control.empty() && !controlCommand(control, "fdb " + std::to_string(fdbRows)))
        fprintf(stderr, "could not fill the forwarding table\n");
    const std::vector<std::string> fdb = {"1.3.6.1.2.1.17.7.1.2.2.1.3", "1.3.6.1.2.1.17.7.1.2.2.1.2"};
    std::vector<double> tableRatios;
    for (bool v3 : {false, true}) {
        if (v3 && who.user.empty())
            continue;
        int requests = 0;
        const int cells = walkTables(agent, who, v3, {fdb}, true, requests);
        const int lines = snmpwalkColumns(agent, who, v3, fdb);
        if (cells <= 0 || cells != lines) {
            fprintf(stderr, "table walk failed: ours %d cells, snmpwalk %d\n", cells, lines);
            return 1;
        }
        std::vector<double> ours2, theirs2;
        for (int r = 0; r < runs; ++r) {
            auto start = Clock::now();
            walkTables(agent, who, v3, {fdb}, true, requests);
            ours2.push_back(msSince(start));
            start = Clock::now();
            snmpwalkColumns(agent, who, v3, fdb);
            theirs2.push_back(msSince(start));
        }
        const double a2 = median(ours2);
        const double b2 = median(theirs2);
        printf("forwarding table, 2 columns, %d cells, %s: row walk %.2f ms (%d requests), snmpwalk %s %.2f ms, ratio %.3f\n",
               cells, v3 ? "v3 authPriv" : "v1", a2, requests, v3 ? "-v3" : "-v1", b2, a2 / b2);
        tableRatios.push_back(a2 / b2);
    }

    // A dialog's reads over a slow link: the VLAN dialog's five walks at
    // once, with every answer 20 ms late, column after column (as before)
    // and all columns together.
    if (!control.empty() && controlCommand(control, "delay " + std::to_string(delayMs))) {
        const std::string p = "1.3.6.1.4.1.32473.10.126.4.1.";
        const std::vector<std::vector<std::string>> dialog = {
            {p + "7.5"},
            {p + "21.1.2", p + "21.1.3", p + "26.1.1", p + "26.1.2"},
            {p + "7.7.1.1"},
            {p + "41.1.1.1.2"},
            {p + "7.6.1.1", p + "7.6.1.2", p + "7.6.1.4", p + "7.6.1.3", p + "7.6.1.5", p + "7.6.1.6"},
        };
        for (bool v3 : {false, true}) {
            if (v3 && who.user.empty())
                continue;
            for (bool together : {false, true}) {
                int requests = 0;
                const auto start = Clock::now();
                const int cells = walkTables(agent, who, v3, dialog, together, requests);
                printf("VLAN dialog's reads, answers %d ms late, %s, %s: %d cells, %d requests, %.2f s\n", delayMs,
                       v3 ? "v3" : "v1", together ? "columns together" : "column after column", cells, requests,
                       msSince(start) / 1000.0);
            }
        }
        controlCommand(control, "delay 0");
    }
    if (!tableRatios.empty()) {
        printf("ratio table v1 %.3f", tableRatios[0]);
        if (tableRatios.size() > 1)
            printf(" v3 %.3f", tableRatios[1]);
        printf("\n");
    }
    return 0;
}
