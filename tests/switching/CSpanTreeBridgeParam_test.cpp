// The spanning tree bridge dialog against the simulated switch: what it
// shows, what it refuses, and the exact sets it sends.

#include "CSpanTreeBridgeParam.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kBridge = kPrivate + ".51.1.";
std::string B(int n)
{
    return kBridge + std::to_string(n) + ".0";
}

const char* const kRelation1 = "To set the parameters Hello Time and Max Age the following relation is to be "
                               "satisfied: \nMax Age >= (2*(Hello Time + 1.0))";
const char* const kRelation2 = "To set the parameters Forward Delay and Max Age, the following relation is to be "
                               "satisfied: \n2*(Forward Delay - 1) >= Max Age";

class BridgeTest : public SwitchDialogTest
{
protected:
    QLineEdit* Edit(CSpanTreeBridgeParam& d, int id) { return Control<QLineEdit>(&d, id); }
    void Fill(CSpanTreeBridgeParam& d, const char* hold, const char* maxAge, const char* fwd, const char* hello)
    {
        Edit(d, 15)->setText(QString::fromLatin1(hold));
        Edit(d, 11)->setText(QString::fromLatin1(maxAge));
        Edit(d, 13)->setText(QString::fromLatin1(fwd));
        Edit(d, 14)->setText(QString::fromLatin1(hello));
    }
};

} // namespace

// Every check in its order, with the boundaries of each range: a check
// dropped, reordered or off by one shows another message (or none), and a
// refused apply that still wrote anything shows in the log.
TEST_F(BridgeTest, ChecksRefuseBeforeAnythingIsSent)
{
    struct Case {
        const char* hold;
        const char* maxAge;
        const char* fwd;
        const char* hello;
        const char* priority;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {"6", "20", "15", "10", "32768", kRelation1},   // 20 < 2*(10+1)
        {"6", "40", "20", "2", "32768", kRelation2},    // 2*(20-1) < 40
        {"6", "39", "20", "2", "32768", kRelation2},    // 2*(20-1) = 38 < 39: the boundary
        {"6", "38", "20", "2", "32768", nullptr},       // 2*(20-1) = 38
        {"6", "6", "4", "2", "32768", nullptr},
        {"0", "20", "15", "2", "32768", "Invalid Transmit Hold Count(1-10)."},
        {"11", "20", "15", "2", "32768", "Invalid Transmit Hold Count(1-10)."},
        {"1", "20", "15", "2", "32768", nullptr},
        {"10", "20", "15", "2", "32768", nullptr},
        {" 5", "20", "15", "2", "32768", "Invalid Transmit Hold Count(1-10)."},
        {"6", "5", "15", "2", "32768", "Invalid Age Time value, the valid Age Time range is  (6-40)s !"},
        {"6", "41", "15", "2", "32768", "Invalid Age Time value, the valid Age Time range is  (6-40)s !"},
        {"6", "40", "21", "2", "32768", nullptr},
        {"6", "20", "3", "2", "32768", "Invalid Forward Delay value, the valid Forward Delay range is (4-30)s !"},
        {"6", "20", "31", "2", "32768", "Invalid Forward Delay value, the valid Forward Delay range is (4-30)s !"},
        {"6", "20", "30", "2", "32768", nullptr},
        {"6", "20", "15", "0", "32768", "Invalid Hello Time value, the valid Hello Time range is (1-10)s !"},
        {"6", "20", "15", "11", "32768", "Invalid Hello Time value, the valid Hello Time range is (1-10)s !"},
        {"6", "22", "15", "10", "32768", nullptr},
        {"6", "20", "15", "1", "32768", nullptr},
        {"0", "5", "3", "0", "32768", "Invalid Transmit Hold Count(1-10)."},   // first failure only
        {"6", "20", "15", "2", "0x1000", "Invalid Bridge Priority(0-61440)."},
        {"6", "20", "15", "2", "61441", "Invalid Bridge Priority(0-61440)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hold) + "/" + c.maxAge + "/" + c.fwd + "/" + c.hello + "/" + c.priority);
        ASSERT_TRUE(sim->command("reset"));
        CSpanTreeBridgeParam d;
        Open(d);
        ASSERT_TRUE(d.ApplyButton()->isEnabled());
        Fill(d, c.hold, c.maxAge, c.fwd, c.hello);
        Control<QComboBox>(&d, 1007)->setEditText(QString::fromLatin1(c.priority));
        ApplyExpecting(d, c.message);
        if (!c.message) {
            EXPECT_EQ(sim->value(B(5)), "i " + std::to_string(std::stoi(c.maxAge) * 100));
            EXPECT_EQ(sim->value(B(6)), "i " + std::to_string(std::stoi(c.hello) * 100));
            EXPECT_EQ(sim->value(B(7)), "i " + std::to_string(std::stoi(c.fwd) * 100));
        }
    }
}

// With the spanning tree on: the safe pair first, then one timer per set
// in the order that never breaks a relation, then the three-value set.
// Swapped steps, a missing pair or a final set without the version would
// differ here; the simulated switch refuses orders that break a relation.
TEST_F(BridgeTest, OnSendsTheOrderedSequence)
{
    CSpanTreeBridgeParam d;
    Open(d);
    Fill(d, "4", "40", "21", "5");
    Control<QComboBox>(&d, 1007)->setEditText(QStringLiteral("4096"));
    Control<QComboBox>(&d, 1085)->setCurrentIndex(0);   // STP
    Control<QComboBox>(&d, 1160)->setCurrentIndex(1);   // forwarding BPDU disabled
    sim->clearLog();
    Apply(d);
    const std::vector<std::vector<Varbind>> expected = {
        {{B(6), "100"}, {B(7), "3000"}},
        {{B(4), "4"}},
        {{B(5), "4000"}},
        {{B(7), "2100"}},
        {{B(6), "500"}},
        {{B(8), "2"}},
        {{B(8), "2"}, {B(3), "4096"}, {B(2), "0"}},
    };
    EXPECT_EQ(SetRequests(*sim), expected);
    EXPECT_EQ(Edit(d, 11)->text(), QStringLiteral("40"));   // read again
}

// Switching on from off puts the state first; switching off sends the
// state alone, whatever the fields hold.
TEST_F(BridgeTest, StateChangesSendTheStateFirstOrAlone)
{
    ASSERT_TRUE(sim->command("set " + B(1) + " i 2"));
    {
        CSpanTreeBridgeParam d;
        Open(d);
        EXPECT_FALSE(Control<QCheckBox>(&d, 1008)->isChecked());
        EXPECT_FALSE(Edit(d, 11)->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(&d, 1048)->isEnabled());
        Control<QCheckBox>(&d, 1008)->click();
        EXPECT_TRUE(Edit(d, 11)->isEnabled());
        sim->clearLog();
        Apply(d);
        const auto sets = SetRequests(*sim);
        ASSERT_EQ(sets.size(), 8u);
        EXPECT_EQ(sets[0], (std::vector<Varbind>{{B(1), "1"}}));
        EXPECT_EQ(sim->value(B(1)), "i 1");
        EXPECT_TRUE(Control<QPushButton>(&d, 1048)->isEnabled());
    }
    CSpanTreeBridgeParam d;
    Open(d);
    Control<QCheckBox>(&d, 1008)->click();
    Edit(d, 11)->setText(QStringLiteral("25"));   // changed, yet not written
    sim->clearLog();
    Apply(d);
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{{{B(1), "2"}}}));
}

