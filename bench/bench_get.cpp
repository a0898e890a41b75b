// CPU time and latency of one synchronous get through the SNMP layer
// (CSnmp::send), v1 and v3 authPriv, beside net-snmp's own synchronous get
// (snmp_sess_synch_response) against the same agent in the same run. The
// layer's CPU includes its engine thread. net-snmp's get runs in a child
// process of this program (net-snmp is not thread-safe, and the layer's
// engine owns it here); only the loop of gets is measured on either side.
// The last line is "ratio cpu <layer/net-snmp> latency <layer/net-snmp>",
// the worse of v1 and v3.
//
// bench_get --agent HOST:PORT [--community C] [--user U --auth A --priv P]
//           [--gets N] [--runs N]

#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "SnmpSetup.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

const char* const kSysUpTime = "1.3.6.1.2.1.1.3.0";

struct Options {
    std::string agent;
    std::string community = "tundra";
    std::string user = "velshades";
    std::string auth = "velshades-auth";   // SHA
    std::string priv = "velshades-priv";   // DES
    int gets = 2000;
    int runs = 5;
};

// Microseconds of wall and CPU time per get.
struct Cost {
    double wallUs = 0;
    double cpuUs = 0;
};

double Now(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

// ---- net-snmp's own synchronous get (the child process) ----

int Baseline(const Options& o, bool v3)
{
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    setenv("MIBS", "", 1);
    snmp_disable_log();
    init_snmp("bench_get");

    netsnmp_session init;
    snmp_sess_init(&init);
    std::string peer = "udp:" + o.agent;
    init.peername = peer.data();
    init.retries = 0;
    init.timeout = 5000000;
    if (v3) {
        init.version = SNMP_VERSION_3;
        init.securityName = const_cast<char*>(o.user.c_str());
        init.securityNameLen = o.user.size();
        init.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
        init.securityAuthProto = usmHMACSHA1AuthProtocol;
        init.securityAuthProtoLen = USM_AUTH_PROTO_SHA_LEN;
        init.securityAuthKeyLen = USM_AUTH_KU_LEN;
        generate_Ku(init.securityAuthProto, init.securityAuthProtoLen, reinterpret_cast<const u_char*>(o.auth.data()),
                    o.auth.size(), init.securityAuthKey, &init.securityAuthKeyLen);
        init.securityPrivProto = usmDESPrivProtocol;
        init.securityPrivProtoLen = USM_PRIV_PROTO_DES_LEN;
        init.securityPrivKeyLen = USM_PRIV_KU_LEN;
        generate_Ku(init.securityAuthProto, init.securityAuthProtoLen, reinterpret_cast<const u_char*>(o.priv.data()),
                    o.priv.size(), init.securityPrivKey, &init.securityPrivKeyLen);
    } else {
        init.version = SNMP_VERSION_1;
        init.community = reinterpret_cast<u_char*>(const_cast<char*>(o.community.c_str()));
        init.community_len = o.community.size();
    }
    void* sess = snmp_sess_open(&init);
    if (!sess)
        return 1;
    oid name[MAX_OID_LEN];
    size_t nameLen = MAX_OID_LEN;
    read_objid(kSysUpTime, name, &nameLen);
    auto one = [&]() {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, nameLen);
        netsnmp_pdu* resp = nullptr;
        int rc = snmp_sess_synch_response(sess, pdu, &resp);
        bool ok = rc == STAT_SUCCESS && resp && resp->errstat == SNMP_ERR_NOERROR;
        if (resp)
            snmp_free_pdu(resp);
        return ok;
    };
    for (int i = 0; i < 20; ++i)   // discovery and caches
        if (!one())
            return 1;
    const double wall = Now(CLOCK_MONOTONIC);
    const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < o.gets; ++i)
        if (!one())
            return 1;
    printf("%f %f\n", (Now(CLOCK_MONOTONIC) - wall) / o.gets, (Now(CLOCK_PROCESS_CPUTIME_ID) - cpu) / o.gets);
    snmp_sess_close(sess);
    return 0;
}

bool RunBaseline(const char* self, const Options& o, bool v3, Cost& cost)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const std::string gets = std::to_string(o.gets);
    std::vector<const char*> argv = {self, "--baseline", v3 ? "v3" : "v1", "--agent", o.agent.c_str(),
                                     "--community", o.community.c_str(), "--user", o.user.c_str(),
                                     "--auth", o.auth.c_str(), "--priv", o.priv.c_str(), "--gets", gets.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, self, &actions, nullptr, const_cast<char* const*>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return false;
    }
    char buf[256] = {};
    ssize_t n = read(fds[0], buf, sizeof(buf) - 1);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0
        && sscanf(buf, "%lf %lf", &cost.wallUs, &cost.cpuUs) == 2;
}

