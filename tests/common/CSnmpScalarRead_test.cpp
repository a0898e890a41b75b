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

#include <functional>

namespace {

const QString kPrivate = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
const QString kState = kPrivate + QStringLiteral(".18.1.0");
const QString kTarget = kPrivate + QStringLiteral(".18.2.0");
const QString kRx = kPrivate + QStringLiteral(".18.3.0");

class ScalarReadTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
    }
    std::function<void(const WalkOutcome&)> Recorder()
    {
        return [this](const WalkOutcome& o) { ends.push_back(o); };
    }
    std::vector<WalkOutcome> ends;
};

} // namespace

// One get request carries every scalar; values come back in the order asked,
// octet strings as raw octets (a port bitmap must not pass through text).
TEST_F(ScalarReadTest, ReadsEveryScalarInOneRequest)
{
    ASSERT_TRUE(sim.command("set " + kTarget.toStdString() + " i 7"));
    ASSERT_TRUE(sim.command("set " + kRx.toStdString() + " x 8000000000000001"));
    sim.clearLog();
    CCommonSNMP session;
    CSnmpScalarRead read(session);
    ASSERT_TRUE(read.Start({kState, kTarget, kRx}, Recorder()));
    EXPECT_TRUE(read.IsRunning());
    ASSERT_TRUE(WaitFor([&] { return !ends.empty(); }));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].Ok()) << ends[0].strWhy.toStdString();
    EXPECT_EQ(read.Text(0), "2");
    EXPECT_EQ(read.Text(1), "7");
    EXPECT_EQ(read.Value(2), QByteArray::fromHex("8000000000000001"));
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].pdu, "get");
    EXPECT_EQ(requests[0].varbinds.size(), 3u);
}

// A setting the switch did not give must never read as "" or 0: no answer,
// a missing object (v2c-style exception is absent on v1: an error status) and
// an error status each end as a failure with no values.
TEST_F(ScalarReadTest, MissingValuesAndSilenceAreFailures)
{
    struct Case {
        const char* what;
        std::string fault;
        int result;
    };
    const Case cases[] = {
        {"no answer", "drop 1", WalkOutcome::NoAnswer},
        {"missing object", "unset " + kTarget.toStdString(), WalkOutcome::ErrorStatus},
        {"error status", "error " + kTarget.toStdString() + " genErr", WalkOutcome::ErrorStatus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim.command("reset"));
        ASSERT_TRUE(sim.command(c.fault));
        ends.clear();
        if (c.result == WalkOutcome::NoAnswer)
            UseLostAnswerTimeout();
        else
            UseAnswerTimeout();
        CCommonSNMP session;
        CSnmpScalarRead read(session);
        ASSERT_TRUE(read.Start({kState, kTarget}, Recorder()));
        ASSERT_TRUE(WaitFor([&] { return !ends.empty(); }));
        ASSERT_EQ(ends.size(), 1u);
        EXPECT_EQ(ends[0].nResult, c.result) << ends[0].strWhy.toStdString();
        EXPECT_FALSE(ends[0].strWhy.isEmpty());
        EXPECT_TRUE(read.Text(0).isEmpty());
    }
}

// A second Start ends the first (reported once as cancelled) and only the
// second's answer counts; Abandon reports nothing at all.
TEST_F(ScalarReadTest, RestartCancelsAndAbandonIsSilent)
{
    CCommonSNMP session;
    CSnmpScalarRead read(session);
    ASSERT_TRUE(sim.command("delay 200"));
    ASSERT_TRUE(read.Start({kState}, Recorder()));
    ASSERT_TRUE(read.Start({kTarget}, Recorder()));
    ASSERT_TRUE(WaitFor([&] { return ends.size() >= 2; }));
    EXPECT_EQ(ends[0].nResult, WalkOutcome::Cancelled);
    EXPECT_TRUE(ends[1].Ok());
    EXPECT_EQ(read.Text(0), "1");

    ends.clear();
    ASSERT_TRUE(read.Start({kState}, Recorder()));
    read.Abandon();
    EXPECT_FALSE(read.IsRunning());
    // Answers leave the switch in order: once a later read has ended, the
    // abandoned one's answer has come and gone.
    CCommonSNMP other;
    CSnmpScalarRead later(other);
    bool laterEnded = false;
    ASSERT_TRUE(later.Start({kState}, [&](const WalkOutcome&) { laterEnded = true; }));
    ASSERT_TRUE(WaitFor([&] { return laterEnded; }));
    EXPECT_TRUE(ends.empty());
}
