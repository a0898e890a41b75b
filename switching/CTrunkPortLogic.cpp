#include "CTrunkPortLogic.h"

#include "CReadGate.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CUtils.h"
#include "GlobalSettings.h"

namespace {

const QString P = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");

QString Oid(const char* tail)
{
    return P + QLatin1Char('.') + QLatin1String(tail);
}

const QString kTrunkMembers = Oid("8.1.3.1.2");
const QString kTrunkMode = Oid("8.1.3.1.3");

// Port number of a per-port row, 0 when the index is no port.
int PortOfRow(const SnmpRow& row, int nPortNum)
{
    bool ok = false;
    const int port = row.strIndex.toInt(&ok);
    return ok && port >= 1 && port <= nPortNum ? port : 0;
}

int CellInt(const SnmpRow& row, int column)
{
    return row.Text(column).toInt();   // a non-number counts as 0
}

QString MemberText(const QByteArray& bitmap)
{
    int count = 0;
    return CUtils::PortBitmapToList(bitmap, count);
}

// Flags of the ports a member text names (ports outside 1..n ignored).
std::vector<int> Marked(const QString& members, int nPortNum)
{
    std::vector<int> flags(size_t(nPortNum), 0);
    for (const QString& item : members.split(u',', Qt::SkipEmptyParts)) {
        const int port = item.toInt();
        if (port >= 1 && port <= nPortNum)
            flags[size_t(port - 1)] = 1;
    }
    return flags;
}

// The rules' view of the chosen ports.
class Chosen
{
public:
    Chosen(const TRUNK_RULE_STATE& s, const std::vector<int>& selected)
    {
        for (int i = 0; i < s.m_nPortNum && i < int(selected.size()); ++i)
            if (selected[size_t(i)] != 0)
                m_ports.push_back(i);
    }
    const std::vector<int>& Indexes() const { return m_ports; }

    // Every chosen port has the lowest chosen port's value.
    template <class V> bool SameAsFirst(const V& v) const
    {
        for (int i : m_ports)
            if (!(v[size_t(i)] == v[size_t(m_ports.front())]))
                return false;
        return true;
    }
    // From the lowest chosen port with a non-zero value upward, every chosen
    // port has that value; *reference gets it (0 when none).
    bool SameAsFirstNonZero(const std::vector<int>& v, int* reference = nullptr) const
    {
        int ref = 0;
        for (int i : m_ports) {
            const int value = v[size_t(i)];
            if (ref == 0) {
                ref = value;
                if (reference)
                    *reference = ref;
                continue;
            }
            if (value != ref)
                return false;
        }
        return true;
    }
    bool NoneEqual(const std::vector<int>& v, int value) const
    {
        for (int i : m_ports)
            if (v[size_t(i)] == value)
                return false;
        return true;
    }
    bool Has(int port) const
    {
        for (int i : m_ports)
            if (i + 1 == port)
                return true;
        return false;
    }
    // A member text names all chosen ports or none of them.
    bool AllOrNone(const QString& members, int nPortNum) const
    {
        if (members.isEmpty())
            return true;
        const std::vector<int> listed = Marked(members, nPortNum);
        size_t in = 0;
        for (int i : m_ports)
            in += listed[size_t(i)] ? 1 : 0;
        return in == 0 || in == m_ports.size();
    }

private:
    std::vector<int> m_ports;   // port - 1, ascending
};

TRUNK_RULE_FAILURE Fail(int rule, const char* text)
{
    return {rule, QString::fromLatin1(text)};
}

} // namespace

void TRUNK_RULE_STATE::Reset(int nPorts)
{
    *this = TRUNK_RULE_STATE();
    m_nPortNum = nPorts;
    for (std::vector<int>* v : {&m_pInTrunk, &m_pPvid, &m_pSpeed, &m_pPriority, &m_pPortSecurity, &m_pPortType,
                                &m_pLbd, &m_pBandwidthRx, &m_pBandwidthTx, &m_p8021xPort, &m_pVoiceVlanMode,
                                &m_pDhcpScreening, &m_CameraVlanState, &m_pCameraVlanDynamic})
        v->assign(size_t(nPorts), 0);
    m_Rstp.assign(size_t(nPorts), {});
}

