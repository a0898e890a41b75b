#include "CSnmpEngine.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"

#include <openssl/crypto.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>
#include <unordered_map>

namespace {

using Clock = std::chrono::steady_clock;

// Requests on the wire to one agent at most; the rest wait their turn. A
// burst of hundreds overruns an agent's socket, and with no retries each
// lost packet fails a whole walk.
constexpr int kMaxInFlightPerAgent = 32;

struct Task;
using TaskPtr = std::shared_ptr<Task>;

struct Timer {
    TaskPtr task;
    bool recheck = false;   // else the task's deadline
};
using TimerMap = std::multimap<Clock::time_point, Timer>;

// One request from submission to its outcome. On its way it may need an
// engine-ID discovery, wait for a free slot of its agent or for its v3 user
// entry, and be resent once when the agent turns out to have a new engine ID.
struct Task {
    std::unique_ptr<SnmpJob> job;
    std::string host;              // "host:port"
    Clock::time_point deadline;    // set when it is first sent
    bool sent = false;
    bool ended = false;
    bool admitted = false;         // holds one of its agent's slots
    bool engineRetried = false;    // rediscovered and resent once
    bool rechecking = false;       // a discovery for it is under way
    std::string engineId;          // v3: the engine ID its request went out with
    std::string userKey;           // v3: the user entry it keeps in line, if any
    std::vector<TimerMap::iterator> timers;   // its deadline and recheck
};
enum class FlightKind { Request, Discovery, Recheck };

struct Flight {
    TaskPtr task;
    std::string sessionKey;
    FlightKind kind = FlightKind::Request;
};

struct Outcome {
    long flight = 0;
    int op = 0;
    bool report = false;
    int reportType = 0;
    std::string engineId;
    std::unique_ptr<CSnmp> response;
};

struct Session {
    netsnmp_session* ss = nullptr;
    int outstanding = 0;
    Clock::time_point lastUse;
};

struct Agent {
    int admitted = 0;
    std::deque<TaskPtr> waiting;
};

// A v3 user entry (engine ID and name) in use: the keys it carries and how
// many requests still wait for answers checked with them.
struct UserUse {
    std::string keys;
    int count = 0;
    std::deque<TaskPtr> held;
};

// A task taken off a wait: to be admitted (it holds its slot already) or sent.
struct Ready {
    TaskPtr task;
    bool begin = false;
};

// State of the engine thread; nothing else touches it.
struct EngineState {
    std::unordered_map<long, Flight> flights;
    long nextFlight = 0;
    std::unordered_map<std::string, Session> sessions;
    std::unordered_map<std::string, std::string> engineIds;   // "host:port" -> engine ID
    std::unordered_map<std::string, Agent> agents;
    std::unordered_map<std::string, UserUse> users;
    TimerMap timers;
    std::deque<Ready> ready;
    std::vector<Outcome> outcomes;
    bool stopping = false;
};

EngineState* g_state = nullptr;

std::string hostKey(const SnmpJob& job)
{
    return job.host + ":" + std::to_string(job.port);
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::unique_ptr<CSnmp> convertResponse(int version, const netsnmp_pdu* pdu)
{
    std::unique_ptr<CSnmp> resp;
    if (version == 3)
        resp = std::make_unique<CSnmpV3>(SNMP_PDU_GET);
    else
        resp = std::make_unique<CSnmpV1>(SNMP_PDU_GET);
    CSnmp::Impl& r = *resp->impl();
    r.errStatus = int(pdu->errstat);
    r.errIndex = int(pdu->errindex);
    if (version == 3 && pdu->securityEngineID && pdu->securityEngineIDLen) {
        r.agentEngineId.assign(reinterpret_cast<const char*>(pdu->securityEngineID), pdu->securityEngineIDLen);
        // The time-window entry this answer left (net-snmp updates it from
        // every authenticated message before delivering it).
        u_int boots = 0;
        u_int engineTime = 0;
        if (get_enginetime(pdu->securityEngineID, u_int(pdu->securityEngineIDLen), &boots, &engineTime, TRUE)
            == SNMPERR_SUCCESS)
            r.agentBoots = long(boots);
    }
    for (const netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable) {
        SnmpVarBind vb;
        vb.oid.assign(v->name, v->name + v->name_length);
        vb.oidText = SnmpOidText(vb.oid);
        vb.tag = v->type;
        vb.hasText = true;
        switch (v->type) {
        case ASN_INTEGER:
            vb.text = std::to_string(v->val.integer ? *v->val.integer : 0);
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            vb.text = std::to_string(v->val.integer ? (static_cast<unsigned long>(*v->val.integer) & 0xFFFFFFFFul) : 0ul);
            break;
        case ASN_COUNTER64:
            if (v->val.counter64)
                vb.text = std::to_string((uint64_t(v->val.counter64->high) << 32) | (v->val.counter64->low & 0xFFFFFFFFul));
            else
                vb.text = "0";
            break;
        case ASN_IPADDRESS:
            if (v->val.string && v->val_len >= 4) {
                const u_char* a = v->val.string;
                vb.text = std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." + std::to_string(a[3]);
            }
            break;
        case ASN_OBJECT_ID:
            if (v->val.objid)
                vb.text = SnmpOidText(SnmpOid(v->val.objid, v->val.objid + v->val_len / sizeof(oid)));
            break;
        case ASN_NULL:
            break;
        case SNMP_NOSUCHOBJECT:
        case SNMP_NOSUCHINSTANCE:
        case SNMP_ENDOFMIBVIEW:
            vb.hasText = false;
            break;
        default: // octet strings, opaque, bits: their raw octets
            if (v->val.string && v->val_len)
                vb.text.assign(reinterpret_cast<const char*>(v->val.string), v->val_len);
            break;
        }
        r.vbs.push_back(std::move(vb));
    }
    return resp;
}


int netsnmpCallback(int op, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic)
{
    EngineState* st = g_state;
    if (!st || st->stopping)
        return 1;
    // net-snmp announces a report as a security error first and then
    // delivers it as a received message: the latter is the outcome. A
    // resend (the agent rebooted: its boot counter moved) is no outcome at
    // all; the answer to the resent message follows.
    if (op == NETSNMP_CALLBACK_OP_SEC_ERROR || op == NETSNMP_CALLBACK_OP_RESEND)
        return 1;
    long id = long(reinterpret_cast<intptr_t>(magic));
    auto it = st->flights.find(id);
    if (it == st->flights.end())
        return 1;
    Outcome out;
    out.flight = id;
    out.op = op;
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu) {
        if (pdu->command == SNMP_MSG_REPORT) {
            out.report = true;
            out.reportType = snmpv3_get_report_type(pdu);
            if (pdu->securityEngineID && pdu->securityEngineIDLen)
                out.engineId.assign(reinterpret_cast<const char*>(pdu->securityEngineID), pdu->securityEngineIDLen);
        } else {
            out.response = convertResponse(it->second.task->job->version, pdu);
        }
    }
    st->outcomes.push_back(std::move(out));
    return 1;
}

int statusOfError(int err)
{
    switch (err) {
    case SNMPERR_UNKNOWN_USER_NAME: return SNMP_UNKNOWN_USER;
    case SNMPERR_AUTHENTICATION_FAILURE:
    case SNMPERR_DECRYPTION_ERR:
    case SNMPERR_UNSUPPORTED_SEC_LEVEL:
    case SNMPERR_NOT_IN_TIME_WINDOW: return SNMP_AUTH_FAILURE;
    case SNMPERR_BAD_ADDRESS: return SNMP_BAD_ADDRESS;
    case SNMPERR_TIMEOUT: return SNMP_NO_ANSWER;
    default: return SNMP_SEND_FAILED;
    }
}

int command(int pduType)
{
    switch (pduType) {
    case SNMP_PDU_GETNEXT: return SNMP_MSG_GETNEXT;
    case SNMP_PDU_SET: return SNMP_MSG_SET;
    case SNMP_PDU_GETBULK: return SNMP_MSG_GETBULK;
    default: return SNMP_MSG_GET;
    }
}

bool addVarBinds(netsnmp_pdu* pdu, const std::vector<SnmpVarBind>& vbs)
{
    for (const SnmpVarBind& vb : vbs) {
        std::vector<oid> name(vb.oid.begin(), vb.oid.end());
        netsnmp_variable_list* v = nullptr;
        switch (vb.tag) {
        case SNMP_ASN_INTEGER: {
            long value = long(vb.number);
            v = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_INTEGER, &value, sizeof(value));
            break;
        }
        case SNMP_ASN_GAUGE: {
            u_long value = u_long(vb.number);
            v = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_GAUGE, &value, sizeof(value));
            break;
        }
        case SNMP_ASN_OCTETS:
        case SNMP_ASN_IPADDRESS:
            v = snmp_pdu_add_variable(pdu, name.data(), name.size(), u_char(vb.tag), vb.octets.data(), vb.octets.size());
            break;
        case SNMP_ASN_OID: {
            std::vector<oid> value(vb.oidValue.begin(), vb.oidValue.end());
            v = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_OBJECT_ID, value.data(), value.size() * sizeof(oid));
            break;
        }
        default:
            v = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_NULL, nullptr, 0);
            break;
        }
        if (!v)
            return false;
    }
    return true;
}

