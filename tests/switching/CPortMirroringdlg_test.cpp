// Port mirroring against the simulated switch: what a read shows, the exact
// set sequence, and the refusals.

#include "CPortGrid.h"
#include "CPortMirroringdlg.h"
#include "MessageRecorder.h"
#include "SwitchingFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const std::string kState = kPrivate + ".18.1.0";
const std::string kTarget = kPrivate + ".18.2.0";
const std::string kRx = kPrivate + ".18.3.0";
const std::string kTx = kPrivate + ".18.4.0";
const std::string kNone = "0000000000000000";

using D = CPortMirroringdlg;
using PortMirroringTest = SwitchingTest;

void ChooseTarget(D& d, int port)
{
    d.TargetCombo()->setCurrentIndex(port - 1);
    emit d.TargetCombo()->activated(port - 1);
}

void Click(D& d, D::Mode mode, int port)
{
    d.Row(mode)->GetCheckBox(port)->click();
}

struct SetStep
{
    std::vector<std::pair<std::string, std::string>> varbinds;   // oid, value or hex
};

// Every set the switch received: OIDs with the value (integers) or the hex
// (octet strings).
std::vector<SetStep> Sets(const SimulatedSwitch& sim)
{
    std::vector<SetStep> steps;
    for (const SimRequest& r : sim.sets()) {
        SetStep step;
        for (const SimVarbind& v : r.varbinds)
            step.varbinds.emplace_back(v.oid, v.type == "OCTET STRING" ? v.hex : v.value);
        steps.push_back(step);
    }
    return steps;
}

} // namespace

// A disabled state still shows the modes read, with the target and every
// box disabled; a target read as 0 shows port 1.
TEST_F(PortMirroringTest, ShowsWhatWasRead)
{
    ASSERT_TRUE(sim->command("set " + kTarget + " i 0"));
    ASSERT_TRUE(sim->command("set " + kRx + " x 3000000000000000"));   // 3, 4
    ASSERT_TRUE(sim->command("set " + kTx + " x 1800000000000000"));   // 4, 5
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    EXPECT_TRUE(d.DisabledButton()->isChecked());
    EXPECT_FALSE(d.EnabledButton()->isChecked());
    EXPECT_FALSE(d.TargetCombo()->isEnabled());
    EXPECT_EQ(d.TargetCombo()->currentText(), "1");
    EXPECT_FALSE(d.Row(D::Tx)->GetCheckBox(7)->isEnabled());
    EXPECT_EQ(d.ModeOf(3), D::Rx);
    EXPECT_EQ(d.ModeOf(4), D::Both);
    EXPECT_EQ(d.ModeOf(5), D::Tx);
    EXPECT_EQ(d.ModeOf(6), D::None);
}

// One mode per port; "All" leaves the target out except for None; a new
// target becomes None and cannot be chosen.
TEST_F(PortMirroringTest, ModesAllButtonsAndTarget)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 1"));
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    ChooseTarget(d, 5);
    d.AllButton(D::Tx)->click();
    for (int p : {1, 4, 6, 52})
        EXPECT_EQ(d.ModeOf(p), D::Tx) << p;
    EXPECT_EQ(d.ModeOf(5), D::None);
    EXPECT_FALSE(d.Row(D::Tx)->GetCheckBox(5)->isEnabled());
    Click(d, D::Rx, 4);
    EXPECT_EQ(d.ModeOf(4), D::Rx);
    EXPECT_FALSE(d.Row(D::Tx)->IsChecked(4));
    Click(d, D::Rx, 4);   // a second click keeps a mode
    EXPECT_EQ(d.ModeOf(4), D::Rx);
    ChooseTarget(d, 4);
    EXPECT_EQ(d.ModeOf(4), D::None);
    d.AllButton(D::None)->click();
    EXPECT_EQ(d.ModeOf(1), D::None);
}

// Enabling sends the same four sets from either state read: sources cleared
// (8-octet maps on 52 ports), the target, the sources, the state.
TEST_F(PortMirroringTest, EnableSendsTheFourSets)
{
    for (const char* state : {"2", "1"}) {
        SCOPED_TRACE(state);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kState + " i " + state));
        D d;
        ASSERT_TRUE(OpenAndRead(d));
        sim->clearLog();
        d.EnabledButton()->click();
        ChooseTarget(d, 6);
        Click(d, D::Tx, 3);
        Click(d, D::Rx, 4);
        Click(d, D::Both, 5);
        d.ApplyButton()->click();
        ASSERT_TRUE(WritesDone(d));
        const std::vector<SetStep> sets = Sets(*sim);
        ASSERT_EQ(sets.size(), 4u);
        EXPECT_EQ(sets[0].varbinds, (std::vector<std::pair<std::string, std::string>>{{kTx, kNone}, {kRx, kNone}}));
        EXPECT_EQ(sets[1].varbinds, (std::vector<std::pair<std::string, std::string>>{{kTarget, "6"}}));
        EXPECT_EQ(sets[2].varbinds, (std::vector<std::pair<std::string, std::string>>{
                                        {kTx, "2800000000000000"}, {kRx, "1800000000000000"}}));
        EXPECT_EQ(sets[3].varbinds, (std::vector<std::pair<std::string, std::string>>{{kState, "1"}}));
        ASSERT_TRUE(OpenAndRead(d));
        EXPECT_TRUE(d.EnabledButton()->isChecked());
        EXPECT_EQ(d.ModeOf(5), D::Both);
    }
}