CTrunkPortLogic::CTrunkPortLogic()
    : m_walkPorts(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableGetVlanTrunk))
    , m_walkTrunk(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableTrunk))
    , m_walkVlan(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableVlan))
    , m_walkAcl(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableACL))
    , m_walkArp(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableArp))
    , m_walkCamera(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableCamera))
    , m_walkRstp(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableRstp))
    , m_walkStaticFdb(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTableStaticPor))
    , m_readMirrorPorts(std::make_unique<CSnmpScalarRead>(m_cCommonSNMPMirror))
    , m_readMirror(std::make_unique<CSnmpScalarRead>(m_cCommonSNMPPoint))
    , m_readStates(std::make_unique<CSnmpScalarRead>(m_cCommonSNMP))
    , m_readDhcp(std::make_unique<CSnmpScalarRead>(m_cCommonSNMPDhcp))
{
}

// The reads stop with their sessions: each closes its session when it is
// destroyed while running, so no answer reaches a destroyed logic.
CTrunkPortLogic::~CTrunkPortLogic() = default;

int CTrunkPortLogic::Init(CReadGate& gate)
{
    ReadAll(gate);
    return 1;
}

void CTrunkPortLogic::ReadAll(CReadGate& gate)
{
    m_state.Reset(g_nDevicePortNum);
    GetPortTables(gate);
    GetMirror(gate);
    GetStaticFdbPorts(gate);
    Get8021EnableState(gate);
    GetDhcpScreening(gate);
}

void CTrunkPortLogic::Walk(CSnmpRowWalk& walk, CReadGate& gate, const QString& what, const QStringList& columns,
                           void (CTrunkPortLogic::*take)(const CSnmpRowWalk&))
{
    const int ticket = gate.Expect(what);
    CReadGate* pGate = &gate;
    walk.Start(columns, [this, &walk, pGate, ticket, take](const WalkOutcome& outcome) {
        // The values first: settling may open the gate, and the rules then
        // run on them.
        if (outcome.Ok())
            (this->*take)(walk);
        pGate->Settle(ticket, outcome);
    });
}

void CTrunkPortLogic::Read(CSnmpScalarRead& read, CReadGate& gate, const QString& what, const QStringList& oids,
                           void (CTrunkPortLogic::*take)(const CSnmpScalarRead&))
{
    const int ticket = gate.Expect(what);
    CReadGate* pGate = &gate;
    read.Start(oids, [this, &read, pGate, ticket, take](const WalkOutcome& outcome) {
        if (outcome.Ok())
            (this->*take)(read);
        pGate->Settle(ticket, outcome);
    });
}

void CTrunkPortLogic::GetPortTables(CReadGate& gate)
{
    GetTrunkTable(gate);
    GetVlanPorts(gate);
    GetAclPortLists(gate);
    GetMirrorPorts(gate);
    GetArpSpoofingPorts(gate);
    GetSurveillancePorts(gate);
    GetRstpPorts(gate);
    Walk(*m_walkPorts, gate, QStringLiteral("port settings"),
         {Oid("1.13.1.2"), Oid("12.3.1.1.2"), Oid("7.7.1.1"), Oid("14.2.1.1.2"), Oid("1.13.1.7"), Oid("17.5.1.2"),
          Oid("13.1.2.1.2"), Oid("13.1.2.1.3")},
         &CTrunkPortLogic::TakePortTables);
}

void CTrunkPortLogic::TakePortTables(const CSnmpRowWalk& walk)
{
    std::vector<int>* columns[] = {&m_state.m_pSpeed,    &m_state.m_pPriority,    &m_state.m_pPvid,
                                   &m_state.m_pPortSecurity, &m_state.m_pPortType, &m_state.m_pLbd,
                                   &m_state.m_pBandwidthRx, &m_state.m_pBandwidthTx};
    for (const SnmpRow& row : walk.Rows()) {
        const int port = PortOfRow(row, m_state.m_nPortNum);
        if (port == 0)
            continue;
        for (int k = 0; k < 8; ++k)
            (*columns[k])[size_t(port - 1)] = CellInt(row, k);
    }
}

