#pragma once

// One SNMP session to the managed switch, bound when it is built to the
// process-wide connection settings (address and port, version, communities,
// SNMPv3 user security, time-out). Dialogs and logic objects hold sessions by
// value, one per kind of request.
//
// Reads of scalars:  Prepare(0); AddValue(oid, 4, nullptr)...; SendSync(resp)
// Writes:            Prepare(3); AddValue / AddValueBytes...;   SendSync(resp)
// Table walks:       Prepare(1); AddValue(column, 4, nullptr)...;
//                    SendAsync(callback, owner); each callback checks
//                    RemovePending(id), takes the row and continues with
//                    SendAsync (no new Prepare: the walker keeps the position)
//                    or ends with SetDone.
//
// Answers of SendAsync reach the callback on the GUI thread (outside Qt: the
// thread that runs SnmpProcessCallbacks). Prepare drops whatever the session
// still had under way; after Close returns none of its callbacks runs, and
// SendAsync refuses until the next Prepare. Every result that is not 0 is a
// code of snmp/CSnmp.h (SNMP_NO_ANSWER, SNMP_AUTH_FAILURE, ...); -1 also when
// the session cannot serve the call (unusable version, no varbind, closed).

#include "CSnmp.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <vector>

class CSnmpTable;
struct ConnectionSettings;

// A newly allocated NUL-terminated UTF-8 copy of `text` (free it with
// delete[]), or null when the text is empty.
char* CopyToCharArray(const QString& text);

class CCommonSNMP
{
public:
    CCommonSNMP();   // with GetConnectionSettings()
    explicit CCommonSNMP(const ConnectionSettings& settings);
    virtual ~CCommonSNMP();

    CCommonSNMP(const CCommonSNMP&) = delete;
    CCommonSNMP& operator=(const CCommonSNMP&) = delete;

    // Starts a new request of PDU type 0 (get), 1 (get-next) or 3 (set):
    // cancels what the session still had under way, empties the varbinds,
    // applies the community (v1) or the user security (v3) and re-opens a
    // closed session. False when the session is unusable or, on v1, for
    // another type.
    bool Prepare(int type);

    // Appends one varbind: type code 4 with no value for reads; 1, 2, 3, 8,
    // 10 with the value as text (a QString value travels as UTF-8).
    int AddValue(const QString& oid, int type, const char* value = nullptr);
    int AddValue(const QString& oid, int type, const QString& value);
    // Appends one varbind given as octets (port bitmaps, addresses).
    int AddValueBytes(const QString& oid, int type, const void* data, int length);

    // Sends the prepared request and waits (time-out in ms, 0 = the
    // session's default). 0 with `response` set (the caller checks its error
    // status and deletes it), else a result code and no response.
    int SendSync(CSnmp*& response, int timeout = 0);
    // The same through the table walker: one get-next step of the walk, or a
    // request prepared as get or set sent as it was prepared.
    int GetNextSync(CSnmp*& response, int timeout = 0);

    // Sends the prepared request (the next step of a walk) without waiting
    // and records its id as pending. 0 when under way; else non-zero and no
    // callback follows. The callback gets status 0 with a response, -1 when
    // no usable answer came (GetLastResult tells why), -2 at the end of the
    // walked columns. The third argument is unused.
    int SendAsync(SNMPCALLBACK callback, void* user, int unused = 0, int timeout = 0);
    int SendAsyncWithTimeout(SNMPCALLBACK callback, void* user, int timeout);

    // After the columns of a get-next walk are added: walk them together,
    // one request per step for all columns (get-bulk over v3), each column
    // moving on by itself (CSnmpTable::setColumnWalk). Its answers hold only
    // bindings inside their columns; GetColumn says whose each is. Prepare
    // ends it. False when the session is unusable.
    bool SetColumnWalk();
    int GetColumn(int i, CSnmp* response);
    // The column (position) a column walk failed in, else the first that has
    // not ended; -1 when none.
    int GetWalkColumn();

    // Instance suffix of varbind i of `response` after its walked column,
    // with its leading "." (owned by the response).
    int GetIndexText(int i, CSnmp* response, char** index);

    // 1 when `requestId` was pending (it is removed now), 0 for a stale
    // answer, which the callback must drop (deleting the response).
    int RemovePending(int requestId);

    // Marks the walk as ended.
    void SetDone();
    // True while no asynchronous request of this session is under way.
    bool IsDone() const;

    // Ends what is under way and forgets every pending id: no callback of
    // this session runs after Close returns, and SendAsync refuses until
    // the next Prepare.
    void Close();

    // The last failure of this session (a SnmpResult code, 0 when the last
    // request succeeded) and a sentence for it, e.g. for an unusable SNMPv3
    // passphrase ("... at least 8 characters").
    int GetLastResult() const;
    QString GetLastResultText() const;

private:
    static int AsyncAnswer(CSnmp* response, int requestId, void* session, int status);
    bool Ready() const;   // request object, walker and at least one varbind
    void CancelPending();
    void ApplyV3Security();
    int Remember(int result);

    int m_nVersion = 0;
    CSnmp* m_pSnmp = nullptr;
    CSnmpTable* m_pSnmpTable = nullptr;
    QByteArray m_pszAgentAddress;   // "a.b.c.d:port"
    int m_nTimeout = 3000;

    std::mutex m_pendingLock;       // guards m_arrPendingIds
    std::vector<int> m_arrPendingIds;

    // Around every library call but cancelling, which waits for a running
    // callback and so must not hold what that callback may take.
    std::recursive_mutex m_hLockEvent;
    std::atomic<bool> m_bDone{true};
    std::atomic<bool> m_bClosed{false};
    std::atomic<int> m_nLastResult{0};

    QByteArray m_pszReadCommunity;
    QByteArray m_pszWriteCommunity;
    QString m_strSecurityLevel;
    QString m_strAuthProtocol;
    QString m_strPrivProtocol;
    QByteArray m_pszUserName;
    QByteArray m_pszAuthPassword;
    QByteArray m_pszPrivPassword;

    // The owner's callback of the step under way (one at a time).
    SNMPCALLBACK m_pfnCallback = nullptr;
    void* m_pCallbackUser = nullptr;
};

// Closes a session and writes the shutdown line of the debug output
// ("==================m_cCommonSNMP.Close==============="). Owners close
// every session from their window-destruction handler with
// CLOSE_SNMP_SESSION(m_cCommonSNMP).
void CloseSnmpSession(CCommonSNMP& session, const char* memberName);
#define CLOSE_SNMP_SESSION(member) CloseSnmpSession(member, #member)