// What the switch holds is shown in its units: timers in whole seconds
// (remainder dropped), an 8-octet root id in hex pairs, other lengths as
// received; MSTP disables the hello time and writes the value read back.
TEST_F(BridgeTest, ShowsWhatTheSwitchHolds)
{
    ASSERT_TRUE(sim->command("set " + B(5) + " i 2150"));
    ASSERT_TRUE(sim->command("set " + B(6) + " i 150"));
    ASSERT_TRUE(sim->command("set " + B(11) + " i 1999"));
    ASSERT_TRUE(sim->command("set " + B(2) + " i 3"));
    CSpanTreeBridgeParam d;
    Open(d);
    EXPECT_EQ(Edit(d, 11)->text(), QStringLiteral("21"));
    EXPECT_EQ(Edit(d, 14)->text(), QStringLiteral("1"));
    EXPECT_EQ(Control<QLabel>(&d, 1194)->text(), QStringLiteral("19"));
    EXPECT_EQ(Control<QLabel>(&d, 1189)->text(), QStringLiteral("10:00:00:1B:21:00:01:00"));
    EXPECT_EQ(Control<QLabel>(&d, 1197)->text(), QStringLiteral("20000"));
    EXPECT_EQ(Control<QLabel>(&d, 1195)->text(), QStringLiteral("49"));
    EXPECT_EQ(Control<QComboBox>(&d, 1085)->currentText(), QStringLiteral("MSTP"));
    EXPECT_FALSE(Edit(d, 14)->isEnabled());
    EXPECT_EQ(Control<QComboBox>(&d, 1007)->currentText(), QStringLiteral("32768"));
    EXPECT_EQ(Edit(d, 15)->text(), QStringLiteral("6"));

    sim->clearLog();
    Apply(d);
    const auto sets = SetRequests(*sim);
    ASSERT_EQ(sets.size(), 7u);
    EXPECT_EQ(sets[4], (std::vector<Varbind>{{B(6), "100"}}));   // 150 shown as 1, written as 100
    EXPECT_EQ(sets[6].back(), (Varbind{B(2), "3"}));

    for (const char* id : {"x 41424344454647", "x 414243444546474849"}) {
        ASSERT_TRUE(sim->command("set " + B(9) + " " + id));
        d.RefreshButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        EXPECT_EQ(Control<QLabel>(&d, 1189)->text(), std::string(id).size() == 16 ? QStringLiteral("ABCDEFG")
                                                                                  : QStringLiteral("ABCDEFGHI"));
    }
}

