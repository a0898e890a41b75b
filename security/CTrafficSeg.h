#pragma once

// Traffic segmentation's logic: the feature's state and, per ingress port,
// the ports the switch may forward its traffic to (a port bitmap). Builds
// the forwarding sets of one port or of every port and checks each against
// the aggregated links before anything is written.

#include "CModuleBase.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

class CReadGate;
class CSetSequence;
class CSnmpScalarRead;

class CTrafficSeg : public CModuleBase
{
public:
    // The forwarding sets of a write, one per port: (port, bitmap).
    using ForwardSets = QList<std::pair<int, QByteArray>>;

    // The switch takes a moment between two ports' forwarding sets.
    static constexpr int kForwardGapMs = 50;

    static QString StateOid();
    // The forwarding table's column (1 port, 2 forwarding ports).
    static QString ForwardColumn(int nColumn);

    // Reads the state with `read` (the dialog's, on m_cSnmpSeg), a ticket
    // of `gate`; when it arrives it becomes m_strState and is reported with
    // MN_READ_FINISHED (payload the text).
    void GetState(CSnmpScalarRead& read, CReadGate& gate);

    // Adds the state write ("1" enabled, "2" disabled).
    void SetState(CSetSequence& sequence, const QString& strState) const;

    // The forwarding sets for `selection` (entry port - 1, non-zero =
    // chosen): for nFromPort 0 ("ALL") every port gets the selection plus
    // itself; for a port, that port gets the selection as it is. 0 when one
    // of those sets holds only part of an aggregated link (nothing is
    // built), else 1.
    int BuildForwardSets(int nFromPort, const std::vector<int>& selection, ForwardSets& sets) const;

    // Adds one step per set, kForwardGapMs apart.
    void SetForwardPorts(CSetSequence& sequence, const ForwardSets& sets) const;

    QString m_strState;          // as last read
    CCommonSNMP m_cSnmpSeg;      // the state read
    CCommonSNMP m_cSnmpSegSet;   // every write
};
