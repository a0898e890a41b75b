#include "CListCtrlEx.h"
#include "CUtils.h"
#include "CSNMPCommunity.h"
#include "CSNMPConfig.h"
#include "GlobalSettings.h"
#include "SnmpAgentDialogTest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const std::string kCommunity = "1.3.6.1.4.1.32473.10.126.4.1.25.5.1.1";

class CommunityDialogTest : public SnmpAgentDialogTest
{
protected:
    CommunityDialogTest() : SnmpAgentDialogTest(3) {}


    static QStringList Names(CSNMPCommunity& d)
    {
        QStringList names;
        for (int i = 0; i < d.List()->GetItemCount(); ++i)
            names << d.List()->GetItemText(i, 0);
        return names;
    }
    // Puts a community row straight into the switch.
    static void AddRow(const QString& name)
    {
        const std::string index = CUtils::StringToIndex(name).toStdString();
        ASSERT_TRUE(sim->command("set " + kCommunity + ".1" + index + " s " + name.toStdString()));
        ASSERT_TRUE(sim->command("set " + kCommunity + ".2" + index + " s public"));
        ASSERT_TRUE(sim->command("set " + kCommunity + ".3" + index + " i 1"));
    }
};

INSTANTIATE_TEST_SUITE_P(Versions, CommunityDialogTest, ::testing::Values("v1", "v3"));

} // namespace

// The list shows the switch's communities; the view policy offers the
// active v1/v2c users once each (never the v3 user), however often the
// table is read again.
TEST_P(CommunityDialogTest, ListsCommunitiesAndPolicies)
{
    CSNMPCommunity d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(Names(d), QStringList({"public", "private"}));
    d.Refresh();
    ASSERT_TRUE(Idle(d));
    QStringList policies;
    for (int i = 0; i < d.PolicyCombo()->count(); ++i)
        policies << d.PolicyCombo()->itemText(i);
    EXPECT_EQ(policies, QStringList({"public", "private"}));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.DeleteButton()->isEnabled());
}

// The checks in their order: empty, a refused character, a duplicate (also
// before the count), the ten-row limit. Nothing is written for any.
TEST_P(CommunityDialogTest, ChecksInOrder)
{
    for (int i = 0; i < 8; ++i)
        AddRow(QStringLiteral("c%1").arg(i));
    CSNMPCommunity d;
    d.show();
    ASSERT_TRUE(Idle(d));
    ASSERT_EQ(d.List()->GetItemCount(), 10);
    ASSERT_TRUE(sim->command("clearlog"));
    struct Case { const char* name; const char* message; };
    const Case cases[] = {
        {"   ", "Please enter valid Community Name !"},
        {"ro.x", "Invalid Community Name."},
        {" public ", "This Community Entry already exists."},
        {"fresh", "Maximum number of Community Entry is 10."},
    };
    for (const Case& c : cases) {
        d.NameEdit()->setText(QString::fromLatin1(c.name));
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
        EXPECT_EQ(d.NameEdit()->text(), QString::fromLatin1(c.name));   // the input stays
    }
    EXPECT_TRUE(sim->sets().empty());
}

// " ro " is stored as ro in three requests (5, the policy, 1), listed
// after the re-read; Delete destroys it by the same index.
TEST_P(CommunityDialogTest, AddAndDelete)
{
    CSNMPCommunity d;
    d.show();
    ASSERT_TRUE(Idle(d));
    ASSERT_TRUE(sim->command("clearlog"));
    d.NameEdit()->setText(QStringLiteral(" ro "));
    d.PolicyCombo()->setCurrentIndex(1);
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kCommunity + ".3.2.114.111");
    EXPECT_EQ(sets[0].varbinds[0].value, "5");
    EXPECT_EQ(sets[1].varbinds[0].oid, kCommunity + ".2.2.114.111");
    EXPECT_EQ(sets[1].varbinds[0].value, "private");
    EXPECT_EQ(sets[2].varbinds[0].value, "1");
    EXPECT_TRUE(Names(d).contains("ro"));
    EXPECT_TRUE(d.NameEdit()->text().isEmpty());

    ASSERT_TRUE(sim->command("clearlog"));
    d.List()->SelectItem(int(Names(d).indexOf("ro")));
    d.DeleteButton()->click();
    ASSERT_TRUE(Idle(d));
    sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kCommunity + ".3.2.114.111");
    EXPECT_EQ(sets[0].varbinds[0].value, "6");
    EXPECT_FALSE(Names(d).contains("ro"));

    d.List()->ClearSelection();
    recorder.expect(QStringLiteral("Please select the item would be delete!\n"));
    d.DeleteButton()->click();
}

// A create the switch refuses stops at that step: the failure is shown,
// nothing more is sent, and the name stays for another try.
TEST_P(CommunityDialogTest, RefusedCreateStopsAndKeepsInput)
{
    CSNMPCommunity d;
    d.show();
    ASSERT_TRUE(Idle(d));
    ASSERT_TRUE(sim->command("error " + kCommunity + ".3.2.114.111 genErr"));
    ASSERT_TRUE(sim->command("clearlog"));
    d.NameEdit()->setText(QStringLiteral("ro"));
    recorder.script({IDOK});
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(d.NameEdit()->text(), "ro");
    ASSERT_TRUE(sim->command("clear"));
}
