#pragma once

// The 802.1X dialogs' tests: the shared simulated PQS-4400-52, the
// connection settings pointed at it, and the power tests' helpers (set
// lines with the private arc as "P.", waiting for a dialog to settle).

#include "../management/PowerTestUtil.h"

#include "GlobalSettings.h"

#include <string>

class Dot1xDialogTest : public PowerDialogTest
{
protected:
    static inline const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";

    // 802.1X authentication on or off on the switch.
    static void SetGlobalState(int state)
    {
        ASSERT_TRUE(sim->command("set " + P + ".23.1.1.0 i " + std::to_string(state)));
    }

    // The OID text of a string index ("abcd" -> "4.97.98.99.100").
    static std::string NameIndex(const std::string& name)
    {
        std::string index = std::to_string(name.size());
        for (unsigned char c : name)
            index += "." + std::to_string(c);
        return index;
    }
};
