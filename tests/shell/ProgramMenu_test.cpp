// The program as a user meets it: the real main window in its own main
// loop (the one the program runs), with the real command table and the real
// dialogs, against the simulated switch. Every enabled command of the menu is
// triggered as the menu does it; its dialog must read the switch and, once
// closed (Escape, the close box or its Close/Cancel button, in turn), the
// program must still run with the main window back where it was. A command
// joins this test by having a factory in the command table.

#include "CCommandTable.h"
#include "CListCtrlEx.h"
#include "CPortSetInfo.h"
#include "CVelmarcModuleDlg.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A folder with Config.ini naming one model and that model's panel files
// (as the build puts them beside the program).
class ModelFolder
{
public:
    explicit ModelFolder(const QString& model)
    {
        QFile config(m_dir.filePath(QStringLiteral("Config.ini")));
        if (config.open(QIODevice::WriteOnly))
            config.write(QStringLiteral("[DeviceInfo]\nPath=%1\nFile=%1.ini\n").arg(model).toLatin1());
        QFile::link(QStringLiteral(VELMARC_BINARY_DIR "/shell/") + model, m_dir.filePath(model));
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// The panel reads every element with gets; a dialog's reads name other
// objects. What the panel asks for is learnt from its first pass.
std::set<std::string> PanelObjects(const SimulatedSwitch& sim)
{
    std::set<std::string> oids;
    for (const SimRequest& r : sim.requests())
        for (const SimVarbind& v : r.varbinds)
            oids.insert(v.oid);
    return oids;
}

bool DialogReadSeen(const SimulatedSwitch& sim, const std::set<std::string>& panel)
{
    for (const SimRequest& r : sim.requests())
        for (const SimVarbind& v : r.varbinds)
            if (!panel.count(v.oid))
                return true;
    return false;
}

// The enabled menu commands that open dialogs (not the device commands,
// which ask questions and act at once), in menu order.
QList<QAction*> DialogCommands(CVelmarcModuleDlg& main)
{
    QList<QAction*> out;
    const std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (QMenu* popup = action->menu()) {
                walk(popup->actions());
                continue;
            }
            const int id = action->data().toInt();
            if (action->isEnabled() && main.CommandTable().IsBuilt(id))
                out << action;
        }
    };
    walk(main.MenuBar()->actions());
    return out;
}

QString Plain(QString text)
{
    return text.remove(u'&');
}

// The button that closes a dialog without writing: Close or Cancel (OK only
// where it is the dialog's one button, the About box).
QAbstractButton* CloseButtonOf(QDialog* dialog)
{
    QAbstractButton* ok = nullptr;
    const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    for (const QString& wanted : {QStringLiteral("Close"), QStringLiteral("Cancel")})
        for (QPushButton* button : buttons)
            if (button->isVisible() && button->isEnabled() && Plain(button->text()) == wanted)
                return button;
    for (QPushButton* button : buttons)
        if (button->isVisible() && Plain(button->text()) == QLatin1String("OK"))
            ok = button;
    return buttons.size() == 1 ? ok : nullptr;
}

enum class CloseWay { Escape, CloseBox, Button };

const char* Name(CloseWay way)
{
    switch (way) {
    case CloseWay::Escape: return "Escape";
    case CloseWay::CloseBox: return "close box";
    case CloseWay::Button: return "Close/Cancel button";
    }
    return "";
}

// Closes a running dialog the given way; the way actually taken (dialogs
// that swallow Escape, as some of the switch's do, are then closed by their
// close box).
QString CloseDialog(QDialog* dialog, CloseWay way)
{
    if (way == CloseWay::Escape) {
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        if (!dialog->isVisible())
            return QStringLiteral("Escape");
        way = CloseWay::CloseBox;
    }
    if (way == CloseWay::Button) {
        if (QAbstractButton* button = CloseButtonOf(dialog)) {
            button->click();
            if (!dialog->isVisible())
                return QStringLiteral("button ") + Plain(button->text());
        }
        way = CloseWay::CloseBox;
    }
    dialog->close();   // what the window manager's close box (and Alt+F4) sends
    return QStringLiteral("close box");
}

// The modal dialog in front of the main window, if any.
QDialog* RunningDialog(CVelmarcModuleDlg& main)
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return dialog && dialog != &main && dialog->isVisible() ? dialog : nullptr;
}

