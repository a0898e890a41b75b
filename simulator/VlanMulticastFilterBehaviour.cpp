// Multicast filtering per VLAN: the table (7.8.1) keeps one row per VLAN of
// the VLAN table. A new VLAN gets a row that forwards unregistered groups
// (mode 0); a VLAN that goes loses its row. Named after the VLAN behaviour
// so that it runs after it and also sees the VLANs a mode change removed.

#include "Behaviour.h"

#include <algorithm>

namespace {

const Oid kFilterEntry = PrivateOid({7, 8, 1});
const Oid kVlanEntry = PrivateOid({7, 6, 1});
constexpr oid kVid = 1, kMode = 2;
constexpr oid kVlanRowStatus = 6;
constexpr long kForward = 0;

Oid Cell(const Oid& entry, oid column, oid vid)
{
    Oid name = entry;
    name.push_back(column);
    name.push_back(vid);
    return name;
}

// The VLAN ids present in one column of a table indexed by VLAN id.
std::vector<oid> VlansOf(const MibStore& store, const Oid& entry, oid column)
{
    Oid col = entry;
    col.push_back(column);
    std::vector<oid> vids;
    for (auto* it = store.next(col); it && OidUnder(it->first, col); it = store.next(it->first))
        if (it->first.size() == col.size() + 1)
            vids.push_back(it->first.back());
    return vids;
}

class VlanMulticastFilterBehaviour : public Behaviour
{
public:
    const char* name() const override { return "vlan-multicast-filter"; }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        const bool vlansTouched = std::any_of(set.begin(), set.end(), [](const SetRequest& s) {
            return OidUnder(s.name, kVlanEntry) || OidUnder(s.name, PrivateOid({7, 5, 0}));
        });
        if (vlansTouched)
            followVlans(sw.running());
    }

private:
    static void followVlans(MibStore& store)
    {
        const std::vector<oid> vlans = VlansOf(store, kVlanEntry, kVlanRowStatus);
        for (oid vid : VlansOf(store, kFilterEntry, kVid))
            if (std::find(vlans.begin(), vlans.end(), vid) == vlans.end()) {
                store.erase(Cell(kFilterEntry, kVid, vid));
                store.erase(Cell(kFilterEntry, kMode, vid));
            }
        for (oid vid : vlans) {
            if (store.find(Cell(kFilterEntry, kVid, vid)))
                continue;
            store.put(Cell(kFilterEntry, kVid, vid), IntegerValue(static_cast<long>(vid)), false);
            store.put(Cell(kFilterEntry, kMode, vid), IntegerValue(kForward), true);
        }
    }
};

BehaviourRegistrar<VlanMulticastFilterBehaviour> registrar;

} // namespace
