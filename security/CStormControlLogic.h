#pragma once

// Storm control's logic: reads the three switch-wide storm objects (state,
// the traffic covered, the threshold in kbit/s) and reports them to the
// dialog as a CStormControlInfo; turns a change into one set request.

#include "CModuleBase.h"

#include <QString>

class CReadGate;
class CSetSequence;
class CSnmpScalarRead;

// The storm objects' values as text, as the switch gives them.
struct CStormControlInfo
{
    QString strState;       // "1" enabled, "2" disabled
    QString strType;        // "1" broadcast, "2" + multicast, "3" + unknown unicast
    QString strThreshold;   // kbit/s, N x 64
};

class CStormControlLogic : public CModuleBase
{
public:
    static QString StateOid();
    static QString TypeOid();
    static QString ThresholdOid();

    // The three objects in one get on `read` (the dialog's, on
    // m_cSnmpStorm), a ticket of `gate`; reports MN_ROW with a
    // CStormControlInfo when the switch gave all three.
    void GetGlobal(CSnmpScalarRead& read, CReadGate& gate);

    // Adds to `sequence` the one request that takes the switch from `old`
    // to `now`: the state when it changes; with the state "1" also the type
    // and the threshold that differ from `old`. False when there is nothing
    // to write (nothing added).
    bool SetGlobal(CSetSequence& sequence, const CStormControlInfo& old, const CStormControlInfo& now) const;

    CCommonSNMP m_cSnmpStorm;      // the read
    CCommonSNMP m_cSnmpStormSet;   // the write
};
