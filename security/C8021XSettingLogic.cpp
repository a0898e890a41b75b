#include "C8021XSettingLogic.h"

#include "CUtils.h"
#include "StrictNumber.h"

namespace {

const QString kDot1x = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.23");

int Number(const SnmpRow& row, int column)
{
    qint64 value = 0;
    return ParseStrictInt(row.Text(column), -2147483647LL - 1, 2147483647LL, &value) ? int(value) : 0;
}

} // namespace

C8021XSettingLogic::C8021XSettingLogic()
    // Both walks run on the third session, one after the other or alone;
    // each has a walker of its own so a late answer of one never lands in
    // the other's list.
    : m_pUserWalk(std::make_unique<CSnmpRowWalk>(m_cSnmpVlanTable))
    , m_pRadiusWalk(std::make_unique<CSnmpRowWalk>(m_cSnmpVlanTable))
{
}

C8021XSettingLogic::~C8021XSettingLogic()
{
    Close();
}

QString C8021XSettingLogic::UserColumn(int nColumn)
{
    return kDot1x + QStringLiteral(".3.1.1.%1").arg(nColumn);
}

QString C8021XSettingLogic::RadiusColumn(int nColumn)
{
    return kDot1x + QStringLiteral(".4.2.1.%1").arg(nColumn);
}

int C8021XSettingLogic::GetUserTable()
{
    m_UserList.clear();
    m_pRadiusWalk->Cancel();   // one walk at a time on the session
    return m_pUserWalk->Start({UserColumn(1), UserColumn(2), UserColumn(3)},
                              [this](const WalkOutcome& o) { OnWalkEnd(o, true); })
               ? 1
               : 0;
}

int C8021XSettingLogic::GetRadiusServerTable()
{
    m_RadiusServerList.clear();
    m_pUserWalk->Cancel();
    QStringList columns;
    for (int c = 1; c <= 10; ++c)
        columns << RadiusColumn(c);
    return m_pRadiusWalk->Start(columns, [this](const WalkOutcome& o) { OnWalkEnd(o, false); }) ? 1 : 0;
}

X8021_User_Statistics_Info C8021XSettingLogic::UserRecord(const SnmpRow& row)
{
    X8021_User_Statistics_Info user;
    user.strIndex = row.strIndex;
    user.strUserName = row.Text(0);
    user.nRowStatus = Number(row, 2);
    return user;
}

X8021_AuRadiusServer_Statistics_info C8021XSettingLogic::RadiusRecord(const SnmpRow& row)
{
    X8021_AuRadiusServer_Statistics_info server;
    // The index column repeats the row's index; a switch that leaves it out
    // still names the slot by the index.
    server.nIndex = row.Has(0) ? Number(row, 0) : row.strIndex.toInt();
    server.nAddressType = Number(row, 1);
    // The octets must fit the address type: anything else shows no address
    // rather than bytes read past the value.
    const QByteArray octets = row.Has(2) ? row.cells[2] : QByteArray();
    const auto* data = reinterpret_cast<const unsigned char*>(octets.constData());
    if (server.nAddressType == 1 && octets.size() == 4)
        server.strAddress = CUtils::HexToDottedIPv4(CUtils::InetOctetsToHex(data, 1));
    else if (server.nAddressType == 2 && octets.size() == 16)
        server.strAddress = CUtils::CompressIPv6(CUtils::InetOctetsToHex(data, 2));
    server.strInterfaceName = row.Text(3);
    server.nAuthPort = Number(row, 4);
    server.nAcctPort = Number(row, 5);
    server.nTimeout = Number(row, 6);
    server.nRetransmit = Number(row, 7);
    server.nRowStatus = Number(row, 9);
    return server;
}

void C8021XSettingLogic::OnWalkEnd(const WalkOutcome& outcome, bool bUsers)
{
    if (outcome.nResult == WalkOutcome::Cancelled) {
        // Overtaken by a newer walk: its own end comes later.
        SendOwnerMessage(WM_8021X_TABLE_STALE, 0, nullptr);
        return;
    }
    // What arrived is kept even when the walk stopped early; the owner
    // learns from the outcome whether the list is whole.
    if (bUsers) {
        m_UserList.clear();
        for (const SnmpRow& row : m_pUserWalk->Rows())
            m_UserList << UserRecord(row);
    } else {
        m_RadiusServerList.clear();
        for (const SnmpRow& row : m_pRadiusWalk->Rows())
            m_RadiusServerList << RadiusRecord(row);
    }
    SendOwnerMessage(WM_8021X_TABLE_DONE, 0, &outcome);
}

void C8021XSettingLogic::CloseSessions()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_pUserWalk->Abandon();
    m_pRadiusWalk->Abandon();
    CLOSE_SNMP_SESSION(m_cCommonSNMP);
    CLOSE_SNMP_SESSION(m_cCommonSNMPSet);
    CModuleBase::CloseSessions();
}
