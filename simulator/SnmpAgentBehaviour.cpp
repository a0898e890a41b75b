// The switch's own SNMP agent tables: rows are indexed by strings (length,
// then one sub-identifier per octet), string + model (+ level), name +
// length + subtree, and length + address + type. A row may only be created
// with an index of that shape (else noCreation); once created, the columns
// that repeat the index (name, model, level, subtree, address, type) are
// filled from it, as the switch does.

#include "Behaviour.h"

#include <optional>

namespace {

const Oid kUsers = PrivateOid({25, 2, 1, 1});
const Oid kGroups = PrivateOid({25, 3, 1, 1});
const Oid kViews = PrivateOid({25, 4, 1, 1});
const Oid kCommunities = PrivateOid({25, 5, 1, 1});
const Oid kHosts = PrivateOid({25, 6, 2, 1});

constexpr size_t kMaxName = 32;

enum class Shape { User, Group, View, Community, Host };

struct TableShape
{
    const Oid* entry;
    oid statusColumn;
    Shape shape;
};

const TableShape kTables[] = {
    {&kUsers, 8, Shape::User},       {&kGroups, 7, Shape::Group}, {&kViews, 5, Shape::View},
    {&kCommunities, 3, Shape::Community}, {&kHosts, 6, Shape::Host},
};

Value Text(const std::string& s)
{
    Value v;
    v.type = ASN_OCTET_STR;
    v.bytes = s;
    return v;
}

// A length-prefixed string at `pos`; advances pos.
std::optional<std::string> TakeString(const Oid& index, size_t& pos, size_t maxLength)
{
    if (pos >= index.size() || index[pos] > maxLength || pos + 1 + index[pos] > index.size())
        return std::nullopt;
    std::string s;
    for (size_t i = 0; i < index[pos]; ++i) {
        if (index[pos + 1 + i] > 255)
            return std::nullopt;
        s += static_cast<char>(index[pos + 1 + i]);
    }
    pos += 1 + index[pos];
    return s;
}

// The derived columns of a row of `table` with `index`; nullopt when the
// index does not have the table's shape.
std::optional<std::vector<std::pair<oid, Value>>> Derived(Shape shape, const Oid& index)
{
    size_t pos = 0;
    std::vector<std::pair<oid, Value>> cells;
    switch (shape) {
    case Shape::User:
    case Shape::Group: {
        auto name = TakeString(index, pos, kMaxName);
        if (!name || name->empty() || pos >= index.size() || index[pos] < 1 || index[pos] > 3)
            return std::nullopt;
        cells.push_back({1, Text(*name)});
        cells.push_back({2, IntegerValue(static_cast<long>(index[pos]))});
        ++pos;
        if (shape == Shape::Group) {
            if (pos >= index.size() || index[pos] < 1 || index[pos] > 3)
                return std::nullopt;
            cells.push_back({3, IntegerValue(static_cast<long>(index[pos]))});
            ++pos;
        }
        break;
    }
    case Shape::View: {
        auto name = TakeString(index, pos, kMaxName);
        if (!name || name->empty() || pos >= index.size() || index[pos] < 1 || index[pos] > 128
            || pos + 1 + index[pos] != index.size())
            return std::nullopt;
        Value subtree;
        subtree.type = ASN_OBJECT_ID;
        subtree.oidValue.assign(index.begin() + static_cast<long>(pos) + 1, index.end());
        cells.push_back({1, Text(*name)});
        cells.push_back({2, subtree});
        pos = index.size();
        break;
    }
    case Shape::Community: {
        auto name = TakeString(index, pos, kMaxName);
        if (!name || name->empty())
            return std::nullopt;
        cells.push_back({1, Text(*name)});
        break;
    }
    case Shape::Host: {
        auto address = TakeString(index, pos, 16);
        if (!address || pos >= index.size())
            return std::nullopt;
        const oid type = index[pos++];
        if (!((type == 1 && address->size() == 4) || (type == 2 && address->size() == 16)))
            return std::nullopt;
        cells.push_back({1, Text(*address)});
        cells.push_back({2, IntegerValue(static_cast<long>(type))});
        break;
    }
    }
    if (pos != index.size())
        return std::nullopt;
    return cells;
}

// The table and index of a RowStatus cell, when `name` is one.
const TableShape* StatusCell(const Oid& name, Oid& index)
{
    for (const TableShape& t : kTables)
        if (name.size() > t.entry->size() + 1 && OidUnder(name, *t.entry) && name[t.entry->size()] == t.statusColumn) {
            index.assign(name.begin() + static_cast<long>(t.entry->size()) + 1, name.end());
            return &t;
        }
    return nullptr;
}

bool Creates(const Value& v)
{
    return v.type == ASN_INTEGER && (v.number == 4 || v.number == 5);
}

class SnmpAgentBehaviour : public Behaviour
{
public:
    const char* name() const override { return "snmp-agent"; }

    void checkSet(const Switch&, const MibStore&, const std::vector<SetRequest>& set, SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size(); ++i) {
            Oid index;
            const TableShape* t = StatusCell(set[i].name, index);
            if (t && Creates(set[i].value) && !Derived(t->shape, index)) {
                outcome = {SNMP_ERR_NOCREATION, static_cast<int>(i + 1)};
                return;
            }
        }
    }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set) {
            Oid index;
            const TableShape* t = StatusCell(s.name, index);
            if (!t || !Creates(s.value))
                continue;
            const auto cells = Derived(t->shape, index);
            if (!cells)
                continue;
            for (const auto& [column, value] : *cells) {
                Oid cell = *t->entry;
                cell.push_back(column);
                cell.insert(cell.end(), index.begin(), index.end());
                sw.running().put(cell, value, false);
            }
        }
    }
};

BehaviourRegistrar<SnmpAgentBehaviour> registrar;

} // namespace