// A read that lacks one of the thirteen values leaves Apply off: nothing
// may be written from fields the switch did not fill.
TEST_F(BridgeTest, IncompleteReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("unset " + B(13)));
    CSpanTreeBridgeParam d;
    Open(d);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(Edit(d, 11)->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(&d, 1048)->isEnabled());
}

// A refused step stops the sequence: later steps are never sent, the user
// is told which step failed, and the dialog stays open and reads again.
TEST_F(BridgeTest, RefusedStepStopsTheSequence)
{
    CSpanTreeBridgeParam d;
    Open(d);
    ASSERT_TRUE(sim->command("error " + B(5) + " genErr"));
    sim->clearLog();
    MessageRecorder recorder;
    recorder.script({IDOK});
    Apply(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].startsWith(
        QStringLiteral("The switch did not take the settings.\nStep 3 of 7 (maximum age) failed: genErr on ")
        + QString::fromStdString(B(5)) + QStringLiteral("\nSteps 1 to 2 were written.\n")))
        << recorder.texts()[0].toStdString();
    // Steps 4 to 7 never go; the putting back (safe pair, hold count, maximum
    // age, refused again here) follows.
    const std::vector<std::vector<Varbind>> sets = SetRequests(*sim);
    ASSERT_EQ(sets.size(), 6u);
    EXPECT_EQ(sets[3], (std::vector<Varbind>{{B(6), "100"}, {B(7), "3000"}}));
    EXPECT_TRUE(d.isVisible());
}

// A step refused after the safe pair would leave hello 1 s and forward
// delay 30 s on the switch, values the user never asked for: the values
// read before the write are put back in a safe order, and the message says
// so. Refused at the last step (priority) and at the BPDU step, whose undo
// is refused again: then the message says the putting back failed.
TEST_F(BridgeTest, RefusedLaterStepPutsTheReadValuesBack)
{
    struct Case {
        const char* what;
        int refused;          // bridge object whose sets are refused
        int step;             // the step that fails, of 7
        const char* stepText;
        const char* undoText;
    };
    const Case cases[] = {
        {"priority refused", 3, 7, "forwarding BPDU, priority and version",
         "\nThe bridge settings read before the write were put back."},
        {"forwarding BPDU refused, also when put back", 8, 6, "forwarding BPDU", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("reset"));
        CSpanTreeBridgeParam d;
        Open(d);
        Fill(d, "4", "30", "21", "5");
        Control<QComboBox>(&d, 1160)->setCurrentIndex(1);
        ASSERT_TRUE(sim->command("set-error " + B(c.refused) + " genErr"));
        sim->clearLog();
        MessageRecorder recorder;
        recorder.script({IDOK});
        Apply(d);
        ASSERT_EQ(recorder.texts().size(), 1);
        const QString text = recorder.texts()[0];
        const QString head = QStringLiteral("The switch did not take the settings.\nStep %1 of 7 (%2) failed: genErr on %3\n"
                                            "Steps 1 to %4 were written.")
                                 .arg(c.step)
                                 .arg(QString::fromLatin1(c.stepText), QString::fromStdString(B(c.refused)))
                                 .arg(c.step - 1);
        EXPECT_TRUE(text.startsWith(head)) << text.toStdString();
        if (c.undoText) {
            EXPECT_EQ(text, head + QString::fromLatin1(c.undoText));
            // As read: max age 20 s, hello 2 s, forward delay 15 s, hold 6, BPDU on.
            EXPECT_EQ(sim->value(B(5)), "i 2000");
            EXPECT_EQ(sim->value(B(6)), "i 200");
            EXPECT_EQ(sim->value(B(7)), "i 1500");
            EXPECT_EQ(sim->value(B(4)), "i 6");
            EXPECT_EQ(sim->value(B(8)), "i 1");
        } else {
            EXPECT_TRUE(text.contains("Putting back the bridge settings read before the write failed at step 6 "
                                      "(forwarding BPDU): genErr"))
                << text.toStdString();
        }
        // The writes after the failed one: the safe pair, then each value read.
        const std::vector<std::vector<Varbind>> sets = SetRequests(*sim);
        ASSERT_GE(sets.size(), size_t(c.step) + 5);
        const std::vector<std::vector<Varbind>> undo(sets.begin() + c.step, sets.begin() + c.step + 5);
        EXPECT_EQ(undo, (std::vector<std::vector<Varbind>>{{{B(6), "100"}, {B(7), "3000"}},
                                                           {{B(4), "6"}},
                                                           {{B(5), "2000"}},
                                                           {{B(7), "1500"}},
                                                           {{B(6), "200"}}}));
    }
}
