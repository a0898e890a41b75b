#include "CPvidLogic.h"

#include "CSetSequence.h"
#include "GlobalSettings.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("CPvidLogic", text);
}

// Models with this many ports pause between port 40 and the ports after it.
constexpr int kPauseAfterPort = 40;
constexpr int kPauseMs = 50;

} // namespace

CPvidLogic::CPvidLogic()
    : m_nPortNum(qMax(0, g_nDevicePortNum))
{
}

QString CPvidLogic::CheckTrunkPvid(const std::vector<int>& pvids, const std::vector<bool>& skip) const
{
    const int count = qMin(m_nPortNum, int(qMin(pvids.size(), m_TrunkPorts.size())));
    auto skipped = [&](int i) { return size_t(i) < skip.size() && skip[size_t(i)]; };
    for (int p = 0; p < count; ++p) {
        const int link = m_TrunkPorts[size_t(p)];
        if (link == 0 || pvids[size_t(p)] == 1 || skipped(p))
            continue;
        for (int q = 0; q < count; ++q)
            if (m_TrunkPorts[size_t(q)] == link && !skipped(q) && pvids[size_t(q)] != pvids[size_t(p)])
                return Tr("You should let all Trunk member in the same PVID !");
        return Tr("Setting PVID on a Trunk is not supported. Please use Web interface for the settings.");
    }
    return {};
}

QString CPvidLogic::CheckPvid(const VlanList& list, const std::vector<int>& pvids, const std::vector<bool>& skip)
{
    for (size_t i = 0; i < pvids.size(); ++i) {
        if (i < skip.size() && skip[i])
            continue;
        const VLAN_ENTRY* entry = FindVlan(list, pvids[i]);
        if (!entry)
            return Tr("Invalid PVID");
        if (entry->nEgressCount == 0)
            return Tr("Invalid PVID,VlAN is empty");
    }
    return {};
}

void CPvidLogic::SetPvidSteps(CSetSequence& sequence, const std::vector<int>& read, const std::vector<int>& pvids) const
{
    const int count = qMin(m_nPortNum, int(qMin(read.size(), pvids.size())));
    bool paused = false;
    for (int port = 1; port <= count; ++port) {
        const int pvid = pvids[size_t(port - 1)];
        if (pvid == read[size_t(port - 1)])
            continue;
        int delay = 0;
        if (m_nPortNum >= kPauseAfterPort && port > kPauseAfterPort && !paused && sequence.StepCount() > 0) {
            delay = kPauseMs;
            paused = true;
        }
        sequence.Add(Tr("PVID of port %1").arg(port),
                     {SnmpSetValue::Unsigned(VlanOid::kPvid + u'.' + QString::number(port), quint32(pvid))}, delay);
    }
}
