#include "CListCtrlEx.h"
#include "CStaticRoute.h"
#include "L3TestUtil.h"

#include <QComboBox>
#include <QLineEdit>

using namespace l3test;

namespace {

class StaticRouteTest : public L3DialogTest
{
protected:
    // An active route row with every column, as the switch would hold it.
    static void PutRoute(const std::string& destination, const std::string& mask, const std::string& gateway,
                         int status = 1)
    {
        const std::string i = "." + destination + "." + mask + "." + gateway;
        for (int column : {1, 5, 6, 7, 8})
            ASSERT_TRUE(sim->command("set " + kRoute + std::to_string(column) + i + " i 1"));
        for (int column : {2, 3, 4})
            ASSERT_TRUE(sim->command("set " + kRoute + std::to_string(column) + i + " a 0.0.0.0"));
        ASSERT_TRUE(sim->command("set " + kRoute + "9" + i + " i " + std::to_string(status)));
    }

    static void Fill(CStaticRoute& d, const QString& destination, const QString& mask, const QString& gateway,
                     const QString& metric, int backup = 0)
    {
        TypeAddress(d.DestinationCtrl(), destination);
        d.MaskCombo()->setCurrentIndex(d.MaskCombo()->findText(mask));
        d.GatewayEdit()->setText(gateway);
        d.MetricEdit()->setText(metric);
        d.BackupCombo()->setCurrentIndex(backup);
    }
};

} // namespace

// The default route is listed with its texts; all 32 masks offered, /24 chosen.
TEST_F(StaticRouteTest, ListsTheRoutes)
{
    PutRoute("10.1.0.0", "255.255.0.0", "10.90.90.1", 2);   // not in service: not listed
    CStaticRoute d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 1);
    const char* expected[] = {"0.0.0.0", "0.0.0.0", "10.90.90.254", "1", "Default", "Primary", "Active"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(d.List()->GetItemText(0, c).toStdString(), expected[c]) << c;
    EXPECT_EQ(d.MaskCombo()->count(), 32);
    EXPECT_EQ(d.MaskCombo()->currentText(), "255.255.255.0");
}

// A route to a network: createAndGo, then metric and backup state in one
// request; listed as a static backup route.
TEST_F(StaticRouteTest, AddRouteToANetwork)
{
    CStaticRoute d;
    Open(d);
    Fill(d, "192.168.0.0", "255.255.0.0", "10.90.90.253", "007", 1);
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::string i = ".192.168.0.0.255.255.0.0.10.90.90.253";
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.36.1.1.9" + i + "=4",
                                                         "P.36.1.1.5" + i + "=7 P.36.1.1.7" + i + "=1"}));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    const char* expected[] = {"192.168.0.0", "255.255.0.0", "10.90.90.253", "7", "Static", "Backup", "Active"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(d.List()->GetItemText(1, c).toStdString(), expected[c]) << c;
}

// Metric texts: only whole decimals 1-65535 pass, and 10.0.0.0/8 is a
// destination like any host.
TEST_F(StaticRouteTest, MetricAndDestinationChecks)
{
    CStaticRoute d;
    Open(d);
    const struct {
        const char *destination, *mask, *gateway, *metric, *message;
    } cases[] = {
        {"10.0.0.0", "255.0.0.0", "10.90.90.253", "0", "The Metric range is 1-65535 "},
        {"10.0.0.0", "255.0.0.0", "10.90.90.253", "65536", "The Metric range is 1-65535 "},
        {"10.0.0.0", "255.0.0.0", "10.90.90.253", "", "The Metric range is 1-65535 "},
        {"10.0.0.0", "255.0.0.0", "10.90.90.253", "12abc", "The Metric range is 1-65535 "},
        {"10.0.0.0", "255.0.0.0", "10.90.90.0", "1", "Invalid Gateway."},
        {"10.0.0.0", "255.0.0.0", "", "1", "Invalid Gateway."},
        {"10.1.0.0", "255.0.0.0", "10.90.90.253", "1", "Invalid IP address."},
        {"127.0.0.0", "255.0.0.0", "10.90.90.253", "1", "Invalid IP address."},
        {"0.0.0.0", "255.0.0.0", "10.90.90.253", "1", "This IP Address has used,please enter other IP Address"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.destination) + " " + c.metric + " " + c.message);
        Fill(d, c.destination, c.mask, c.gateway, c.metric);
        MessageRecorder messages;
        messages.expect(QString::fromLatin1(c.message));
        d.AddButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
    Fill(d, "10.0.0.0", "255.0.0.0", "10.90.90.253", "65535");
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    const std::string i = ".10.0.0.0.255.0.0.0.10.90.90.253";
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.36.1.1.9" + i + "=4",
                                                         "P.36.1.1.5" + i + "=65535 P.36.1.1.7" + i + "=0"}));
}

// A second route to a listed destination is refused, whatever its mask.
TEST_F(StaticRouteTest, DuplicateDestinationWithAnotherMask)
{
    PutRoute("10.0.0.0", "255.0.0.0", "10.90.90.253");
    CStaticRoute d;
    Open(d);
    Fill(d, "10.0.0.0", "255.255.0.0", "10.90.90.252", "1");
    MessageRecorder messages;
    messages.expect("This IP Address has used,please enter other IP Address");
    d.AddButton()->click();
    messages.ExpectAllUsed();
    EXPECT_TRUE(SetLines(*sim).empty());
}

// With 32 routes the add stops before any check of the input; a route not
// in service does not count.
TEST_F(StaticRouteTest, ThirtyTwoRoutesStopTheAdd)
{
    for (int n = 1; n <= 31; ++n)
        PutRoute("172.16." + std::to_string(n) + ".0", "255.255.255.0", "10.90.90.253");
    PutRoute("172.17.0.0", "255.255.0.0", "10.90.90.253", 2);
    {
        CStaticRoute d;
        Open(d);
        ASSERT_EQ(d.List()->GetItemCount(), 32);
        Fill(d, "0.0.0.0", "255.0.0.0", "", "0");   // every other check would refuse this
        MessageRecorder messages;
        messages.expect("The max Static Route is 32.");
        d.AddButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// A refused metric write takes the route back.
TEST_F(StaticRouteTest, RefusedMetricIsUndone)
{
    const std::string i = ".10.0.0.0.255.0.0.0.10.90.90.253";
    ASSERT_TRUE(sim->command("set-error " + kRoute + "5" + i + " genErr"));
    CStaticRoute d;
    Open(d);
    Fill(d, "10.0.0.0", "255.0.0.0", "10.90.90.253", "5");
    MessageRecorder messages;
    messages.script({IDOK});
    d.AddButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].endsWith("taken back.")) << messages.texts()[0].toStdString();
    const std::vector<std::string> lines = SetLines(*sim);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "P.36.1.1.9" + i + "=6");
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}

// Delete names the route by destination, mask and gateway.
TEST_F(StaticRouteTest, Delete)
{
    PutRoute("10.0.0.0", "255.0.0.0", "10.90.90.253");
    CStaticRoute d;
    Open(d);
    {
        MessageRecorder messages;
        messages.expect("Please select the entry to delete.");
        d.DeleteButton()->click();
        messages.ExpectAllUsed();
    }
    d.List()->SelectItem(1);
    d.DeleteButton()->click();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.36.1.1.9.10.0.0.0.255.0.0.0.10.90.90.253=6"}));
    EXPECT_EQ(d.List()->GetItemCount(), 1);
}
