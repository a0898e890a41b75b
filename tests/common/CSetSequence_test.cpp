#include "CCommonSNMP.h"
#include "CSetSequence.h"
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

const QString kContact = QStringLiteral("1.3.6.1.2.1.1.4.0");
const QString kName = QStringLiteral("1.3.6.1.2.1.1.5.0");
const QString kLocation = QStringLiteral("1.3.6.1.2.1.1.6.0");
const QString kPvid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1.");

struct SequenceRun
{
    std::vector<std::pair<int, int>> progress;
    int finishes = 0;
    bool ok = false;
    SnmpSetFailure failure;

    void Watch(CSetSequence& seq)
    {
        QObject::connect(&seq, &CSetSequence::progress, [this](int step, int total, const QString&) {
            progress.emplace_back(step, total);
        });
        QObject::connect(&seq, &CSetSequence::finished, [this](bool bOk, const SnmpSetFailure& f) {
            ++finishes;
            ok = bOk;
            failure = f;
        });
    }
};

class SetSequenceTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
    }

    // Three steps; the values are built from temporaries, so a sequence
    // that kept pointers instead of bytes would send garbage.
    void AddThreeSteps(CSetSequence& seq)
    {
        seq.Add("contact", {SnmpSetValue::Text(kContact, QStringLiteral("noc ") + QString::number(1))});
        seq.Add("name and PVID", {SnmpSetValue::Text(kName, QStringLiteral("core-ß")),
                                  SnmpSetValue::Unsigned(kPvid + "3", 10)});
        seq.Add("location", {SnmpSetValue::Octets(kLocation, QByteArray("\x01\xff", 2))}, 30);
    }

    std::vector<std::string> SetOids()
    {
        std::vector<std::string> oids;
        for (const SimRequest& r : sim.sets())
            oids.push_back(r.varbinds.front().oid);
        return oids;
    }
};

} // namespace