// The keys of one v3 request, localised to an engine ID.
struct UserKeys {
    oid* hash = nullptr;
    oid* privProto = nullptr;
    std::string auth;
    std::string priv;   // empty without privacy

    std::string fingerprint(int flags) const
    {
        return std::string(1, char(flags)) + std::string(1, hash == usmHMACSHA1AuthProtocol ? 'S' : 'M') + auth + '|' + priv;
    }
};

int deriveKu(oid* hash, const std::string& password, std::string& out)
{
    u_char buf[USM_AUTH_KU_LEN];
    size_t len = sizeof(buf);
    if (generate_Ku(hash, USM_AUTH_PROTO_MD5_LEN, reinterpret_cast<const u_char*>(password.data()), password.size(), buf, &len) != SNMPERR_SUCCESS)
        return SNMP_BAD_PASSPHRASE;
    out.assign(reinterpret_cast<char*>(buf), len);
    return SNMP_OK;
}

int localize(oid* hash, const std::string& engineId, const std::string& ku, size_t maxLen, std::string& out)
{
    u_char buf[USM_AUTH_KU_LEN];
    size_t len = sizeof(buf);
    if (generate_kul(hash, USM_AUTH_PROTO_MD5_LEN, reinterpret_cast<const u_char*>(engineId.data()), engineId.size(),
                     reinterpret_cast<const u_char*>(ku.data()), ku.size(), buf, &len) != SNMPERR_SUCCESS)
        return SNMP_BAD_PASSPHRASE;
    out.assign(reinterpret_cast<char*>(buf), std::min(len, maxLen));
    return SNMP_OK;
}

