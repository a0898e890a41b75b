#include "CListCtrlEx.h"
#include "CTimeProfileInfo.h"
#include "CTimeWindowForm.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "PowerTestUtil.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";

class TimeProfileTest : public PowerDialogTest
{
protected:
    // A stored profile without a date, 08:00 to 09:00 every day, put straight
    // into the switch.
    static void PutProfile(int index, const std::string& name)
    {
        const std::string entry = P + ".32.1.1.";
        const std::string i = "." + std::to_string(index);
        ASSERT_TRUE(sim->command("set " + entry + "2" + i + " s " + name));
        for (int column = 3; column <= 20; ++column)
            ASSERT_TRUE(sim->command("set " + entry + std::to_string(column) + i + " i "
                                     + (column == 7 ? "8" : column == 12 ? "9" : column == 8 || column == 13 ? "0"
                                                       : column <= 13 ? "2" : "1")));
        ASSERT_TRUE(sim->command("set " + entry + "21" + i + " i 1"));
    }

    static void Select(QComboBox* list, int value) { ASSERT_TRUE(CTimeWindowForm::SelectNumber(list, value)); }
};

} // namespace

// The date and time check, with its messages in their order.
TEST(TimeWindowCheck, CasesAndMessages)
{
    struct Case {
        bool dated;
        int v[10];   // from y m d, to y m d, start h m, end h m
        const char* message;
    };
    const Case cases[] = {
        {false, {0, 0, 0, 0, 0, 0, 8, 0, 8, 0}, "'Start Time' and 'End Time' can't be the same"},
        {false, {0, 0, 0, 0, 0, 0, 18, 0, 8, 0}, "'Start Time' can't be grater than 'End Time'"},
        {false, {0, 0, 0, 0, 0, 0, 8, 0, 18, 0}, ""},
        {true, {2012, 5, 10, 2012, 5, 9, 8, 0, 9, 0}, "'To day' can't be less than 'From day'"},
        {true, {2012, 6, 1, 2012, 5, 30, 8, 0, 9, 0}, "'To month' can't be less than 'From month'"},
        {true, {2013, 1, 1, 2012, 12, 31, 8, 0, 9, 0}, "'To year' can't be less than 'From year'"},
        {true, {2012, 5, 9, 2012, 5, 10, 8, 0, 7, 0}, ""},   // the dates differ
        {true, {2012, 5, 9, 2012, 5, 9, 8, 0, 7, 0}, "'Start Time' can't be grater than 'End Time'"},
        {true, {2012, 5, 9, 2012, 5, 9, 7, 59, 8, 0}, ""},
        {true, {2012, 5, 9, 2012, 5, 10, 8, 0, 8, 0}, "'Start Time' and 'End Time' can't be the same"},
    };
    for (const Case& c : cases) {
        const int* v = c.v;
        EXPECT_EQ(CTimeWindowForm::CheckWindow(c.dated, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9])
                      .toStdString(),
                  c.message)
            << v[0] << "/" << v[1] << "/" << v[2] << " - " << v[3] << "/" << v[4] << "/" << v[5] << " " << v[6]
            << ":" << v[7] << "-" << v[8] << ":" << v[9];
    }
}

// The day lists follow month and year: February 2012 has 29 days, 2013 has
// 28, so 31 February cannot be chosen.
TEST(TimeWindowForm, DayListFollowsMonthAndYear)
{
    EnsureTestApp();
    CTimeWindowForm form(QStringLiteral("Time Profile Add"), QStringLiteral("Profile Name"), 2011, 2029);
    struct Case {
        int year, month, days;
    };
    for (const Case& c : {Case{2012, 2, 29}, Case{2013, 2, 28}, Case{2013, 4, 30}, Case{2013, 12, 31}}) {
        for (int side : {0, 3}) {
            ASSERT_TRUE(CTimeWindowForm::SelectNumber(form.List(side), c.year));
            ASSERT_TRUE(CTimeWindowForm::SelectNumber(form.List(side + 1), c.month));
            EXPECT_EQ(form.List(side + 2)->count(), c.days) << c.year << "/" << c.month << " side " << side;
        }
    }
}

