// switch-sim: a simulated PQS-4400 switch on net-snmp's agent library.
// See README.md in this folder for the command line, the data files and the
// control channel. This file is the agent's plumbing (start-up, transport
// hooks, control channel, request log); what the switch does beyond storing
// values lives in the *Behaviour.cpp files.

#include "Behaviour.h"
#include "MibStore.h"
#include "RequestLog.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
#include <net-snmp/library/fd_event_manager.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

extern "C" netsnmp_session* main_session;   // the agent's listening session

namespace {

// Every object of the switch lies below one of these: the internet arc and
// IEEE 802's (LLDP-MIB).
const oid kRegistered[] = {1, 3, 6, 1};
const oid kRegisteredIeee8802[] = {1, 0, 8802};

// ----------------------------------------------------------------- settings

struct Options
{
    std::string listen = "udp:127.0.0.1:161";
    std::string model = "PQS-4400-52";
    std::string dataDir;
    std::string config;
    std::string log;
    std::string control;
    bool exitWithStdin = false;
};

const char* const kDefaultConfig =
    "rocommunity tundra\n"
    "rwcommunity harbors\n"
    "createUser velnone\n"
    "createUser velmd5 MD5 velmd5-auth\n"
    "createUser velsha SHA velsha-auth\n"
    "createUser velmd5des MD5 velmd5des-auth DES velmd5des-priv\n"
    "createUser velshades SHA velshades-auth DES velshades-priv\n"
    "createUser velreader SHA velreader-auth\n"
    "rwuser velnone noauth\n"
    "rwuser velmd5 auth\n"
    "rwuser velsha auth\n"
    "rwuser velmd5des priv\n"
    "rwuser velshades priv\n"
    "rouser velreader auth\n";

// ------------------------------------------------------------------- state

struct Faults
{
    long dropCount = 0;          // answers still to drop
    bool dropAll = false;
    std::vector<Oid> dropUnder;  // drop answers to requests touching these subtrees
    int delayMs = 0;
    std::map<Oid, int> delayUnder;   // delay answers to requests touching these subtrees
    std::map<Oid, int> errors;   // answer this error status for this OID
    std::map<Oid, int> setErrors;   // the same for SETs only
    std::map<Oid, size_t> shortStrings;   // answer only the first N octets
    long bulkLimit = 0;          // GETBULK asking for more repetitions: tooBig (0 = off)
};

struct Delayed
{
    std::string packet;
    std::string address;
    netsnmp_transport* transport = nullptr;
};

// What the current request's answer is to go through.
struct CurrentRequest
{
    bool active = false;
    long requestId = 0;
    bool drop = false;
    int delayMs = 0;
    bool logged = false;
    bool report = false;   // v3: answered with a report (unknown user, wrong key ...)
    bool tooBig = false;   // a GETBULK over the bulk limit
    std::string line;      // the request's log line, completed when answered
};

unsigned AlarmMs(int ms, int flags, SNMPAlarmCallback* cb, void* data)
{
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return snmp_alarm_register_hr(tv, flags, cb, data);
}

void FireTimer(unsigned id, void*);

struct Sim : Switch
{
    Options options;
    MibStore runningObjects;
    MibStore savedObjects;     // what a reboot comes back with
    std::optional<MibStore> pending;   // a SET checked but not yet committed
    std::vector<SetRequest> pendingSet;
    RequestLog log;
    Faults faults;
    CurrentRequest current;
    std::vector<std::function<void()>> afterRequests;
    struct Timer
    {
        std::function<void()> f;
        bool repeat = false;
    };
    std::map<unsigned, Timer> timers;   // by alarm id
    std::chrono::steady_clock::time_point silentUntil{};
    std::string dataFile;
    std::filesystem::path tempDir;
    int (*originalSend)(netsnmp_transport*, const void*, int, void**, int*) = nullptr;
    netsnmp_transport* transport = nullptr;
    int controlListen = -1;
    std::map<int, std::string> controlBuffers;

    MibStore& running() override { return runningObjects; }
    MibStore& saved() override { return savedObjects; }
    const MibStore& running() const override { return runningObjects; }
    const std::string& model() const override { return options.model; }
    void silence(int ms) override
    {
        silentUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    }
    void after(int ms, std::function<void()> f) override { addTimer(ms, std::move(f), false); }
    void every(int ms, std::function<void()> f) override { addTimer(ms, std::move(f), true); }
    void afterRequest(std::function<void()> f) override
    {
        if (current.active)
            afterRequests.push_back(std::move(f));
        else
            f();
    }

