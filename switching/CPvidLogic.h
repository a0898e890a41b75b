#pragma once

// The checks and writes of the PVID dialog: PVIDs against the aggregated
// links and the listed VLANs, and the writes of the ports that changed.

#include "CModuleBase.h"
#include "VLAN_ENTRY.h"

#include <vector>

class CSetSequence;

class CPvidLogic : public CModuleBase
{
public:
    CPvidLogic();

    int PortCount() const { return m_nPortNum; }

    // pvids: one per port (port - 1); 0 for a port whose PVID is unknown or
    // not a number. Each check gives the message to show, empty when it
    // passes.
    // Ports marked in `skip` (PVID unknown) are not looked at.
    // Aggregated-link members keep PVID 1 here (the map must be loaded).
    QString CheckTrunkPvid(const std::vector<int>& pvids, const std::vector<bool>& skip) const;
    // Every PVID must name a listed VLAN that has members.
    static QString CheckPvid(const VlanList& list, const std::vector<int>& pvids, const std::vector<bool>& skip);

    // One step per port whose PVID differs from what was read.
    void SetPvidSteps(CSetSequence& sequence, const std::vector<int>& read, const std::vector<int>& pvids) const;

private:
    int m_nPortNum = 0;
};