void CTrunkPortLogic::GetTrunkTable(CReadGate& gate)
{
    Walk(*m_walkTrunk, gate, QStringLiteral("aggregated links"), {kTrunkMembers}, &CTrunkPortLogic::TakeTrunkTable);
}

void CTrunkPortLogic::TakeTrunkTable(const CSnmpRowWalk& walk)
{
    for (const SnmpRow& row : walk.Rows()) {
        const std::vector<int> members = Marked(MemberText(row.cells.value(0)), m_state.m_nPortNum);
        for (size_t i = 0; i < members.size(); ++i)
            if (members[i])
                m_state.m_pInTrunk[i] = 1;
    }
}

void CTrunkPortLogic::GetVlanPorts(CReadGate& gate)
{
    Walk(*m_walkVlan, gate, QStringLiteral("VLAN ports"), {Oid("7.6.1.2"), Oid("7.6.1.4")},
         &CTrunkPortLogic::TakeVlanPorts);
}

void CTrunkPortLogic::TakeVlanPorts(const CSnmpRowWalk& walk)
{
    m_state.m_strEgressLists.clear();
    m_state.m_strUntaggedLists.clear();
    for (const SnmpRow& row : walk.Rows()) {
        const QString egress = MemberText(row.cells.value(0));
        const QString untagged = MemberText(row.cells.value(1));
        if (!egress.isEmpty())
            m_state.m_strEgressLists.append(egress);
        if (!untagged.isEmpty())
            m_state.m_strUntaggedLists.append(untagged);
    }
}

void CTrunkPortLogic::GetAclPortLists(CReadGate& gate)
{
    Walk(*m_walkAcl, gate, QStringLiteral("ACL ports"), {Oid("15.2.1.1.10")}, &CTrunkPortLogic::TakeAclPortLists);
}

void CTrunkPortLogic::TakeAclPortLists(const CSnmpRowWalk& walk)
{
    m_state.m_strAclLists.clear();
    for (const SnmpRow& row : walk.Rows()) {
        const QString ports = MemberText(row.cells.value(0));
        if (!ports.isEmpty())
            m_state.m_strAclLists.append(ports);
    }
}

void CTrunkPortLogic::GetArpSpoofingPorts(CReadGate& gate)
{
    Walk(*m_walkArp, gate, QStringLiteral("ARP spoofing prevention ports"), {Oid("14.3.1.1.3")},
         &CTrunkPortLogic::TakeArpSpoofingPorts);
}

void CTrunkPortLogic::TakeArpSpoofingPorts(const CSnmpRowWalk& walk)
{
    m_state.m_strArpLists.clear();
    for (const SnmpRow& row : walk.Rows()) {
        const QString ports = MemberText(row.cells.value(0));
        if (!ports.isEmpty())
            m_state.m_strArpLists.append(ports);
    }
}

void CTrunkPortLogic::GetSurveillancePorts(CReadGate& gate)
{
    Walk(*m_walkCamera, gate, QStringLiteral("auto surveillance VLAN ports"), {Oid("26.1.5.1.2"), Oid("26.1.5.1.3")},
         &CTrunkPortLogic::TakeSurveillancePorts);
}

void CTrunkPortLogic::TakeSurveillancePorts(const CSnmpRowWalk& walk)
{
    for (const SnmpRow& row : walk.Rows()) {
        const int port = PortOfRow(row, m_state.m_nPortNum);
        if (port == 0)
            continue;
        m_state.m_CameraVlanState[size_t(port - 1)] = CellInt(row, 0);
        m_state.m_pCameraVlanDynamic[size_t(port - 1)] = CellInt(row, 1);
    }
}

void CTrunkPortLogic::GetRstpPorts(CReadGate& gate)
{
    Walk(*m_walkRstp, gate, QStringLiteral("spanning tree ports"),
         {Oid("51.2.1.2"), Oid("51.2.1.3"), Oid("51.2.1.4"), Oid("51.2.1.7"), Oid("51.2.1.10"), Oid("51.2.1.9"),
          Oid("51.2.1.8"), Oid("11.2.9.1.2"), Oid("21.1.6.1.2")},
         &CTrunkPortLogic::TakeRstpPorts);
}

