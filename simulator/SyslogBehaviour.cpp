// Syslog hosts: a row of the host table is named by its server address
// (type.length.octets: 1.4.a.b.c.d or 2.16.o1...o16); the switch derives
// the address type and address columns from that index and refuses to
// create a row whose index has another shape (noCreation). The table may be
// limited to a number of rows (`syslog rows N`, 0 = no limit): creating one
// more row is refused with resourceUnavailable. The facility takes only
// 128 + 8 x k (local0 to local7).

#include "Behaviour.h"

#include <cstdlib>

namespace {

const Oid kHostEntry = PrivateOid({16, 2, 5, 1});
const Oid kFacility = PrivateOid({16, 2, 4, 0});
constexpr oid kTypeColumn = 1;
constexpr oid kAddressColumn = 2;
constexpr oid kStatusColumn = 5;

// The index of a host-table cell, or empty when `name` is not one.
Oid HostIndex(const Oid& name, oid* column)
{
    if (name.size() <= kHostEntry.size() + 1 || !OidUnder(name, kHostEntry))
        return {};
    *column = name[kHostEntry.size()];
    return Oid(name.begin() + static_cast<long>(kHostEntry.size()) + 1, name.end());
}

bool WellFormed(const Oid& index)
{
    if (index.size() < 2)
        return false;
    const bool v4 = index[0] == 1 && index[1] == 4;
    const bool v6 = index[0] == 2 && index[1] == 16;
    if ((!v4 && !v6) || index.size() != 2 + index[1])
        return false;
    for (size_t i = 2; i < index.size(); ++i)
        if (index[i] > 255)
            return false;
    return true;
}

class SyslogBehaviour : public Behaviour
{
public:
    const char* name() const override { return "syslog"; }

    void checkSet(const Switch& sw, const MibStore& pending, const std::vector<SetRequest>& set,
                  SetOutcome& outcome) override
    {
        for (size_t i = 0; i < set.size() && outcome.errorStatus == SNMP_ERR_NOERROR; ++i) {
            const SetRequest& s = set[i];
            if (s.name == kFacility && (s.value.number - 128) % 8 != 0) {
                outcome = {SNMP_ERR_WRONGVALUE, static_cast<int>(i + 1)};
                return;
            }
            oid column = 0;
            const Oid index = HostIndex(s.name, &column);
            const bool create = s.value.number == 4 || s.value.number == 5;
            if (index.empty() || column != kStatusColumn || !create)
                continue;
            if (!WellFormed(index)) {
                outcome = {SNMP_ERR_NOCREATION, static_cast<int>(i + 1)};
                return;
            }
            if (m_maxRows > 0 && Rows(pending) > m_maxRows && !sw.running().find(s.name))
                outcome = {SNMP_ERR_RESOURCEUNAVAILABLE, static_cast<int>(i + 1)};
        }
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        oid column = 0;
        const Oid index = HostIndex(name, &column);
        if (index.empty() || !WellFormed(index))
            return;
        if (column == kTypeColumn) {
            value = IntegerValue(static_cast<long>(index[0]));
        } else if (column == kAddressColumn) {
            value.type = ASN_OCTET_STR;
            value.bytes.clear();
            for (size_t i = 2; i < index.size(); ++i)
                value.bytes.push_back(static_cast<char>(index[i]));
        }
    }

    std::optional<std::string> command(Switch&, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "syslog")
            return std::nullopt;
        char* end = nullptr;
        const long n = t.size() == 3 && t[1] == "rows" ? strtol(t[2].c_str(), &end, 10) : -1;
        if (n < 0 || !end || *end)
            return "error: syslog rows N";
        m_maxRows = static_cast<size_t>(n);
        return "ok";
    }

    void onReset(Switch&) override { m_maxRows = 0; }

private:
    static size_t Rows(const MibStore& store)
    {
        Oid statusColumn = kHostEntry;
        statusColumn.push_back(kStatusColumn);
        size_t rows = 0;
        for (auto* it = store.next(statusColumn); it && OidUnder(it->first, statusColumn); it = store.next(it->first))
            ++rows;
        return rows;
    }

    size_t m_maxRows = 0;
};

BehaviourRegistrar<SyslogBehaviour> registrar;

} // namespace