// ---- the layer ----

bool RunLayer(const Options& o, CSnmp& request, Cost& cost)
{
    auto one = [&]() {
        CSnmp* resp = nullptr;
        int rc = request.send(o.agent.c_str(), resp, 5000);
        int status = -1;
        if (resp)
            resp->getErrorStatus(&status, nullptr);
        delete resp;
        return rc == 0 && status == 0;
    };
    for (int i = 0; i < 20; ++i)
        if (!one())
            return false;
    const double wall = Now(CLOCK_MONOTONIC);
    const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < o.gets; ++i)
        if (!one())
            return false;
    cost.wallUs = (Now(CLOCK_MONOTONIC) - wall) / o.gets;
    cost.cpuUs = (Now(CLOCK_PROCESS_CPUTIME_ID) - cpu) / o.gets;
    return true;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    std::string baseline;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--agent") o.agent = value;
        else if (key == "--community") o.community = value;
        else if (key == "--user") o.user = value;
        else if (key == "--auth") o.auth = value;
        else if (key == "--priv") o.priv = value;
        else if (key == "--gets") o.gets = std::max(1, atoi(value));
        else if (key == "--runs") o.runs = std::max(1, atoi(value));
        else if (key == "--baseline") baseline = value;
    }
    if (o.agent.empty()) {
        fprintf(stderr, "usage: bench_get --agent HOST:PORT [--community C] [--user U --auth A --priv P] [--gets N] [--runs N]\n");
        return 2;
    }
    if (!baseline.empty())
        return Baseline(o, baseline == "v3");

    SnmpInit(nullptr);
    CSnmpV1 v1(SNMP_PDU_GET);
    v1.setCommunity(o.community.c_str());
    v1.addValue(kSysUpTime, SNMP_TYPE_NULL, nullptr);
    CSnmpV3 v3(SNMP_PDU_GET);
    v3.setMsgMaxSize(1024);
    v3.setUserName(o.user.c_str());
    v3.setMsgFlags(3);
    v3.setAuthArith(1);
    v3.setAuthPwd(reinterpret_cast<const unsigned char*>(o.auth.data()), int(o.auth.size()));
    v3.setPriArith(0);
    v3.setPriPwd(reinterpret_cast<const unsigned char*>(o.priv.data()), int(o.priv.size()));
    v3.addValue(kSysUpTime, SNMP_TYPE_NULL, nullptr);

    double worstCpu = 0;
    double worstWall = 0;
    printf("agent %s, %d gets per run, median of %d runs, microseconds per get\n", o.agent.c_str(), o.gets, o.runs);
    for (bool isV3 : {false, true}) {
        std::vector<double> ourWall, ourCpu, theirWall, theirCpu;
        for (int r = 0; r < o.runs; ++r) {
            Cost ours, theirs;
            if (!RunBaseline(argv[0], o, isV3, theirs)) {
                fprintf(stderr, "net-snmp's get failed (%s)\n", isV3 ? "v3" : "v1");
                return 1;
            }
            if (!RunLayer(o, isV3 ? static_cast<CSnmp&>(v3) : static_cast<CSnmp&>(v1), ours)) {
                fprintf(stderr, "the layer's get failed (%s)\n", isV3 ? "v3" : "v1");
                return 1;
            }
            ourWall.push_back(ours.wallUs);
            ourCpu.push_back(ours.cpuUs);
            theirWall.push_back(theirs.wallUs);
            theirCpu.push_back(theirs.cpuUs);
        }
        const char* name = isV3 ? "v3 authPriv" : "v1";
        const double cpuRatio = Median(ourCpu) / Median(theirCpu);
        const double wallRatio = Median(ourWall) / Median(theirWall);
        printf("%-12s layer    cpu %7.1f  latency %7.1f\n", name, Median(ourCpu), Median(ourWall));
        printf("%-12s net-snmp cpu %7.1f  latency %7.1f\n", name, Median(theirCpu), Median(theirWall));
        printf("%-12s ratio    cpu %7.2f  latency %7.2f\n", name, cpuRatio, wallRatio);
        worstCpu = std::max(worstCpu, cpuRatio);
        worstWall = std::max(worstWall, wallRatio);
    }
    printf("ratio cpu %.2f latency %.2f\n", worstCpu, worstWall);
    return 0;
}