    void addTimer(int ms, std::function<void()> f, bool repeat)
    {
        if (unsigned id = AlarmMs(ms, repeat ? SA_REPEAT : 0, FireTimer, nullptr))
            timers[id] = Timer{std::move(f), repeat};
    }
};

Sim* g_sim = nullptr;
volatile sig_atomic_t g_stop = 0;
int g_stopPipe[2] = {-1, -1};

bool Silent()
{
    return std::chrono::steady_clock::now() < g_sim->silentUntil;
}

std::string TimeText()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    gmtime_r(&ts.tv_sec, &t);
    char buf[96];
    snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03ldZ", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
             t.tm_hour, t.tm_min, t.tm_sec, ts.tv_nsec / 1000000);
    return buf;
}

void FireTimer(unsigned id, void*)
{
    auto it = g_sim->timers.find(id);
    if (it == g_sim->timers.end())
        return;
    if (it->second.repeat) {
        it->second.f();
        return;
    }
    std::function<void()> f = std::move(it->second.f);
    g_sim->timers.erase(it);
    f();
}

// ---------------------------------------------------------------- handler

Oid NameOf(const netsnmp_variable_list* vb)
{
    return Oid(vb->name, vb->name + vb->name_length);
}

// The value answered for an object: as the behaviours derive it, then cut
// by a short-string fault.
Value Answered(const Oid& name, const Value& stored)
{
    Value v = stored;
    for (Behaviour* b : Behaviours())
        b->onRead(*g_sim, name, v);
    auto s = g_sim->faults.shortStrings.find(name);
    if (s != g_sim->faults.shortStrings.end() && v.type == ASN_OCTET_STR && v.bytes.size() > s->second)
        v.bytes.resize(s->second);
    return v;
}

int InjectedError(const Oid& name)
{
    auto it = g_sim->faults.errors.find(name);
    return it == g_sim->faults.errors.end() ? 0 : it->second;
}

int InjectedSetError(const Oid& name)
{
    if (int e = InjectedError(name))
        return e;
    auto it = g_sim->faults.setErrors.find(name);
    return it == g_sim->faults.setErrors.end() ? 0 : it->second;
}