// Derives what this request needs and the cache lacks: a request object
// that moves from authNoPriv to authPriv derives its privacy key then.
int localizedKeys(const SnmpJob& job, const std::string& engineId, UserKeys& out)
{
    const SnmpV3Security& sec = job.sec;
    const bool priv = (sec.flags & 2) != 0;
    out.hash = sec.authArith == 1 ? usmHMACSHA1AuthProtocol : usmHMACMD5AuthProtocol;
    out.privProto = priv ? usmDESPrivProtocol : usmNoPrivProtocol;
    SnmpKeyCache& keys = *job.keys;
    if (keys.authKu.empty() && deriveKu(out.hash, sec.authPwd, keys.authKu) != SNMP_OK)
        return SNMP_BAD_PASSPHRASE;
    if (priv && keys.privKu.empty() && deriveKu(out.hash, sec.privPwd, keys.privKu) != SNMP_OK)
        return SNMP_BAD_PASSPHRASE;
    auto& local = keys.localized[engineId];
    if (local.first.empty() && localize(out.hash, engineId, keys.authKu, USM_AUTH_KU_LEN, local.first) != SNMP_OK)
        return SNMP_BAD_PASSPHRASE;
    // DES takes 16 octets: its key and its pre-IV.
    if (priv && local.second.empty() && localize(out.hash, engineId, keys.privKu, 16, local.second) != SNMP_OK)
        return SNMP_BAD_PASSPHRASE;
    out.auth = local.first;
    out.priv = priv ? local.second : std::string();
    return SNMP_OK;
}

// A USM user entry of that engine ID and name, without keys yet.
struct usmUser* newUser(const std::string& engineId, const std::string& name)
{
    struct usmUser* user = usm_create_user();
    if (!user)
        return nullptr;
    user->engineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
    user->engineIDLen = engineId.size();
    user->name = strdup(name.c_str());
    user->secName = strdup(name.c_str());
    return user;
}

