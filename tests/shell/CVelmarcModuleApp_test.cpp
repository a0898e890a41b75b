#include "CSingleInstance.h"
#include "CVelmarcModuleApp.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

QString setting(const char* name)
{
    const QString n = QLatin1String(name);
    if (n == "arg1") return g_strCmdArg1;
    if (n == "ip") return g_strDeviceIP;
    if (n == "read") return g_strReadCommunity;
    if (n == "write") return g_strWriteCommunity;
    if (n == "perm") return QString::number(g_bWritePermission);
    if (n == "version") return g_strSnmpVersion;
    if (n == "port") return g_strSnmpPort;
    if (n == "arg8") return g_strCmdArg8;
    if (n == "level") return g_strV3SecurityLevel;
    if (n == "user") return g_strV3UserName;
    if (n == "auth") return g_strV3AuthPassword;
    if (n == "priv") return g_strV3PrivPassword;
    if (n == "authproto") return g_strV3AuthProtocol;
    if (n == "privproto") return g_strV3PrivProtocol;
    ADD_FAILURE() << "unknown setting " << name;
    return QString();
}

struct LineCase
{
    const char* why;
    QString line;
    bool accepted;
    QString message;   // the one message expected, or none
    std::vector<std::pair<const char*, QString>> expect;
};

const QString kAddressMissing = QStringLiteral("No device IP address input !");

} // namespace

// Every rule of the command line in one table: positions, not switch
// letters, count; blanks vanish; empty values keep defaults (except the
// write flag); a version-1 line ends after the port; values wider than their
// field, an empty or non-IPv4 address and a bad port are refused aloud.
TEST(CVelmarcModuleApp, CommandLineTable)
{
    const QString s51(51, u'c'), s52(52, u'c'), s31(31, u'p'), s32(32, u'p'), s19(19, u'f'), s20(20, u'f');
    const std::vector<LineCase> cases = {
        // Blanks are dropped, so "a" and "10.0.0.1" are read although the
        // station separated them from their switches.
        {"blanks dropped", "/xa /I 10.0.0.1", true, {}, {{"arg1", "a"}, {"ip", "10.0.0.1"}, {"read", "tundra"}, {"perm", "1"}}},
        // Value 1 is read from the third character on: a leading blank
        // shifts the switch letter into the value.
        {"leading blank", " /xa /I 10.0.0.1", true, {}, {{"arg1", "xa"}, {"ip", "10.0.0.1"}}},
        {"blanks inside values", "/xa/I 10. 0.0.1/r my community", true, {}, {{"ip", "10.0.0.1"}, {"read", "mycommunity"}}},
        // A v1 line with write flag "false" ends after the port whatever
        // follows; no SNMPv3 setting is touched.
        {"v1 line", "/xa/I10.0.0.1/rpub/wpriv/pfalse/v1/o1161/a/b/c5/l3/uadmin/Asecret123", true, {},
         {{"read", "pub"}, {"write", "priv"}, {"perm", "0"}, {"version", "1"}, {"port", "1161"},
          {"arg8", "1"}, {"level", "1"}, {"user", ""}, {"auth", ""}}},
        // Values 8 and 9 are skipped whatever they hold (long ones too).
        {"v3 line", "/x1/I10.0.0.1/rr/ww/pTRUE/v3/o161/a dropped-value-8/b dropped-value-9/c9/l3/u admin/A authpass1/P privpass1/m2/n2/zextra", true, {},
         {{"perm", "1"}, {"version", "3"}, {"arg8", "9"}, {"level", "3"}, {"user", "admin"},
          {"auth", "authpass1"}, {"priv", "privpass1"}, {"authproto", "2"}, {"privproto", "2"}}},
        {"write flag true", "/xa/I10.0.0.1/r/w/ptrue", true, {}, {{"perm", "1"}}},
        {"write flag empty", "/xa/I10.0.0.1/r/w/p/v1", true, {}, {{"perm", "0"}}},
        // The line ends before value 5: writing stays allowed.
        {"ends before value 5", "/xa/I10.0.0.1/rpub", true, {}, {{"perm", "1"}, {"read", "pub"}, {"write", "harbors"}}},
        {"empty value keeps default", "/xa/I10.0.0.1/r/wpriv", true, {}, {{"read", "tundra"}, {"write", "priv"}}},
        // Only the presence of "/I" is tested, not its position.
        {"no /I anywhere", "/xa/J10.0.0.1", false, {}, {}},
        {"/I elsewhere", "/xa/J10.0.0.1/I", true, {}, {{"ip", "10.0.0.1"}}},
        // An empty address would send every request nowhere.
        {"ends after value 1", "/xa", false, kAddressMissing, {}},
        {"empty address", "/xa/I/rpub", false, kAddressMissing, {}},
        {"address of blanks", "/xa/I   /rpub", false, kAddressMissing, {}},
        {"three octets", "/xa/I10.0.0/rpub", false, "The device IP address \"10.0.0\" is not an IPv4 address !", {}},
        {"octet above 255", "/xa/I10.0.0.256", false, "The device IP address \"10.0.0.256\" is not an IPv4 address !", {}},
        {"IPv6", "/xa/I::1", false, "The device IP address \"::1\" is not an IPv4 address !", {}},
        // Leading zeros are decimal here, never octal on the wire.
        {"leading zeros", "/xa/I010.000.000.001", true, {}, {{"ip", "10.0.0.1"}}},
        // Widths: a value one byte short of its field is kept whole, a value
        // filling it is refused (never cut).
        {"community at width", "/xa/I10.0.0.1/r" + s51, true, {}, {{"read", s51}}},
        {"community over width", "/xa/I10.0.0.1/r" + s52, false,
         "The read community on the command line is too long (at most 51 characters) !", {}},
        {"password at width", "/xa/I10.0.0.1/r/w/p/v3/o/a/b/c/l2/uu/A" + s31, true, {}, {{"auth", s31}}},
        {"password over width", "/xa/I10.0.0.1/r/w/p/v3/o/a/b/c/l2/uu/A" + s32, false,
         "The SNMPv3 authentication password on the command line is too long (at most 31 characters) !", {}},
        {"first value over width", "/x" + s20 + "/I10.0.0.1", false,
         "The first value on the command line is too long (at most 19 characters) !", {}},
        {"first value at width", "/x" + s19 + "/I10.0.0.1", true, {}, {{"arg1", s19}}},
        {"address over width", "/xa/I10.100.100.10000", false,
         "The IP address on the command line is too long (at most 15 characters) !", {}},
        {"version over width", "/xa/I10.0.0.1/r/w/p/v12345678", false,
         "The SNMP version on the command line is too long (at most 7 characters) !", {}},
        {"port not a number", "/xa/I10.0.0.1/r/w/p/v1/o16x", false, "The SNMP port \"16x\" is not a port number !", {}},
        {"port out of range", "/xa/I10.0.0.1/r/w/p/v1/o65536", false, "The SNMP port \"65536\" is not a port number !", {}},
        // The port is part of the single-instance name: "0161" and "161"
        // are one device and must give one name.
        {"port with leading zeros", "/xa/I10.0.0.1/r/w/p/v1/o00161", true, {}, {{"port", "161"}}},
    };

    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.why);
        ResetGlobalSettings();
        MessageRecorder recorder;
        if (!c.message.isEmpty())
            recorder.expect(c.message);
        CVelmarcModuleApp app(nullptr, {QStringLiteral("velmarc-module")});
        app.SetCommandLine(c.line);
        EXPECT_EQ(app.ParseCommandLine(), c.accepted);
        if (c.message.isEmpty())
            EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join('|').toStdString();
        else
            EXPECT_EQ(recorder.texts(), QStringList{c.message});
        for (const auto& [name, value] : c.expect)
            EXPECT_EQ(setting(name), value) << name;
    }
    ResetGlobalSettings();
}