int Handler(netsnmp_mib_handler*, netsnmp_handler_registration*, netsnmp_agent_request_info* reqinfo,
            netsnmp_request_info* requests)
{
    const MibStore& store = g_sim->runningObjects;
    switch (reqinfo->mode) {
    case MODE_GET:
        for (netsnmp_request_info* r = requests; r; r = r->next) {
            if (r->processed)
                continue;
            Oid name = NameOf(r->requestvb);
            if (int e = InjectedError(name)) {
                netsnmp_set_request_error(reqinfo, r, e);
                continue;
            }
            if (const Object* obj = store.find(name)) {
                ValueToVarbind(Answered(name, obj->value), r->requestvb);
                continue;
            }
            // An instance of a known object or column answers noSuchInstance.
            Oid parent(name.begin(), name.end() - (name.empty() ? 0 : 1));
            auto* next = store.next(parent);
            bool known = next && OidUnder(next->first, parent) && !parent.empty();
            netsnmp_set_request_error(reqinfo, r, known ? SNMP_NOSUCHINSTANCE : SNMP_NOSUCHOBJECT);
        }
        return SNMP_ERR_NOERROR;

    case MODE_GETNEXT:
        if (g_sim->current.tooBig) {
            // A switch whose answer buffer holds fewer rows than were asked.
            netsnmp_set_request_error(reqinfo, requests, SNMP_ERR_TOOBIG);
            return SNMP_ERR_NOERROR;
        }
        for (netsnmp_request_info* r = requests; r; r = r->next) {
            if (r->processed)
                continue;
            auto* next = store.next(NameOf(r->requestvb));
            if (!next)
                continue;   // nothing after it here: the agent answers endOfMibView
            snmp_set_var_objid(r->requestvb, next->first.data(), next->first.size());
            if (int e = InjectedError(next->first)) {
                netsnmp_set_request_error(reqinfo, r, e);
                continue;
            }
            ValueToVarbind(Answered(next->first, next->second.value), r->requestvb);
        }
        return SNMP_ERR_NOERROR;

    case MODE_SET_RESERVE1: {
        std::vector<SetRequest> sets;
        std::vector<netsnmp_request_info*> order;
        for (netsnmp_request_info* r = requests; r; r = r->next) {
            Oid name = NameOf(r->requestvb);
            if (int e = InjectedSetError(name)) {
                netsnmp_set_request_error(reqinfo, r, e);
                return SNMP_ERR_NOERROR;
            }
            auto value = ValueFromVarbind(r->requestvb);
            if (!value) {
                netsnmp_set_request_error(reqinfo, r, SNMP_ERR_WRONGTYPE);
                return SNMP_ERR_NOERROR;
            }
            sets.push_back({name, *value});
            order.push_back(r);
        }
        // Checked on a copy, so that a refused SET changes nothing.
        g_sim->pending = store;
        SetOutcome outcome = g_sim->pending->applySet(sets);
        for (Behaviour* b : Behaviours()) {
            if (outcome.errorStatus != SNMP_ERR_NOERROR)
                break;
            b->checkSet(*g_sim, *g_sim->pending, sets, outcome);
        }
        if (outcome.errorStatus != SNMP_ERR_NOERROR) {
            g_sim->pending.reset();
            int at = outcome.errorIndex >= 1 && static_cast<size_t>(outcome.errorIndex) <= order.size()
                         ? outcome.errorIndex - 1 : 0;
            netsnmp_set_request_error(reqinfo, order[at], outcome.errorStatus);
            return SNMP_ERR_NOERROR;
        }
        g_sim->pendingSet = std::move(sets);
        return SNMP_ERR_NOERROR;
    }
    case MODE_SET_RESERVE2:
    case MODE_SET_ACTION:
        return SNMP_ERR_NOERROR;
    case MODE_SET_COMMIT:
        if (g_sim->pending) {
            g_sim->runningObjects = std::move(*g_sim->pending);
            g_sim->pending.reset();
            std::vector<SetRequest> set = std::move(g_sim->pendingSet);
            for (Behaviour* b : Behaviours())
                b->afterCommit(*g_sim, set);
        }
        return SNMP_ERR_NOERROR;
    case MODE_SET_FREE:
    case MODE_SET_UNDO:
        g_sim->pending.reset();
        return SNMP_ERR_NOERROR;
    }
    return SNMP_ERR_GENERR;
}

// --------------------------------------------------- request log and faults

const char* PduName(int command)
{
    switch (command) {
    case SNMP_MSG_GET: return "get";
    case SNMP_MSG_GETNEXT: return "getnext";
    case SNMP_MSG_GETBULK: return "getbulk";
    case SNMP_MSG_SET: return "set";
    case SNMP_MSG_RESPONSE: return "response";
    case SNMP_MSG_TRAP2: return "trap2";
    case SNMP_MSG_INFORM: return "inform";
    case SNMP_MSG_REPORT: return "report";
    default: return "other";
    }
}

const char* LevelName(int level)
{
    switch (level) {
    case SNMP_SEC_LEVEL_AUTHNOPRIV: return "authNoPriv";
    case SNMP_SEC_LEVEL_AUTHPRIV: return "authPriv";
    default: return "noAuthNoPriv";
    }
}

bool TouchesDropSubtree(const netsnmp_pdu* pdu)
{
    for (const netsnmp_variable_list* vb = pdu->variables; vb; vb = vb->next_variable)
        for (const Oid& prefix : g_sim->faults.dropUnder)
            if (OidUnder(NameOf(vb), prefix))
                return true;
    return false;
}

// The longest delay asked for a subtree the request touches.
int SubtreeDelayMs(const netsnmp_pdu* pdu)
{
    int ms = 0;
    for (const netsnmp_variable_list* vb = pdu->variables; vb; vb = vb->next_variable)
        for (const auto& [prefix, delay] : g_sim->faults.delayUnder)
            if (OidUnder(NameOf(vb), prefix))
                ms = std::max(ms, delay);
    return ms;
}

void SendDelayed(unsigned, void* data)
{
    std::unique_ptr<Delayed> d(static_cast<Delayed*>(data));
    void* address = d->address.empty() ? nullptr : d->address.data();
    int length = static_cast<int>(d->address.size());
    if (!Silent())
        g_sim->originalSend(d->transport, d->packet.data(), static_cast<int>(d->packet.size()), &address, &length);
}

