// DHCP server screening: the trusted-server table (index entry 1-5, the
// table's own range) repeats its index in the entry-number column, and a
// row is activated only when its address has the length of its address
// type (4 octets for IPv4, 16 for IPv6), else inconsistentValue. The port
// bitmap of the ports that are not trusted is a plain object.

#include "Behaviour.h"

namespace {

const Oid kServerEntry = PrivateOid({14, 7, 3, 1});
constexpr oid kEntryColumn = 1;
constexpr oid kAddressColumn = 2;
constexpr oid kTypeColumn = 3;
constexpr oid kStatusColumn = 4;
constexpr long kActive = 1;

// The entry number of a server-table cell (one sub-identifier), else empty.
Oid ServerIndex(const Oid& name, oid* column)
{
    const Oid index = CellIndex(name, kServerEntry, column);
    return index.size() == 1 ? index : Oid();
}

class DhcpScreeningBehaviour : public Behaviour
{
public:
    const char* name() const override { return "dhcp-screening"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            oid column = 0;
            const Oid index = ServerIndex(set[i].name, &column);
            if (index.empty() || column != kStatusColumn || set[i].value.number != kActive)
                continue;
            const Object* address = pending.find(TableCell(kServerEntry, kAddressColumn, index));
            const Object* type = pending.find(TableCell(kServerEntry, kTypeColumn, index));
            if (!address || !type)
                continue;   // the store refuses an incomplete row itself
            const size_t expected = type->value.number == 2 ? 16 : 4;
            if (address->value.bytes.size() != expected) {
                outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                return;
            }
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        oid column = 0;
        const Oid index = ServerIndex(name, &column);
        if (!index.empty() && column == kEntryColumn)
            value = IntegerValue(static_cast<long>(index[0]));
    }
};

BehaviourRegistrar<DhcpScreeningBehaviour> registrar;

} // namespace
