#include "CModuleBase.h"

#include "CSnmp.h"
#include "CUtils.h"
#include "GlobalSettings.h"

#include <QLoggingCategory>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

Q_LOGGING_CATEGORY(lcModuleBase, "velmarc.modulebase")

namespace {

// Aggregated-link membership: index = link id, value = member port bitmap.
const char* const kTrunkMemberColumn = "1.3.6.1.4.1.32473.10.126.4.1.8.1.3.1.2";
// 802.1Q VLAN table: name and row status.
const char* const kVlanNameColumn = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1";
const char* const kVlanStatusColumn = "1.3.6.1.4.1.32473.10.126.4.1.7.6.1.6";

struct ResponseDeleter
{
    void operator()(CSnmp* p) const { delete p; }
};
using ResponsePtr = std::unique_ptr<CSnmp, ResponseDeleter>;

// The row index of varbind i after its walked column, without the leading
// ".". Empty when the session cannot tell.
QString IndexText(CCommonSNMP& session, int i, CSnmp* pResponse)
{
    char* pszIndex = nullptr;
    if (session.GetIndexText(i, pResponse, &pszIndex) != 0 || !pszIndex)
        return {};
    QString index = QString::fromLatin1(pszIndex);
    if (index.startsWith(QLatin1Char('.')))
        index.remove(0, 1);
    return index;
}

// A link id must be one positive decimal sub-identifier.
int LinkIdOf(const QString& index)
{
    bool ok = false;
    const int id = index.toInt(&ok);
    return ok && id > 0 && !index.contains(QLatin1Char('.')) ? id : 0;
}

// Answered with error status 0.
bool AnswerIsClean(const CSnmp* pResponse)
{
    int status = -1;
    int index = 0;
    return pResponse && pResponse->getErrorStatus(&status, &index) == 0 && status == 0;
}

} // namespace

CModuleBase::CModuleBase()
    : m_TrunkPorts(g_nDevicePortNum > 0 ? g_nDevicePortNum : 0, 0)
{
}

CModuleBase::~CModuleBase() = default;

int CModuleBase::SetOwnerWnd(CModuleOwner* pOwner)
{
    if (!pOwner)
        return 0;
    m_hOwnerWnd = pOwner;
    return 1;
}

void CModuleBase::SendOwnerMessage(unsigned nMessage, int nCode, const void* pData)
{
    if (m_hOwnerWnd)
        m_hOwnerWnd->OnModuleNotify(nMessage, nCode, pData);
}

bool CModuleBase::GetValue(const QString& strOID, QByteArray& value, int nTimeout)
{
    if (!m_cSnmpGet.Prepare(SNMP_PDU_GET))
        return false;
    if (m_cSnmpGet.AddValue(strOID, SNMP_TYPE_NULL, nullptr) != 0)
        return false;
    CSnmp* pRaw = nullptr;
    if (m_cSnmpGet.SendSync(pRaw, nTimeout) != 0) {
        delete pRaw;
        return false;
    }
    ResponsePtr response(pRaw);
    if (!AnswerIsClean(response.get()) || response->getVarBindCount() < 1)
        return false;
    char* pszOid = nullptr;
    unsigned char* pData = nullptr;
    int nLen = 0;
    // An exception value (noSuchObject, noSuchInstance) carries no value.
    if (response->getValueType(0) == 0
        || response->getValueBytes(0, &pszOid, &pData, &nLen) != 0 || !pData || nLen < 0)
        return false;
    value = QByteArray(reinterpret_cast<const char*>(pData), nLen);
    return true;
}

int CModuleBase::SnmpGet(const QString& strOID, char** ppszValue, int nTimeout)
{
    QByteArray value;
    if (!ppszValue || !GetValue(strOID, value, nTimeout))
        return 0;
    m_getValue = value;
    *ppszValue = m_getValue.data();
    return 1;
}

int CModuleBase::SnmpSet(const QString& strOID, const char* pszValue)
{
    if (!m_cSnmpSet.Prepare(SNMP_PDU_SET))
        return 0;
    if (m_cSnmpSet.AddValue(strOID, SNMP_TYPE_INTEGER, pszValue) != 0)
        return 0;
    CSnmp* pRaw = nullptr;
    const int result = m_cSnmpSet.SendSync(pRaw, 0);
    ResponsePtr response(pRaw);
    if (result != 0)
        return 0;
    if (!AnswerIsClean(response.get())) {
        qCWarning(lcModuleBase) << "set refused by the switch:" << strOID;
        return 0;
    }
    return 1;
}

