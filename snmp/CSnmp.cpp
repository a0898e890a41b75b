#include "CSnmp.h"
#include "CSnmpEngine.h"
#include "CSnmpImpl.h"
#include "SnmpSetup.h"

#include <arpa/inet.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>

namespace {

std::mutex g_bindMutex;
std::atomic<int> g_lastRequestId{0};

bool parseInt(const std::string& text, bool allowNegative, int64_t lo, int64_t hi, int64_t& out)
{
    if (text.empty() || text.size() > 20)
        return false;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        if (text[0] == '-' && !allowNegative)
            return false;
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
        if (value > hi + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value < lo || value > hi)
        return false;
    out = value;
    return true;
}

} // namespace

void SnmpBindRequest(SnmpRequestRef* ref, CSnmp* request)
{
    std::lock_guard<std::mutex> lock(g_bindMutex);
    if (ref->request) {
        auto& refs = ref->request->impl()->refs;
        refs.erase(std::remove(refs.begin(), refs.end(), ref), refs.end());
    }
    ref->request = request;
    if (request)
        request->impl()->refs.push_back(ref);
}

CSnmp* SnmpBoundRequest(const SnmpRequestRef* ref)
{
    std::lock_guard<std::mutex> lock(g_bindMutex);
    return ref->request;
}

bool SnmpParseOid(const char* text, size_t length, SnmpOid& out)
{
    out.clear();
    if (!text)
        return false;
    size_t i = 0;
    if (i < length && text[i] == '.')
        ++i;
    if (i >= length)
        return false;
    while (i < length) {
        uint64_t value = 0;
        size_t start = i;
        while (i < length && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + uint64_t(text[i] - '0');
            if (value > 0xFFFFFFFFull)
                return false;
            ++i;
        }
        if (i == start)
            return false;
        out.push_back(uint32_t(value));
        if (out.size() > 128)
            return false;
        if (i < length) {
            if (text[i] != '.' || i + 1 == length)
                return false;
            ++i;
        }
    }
    return true;
}

std::string SnmpOidText(const SnmpOid& oid)
{
    std::string text;
    text.reserve(oid.size() * 4);
    for (size_t i = 0; i < oid.size(); ++i) {
        if (i)
            text += '.';
        text += std::to_string(oid[i]);
    }
    return text;
}

int SnmpNextRequestId()
{
    int id = ++g_lastRequestId;
    if (id <= 0) { // after two thousand million requests: start again at 1
        g_lastRequestId = 1;
        id = 1;
    }
    return id;
}

int SnmpEffectiveTimeout(unsigned long timeout)
{
    if (timeout == 0)
        return GetSnmpTimeout();
    return int(std::min<unsigned long>(timeout, 24UL * 3600 * 1000));
}

static bool parseAddress(const char* address, std::string& host, int& port)
{
    if (!address)
        return false;
    std::string text(address);
    port = GetSnmpDefaultPort();
    auto colon = text.find(':');
    if (colon != std::string::npos) {
        int64_t p = 0;
        if (!parseInt(text.substr(colon + 1), false, 1, 65535, p))
            return false;
        port = int(p);
        text.resize(colon);
    }
    in_addr addr{};
    if (inet_pton(AF_INET, text.c_str(), &addr) != 1)
        return false;
    host = text;
    return true;
}

