// File transfers (firmware and configuration): setting the operation object
// starts one; its status reads 4 for 0.5 s, 3 for 1.5 s, then 1 when a file
// name was set, else 2.

#include "Behaviour.h"

namespace {

struct Transfer
{
    Oid file;
    Oid operation;
    Oid status;
};

const Transfer kTransfers[] = {
    {PrivateOid({3, 9, 4, 0}), PrivateOid({3, 9, 5, 0}), PrivateOid({3, 9, 6, 0})},      // firmware
    {PrivateOid({3, 10, 4, 0}), PrivateOid({3, 10, 5, 0}), PrivateOid({3, 10, 6, 0})},   // configuration
};

constexpr long kDone = 1;
constexpr long kFailed = 2;
constexpr long kRunning = 3;
constexpr long kStarting = 4;

class TransferBehaviour : public Behaviour
{
public:
    const char* name() const override { return "transfer"; }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set)
            for (const Transfer& t : kTransfers)
                if (s.name == t.operation && sw.running().find(s.name))
                    start(sw, t);
    }

private:
    static void start(Switch& sw, const Transfer& t)
    {
        sw.running().put(t.status, IntegerValue(kStarting), false);
        sw.after(500, [&sw, &t] {
            sw.running().put(t.status, IntegerValue(kRunning), false);
            sw.after(1500, [&sw, &t] {
                const Object* file = sw.running().find(t.file);
                bool ok = file && !file->value.bytes.empty();
                sw.running().put(t.status, IntegerValue(ok ? kDone : kFailed), false);
            });
        });
    }
};

BehaviourRegistrar<TransferBehaviour> registrar;

} // namespace
