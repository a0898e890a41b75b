// The syslog host dialog against the simulated switch: what it shows of the
// scalars and the host table, the exact writes of a host change (in place,
// new row first, the one-row fallback, the restore), and that bad input
// writes nothing.

#include "CEditEXIPV6.h"
#include "CStatusLine.h"
#include "CSyslogHostCfgDlg.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kSyslog = "1.3.6.1.4.1.32473.10.126.4.1.16.2.";
const std::string kHost = kSyslog + "5.1.";
const std::string kOld = "1.4.10.0.0.5";
const std::string kNew = "1.4.10.0.0.6";

std::string Cell(int column, const std::string& index)
{
    return kHost + std::to_string(column) + "." + index;
}

// One set as "OID=value" per varbind, joined by blanks.
std::string SetText(const SimRequest& r)
{
    std::string text;
    for (const SimVarbind& v : r.varbinds)
        text += (text.empty() ? "" : " ") + v.oid + "=" + v.value;
    return text;
}

std::vector<std::string> SetTexts(const std::vector<SimRequest>& sets)
{
    std::vector<std::string> texts;
    for (const SimRequest& r : sets)
        texts.push_back(SetText(r));
    return texts;
}

const std::string kScalarSet = kSyslog + "3.0=4 " + kSyslog + "4.0=128 " + kSyslog + "2.0=1";

class SyslogHostTest : public SharedSwitchDialogTest
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        ASSERT_TRUE(sim->command("set " + kSyslog + "1.0 i 1"));
    }

    // A row of the host table as the switch holds it.
    static void AddRow(const std::string& index, int port, int status, const std::string& ifname = "")
    {
        ASSERT_TRUE(sim->command("set " + Cell(1, index) + " i 1"));
        ASSERT_TRUE(sim->command("set " + Cell(2, index) + " x \"\""));
        ASSERT_TRUE(sim->command("set " + Cell(3, index) + " i " + std::to_string(port)));
        ASSERT_TRUE(sim->command("set " + Cell(4, index) + " s \"" + ifname + "\""));
        ASSERT_TRUE(sim->command("set " + Cell(5, index) + " i " + std::to_string(status)));
    }

    // Opens the dialog and waits for both reads.
    static void Open(CSyslogHostCfgDlg& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }

    static void ApplyAndWait(CSyslogHostCfgDlg& d)
    {
        ASSERT_TRUE(d.ApplyButton()->isEnabled());
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWritingHost() && !d.Gate().Pending(); }));
    }

    // The rows of the host table: index -> row status.
    static std::map<std::string, std::string> Rows()
    {
        std::map<std::string, std::string> rows;
        ToolResult r = RunSnmpTool("snmpwalk", {"-v2c", "-c", SimulatedSwitch::kReadCommunity, sim->agent(),
                                                kHost + "5"});
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            const size_t eq = line.find(" = INTEGER: ");
            if (eq == std::string::npos || line.find(kHost + "5.") == std::string::npos)
                continue;
            std::string oid = line.substr(0, eq);
            oid = oid.substr(oid.find(kHost + "5.") + kHost.size() + 2);
            rows[oid] = line.substr(line.rfind(' ') + 1);
        }
        return rows;
    }

};

} // namespace

