// The front panel against the simulated switch: what a pass reads and
// shows, the refresh thread, and how the panel behaves when the switch
// lacks an object, refuses one, stops answering or reboots.

#include "CPanelView.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "PanelFixture.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kLink = kPrivate + ".1.13.1.3.";
const std::string kMedium = kPrivate + ".1.13.1.7.";

// Panel states of the link pictures.
enum { UNKNOWN = 0, ON = 1, LINKDOWN = 6, LINK10 = 7, LINK100 = 8, LINK1000 = 9, ERROR = 13 };

QString Resources()
{
    return QStringLiteral(VELMARC_SOURCE_DIR "/resources");
}

class CountingHost : public PanelHost
{
public:
    using PanelHost::PanelHost;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        ++paints;
        PanelHost::paintEvent(e);
    }
};

} // namespace

class PanelOverSnmp : public SharedSwitchDialogTest
{
protected:
    static void SetUpTestSuite()
    {
        SimulatedSwitch::Options options;
        options.rebootSilenceMs = 1500;
        StartSuite(options);
    }
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        UseAnswerTimeout();
    }

    int State(CPanelView& view, const char* id)
    {
        int state = -1;
        QString value;
        EXPECT_TRUE(view.FrontState(QString::fromLatin1(id), state, value)) << id;
        return state;
    }
    QString Value(CPanelView& view, const char* id)
    {
        int state = -1;
        QString value;
        view.FrontState(QString::fromLatin1(id), state, value);
        return value;
    }

};


// The wait between passes is the interval cut to whole 100 ms steps, at
// least one step: a rounding up or a missing floor shows here.
TEST(PanelInterval, SleepIsTheIntervalInWholeStepsOf100Ms)
{
    const std::pair<int, int> cases[] = {{250, 200}, {50, 100}, {0, 100}, {100, 100}, {2000, 2000}, {2099, 2000}};
    for (const auto& [interval, sleep] : cases)
        EXPECT_EQ(CPanelView::SleepBetweenPasses(interval), sleep) << interval;
}

// One pass over the PQS-4400-52's panel: every port's link, its LED, the
// SFP ports through their medium, the lamps; one request per element.
TEST_F(PanelOverSnmp, PassShowsLinksOfThe52PortPanel)
{
    CPanelView view(Resources());
    EXPECT_EQ(g_strDeviceName, QStringLiteral("PQS-4400-52"));
    EXPECT_EQ(g_nDevicePortNum, 52);
    EXPECT_FALSE(g_bPoeModel);
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    ASSERT_TRUE(view.RefreshOnce());
    EXPECT_EQ(view.RequestCount(), 54);   // 52 ports and 2 lamps
    struct Case { const char* id; int state; };
    const Case cases[] = {
        {"1", LINK1000}, {"8", LINK1000}, {"9", LINK100}, {"11", LINK10}, {"12", LINKDOWN}, {"48", LINKDOWN},
        {"49", LINK1000}, {"50", LINKDOWN}, {"51", LINKDOWN}, {"52", LINKDOWN},
        {"L1", LINK1000}, {"L9", LINK100}, {"L12", LINKDOWN}, {"L49", LINK1000},
        {"PWR", ON}, {"SYS", ON},
    };
    for (const Case& c : cases)
        EXPECT_EQ(State(view, c.id), c.state) << c.id;
    EXPECT_TRUE(view.StatusText().isEmpty());

    // An SFP port shows its link only while its medium is fibre.
    ASSERT_TRUE(sim->command("set " + kMedium + "49 i 2"));
    ASSERT_TRUE(view.RefreshOnce());
    EXPECT_EQ(State(view, "49"), LINKDOWN);

    host.grab().save(QStringLiteral(VELMARC_BINARY_DIR "/panel-PQS-4400-52.png"));
}