// Ends a scenario that got stuck (a failed assertion inside a dialog's loop
// leaves the dialog open): closes whatever dialog runs and the main window,
// so the test fails instead of hanging.
class Watchdog
{
public:
    Watchdog(CVelmarcModuleDlg& main, int ms)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [&main]() {
            ADD_FAILURE() << "the scenario did not end in time";
            if (QDialog* dialog = RunningDialog(main))
                dialog->close();
            QTimer::singleShot(0, &main, [&main]() { main.reject(); });
        });
        m_timer.start(ms);
    }

private:
    QTimer m_timer;
};

class ProgramMenuTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        SnmpInit(EnsureTestApp());
        SimulatedSwitch::Options options;
        options.model = GetParam();
        sim = std::make_unique<SimulatedSwitch>(options);
        ASSERT_TRUE(sim->running()) << sim->error();
        UseSimulatedSwitch(*sim);
    }
    void TearDown() override { ResetGlobalSettings(); }

    std::unique_ptr<SimulatedSwitch> sim;
};

} // namespace

// Every enabled dialog command of the model's menu, opened from its menu
// item inside the program's own main loop, reads the switch and closes by
// each way in turn; after each, the loop still runs and the window is back,
// visible, restored, where it was. Catches a dialog's end taking the
// program with it (a main loop that a hidden window ends), a window left
// hidden or minimised, a dialog that reads nothing or shows a box on a
// healthy switch, and a dialog that does not close.
TEST_P(ProgramMenuTest, EveryCommandOpensReadsAndComesBack)
{
    MessageRecorder recorder;   // a box on a healthy switch fails the test
    ModelFolder folder(QString::fromLatin1(GetParam()));
    CVelmarcModuleDlg main(nullptr, folder.path());

    QList<QAction*> commands;
    std::set<std::string> panel;
    QPoint home;
    int next = 0;
    QStringList log;
    bool finishedByTest = false;

    std::function<void()> step;
    step = [&]() {
        if (next == 0) {
            // Learn the panel's own reads from its first pass.
            if (!WaitFor([&]() { return main.Panel().PassCount() >= 1; }, 20000)) {
                ADD_FAILURE() << "the panel never read the switch";
                finishedByTest = true;
                main.reject();
                return;
            }
            panel = PanelObjects(*sim);
            commands = DialogCommands(main);
            home = main.pos();
            // Wholly on the screen, however wide the panel.
            EXPECT_TRUE(main.screen()->availableGeometry().contains(main.geometry()))
                << "window " << main.geometry().width() << "x" << main.geometry().height();
        }
        if (next >= commands.size()) {
            // The panel refreshes on with the window back.
            const int passes = main.Panel().PassCount();
            EXPECT_TRUE(WaitFor([&]() { return main.Panel().PassCount() > passes; }, 30000));
            finishedByTest = true;
            main.reject();   // the window's close box: the program ends
            return;
        }
        QAction* action = commands[next];
        const CloseWay way = CloseWay(next % 3);
        ++next;
        const QString what = Plain(action->text()).trimmed();
        const bool keepsMain = main.CommandTable().Find(action->data().toInt())->nFlags & CommandEntry::KeepMainWindow;
        sim->clearLog();
        bool opened = false;
        // Runs inside the dialog's own modal loop.
        QTimer::singleShot(0, &main, [&, what, way, keepsMain]() {
            QDialog* dialog = nullptr;
            if (!WaitFor([&]() { return (dialog = RunningDialog(main)) != nullptr; }, 30000)) {
                ADD_FAILURE() << what.toStdString() << ": no dialog came up";
                return;
            }
            opened = true;
            EXPECT_EQ(main.isVisible(), keepsMain) << what.toStdString();
            // Every dialog reads the switch when it opens but these two: the
            // About box, and the transfer form, which reads only once a
            // transfer has been started.
            const QString cls = main.CommandTable().Find(action->data().toInt())->strClass;
            if (cls != QLatin1String("CAboutDlg") && cls != QLatin1String("CFirmDownLoad")) {
                EXPECT_TRUE(WaitFor([&]() { return DialogReadSeen(*sim, panel); }, 30000))
                    << what.toStdString() << ": no read reached the switch";
            }
            log << what + QStringLiteral(": ") + CloseDialog(dialog, way);
            if (dialog->isVisible())
                ADD_FAILURE() << what.toStdString() << " stayed open after " << Name(way);
        });
        action->trigger();
        EXPECT_TRUE(opened) << what.toStdString();
        EXPECT_TRUE(main.isVisible()) << what.toStdString();
        EXPECT_FALSE(main.isMinimized()) << what.toStdString();
        EXPECT_EQ(main.pos(), home) << what.toStdString();
        // Back to the main loop before the next command: a loop that the
        // dialog's end has stopped never runs it.
        QTimer::singleShot(0, &main, step);
    };
    QTimer::singleShot(0, &main, step);
    Watchdog watchdog(main, 600000);
    main.RunModal();

    EXPECT_TRUE(finishedByTest) << "the main loop ended after " << next << " of " << commands.size()
                                << " commands:\n" << log.join(u'\n').toStdString();
    EXPECT_GE(commands.size(), 30) << "the menu lost its commands";
    EXPECT_EQ(next, commands.size());
}