// What the dialog shows of the switch: the last host row, "0.0.0.0" and "0"
// for a row that is not active, a link-local address with its interface
// name, the scalars' list items, and the host inputs following the enable
// state. Catches columns read out of order, an inactive row shown as live
// and a disabled syslog whose inputs stay editable.
TEST_F(SyslogHostTest, ShowsTheSwitchState)
{
    struct Case {
        const char* what;
        std::function<void()> setUp;
        QString address;
        QString port;
        bool enabled;
    };
    const Case cases[] = {
        {"active IPv4 row", [] { AddRow(kOld, 514, 1); }, QStringLiteral("10.0.0.5"), QStringLiteral("514"), true},
        {"inactive row", [] { AddRow(kOld, 514, 2); }, QStringLiteral("0.0.0.0"), QStringLiteral("0"), true},
        {"link-local IPv6 row",
         [] { AddRow("2.16.254.128.0.0.0.0.0.0.0.0.0.0.0.0.0.1", 1514, 1, "vlan1"); },
         QStringLiteral("fe80::1%vlan1"), QStringLiteral("1514"), true},
        {"no row", [] {}, QStringLiteral("0.0.0.0"), QStringLiteral("514"), true},
        {"syslog disabled",
         [] {
             AddRow(kOld, 514, 1);
             ASSERT_TRUE(sim->command("set " + kSyslog + "1.0 i 2"));
         },
         QStringLiteral("10.0.0.5"), QStringLiteral("514"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "1.0 i 1"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "2.0 i 2"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "3.0 i 6"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "4.0 i 152"));
        c.setUp();
        MessageRecorder messages;
        CSyslogHostCfgDlg d;
        Open(d);
        EXPECT_EQ(d.ServerEdit()->text(), c.address);
        EXPECT_EQ(d.PortEdit()->text(), c.port);
        EXPECT_EQ(d.EnableBox()->isChecked(), c.enabled);
        EXPECT_EQ(d.ServerEdit()->isEnabled(), c.enabled);
        EXPECT_EQ(d.SeverityList()->isEnabled(), c.enabled);
        // "0.0.0.0" (no server) is no address to write: marked, Apply off
        // until the user types one.
        const bool noServer = c.address == QStringLiteral("0.0.0.0");
        EXPECT_EQ(d.ServerEdit()->IsMarkedInvalid(), noServer);
        EXPECT_EQ(d.ApplyButton()->isEnabled(), c.enabled && !noServer);
        EXPECT_EQ(d.FacilityList()->currentText(), QStringLiteral("local3"));
        EXPECT_EQ(d.SeverityList()->currentText(), QStringLiteral("info"));
        EXPECT_EQ(d.TimeStampList()->currentText(), QStringLiteral("Disabled"));
        EXPECT_TRUE(messages.texts().isEmpty());
    }
}

// 10.0.0.5 changed to 10.0.0.6: the new row is made and active before the
// old one goes, then the scalars; on a switch with room for one row only
// the create is refused, the old row goes first and the new one follows.
// Either way the switch ends with one active row for 10.0.0.6 and is never
// without a server where it had room for both. Catches the destroy-first
// order, an unchecked refused create and a missing scalar write.
TEST_F(SyslogHostTest, ChangedAddressEndsWithTheNewRowOnly)
{
    struct Case {
        const char* what;
        const char* limit;
        std::vector<std::string> sets;
    };
    const std::string create = Cell(5, kNew) + "=5";
    const std::string port = Cell(3, kNew) + "=514";
    const std::string activate = Cell(5, kNew) + "=1";
    const std::string destroyOld = Cell(5, kOld) + "=6";
    const Case cases[] = {
        {"room for two rows", "syslog rows 0", {create, port, activate, destroyOld, kScalarSet}},
        {"one row only", "syslog rows 1", {create, destroyOld, create, port, activate, kScalarSet}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "1.0 i 1"));
        AddRow(kOld, 514, 1);
        ASSERT_TRUE(sim->command(c.limit));
        MessageRecorder messages;
        CSyslogHostCfgDlg d;
        Open(d);
        d.ServerEdit()->setText(QStringLiteral("10.0.0.6"));
        sim->clearLog();
        ApplyAndWait(d);
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
        EXPECT_EQ(SetTexts(sim->sets()), c.sets);
        EXPECT_EQ(Rows(), (std::map<std::string, std::string>{{kNew, "1"}}));
        EXPECT_EQ(d.ServerEdit()->text(), QStringLiteral("10.0.0.6")) << "read again after the writes";
        // What was written: the four host values and the three scalars of
        // the sequence that went through (a refused first try not counted).
        EXPECT_EQ(d.StatusLine()->text(), QStringLiteral("Written: 7 settings"));
    }
}

