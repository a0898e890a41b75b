// GVRP beyond storing values:
// - the timers keep leave > 2 x join and leave-all > leave: a SET that would
//   leave them otherwise is refused with inconsistentValue at its first
//   timer varbind (the three timers of one SET are judged together);
// - a port's PVID must name a VLAN of the VLAN table: another VID is
//   refused with inconsistentValue at that varbind.

#include "Behaviour.h"

namespace {

const Oid kJoin = PrivateOid({30, 2, 0});
const Oid kLeave = PrivateOid({30, 3, 0});
const Oid kLeaveAll = PrivateOid({30, 4, 0});
const Oid kPvidColumn = PrivateOid({30, 5, 1, 2});
const Oid kVlanRowStatus = PrivateOid({7, 6, 1, 6});

long long Number(const MibStore& store, const Oid& name)
{
    const Object* obj = store.find(name);
    return obj ? obj->value.number : 0;
}

class GvrpBehaviour : public Behaviour
{
public:
    const char* name() const override { return "gvrp"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        const long long join = Number(pending, kJoin);
        const long long leave = Number(pending, kLeave);
        const long long leaveAll = Number(pending, kLeaveAll);
        const bool timersOk = leave > 2 * join && leaveAll > leave;
        for (size_t i = 0; i < set.size(); ++i) {
            const Oid& n = set[i].name;
            if (!timersOk && (n == kJoin || n == kLeave || n == kLeaveAll)) {
                outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                return;
            }
            if (n.size() == kPvidColumn.size() + 1 && OidUnder(n, kPvidColumn)) {
                Oid row = kVlanRowStatus;
                row.push_back(static_cast<oid>(set[i].value.number));
                if (set[i].value.number < 1 || !pending.find(row)) {
                    outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                    return;
                }
            }
        }
    }
};

BehaviourRegistrar<GvrpBehaviour> registrar;

} // namespace