// Every packet the agent sends passes here: answers are dropped or delayed
// as the faults say, and the answer to the request being handled is noted
// for its log line.
int HookSend(netsnmp_transport* t, const void* buf, int size, void** opaque, int* olength)
{
    CurrentRequest& cur = g_sim->current;
    if (!cur.active && opaque && !Silent()) {
        // A v3 request refused for its user or key is answered by a report
        // after the handler has logged it as unanswered, or without reaching
        // the handler at all (unknown user): the report completes that line
        // or is the only trace of the request.
        auto* pdu = reinterpret_cast<netsnmp_pdu*>(reinterpret_cast<char*>(opaque) - offsetof(netsnmp_pdu, transport_data));
        const std::string reason = UsmReportName(pdu);
        if (!reason.empty()) {
            const std::string tail = ",\"answered\":false,\"report\":true,\"report_name\":\"" + reason + "\"}";
            const std::string& last = g_sim->log.lastLine();
            const std::string unanswered = ",\"answered\":false}";
            if (last.size() > unanswered.size() && last.compare(last.size() - unanswered.size(), unanswered.size(), unanswered) == 0
                && last.find(",\"request_id\":" + std::to_string(pdu->reqid) + ",") != std::string::npos)
                g_sim->log.replaceLast(last.substr(0, last.size() - unanswered.size()) + tail);
            else
                g_sim->log.write("{\"time\":\"" + TimeText() + "\",\"version\":\"3\",\"user\":"
                                 + JsonString(std::string(pdu->securityName, pdu->securityNameLen))
                                 + ",\"pdu\":\"unknown\",\"request_id\":" + std::to_string(pdu->reqid)
                                 + ",\"varbinds\":[]" + tail);
        }
    }
    if (Silent() || (g_sim->faults.dropAll && !cur.active))
        return size;
    if (cur.active && opaque) {
        // The library passes the address field of the PDU being sent.
        auto* pdu = reinterpret_cast<netsnmp_pdu*>(reinterpret_cast<char*>(opaque) - offsetof(netsnmp_pdu, transport_data));
        if (pdu->command == SNMP_MSG_REPORT)
            cur.report = true;
        if (pdu->command == SNMP_MSG_RESPONSE && pdu->reqid == cur.requestId) {
            // Logged before the answer leaves, so that a test reading the
            // log after its answer always finds the line.
            std::string& line = cur.line;
            line += ",\"answered\":" + std::string(cur.drop ? "false,\"dropped\":true" : "true");
            if (cur.delayMs > 0 && !cur.drop)
                line += ",\"delayed_ms\":" + std::to_string(cur.delayMs);
            line += ",\"error_status\":" + std::to_string(pdu->errstat) + ",\"error_name\":\""
                    + ErrorStatusName(pdu->errstat) + "\",\"error_index\":" + std::to_string(pdu->errindex);
            line += ",\"response\":" + VarbindsJson(pdu->variables) + "}";
            g_sim->log.write(line);
            cur.logged = true;
            if (cur.drop)
                return size;
            if (cur.delayMs > 0) {
                auto* d = new Delayed;
                d->packet.assign(static_cast<const char*>(buf), size);
                if (*opaque && olength && *olength > 0)
                    d->address.assign(static_cast<const char*>(*opaque), *olength);
                d->transport = t;
                AlarmMs(cur.delayMs, 0, SendDelayed, d);
                return size;
            }
        }
        if (g_sim->faults.dropAll)
            return size;
    }
    return g_sim->originalSend(t, buf, size, opaque, olength);
}