// The same address with another port is changed in place: no row is
// destroyed, so the switch never loses its server.
TEST_F(SyslogHostTest, SameAddressIsUpdatedInPlace)
{
    AddRow(kOld, 514, 1);
    MessageRecorder messages;
    CSyslogHostCfgDlg d;
    Open(d);
    d.PortEdit()->setText(QStringLiteral("1514"));
    sim->clearLog();
    ApplyAndWait(d);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(SetTexts(sim->sets()), (std::vector<std::string>{Cell(3, kOld) + "=1514", kScalarSet}));
    EXPECT_EQ(d.PortEdit()->text(), QStringLiteral("1514"));
}

// A link-local IPv6 server: the row index is type 2, length 16 and the 16
// octets of the expanded address, and the interface name is written.
TEST_F(SyslogHostTest, LinkLocalAddressGivesItsIndexAndInterfaceName)
{
    MessageRecorder messages;
    CSyslogHostCfgDlg d;
    Open(d);
    d.ServerEdit()->setText(QStringLiteral("fe80::1%vlan1"));
    sim->clearLog();
    ApplyAndWait(d);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    const std::string index = "2.16.254.128.0.0.0.0.0.0.0.0.0.0.0.0.0.1";
    EXPECT_EQ(SetTexts(sim->sets()),
              (std::vector<std::string>{Cell(5, index) + "=5", Cell(3, index) + "=514", Cell(4, index) + "=vlan1",
                                        Cell(5, index) + "=1", kScalarSet}));
    EXPECT_EQ(d.ServerEdit()->text(), QStringLiteral("fe80::1%vlan1"));
}

// Input the switch cannot take writes nothing and says why.
TEST_F(SyslogHostTest, BadInputWritesNothing)
{
    // An address that is not one keeps Apply off while it is typed (the
    // field is marked with the reason); the other checks answer at Apply.
    struct Case {
        const char* address;
        const char* port;
        QString message;   // empty: Apply stays off, no box
    };
    const Case cases[] = {
        {"10.0.0.6", "0", QStringLiteral("Invalid UDP port range (1-65535)")},
        {"10.0.0.6", "70000", QStringLiteral("Invalid UDP port range (1-65535)")},
        {"10.0.0.6", "", QStringLiteral("Invalid UDP port range (1-65535)")},
        {"10.0.0.256", "514", QString()},
        {"10.0.0.300", "514", QString()},
        {"10.0.0", "514", QString()},
        {"fe80::1", "514", QString()},
        {"fe80::1%vl.an", "514", QStringLiteral("Invalid Interface Name. ")},
    };
    AddRow(kOld, 514, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " port " + c.port);
        MessageRecorder messages;
        if (!c.message.isEmpty())
            messages.expect(c.message);
        CSyslogHostCfgDlg d;
        Open(d);
        ASSERT_TRUE(d.ApplyButton()->isEnabled());
        d.ServerEdit()->setText(QString::fromLatin1(c.address));
        d.PortEdit()->setText(QString::fromLatin1(c.port));
        EXPECT_EQ(d.ServerEdit()->IsMarkedInvalid(), c.message.isEmpty());
        EXPECT_EQ(d.ApplyButton()->isEnabled(), !c.message.isEmpty());
        sim->clearLog();
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(sim->requests().empty());
        // Mended while typed: Apply comes back.
        d.ServerEdit()->setText(QStringLiteral("10.0.0.7"));
        EXPECT_TRUE(d.ApplyButton()->isEnabled());
        EXPECT_FALSE(d.ServerEdit()->IsMarkedInvalid());
    }
}

