#include "CListCtrlEx.h"
#include "CTimeWindowForm.h"
#include "MessageRecorder.h"
#include "PoeTestUtil.h"
#include "TimeBasedConfig.h"
#include "TimeRangInfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class TimeRangeTest : public PoeDialogTest
{
protected:
    static inline const std::string kEntry = P + ".23.1.1";

    static void Select(QComboBox* list, int value) { ASSERT_TRUE(CTimeWindowForm::SelectNumber(list, value)); }

    // A form for 12:00 to 13:30 on Mondays.
    static void Fill(TimeBasedConfig& form, const QString& name)
    {
        CTimeWindowForm* f = form.Form();
        if (!form.IsEdit())
            f->NameEdit()->setText(name);
        Select(f->List(6), 12);
        Select(f->List(7), 0);
        Select(f->List(8), 13);
        Select(f->List(9), 30);
        f->AllDaysCheck()->setChecked(false);
        for (int day = 0; day < 7; ++day)
            f->DayCheck(day)->setChecked(day == 0);
    }

    // The window's columns as sent for Fill, under `index`.
    static std::string FilledColumns(int index)
    {
        const std::string e = "P.23.1.1.";
        const std::string i = "." + std::to_string(index);
        return e + "3" + i + "=2 " + e + "7" + i + "=12 " + e + "8" + i + "=0 " + e + "12" + i + "=13 " + e + "13"
               + i + "=30 " + e + "14" + i + "=1 " + e + "15" + i + "=2 " + e + "16" + i + "=2 " + e + "17" + i
               + "=2 " + e + "18" + i + "=2 " + e + "19" + i + "=2 " + e + "20" + i + "=2";
    }

    static void Submit(TimeBasedConfig& form)
    {
        form.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !form.isVisible() || (!form.IsWriting() && !form.Gate().Pending()); }));
    }
};

} // namespace

// The list: active ranges only, days joined without a trailing comma,
// times in two digits. The 802.1X scalars beside the table's columns
// (.23.1.1.0, .23.1.3.0, .23.1.4.0) never appear as a range, also when the
// table is empty and the walk runs into them.
TEST_F(TimeRangeTest, ListShowsActiveRangesOnly)
{
    PutWindow(kEntry, 3, "Standby", 2);
    {
        TimeRangInfo d;
        Open(d);
        ASSERT_EQ(d.List()->GetItemCount(), 1);
        const char* expected[6] = {"Office", "Mon,Tue,Wed,Thu,Fri", "", "", "07:30", "19:00"};
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(d.List()->GetItemText(0, c).toStdString(), expected[c]) << c;
    }
    RemoveRow(kEntry, 1);
    RemoveRow(kEntry, 3);
    TimeRangInfo d;
    Open(d);
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_EQ(sim->value(kEntry + ".0"), "i 2");
}

// Add: the lowest free index (3 with 1, 2 and 4 held), row status "5"
// first, then the name, the window and "1" last; the list is read again.
TEST_F(TimeRangeTest, AddCreatesTheLowestFreeIndex)
{
    PutWindow(kEntry, 2, "Two");
    PutWindow(kEntry, 4, "Four");
    TimeRangInfo d;
    Open(d);
    d.m_runForm = [](QDialog& dialog) {
        auto& form = static_cast<TimeBasedConfig&>(dialog);
        form.show();
        ASSERT_TRUE(WaitSettled(form));
        ASSERT_FALSE(form.IsEdit());
        Fill(form, "Lunch");
        Submit(form);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    };
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.23.1.1.21.3=5", "P.23.1.1.2.3=Lunch " + FilledColumns(3)
                                                                               + " P.23.1.1.21.3=1"}));
    ASSERT_EQ(d.List()->GetItemCount(), 4);
    EXPECT_EQ(d.List()->GetItemText(2, 0), "Lunch");
    EXPECT_EQ(d.List()->GetItemText(2, 1), "Mon");
}

