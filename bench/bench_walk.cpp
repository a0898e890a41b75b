// Walks one table column through CSnmpTable (get-next, v1) and through
// net-snmp's snmpwalk against the same agent, and prints both times. The
// last line is "ratio <ours/snmpwalk>".
//
// bench_walk --agent HOST:PORT [--community C] [--oid OID] [--runs N]

#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "SnmpSetup.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
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

// One run of snmpwalk; returns the number of lines it printed, or -1.
int walkSnmpwalk(const std::string& agent, const std::string& community, const std::string& column)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::vector<const char*> argv = {"/usr/bin/snmpwalk", "-v1", "-c", community.c_str(), "-On", "-Oq",
                                     agent.c_str(), column.c_str(), nullptr};
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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    std::string agent;
    std::string community = "public";
    std::string column = "1.3.6.1.2.1.17.7.1.2.2.1.2"; // dot1qTpFdbPort of the simulated switch
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--agent"))
            agent = argv[i + 1];
        else if (!strcmp(argv[i], "--community"))
            community = argv[i + 1];
        else if (!strcmp(argv[i], "--oid"))
            column = argv[i + 1];
        else if (!strcmp(argv[i], "--runs"))
            runs = std::max(1, atoi(argv[i + 1]));
    }
    if (agent.empty()) {
        fprintf(stderr, "usage: bench_walk --agent HOST:PORT [--community C] [--oid OID] [--runs N]\n");
        return 2;
    }
    SnmpInit(nullptr);

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
    return ourRows == theirRows ? 0 : 1;
}
