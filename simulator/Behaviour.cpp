#include "Behaviour.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct Registry
{
    std::vector<std::unique_ptr<Behaviour>> owned;
    std::vector<Behaviour*> ordered;
};

Registry& TheRegistry()
{
    static Registry registry;   // filled during static initialisation
    return registry;
}

} // namespace

bool Behaviour::claimOption(const std::string&, const std::function<const char*()>&, std::string&)
{
    return false;
}

void Behaviour::checkSet(const Switch&, const MibStore&, const std::vector<SetRequest>&, SetOutcome&)
{
}

const std::vector<Behaviour*>& Behaviours()
{
    return TheRegistry().ordered;
}

void RegisterBehaviour(std::unique_ptr<Behaviour> behaviour)
{
    Registry& r = TheRegistry();
    r.ordered.push_back(behaviour.get());
    r.owned.push_back(std::move(behaviour));
    std::sort(r.ordered.begin(), r.ordered.end(),
              [](const Behaviour* a, const Behaviour* b) { return strcmp(a->name(), b->name()) < 0; });
}

Oid PrivateOid(std::initializer_list<oid> tail)
{
    Oid o = {1, 3, 6, 1, 4, 1, 32473, 10, 126, 4, 1};
    o.insert(o.end(), tail);
    return o;
}

Value IntegerValue(long n)
{
    Value v;
    v.type = ASN_INTEGER;
    v.number = n;
    return v;
}

Oid TableCell(const Oid& entry, oid column, const Oid& index)
{
    Oid name = entry;
    name.push_back(column);
    name.insert(name.end(), index.begin(), index.end());
    return name;
}

Oid CellIndex(const Oid& name, const Oid& entry, oid* column)
{
    if (name.size() <= entry.size() + 1 || !OidUnder(name, entry))
        return {};
    *column = name[entry.size()];
    return Oid(name.begin() + static_cast<long>(entry.size()) + 1, name.end());
}

std::vector<oid> RowsOf(const MibStore& store, const Oid& entry, oid column)
{
    Oid col = entry;
    col.push_back(column);
    std::vector<oid> rows;
    for (auto* it = store.next(col); it && OidUnder(it->first, col); it = store.next(it->first))
        if (it->first.size() == col.size() + 1)
            rows.push_back(it->first.back());
    return rows;
}

bool ParseMilliseconds(const std::string& option, const char* text, int& out, std::string& why)
{
    if (!text) {
        why = option + " needs a value";
        return false;
    }
    char* end = nullptr;
    long n = strtol(text, &end, 10);
    if (*end || n < 0 || n > 3600000) {
        why = option + " needs milliseconds";
        return false;
    }
    out = static_cast<int>(n);
    return true;
}
