#pragma once

// Set-up of the SNMP layer, once per process.

#include <functional>

class QCoreApplication;

// Initialises net-snmp quietly (no MIBs, no configuration or persistent
// files, nothing on stderr), starts the engine thread and, when an
// application is given, delivers every asynchronous answer on its thread
// through a queued call. Safe to call more than once.
void SnmpInit(QCoreApplication* app);

// The library default time-out (ms) used wherever a call passes 0.
void SetSnmpTimeout(int milliseconds);
int GetSnmpTimeout();

// The UDP port of an agent address given without ":port" (161 by default).
void SetSnmpDefaultPort(int port);
int GetSnmpDefaultPort();

// Delivery of asynchronous answers. `post` must run the task on the thread
// that owns the callbacks' objects. An empty function selects the built-in
// queue, which the owning thread drains with SnmpProcessCallbacks.
using SnmpTask = std::function<void()>;
void SnmpSetDispatcher(std::function<void(SnmpTask)> post);

// Runs the answers waiting in the built-in queue on the calling thread,
// waiting up to waitMs for the first one. Returns how many ran.
int SnmpProcessCallbacks(int waitMs);
