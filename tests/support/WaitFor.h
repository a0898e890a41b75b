#pragma once

// Runs the event loop until `done` holds or the deadline passes; the result
// of `done` at the end. For answers that arrive through the event loop
// (SNMP callbacks, timers): never a fixed sleep. The default deadline is
// generous: it only bounds a wait that fails, and a sanitizer build on a
// loaded machine can take seconds over a read that normally takes tenths.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

inline bool WaitFor(const std::function<bool()>& done, int deadlineMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < deadlineMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}