int CModuleBase::SnmpSetList(const SNMP_SET_ITEM* pItems, int nCount)
{
    if (!pItems || nCount <= 0 || !m_cSnmpGet.Prepare(SNMP_PDU_SET))
        return 0;
    for (int i = 0; i < nCount; ++i) {
        const SNMP_SET_ITEM& item = pItems[i];
        if (!item.pszValue || item.nLen < 0)
            return 0;
        // Octet strings travel as their octets; every other type as its text.
        const int added = item.nType == SNMP_TYPE_OCTETS
            ? m_cSnmpGet.AddValueBytes(item.strOID, item.nType, item.pszValue, item.nLen)
            : m_cSnmpGet.AddValue(item.strOID, item.nType,
                                  QByteArray(static_cast<const char*>(item.pszValue), item.nLen)
                                      .constData());
        if (added != 0) {
            qCWarning(lcModuleBase) << "set item not accepted, nothing sent:" << item.strOID;
            return 0;
        }
    }
    CSnmp* pRaw = nullptr;
    const int result = m_cSnmpGet.SendSync(pRaw, SettingToInt(g_strSnmpTimeout));
    ResponsePtr response(pRaw);
    return result == 0 && AnswerIsClean(response.get()) ? 1 : 0;
}

int CModuleBase::GetTrunkInfo()
{
    // A link removed since the last walk must not linger in the map.
    std::fill(m_TrunkPorts.begin(), m_TrunkPorts.end(), 0);
    m_bTrunkLoaded = 0;
    if (!m_cSnmpTrunkTable.Prepare(SNMP_PDU_GETNEXT))
        return -1;
    m_cSnmpTrunkTable.AddValue(QString::fromLatin1(kTrunkMemberColumn), SNMP_TYPE_NULL, nullptr);
    return m_cSnmpTrunkTable.SendAsync(&CModuleBase::OnTrunkRow, this, 0, 0);
}

int CModuleBase::OnTrunkRow(CSnmp* pResponse, int nRequestId, void* pOwner, int nStatus)
{
    ResponsePtr response(pResponse);
    auto* self = static_cast<CModuleBase*>(pOwner);
    CCommonSNMP& session = self->m_cSnmpTrunkTable;
    if (!session.RemovePending(nRequestId)) {
        if (nStatus == 0)
            session.SetDone();
        return 0;
    }
    if (nStatus != 0 || !response) {
        self->m_bTrunkLoaded = 1;
        session.SetDone();
        return 0;
    }

    char* pszOid = nullptr;
    unsigned char* pData = nullptr;
    int nLen = 0;
    if (response->getVarBindCount() >= 1 && response->getValueType(0) != 0
        && response->getValueBytes(0, &pszOid, &pData, &nLen) == 0) {
        int nCount = 0;
        const QString strPorts = CUtils::PortBitmapToList(pData, nLen, nCount);
        const int linkId = nCount > 0 ? LinkIdOf(IndexText(session, 0, response.get())) : 0;
        const int nPortNum = static_cast<int>(self->m_TrunkPorts.size());
        for (const QString& strPort : strPorts.split(u',', Qt::SkipEmptyParts)) {
            const int port = strPort.toInt();
            if (linkId > 0 && port >= 1 && port <= nPortNum)
                self->m_TrunkPorts[port - 1] = linkId;
        }
    }
    if (session.SendAsync(&CModuleBase::OnTrunkRow, self, 0, 0) != 0) {
        // No further answer will come: the walk ends with what it has.
        self->m_bTrunkLoaded = 1;
        session.SetDone();
    }
    return 0;
}

QString CModuleBase::TrunkMemberColumn()
{
    return QString::fromLatin1(kTrunkMemberColumn);
}

void CModuleBase::LoadTrunkMap(const QList<SnmpRow>& rows)
{
    std::fill(m_TrunkPorts.begin(), m_TrunkPorts.end(), 0);
    const int nPortNum = static_cast<int>(m_TrunkPorts.size());
    for (const SnmpRow& row : rows) {
        const int linkId = LinkIdOf(row.strIndex);
        if (linkId == 0 || !row.Has(0))
            continue;
        int nCount = 0;
        const QString strPorts = CUtils::PortBitmapToList(row.cells[0], nCount);
        for (const QString& strPort : strPorts.split(u',', Qt::SkipEmptyParts)) {
            const int port = strPort.toInt();
            if (port >= 1 && port <= nPortNum)
                m_TrunkPorts[port - 1] = linkId;
        }
    }
    m_bTrunkLoaded = 1;
}

