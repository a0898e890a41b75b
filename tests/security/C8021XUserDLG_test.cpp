#include "C8021XSettingLogic.h"
#include "C8021XUserDLG.h"
#include "CListCtrlEx.h"
#include "Dot1xTestUtil.h"
#include "MessageRecorder.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class Dot1xUserTest : public Dot1xDialogTest
{
protected:
    static std::string Cell(int column, const std::string& name)
    {
        return P + ".23.3.1.1." + std::to_string(column) + "." + NameIndex(name);
    }
    static void PutUser(const std::string& name, int status)
    {
        ASSERT_TRUE(sim->command("set " + Cell(1, name) + " s " + name));
        ASSERT_TRUE(sim->command("set " + Cell(2, name) + " s secret"));
        ASSERT_TRUE(sim->command("set " + Cell(3, name) + " i " + std::to_string(status)));
    }
    static void Add(C8021XUserDLG& d, const QString& name, const QString& password, const QString& confirm)
    {
        d.UserName()->setText(name);
        d.Password()->setText(password);
        d.Confirm()->setText(confirm);
        d.AddButton()->click();
        ASSERT_TRUE(WaitSettled(d));
    }
};

} // namespace

// Every record counts in the total, only active ones are listed, with a
// running number and the password hidden.
TEST_F(Dot1xUserTest, ListsActiveUsersAndCountsAll)
{
    PutUser("abcd", 1);
    PutUser("pending", 5);
    C8021XUserDLG d;
    Open(d);
    EXPECT_EQ(d.Total()->text(), "3");   // guest, abcd, pending
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(d.List()->GetItemText(0, 0), "1");
    EXPECT_EQ(d.List()->GetItemText(1, 0), "2");
    QStringList names{d.List()->GetItemText(0, 1), d.List()->GetItemText(1, 1)};
    names.sort();
    EXPECT_EQ(names, (QStringList{"abcd", "guest"}));
    EXPECT_EQ(d.List()->GetItemText(0, 2), "*****");
    EXPECT_TRUE(d.AddButton()->isEnabled());
}

// The checks of Add, their order and texts: 4 characters is enough, 3 not;
// the duplicate test is exact (case counts).
TEST(Dot1xUserCheck, ChecksInOrder)
{
    const QStringList existing{"guest", "abcd"};
    struct Case { const char* name; const char* password; const char* confirm; const char* message; };
    const Case cases[] = {
        {"abc", "pass", "pass", "Please Confirm user name length must large than 4 characters."},
        {"abc", "p", "q", "Please Confirm user name length must large than 4 characters."},
        {"abce", "pas", "pas", "Please Confirm password length must large than 4 characters."},
        {"abce", "pass", "pasS", "Please Confirm User Password!"},
        {"abcd", "pass", "pass", "Duplicate 802.1X User Name"},
        {"ABCD", "pass", "pass", ""},
        {"abce", "pass", "pass", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(C8021XUserDLG::CheckUser(c.name, c.password, c.confirm, existing), QString::fromLatin1(c.message))
            << c.name;
}

// Add "abcd": createAndGo, the password, active, each at the index
// .4.97.98.99.100; the edits are emptied and the list read again.
TEST_F(Dot1xUserTest, AddCreatesWritesPasswordAndActivates)
{
    C8021XUserDLG d;
    Open(d);
    MessageRecorder messages;
    Add(d, "abcd", "pass1", "pass1");
    const std::string i = ".4.97.98.99.100";
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.23.3.1.1.3" + i + "=4", "P.23.3.1.1.2" + i + "=pass1",
                                                        "P.23.3.1.1.3" + i + "=1"}));
    EXPECT_EQ(sim->value(P + ".23.3.1.1.3" + i), "i 1");
    EXPECT_TRUE(d.UserName()->text().isEmpty());
    EXPECT_EQ(d.Total()->text(), "2");
}

// A refused password leaves no row: the half-made account is destroyed
// and the failure reported; the input stays for another try.
TEST_F(Dot1xUserTest, RefusedPasswordLeavesNoRow)
{
    C8021XUserDLG d;
    Open(d);
    const std::string i = ".4.97.98.99.100";
    ASSERT_TRUE(sim->command("set-error " + P + ".23.3.1.1.2" + i + " wrongValue"));
    MessageRecorder messages;
    messages.script({IDOK});
    Add(d, "abcd", "pass1", "pass1");
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.23.3.1.1.3" + i + "=4", "P.23.3.1.1.2" + i + "=pass1",
                                                        "P.23.3.1.1.3" + i + "=6"}));
    EXPECT_EQ(sim->value(P + ".23.3.1.1.3" + i), "");
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith("please check what you put\n")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].endsWith("The user was not added.")) << messages.texts()[0].toStdString();
    EXPECT_EQ(d.UserName()->text(), "abcd");
}

// A refused check writes nothing.
TEST_F(Dot1xUserTest, RefusedNameWritesNothing)
{
    C8021XUserDLG d;
    Open(d);
    MessageRecorder messages;
    messages.expect("Duplicate 802.1X User Name");
    Add(d, "guest", "pass1", "pass1");
    messages.expect("Please Confirm user name length must large than 4 characters.");
    Add(d, "abc", "pass1", "pass1");
    EXPECT_TRUE(SetLines(*sim).empty());
}

// Delete without a selection says so and writes nothing; with one it
// destroys the row at its index.
TEST_F(Dot1xUserTest, DeleteTheSelectedUser)
{
    PutUser("abcd", 1);
    C8021XUserDLG d;
    Open(d);
    {
        MessageRecorder messages;
        messages.expect("Please Choose One To Delete Or Check If Have Any Data");
        d.DeleteButton()->click();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    int row = d.List()->GetItemText(0, 1) == "abcd" ? 0 : 1;
    d.List()->selectRow(row);
    MessageRecorder messages;
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.23.3.1.1.3.4.97.98.99.100=6"});
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

// A failed read keeps Add and Delete off: the duplicate check would run on
// half a list.
TEST_F(Dot1xUserTest, FailedReadKeepsAddOff)
{
    ASSERT_TRUE(sim->command("error " + Cell(3, "guest") + " genErr"));
    C8021XUserDLG d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.AddButton()->isEnabled());
    EXPECT_FALSE(d.DeleteButton()->isEnabled());
}

// Closing while the walk is in flight stops it and closes the logic's own
// sessions with the others, once; the late answer reaches nobody.
TEST_F(Dot1xUserTest, CloseDuringTheWalk)
{
    ASSERT_TRUE(sim->command("delay 300"));
    {
        C8021XUserDLG d;
        d.show();
        ASSERT_TRUE(d.Gate().Pending());
        d.reject();
        EXPECT_EQ(d.SessionCloseCount(), 1);
        EXPECT_FALSE(d.isVisible());
    }
    // The delayed answer arrives after the dialog went.
    EXPECT_TRUE(WaitFor([] { return !sim->requests().empty() && sim->requests().back().answered; }, 5000));
    QCoreApplication::processEvents();
    ASSERT_TRUE(sim->command("delay 0"));
}