// net-snmp keeps one user per (engine ID, name) for the whole process and
// signs and checks messages with that entry's keys: it is brought in line
// with this request, so a changed password takes effect at once. (No other
// request with other keys for the same entry is in flight: see holdUser.)
int installUser(const SnmpJob& job, const std::string& engineId, const UserKeys* keys)
{
    const u_char* eid = reinterpret_cast<const u_char*>(engineId.data());
    struct usmUser* user = usm_get_user(eid, engineId.size(), job.sec.user.c_str());
    if (!keys) {
        if (user)
            return SNMP_OK;
        user = newUser(engineId, job.sec.user);
        if (!user)
            return SNMP_SEND_FAILED;
        user->userStorageType = ST_READONLY;
        usm_add_user(user);
        return SNMP_OK;
    }
    const std::string& authKey = keys->auth;
    const std::string& privKey = keys->priv;
    if (user) {
        bool same = user->authProtocol && snmp_oid_compare(user->authProtocol, user->authProtocolLen, keys->hash, USM_AUTH_PROTO_MD5_LEN) == 0
            && user->authKeyLen == authKey.size() && memcmp(user->authKey, authKey.data(), authKey.size()) == 0
            && user->privProtocol && snmp_oid_compare(user->privProtocol, user->privProtocolLen, keys->privProto, USM_PRIV_PROTO_DES_LEN) == 0
            && user->privKeyLen == privKey.size() && (privKey.empty() || memcmp(user->privKey, privKey.data(), privKey.size()) == 0);
        if (same)
            return SNMP_OK;
        usm_remove_user(user);
        usm_free_user(user);
    }
    user = newUser(engineId, job.sec.user);
    if (!user)
        return SNMP_SEND_FAILED;
    SNMP_FREE(user->authProtocol);
    user->authProtocol = snmp_duplicate_objid(keys->hash, USM_AUTH_PROTO_MD5_LEN);
    user->authProtocolLen = USM_AUTH_PROTO_MD5_LEN;
    user->authKey = static_cast<u_char*>(netsnmp_memdup(authKey.data(), authKey.size()));
    user->authKeyLen = authKey.size();
    SNMP_FREE(user->privProtocol);
    user->privProtocol = snmp_duplicate_objid(keys->privProto, USM_PRIV_PROTO_DES_LEN);
    user->privProtocolLen = USM_PRIV_PROTO_DES_LEN;
    if (!privKey.empty()) {
        user->privKey = static_cast<u_char*>(netsnmp_memdup(privKey.data(), privKey.size()));
        user->privKeyLen = privKey.size();
    }
    user->userStorageType = ST_READONLY;
    usm_add_user(user);
    return SNMP_OK;
}

class Worker
{
public:
    explicit Worker(EngineState& st) : s(st) {}

    void start(std::unique_ptr<SnmpJob> job)
    {
        auto task = std::make_shared<Task>();
        task->host = hostKey(*job);
        task->job = std::move(job);
        Agent& agent = s.agents[task->host];
        if (agent.admitted >= kMaxInFlightPerAgent) {
            agent.waiting.push_back(task);
            return;
        }
        agent.admitted++;
        task->admitted = true;
        begin(task);
    }

    // Handles answers, time-outs and released waits until nothing is left.
    void settle()
    {
        for (;;) {
            while (!s.outcomes.empty()) {
                std::vector<Outcome> batch;
                batch.swap(s.outcomes);
                for (Outcome& out : batch)
                    handle(out);
            }
            expireTimers();
            if (s.ready.empty())
                return;
            while (!s.ready.empty()) {
                Ready next = std::move(s.ready.front());
                s.ready.pop_front();
                if (next.task->ended)
                    continue;
                if (next.begin)
                    begin(next.task);
                else
                    sendRequest(next.task);
            }
        }
    }

    // How long the select loop may sleep before a deadline or a recheck.
    bool nextTimer(struct timeval& tv) const
    {
        if (s.timers.empty())
            return false;
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(s.timers.begin()->first - Clock::now()).count();
        left = std::max<long long>(left, 0);
        tv.tv_sec = long(left / 1000000);
        tv.tv_usec = long(left % 1000000);
        return true;
    }

