#include "CCommonSNMP.h"

#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "GlobalSettings.h"

#include <QDebug>

#include <algorithm>
#include <cstring>

char* CopyToCharArray(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return nullptr;
    char* copy = new char[bytes.size() + 1];
    std::memcpy(copy, bytes.constData(), bytes.size() + 1);
    return copy;
}

CCommonSNMP::CCommonSNMP()
    : CCommonSNMP(GetConnectionSettings())
{
}

CCommonSNMP::CCommonSNMP(const ConnectionSettings& settings)
    : m_nVersion(settings.nVersion)
    , m_pszAgentAddress(settings.AgentAddress())
    , m_nTimeout(settings.nTimeoutMs)
    , m_pszReadCommunity(settings.readCommunity)
    , m_pszWriteCommunity(settings.writeCommunity)
    , m_strSecurityLevel(QString::number(settings.nSecurityLevel))
    , m_strAuthProtocol(QString::number(settings.nAuthProtocol))
    , m_strPrivProtocol(QString::number(settings.nPrivProtocol))
    , m_pszUserName(settings.userName)
    , m_pszAuthPassword(settings.authPassword)
    , m_pszPrivPassword(settings.privPassword)
{
    // A time-out of 0 would hand the library its own default instead of ours.
    if (m_nTimeout <= 0)
        m_nTimeout = 3000;
    if (m_nVersion == 1)
        m_pSnmp = new CSnmpV1(SNMP_PDU_GET);
    else if (m_nVersion == 3)
        m_pSnmp = new CSnmpV3(SNMP_PDU_GET);
    if (m_pSnmp)
        m_pSnmpTable = new CSnmpTable(m_pSnmp);
}

CCommonSNMP::~CCommonSNMP()
{
    m_bClosed = true;
    // No answer may reach this (then dead) session. Cancelling waits for a
    // callback running on another thread, which may need the session's
    // lock: so it is done before that lock is taken.
    CancelPending();
    std::lock_guard lock(m_hLockEvent);
    // The walker goes before the request it uses.
    delete m_pSnmpTable;
    delete m_pSnmp;
}

bool CCommonSNMP::Prepare(int type)
{
    if (!m_pSnmp || !m_pSnmpTable)
        return false;
    // An answer to the abandoned request must never reach a callback.
    // Cancelled before the session's lock is taken (see the destructor).
    CancelPending();
    std::lock_guard lock(m_hLockEvent);
    m_pSnmpTable->setColumnWalk(false);
    if (m_nVersion == 1) {
        // Refused types still empty the request: values added after a
        // refused Prepare must not go out with the previous request's values
        // (a write sent twice, or a read turned into that write).
        m_pSnmp->setType(type);
        m_pSnmp->clearVarBindList();
        if (type != SNMP_PDU_GET && type != SNMP_PDU_GETNEXT && type != SNMP_PDU_SET)
            return false;
        static_cast<CSnmpV1*>(m_pSnmp)->setCommunity(
            (type == SNMP_PDU_SET ? m_pszWriteCommunity : m_pszReadCommunity).constData());
    } else if (m_nVersion == 3) {
        m_pSnmp->setType(type);
        m_pSnmp->clearVarBindList();
        ApplyV3Security();
    } else {
        return false;
    }
    m_bClosed = false;
    return true;
}

void CCommonSNMP::ApplyV3Security()
{
    auto* v3 = static_cast<CSnmpV3*>(m_pSnmp);
    v3->setMsgMaxSize(1024);
    v3->setMsgSecurityModel(3);
    v3->setUserName(m_pszUserName.constData());

    const auto applyAuth = [&]() {
        if (m_strAuthProtocol == QLatin1String("2"))
            v3->setAuthArith(0);
        else if (m_strAuthProtocol == QLatin1String("3"))
            v3->setAuthArith(1);
        else
            return false;
        v3->setAuthPwd(reinterpret_cast<const unsigned char*>(m_pszAuthPassword.constData()),
                       int(m_pszAuthPassword.size()));
        return true;
    };

    if (m_strSecurityLevel == QLatin1String("2")) {
        v3->setMsgFlags(1);
        if (!applyAuth())
            v3->setMsgFlags(0);
    } else if (m_strSecurityLevel == QLatin1String("3")) {
        v3->setMsgFlags(3);
        if (!applyAuth()) {
            v3->setMsgFlags(0);
            return;
        }
        if (m_strPrivProtocol == QLatin1String("2")) {
            v3->setPriArith(0);
            v3->setPriPwd(reinterpret_cast<const unsigned char*>(m_pszPrivPassword.constData()),
                          int(m_pszPrivPassword.size()));
        } else {
            v3->setMsgFlags(1);
        }
    } else {
        v3->setMsgFlags(0);
    }
}

int CCommonSNMP::AddValue(const QString& oid, int type, const char* value)
{
    std::lock_guard lock(m_hLockEvent);
    const QByteArray oidText = oid.trimmed().toLatin1();
    if (!m_pSnmp || oidText.isEmpty())
        return -1;
    return m_pSnmp->addValue(oidText.constData(), type, value);
}

int CCommonSNMP::AddValue(const QString& oid, int type, const QString& value)
{
    if (value.isNull())
        return AddValue(oid, type, static_cast<const char*>(nullptr));
    const QByteArray text = value.toUtf8();
    return AddValue(oid, type, text.constData());
}

int CCommonSNMP::AddValueBytes(const QString& oid, int type, const void* data, int length)
{
    std::lock_guard lock(m_hLockEvent);
    const QByteArray oidText = oid.trimmed().toLatin1();
    if (!m_pSnmp || oidText.isEmpty() || length < 0 || (!data && length > 0))
        return -1;
    return m_pSnmp->addValue(oidText.constData(), type, data, length);
}

