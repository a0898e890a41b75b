// 802.1Q VLANs beyond storing values:
// - destroying a VLAN row also drops the rows that hang on that VLAN (IGMP
//   snooping VLAN settings, multicast entries, learned addresses);
// - a change of the VLAN mode resets the VLANs (VLAN 1 only, every port an
//   untagged member) and every PVID to 1;
// - strict mode (control channel `vlan strict on`) refuses a SET that would
//   leave a VLAN with an untagged port outside its egress ports, or an
//   egress port forbidden, as a switch that checks every step does;
// - `vlan add FIRST LAST` makes active VLANs FIRST..LAST without members
//   (for tests that need many VLANs), as SETs would: the other behaviours
//   see them committed, so the tables that follow VLAN rows follow them.

#include "Behaviour.h"

#include <cstdlib>

namespace {

const Oid kMode = PrivateOid({7, 5, 0});
const Oid kPvidColumn = PrivateOid({7, 7, 1, 1});
const Oid kVlanEntry = PrivateOid({7, 6, 1});
constexpr oid kName = 1, kEgress = 2, kForbidden = 3, kUntagged = 4, kAdvertisement = 5, kRowStatus = 6;
constexpr long kActive = 1;
constexpr long kDefaultVlan = 1;

// Tables whose rows belong to one VLAN: the column holding the VID, or 0
// when the index starts with it.
struct Dependent
{
    Oid entry;
    oid vidColumn;
};
const Dependent kDependents[] = {
    {PrivateOid({10, 3, 4, 1}), 1},                       // IGMP snooping VLAN settings
    {PrivateOid({10, 3, 5, 1}), 1},                       // multicast entries
    {{1, 3, 6, 1, 2, 1, 17, 7, 1, 2, 2, 1}, 0},           // learned addresses, index fdbId.mac
};

Oid Cell(oid column, long vid)
{
    Oid name = kVlanEntry;
    name.push_back(column);
    name.push_back(static_cast<oid>(vid));
    return name;
}

Value Octets(const std::string& bytes)
{
    Value v;
    v.type = ASN_OCTET_STR;
    v.bytes = bytes;
    return v;
}

std::string BitmapOf(const MibStore& store, oid column, long vid)
{
    const Object* obj = store.find(Cell(column, vid));
    return obj ? obj->value.bytes : std::string();
}

bool Bit(const std::string& bitmap, size_t i)
{
    return i / 8 < bitmap.size() && (static_cast<unsigned char>(bitmap[i / 8]) & (0x80 >> (i % 8)));
}

class VlanBehaviour : public Behaviour
{
public:
    const char* name() const override { return "vlan"; }

    void checkSet(const Switch& sw, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        const Object* before = sw.running().find(kMode);
        const Object* after = pending.find(kMode);
        m_modeChanging = before && after && before->value.number != after->value.number;
        if (!m_strict)
            return;
        for (size_t i = 0; i < set.size(); ++i) {
            const Oid& n = set[i].name;
            if (!OidUnder(n, kVlanEntry) || n.size() != kVlanEntry.size() + 2)
                continue;
            const oid column = n[kVlanEntry.size()];
            if (column != kEgress && column != kForbidden && column != kUntagged)
                continue;
            const long vid = static_cast<long>(n.back());
            const std::string egress = BitmapOf(pending, kEgress, vid);
            const std::string untagged = BitmapOf(pending, kUntagged, vid);
            const std::string forbidden = BitmapOf(pending, kForbidden, vid);
            const size_t bits = 8 * std::max({egress.size(), untagged.size(), forbidden.size()});
            for (size_t b = 0; b < bits; ++b) {
                if ((Bit(untagged, b) && !Bit(egress, b)) || (Bit(egress, b) && Bit(forbidden, b))) {
                    outcome = {SNMP_ERR_INCONSISTENTVALUE, static_cast<int>(i + 1)};
                    return;
                }
            }
        }
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        if (m_modeChanging) {
            m_modeChanging = false;
            resetVlans(sw.running());
        }
        for (const SetRequest& s : set) {
            if (s.name.size() == kVlanEntry.size() + 2 && OidUnder(s.name, kVlanEntry)
                && s.name[kVlanEntry.size()] == kRowStatus && !sw.running().find(s.name))
                dropDependents(sw.running(), static_cast<long>(s.name.back()));   // the row was destroyed
        }
    }

