// The camera VLAN port settings dialog against the simulated switch: the
// port list, the port range, the aggregated-link refusal before anything is
// sent, and the batches of a range.

#include "CCameraVlanPortSetting.h"
#include "CListCtrlEx.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "StpIgmpTestUtil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace stptest;

namespace {

const std::string kPort = kPrivate + ".26.1.5.1.";
const std::string kLink1 = kPrivate + ".8.1.3.1.2.1";
const std::string kLink2 = kPrivate + ".8.1.3.1.2.2";

class CameraPortTest : public SwitchDialogTest
{
protected:
    // Picks the range and the setting as the user does.
    static void Choose(CCameraVlanPortSetting& d, int from, int to, bool enable)
    {
        d.FromPort()->setCurrentIndex(from - 1);
        emit d.FromPort()->activated(from - 1);
        d.ToPort()->setCurrentIndex(to - 1);
        emit d.ToPort()->activated(to - 1);
        d.AutoDetection()->setCurrentIndex(enable ? 0 : 1);
    }
    static std::vector<int> PortsOf(const SimRequest& r)
    {
        std::vector<int> ports;
        for (const SimVarbind& v : r.varbinds)
            ports.push_back(std::stoi(v.oid.substr(v.oid.rfind('.') + 1)));
        return ports;
    }
};

} // namespace

// The list shows each port's detection and membership as words; the VLAN id
// given by the opener is shown; Apply needs the feature on.
TEST_F(CameraPortTest, ListsThePorts)
{
    ASSERT_TRUE(sim->command("set " + kPort + "2.3 i 1"));
    ASSERT_TRUE(sim->command("set " + kPort + "3.4 i 2"));
    ASSERT_TRUE(sim->command("set " + kPort + "3.5 i 3"));
    CCameraVlanPortSetting d(QStringLiteral("300"), QStringLiteral("1"));
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"1", "Disabled", "Static"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"3", "Enabled", "Static"}));
    EXPECT_EQ(ListRow(d.List(), 3), QStringList({"4", "Disabled", "Dynamic"}));
    EXPECT_EQ(ListRow(d.List(), 4), QStringList({"5", "Disabled", "None"}));
    EXPECT_EQ(d.VlanIdEdit()->text(), "300");
    EXPECT_EQ(d.ToPort()->currentText(), "52");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());

    CCameraVlanPortSetting off(QStringLiteral("300"), QStringLiteral("2"));
    Open(off);
    EXPECT_TRUE(off.Gate().AllSucceeded());
    EXPECT_FALSE(off.ApplyButton()->isEnabled());
}

// Choosing a From port moves To with it; a To below From is refused and
// put back to From.
TEST_F(CameraPortTest, PortRange)
{
    CCameraVlanPortSetting d(QStringLiteral("300"), QStringLiteral("1"));
    Open(d);
    d.FromPort()->setCurrentIndex(9);
    emit d.FromPort()->activated(9);
    EXPECT_EQ(d.ToPort()->currentText(), "10");
    MessageRecorder recorder;
    recorder.expect(QStringLiteral("'To Port' can not be smaller than 'From Port'"));
    d.ToPort()->setCurrentIndex(4);
    emit d.ToPort()->activated(4);
    EXPECT_EQ(d.ToPort()->currentText(), "10");
}

// Enabling detection on a range holding an aggregated link's port is
// refused before anything is sent, wherever the port lies in the range
// (here port 40, after the first batch); disabling is allowed.
TEST_F(CameraPortTest, AggregatedLinkPortRefusedBeforeAnyWrite)
{
    ASSERT_TRUE(sim->command("set " + kLink1 + " x 0000000000000000"));
    ASSERT_TRUE(sim->command("set " + kLink2 + " x 0000000001000000"));   // port 40
    CCameraVlanPortSetting d(QStringLiteral("300"), QStringLiteral("1"));
    Open(d);
    Choose(d, 1, 52, true);
    sim->clearLog();
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("LA member port can not support in auto Surveillance vlan mode."));
        Apply(d);
    }
    EXPECT_TRUE(sim->sets().empty());

    Choose(d, 35, 45, false);
    Apply(d);
    ASSERT_EQ(sim->sets().size(), 1u);
    EXPECT_EQ(sim->value(kPort + "2.40"), "i 2");
}

// 52 ports without aggregated links go in batches of 30 and 22, in port
// order, each port once.
TEST_F(CameraPortTest, RangeGoesInBatchesOf30)
{
    ASSERT_TRUE(sim->command("set " + kLink1 + " x 0000000000000000"));
    CCameraVlanPortSetting d(QStringLiteral("300"), QStringLiteral("1"));
    Open(d);
    Choose(d, 1, 52, true);
    sim->clearLog();
    Apply(d);
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 2u);
    std::vector<int> first, second;
    for (int p = 1; p <= 30; ++p)
        first.push_back(p);
    for (int p = 31; p <= 52; ++p)
        second.push_back(p);
    EXPECT_EQ(PortsOf(sets[0]), first);
    EXPECT_EQ(PortsOf(sets[1]), second);
    EXPECT_EQ(sets[1].varbinds.back().value, "1");
    EXPECT_EQ(d.List()->GetItemText(51, 1), "Enabled");   // read back
}
