#pragma once

// Connection settings for tests that talk to the simulated switch through
// the program's own sessions (which read the process-wide settings).

#include "SimulatedSwitch.h"

// Resets every setting to its default, then points the address and port at
// the running switch (SNMPv1 with the program's default communities).
void UseSimulatedSwitch(const SimulatedSwitch& sim);

// Switches the settings to SNMPv3 as one of the switch's users: security
// level, protocols and passwords as that user needs them.
void UseSimUser(const SimUser& user);

// Time-outs of the sessions that open after the call (a session takes its
// time-out when it opens). UseAnswerTimeout: the program's default, long
// enough that an answer the switch sends is never taken for a lost one, even
// on a loaded machine under the sanitizers. UseLostAnswerTimeout: short, for
// the tests that drop answers on purpose, so that each loss costs little;
// only where every answer the test waits for is dropped or late on purpose.
void UseAnswerTimeout();
void UseLostAnswerTimeout();
