// The port table's operating columns follow the settings on their own, as on
// a real switch: a moment after a port's speed or flow control is set, its
// operating mode (column 3) and operating flow control (column 6) change to
// what the link now runs at. A port without a link partner (operating mode
// "down" in the data file) stays down whatever is set.

#include "Behaviour.h"

#include <set>

namespace {

const Oid kSpeed = PrivateOid({1, 13, 1, 2});      // 1-5 forced, 6 auto, 7 disabled
const Oid kOperMode = PrivateOid({1, 13, 1, 3});   // 1 down, 2 1000M full ... 6 10M half
const Oid kFlow = PrivateOid({1, 13, 1, 5});       // 1 on, 2 off
const Oid kOperFlow = PrivateOid({1, 13, 1, 6});
const Oid kMedium = PrivateOid({1, 13, 1, 7});     // 3 SFP 100Base-x
constexpr int kSettleMs = 300;

Oid Cell(const Oid& column, oid port)
{
    Oid name = column;
    name.push_back(port);
    return name;
}

long Number(const MibStore& store, const Oid& name, long fallback)
{
    const Object* obj = store.find(name);
    return obj ? static_cast<long>(obj->value.number) : fallback;
}

class PortOperBehaviour : public Behaviour
{
public:
    const char* name() const override { return "port-oper"; }

    void start(Switch& sw) override { LearnLinks(sw); }
    void onReset(Switch& sw) override { LearnLinks(sw); }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        std::set<oid> ports;
        for (const SetRequest& s : set) {
            const bool speed = IsCellOf(s.name, kSpeed);
            if (speed || IsCellOf(s.name, kFlow))
                ports.insert(s.name.back());
        }
        for (oid port : ports)
            sw.after(kSettleMs, [this, &sw, port] { Settle(sw, port); });
    }

private:
    static bool IsCellOf(const Oid& name, const Oid& column)
    {
        return name.size() == column.size() + 1 && std::equal(column.begin(), column.end(), name.begin());
    }

    void LearnLinks(Switch& sw)
    {
        m_partner.clear();
        for (oid port = 1; sw.running().find(Cell(kOperMode, port)); ++port)
            if (Number(sw.running(), Cell(kOperMode, port), 1) != 1)
                m_partner.insert(port);
    }

    void Settle(Switch& sw, oid port)
    {
        MibStore& store = sw.running();
        if (!store.find(Cell(kOperMode, port)))
            return;
        const long speed = Number(store, Cell(kSpeed, port), 6);
        const bool up = m_partner.count(port) && speed != 7;
        long mode = 1;
        if (up && speed >= 1 && speed <= 5)
            mode = speed + 1;   // 1000M full .. 10M half
        else if (up)
            mode = Number(store, Cell(kMedium, port), 2) == 3 ? 3 : 2;   // auto: the fastest the medium runs
        store.put(Cell(kOperMode, port), IntegerValue(mode), false);
        if (store.find(Cell(kOperFlow, port)))
            store.put(Cell(kOperFlow, port), IntegerValue(up ? Number(store, Cell(kFlow, port), 2) : 2), false);
    }

    std::set<oid> m_partner;   // ports with a link partner
};

BehaviourRegistrar<PortOperBehaviour> registrar;

} // namespace
