// Port settings against the simulated switch: what is shown, the order of
// the checks with their texts, and the one set a port's apply sends.

#include "CListCtrlEx.h"
#include "CPortSetInfo.h"
#include "MessageRecorder.h"
#include "SwitchingFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const std::string kSpeed = kPrivate + ".1.13.1.2";
const std::string kOperMode = kPrivate + ".1.13.1.3";
const std::string kFlow = kPrivate + ".1.13.1.5";
const std::string kOperFlow = kPrivate + ".1.13.1.6";
const std::string kMedium = kPrivate + ".1.13.1.7";
const std::string kPriority = kPrivate + ".12.3.1.1.2";

const QString kForce = "The speed is set to force mode. \n* The speed mode must be the same as the counterpart. ";
const QString kQos = "QoS works best when Flow Control is disabled. \n* When Flow Control is enabled.QoS may not "
                     "perform accurate bandwidth allocation. \n* Do you still want to enable Flow Control?. ";

std::string Cell(const std::string& column, int port)
{
    return column + "." + std::to_string(port);
}

int RowOf(CPortSetInfo& d, int port)
{
    for (int i = 0; i < d.List()->GetItemCount(); ++i)
        if (d.List()->GetItemText(i, 0) == QString::number(port))
            return i;
    return -1;
}

// Takes the port's row into the form and sets the two choices.
void Choose(CPortSetInfo& d, int port, int speed, int flow)
{
    d.List()->SelectItem(RowOf(d, port));
    d.SpeedCombo()->setCurrentIndex(speed);
    d.FlowControlCombo()->setCurrentIndex(flow);
}

using PortSettingsTest = SwitchingTest;

} // namespace

// Codes become their texts; unknown codes fall back as the switch's texts
// say (speed 0 and 8 "1000MFull", priority 0 "Low", operating flow 3 "3").
TEST_F(PortSettingsTest, ShowsEveryPortWithItsTexts)
{
    ASSERT_TRUE(sim->command("set " + Cell(kSpeed, 3) + " i 0"));
    ASSERT_TRUE(sim->command("set " + Cell(kSpeed, 4) + " i 8"));
    ASSERT_TRUE(sim->command("set " + Cell(kPriority, 3) + " i 0"));
    ASSERT_TRUE(sim->command("set " + Cell(kPriority, 4) + " i 4"));
    ASSERT_TRUE(sim->command("set " + Cell(kOperFlow, 3) + " i 3"));
    ASSERT_TRUE(sim->command("set " + Cell(kFlow, 4) + " i 1"));
    CPortSetInfo d;
    ASSERT_TRUE(OpenAndRead(d));
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    const QStringList expected[] = {
        {"1", "Auto", "1000MFull", "Disabled", "Low", "Disabled"},
        {"3", "1000MFull", "1000MFull", "Disabled", "Low", "3"},
        {"4", "1000MFull", "1000MFull", "Enabled", "Highest", "Disabled"},
        {"9", "Auto", "100MFull", "Disabled", "Low", "Disabled"},
        {"12", "Auto", "Down", "Disabled", "Low", "Disabled"},
    };
    for (const QStringList& row : expected) {
        const int item = RowOf(d, row[0].toInt());
        ASSERT_GE(item, 0);
        QStringList shown;
        for (int c = 0; c < 6; ++c)
            shown << d.List()->GetItemText(item, c);
        EXPECT_EQ(shown, row);
    }
    EXPECT_TRUE(d.PortId().isEmpty());
    EXPECT_EQ(d.SpeedCombo()->currentIndex(), -1);
}

// On a 48-port switch the four combo ports show fibre or copper forms by
// their medium; medium 2 keeps the plain text on the last two.
TEST_F(PortSettingsTest, ComboPortsShowTheirMedium)
{
    g_nDevicePortNum = 48;
    const std::pair<int, std::pair<int, int>> ports[] = {{45, {3, 4}}, {46, {2, 2}}, {47, {4, 2}}, {48, {2, 2}}};
    for (const auto& [port, codes] : ports) {
        ASSERT_TRUE(sim->command("set " + Cell(kMedium, port) + " i " + std::to_string(codes.first)));
        ASSERT_TRUE(sim->command("set " + Cell(kOperMode, port) + " i " + std::to_string(codes.second)));
    }
    CPortSetInfo d;
    ASSERT_TRUE(OpenAndRead(d));
    EXPECT_EQ(d.List()->GetItemCount(), 48);
    EXPECT_EQ(d.List()->GetItemText(RowOf(d, 45), 2), "100M F Half");
    EXPECT_EQ(d.List()->GetItemText(RowOf(d, 46), 2), "1000M C Full");
    EXPECT_EQ(d.List()->GetItemText(RowOf(d, 47), 2), "1000M F Full");
    EXPECT_EQ(d.List()->GetItemText(RowOf(d, 48), 2), "1000MFull");
    EXPECT_EQ(d.List()->GetItemText(RowOf(d, 44), 2), "Down");
}

