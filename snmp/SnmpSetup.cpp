#include "SnmpSetup.h"
#include "CSnmpEngine.h"
#include "CSnmpImpl.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

std::atomic<int> g_timeoutMs{5000};
std::atomic<int> g_defaultPort{161};

std::mutex g_dispatchMutex;
std::function<void(SnmpTask)> g_post;

std::mutex g_queueMutex;
std::condition_variable g_queueCv;
std::deque<SnmpTask> g_queue;

// Answers on their way to the application's thread. They wait here under
// our own lock, and the queued call that Qt carries only says "run the next
// one" (it captures nothing): no object of ours travels through Qt's
// event queue, whose locks ThreadSanitizer cannot see, so every hand-over
// is visible to it.
std::mutex g_appMutex;
std::deque<SnmpTask> g_appQueue;

// One queued call per answer: each runs the oldest answer waiting.
void runAppQueue()
{
    SnmpTask task;
    {
        std::lock_guard<std::mutex> lock(g_appMutex);
        if (g_appQueue.empty())
            return;
        task = std::move(g_appQueue.front());
        g_appQueue.pop_front();
    }
    task();
}

} // namespace

void SnmpInit(QCoreApplication* app)
{
    CSnmpEngine::instance();
    if (app) {
        SnmpSetDispatcher([app](SnmpTask task) {
            // The call is made under the lock that the application's thread
            // takes before it runs the tasks: what Qt builds for it here is
            // seen as handed over too.
            std::lock_guard<std::mutex> lock(g_appMutex);
            g_appQueue.push_back(std::move(task));
            QMetaObject::invokeMethod(app, [] { runAppQueue(); }, Qt::QueuedConnection);
        });
        // Answers may still come while and after the application object is
        // destroyed (requests under way at exit): from then on they go to
        // the built-in queue, never to the dead object, and so do those it
        // had not run yet.
        qAddPostRoutine([] {
            SnmpSetDispatcher(nullptr);
            std::deque<SnmpTask> left;
            {
                std::lock_guard<std::mutex> lock(g_appMutex);
                left.swap(g_appQueue);
            }
            for (SnmpTask& task : left)
                SnmpPost(std::move(task));
        });
    }
}

void SetSnmpTimeout(int milliseconds)
{
    if (milliseconds > 0)
        g_timeoutMs = milliseconds;
}

int GetSnmpTimeout()
{
    return g_timeoutMs;
}

void SetSnmpDefaultPort(int port)
{
    if (port > 0 && port <= 65535)
        g_defaultPort = port;
}

int GetSnmpDefaultPort()
{
    return g_defaultPort;
}

void SnmpSetDispatcher(std::function<void(SnmpTask)> post)
{
    std::lock_guard<std::mutex> lock(g_dispatchMutex);
    g_post = std::move(post);
}

void SnmpPost(std::function<void()> task)
{
    {
        // Posted under the lock, so that a dispatcher is never used after
        // SnmpSetDispatcher has replaced it (the application's end).
        std::lock_guard<std::mutex> lock(g_dispatchMutex);
        if (g_post) {
            g_post(std::move(task));
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        g_queue.push_back(std::move(task));
    }
    g_queueCv.notify_all();
}

int SnmpProcessCallbacks(int waitMs)
{
    std::deque<SnmpTask> tasks;
    {
        std::unique_lock<std::mutex> lock(g_queueMutex);
        g_queueCv.wait_for(lock, std::chrono::milliseconds(std::max(waitMs, 0)), [] { return !g_queue.empty(); });
        tasks.swap(g_queue);
    }
    for (SnmpTask& task : tasks)
        task();
    return int(tasks.size());
}
