// Storm control and bandwidth control: the switch counts in units of
// 64 kbit/s, so a storm threshold must be N x 64 with N from 1 to 16000 (0
// is left as it reads at start only) and a port's rate limit 0 (no limit)
// or 64 to 1024000; anything else is refused with wrongValue.

#include "Behaviour.h"

#include <algorithm>

namespace {

const Oid kThreshold = PrivateOid({13, 3, 3, 0});
const Oid kRateEntry = PrivateOid({13, 1, 2, 1});

bool IsRate(const Oid& name)
{
    if (name.size() != kRateEntry.size() + 2 || !std::equal(kRateEntry.begin(), kRateEntry.end(), name.begin()))
        return false;
    const oid column = name[kRateEntry.size()];
    return column == 2 || column == 3;
}

class TrafficControlBehaviour : public Behaviour
{
public:
    const char* name() const override { return "traffic-control"; }

    void checkSet(const Switch&, const MibStore&, const std::vector<SetRequest>& set, SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            const long long n = set[i].value.number;
            bool bad = false;
            if (set[i].name == kThreshold)
                bad = n < 64 || n > 1024000 || n % 64 != 0;
            else if (IsRate(set[i].name))
                bad = n != 0 && (n < 64 || n > 1024000);
            if (bad) {
                outcome = {SNMP_ERR_WRONGVALUE, static_cast<int>(i + 1)};
                return;
            }
        }
    }
};

BehaviourRegistrar<TrafficControlBehaviour> registrar;

} // namespace
