// The bandwidth control dialog against the simulated switch: the rate list,
// the rate check, the aggregated-link refusal before anything is written,
// one set request per port holding the limits of the chosen type, and
// Apply and Refresh waiting for both the rates and the links.

#include "CBandWidthControlDlg.h"
#include "CListCtrlEx.h"
#include "TrafficTestUtil.h"

#include <QComboBox>
#include <QLineEdit>

using namespace traffictest;

namespace {

const std::string kRate = kPrivate + ".13.1.2.1.";
const std::string kLink1 = kPrivate + ".8.1.3.1.2.1";

std::string Tx(int port) { return kRate + "2." + std::to_string(port); }
std::string Rx(int port) { return kRate + "3." + std::to_string(port); }

class BandwidthTest : public TrafficDialogTest
{
protected:
    void SetUp() override
    {
        TrafficDialogTest::SetUp();
        // No aggregated link unless a test makes one.
        ASSERT_TRUE(sim->command("set " + kLink1 + " x 0000000000000000"));
    }
    // Picks the range, type and rate as the user does.
    static void Choose(CBandWidthControlDlg& d, int from, int to, int type, const char* rate)
    {
        d.FromPort()->setCurrentIndex(from - 1);
        emit d.FromPort()->activated(from - 1);
        d.ToPort()->setCurrentIndex(to - 1);
        emit d.ToPort()->activated(to - 1);
        d.TypeCombo()->setCurrentIndex(type);
        d.NoLimitCombo()->setCurrentIndex(rate ? 1 : 0);
        if (rate)
            d.RateEdit()->setText(QString::fromLatin1(rate));
    }
};

} // namespace

// Each port's limits are listed by port, 0 as "No Limit".
TEST_F(BandwidthTest, ListsTheRates)
{
    ASSERT_TRUE(sim->command("set " + Tx(3) + " i 1024"));
    ASSERT_TRUE(sim->command("set " + Rx(4) + " i 640"));
    CBandWidthControlDlg d;
    Open(d);
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    const QStringList port3 = {d.List()->GetItemText(2, 0), d.List()->GetItemText(2, 1), d.List()->GetItemText(2, 2)};
    EXPECT_EQ(port3, QStringList({"3", "1024", "No Limit"}));
    EXPECT_EQ(d.List()->GetItemText(3, 2), "640");
    EXPECT_EQ(d.List()->GetItemText(51, 0), "52");
    EXPECT_EQ(d.FromPort()->currentText(), "1");
    EXPECT_EQ(d.ToPort()->currentText(), "52");
    EXPECT_EQ(d.TypeCombo()->currentText(), "Rx");
    EXPECT_EQ(d.NoLimitCombo()->currentText(), "Disabled");
    EXPECT_TRUE(d.RateEdit()->isEnabled());
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());
}

// The rate is the whole text, 64 to 1024000: each bound passes and is
// written as read, one beyond is refused before anything is sent.
TEST_F(BandwidthTest, RateBounds)
{
    CBandWidthControlDlg d;
    Open(d);
    const struct { const char* rate; bool ok; } cases[] = {
        {"63", false}, {"64", true}, {"1024000", true}, {"1024001", false},
        {"", false}, {" 64", false}, {"0x40", false}, {"0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Choose(d, 9, 9, CBandWidthControlFunLogic::Rx, c.rate);
        ApplyExpecting(d, c.ok ? nullptr : "Invalid Rate.");
        if (c.ok) {
            EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Rx(9), c.rate}}}));
        }
    }
}

// "No Limit" enabled writes "0" whatever the rate edit holds.
TEST_F(BandwidthTest, NoLimitWritesZero)
{
    ASSERT_TRUE(sim->command("set " + Rx(6) + " i 640"));
    CBandWidthControlDlg d;
    Open(d);
    Choose(d, 6, 6, CBandWidthControlFunLogic::Rx, "junk");
    d.NoLimitCombo()->setCurrentIndex(0);
    EXPECT_FALSE(d.RateEdit()->isEnabled());
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Rx(6), "0"}}}));
    EXPECT_EQ(d.List()->GetItemText(5, 2), "No Limit");
}

