// The switch's own IP configuration.
//
// IP interfaces (P.41.1.1.1, index interface.VID): at most four, interfaces
// 1-4, each on an active VLAN of its own; the interface and VLAN columns
// come from the index, the VLAN name from the VLAN table, the link state is
// up while the interface is enabled and a member port of its VLAN has a
// link. Interface 1, the switch's own, cannot be destroyed. Each interface
// has a gratuitous-ARP row (P.33.2.1.1, index the interface) named after it
// with a send interval (0-65535 s), made and removed with the interface.
//
// Static routes (P.36.1.1, index destination.mask.gateway): at most 32; the
// destination, mask and gateway columns come from the index; the protocol
// reads 0 for the default route (0.0.0.0/0.0.0.0), else 1 (static); the
// status reads 0 (active) while the gateway lies in the subnet of an
// enabled interface, else 1.
//
// ARP (P.34.2.1, index address.MAC): at most 128 rows; the address and MAC
// columns come from the index; a created row is static (type 2) and takes
// the name of the interface whose subnet holds its address. An address has
// one row only; broadcast and all-zero MACs are refused; only static rows
// can be destroyed.

#include "Behaviour.h"

#include <algorithm>
#include <set>

namespace {

const Oid kIfEntry = PrivateOid({41, 1, 1, 1});
const Oid kRouteEntry = PrivateOid({36, 1, 1});
const Oid kArpEntry = PrivateOid({34, 2, 1});
const Oid kGarpIfEntry = PrivateOid({33, 2, 1, 1});
const Oid kVlanEntry = PrivateOid({7, 6, 1});
const Oid kPortLink = PrivateOid({1, 13, 1, 3});
constexpr oid kIfStatus = 10, kRouteStatus = 9, kArpStatus = 5;
constexpr size_t kMaxRoutes = 32, kMaxArp = 128;

// The index of a cell of `entry`, or empty; *column gets its column.
Oid IndexOf(const Oid& name, const Oid& entry, oid* column)
{
    if (name.size() <= entry.size() + 1 || !OidUnder(name, entry))
        return {};
    *column = name[entry.size()];
    return Oid(name.begin() + static_cast<long>(entry.size()) + 1, name.end());
}

// Indexes of the rows of a table (its row-status column).
std::vector<Oid> Rows(const MibStore& store, const Oid& entry, oid statusColumn)
{
    Oid column = entry;
    column.push_back(statusColumn);
    std::vector<Oid> rows;
    for (auto* it = store.next(column); it && OidUnder(it->first, column); it = store.next(it->first))
        rows.emplace_back(it->first.begin() + static_cast<long>(column.size()), it->first.end());
    return rows;
}

long Number(const MibStore& store, const Oid& name, long fallback = 0)
{
    const Object* o = store.find(name);
    return o ? static_cast<long>(o->value.number) : fallback;
}

uint32_t Address(const Oid& index, size_t at)
{
    uint32_t v = 0;
    for (size_t i = at; i < at + 4; ++i)
        v = v << 8 | static_cast<uint32_t>(index[i] & 0xFF);
    return v;
}

uint32_t AddressValue(const MibStore& store, const Oid& name)
{
    const Object* o = store.find(name);
    if (!o || o->value.bytes.size() != 4)
        return 0;
    uint32_t v = 0;
    for (char c : o->value.bytes)
        v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

bool Octets(const Oid& index, size_t count)
{
    return index.size() == count && std::all_of(index.begin(), index.end(), [](oid o) { return o <= 255; });
}

bool ContiguousMask(uint32_t m)
{
    return (~m & (~m + 1)) == 0;   // ones then zeros
}

Value IpValue(const Oid& index, size_t at)
{
    Value v;
    v.type = ASN_IPADDRESS;
    for (size_t i = at; i < at + 4; ++i)
        v.bytes.push_back(static_cast<char>(index[i]));
    return v;
}

Value Text(const std::string& s)
{
    Value v;
    v.type = ASN_OCTET_STR;
    v.bytes = s;
    return v;
}

class Layer3Behaviour : public Behaviour
{
public:
    const char* name() const override { return "layer3"; }

    void start(Switch& sw) override { SyncGarpRows(sw); }
    void onReset(Switch& sw) override { SyncGarpRows(sw); }

    void checkSet(const Switch& sw, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            const int fault = Fault(sw.running(), pending, set[i]);
            if (fault != SNMP_ERR_NOERROR) {
                outcome = {fault, static_cast<int>(i + 1)};
                return;
            }
        }
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set)
            if (OidUnder(s.name, kIfEntry)) {
                SyncGarpRows(sw);
                return;
            }
    }

