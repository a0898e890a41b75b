#include "CConfigDialog.h"
#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kPvid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1");

// The smallest dialog on the base: one walk gating Apply, two set steps.
class DemoDialog : public CConfigDialog
{
public:
    explicit DemoDialog(ButtonRow buttons = RefreshApplyClose)
        : CConfigDialog(QStringLiteral("PVID Settings"), std::make_unique<CModuleBase>(), buttons)
    {
        grid = new CPortGrid(52, 2000, this);
        ContentLayout()->addWidget(grid);
        walk = NewWalk(Logic<CModuleBase>()->m_cSnmpVlanTable);
        sequence = NewSequence(Logic<CModuleBase>()->m_cSnmpSet);
        undo = NewSequence(Logic<CModuleBase>()->m_cSnmpSet);
    }

    void OnRefresh() override
    {
        ++refreshes;
        const int ticket = Gate().Expect(QStringLiteral("PVIDs"));
        walk->Start({kPvid}, [this, ticket](const WalkOutcome& o) { Gate().Settle(ticket, o); });
    }

    void OnApply() override
    {
        ++applies;
        sequence->Clear();
        sequence->Add(QStringLiteral("PVID of port 3"), {SnmpSetValue::Unsigned(kPvid + ".3", 10)});
        sequence->Add(QStringLiteral("PVID of port 4"), {SnmpSetValue::Unsigned(kPvid + ".4", 10)});
        sequence->Add(QStringLiteral("PVID of port 5"), {SnmpSetValue::Unsigned(kPvid + ".5", 10)});
        if (undoFromStep == 0) {
            RunWrites(sequence);
            return;
        }
        undo->Clear();
        undo->Add(QStringLiteral("PVID of port 3 back"), {SnmpSetValue::Unsigned(kPvid + ".3", 1)});
        RunWrites(sequence, undo, undoFromStep);
    }

    using CConfigDialog::UpdateApply;

    CPortGrid* grid = nullptr;
    CSnmpRowWalk* walk = nullptr;
    CSetSequence* sequence = nullptr;
    CSetSequence* undo = nullptr;
    int undoFromStep = 0;   // 0: Apply writes without an undo
    int refreshes = 0;
    int applies = 0;
};

// Counts the shutdown lines each session close writes.
int g_closeLines = 0;
QtMessageHandler g_previousHandler = nullptr;
void CountCloses(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QStringLiteral(".Close=")))
        ++g_closeLines;
    else if (g_previousHandler)
        g_previousHandler(type, context, text);
}

class ConfigDialogTest : public SharedSwitchDialogTest
{
protected:
    static void SetUpTestSuite()
    {
        SharedSwitchDialogTest::SetUpTestSuite();
        g_previousHandler = qInstallMessageHandler(CountCloses);
    }
    static void TearDownTestSuite()
    {
        qInstallMessageHandler(g_previousHandler);
        SharedSwitchDialogTest::TearDownTestSuite();
    }
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        UseAnswerTimeout();
        g_closeLines = 0;
    }

    // Opens the dialog (which starts its read) and waits until the read has
    // settled.
    static void OpenAndRead(DemoDialog& d)
    {
        d.show();
        EXPECT_EQ(d.refreshes, 1);
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }

};

} // namespace

// Every way out closes the logic object's four sessions exactly once
// (twice would log and cancel twice; never would leave answers running into
// a dead dialog), and the destructor after it closes nothing again.
TEST_F(ConfigDialogTest, EveryWayOutClosesTheSessionsOnce)
{
    struct Case {
        const char* what;
        CConfigDialog::ButtonRow buttons;
        std::function<void(DemoDialog&)> leave;
    };
    const Case cases[] = {
        {"Close button", CConfigDialog::RefreshApplyClose, [](DemoDialog& d) { d.CloseButton()->click(); }},
        {"Cancel button", CConfigDialog::OkCancel, [](DemoDialog& d) { d.CloseButton()->click(); }},
        {"Escape", CConfigDialog::RefreshApplyClose,
         [](DemoDialog& d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&d, &esc);
         }},
        {"close box", CConfigDialog::RefreshApplyClose, [](DemoDialog& d) { d.close(); }},
        {"OK after the writes", CConfigDialog::OkCancel,
         [](DemoDialog& d) {
             d.ApplyButton()->click();
             ASSERT_TRUE(WaitFor([&] { return !d.isVisible(); }));
             EXPECT_EQ(d.result(), QDialog::Accepted);
         }},
        {"destruction alone", CConfigDialog::RefreshApplyClose, [](DemoDialog&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_closeLines = 0;
        {
            DemoDialog d(c.buttons);
            OpenAndRead(d);
            ASSERT_TRUE(d.ApplyButton()->isEnabled());
            c.leave(d);
            if (std::string(c.what) != "destruction alone") {
                EXPECT_FALSE(d.isVisible());
                EXPECT_EQ(d.SessionCloseCount(), 1);
                EXPECT_EQ(g_closeLines, 4);
            }
        }
        EXPECT_EQ(g_closeLines, 4);
    }
}

// Apply stays off until the read it depends on succeeded: while reading,
// after an unanswered read (the status line says which), and without write
// permission.
TEST_F(ConfigDialogTest, ApplyOnlyAfterEveryReadSucceeded)
{
    {
        DemoDialog d;
        d.show();
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        EXPECT_EQ(d.StatusLine()->text(), "Reading…");
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        EXPECT_TRUE(d.ApplyButton()->isEnabled());
        EXPECT_EQ(d.StatusLine()->text(), "");

        ASSERT_TRUE(sim->command("drop all"));
        d.Refresh();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));   // one time-out
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        EXPECT_EQ(d.StatusLine()->text(), "Read failed: PVIDs: No answer from 127.0.0.1");
        ASSERT_TRUE(sim->command("drop off"));
    }
    g_bWritePermission = 0;
    DemoDialog d;
    OpenAndRead(d);
    EXPECT_TRUE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// A refused step: the message (titled like the dialog) names the step and
