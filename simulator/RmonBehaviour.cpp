// RMON statistics: a new entry (createRequest) gets its index column from
// its index, and the counters of every valid entry grow with time, each
// at its own rate, so that a view polling them sees them move.

#include "Behaviour.h"

#include <chrono>

namespace {

const Oid kEtherStatsEntry = {1, 3, 6, 1, 2, 1, 16, 1, 1, 1};
constexpr oid kIndexColumn = 1;
constexpr oid kFirstCounter = 3;
constexpr oid kLastCounter = 19;
constexpr oid kStatusColumn = 21;
constexpr long kValid = 1;
constexpr long kCreateRequest = 2;

class RmonBehaviour : public Behaviour
{
public:
    const char* name() const override { return "rmon"; }

    void start(Switch&) override { m_since = Clock::now(); }
    void onReset(Switch&) override { m_since = Clock::now(); }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& r : set) {
            oid column = 0;
            Oid index = CellIndex(r.name, kEtherStatsEntry, &column);
            if (column != kStatusColumn || index.size() != 1 || r.value.number != kCreateRequest)
                continue;
            if (sw.running().find(TableCell(kEtherStatsEntry, kStatusColumn, index)))
                sw.running().put(TableCell(kEtherStatsEntry, kIndexColumn, index), IntegerValue(long(index[0])), false);
        }
    }

    void onRead(const Switch& sw, const Oid& name, Value& value) override
    {
        oid column = 0;
        Oid index = CellIndex(name, kEtherStatsEntry, &column);
        if (column < kFirstCounter || column > kLastCounter || index.size() != 1 || value.type != ASN_COUNTER)
            return;
        const Object* status = sw.running().find(TableCell(kEtherStatsEntry, kStatusColumn, index));
        if (!status || status->value.number != kValid)
            return;
        const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - m_since).count();
        value.number = (value.number + seconds * (long long)(column * index[0])) & 0xFFFFFFFFLL;
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_since = Clock::now();
};

BehaviourRegistrar<RmonBehaviour> registrar;

} // namespace
