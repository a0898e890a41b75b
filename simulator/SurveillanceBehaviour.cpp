// Auto surveillance VLAN: the OUI table is indexed by the entry's MAC
// address (six sub-identifiers of 0-255), which its MAC column repeats; a
// row with another index shape cannot be created (noCreation). The default
// row 0A-3C-5E-00-00-00 cannot be destroyed (inconsistentValue), and beside
// it at most five rows exist: creating a sixth is refused with
// resourceUnavailable.

#include "Behaviour.h"

namespace {

const Oid kOuiEntry = PrivateOid({26, 2, 1, 1});
const Oid kDefaultIndex = {10, 60, 94, 0, 0, 0};
constexpr oid kMacColumn = 1;
constexpr oid kStatusColumn = 5;
constexpr size_t kMaxUserRows = 5;
constexpr long kCreateAndGo = 4;
constexpr long kCreateAndWait = 5;
constexpr long kDestroy = 6;

// The index of an OUI table cell, or empty when `name` is not one.
Oid OuiIndex(const Oid& name, oid* column)
{
    if (name.size() <= kOuiEntry.size() + 1 || !OidUnder(name, kOuiEntry))
        return {};
    *column = name[kOuiEntry.size()];
    return Oid(name.begin() + static_cast<long>(kOuiEntry.size()) + 1, name.end());
}

bool IsMacIndex(const Oid& index)
{
    if (index.size() != 6)
        return false;
    for (oid part : index)
        if (part > 255)
            return false;
    return true;
}

class SurveillanceBehaviour : public Behaviour
{
public:
    const char* name() const override { return "surveillance"; }

    void checkSet(const Switch& sw, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            oid column = 0;
            const Oid index = OuiIndex(set[i].name, &column);
            if (index.empty() || column != kStatusColumn)
                continue;
            const long long status = set[i].value.number;
            const int at = static_cast<int>(i + 1);
            if (status == kDestroy && index == kDefaultIndex) {
                outcome = {SNMP_ERR_INCONSISTENTVALUE, at};
                return;
            }
            if (status != kCreateAndGo && status != kCreateAndWait)
                continue;
            if (!IsMacIndex(index)) {
                outcome = {SNMP_ERR_NOCREATION, at};
                return;
            }
            if (UserRows(pending) > kMaxUserRows && !sw.running().find(set[i].name)) {
                outcome = {SNMP_ERR_RESOURCEUNAVAILABLE, at};
                return;
            }
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        oid column = 0;
        const Oid index = OuiIndex(name, &column);
        if (column != kMacColumn || !IsMacIndex(index))
            return;
        value.type = ASN_OCTET_STR;
        value.bytes.clear();
        for (oid part : index)
            value.bytes.push_back(static_cast<char>(part));
    }

private:
    static size_t UserRows(const MibStore& store)
    {
        Oid statusColumn = kOuiEntry;
        statusColumn.push_back(kStatusColumn);
        size_t rows = 0;
        for (auto* it = store.next(statusColumn); it && OidUnder(it->first, statusColumn); it = store.next(it->first))
            if (Oid(it->first.begin() + static_cast<long>(statusColumn.size()), it->first.end()) != kDefaultIndex)
                ++rows;
        return rows;
    }
};

BehaviourRegistrar<SurveillanceBehaviour> registrar;

} // namespace
