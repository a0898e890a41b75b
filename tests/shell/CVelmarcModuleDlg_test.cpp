#include "CAboutDlg.h"
#include "CSingleInstance.h"
#include "CVelmarcModuleDlg.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const char* const kSaveObject = "1.3.6.1.4.1.32473.10.126.4.1.1.11.0";
const char* const kRebootObject = "1.3.6.1.4.1.32473.10.126.4.1.1.10.0";
const char* const kFirmwareStatus = "1.3.6.1.4.1.32473.10.126.4.1.3.9.6.0";

// Every command of the menu bar as "popup/popup/text=id", in menu order.
QStringList FlattenMenu(const QList<QAction*>& actions, const QString& path = QString())
{
    QStringList lines;
    for (QAction* action : actions) {
        if (QMenu* popup = action->menu())
            lines << FlattenMenu(popup->actions(), path + popup->title() + u'/');
        else
            lines << path + action->text() + u'=' + QString::number(action->data().toInt());
    }
    return lines;
}

// A management dialog stand-in: records how the main window looked while
// it ran, then closes itself.
struct Probe
{
    int opened = 0;
    bool mainVisible = true;
    bool mainMinimised = false;
    std::function<void()> whileOpen;

    DialogFactory Factory(QWidget* main)
    {
        return [this, main]() {
            auto dialog = std::make_unique<QDialog>();
            QDialog* raw = dialog.get();
            QTimer::singleShot(0, raw, [this, raw, main]() {
                ++opened;
                mainVisible = main->isVisible();
                mainMinimised = main->isMinimized();
                if (whileOpen)
                    whileOpen();
                raw->accept();
            });
            return dialog;
        };
    }
};

// The front panel's files as the build puts them beside the program.
QString PanelDir()
{
    return QStringLiteral(VELMARC_BINARY_DIR "/shell");
}

// The main window with the panel's hit test replaced by a script, so that
// a click's handling can be told from the panel's drawing.
class HitDlg : public CVelmarcModuleDlg
{
public:
    HitDlg() : CVelmarcModuleDlg(nullptr, PanelDir()) {}
    bool busy = false;
    QMap<QString, QString> under;

protected:
    bool PanelHitTest(const QPoint&, QMap<QString, QString>& result) override
    {
        if (busy)
            return false;
        result = under;
        return true;
    }
};

class MainDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SnmpInit(EnsureTestApp());
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral("10.1.2.3");
        // Nothing answers there: the panel's reads give up soon, so closing
        // a window never waits long for the read under way.
        g_strSnmpTimeout = QStringLiteral("200");
    }
    void TearDown() override { ResetGlobalSettings(); }
};

// The model name is a device fact the window reads when it opens (the
// panel's configuration writes it while the window is built).
void Open(CVelmarcModuleDlg& dlg, const QString& model)
{
    g_strDeviceName = model;
    dlg.show();
}

QWidget* PanelArea(QWidget* dialog)
{
    return dialog->findChild<QWidget*>(QStringLiteral("panelArea"));
}

void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& at)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

