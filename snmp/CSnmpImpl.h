#pragma once

// Internals of the SNMP layer shared by its classes and the engine. Nothing
// here calls net-snmp: the engine alone does.

#include "CSnmp.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

using SnmpOid = std::vector<uint32_t>;

// The get-bulk request, which only the table walker sends (never a type the
// program prepares).
constexpr int SNMP_PDU_GETBULK = 5;

// BER tags of the values this layer sends and reads.
enum SnmpAsnTag : int {
    SNMP_ASN_INTEGER = 0x02,
    SNMP_ASN_OCTETS = 0x04,
    SNMP_ASN_NULL = 0x05,
    SNMP_ASN_OID = 0x06,
    SNMP_ASN_IPADDRESS = 0x40,
    SNMP_ASN_COUNTER = 0x41,
    SNMP_ASN_GAUGE = 0x42,
    SNMP_ASN_TIMETICKS = 0x43,
    SNMP_ASN_OPAQUE = 0x44,
    SNMP_ASN_COUNTER64 = 0x46,
    SNMP_ASN_NO_SUCH_OBJECT = 0x80,
    SNMP_ASN_NO_SUCH_INSTANCE = 0x81,
    SNMP_ASN_END_OF_MIB_VIEW = 0x82,
};

struct SnmpVarBind {
    SnmpOid oid;
    std::string oidText;    // dotted, no leading dot
    int tag = SNMP_ASN_NULL;
    // Request: the encoded value (octets, IP octets); numbers in `number`,
    // OID values in `oidValue`. Response: the raw octets of octet strings.
    std::string octets;
    int64_t number = 0;
    SnmpOid oidValue;
    // Response only.
    bool hasText = false;   // false for exception values
    std::string text;       // value text (octet strings: their octets)
    std::string index;      // instance suffix handed out by CSnmpTable::getIndex
    int column = -1;        // a column walk's answer: the column it belongs to
};

// User security of a version-3 request.
struct SnmpV3Security {
    std::string user;
    int flags = 0;          // 0 none, 1 auth, 3 auth+priv
    int authArith = 0;      // 0 MD5, 1 SHA
    int privArith = 0;      // 0 DES
    std::string authPwd;
    std::string privPwd;
    int maxSize = 0;        // 0 = net-snmp's own
};

// Keys derived from one object's passwords. Made by the request object when
// its security changes; filled and read only by the engine thread.
struct SnmpKeyCache {
    std::string authKu;
    std::string privKu;
    std::map<std::string, std::pair<std::string, std::string>> localized; // engine ID -> (auth, priv)
};

// A walker's or sender's link to its request object, cleared when the
// request object is destroyed first.
struct SnmpRequestRef {
    CSnmp* request = nullptr;
};
void SnmpBindRequest(SnmpRequestRef* ref, CSnmp* request);
CSnmp* SnmpBoundRequest(const SnmpRequestRef* ref);

struct CSnmp::Impl {
    int version = 1;
    int pduType = SNMP_PDU_GET;
    std::vector<SnmpVarBind> vbs;
    std::string community = "public";
    SnmpV3Security sec;
    std::shared_ptr<SnmpKeyCache> keys = std::make_shared<SnmpKeyCache>();
    int requestId = 0;
    unsigned generation = 0;   // bumped by every change of the request
    int errStatus = 0;
    int errIndex = 0;
    std::string agentEngineId;   // v3 answers: the answering engine
    long agentBoots = -1;        // its boot count once authenticated, else -1
    std::vector<SnmpRequestRef*> refs;  // guarded by the binding mutex

    void changed() { ++generation; }
    void securityChanged() { keys = std::make_shared<SnmpKeyCache>(); }
};

// One request as the engine sends it: a snapshot of the request object.
struct SnmpJob {
    int version = 1;
    int pduType = SNMP_PDU_GET;
    std::string host;          // dotted IPv4
    int port = 161;
    std::vector<SnmpVarBind> vbs;
    std::string community;
    SnmpV3Security sec;
    std::shared_ptr<SnmpKeyCache> keys;
    int timeoutMs = 0;
    int requestId = 0;
    int maxRepetitions = 0;    // get-bulk
    // Called once on the engine thread with the outcome.
    std::function<void(int status, std::unique_ptr<CSnmp> response)> done;
};

// Helpers of the request side.
bool SnmpParseOid(const char* text, size_t length, SnmpOid& out);
std::string SnmpOidText(const SnmpOid& oid);
int SnmpNextRequestId();
// The time-out (ms) a call means by `timeout` (0 = the library default).
int SnmpEffectiveTimeout(unsigned long timeout);
// Fills a job from a request object; SNMP_OK or a SnmpResult code.
int SnmpMakeJob(const CSnmp& request, const char* address, unsigned long timeout, SnmpJob& job);
// Hands a task to the dispatcher (the GUI thread, or the built-in queue).
void SnmpPost(std::function<void()> task);

// Liveness of a walker or sender, checked on the dispatcher thread before
// any callback runs. Recursive so that a callback may destroy its sender.
struct SnmpLiveness {
    std::recursive_mutex mutex;
    bool alive = true;
    void kill()
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        alive = false;
    }
};

// The liveness of a walker's or sender's current request. Another thread
// may cancel while the owner sends: the swap is guarded, and the old token
// is killed outside that guard, so a cancel waits for a running callback
// without holding anything that callback might need.
class SnmpLivenessSlot
{
public:
    std::shared_ptr<SnmpLiveness> current()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_live;
    }
    void renew()
    {
        std::shared_ptr<SnmpLiveness> old;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            old = std::exchange(m_live, std::make_shared<SnmpLiveness>());
        }
        old->kill();
    }

private:
    std::mutex m_mutex;
    std::shared_ptr<SnmpLiveness> m_live = std::make_shared<SnmpLiveness>();
};

// Waits on the calling thread for one job: the synchronous sends.
int SnmpRunSync(std::unique_ptr<SnmpJob> job, CSnmp*& response);
