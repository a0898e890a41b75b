// ARP spoofing prevention: a row's index is its gateway's IPv4 address
// (four sub-identifiers 0-255, else noCreation), which the address column
// repeats; the switch keeps at most 64 entries, so creating one more is
// refused with resourceUnavailable.

#include "Behaviour.h"

namespace {

const Oid kArpEntry = PrivateOid({14, 3, 1, 1});
constexpr oid kAddressColumn = 1;
constexpr oid kStatusColumn = 4;
constexpr size_t kMaxRows = 64;

bool IsAddressIndex(const Oid& index)
{
    if (index.size() != 4)
        return false;
    for (oid part : index)
        if (part > 255)
            return false;
    return true;
}

class ArpSpoofBehaviour : public Behaviour
{
public:
    const char* name() const override { return "arp-spoof"; }

    void checkSet(const Switch& sw, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            oid column = 0;
            const Oid index = CellIndex(set[i].name, kArpEntry, &column);
            if (index.empty() || column != kStatusColumn)
                continue;
            const long long status = set[i].value.number;
            if (status != 4 && status != 5)
                continue;
            const int at = static_cast<int>(i + 1);
            if (!IsAddressIndex(index)) {
                outcome = {SNMP_ERR_NOCREATION, at};
                return;
            }
            if (RowsOf(pending) > kMaxRows && !sw.running().find(set[i].name)) {
                outcome = {SNMP_ERR_RESOURCEUNAVAILABLE, at};
                return;
            }
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        oid column = 0;
        const Oid index = CellIndex(name, kArpEntry, &column);
        if (column != kAddressColumn || !IsAddressIndex(index))
            return;
        value.type = ASN_IPADDRESS;
        value.bytes.clear();
        for (oid part : index)
            value.bytes.push_back(static_cast<char>(part));
    }

private:
    static size_t RowsOf(const MibStore& store)
    {
        Oid statusColumn = kArpEntry;
        statusColumn.push_back(kStatusColumn);
        size_t rows = 0;
        for (auto* it = store.next(statusColumn); it && OidUnder(it->first, statusColumn); it = store.next(it->first))
            ++rows;
        return rows;
    }
};

BehaviourRegistrar<ArpSpoofBehaviour> registrar;

} // namespace