int HookCallback(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic)
{
    if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE)
        return handle_snmp_packet(op, session, reqid, pdu, magic);

    std::string line = "{\"time\":\"" + TimeText() + "\"";
    line += ",\"version\":\"";
    line += pdu->version == SNMP_VERSION_1 ? "1" : pdu->version == SNMP_VERSION_2c ? "2c" : "3";
    line += "\"";
    if (pdu->version == SNMP_VERSION_3) {
        line += ",\"user\":" + JsonString(std::string(pdu->securityName ? pdu->securityName : "", pdu->securityNameLen));
        line += ",\"level\":\"" + std::string(LevelName(pdu->securityLevel)) + "\"";
    } else {
        line += ",\"community\":"
                + JsonString(std::string(reinterpret_cast<const char*>(pdu->community), pdu->community_len));
    }
    line += ",\"pdu\":\"" + std::string(PduName(pdu->command)) + "\"";
    line += ",\"request_id\":" + std::to_string(pdu->reqid);
    if (pdu->command == SNMP_MSG_GETBULK)
        line += ",\"non_repeaters\":" + std::to_string(pdu->non_repeaters)
                + ",\"max_repetitions\":" + std::to_string(pdu->max_repetitions);
    line += ",\"varbinds\":" + VarbindsJson(pdu->variables);

    if (Silent()) {
        // Rebooting: the request is neither processed nor answered.
        g_sim->log.write(line + ",\"answered\":false,\"silent\":true}");
        return 1;
    }

    Faults& f = g_sim->faults;
    CurrentRequest& cur = g_sim->current;
    cur = CurrentRequest{};
    cur.active = true;
    cur.requestId = pdu->reqid;
    if (f.dropAll || TouchesDropSubtree(pdu)) {
        cur.drop = true;
    } else if (f.dropCount > 0) {
        --f.dropCount;
        cur.drop = true;
    }
    cur.delayMs = std::max(f.delayMs, SubtreeDelayMs(pdu));
    cur.tooBig = pdu->command == SNMP_MSG_GETBULK && f.bulkLimit > 0 && pdu->max_repetitions > f.bulkLimit;
    cur.line = std::move(line);

    int result = handle_snmp_packet(op, session, reqid, pdu, magic);

    if (!cur.logged) {
        // Refused: unknown community (silently), or a v3 report.
        cur.line += ",\"answered\":false";
        if (cur.report)
            cur.line += ",\"report\":true";
        g_sim->log.write(cur.line + "}");
    }
    cur.active = false;

    std::vector<std::function<void()>> after = std::move(g_sim->afterRequests);
    g_sim->afterRequests.clear();
    for (auto& f : after)
        f();
    return result;
}

// ----------------------------------------------------------- control channel

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string ValueText(const Value& v)
{
    switch (v.type) {
    case ASN_INTEGER: return "i " + std::to_string(v.number);
    case ASN_GAUGE: return "u " + std::to_string(v.number);
    case ASN_COUNTER: return "c " + std::to_string(v.number);
    case ASN_TIMETICKS: return "t " + std::to_string(v.number);
    case ASN_COUNTER64: return "C " + std::to_string(static_cast<unsigned long long>(v.number));
    case ASN_OCTET_STR: return "x " + Hex(v.bytes);
    case ASN_OBJECT_ID: return "o " + OidText(v.oidValue);
    case ASN_IPADDRESS: {
        char buf[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, v.bytes.data(), buf, sizeof buf);
        return std::string("a ") + buf;
    }
    }
    return "?";
}

