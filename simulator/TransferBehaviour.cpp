// File transfers (firmware and configuration): setting the operation object
// starts one. Its status reads 4 at once, stays 4 for 0.5 s, reads 3 for
// 1.5 s, then 1 when a file name was set, else 2. A firmware upgrade that
// succeeds first keeps the switch silent for --upgrade-silence ms, as the
// switch restarts with its new image.
//
// Tests script what the next transfers report (control channel):
//   transfer polls KIND S1 S2 ...      each read of the status object after
//                                      the operation set answers the next
//                                      status (the last one repeats); a
//                                      token silent=MS keeps the switch
//                                      silent for MS from the answer before
//                                      it (the operation set's or a read's)
//   transfer timeline KIND S1:MS ... SN  status S1 for MS, ..., then SN
//   transfer default KIND              back to the built-in timeline
// KIND is firmware or config. A refused operation set starts nothing, so
// whatever the status object read before (e.g. a stale 1) stays.

#include "Behaviour.h"

#include <cstdlib>

namespace {

struct Transfer
{
    const char* kind;
    Oid file;
    Oid operation;
    Oid status;
};

const Transfer kTransfers[] = {
    {"firmware", PrivateOid({3, 9, 4, 0}), PrivateOid({3, 9, 5, 0}), PrivateOid({3, 9, 6, 0})},
    {"config", PrivateOid({3, 10, 4, 0}), PrivateOid({3, 10, 5, 0}), PrivateOid({3, 10, 6, 0})},
};
constexpr size_t kKinds = 2;
constexpr size_t kFirmware = 0;

constexpr long kDone = 1;
constexpr long kFailed = 2;
constexpr long kRunning = 3;
constexpr long kStarting = 4;
constexpr long kUpgrade = 1;

// One entry of a script: a status, how long it lasts (timelines), or a
// silent period (poll scripts).
struct Step
{
    long status = 0;
    int ms = 0;
    int silenceMs = -1;   // >= 0: a silent period, not a status
};

struct Script
{
    enum Kind { Default, Polls, Timeline } kind = Default;
    std::vector<Step> steps;
};

class TransferBehaviour : public Behaviour
{
public:
    const char* name() const override { return "transfer"; }

    bool claimOption(const std::string& option, const std::function<const char*()>& value,
                     std::string& why) override
    {
        if (option != "--upgrade-silence")
            return false;
        ParseMilliseconds(option, value(), m_upgradeSilenceMs, why);
        return true;
    }
    std::string usage() const override { return "[--upgrade-silence MS]"; }

    void start(Switch& sw) override { m_switch = &sw; }

    void afterCommit(Switch& sw, const std::vector<SetRequest>& set) override
    {
        for (const SetRequest& s : set)
            for (size_t k = 0; k < kKinds; ++k)
                if (s.name == kTransfers[k].operation && sw.running().find(s.name))
                    begin(sw, k);
    }

    void onRead(const Switch&, const Oid& name, Value& value) override
    {
        for (size_t k = 0; k < kKinds; ++k) {
            State& st = m_state[k];
            if (name != kTransfers[k].status || !st.polling || st.script.steps.empty())
                continue;
            if (st.next < st.script.steps.size())
                st.last = st.script.steps[st.next++].status;
            silenceAhead(k);
            value = IntegerValue(st.last);
            if (m_switch)
                m_switch->running().put(kTransfers[k].status, value, false);
        }
    }

    std::optional<std::string> command(Switch&, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "transfer")
            return std::nullopt;
        const char* usage = "error: transfer polls|timeline|default firmware|config [STATUS...]";
        if (t.size() < 3)
            return usage;
        size_t k = t[2] == "firmware" ? 0 : t[2] == "config" ? 1 : kKinds;
        if (k == kKinds)
            return usage;
        Script script;
        if (t[1] == "default" && t.size() == 3) {
            m_scripts[k] = script;
            return "ok";
        }
        if ((t[1] != "polls" && t[1] != "timeline") || t.size() < 4)
            return usage;
        script.kind = t[1] == "polls" ? Script::Polls : Script::Timeline;
        for (size_t i = 3; i < t.size(); ++i) {
            Step step;
            if (!parseStep(t[i], script.kind, i + 1 == t.size(), step))
                return "error: bad script entry '" + t[i] + "'";
            script.steps.push_back(step);
        }
        m_scripts[k] = script;
        return "ok";
    }

