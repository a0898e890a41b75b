#include "C8021Config.h"
#include "Dot1xTestUtil.h"
#include "MessageRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class Dot1xFormTest : public Dot1xDialogTest
{
protected:
    void SetUp() override
    {
        Dot1xDialogTest::SetUp();
        ASSERT_TRUE(sim->command("set " + P + ".11.2.1.0 i 1"));
    }
    static void Apply(C8021Config& d)
    {
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitSettled(d));
    }
    static const SimVarbind* Find(const std::string& oid)
    {
        static std::vector<SimRequest> sets;
        sets = sim->sets();
        for (const SimRequest& r : sets)
            for (const SimVarbind& v : r.varbinds)
                if (v.oid == oid)
                    return &v;
        return nullptr;
    }
};

} // namespace

// The read fills the form; 802.1X on enables the fields and PortSet.
TEST_F(Dot1xFormTest, ReadFillsTheForm)
{
    C8021Config d;
    Open(d);
    EXPECT_TRUE(d.Enable()->isChecked());
    EXPECT_EQ(d.Edit(C8021Config::IDC_SERVER)->text(), "10.90.90.100");
    EXPECT_EQ(d.Edit(C8021Config::IDC_KEY)->text(), "radius");
    EXPECT_EQ(d.Edit(C8021Config::IDC_QUIET_PERIOD)->text(), "60");
    EXPECT_EQ(d.Edit(C8021Config::IDC_REAUTH_PERIOD)->text(), "3600");
    EXPECT_EQ(d.ReAuth()->currentText(), "Disabled");
    EXPECT_TRUE(d.Edit(C8021Config::IDC_TX_PERIOD)->isEnabled());
    EXPECT_TRUE(d.PortSetButton()->isEnabled());
    d.Enable()->click();
    EXPECT_FALSE(d.Edit(C8021Config::IDC_TX_PERIOD)->isEnabled());
    EXPECT_FALSE(d.Edit(C8021Config::IDC_SERVER)->isEnabled());
}

// With the box cleared only the state "2" goes out, whatever the other
// fields hold.
TEST_F(Dot1xFormTest, ClearedBoxWritesOnlyTheState)
{
    C8021Config d;
    Open(d);
    d.Enable()->click();
    d.Edit(C8021Config::IDC_SERVER)->setText("0.0.0.0");
    d.Edit(C8021Config::IDC_TX_PERIOD)->setText("x");
    MessageRecorder messages;
    Apply(d);
    EXPECT_EQ(SetLines(*sim), std::vector<std::string>{"P.11.2.1.0=2"});
    EXPECT_FALSE(d.Enable()->isChecked());   // read back
}

// The server address check.
TEST(Dot1xFormAddress, RefusesNetworkAndBroadcastHosts)
{
    const QString refused = QStringLiteral("Invalid RADIUS Server IP Address.");
    for (const char* text : {"10.0.0.255", "0.0.0.0", "0.1.1.1", "255.1.1.1", "10.0.0.0", "10.0.0", "10.0.0.256",
                             "10.0.0.1x", "", " 10.0.0.1"})
        EXPECT_EQ(C8021Config::CheckServerAddress(text), refused) << text;
    for (const char* text : {"10.0.0.254", "192.168.1.1"})
        EXPECT_EQ(C8021Config::CheckServerAddress(text), QString()) << text;
}

// Address and key first, then the state; the key checks in order.
TEST_F(Dot1xFormTest, ServerAndKeyChecks)
{
    C8021Config d;
    Open(d);
    struct Case { const char* address; const char* key; const char* confirm; const char* message; };
    const Case cases[] = {
        {"10.0.0.255", "", "x", "Invalid RADIUS Server IP Address."},
        {"10.0.0.254", "", "", "Invalid Key."},
        {"10.0.0.254", "k1", "k2", "Please confirm the key again !"},
    };
    for (const Case& c : cases) {
        d.Edit(C8021Config::IDC_SERVER)->setText(c.address);
        d.Edit(C8021Config::IDC_KEY)->setText(c.key);
        d.Edit(C8021Config::IDC_CONFIRM_KEY)->setText(c.confirm);
        MessageRecorder messages;
        messages.expect(c.message);
        d.ApplyButton()->click();
        messages.ExpectAllUsed();
    }
    EXPECT_TRUE(SetLines(*sim).empty());
}

