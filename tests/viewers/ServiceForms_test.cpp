// The telnet, web service and RMON control forms against the simulated
// switch: what they show, the exact sets they send (from the switch's
// request log), what they refuse to send, and their behaviour over v3.

#include "CDirectSnmpDialog.h"
#include "CListCtrlEx.h"
#include "CRmonControlDlg.h"
#include "CStatusLine.h"
#include "CTelnetCfgDlg.h"
#include "CWebConfigDlg.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kArc = "1.3.6.1.4.1.32473.10.94.89.89.";
const std::string kTelnet = kArc + "58.";
const std::string kWeb = kArc + "66.30.1.";
const std::string kControl = kArc + "49.";

class ServiceFormTest : public SharedSwitchDialogTest
{
protected:
    static bool Open(CDirectSnmpDialog& d)
    {
        d.show();
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 20000);
    }
    // Waits until nothing is pending any more after an action.
    static bool Settle(CDirectSnmpDialog& d) { return WaitFor([&] { return !d.IsBusy(); }, 20000); }
    // Gives a set that should not be sent the time to arrive.
    static void NoMoreSets(size_t expected)
    {
        WaitFor([&] { return sim->sets().size() > expected; }, 400);
        EXPECT_EQ(sim->sets().size(), expected);
    }
    static void Select(CListCtrlEx* list, int row)
    {
        list->selectRow(row);
        emit list->rowClicked(row);
    }
    static std::vector<std::pair<std::string, std::string>> Bindings(const SimRequest& r)
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const SimVarbind& v : r.varbinds)
            out.emplace_back(v.oid, v.value);
        return out;
    }
    using Pairs = std::vector<std::pair<std::string, std::string>>;
};

// ---------------------------------------------------------------- telnet

// The cell texts: Status reads "Connected" for 1 only; other columns as
// received; no value, no text.
TEST(TelnetStatusText, AsATable)
{
    struct Case { int column; const char* value; bool has; const char* text; };
    const Case cases[] = {{3, "1", true, "Connected"}, {3, "2", true, "Unconnected"}, {3, "0", true, "Unconnected"},
                          {3, "", false, ""},          {0, "2", true, "2"},            {1, "10.0.0.1", true, "10.0.0.1"}};
    for (const Case& c : cases) {
        CDirectWalk::Binding b;
        b.value = c.value;
        b.hasValue = c.has;
        EXPECT_EQ(CTelnetCfgDlg::StatusToText(c.column, b), QString::fromLatin1(c.text)) << c.column << c.value;
    }
}

// The sessions in column order, a session with status 2 "Unconnected" in
// the list and "UnConnected" in the drop-down once clicked; the password
// and time-out as read.
TEST_F(ServiceFormTest, TelnetShowsSessionsAndScalars)
{
    CTelnetCfgDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "Telnet Configuration");
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "10.90.90.1", "2026/12/11 08:30:12", "Connected"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "10.90.90.7", "2026/12/11 07:02:45", "Unconnected"}));
    EXPECT_EQ(d.PasswordEdit()->text(), "velmarc");
    EXPECT_EQ(d.TimeoutEdit()->text(), "5");
    EXPECT_FALSE(d.PasswordEdit()->isEnabled());

    Select(d.List(), 1);
    ASSERT_TRUE(Settle(d));
    EXPECT_EQ(d.SessionIdEdit()->text(), "2");
    EXPECT_EQ(d.StatusCombo()->currentText(), "UnConnected");
    Select(d.List(), 0);
    ASSERT_TRUE(Settle(d));
    EXPECT_EQ(d.StatusCombo()->currentText(), "Connected");
    EXPECT_TRUE(sim->sets().empty());
}

