#include "CListCtrlEx.h"
#include "Dot1xPortConfig.h"
#include "Dot1xTestUtil.h"
#include "MessageRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <sstream>

namespace {

const QString kAuto = QStringLiteral("Could not set all ports to AUTO  to the port access control.");
const QString kUnauthorized = QStringLiteral("Could not set all ports to Force Unauthorized to the port access control.");
const QString kEither = QStringLiteral("Could not set all ports to AUTO or Force Unauthorized to the port access control.");

class Dot1xPortTest : public Dot1xDialogTest
{
protected:
    void SetUp() override
    {
        Dot1xDialogTest::SetUp();
        SetGlobalState(1);
    }

    static void Range(Dot1xPortConfig& d, int from, int to)
    {
        d.From()->setCurrentIndex(from - 1);
        d.To()->setCurrentIndex(to - 1);
    }

    static void Apply(Dot1xPortConfig& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d, 20000));
    }

    // Port p's control column on the switch.
    static void SetControl(int port, int control)
    {
        ASSERT_TRUE(sim->command("set " + P + ".23.2.1.1.9." + std::to_string(port) + " i " + std::to_string(control)));
    }

    static std::string PortLine(int p, const std::string& values)
    {
        // values: quiet supp server maxreq tx reauthperiod reauth capability direction
        std::istringstream in(values);
        std::string line;
        for (int column : {2, 3, 4, 5, 6, 7, 8, 10, 11}) {
            std::string v;
            in >> v;
            line += (line.empty() ? "" : " ") + ("P.23.2.1.1." + std::to_string(column) + "." + std::to_string(p))
                    + "=" + v;
        }
        return line;
    }
};

} // namespace

// The rule that keeps one port outside forceUnauthorized and auto, as a
// table: the control codes of the other ports, the range and the control
// written. Catches: counting the range's own ports twice, counting ports
// outside the port count, the wrong message or order of messages,
// applying the rule to forceAuthorized.
TEST(Dot1xAllPortsRule, KeepsOnePortReachable)
{
    struct Case { int ports; int autoUpTo; int unauthorizedFrom; int from, to, control; QString message; };
    const Case cases[] = {
        {28, 27, 0, 28, 28, 2, kAuto},           // ports 1-27 auto, Auto on 28
        {28, 27, 0, 28, 28, 3, {}},              // ForceAuthorized is always allowed
        {28, 27, 0, 28, 28, 1, kEither},         // 27 auto + 1 forced unauthorized
        {28, 26, 0, 28, 28, 2, {}},              // port 27 stays reachable
        {28, 0, 2, 1, 1, 1, kUnauthorized},      // 2-28 unauthorized, FU on 1
        {28, 0, 0, 1, 28, 2, kAuto},             // the whole switch in the range
        {28, 0, 0, 1, 27, 2, {}},
        {52, 51, 0, 52, 52, 2, kAuto},
        {52, 0, 0, 1, 52, 1, kUnauthorized},
        {52, 20, 40, 21, 39, 2, kEither},
        {52, 20, 41, 21, 39, 2, {}},             // port 40 stays as it is
    };
    for (const Case& c : cases) {
        std::vector<int> controls(size_t(c.ports), 3);
        for (int p = 1; p <= c.ports; ++p) {
            if (p <= c.autoUpTo)
                controls[size_t(p - 1)] = 2;
            if (c.unauthorizedFrom && p >= c.unauthorizedFrom)
                controls[size_t(p - 1)] = 1;
        }
        EXPECT_EQ(Dot1xPortConfig::CheckAllPortsRule(controls, c.from, c.to, c.control), c.message)
            << c.ports << " ports, " << c.from << "-" << c.to << " control " << c.control;
    }
    // A code the switch calls "other" counts as neither.
    std::vector<int> other(28, 2);
    other[4] = 0;
    EXPECT_EQ(Dot1xPortConfig::CheckAllPortsRule(other, 28, 28, 2), QString());
}