// The form follows the current row on every change, the keyboard's too:
// Apply must write the port that is shown.
TEST_F(PortSettingsTest, FormFollowsTheCurrentRow)
{
    ASSERT_TRUE(sim->command("set " + Cell(kSpeed, 2) + " i 4"));
    ASSERT_TRUE(sim->command("set " + Cell(kFlow, 2) + " i 1"));
    CPortSetInfo d;
    ASSERT_TRUE(OpenAndRead(d));
    d.List()->setFocus();
    d.List()->SelectItem(0);
    EXPECT_EQ(d.PortIdEdit()->text(), "1");
    EXPECT_EQ(d.SpeedCombo()->currentText(), "Auto");
    EXPECT_EQ(d.FlowControlCombo()->currentText(), "Disabled");
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(d.List(), &down);
    EXPECT_EQ(d.PortId(), "2");
    EXPECT_EQ(d.SpeedCombo()->currentText(), "10M-Full");
    EXPECT_EQ(d.FlowControlCombo()->currentText(), "Enabled");
}

// The checks in their order, each with its text; nothing is sent.
TEST_F(PortSettingsTest, ChecksInOrderWithTheirTexts)
{
    std::vector<std::string> disableOthers;
    for (int p = 1; p <= 52; ++p)
        if (p != 5)
            disableOthers.push_back("set " + Cell(kSpeed, p) + " i 7");
    struct Case {
        const char* why;
        std::vector<std::string> setup;
        int port, speed, flow;   // port 0: no row taken
        const char* message;
    };
    const Case cases[] = {
        {"no port taken", {}, 0, 0, 1, "Please Select one port !"},
        {"link member with another speed than its partner", {}, 1, 0, 1, "LA port can not support in different speed."},
        {"link member with another flow control", {}, 1, 5, 0, "LA port can not support in different flow control."},
        {"the last port left enabled", disableOthers, 5, 6, 1, "Sorry, you cannot disable all ports."},
        {"1000M on a port that cannot run it", {"set " + Cell(kMedium, 3) + " i 1"}, 3, 0, 1,
         "Port 3 can not support 1000M speed."},
        {"Auto on a 100Base-x SFP", {}, 51, 5, 1, "Fiber Port 51 with 100Base-x SFP Module can not support in Auto mode."},
        {"100M on a 1000Base-x SFP", {}, 49, 1, 1, "Fiber Port 49 with 1000Base-x SFP Module can not support this speed."},
        {"1000M on a 100Base-x SFP", {}, 51, 0, 1, "Fiber Port 51 with 100Base-x SFP Module can not support this speed."},
        {"half duplex on a link member", {"set " + Cell(kSpeed, 1) + " i 3", "set " + Cell(kSpeed, 2) + " i 3"}, 1, 2,
         1, "LA port 1 can not support in half-duplex mode."},
        {"the link check comes before the medium's", {"set " + Cell(kMedium, 1) + " i 1"}, 1, 0, 1,
         "LA port can not support in different speed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(sim->command("reset"));
        for (const std::string& command : c.setup)
            ASSERT_TRUE(sim->command(command));
        sim->clearLog();
        MessageRecorder messages;
        CPortSetInfo d;
        ASSERT_TRUE(OpenAndRead(d));
        if (c.port)
            Choose(d, c.port, c.speed, c.flow);
        messages.expect(QString::fromLatin1(c.message));
        d.ApplyButton()->click();
        EXPECT_EQ(messages.texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(sim->sets().empty());
    }
}

// The write: a free port sends speed and flow control in one set after the
// force-mode question; a link member sends flow control alone; Cancel on
// either question sends nothing; the re-read shows the port running at the
// new speed once the switch has settled.
TEST_F(PortSettingsTest, WritesOneSetAfterItsQuestions)
{
    MessageRecorder messages;
    CPortSetInfo d;
    ASSERT_TRUE(OpenAndRead(d));

    sim->clearLog();
    messages.script({IDCANCEL});
    Choose(d, 5, 3, 1);
    d.ApplyButton()->click();
    EXPECT_EQ(messages.texts(), QStringList{kForce});
    messages.clear();
    messages.script({IDOK, IDCANCEL});
    Choose(d, 5, 3, 0);
    d.ApplyButton()->click();
    EXPECT_EQ(messages.texts(), (QStringList{kForce, kQos}));
    EXPECT_TRUE(sim->sets().empty());

    messages.clear();
    messages.script({IDOK});
    Choose(d, 5, 3, 1);
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    const SimRequest& set = sets[0];
    ASSERT_EQ(set.varbinds.size(), 2u);
    EXPECT_EQ(set.varbinds[0].oid, Cell(kSpeed, 5));
    EXPECT_EQ(set.varbinds[0].value, "4");
    EXPECT_EQ(set.varbinds[1].oid, Cell(kFlow, 5));
    EXPECT_EQ(set.varbinds[1].value, "2");
    EXPECT_TRUE(WaitFor([&] {
        if (!d.IsWriting() && !d.Gate().Pending() && d.List()->GetItemText(RowOf(d, 5), 2) == "10MFull")
            return true;
        if (!d.Gate().Pending())
            d.RefreshButton()->click();
        return false;
    }));
    EXPECT_EQ(d.PortId(), "5");   // the port stays taken across the re-read

    sim->clearLog();
    messages.clear();
    Choose(d, 1, 5, 1);   // a member: Auto and flow off, as its partner
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    ASSERT_EQ(sim->sets().size(), 1u);
    ASSERT_EQ(sim->sets()[0].varbinds.size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, Cell(kFlow, 1));
}

// Opened on a port (a click on the front panel): once read, that port's row
// is the one selected, scrolled to and filled in below; after Apply the
// re-read keeps it. Catches a start port that is ignored, a selection that
// the re-read's new rows drop, and a form that shows another port.
TEST_F(PortSettingsTest, OpensOnTheClickedPortAndKeepsIt)
{
    ASSERT_TRUE(sim->command("set " + Cell(kSpeed, 43) + " i 4"));
    ASSERT_TRUE(sim->command("set " + Cell(kFlow, 43) + " i 1"));
    MessageRecorder messages;
    CPortSetInfo d;
    d.SelectPort(43);
    ASSERT_TRUE(OpenAndRead(d));
    const auto shows = [&](const char* speed, const char* flow) {
        const QList<int> selected = d.List()->GetSelectedItems();
        return selected.size() == 1 && d.List()->GetItemText(selected[0], 0) == "43" && d.PortId() == "43"
               && d.PortIdEdit()->text() == "43" && d.SpeedCombo()->currentText() == speed
               && d.FlowControlCombo()->currentText() == flow;
    };
    EXPECT_TRUE(shows("10M-Full", "Enabled"));
    const int row = RowOf(d, 43);
    EXPECT_TRUE(d.List()->viewport()->rect().intersects(d.List()->visualRect(d.List()->model()->index(row, 0))))
        << "port 43 is not scrolled into view";

    sim->clearLog();
    messages.script({IDOK});   // the force-mode notice
    d.SpeedCombo()->setCurrentIndex(4);       // 10M-Half
    d.FlowControlCombo()->setCurrentIndex(1);  // Disabled
    d.ApplyButton()->click();
    ASSERT_TRUE(WritesDone(d));
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->sets()[0].varbinds[0].oid, Cell(kSpeed, 43));
    EXPECT_TRUE(WaitFor([&] { return !d.Gate().Pending() && d.List()->GetItemText(RowOf(d, 43), 1) == "10MHalf"; },
                        kReadDeadlineMs));
    EXPECT_TRUE(shows("10M-Half", "Disabled"));
}

// Apply waits for both walks: with the link walk failing, Apply stays off,
// since a member's speed would otherwise be written as a free port's.
TEST_F(PortSettingsTest, ApplyWaitsForTheLinkWalk)
{
    ASSERT_TRUE(sim->command("drop under " + kPrivate + ".8.1.3.1.2"));
    CPortSetInfo d;
    d.show();
    ASSERT_TRUE(Settled(d));
    EXPECT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}
