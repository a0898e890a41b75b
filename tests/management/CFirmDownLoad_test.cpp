// The firmware and configuration transfer dialog against the simulated
// switch, on a clock twenty times faster than the program's: the writes it
// sends, the status polls and their intervals, every way a transfer ends,
// and what the window shows meanwhile.

#include "CEditEXIPV6.h"
#include "CFirmDownLoad.h"
#include "CGradientProgressCtrl.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kFirmware = "1.3.6.1.4.1.32473.10.126.4.1.3.9.";
const std::string kConfig = "1.3.6.1.4.1.32473.10.126.4.1.3.10.";

const QString kSuccess = QStringLiteral("Success!");
const QString kConfigPollTimeout = QStringLiteral("Get Config BackUp/Upgrade status Time Out !");
const QString kConfigTimeout = QStringLiteral(
    "Time out! Please check TFTP Server IP and network.\n You may close the current device Orvane Module and "
    "implement 'Device Discovery'to restart it");
const QString kUpgradeWarning = QStringLiteral(
    "The connection will be disconnected.\nPlease do not apply other changes when uploading.\n"
    "Reconnect to the device later when uploading completes.");

// The program's intervals, twenty times faster; the set requests keep
// 3 s to be answered in, so that a loaded machine never turns an answered
// set into a time-out (a lost one costs 3 s).
TransferTimings Fast()
{
    TransferTimings t = TransferTimings().Scaled(1.0 / 20);
    t.nFileSetTimeoutMs = t.nOperationSetTimeoutMs = 3000;
    return t;
}

// Milliseconds of the day of a request-log line ("time":"...T12:00:00.123Z").
long long LogTime(const SimRequest& r)
{
    const size_t at = r.line.find("\"time\":\"");
    if (at == std::string::npos)
        return -1;
    const std::string t = r.line.substr(r.line.find('T', at) + 1, 12);
    return ((std::stoll(t.substr(0, 2)) * 60 + std::stoll(t.substr(3, 2))) * 60 + std::stoll(t.substr(6, 2))) * 1000
           + std::stoll(t.substr(9, 3));
}

bool Names(const SimRequest& r, const std::string& oid)
{
    for (const SimVarbind& v : r.varbinds)
        if (v.oid == oid)
            return true;
    return false;
}

// Counts the shutdown lines each session close writes.
int g_closeLines = 0;
void CountCloses(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.contains(QStringLiteral(".Close=")))
        ++g_closeLines;
}

class FirmDownLoadTest : public SharedSwitchDialogTest
{
protected:
    // Fills the form; file type and operation by their list texts.
    static void Fill(CFirmDownLoad& d, const QString& server, const QString& file, const QString& operation,
                     const QString& fileType)
    {
        d.ServerEdit()->setText(server);
        d.FileNameEdit()->setText(file);
        d.OperationList()->setCurrentText(operation);
        d.FileTypeList()->setCurrentText(fileType);
    }

    // Waits for the transfer's end and for the inputs to come back.
    static bool WaitForEnd(CFirmDownLoad& d, int deadlineMs = 30000)
    {
        return WaitFor([&] { return !d.Transfer().IsRunning() && d.ApplyButton()->isEnabled(); }, deadlineMs);
    }

    static std::vector<SimRequest> StatusReads(const std::string& arc)
    {
        std::vector<SimRequest> reads;
        for (const SimRequest& r : sim->requests())
            if (r.pdu == "get" && Names(r, arc + "6.0"))
                reads.push_back(r);
        return reads;
    }

};

} // namespace

