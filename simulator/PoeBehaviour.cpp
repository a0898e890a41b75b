// PoE (PoE models only; the objects exist only there): the switch checks a
// port's user-defined limit (decimal watts, 1.0 to 30.0 in steps of 0.2) and
// the power threshold (15.4 to 370 W, to 740 W with the redundant power
// supply on) as decimal text, and refuses others with wrongValue. A disabled
// port draws nothing: its measurements read zero and its status "Disabled".

#include "Behaviour.h"

#include <cctype>
#include <optional>

namespace {

const Oid kPortEntry = PrivateOid({42, 1, 1});
const Oid kThreshold = PrivateOid({42, 2, 0});
const Oid kRps = PrivateOid({42, 9, 0});
constexpr oid kStateColumn = 3;
constexpr oid kLimitColumn = 8;

// Decimal text ("15.4", "370") in tenths of a watt; nullopt for anything
// else, or for more than one fractional digit that is not zero.
std::optional<long long> Tenths(const std::string& text)
{
    size_t i = 0;
    long long whole = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i < 6)
        whole = whole * 10 + (text[i++] - '0');
    if (i == 0)
        return std::nullopt;
    long long tenth = 0;
    if (i < text.size()) {
        if (text[i] != '.' || i + 1 == text.size())
            return std::nullopt;
        for (size_t f = i + 1; f < text.size(); ++f) {
            if (!std::isdigit(static_cast<unsigned char>(text[f])) || (f > i + 1 && text[f] != '0'))
                return std::nullopt;
        }
        tenth = text[i + 1] - '0';
    }
    return whole * 10 + tenth;
}

class PoeBehaviour : public Behaviour
{
public:
    const char* name() const override { return "poe"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            const SetRequest& s = set[i];
            const int at = static_cast<int>(i + 1);
            if (s.name == kThreshold) {
                const Object* rps = pending.find(kRps);
                const long long high = rps && rps->value.number != 0 ? 7400 : 3700;
                const auto t = Tenths(s.value.bytes);
                if (!t || *t < 154 || *t > high) {
                    outcome = {SNMP_ERR_WRONGVALUE, at};
                    return;
                }
            }
            if (s.name.size() == kPortEntry.size() + 3 && OidUnder(s.name, kPortEntry)
                && s.name[kPortEntry.size()] == kLimitColumn) {
                const auto t = Tenths(s.value.bytes);
                if (!t || *t < 10 || *t > 300 || *t % 2 != 0) {
                    outcome = {SNMP_ERR_WRONGVALUE, at};
                    return;
                }
            }
        }
    }

    void onRead(const Switch& sw, const Oid& name, Value& value) override
    {
        if (name.size() != kPortEntry.size() + 3 || !OidUnder(name, kPortEntry))
            return;
        const oid column = name[kPortEntry.size()];
        if (column < 9 || column > 13)
            return;
        Oid state = name;
        state[kPortEntry.size()] = kStateColumn;
        const Object* s = sw.running().find(state);
        if (!s || s->value.number != 2)
            return;
        static const char* const kOff[] = {"0.0", "0.0", "0", "N/A", "Disabled"};
        value.bytes = kOff[column - 9];
    }
};

BehaviourRegistrar<PoeBehaviour> registrar;

} // namespace