void CTrunkPortLogic::TakeRstpPorts(const CSnmpRowWalk& walk)
{
    for (const SnmpRow& row : walk.Rows()) {
        const int port = PortOfRow(row, m_state.m_nPortNum);
        if (port == 0)
            continue;
        for (int k = 0; k < 7; ++k)
            m_state.m_Rstp[size_t(port - 1)][size_t(k)] = CellInt(row, k);
        m_state.m_p8021xPort[size_t(port - 1)] = CellInt(row, 7);
        m_state.m_pVoiceVlanMode[size_t(port - 1)] = CellInt(row, 8);
    }
}

void CTrunkPortLogic::GetStaticFdbPorts(CReadGate& gate)
{
    Walk(*m_walkStaticFdb, gate, QStringLiteral("static forwarding entries"), {Oid("9.3.1.3")},
         &CTrunkPortLogic::TakeStaticFdbPorts);
}

void CTrunkPortLogic::TakeStaticFdbPorts(const CSnmpRowWalk& walk)
{
    // Every row counts, however many there are: the table is not per port.
    m_state.m_pStaticFdbPort.clear();
    for (const SnmpRow& row : walk.Rows())
        if (row.Has(0))
            m_state.m_pStaticFdbPort.push_back(CellInt(row, 0));
}

void CTrunkPortLogic::GetMirrorPorts(CReadGate& gate)
{
    Read(*m_readMirrorPorts, gate, QStringLiteral("mirror source ports"), {Oid("18.3.0"), Oid("18.4.0"), Oid("9.2.0")},
         &CTrunkPortLogic::TakeMirrorPorts);
}

void CTrunkPortLogic::TakeMirrorPorts(const CSnmpScalarRead& read)
{
    m_state.m_strMirrorRxPorts = MemberText(read.Value(0));
    m_state.m_strMirrorTxPorts = MemberText(read.Value(1));
    m_state.m_strAutoLearnPorts = MemberText(read.Value(2));
}

void CTrunkPortLogic::GetMirror(CReadGate& gate)
{
    Read(*m_readMirror, gate, QStringLiteral("mirroring state"), {Oid("18.1.0"), Oid("18.2.0")},
         &CTrunkPortLogic::TakeMirror);
}

void CTrunkPortLogic::TakeMirror(const CSnmpScalarRead& read)
{
    m_state.m_nMirrorState = read.Text(0).toInt();
    m_state.m_nMirrorTarget = read.Text(1).toInt();
}

void CTrunkPortLogic::Get8021EnableState(CReadGate& gate)
{
    Read(*m_readStates, gate, QStringLiteral("802.1X, spanning tree and surveillance states"),
         {Oid("11.2.1.0"), Oid("51.1.1.0"), Oid("26.1.1.0")}, &CTrunkPortLogic::Take8021EnableState);
}

void CTrunkPortLogic::Take8021EnableState(const CSnmpScalarRead& read)
{
    m_state.m_i8021xState = read.Text(0) == QLatin1String("1") ? 1 : 2;
    m_state.m_iRstpEnable = read.Text(1) == QLatin1String("1") ? 1 : 2;
    m_state.m_iCameraVlanState = read.Text(2) == QLatin1String("1") ? 1 : 2;
}

void CTrunkPortLogic::GetDhcpScreening(CReadGate& gate)
{
    Read(*m_readDhcp, gate, QStringLiteral("DHCP server screening ports"), {Oid("14.7.1.0")},
         &CTrunkPortLogic::TakeDhcpScreening);
}

void CTrunkPortLogic::TakeDhcpScreening(const CSnmpScalarRead& read)
{
    m_state.m_pDhcpScreening = Marked(MemberText(read.Value(0)), m_state.m_nPortNum);
}

