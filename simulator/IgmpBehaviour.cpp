// IGMP snooping beyond storing values:
// - the per-VLAN settings have one row per VLAN: a VLAN created through the
//   VLAN table gets a row (snooping, querier and fast leave disabled, no
//   router ports), a destroyed VLAN loses its row and its learned groups;
// - disabling snooping clears the static router ports (of every VLAN when
//   switched off globally, of one VLAN when switched off there) and forgets
//   the groups learned there;
// - learned groups come and go: every 3 s group 239.255.0.1 joins or leaves
//   VLAN 1 on port 9 while snooping is on (`igmp churn off` stops it);
//   `igmp join VID A.B.C.D PORT...` and `igmp leave VID A.B.C.D` add and
//   remove one group.

#include "Behaviour.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

const Oid kGlobalState = PrivateOid({10, 1, 1, 0});
const Oid kVlanSettings = PrivateOid({10, 3, 4, 1});
const Oid kGroups = PrivateOid({10, 3, 5, 1});
const Oid kVlanTable = PrivateOid({7, 6, 1});
constexpr oid kVlanRowStatus = 6;
constexpr oid kVid = 1, kState = 2, kQuerier = 4, kRouterPorts = 6, kFastLeave = 8;
constexpr long kEnabled = 1, kDisabled = 2;
constexpr size_t kPortOctets = 8;

Value Octets(const std::string& bytes)
{
    Value v;
    v.type = ASN_OCTET_STR;
    v.bytes = bytes;
    return v;
}

class IgmpBehaviour : public Behaviour
{
public:
    const char* name() const override { return "igmp"; }

    void start(Switch& sw) override
    {
        sw.every(3000, [this, &sw] {
            if (m_churn)
                churn(sw.running());
        });
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        MibStore& store = sw.running();
        bool vlansChanged = false;
        for (const SetRequest& s : set) {
            if (s.name.size() == kVlanTable.size() + 2 && OidUnder(s.name, kVlanTable)
                && s.name[kVlanTable.size()] == kVlanRowStatus)
                vlansChanged = true;
            if (s.name == kGlobalState && s.value.number == kDisabled)
                for (oid vid : RowsOf(store, kVlanSettings, kVid))
                    clearVlan(store, vid);
            if (s.name.size() == kVlanSettings.size() + 2 && OidUnder(s.name, kVlanSettings)
                && s.name[kVlanSettings.size()] == kState && s.value.number == kDisabled)
                clearVlan(store, s.name.back());
        }
        if (vlansChanged)
            followVlans(store);
    }

    std::optional<std::string> command(Switch& sw, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "igmp")
            return std::nullopt;
        if (t.size() == 3 && t[1] == "churn" && (t[2] == "on" || t[2] == "off")) {
            m_churn = t[2] == "on";
            return "ok";
        }
        Oid group;
        if (t.size() >= 4 && (t[1] == "join" || t[1] == "leave") && parseGroup(t[2], t[3], group)) {
            if (t[1] == "leave") {
                forget(sw.running(), group);
                return "ok";
            }
            std::vector<int> ports;
            for (size_t i = 4; i < t.size(); ++i)
                ports.push_back(std::atoi(t[i].c_str()));
            learn(sw.running(), group, ports);
            return "ok";
        }
        return "error: igmp churn on|off, igmp join VID A.B.C.D PORT..., igmp leave VID A.B.C.D";
    }

    void onReset(Switch&) override { m_churn = true; }