// The list shows the switch's codes as words, one row per port in port
// order; Apply is on with 802.1X enabled.
TEST_F(Dot1xPortTest, ListShowsEveryPort)
{
    SetControl(3, 2);
    Dot1xPortConfig d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(d.List()->GetItemText(2, 0), "3");
    EXPECT_EQ(d.List()->GetItemText(2, 3), "auto");
    EXPECT_EQ(d.List()->GetItemText(0, 3), "forceAuthorized");
    EXPECT_EQ(d.List()->GetItemText(0, 1), "Both");
    EXPECT_EQ(d.List()->GetItemText(0, 2), "Both");
    EXPECT_EQ(d.List()->GetItemText(0, 9), "3600");
    EXPECT_EQ(d.List()->GetItemText(0, 10), "Disabled");
    EXPECT_EQ(d.List()->GetItemText(0, 11), "None");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// With 802.1X disabled on the switch nothing can be applied.
TEST_F(Dot1xPortTest, DisabledGloballyKeepsApplyOff)
{
    SetGlobalState(2);
    Dot1xPortConfig d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_TRUE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// The switch has 52 rows, the model 28 ports: the extra rows are ignored
// (no write past the per-port array) and the rule counts 28 ports.
TEST_F(Dot1xPortTest, RowsBeyondThePortCountAreIgnored)
{
    g_nDevicePortNum = 28;
    for (int p = 1; p <= 27; ++p)
        SetControl(p, 2);
    Dot1xPortConfig d;
    Open(d);
    EXPECT_EQ(d.List()->GetItemCount(), 28);
    EXPECT_EQ(d.From()->count(), 28);
    MessageRecorder messages;
    messages.expect(kAuto);
    Range(d, 28, 28);
    d.Capability()->setCurrentIndex(0);
    d.PortControl()->setCurrentIndex(1);
    Apply(d);
    EXPECT_TRUE(SetLines(*sim).empty());
    EXPECT_EQ(d.PortControl()->currentText(), "ForceAuthorized");   // defaults back
}

// A walk that stops early leaves Apply off: its control codes would let the
// all-ports rule pass and lock the station out.
TEST_F(Dot1xPortTest, IncompleteWalkKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("error " + P + ".23.2.1.1.9.30 genErr"));
    Dot1xPortConfig d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// Capability "None": per port one request of nine objects in this order,
// no port control; the numbers go as checked ("007" sends 7).
TEST_F(Dot1xPortTest, NoneWritesNineObjectsPerPort)
{
    Dot1xPortConfig d;
    Open(d);
    Range(d, 5, 6);
    d.Edit(Dot1xPortConfig::IDC_QUIET_PERIOD)->setText("0");
    d.Edit(Dot1xPortConfig::IDC_MAX_REQ)->setText("07");
    d.Direction()->setCurrentIndex(1);
    MessageRecorder messages;
    Apply(d);
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{PortLine(5, "0 30 30 7 30 3600 2 2 1"),
                                                        PortLine(6, "0 30 30 7 30 3600 2 2 1")}));
    // The defaults are back after the write.
    EXPECT_EQ(d.Edit(Dot1xPortConfig::IDC_QUIET_PERIOD)->text(), "60");
    EXPECT_EQ(d.Direction()->currentText(), "Both");
}

// Authenticator: the nine objects, then the port control, then for auto
// or forceUnauthorized the re-authentication again.
TEST_F(Dot1xPortTest, AuthenticatorWritesControlThenReauthentication)
{
    Dot1xPortConfig d;
    Open(d);
    Range(d, 7, 7);
    d.Capability()->setCurrentIndex(0);
    ASSERT_TRUE(d.PortControl()->isEnabled());
    d.PortControl()->setCurrentIndex(1);   // Auto
    d.ReAuth()->setCurrentIndex(0);        // Enable
    MessageRecorder messages;
    Apply(d);
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{PortLine(7, "60 30 30 2 30 3600 1 1 0"), "P.23.2.1.1.9.7=2",
                                                        "P.23.2.1.1.8.7=1"}));
    EXPECT_EQ(d.List()->GetItemText(6, 3), "auto");
    ASSERT_TRUE(sim->command("clearlog"));
    // ForceAuthorized: no second re-authentication write.
    Range(d, 8, 8);
    d.Capability()->setCurrentIndex(0);
    Apply(d);
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{PortLine(8, "60 30 30 2 30 3600 2 1 0"), "P.23.2.1.1.9.8=3"}));
}