// The whole road of a firmware upgrade: the warning, the three writes in
// order, polls after the program's intervals (first poll late, "4" fast,
// "3" slow), "Success!" with the bar at 99, then the inputs back and the bar
// at 0. Catches swapped or merged writes, a wrong interval after a status,
// a success shown before the bar is full and inputs left disabled.
TEST_F(FirmDownLoadTest, FirmwareUpgradeFollowsTheStatusesToSuccess)
{
    ASSERT_TRUE(sim->command("transfer polls firmware 4 4 3 3 1"));
    MessageRecorder messages;
    messages.expect(kUpgradeWarning, IDOK);
    messages.expect(kSuccess);
    // Five times faster only: the intervals must stay apart under load.
    const TransferTimings t = TransferTimings().Scaled(1.0 / 5);
    CFirmDownLoad d(nullptr, t);
    QList<int> barAtMessage;
    MessageSinkFn recorder = SetMessageSink(nullptr);
    SetMessageSink([&](const MessageRequest& r) {
        barAtMessage.append(d.ProgressBar()->GetPos());
        return recorder(r);
    });
    QList<int> positions;
    QObject::connect(&d.Transfer(), &CFirmTransferLogic::progressChanged, [&](int p) { positions.append(p); });
    d.show();
    EXPECT_FALSE(d.ProgressBar()->isVisible()) << "the bar shows only once a transfer starts";
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("image.bin"), QStringLiteral("Upgrade"),
         QStringLiteral("Firmware"));
    sim->clearLog();
    d.ApplyButton()->click();
    EXPECT_FALSE(d.ServerEdit()->isEnabled());
    EXPECT_FALSE(d.CloseButton()->isEnabled());
    EXPECT_TRUE(d.ProgressBar()->isVisible());
    ASSERT_TRUE(WaitForEnd(d));
    SetMessageSink(recorder);

    EXPECT_EQ(messages.texts(), (QStringList{kUpgradeWarning, kSuccess}));
    ASSERT_EQ(barAtMessage.size(), 2);
    EXPECT_EQ(barAtMessage[1], 99);
    EXPECT_EQ(d.ProgressBar()->GetPos(), 0);
    EXPECT_TRUE(d.ProgressBar()->isVisible());
    EXPECT_TRUE(d.CloseButton()->isEnabled());
    EXPECT_TRUE(d.FileNameEdit()->isEnabled());
    EXPECT_EQ(positions.value(0), 1);
    EXPECT_EQ(positions.last(), 99);

    const std::vector<SimRequest> sets = sim->sets();
    ASSERT_EQ(sets.size(), 3u);
    ASSERT_EQ(sets[0].varbinds.size(), 1u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kFirmware + "2.0");
    EXPECT_EQ(sets[0].varbinds[0].value, "1");
    ASSERT_EQ(sets[1].varbinds.size(), 2u);
    EXPECT_EQ(sets[1].varbinds[0].oid, kFirmware + "1.0");
    EXPECT_EQ(sets[1].varbinds[0].hex, "0a000009");
    EXPECT_EQ(sets[1].varbinds[1].oid, kFirmware + "4.0");
    EXPECT_EQ(sets[1].varbinds[1].value, "image.bin");
    ASSERT_EQ(sets[2].varbinds.size(), 1u);
    EXPECT_EQ(sets[2].varbinds[0].oid, kFirmware + "5.0");
    EXPECT_EQ(sets[2].varbinds[0].value, "1");

    const std::vector<SimRequest> polls = StatusReads(kFirmware);
    ASSERT_EQ(polls.size(), 5u);
    // Each wait: at least its interval (the log has whole milliseconds; a
    // loaded machine only makes waits longer), and below the interval that
    // a wrong choice would take: after a "4" the fast poll is below the slow
    // one, after a "3" the slow poll below the first poll's long wait.
    const long long expected[] = {t.nFirstPollFirmwareMs, t.nPollStartingMs, t.nPollStartingMs, t.nPollRunningMs,
                                  t.nPollRunningMs};
    const long long below[] = {t.nFirstPollFirmwareMs + t.nPollRunningMs, t.nPollRunningMs, t.nPollRunningMs,
                               t.nFirstPollFirmwareMs, t.nFirstPollFirmwareMs};
    long long previous = LogTime(sets[2]);
    for (size_t i = 0; i < polls.size(); ++i) {
        const long long gap = LogTime(polls[i]) - previous;
        EXPECT_GE(gap, expected[i] - 1) << "poll " << i + 1;
        EXPECT_LT(gap, below[i]) << "poll " << i + 1;
        previous = LogTime(polls[i]);
    }
}

