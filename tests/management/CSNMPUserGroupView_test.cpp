#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CSNMPGroup.h"
#include "CSNMPTableDialog.h"
#include "CSNMPUser.h"
#include "CSNMPViewTree.h"
#include "GlobalSettings.h"
#include "SnmpAgentDialogTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const std::string kArc = "1.3.6.1.4.1.32473.10.126.4.1.25";

class SecurityTablesTest : public SnmpAgentDialogTest
{
protected:
    SecurityTablesTest() : SnmpAgentDialogTest(1) {}


    static std::vector<std::string> SetTexts()
    {
        std::vector<std::string> out;
        for (const SimRequest& r : sim->sets()) {
            std::string line;
            for (const SimVarbind& v : r.varbinds)
                line += (line.empty() ? "" : " ") + v.oid.substr(kArc.size()) + "=" + v.value;
            out.push_back(line);
        }
        return out;
    }
    static int Find(CListCtrlEx* list, const QString& first)
    {
        for (int i = 0; i < list->GetItemCount(); ++i)
            if (list->GetItemText(i, 0) == first)
                return i;
        return -1;
    }
};

INSTANTIATE_TEST_SUITE_P(Versions, SecurityTablesTest, ::testing::Values("v1", "v3"));

} // namespace

// Password limits per protocol: the longest accepted length passes the
// check (and is created), one more is refused with its message.
TEST_P(SecurityTablesTest, UserPasswordLimits)
{
    CSNMPUser d;
    d.show();
    ASSERT_TRUE(Idle(d));
    struct Case { const char* auth; int authLength; const char* priv; int privLength; const char* message; };
    const Case cases[] = {
        {"MD5", 33, "None", 0, " MD5 Max. Password length is 32."},
        {"SHA", 41, "None", 0, " SHA Max. Password length is 40."},
        {"MD5", 32, "DES", 33, " DES Max. Password length is 32."},
        {"MD5", 0, "None", 0, "Auth-Protocol Password can't be empty."},
        {"SHA", 40, "DES", 0, "Priv-Protocol Password can't be empty."},
    };
    d.VersionCombo()->setCurrentText("V3");
    d.EncryptedBox()->setChecked(true);
    ASSERT_TRUE(sim->command("clearlog"));
    for (const Case& c : cases) {
        d.NameEdit()->setText("u9");
        d.GroupEdit()->setText("g");
        d.AuthCombo()->setCurrentText(c.auth);
        d.AuthPasswordEdit()->setText(QString(c.authLength, u'a'));
        d.PrivCombo()->setCurrentText(c.priv);
        d.PrivPasswordEdit()->setText(QString(c.privLength, u'b'));
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());

    // At the limits: accepted and created (SHA 40, DES 32).
    d.AuthCombo()->setCurrentText("SHA");
    d.AuthPasswordEdit()->setText(QString(40, u'a'));
    d.PrivCombo()->setCurrentText("DES");
    d.PrivPasswordEdit()->setText(QString(32, u'b'));
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(sim->sets().size(), 5u);
    EXPECT_GE(Find(d.List(), "u9"), 0);
}

// A V1 user is created with its group only, listed, and deleted by the
// index it was created with; the protocol controls follow the version.
TEST_P(SecurityTablesTest, UserCreateAndDelete)
{
    CSNMPUser d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_FALSE(d.EncryptedBox()->isEnabled());
    EXPECT_FALSE(d.AuthCombo()->isEnabled());
    ASSERT_TRUE(sim->command("clearlog"));
    d.NameEdit()->setText(" u1 ");
    d.GroupEdit()->setText("grp");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const std::vector<std::string> created = {".2.1.1.8.2.117.49.1=5", ".2.1.1.3.2.117.49.1=grp",
                                              ".2.1.1.8.2.117.49.1=1"};
    EXPECT_EQ(SetTexts(), created);
    const int row = Find(d.List(), "u1");
    ASSERT_GE(row, 0);
    EXPECT_EQ(d.List()->GetItemText(row, 2), "V1");

    ASSERT_TRUE(sim->command("clearlog"));
    d.List()->SelectItem(row);
    d.DeleteButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".2.1.1.8.2.117.49.1=6"}));
    EXPECT_LT(Find(d.List(), "u1"), 0);

    // The same name with another version is another user.
    d.NameEdit()->setText("public");
    d.GroupEdit()->setText("g");
    recorder.expect("This User Entry already exists.");
    d.ApplyButton()->click();
    d.VersionCombo()->setCurrentText("V2c");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(d.List()->GetItemCount(), 4);
}