// A range holding a member of an aggregated link is refused before the
// port-control rule is looked at, and the defaults come back.
TEST_F(Dot1xPortTest, TrunkMembersAreRefusedFirst)
{
    // Every other port auto: the port-control rule would refuse as well.
    for (int p = 1; p <= 52; ++p)
        if (p != 2)
            SetControl(p, 2);
    Dot1xPortConfig d;
    Open(d);
    Range(d, 2, 2);   // link 1 holds ports 1 and 2
    d.Capability()->setCurrentIndex(0);
    d.PortControl()->setCurrentIndex(1);
    d.Edit(Dot1xPortConfig::IDC_TX_PERIOD)->setText("40");
    MessageRecorder messages;
    messages.expect("Cannot add an aggregated link to the 802.1X-enabled port");
    Apply(d);
    EXPECT_TRUE(SetLines(*sim).empty());
    EXPECT_EQ(d.Edit(Dot1xPortConfig::IDC_TX_PERIOD)->text(), "30");
}

// The number checks in their order with their texts; a refused number keeps
// what the user typed and sends nothing.
TEST_F(Dot1xPortTest, NumbersAreCheckedStrictly)
{
    Dot1xPortConfig d;
    Open(d);
    struct Case { int id; const char* text; const char* message; };
    const Case cases[] = {
        {Dot1xPortConfig::IDC_QUIET_PERIOD, "65536", "Invalid QuietPeriod (0-65535)"},
        {Dot1xPortConfig::IDC_QUIET_PERIOD, "0x1E", "Invalid QuietPeriod (0-65535)"},
        {Dot1xPortConfig::IDC_TX_PERIOD, "0", "Invalid TxPeriod (1-65535)"},
        {Dot1xPortConfig::IDC_TX_PERIOD, "", "Invalid TxPeriod (1-65535)"},
        {Dot1xPortConfig::IDC_SUPP_TIMEOUT, " 7", "Invalid SuppTimeout (1-65535)"},
        {Dot1xPortConfig::IDC_SERVER_TIMEOUT, "15abc", "Invalid ServerTimeout (1-65535)"},
        {Dot1xPortConfig::IDC_MAX_REQ, "11", "Invalid MaxReq (1-10)"},
        {Dot1xPortConfig::IDC_REAUTH_PERIOD, "65536", "Invalid ReAuthPeriod (1-65535)"},
    };
    for (const Case& c : cases) {
        d.PutDefaults();
        d.Edit(c.id)->setText(c.text);
        MessageRecorder messages;
        messages.expect(c.message);
        d.ApplyButton()->click();
        messages.ExpectAllUsed();
        EXPECT_EQ(d.Edit(c.id)->text(), QString::fromLatin1(c.text).left(d.Edit(c.id)->maxLength()));
    }
    // TxPeriod is checked after QuietPeriod.
    d.PutDefaults();
    d.Edit(Dot1xPortConfig::IDC_TX_PERIOD)->setText("0");
    d.Edit(Dot1xPortConfig::IDC_QUIET_PERIOD)->setText("x");
    MessageRecorder messages;
    messages.expect("Invalid QuietPeriod (0-65535)");
    d.ApplyButton()->click();
    messages.ExpectAllUsed();
    EXPECT_TRUE(SetLines(*sim).empty());
}

// A port the switch refuses stops the range there, with a message, and the
// table is read again.
TEST_F(Dot1xPortTest, RefusedPortStopsTheRange)
{
    Dot1xPortConfig d;
    Open(d);
    ASSERT_TRUE(sim->command("set-error " + P + ".23.2.1.1.2.11 genErr"));
    Range(d, 10, 12);
    MessageRecorder messages;
    messages.script({IDOK});
    Apply(d);
    const auto lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("P.23.2.1.1.2.11=", 0), 0u);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("port 11 settings")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(d.Gate().AllSucceeded());
}

// Choosing a row selects its port in From and To.
TEST_F(Dot1xPortTest, ListClickSelectsThePort)
{
    Dot1xPortConfig d;
    Open(d);
    d.List()->selectRow(9);
    EXPECT_EQ(d.From()->currentText(), "10");
    EXPECT_EQ(d.To()->currentText(), "10");
}