private:
    static bool parseGroup(const std::string& vid, const std::string& address, Oid& index)
    {
        index.clear();
        index.push_back(static_cast<oid>(std::strtoul(vid.c_str(), nullptr, 10)));
        std::istringstream in(address);
        std::string part;
        while (std::getline(in, part, '.'))
            index.push_back(static_cast<oid>(std::strtoul(part.c_str(), nullptr, 10)));
        return index.size() == 5 && index[0] >= 1 && index[0] <= 4094;
    }

    // index = VLAN id and the group's four octets
    static void learn(MibStore& store, const Oid& index, const std::vector<int>& ports)
    {
        std::string address, mac = {'\x01', '\x00', '\x5e'};
        for (size_t i = 1; i < 5; ++i)
            address.push_back(static_cast<char>(index[i]));
        mac.push_back(static_cast<char>(index[2] & 0x7F));
        mac.push_back(static_cast<char>(index[3]));
        mac.push_back(static_cast<char>(index[4]));
        std::string members(kPortOctets, '\0');
        for (int p : ports)
            if (p >= 1 && static_cast<size_t>(p - 1) / 8 < members.size())
                members[(p - 1) / 8] = static_cast<char>(members[(p - 1) / 8] | (0x80 >> ((p - 1) % 8)));
        store.put(TableCell(kGroups, 1, index), IntegerValue(static_cast<long>(index[0])), false);
        store.put(TableCell(kGroups, 2, index), Octets(address), false);
        store.put(TableCell(kGroups, 3, index), Octets(mac), false);
        store.put(TableCell(kGroups, 4, index), Octets(members), false);
    }

    static void forget(MibStore& store, const Oid& index)
    {
        for (oid column = 1; column <= 4; ++column)
            store.erase(TableCell(kGroups, column, index));
    }

    // Forgets the groups learned in a VLAN (or in every VLAN for vid 0).
    static void forgetVlan(MibStore& store, oid vid)
    {
        Oid col = kGroups;
        col.push_back(1);
        std::vector<Oid> gone;
        for (auto* it = store.next(col); it && OidUnder(it->first, col); it = store.next(it->first))
            if (vid == 0 || static_cast<oid>(it->second.value.number) == vid)
                gone.emplace_back(it->first.begin() + static_cast<long>(col.size()), it->first.end());
        for (const Oid& index : gone)
            forget(store, index);
    }

    static void clearVlan(MibStore& store, oid vid)
    {
        const Oid ports = TableCell(kVlanSettings, kRouterPorts, {vid});
        if (const Object* obj = store.find(ports))
            store.put(ports, Octets(std::string(obj->value.bytes.size(), '\0')), true);
        forgetVlan(store, vid);
    }

    // One settings row per VLAN of the VLAN table, no more, no less.
    static void followVlans(MibStore& store)
    {
        const std::vector<oid> vlans = RowsOf(store, kVlanTable, kVlanRowStatus);
        for (oid vid : RowsOf(store, kVlanSettings, kVid)) {
            if (std::find(vlans.begin(), vlans.end(), vid) != vlans.end())
                continue;
            for (oid column : {kVid, kState, kQuerier, kRouterPorts, kFastLeave})
                store.erase(TableCell(kVlanSettings, column, {vid}));
            forgetVlan(store, vid);
        }
        for (oid vid : vlans) {
            if (store.find(TableCell(kVlanSettings, kVid, {vid})))
                continue;
            store.put(TableCell(kVlanSettings, kVid, {vid}), IntegerValue(static_cast<long>(vid)), false);
            store.put(TableCell(kVlanSettings, kState, {vid}), IntegerValue(kDisabled), true);
            store.put(TableCell(kVlanSettings, kQuerier, {vid}), IntegerValue(kDisabled), true);
            store.put(TableCell(kVlanSettings, kRouterPorts, {vid}), Octets(std::string(kPortOctets, '\0')), true);
            store.put(TableCell(kVlanSettings, kFastLeave, {vid}), IntegerValue(kDisabled), true);
        }
    }

    static void churn(MibStore& store)
    {
        const Object* state = store.find(kGlobalState);
        if (!state || state->value.number != kEnabled)
            return;
        const Oid index = {1, 239, 255, 0, 1};
        if (store.find(TableCell(kGroups, 1, index)))
            forget(store, index);
        else
            learn(store, index, {9});
    }

    bool m_churn = true;
};

BehaviourRegistrar<IgmpBehaviour> registrar;

} // namespace