TRUNK_RULE_FAILURE CTrunkPortLogic::CheckRules(const TRUNK_RULE_STATE& s, const std::vector<int>& selected,
                                               const QString& curMembers)
{
    const Chosen chosen(s, selected);
    const int n = s.m_nPortNum;
    if (chosen.Indexes().empty())
        return {};

    // 1. A port of another link.
    const std::vector<int> current = Marked(curMembers, n);
    for (int i : chosen.Indexes())
        if (s.m_pInTrunk[size_t(i)] == 1 && !current[size_t(i)])
            return Fail(1, "Cannot add the port as it is a member of another aggregated link !");
    // 2. Port types.
    if (!chosen.SameAsFirstNonZero(s.m_pPortType))
        return Fail(2, "Cannot add ports of different types to an aggregated link !");
    // 3. Duplex and speed.
    int speed = 0;
    const bool sameSpeed = chosen.SameAsFirstNonZero(s.m_pSpeed, &speed);
    if (speed == 3 || speed == 5)
        return Fail(3, "Cannot add a port in half-duplex mode to an aggregated link.");
    if (!sameSpeed)
        return Fail(3, "Cannot add ports of different speed to an aggregated link.");
    // 4. DHCP server screening.
    if (!chosen.SameAsFirst(s.m_pDhcpScreening))
        return Fail(4, "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.");
    // 5. 802.1X: the first chosen port with a value of 1 or 2 decides.
    if (s.m_i8021xState == 1) {
        for (int i : chosen.Indexes()) {
            if (s.m_p8021xPort[size_t(i)] == 2)
                return Fail(5, "Cannot add the 802.1X-enabled port to an aggregated link.");
            if (s.m_p8021xPort[size_t(i)] == 1)
                return Fail(5, "Setting the Channel Mode Fail.");
        }
    }
    // 6. VLAN membership: every VLAN holds all chosen ports or none.
    for (const QStringList* lists : {&s.m_strEgressLists, &s.m_strUntaggedLists})
        for (const QString& members : *lists)
            if (!chosen.AllOrNone(members, n))
                return Fail(6, "Cannot add ports with different VLAN configurations to an aggregated link !");
    // 7. Auto-learning.
    if (s.m_strAutoLearnPorts.isEmpty())
        return Fail(7, "Cannot add a Auto-learn disabled port to an aggregated link.");
    const std::vector<int> learning = Marked(s.m_strAutoLearnPorts, n);
    for (int i : chosen.Indexes())
        if (!learning[size_t(i)])
            return Fail(7, "Cannot add a Auto-learn disabled port to an aggregated link.");
    // 8. Port attributes.
    if (!chosen.SameAsFirstNonZero(s.m_pPriority))
        return Fail(8, "Cannot add ports with different 802.1p default priorities to an aggregated link.");
    if (!chosen.SameAsFirstNonZero(s.m_pPvid))
        return Fail(8, "Cannot add ports with different PVIDs to an aggregated link.");
    if (!chosen.NoneEqual(s.m_pPortSecurity, 1))
        return Fail(8, "Cannot add a port-security anabled port to an aggregated link.");
    if (!chosen.NoneEqual(s.m_pLbd, 1))
        return Fail(8, "Cannot add a LBD-enabled port to an aggregated link.");
    // 9. Mirror sources: all chosen ports alike in each direction.
    if (!s.m_strMirrorRxPorts.isEmpty() || !s.m_strMirrorTxPorts.isEmpty()) {
        if (!chosen.SameAsFirst(Marked(s.m_strMirrorRxPorts, n)) || !chosen.SameAsFirst(Marked(s.m_strMirrorTxPorts, n)))
            return Fail(9, "Cannot add ports of Port Mirror enable ports to an aggregated link.");
    }
    // 10. Mirror target.
    if (s.m_nMirrorState == 1 && chosen.Has(s.m_nMirrorTarget))
        return Fail(10, "Cannot add a mirror port to an aggregated link.");
    // 11. ARP spoofing prevention, every row.
    for (const QString& members : s.m_strArpLists)
        if (!chosen.SameAsFirst(Marked(members, n)))
            return Fail(11, "Cannot add ports of ARP Spoofing Prevent enable ports to an aggregated link.");
    // 12. Bandwidth control.
    if (!chosen.SameAsFirst(s.m_pBandwidthRx) || !chosen.SameAsFirst(s.m_pBandwidthTx))
        return Fail(12, "Cannot add ports with different rate control configurations to an aggregated link.");
    // 13. Spanning tree, on the states already read.
    if (s.m_iRstpEnable == 1 && !chosen.SameAsFirst(s.m_Rstp))
        return Fail(13, "Cannot add a port with different RSTP port setting to an aggregated link. ");
    // 14. Voice VLAN.
    if (!chosen.NoneEqual(s.m_pVoiceVlanMode, 1))
        return Fail(14, "Cannot add a port in Voice Vlan Auto mode to an aggregated link.");
    // 15. Static forwarding entries.
    for (int port : s.m_pStaticFdbPort)
        if (chosen.Has(port))
            return Fail(15, "Cannot add ports with different FDB-destination-hit configurations to an aggregated link.");
    // 16. ACL.
    for (const QString& members : s.m_strAclLists)
        if (!chosen.AllOrNone(members, n))
            return Fail(16, "Cannot add an ACL enabled port to an aggregated link.");
    // 17. Auto surveillance VLAN.
    if (s.m_iCameraVlanState == 1) {
        for (int i : chosen.Indexes()) {
            if (s.m_CameraVlanState[size_t(i)] == 1)
                return Fail(17, "Cannot add a port in  Auto Surveillance VLAN Auto mode to an aggregated link");
            if (s.m_pCameraVlanDynamic[size_t(i)] == 2)
                return Fail(17, "Cannot add a port in Auto Surveillance Vlan Auto dynamic mode to an aggregated link");
        }
    }
    return {};
}