// The refresh thread: a link change shows on the next pass and the owner is
// asked to repaint after each pass.
TEST_F(PanelOverSnmp, LinkChangeShowsOnTheNextPass)
{
    CPanelView view(Resources());
    CountingHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    host.show();
    ASSERT_TRUE(view.StartRefresh(100));
    ASSERT_TRUE(WaitFor([&] { return view.PassCount() >= 1; }, 30000));
    EXPECT_EQ(State(view, "49"), LINK1000);
    ASSERT_TRUE(sim->command("set " + kLink + "49 i 3"));
    const int passes = view.PassCount();
    // A pass that started before the change may still show the old value.
    ASSERT_TRUE(WaitFor([&] { return view.PassCount() >= passes + 2; }, 30000));
    EXPECT_EQ(State(view, "49"), LINK100);
    EXPECT_EQ(State(view, "L49"), LINK100);
    EXPECT_TRUE(WaitFor([&] { return host.paints >= 2; }));
    view.StopRefresh();
    EXPECT_FALSE(view.IsRunning());
}

// An object the switch lacks or refuses blanks that element alone; the
// rest of the panel keeps its values and no "no answer" is shown.
TEST_F(PanelOverSnmp, MissingObjectBlanksOnlyItsElement)
{
    struct Case { const char* what; std::string command; const char* id; };
    const Case cases[] = {
        {"object missing", "unset " + kLink + "5", "5"},
        {"error status", "error " + kLink + "7 genErr", "7"},
        {"medium of an SFP port missing", "unset " + kMedium + "49", "49"},
        {"lamp object missing", "unset " + kPrivate + ".1.15.2.0", "SYS"},
        {"lamp object refused", "error " + kPrivate + ".1.15.2.0 genErr", "SYS"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("reset"));
        CPanelView view(Resources());
        PanelHost host(view);
        ASSERT_TRUE(view.Init(&host, true));
        ASSERT_TRUE(sim->command(c.command)) << c.what;
        EXPECT_TRUE(view.RefreshOnce()) << c.what;
        EXPECT_EQ(State(view, c.id), UNKNOWN) << c.what;
        EXPECT_TRUE(Value(view, c.id).isEmpty()) << c.what;
        EXPECT_EQ(State(view, "1"), LINK1000) << c.what;
        EXPECT_EQ(State(view, "52"), LINKDOWN) << c.what;   // the pass went on past the gap
        EXPECT_EQ(State(view, "PWR"), ON) << c.what;
        EXPECT_TRUE(view.StatusText().isEmpty()) << c.what;
    }
}

// A switch that does not answer at all: the panel shows state 0 everywhere
// and says so, and comes back with the next answered pass.
TEST_F(PanelOverSnmp, SilentSwitchResetsThePanelAndSaysSo)
{
    CPanelView view(Resources());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    ASSERT_TRUE(view.RefreshOnce());
    ASSERT_TRUE(view.RefreshOnce());   // both copies hold values now
    ASSERT_TRUE(sim->command("drop all"));
    const int before = view.RequestCount();
    EXPECT_FALSE(view.RefreshOnce());
    EXPECT_EQ(view.RequestCount(), before + 1);   // the pass ends at the first silence
    EXPECT_EQ(view.StatusText(), QStringLiteral("No answer from 127.0.0.1"));
    for (const char* id : {"1", "9", "49", "L1", "PWR"})
        EXPECT_EQ(State(view, id), UNKNOWN) << id;
    const QImage silent = host.grab().toImage();
    host.grab().save(QStringLiteral(VELMARC_BINARY_DIR "/panel-silent.png"));

    ASSERT_TRUE(sim->command("drop off"));
    ASSERT_TRUE(view.RefreshOnce());
    EXPECT_TRUE(view.StatusText().isEmpty());
    EXPECT_EQ(State(view, "1"), LINK1000);
    EXPECT_NE(host.grab().toImage(), silent);
}

// Stopping during a pass waits for the read under way, not for the pass:
// with every answer 400 ms late a whole pass would take over 20 s.
TEST_F(PanelOverSnmp, StopDuringAPassReturnsAfterTheCurrentRead)
{
    CPanelView view(Resources());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    ASSERT_TRUE(sim->command("delay 400"));
    ASSERT_TRUE(view.StartRefresh(2000));
    ASSERT_TRUE(WaitFor([&] { return view.RequestCount() >= 2; }));
    QElapsedTimer timer;
    timer.start();
    view.StopRefresh();
    EXPECT_LT(timer.elapsed(), 1500);
    EXPECT_EQ(view.PassCount(), 0);   // a pass cut short is not shown
    const int requests = view.RequestCount();
    EXPECT_LE(requests, 4);
    ASSERT_TRUE(sim->command("delay 0"));
}