// Every popup, item text (blanks and the "&" included) and command id of
// the menu, in order, on a PoE model that prunes nothing. Catches a lost
// trailing blank, a swapped id or an item in the wrong popup.
TEST_F(MainDlgTest, MenuHoldsEveryCommand)
{
    CVelmarcModuleDlg dlg(nullptr, PanelDir());
    Open(dlg, QStringLiteral("PQS-4400-52P"));
    const QString dm = QStringLiteral("Device Manager   /");
    const QStringList expected = {
        dm + "System/Port Configuration=32774",
        dm + "System/Syslog Host Configuration=32832",
        dm + "System/Time Profile Settings=32855",
        dm + "System/Power Saving Settings=32856",
        dm + "VLAN/VLAN Configuration=32834",
        dm + "VLAN/GVRP/GVRP Global Settings=32835",
        dm + "VLAN/GVRP/GVRP Port Settings=32836",
        dm + "VLAN/Auto Surveillance VLAN Setting =32828",
        dm + "L2 Function/Jumbo Frame Configuration=32817",
        dm + "L2 Function/Port Mirroring Settings=32854",
        dm + "L2 Function/Spanning Tree=32813",
        dm + "L2 Function/Trunk Configuration=32818",
        dm + "L2 Function/Multicast Filtering Mode configuration=32830",
        dm + "L2 Function/IGMP Snooping Configuration=32837",
        dm + "L3 Function/IP Interface Settings=32838",
        dm + "L3 Function/Static Route Settings=32847",
        dm + "L3 Function/Static ARP Settings=32848",
        dm + "L3 Function/Gratuitous ARP Global Settings=32849",
        dm + "Qos/Bandwidth Control=32850",
        dm + "Security/ARP Spoofing Prevention Setting=32833",
        dm + "Security/DHCP Server Screening Port Configuration=32829",
        dm + "Security/Traffic Segmentation Settings=32851",
        dm + "Security/Storm Control Settings=32853",
        dm + "AAA/802.1X Global Settings =32859",
        dm + "AAA/802.1X Port Configuration=32792",
        dm + "AAA/802.1X User=23698",
        dm + "AAA/802.1X Authentication RADIUS=23984",
        dm + "SNMP/SNMP Global State=32839",
        dm + "SNMP/SNMP User Table=32841",
        dm + "SNMP/SNMP Group Table=32842",
        dm + "SNMP/SNMP View Table=32843",
        dm + "SNMP/SNMP Community Table=32844",
        dm + "SNMP/SNMP Host Table=32840",
        dm + "SNMP/SNMP Engine ID=32845",
        dm + "SNMP/SNMP Trap Configuration=32846",
        dm + "PoE/PoE Global Settings=32860",
        dm + "PoE/PoE Port Settings =32852",
        "Public MIB   /System Information=32805",
        "Public MIB   /In&terface Table=32809",
        "Public MIB   /IP Table=32808",
        "Public MIB   /Forwarding Table=32810",
        "Public MIB   /TCP Service=32811",
        "Public MIB   /UDP Service=32812",
        "Tools   /Firmware and Configuration Upgrade/Backup=32823",
        "Tools   /Save Configuration=32815",
        "Tools   /Reboot=32797",
        "Tools   /Telnet=32788",
        "Tools   /Web=32789",
        "About   /About PQS-4400-52P=57664",
    };
    EXPECT_EQ(FlattenMenu(dlg.MenuBar()->actions()), expected);

    // Every dialog command of the menu has its entry in the one table.
    for (const QString& line : expected) {
        const int id = line.section(u'=', -1).toInt();
        if (id != ID_SAVE_CONFIGURATION && id != ID_REBOOT && id != ID_TELNET && id != ID_WEB) {
            EXPECT_NE(dlg.CommandTable().Find(id), nullptr) << line.toStdString();
        }
    }
}