int SnmpMakeJob(const CSnmp& request, const char* address, unsigned long timeout, SnmpJob& job)
{
    const CSnmp::Impl& r = *request.impl();
    if (r.vbs.empty())
        return SNMP_BAD_REQUEST;
    if (r.pduType != SNMP_PDU_GET && r.pduType != SNMP_PDU_GETNEXT && r.pduType != SNMP_PDU_SET)
        return SNMP_BAD_REQUEST;
    if (!parseAddress(address, job.host, job.port))
        return SNMP_BAD_ADDRESS;
    if (r.version == 3) {
        const SnmpV3Security& s = r.sec;
        if (s.flags != 0 && s.flags != 1 && s.flags != 3)
            return SNMP_BAD_REQUEST;
        if ((s.flags & 1) && (s.authArith != 0 && s.authArith != 1))
            return SNMP_BAD_REQUEST;
        if ((s.flags & 2) && s.privArith != 0)
            return SNMP_BAD_REQUEST;
        // USM cannot derive a key from a passphrase under 8 characters.
        if ((s.flags & 1) && s.authPwd.size() < 8)
            return SNMP_BAD_PASSPHRASE;
        if ((s.flags & 2) && s.privPwd.size() < 8)
            return SNMP_BAD_PASSPHRASE;
        job.sec = s;
        job.keys = r.keys;
    } else {
        job.community = r.community;
    }
    job.version = r.version;
    job.pduType = r.pduType;
    job.vbs = r.vbs;
    job.timeoutMs = SnmpEffectiveTimeout(timeout);
    return SNMP_OK;
}

namespace {
struct SyncState {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    int status = SNMP_SEND_FAILED;
    std::unique_ptr<CSnmp> response;
};
} // namespace

int SnmpRunSync(std::unique_ptr<SnmpJob> job, CSnmp*& response)
{
    auto state = std::make_shared<SyncState>();
    job->done = [state](int status, std::unique_ptr<CSnmp> resp) {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->status = status;
            state->response = std::move(resp);
            state->done = true;
        }
        // Notified after unlocking, so the sender does not wake only to
        // wait for the lock.
        state->cv.notify_one();
    };
    CSnmpEngine::instance().submit(std::move(job));
    std::unique_lock<std::mutex> lock(state->mutex);
    // Sleeps until the engine hands the outcome over: no spinning.
    state->cv.wait(lock, [&] { return state->done; });
    response = state->response.release();
    return response ? SNMP_OK : (state->status == SNMP_OK ? SNMP_SEND_FAILED : state->status);
}

// ---------------------------------------------------------------------------

CSnmp::CSnmp(int version, int pduType)
    : d(std::make_unique<Impl>())
{
    d->version = version;
    d->pduType = pduType;
}

CSnmp::~CSnmp()
{
    std::lock_guard<std::mutex> lock(g_bindMutex);
    for (SnmpRequestRef* ref : d->refs)
        ref->request = nullptr;
}

void CSnmp::setType(int pduType)
{
    d->pduType = pduType;
    d->changed();
}

int CSnmp::getType() const
{
    return d->pduType;
}

void CSnmp::clearVarBindList()
{
    d->vbs.clear();
    d->changed();
}

static int addParsed(CSnmp::Impl& d, const char* oid, int type, const char* data, size_t length, bool raw)
{
    SnmpVarBind vb;
    if (!oid || !SnmpParseOid(oid, strlen(oid), vb.oid))
        return SNMP_BAD_REQUEST;
    vb.oidText = SnmpOidText(vb.oid);
    const std::string text = data ? std::string(data, length) : std::string();
    switch (type) {
    case SNMP_TYPE_INTEGER:
        vb.tag = SNMP_ASN_INTEGER;
        if (!parseInt(text, true, INT32_MIN, INT32_MAX, vb.number))
            return SNMP_BAD_REQUEST;
        break;
    case SNMP_TYPE_UNSIGNED:
        vb.tag = SNMP_ASN_GAUGE;
        if (!parseInt(text, false, 0, UINT32_MAX, vb.number))
            return SNMP_BAD_REQUEST;
        break;
    case SNMP_TYPE_OCTETS:
        vb.tag = SNMP_ASN_OCTETS;
        vb.octets = text;
        break;
    case SNMP_TYPE_OID:
        vb.tag = SNMP_ASN_OID;
        if (!SnmpParseOid(text.c_str(), text.size(), vb.oidValue))
            return SNMP_BAD_REQUEST;
        break;
    case SNMP_TYPE_NULL:
        vb.tag = SNMP_ASN_NULL;
        break;
    case SNMP_TYPE_IPADDRESS: {
        vb.tag = SNMP_ASN_IPADDRESS;
        in_addr addr{};
        if (inet_pton(AF_INET, text.c_str(), &addr) == 1)
            vb.octets.assign(reinterpret_cast<const char*>(&addr), 4);
        else if (raw && text.size() == 4) // four address octets
            vb.octets = text;
        else
            return SNMP_BAD_REQUEST;
        break;
    }
    default:
        return SNMP_BAD_REQUEST;
    }
    d.vbs.push_back(std::move(vb));
    d.changed();
    return SNMP_OK;
}

