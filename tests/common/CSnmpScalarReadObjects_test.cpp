// One asynchronous GET of several objects against the simulated switch:
// values by position, failures reported once and never half an answer.

#include "CCommonSNMP.h"
#include "CSnmpScalarRead.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

const QString kDescr = QStringLiteral("1.3.6.1.2.1.1.1.0");
const QString kObjectId = QStringLiteral("1.3.6.1.2.1.1.2.0");
const QString kName = QStringLiteral("1.3.6.1.2.1.1.5.0");
const QString kIfSpeed2 = QStringLiteral("1.3.6.1.2.1.2.2.1.5.2");

class ScalarReadObjectsTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
    }
};

// One GET carries every object; values come back by position with their
// types' texts (OID dotted, Gauge32 unsigned).
TEST_F(ScalarReadObjectsTest, ValuesByPosition)
{
    ASSERT_TRUE(sim.command("set 1.3.6.1.2.1.2.2.1.5.2 u 4294967295"));
    sim.clearLog();
    CCommonSNMP session;
    CSnmpScalarRead read(session);
    int ends = 0;
    WalkOutcome outcome;
    ASSERT_TRUE(read.Start({kDescr, kObjectId, kName, kIfSpeed2}, [&](const WalkOutcome& o) {
        ++ends;
        outcome = o;
    }));
    ASSERT_TRUE(WaitFor([&] { return ends > 0; }));
    EXPECT_TRUE(outcome.Ok()) << outcome.strWhy.toStdString();
    EXPECT_EQ(read.Text(1), "1.3.6.1.4.1.32473.10.126.4.1");
    EXPECT_EQ(read.Text(2), "PQS-4400-52");
    EXPECT_EQ(read.Text(3), "4294967295");
    const auto log = sim.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].pdu, "get");
    EXPECT_EQ(log[0].varbinds.size(), 4u);
    EXPECT_EQ(ends, 1);
}

// Failures: no answer, an error status naming the object, an object the
// switch lacks (v1 answers noSuchName for the whole request). Each ends
// once, with no values kept.
TEST_F(ScalarReadObjectsTest, FailuresEndOnceWithoutValues)
{
    struct Case
    {
        const char* fault;
        int result;
        const char* why;   // part of the reason
    };
    const Case cases[] = {
        {"drop all", WalkOutcome::NoAnswer, "No answer"},
        {"error 1.3.6.1.2.1.1.5.0 genErr", WalkOutcome::ErrorStatus, "genErr on 1.3.6.1.2.1.1.5.0"},
        {"unset 1.3.6.1.2.1.1.5.0", WalkOutcome::ErrorStatus, "noSuchName on 1.3.6.1.2.1.1.5.0"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("reset"));
        ASSERT_TRUE(sim.command(c.fault));
        if (c.result == WalkOutcome::NoAnswer)
            UseLostAnswerTimeout();
        else
            UseAnswerTimeout();
        CCommonSNMP session;
        CSnmpScalarRead read(session);
        int ends = 0;
        WalkOutcome outcome;
        read.Start({kDescr, kName}, [&](const WalkOutcome& o) {
            ++ends;
            outcome = o;
        });
        ASSERT_TRUE(WaitFor([&] { return ends > 0; })) << c.fault;
        EXPECT_EQ(outcome.nResult, c.result) << c.fault;
        EXPECT_TRUE(outcome.strWhy.contains(c.why)) << c.fault << ": " << outcome.strWhy.toStdString();
        EXPECT_TRUE(read.Value(0).isEmpty()) << c.fault;
        EXPECT_FALSE(read.IsRunning());
        EXPECT_EQ(ends, 1) << c.fault;
    }
}

// A second Start while the first is under way: the first ends Cancelled,
// its late answer never reaches the second.
TEST_F(ScalarReadObjectsTest, RestartCancelsTheRead)
{
    ASSERT_TRUE(sim.command("delay 100"));
    CCommonSNMP session;
    CSnmpScalarRead read(session);
    QList<int> results;
    read.Start({kName}, [&](const WalkOutcome& o) { results << o.nResult; });
    read.Start({kDescr}, [&](const WalkOutcome& o) { results << o.nResult + 100; });
    ASSERT_TRUE(WaitFor([&] { return results.size() >= 2; }));
    EXPECT_EQ(read.Text(0), "PQS-4400-52 Managed Gigabit Ethernet Switch");
    // A third read, sent after the first's answer was due: by its end a
    // stray answer of the first would have been delivered.
    read.Start({kName}, [&](const WalkOutcome& o) { results << o.nResult + 200; });
    ASSERT_TRUE(WaitFor([&] { return results.size() >= 3; }));
    EXPECT_EQ(results, QList<int>({WalkOutcome::Cancelled, 100 + WalkOutcome::Complete, 200 + WalkOutcome::Complete}));
}

} // namespace