// Pruning by model name: no PoE removes "PoE Port Settings " and the whole
// "PoE" popup; "RVX" (exact case) removes "Jumbo Frame Configuration".
// Catches pruning by the family's own "P", a case-blind "RVX" test and a
// popup removed at the wrong position.
TEST_F(MainDlgTest, MenuPruningByModelName)
{
    struct Case { const char* model; bool poe; bool jumbo; };
    const Case cases[] = {
        {"PQS-4400-52", false, true},
        {"PQS-4400-52P", true, true},
        {"PQS-4400-52RVX", false, false},
        {"PQS-4400-28P-RVX", true, false},
        {"PQS-4400-28P-rvx", true, true},
        {"", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        Open(dlg, QString::fromLatin1(c.model));
        const QStringList menu = FlattenMenu(dlg.MenuBar()->actions());
        const QStringList poe = menu.filter(QStringLiteral("/PoE/"));
        EXPECT_EQ(poe.size(), c.poe ? 2 : 0);
        EXPECT_EQ(dlg.FindCommandAction(ID_POE_PORT) != nullptr, c.poe);
        EXPECT_EQ(dlg.FindCommandAction(ID_POE_GLOBAL) != nullptr, c.poe);
        EXPECT_EQ(dlg.FindCommandAction(ID_JUMBO_FRAME) != nullptr, c.jumbo);
        // Nothing else goes: the SNMP popup before the PoE one stays whole.
        EXPECT_EQ(menu.filter(QStringLiteral("/SNMP/")).size(), 8);
        EXPECT_EQ(menu.size(), 49 - (c.poe ? 0 : 2) - (c.jumbo ? 0 : 1));
    }
}

// Title, About item and About box from the model name, also when there is
// none (no device INI): nothing is left of the template text.
TEST_F(MainDlgTest, TitlesFollowTheModelName)
{
    struct Case { const char* model; const char* title; const char* item; const char* caption; const char* text; };
    const Case cases[] = {
        {"PQS-4400-52", "PQS-4400-52: 10.1.2.3", "About PQS-4400-52", "PQS-4400-52 Module", "PQS-4400-52 Management Module"},
        {"", ": 10.1.2.3", "About ", " Module", " Management Module"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        Open(dlg, QString::fromLatin1(c.model));
        EXPECT_EQ(dlg.windowTitle(), QString::fromLatin1(c.title));
        ASSERT_NE(dlg.FindCommandAction(ID_APP_ABOUT), nullptr);
        EXPECT_EQ(dlg.FindCommandAction(ID_APP_ABOUT)->text(), QString::fromLatin1(c.item));
        EXPECT_FALSE(dlg.windowIcon().isNull());

        CAboutDlg about;
        about.show();
        EXPECT_EQ(about.windowTitle(), QString::fromLatin1(c.caption));
        auto* name = qobject_cast<QLabel*>(GetDlgItem(&about, CAboutDlg::IDC_MODULE_NAME));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QString::fromLatin1(c.text));
    }
}

// A command without a dialog yet is in the menu but disabled and opens
// nothing; giving it a factory enables it. Device commands and the About
// box are always there to choose.
TEST_F(MainDlgTest, CommandsWithoutDialogStayDisabled)
{
    CVelmarcModuleDlg dlg(nullptr, PanelDir());
    Probe probe;
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_VLAN_CONFIGURATION, probe.Factory(&dlg)));
    // Whatever has been built by now: these two have no dialog here.
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_PORT_MIRRORING, {}));
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_SNMP_HOST, {}));
    Open(dlg, QStringLiteral("PQS-4400-52P"));
    EXPECT_TRUE(dlg.FindCommandAction(ID_VLAN_CONFIGURATION)->isEnabled());
    EXPECT_FALSE(dlg.FindCommandAction(ID_PORT_MIRRORING)->isEnabled());
    EXPECT_FALSE(dlg.FindCommandAction(ID_SNMP_HOST)->isEnabled());
    for (int id : {int(ID_SAVE_CONFIGURATION), int(ID_REBOOT), int(ID_TELNET), int(ID_WEB), int(ID_APP_ABOUT)})
        EXPECT_TRUE(dlg.FindCommandAction(id)->isEnabled()) << id;
    EXPECT_FALSE(dlg.OnCommand(ID_PORT_MIRRORING));
    EXPECT_FALSE(dlg.OnCommand(12345));
    dlg.FindCommandAction(ID_VLAN_CONFIGURATION)->trigger();
    EXPECT_EQ(probe.opened, 1);
}

// A management dialog runs with the main window hidden and minimised, and
// the window is back in its normal state afterwards; the SNMP host table
// runs beside the visible window. Commands no menu sends are reachable from
// code; the PoE-only ones are refused on a model without PoE.
TEST_F(MainDlgTest, DialogsRunWithTheMainWindowOutOfTheWay)
{
    struct Case { const char* why; const char* model; int id; bool runs; bool hidden; };
    const Case cases[] = {
        {"menu command hides", "PQS-4400-52", ID_VLAN_CONFIGURATION, true, true},
        {"host table keeps the window", "PQS-4400-52", ID_SNMP_HOST, true, false},
        {"no menu sends it", "PQS-4400-52", ID_DEVICE_CONFIGURATION, true, true},
        {"LLDP on a PoE model", "PQS-4400-52P", ID_LLDP_MED, true, true},
        {"LLDP pruned without PoE", "PQS-4400-52", ID_LLDP_MED, false, false},
        {"PoE port pruned without PoE", "PQS-4400-52", ID_POE_PORT, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        Probe probe;
        ASSERT_TRUE(dlg.CommandTable().SetFactory(c.id, probe.Factory(&dlg)));
        Open(dlg, QString::fromLatin1(c.model));
        EXPECT_EQ(dlg.OnCommand(c.id), c.runs);
        EXPECT_EQ(probe.opened, c.runs ? 1 : 0);
        if (c.runs) {
            EXPECT_EQ(probe.mainVisible, !c.hidden);
            EXPECT_EQ(probe.mainMinimised, c.hidden);
        }
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_FALSE(dlg.isMinimized());
    }
}

// The About command follows the common pattern with the real About box;
// the window menu's About runs it beside the window.
TEST_F(MainDlgTest, AboutBoxOpensFromBothPlaces)
{
    CVelmarcModuleDlg dlg(nullptr, PanelDir());
    Open(dlg, QStringLiteral("PQS-4400-52"));
    for (bool fromMenu : {true, false}) {
        SCOPED_TRACE(fromMenu);
        bool seen = false;
        bool mainVisible = true;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&]() {
            if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
                seen = true;
                mainVisible = dlg.isVisible();
                about->accept();
            }
        });
        closer.start(10);
        if (fromMenu)
            dlg.FindCommandAction(ID_APP_ABOUT)->trigger();
        else
            dlg.OnSysCommand(IDM_ABOUTBOX | 0x2);
        EXPECT_TRUE(seen);
        EXPECT_EQ(mainVisible, !fromMenu);
        EXPECT_TRUE(dlg.isVisible());
    }
}