std::string Command(const std::string& line)
{
    std::vector<std::string> t;
    if (!Tokenize(line, t, false))
        return "error: unterminated quoted text";
    if (t.empty())
        return "error: empty command";
    Faults& f = g_sim->faults;
    const std::string& cmd = t[0];
    auto oidArg = [&](size_t i) { return i < t.size() ? ParseOid(t[i]) : std::nullopt; };

    if (cmd == "ping" && t.size() == 1)
        return "ok";
    if (cmd == "drop" && t.size() == 2) {
        if (t[1] == "all") {
            f.dropAll = true;
        } else if (t[1] == "off") {
            f.dropCount = 0;
            f.dropAll = false;
            f.dropUnder.clear();
        } else {
            char* end = nullptr;
            long n = strtol(t[1].c_str(), &end, 10);
            if (*end || n < 0)
                return "error: drop N | drop all | drop off | drop under OID";
            f.dropCount = n;
        }
        return "ok";
    }
    if (cmd == "drop" && t.size() == 3 && t[1] == "under") {
        auto o = oidArg(2);
        if (!o)
            return "error: bad OID";
        f.dropUnder.push_back(*o);
        return "ok";
    }
    if (cmd == "delay" && t.size() == 2) {
        char* end = nullptr;
        long ms = strtol(t[1].c_str(), &end, 10);
        if (*end || ms < 0 || ms > 600000)
            return "error: delay MS";
        f.delayMs = static_cast<int>(ms);
        return "ok";
    }
    if (cmd == "delay" && t.size() == 4 && t[1] == "under") {
        auto o = oidArg(2);
        char* end = nullptr;
        long ms = strtol(t[3].c_str(), &end, 10);
        if (!o || *end || ms < 0 || ms > 600000)
            return "error: delay under OID MS";
        if (ms == 0)
            f.delayUnder.erase(*o);
        else
            f.delayUnder[*o] = static_cast<int>(ms);
        return "ok";
    }
    if ((cmd == "error" || cmd == "set-error") && t.size() == 3) {
        auto o = oidArg(1);
        if (!o)
            return "error: bad OID";
        std::map<Oid, int>& errors = cmd == "error" ? f.errors : f.setErrors;
        if (t[2] == "off") {
            errors.erase(*o);
            return "ok";
        }
        int status = ErrorStatusFromText(t[2]);
        if (status <= 0)
            return "error: unknown error status '" + t[2] + "'";
        errors[*o] = status;
        return "ok";
    }
    if (cmd == "bulk-limit" && t.size() == 2) {
        if (t[1] == "off") {
            f.bulkLimit = 0;
            return "ok";
        }
        char* end = nullptr;
        const long n = std::strtol(t[1].c_str(), &end, 10);
        if (!*t[1].c_str() || *end || n < 1 || n > 65535)
            return "error: bulk-limit REPETITIONS (1-65535) | bulk-limit off";
        f.bulkLimit = n;
        return "ok";
    }
    if (cmd == "short" && t.size() == 3) {
        auto o = oidArg(1);
        if (!o)
            return "error: bad OID";
        if (t[2] == "off") {
            f.shortStrings.erase(*o);
            return "ok";
        }
        char* end = nullptr;
        long n = strtol(t[2].c_str(), &end, 10);
        if (*end || n < 0)
            return "error: short OID LENGTH";
        f.shortStrings[*o] = static_cast<size_t>(n);
        return "ok";
    }
    if (cmd == "set" && (t.size() == 4 || (t.size() == 3 && (t[2] == "s" || t[2] == "x")))) {
        auto o = oidArg(1);
        if (!o)
            return "error: bad OID";
        std::string why;
        auto v = t[2].size() == 1 ? ParseValue(t[2][0], t.size() == 4 ? t[3] : "", &why) : std::nullopt;
        if (!v)
            return "error: " + (why.empty() ? "bad type" : why);
        // The device's own state: kept across a reboot.
        const Object* old = g_sim->runningObjects.find(*o);
        bool writable = old ? old->writable : true;
        g_sim->runningObjects.put(*o, *v, writable);
        g_sim->savedObjects.put(*o, *v, writable);
        return "ok";
    }
    if (cmd == "unset" && t.size() == 2) {
        auto o = oidArg(1);
        if (!o)
            return "error: bad OID";
        g_sim->runningObjects.erase(*o);
        g_sim->savedObjects.erase(*o);
        return "ok";
    }
    if (cmd == "get" && t.size() == 2) {
        auto o = oidArg(1);
        if (!o)
            return "error: bad OID";
        const Object* obj = g_sim->runningObjects.find(*o);
        return obj ? "ok " + ValueText(Answered(*o, obj->value)) : "error: no such object";
    }
    if (cmd == "silence" && t.size() == 2) {
        char* end = nullptr;
        long ms = strtol(t[1].c_str(), &end, 10);
        if (*end || ms < 0)
            return "error: silence MS";
        g_sim->silence(static_cast<int>(ms));
        return "ok";
    }
    if (cmd == "clearlog" && t.size() == 1) {
        g_sim->log.clear();
        return "ok";
    }
    if (cmd == "clear" && t.size() == 1) {
        f = Faults{};
        return "ok";
    }
    if (cmd == "reset" && t.size() == 1) {
        std::string why;
        if (!g_sim->runningObjects.load(g_sim->dataFile, &why))
            return "error: " + why;
        g_sim->savedObjects = g_sim->runningObjects;
        f = Faults{};
        g_sim->silentUntil = {};
        g_sim->log.clear();
        for (Behaviour* b : Behaviours())
            b->onReset(*g_sim);
        return "ok";
    }
    for (Behaviour* b : Behaviours())
        if (auto reply = b->command(*g_sim, t))
            return *reply;
    return "error: unknown command '" + line + "'";
}