// The whole write: server and key (IpAddress and text) in one request, the
// state, then the timers with the re-authentication period as an unsigned
// 32-bit value; its top value passes.
TEST_F(Dot1xFormTest, WritesServerStateThenTimers)
{
    C8021Config d;
    Open(d);
    d.Edit(C8021Config::IDC_SERVER)->setText("10.0.0.254");
    d.Edit(C8021Config::IDC_KEY)->setText("newkey");
    d.Edit(C8021Config::IDC_CONFIRM_KEY)->setText("newkey");
    d.Edit(C8021Config::IDC_QUIET_PERIOD)->setText("0");
    d.Edit(C8021Config::IDC_REAUTH_PERIOD)->setText("4294967295");
    d.ReAuth()->setCurrentIndex(0);
    MessageRecorder messages;
    Apply(d);
    EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{
                                  "P.11.1.1.0=10.0.0.254 P.11.1.2.0=newkey", "P.11.2.1.0=1",
                                  "P.11.2.2.0=0 P.11.2.3.0=30 P.11.2.4.0=30 P.11.2.5.0=30 P.11.2.6.0=2 "
                                  "P.11.2.7.0=4294967295 P.11.2.8.0=1"}));
    ASSERT_TRUE(Find(P + ".11.1.1.0"));
    EXPECT_EQ(Find(P + ".11.1.1.0")->type, "IpAddress");
    ASSERT_TRUE(Find(P + ".11.2.7.0"));
    EXPECT_EQ(Find(P + ".11.2.7.0")->type, "Gauge32");
    EXPECT_EQ(d.Edit(C8021Config::IDC_REAUTH_PERIOD)->text(), "4294967295");   // read back
}

// A bad timer is reported after the server, key and state were written,
// and no timer is sent; 4294967296 is one too many.
TEST_F(Dot1xFormTest, BadTimerAfterServerAndState)
{
    struct Case { int id; const char* text; const char* message; };
    const Case cases[] = {
        {C8021Config::IDC_REAUTH_PERIOD, "4294967296", "Invalid ReAuthPeriod (1-4294967295)"},
        {C8021Config::IDC_REAUTH_PERIOD, "0", "Invalid ReAuthPeriod (1-4294967295)"},
        {C8021Config::IDC_QUIET_PERIOD, "65536", "Invalid QuietPeriod (0-65535)"},
        {C8021Config::IDC_TX_PERIOD, "0", "Invalid TxPeriod (1-65535)"},
        {C8021Config::IDC_SUPP_TIMEOUT, "", "Invalid SuppTimeout (1-65535)"},
        {C8021Config::IDC_SERVER_TIMEOUT, "0x1E", "Invalid ServerTimeout (1-65535)"},
        {C8021Config::IDC_MAX_REQ, "11", "Invalid MaxReq (1-10)"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("clearlog"));
        C8021Config d;
        Open(d);
        d.Edit(c.id)->setText(c.text);
        MessageRecorder messages;
        messages.expect(c.message);
        Apply(d);
        messages.ExpectAllUsed();
        EXPECT_EQ(SetLines(*sim), (std::vector<std::string>{"P.11.1.1.0=10.90.90.100 P.11.1.2.0=radius",
                                                            "P.11.2.1.0=1"}))
            << c.text;
    }
}

// The key edits keep 33 characters of a longer text, typed or pasted.
TEST_F(Dot1xFormTest, KeyIsCutTo33)
{
    C8021Config d;
    Open(d);
    d.Edit(C8021Config::IDC_KEY)->setText(QString(34, u'k'));
    EXPECT_EQ(d.Edit(C8021Config::IDC_KEY)->text().size(), 33);
}

// A failed read keeps Apply off and the box unusable.
TEST_F(Dot1xFormTest, FailedReadKeepsApplyOff)
{
    ASSERT_TRUE(sim->command("error " + P + ".11.2.7.0 genErr"));
    C8021Config d;
    d.show();
    ASSERT_TRUE(WaitSettled(d));
    EXPECT_FALSE(d.Gate().AllSucceeded());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_FALSE(d.Enable()->isEnabled());
}