// A click on a port opens the port settings command; a click anywhere else,
// or while the panel is busy, opens nothing. The cursor is a hand over a
// port only, and left alone while the panel is busy.
TEST_F(MainDlgTest, PortClickOpensPortSettings)
{
    HitDlg dlg;
    Probe probe;
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_PORT_CONFIGURATION, probe.Factory(&dlg)));
    Open(dlg, QStringLiteral("PQS-4400-52"));
    QWidget* area = PanelArea(&dlg);
    ASSERT_NE(area, nullptr);

    struct Case { const char* why; bool busy; QMap<QString, QString> under; int opens; Qt::CursorShape cursor; };
    const Case cases[] = {
        {"port", false, {{"DEVICE", "PQS"}, {"PORT", "Port 7"}}, 1, Qt::PointingHandCursor},
        {"LED", false, {{"DEVICE", "PQS"}, {"LED", "LED 7"}}, 0, Qt::ArrowCursor},
        {"outside", false, {}, 0, Qt::ArrowCursor},
        {"busy over a port", true, {{"PORT", "Port 7"}}, 0, Qt::PointingHandCursor},
    };
    area->setCursor(Qt::ArrowCursor);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        dlg.busy = c.busy;
        dlg.under = c.under;
        if (!c.busy)
            area->unsetCursor();
        else
            area->setCursor(Qt::PointingHandCursor);   // as left by the move before
        SendMouse(area, QEvent::MouseMove, {20, 20});
        EXPECT_EQ(area->cursor().shape(), c.cursor);
        probe.opened = 0;
        SendMouse(area, QEvent::MouseButtonPress, {20, 20});
        SendMouse(area, QEvent::MouseButtonRelease, {20, 20});
        EXPECT_EQ(probe.opened, c.opens);
        if (c.opens) {
            EXPECT_TRUE(probe.mainMinimised);
        }
    }
}

// The same over the real panel: a click where the drawn panel shows a port
// opens the port settings, a click on the panel beside the ports opens
// nothing, and the cursor is a hand over the port only.
TEST_F(MainDlgTest, ClickOnTheDrawnPanel)
{
    CVelmarcModuleDlg dlg(nullptr, PanelDir());
    Probe probe;
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_PORT_CONFIGURATION, probe.Factory(&dlg)));
    Open(dlg, QStringLiteral("PQS-4400-52"));
    QWidget* area = PanelArea(&dlg);
    ASSERT_NE(area, nullptr);
    // Hit testing uses the rectangles of the last paint of the copy on
    // screen: paint once the first pass has exchanged the copies (the next
    // exchange is a refresh period away).
    ASSERT_TRUE(WaitFor([&]() { return dlg.Panel().PassCount() >= 1; }));
    area->repaint();

    // One point over a port and one over the panel but on no port.
    QPoint port(-1, -1), beside(-1, -1);
    for (int y = 0; y < area->height() && (port.x() < 0 || beside.x() < 0); y += 3) {
        for (int x = 0; x < area->width(); x += 3) {
            QMap<QString, QString> under;
            if (!dlg.Panel().HitTest({x, y}, under))
                continue;
            if (port.x() < 0 && under.contains(QStringLiteral("PORT")))
                port = {x, y};
            else if (beside.x() < 0 && under.contains(QStringLiteral("DEVICE")) && under.size() == 1)
                beside = {x, y};
        }
    }
    ASSERT_GE(port.x(), 0) << "no port drawn";
    ASSERT_GE(beside.x(), 0) << "no bare panel drawn";

    SendMouse(area, QEvent::MouseMove, beside);
    EXPECT_NE(area->cursor().shape(), Qt::PointingHandCursor);
    SendMouse(area, QEvent::MouseButtonPress, beside);
    EXPECT_EQ(probe.opened, 0);
    SendMouse(area, QEvent::MouseMove, port);
    EXPECT_EQ(area->cursor().shape(), Qt::PointingHandCursor);
    SendMouse(area, QEvent::MouseButtonPress, port);
    EXPECT_EQ(probe.opened, 1);
    EXPECT_TRUE(probe.mainMinimised);
    EXPECT_TRUE(dlg.isVisible());
}