void ControlRead(int fd, void*)
{
    char buf[4096];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) {
        unregister_readfd(fd);
        g_sim->controlBuffers.erase(fd);
        close(fd);
        return;
    }
    std::string& pending = g_sim->controlBuffers[fd];
    pending.append(buf, n);
    size_t nl;
    while ((nl = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string reply = Command(line) + "\n";
        if (write(fd, reply.data(), reply.size()) < 0) {
            // The test went away; its connection is closed on the next read.
        }
    }
}

void ControlAccept(int fd, void*)
{
    int client = accept(fd, nullptr, nullptr);
    if (client >= 0) {
        fcntl(client, F_SETFD, FD_CLOEXEC);
        register_readfd(client, ControlRead, nullptr);
    }
}

bool OpenControl(const std::string& path)
{
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path)
        return false;
    addr.sun_family = AF_UNIX;
    strcpy(addr.sun_path, path.c_str());
    unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || listen(fd, 8) < 0) {
        if (fd >= 0)
            close(fd);
        return false;
    }
    g_sim->controlListen = fd;
    register_readfd(fd, ControlAccept, nullptr);
    return true;
}

// ------------------------------------------------------------ start and stop

void OnSignal(int)
{
    g_stop = 1;
    char c = 0;
    if (write(g_stopPipe[1], &c, 1) < 0) {
        // Nothing to do: the flag is set and select() was interrupted anyway.
    }
}

void StopPipeRead(int fd, void*)
{
    char buf[16];
    if (read(fd, buf, sizeof buf) < 0) {
        // Only a wake-up.
    }
}

// With --exit-with-stdin the switch stops when its standard input ends: a
// test holds the other end, so a test that dies leaves no switch behind
// holding its output open.
void StdinRead(int fd, void*)
{
    char buf[64];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
        unregister_readfd(fd);
        g_stop = 1;
    }
}

int Usage(const char* why)
{
    fprintf(stderr,
            "switch-sim: %s\n"
            "usage: switch-sim [--listen udp:127.0.0.1:PORT] [--model NAME] [--data-dir DIR]\n"
            "                  [--config FILE] [--log FILE] [--control SOCKET] [--exit-with-stdin]\n",
            why);
    std::string behaviours;
    for (Behaviour* b : Behaviours()) {
        std::string u = b->usage();
        if (!u.empty())
            behaviours += (behaviours.empty() ? "" : " ") + u;
    }
    if (!behaviours.empty())
        fprintf(stderr, "                  %s\n", behaviours.c_str());
    return 2;
}

// Options of the switch's behaviours (e.g. --save-busy): true when one
// claims `option`; `why` says what is wrong with its value.
bool ClaimedByBehaviour(const std::string& option, int argc, char** argv, int& i, std::string& why)
{
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    for (Behaviour* b : Behaviours())
        if (b->claimOption(option, value, why))
            return true;
    return false;
}

bool ParseArgs(int argc, char** argv, Options& o, std::string& why)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                why = a + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--listen")
            ok = value(o.listen);
        else if (a == "--model")
            ok = value(o.model);
        else if (a == "--data-dir")
            ok = value(o.dataDir);
        else if (a == "--config")
            ok = value(o.config);
        else if (a == "--log")
            ok = value(o.log);
        else if (a == "--control")
            ok = value(o.control);
        else if (a == "--exit-with-stdin")
            o.exitWithStdin = true;
        else if (!ClaimedByBehaviour(a, argc, argv, i, why)) {
            why = "unknown argument " + a;
            return false;
        }
        else
            ok = why.empty();
        if (!ok)
            return false;
    }
    return true;
}

// The model data files sit beside the program's sources; the build tells
// where (a copy next to the program is preferred when there is one).
std::string DataFile(const Options& o, const char* argv0)
{
    std::string name = o.model + ".sim";
    std::vector<std::filesystem::path> dirs;
    if (!o.dataDir.empty())
        dirs.emplace_back(o.dataDir);
    std::error_code ec;
    auto self = std::filesystem::canonical("/proc/self/exe", ec);
    if (!ec)
        dirs.push_back(self.parent_path());
    dirs.emplace_back(std::filesystem::path(argv0).parent_path());
#ifdef SWITCH_SIM_DATA_DIR
    dirs.emplace_back(SWITCH_SIM_DATA_DIR);
#endif
    for (const auto& d : dirs)
        if (std::filesystem::exists(d / name, ec))
            return (d / name).string();
    return {};
}