    void onRead(const Switch& sw, const Oid& name, Value& value) override
    {
        const MibStore& store = sw.running();
        oid column = 0;
        Oid index = IndexOf(name, kIfEntry, &column);
        if (index.size() == 2) {
            if (column == 1 || column == 2)
                value = IntegerValue(static_cast<long>(index[column - 1]));
            else if (column == 4)
                value = Text(VlanName(store, index[1]));
            else if (column == 9)
                value = IntegerValue(IfLinkUp(store, index) ? 1 : 2);
            return;
        }
        index = IndexOf(name, kRouteEntry, &column);
        if (Octets(index, 12)) {
            if (column >= 2 && column <= 4)
                value = IpValue(index, 4 * (column - 2));
            else if (column == 6)
                value = IntegerValue(Address(index, 0) == 0 && Address(index, 4) == 0 ? 0 : 1);
            else if (column == 8)
                value = IntegerValue(InterfaceOf(store, Address(index, 8)).empty() ? 1 : 0);
            return;
        }
        index = IndexOf(name, kArpEntry, &column);
        if (Octets(index, 10)) {
            if (column == 2) {
                value = IpValue(index, 0);
            } else if (column == 3) {
                value = Text({});
                for (size_t i = 4; i < 10; ++i)
                    value.bytes.push_back(static_cast<char>(index[i]));
            } else if (column == 1 && value.bytes.empty()) {
                const Oid ifIndex = InterfaceOf(store, Address(index, 0));
                if (!ifIndex.empty())
                    value = Text(InterfaceName(store, ifIndex));
            }
        }
    }

private:
    static std::string VlanName(const MibStore& store, oid vid)
    {
        const Object* o = store.find(TableCell(kVlanEntry, 1, {vid}));
        return o ? o->value.bytes : std::string();
    }

    static std::string InterfaceName(const MibStore& store, const Oid& ifIndex)
    {
        const Object* o = store.find(TableCell(kIfEntry, 3, ifIndex));
        return o ? o->value.bytes : std::string();
    }

    static bool IfLinkUp(const MibStore& store, const Oid& ifIndex)
    {
        if (Number(store, TableCell(kIfEntry, 8, ifIndex)) != 1)
            return false;
        const Object* egress = store.find(TableCell(kVlanEntry, 2, {ifIndex[1]}));
        if (!egress)
            return false;
        for (size_t octet = 0; octet < egress->value.bytes.size(); ++octet)
            for (int bit = 0; bit < 8; ++bit)
                if (static_cast<unsigned char>(egress->value.bytes[octet]) & (0x80 >> bit)) {
                    const oid port = static_cast<oid>(octet * 8 + bit + 1);
                    Oid cell = kPortLink;
                    cell.push_back(port);
                    if (Number(store, cell, 1) != 1)
                        return true;
                }
        return false;
    }

    // The active, enabled interface whose subnet holds `address`; empty for none.
    static Oid InterfaceOf(const MibStore& store, uint32_t address)
    {
        for (const Oid& row : Rows(store, kIfEntry, kIfStatus)) {
            if (row.size() != 2 || Number(store, TableCell(kIfEntry, kIfStatus, row)) != 1
                || Number(store, TableCell(kIfEntry, 8, row)) != 1)
                continue;
            const uint32_t own = AddressValue(store, TableCell(kIfEntry, 6, row));
            const uint32_t mask = AddressValue(store, TableCell(kIfEntry, 7, row));
            if (own != 0 && (own & mask) == (address & mask))
                return row;
        }
        return {};
    }

