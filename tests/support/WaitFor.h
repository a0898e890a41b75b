#pragma once

// Runs the event loop until `done` holds or the deadline passes; the result
// of `done` at the end. For answers that arrive through the event loop
// (SNMP callbacks, timers): never a fixed sleep.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

inline bool WaitFor(const std::function<bool()>& done, int deadlineMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < deadlineMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}