    void evictIdle(bool all)
    {
        auto now = Clock::now();
        for (auto it = s.sessions.begin(); it != s.sessions.end();) {
            if (all || (it->second.outstanding == 0 && now - it->second.lastUse > std::chrono::seconds(30))) {
                snmp_close(it->second.ss);
                it = s.sessions.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    EngineState& s;

    long remainingUs(const Task& task) const
    {
        return long(std::chrono::duration_cast<std::chrono::microseconds>(task.deadline - Clock::now()).count());
    }

    void addTimer(const TaskPtr& task, Clock::time_point when, bool recheck)
    {
        task->timers.push_back(s.timers.emplace(when, Timer{task, recheck}));
    }

    // A request's time-out runs from when it is first sent: time spent
    // waiting for a slot of its agent or for its user entry is not its
    // agent's silence, and every such wait ends when requests on the wire
    // end (each within its own time-out).
    void startClock(const TaskPtr& task)
    {
        if (task->sent)
            return;
        task->sent = true;
        task->deadline = Clock::now() + std::chrono::milliseconds(task->job->timeoutMs);
        addTimer(task, task->deadline, false);
    }

    void begin(const TaskPtr& task)
    {
        if (task->job->version == 3 && !s.engineIds.count(task->host))
            sendProbe(task, FlightKind::Discovery);
        else
            sendRequest(task);
    }

    void finish(const TaskPtr& task, int status, std::unique_ptr<CSnmp> response = nullptr)
    {
        if (task->ended)
            return;
        task->ended = true;
        for (auto timer : task->timers)
            s.timers.erase(timer);
        task->timers.clear();
        releaseUser(*task);
        if (task->admitted) {
            task->admitted = false;
            releaseSlot(task->host);
        }
        if (task->job->done)
            task->job->done(status, std::move(response));
    }

    // A slot of the agent is free: the next waiting task takes it over.
    void releaseSlot(const std::string& host)
    {
        auto it = s.agents.find(host);
        if (it == s.agents.end())
            return;
        Agent& agent = it->second;
        while (!agent.waiting.empty()) {
            TaskPtr next = std::move(agent.waiting.front());
            agent.waiting.pop_front();
            if (next->ended)
                continue;
            next->admitted = true;
            s.ready.push_back({std::move(next), true});
            return;
        }
        if (--agent.admitted <= 0)
            s.agents.erase(it);
    }

    // Keeps the user entry of `key` for this task. False when a request
    // with other keys for the same entry is still in flight: its answer
    // would fail the digest check against ours, so this one waits.
    bool holdUser(const TaskPtr& task, const std::string& key, const std::string& keys)
    {
        if (task->userKey == key)
            return true;
        releaseUser(*task);
        UserUse& use = s.users[key];
        // Once a request waits for the entry, later ones wait behind it
        // even with the keys in use: else requests of one password that
        // keep overlapping (several threads) would hold it for good.
        if (use.count > 0 && (use.keys != keys || !use.held.empty())) {
            use.held.push_back(task);
            return false;
        }
        use.keys = keys;
        use.count++;
        task->userKey = key;
        return true;
    }

    void releaseUser(Task& task)
    {
        if (task.userKey.empty())
            return;
        auto it = s.users.find(task.userKey);
        task.userKey.clear();
        if (it == s.users.end() || --it->second.count > 0)
            return;
        for (TaskPtr& held : it->second.held)
            s.ready.push_back({std::move(held), false});
        s.users.erase(it);
    }

    void expireTimers()
    {
        auto now = Clock::now();
        while (!s.timers.empty() && s.timers.begin()->first <= now) {
            auto first = s.timers.begin();
            Timer timer = std::move(first->second);
            auto& own = timer.task->timers;
            own.erase(std::remove(own.begin(), own.end(), first), own.end());
            s.timers.erase(first);
            if (timer.recheck)
                sendProbe(timer.task, FlightKind::Recheck);
            else
                timedOut(timer.task);
        }
    }

    // The request's own time is over (net-snmp's timer may run longer after
    // a resend). A v3 agent that stays silent may have been restarted with a
    // new engine ID: the next request discovers it again.
    void timedOut(const TaskPtr& task)
    {
        if (task->job->version == 3 && !task->engineId.empty()) {
            auto it = s.engineIds.find(task->host);
            if (it != s.engineIds.end() && it->second == task->engineId)
                s.engineIds.erase(it);
            // An agent may also come back with its engine ID and its boot
            // count set back (against RFC 3414): net-snmp then refuses every
            // answer below the boots it holds, for good. Forgetting its boots
            // and time makes the next request learn them again from the
            // agent's notInTimeWindow report, as on first contact (net-snmp
            // resends on its own).
            set_enginetime(reinterpret_cast<const u_char*>(task->engineId.data()), u_int(task->engineId.size()), 0, 0,
                           TRUE);
        }
        finish(task, SNMP_NO_ANSWER);
    }

    netsnmp_session* session(const std::string& key, const SnmpJob& job, bool v3, const std::string& engineId)
    {
        auto it = s.sessions.find(key);
        if (it != s.sessions.end()) {
            it->second.lastUse = Clock::now();
            return it->second.ss;
        }
        netsnmp_session init;
        snmp_sess_init(&init);
        std::string peer = "udp:" + hostKey(job);
        init.peername = peer.data();
        init.retries = 0;
        init.timeout = 1000000;
        init.flags |= SNMP_FLAGS_DONT_PROBE;
        static char publicCommunity[] = "public";
        if (v3) {
            init.version = SNMP_VERSION_3;
            init.securityModel = SNMP_SEC_MODEL_USM;
            init.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
            if (!engineId.empty()) {
                init.securityEngineID = reinterpret_cast<u_char*>(const_cast<char*>(engineId.data()));
                init.securityEngineIDLen = engineId.size();
                init.contextEngineID = init.securityEngineID;
                init.contextEngineIDLen = init.securityEngineIDLen;
            }
            if (job.sec.maxSize >= 484)
                init.rcvMsgMaxSize = size_t(job.sec.maxSize);
        } else {
            init.version = SNMP_VERSION_1;
            init.community = reinterpret_cast<u_char*>(publicCommunity);
            init.community_len = strlen(publicCommunity);
        }
        netsnmp_session* ss = snmp_open(&init);
        if (!ss)
            return nullptr;
        Session entry;
        entry.ss = ss;
        entry.lastUse = Clock::now();
        s.sessions.emplace(key, entry);
        return ss;
    }

    bool send(const TaskPtr& task, netsnmp_session* ss, const std::string& key, netsnmp_pdu* pdu, FlightKind kind, int& status)
    {
        startClock(task);
        long left = remainingUs(*task);
        if (left <= 0) {
            snmp_free_pdu(pdu);
            status = SNMP_NO_ANSWER;
            return false;
        }
        // One session serves several objects: the time-out is each request's.
        ss->timeout = left;
        ss->retries = 0;
        long id = ++s.nextFlight;
        if (!snmp_async_send(ss, pdu, netsnmpCallback, reinterpret_cast<void*>(intptr_t(id)))) {
            status = statusOfError(ss->s_snmp_errno);
            snmp_free_pdu(pdu);
            return false;
        }
        s.flights.emplace(id, Flight{task, key, kind});
        s.sessions[key].outstanding++;
        return true;
    }

    void sendProbe(const TaskPtr& task, FlightKind kind)
    {
        if (kind == FlightKind::Recheck) {
            if (task->rechecking || task->engineRetried)
                return;
            task->rechecking = true;
        }
        const SnmpJob& job = *task->job;
        std::string key = "probe|" + task->host;
        netsnmp_session* ss = session(key, job, true, std::string());
        int status = SNMP_BAD_ADDRESS;
        if (ss) {
            // The discovery request of RFC 3414: unauthenticated, no user, no
            // varbinds; the agent's report names its engine ID.
            netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
            pdu->version = SNMP_VERSION_3;
            pdu->securityModel = SNMP_SEC_MODEL_USM;
            pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
            pdu->securityName = strdup("");
            pdu->securityNameLen = 0;
            if (send(task, ss, key, pdu, kind, status))
                return;
        }
        if (kind == FlightKind::Discovery)
            finish(task, status);
        else
            task->rechecking = false;
    }

    void sendRequest(const TaskPtr& task)
    {
        const SnmpJob& job = *task->job;
        std::string key;
        netsnmp_pdu* pdu = nullptr;
        if (job.version == 3) {
            auto cached = s.engineIds.find(task->host);
            if (cached == s.engineIds.end()) {
                // Forgotten while this request waited (another one timed out).
                sendProbe(task, FlightKind::Discovery);
                return;
            }
            const std::string engineId = cached->second;
            if (job.sec.flags != 0) {
                UserKeys keys;
                int rc = localizedKeys(job, engineId, keys);
                if (rc != SNMP_OK) {
                    finish(task, rc);
                    return;
                }
                if (!holdUser(task, hex(engineId) + "|" + job.sec.user, keys.fingerprint(job.sec.flags)))
                    return;
                rc = installUser(job, engineId, &keys);
                if (rc != SNMP_OK) {
                    finish(task, rc);
                    return;
                }
            } else if (installUser(job, engineId, nullptr) != SNMP_OK) {
                finish(task, SNMP_SEND_FAILED);
                return;
            }
            startClock(task);
            if (task->engineId.empty() && !task->engineRetried) {
                // Half way through its time without an answer, a discovery
                // tells whether the agent now has another engine ID (it was
                // restarted or replaced): its reports for the new one are
                // dropped by net-snmp, so only a discovery can tell.
                addTimer(task, Clock::now() + std::chrono::microseconds(remainingUs(*task) / 2), true);
            }
            task->engineId = engineId;
            key = "v3|" + task->host + "|" + hex(engineId) + "|" + std::to_string(job.sec.maxSize);
            pdu = snmp_pdu_create(command(job.pduType));
            pdu->version = SNMP_VERSION_3;
            pdu->securityModel = SNMP_SEC_MODEL_USM;
            pdu->securityLevel = job.sec.flags == 3 ? SNMP_SEC_LEVEL_AUTHPRIV
                : job.sec.flags == 1 ? SNMP_SEC_LEVEL_AUTHNOPRIV : SNMP_SEC_LEVEL_NOAUTH;
            pdu->securityName = strdup(job.sec.user.c_str());
            pdu->securityNameLen = job.sec.user.size();
        } else {
            key = "v1|" + task->host;
            pdu = snmp_pdu_create(command(job.pduType));
            pdu->version = SNMP_VERSION_1;
            pdu->community = static_cast<u_char*>(netsnmp_memdup(job.community.data(), job.community.size() + 1));
            pdu->community_len = job.community.size();
        }
        if (job.pduType == SNMP_PDU_GETBULK) {
            pdu->non_repeaters = 0;
            pdu->max_repetitions = job.maxRepetitions;
        }
        if (!addVarBinds(pdu, job.vbs)) {
            snmp_free_pdu(pdu);
            finish(task, SNMP_BAD_REQUEST);
            return;
        }
        netsnmp_session* ss = session(key, job, job.version == 3, task->engineId);
        if (!ss) {
            snmp_free_pdu(pdu);
            finish(task, SNMP_BAD_ADDRESS);
            return;
        }
        int status = SNMP_OK;
        if (!send(task, ss, key, pdu, FlightKind::Request, status))
            finish(task, status);
    }

    void handle(Outcome& out)
    {
        auto it = s.flights.find(out.flight);
        if (it == s.flights.end())
            return;
        Flight flight = std::move(it->second);
        s.flights.erase(it);
        auto sit = s.sessions.find(flight.sessionKey);
        if (sit != s.sessions.end()) {
            sit->second.outstanding--;
            sit->second.lastUse = Clock::now();
        }
        const TaskPtr& task = flight.task;
        if (task->ended)
            return;
        const bool received = out.op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE;

        switch (flight.kind) {
        case FlightKind::Recheck:
            task->rechecking = false;
            if (received && out.report && !out.engineId.empty() && out.engineId != task->engineId) {
                // The agent has a new engine ID: resend once, in the time left.
                s.engineIds[task->host] = out.engineId;
                task->engineRetried = true;
                sendRequest(task);
            }
            return;
        case FlightKind::Discovery:
            if (received && out.report && !out.engineId.empty()) {
                s.engineIds[task->host] = out.engineId;
                sendRequest(task);
            } else if (out.op == NETSNMP_CALLBACK_OP_TIMED_OUT) {
                finish(task, SNMP_NO_ANSWER);
            } else {
                finish(task, SNMP_SEND_FAILED);
            }
            return;
        case FlightKind::Request:
            break;
        }

        if (out.op == NETSNMP_CALLBACK_OP_TIMED_OUT) {
            timedOut(task);
            return;
        }
        if (!received) {
            finish(task, SNMP_SEND_FAILED);
            return;
        }
        if (out.report) {
            if (out.reportType == SNMPERR_UNKNOWN_ENG_ID && !task->engineRetried) {
                // The agent has a new engine ID (it was restarted or replaced).
                s.engineIds.erase(task->host);
                task->engineRetried = true;
                sendProbe(task, FlightKind::Discovery);
                return;
            }
            finish(task, statusOfError(out.reportType));
            return;
        }
        if (!out.response) {
            finish(task, SNMP_SEND_FAILED);
            return;
        }
        finish(task, SNMP_OK, std::move(out.response));
    }
};

void initNetSnmp()
{
    // The engine is a function-local static and stops after main returns;
    // its last net-snmp calls still need the crypto library, so OpenSSL
    // must not tear itself down from its own exit handler first. The
    // process exit frees what OpenSSL holds.
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
    // Quiet and self-contained: no configuration or persistent files, no
    // MIBs (every OID is numeric), nothing written to stderr.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_NO_TOKEN_WARNINGS, 1);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIBDIRS, "/nonexistent");
    setenv("MIBS", "", 1);
    snmp_disable_log();
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);
    init_snmp("velmarc");
}

} // namespace

CSnmpEngine& CSnmpEngine::instance()
{
    static CSnmpEngine engine;
    return engine;
}

CSnmpEngine::CSnmpEngine()
{
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    // Start-up returns only once net-snmp (and the crypto library under it)
    // is initialised: a process that ends right after SnmpInit must not tear
    // the crypto library down under an engine still initialising it.
    std::promise<void> initialised;
    m_thread = std::thread([this, &initialised] {
        initNetSnmp();
        initialised.set_value();
        run();
    });
    initialised.get_future().wait();
}

CSnmpEngine::~CSnmpEngine()
{
    m_stopping = true;
    uint64_t one = 1;
    [[maybe_unused]] auto n = write(m_wakeFd, &one, sizeof(one));
    if (m_thread.joinable())
        m_thread.join();
    close(m_wakeFd);
}

void CSnmpEngine::submit(std::unique_ptr<SnmpJob> job)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_incoming.push_back(std::move(job));
    }
    uint64_t one = 1;
    [[maybe_unused]] auto n = write(m_wakeFd, &one, sizeof(one));
}

