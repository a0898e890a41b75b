#include "AnswerGate.h"

#include "SnmpSetup.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <chrono>

AnswerGate::AnswerGate(QCoreApplication* app)
    : m_pApp(app)
{
    SnmpSetDispatcher([this](SnmpTask task) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_nAnswers;
        if (m_pApp)
            QMetaObject::invokeMethod(m_pApp, std::move(task), Qt::QueuedConnection);
        else
            m_kept.push_back(std::move(task));
        m_arrived.notify_all();
    });
}

AnswerGate::~AnswerGate()
{
    // Answers still kept are dropped unrun, as a dispatcher that ended would.
    if (m_pApp)
        SnmpInit(m_pApp);
    else
        SnmpSetDispatcher(nullptr);
}

bool AnswerGate::WaitForAnswers(int count, int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_nAnswers >= count; });
}

int AnswerGate::Answers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nAnswers;
}

int AnswerGate::Release()
{
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        tasks.swap(m_kept);
    }
    for (auto& task : tasks)
        task();
    return int(tasks.size());
}
