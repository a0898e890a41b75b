// --live (the demo): every 2 s one copper port's link goes up or down.

#include "Behaviour.h"

#include <random>

namespace {

const Oid kPortOperMode = PrivateOid({1, 13, 1, 3});       // .port: 1 down, 2 1000M full, 3 100M full
const Oid kIfOperStatus = {1, 3, 6, 1, 2, 1, 2, 2, 1, 8};   // .port: 1 up, 2 down

class LiveLinksBehaviour : public Behaviour
{
public:
    const char* name() const override { return "live-links"; }

    bool claimOption(const std::string& option, const std::function<const char*()>&, std::string&) override
    {
        if (option != "--live")
            return false;
        m_live = true;
        return true;
    }
    std::string usage() const override { return "[--live]"; }

    void start(Switch& sw) override
    {
        if (m_live)
            sw.every(2000, [this, &sw] { tick(sw); });
    }

private:
    void tick(Switch& sw)
    {
        // A copper port of this model (the smaller models lack the higher
        // ones; a port that does not exist must not be made up).
        std::uniform_int_distribution<int> port(1, 48);
        int p = 0;
        Oid mode;
        const Object* current = nullptr;
        for (int tries = 0; tries < 32 && !current; ++tries) {
            p = port(m_random);
            mode = kPortOperMode;
            mode.push_back(static_cast<oid>(p));
            current = sw.running().find(mode);
        }
        if (!current)
            return;
        Oid oper = kIfOperStatus;
        oper.push_back(static_cast<oid>(p));
        bool up = current->value.number != 1;
        sw.running().put(mode, IntegerValue(up ? 1 : (p % 3 ? 2 : 3)), false);
        if (sw.running().find(oper))
            sw.running().put(oper, IntegerValue(up ? 2 : 1), false);
    }

    bool m_live = false;
    std::mt19937 m_random{4400};
};

BehaviourRegistrar<LiveLinksBehaviour> registrar;

} // namespace