// After a reboot's silence the next passes show the ports again, over v1
// and over v3.
TEST_F(PanelOverSnmp, PanelComesBackAfterReboot)
{
    struct Case { const char* what; const SimUser* user; };
    const Case cases[] = {{"v1", nullptr}, {"v3", &SimulatedSwitch::Users()[1]}};
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("reset"));
        UseSimulatedSwitch(*sim);
        if (c.user)
            UseSimUser(*c.user);
        CPanelView view(Resources());
        PanelHost host(view);
        ASSERT_TRUE(view.Init(&host, true));
        ASSERT_TRUE(view.StartRefresh(100));
        ASSERT_TRUE(WaitFor([&] { return view.PassCount() >= 1; }, 30000)) << c.what;
        EXPECT_EQ(State(view, "1"), LINK1000) << c.what;
        const ToolResult reboot = RunSnmpTool(
            "snmpset", {"-v1", "-c", SimulatedSwitch::kWriteCommunity, sim->agent(), kPrivate + ".1.10.0", "i", "1"});
        ASSERT_EQ(reboot.exitCode, 0) << reboot.err;
        EXPECT_TRUE(WaitFor([&] { return !view.StatusText().isEmpty(); }, 30000)) << c.what;
        EXPECT_EQ(State(view, "1"), UNKNOWN) << c.what;
        EXPECT_TRUE(WaitFor([&] { return view.StatusText().isEmpty(); }, 30000)) << c.what;
        EXPECT_EQ(State(view, "1"), LINK1000) << c.what;
        EXPECT_EQ(State(view, "49"), LINK1000) << c.what;
        view.StopRefresh();
    }
}

// Lamps on a model without PoE alternate between their state picture and
// their state-0 picture, one pass each.
TEST_F(PanelOverSnmp, LampsBlinkOnModelsWithoutPoe)
{
    CPanelView view(Resources());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    const QPoint lamp(26 + 16 + 6, 62 + 6);   // the PWR lamp's centre
    QList<bool> green;
    for (int pass = 0; pass < 4; ++pass) {
        ASSERT_TRUE(view.RefreshOnce());
        const QColor c = host.grab().toImage().pixelColor(lamp);
        green << (c.green() > 150 && c.red() < 150);
    }
    EXPECT_EQ(green, QList<bool>({false, true, false, true}));
}

// A POWERMAX element compares the reading with PowerMaxThreshold: above it
// "2", otherwise (also for a text that is no number) "1".
TEST_F(PanelOverSnmp, PowerReadingAgainstThreshold)
{
    PanelFixtureFolder folder;
    folder.picture(QStringLiteral("c.png"), 40, 20, Qt::blue);
    folder.picture(QStringLiteral("l.png"), 4, 4, Qt::red);
    folder.config("[LAMP_POWERMAX]\nBMPON=1\nBMPERROR=2\n", "PowerMaxThreshold=7\n");
    folder.xml("<DEVICE><ID>D</ID><BMP>c.png</BMP><LAMP><ID>P</ID><TYPE>POWERMAX</TYPE><OID>.42.7.0</OID>"
               "<BMP>l.png</BMP><BMPON>l.png</BMPON><BMPERROR>l.png</BMPERROR></LAMP></DEVICE>");
    CPanelView view(folder.exeDir());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    struct Case { std::string set; const char* value; int state; };
    const Case cases[] = {
        {"i 7", "1", ON}, {"i 8", "2", ERROR}, {"s abc", "1", ON}, {"s 12W", "2", ERROR}, {"i 0", "1", ON},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("set " + kPrivate + ".42.7.0 " + c.set));
        ASSERT_TRUE(view.RefreshOnce());
        EXPECT_EQ(Value(view, "P"), QString::fromLatin1(c.value)) << c.set;
        EXPECT_EQ(State(view, "P"), c.state) << c.set;
    }
    // A reading the switch lacks blanks the lamp.
    ASSERT_TRUE(sim->command("unset " + kPrivate + ".42.7.0"));
    ASSERT_TRUE(view.RefreshOnce());
    EXPECT_EQ(State(view, "P"), UNKNOWN);
}

