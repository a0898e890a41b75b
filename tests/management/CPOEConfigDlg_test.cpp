#include "CListCtrlEx.h"
#include "CPOEConfigDlg.h"
#include "MessageRecorder.h"
#include "PoeTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class PoePortTest : public PoeDialogTest
{
protected:
    static void Choose(QComboBox* list, const QString& text)
    {
        const int at = list->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        list->setCurrentIndex(at);
        emit list->activated(at);
    }
    static std::vector<std::string> Row(CListCtrlEx* list, int row)
    {
        std::vector<std::string> cells;
        for (int c = 0; c < list->GetColumnCount(); ++c)
            cells.push_back(list->GetItemText(row, c).toStdString());
        return cells;
    }
    static QStringList Items(QComboBox* list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
};

} // namespace

// The limit check: the whole text must be watts from 1.0 to 30.0 in steps
// of 0.2, and what is sent is the number checked ("15.40" sends "15.4"; a
// conversion that stops at the first odd character would let "15.4abc",
// "0x1E" and "1e1" through).
TEST(PoePowerLimit, AcceptedAndRefusedTexts)
{
    const QString range = QStringLiteral("The User Defined power limit ranges between 1.0 ~ 30.0");
    const QString step = QStringLiteral("The per-port power limit must be a multiple of 0.2");
    struct Case { const char* text; QString message; const char* sent; };
    const Case cases[] = {
        {"1.0", {}, "1.0"},    {"15.4", {}, "15.4"},  {"29.8", {}, "29.8"}, {"30.0", {}, "30.0"},
        {"30", {}, "30.0"},    {"15.40", {}, "15.4"}, {"2", {}, "2.0"},
        {"15.5", step, ""},    {"29.9", step, ""},    {"15.45", step, ""},
        {"0.8", range, ""},    {"30.2", range, ""},   {"abc", range, ""},   {"15.4abc", range, ""},
        {"0x1E", range, ""},   {"1e1", range, ""},    {"", range, ""},      {" 15.4", range, ""},
        {"-2", range, ""},
    };
    for (const Case& c : cases) {
        QString sent;
        EXPECT_EQ(CPOEConfigDlg::CheckPowerLimit(QString::fromLatin1(c.text), &sent), c.message) << c.text;
        if (c.message.isEmpty()) {
            EXPECT_EQ(sent.toStdString(), c.sent) << c.text;
        }
    }
}

// The list: one row per PoE row read, keyed by its port; the time range by
// the profile's index, the limit from the class (".6 = 0" is Auto too) or
// the user value when that is in force; the measurements as they come.
TEST_F(PoePortTest, ListShowsEveryPoePort)
{
    ASSERT_TRUE(sim->command("set " + P + ".42.1.1.6.1.5 i 0"));
    ASSERT_TRUE(sim->command("set " + P + ".42.1.1.4.1.6 i 2"));
    CPOEConfigDlg d;
    Open(d);
    CListCtrlEx* list = d.List();
    ASSERT_EQ(list->GetItemCount(), 24);
    using Cells = std::vector<std::string>;
    EXPECT_EQ(Row(list, 0), (Cells{"1", "Enable", "N/A", "High", "Auto", "6.4", "53.5", "120", "Class 0", "Delivering Power"}));
    EXPECT_EQ(Row(list, 1)[4], "15.4");       // user limit in force
    EXPECT_EQ(Row(list, 2)[2], "Daytime");    // profile 1
    EXPECT_EQ(Row(list, 3)[4], "Class 2");    // .6 = 3
    EXPECT_EQ(Row(list, 4)[4], "Auto");       // .6 = 0
    EXPECT_EQ(Row(list, 5)[2], "Day");        // profile 2
    EXPECT_EQ(Row(list, 23), (Cells{"24", "Enable", "N/A", "Normal", "Auto", "0.0", "0.0", "0", "N/A", "Searching"}));
    EXPECT_EQ(Items(d.TimeRange()), (QStringList{"N/A", "Daytime", "Day"}));
    EXPECT_EQ(d.FromPort()->count(), 24);
    EXPECT_EQ(d.FromPort()->currentText(), "1");
    EXPECT_EQ(d.ToPort()->currentText(), "24");
}

