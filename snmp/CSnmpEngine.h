#pragma once

// The one thread of this layer that calls net-snmp. Requests of every
// object are queued to it and sent asynchronously; one select loop waits
// for all answers and time-outs, so requests of different objects are in
// flight together. Outcomes leave the thread through each job's `done`.

#include "CSnmpImpl.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class CSnmpEngine
{
public:
    static CSnmpEngine& instance();
    ~CSnmpEngine();

    void submit(std::unique_ptr<SnmpJob> job);

private:
    CSnmpEngine();
    void run();

    std::mutex m_mutex;
    std::deque<std::unique_ptr<SnmpJob>> m_incoming;
    std::atomic<bool> m_stopping{false};
    int m_wakeFd = -1;
    std::thread m_thread;
};
