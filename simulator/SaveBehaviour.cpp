// Save: setting the save object to 1 makes the running objects the saved
// configuration (what a reboot comes back with); the object reads 1 (busy)
// for --save-busy ms, then 2.

#include "Behaviour.h"

namespace {

const Oid kSave = PrivateOid({1, 11, 0});
constexpr long kBusy = 1;
constexpr long kIdle = 2;

class SaveBehaviour : public Behaviour
{
public:
    const char* name() const override { return "save"; }

    bool claimOption(const std::string& option, const std::function<const char*()>& value,
                     std::string& why) override
    {
        if (option != "--save-busy")
            return false;
        ParseMilliseconds(option, value(), m_busyMs, why);
        return true;
    }
    std::string usage() const override { return "[--save-busy MS]"; }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set) {
            const Object* obj = sw.running().find(s.name);
            if (s.name != kSave || !obj || obj->value.number != kBusy)
                continue;
            sw.saved() = sw.running();
            sw.saved().put(kSave, IntegerValue(kIdle), true);
            sw.after(m_busyMs, [&sw] {
                sw.running().put(kSave, IntegerValue(kIdle), true);
                sw.saved().put(kSave, IntegerValue(kIdle), true);
            });
        }
    }

private:
    int m_busyMs = 1000;
};

BehaviourRegistrar<SaveBehaviour> registrar;

} // namespace
