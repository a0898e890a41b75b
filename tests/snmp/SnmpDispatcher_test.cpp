// Delivery of asynchronous answers through SnmpInit's Qt dispatcher.

#include "CSnmp4w.h"
#include "CSnmpTable.h"
#include "CSnmpV1.h"
#include "SnmpSetup.h"
#include "SnmpTestUtil.h"
#include "SnmpdAgent.h"
#include "TestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>


namespace {

struct Seen {
    int calls = 0;
    bool onAppThread = false;
    int status = -100;
};

int recordThread(CSnmp* response, int, void* user, int status)
{
    auto* seen = static_cast<Seen*>(user);
    seen->calls++;
    seen->status = status;
    seen->onAppThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    delete response;
    return 0;
}

// Catches callbacks run on the engine thread (where widgets may not be
// touched) or before the asynchronous call has returned: with SnmpInit the
// answer waits for the application's event loop and runs on its thread.
class SnmpDispatcherTest : public SnmpdSuite
{
};

TEST_F(SnmpDispatcherTest, CallbacksRunOnTheApplicationThread)
{
    QApplication* app = EnsureTestApp();
    SnmpInit(app);
    EXPECT_EQ(GetSnmpTimeout(), 5000);
    const SnmpdAgent& agent = *Agent();

    CSnmpV1 req(SNMP_PDU_GETNEXT);
    req.addValue(kIfIndexColumn, SNMP_TYPE_NULL, nullptr);
    CSnmpTable table(&req);
    Seen walk;
    ASSERT_EQ(table.getNextAsync(agent.address().c_str(), recordThread, &walk, 0), 0);

    CSnmpV1 get(SNMP_PDU_GET);
    get.addValue(kSysName, SNMP_TYPE_NULL, nullptr);
    CSnmp4w sender(&get);
    Seen single;
    ASSERT_EQ(sender.sendAsync(agent.address().c_str(), recordThread, &single, nullptr, 0), 0);

    // Not run inside the call; and when the loop delivers the first answer
    // (a queued call to the application), no callback has run before it.
    EXPECT_EQ(walk.calls, 0);
    EXPECT_EQ(single.calls, 0);
    struct QueueWatch : QObject {
        Seen* a;
        Seen* b;
        int queued = 0;
        int callsBeforeFirst = -1;
        QueueWatch(Seen* x, Seen* y) : a(x), b(y) {}
        bool eventFilter(QObject* target, QEvent* event) override
        {
            if (target == QCoreApplication::instance() && event->type() == QEvent::MetaCall && queued++ == 0)
                callsBeforeFirst = a->calls + b->calls;
            return false;
        }
    } watch(&walk, &single);
    app->installEventFilter(&watch);

    QElapsedTimer timer;
    timer.start();
    while ((walk.calls == 0 || single.calls == 0) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    app->removeEventFilter(&watch);
    EXPECT_EQ(walk.calls, 1);
    EXPECT_EQ(single.calls, 1);
    EXPECT_GE(watch.queued, 2);
    EXPECT_EQ(watch.callsBeforeFirst, 0);
    EXPECT_TRUE(walk.onAppThread);
    EXPECT_TRUE(single.onAppThread);
    EXPECT_EQ(walk.status, 0);
    EXPECT_EQ(single.status, 0);
}

} // namespace