void CSnmpEngine::run()
{
    EngineState state;
    g_state = &state;
    Worker worker(state);
    // Descriptor sets that grow with the highest descriptor: a process with
    // over a thousand files or sockets open must not overrun a fixed fd_set.
    netsnmp_large_fd_set fds;
    netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
    for (;;) {
        std::deque<std::unique_ptr<SnmpJob>> jobs;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            jobs.swap(m_incoming);
        }
        if (m_stopping)
            break;
        for (auto& job : jobs)
            worker.start(std::move(job));
        worker.settle();

        int numfds = 0;
        NETSNMP_LARGE_FD_ZERO(&fds);
        struct timeval tv = {0, 0};
        int block = 1;
        snmp_select_info2(&numfds, &fds, &tv, &block);
        NETSNMP_LARGE_FD_SET(m_wakeFd, &fds);
        numfds = std::max(numfds, m_wakeFd + 1);
        struct timeval timer;
        if (worker.nextTimer(timer) && (block || timercmp(&timer, &tv, <))) {
            tv = timer;
            block = 0;
        }
        int n = netsnmp_large_fd_set_select(numfds, &fds, nullptr, nullptr, block ? nullptr : &tv);
        if (n > 0) {
            if (NETSNMP_LARGE_FD_ISSET(m_wakeFd, &fds)) {
                uint64_t count;
                [[maybe_unused]] auto r = read(m_wakeFd, &count, sizeof(count));
                NETSNMP_LARGE_FD_CLR(m_wakeFd, &fds);
            }
            snmp_read2(&fds);
        }
        snmp_timeout();
        worker.settle();
        worker.evictIdle(false);
    }
    netsnmp_large_fd_set_cleanup(&fds);
    state.stopping = true;
    worker.evictIdle(true);
    snmp_shutdown("velmarc");
    g_state = nullptr;
}