    void onReset(Switch&) override
    {
        for (size_t k = 0; k < kKinds; ++k) {
            m_scripts[k] = Script{};
            const unsigned generation = m_state[k].generation + 1;   // timers of earlier transfers change nothing
            m_state[k] = State{};
            m_state[k].generation = generation;
        }
    }

private:
    struct State
    {
        unsigned generation = 0;
        bool polling = false;   // a poll script drives the status reads
        Script script;
        size_t next = 0;
        long last = kStarting;
    };

    static bool parseStep(const std::string& text, Script::Kind kind, bool lastEntry, Step& step)
    {
        auto number = [](const std::string& s, long low, long high, long& out) {
            char* end = nullptr;
            out = strtol(s.c_str(), &end, 10);
            return !s.empty() && !*end && out >= low && out <= high;
        };
        long n = 0;
        if (kind == Script::Polls && text.rfind("silent=", 0) == 0) {
            if (!number(text.substr(7), 0, 3600000, n))
                return false;
            step.silenceMs = static_cast<int>(n);
            return true;
        }
        const size_t colon = text.find(':');
        if (kind == Script::Timeline && !lastEntry) {
            long ms = 0;
            if (colon == std::string::npos || !number(text.substr(colon + 1), 0, 3600000, ms))
                return false;
            step.ms = static_cast<int>(ms);
        } else if (colon != std::string::npos) {
            return false;
        }
        if (!number(text.substr(0, colon), -1000000, 1000000, n))
            return false;
        step.status = n;
        return true;
    }

    void begin(Switch& sw, size_t k)
    {
        State& st = m_state[k];
        const unsigned generation = ++st.generation;
        st.script = m_scripts[k];
        st.polling = st.script.kind == Script::Polls;
        st.next = 0;
        st.last = kStarting;
        sw.running().put(kTransfers[k].status, IntegerValue(kStarting), false);
        if (st.script.kind == Script::Timeline) {
            runTimeline(sw, k, generation, 0);
            return;
        }
        if (st.polling) {
            silenceAhead(k);
            return;
        }
        const bool upgrade = isUpgrade(sw, k);
        after(sw, k, generation, 500, [this, &sw, k, generation, upgrade] {
            sw.running().put(kTransfers[k].status, IntegerValue(kRunning), false);
            after(sw, k, generation, 1500, [this, &sw, k, generation, upgrade] {
                const Object* file = sw.running().find(kTransfers[k].file);
                const bool ok = file && !file->value.bytes.empty();
                if (ok && upgrade && k == kFirmware && m_upgradeSilenceMs > 0) {
                    // The switch restarts with its new image.
                    sw.silence(m_upgradeSilenceMs);
                    after(sw, k, generation, m_upgradeSilenceMs, [&sw, k] {
                        sw.running().put(kTransfers[k].status, IntegerValue(kDone), false);
                    });
                    return;
                }
                sw.running().put(kTransfers[k].status, IntegerValue(ok ? kDone : kFailed), false);
            });
        });
    }

    // A silent period next in a poll script begins once the answer being
    // sent (the operation set's or the last read's) has left.
    void silenceAhead(size_t k)
    {
        State& st = m_state[k];
        const std::vector<Step>& steps = st.script.steps;
        while (st.next < steps.size() && steps[st.next].silenceMs >= 0) {
            const int ms = steps[st.next++].silenceMs;
            if (m_switch)
                m_switch->afterRequest([sw = m_switch, ms] { sw->silence(ms); });
        }
    }

    void runTimeline(Switch& sw, size_t k, unsigned generation, size_t i)
    {
        const std::vector<Step>& steps = m_state[k].script.steps;
        if (i >= steps.size())
            return;
        sw.running().put(kTransfers[k].status, IntegerValue(steps[i].status), false);
        if (i + 1 < steps.size())
            after(sw, k, generation, steps[i].ms,
                  [this, &sw, k, generation, i] { runTimeline(sw, k, generation, i + 1); });
    }

    static bool isUpgrade(const Switch& sw, size_t k)
    {
        const Object* op = sw.running().find(kTransfers[k].operation);
        return op && op->value.number == kUpgrade;
    }

    // A timer of this transfer: does nothing once another transfer of the
    // same kind has begun or the switch was reset.
    void after(Switch& sw, size_t k, unsigned generation, int ms, std::function<void()> f)
    {
        sw.after(ms, [this, k, generation, f = std::move(f)] {
            if (m_state[k].generation == generation)
                f();
        });
    }

    Switch* m_switch = nullptr;
    int m_upgradeSilenceMs = 2000;
    Script m_scripts[kKinds];
    State m_state[kKinds];
};

BehaviourRegistrar<TransferBehaviour> registrar;

} // namespace