// The user-name checks in order, with their texts (blanks included); the
// passwords are checked whenever "encrypted" is checked, also when another
// version was chosen after it (the box keeps its state); a V1 user still
// sends no password.
TEST_P(SecurityTablesTest, UserNameChecksAndPasswordsOfTheCheckedBox)
{
    CSNMPUser d;
    d.show();
    ASSERT_TRUE(Idle(d));
    ASSERT_TRUE(sim->command("clearlog"));
    struct Case { const char* name; const char* group; const char* message; };
    const Case cases[] = {
        {"", "g", "Please enter valid User Name "},
        {"   ", "g", "Please enter valid User Name "},
        {"a.b", "g", "Invalid User Name ."},
        {"u", "", "Please enter valid Group Name "},
        {"u", "a.b", "Invalid Group Name."},
    };
    for (const Case& c : cases) {
        d.NameEdit()->setText(c.name);
        d.GroupEdit()->setText(c.group);
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
    }

    d.VersionCombo()->setCurrentText("V3");
    d.EncryptedBox()->setChecked(true);
    d.VersionCombo()->setCurrentText("V1");
    ASSERT_TRUE(d.EncryptedBox()->isChecked());
    d.NameEdit()->setText("u7");
    d.GroupEdit()->setText("g");
    d.AuthPasswordEdit()->clear();
    recorder.expect("Auth-Protocol Password can't be empty.");
    d.ApplyButton()->click();
    EXPECT_TRUE(sim->sets().empty());

    d.AuthPasswordEdit()->setText("authpass1");
    d.PrivPasswordEdit()->setText("privpass1");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".2.1.1.8.2.117.55.1=5", ".2.1.1.3.2.117.55.1=g",
                                                    ".2.1.1.8.2.117.55.1=1"}));
}

// Group "g" v3 AuthNoPriv gets index .1.103.3.2; a v1 group is created
// NoAuthNoPriv even when a v3 level was selected before the model changed.
TEST_P(SecurityTablesTest, GroupIndexAndLevel)
{
    CSNMPGroup d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_FALSE(d.LevelCombo()->isEnabled());
    ASSERT_TRUE(sim->command("clearlog"));
    d.ModelCombo()->setCurrentText("v3");
    d.LevelCombo()->setCurrentText("AuthNoPriv");
    d.NameEdit()->setText("g");
    d.ReadEdit()->setText("all");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".3.1.1.7.1.103.3.2=5", ".3.1.1.4.1.103.3.2=all",
                                                    ".3.1.1.7.1.103.3.2=1"}));
    // Apply clears the four edits only: model and level stay as chosen.
    EXPECT_TRUE(d.NameEdit()->text().isEmpty());
    EXPECT_TRUE(d.ReadEdit()->text().isEmpty());
    EXPECT_EQ(d.ModelCombo()->currentText(), "v3");
    EXPECT_EQ(d.LevelCombo()->currentText(), "AuthNoPriv");

    // The same name and model again is refused; another model is another group.
    ASSERT_TRUE(sim->command("clearlog"));
    d.NameEdit()->setText("g");
    recorder.expect("This Group Entry already exists.");
    d.ApplyButton()->click();
    EXPECT_TRUE(sim->sets().empty());

    ASSERT_TRUE(sim->command("clearlog"));
    d.ModelCombo()->setCurrentText("v3");
    d.LevelCombo()->setCurrentText("AuthPriv");
    d.ModelCombo()->setCurrentText("v1");
    d.NameEdit()->setText("h");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    // No views typed: no column request at all, never an empty one.
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".3.1.1.7.1.104.1.1=5", ".3.1.1.7.1.104.1.1=1"}));

    ASSERT_TRUE(sim->command("clearlog"));
    d.List()->SelectItem(Find(d.List(), "g"));
    d.DeleteButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".3.1.1.7.1.103.3.2=6"}));

    for (const char* bad : {"", "a.b"}) {
        d.NameEdit()->setText(bad);
        recorder.expect(*bad ? "Invalid Group Name." : "Please enter valid group name!");
        d.ApplyButton()->click();
    }
}