// the OID, no later step is sent, the dialog stays open and reads again.
TEST_F(ConfigDialogTest, FailedWriteShowsItsMessageStaysOpenAndRereads)
{
    // Answers come 300 ms late below: time enough that they still arrive
    // on a loaded machine (sanitizer builds).
    UseAnswerTimeout();
    MessageRecorder messages;
    DemoDialog d;
    OpenAndRead(d);
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    // Faulted after the read: the walk reaching it would fail too.
    ASSERT_TRUE(sim->command("error " + kPvid.toStdString() + ".4 genErr"));
    // Answers come late enough that the re-read is still under way when the
    // box has been answered: its status is checked before it can end.
    ASSERT_TRUE(sim->command("delay 300"));
    const int refreshesBefore = d.refreshes;
    sim->clearLog();
    messages.script({IDOK});   // the failure's box; its text is checked below
    d.ApplyButton()->click();
    EXPECT_FALSE(d.CloseButton()->isEnabled());   // no leaving a half-done write
    ASSERT_TRUE(WaitFor([&] { return !messages.requests().isEmpty(); }));
    ASSERT_EQ(messages.requests().size(), 1);
    const MessageRequest& box = messages.requests().front();
    EXPECT_EQ(box.title, "PVID Settings");
    EXPECT_EQ(box.text.toStdString(),
              "The switch did not take the settings.\nStep 2 of 3 (PVID of port 4) failed: genErr on "
                  + kPvid.toStdString() + ".4\nSteps 1 to 1 were written.");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.refreshes, refreshesBefore + 1);
    EXPECT_EQ(d.StatusLine()->text().toStdString(), "Reading…");
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[1].varbinds[0].oid, kPvid.toStdString() + ".4");
    bool reread = false;
    for (const SimRequest& r : sim->requests())
        reread = reread || r.pdu == "getnext";
    EXPECT_TRUE(reread);
    EXPECT_TRUE(d.CloseButton()->isEnabled());
    ASSERT_TRUE(sim->command("delay 0"));
}

// Enter triggers Apply when it is enabled and nothing otherwise, never
// Refresh, even with the focus on the Refresh button.
TEST_F(ConfigDialogTest, EnterTriggersApplyOrNothing)
{
    DemoDialog d;
    d.show();   // reads once as it opens
    d.RefreshButton()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&d, &enter);   // Apply still disabled: nothing
    EXPECT_EQ(d.refreshes, 1);
    EXPECT_EQ(d.applies, 0);
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    d.RefreshButton()->setFocus();
    QKeyEvent enter2(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(d.RefreshButton(), &enter2);
    EXPECT_EQ(d.refreshes, 1);   // Refresh has the focus, Enter still means Apply
    EXPECT_EQ(d.applies, 1);
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting(); }));
    EXPECT_TRUE(d.isVisible());
}

// The button row: right-aligned, fixed order, equal widths.
TEST_F(ConfigDialogTest, ButtonRowIsTheSameEverywhere)
{
    DemoDialog d;
    d.show();
    QApplication::processEvents();
    QPushButton* const buttons[] = {d.RefreshButton(), d.ApplyButton(), d.CloseButton()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->width(), buttons[0]->width());
        if (i > 0) {
            EXPECT_GT(buttons[i]->x(), buttons[i - 1]->x());
        }
    }
    EXPECT_GE(d.CloseButton()->geometry().right(), d.width() - 30);
    EXPECT_EQ(d.RefreshButton()->text(), "&Refresh");
    EXPECT_EQ(d.ApplyButton()->text(), "&Apply");
    EXPECT_EQ(d.CloseButton()->text(), "&Close");
}