// Every end of a transfer by the switch's status: each failure message
// belongs to its mode and operation, an unknown value ends with a message
// instead of leaving the window waiting, and a "2" never passes for
// success. Each case also checks that polling stopped with the end.
TEST_F(FirmDownLoadTest, StatusesEndTheTransferWithTheirMessage)
{
    struct Case {
        const char* script;
        const char* fileType;
        const char* operation;
        QString message;
        size_t polls;
    };
    const Case cases[] = {
        {"transfer polls config 2", "Configuration", "Backup", QStringLiteral("Config File Backup Fail!"), 1},
        {"transfer polls config 4 2", "Configuration", "Upgrade", QStringLiteral("Config File Upgrade Fail!"), 2},
        {"transfer polls firmware 3 2", "Firmware", "Backup", QStringLiteral("Firmware Backup Fail!"), 2},
        {"transfer polls firmware 2", "Firmware", "Upgrade", QStringLiteral("Firmware Upgrade Fail!"), 1},
        {"transfer polls config 4 7", "Configuration", "Backup",
         QStringLiteral("The switch reported an unknown transfer status (7)."), 2},
        {"transfer polls config 3 0", "Configuration", "Backup", kSuccess, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command(c.script));
        MessageRecorder messages;
        if (std::string(c.operation) == "Upgrade")
            messages.expect(kUpgradeWarning, IDOK);
        messages.expect(c.message);
        CFirmDownLoad d(nullptr, Fast());
        d.show();
        Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("f.cfg"), QString::fromLatin1(c.operation),
             QString::fromLatin1(c.fileType));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitForEnd(d));
        ASSERT_FALSE(messages.texts().isEmpty());
        EXPECT_EQ(messages.texts().last(), c.message);
        const std::string arc = std::string(c.fileType) == "Firmware" ? kFirmware : kConfig;
        EXPECT_EQ(StatusReads(arc).size(), c.polls);
    }
}

// A configuration backup the switch never answers about: polls every
// unanswered interval, and the fourth unanswered one ends it with the
// time-out message. Backup asks nothing first. Catches a count off by one,
// a limit never reached and a warning shown for a backup.
TEST_F(FirmDownLoadTest, FourthUnansweredPollBeforeRunningEndsTheTransfer)
{
    ASSERT_TRUE(sim->command("drop under " + kConfig + "6.0"));
    MessageRecorder messages;
    messages.expect(kConfigPollTimeout);
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitForEnd(d));
    EXPECT_EQ(messages.texts(), QStringList{kConfigPollTimeout});
    EXPECT_EQ(StatusReads(kConfig).size(), 4u);
}

// Once the switch has reported "3", silence is a restart, not an end:
// polling goes on past four unanswered polls without the poll time-out, and
// the overall time-out ends it. A status stuck at "4" ends by the overall
// time-out as well (it runs from the operation set). Catches a count that
// goes on after "3" and a transfer that waits for ever at "4".
TEST_F(FirmDownLoadTest, OverallTimeOutEndsASilentOrStuckTransfer)
{
    struct Case {
        const char* script;
        size_t minPolls;
    };
    const Case cases[] = {
        {"transfer polls config 4 3 silent=60000", 6},
        {"transfer polls config 4", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command(c.script));
        TransferTimings t = Fast();
        t.nOverallConfigMs = 3000;
        MessageRecorder messages;
        messages.expect(kConfigTimeout);
        CFirmDownLoad d(nullptr, t);
        d.show();
        Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
             QStringLiteral("Configuration"));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitForEnd(d));
        EXPECT_EQ(messages.texts(), QStringList{kConfigTimeout});
        EXPECT_GE(StatusReads(kConfig).size(), c.minPolls);
        ASSERT_TRUE(sim->command("silence 0"));
    }
}

// Two transfers in one run: the first ends after four unanswered polls; the
// second, with one unanswered poll before the switch answers, must succeed
// (a count carried over would end it at once).
TEST_F(FirmDownLoadTest, SecondTransferStartsWithAFreshPollCount)
{
    MessageRecorder messages;
    messages.expect(kConfigPollTimeout);
    messages.expect(kSuccess);
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    ASSERT_TRUE(sim->command("drop under " + kConfig + "6.0"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitForEnd(d));
    EXPECT_EQ(messages.texts(), QStringList{kConfigPollTimeout});

    ASSERT_TRUE(sim->command("drop off"));
    // The first poll goes unanswered (the switch is silent from the
    // operation set on), the next one finds the transfer done.
    const int silence = Fast().nFirstPollConfigMs + Fast().nStatusGetTimeoutMs / 2;
    ASSERT_TRUE(sim->command("transfer polls config silent=" + std::to_string(silence) + " 1"));
    messages.clear();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitForEnd(d));
    EXPECT_EQ(messages.texts(), QStringList{kSuccess});
    int unanswered = 0;
    for (const SimRequest& r : StatusReads(kConfig))
        unanswered += r.answered ? 0 : 1;
    EXPECT_GE(unanswered, 5) << "four of the first transfer, at least one of the second";
}

