// The auto surveillance VLAN dialog against the simulated switch: what it
// reads, the refusals of Apply in their order, the one set of the global
// settings, the checks of a new OUI table entry and the writes of its add
// and delete.

#include "CCameraVlanSetting.h"
#include "CCommandTable.h"
#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "CameraTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace cameratest;

namespace {

const std::string kGlobal = kPrivate + ".26.1.";           // n.0
const std::string kDefaultIndex = "10.60.94.0.0.0";
std::string G(int n)
{
    return kGlobal + std::to_string(n) + ".0";
}

class CameraVlanTest : public SwitchDialogTest
{
protected:
    void SetUp() override
    {
        SwitchDialogTest::SetUp();
        g_strDeviceName = QStringLiteral("PQS-4400-52");
    }

    // The feature as the switch holds it before the dialog opens.
    void SwitchHas(const std::string& state, int vid)
    {
        ASSERT_TRUE(sim->command("set " + G(1) + " i " + state));
        ASSERT_TRUE(sim->command("set " + G(2) + " i " + std::to_string(vid)));
    }
    // A user row of the OUI table.
    void AddRow(const std::string& index) { AddOuiRow(*sim, index); }
    static void OpenReady(CCameraVlanSetting& d)
    {
        Open(d);
        ASSERT_TRUE(d.Gate().AllSucceeded()) << d.StatusLine()->text().toStdString();
    }
    // Fills the global settings as the user would.
    static void Enter(CCameraVlanSetting& d, bool on, const QString& vid, const QString& ports, int priority = 2)
    {
        if (d.EnableBox()->isChecked() != on)
            d.EnableBox()->click();
        d.VlanIdEdit()->setText(vid);
        d.TaggedPortsEdit()->setText(ports);
        d.PriorityCombo()->setCurrentIndex(priority);
    }
    // Adds an entry as the user would: mode 0 MAC, 1 OUI.
    static void AddEntry(CCameraVlanSetting& d, const QString& description, const QString& mac, int mode = 0,
                         int type = 0)
    {
        d.MacModeCombo()->setCurrentIndex(mode);
        d.ComponentCombo()->setCurrentIndex(type);
        d.DescriptionEdit()->setText(description);
        d.MacEdit()->setText(mac);
        d.AddButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.IsSettling() && !d.Gate().Pending(); }));
    }
    static void ApplyAndWait(CCameraVlanSetting& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.IsSettling() && !d.Gate().Pending(); }));
    }
};

} // namespace

// What the dialog shows of the switch: state, VID, priority, tagged ports
// as a range list, the default OUI row with its type's text; with the
// feature on, its controls and Add and Delete are usable.
TEST_F(CameraVlanTest, ShowsTheSwitchSettings)
{
    SwitchHas("1", 300);
    ASSERT_TRUE(sim->command("set " + G(3) + " i 1"));
    ASSERT_TRUE(sim->command("set " + G(4) + " x f400000000000010"));   // 1-4, 6 and 60 (beyond the ports)
    CCameraVlanSetting d;
    OpenReady(d);
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_EQ(d.VlanIdEdit()->text(), "300");
    EXPECT_EQ(d.PriorityCombo()->currentText(), "High");
    EXPECT_EQ(d.TaggedPortsEdit()->text(), "1-4,6");
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    EXPECT_EQ(ListRow(d.List(), 0),
              QStringList({"1", "Velmarc Surveillance Device", "Velmarc", "0A-3C-5E-00-00-00"}));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.AddButton()->isEnabled());
    EXPECT_TRUE(d.DeleteButton()->isEnabled());
    EXPECT_TRUE(d.VlanIdEdit()->isEnabled());
}

