// What the dialog base offers dialogs with more than Apply: buttons gated
// like Apply, sessions of the dialog's own, the trunk map as a gated read,
// and a say in what a failed write does.

#include "CConfigDialog.h"
#include "CSetSequence.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kContact = QStringLiteral("1.3.6.1.2.1.1.4.0");
const std::string kTrunk = "1.3.6.1.4.1.32473.10.126.4.1.8.1.3.1.2";

// Reads the trunk map only; an Add button gated like Apply; one write on a
// session of its own.
class HookDialog : public CConfigDialog
{
public:
    HookDialog()
        : CConfigDialog(QStringLiteral("Hooks"), std::make_unique<CModuleBase>())
        , session(NewSession("session"))
    {
        add = new QPushButton(QStringLiteral("&Add"), this);
        ContentLayout()->addWidget(add);
        GateButton(add);
        sequence = NewSequence(session);
    }
    void OnRefresh() override { ReadTrunkMap(); }
    void OnApply() override
    {
        sequence->Clear();
        sequence->Add(QStringLiteral("contact"), {SnmpSetValue::Text(kContact, QStringLiteral("noc"))});
        RunWrites(sequence);
    }
    void OnWritesFailed(const SnmpSetFailure& failure) override
    {
        failures.append(failure.strWhat);
        if (passOn)
            CConfigDialog::OnWritesFailed(failure);
    }

    CCommonSNMP& session;
    QPushButton* add = nullptr;
    CSetSequence* sequence = nullptr;
    QStringList failures;
    bool passOn = false;
};

class ConfigDialogHooksTest : public SimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(sim);
        UseAnswerTimeout();
        g_nDevicePortNum = 52;
    }
    static void Open(HookDialog& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }
};

} // namespace

// Catches a gated button that ignores the gate, a write under way or
// write permission.
TEST_F(ConfigDialogHooksTest, GatedButtonFollowsApply)
{
    {
        HookDialog d;
        d.show();
        EXPECT_FALSE(d.add->isEnabled()) << "while reading";
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        EXPECT_TRUE(d.add->isEnabled());
        ASSERT_TRUE(sim.command("delay 300"));
        d.ApplyButton()->click();
        EXPECT_FALSE(d.add->isEnabled()) << "while writing";
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting(); }));
        ASSERT_TRUE(sim.command("delay 0"));
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        EXPECT_TRUE(d.add->isEnabled());
        ASSERT_TRUE(sim.command("drop all"));
        d.Refresh();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
        EXPECT_FALSE(d.add->isEnabled()) << "after a failed read";
        ASSERT_TRUE(sim.command("drop off"));
    }
    g_bWritePermission = 0;
    HookDialog d;
    Open(d);
    EXPECT_FALSE(d.add->isEnabled());
}

// Catches a trunk map used before its walk ended, one keyed by arrival
// order, or links of an earlier read that linger.
TEST_F(ConfigDialogHooksTest, TrunkMapIsAGatedRead)
{
    ASSERT_TRUE(sim.command("set " + kTrunk + ".1 x 00"));
    ASSERT_TRUE(sim.command("set " + kTrunk + ".3 x 0000000000000030"));   // ports 59, 60: beyond 52
    ASSERT_TRUE(sim.command("set " + kTrunk + ".7 x 00c0"));               // ports 9, 10
    HookDialog d;
    d.show();
    EXPECT_EQ(d.Logic<CModuleBase>()->m_bTrunkLoaded, 0);
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    CModuleBase* logic = d.Logic<CModuleBase>();
    EXPECT_EQ(logic->m_bTrunkLoaded, 1);
    std::vector<int> expected(52, 0);
    expected[8] = expected[9] = 7;
    EXPECT_EQ(logic->m_TrunkPorts, expected);

    ASSERT_TRUE(sim.command("unset " + kTrunk + ".7"));
    ASSERT_TRUE(sim.command("drop under " + kTrunk));
    d.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_EQ(d.StatusLine()->text(), "Read failed: aggregated links: No answer from 127.0.0.1");
    ASSERT_TRUE(sim.command("drop off"));
    d.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    EXPECT_EQ(logic->m_TrunkPorts, std::vector<int>(52, 0));
}

// Catches a failed write that skips the dialog's own handling, or a base
// handling that runs although the dialog took over.
TEST_F(ConfigDialogHooksTest, DialogDecidesWhatAFailedWriteDoes)
{
    MessageRecorder messages;
    HookDialog d;
    Open(d);
    ASSERT_TRUE(sim.command("error " + kContact.toStdString() + " genErr"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting(); }));
    EXPECT_EQ(d.failures, QStringList{"contact"});
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_TRUE(d.ApplyButton()->isEnabled()) << "ready for another try";

    d.passOn = true;
    messages.expect("The switch did not take the settings.\nStep 1 of 1 (contact) failed: genErr on " + kContact);
    // Slow answers keep the re-read under way while the status is checked.
    ASSERT_TRUE(sim.command("delay 300"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !messages.texts().isEmpty(); }));
    EXPECT_EQ(d.failures.size(), 2);
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Reading")) << "the base re-reads";
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    ASSERT_TRUE(sim.command("delay 0"));
}

// Catches a session of the dialog's own that is never closed, closed twice,
// or closed after it was destroyed (the dialog's members go first).
TEST_F(ConfigDialogHooksTest, OwnSessionsCloseWithTheDialog)
{
    static int closes = 0;
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QStringLiteral("session.Close=")))
            ++closes;
        else if (previous)
            previous(type, context, text);
    });
    {
        HookDialog d;
        Open(d);
        d.reject();
        EXPECT_EQ(closes, 1);
    }
    EXPECT_EQ(closes, 1);
    {
        HookDialog d;   // destroyed without being closed
        Open(d);
    }
    EXPECT_EQ(closes, 2);
    qInstallMessageHandler(previous);
}