// Input that cannot make a transfer writes nothing at all: no address type
// ahead of the file-name check, nothing for a refused upgrade warning.
TEST_F(FirmDownLoadTest, BadInputOrCancelWritesNothing)
{
    struct Case {
        const char* server;
        const char* file;
        const char* operation;
        QList<int> answers;
        QStringList messages;
    };
    const Case cases[] = {
        {"10.0.0.9", "", "Backup", {}, {QStringLiteral("Invalid file.")}},
        {"10.0.0.300", "f.cfg", "Backup", {}, {QStringLiteral("Invalid TFTP server IP.")}},
        {"fe80::1", "f.cfg", "Backup", {}, {QStringLiteral("Invalid TFTP server IP.")}},
        {"", "f.cfg", "Backup", {}, {QStringLiteral("Invalid TFTP server IP.")}},
        {"10.0.0.9", "f.cfg", "Upgrade", {IDCANCEL}, {kUpgradeWarning}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.server) + " / " + c.file + " / " + c.operation);
        sim->clearLog();
        MessageRecorder messages;
        for (int i = 0; i < c.messages.size(); ++i)
            messages.expect(c.messages[i], c.answers.value(i, IDOK));
        CFirmDownLoad d(nullptr, Fast());
        d.show();
        Fill(d, QString::fromLatin1(c.server), QString::fromLatin1(c.file), QString::fromLatin1(c.operation),
             QStringLiteral("Configuration"));
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), c.messages);
        EXPECT_FALSE(d.Transfer().IsRunning());
        EXPECT_TRUE(d.FileNameEdit()->isEnabled());
        EXPECT_TRUE(sim->requests().empty());
    }
}

// "Configuration" writes the configuration objects, "Firmware" the
// firmware ones, and an IPv6 server goes as type 2 with its 16 octets.
// Catches swapped arcs and an IPv6 address sent as text or type 1.
TEST_F(FirmDownLoadTest, FileTypeChoosesItsObjects)
{
    struct Case {
        const char* fileType;
        const char* server;
        std::string arc;
        const char* type;
        const char* hex;
    };
    const Case cases[] = {
        {"Configuration", "192.168.1.20", kConfig, "1", "c0a80114"},
        {"Firmware", "192.168.1.20", kFirmware, "1", "c0a80114"},
        {"Configuration", "2001:db8::5", kConfig, "2", "20010db8000000000000000000000005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fileType) + " " + c.server);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("transfer polls firmware 1"));
        ASSERT_TRUE(sim->command("transfer polls config 1"));
        MessageRecorder messages;
        messages.expect(kSuccess);
        CFirmDownLoad d(nullptr, Fast());
        d.show();
        Fill(d, QString::fromLatin1(c.server), QStringLiteral("f.cfg"), QStringLiteral("Backup"),
             QString::fromLatin1(c.fileType));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitForEnd(d));
        EXPECT_EQ(messages.texts(), QStringList{kSuccess});
        const std::vector<SimRequest> sets = sim->sets();
        ASSERT_EQ(sets.size(), 3u);
        EXPECT_EQ(sets[0].varbinds[0].oid, c.arc + "2.0");
        EXPECT_EQ(sets[0].varbinds[0].value, c.type);
        EXPECT_EQ(sets[1].varbinds[0].oid, c.arc + "1.0");
        EXPECT_EQ(sets[1].varbinds[0].hex, c.hex);
        EXPECT_EQ(sets[2].varbinds[0].oid, c.arc + "5.0");
        EXPECT_EQ(sets[2].varbinds[0].value, "2");
        EXPECT_EQ(StatusReads(c.arc).size(), 1u);
    }
}

// A refused or unanswered write ends the transfer with a message, before
// any poll: with a "1" left from an earlier transfer in the status object,
// polling anyway would report "Success!" for a transfer that never began.
TEST_F(FirmDownLoadTest, RefusedWriteIsReportedAndNeverSuccess)
{
    struct Case {
        std::string fault;
        QString message;
        size_t sets;
    };
    const Case cases[] = {
        {"error " + kConfig + "5.0 genErr", QStringLiteral("Setting operation failed: genErr on ") + QString::fromStdString(kConfig) + "5.0", 3},
        {"error " + kConfig + "4.0 badValue",
         QStringLiteral("Setting file name failed: badValue on ") + QString::fromStdString(kConfig) + "4.0", 2},
        {"error " + kConfig + "2.0 noSuchName",
         QStringLiteral("Setting file name failed: noSuchName on ") + QString::fromStdString(kConfig) + "2.0", 1},
        {"drop under " + kConfig + "5.0", QStringLiteral("Setting operation TimeOut !"), 3},
        {"drop under " + kConfig + "4.0", QStringLiteral("Setting file name TimeOut !"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kConfig + "6.0 i 1"));   // stale
        ASSERT_TRUE(sim->command(c.fault));
        MessageRecorder messages;
        messages.expect(c.message);
        CFirmDownLoad d(nullptr, Fast());
        d.show();
        Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("f.cfg"), QStringLiteral("Backup"),
             QStringLiteral("Configuration"));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitForEnd(d));
        EXPECT_EQ(messages.texts(), QStringList{c.message});
        EXPECT_EQ(sim->sets().size(), c.sets);
        EXPECT_TRUE(StatusReads(kConfig).empty());
    }
}

