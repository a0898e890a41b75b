#include "CResetDevice.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

const char* const kSave = "1.3.6.1.4.1.32473.10.126.4.1.1.11.0";
const char* const kFirmwareStatus = "1.3.6.1.4.1.32473.10.126.4.1.3.9.6.0";
const char* const kConfigStatus = "1.3.6.1.4.1.32473.10.126.4.1.3.10.6.0";
const char* const kReboot = "1.3.6.1.4.1.32473.10.126.4.1.1.10.0";

const char* const kBusyText = "FW upgrade/backup or config backup/restore is already progressing. ";

long long MsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now() - t).count();
}

} // namespace

class ResetDeviceTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(nullptr);
        UseSimulatedSwitch(sim);
        sim.clearLog();
    }
    void TearDown() override { ResetGlobalSettings(); }

    void SetState(int save, int firmware, int config)
    {
        const auto set = [](const char* oid, int value) {
            return QStringLiteral("set %1 i %2").arg(QLatin1String(oid)).arg(value).toStdString();
        };
        ASSERT_TRUE(sim.command(set(kSave, save)));
        ASSERT_TRUE(sim.command(set(kFirmwareStatus, firmware)));
        ASSERT_TRUE(sim.command(set(kConfigStatus, config)));
    }
};

// Every save flag and transfer status the switch reports: a save running
// (1), a firmware transfer running or writing (3, 4) and a configuration
// restore (4) block the reboot; a finished or failed transfer and a running
// configuration backup (3) do not. Catches swapped positions, a "3" check on
// the configuration status and any reading of idle values as busy.
TEST_F(ResetDeviceTest, GuardFollowsSaveAndTransferStatuses)
{
    struct Case { int save; int firmware; int config; int expected; };
    const Case cases[] = {
        {2, 0, 0, 1},
        {1, 0, 0, 0},
        {2, 3, 0, 0}, {2, 4, 0, 0},
        {2, 0, 4, 0}, {2, 0, 3, 1},
        {2, 1, 1, 1}, {2, 2, 2, 1}, {2, 5, 5, 1},
        {1, 3, 4, 0},
        {2, 0, 1, 1}, {2, 1, 0, 1},
    };
    for (const Case& c : cases) {
        SetState(c.save, c.firmware, c.config);
        CResetDevice device;
        EXPECT_EQ(device.CanReboot(), c.expected)
            << "save " << c.save << " firmware " << c.firmware << " config " << c.config;
    }
    // One get of the three objects, in order, and nothing written.
    const std::vector<SimRequest> requests = sim.requests();
    ASSERT_FALSE(requests.empty());
    ASSERT_EQ(requests.back().pdu, "get");
    ASSERT_EQ(requests.back().varbinds.size(), 3u);
    EXPECT_EQ(requests.back().varbinds[0].oid, kSave);
    EXPECT_EQ(requests.back().varbinds[1].oid, kFirmwareStatus);
    EXPECT_EQ(requests.back().varbinds[2].oid, kConfigStatus);
    EXPECT_TRUE(sim.sets().empty());
}

// A switch without one of the status objects answers it with an exception
// value (v3); that object is not busy, while the others still count.
TEST_F(ResetDeviceTest, MissingStatusObjectIsNotBusy)
{
    UseSimUser(SimulatedSwitch::Users().front());
    SetState(2, 0, 0);
    ASSERT_TRUE(sim.command(QStringLiteral("unset %1").arg(QLatin1String(kConfigStatus)).toStdString()));
    {
        CResetDevice device;
        EXPECT_EQ(device.CanReboot(), 1);
    }
    SetState(2, 4, 0);
    ASSERT_TRUE(sim.command(QStringLiteral("unset %1").arg(QLatin1String(kConfigStatus)).toStdString()));
    CResetDevice device;
    EXPECT_EQ(device.CanReboot(), 0);
}