// With the feature off, the entry controls and Add follow the check box;
// Delete follows the state the switch reported (the check box alone does
// not change it).
TEST_F(CameraVlanTest, ControlsFollowTheState)
{
    CCameraVlanSetting d;
    OpenReady(d);
    EXPECT_FALSE(d.EnableBox()->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{d.VlanIdEdit(), d.PriorityCombo(), d.TaggedPortsEdit(),
                                                      d.ComponentCombo(), d.DescriptionEdit(), d.MacModeCombo(),
                                                      d.MacEdit(), d.AddButton(), d.DeleteButton()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(d.ApplyButton()->isEnabled());   // to switch it on
    d.EnableBox()->click();
    EXPECT_TRUE(d.VlanIdEdit()->isEnabled());
    EXPECT_TRUE(d.AddButton()->isEnabled());
    EXPECT_FALSE(d.DeleteButton()->isEnabled());
}

// Apply's refusals, each with its text and nothing sent; in the order the
// checks run (an asymmetric mode is refused even for a VID that is fine).
TEST_F(CameraVlanTest, ApplyRefusals)
{
    struct Case {
        const char* what;
        const char* vid;
        const char* ports;
        bool asymmetric;
        const char* message;
    };
    const Case cases[] = {
        {"asymmetric mode", "100", "", true, "Auto Surveillance Vlan can not support in Asymmetric VLAN mode."},
        {"VID 1", "1", "", false, "Default VLAN cannot be set as Auto Surveillance VLAN."},
        {"VID 0", "0", "", false, "The VLAN ID value range is 2 - 4094"},
        {"VID 4095", "4095", "", false, "The VLAN ID value range is 2 - 4094"},
        {"no VID", "", "", false, "The VLAN ID value range is 2 - 4094"},
        {"voice VID", "200", "", false, "The VLAN ID already is voice VLAN ID."},
        {"letters in the ports", "100", "1,a", false, "Invalid Portlist"},
        {"port beyond the switch", "100", "53", false, "Invalid Portlist"},
        {"reversed run", "100", "5-3", false, "Invalid Portlist"},
        {"half an aggregated link", "100", "1", false,
         "If Link Aggregation member port is selected, it must have the same port list as Auto Surveillance VLAN "
         "Tagged Uplink/Downlink Port."},
    };
    ASSERT_TRUE(sim->command("set " + kPrivate + ".21.1.2.0 i 1"));   // voice VLAN 200 on
    ASSERT_TRUE(sim->command("set " + kPrivate + ".21.1.3.0 i 200"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command(std::string("set ") + kPrivate + ".7.5.0 i " + (c.asymmetric ? "1" : "2")));
        CCameraVlanSetting d;
        OpenReady(d);
        Enter(d, true, QString::fromLatin1(c.vid), QString::fromLatin1(c.ports));
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(QString::fromLatin1(c.message));
        ApplyAndWait(d);
        EXPECT_TRUE(sim->sets().empty());
    }
}

// The bounds that pass: VIDs 2 and 4094, an empty port list, a whole
// aggregated link. Disabling sends the state alone, whatever else is typed.
TEST_F(CameraVlanTest, ApplyWritesOneSetWithTheStateLast)
{
    struct Case {
        bool on;
        const char* vid;
        const char* ports;
        std::vector<Varbind> set;
    };
    const Case cases[] = {
        {true, "2", "", {{G(2), "2"}, {G(3), "2"}, {G(4), "000000000000000000000000"}, {G(1), "1"}}},
        {true, "4094", "1-2", {{G(2), "4094"}, {G(3), "2"}, {G(4), "c00000000000000000000000"}, {G(1), "1"}}},
        {true, "0100", "1-4,6", {{G(2), "100"}, {G(3), "2"}, {G(4), "f40000000000000000000000"}, {G(1), "1"}}},
        {false, "100", "7", {{G(1), "2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vid);
        CCameraVlanSetting d;
        OpenReady(d);
        Enter(d, c.on, QString::fromLatin1(c.vid), QString::fromLatin1(c.ports));
        sim->clearLog();
        ApplyAndWait(d);
        EXPECT_EQ(SetRequests(*sim), std::vector<std::vector<Varbind>>{c.set});
        EXPECT_EQ(d.EnableBox()->isChecked(), c.on);   // read back
    }
}

// The tagged ports take the model's width: 8 octets on a 28-port switch.
TEST_F(CameraVlanTest, TaggedPortsOn28Ports)
{
    g_nDevicePortNum = 28;
    CCameraVlanSetting d;
    OpenReady(d);
    Enter(d, true, QStringLiteral("100"), QStringLiteral("1-4,6,28"));
    sim->clearLog();
    ApplyAndWait(d);
    EXPECT_EQ(SetRequests(*sim),
              (std::vector<std::vector<Varbind>>{{{G(2), "100"}, {G(3), "2"}, {G(4), "f400001000000000"}, {G(1), "1"}}}));
}

// A VID that is a VLAN already asks first, naming it twice; Cancel sends
// nothing, OK sends the one set.
TEST_F(CameraVlanTest, ExistingVlanAsksFirst)
{
    ASSERT_TRUE(sim->command("vlan add 100 100"));
    const QString question = QStringLiteral(
        "The VLAN ID 100 already exists, still apply? \nIf yes, the original setting of VLAN 100 members will be "
        "removed.");
    for (int answer : {IDCANCEL, IDOK}) {
        CCameraVlanSetting d;
        OpenReady(d);
        Enter(d, true, QStringLiteral("100"), QString(), 0);
        sim->clearLog();
        MessageRecorder recorder;
        recorder.expect(question, answer);
        ApplyAndWait(d);
        if (answer == IDCANCEL) {
            EXPECT_TRUE(sim->sets().empty());
        } else {
            EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{
                                             {{G(2), "100"}, {G(3), "0"}, {G(4), "000000000000000000000000"},
                                              {G(1), "1"}}}));
        }
    }
}

// The PoE notice comes only when the feature was off on a PoE model; the
// apply goes on after it. "PQS-4400-52" holds no PoE "P" (the family prefix
// does not count).
TEST_F(CameraVlanTest, PoeNoticeOnlyWhenTurningOnAPoeModel)
{
    const QString notice = QStringLiteral(
        "Switch will automatically turn on PoE function to all the member ports of surveillance VLAN, \nplease "
        "ensure all the member ports of surveillance VLAN connected to PoE power devices.");
    struct Case {
        const char* model;
        const char* state;
        bool notice;
    };
    const Case cases[] = {{"PQS-4400-28P", "2", true}, {"PQS-4400-28P", "1", false}, {"PQS-4400-52", "2", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " state " + c.state);
        g_strDeviceName = QString::fromLatin1(c.model);
        SwitchHas(c.state, 100);
        CCameraVlanSetting d;
        OpenReady(d);
        Enter(d, true, QStringLiteral("300"), QString());
        sim->clearLog();
        MessageRecorder recorder;
        if (c.notice)
            recorder.expect(notice);
        ApplyAndWait(d);
        EXPECT_EQ(sim->sets().size(), 1u);
    }
}

// The settings are read whether or not the VLAN walk succeeds; a failed
// VLAN walk or conflict read keeps Apply off (its checks would run on
// nothing) and the status line says which.
TEST_F(CameraVlanTest, FailedReadsKeepApplyOff)
{
    SwitchHas("1", 300);
    struct Case {
        const char* what;
        std::string faulty;
        const char* failure;
    };
    const Case cases[] = {
        {"VLAN walk", kPrivate + ".7.6.1.1.1", "VLAN table"},
        {"conflict read", kPrivate + ".21.1.3.0", "VLAN mode and voice VLAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(sim->command("error " + c.faulty + " genErr"));
        CCameraVlanSetting d;
        Open(d);
        EXPECT_EQ(d.VlanIdEdit()->text(), "300");
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        EXPECT_FALSE(d.AddButton()->isEnabled());
        EXPECT_TRUE(d.StatusLine()->text().contains(QString::fromLatin1(c.failure)))
            << d.StatusLine()->text().toStdString();
        ASSERT_TRUE(sim->command("clear"));
    }
}

// The entry checks, first failure wins, each with its text. Case never
// matters: the default prefix is refused in either case, a voice OUI in
// use too (one not in use passes), duplicates are found in either case.
TEST_F(CameraVlanTest, CheckOuiEntry)
{
    SwitchHas("1", 300);
    AddRow("0.27.33.170.187.204");   // 00-1B-21-AA-BB-CC
    CCameraVlanSetting d;
    OpenReady(d);
    const char* const format = "Please enter correct MAC format(ex:00-00-00-00-00-01)";
    struct Case {
        const char* description;
        const char* mac;
        const char* message;   // null: accepted
    };
    const Case cases[] = {
        {"cam", "00-11-22-33-44-66", nullptr},
        {"cam 2", "00-60-B9-00-00-01", nullptr},   // a voice OUI not in use
        {"cam!", "00-11-22-33-44-66", "Invalid Description."},
        {"cam", "00:11:22:33:44:66", format},
        {"cam", "00-11-22-33-44", format},
        {"cam", "00-11-22-33-44-6G", format},
        {"cam", "00-00-00-00-00-00", format},
        {"cam", "ff-FF-ff-FF-ff-FF", "Broadcast MAC is not allowed."},
        {"cam", "01-00-5E-00-00-01", "Multicast MAC is not allowed."},
        {"cam", "00-e0-bb-00-00-01", "The OUI is already exist at Voice Vlan OUI Table!"},
        {"cam", "0A-3C-5E-00-00-01", "This OUI is default, please select the default mode!"},
        {"cam", "0a-3c-5e-00-00-01", "This OUI is default, please select the default mode!"},
        {"cam", "00-1B-21-AA-BB-CC", "The OUI is already exist!"},
        {"cam", "00-1b-21-aa-bb-cc", "The OUI is already exist!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mac);
        MessageRecorder recorder;
        if (c.message)
            recorder.expect(QString::fromLatin1(c.message));
        EXPECT_EQ(d.CheckOuiEntry(QString::fromLatin1(c.description), QString::fromLatin1(c.mac)), c.message ? 0 : 1);
    }
}

// Five user rows fill the table (the default row does not count): a sixth
// is refused before anything is sent; with four, a fifth goes in.
TEST_F(CameraVlanTest, FiveUserRowsAtMost)
{
    SwitchHas("1", 300);
    for (int n = 1; n <= 4; ++n)
        AddRow("0.17.34.0.0." + std::to_string(n));
    CCameraVlanSetting d;
    OpenReady(d);
    ASSERT_EQ(d.List()->GetItemCount(), 5);
    sim->clearLog();
    AddEntry(d, QStringLiteral("fifth"), QStringLiteral("00-11-22-00-00-05"));
    ASSERT_EQ(d.List()->GetItemCount(), 6);
    sim->clearLog();
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("OUI Table is full,Maximum user defined OUI is 5."));
    AddEntry(d, QStringLiteral("sixth"), QStringLiteral("00-11-22-00-00-06"));
    EXPECT_TRUE(sim->sets().empty());
}

// A MAC entry: the row is created (createAndGo alone), then its description
// and type; an OUI entry is the OUI padded with zero octets, at that index,
// with the mask of the whole OUI. The list shows both afterwards.
TEST_F(CameraVlanTest, AddWritesTheRowThenItsColumns)
{
    SwitchHas("1", 300);
    CCameraVlanSetting d;
    OpenReady(d);
    sim->clearLog();
    AddEntry(d, QStringLiteral("lobby"), QStringLiteral("00-1b-21-aa-00-01"), 0, 2);
    const std::string mac = "0.27.33.170.0.1";
    EXPECT_EQ(SetRequests(*sim),
              (std::vector<std::vector<Varbind>>{{{Oui(5, mac), "4"}}, {{Oui(2, mac), "6c6f626279"}, {Oui(4, mac), "2"}}}));
    EXPECT_TRUE(d.MacEdit()->text().isEmpty());
    EXPECT_TRUE(d.DescriptionEdit()->text().isEmpty());

    sim->clearLog();
    AddEntry(d, QStringLiteral("nvr"), QStringLiteral("00-11-22"), 1, 3);
    const std::string oui = "0.17.34.0.0.0";
    EXPECT_EQ(SetRequests(*sim), (std::vector<std::vector<Varbind>>{
                                     {{Oui(5, oui), "4"}},
                                     {{Oui(2, oui), "6e7672"}, {Oui(4, oui), "3"}, {Oui(3, oui), "ffffff000000"}}}));
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Network Storage", "nvr", "00-11-22-00-00-00"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"2", "Video Encoder", "lobby", "00-1B-21-AA-00-01"}));
}

// The OUI mode takes 8 characters, the MAC mode 17, and switching empties
// the field.
TEST_F(CameraVlanTest, MacModeSetsTheFieldLength)
{
    CCameraVlanSetting d;
    OpenReady(d);
    d.EnableBox()->click();
    d.MacEdit()->setText(QStringLiteral("00-11-22-33-44-55"));
    d.MacModeCombo()->setCurrentIndex(1);
    EXPECT_TRUE(d.MacEdit()->text().isEmpty());
    EXPECT_EQ(d.MacEdit()->maxLength(), 8);
    d.MacModeCombo()->setCurrentIndex(0);
    EXPECT_EQ(d.MacEdit()->maxLength(), 17);
}

// A refused second step leaves a half-made row: it is destroyed again, and
// the one message says so; the list shows the table as it was.
TEST_F(CameraVlanTest, FailedAddRemovesTheNewRow)
{
    SwitchHas("1", 300);
    CCameraVlanSetting d;
    OpenReady(d);
    const std::string mac = "0.17.34.51.68.85";
    ASSERT_TRUE(sim->command("error " + Oui(4, mac) + " genErr"));
    sim->clearLog();
    MessageRecorder recorder;
    recorder.script({IDOK});
    AddEntry(d, QStringLiteral("cam"), QStringLiteral("00-11-22-33-44-55"));
    const auto sets = SetRequests(*sim);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[2], (std::vector<Varbind>{{Oui(5, mac), "6"}}));
    EXPECT_EQ(sim->value(Oui(5, mac)), "");
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].endsWith(QStringLiteral("What those steps had written was taken back.")))
        << recorder.texts()[0].toStdString();
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

// Delete: a selection is needed, the default row stays, a user row is
// destroyed by its index.
TEST_F(CameraVlanTest, Delete)
{
    SwitchHas("1", 300);
    AddRow("0.17.34.51.68.85");
    CCameraVlanSetting d;
    OpenReady(d);
    ASSERT_EQ(d.List()->GetItemText(1, 3), "0A-3C-5E-00-00-00");   // the default row comes second in index order
    ExpectDeleteRules(*sim, d, "0.17.34.51.68.85");
}

// The main menu's command builds this dialog.
TEST(CameraVlanCommand, MenuCommandBuildsTheDialog)
{
    EnsureTestApp();
    CCommandTable table;
    ASSERT_TRUE(table.IsBuilt(ID_AUTO_SURVEILLANCE_VLAN));
    EXPECT_NE(dynamic_cast<CCameraVlanSetting*>(table.Find(ID_AUTO_SURVEILLANCE_VLAN)->factory().get()), nullptr);
}
