#pragma once

// Bandwidth control's logic: walks the per-port rate table (transmit and
// receive limits in kbit/s, 0 for none), checks a rate and a port range
// against the aggregated links, and turns a change into one set request
// per port.

#include "CModuleBase.h"

#include <QString>

class CReadGate;
class CSetSequence;
class CSnmpRowWalk;

// One port's rates as reported with MN_ROW (texts as the switch gives them).
struct BANDWIDTH_ROW
{
    QString strPort;
    QString strTxRate;
    QString strRxRate;
};

class CBandWidthControlFunLogic : public CModuleBase
{
public:
    // Which limits a write sets (the "Type" items).
    enum RateType { Rx = 0, Tx = 1, Both = 2 };

    // The rate table's column (1 port, 2 Tx rate, 3 Rx rate).
    static QString RateColumn(int nColumn);

    // Walks the rate table with `walk` (the dialog's, on m_cSnmpBandwidth),
    // a ticket of `gate`; reports each row, in port order, with MN_ROW, then
    // MN_READ_FINISHED ("Finished").
    void GetBandwidthTable(CSnmpRowWalk& walk, CReadGate& gate);

    // 1 when the whole text is a decimal rate from 64 to 1024000 (then
    // *pSend, when given, gets the text to send), else 0.
    static int CheckRate(const QString& strRate, QString* pSend = nullptr);

    // 1 when no port from nFrom to nTo belongs to an aggregated link; else
    // 0 with those ports, ascending and comma-separated, in strPorts.
    int BuildPortList(int nFrom, int nTo, QString& strPorts) const;

    // Adds one set request per port from nFrom to nTo: for Rx the receive
    // limit, for Tx the transmit limit, for Both the receive then the
    // transmit limit.
    void SetBandwidth(CSetSequence& sequence, int nFrom, int nTo, const QString& strRate, int nType) const;

    CCommonSNMP m_cSnmpBandwidth;      // the rate walk
    CCommonSNMP m_cSnmpBandwidthSet;   // the writes
};
