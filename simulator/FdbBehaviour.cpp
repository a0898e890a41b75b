// Forwarding table: the control command `fdb N [FDBID]` replaces the learned
// entries with N entries in FDB FDBID (default 1), ports 1, 2, 3, ... in
// turn, so tests can ask for exactly as many entries as they need.

#include "Behaviour.h"

#include <algorithm>
#include <cstdlib>

namespace {

const Oid kFdbEntry = {1, 3, 6, 1, 2, 1, 17, 7, 1, 2, 2, 1};

class FdbBehaviour : public Behaviour
{
public:
    const char* name() const override { return "fdb"; }

    std::optional<std::string> command(Switch& sw, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "fdb")
            return std::nullopt;
        char* end = nullptr;
        const long count = t.size() >= 2 ? std::strtol(t[1].c_str(), &end, 10) : -1;
        if (t.size() < 2 || t.size() > 3 || *end || count < 0 || count > 100000)
            return "error: fdb N [FDBID]";
        long fdb = 1;
        if (t.size() == 3) {
            fdb = std::strtol(t[2].c_str(), &end, 10);
            if (*end || fdb < 1 || fdb > 4094)
                return "error: fdb N [FDBID]";
        }
        MibStore& store = sw.running();
        for (const auto* next = store.next(kFdbEntry); next && OidUnder(next->first, kFdbEntry);
             next = store.next(kFdbEntry))
            store.erase(next->first);
        // The model name ends in its port count ("PQS-4400-52").
        const long ports = std::max(1L, std::strtol(sw.model().substr(sw.model().rfind('-') + 1).c_str(), nullptr, 10));
        for (long i = 0; i < count; ++i) {
            Oid index = {oid(fdb), 0x00, 0x1b, 0x21, oid((i >> 16) & 0xff), oid((i >> 8) & 0xff), oid(i & 0xff)};
            Value address;
            address.type = ASN_OCTET_STR;
            for (size_t k = 1; k < index.size(); ++k)
                address.bytes.push_back(char(index[k]));
            put(store, 1, index, address);
            put(store, 2, index, IntegerValue(1 + i % ports));
            put(store, 3, index, IntegerValue(3));
        }
        return "ok";
    }

private:
    static void put(MibStore& store, oid column, const Oid& index, const Value& value)
    {
        Oid name = kFdbEntry;
        name.push_back(column);
        name.insert(name.end(), index.begin(), index.end());
        store.put(name, value, false);
    }
};

BehaviourRegistrar<FdbBehaviour> registrar;

} // namespace