// The view checks in order, then a create whose delete uses the same index.
TEST_P(SecurityTablesTest, ViewChecksCreateDelete)
{
    CSNMPViewTree d;
    d.show();
    ASSERT_TRUE(Idle(d));
    struct Case { const char* name; const char* subtree; const char* mask; const char* message; };
    const Case cases[] = {
        {" ", "1.3", "1", "Please enter valid view name."},
        {"v.x", "1.3", "1", "Invalid View Name."},
        {"v", "1.3.a", "1", "Please enter valid subtree OID"},
        {"v", "1..3", "1", "Please enter valid subtree OID ."},
        {"v", "1.4294967296", "1", "Please enter valid subtree OID"},
        {"v", "1.3.6.1", "", "Please enter valid OID Mask."},
        {"v", "1.3.6.1", "1.2", "Please enter valid OID Mask."},
        {"v", "1.3.6.1", "1.1.1.1.1", "Invalid  OID length"},
        {"all", "1.3.6.1", "1", "This View Entry already exist."},
    };
    ASSERT_TRUE(sim->command("clearlog"));
    for (const Case& c : cases) {
        d.NameEdit()->setText(c.name);
        d.SubtreeEdit()->setText(c.subtree);
        d.MaskEdit()->setText(c.mask);
        recorder.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());

    d.NameEdit()->setText("v");
    d.SubtreeEdit()->setText("1.3.6.1");
    d.MaskEdit()->setText("1.1.1.1");
    d.TypeCombo()->setCurrentText("Excluded");
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".4.1.1.5.1.118.4.1.3.6.1=5",
                                                    ".4.1.1.3.1.118.4.1.3.6.1=01010101 .4.1.1.4.1.118.4.1.3.6.1=2",
                                                    ".4.1.1.5.1.118.4.1.3.6.1=1"}));
    const int row = Find(d.List(), "v");
    ASSERT_GE(row, 0);
    EXPECT_EQ(d.List()->GetItemText(row, 2), "1.1.1.1");
    EXPECT_EQ(d.List()->GetItemText(row, 3), "Excluded");

    ASSERT_TRUE(sim->command("clearlog"));
    d.List()->SelectItem(row);
    d.DeleteButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(SetTexts(), std::vector<std::string>({".4.1.1.5.1.118.4.1.3.6.1=6"}));
}

// Fifty rows fill each table: with 49 listed one more is created, with 50
// the fixed message refuses it and nothing is sent. Rows are put straight
// into the switch (status active) up to the count wanted.
TEST_P(SecurityTablesTest, FiftyRowsPerTableAtMost)
{
    struct Table
    {
        const char* what;
        std::function<std::unique_ptr<CSNMPTableDialog>()> open;
        std::function<QString(int)> statusOid;                       // of the row "capN"
        std::function<void(CSNMPTableDialog&, const QString&)> fill;   // the inputs of a new row
        const char* message;
    };
    const Table tables[] = {
        {"users", [] { return std::make_unique<CSNMPUser>(); },
         [](int n) { return CSNMPConfig::UserColumn(8) + CSNMPConfig::MakeModelIndex(QStringLiteral("cap%1").arg(n), "V1"); },
         [](CSNMPTableDialog& d, const QString& name) {
             static_cast<CSNMPUser&>(d).NameEdit()->setText(name);
             static_cast<CSNMPUser&>(d).GroupEdit()->setText("g");
         },
         "Maximum number of User Entry is 50."},
        {"groups", [] { return std::make_unique<CSNMPGroup>(); },
         [](int n) { return CSNMPConfig::GroupColumn(7) + CSNMPConfig::GroupIndex(QStringLiteral("cap%1").arg(n), "v1", "NoAuthNoPriv"); },
         [](CSNMPTableDialog& d, const QString& name) { static_cast<CSNMPGroup&>(d).NameEdit()->setText(name); },
         "Maximum number of Group Entry is 50."},
        {"views", [] { return std::make_unique<CSNMPViewTree>(); },
         [](int n) { return CSNMPConfig::ViewColumn(5) + CSNMPConfig::ViewIndex(QStringLiteral("cap%1").arg(n), "1.3.6.1"); },
         [](CSNMPTableDialog& d, const QString& name) {
             static_cast<CSNMPViewTree&>(d).NameEdit()->setText(name);
             static_cast<CSNMPViewTree&>(d).SubtreeEdit()->setText("1.3.6.1");
             static_cast<CSNMPViewTree&>(d).MaskEdit()->setText("1");
         },
         "Maximum number of View Entry is 50."},
    };
    for (const Table& t : tables) {
        SCOPED_TRACE(t.what);
        ASSERT_TRUE(sim->command("reset"));
        int listed = 0;
        {
            auto d = t.open();
            d->show();
            ASSERT_TRUE(Idle(*d));
            listed = d->List()->GetItemCount();
        }
        ASSERT_LT(listed, 49);
        for (int n = 0; listed + n < 49; ++n)
            ASSERT_TRUE(sim->command("set " + t.statusOid(n).toStdString() + " i 1"));
        auto d = t.open();
        d->show();
        ASSERT_TRUE(Idle(*d));
        ASSERT_EQ(d->List()->GetItemCount(), 49);
        ASSERT_TRUE(sim->command("clearlog"));
        t.fill(*d, QStringLiteral("new49"));
        d->ApplyButton()->click();
        ASSERT_TRUE(Idle(*d));
        EXPECT_FALSE(sim->sets().empty()) << "the fiftieth row is allowed";
        ASSERT_EQ(d->List()->GetItemCount(), 50);
        ASSERT_TRUE(sim->command("clearlog"));
        t.fill(*d, QStringLiteral("new50"));
        recorder.expect(QString::fromLatin1(t.message));
        d->ApplyButton()->click();
        ASSERT_TRUE(Idle(*d));
        EXPECT_TRUE(sim->sets().empty());
    }
}
