#pragma once

// Base of every feature's SNMP logic class: four sessions, the dialog that
// receives the logic object's reports, single get and set operations, the
// multi-value set, the link-aggregation membership walk with its check that
// a port selection never splits an aggregated link, and a walk of the
// 802.1Q VLAN names.

#include "CCommonSNMP.h"
#include "CSnmpRowWalk.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class CSnmp;

// How a logic object reports to its dialog. Message numbers keep their
// classic values so that features with messages of their own stay distinct.
enum : unsigned {
    WM_MODULE_NOTIFY = 0x0400 + 10,      // codes MN_*
    WM_VLANLIST_NOTIFY = 0x8000 + 1072,  // codes VLANLIST_*
};

// Codes of WM_MODULE_NOTIFY.
enum : int {
    MN_ROW = 0,               // payload: the feature's row record
    MN_WALK_END = 1,          // payload: null or "Finished"
    MN_WRITE_FINISHED = 3,    // payload: "WriteFinished"
    MN_ADD_FINISHED = 4,      // payload: "WriteFinished" or "AddFinished"
    MN_READ_FINISHED = 5,     // payload: "Finished"
    MN_COMMUNITY_ROW = 100,   // SNMP agent settings: a community row
    MN_USER_ROW = 111,        // SNMP agent settings: a user row
};

// Codes of WM_VLANLIST_NOTIFY.
enum : int {
    VLANLIST_ROW = 1,   // payload: a VLAN_LIST_ROW
    VLANLIST_END = 2,   // payload: null
};

// One row of the VLAN-name walk as reported with VLANLIST_ROW.
struct VLAN_LIST_ROW
{
    QString strVlanId;
    QString strVlanName;
};

// The receiver of a logic object's reports, implemented by its dialog.
// Reports are direct calls on the GUI thread (where every SNMP answer is
// delivered); the payload is valid only during the call, so the receiver
// copies what it keeps. Messages a receiver does not know are ignored.
class CModuleOwner
{
public:
    virtual void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) = 0;

protected:
    ~CModuleOwner() = default;
};

// One value of a multi-value set. The value's bytes stay the caller's and
// must live until the set has been sent; integers and strings are given as
// text (nLen 1 for "1").
struct SNMP_SET_ITEM
{
    QString strOID;
    const void* pszValue = nullptr;
    int nType = 0;
    int nLen = 0;

    SNMP_SET_ITEM() = default;
    SNMP_SET_ITEM(const QString& oid, const void* value, int type, int len)
        : strOID(oid), pszValue(value), nType(type), nLen(len)
    {
    }
};

class CModuleBase
{
public:
    CModuleBase();
    virtual ~CModuleBase();

    CModuleBase(const CModuleBase&) = delete;
    CModuleBase& operator=(const CModuleBase&) = delete;

    // 0 for a null owner (the earlier one is kept), else 1.
    int SetOwnerWnd(CModuleOwner* pOwner);

    // One synchronous get. 1 with the value text in *ppszValue, which stays
    // valid until the next SnmpGet of this object; 0 on no answer, an error
    // status, a missing varbind or an exception value (*ppszValue is then
    // left as it was). nTimeout 0 = the session's default.
    int SnmpGet(const QString& strOID, char** ppszValue, int nTimeout = 0);

    // One synchronous set of an integer given as text. 1 only when the
    // switch answered with error status 0: a refused write is a failure.
    int SnmpSet(const QString& strOID, const char* pszValue);

    // One set request carrying every item, in array order. 1 only when the
    // switch answered with error status 0; nothing is sent when an item is
    // malformed.
    int SnmpSetList(const SNMP_SET_ITEM* pItems, int nCount);

    // Starts the walk of the aggregated-link membership table; the map is
    // Not loaded (and empty) until the walk ends. Result of SendAsync.
    int GetTrunkInfo();
    static int OnTrunkRow(CSnmp* pResponse, int nRequestId, void* pOwner, int nStatus);

    // The column of the aggregated-link membership table, for dialogs that
    // walk it with a CSnmpRowWalk and load the rows with LoadTrunkMap.
    static QString TrunkMemberColumn();
    // Fills the map from the rows of a complete walk of TrunkMemberColumn()
    // (index = link id, cell 0 = member bitmap) and marks it loaded. Ports
    // beyond the port count and malformed link ids are ignored.
    void LoadTrunkMap(const QList<SnmpRow>& rows);

    // pnSelection: one entry per port (entry p-1 for port p), non-zero =
    // selected. 0 when the selection would split an aggregated link (two
    // members with different values), else 1; 1 while the map is not loaded.
    int CheckTrunkMembers(const int* pnSelection) const;

    // Starts the walk of the VLAN names; rows are appended to the lists and
    // reported with WM_VLANLIST_NOTIFY. Result of SendAsync.
    int GetVlanTable();
    static int OnVlanRow(CSnmp* pResponse, int nRequestId, void* pOwner, int nStatus);

    // The name of VLAN strVid (decimal text), read synchronously from the
    // switch; empty when the VLAN does not exist or the switch does not answer.
    QString FindVlanColumn1(const QString& strVid);

    // Reserved for derived logic classes; the base does nothing with it.
    virtual int OnResult(CSnmp* pResponse, int nRequestId, int nStatus);

    // Closes the four sessions (each with its diagnostic line); dialogs call
    // it when their window goes away, before the object is destroyed. A
    // logic class with walks or sessions of its own stops and closes them
    // here too.
    virtual void CloseSessions();

    CCommonSNMP m_cSnmpGet;         // SnmpGet, SnmpSetList, FindVlanColumn1
    CCommonSNMP m_cSnmpSet;         // SnmpSet
    CCommonSNMP m_cSnmpVlanTable;   // the VLAN-name walk
    CCommonSNMP m_cSnmpTrunkTable;  // the link-membership walk

    CModuleOwner* m_hOwnerWnd = nullptr;

    // Entry p-1: id of the aggregated link of port p, 0 for none.
    std::vector<int> m_TrunkPorts;

    // Rows of the last VLAN walk, by position: VLAN id, name, row status.
    QStringList m_arrVlanIndex;
    QStringList m_arrVlanColumn1;
    QStringList m_arrVlanColumn6;

    // 1 once a trunk walk has ended (also a failed one, with what it got).
    int m_bTrunkLoaded = 0;

protected:
    // Reports to the owner dialog, when there is one.
    void SendOwnerMessage(unsigned nMessage, int nCode, const void* pData);

private:
    // Synchronous get of one object on m_cSnmpGet into `value` (raw octets).
    bool GetValue(const QString& strOID, QByteArray& value, int nTimeout);

    QByteArray m_getValue;   // the text SnmpGet hands out
};