// Ports 5 to 8 with 7 and 8 in a link: the exact message, nothing written.
TEST_F(BandwidthTest, AggregatedPortsRefusedWithNoWrite)
{
    ASSERT_TRUE(sim->command("set " + kLink1 + " x 0300000000000000"));   // ports 7, 8
    CBandWidthControlDlg d;
    Open(d);
    Choose(d, 5, 8, CBandWidthControlFunLogic::Both, "640");
    ApplyExpecting(d, "You can't set the rate of Ports:7,8.because they are in aggregated link.");
    EXPECT_EQ(d.RateEdit()->text(), "640");   // the input stays for another try
    Choose(d, 5, 6, CBandWidthControlFunLogic::Both, "640");
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets().size(), 2u);
}

// Rx writes the receive column only, Tx the transmit column only, Both the
// receive then the transmit column in one request; one request per port,
// in port order.
TEST_F(BandwidthTest, TypeChoosesTheColumns)
{
    CBandWidthControlDlg d;
    Open(d);
    Choose(d, 3, 5, CBandWidthControlFunLogic::Rx, "128");
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Rx(3), "128"}}, {{Rx(4), "128"}}, {{Rx(5), "128"}}}));

    Choose(d, 3, 4, CBandWidthControlFunLogic::Tx, "256");
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Tx(3), "256"}}, {{Tx(4), "256"}}}));

    Choose(d, 10, 11, CBandWidthControlFunLogic::Both, "512");
    ApplyExpecting(d, nullptr);
    EXPECT_EQ(Sets(), (std::vector<std::vector<Varbind>>{{{Rx(10), "512"}, {Tx(10), "512"}},
                                                          {{Rx(11), "512"}, {Tx(11), "512"}}}));
    // A taken write puts the input back to its start.
    EXPECT_EQ(d.FromPort()->currentText(), "1");
    EXPECT_EQ(d.ToPort()->currentText(), "52");
    EXPECT_EQ(d.TypeCombo()->currentText(), "Rx");
    EXPECT_EQ(d.NoLimitCombo()->currentText(), "Disabled");
    EXPECT_EQ(d.RateEdit()->text(), "");
    EXPECT_EQ(d.List()->GetItemText(9, 1), "512");   // read back
}

// A refused port stops the rest and is reported; the ports before it keep
// their new rate and the input stays.
TEST_F(BandwidthTest, RefusedPortStopsTheRest)
{
    ASSERT_TRUE(sim->command("set-error " + Rx(4) + " genErr"));
    CBandWidthControlDlg d;
    Open(d);
    Choose(d, 3, 5, CBandWidthControlFunLogic::Rx, "128");
    sim->clearLog();
    MessageRecorder recorder;
    recorder.script({IDOK});
    Click(d);
    ASSERT_EQ(recorder.texts().size(), 1);
    EXPECT_TRUE(recorder.texts()[0].contains(QStringLiteral("port 4"))) << recorder.texts()[0].toStdString();
    EXPECT_EQ(sim->sets().size(), 2u);
    EXPECT_EQ(sim->value(Rx(3)), "i 128");
    EXPECT_EQ(sim->value(Rx(5)), "i 0");
    EXPECT_EQ(d.RateEdit()->text(), "128");
}

// A To port below From, one below included, is refused with the dialog's
// own text and put back to From; choosing From moves To along.
TEST_F(BandwidthTest, ToBelowFromRefused)
{
    CBandWidthControlDlg d;
    Open(d);
    d.FromPort()->setCurrentIndex(9);
    emit d.FromPort()->activated(9);
    EXPECT_EQ(d.ToPort()->currentText(), "10");
    MessageRecorder recorder;
    recorder.expect(QStringLiteral(" \"To port\"cannot be smaller than \"From Port\" "));
    d.ToPort()->setCurrentIndex(8);
    emit d.ToPort()->activated(8);
    EXPECT_EQ(d.ToPort()->currentText(), "10");
}

// Apply and Refresh wait for both walks: with the links unread the rates
// alone do not open Apply (the link refusal could not run), and Refresh
// stays off until both have ended.
TEST_F(BandwidthTest, ApplyNeedsTheLinks)
{
    ASSERT_TRUE(sim->command("drop under " + kPrivate + ".8.1.3.1.2"));
    CBandWidthControlDlg d;
    d.show();
    EXPECT_FALSE(d.RefreshButton()->isEnabled());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return d.List()->GetItemCount() == 52; }, 30000));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_TRUE(d.RefreshButton()->isEnabled());

    ASSERT_TRUE(sim->command("drop off"));
    d.RefreshButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }, 30000));
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}
