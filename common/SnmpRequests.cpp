#include "SnmpRequests.h"

#include "CCommonSNMP.h"
#include "CSnmp.h"

#include <memory>

namespace {

// Sends what the session has prepared; 0 or the result code or the error
// status. The response, when there is one, goes to `response`.
int SendPrepared(CCommonSNMP& session, std::unique_ptr<CSnmp>& response, int nTimeout)
{
    CSnmp* pResponse = nullptr;
    const int result = session.SendSync(pResponse, nTimeout);
    response.reset(pResponse);
    if (result != 0 || !response)
        return result != 0 ? result : -1;
    int errorStatus = 0;
    int errorIndex = 0;
    response->getErrorStatus(&errorStatus, &errorIndex);
    return errorStatus;
}

} // namespace

int SnmpGetValues(CCommonSNMP& session, const QStringList& oids, QList<std::optional<QByteArray>>& values,
                  int nTimeout)
{
    values.clear();
    if (oids.isEmpty() || !session.Prepare(SNMP_PDU_GET))
        return -1;
    for (const QString& oid : oids)
        if (session.AddValue(oid, SNMP_TYPE_NULL, nullptr) != 0)
            return -1;
    std::unique_ptr<CSnmp> response;
    if (const int result = SendPrepared(session, response, nTimeout); result != 0)
        return result;
    for (int i = 0; i < oids.size(); ++i) {
        char* pszOid = nullptr;
        char* pszValue = nullptr;
        if (i < response->getVarBindCount() && response->getValueText(i, &pszOid, &pszValue) == 0 && pszValue)
            values.append(QByteArray(pszValue));
        else
            values.append(std::nullopt);
    }
    return 0;
}

int SnmpSetValues(CCommonSNMP& session, const QList<SnmpSetValue>& values, int nTimeout)
{
    if (values.isEmpty() || !session.Prepare(SNMP_PDU_SET))
        return -1;
    for (const SnmpSetValue& v : values)
        if (session.AddValueBytes(v.strOID, v.nType, v.value.constData(), int(v.value.size())) != 0)
            return -1;
    std::unique_ptr<CSnmp> response;
    return SendPrepared(session, response, nTimeout);
}
