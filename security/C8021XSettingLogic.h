#pragma once

// The 802.1X local-user and RADIUS server tables, read for the two table
// dialogs (C8021XUserDLG, C8021XAuRadiusServerDLG), which write the rows
// themselves. Each walk keeps every row as a record, whatever its row
// status, and ends with one report to the owner: WM_8021X_TABLE_DONE when
// the walk ended (complete or not: the payload is its WalkOutcome), or
// WM_8021X_TABLE_STALE when a walk was overtaken by a newer one. Either way
// the dialog rebuilds its list from the records.

#include "CModuleBase.h"

#include <QList>
#include <QString>

#include <memory>

enum : unsigned {
    WM_8021X_TABLE_DONE = 0x8000 + 1001,    // payload: the walk's WalkOutcome
    WM_8021X_TABLE_STALE = 0x8000 + 1002,   // payload: null
};

// One local user. The switch's password is never kept.
struct X8021_User_Statistics_Info
{
    QString strUserName;
    QString strPassword = QStringLiteral("*****");
    int nRowStatus = 0;
    QString strIndex;   // the row's index as the switch gave it, without its leading dot
};

// One RADIUS server. The key is never kept.
struct X8021_AuRadiusServer_Statistics_info
{
    int nIndex = 0;
    int nAddressType = 0;      // 1 IPv4, 2 IPv6
    QString strAddress;        // dotted or shortest IPv6 text; empty when the octets do not fit the type
    QString strInterfaceName;
    int nAuthPort = 0;
    int nAcctPort = 0;
    int nTimeout = 0;
    int nRetransmit = 0;
    QString strKey = QStringLiteral("*****");
    int nRowStatus = 0;
};

class C8021XSettingLogic : public CModuleBase
{
public:
    C8021XSettingLogic();
    ~C8021XSettingLogic() override;

    // The tables' entries and columns (dotted, without a leading dot).
    static QString UserColumn(int nColumn);     // P.23.3.1.1.n
    static QString RadiusColumn(int nColumn);   // P.23.4.2.1.n

    // Start a walk (the list is emptied first); the end is reported to the
    // owner exactly once. Result 1 when under way.
    int GetUserTable();
    int GetRadiusServerTable();

    // Stops the walks and closes the sessions, once; the dialog base calls
    // it (as CloseSessions) on every way out.
    void Close() { CloseSessions(); }
    void CloseSessions() override;

    // The records of one row; exposed for tests of odd switch answers.
    static X8021_User_Statistics_Info UserRecord(const SnmpRow& row);
    static X8021_AuRadiusServer_Statistics_info RadiusRecord(const SnmpRow& row);

    // Rows of the latest walks, in index order.
    QList<X8021_User_Statistics_Info> m_UserList;
    QList<X8021_AuRadiusServer_Statistics_info> m_RadiusServerList;

    // Sessions of the logic's own, which no read uses.
    CCommonSNMP m_cCommonSNMP;
    CCommonSNMP m_cCommonSNMPSet;

private:
    void OnWalkEnd(const WalkOutcome& outcome, bool bUsers);

    std::unique_ptr<CSnmpRowWalk> m_pUserWalk;
    std::unique_ptr<CSnmpRowWalk> m_pRadiusWalk;
    bool m_bClosed = false;
};
