// Spanning tree beyond storing values:
// - every SET is refused (inconsistentValue, at its first timer varbind)
//   when it would leave the bridge timers outside the 802.1D relations
//   max age >= 2 * (hello time + 1 s) and 2 * (forward delay - 1 s) >= max
//   age, so the order of single-timer writes matters as on the switch;
// - the root values are read only and drift: every 4 s the root cost and
//   root port move between two paths (`stp drift off` holds them still,
//   `stp drift step` moves them once at once);
// - a port's spanning-tree switch is one setting seen through two objects:
//   the private column (1 on, 0 or 2 off) and dot1dStpPortEnable (1, 2);
// - the path cost in use follows the configured cost, or the link speed
//   when the configured cost is 0 (automatic; 0 on a port without link);
// - the port state reads disabled on a port without link or with its
//   spanning tree off, else forwarding.

#include "Behaviour.h"

namespace {

const Oid kState = PrivateOid({51, 1, 1, 0});
const Oid kMaxAge = PrivateOid({51, 1, 5, 0});
const Oid kHello = PrivateOid({51, 1, 6, 0});
const Oid kForwardDelay = PrivateOid({51, 1, 7, 0});
const Oid kRootCost = PrivateOid({51, 1, 10, 0});
const Oid kRootPort = PrivateOid({51, 1, 13, 0});
const Oid kPortEntry = PrivateOid({51, 2, 1});
constexpr oid kPortOn = 2, kConfiguredCost = 4, kCostInUse = 5, kPortState = 12;
const Oid kDot1dStpPortEnable = {1, 3, 6, 1, 2, 1, 17, 2, 15, 1, 4};
const Oid kPortOperMode = PrivateOid({1, 13, 1, 3});   // 1 down, 2 1000M, 3/4 100M, 5/6 10M

Oid Cell(const Oid& column, oid port)
{
    Oid name = column;
    name.push_back(port);
    return name;
}

Oid PortCell(oid column, oid port)
{
    Oid name = kPortEntry;
    name.push_back(column);
    name.push_back(port);
    return name;
}

long long Number(const MibStore& store, const Oid& name, long long fallback = 0)
{
    const Object* obj = store.find(name);
    return obj ? obj->value.number : fallback;
}

class StpBehaviour : public Behaviour
{
public:
    const char* name() const override { return "stp"; }

    void start(Switch& sw) override
    {
        sw.every(4000, [this, &sw] {
            if (m_drift)
                drift(sw.running());
        });
    }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        int first = 0;
        for (size_t i = 0; i < set.size() && !first; ++i)
            if (set[i].name == kMaxAge || set[i].name == kHello || set[i].name == kForwardDelay)
                first = static_cast<int>(i + 1);
        if (!first)
            return;
        const long long maxAge = Number(pending, kMaxAge);
        const long long hello = Number(pending, kHello);
        const long long forwardDelay = Number(pending, kForwardDelay);
        if (maxAge < 2 * (hello + 100) || 2 * (forwardDelay - 100) < maxAge)
            outcome = {SNMP_ERR_INCONSISTENTVALUE, first};
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        MibStore& store = sw.running();
        for (const SetRequest& s : set) {
            if (s.name.size() == kPortEntry.size() + 2 && OidUnder(s.name, kPortEntry)
                && s.name[kPortEntry.size()] == kPortOn) {
                const oid port = s.name.back();
                if (store.find(Cell(kDot1dStpPortEnable, port)))
                    store.put(Cell(kDot1dStpPortEnable, port), IntegerValue(s.value.number == 1 ? 1 : 2), true);
            } else if (s.name.size() == kDot1dStpPortEnable.size() + 1 && OidUnder(s.name, kDot1dStpPortEnable)) {
                const oid port = s.name.back();
                if (store.find(PortCell(kPortOn, port)))
                    store.put(PortCell(kPortOn, port), IntegerValue(s.value.number == 1 ? 1 : 0), true);
            }
        }
    }

    void onRead(const Switch& sw, const Oid& name, Value& value) override
    {
        if (name.size() != kPortEntry.size() + 2 || !OidUnder(name, kPortEntry))
            return;
        const oid column = name[kPortEntry.size()];
        const oid port = name.back();
        const MibStore& store = sw.running();
        const long long link = Number(store, Cell(kPortOperMode, port), 1);
        if (column == kCostInUse) {
            const long long configured = Number(store, PortCell(kConfiguredCost, port));
            value.number = configured != 0 ? configured : AutoCost(link);
        } else if (column == kPortState) {
            const bool on = Number(store, PortCell(kPortOn, port)) == 1 && Number(store, kState) == 1;
            value.number = link != 1 && on ? 5 : 1;
        }
    }

    std::optional<std::string> command(Switch& sw, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "stp")
            return std::nullopt;
        if (t.size() == 3 && t[1] == "drift" && (t[2] == "on" || t[2] == "off")) {
            m_drift = t[2] == "on";
            return "ok";
        }
        if (t.size() == 3 && t[1] == "drift" && t[2] == "step") {
            drift(sw.running());
            return "ok";
        }
        return "error: stp drift on|off|step";
    }

    void onReset(Switch&) override { m_drift = true; }

private:
    static long long AutoCost(long long link)
    {
        switch (link) {
        case 2: return 20000;
        case 3:
        case 4: return 200000;
        case 5:
        case 6: return 2000000;
        default: return 0;
        }
    }

    static void drift(MibStore& store)
    {
        const bool near = Number(store, kRootCost) == 20000;
        store.put(kRootCost, IntegerValue(near ? 40000 : 20000), false);
        store.put(kRootPort, IntegerValue(Number(store, kRootPort) + (near ? 1 : -1)), false);
    }

    bool m_drift = true;
};

BehaviourRegistrar<StpBehaviour> registrar;

} // namespace