// A second start for the same device brings the window forward in its
// normal state, also while it is hidden and minimised behind a management
// dialog.
TEST_F(MainDlgTest, SecondStartBringsTheWindowForward)
{
    QTemporaryDir runtime;
    CSingleInstance running(QStringLiteral("Module:test-activation"), runtime.path());
    ASSERT_TRUE(running.Acquire());
    CVelmarcModuleDlg dlg(nullptr, PanelDir());
    QObject::connect(&running, &CSingleInstance::activateRequested, &dlg, &CVelmarcModuleDlg::OnModuleActivate);
    Probe probe;
    bool cameForward = false;
    probe.whileOpen = [&]() {
        CSingleInstance second(QStringLiteral("Module:test-activation"), runtime.path());
        EXPECT_FALSE(second.Acquire());
        cameForward = WaitFor([&]() { return dlg.isVisible() && !dlg.isMinimized(); });
    };
    ASSERT_TRUE(dlg.CommandTable().SetFactory(ID_VLAN_CONFIGURATION, probe.Factory(&dlg)));
    Open(dlg, QStringLiteral("PQS-4400-52"));
    dlg.showMinimized();
    EXPECT_TRUE(dlg.OnCommand(ID_VLAN_CONFIGURATION));
    EXPECT_TRUE(probe.mainMinimised);
    EXPECT_TRUE(cameForward);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isMinimized());
}

// The real program: a second start ends at once and the first window comes
// forward (its log says so once the window is visible and not minimised).
TEST(MainDlgProgram, SecondStartBringsTheRunningWindowForward)
{
    const QString program = QStringLiteral(VELMARC_BINARY_DIR "/shell/velmarc-module");
    ASSERT_TRUE(QFile::exists(program));
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
    // Nothing answers on this port: the window must come forward anyway.
    const QStringList args = {"/x1", "/I", "127.0.0.1", "/r", "tundra", "/w", "harbors", "/p", "TRUE", "/v", "1", "/o", "9"};

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, args);
    ASSERT_TRUE(first.waitForStarted());
    QByteArray log;
    const auto readUntil = [&](const char* text, int ms) {
        QElapsedTimer timer;
        timer.start();
        while (!log.contains(text) && timer.elapsed() < ms && first.state() == QProcess::Running) {
            first.waitForReadyRead(50);
            log += first.readAllStandardError();
        }
        return log.contains(text);
    };
    // The lock is taken before the window opens; wait for the window.
    QElapsedTimer timer;
    timer.start();
    while (QDir(runtime.path()).entryList({"*.lock"}, QDir::Files).isEmpty() && timer.elapsed() < 10000)
        QThread::msleep(20);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, args);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(readUntil("main window brought forward: visible, normal", 10000)) << log.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished();
    }
}

// ---- Device commands against the simulated switch ----

class DeviceCommandTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        sim.clearLog();
    }
    void TearDown() override { ResetGlobalSettings(); }
};

// Every way the window closes stops the panel's refresh: the close box,
// Escape, the dialog ending, and the window simply being destroyed (the
// program ending). After each, the switch sees no further request.
TEST_F(DeviceCommandTest, ClosingStopsTheRefresh)
{
    struct Case { const char* why; std::function<void(CVelmarcModuleDlg&)> close; };
    const Case cases[] = {
        {"close box", [](CVelmarcModuleDlg& dlg) { dlg.close(); }},
        {"Escape", [](CVelmarcModuleDlg& dlg) {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&dlg, &key);
         }},
        {"dialog ends", [](CVelmarcModuleDlg& dlg) { dlg.accept(); }},
        {"destroyed", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        sim.clearLog();
        {
            CVelmarcModuleDlg dlg(nullptr, PanelDir());
            dlg.SetRefreshInterval(100);
            Open(dlg, QStringLiteral("PQS-4400-52"));
            // A few passes, so a refresh is under way or due any moment.
            ASSERT_TRUE(WaitFor([&]() { return dlg.Panel().PassCount() >= 2; }));
            if (c.close) {
                c.close(dlg);
                EXPECT_FALSE(dlg.isVisible());
                EXPECT_FALSE(dlg.Panel().IsRunning());
            }
        }
        const size_t seen = sim.requests().size();
        EXPECT_GT(seen, 0u);
        // An observation window of five refresh periods: a refresh still
        // running would have read in it.
        WaitFor([]() { return false; }, 500);
        EXPECT_EQ(sim.requests().size(), seen);
    }
}

