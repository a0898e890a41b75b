// LLDP: the switch refuses a TX delay above a quarter of the TX interval
// (inconsistentValue on the varbind that broke the rule).

#include "Behaviour.h"

namespace {

const Oid kTxInterval = PrivateOid({24, 3, 0});
const Oid kTxDelay = PrivateOid({24, 5, 0});

class LldpBehaviour : public Behaviour
{
public:
    const char* name() const override { return "lldp"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        const Object* interval = pending.find(kTxInterval);
        const Object* delay = pending.find(kTxDelay);
        if (!interval || !delay || delay->value.number * 4 <= interval->value.number)
            return;
        for (size_t i = 0; i < set.size(); ++i)
            if (set[i].name == kTxInterval || set[i].name == kTxDelay) {
                outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                return;
            }
    }
};

BehaviourRegistrar<LldpBehaviour> registrar;

} // namespace