// Session Control's Apply before any row was clicked sends nothing; the
// time-out Apply writes the edit and the re-read shows the switch's value,
// also after a refusal (out of the switch's range), which the status line
// keeps saying.
TEST_F(ServiceFormTest, TelnetApplies)
{
    CTelnetCfgDlg d;
    ASSERT_TRUE(Open(d));
    d.StatusApplyButton()->click();
    NoMoreSets(0);

    d.TimeoutEdit()->setText(QStringLiteral("12"));
    d.TimeoutApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 1 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(Bindings(sim->sets()[0]), (Pairs{{kTelnet + "3.0", "12"}}));
    EXPECT_EQ(sim->sets()[0].varbinds[0].type, "INTEGER");
    EXPECT_EQ(d.TimeoutEdit()->text(), "12");
    EXPECT_EQ(sim->value(kTelnet + "3.0"), "i 12");

    d.TimeoutEdit()->setText(QStringLiteral("99"));
    d.TimeoutApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 2 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(d.TimeoutEdit()->text(), "12");   // the switch's value again
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Refused")) << d.StatusLine()->text().toStdString();

    // A session's status: the row clicked, "UnConnected" chosen; the list
    // is walked again and shows the new status.
    Select(d.List(), 0);
    ASSERT_TRUE(Settle(d));
    d.StatusCombo()->setCurrentIndex(1);
    d.StatusApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 3 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(Bindings(sim->sets()[2]), (Pairs{{kTelnet + "4.1.4.1", "2"}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(0, 3), "Unconnected");
}

// Under v3 the password and time-out are not read and the time-out is not
// written, while the session walk and the status set work over v3.
TEST_F(ServiceFormTest, TelnetOverV3)
{
    UseSimUser(SimulatedSwitch::Users()[2]);
    CTelnetCfgDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_TRUE(d.PasswordEdit()->text().isEmpty());
    EXPECT_TRUE(d.TimeoutEdit()->text().isEmpty());
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(1, 3), "Unconnected");

    d.TimeoutEdit()->setText(QStringLiteral("9"));
    d.TimeoutApplyButton()->click();
    NoMoreSets(0);

    Select(d.List(), 1);
    ASSERT_TRUE(Settle(d));
    EXPECT_EQ(d.StatusCombo()->currentText(), "UnConnected");
    d.StatusCombo()->setCurrentIndex(0);
    d.StatusApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 1 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(sim->sets()[0].version, "3");
    EXPECT_EQ(sim->sets()[0].user, "velsha");
    EXPECT_EQ(Bindings(sim->sets()[0]), (Pairs{{kTelnet + "4.1.4.2", "1"}}));
    EXPECT_EQ(d.List()->GetItemText(1, 3), "Connected");
}

// ------------------------------------------------------------------- web

// The services as a table: the two-part index, the enable and protocol
// texts, "default" for values outside 2 and 3.
TEST_F(ServiceFormTest, WebTable)
{
    ASSERT_TRUE(sim->command("set " + kWeb + "3.2.7 i 7"));
    ASSERT_TRUE(sim->command("set " + kWeb + "6.1.5 i 1"));
    CWebConfigDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "Web Service Configuration");
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1.5", "http", "enable", "80", "8", "default", "0", "600"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2.7", "https", "default", "443", "4", "https", "1", "300"}));
    EXPECT_EQ(CWebConfigDlg::EnableText("2"), "disable");
    EXPECT_EQ(CWebConfigDlg::ProtocolText("2"), "http");
}

