#pragma once

// Access to the switch's own SNMP agent settings: the global state, the
// engine ID, the trap switches and the user, group, view, community and
// trap-host tables (private arc .25). Held by each SNMP-agent dialog, which
// registers as its owner.
//
// Walks report their rows to the owner (MN_USER_ROW, MN_COMMUNITY_ROW,
// MN_ROW), then exactly one MN_WALK_END whose payload is the walk's
// WalkOutcome, however the walk ended. The community walk's end starts the
// user walk (the community dialog offers the users as view policies); its
// MN_WALK_END is the one that follows. Scalar reads report
// WM_SNMP_SCALAR with an SNMP_SCALAR_RESULT.
//
// Writes are given as requests for a CSetSequence, which stops at the first
// refused or unanswered step. A new row is made by three requests: RowStatus
// createAndWait (5), its columns, RowStatus active (1).

#include "CModuleBase.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

inline const QString kAgentArc = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.25");

// Reports of scalar reads (global state, engine ID).
enum : unsigned {
    WM_SNMP_SCALAR = 0x004A,   // code: SCALAR_GLOBAL_STATE or SCALAR_ENGINE_ID
};
enum : int {
    SCALAR_GLOBAL_STATE = 1,
    SCALAR_ENGINE_ID = 2,
};

struct SNMP_SCALAR_RESULT
{
    bool bOk = false;
    QString strValue;   // global state: the integer as text; engine ID: lower-case hex
    QString strWhy;     // why the read failed
};

struct SNMP_USER_ROW
{
    QString strName, strGroup, strVersion, strAuthProtocol, strAuthPassword, strPrivProtocol, strPrivPassword,
        strRowStatus;
};

struct SNMP_GROUP_ROW
{
    QString strName, strReadView, strWriteView, strNotifyView, strModel, strLevel, strRowStatus;
};

struct SNMP_VIEW_ROW
{
    QString strName, strSubtree, strMask, strType, strRowStatus;
};

struct SNMP_COMMUNITY_ROW
{
    QString strName, strViewPolicy, strRowStatus;
};

struct SNMP_HOST_ROW
{
    QString strAddress, strAddressType, strVersion, strName, strInterface, strRowStatus;
};

// One text per trap switch, "1" enabled or "2" disabled; fields 6 and 10
// have no object.
struct SNMP_TRAP_ROW
{
    QString field[11];
};

class CSNMPConfig : public CModuleBase
{
public:
    CSNMPConfig();
    ~CSNMPConfig() override;

    // --- Index encodings --------------------------------------------------
    // CUtils::StringToIndex(name) + ".1" (v1), ".2" (v2c), ".3" (v3), either case;
    // any other version adds nothing.
    static QString MakeModelIndex(const QString& name, const QString& version);
    // ".1" NoAuthNoPriv, ".2" AuthNoPriv, ".3" anything else.
    static QString LevelSuffix(const QString& level);
    static QString GroupIndex(const QString& name, const QString& model, const QString& level);
    // CUtils::StringToIndex(name) + ".N." + subtree.
    static QString ViewIndex(const QString& name, const QString& subtree);
    // ".4.a.b.c.d.1" or ".16.o1....o16.2" from the address octets.
    static QString HostIndex(const QByteArray& octets);
    // Splits a view row's index (without leading dot) into name and subtree,
    // within the index's bounds; false for a malformed index.
    static bool ParseViewIndex(const QString& index, QString& name, QString& subtree);
    // "1.1.0" -> octets 01 01 00; components "0", "1", "00", "01" only.
    static bool MaskToOctets(const QString& mask, QByteArray& octets);
    // The mask's octets as decimal numbers joined by "." (at most `count`).
    static QString OctetsToMask(const QByteArray& octets, int count);
    // Hex text to octets; an odd length gets a leading "0". False when a
    // character is not a hex digit.
    static bool EngineIdOctets(const QString& id, QByteArray& octets);
    // The model's factory engine ID; empty for an unknown model.
    static QString DefaultEngineId(const QString& model);
    // True when the name holds none of the characters the switch refuses.
    static bool CheckName(const QString& name);
    // True for "1" (active), "5" (createAndWait), "6" (destroy).
    static bool IsRowStatusText(const QString& status);