// Closing while a transfer runs ends the dialog at once, with its timers
// and sessions stopped (closing them cancels what is under way), and no
// message appears.
TEST_F(FirmDownLoadTest, ClosingDuringATransferStopsIt)
{
    ASSERT_TRUE(sim->command("transfer polls config 4"));
    MessageRecorder messages;
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("f.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return StatusReads(kConfig).size() >= 2; }));
    EXPECT_FALSE(d.CloseButton()->isEnabled());
    g_closeLines = 0;
    QtMessageHandler previous = qInstallMessageHandler(CountCloses);
    d.close();   // the window's close box
    qInstallMessageHandler(previous);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.Transfer().IsRunning());
    EXPECT_EQ(g_closeLines, 5) << "every session of the transfer closed as the window went";
    EXPECT_TRUE(messages.texts().isEmpty());
}

// A file name longer than 64 characters that reaches the edit (pasted) is
// cut to 64 with the message.
TEST_F(FirmDownLoadTest, FileNameIsCutTo64Characters)
{
    MessageRecorder messages;
    messages.expect(QStringLiteral("The maximum length of file name is 64!"));
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    d.FileNameEdit()->setText(QString(70, QLatin1Char('a')));
    EXPECT_EQ(d.FileNameEdit()->text(), QString(64, QLatin1Char('a')));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("The maximum length of file name is 64!")});
}

// A station allowed to read only starts no transfer, as no other dialog
// writes for it: Apply is off at opening and after a transfer would have
// ended, and a start asked directly sends nothing.
TEST_F(FirmDownLoadTest, ReadOnlyStationStartsNoTransfer)
{
    g_bWritePermission = 0;
    sim->clearLog();
    MessageRecorder messages;   // no box either
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.StartTransfer());
    EXPECT_FALSE(d.Transfer().IsRunning());
    EXPECT_TRUE(d.FileNameEdit()->isEnabled());
    EXPECT_TRUE(sim->requests().empty());
}

// Each "3" (running) starts the overall time-out again: a long transfer
// that keeps reporting "3" ends with its result, never with the time-out
// counted from the operation set (here 2.5 s against some 4 s of "3").
TEST_F(FirmDownLoadTest, EveryRunningStatusRestartsTheOverallTimeOut)
{
    std::string script = "transfer polls config";
    for (int i = 0; i < 16; ++i)
        script += " 3";
    ASSERT_TRUE(sim->command(script + " 1"));
    TransferTimings t = Fast();
    t.nPollRunningMs = 250;
    t.nOverallConfigMs = 2500;
    MessageRecorder messages;
    messages.expect(kSuccess);
    CFirmDownLoad d(nullptr, t);
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitForEnd(d, 30000));
    EXPECT_EQ(messages.texts(), QStringList{kSuccess});
    ASSERT_FALSE(sim->sets().empty());
    const std::vector<SimRequest> polls = StatusReads(kConfig);
    ASSERT_GE(polls.size(), 17u);
    EXPECT_GT(LogTime(polls.back()) - LogTime(sim->sets().back()), t.nOverallConfigMs)
        << "the transfer must outlast one overall time-out for the case to mean anything";
}

// A status read the switch refuses (an error status, not a silence) ends
// the transfer at once with "Get Info Fail !": no endless polling, and
// never the time-out message.
TEST_F(FirmDownLoadTest, RefusedStatusReadEndsWithGetInfoFail)
{
    ASSERT_TRUE(sim->command("error " + kConfig + "6.0 genErr"));
    MessageRecorder messages;
    messages.expect(QStringLiteral("Get Info Fail !"));
    CFirmDownLoad d(nullptr, Fast());
    d.show();
    Fill(d, QStringLiteral("10.0.0.9"), QStringLiteral("backup.cfg"), QStringLiteral("Backup"),
         QStringLiteral("Configuration"));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitForEnd(d));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Get Info Fail !")});
    EXPECT_EQ(StatusReads(kConfig).size(), 1u);
}