// The commands that no menu item sends but the program answers (sent from
// code): each opens its dialog in the program's own main loop, the dialog
// reads the switch and closes by each way in turn, and the window comes
// back. The device configuration form finds its description file in the
// current directory, as the program's own folder would hold it.
TEST_P(ProgramMenuTest, CommandsNoMenuSendsOpenReadAndComeBack)
{
    MessageRecorder recorder;
    ModelFolder folder(QString::fromLatin1(GetParam()));
    QTemporaryDir cwd;
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMARC_SOURCE_DIR "/resources/PQS6048_CFG.XML"),
                            cwd.filePath(QStringLiteral("PQS6048_CFG.XML"))));
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    const std::unique_ptr<const QString, void (*)(const QString*)> restore(&oldCwd, [](const QString* dir) {
        QDir::setCurrent(*dir);
    });
    CVelmarcModuleDlg main(nullptr, folder.path());

    const QList<int> ids = {ID_DEVICE_CONFIGURATION, ID_DEVICE_CONFIGURATION, ID_DEVICE_CONFIGURATION};
    std::set<std::string> panel;
    QPoint home;
    int next = 0;
    bool finishedByTest = false;
    std::function<void()> step;
    step = [&]() {
        if (next == 0) {
            if (!WaitFor([&]() { return main.Panel().PassCount() >= 1; }, 20000)) {
                ADD_FAILURE() << "the panel never read the switch";
                finishedByTest = true;
                main.reject();
                return;
            }
            panel = PanelObjects(*sim);
            home = main.pos();
        }
        if (next >= ids.size()) {
            finishedByTest = true;
            main.reject();
            return;
        }
        const int id = ids[next];
        const CloseWay way = CloseWay(next % 3);
        ++next;
        sim->clearLog();
        bool opened = false;
        QTimer::singleShot(0, &main, [&, id, way]() {
            QDialog* dialog = nullptr;
            if (!WaitFor([&]() { return (dialog = RunningDialog(main)) != nullptr; }, 30000)) {
                ADD_FAILURE() << id << ": no dialog came up";
                return;
            }
            opened = true;
            EXPECT_FALSE(main.isVisible()) << id;
            EXPECT_TRUE(WaitFor([&]() { return DialogReadSeen(*sim, panel); }, 30000)) << id << ": no read reached the switch";
            CloseDialog(dialog, way);
            if (dialog->isVisible())
                ADD_FAILURE() << id << " stayed open after " << Name(way);
        });
        EXPECT_TRUE(main.OnCommand(id)) << id;
        EXPECT_TRUE(opened) << id;
        EXPECT_TRUE(main.isVisible()) << id;
        EXPECT_FALSE(main.isMinimized()) << id;
        EXPECT_EQ(main.pos(), home) << id;
        QTimer::singleShot(0, &main, step);
    };
    QTimer::singleShot(0, &main, step);
    Watchdog watchdog(main, 120000);
    main.RunModal();
    EXPECT_TRUE(finishedByTest);
    EXPECT_EQ(next, ids.size());
}