// Apply writes port (.4), idle time-out (.8) and enable (.3), in that order,
// to the clicked row, and the list shows the new values. An empty Index
// sends nothing; a text that is not decimal sends nothing; a row whose
// enable reads "default" leaves the drop-down without a selection, and
// Apply then writes 1 (which this switch refuses).
TEST_F(ServiceFormTest, WebApply)
{
    ASSERT_TRUE(sim->command("set " + kWeb + "3.1.5 i 0"));
    CWebConfigDlg d;
    ASSERT_TRUE(Open(d));
    d.PortEdit()->setText(QStringLiteral("81"));
    d.ApplyButton()->click();
    NoMoreSets(0);

    Select(d.List(), 1);
    EXPECT_EQ(d.IndexEdit()->text(), "2.7");
    EXPECT_EQ(d.PortEdit()->text(), "443");
    EXPECT_EQ(d.IdleEdit()->text(), "300");
    EXPECT_EQ(d.EnableCombo()->currentText(), "disable");
    d.PortEdit()->setText(QStringLiteral("8443"));
    d.IdleEdit()->setText(QStringLiteral("120"));
    d.EnableCombo()->setCurrentIndex(1);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 1 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(Bindings(sim->sets()[0]),
              (Pairs{{kWeb + "4.2.7", "8443"}, {kWeb + "8.2.7", "120"}, {kWeb + "3.2.7", "3"}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2.7", "https", "enable", "8443", "4", "https", "1", "120"}));

    for (const char* bad : {"12a", " 5", ""}) {
        d.IdleEdit()->setText(QString::fromLatin1(bad));
        d.ApplyButton()->click();
    }
    NoMoreSets(1);
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Nothing written")) << d.StatusLine()->text().toStdString();

    Select(d.List(), 0);
    EXPECT_EQ(d.List()->GetItemText(0, 2), "default");
    EXPECT_EQ(d.EnableCombo()->currentIndex(), -1);
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 2 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(Bindings(sim->sets()[1]), (Pairs{{kWeb + "4.1.5", "80"}, {kWeb + "8.1.5", "600"}, {kWeb + "3.1.5", "1"}}));
    EXPECT_EQ(sim->sets()[1].errorName, "badValue");
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Refused")) << d.StatusLine()->text().toStdString();
}

// ------------------------------------------------------------ RMON control

// The six scalars in their fields; Apply writes the four edits in order
// (49.2, 49.6, 49.7, 49.8) and neither closes nor reads again.
TEST_F(ServiceFormTest, RmonControlReadsSixWritesFour)
{
    CRmonControlDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "RMON Control");
    EXPECT_EQ(d.MibVersion()->text(), "1");
    EXPECT_EQ(d.MaxGlobalBuckets()->text(), "2000");
    const char* read[4] = {"50", "50", "2000", "100"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.Edit(i)->text(), read[i]) << i;

    const char* typed[4] = {"60", "70", "3000", "200"};
    for (int i = 0; i < 4; ++i)
        d.Edit(i)->setText(QString::fromLatin1(typed[i]));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return sim->sets().size() == 1 && !d.IsBusy(); }, 30000));
    EXPECT_EQ(Bindings(sim->sets()[0]), (Pairs{{kControl + "2.0", "60"}, {kControl + "6.0", "70"},
                                               {kControl + "7.0", "3000"}, {kControl + "8.0", "200"}}));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(sim->requests().size(), 1u);   // no read after the write
    EXPECT_EQ(sim->value(kControl + "8.0"), "i 200");
}

// Values that are not decimal send nothing (so do the empty fields of a
// failed read); v3 reads and writes nothing; an answer short of a value
// changes no field.
TEST_F(ServiceFormTest, RmonControlRefusals)
{
    {
        CRmonControlDlg d;
        ASSERT_TRUE(Open(d));
        for (const char* bad : {"abc", "", "0x10", "-"}) {
            d.Edit(1)->setText(QString::fromLatin1(bad));
            d.ApplyButton()->click();
        }
        NoMoreSets(0);
    }
    ASSERT_TRUE(sim->command("unset " + kControl + "8.0"));
    {
        CRmonControlDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_TRUE(d.MibVersion()->text().isEmpty());
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(d.Edit(i)->text().isEmpty()) << i;
        d.ApplyButton()->click();
        NoMoreSets(0);
    }
    ASSERT_TRUE(sim->command("reset"));
    UseSimUser(SimulatedSwitch::Users()[0]);
    CRmonControlDlg d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !d.StatusLine()->text().isEmpty(); }));
    for (int i = 0; i < 4; ++i)
        d.Edit(i)->setText(QStringLiteral("7"));
    d.ApplyButton()->click();
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(d.MibVersion()->text().isEmpty());
    EXPECT_TRUE(sim->requests().empty());
}

} // namespace