int CSnmp::addValue(const char* oid, int type, const char* value)
{
    return addParsed(*d, oid, type, value, value ? strlen(value) : 0, false);
}

int CSnmp::addValue(const char* oid, int type, const void* data, int length)
{
    if (length < 0 || (!data && length > 0))
        return SNMP_BAD_REQUEST;
    return addParsed(*d, oid, type, static_cast<const char*>(data), size_t(length), true);
}

int CSnmp::send(const char* address, CSnmp*& response, unsigned long timeout)
{
    response = nullptr;
    auto job = std::make_unique<SnmpJob>();
    int rc = SnmpMakeJob(*this, address, timeout, *job);
    if (rc != SNMP_OK)
        return rc;
    job->requestId = d->requestId = SnmpNextRequestId();
    return SnmpRunSync(std::move(job), response);
}

int CSnmp::getRequestId() const
{
    return d->requestId;
}

int CSnmp::getVarBindCount() const
{
    return int(d->vbs.size());
}

void CSnmp::getAgentEngine(std::string* engineId, long* boots) const
{
    if (engineId)
        *engineId = d->agentEngineId;
    if (boots)
        *boots = d->agentBoots;
}

int CSnmp::getErrorStatus(int* status, int* index) const
{
    if (status)
        *status = d->errStatus;
    if (index)
        *index = d->errIndex;
    return 0;
}

int CSnmp::getOid(int i, char** oid)
{
    if (i < 0 || size_t(i) >= d->vbs.size()) {
        if (oid)
            *oid = nullptr;
        return -1;
    }
    if (oid)
        *oid = d->vbs[i].oidText.data();
    return 0;
}

int CSnmp::getValueText(int i, char** oid, char** value)
{
    if (value)
        *value = nullptr;
    if (getOid(i, oid) != 0)
        return -1;
    SnmpVarBind& vb = d->vbs[i];
    if (value && vb.hasText)
        *value = vb.text.data();
    return 0;
}

int CSnmp::getValueBytes(int i, char** oid, unsigned char** data, int* length)
{
    if (data)
        *data = nullptr;
    if (length)
        *length = 0;
    if (getOid(i, oid) != 0)
        return -1;
    SnmpVarBind& vb = d->vbs[i];
    if (!vb.hasText)
        return 0;
    if (data)
        *data = reinterpret_cast<unsigned char*>(vb.text.data());
    if (length)
        *length = int(vb.text.size());
    return 0;
}

int CSnmp::getValueType(int i) const
{
    if (i < 0 || size_t(i) >= d->vbs.size())
        return -1;
    const SnmpVarBind& vb = d->vbs[i];
    switch (vb.tag) {
    case SNMP_ASN_INTEGER: return SNMP_TYPE_INTEGER;
    case SNMP_ASN_OCTETS: return SNMP_TYPE_OCTETS;
    case SNMP_ASN_OID: return SNMP_TYPE_OID;
    case SNMP_ASN_NULL: return SNMP_TYPE_NULL;
    case SNMP_ASN_IPADDRESS: return SNMP_TYPE_IPADDRESS;
    case SNMP_ASN_GAUGE: return SNMP_TYPE_UNSIGNED;
    case SNMP_ASN_NO_SUCH_OBJECT:
    case SNMP_ASN_NO_SUCH_INSTANCE:
    case SNMP_ASN_END_OF_MIB_VIEW: return 0;
    default: return vb.tag;
    }
}