// The lowest free index, whatever the order of the rows.
TEST(TimeProfileIndex, LowestFreeIndex)
{
    const auto rows = [](std::initializer_list<int> indexes) {
        QList<TIME_PROFILE_ROW> list;
        for (int i : indexes) {
            TIME_PROFILE_ROW row;
            row.strIndex = QString::number(i);
            list << row;
        }
        return list;
    };
    EXPECT_EQ(CTimeProfileInfo::FreeIndex(rows({})), 1);
    EXPECT_EQ(CTimeProfileInfo::FreeIndex(rows({1, 2, 4})), 3);
    EXPECT_EQ(CTimeProfileInfo::FreeIndex(rows({4, 2, 1})), 3);
    EXPECT_EQ(CTimeProfileInfo::FreeIndex(rows({1, 2, 3, 4, 5, 6, 7, 8})), 0);
}

// The list shows active rows: day names joined without a trailing comma,
// dates only for a dated profile, times in two digits.
TEST_F(TimeProfileTest, ListShowsTheStoredProfiles)
{
    ASSERT_TRUE(sim->command("set " + P + ".32.1.1.21.2 i 2"));   // not in service: not listed
    PutProfile(3, "Night");
    CTimeProfileInfo d;
    Open(d);
    CListCtrlEx* list = d.List();
    ASSERT_EQ(list->GetItemCount(), 2);
    const char* expected[2][6] = {
        {"Daytime", "Mon,Tue,Wed,Thu,Fri", "", "", "08:00", "18:00"},
        {"Night", "Mon,Tue,Wed,Thu,Fri,Sat,Sun", "", "", "08:00", "09:00"},
    };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(list->GetItemText(r, c).toStdString(), expected[r][c]) << "row " << r << " column " << c;
    ASSERT_TRUE(sim->command("set " + P + ".32.1.1.21.2 i 1"));
    d.Refresh();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetItemText(1, 0), "Day");
    EXPECT_EQ(list->GetItemText(1, 1), "Mon,Tue,Wed,Thu,Fri,Sat,Sun");
    EXPECT_EQ(list->GetItemText(1, 2), "2012/05/09");
    EXPECT_EQ(list->GetItemText(1, 3), "2012/06/01");
    EXPECT_EQ(list->GetItemText(1, 4), "08:30");
}

// Adding: the lowest free index (3 with 1, 2 and 4 listed), row status "5"
// first and "1" last, and no date columns without a date.
TEST_F(TimeProfileTest, AddWritesCreateThenColumnsThenActive)
{
    PutProfile(4, "Four");
    CTimeProfileInfo d;
    Open(d);
    CTimeWindowForm* form = d.Form();
    form->NameEdit()->setText("Lunch");
    Select(form->List(6), 12);
    Select(form->List(7), 0);
    Select(form->List(8), 13);
    Select(form->List(9), 30);
    form->DayCheck(0)->setChecked(true);
    form->DayCheck(4)->setChecked(true);
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::string e = "P.32.1.1.";
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{
        e + "21.3=5",
        e + "2.3=Lunch " + e + "3.3=2 " + e + "7.3=12 " + e + "8.3=0 " + e + "12.3=13 " + e + "13.3=30 " + e
            + "14.3=1 " + e + "15.3=2 " + e + "16.3=2 " + e + "17.3=2 " + e + "18.3=1 " + e + "19.3=2 " + e
            + "20.3=2 " + e + "21.3=1"}));
    ASSERT_EQ(d.List()->GetItemCount(), 4);
    EXPECT_EQ(d.List()->GetItemText(2, 0), "Lunch");
    EXPECT_EQ(d.List()->GetItemText(2, 1), "Mon,Fri");
    EXPECT_EQ(d.List()->GetItemText(2, 4), "12:00");
    EXPECT_EQ(d.List()->GetItemText(2, 5), "13:30");
}

// A create whose columns the switch refuses leaves no half-made profile:
// the row is destroyed again and the message says so.
TEST_F(TimeProfileTest, RefusedColumnsAreUndone)
{
    ASSERT_TRUE(sim->command("error " + P + ".32.1.1.2.3 genErr"));
    CTimeProfileInfo d;
    Open(d);
    d.Form()->NameEdit()->setText("Lunch");
    Select(d.Form()->List(6), 12);
    Select(d.Form()->List(8), 13);
    MessageRecorder messages;
    messages.script({IDOK});
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("genErr")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].endsWith("taken back.")) << messages.texts()[0].toStdString();
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "P.32.1.1.21.3=5");
    EXPECT_EQ(lines[2], "P.32.1.1.21.3=6");
    EXPECT_EQ(sim->value(P + ".32.1.1.21.3"), "");   // the row is gone
    EXPECT_EQ(d.List()->GetItemCount(), 2);
}