// Linux hands the line over as argv: the arguments are joined with blanks,
// which the parser drops, so "/I" "10.0.0.1" reads like "/I10.0.0.1".
TEST(CVelmarcModuleApp, ArgvIsJoinedWithBlanks)
{
    ResetGlobalSettings();
    CVelmarcModuleApp app(nullptr, {"velmarc-module", "/xa", "/I", "10.0.0.1", "/r", "pub"});
    EXPECT_EQ(app.CommandLine(), QStringLiteral("/xa /I 10.0.0.1 /r pub"));
    ASSERT_TRUE(app.ParseCommandLine());
    EXPECT_EQ(g_strDeviceIP, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(g_strReadCommunity, QStringLiteral("pub"));
    ResetGlobalSettings();
}

// The single-instance name, written out: "Module:", the User.ini name, the
// address and the port, so two names or two addresses are two devices.
TEST(CVelmarcModuleApp, SingleInstanceNameHoldsNameAddressAndPort)
{
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("10.0.0.1");
    g_strSnmpPort = QStringLiteral("1161");
    EXPECT_EQ(CVelmarcModuleApp::SingleInstanceName(QStringLiteral("Lab A")).toStdString(), "Module:Lab A10.0.0.1:1161");
    EXPECT_EQ(CVelmarcModuleApp::SingleInstanceName(QString()).toStdString(), "Module:10.0.0.1:1161");
    ResetGlobalSettings();
}

namespace {

// Start-up without a window: records whether the main window would run.
class TestModuleApp : public CVelmarcModuleApp
{
public:
    using CVelmarcModuleApp::CVelmarcModuleApp;
    int windows = 0;

protected:
    void RunMainDialog() override { ++windows; }
};

// Points the runtime folder (single-instance lock and socket) at a
// folder of the test's own.
class RuntimeFolder
{
public:
    RuntimeFolder()
        : m_old(qgetenv("XDG_RUNTIME_DIR"))
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    ~RuntimeFolder()
    {
        if (m_old.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", m_old);
    }
    QString path() const { return m_dir.path(); }

private:
    QByteArray m_old;
    QTemporaryDir m_dir;
};

} // namespace

// An empty command line ends with the fixed message, no window; the SNMP
// time-out is set up before anything else can build a session.
TEST(CVelmarcModuleApp, EmptyCommandLineEndsWithMessage)
{
    EnsureTestApp();
    ResetGlobalSettings();
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("No parameter input !"));
    TestModuleApp app(QCoreApplication::instance(), {QStringLiteral("velmarc-module")});
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("No parameter input !")});
    EXPECT_EQ(app.windows, 0);
    EXPECT_NE(app.ExitCode(), 0);
    EXPECT_EQ(GetSnmpTimeout(), 5000);
}

