// 802.1X: a local user's row is indexed by its name (length, then one
// sub-identifier per octet, 1 to 15 octets; another shape cannot be
// created: noCreation), and its name column repeats the index. A RADIUS
// server's index column repeats its index, and a server becomes active only
// with an address that fits its type (4 octets IPv4, 16 IPv6; else
// inconsistentValue). Passwords and keys are write-only: they read empty.

#include "Behaviour.h"

namespace {

const Oid kUsers = PrivateOid({23, 3, 1, 1});
const Oid kServers = PrivateOid({23, 4, 2, 1});
constexpr oid kUserName = 1, kUserPassword = 2, kUserStatus = 3;
constexpr oid kServerIndex = 1, kServerType = 2, kServerAddress = 3, kServerKey = 9, kServerStatus = 10;
constexpr size_t kMaxUserName = 15;

// The column and index of a cell of `entry`; false when `name` is none.
bool CellOf(const Oid& entry, const Oid& name, oid& column, Oid& index)
{
    if (name.size() <= entry.size() + 1 || !OidUnder(name, entry))
        return false;
    column = name[entry.size()];
    index.assign(name.begin() + static_cast<long>(entry.size()) + 1, name.end());
    return true;
}

bool IsNameIndex(const Oid& index)
{
    if (index.empty() || index[0] < 1 || index[0] > kMaxUserName || index.size() != index[0] + 1)
        return false;
    for (size_t i = 1; i < index.size(); ++i)
        if (index[i] > 255)
            return false;
    return true;
}

bool Creates(const Value& v)
{
    return v.type == ASN_INTEGER && (v.number == 4 || v.number == 5);
}

class Dot1xBehaviour : public Behaviour
{
public:
    const char* name() const override { return "dot1x"; }

    void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            oid column = 0;
            Oid index;
            const int at = static_cast<int>(i + 1);
            if (CellOf(kUsers, set[i].name, column, index) && column == kUserStatus && Creates(set[i].value)
                && !IsNameIndex(index)) {
                outcome = {SNMP_ERR_NOCREATION, at};
                return;
            }
            if (CellOf(kServers, set[i].name, column, index) && column == kServerStatus
                && set[i].value.type == ASN_INTEGER && set[i].value.number == 1) {
                const Object* type = pending.find(TableCell(kServers, kServerType, index));
                const Object* address = pending.find(TableCell(kServers, kServerAddress, index));
                const size_t wanted = type && type->value.number == 2 ? 16 : 4;
                if (!type || !address || address->value.bytes.size() != wanted) {
                    outcome = {SNMP_ERR_INCONSISTENTVALUE, at};
                    return;
                }
            }
        }
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set) {
            oid column = 0;
            Oid index;
            if (!Creates(s.value))
                continue;
            if (CellOf(kUsers, s.name, column, index) && column == kUserStatus && IsNameIndex(index)) {
                Value name;
                name.type = ASN_OCTET_STR;
                for (size_t i = 1; i < index.size(); ++i)
                    name.bytes += static_cast<char>(index[i]);
                sw.running().put(TableCell(kUsers, kUserName, index), name, false);
            } else if (CellOf(kServers, s.name, column, index) && column == kServerStatus && index.size() == 1) {
                sw.running().put(TableCell(kServers, kServerIndex, index), IntegerValue(static_cast<long>(index[0])),
                                 false);
            }
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        oid column = 0;
        Oid index;
        if ((CellOf(kUsers, name, column, index) && column == kUserPassword)
            || (CellOf(kServers, name, column, index) && column == kServerKey))
            value.bytes.clear();
    }
};

BehaviourRegistrar<Dot1xBehaviour> registrar;

} // namespace
