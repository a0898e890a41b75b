// A session used from two threads: walk answers delivered on one while the
// other closes, re-prepares or destroys the session (as the front panel's
// refresh thread and the GUI thread will).

#include "CCommonSNMP.h"
#include "CSnmp.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kIfDescr = "1.3.6.1.2.1.2.2.1.2";

// True once thread `tid` of this process sleeps (blocked on a lock).
bool ThreadSleeps(long tid)
{
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] == 'S';
}

struct Scenario {
    CCommonSNMP* session = nullptr;
    std::atomic<bool> inCallback{false};
    std::atomic<bool> ending{false};     // the other thread is about to end the session
    std::atomic<long> enderTid{0};
    std::atomic<int> callbacks{0};
    std::atomic<int> indexResult{1};

    // A walk step's answer: it waits until the other thread is inside
    // Close (or Prepare, or the destructor) and blocked there, then reads
    // the row's index through the session, as every dialog's walk does.
    static int Callback(CSnmp* response, int requestId, void* user, int status)
    {
        auto* self = static_cast<Scenario*>(user);
        ++self->callbacks;
        self->inCallback = true;
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!self->ending && Clock::now() < deadline)
            std::this_thread::yield();
        while (self->enderTid == 0 && Clock::now() < deadline)
            std::this_thread::yield();
        while (!ThreadSleeps(self->enderTid) && Clock::now() < deadline)
            std::this_thread::yield();
        if (self->session->RemovePending(requestId) && status == 0) {
            char* index = nullptr;
            self->indexResult = self->session->GetIndexText(0, response, &index);
        }
        delete response;
        return 0;
    }
};

} // namespace

// Catches the lock-order inversion between a session's lock and its
// walker's liveness lock: Close, Prepare or destruction on one thread while
// a walk answer's callback (which reads the row's index through the
// session) runs on the other deadlocked both threads. Each must end within
// the deadline, and no callback may run after Close or Prepare returns.
TEST(CCommonSNMPThreads, EndingASessionWhileItsCallbackRunsElsewhere)
{
    SnmpInit(nullptr);   // answers delivered by SnmpProcessCallbacks, on the drainer thread
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    UseSimulatedSwitch(sim);

    for (const char* how : {"Close", "Prepare", "destroy"}) {
        SCOPED_TRACE(how);
        Scenario sc;
        sc.session = new CCommonSNMP;
        ASSERT_TRUE(sc.session->Prepare(SNMP_PDU_GETNEXT));
        ASSERT_EQ(sc.session->AddValue(kIfDescr, 4), 0);
        ASSERT_EQ(sc.session->SendAsync(&Scenario::Callback, &sc), 0);

        std::atomic<bool> drainerDone{false};
        std::atomic<bool> enderDone{false};
        std::atomic<bool> stopDraining{false};
        std::thread drainer([&] {
            while (!stopDraining)
                SnmpProcessCallbacks(10);
            drainerDone = true;
        });
        std::thread ender([&] {
            const auto deadline = Clock::now() + std::chrono::seconds(5);
            while (!sc.inCallback && Clock::now() < deadline)
                std::this_thread::yield();
            sc.enderTid = long(syscall(SYS_gettid));
            sc.ending = true;
            if (std::string(how) == "Close")
                sc.session->Close();
            else if (std::string(how) == "Prepare")
                sc.session->Prepare(SNMP_PDU_GET);
            else
                delete sc.session;
            enderDone = true;
        });

        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!enderDone && Clock::now() < deadline)
            std::this_thread::yield();
        stopDraining = true;
        while (!drainerDone && Clock::now() < deadline)
            std::this_thread::yield();
        if (!enderDone || !drainerDone) {
            ADD_FAILURE() << "deadlock: the session's ender and its callback wait for each other";
            sim.stop();
            fflush(nullptr);
            _exit(1);   // the two threads can never be joined
        }
        drainer.join();
        ender.join();
        EXPECT_TRUE(sc.inCallback.load());
        EXPECT_EQ(sc.indexResult.load(), 0);
        EXPECT_EQ(sc.callbacks.load(), 1);
        if (std::string(how) != "destroy") {
            EXPECT_TRUE(sc.session->IsDone());
            delete sc.session;
        }
    }
}
