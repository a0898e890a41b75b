#include "CGratuitousARPDlg.h"
#include "CListCtrlEx.h"
#include "L3TestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace l3test;

namespace {

class GratuitousArpTest : public L3DialogTest
{
protected:
    static void PutInterfaceRow(int index, const std::string& name, int interval)
    {
        const std::string i = "." + std::to_string(index);
        ASSERT_TRUE(sim->command("set " + kGarp + "2.1.1.1" + i + " s " + name));
        ASSERT_TRUE(sim->command("set " + kGarp + "2.1.1.2" + i + " i " + std::to_string(interval)));
    }
};

} // namespace

// The boxes follow the three switches; Apply sends all three in one request.
TEST_F(GratuitousArpTest, GlobalSettings)
{
    CGratuitousARPDlg d;
    Open(d);
    EXPECT_TRUE(d.Check(0)->isChecked());
    EXPECT_TRUE(d.Check(1)->isChecked());
    EXPECT_FALSE(d.Check(2)->isChecked());
    d.Check(0)->setChecked(false);
    d.Check(2)->setChecked(true);
    d.GlobalApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.33.1.1.0=2 P.33.1.2.0=1 P.33.1.3.0=1"}));
    EXPECT_FALSE(d.Check(0)->isChecked());
    EXPECT_TRUE(d.Check(2)->isChecked());
}

// A failed global read leaves the boxes unchecked and Apply off.
TEST_F(GratuitousArpTest, FailedGlobalRead)
{
    ASSERT_TRUE(sim->command("error " + kGarp + "1.2.0 genErr"));
    CGratuitousARPDlg d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(d.Check(i)->isChecked()) << i;
    EXPECT_FALSE(d.GlobalApplyButton()->isEnabled());
}

// With interfaces 1 and 3 the second name writes the row of interface 3,
// not the second row.
TEST_F(GratuitousArpTest, IntervalGoesToTheChosenInterfacesRow)
{
    PutInterfaceRow(3, "Three", 5);
    CGratuitousARPDlg d;
    Open(d);
    ASSERT_EQ(d.InterfaceCombo()->count(), 2);
    EXPECT_EQ(d.List()->GetItemText(1, 0), "Three");
    EXPECT_EQ(d.List()->GetItemText(1, 1), "5");
    d.InterfaceCombo()->setCurrentIndex(1);
    d.IntervalEdit()->setText("65535");
    d.IntervalApplyButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.33.2.1.1.2.3=65535"}));
    EXPECT_EQ(d.List()->GetItemText(1, 1), "65535");
    EXPECT_EQ(d.InterfaceCombo()->currentIndex(), 0);
    EXPECT_TRUE(d.IntervalEdit()->text().isEmpty());
}

// Out of range, malformed, or a typed name no interface has: nothing sent.
TEST_F(GratuitousArpTest, RefusedIntervals)
{
    CGratuitousARPDlg d;
    Open(d);
    const struct {
        const char *name, *interval, *message;
    } cases[] = {
        {"System", "65536", "The Time Interval range is 0-65535 "},
        {"System", "", "The Time Interval range is 0-65535 "},
        {"Nobody", "5", "Please select an interface."},
        {"system", "5", "Please select an interface."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        d.InterfaceCombo()->setEditText(c.name);
        d.IntervalEdit()->setText(c.interval);
        MessageRecorder messages;
        messages.expect(c.message);
        d.IntervalApplyButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// A name whose interface is gone stays offered but writes nothing.
TEST_F(GratuitousArpTest, GoneInterfaceWritesNothing)
{
    PutInterfaceRow(3, "Three", 5);
    CGratuitousARPDlg d;
    Open(d);
    ASSERT_TRUE(sim->command("unset " + kGarp + "2.1.1.1.3"));
    ASSERT_TRUE(sim->command("unset " + kGarp + "2.1.1.2.3"));
    d.Refresh();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_TRUE(sim->command("clearlog"));
    ASSERT_EQ(d.InterfaceCombo()->count(), 2);
    d.InterfaceCombo()->setCurrentIndex(1);
    d.IntervalEdit()->setText("9");
    MessageRecorder messages;
    messages.expect("Please select an interface.");
    d.IntervalApplyButton()->click();
    messages.ExpectAllUsed();
    EXPECT_TRUE(SetLines(*sim).empty());
}