int Main(int argc, char** argv)
{
    Sim sim;
    g_sim = &sim;
    std::string why;
    if (!ParseArgs(argc, argv, sim.options, why))
        return Usage(why.c_str());
    const Options& o = sim.options;
    if (o.listen.rfind("udp:", 0) != 0)
        return Usage("--listen takes udp:ADDRESS:PORT");

    sim.dataFile = DataFile(o, argv[0]);
    if (sim.dataFile.empty())
        return Usage(("no data file for model " + o.model).c_str());
    if (!sim.runningObjects.load(sim.dataFile, &why))
        return Usage(why.c_str());
    sim.savedObjects = sim.runningObjects;

    std::string config = kDefaultConfig;
    if (!o.config.empty()) {
        std::ifstream in(o.config);
        if (!in)
            return Usage(("cannot read " + o.config).c_str());
        std::stringstream ss;
        ss << in.rdbuf();
        config = ss.str();
    }
    if (!o.log.empty() && !sim.log.open(o.log))
        return Usage(("cannot write " + o.log).c_str());

    // net-snmp reads and writes files of its own: give it a private folder
    // that holds only our configuration and goes away with us.
    char tmpl[] = "/tmp/switch-sim.XXXXXX";
    if (!mkdtemp(tmpl))
        return Usage("cannot make a temporary folder");
    sim.tempDir = tmpl;
    struct TempGuard
    {
        std::filesystem::path dir;
        ~TempGuard()
        {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    } guard{sim.tempDir};
    std::filesystem::create_directory(sim.tempDir / "persist");
    {
        std::ofstream conf(sim.tempDir / "switch-sim.conf");
        conf << config;
    }
    setenv("SNMPCONFPATH", sim.tempDir.c_str(), 1);
    setenv("SNMP_PERSISTENT_DIR", (sim.tempDir / "persist").c_str(), 1);
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", sim.tempDir.c_str(), 1);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, sim.tempDir.c_str());
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, (sim.tempDir / "persist").c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_QUICK_PRINT, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_MASTER, 0);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_PORTS, o.listen.c_str());
    // Quiet: every library message goes nowhere.
    snmp_disable_log();
    if (getenv("SWITCH_SIM_DEBUG")) {
        snmp_enable_stderrlog();
        debug_register_tokens(getenv("SWITCH_SIM_DEBUG"));
        snmp_set_do_debugging(1);
    }
    else
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);

    init_agent("switch-sim");
    init_snmp("switch-sim");
    if (init_master_agent() != 0 || !main_session)
        return Usage(("cannot listen on " + o.listen).c_str());

    for (auto [root, length] : {std::pair{kRegistered, OID_LENGTH(kRegistered)},
                                std::pair{kRegisteredIeee8802, OID_LENGTH(kRegisteredIeee8802)}}) {
        netsnmp_handler_registration* reg =
            netsnmp_create_handler_registration("switch-sim", Handler, root, length, HANDLER_CAN_RWRITE);
        if (!reg || netsnmp_register_handler(reg) != MIB_REGISTERED_OK)
            return Usage("cannot register the objects");
    }

    void* sessp = snmp_sess_pointer(main_session);
    sim.transport = sessp ? snmp_sess_transport(sessp) : nullptr;
    if (!sim.transport)
        return Usage("no transport");
    sim.originalSend = sim.transport->f_send;
    sim.transport->f_send = HookSend;
    main_session->callback = HookCallback;

    if (!o.control.empty() && !OpenControl(o.control))
        return Usage(("cannot open control socket " + o.control).c_str());

    if (pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) == 0)
        register_readfd(g_stopPipe[0], StopPipeRead, nullptr);
    if (o.exitWithStdin)
        register_readfd(STDIN_FILENO, StdinRead, nullptr);
    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    for (Behaviour* b : Behaviours())
        b->start(sim);

    sockaddr_in bound{};
    socklen_t len = sizeof bound;
    getsockname(sim.transport->sock, reinterpret_cast<sockaddr*>(&bound), &len);
    char address[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &bound.sin_addr, address, sizeof address);
    printf("listening on udp:%s:%u\n", address, ntohs(bound.sin_port));
    fflush(stdout);

    while (!g_stop)
        agent_check_and_process(1);

    if (sim.controlListen >= 0) {
        close(sim.controlListen);
        unlink(o.control.c_str());
    }
    snmp_shutdown("switch-sim");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return Main(argc, argv);
}
