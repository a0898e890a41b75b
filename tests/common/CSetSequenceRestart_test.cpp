// A write sequence during which the agent restarted, over SNMPv3 against
// Debian's snmpd: the SNMP layer finds the restarted agent and resends on
// its own, so every step is answered; the sequence must still report the
// write as failed, since the restarted agent lost what the earlier steps
// wrote.

#include "CCommonSNMP.h"
#include "CSetSequence.h"
#include "GlobalSettings.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kContact = QStringLiteral("1.3.6.1.2.1.1.4.0");
const QString kLocation = QStringLiteral("1.3.6.1.2.1.1.6.0");

class SetSequenceRestartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SnmpInit(EnsureTestApp());
        ASSERT_GT(agent.start(), 0) << "snmpd could not be started";
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral("127.0.0.1");
        g_strSnmpPort = QString::number(agent.port());
        g_strSnmpTimeout = QStringLiteral("3000");
        g_strSnmpVersion = QStringLiteral("3");
        g_strV3UserName = QString::fromLatin1(SnmpdAgent::kShaUser);
        g_strV3SecurityLevel = QStringLiteral("2");
        g_strV3AuthProtocol = QStringLiteral("3");
        g_strV3AuthPassword = QString::fromLatin1(SnmpdAgent::kAuthPassword);
    }
    void TearDown() override { ResetGlobalSettings(); }

    SnmpdAgent agent;
};

struct Outcome
{
    int finishes = 0;
    bool ok = false;
    SnmpSetFailure failure;
};

// Three steps; `restart` runs as step `restartBefore` is about to be sent.
Outcome RunSequence(int restartBefore, const std::function<void()>& restart)
{
    CCommonSNMP session;
    CSetSequence seq(session);
    seq.Add("contact", {SnmpSetValue::Text(kContact, QStringLiteral("noc"))});
    seq.Add("location", {SnmpSetValue::Text(kLocation, QStringLiteral("hall 1"))});
    seq.Add("contact again", {SnmpSetValue::Text(kContact, QStringLiteral("noc 2"))});
    Outcome out;
    QObject::connect(&seq, &CSetSequence::progress, [&](int step, int, const QString&) {
        if (step == restartBefore)
            restart();
    });
    QObject::connect(&seq, &CSetSequence::finished, [&](bool ok, const SnmpSetFailure& f) {
        ++out.finishes;
        out.ok = ok;
        out.failure = f;
    });
    EXPECT_TRUE(seq.Start());
    EXPECT_TRUE(WaitFor([&] { return out.finishes > 0; }, 20000));
    return out;
}

} // namespace

// Catches a restart taken for success: rebooted (same engine ID, boot count
// one up; the agent answers "not in time window" and net-snmp resends) and
// replaced (a new engine ID; the layer discovers it and resends). The step
// that revealed it is named, the steps before it may be lost, later steps
// are not sent.
TEST_F(SetSequenceRestartTest, RestartBetweenStepsFailsTheWrite)
{
    for (bool keepState : {true, false}) {
        SCOPED_TRACE(keepState ? "rebooted" : "replaced");
        bool restarted = false;
        const Outcome out = RunSequence(2, [&] { restarted = agent.restart(keepState); });
        ASSERT_TRUE(restarted);
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.finishes, 1);
        EXPECT_EQ(out.failure.nResult, SnmpSetFailure::Restarted);
        EXPECT_EQ(out.failure.nStep, 2);
        EXPECT_EQ(out.failure.Text(), "the switch restarted during the write");
    }
}

// Without a restart the same sequence over v3 succeeds: the first answer of
// a session (time window learnt on the way) is no restart.
TEST_F(SetSequenceRestartTest, NoRestartNoFailure)
{
    const Outcome out = RunSequence(0, [] {});
    EXPECT_TRUE(out.ok) << out.failure.Text().toStdString();
    EXPECT_EQ(out.finishes, 1);
}
