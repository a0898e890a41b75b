#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CSNMPConfig.h"
#include "CSNMPHost.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "SnmpAgentDialogTest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::string kHost = "1.3.6.1.4.1.32473.10.126.4.1.25.6.2.1";
const std::string kLinkLocal = ".16.254.128.0.0.0.0.0.0.0.0.0.0.0.0.0.1.2";

class HostDialogTest : public SnmpAgentDialogTest
{
protected:
    HostDialogTest() : SnmpAgentDialogTest(4) {}


    static QStringList Column(CSNMPHost& d, int column)
    {
        QStringList texts;
        for (int i = 0; i < d.List()->GetItemCount(); ++i)
            texts << d.List()->GetItemText(i, column);
        return texts;
    }
};

INSTANTIATE_TEST_SUITE_P(Versions, HostDialogTest, ::testing::Values("v1", "v3"));

} // namespace

// A link-local host is created in three requests with its interface name
// (column .5), shown as fe80::1%eth0, and deleted by the index without the
// interface name. A v3 host keeps its user name in the community column.
TEST_P(HostDialogTest, LinkLocalHostAddShowDelete)
{
    CSNMPHost d;
    d.show();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(Column(d, 0), QStringList({"10.0.0.9"}));
    ASSERT_TRUE(sim->command("clearlog"));

    d.AddressEdit()->setText(QStringLiteral("fe80::1%eth0"));
    d.VersionCombo()->setCurrentIndex(3);
    d.NameEdit()->setText(QStringLiteral(" velmd5 "));
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kHost + ".6" + kLinkLocal);
    EXPECT_EQ(sets[0].varbinds[0].value, "5");
    ASSERT_EQ(sets[1].varbinds.size(), 3u);
    EXPECT_EQ(sets[1].varbinds[0].oid, kHost + ".3" + kLinkLocal);
    EXPECT_EQ(sets[1].varbinds[0].value, "velmd5");
    EXPECT_EQ(sets[1].varbinds[1].value, "4");
    EXPECT_EQ(sets[1].varbinds[2].oid, kHost + ".5" + kLinkLocal);
    EXPECT_EQ(sets[1].varbinds[2].value, "eth0");
    EXPECT_EQ(sets[2].varbinds[0].value, "1");
    ASSERT_TRUE(Column(d, 0).contains("fe80::1%eth0"));
    EXPECT_TRUE(Column(d, 1).contains("V3-AuthNoPriv"));
    EXPECT_EQ(d.StatusLine()->text(), "Added: host fe80::1");   // said, and kept through the re-read

    ASSERT_TRUE(sim->command("clearlog"));
    d.List()->SelectItem(int(Column(d, 0).indexOf("fe80::1%eth0")));
    d.DeleteButton()->click();
    ASSERT_TRUE(Idle(d));
    sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kHost + ".6" + kLinkLocal);
    EXPECT_EQ(sets[0].varbinds[0].value, "6");
    EXPECT_EQ(Column(d, 0), QStringList({"10.0.0.9"}));
}

// An IPv4 and a global IPv6 host: their indexes, no interface column.
TEST_P(HostDialogTest, AddressIndexes)
{
    CSNMPHost d;
    d.show();
    ASSERT_TRUE(Idle(d));
    struct Case { const char* address; std::string index; };
    const Case cases[] = {
        {"192.168.1.5", ".4.192.168.1.5.1"},
        {"2001:db8::1", ".16.32.1.13.184.0.0.0.0.0.0.0.0.0.0.0.1.2"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("clearlog"));
        d.AddressEdit()->setText(QString::fromLatin1(c.address));
        d.NameEdit()->setText(QStringLiteral("public"));
        d.ApplyButton()->click();
        ASSERT_TRUE(Idle(d));
        const auto sets = sim->sets();
        ASSERT_EQ(sets.size(), 3u) << c.address;
        EXPECT_EQ(sets[0].varbinds[0].oid, kHost + ".6" + c.index);
        EXPECT_EQ(sets[1].varbinds.size(), 2u) << c.address;
        EXPECT_TRUE(Column(d, 0).contains(QString::fromLatin1(c.address))) << c.address;
    }
}