// An unreachable switch does not block the reboot, and the guard gives up
// after its time-out instead of hanging the main window.
TEST_F(ResetDeviceTest, NoAnswerAllowsTheReboot)
{
    g_strSnmpTimeout = QStringLiteral("400");
    SetState(1, 3, 4);
    ASSERT_TRUE(sim.command("drop all"));
    CResetDevice device;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device.CanReboot(), 1);
    EXPECT_LT(MsSince(start), 3000);
}

// The reboot is one set of the reboot object to integer 1 on the write
// community, never repeated; without an answer (the switch restarts) the
// call still returns after its time-out.
TEST_F(ResetDeviceTest, RebootSendsExactlyOneSet)
{
    struct Case { const char* what; bool drop; };
    const Case cases[] = {{"answered", false}, {"no answer", true}};
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("reset"));
        g_strSnmpPort = QString::number(sim.port());
        g_strSnmpTimeout = QStringLiteral("400");
        if (c.drop) {
            ASSERT_TRUE(sim.command("drop all"));
        }
        CResetDevice device;
        const auto start = std::chrono::steady_clock::now();
        device.Reboot();
        EXPECT_LT(MsSince(start), 3000) << c.what;
        const std::vector<SimRequest> sets = sim.sets();
        ASSERT_EQ(sets.size(), 1u) << c.what;
        ASSERT_EQ(sets[0].varbinds.size(), 1u) << c.what;
        EXPECT_EQ(sets[0].varbinds[0].oid, kReboot) << c.what;
        EXPECT_EQ(sets[0].varbinds[0].type, "INTEGER") << c.what;
        EXPECT_EQ(sets[0].varbinds[0].value, "1") << c.what;
        EXPECT_EQ(sets[0].community, SimulatedSwitch::kWriteCommunity) << c.what;
        EXPECT_EQ(sim.requests().size(), 1u) << c.what;
    }
}

// The Reboot command: Cancel in the confirmation sends nothing at all; a
// busy switch gets the transfer message and no set; an idle one is
// rebooted. The confirmation defaults to Cancel so that a stray Enter does
// not reboot a live switch.
TEST_F(ResetDeviceTest, RebootCommandConfirmsAndGuards)
{
    struct Case { const char* what; int answer; bool busy; RebootOutcome outcome; size_t sets; };
    const Case cases[] = {
        {"cancel", IDCANCEL, false, REBOOT_CANCELLED, 0},
        {"busy", IDOK, true, REBOOT_REFUSED, 0},
        {"idle", IDOK, false, REBOOT_SENT, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.command("reset"));
        SetState(2, c.busy ? 3 : 0, 0);
        sim.clearLog();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Do you want to reboot the device?"), c.answer);
        if (c.busy)
            recorder.expect(QString::fromLatin1(kBusyText));
        EXPECT_EQ(ConfirmAndRebootDevice(), c.outcome) << c.what;

        ASSERT_GE(recorder.requests().size(), 1u) << c.what;
        const MessageRequest& ask = recorder.requests()[0];
        EXPECT_EQ(ask.text, QStringLiteral("Do you want to reboot the device?"));
        EXPECT_EQ(ask.icon, MessageIcon::Question);
        EXPECT_EQ(ask.buttons, MessageButtons::OkCancel);
        EXPECT_EQ(ask.defaultAnswer, IDCANCEL);
        if (c.busy) {
            ASSERT_EQ(recorder.requests().size(), 2u) << c.what;
            EXPECT_EQ(recorder.requests()[1].text, QString::fromLatin1(kBusyText));
            EXPECT_EQ(recorder.requests()[1].buttons, MessageButtons::Ok);
        } else {
            EXPECT_EQ(recorder.requests().size(), 1u) << c.what;
        }
        if (c.answer == IDCANCEL) {
            EXPECT_TRUE(sim.requests().empty()) << c.what;
        }
        EXPECT_EQ(sim.sets().size(), c.sets) << c.what;
    }
}
