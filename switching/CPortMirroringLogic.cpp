#include "CPortMirroringLogic.h"

#include "CReadGate.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"
#include "GlobalSettings.h"

namespace {

const QString P = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
const QString kState = P + QStringLiteral(".18.1.0");
const QString kTarget = P + QStringLiteral(".18.2.0");
const QString kRxPorts = P + QStringLiteral(".18.3.0");
const QString kTxPorts = P + QStringLiteral(".18.4.0");
const QString kTrunkMembers = P + QStringLiteral(".8.1.3.1.2");

// Marks every port a bitmap names (ports beyond the count ignored).
template <class F> void ForEachPort(const QByteArray& bitmap, int nPorts, F f)
{
    int count = 0;
    for (const QString& item : CUtils::PortBitmapToList(bitmap, count).split(u',', Qt::SkipEmptyParts)) {
        const int port = item.toInt();
        if (port >= 1 && port <= nPorts)
            f(port);
    }
}

} // namespace

CPortMirroringLogic::CPortMirroringLogic()
    : m_pTrunkIds(size_t(qMax(g_nDevicePortNum, 0)), 0)
    , m_pMirrorPorts(size_t(qMax(g_nDevicePortNum, 0)))
    , m_pMirrorRead(std::make_unique<CSnmpScalarRead>(m_cSnmpMirror))
    , m_pTrunkWalk(std::make_unique<CSnmpRowWalk>(m_cSnmpMirrorTrunk))
{
}

// The reads stop with their sessions: each closes its session when it is
// destroyed while running, so no answer reaches a destroyed logic.
CPortMirroringLogic::~CPortMirroringLogic() = default;

void CPortMirroringLogic::GetMirror(CReadGate& gate)
{
    const int ticket = gate.Expect(QStringLiteral("port mirroring"));
    CReadGate* pGate = &gate;
    m_pMirrorRead->Start({kState, kTarget, kRxPorts, kTxPorts}, [this, pGate, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            const int nPorts = int(m_pMirrorPorts.size());
            std::vector<MIRROR_PORT> ports(static_cast<size_t>(nPorts));
            m_strState = m_pMirrorRead->Text(0);
            MIRROR_ROW row;
            row.bEnabled = m_strState == QLatin1String("1") ? 1 : 0;
            row.strTarget = m_pMirrorRead->Text(1) == QLatin1String("0") ? QStringLiteral("1") : m_pMirrorRead->Text(1);
            ForEachPort(m_pMirrorRead->Value(2), nPorts, [&](int p) { ports[size_t(p - 1)].bRx = 1; });
            ForEachPort(m_pMirrorRead->Value(3), nPorts, [&](int p) { ports[size_t(p - 1)].bTx = 1; });
            row.pPorts = ports.data();
            SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &row);
        }
        pGate->Settle(ticket, outcome);
    });
}

void CPortMirroringLogic::GetTrunkInfo(CReadGate& gate)
{
    const int ticket = gate.Expect(QStringLiteral("aggregated links"));
    CReadGate* pGate = &gate;
    std::fill(m_pTrunkIds.begin(), m_pTrunkIds.end(), 0);
    m_pTrunkWalk->Start({kTrunkMembers}, [this, pGate, ticket](const WalkOutcome& outcome) {
        if (outcome.Ok()) {
            for (const SnmpRow& row : m_pTrunkWalk->Rows()) {
                const int link = row.strIndex.toInt();
                if (link > 0)
                    ForEachPort(row.cells.value(0), int(m_pTrunkIds.size()),
                                [&](int p) { m_pTrunkIds[size_t(p - 1)] = link; });
            }
        }
        pGate->Settle(ticket, outcome);
    });
}

int CPortMirroringLogic::CheckSourcePorts()
{
    const size_t n = m_pMirrorPorts.size();
    for (size_t i = 0; i < n; ++i) {
        if (m_pMirrorPorts[i].bChecked)
            continue;
        for (size_t j = i + 1; j < n; ++j) {
            if (m_pMirrorPorts[j].nTrunkId != m_pMirrorPorts[i].nTrunkId)
                continue;
            if (m_pMirrorPorts[j].bTx != m_pMirrorPorts[i].bTx || m_pMirrorPorts[j].bRx != m_pMirrorPorts[i].bRx)
                return 0;
            m_pMirrorPorts[j].bChecked = 1;
        }
    }
    return 1;
}

QByteArray CPortMirroringLogic::PortMap(bool bTx) const
{
    std::vector<int> ports(m_pMirrorPorts.size(), 0);
    for (size_t i = 0; i < ports.size(); ++i)
        ports[i] = bTx ? m_pMirrorPorts[i].bTx : m_pMirrorPorts[i].bRx;
    return CUtils::PortArrayToOctets(ports.data());
}

void CPortMirroringLogic::SetMirror(CSetSequence& sequence, const QString& strState, const QString& strTarget) const
{
    if (strState != QLatin1String("1")) {
        sequence.Add(QStringLiteral("mirroring state"), {SnmpSetValue::Integer(kState, strState.toLongLong())});
        return;
    }
    // The sources are cleared first, whatever the state was: a new target
    // that is still a source would otherwise be refused.
    const std::vector<int> none(m_pMirrorPorts.size(), 0);
    const QByteArray empty = CUtils::PortArrayToOctets(none.data());
    sequence.Add(QStringLiteral("clear the source ports"),
                 {SnmpSetValue::Octets(kTxPorts, empty), SnmpSetValue::Octets(kRxPorts, empty)});
    sequence.Add(QStringLiteral("target port"), {SnmpSetValue::Integer(kTarget, strTarget.toLongLong())});
    sequence.Add(QStringLiteral("source ports"),
                 {SnmpSetValue::Octets(kTxPorts, PortMap(true)), SnmpSetValue::Octets(kRxPorts, PortMap(false))});
    sequence.Add(QStringLiteral("mirroring state"), {SnmpSetValue::Integer(kState, 1)});
}

void CPortMirroringLogic::Close()
{
    m_pMirrorRead->Abandon();
    m_pTrunkWalk->Abandon();
}