// The checks, each stopping before anything is sent: a bad address, a
// link-local address without interface, an address already listed (IPv6
// compared compressed), an empty or refused name.
TEST_P(HostDialogTest, ChecksStopBeforeSending)
{
    ASSERT_TRUE(sim->command("set " + kHost + ".1" + kLinkLocal + " x fe800000000000000000000000000001"));
    ASSERT_TRUE(sim->command("set " + kHost + ".2" + kLinkLocal + " i 2"));
    ASSERT_TRUE(sim->command("set " + kHost + ".3" + kLinkLocal + " s public"));
    ASSERT_TRUE(sim->command("set " + kHost + ".4" + kLinkLocal + " i 1"));
    ASSERT_TRUE(sim->command("set " + kHost + ".5" + kLinkLocal + " s eth0"));
    ASSERT_TRUE(sim->command("set " + kHost + ".6" + kLinkLocal + " i 1"));
    CSNMPHost d;
    d.show();
    ASSERT_TRUE(Idle(d));
    ASSERT_TRUE(sim->command("clearlog"));
    // A text that is no address keeps Apply off while typed (the field is
    // marked with the reason): no box, nothing sent. The other checks
    // answer at Apply.
    struct Case { const char* address; const char* name; QString message; };
    const Case cases[] = {
        {"10.0.0", "public", QString()},
        {"fe80::2", "public", QString()},
        {"10.0.0.9", "public", "This IP Address has used,please enter other IP Address"},
        {"fe80:0::1%eth1", "public", "This IP Address has used,please enter other IP Address"},
        {"10.0.0.10", "  ", "The Community String or SNMPv3 User Name can not be empty."},
        {"10.0.0.10", "a.b", "Invalid Community String/SNMPv3 User Name. "},
    };
    for (const Case& c : cases) {
        d.AddressEdit()->setText(QString::fromLatin1(c.address));
        d.NameEdit()->setText(QString::fromLatin1(c.name));
        EXPECT_EQ(d.ApplyButton()->isEnabled(), !c.message.isEmpty()) << c.address;
        EXPECT_EQ(d.AddressEdit()->IsMarkedInvalid(), c.message.isEmpty()) << c.address;
        if (!c.message.isEmpty())
            recorder.expect(c.message);
        d.ApplyButton()->click();
    }
    EXPECT_TRUE(sim->sets().empty());

    d.List()->ClearSelection();
    recorder.expect(QStringLiteral("Please Selecte the Item you would delete"));
    d.DeleteButton()->click();
}

// Ten hosts fill the table: an eleventh is refused with the fixed text and
// nothing sent; with nine listed the tenth is created. A limit off by one
// (or counted after the create) shows in one of the two cases.
TEST_P(HostDialogTest, TenHostsAtMost)
{
    for (int listed : {10, 9}) {
        SCOPED_TRACE(listed);
        ASSERT_TRUE(sim->command("reset"));
        // The switch starts with 10.0.0.9; the others are 10.0.1.n.
        for (int n = 1; n < listed; ++n) {
            const std::string index = ".4.10.0.1." + std::to_string(n) + ".1";
            char hex[16];
            std::snprintf(hex, sizeof hex, "0a0001%02x", n);
            ASSERT_TRUE(sim->command("set " + kHost + ".1" + index + " x " + hex));
            ASSERT_TRUE(sim->command("set " + kHost + ".2" + index + " i 1"));
            ASSERT_TRUE(sim->command("set " + kHost + ".3" + index + " s public"));
            ASSERT_TRUE(sim->command("set " + kHost + ".4" + index + " i 1"));
            ASSERT_TRUE(sim->command("set " + kHost + ".6" + index + " i 1"));
        }
        CSNMPHost d;
        d.show();
        ASSERT_TRUE(Idle(d));
        ASSERT_EQ(d.List()->GetItemCount(), listed);
        ASSERT_TRUE(sim->command("clearlog"));
        d.AddressEdit()->setText(QStringLiteral("10.0.2.1"));
        d.NameEdit()->setText(QStringLiteral("public"));
        if (listed == 10)
            recorder.expect(QStringLiteral("Maximum number of Host Entry is 10."));
        d.ApplyButton()->click();
        ASSERT_TRUE(Idle(d));
        EXPECT_EQ(sim->sets().empty(), listed == 10);
        if (listed == 9) {
            EXPECT_EQ(d.List()->GetItemCount(), 10);
        }
    }
}
