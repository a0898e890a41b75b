#pragma once

// What the tests of the two dialogs that edit the surveillance OUI table
// share: its cells, a user row put in place, and the delete rules both
// dialogs keep.

#include "CListCtrlEx.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QPushButton>

namespace cameratest {

using namespace stptest;

inline std::string Oui(int column, const std::string& index)
{
    return kPrivate + ".26.2.1.1." + std::to_string(column) + "." + index;
}

// A user row "cam" of component type `type`, as if added earlier.
inline void AddOuiRow(SimulatedSwitch& sim, const std::string& index, int type = 0)
{
    ASSERT_TRUE(sim.command("set " + Oui(5, index) + " i 1"));
    ASSERT_TRUE(sim.command("set " + Oui(1, index) + " x 000000000000"));
    ASSERT_TRUE(sim.command("set " + Oui(2, index) + " s cam"));
    ASSERT_TRUE(sim.command("set " + Oui(3, index) + " x ffffff000000"));
    ASSERT_TRUE(sim.command("set " + Oui(4, index) + " i " + std::to_string(type)));
}

// With the user row `userIndex` listed first and the default row second:
// Delete needs a selection, keeps the default row and destroys the user
// row by its index (nothing else is sent), and the list shows the rest.
template <class Dialog> void ExpectDeleteRules(SimulatedSwitch& sim, Dialog& d, const std::string& userIndex)
{
    sim.clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Please Selecte the OUI Entry you would to delete"));
        d.DeleteButton()->click();
    }
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    d.List()->SelectItem(1);
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("The default Surveillance OUI can not be deleted."));
        d.DeleteButton()->click();
    }
    EXPECT_TRUE(sim.sets().empty());
    d.List()->SelectItem(0);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.IsSettling() && !d.Gate().Pending(); }));
    EXPECT_EQ(SetRequests(sim), (std::vector<std::vector<Varbind>>{{{Oui(5, userIndex), "6"}}}));
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

} // namespace cameratest