// The port lists hold the PoE rows read, not a fixed 1-24; a row cut short
// (a column without its cell) ends the table there.
TEST_F(PoePortTest, PortListsFollowTheRowsRead)
{
    for (int column = 3; column <= 13; ++column)
        ASSERT_TRUE(sim->command("unset " + P + ".42.1.1." + std::to_string(column) + ".1.24"));
    {
        CPOEConfigDlg d;
        Open(d);
        EXPECT_EQ(d.List()->GetItemCount(), 23);
        EXPECT_EQ(d.ToPort()->count(), 23);
        EXPECT_EQ(d.ToPort()->currentText(), "23");
    }
    ASSERT_TRUE(sim->command("unset " + P + ".42.1.1.13.1.10"));
    CPOEConfigDlg d;
    Open(d);
    EXPECT_EQ(d.List()->GetItemCount(), 9);
    EXPECT_EQ(d.Ports().size(), 9);
    EXPECT_EQ(d.ToPort()->itemText(d.ToPort()->count() - 1), "9");
}

// Each port of the range is one request: state, time range (the profile's
// index), priority, then "User Define" off with the class ("Class 2" is
// .6 = 3) or on with the checked limit; ports outside the range untouched.
TEST_F(PoePortTest, ApplyWritesEachPortOfTheRange)
{
    CPOEConfigDlg d;
    Open(d);
    Choose(d.FromPort(), "2");
    Choose(d.ToPort(), "3");
    Choose(d.State(), "Disable");
    Choose(d.TimeRange(), "Day");
    Choose(d.Priority(), "High");
    Choose(d.PowerLimit(), "Class 2");
    d.ApplyButton()->click();
    EXPECT_TRUE(d.IsWriting());   // sent in the background: the window keeps running
    ASSERT_TRUE(WaitSettled(d));
    const auto port = [](int p, const std::string& limit) {
        const std::string i = ".1." + std::to_string(p);
        const std::string e = "P.42.1.1.";
        return e + "3" + i + "=2 " + e + "4" + i + "=2 " + e + "5" + i + "=3 " + limit;
    };
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{port(2, "P.42.1.1.7.1.2=2 P.42.1.1.6.1.2=3"),
                                                         port(3, "P.42.1.1.7.1.3=2 P.42.1.1.6.1.3=3")}));
    EXPECT_EQ(d.List()->GetItemText(1, 1), "Disable");
    EXPECT_EQ(d.List()->GetItemText(2, 4), "Class 2");

    ASSERT_TRUE(sim->command("clearlog"));
    Choose(d.FromPort(), "5");
    d.UserDefine()->setChecked(true);
    EXPECT_FALSE(d.PowerLimit()->isEnabled());
    EXPECT_TRUE(d.UserLimit()->isEnabled());
    d.UserLimit()->setText("15.40");
    Choose(d.TimeRange(), "N/A");
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.42.1.1.3.1.5=2 P.42.1.1.4.1.5=0 P.42.1.1.5.1.5=3 "
                                                       "P.42.1.1.7.1.5=1 P.42.1.1.8.1.5=15.4"});
    EXPECT_EQ(d.List()->GetItemText(4, 4), "15.4");
}

// A refused limit is refused before any port is written; a port the switch
// refuses stops the ports after it and says which.
TEST_F(PoePortTest, RefusalsStopTheWrites)
{
    CPOEConfigDlg d;
    Open(d);
    Choose(d.FromPort(), "1");
    Choose(d.ToPort(), "3");
    d.UserDefine()->setChecked(true);
    for (const char* text : {"15.5", "0x1E"}) {
        MessageRecorder messages;
        messages.script({IDOK});
        d.UserLimit()->setText(QString::fromLatin1(text));
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(messages.texts()[0].startsWith("The ")) << text;
    }
    EXPECT_TRUE(SetLines(*sim).empty());

    d.UserDefine()->setChecked(false);
    ASSERT_TRUE(sim->command("error " + P + ".42.1.1.3.1.2 genErr"));
    MessageRecorder messages;
    messages.script({IDOK});
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("PoE port 2")) << messages.texts()[0].toStdString();
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 2u);   // port 1 written, port 2 refused, port 3 never sent
    EXPECT_EQ(lines[0].substr(0, 17), "P.42.1.1.3.1.1=1 ");
    EXPECT_EQ(lines[1].substr(0, 17), "P.42.1.1.3.1.2=1 ");
}

