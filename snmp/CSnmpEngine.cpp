#include "CSnmpEngine.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"

#include <openssl/crypto.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <sys/eventfd.h>
#include <sys/select.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <unordered_map>

namespace {

using Clock = std::chrono::steady_clock;

// A job on its way: it may need an engine-ID discovery before the request.
struct Task {
    std::unique_ptr<SnmpJob> job;
    Clock::time_point deadline;
    bool engineRetried = false;
};

struct Flight {
    Task task;
    std::string sessionKey;
    bool probe = false;
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

// State of the engine thread; nothing else touches it.
struct EngineState {
    std::unordered_map<long, Flight> flights;
    long nextFlight = 0;
    std::unordered_map<std::string, Session> sessions;
    std::unordered_map<std::string, std::string> engineIds;   // "host:port" -> engine ID
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

void finish(Task& task, int status, std::unique_ptr<CSnmp> response = nullptr)
{
    if (task.job && task.job->done)
        task.job->done(status, std::move(response));
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
    long id = long(reinterpret_cast<intptr_t>(magic));
    auto it = st->flights.find(id);
    if (it == st->flights.end())
        return 1;
    Outcome out;
    out.flight = id;
    out.op = op;
    // net-snmp announces a report as a security error first and then
    // delivers it as a received message: the latter is the outcome.
    if (op == NETSNMP_CALLBACK_OP_SEC_ERROR)
        return 1;
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu) {
        if (pdu->command == SNMP_MSG_REPORT) {
            out.report = true;
            out.reportType = snmpv3_get_report_type(pdu);
            if (pdu->securityEngineID && pdu->securityEngineIDLen)
                out.engineId.assign(reinterpret_cast<const char*>(pdu->securityEngineID), pdu->securityEngineIDLen);
        } else {
            out.response = convertResponse(it->second.task.job->version, pdu);
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

class Worker
{
public:
    explicit Worker(EngineState& st) : s(st) {}

    void start(std::unique_ptr<SnmpJob> job)
    {
        Task task;
        task.deadline = Clock::now() + std::chrono::milliseconds(job->timeoutMs);
        task.job = std::move(job);
        if (task.job->version == 3 && !s.engineIds.count(hostKey(*task.job)))
            sendProbe(std::move(task));
        else
            sendRequest(std::move(task));
    }

    // Returns whether any request ended.
    bool processOutcomes()
    {
        bool any = !s.outcomes.empty();
        while (!s.outcomes.empty()) {
            std::vector<Outcome> batch;
            batch.swap(s.outcomes);
            for (Outcome& out : batch)
                handle(out);
        }
        return any;
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
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(task.deadline - Clock::now()).count();
        return long(left);
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

    bool send(Task& task, netsnmp_session* ss, const std::string& key, netsnmp_pdu* pdu, bool probe, int& status)
    {
        long left = remainingUs(task);
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
        Flight flight;
        flight.task = std::move(task);
        flight.sessionKey = key;
        flight.probe = probe;
        s.flights.emplace(id, std::move(flight));
        s.sessions[key].outstanding++;
        return true;
    }

    void sendProbe(Task task)
    {
        const SnmpJob& job = *task.job;
        std::string key = "probe|" + hostKey(job);
        netsnmp_session* ss = session(key, job, true, std::string());
        if (!ss) {
            finish(task, SNMP_BAD_ADDRESS);
            return;
        }
        // The discovery request of RFC 3414: unauthenticated, no user, no
        // varbinds; the agent's report names its engine ID.
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        pdu->version = SNMP_VERSION_3;
        pdu->securityModel = SNMP_SEC_MODEL_USM;
        pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
        pdu->securityName = strdup("");
        pdu->securityNameLen = 0;
        int status = SNMP_OK;
        if (!send(task, ss, key, pdu, true, status))
            finish(task, status);
    }

    // A USM user entry of that engine ID and name, without keys yet.
    static struct usmUser* newUser(const std::string& engineId, const std::string& name)
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

    int ensureUser(const SnmpJob& job, const std::string& engineId)
    {
        const SnmpV3Security& sec = job.sec;
        const u_char* eid = reinterpret_cast<const u_char*>(engineId.data());
        struct usmUser* user = usm_get_user(eid, engineId.size(), sec.user.c_str());
        if (sec.flags == 0) {
            if (user)
                return SNMP_OK;
            user = newUser(engineId, sec.user);
            if (!user)
                return SNMP_SEND_FAILED;
            user->userStorageType = ST_READONLY;
            usm_add_user(user);
            return SNMP_OK;
        }

        oid* hash = sec.authArith == 1 ? usmHMACSHA1AuthProtocol : usmHMACMD5AuthProtocol;
        SnmpKeyCache& keys = *job.keys;
        if (!keys.derived) {
            u_char buf[USM_AUTH_KU_LEN];
            size_t len = sizeof(buf);
            if (generate_Ku(hash, USM_AUTH_PROTO_MD5_LEN, reinterpret_cast<const u_char*>(sec.authPwd.data()), sec.authPwd.size(), buf, &len) != SNMPERR_SUCCESS)
                return SNMP_BAD_PASSPHRASE;
            keys.authKu.assign(reinterpret_cast<char*>(buf), len);
            if (sec.flags & 2) {
                len = sizeof(buf);
                if (generate_Ku(hash, USM_AUTH_PROTO_MD5_LEN, reinterpret_cast<const u_char*>(sec.privPwd.data()), sec.privPwd.size(), buf, &len) != SNMPERR_SUCCESS)
                    return SNMP_BAD_PASSPHRASE;
                keys.privKu.assign(reinterpret_cast<char*>(buf), len);
            }
            keys.derived = true;
        }
        auto lit = keys.localized.find(engineId);
        if (lit == keys.localized.end()) {
            std::pair<std::string, std::string> kul;
            u_char buf[USM_AUTH_KU_LEN];
            size_t len = sizeof(buf);
            if (generate_kul(hash, USM_AUTH_PROTO_MD5_LEN, eid, engineId.size(), reinterpret_cast<const u_char*>(keys.authKu.data()), keys.authKu.size(), buf, &len) != SNMPERR_SUCCESS)
                return SNMP_BAD_PASSPHRASE;
            kul.first.assign(reinterpret_cast<char*>(buf), len);
            if (!keys.privKu.empty()) {
                len = sizeof(buf);
                if (generate_kul(hash, USM_AUTH_PROTO_MD5_LEN, eid, engineId.size(), reinterpret_cast<const u_char*>(keys.privKu.data()), keys.privKu.size(), buf, &len) != SNMPERR_SUCCESS)
                    return SNMP_BAD_PASSPHRASE;
                kul.second.assign(reinterpret_cast<char*>(buf), std::min<size_t>(len, 16)); // DES: key and pre-IV
            }
            lit = keys.localized.emplace(engineId, std::move(kul)).first;
        }
        const std::string& authKey = lit->second.first;
        const std::string privKey = (sec.flags & 2) ? lit->second.second : std::string();
        oid* privProto = (sec.flags & 2) ? usmDESPrivProtocol : usmNoPrivProtocol;

        // net-snmp keeps one user per (engine ID, name) for the whole
        // process and signs and checks messages with that entry's keys: it
        // is brought in line with this request, so a changed password takes
        // effect at once.
        if (user) {
            bool same = user->authProtocol && snmp_oid_compare(user->authProtocol, user->authProtocolLen, hash, USM_AUTH_PROTO_MD5_LEN) == 0
                && user->authKeyLen == authKey.size() && memcmp(user->authKey, authKey.data(), authKey.size()) == 0
                && user->privProtocol && snmp_oid_compare(user->privProtocol, user->privProtocolLen, privProto, USM_PRIV_PROTO_DES_LEN) == 0
                && user->privKeyLen == privKey.size() && (privKey.empty() || memcmp(user->privKey, privKey.data(), privKey.size()) == 0);
            if (same)
                return SNMP_OK;
            usm_remove_user(user);
            usm_free_user(user);
        }
        user = newUser(engineId, sec.user);
        if (!user)
            return SNMP_SEND_FAILED;
        SNMP_FREE(user->authProtocol);
        user->authProtocol = snmp_duplicate_objid(hash, USM_AUTH_PROTO_MD5_LEN);
        user->authProtocolLen = USM_AUTH_PROTO_MD5_LEN;
        user->authKey = static_cast<u_char*>(netsnmp_memdup(authKey.data(), authKey.size()));
        user->authKeyLen = authKey.size();
        SNMP_FREE(user->privProtocol);
        user->privProtocol = snmp_duplicate_objid(privProto, USM_PRIV_PROTO_DES_LEN);
        user->privProtocolLen = USM_PRIV_PROTO_DES_LEN;
        if (!privKey.empty()) {
            user->privKey = static_cast<u_char*>(netsnmp_memdup(privKey.data(), privKey.size()));
            user->privKeyLen = privKey.size();
        }
        user->userStorageType = ST_READONLY;
        usm_add_user(user);
        return SNMP_OK;
    }

    static int command(int pduType)
    {
        switch (pduType) {
        case SNMP_PDU_GETNEXT: return SNMP_MSG_GETNEXT;
        case SNMP_PDU_SET: return SNMP_MSG_SET;
        default: return SNMP_MSG_GET;
        }
    }

    static bool addVarBinds(netsnmp_pdu* pdu, const std::vector<SnmpVarBind>& vbs)
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

    void sendRequest(Task task)
    {
        const SnmpJob& job = *task.job;
        std::string key;
        std::string engineId;
        netsnmp_pdu* pdu = nullptr;
        if (job.version == 3) {
            engineId = s.engineIds[hostKey(job)];
            int rc = ensureUser(job, engineId);
            if (rc != SNMP_OK) {
                finish(task, rc);
                return;
            }
            key = "v3|" + hostKey(job) + "|" + hex(engineId) + "|" + std::to_string(job.sec.maxSize);
            pdu = snmp_pdu_create(command(job.pduType));
            pdu->version = SNMP_VERSION_3;
            pdu->securityModel = SNMP_SEC_MODEL_USM;
            pdu->securityLevel = job.sec.flags == 3 ? SNMP_SEC_LEVEL_AUTHPRIV
                : job.sec.flags == 1 ? SNMP_SEC_LEVEL_AUTHNOPRIV : SNMP_SEC_LEVEL_NOAUTH;
            pdu->securityName = strdup(job.sec.user.c_str());
            pdu->securityNameLen = job.sec.user.size();
        } else {
            key = "v1|" + hostKey(job);
            pdu = snmp_pdu_create(command(job.pduType));
            pdu->version = SNMP_VERSION_1;
            pdu->community = static_cast<u_char*>(netsnmp_memdup(job.community.data(), job.community.size() + 1));
            pdu->community_len = job.community.size();
        }
        if (!addVarBinds(pdu, job.vbs)) {
            snmp_free_pdu(pdu);
            finish(task, SNMP_BAD_REQUEST);
            return;
        }
        netsnmp_session* ss = session(key, job, job.version == 3, engineId);
        if (!ss) {
            snmp_free_pdu(pdu);
            finish(task, SNMP_BAD_ADDRESS);
            return;
        }
        int status = SNMP_OK;
        if (!send(task, ss, key, pdu, false, status))
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
        Task& task = flight.task;

        if (out.op == NETSNMP_CALLBACK_OP_TIMED_OUT) {
            finish(task, SNMP_NO_ANSWER);
            return;
        }
        if (out.op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE) {
            finish(task, SNMP_SEND_FAILED);
            return;
        }
        if (flight.probe) {
            if (out.report && !out.engineId.empty()) {
                s.engineIds[hostKey(*task.job)] = out.engineId;
                sendRequest(std::move(task));
            } else {
                finish(task, SNMP_SEND_FAILED);
            }
            return;
        }
        if (out.report) {
            if (out.reportType == SNMPERR_UNKNOWN_ENG_ID && !task.engineRetried) {
                // The agent has a new engine ID (it was restarted or replaced).
                s.engineIds.erase(hostKey(*task.job));
                task.engineRetried = true;
                sendProbe(std::move(task));
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
        m_queued = int(m_incoming.size());
    }
    uint64_t one = 1;
    [[maybe_unused]] auto n = write(m_wakeFd, &one, sizeof(one));
}

void CSnmpEngine::run()
{
    EngineState state;
    g_state = &state;
    Worker worker(state);
    for (;;) {
        std::deque<std::unique_ptr<SnmpJob>> jobs;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            jobs.swap(m_incoming);
            m_queued = 0;
        }
        if (m_stopping)
            break;
        for (auto& job : jobs)
            worker.start(std::move(job));
        worker.processOutcomes();

        int numfds = 0;
        fd_set fds;
        FD_ZERO(&fds);
        struct timeval tv = {0, 0};
        int block = 1;
        snmp_select_info(&numfds, &fds, &tv, &block);
        FD_SET(m_wakeFd, &fds);
        numfds = std::max(numfds, m_wakeFd + 1);
        int n = select(numfds, &fds, nullptr, nullptr, block ? nullptr : &tv);
        if (n > 0) {
            if (FD_ISSET(m_wakeFd, &fds)) {
                uint64_t count;
                [[maybe_unused]] auto r = read(m_wakeFd, &count, sizeof(count));
                FD_CLR(m_wakeFd, &fds);
            }
            snmp_read(&fds);
        }
        snmp_timeout();
        if (worker.processOutcomes()) {
            // A walker usually sends its next step right after an answer:
            // waiting for it briefly saves a sleep and a wake-up per row.
            auto spinEnd = Clock::now() + std::chrono::microseconds(300);
            while (m_queued.load() == 0 && !m_stopping && Clock::now() < spinEnd)
                std::this_thread::yield();
        }
        worker.evictIdle(false);
    }
    state.stopping = true;
    worker.evictIdle(true);
    snmp_shutdown("velmarc");
    g_state = nullptr;
}
