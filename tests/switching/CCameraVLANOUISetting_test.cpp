// The surveillance VLAN OUI settings dialog against the simulated switch:
// its list, its checks with its own texts, the writes of a whole-OUI entry
// and the delete rules.

#include "CCameraVLANOUISetting.h"
#include "CListCtrlEx.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "CameraTestUtil.h"

#include <QLineEdit>
#include <QPushButton>

using namespace cameratest;

namespace {

class CameraOuiTest : public SwitchDialogTest
{
protected:
    void AddRow(const std::string& index) { AddOuiRow(*sim, index); }
    static void Add(CCameraVLANOUISetting& d, const char* description, const char* oui)
    {
        d.DescriptionEdit()->setText(QString::fromLatin1(description));
        d.OuiEdit()->setText(QString::fromLatin1(oui));
        d.AddButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.IsSettling() && !d.Gate().Pending(); }));
    }
};

} // namespace

// The list: the default row with its description, OUI and mask.
TEST_F(CameraOuiTest, ListsTheTable)
{
    CCameraVLANOUISetting d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Velmarc", "0A-3C-5E-00-00-00", "FF-FF-FF-00-00-00"}));
    EXPECT_TRUE(d.AddButton()->isEnabled());
    EXPECT_EQ(d.windowTitle(), "Auto Surveillance VLAN OUI Settings");
}

// An OUI typed as a whole address stands for its OUI: the row goes in at
// the OUI with zero octets, its description, type and the mask of the
// whole OUI follow; the edits are emptied.
TEST_F(CameraOuiTest, AddWritesAWholeOuiEntry)
{
    CCameraVLANOUISetting d;
    Open(d);
    sim->clearLog();
    Add(d, "axis", "00-40-8c-12-34-56");
    const std::string index = "0.64.140.0.0.0";
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{
                                     {{Oui(5, index), "4"}},
                                     {{Oui(2, index), "61786973"}, {Oui(4, index), "4"}, {Oui(3, index), "ffffff000000"}}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "axis", "00-40-8C-00-00-00", "FF-FF-FF-00-00-00"}));
    EXPECT_TRUE(d.OuiEdit()->text().isEmpty());
}

// The OUI may be typed without hyphens: twelve hex digits are an address
// like any other (a check for the hyphenated form alone refused them).
TEST_F(CameraOuiTest, AddTakesDigitsWithoutHyphens)
{
    CCameraVLANOUISetting d;
    Open(d);
    sim->clearLog();
    Add(d, "axis", "00408c123456");
    const std::string index = "0.64.140.0.0.0";
    ASSERT_EQ(SetRequests(*sim).size(), 2u);
    EXPECT_EQ(SetRequests(*sim)[0], (std::vector<Varbind>{{Oui(5, index), "4"}}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "axis", "00-40-8C-00-00-00", "FF-FF-FF-00-00-00"}));
}

// The checks with this dialog's texts; case never matters (the default OUI
// and a listed OUI are found in either case); nothing is sent.
TEST_F(CameraOuiTest, AddChecks)
{
    AddRow("0.64.140.0.0.0");   // 00-40-8C
    AddRow("0.64.141.1.2.3");   // 00-40-8D-01-02-03, made elsewhere: its OUI is taken all the same
    CCameraVLANOUISetting d;
    Open(d);
    struct Case {
        const char* description;
        const char* oui;
        const char* message;
    };
    const char* const format = "Please enter correct MAC format(ex:00-00-00-00-00-01)";
    const Case cases[] = {
        {"a,b", "00-11-22-33-44-55", "Invalid Description."},
        {"cam", "00-11-22", format},
        {"cam", "00-00-00-00-00-00", format},
        {"cam", "01-00-5e-00-00-01", "Multicast MAC  is not allowed."},
        {"cam", "FF-FF-FF-FF-FF-FF", "Multicast MAC  is not allowed."},
        {"cam", "0a-3c-5e-11-22-33", "This OUI is default, please select the default mode!"},
        {"cam", "0A-3C-5E-11-22-33", "This OUI is default, please select the default mode!"},
        {"cam", "00-40-8c-aa-bb-cc", "The OUI is already exist!"},
        {"cam", "00-40-8d-99-99-99", "The OUI is already exist!"},   // the first six digits decide
        {"cam", "00408d999999", "The OUI is already exist!"},
        {"cam", "00112233445", format},                              // 11 digits
        {"cam", "0011223344zz", format},
        {"cam", "000000000000", format},
        {"cam", "011122334455", "Multicast MAC  is not allowed."},
    };
    sim->clearLog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oui);
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        Add(d, c.description, c.oui);
    }
    EXPECT_TRUE(sim->sets().empty());
}

// Five user OUIs fill the table; the default row does not count.
TEST_F(CameraOuiTest, FiveUserOuisAtMost)
{
    for (int n = 1; n <= 5; ++n)
        AddRow("0.64." + std::to_string(n) + ".0.0.0");
    CCameraVLANOUISetting d;
    Open(d);
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("OUI Table is full,Maximum user defined OUI is 5."));
    Add(d, "cam", "00-40-09-00-00-00");
    EXPECT_TRUE(sim->sets().empty());
}

// Delete needs a selection, keeps the default row and destroys a user row
// by its index.
TEST_F(CameraOuiTest, Delete)
{
    AddRow("0.64.140.0.0.0");
    CCameraVLANOUISetting d;
    Open(d);
    ExpectDeleteRules(*sim, d, "0.64.140.0.0.0");
}