// "Disabled" sends the state alone.
TEST_F(PortMirroringTest, DisabledSendsOnlyTheState)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 1"));
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    sim->clearLog();
    d.DisabledButton()->click();
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    const std::vector<SetStep> sets = Sets(*sim);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].varbinds, (std::vector<std::pair<std::string, std::string>>{{kState, "2"}}));
}

// A switch that refuses a target among the sources: the clear comes first,
// so a port that was a source can become the target from either state.
TEST_F(PortMirroringTest, FormerSourceBecomesTheTargetOnAStrictSwitch)
{
    ASSERT_TRUE(sim->command("mirror-strict on"));
    ASSERT_TRUE(sim->command("set " + kRx + " x 0200000000000000"));   // port 7
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    sim->clearLog();
    d.EnabledButton()->click();
    ChooseTarget(d, 7);
    Click(d, D::Tx, 8);
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 4u);
    for (const SimRequest& r : sets)
        EXPECT_EQ(r.errorStatus, 0) << r.line;
    EXPECT_EQ(sim->value(kTarget), "i 7");
}

// The refusals: a trunk-member target (nothing sent, no re-read), no source,
// a link whose members differ in mode.
TEST_F(PortMirroringTest, Refusals)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 1"));
    MessageRecorder messages;
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    sim->clearLog();

    ChooseTarget(d, 1);   // link 1: ports 1, 2
    Click(d, D::Tx, 5);
    messages.expect("Target Port is Trunking Port!");
    d.ApplyButton()->click();
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_FALSE(d.Gate().Pending());   // no re-read
    EXPECT_EQ(d.ModeOf(5), D::Tx);

    ChooseTarget(d, 9);
    d.AllButton(D::None)->click();
    messages.expect("Must at least select one source port.");
    d.ApplyButton()->click();
    ASSERT_TRUE(Settled(d));

    ChooseTarget(d, 9);
    Click(d, D::Tx, 1);
    messages.expect("Must select whole ports of the aggregated link with the same Sniffer Mode to source port.");
    d.ApplyButton()->click();
    ASSERT_TRUE(Settled(d));
    EXPECT_TRUE(sim->sets().empty());

    ChooseTarget(d, 9);
    Click(d, D::Tx, 1);
    Click(d, D::Tx, 2);
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    EXPECT_EQ(sim->sets().size(), 4u);
}

// A target set refused after the sources were cleared: the sequence stops
// there (no maps, no state), the message names the step, the dialog stays.
TEST_F(PortMirroringTest, FailedTargetSetStopsAndIsReported)
{
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_TRUE(sim->command("error " + kTarget + " genErr"));
    sim->clearLog();
    MessageRecorder messages;
    messages.script({IDOK});
    d.EnabledButton()->click();
    ChooseTarget(d, 5);
    Click(d, D::Tx, 3);
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    ASSERT_TRUE(WaitFor([&] { return messages.texts().size() == 1; }));
    EXPECT_TRUE(messages.texts()[0].contains("Step 2 of 4 (target port)")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].contains("genErr")) << messages.texts()[0].toStdString();
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[1].errorName, "genErr");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(sim->value(kState), "i 2");
}

// A switch that holds its target among the sources (one that does not check)
// shows it so; Apply still never names the target as a source.
TEST_F(PortMirroringTest, TargetIsNeverWrittenAsASource)
{
    ASSERT_TRUE(sim->command("set " + kState + " i 1"));
    ASSERT_TRUE(sim->command("set " + kTarget + " i 5"));
    ASSERT_TRUE(sim->command("set " + kTx + " x 0c00000000000000"));   // 5, 6
    D d;
    ASSERT_TRUE(OpenAndRead(d));
    EXPECT_EQ(d.ModeOf(5), D::Tx);
    EXPECT_FALSE(d.Row(D::Tx)->GetCheckBox(5)->isEnabled());
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    const std::vector<SetStep> sets = Sets(*sim);
    ASSERT_EQ(sets.size(), 4u);
    EXPECT_EQ(sets[2].varbinds, (std::vector<std::pair<std::string, std::string>>{{kTx, "0400000000000000"}, {kRx, kNone}}));
}