// The smaller models' panels (and the PoE model's) against switches of those
// models: the port count and the PoE flag reach the device facts and the SFP
// ports follow the copper ones.
TEST(PanelModels, SmallerModelsShowTheirPorts)
{
    EnsureTestApp();
    SnmpInit(qApp);
    struct Case { const char* model; int ports; const char* firstSfp; const char* lastSfp; bool poe; };
    const Case cases[] = {{"PQS-4400-28", 28, "25", "28", false},
                          {"PQS-4400-20", 20, "17", "20", false},
                          {"PQS-4400-28P", 28, "25", "28", true}};
    for (const Case& c : cases) {
        SimulatedSwitch::Options options;
        options.model = c.model;
        SimulatedSwitch sw(options);
        ASSERT_TRUE(sw.running()) << sw.error();
        UseSimulatedSwitch(sw);
        PanelFixtureFolder folder;
        const QString modelDir = QDir(folder.exeDir()).relativeFilePath(Resources() + "/" + c.model);
        folder.write(QStringLiteral("Config.ini"),
                     "[DeviceInfo]\nPath=" + modelDir.toUtf8() + "\nFile=" + QByteArray(c.model) + ".ini\n");
        CPanelView view(folder.exeDir());
        EXPECT_EQ(g_strDeviceName, QString::fromLatin1(c.model));
        EXPECT_EQ(g_nDevicePortNum, c.ports);
        EXPECT_EQ(g_bPoeModel, c.poe) << c.model;
        PanelHost host(view);
        ASSERT_TRUE(view.Init(&host, true)) << c.model;
        ASSERT_TRUE(view.RefreshOnce()) << c.model;
        EXPECT_EQ(view.RequestCount(), c.ports + 2) << c.model;
        int state = -1;
        QString value;
        ASSERT_TRUE(view.FrontState(QStringLiteral("1"), state, value));
        EXPECT_EQ(state, 9) << c.model;
        ASSERT_TRUE(view.FrontState(QString::fromLatin1(c.firstSfp), state, value));
        EXPECT_EQ(state, 9) << c.model;   // the first SFP port links at 1000M
        ASSERT_TRUE(view.FrontState(QString::fromLatin1(c.lastSfp), state, value));
        EXPECT_EQ(state, 6) << c.model;
        EXPECT_FALSE(view.FrontState(QString::number(c.ports + 1), state, value));
        host.grab().save(QStringLiteral(VELMARC_BINARY_DIR "/panel-%1.png").arg(QLatin1String(c.model)));
        ResetGlobalSettings();
    }
}

// A module picture that cannot be loaded during the refresh thread's passes
// is reported on the GUI thread once per file, not once per pass, and the
// thread never waits for the box.
TEST_F(PanelOverSnmp, ModuleLoadErrorFromTheThreadIsShownOnce)
{
    PanelFixtureFolder folder;
    folder.picture(QStringLiteral("c.png"), 40, 20, Qt::blue);
    folder.picture(QStringLiteral("bay.png"), 10, 10, Qt::gray);
    folder.config("[SLOT_BAY]\n8=Missing.xml\n");
    folder.xml("<DEVICE><ID>D</ID><BMP>c.png</BMP><SLOT><ID>1</ID><TYPE>BAY</TYPE><OID>.99.1</OID>"
               "<BMP>bay.png</BMP></SLOT></DEVICE>");
    ASSERT_TRUE(sim->command("set " + kPrivate + ".99.1 i 8"));
    MessageRecorder messages;
    messages.expect(QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Missing.xml")));
    CPanelView view(folder.exeDir());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    ASSERT_TRUE(view.StartRefresh(100));
    ASSERT_TRUE(WaitFor([&] { return view.PassCount() >= 3 && !messages.texts().isEmpty(); }, 30000));
    view.StopRefresh();
    QApplication::processEvents();
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Missing.xml"))}));
}