// A refused line ends start-up before any window; the agent port of the
// line becomes the library's default port for the stand-alone dialogs.
TEST(CVelmarcModuleApp, StartUpRunsTheWindowOnlyForAUsableLine)
{
    EnsureTestApp();
    RuntimeFolder runtime;
    {
        ResetGlobalSettings();
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("The device IP address \"10.0.0.300\" is not an IPv4 address !"));
        TestModuleApp app(QCoreApplication::instance(), {"velmarc-module", "/xa/I10.0.0.300"});
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.windows, 0);
        EXPECT_NE(app.ExitCode(), 0);
        EXPECT_EQ(recorder.texts().size(), 1);
    }
    {
        ResetGlobalSettings();
        MessageRecorder recorder;
        TestModuleApp app(QCoreApplication::instance(), {"velmarc-module", "/xa/I10.0.0.30/r/w/p/v1/o1161"});
        EXPECT_FALSE(app.InitInstance());   // nothing follows start-up
        EXPECT_EQ(app.windows, 1);
        EXPECT_EQ(app.ExitCode(), 0);
        EXPECT_TRUE(recorder.texts().isEmpty());
        EXPECT_EQ(GetSnmpDefaultPort(), 1161);
    }
    SetSnmpDefaultPort(161);
    ResetGlobalSettings();
}

// A v3 passphrase that USM cannot use is said at start-up (else every
// request would fail with nothing but "no answer" to go on).
TEST(CVelmarcModuleApp, ShortV3PassphraseIsReported)
{
    EnsureTestApp();
    RuntimeFolder runtime;
    struct Case { const char* line; bool warned; };
    const Case cases[] = {
        {"/xa/I10.0.0.31/r/w/p/v3/o/a/b/c/l3/uadmin/Ashort/Pprivpass1/m2/n2", true},
        {"/xa/I10.0.0.31/r/w/p/v3/o/a/b/c/l3/uadmin/Aauthpass1/Pshort/m2/n2", true},
        {"/xa/I10.0.0.31/r/w/p/v3/o/a/b/c/l3/uadmin/Aauthpass1/Pprivpass1/m2/n2", false},
        // Without privacy the privacy password is never used.
        {"/xa/I10.0.0.31/r/w/p/v3/o/a/b/c/l2/uadmin/Aauthpass1/Pshort/m3/n2", false},
        {"/xa/I10.0.0.31/r/w/p/v3/o/a/b/c/l1/uadmin/A/P/m1/n1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ResetGlobalSettings();
        MessageRecorder recorder;
        if (c.warned)
            recorder.expect(QStringLiteral("SNMPv3 passwords must have at least 8 characters !"));
        TestModuleApp app(QCoreApplication::instance(), {"velmarc-module", c.line});
        app.InitInstance();
        EXPECT_EQ(app.windows, 1);
        if (c.warned)
            EXPECT_EQ(recorder.texts(), QStringList{"SNMPv3 passwords must have at least 8 characters !"});
        else
            EXPECT_TRUE(recorder.texts().isEmpty());
    }
    ResetGlobalSettings();
}

// A second start for a device that is already managed activates the
// running copy and ends without a window of its own; another port of the
// same address is another device.
TEST(CVelmarcModuleApp, SecondStartForTheSameDeviceActivatesTheFirst)
{
    EnsureTestApp();
    RuntimeFolder runtime;
    ResetGlobalSettings();
    // The name written out, not made by the function under test: no
    // User.ini beside the test program, so "Module:" + address + port.
    ASSERT_TRUE(CVelmarcModuleApp::ReadUserDeviceName().isEmpty());
    CSingleInstance running(QStringLiteral("Module:10.0.0.40:161"));
    ASSERT_TRUE(running.Acquire());
    int activations = 0;
    QObject::connect(&running, &CSingleInstance::activateRequested, [&]() { ++activations; });

    ResetGlobalSettings();
    MessageRecorder recorder;
    TestModuleApp second(QCoreApplication::instance(), {"velmarc-module", "/xa/I10.0.0.40"});
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.windows, 0);
    EXPECT_EQ(second.ExitCode(), 0);
    QElapsedTimer timer;
    timer.start();
    while (activations == 0 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(activations, 1);

    ResetGlobalSettings();
    TestModuleApp otherPort(QCoreApplication::instance(), {"velmarc-module", "/xa/I10.0.0.40/r/w/p/v1/o1161"});
    otherPort.InitInstance();
    EXPECT_EQ(otherPort.windows, 1);
    EXPECT_TRUE(recorder.texts().isEmpty());
    SetSnmpDefaultPort(161);
    ResetGlobalSettings();
}
