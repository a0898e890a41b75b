#pragma once

// The switch side of the two GVRP dialogs: the objects, the records of a
// read, the checks of the timers and of a port range against the aggregated
// links, and the set requests of each write. Each dialog holds its own.

#include "CModuleBase.h"

#include <QString>
#include <QStringList>

class CSetSequence;
struct SnmpRow;

// The global values as read.
struct GVRP_TIMER_INFO
{
    int nEnabled = 0;   // 1 unless the state reads "2"
    QString strJoin;
    QString strLeave;
    QString strLeaveAll;
};

// One port row as the list shows it.
struct GVRP_PORT_INFO
{
    QString strPort;
    QString strPvid;
    QString strGvrp;        // "Enabled" / "Disabled"
    QString strIngress;     // "Enabled" / "Disabled"
    QString strFrameType;   // "AllFrames" / "TaggedOnly"
};

class CGVRPFunLogic : public CModuleBase
{
public:
    CGVRPFunLogic();

    // The global objects: state, join, leave and leave-all time, in this order.
    static QString StateOid();
    static QStringList TimerOids();
    static GVRP_TIMER_INFO TimersFromTexts(const QStringList& texts);

    // The port table's five columns (port, PVID, GVRP, ingress checking,
    // acceptable frame types) and one row of their walk.
    static QString PortColumn(int n);
    static QStringList PortColumns();
    static GVRP_PORT_INFO PortRow(const SnmpRow& row);

    // Checks the timers in their fixed order and fills `writes` with the
    // request of the change from strOldState to strNewState: the first
    // failure's message (nothing added), else empty. Disabling sends the
    // state alone, unchecked; disabling what is disabled sends nothing;
    // otherwise the timers go as the numbers checked, after the state when
    // it changes, in one request.
    QString SetTimers(const QString& strOldState, const QString& strNewState, const QString& strJoin,
                      const QString& strLeave, const QString& strLeaveAll, CSetSequence& writes) const;

    // GVRP's own rule: every aggregated link with a member among the ports
    // from..to has all its members there. The message, or empty.
    QString CheckLAGroup(int nFrom, int nTo) const;

    // One request per port from..to, each with PVID, GVRP, ingress checking
    // and frame types in column order; values as checked numbers ("1"/"2").
    void SetPortSettings(int nFrom, int nTo, qint64 nPvid, int nGvrp, int nIngress, int nFrameType,
                         CSetSequence& writes) const;

    int PortCount() const { return m_nPortNum; }

    CCommonSNMP m_cSnmpPortTable;   // the port table's walk
    QString m_strVlanList;          // VLAN ids of the last VLAN walk, each followed by a comma

private:
    int m_nPortNum = 0;
};