    std::optional<std::string> command(Switch& sw, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "vlan")
            return std::nullopt;
        if (t.size() == 3 && t[1] == "strict" && (t[2] == "on" || t[2] == "off")) {
            m_strict = t[2] == "on";
            return "ok";
        }
        if (t.size() == 4 && t[1] == "add") {
            const long first = std::strtol(t[2].c_str(), nullptr, 10);
            const long last = std::strtol(t[3].c_str(), nullptr, 10);
            if (first < 1 || last > 4094 || first > last)
                return "error: vlan add FIRST LAST (1..4094)";
            std::vector<SetRequest> created;
            for (long vid = first; vid <= last; ++vid) {
                created.push_back({Cell(kRowStatus, vid), IntegerValue(kActive)});
                sw.running().put(Cell(kName, vid), Octets("v" + std::to_string(vid)), true);
                sw.running().put(Cell(kEgress, vid), Octets(""), true);
                sw.running().put(Cell(kForbidden, vid), Octets(""), true);
                sw.running().put(Cell(kUntagged, vid), Octets(""), true);
                sw.running().put(Cell(kAdvertisement, vid), IntegerValue(2), true);
                sw.running().put(Cell(kRowStatus, vid), IntegerValue(kActive), true);
            }
            // As if made by SETs: the tables that follow VLAN rows follow these.
            for (Behaviour* b : Behaviours())
                if (b != this)
                    b->afterCommit(sw, created);
            return "ok";
        }
        return "error: vlan strict on|off, vlan add FIRST LAST";
    }

    void onReset(Switch&) override
    {
        m_strict = false;
        m_modeChanging = false;
    }

private:
    static void resetVlans(MibStore& store)
    {
        std::vector<Oid> drop;
        size_t ports = 0;
        for (auto* it = store.next(kVlanEntry); it && OidUnder(it->first, kVlanEntry); it = store.next(it->first))
            if (it->first.back() != kDefaultVlan)
                drop.push_back(it->first);
        for (const Oid& name : drop)
            store.erase(name);
        std::vector<Oid> pvids;
        for (auto* it = store.next(kPvidColumn); it && OidUnder(it->first, kPvidColumn); it = store.next(it->first))
            pvids.push_back(it->first);
        ports = pvids.size();
        for (const Oid& name : pvids) {
            Value v = store.find(name)->value;   // keeps its type
            v.number = kDefaultVlan;
            store.put(name, v, true);
        }
        std::string all((std::max<size_t>(ports, 64) + 7) / 8, '\0');
        for (size_t b = 0; b < ports; ++b)
            all[b / 8] = static_cast<char>(static_cast<unsigned char>(all[b / 8]) | (0x80 >> (b % 8)));
        store.put(Cell(kEgress, kDefaultVlan), Octets(all), true);
        store.put(Cell(kUntagged, kDefaultVlan), Octets(all), true);
        store.put(Cell(kForbidden, kDefaultVlan), Octets(std::string(all.size(), '\0')), true);
    }

    static void dropDependents(MibStore& store, long vid)
    {
        for (const Dependent& d : kDependents) {
            std::vector<Oid> rows;   // index of each row of this VLAN
            for (auto* it = store.next(d.entry); it && OidUnder(it->first, d.entry); it = store.next(it->first)) {
                const Oid& n = it->first;
                if (n.size() <= d.entry.size() + 1)
                    continue;
                const Oid index(n.begin() + static_cast<long>(d.entry.size()) + 1, n.end());
                const bool mine = d.vidColumn == 0 ? index.front() == static_cast<oid>(vid)
                                                   : n[d.entry.size()] == d.vidColumn
                                                         && it->second.value.number == vid;
                if (mine)
                    rows.push_back(index);
            }
            std::vector<Oid> drop;
            for (auto* it = store.next(d.entry); it && OidUnder(it->first, d.entry); it = store.next(it->first)) {
                const Oid& n = it->first;
                if (n.size() <= d.entry.size() + 1)
                    continue;
                const Oid index(n.begin() + static_cast<long>(d.entry.size()) + 1, n.end());
                for (const Oid& r : rows)
                    if (index == r)
                        drop.push_back(n);
            }
            for (const Oid& name : drop)
                store.erase(name);
        }
    }

    bool m_strict = false;
    bool m_modeChanging = false;
};

BehaviourRegistrar<VlanBehaviour> registrar;

} // namespace
