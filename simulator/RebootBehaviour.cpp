// Reboot: setting the reboot object to 1 is answered, then the switch is
// silent for --reboot-silence ms and comes back with the configuration last
// saved; sysUpTime counts from that boot.

#include "Behaviour.h"

#include <chrono>

namespace {

const Oid kSysUpTime = {1, 3, 6, 1, 2, 1, 1, 3, 0};
const Oid kReboot = PrivateOid({1, 10, 0});
constexpr long kIdle = 2;

class RebootBehaviour : public Behaviour
{
public:
    const char* name() const override { return "reboot"; }

    bool claimOption(const std::string& option, const std::function<const char*()>& value,
                     std::string& why) override
    {
        if (option != "--reboot-silence")
            return false;
        ParseMilliseconds(option, value(), m_silenceMs, why);
        return true;
    }
    std::string usage() const override { return "[--reboot-silence MS]"; }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set) {
            const Object* obj = sw.running().find(s.name);
            if (s.name == kReboot && obj && obj->value.number == 1)
                sw.afterRequest([this, &sw] { reboot(sw); });   // the SET is answered first
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        if (name == kSysUpTime) {
            auto elapsed = std::chrono::steady_clock::now() - m_bootTime;
            value.number = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 10;
        }
    }

    void onReset(Switch&) override { m_bootTime = std::chrono::steady_clock::now(); }

private:
    void reboot(Switch& sw)
    {
        // A reboot loses what was not saved.
        sw.running() = sw.saved();
        sw.running().put(kReboot, IntegerValue(kIdle), true);
        sw.silence(m_silenceMs);
        sw.after(m_silenceMs, [this] { m_bootTime = std::chrono::steady_clock::now(); });
    }

    int m_silenceMs = 3000;
    std::chrono::steady_clock::time_point m_bootTime = std::chrono::steady_clock::now();
};

BehaviourRegistrar<RebootBehaviour> registrar;

} // namespace