// A write whose later steps fail after an earlier step made something
// (a row) must take that back before it reports: the undo runs only for a
// failure at or after its step, its outcome is part of the one message, and
// the dialog re-reads. A fault here leaves half-made rows on the switch or
// undoes what was never written.
TEST_F(ConfigDialogTest, UndoAfterAFailedWrite)
{
    const std::string undone = "\nWhat those steps had written was taken back.";
    struct Case {
        const char* what;
        const char* faultyPort;   // the PVID step refused
        bool undoRefused;
        std::vector<std::string> setOids;   // PVID ports set, in order
        std::string tail;                   // after the failure's own text
    };
    const Case cases[] = {
        {"step 2 fails: undo", "4", false, {"3", "4", "3"}, undone},
        {"step 1 fails: nothing to undo", "3", false, {"3"}, ""},
        {"the undo is refused too", "4", true, {"3", "4", "3"},
         "\nTaking back what those steps had written failed: genErr on " + kPvid.toStdString() + ".3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("reset"));
        DemoDialog d;
        d.undoFromStep = 2;
        OpenAndRead(d);
        ASSERT_TRUE(sim->command("error " + kPvid.toStdString() + "." + c.faultyPort + " genErr"));
        MessageRecorder messages;
        messages.script({IDOK});
        sim->clearLog();
        const int refreshesBefore = d.refreshes;
        if (c.undoRefused) {
            // The undo writes port 3 again: refuse it once step 2 has failed.
            QObject::connect(d.sequence, &CSetSequence::finished, &d, [&](bool, const SnmpSetFailure&) {
                sim->command("error " + kPvid.toStdString() + ".3 genErr");
            });
        }
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !messages.requests().isEmpty() && !d.IsWriting(); }));
        std::vector<std::string> oids;
        for (const SimRequest& r : sim->sets())
            oids.push_back(r.varbinds.at(0).oid.substr(kPvid.size() + 1));
        EXPECT_EQ(oids, c.setOids);
        ASSERT_EQ(messages.requests().size(), 1);
        const std::string text = messages.requests().front().text.toStdString();
        const std::string failed = c.faultyPort == std::string("3") ? "Step 1 of 3 (PVID of port 3) failed: genErr on "
                                                                     : "Step 2 of 3 (PVID of port 4) failed: genErr on ";
        EXPECT_NE(text.find(failed + kPvid.toStdString() + "." + c.faultyPort), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - c.tail.size()), c.tail) << text;
        if (c.tail.empty()) {
            EXPECT_EQ(text.find("taken back"), std::string::npos) << text;
        }
        EXPECT_EQ(d.refreshes, refreshesBefore + 1);
        EXPECT_TRUE(d.CloseButton()->isEnabled());
        ASSERT_TRUE(sim->command("clear"));
    }
}

// A gated button with a condition of its own: on only when the reads
// succeeded and the condition holds; UpdateApply() re-asks the condition.
TEST_F(ConfigDialogTest, GatedButtonWithACondition)
{
    DemoDialog d;
    bool allowed = false;
    auto* button = new QPushButton(QStringLiteral("&Add"), &d);
    d.GateButton(button, [&] { return allowed; });
    OpenAndRead(d);
    EXPECT_FALSE(button->isEnabled());
    allowed = true;
    d.UpdateApply();
    EXPECT_TRUE(button->isEnabled());
    ASSERT_TRUE(sim->command("drop all"));
    d.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));   // one time-out
    EXPECT_FALSE(button->isEnabled());
    ASSERT_TRUE(sim->command("drop off"));
}

namespace {

// A read-only dialog: Refresh and Close only, no Apply to enable, and
// Enter neither refreshes nor closes it, even after its read succeeded.
TEST_F(ConfigDialogTest, RefreshCloseRowHasNoApply)
{
    DemoDialog d(CConfigDialog::RefreshClose);
    d.show();   // reads as it opens
    EXPECT_EQ(d.ApplyButton(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    d.RefreshButton()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(d.RefreshButton(), &enter);
    EXPECT_EQ(d.refreshes, 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.RefreshButton()->text(), "&Refresh");
    EXPECT_EQ(d.CloseButton()->text(), "&Close");
    d.CloseButton()->click();
    EXPECT_FALSE(d.isVisible());
}

} // namespace

// A long read shows that it is moving: while the walk runs, the status line
// counts the rows read so far, and says nothing more once the read is done.
TEST_F(ConfigDialogTest, LongReadCountsItsRowsInTheStatusLine)
{
    UseAnswerTimeout();
    ASSERT_TRUE(sim->command("delay 15"));   // 53 steps: well over a second
    DemoDialog d;
    d.show();
    const QRegularExpression counting(QStringLiteral("^Reading… [1-9][0-9]* rows?$"));
    ASSERT_TRUE(WaitFor([&] { return counting.match(d.StatusLine()->text()).hasMatch(); }, 30000))
        << d.StatusLine()->text().toStdString();
    EXPECT_TRUE(d.Gate().Pending());
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
    EXPECT_EQ(d.StatusLine()->text(), "");
    ASSERT_TRUE(sim->command("delay 0"));
}