    static int Fault(const MibStore& running, const MibStore& pending, const SetRequest& s)
    {
        oid column = 0;
        const long n = static_cast<long>(s.value.number);
        const bool create = n == 4 || n == 5;
        Oid index = IndexOf(s.name, kIfEntry, &column);
        if (!index.empty() && column == kIfStatus) {
            if (n == 6 && !index.empty() && index[0] == 1)
                return SNMP_ERR_INCONSISTENTVALUE;   // the switch's own interface
            if (!create)
                return SNMP_ERR_NOERROR;
            if (index.size() != 2 || index[0] < 1 || index[0] > 4 || index[1] < 1 || index[1] > 4094)
                return SNMP_ERR_NOCREATION;
            if (Number(running, TableCell(kVlanEntry, 6, {index[1]})) != 1)
                return SNMP_ERR_INCONSISTENTVALUE;   // no such active VLAN
            for (const Oid& row : Rows(pending, kIfEntry, kIfStatus))
                if (row != index && row.size() == 2 && (row[0] == index[0] || row[1] == index[1]))
                    return SNMP_ERR_INCONSISTENTVALUE;
            return SNMP_ERR_NOERROR;
        }
        index = IndexOf(s.name, kGarpIfEntry, &column);
        if (!index.empty() && column == 2 && (n < 0 || n > 65535))
            return SNMP_ERR_WRONGVALUE;
        index = IndexOf(s.name, kRouteEntry, &column);
        if (!index.empty() && column == kRouteStatus && create) {
            if (!Octets(index, 12) || !ContiguousMask(Address(index, 4)))
                return SNMP_ERR_NOCREATION;
            if (Rows(pending, kRouteEntry, kRouteStatus).size() > kMaxRoutes)
                return SNMP_ERR_RESOURCEUNAVAILABLE;
            return SNMP_ERR_NOERROR;
        }
        index = IndexOf(s.name, kArpEntry, &column);
        if (!index.empty() && column == kArpStatus) {
            if (n == 6)
                return Number(running, TableCell(kArpEntry, 4, index), 2) == 2 ? SNMP_ERR_NOERROR
                                                                               : SNMP_ERR_INCONSISTENTVALUE;
            if (!create)
                return SNMP_ERR_NOERROR;
            if (!Octets(index, 10))
                return SNMP_ERR_NOCREATION;
            const Oid mac(index.begin() + 4, index.end());
            const bool zero = std::all_of(mac.begin(), mac.end(), [](oid o) { return o == 0; });
            const bool broadcast = std::all_of(mac.begin(), mac.end(), [](oid o) { return o == 255; });
            if (zero || broadcast)
                return SNMP_ERR_WRONGVALUE;
            const std::vector<Oid> rows = Rows(pending, kArpEntry, kArpStatus);
            for (const Oid& row : rows)
                if (row != index && row.size() == 10 && std::equal(row.begin(), row.begin() + 4, index.begin()))
                    return SNMP_ERR_INCONSISTENTVALUE;   // one row per address
            if (rows.size() > kMaxArp)
                return SNMP_ERR_RESOURCEUNAVAILABLE;
        }
        return SNMP_ERR_NOERROR;
    }

    // One gratuitous-ARP row per interface, named after it.
    static void SyncGarpRows(Switch& sw)
    {
        {
            MibStore* store = &sw.running();
            std::set<oid> interfaces;
            for (const Oid& row : Rows(*store, kIfEntry, kIfStatus))
                if (row.size() == 2) {
                    interfaces.insert(row[0]);
                    store->put(TableCell(kGarpIfEntry, 1, {row[0]}), Text(InterfaceName(*store, row)), false);
                    if (!store->find(TableCell(kGarpIfEntry, 2, {row[0]})))
                        store->put(TableCell(kGarpIfEntry, 2, {row[0]}), IntegerValue(0), true);
                }
            Oid nameColumn = kGarpIfEntry;
            nameColumn.push_back(1);
            std::vector<oid> gone;
            for (auto* it = store->next(nameColumn); it && OidUnder(it->first, nameColumn); it = store->next(it->first))
                if (it->first.size() == nameColumn.size() + 1 && !interfaces.count(it->first.back()))
                    gone.push_back(it->first.back());
            for (oid g : gone) {
                store->erase(TableCell(kGarpIfEntry, 1, {g}));
                store->erase(TableCell(kGarpIfEntry, 2, {g}));
            }
        }
    }
};

BehaviourRegistrar<Layer3Behaviour> registrar;

} // namespace