// A refused step keeps the switch's server: a refused create (on a switch
// whose table holds that one row the old row is taken away and put back),
// and a refused port on the new row (the half-made row is removed). Each
// ends with a message naming the step and the old row active as before.
TEST_F(SyslogHostTest, RefusedChangeKeepsTheOldRow)
{
    struct Case {
        const char* what;
        std::string fault;
        std::vector<std::string> sets;
        QString failedStep;
    };
    const Case cases[] = {
        {"create refused",
         "error " + Cell(5, kNew) + " genErr",
         {Cell(5, kNew) + "=5", Cell(5, kOld) + "=6", Cell(5, kNew) + "=5", Cell(5, kOld) + "=5",
          Cell(3, kOld) + "=514", Cell(5, kOld) + "=1"},
         QStringLiteral("create the syslog host row failed: genErr on ")},
        {"port refused",
         "error " + Cell(3, kNew) + " badValue",
         {Cell(5, kNew) + "=5", Cell(3, kNew) + "=514", Cell(5, kNew) + "=6"},
         QStringLiteral("UDP port failed: badValue on ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("reset"));
        ASSERT_TRUE(sim->command("set " + kSyslog + "1.0 i 1"));
        AddRow(kOld, 514, 1);
        ASSERT_TRUE(sim->command(c.fault));
        MessageRecorder messages;
        messages.script({IDOK});   // the text is checked below, by its start
        CSyslogHostCfgDlg d;
        Open(d);
        d.ServerEdit()->setText(QStringLiteral("10.0.0.6"));
        sim->clearLog();
        ApplyAndWait(d);
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(messages.texts()[0].startsWith(
            QStringLiteral("The switch did not take the syslog host 10.0.0.6. The syslog host 10.0.0.5 is kept.\n")
            + c.failedStep))
            << messages.texts()[0].toStdString();
        EXPECT_EQ(SetTexts(sim->sets()), c.sets);
        EXPECT_EQ(Rows(), (std::map<std::string, std::string>{{kOld, "1"}}));
        EXPECT_EQ(d.ServerEdit()->text(), QStringLiteral("10.0.0.5")) << "read again after the failure";
    }
}

// A severity the dialog does not know is said, and Apply stays off until
// the user picks one (never a silent stop, never a guessed value).
TEST_F(SyslogHostTest, UnknownSeverityIsReported)
{
    ASSERT_TRUE(sim->command("set " + kSyslog + "3.0 i 5"));
    AddRow(kOld, 514, 1);   // a server to write, so only the severity holds Apply back
    MessageRecorder messages;
    messages.script({IDOK});   // the text is checked below
    CSyslogHostCfgDlg d;
    Open(d);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("(5)")));
    EXPECT_EQ(d.SeverityList()->currentIndex(), -1);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    d.SeverityList()->setCurrentIndex(2);
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// A scalar that the switch does not have still ends the refresh: the host
// table is read, Refresh works again, and Apply stays off with the reason
// in the status line.
TEST_F(SyslogHostTest, MissingScalarStillFinishesTheRefresh)
{
    AddRow(kOld, 514, 1);
    ASSERT_TRUE(sim->command("unset " + kSyslog + "2.0"));
    MessageRecorder messages;
    CSyslogHostCfgDlg d;
    Open(d);
    EXPECT_EQ(d.ServerEdit()->text(), QStringLiteral("10.0.0.5"));
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.StatusLine()->text().contains(QStringLiteral("syslog settings")));
}

// The enable box's own Apply writes the enable object alone, then reads
// again.
TEST_F(SyslogHostTest, EnableApplyWritesTheEnableState)
{
    MessageRecorder messages;
    CSyslogHostCfgDlg d;
    Open(d);
    d.EnableBox()->setChecked(false);
    sim->clearLog();
    d.EnableApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending(); }));
    EXPECT_EQ(SetTexts(sim->sets()), (std::vector<std::string>{kSyslog + "1.0=2"}));
    EXPECT_FALSE(d.EnableBox()->isChecked());
    EXPECT_FALSE(d.ServerEdit()->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());
}
