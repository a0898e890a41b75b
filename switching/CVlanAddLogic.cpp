#include "CVlanAddLogic.h"

#include "CSetSequence.h"
#include "CUtils.h"
#include "CValidationPatterns.h"
#include "GlobalSettings.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("CVlanAddLogic", text);
}

QString Cell(const QString& column, int nVid)
{
    return column + u'.' + QString::number(nVid);
}

PortFlags Either(const PortFlags& a, const PortFlags& b)
{
    PortFlags out(a.size(), 0);
    for (size_t i = 0; i < a.size(); ++i)
        out[i] = (a[i] || (i < b.size() && b[i])) ? 1 : 0;
    return out;
}

PortFlags Both(const PortFlags& a, const PortFlags& b)
{
    PortFlags out(a.size(), 0);
    for (size_t i = 0; i < a.size(); ++i)
        out[i] = (a[i] && i < b.size() && b[i]) ? 1 : 0;
    return out;
}

} // namespace

CVlanAddLogic::CVlanAddLogic()
    : m_nPortNum(qMax(0, g_nDevicePortNum))
{
}

const VLAN_ENTRY* CVlanAddLogic::FindVlanByName(const VlanList& list, const QString& strName, int nVid)
{
    for (const VLAN_ENTRY& entry : list)
        if (entry.nVid != nVid && entry.szName == strName)
            return &entry;
    return nullptr;
}

QString CVlanAddLogic::CheckVid(const VlanList& list, int nVid)
{
    if (nVid < 2 || nVid > 4094)
        return Tr("Invalid VLAN ID, VLAN ID should be (2-4094) !");
    if (FindVlan(list, nVid))
        return Tr("The VLAN ID has been used, please input again !");
    return {};
}

bool CVlanAddLogic::IsValidName(const QString& strName)
{
    return CValidationPatterns::MatchesVlanName(strName);
}

QString CVlanAddLogic::CheckName(const VlanList& list, const QString& strName, int nVid)
{
    if (strName.isEmpty())
        return Tr("VLAN name is not allow empty.");
    if (!IsValidName(strName))
        return Tr("Invalid VLAN name.");
    if (FindVlanByName(list, strName, nVid))
        return Tr("The VLAN Name has been existent.");
    return {};
}

QString CVlanAddLogic::CheckTrunkMembers(const PortFlags& egress, const PortFlags& untagged,
                                         const PortFlags& forbidden) const
{
    for (const PortFlags* flags : {&egress, &untagged, &forbidden}) {
        if (flags->size() < size_t(m_nPortNum) || !CModuleBase::CheckTrunkMembers(flags->data()))
            return Tr("Members in VLAN have to be in the same trunk !");
    }
    return {};
}

QString CVlanAddLogic::CheckMembers(const VlanList& list, int nVid, const PortFlags& egress)
{
    for (int flag : egress)
        if (flag)
            return {};
    for (const VLAN_ENTRY& entry : list)
        if (entry.nVid != nVid && entry.nEgressCount > 0)
            return {};
    return Tr("You have to include at least one member in the vlan");
}

PortFlags CVlanAddLogic::Flags(const QString& strPorts) const
{
    PortFlags flags(size_t(m_nPortNum), 0);
    if (m_nPortNum > 0)
        CUtils::PortListToArray(strPorts, flags.data(), 1);
    return flags;
}

void CVlanAddLogic::SplitPortList(const VLAN_ENTRY& entry, PortFlags& egress, PortFlags& untagged,
                                  PortFlags& forbidden) const
{
    egress = Flags(entry.szEgressPorts);
    untagged = Flags(entry.szUntaggedPorts);
    forbidden = Flags(entry.szForbiddenPorts);
}

PortFlags CVlanAddLogic::UntaggedElsewhere(const VlanList& list, int nVid) const
{
    PortFlags used(size_t(m_nPortNum), 0);
    for (const VLAN_ENTRY& entry : list)
        if (entry.nVid != nVid)
            used = Either(used, Flags(entry.szUntaggedPorts));
    return used;
}

QByteArray CVlanAddLogic::PortMap(const PortFlags& flags) const
{
    PortFlags ports = flags;
    ports.resize(size_t(m_nPortNum), 0);
    return m_nPortNum > 0 ? CUtils::PortArrayToModelOctets(ports.data()) : QByteArray();
}

void CVlanAddLogic::AddSteps(CSetSequence& sequence, const Settings& s) const
{
    const PortFlags every(size_t(m_nPortNum), 1);
    sequence.Add(Tr("create VLAN %1").arg(s.nVid),
                 {SnmpSetValue::Integer(Cell(VlanOid::kRowStatus, s.nVid), VlanOid::kCreateAndWait)});
    // Every port egress first, so that the untagged ports lie within the
    // egress ports at every step.
    sequence.Add(Tr("egress ports (every port)"), {SnmpSetValue::Octets(Cell(VlanOid::kEgress, s.nVid), PortMap(every))});
    FinalSteps(sequence, s);
}

void CVlanAddLogic::EditSteps(CSetSequence& sequence, const VLAN_ENTRY& old, const Settings& s) const
{
    PortFlags oldEgress, oldUntagged, oldForbidden;
    SplitPortList(old, oldEgress, oldUntagged, oldForbidden);
    // Each step leaves untagged within egress and no egress port forbidden:
    // forbidden shrinks before egress grows, egress shrinks only after
    // untagged has, forbidden grows last.
    sequence.Add(Tr("forbidden ports (kept ones)"),
                 {SnmpSetValue::Octets(Cell(VlanOid::kForbidden, s.nVid), PortMap(Both(oldForbidden, s.forbidden)))});
    sequence.Add(Tr("egress ports (old and new)"),
                 {SnmpSetValue::Octets(Cell(VlanOid::kEgress, s.nVid),
                                       PortMap(Either(Either(oldEgress, s.egress), s.untagged)))});
    FinalSteps(sequence, s);
}

void CVlanAddLogic::FinalSteps(CSetSequence& sequence, const Settings& s) const
{
    // Egress holds every wanted and untagged port and no forbidden one: the
    // final maps can follow in this order.
    sequence.Add(Tr("untagged ports"), {SnmpSetValue::Octets(Cell(VlanOid::kUntagged, s.nVid), PortMap(s.untagged))});
    sequence.Add(Tr("egress ports"), {SnmpSetValue::Octets(Cell(VlanOid::kEgress, s.nVid), PortMap(s.egress))});
    sequence.Add(Tr("forbidden ports"),
                 {SnmpSetValue::Octets(Cell(VlanOid::kForbidden, s.nVid), PortMap(s.forbidden))});
    sequence.Add(Tr("name"), {SnmpSetValue::Text(Cell(VlanOid::kName, s.nVid), s.strName)});
    if (s.nAdvertisement != 0)
        sequence.Add(Tr("advertisement"),
                     {SnmpSetValue::Integer(Cell(VlanOid::kAdvertisement, s.nVid), s.nAdvertisement)});
    // The switch takes a moment to settle a new row before it activates it.
    sequence.Add(Tr("activate VLAN %1").arg(s.nVid),
                 {SnmpSetValue::Integer(Cell(VlanOid::kRowStatus, s.nVid), VlanOid::kActive)}, 50);
}

void CVlanAddLogic::DestroySteps(CSetSequence& sequence, int nVid)
{
    sequence.Add(Tr("remove VLAN %1").arg(nVid),
                 {SnmpSetValue::Integer(Cell(VlanOid::kRowStatus, nVid), VlanOid::kDestroy)});
}
