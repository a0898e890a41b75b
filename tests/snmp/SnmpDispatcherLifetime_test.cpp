// The Qt dispatcher and the end of the application object.

#include "CSnmp4w.h"
#include "CSnmpV1.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>

namespace {

// Catches answers posted to an application object that no longer exists
// (use after free under ASan, a crash or a lost callback otherwise): a
// request still under way when the application ends, as at the program's
// exit, must not reach the dead object; its answer goes to the built-in
// queue instead.
TEST(SnmpDispatcherLifetime, AnswerAfterTheApplicationEndedIsNotPostedToIt)
{
    static int argc = 1;
    static char name[] = "SnmpDispatcherLifetime_test";
    static char* argv[] = {name, nullptr};
    auto* app = new QCoreApplication(argc, argv);
    SnmpInit(app);

    SilentAgent agent;
    CSnmpV1 request(SNMP_PDU_GET);
    request.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp4w sender(&request);
    struct Seen { int calls = 0; int status = 1; } seen;
    const SNMPCALLBACK callback = [](CSnmp* response, int, void* user, int status) {
        auto* s = static_cast<Seen*>(user);
        ++s->calls;
        s->status = status;
        delete response;
        return 0;
    };
    ASSERT_EQ(sender.sendAsync(agent.address().c_str(), callback, &seen, nullptr, 200), 0);
    delete app;

    auto start = std::chrono::steady_clock::now();
    while (seen.calls == 0 && ElapsedMs(start) < 3000)
        SnmpProcessCallbacks(50);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.status, SNMP_NO_ANSWER);
}

} // namespace