// To below From brings the message and To back to From; choosing From
// moves To with it; a selected row chooses its port and state.
TEST_F(PoePortTest, PortRangeControls)
{
    ASSERT_TRUE(sim->command("set " + P + ".42.1.1.3.1.6 i 2"));
    CPOEConfigDlg d;
    Open(d);
    Choose(d.FromPort(), "5");
    EXPECT_EQ(d.ToPort()->currentText(), "5");
    {
        MessageRecorder messages;
        messages.expect("'To Port' can not be smaller than 'From Port'");
        Choose(d.ToPort(), "3");
    }
    EXPECT_EQ(d.ToPort()->currentText(), "5");
    d.List()->SelectItem(5);
    EXPECT_EQ(d.FromPort()->currentText(), "6");
    EXPECT_EQ(d.ToPort()->currentText(), "6");
    EXPECT_EQ(d.State()->currentText(), "Disable");
}

// Refresh reads the names again from nothing: a profile gone from the
// switch no longer names a port's range, and Apply sends the index of the
// name chosen now (a stale index array would send the old position's).
TEST_F(PoePortTest, RefreshStartsTheTimeRangesAfresh)
{
    CPOEConfigDlg d;
    Open(d);
    RemoveRow(P + ".32.1.1", 1);
    d.Refresh();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(Items(d.TimeRange()), (QStringList{"N/A", "Day"}));
    EXPECT_EQ(d.List()->GetItemText(2, 2), "");   // port 3 still names profile 1
    ASSERT_TRUE(sim->command("clearlog"));
    Choose(d.FromPort(), "7");
    Choose(d.TimeRange(), "Day");
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("P.42.1.1.4.1.7=2 "), std::string::npos) << lines[0];
}

// No answer to the time-range walk: the port table is not read, Apply
// stays off, and Refresh tries both again.
TEST_F(PoePortTest, TimeRangeTimeOutMeansNoPortWalk)
{
    ASSERT_TRUE(sim->command("drop under " + P + ".32.1.1"));
    CPOEConfigDlg d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_EQ(ReadsUnder(P + ".42.1.1"), 0);
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(sim->command("drop off"));
    d.Refresh();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_TRUE(d.Gate().AllSucceeded());
    EXPECT_EQ(d.List()->GetItemCount(), 24);
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// The PoE controller is slow: a port's set may take up to 20 s to be
// answered, and each port after the first waits 300 ms. With the session's
// own time-out (1 s here) a 2.5 s answer would be "No answer" and the rest of
// the range unwritten; without the pause the second port would arrive at
// once. Only lower bounds are checked: a loaded machine is only ever slower.
TEST_F(PoePortTest, SlowPortSetsAreWaitedForAndPaced)
{
    CPOEConfigDlg d;
    Open(d);
    Choose(d.FromPort(), "2");
    Choose(d.ToPort(), "4");
    ASSERT_TRUE(sim->command("delay under " + P + ".42.1.1.3 2500"));
    MessageRecorder messages;   // no box: every port is taken
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting(); }, 30000));
    // The re-read that follows needs no slow answers (its first request may
    // have gone with the delay still on: read again).
    ASSERT_TRUE(sim->command("delay under " + P + ".42.1.1.3 0"));
    d.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !d.IsSettling() && !d.Gate().Pending() && d.ApplyButton()->isEnabled(); }, 30000));
    const std::vector<SimRequest> sets = sim->sets();
    ASSERT_EQ(sets.size(), 3u);
    for (size_t i = 1; i < sets.size(); ++i) {
        const qint64 gap = ReceivedMs(sets[i]) - ReceivedMs(sets[i - 1]);
        EXPECT_GE(gap, 2500 + 300) << "port " << i + 2 << " sent before the answer and the pause";
    }
    EXPECT_EQ(sets[2].varbinds[0].oid, P + ".42.1.1.3.1.4");

    // Without a slow answer the pause still separates the ports.
    Choose(d.FromPort(), "2");
    Choose(d.ToPort(), "4");
    ASSERT_TRUE(sim->command("clearlog"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::vector<SimRequest> quick = sim->sets();
    ASSERT_EQ(quick.size(), 3u);
    for (size_t i = 1; i < quick.size(); ++i)
        EXPECT_GE(ReceivedMs(quick[i]) - ReceivedMs(quick[i - 1]), 300) << "no pause before port " << i + 2;
}