int CTrunkPortLogic::SetTrunk(CSetSequence& sequence, const QString& strMode, const QString& strHexMap,
                              const QString& strTrunkId, QString* message) const
{
    const int octets = int(strHexMap.size() / 2);
    if (octets < 1) {
        if (message)
            *message = QStringLiteral("Parameter Error !");
        return 0;
    }
    QByteArray map(octets, '\0');
    CUtils::HexTextToBytes(strHexMap, reinterpret_cast<unsigned char*>(map.data()), octets);
    sequence.Add(QStringLiteral("members and channel mode of link %1").arg(strTrunkId),
                 {SnmpSetValue::Octets(kTrunkMembers + QLatin1Char('.') + strTrunkId, map),
                  SnmpSetValue::Integer(kTrunkMode + QLatin1Char('.') + strTrunkId, strMode.toLongLong())});
    return 1;
}

std::vector<std::pair<CCommonSNMP*, const char*>> CTrunkPortLogic::Sessions()
{
    return {
        {&m_cCommonSNMP, "m_cCommonSNMP"},
        {&m_cCommonSNMPSet, "m_cCommonSNMPSet"},
        {&m_cCommonSNMPMirror, "m_cCommonSNMPMirror"},
        {&m_cCommonSNMPTableACL, "m_cCommonSNMPTableACL"},
        {&m_cCommonSNMPPoint, "m_cCommonSNMPPoint"},
        {&m_cCommonSNMPTableVlan, "m_cCommonSNMPTableVlan"},
        {&m_cCommonSNMPTableTrunk, "m_cCommonSNMPTableTrunk"},
        {&m_cCommonSNMPTableStaticPor, "m_cCommonSNMPTableStaticPor"},
        {&m_cCommonSNMPTableGetVlanTrunk, "m_cCommonSNMPTableGetVlanTrunk"},
        {&m_cCommonSNMPTableArp, "m_cCommonSNMPTableArp"},
        {&m_cCommonSNMPTableCamera, "m_cCommonSNMPTableCamera"},
        {&m_cCommonSNMPTableRstp, "m_cCommonSNMPTableRstp"},
        {&m_cCommonSNMPDhcp, "m_cCommonSNMPDhcp"},
    };
}

void CTrunkPortLogic::CloseAll()
{
    for (auto* walk : {m_walkPorts.get(), m_walkTrunk.get(), m_walkVlan.get(), m_walkAcl.get(), m_walkArp.get(),
                       m_walkCamera.get(), m_walkRstp.get(), m_walkStaticFdb.get()})
        if (walk)
            walk->Abandon();
    for (auto* read : {m_readMirrorPorts.get(), m_readMirror.get(), m_readStates.get(), m_readDhcp.get()})
        if (read)
            read->Abandon();
}