bool CCommonSNMP::Ready() const
{
    return m_pSnmp && m_pSnmpTable && m_pSnmp->getVarBindCount() > 0;
}

int CCommonSNMP::Remember(int result)
{
    if (result != SNMP_END_OF_WALK)
        m_nLastResult = result;
    return result;
}

int CCommonSNMP::SendSync(CSnmp*& response, int timeout)
{
    response = nullptr;
    std::lock_guard lock(m_hLockEvent);
    if (!Ready())
        return -1;
    return Remember(m_pSnmp->send(m_pszAgentAddress.constData(), response,
                                  unsigned(timeout > 0 ? timeout : m_nTimeout)));
}

int CCommonSNMP::GetNextSync(CSnmp*& response, int timeout)
{
    response = nullptr;
    std::lock_guard lock(m_hLockEvent);
    if (!Ready())
        return -1;
    return Remember(m_pSnmpTable->getNext(m_pszAgentAddress.constData(), response,
                                          unsigned(timeout > 0 ? timeout : m_nTimeout)));
}

int CCommonSNMP::SendAsync(SNMPCALLBACK callback, void* user, int /*unused*/, int timeout)
{
    std::lock_guard lock(m_hLockEvent);
    if (m_bClosed || !callback || !Ready()) {
        m_bDone = true;
        return -1;
    }
    // Held until the id is recorded, so that an answer delivered on another
    // thread meanwhile is not taken for stale.
    std::lock_guard pending(m_pendingLock);
    m_pfnCallback = callback;
    m_pCallbackUser = user;
    m_bDone = false;
    const int result = m_pSnmpTable->getNextAsync(m_pszAgentAddress.constData(), &CCommonSNMP::AsyncAnswer, this,
                                                  unsigned(timeout > 0 ? timeout : m_nTimeout));
    if (result != 0) {
        Remember(result);
        m_bDone = true;
        return result;
    }
    m_arrPendingIds.push_back(m_pSnmp->getRequestId());
    return 0;
}

int CCommonSNMP::SendAsyncWithTimeout(SNMPCALLBACK callback, void* user, int timeout)
{
    return SendAsync(callback, user, 0, timeout);
}

int CCommonSNMP::AsyncAnswer(CSnmp* response, int requestId, void* session, int status)
{
    auto* self = static_cast<CCommonSNMP*>(session);
    SNMPCALLBACK callback = nullptr;
    void* user = nullptr;
    {
        std::lock_guard pending(self->m_pendingLock);
        const bool known = std::find(self->m_arrPendingIds.begin(), self->m_arrPendingIds.end(), requestId)
                           != self->m_arrPendingIds.end();
        if (!known || !self->m_pfnCallback) {
            delete response;
            return 0;
        }
        callback = self->m_pfnCallback;
        user = self->m_pCallbackUser;
    }
    self->m_bDone = true;   // unless the callback goes on with the walk
    if (status != SNMP_OK && status != SNMP_END_OF_WALK) {
        // Callers see -1 for every failure; the reason stays readable.
        self->Remember(status);
        status = SNMP_NO_ANSWER;
    } else if (status == SNMP_OK) {
        self->Remember(SNMP_OK);
    }
    return callback(response, requestId, user, status);
}

bool CCommonSNMP::SetColumnWalk()
{
    std::lock_guard lock(m_hLockEvent);
    if (!Ready())
        return false;
    m_pSnmpTable->setColumnWalk(true);
    return true;
}

int CCommonSNMP::GetColumn(int i, CSnmp* response)
{
    std::lock_guard lock(m_hLockEvent);
    return m_pSnmpTable ? m_pSnmpTable->getColumn(i, response) : -1;
}

int CCommonSNMP::GetWalkColumn()
{
    std::lock_guard lock(m_hLockEvent);
    return m_pSnmpTable ? m_pSnmpTable->walkColumn() : -1;
}

int CCommonSNMP::GetIndexText(int i, CSnmp* response, char** index)
{
    std::lock_guard lock(m_hLockEvent);
    if (!Ready() || !response || !index)
        return -1;
    return m_pSnmpTable->getIndex(i, response, index);
}

int CCommonSNMP::RemovePending(int requestId)
{
    std::lock_guard pending(m_pendingLock);
    const auto it = std::find(m_arrPendingIds.begin(), m_arrPendingIds.end(), requestId);
    if (it == m_arrPendingIds.end())
        return 0;
    m_arrPendingIds.erase(it);
    return 1;
}

void CCommonSNMP::SetDone()
{
    m_bDone = true;
}

bool CCommonSNMP::IsDone() const
{
    return m_bDone;
}

void CCommonSNMP::CancelPending()
{
    if (m_pSnmpTable)
        m_pSnmpTable->cancel();
    std::lock_guard pending(m_pendingLock);
    m_arrPendingIds.clear();
    m_pfnCallback = nullptr;
    m_pCallbackUser = nullptr;
    m_bDone = true;
}

void CCommonSNMP::Close()
{
    m_bClosed = true;
    // Without the session's lock: a callback of this session running on
    // another thread may be waiting for it, and cancelling waits for that
    // callback to end.
    CancelPending();
}

int CCommonSNMP::GetLastResult() const
{
    return m_nLastResult;
}

QString CCommonSNMP::GetLastResultText() const
{
    return QString::fromUtf8(SnmpResultText(m_nLastResult));
}

void CloseSnmpSession(CCommonSNMP& session, const char* memberName)
{
    session.Close();
    qDebug().noquote() << QStringLiteral("==================%1.Close===============").arg(QLatin1String(memberName));
}
