#pragma once

// A feature's behaviour beyond storing values: each lives in a file of its
// own (e.g. SaveBehaviour.cpp) and registers itself with
//     static BehaviourRegistrar<SaveBehaviour> registrar;
// The agent calls every registered behaviour, in the order of their names,
// at each hook below. Every hook has a default that does nothing.

#include "MibStore.h"
#include "Switch.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Behaviour
{
public:
    virtual ~Behaviour() = default;

    // Unique; orders the behaviours.
    virtual const char* name() const = 0;

    // Command line: return true when `option` is this behaviour's. `value()`
    // takes the option's value (null when the command line ends); on a bad
    // value set `why` and return true. usage() shows the options, e.g.
    // "[--save-busy MS]".
    virtual bool claimOption(const std::string& option, const std::function<const char*()>& value, std::string& why);
    virtual std::string usage() const { return {}; }

    // Once the agent is up, before the first request.
    virtual void start(Switch&) {}

    // Before a SET is committed: `pending` holds the objects as the SET
    // would leave them (every varbind has passed the store's own checks).
    // Refuse by setting `outcome` (error status and 1-based varbind index).
    virtual void checkSet(const Switch&, const MibStore& pending, const std::vector<SetRequest>& set,
                          SetOutcome& outcome);

    // After a SET has been committed to the running objects.
    virtual void afterCommit(Switch&, const std::vector<SetRequest>&) {}

    // The value answered for an object (GET, GET-NEXT, GETBULK and the
    // control channel's get); `value` holds the stored value.
    virtual void onRead(const Switch&, const Oid&, Value&) {}

    // A control-channel command (tokens as split by Tokenize): return the
    // reply ("ok ..." or "error: ...") when it is this behaviour's.
    virtual std::optional<std::string> command(Switch&, const std::vector<std::string>&) { return std::nullopt; }

    // The control channel's reset: the data file has been reloaded.
    virtual void onReset(Switch&) {}
};

// Every registered behaviour, ordered by name.
const std::vector<Behaviour*>& Behaviours();
void RegisterBehaviour(std::unique_ptr<Behaviour> behaviour);

template <class T>
struct BehaviourRegistrar
{
    BehaviourRegistrar() { RegisterBehaviour(std::make_unique<T>()); }
};

// Helpers for behaviours.
Oid PrivateOid(std::initializer_list<oid> tail);   // below the switch's private arc
Value IntegerValue(long n);
// The cell of `column` in the row `index` of a table entry.
Oid TableCell(const Oid& entry, oid column, const Oid& index);
// The reverse: the row index of a cell of `entry` (its column in *column),
// or empty when `name` is no cell of that table.
Oid CellIndex(const Oid& name, const Oid& entry, oid* column);
// The one-part row indexes (e.g. VLAN ids) present in one column of a table.
std::vector<oid> RowsOf(const MibStore& store, const Oid& entry, oid column);
// Milliseconds of an option (0 to one hour); false with `why` set.
bool ParseMilliseconds(const std::string& option, const char* text, int& out, std::string& why);