// A dated profile sends its six date columns between the flag and the times.
TEST_F(TimeProfileTest, DatedProfileSendsTheDateColumns)
{
    CTimeProfileInfo d;
    Open(d);
    CTimeWindowForm* form = d.Form();
    form->NameEdit()->setText("Leap");
    form->DateCheck()->setChecked(true);
    Select(form->List(0), 2012);
    Select(form->List(1), 2);
    Select(form->List(2), 29);
    Select(form->List(3), 2012);
    Select(form->List(4), 3);
    Select(form->List(5), 1);
    Select(form->List(8), 1);
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, lines[1].find(" P.32.1.1.7.")),
              "P.32.1.1.2.3=Leap P.32.1.1.3.3=1 P.32.1.1.4.3=2012 P.32.1.1.5.3=2 P.32.1.1.6.3=29 P.32.1.1.9.3=2012 "
              "P.32.1.1.10.3=3 P.32.1.1.11.3=1");
    EXPECT_EQ(d.List()->GetItemText(2, 2), "2012/02/29");
}

// Refusals before any request: empty name, special character, a listed
// name, a bad time window.
TEST_F(TimeProfileTest, RefusedFormsSendNothing)
{
    CTimeProfileInfo d;
    Open(d);
    struct Case {
        const char* name;
        int endHour;
        const char* message;
    };
    const Case cases[] = {
        {"", 1, "The Profile name can not be empty,please input it."},
        {"a!b", 1, "Invalid Profile name."},
        {"Day", 1, "The Profile Name is exist."},
        {"day", 0, "'Start Time' and 'End Time' can't be the same"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        MessageRecorder messages;
        messages.expect(QString::fromLatin1(c.message));
        d.Form()->NameEdit()->setText(QString::fromLatin1(c.name));
        Select(d.Form()->List(8), c.endHour);
        d.AddButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// With eight profiles Add says so; a ninth active row (the switch should
// never hold one) is listed without overflow and Add still refuses.
TEST_F(TimeProfileTest, FullTableAndANinthRow)
{
    for (int i = 3; i <= 8; ++i)
        PutProfile(i, "P" + std::to_string(i));
    for (int rows : {8, 9}) {
        SCOPED_TRACE(rows);
        if (rows == 9)
            PutProfile(9, "P9");
        CTimeProfileInfo d;
        Open(d);
        EXPECT_EQ(d.List()->GetItemCount(), rows);
        MessageRecorder messages;
        messages.expect("The Max entry is 8.");
        d.Form()->NameEdit()->setText("More");
        Select(d.Form()->List(8), 1);
        d.AddButton()->click();
        ASSERT_TRUE(WaitSettled(d));
        messages.ExpectAllUsed();
        EXPECT_TRUE(SetLines(*sim).empty());
    }
}

// Delete: without a selection the information box; with one, row status 6
// of that row's index, then the list is read again.
TEST_F(TimeProfileTest, DeleteDestroysTheSelectedRow)
{
    CTimeProfileInfo d;
    Open(d);
    {
        MessageRecorder messages;
        messages.expect("Please select the Time Range to be deleted!");
        d.DeleteButton()->click();
        messages.ExpectAllUsed();
        ASSERT_EQ(messages.requests().size(), 1);
        EXPECT_EQ(messages.requests()[0].icon, MessageIcon::Information);
    }
    d.List()->SelectItem(1);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.32.1.1.21.2=6"});
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(d.List()->GetItemText(0, 0), "Daytime");
}

// A row cut short (a column missing) ends the table: what follows it is
// not taken as a profile.
TEST_F(TimeProfileTest, CutOffRowEndsTheTable)
{
    PutProfile(3, "Three");
    ASSERT_TRUE(sim->command("unset " + P + ".32.1.1.20.2"));
    CTimeProfileInfo d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(d.List()->GetItemText(0, 0), "Daytime");
}