// Edit: the columns of the same row are set in place (no destroy, no
// create, so a refusal cannot lose the range), the name cannot change.
TEST_F(TimeRangeTest, EditKeepsItsIndex)
{
    PutWindow(kEntry, 5, "Five");
    TimeRangInfo d;
    Open(d);
    d.List()->SelectItem(1);
    d.m_runForm = [](QDialog& dialog) {
        auto& form = static_cast<TimeBasedConfig&>(dialog);
        form.show();
        ASSERT_TRUE(WaitSettled(form));
        ASSERT_TRUE(form.IsEdit());
        EXPECT_EQ(form.Form()->NameEdit()->text(), "Five");
        EXPECT_FALSE(form.Form()->NameEdit()->isEnabled());
        EXPECT_EQ(form.Form()->List(6)->currentText(), "8");   // the stored window is shown
        Fill(form, QString());
        Submit(form);
    };
    d.EditButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{FilledColumns(5)});
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(1, 0), "Five");
    EXPECT_EQ(d.List()->GetItemText(1, 4), "12:00");
}

// Eight active ranges: Apply says so and closes without writing.
TEST_F(TimeRangeTest, EightActiveRangesRefuseAdd)
{
    for (int i = 2; i <= 8; ++i)
        PutWindow(kEntry, i, "R" + std::to_string(i));
    TimeBasedConfig form;
    Open(form);
    MessageRecorder messages;
    messages.expect("The max number of PoE Time Range is 8");
    Fill(form, "More");
    Submit(form);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(SetLines(*sim).empty());
}

// Name refusals before any request.
TEST_F(TimeRangeTest, RefusedNamesSendNothing)
{
    TimeBasedConfig form;
    Open(form);
    struct Case { const char* name; const char* message; };
    const Case cases[] = {
        {"", "The TimeRange name can not be empty,please input it."},
        {"a!b", "Invalid TimeRange Name."},
        {"Office", "Invalid TimeRange Name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        messages.expect(QString::fromLatin1(c.message));
        Fill(form, QString::fromLatin1(c.name));
        Submit(form);
        messages.ExpectAllUsed();
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// A create whose columns the switch refuses leaves no half-made row: it is
// destroyed again and the user told so.
TEST_F(TimeRangeTest, RefusedColumnsAreUndone)
{
    ASSERT_TRUE(sim->command("error " + kEntry + ".2.2 genErr"));
    TimeBasedConfig form;
    Open(form);
    MessageRecorder messages;
    messages.script({IDOK});
    Fill(form, "Lunch");
    Submit(form);
    ASSERT_TRUE(WaitSettled(form));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains("removed again")) << messages.texts()[0].toStdString();
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "P.23.1.1.21.2=5");
    EXPECT_EQ(lines[2], "P.23.1.1.21.2=6");
    EXPECT_EQ(sim->value(kEntry + ".21.2"), "");   // the row is gone
}

// Edit and Delete: an empty list gives the message without an icon, rows
// without a selection the same text with the information icon; Delete
// destroys the selected row's index.
TEST_F(TimeRangeTest, EditAndDeleteNeedASelection)
{
    PutWindow(kEntry, 6, "Six");
    TimeRangInfo d;
    Open(d);
    d.m_runForm = [](QDialog&) { ADD_FAILURE() << "no form without a selection"; };
    for (QPushButton* button : {d.EditButton(), d.DeleteButton()}) {
        MessageRecorder messages;
        messages.script({IDOK});
        button->click();
        ASSERT_EQ(messages.requests().size(), 1);
        EXPECT_EQ(messages.requests()[0].icon, MessageIcon::Information);
    }
    d.List()->SelectItem(1);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.23.1.1.21.6=6"});
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    d.List()->SelectItem(0);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(d.List()->GetItemCount(), 0);
    const struct { QPushButton* button; const char* text; } cases[] = {
        {d.EditButton(), "Please select the Time Range to be edit!"},
        {d.DeleteButton(), "Please select the Time Range to be deleted!"}};
    for (const auto& c : cases) {
        MessageRecorder messages;
        messages.expect(QString::fromLatin1(c.text));
        c.button->click();
        ASSERT_EQ(messages.requests().size(), 1);
        EXPECT_NE(messages.requests()[0].icon, MessageIcon::Information);
    }
}