// A click on a port of the drawn panel opens the port settings with that
// port chosen and filled in below (Port ID, speed, flow control), inside
// the program's main loop; the window comes back afterwards. Catches a
// click that opens the dialog with no port chosen, or the wrong one.
TEST_P(ProgramMenuTest, PortClickChoosesThatPort)
{
    MessageRecorder recorder;
    ModelFolder folder(QString::fromLatin1(GetParam()));
    CVelmarcModuleDlg main(nullptr, folder.path());
    QWidget* area = main.findChild<QWidget*>(QStringLiteral("panelArea"));
    ASSERT_NE(area, nullptr);

    bool checked = false;
    QTimer::singleShot(0, &main, [&]() {
        // Back in the main loop, on every way out of this step: end the program.
        const std::unique_ptr<QWidget, void (*)(QWidget*)> end(&main, [](QWidget* w) {
            QTimer::singleShot(0, w, [w]() {
                w->setProperty("endedByTest", true);
                static_cast<QDialog*>(w)->reject();
            });
        });
        EXPECT_TRUE(WaitFor([&]() { return main.Panel().PassCount() >= 1; }, 20000));
        area->repaint();
        // The highest-numbered port drawn: a port that needs scrolling to.
        int best = 0;
        QPoint at;
        for (int y = 0; y < area->height(); y += 3)
            for (int x = 0; x < area->width(); x += 3) {
                QMap<QString, QString> under;
                if (!main.Panel().HitTest({x, y}, under) || !under.contains(QStringLiteral("PORT")))
                    continue;
                const int port = under.value(QStringLiteral("PORT")).section(u' ', -1).toInt();
                if (port > best) {
                    best = port;
                    at = {x, y};
                }
            }
        ASSERT_GT(best, 1) << "no port drawn";
        QTimer::singleShot(0, &main, [&, best]() {
            CPortSetInfo* dialog = nullptr;
            ASSERT_TRUE(WaitFor([&]() { return (dialog = qobject_cast<CPortSetInfo*>(RunningDialog(main))); }, 30000));
            // Closed on every way out of this check, passed or not.
            const std::unique_ptr<QDialog, void (*)(QDialog*)> closer(dialog, [](QDialog* d) { d->close(); });
            const QString port = QString::number(best);
            EXPECT_TRUE(WaitFor([&]() { return dialog->PortIdEdit()->text() == port; }, 30000));
            const QList<int> selected = dialog->List()->GetSelectedItems();
            ASSERT_EQ(selected.size(), 1);
            const int row = selected.first();
            EXPECT_EQ(dialog->List()->GetItemText(row, 0), port);
            EXPECT_EQ(dialog->PortId(), port);
            EXPECT_EQ(Plain(dialog->SpeedCombo()->currentText()).remove(u'-'),
                      dialog->List()->GetItemText(row, 1).remove(u'-'));
            EXPECT_EQ(dialog->FlowControlCombo()->currentText(), dialog->List()->GetItemText(row, 3));
            checked = true;
        });
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), area->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &press);
        EXPECT_TRUE(main.isVisible());
    });
    Watchdog watchdog(main, 120000);
    main.RunModal();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(main.property("endedByTest").toBool()) << "the main loop ended with the port settings";
}

INSTANTIATE_TEST_SUITE_P(Models, ProgramMenuTest, ::testing::Values("PQS-4400-52", "PQS-4400-28P"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(9) == "52" ? std::string("Ports52")
                                                                              : std::string("PoE28");
                         });

// Where the main window opens: centred in the screen's free area, never
// larger than it, also on a screen whose top-left is not 0,0. Catches a
// window placed off the screen or wider than it (ports out of reach).
TEST(MainWindowPlacement, WhollyOnTheScreen)
{
    struct Case { const char* why; QSize wanted; QRect available; QRect expected; };
    const Case cases[] = {
        {"fits: centred", {800, 400}, {0, 0, 1920, 1080}, {560, 340, 800, 400}},
        {"wider than the screen", {1700, 500}, {0, 0, 1280, 1024}, {0, 262, 1280, 500}},
        {"taller than the screen", {600, 1300}, {0, 0, 1280, 1024}, {340, 0, 600, 1024}},
        {"second screen right of the first", {800, 400}, {1920, 0, 1280, 1024}, {2160, 312, 800, 400}},
        {"panel below a top bar, larger both ways", {3000, 2000}, {1280, 28, 1920, 1052}, {1280, 28, 1920, 1052}},
        {"screen left of and above the primary", {400, 200}, {-1280, -400, 1280, 1024}, {-840, 12, 400, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const QRect placed = CVelmarcModuleDlg::PlaceOnScreen(c.wanted, c.available);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(c.available.contains(placed));
    }
}
