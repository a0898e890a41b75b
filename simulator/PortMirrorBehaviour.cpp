// Port mirroring's strict mode (--strict-mirror, or the control command
// `mirror-strict on|off`; `reset` turns it off): a SET that would leave the
// target port among the receive or transmit source ports is refused with
// inconsistentValue, as switches that check this do. Without it the switch
// stores what it is given.

#include "Behaviour.h"

namespace {

const Oid kTarget = PrivateOid({18, 2, 0});
const Oid kRxPorts = PrivateOid({18, 3, 0});
const Oid kTxPorts = PrivateOid({18, 4, 0});

bool HasPort(const std::string& bitmap, long long port)   // bit 7 of byte 0 is port 1
{
    const size_t byte = static_cast<size_t>(port - 1) / 8;
    return port >= 1 && byte < bitmap.size() && (static_cast<unsigned char>(bitmap[byte]) & (0x80 >> ((port - 1) % 8)));
}

class PortMirrorBehaviour : public Behaviour
{
public:
    const char* name() const override { return "port-mirror"; }

    bool claimOption(const std::string& option, const std::function<const char*()>&, std::string&) override
    {
        if (option != "--strict-mirror")
            return false;
        m_strictAtStart = m_strict = true;
        return true;
    }
    std::string usage() const override { return "[--strict-mirror]"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        if (!m_strict)
            return;
        const Object* target = pending.find(kTarget);
        if (!target)
            return;
        bool clash = false;
        for (const Oid& map : {kRxPorts, kTxPorts}) {
            const Object* ports = pending.find(map);
            clash = clash || (ports && HasPort(ports->value.bytes, target->value.number));
        }
        if (!clash)
            return;
        for (size_t i = 0; i < set.size(); ++i)
            if (set[i].name == kTarget || set[i].name == kRxPorts || set[i].name == kTxPorts) {
                outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                return;
            }
    }

    std::optional<std::string> command(Switch&, const std::vector<std::string>& words) override
    {
        if (words.empty() || words[0] != "mirror-strict")
            return std::nullopt;
        if (words.size() != 2 || (words[1] != "on" && words[1] != "off"))
            return std::string("error: mirror-strict on|off");
        m_strict = words[1] == "on";
        return std::string("ok");
    }

    void onReset(Switch&) override { m_strict = m_strictAtStart; }

private:
    bool m_strictAtStart = false;
    bool m_strict = false;
};

BehaviourRegistrar<PortMirrorBehaviour> registrar;

} // namespace