// Save is one set of the save object to integer 1 with the write
// community; only an answer with error status 0 is a success. A refused
// set and a silent switch both say "Failed!"; Cancel sends nothing.
TEST_F(DeviceCommandTest, SaveConfiguration)
{
    struct Case { const char* why; int answer; const char* fault; const QString& message; size_t sets; };
    const Case cases[] = {
        {"saved", IDOK, nullptr, CVelmarcModuleDlg::kSaveSuccess, 1},
        {"refused", IDOK, "error 1.3.6.1.4.1.32473.10.126.4.1.1.11.0 genErr", CVelmarcModuleDlg::kSaveFailed, 1},
        {"no answer", IDOK, "drop all", CVelmarcModuleDlg::kSaveFailed, 1},
        {"cancelled", IDCANCEL, nullptr, QString(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(sim.command("reset"));
        if (c.fault) {
            ASSERT_TRUE(sim.command(c.fault));
        }
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Do you want to save the configuration?"), c.answer);
        if (!c.message.isEmpty())
            recorder.expect(c.message);
        dlg.setWindowTitle(QStringLiteral("PQS-4400-52: 127.0.0.1"));
        dlg.OnCommand(ID_SAVE_CONFIGURATION);
        // Every box carries the main window's title, as a dialog's carry the dialog's.
        for (const MessageRequest& r : recorder.requests())
            EXPECT_EQ(r.title, QStringLiteral("PQS-4400-52: 127.0.0.1")) << r.text.toStdString();

        ASSERT_GE(recorder.requests().size(), 1);
        const MessageRequest& ask = recorder.requests()[0];
        EXPECT_EQ(ask.text, QStringLiteral("Do you want to save the configuration?"));
        EXPECT_EQ(ask.buttons, MessageButtons::OkCancel);
        EXPECT_EQ(ask.icon, MessageIcon::Question);
        EXPECT_EQ(ask.defaultAnswer, IDCANCEL);
        if (c.message.isEmpty()) {
            EXPECT_EQ(recorder.requests().size(), 1);
            EXPECT_TRUE(sim.requests().empty());
        } else {
            ASSERT_EQ(recorder.requests().size(), 2);
            EXPECT_EQ(recorder.requests()[1].text, c.message);
            EXPECT_EQ(recorder.requests()[1].parent, &dlg);
        }
        const std::vector<SimRequest> sets = sim.sets();
        ASSERT_EQ(sets.size(), c.sets);
        if (c.sets) {
            EXPECT_EQ(sim.requests().size(), 1u);
            ASSERT_EQ(sets[0].varbinds.size(), 1u);
            EXPECT_EQ(sets[0].varbinds[0].oid, kSaveObject);
            EXPECT_EQ(sets[0].varbinds[0].type, "INTEGER");
            EXPECT_EQ(sets[0].varbinds[0].value, "1");
            EXPECT_EQ(sets[0].community, SimulatedSwitch::kWriteCommunity);
        }
    }
}

// Reboot: Cancel sends nothing; a busy switch refuses with the transfer
// message after nothing but the guard's get; an idle one gets the guard's
// get and one set of the reboot object.
TEST_F(DeviceCommandTest, Reboot)
{
    struct Case { const char* why; int answer; bool busy; std::vector<std::string> pdus; QStringList messages; };
    const QString ask = QStringLiteral("Do you want to reboot the device?");
    const Case cases[] = {
        {"cancelled", IDCANCEL, false, {}, {ask}},
        {"busy", IDOK, true, {"get"}, {ask, "FW upgrade/backup or config backup/restore is already progressing. "}},
        {"idle", IDOK, false, {"get", "set"}, {ask}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(sim.command("reset"));
        if (c.busy) {
            ASSERT_TRUE(sim.command(std::string("set ") + kFirmwareStatus + " i 3"));
        }
        sim.clearLog();
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        MessageRecorder recorder;
        for (int i = 0; i < c.messages.size(); ++i)
            recorder.expect(c.messages[i], i == 0 ? c.answer : IDOK);
        dlg.setWindowTitle(QStringLiteral("PQS-4400-52: 127.0.0.1"));
        dlg.FindCommandAction(ID_REBOOT)->trigger();
        EXPECT_EQ(recorder.texts(), c.messages);
        for (const MessageRequest& r : recorder.requests())
            EXPECT_EQ(r.title, QStringLiteral("PQS-4400-52: 127.0.0.1")) << r.text.toStdString();
        const std::vector<SimRequest> requests = sim.requests();
        std::vector<std::string> pdus;
        for (const SimRequest& r : requests)
            pdus.push_back(r.pdu);
        EXPECT_EQ(pdus, c.pdus);
        if (pdus.size() == 2) {
            ASSERT_EQ(requests[1].varbinds.size(), 1u);
            EXPECT_EQ(requests[1].varbinds[0].oid, kRebootObject);
            EXPECT_EQ(requests[1].varbinds[0].value, "1");
            EXPECT_EQ(requests[1].community, SimulatedSwitch::kWriteCommunity);
        }
    }
}

// ---- Telnet and web browser ----

namespace {

// A folder of stand-in programs put first on PATH, and a desktop set-up
// naming a default browser (or none) for the test's lifetime.
class FakeDesktop
{
public:
    FakeDesktop()
        : m_oldPath(qgetenv("PATH"))
        , m_oldTerminal(qgetenv("TERMINAL"))
        , m_oldDataHome(qgetenv("XDG_DATA_HOME"))
        , m_oldDataDirs(qgetenv("XDG_DATA_DIRS"))
        , m_oldConfigHome(qgetenv("XDG_CONFIG_HOME"))
        , m_oldConfigDirs(qgetenv("XDG_CONFIG_DIRS"))
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("data/applications"));
        QDir(m_dir.path()).mkpath(QStringLiteral("config"));
        // Only the stand-ins: no terminal, telnet or browser of the machine.
        qputenv("PATH", bin().toLocal8Bit());
        qunsetenv("TERMINAL");
        qputenv("XDG_DATA_HOME", (m_dir.path() + "/data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (m_dir.path() + "/data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", (m_dir.path() + "/config").toLocal8Bit());
    }
    ~FakeDesktop()
    {
        restore("PATH", m_oldPath);
        restore("TERMINAL", m_oldTerminal);
        restore("XDG_DATA_HOME", m_oldDataHome);
        restore("XDG_DATA_DIRS", m_oldDataDirs);
        restore("XDG_CONFIG_HOME", m_oldConfigHome);
        restore("XDG_CONFIG_DIRS", m_oldConfigDirs);
    }
    QString bin() const { return m_dir.path() + "/bin"; }
    QString program(const QString& name) const
    {
        const QString path = bin() + u'/' + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    void defaultBrowser(const QString& program) const
    {
        QFile entry(m_dir.path() + "/data/applications/fakebrowser.desktop");
        entry.open(QIODevice::WriteOnly);
        entry.write(("[Desktop Entry]\nType=Application\nName=Fake\nExec=" + program + " %u\n").toUtf8());
        QFile list(m_dir.path() + "/config/mimeapps.list");
        list.open(QIODevice::WriteOnly);
        list.write("[Default Applications]\nx-scheme-handler/http=fakebrowser.desktop\n");
    }

private:
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QTemporaryDir m_dir;
    QByteArray m_oldPath, m_oldTerminal, m_oldDataHome, m_oldDataDirs, m_oldConfigHome, m_oldConfigDirs;
};

struct Launch
{
    QString program;
    QStringList arguments;
};

// Records each start; a failing start answers "cannot run".
CVelmarcModuleDlg::Launcher RecordingLauncher(std::vector<Launch>& launches, bool starts)
{
    return [&launches, starts](const QString& program, const QStringList& arguments, QString& error) {
        launches.push_back({program, arguments});
        error = QStringLiteral("cannot run");
        return starts;
    };
}

} // namespace

// Telnet runs in a terminal emulator ($TERMINAL first, then
// x-terminal-emulator, then xterm) as argv, never through a shell; a
// missing terminal or telnet, or a start that fails, is said in a message
// box. Cancel starts nothing.
TEST_F(MainDlgTest, TelnetStartsATerminal)
{
    struct Case
    {
        const char* why;
        QStringList programs;      // stand-ins on PATH
        const char* terminalEnv;
        int answer;
        bool launchFails;
        const char* expectedTerminal;   // null: nothing launched
        QString message;
    };
    const Case cases[] = {
        {"$TERMINAL first", {"telnet", "xterm", "x-terminal-emulator", "myterm"}, "myterm", IDOK, false, "myterm", {}},
        {"x-terminal-emulator next", {"telnet", "xterm", "x-terminal-emulator"}, "missingterm", IDOK, false, "x-terminal-emulator", {}},
        {"xterm last", {"telnet", "xterm"}, nullptr, IDOK, false, "xterm", {}},
        {"cancelled", {"telnet", "xterm"}, nullptr, IDCANCEL, false, nullptr, {}},
        {"no terminal", {"telnet"}, nullptr, IDOK, false, nullptr,
         "Failed to start telnet: no terminal emulator found ($TERMINAL, x-terminal-emulator, xterm) !"},
        {"no telnet", {"xterm"}, nullptr, IDOK, false, nullptr,
         "Failed to start telnet: the telnet program is not installed !"},
        {"start fails", {"telnet", "xterm"}, nullptr, IDOK, true, "xterm", "Failed to start telnet in %1: cannot run !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        FakeDesktop desktop;
        for (const QString& name : c.programs)
            desktop.program(name);
        if (c.terminalEnv)
            qputenv("TERMINAL", c.terminalEnv);
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        std::vector<Launch> launches;
        dlg.SetLauncher(RecordingLauncher(launches, !c.launchFails));
        QStringList expected{QStringLiteral("Do you want to TELNET this device?")};
        if (!c.message.isEmpty())
            expected << QString(c.message).replace(QStringLiteral("%1"), desktop.bin() + "/xterm");
        MessageRecorder recorder;
        for (int i = 0; i < expected.size(); ++i)
            recorder.expect(expected[i], i == 0 ? c.answer : IDOK);
        dlg.setWindowTitle(QStringLiteral("PQS-4400-52: 10.1.2.3"));
        dlg.FindCommandAction(ID_TELNET)->trigger();
        for (const MessageRequest& r : recorder.requests())
            EXPECT_EQ(r.title, QStringLiteral("PQS-4400-52: 10.1.2.3")) << r.text.toStdString();

        EXPECT_EQ(recorder.texts(), expected);
        if (!c.expectedTerminal) {
            EXPECT_TRUE(launches.empty());
        } else {
            ASSERT_EQ(launches.size(), 1u);
            const QString terminal = desktop.bin() + u'/' + QString::fromLatin1(c.expectedTerminal);
            EXPECT_EQ(launches[0].program, terminal);
            EXPECT_EQ(launches[0].arguments, QStringList({"-e", desktop.bin() + "/telnet", "10.1.2.3"}));
        }
    }
}

// Web opens the desktop's default browser on "http://" + address; with no
// default browser the fixed message and nothing started; a browser that
// cannot start is said; Cancel starts nothing.
TEST_F(MainDlgTest, WebOpensTheDefaultBrowser)
{
    struct Case { const char* why; bool browser; int answer; bool launchFails; bool launched; QString message; };
    const Case cases[] = {
        {"default browser", true, IDOK, false, true, {}},
        {"none", false, IDOK, false, false, "Failed to get IE path !"},
        {"cancelled", true, IDCANCEL, false, false, {}},
        {"start fails", true, IDOK, true, true, "Failed to start the web browser %1: cannot run !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        FakeDesktop desktop;
        const QString browser = desktop.program(QStringLiteral("fakebrowser"));
        if (c.browser)
            desktop.defaultBrowser(browser);
        CVelmarcModuleDlg dlg(nullptr, PanelDir());
        std::vector<Launch> launches;
        dlg.SetLauncher(RecordingLauncher(launches, !c.launchFails));
        QStringList expected{QStringLiteral("Do you want to access this device with browser?")};
        if (!c.message.isEmpty())
            expected << QString(c.message).replace(QStringLiteral("%1"), browser);
        MessageRecorder recorder;
        for (int i = 0; i < expected.size(); ++i)
            recorder.expect(expected[i], i == 0 ? c.answer : IDOK);
        dlg.setWindowTitle(QStringLiteral("PQS-4400-52: 10.1.2.3"));
        dlg.FindCommandAction(ID_WEB)->trigger();
        for (const MessageRequest& r : recorder.requests())
            EXPECT_EQ(r.title, QStringLiteral("PQS-4400-52: 10.1.2.3")) << r.text.toStdString();

        EXPECT_EQ(recorder.texts(), expected);
        if (c.launched) {
            ASSERT_EQ(launches.size(), 1u);
            EXPECT_EQ(launches[0].program, browser);
            EXPECT_EQ(launches[0].arguments, QStringList{"http://10.1.2.3"});
        } else {
            EXPECT_TRUE(launches.empty());
        }
    }
}

// The program's own launcher starts a real program detached and reports a
// program that cannot start.
TEST(MainDlgLauncher, StartDetachedReportsFailure)
{
    QString error;
    EXPECT_TRUE(CVelmarcModuleDlg::StartDetached(QStringLiteral("/bin/true"), {}, error));
    EXPECT_FALSE(CVelmarcModuleDlg::StartDetached(QStringLiteral("/nonexistent/program"), {}, error));
    EXPECT_FALSE(error.isEmpty());
}
