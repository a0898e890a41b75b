#pragma once

// Stands in for the SNMP layer's dispatcher so that a test can wait until
// an asynchronous answer has arrived without delivering it: every answer the
// engine hands over is counted, then kept here (Release() runs the kept ones
// on the calling thread) or, with an application, queued onto it exactly as
// the program's dispatcher does. The destructor puts the program's
// dispatcher back (the application's queue, or the built-in one).
//
//     AnswerGate gate;
//     session.SendAsync(...);
//     ASSERT_TRUE(gate.WaitForAnswers(1, 5000));   // arrived, not delivered
//     session.Prepare(...);
//     gate.Release();                              // the callback must stay silent

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class QCoreApplication;

class AnswerGate
{
public:
    explicit AnswerGate(QCoreApplication* app = nullptr);
    ~AnswerGate();

    AnswerGate(const AnswerGate&) = delete;
    AnswerGate& operator=(const AnswerGate&) = delete;

    // True once `count` answers have been handed over since construction,
    // false when `ms` pass first.
    bool WaitForAnswers(int count, int ms);
    int Answers() const;

    // Runs the kept answers on the calling thread; how many ran.
    int Release();

private:
    QCoreApplication* m_pApp;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_kept;
    int m_nAnswers = 0;
};
