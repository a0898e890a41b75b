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
        const std::vector<oid> vlans = RowsOf(store, kVlanEntry, kVlanRowStatus);
        for (oid vid : RowsOf(store, kFilterEntry, kVid))
            if (std::find(vlans.begin(), vlans.end(), vid) == vlans.end()) {
                store.erase(TableCell(kFilterEntry, kVid, {vid}));
                store.erase(TableCell(kFilterEntry, kMode, {vid}));
            }
        for (oid vid : vlans) {
            if (store.find(TableCell(kFilterEntry, kVid, {vid})))
                continue;
            store.put(TableCell(kFilterEntry, kVid, {vid}), IntegerValue(static_cast<long>(vid)), false);
            store.put(TableCell(kFilterEntry, kMode, {vid}), IntegerValue(kForward), true);
        }
    }
};

BehaviourRegistrar<VlanMulticastFilterBehaviour> registrar;

} // namespace
