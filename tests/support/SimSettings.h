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