    // --- Column OIDs --------------------------------------------------------
    static QString UserColumn(int column) { return kAgentArc + QStringLiteral(".2.1.1.%1").arg(column); }
    static QString GroupColumn(int column) { return kAgentArc + QStringLiteral(".3.1.1.%1").arg(column); }
    static QString ViewColumn(int column) { return kAgentArc + QStringLiteral(".4.1.1.%1").arg(column); }
    static QString CommunityColumn(int column) { return kAgentArc + QStringLiteral(".5.1.1.%1").arg(column); }
    static QString HostColumn(int column) { return kAgentArc + QStringLiteral(".6.2.1.%1").arg(column); }
    static QString GlobalStateOid() { return kAgentArc + QStringLiteral(".1.0"); }
    static QString EngineIdOid() { return kAgentArc + QStringLiteral(".7.0"); }
    // The trap objects in request order; the PoE ones only with withPoe.
    static QStringList TrapOids(bool withPoe);

    // --- Reads ----------------------------------------------------------------
    bool GetUserTable();
    bool GetGroupTable();
    bool GetViewTable();
    bool GetCommunityTable();
    bool GetHostTable();
    // One get each, reported as WM_SNMP_SCALAR (also when it failed).
    bool GetGlobalState();
    bool GetEngineID();
    // One synchronous get of the trap switches. On success the row is
    // reported as MN_ROW and true returned; otherwise false with *pWhy.
    bool GetTrapSettings(bool withPoe, QString* pWhy = nullptr);

    // --- Writes (requests for a CSetSequence) ---------------------------------
    // Adds one step writing `status` to `oid`; shows "error istatus value!"
    // and adds nothing for any status but "1", "5" and "6".
    bool AddRowStatusStep(CSetSequence& sequence, const QString& oid, const QString& status, const QString& what);
    // createAndWait, the column requests, active.
    bool AddCreateSteps(CSetSequence& sequence, const QString& statusOid, const QList<QList<SnmpSetValue>>& requests,
                        const QString& what);
    static QList<QList<SnmpSetValue>> AddUserRequests(const QString& name, const QString& version,
                                                      const QString& group, const QString& authProtocol,
                                                      const QString& authPassword, const QString& privProtocol,
                                                      const QString& privPassword);
    static QList<SnmpSetValue> AddGroupValues(const QString& name, const QString& model, const QString& level,
                                              const QString& readView, const QString& writeView,
                                              const QString& notifyView);
    // Empty when the mask is malformed.
    static QList<SnmpSetValue> AddViewValues(const QString& name, const QString& subtree, const QString& mask,
                                             const QString& type);
    static QList<SnmpSetValue> AddCommunityValues(const QString& name, const QString& viewPolicy);
    // The interface name is sent only for a link-local IPv6 address.
    static QList<SnmpSetValue> AddHostValues(const QByteArray& octets, const QString& name, const QString& version,
                                             const QString& address, const QString& interfaceName);
    static QList<SnmpSetValue> GlobalStateValues(const QString& state);
    // Empty for an unknown model with useDefault, or a non-hex id.
    static QList<SnmpSetValue> EngineIdValues(const QString& id, bool useDefault, const QString& model);
    static QList<SnmpSetValue> TrapValues(const SNMP_TRAP_ROW& row, bool withPoe);

    // Closes the sessions; no report follows.
    void CloseAll();

    // The sessions by use (the base's four).
    CCommonSNMP& m_cCommonSNMP;         // global state, trap switches
    CCommonSNMP& m_cCommonSNMPSet;      // every write
    CCommonSNMP& m_cCommonSNMPTable;    // group, view, community, host walks; engine ID
    CCommonSNMP& m_cCommonSNMPGetUse;   // user walk

private:
    enum Table { Users, Groups, Views, Communities, Hosts };
    bool StartWalk(Table table);
    void OnWalkEnd(Table table, const WalkOutcome& outcome);
    void ReportRow(Table table, const SnmpRow& row);
    bool GetScalar(CCommonSNMP& session, const QString& oid, int code);

    std::unique_ptr<CSnmpRowWalk> m_pUserWalk;
    std::unique_ptr<CSnmpRowWalk> m_pTableWalk;
    bool m_bChainUserWalk = false;   // the community walk's end starts the user walk
};
