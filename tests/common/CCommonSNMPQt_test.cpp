#include "AnswerGate.h"
#include "CCommonSNMP.h"
#include "GlobalSettings.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"
#include "TestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

// The program's road: answers come through the application's event queue.

namespace {

struct Owner
{
    CCommonSNMP* session = nullptr;
    int calls = 0;
    int status = 1;
    bool onGuiThread = false;

    static int Callback(CSnmp* response, int id, void* user, int status)
    {
        auto* self = static_cast<Owner*>(user);
        ++self->calls;
        self->onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        delete response;
        if (!self->session->RemovePending(id))
            return 0;
        self->status = status;
        self->session->SetDone();
        return 0;
    }
};

void processFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void useAgent(int port)
{
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("127.0.0.1");
    g_strSnmpPort = QString::number(port);
    g_strReadCommunity = QString::fromUtf8(SnmpdAgent::kReadCommunity);
    g_strWriteCommunity = QString::fromUtf8(SnmpdAgent::kWriteCommunity);
}

} // namespace

// The callback runs on the GUI thread (it may touch widgets); an answer
// that has already arrived and waits in the event queue must still be
// dropped by Close and by a new Prepare, or it would reach an owner that is
// closing or has moved on.
class CCommonSNMPQt : public SnmpdSuite
{
};

TEST_F(CCommonSNMPQt, QueuedAnswersDieWithCloseAndPrepare)
{
    SnmpInit(EnsureTestApp());
    useAgent(port());

    CCommonSNMP session;
    Owner owner;
    owner.session = &session;
    ASSERT_TRUE(session.Prepare(0));
    session.AddValue(QStringLiteral("1.3.6.1.2.1.1.1.0"), 4);
    ASSERT_EQ(session.SendAsync(&Owner::Callback, &owner), 0);
    QElapsedTimer timer;
    timer.start();
    while (owner.calls == 0 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(owner.calls, 1);
    EXPECT_EQ(owner.status, 0);
    EXPECT_TRUE(owner.onGuiThread);

    for (const bool byClose : {true, false}) {
        SCOPED_TRACE(byClose ? "Close" : "Prepare");
        owner.calls = 0;
        AnswerGate gate(QCoreApplication::instance());
        ASSERT_TRUE(session.Prepare(0));
        session.AddValue(QStringLiteral("1.3.6.1.2.1.1.1.0"), 4);
        ASSERT_EQ(session.SendAsync(&Owner::Callback, &owner), 0);
        // The answer is in and its delivery queued on the application.
        ASSERT_TRUE(gate.WaitForAnswers(1, 5000));
        if (byClose)
            session.Close();
        else
            ASSERT_TRUE(session.Prepare(1));
        processFor(500);
        EXPECT_EQ(owner.calls, 0);
    }
    ResetGlobalSettings();
}
