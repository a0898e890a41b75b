#pragma once

// The SNMP library layer: requests, responses and table walkers on net-snmp.
//
// A CSnmp is both a request (filled by the program, sent by send() or by a
// walker) and a response (made by the library, handed to the caller, who
// deletes it). Text handed out by a response stays owned by the response
// and is valid while it lives.
//
// Threading: one engine thread inside this layer makes every net-snmp call.
// A CSnmp object itself is not thread-safe; callers serialise their use of
// one object (CCommonSNMP does so with its lock).

#include <memory>
#include <string>

class CSnmp;

// Answer of an asynchronous request: (response, request id, user pointer,
// status). The callback owns the response (null unless status is 0) and
// deletes it. Always called on the dispatcher's thread (the GUI thread in the
// program), never after the request was cancelled or its sender destroyed.
typedef int (*SNMPCALLBACK)(CSnmp* response, int requestId, void* user, int status);

// Results of sends and statuses of callbacks. 0 = an answer arrived (its
// error status is read from the response). Everything else is negative.
enum SnmpResult {
    SNMP_OK = 0,
    SNMP_NO_ANSWER = -1,         // no answer within the time-out
    SNMP_END_OF_WALK = -2,       // the walk has left its columns (walkers only)
    SNMP_AUTH_FAILURE = -3,      // v3: wrong authentication or privacy key
    SNMP_UNKNOWN_USER = -4,      // v3: the agent does not know the user
    SNMP_BAD_PASSPHRASE = -5,    // v3: passphrase unusable (under 8 characters)
    SNMP_BAD_REQUEST = -6,       // no varbind, bad OID or value, bad type
    SNMP_BAD_ADDRESS = -7,       // agent address cannot be parsed or reached
    SNMP_SEND_FAILED = -8,       // any other failure of the request
    SNMP_ERROR_STATUS = -9,      // walk step answered with an error status
    SNMP_BAD_ANSWER = -10,       // walk step answered out of order (OIDs going back)
};

// Value type codes, as the program passes them to addValue.
enum SnmpTypeCode {
    SNMP_TYPE_INTEGER = 1,   // decimal text
    SNMP_TYPE_OCTETS = 2,    // text, or octets with their length
    SNMP_TYPE_OID = 3,       // dotted text
    SNMP_TYPE_NULL = 4,      // no value: every varbind of a get or get-next
    SNMP_TYPE_IPADDRESS = 8, // dotted text
    SNMP_TYPE_UNSIGNED = 10, // decimal text (Unsigned32 / Gauge32)
};

// PDU types given to setType.
enum SnmpPduType { SNMP_PDU_GET = 0, SNMP_PDU_GETNEXT = 1, SNMP_PDU_SET = 3 };

// A readable sentence for a result code, for messages and logs.
const char* SnmpResultText(int result);

class CSnmp
{
public:
    virtual ~CSnmp();

    CSnmp(const CSnmp&) = delete;
    CSnmp& operator=(const CSnmp&) = delete;

    // ---- request side ----
    void setType(int pduType);
    int getType() const;
    void clearVarBindList();
    // Appends one varbind. Returns 0, or SNMP_BAD_REQUEST for a malformed
    // OID, an unknown type code or a value that does not fit the type.
    int addValue(const char* oid, int type, const char* value);
    int addValue(const char* oid, int type, const void* data, int length);

    // Synchronous request: blocks until the answer or the time-out (ms;
    // 0 = the library default of SetSnmpTimeout). 0 when a response was
    // delivered in `response` (caller deletes it), else a SnmpResult code.
    // `address` is "a.b.c.d" (default port) or "a.b.c.d:port".
    int send(const char* address, CSnmp*& response, unsigned long timeout);

    // Id of the request this object sent last; an asynchronous callback
    // receives the same id. Ids come from one process-wide counter.
    int getRequestId() const;

    // ---- both sides ----
    int getVarBindCount() const;

    // ---- response side (0 on success, -1 for a bad index) ----
    int getErrorStatus(int* status, int* index) const;
    int getOid(int i, char** oid);
    // The value as text; *value is null for an exception value
    // (noSuchObject, noSuchInstance, endOfMibView) or a missing varbind.
    int getValueText(int i, char** oid, char** value);
    // The value's octets (octet strings; other types give their text).
    int getValueBytes(int i, char** oid, unsigned char** data, int* length);
    // Type code of value i (the codes above; 0 for an exception value,
    // other ASN.1 types such as counters give their BER tag).
    int getValueType(int i) const;
    // v3 answers: the answering agent's engine ID and boot count (-1 unless
    // the answer was authenticated); empty and -1 for v1. A change between
    // two answers of the same agent means it restarted, even when the layer
    // resent the request to the restarted agent on its own.
    void getAgentEngine(std::string* engineId, long* boots) const;

    struct Impl;
    Impl* impl() const { return d.get(); }

protected:
    explicit CSnmp(int version, int pduType);

private:
    friend class CSnmpEngine;
    std::unique_ptr<Impl> d;
};
