#include "CCommonSNMP.h"
#include "CReadGate.h"
#include "CSnmpRowWalk.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kVlanName = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1");
const QString kPvid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1");

} // namespace

// Two real reads, the second one unanswered: the gate stays shut and names
// the failed read, so Apply cannot run checks on PVIDs that never arrived.
TEST(CReadGate, OneFailedReadKeepsTheGateShut)
{
    SimulatedSwitch sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    SnmpInit(EnsureTestApp());
    UseSimulatedSwitch(sim);

    for (bool dropPvids : {true, false}) {
        SCOPED_TRACE(dropPvids ? "PVID walk dropped" : "both answered");
        ASSERT_TRUE(sim.command("clear"));
        if (dropPvids) {
            ASSERT_TRUE(sim.command("drop under " + kPvid.toStdString()));
        }
        CReadGate gate;
        std::vector<bool> settled;
        QObject::connect(&gate, &CReadGate::settled, [&](bool ok) { settled.push_back(ok); });
        CCommonSNMP vlanSession, pvidSession;
        CSnmpRowWalk vlans(vlanSession), pvids(pvidSession);
        const int t1 = gate.Expect("VLAN table");
        const int t2 = gate.Expect("PVIDs");
        vlans.Start({kVlanName}, [&](const WalkOutcome& o) { gate.Settle(t1, o); });
        pvids.Start({kPvid}, [&](const WalkOutcome& o) { gate.Settle(t2, o); });
        EXPECT_FALSE(gate.AllSucceeded());   // nothing has arrived yet
        ASSERT_TRUE(WaitFor([&] { return !settled.empty(); }, 30000));   // one time-out
        ASSERT_EQ(settled.size(), 1u);
        EXPECT_EQ(settled[0], !dropPvids);
        EXPECT_EQ(gate.AllSucceeded(), !dropPvids);
        if (dropPvids) {
            EXPECT_EQ(gate.Failures(), QStringList{"PVIDs: No answer from 127.0.0.1"});
        } else {
            EXPECT_EQ(pvids.RowCount(), 52);
        }
    }
}

// Rounds: a late answer of the round before a Refresh must not open the
// gate of the new round; an empty round is shut; a ticket settles once.
TEST(CReadGate, TicketsBelongToTheirRound)
{
    CReadGate gate;
    EXPECT_FALSE(gate.AllSucceeded());   // nothing expected is not "all read"
    const int old = gate.Expect("old");
    gate.Reset();
    const int now = gate.Expect("now");
    gate.Settle(old, true);
    EXPECT_FALSE(gate.AllSucceeded());
    EXPECT_TRUE(gate.Pending());
    gate.Settle(now, false, "timeout");
    gate.Settle(now, true);   // settled already: ignored
    EXPECT_FALSE(gate.AllSucceeded());
    EXPECT_EQ(gate.Failures(), QStringList{"now: timeout"});

    gate.Reset();
    const int a = gate.Expect("a");
    const int b = gate.Expect("b");
    gate.Settle(b, true);
    EXPECT_FALSE(gate.AllSucceeded());   // a still open
    WalkOutcome cancelled;
    cancelled.nResult = WalkOutcome::Cancelled;
    gate.Settle(a, cancelled);
    EXPECT_FALSE(gate.AllSucceeded());   // a cancelled read is no success
    EXPECT_EQ(gate.Failures(), QStringList{"a: cancelled"});
}