int CModuleBase::CheckTrunkMembers(const int* pnSelection) const
{
    if (m_bTrunkLoaded != 1 || !pnSelection)
        return 1;
    const int count = static_cast<int>(m_TrunkPorts.size());
    for (int i = 0; i < count; ++i)
        qCDebug(lcModuleBase, "m_TrunkPorts[%d] = %d", i, m_TrunkPorts[i]);
    for (int p = 0; p < count; ++p) {
        const int link = m_TrunkPorts[p];
        if (pnSelection[p] == 0 || link == 0)
            continue;
        for (int q = 0; q < count; ++q) {
            if (m_TrunkPorts[q] == link && pnSelection[q] != pnSelection[p])
                return 0;
        }
    }
    return 1;
}

int CModuleBase::GetVlanTable()
{
    m_arrVlanIndex.clear();
    m_arrVlanColumn1.clear();
    m_arrVlanColumn6.clear();
    if (!m_cSnmpVlanTable.Prepare(SNMP_PDU_GETNEXT))
        return -1;
    m_cSnmpVlanTable.AddValue(QString::fromLatin1(kVlanNameColumn), SNMP_TYPE_NULL, nullptr);
    m_cSnmpVlanTable.AddValue(QString::fromLatin1(kVlanStatusColumn), SNMP_TYPE_NULL, nullptr);
    return m_cSnmpVlanTable.SendAsync(&CModuleBase::OnVlanRow, this, 0, 0);
}

int CModuleBase::OnVlanRow(CSnmp* pResponse, int nRequestId, void* pOwner, int nStatus)
{
    ResponsePtr response(pResponse);
    auto* self = static_cast<CModuleBase*>(pOwner);
    CCommonSNMP& session = self->m_cSnmpVlanTable;
    if (!session.RemovePending(nRequestId)) {
        if (nStatus == 0)
            session.SetDone();
        return 0;
    }
    if (nStatus != 0 || !response) {
        if (nStatus == SNMP_END_OF_WALK)
            self->SendOwnerMessage(WM_VLANLIST_NOTIFY, VLANLIST_END, nullptr);
        session.SetDone();
        return 0;
    }

    if (response->getVarBindCount() >= 2) {
        auto valueOf = [&](int i) {
            char* pszOid = nullptr;
            char* pszValue = nullptr;
            response->getValueText(i, &pszOid, &pszValue);
            return pszValue ? QString::fromUtf8(pszValue) : QString();
        };
        VLAN_LIST_ROW row;
        row.strVlanId = IndexText(session, 0, response.get());
        row.strVlanName = valueOf(0);
        if (!row.strVlanId.isEmpty()) {
            self->m_arrVlanIndex.append(row.strVlanId);
            self->m_arrVlanColumn1.append(row.strVlanName);
            self->m_arrVlanColumn6.append(valueOf(1));
            self->SendOwnerMessage(WM_VLANLIST_NOTIFY, VLANLIST_ROW, &row);
        }
    }
    if (session.SendAsync(&CModuleBase::OnVlanRow, self, 0, 0) != 0)
        session.SetDone();
    return 0;
}

QString CModuleBase::FindVlanColumn1(const QString& strVid)
{
    // Only a plain VLAN id names a row; "05" or "5.1" would reach another.
    static const QRegularExpression vid(QStringLiteral("^[1-9][0-9]{0,3}$"));
    if (!vid.match(strVid).hasMatch())
        return {};
    QByteArray name;
    if (!GetValue(QString::fromLatin1(kVlanNameColumn) + QLatin1Char('.') + strVid, name, 0))
        return {};
    return QString::fromUtf8(name);
}

int CModuleBase::OnResult(CSnmp*, int, int)
{
    return 0;
}

void CModuleBase::CloseSessions()
{
    CLOSE_SNMP_SESSION(m_cSnmpGet);
    CLOSE_SNMP_SESSION(m_cSnmpSet);
    CLOSE_SNMP_SESSION(m_cSnmpVlanTable);
    CLOSE_SNMP_SESSION(m_cSnmpTrunkTable);
}