// Every step goes out in order, one request per step, with its own bytes,
// and the end is reported once as a success.
TEST_F(SetSequenceTest, SendsEveryStepInOrder)
{
    CCommonSNMP session;
    CSetSequence seq(session);
    SequenceRun run;
    run.Watch(seq);
    AddThreeSteps(seq);
    ASSERT_TRUE(seq.Start());
    EXPECT_FALSE(seq.Start());   // a second start would interleave the steps
    ASSERT_TRUE(WaitFor([&] { return run.finishes > 0; }));
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(run.finishes, 1);
    EXPECT_EQ(run.progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(SetOids(), (std::vector<std::string>{kContact.toStdString(), kName.toStdString(),
                                                   kLocation.toStdString()}));
    const auto sets = sim.sets();
    ASSERT_EQ(sets.size(), 3u);
    ASSERT_EQ(sets[1].varbinds.size(), 2u);
    EXPECT_EQ(sets[1].varbinds[0].hex, "636f72652dc39f");   // UTF-8
    EXPECT_EQ(sets[1].varbinds[1].type, "Gauge32");
    EXPECT_EQ(sets[1].varbinds[1].value, "10");
    EXPECT_EQ(sets[2].varbinds[0].hex, "01ff");
    EXPECT_EQ(sim.value(kContact.toStdString()), "x 6e6f632031");
}

// The sequence stops at the first refused or unanswered step: no later step
// reaches the switch, and the report names the step, the OID the error
// index points at (the second varbind here, not the first) and why.
TEST_F(SetSequenceTest, StopsAtTheFirstFailureAndNamesIt)
{
    struct Case {
        const char* what;
        std::string fault;
        bool v3;
        int result;
        QString oid;
        QString reason;
    };
    const Case cases[] = {
        {"refused by error status (v3)", "error " + kPvid.toStdString() + "3 wrongValue", true, SnmpSetFailure::ErrorStatus,
         kPvid + "3", "wrongValue"},
        // v1 reports an out-of-range value as badValue with its index.
        {"value out of range (v1)", "", false, SnmpSetFailure::ErrorStatus, kPvid + "3", "badValue"},
        {"no answer", "drop under " + kName.toStdString(), false, SnmpSetFailure::NoAnswer, kName,
         "No answer from 127.0.0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim.command("reset"));
        if (!c.fault.empty()) {
            ASSERT_TRUE(sim.command(c.fault));
        }
        UseSimulatedSwitch(sim);   // step 1 is answered: the program's time-out
        if (c.v3)
            UseSimUser(SimulatedSwitch::Users().front());
        CCommonSNMP session;
        CSetSequence seq(session);
        SequenceRun run;
        run.Watch(seq);
        seq.Add("contact", {SnmpSetValue::Text(kContact, "noc")});
        seq.Add("name and PVID", {SnmpSetValue::Text(kName, "core"),
                                  SnmpSetValue::Unsigned(kPvid + "3", c.fault.empty() ? 4095 : 10)});
        seq.Add("location", {SnmpSetValue::Text(kLocation, "hall")});
        ASSERT_TRUE(seq.Start());
        ASSERT_TRUE(WaitFor([&] { return run.finishes > 0; }, 30000));   // a lost answer: one time-out
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(run.failure.nResult, c.result);
        EXPECT_EQ(run.failure.nStep, 2);
        EXPECT_EQ(run.failure.nSteps, 3);
        EXPECT_EQ(run.failure.strWhat, "name and PVID");
        EXPECT_EQ(run.failure.strOID.toStdString(), c.oid.toStdString());
        EXPECT_EQ(run.failure.strReason.toStdString(), c.reason.toStdString());
        EXPECT_EQ(SetOids(), (std::vector<std::string>{kContact.toStdString(), kName.toStdString()}));
        EXPECT_FALSE(seq.IsRunning());
        if (c.result == SnmpSetFailure::ErrorStatus) {
            EXPECT_EQ(run.failure.Text().toStdString(), (c.reason + " on " + c.oid).toStdString());
        }
    }
}

// Cancel from a progress report sends nothing further and ends once.
TEST_F(SetSequenceTest, CancelSendsNoFurtherStep)
{
    CCommonSNMP session;
    CSetSequence seq(session);
    SequenceRun run;
    run.Watch(seq);
    QObject::connect(&seq, &CSetSequence::progress, [&](int step, int, const QString&) {
        if (step == 2)
            seq.Cancel();
    });
    AddThreeSteps(seq);
    ASSERT_TRUE(seq.Start());
    ASSERT_TRUE(WaitFor([&] { return run.finishes > 0; }));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.failure.nResult, SnmpSetFailure::Cancelled);
    EXPECT_EQ(run.failure.nStep, 2);
    // A later answer or timer must not run a step or a second report.
    CCommonSNMP other;
    CSetSequence marker(other);
    SequenceRun markerRun;
    markerRun.Watch(marker);
    marker.Add("marker", {SnmpSetValue::Text(kContact, "marker")}, 60);
    marker.Start();
    ASSERT_TRUE(WaitFor([&] { return markerRun.finishes > 0; }));
    EXPECT_EQ(run.finishes, 1);
    EXPECT_EQ(SetOids(), (std::vector<std::string>{kContact.toStdString(), kContact.toStdString()}));
}

TEST(SetSequenceNames, ErrorStatusNames)
{
    EXPECT_EQ(CSetSequence::ErrorStatusName(10), "wrongValue");
    EXPECT_EQ(CSetSequence::ErrorStatusName(3), "badValue");
    EXPECT_EQ(CSetSequence::ErrorStatusName(17), "notWritable");
    EXPECT_EQ(CSetSequence::ErrorStatusName(99), "error 99");
}

namespace {

// Retries: a step without answer is sent again (after the wait) until it is
// answered or the attempts are used up; a refusal is final at once, and the
// steps after a retried one still follow.
TEST_F(SetSequenceTest, RetriesAStepWithoutAnswer)
{
    struct Case
    {
        const char* fault;      // control command before the run
        int attempts;
        bool ok;
        size_t setsLogged;      // SETs the switch received
        int result;             // failure kind when not ok
    };
    const Case cases[] = {
        {"drop 1", 3, true, 3, SnmpSetFailure::None},              // first lost, second taken, then step 2
        {"drop 2", 3, true, 4, SnmpSetFailure::None},
        {"drop all", 3, false, 3, SnmpSetFailure::NoAnswer},       // exactly three sends, no fourth
        {"drop all", 1, false, 1, SnmpSetFailure::NoAnswer},       // default: no retry
        {"error 1.3.6.1.2.1.1.4.0 genErr", 3, false, 1, SnmpSetFailure::ErrorStatus},
    };
    // Long enough that an answer the switch did send is never taken for a
    // lost one on a loaded machine (that would add a send to the count).
    g_strSnmpTimeout = QStringLiteral("1000");
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("clear"));
        sim.clearLog();
        ASSERT_TRUE(sim.command(c.fault));
        CCommonSNMP session;
        CSetSequence seq(session);
        seq.SetAttempts(c.attempts, 20);
        seq.Add("contact", {SnmpSetValue::Text(kContact, QStringLiteral("noc"))});
        seq.Add("location", {SnmpSetValue::Text(kLocation, QStringLiteral("hall"))});
        SequenceRun run;
        run.Watch(seq);
        ASSERT_TRUE(seq.Start());
        ASSERT_TRUE(WaitFor([&] { return run.finishes > 0; })) << c.fault;
        ASSERT_TRUE(sim.command("drop off"));
        EXPECT_EQ(run.ok, c.ok) << c.fault;
        EXPECT_EQ(run.finishes, 1) << c.fault;
        EXPECT_EQ(sim.sets().size(), c.setsLogged) << c.fault;
        if (!c.ok) {
            EXPECT_EQ(run.failure.nResult, c.result) << c.fault;
            EXPECT_EQ(run.failure.nStep, 1) << c.fault;
        }
    }
}

} // namespace
