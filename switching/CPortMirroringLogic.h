#pragma once

// Port mirroring's logic: reads the mirroring state, target and source maps
// (reported to the dialog as a MIRROR_ROW), learns which ports belong to
// aggregated links, checks that a link's members share one sniffer mode, and
// fills the set sequence that writes the settings.

#include "CModuleBase.h"

#include <QString>

#include <memory>
#include <vector>

class CReadGate;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;

// One port's part in mirroring.
struct MIRROR_PORT
{
    quint8 bTx = 0;        // a transmit source
    quint8 bRx = 0;        // a receive source
    qint32 nTrunkId = 0;   // its aggregated link, 0 for none
    quint8 bChecked = 0;   // working flag of CheckSourcePorts
};

// What a read reports to the dialog (valid during the report only).
struct MIRROR_ROW
{
    int bEnabled = 0;                     // the state read is "1"
    QString strTarget;                    // target port ("0" is shown as "1")
    const MIRROR_PORT* pPorts = nullptr;  // one per port; bTx and bRx filled
};

class CPortMirroringLogic : public CModuleBase
{
public:
    CPortMirroringLogic();
    ~CPortMirroringLogic() override;

    // The four mirroring objects in one get; reports MN_ROW with a
    // MIRROR_ROW when it succeeded. A ticket of `gate`.
    void GetMirror(CReadGate& gate);
    // The aggregated-link walk into m_pTrunkIds (cleared first: a link
    // removed since must not linger). A ticket of `gate`.
    void GetTrunkInfo(CReadGate& gate);

    // 1 when every aggregated link's members in m_pMirrorPorts have equal
    // bTx and equal bRx, else 0.
    int CheckSourcePorts();

    // Fills `sequence`: for a state other than "1" the state alone; for "1"
    // the source maps cleared, the target, the source maps of
    // m_pMirrorPorts, the state; each a step of its own, so a refused step
    // stops the rest.
    void SetMirror(CSetSequence& sequence, const QString& strState, const QString& strTarget) const;

    // Stops the reads without a report (the sessions close next).
    void Close();

    std::vector<int> m_pTrunkIds;              // link per port (entry port - 1)
    CCommonSNMP m_cSnmpMirror;                 // the read of the four objects
    CCommonSNMP m_cSnmpMirrorTrunk;            // the link walk
    CCommonSNMP m_cSnmpMirrorSet;              // every set
    std::vector<MIRROR_PORT> m_pMirrorPorts;   // filled by the dialog before a write
    QString m_strState;                        // the state as last read

private:
    QByteArray PortMap(bool bTx) const;

    std::unique_ptr<CSnmpScalarRead> m_pMirrorRead;
    std::unique_ptr<CSnmpRowWalk> m_pTrunkWalk;
};
