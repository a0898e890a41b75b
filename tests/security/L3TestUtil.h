#pragma once

// Helpers of the layer-3 dialog tests: the shared simulated switch, rows put
// straight into it, and the set requests it received as "P.object=value".

#include "../management/PowerTestUtil.h"
#include "CIPv4AddressCtrl.h"
#include "MessageRecorder.h"

#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace l3test {

const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kIf = P + ".41.1.1.1.";
const std::string kRoute = P + ".36.1.1.";
const std::string kArp = P + ".34.2.1.";
const std::string kGarp = P + ".33.";

// An active IP interface row, as the switch would hold it.
inline void PutInterface(SimulatedSwitch& sim, int index, int vid, const std::string& name, const std::string& address,
                         const std::string& mask)
{
    const std::string i = "." + std::to_string(index) + "." + std::to_string(vid);
    ASSERT_TRUE(sim.command("set " + kIf + "3" + i + " s " + name));
    ASSERT_TRUE(sim.command("set " + kIf + "6" + i + " a " + address));
    ASSERT_TRUE(sim.command("set " + kIf + "7" + i + " a " + mask));
    for (const char* column : {"1", "2", "4", "9"})
        ASSERT_TRUE(sim.command("set " + kIf + column + i + " i 0"));
    ASSERT_TRUE(sim.command("set " + kIf + "8" + i + " i 1"));
    ASSERT_TRUE(sim.command("set " + kIf + "10" + i + " i 1"));
}

inline void TypeAddress(CIPv4AddressCtrl* ctrl, const QString& text)
{
    ctrl->ClearAddress();
    const QStringList parts = text.split(u'.');
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        ctrl->Field(i)->setText(parts[i]);
}

} // namespace l3test

class L3DialogTest : public PowerDialogTest
{
};
