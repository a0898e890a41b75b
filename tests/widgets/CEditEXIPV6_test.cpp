#include "CEditEXIPV6.h"
#include "MessageRecorder.h"
#include "TestApp.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

// Stands in for the SNMP session: keeps every value added, in order.
struct FakeSession
{
    struct Value { std::string oid; int type; QByteArray data; };
    std::vector<Value> values;

    int AddValue(const char* oid, int type, const char* value)
    {
        values.push_back({oid, type, QByteArray(value)});
        return 0;
    }
    int AddValueBytes(const char* oid, int type, const void* data, int length)
    {
        values.push_back({oid, type, QByteArray(static_cast<const char*>(data), length)});
        return 0;
    }
};

struct Case
{
    const char* text;
    bool checkScope;
    int status;
    const char* type;      // address type after this text in a fresh edit
    const char* address;   // kept address part
    const char* iface;     // kept interface name
    const char* octetsHex; // octets added for a valid address
};


} // namespace

// The address rules, one row per case: family by "." or ":", lower-cased
// address with the interface name split off after the first "%", the
// link-local rules, and the values refused outright (unspecified, loopback,
// multicast, mapped IPv4, first group below 1000, network or broadcast
// IPv4). A wrong split, lower-casing of the interface name or a missing
// link-local rule shows up as a wrong row.
TEST(CEditEXIPV6, ClassifiesAddresses)
{
    const Case cases[] = {
        {"FE80::1%eth0", true, 1, "2", "fe80::1", "eth0", "fe800000000000000000000000000001"},
        {"fe80::1%ETH0", true, 1, "2", "fe80::1", "ETH0", "fe800000000000000000000000000001"},
        {"fe80::1%eth0.100", true, 1, "2", "fe80::1", "eth0.100", "fe800000000000000000000000000001"},
        {"febf::a%x", true, 1, "2", "febf::a", "x", "febf000000000000000000000000000a"},
        {"fe80::1", true, -2, "", "fe80::1", "", ""},
        {"fe80::1%", true, -2, "", "fe80::1", "", ""},
        {"fe80::1%abcdefghijklmnopqrstu", true, -1, "", "fe80::1", "abcdefghijklmnopqrstu", ""},
        {"fe80::1%abcdefghijklmnopqrst", true, 1, "2", "fe80::1", "abcdefghijklmnopqrst", "fe800000000000000000000000000001"},
        {"fec0::1", true, 1, "2", "fec0::1", "", "fec00000000000000000000000000001"},
        {"2001:DB8::1", true, 1, "2", "2001:db8::1", "", "20010db8000000000000000000000001"},
        {"2001:db8::1%eth0", true, 1, "2", "2001:db8::1", "eth0", "20010db8000000000000000000000001"},
        {"2001:2:3:4:5:6:7:8", true, 1, "2", "2001:2:3:4:5:6:7:8", "", "20010002000300040005000600070008"},
        {"2001:db8:1:2:3:4:5::", true, 1, "2", "2001:db8:1:2:3:4:5::", "", "20010db8000100020003000400050000"},
        {" 2001:db8::1 ", true, 1, "2", "2001:db8::1", "", "20010db8000000000000000000000001"},
        // Blanks before the "%" stay out of the kept address and the octets.
        {"fe80::1 %eth0", true, 1, "2", "fe80::1", "eth0", "fe800000000000000000000000000001"},
        {"2001:db8::1\t%x", true, 1, "2", "2001:db8::1", "x", "20010db8000000000000000000000001"},
        // The name goes out as UTF-8: 11 letters, 22 octets, too long.
        {"fe80::1%\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", true, -1, "",
         "fe80::1", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", ""},
        {"192.168.1.10", true, 1, "1", "192.168.1.10", "", "c0a8010a"},
        {"192.168.001.010", true, 1, "1", "192.168.001.010", "", "c0a8010a"},
        {" 10.1.2.3", true, 1, "1", "10.1.2.3", "", "0a010203"},
        {"172.16.0.1", true, 1, "1", "172.16.0.1", "", "ac100001"},
        {"192.168.1.0", true, 0, "", "192.168.1.0", "", ""},
        {"192.168.1.255", true, 0, "", "192.168.1.255", "", ""},
        {"10.0.0.0", true, 0, "", "10.0.0.0", "", ""},
        {"127.0.0.1", true, 0, "", "127.0.0.1", "", ""},
        {"224.0.0.1", true, 0, "", "224.0.0.1", "", ""},
        {"0.1.2.3", true, 0, "", "0.1.2.3", "", ""},
        {"256.1.1.1", true, 0, "", "256.1.1.1", "", ""},
        {"1.2.3", true, 0, "", "1.2.3", "", ""},
        {"1.2.3.4%eth0", true, 0, "", "1.2.3.4%eth0", "", ""},
        {"::ffff:192.168.1.1", true, 0, "", "::ffff:192.168.1.1", "", ""},
        {"abc", true, 0, "", "abc", "", ""},
        {"", true, 0, "", "", "", ""},
        {"::", true, 0, "", "::", "", ""},
        {"::1", true, 0, "", "::1", "", ""},
        {"1000::1", true, 0, "", "1000::1", "", ""},
        {"ff02::1", true, 0, "", "ff02::1", "", ""},
        {"100::1", true, 0, "", "100::1", "", ""},
        {":1::2", true, 0, "", ":1::2", "", ""},
        {"1::2:", true, 0, "", "1::2:", "", ""},
        {"2001::2::3", true, 0, "", "2001::2::3", "", ""},
        {"2001:::3", true, 0, "", "2001:::3", "", ""},
        {"12345::1", true, 0, "", "12345::1", "", ""},
        {"2001:1:2:3:4:5:6:7:8", true, 0, "", "2001:1:2:3:4:5:6:7:8", "", ""},
        {"2001:1:2:3:4:5:6", true, 0, "", "2001:1:2:3:4:5:6", "", ""},
        {"2001:db8::g", true, 0, "", "2001:db8::g", "", ""},
        // Without the scope check: no "%" at all, and no interface needed.
        {"2001:db8::1%x", false, 0, "", "2001:db8::1%x", "", ""},
        {"fe80::1", false, 1, "2", "fe80::1", "", "fe800000000000000000000000000001"},
    };
    EnsureTestApp();
    for (const Case& c : cases) {
        CEditEXIPV6 edit;
        edit.SetCheckScope(c.checkScope);
        edit.setText(QString::fromUtf8(c.text));
        const QString where = QStringLiteral("\"%1\" scope %2").arg(QString::fromUtf8(c.text)).arg(c.checkScope);
        EXPECT_EQ(edit.GetStatus(), c.status) << where.toStdString();
        EXPECT_EQ(edit.GetAddressType(), QString::fromUtf8(c.type)) << where.toStdString();
        EXPECT_EQ(edit.GetAddress(), QString::fromUtf8(c.address)) << where.toStdString();
        EXPECT_EQ(edit.GetInterfaceName(), QString::fromUtf8(c.iface)) << where.toStdString();
        EXPECT_EQ(edit.GetAddressOctets().toHex(), QByteArray(c.octetsHex)) << where.toStdString();
        EXPECT_EQ(edit.GetAddressLength(), int(qstrlen(c.octetsHex) / 2)) << where.toStdString();
    }
}

// The values that go into a set request: type as integer, octets of the
// right length, the interface name only for a link-local address.
TEST(CEditEXIPV6, AddsTypeOctetsAndInterfaceName)
{
    EnsureTestApp();
    struct Expect { const char* text; int count; const char* type; const char* octetsHex; const char* iface; };
    const Expect cases[] = {
        {"FE80::1%Port1", 3, "2", "fe800000000000000000000000000001", "Port1"},
        {"2001:db8::1%eth0", 2, "2", "20010db8000000000000000000000001", nullptr},
        {"192.168.1.10", 2, "1", "c0a8010a", nullptr},
    };
    for (const Expect& e : cases) {
        CEditEXIPV6 edit;
        edit.setText(QString::fromUtf8(e.text));
        FakeSession s;
        EXPECT_TRUE(edit.AddAddressTypeValue(s, QStringLiteral("1.3.6.1.2")));
        EXPECT_TRUE(edit.AddAddressValue(s, QStringLiteral("1.3.6.1.3")));
        EXPECT_EQ(edit.AddInterfaceNameValue(s, QStringLiteral("1.3.6.1.4")), e.iface != nullptr);
        ASSERT_EQ(int(s.values.size()), e.count) << e.text;
        EXPECT_EQ(s.values[0].oid, "1.3.6.1.2");
        EXPECT_EQ(s.values[0].type, 1);
        EXPECT_EQ(s.values[0].data, QByteArray(e.type));
        EXPECT_EQ(s.values[1].oid, "1.3.6.1.3");
        EXPECT_EQ(s.values[1].type, 2);
        EXPECT_EQ(s.values[1].data.toHex(), QByteArray(e.octetsHex));
        if (e.iface) {
            EXPECT_EQ(s.values[2].oid, "1.3.6.1.4");
            EXPECT_EQ(s.values[2].type, 2);
            EXPECT_EQ(s.values[2].data, QByteArray(e.iface));
        }
    }
}

// OID index forms: the IPv4 fields in decimal (leading zeros dropped, they
// would change the sub-identifier text), the 16 IPv6 octets in decimal.
TEST(CEditEXIPV6, OidIndex)
{
    EnsureTestApp();
    CEditEXIPV6 edit;
    edit.setText(QStringLiteral("fe80::1%eth0"));
    EXPECT_EQ(edit.GetAddressOidIndex(), QStringLiteral("254.128.0.0.0.0.0.0.0.0.0.0.0.0.0.1"));
    edit.setText(QStringLiteral("192.168.001.010"));
    EXPECT_EQ(edit.GetAddressOidIndex(), QStringLiteral("192.168.1.10"));
    edit.setText(QStringLiteral("192.168.1.0"));
    EXPECT_EQ(edit.GetAddressOidIndex(), QString());
}

// After a valid address the type is kept when the text turns invalid, but
// nothing may be written from the stale state: the octets of "abc" read as
// IPv4 would be garbage sent to the switch, and a link-local text left
// without (or with a too long) interface name after "fe80::1%eth0" must not
// add the old octets or any interface name.
TEST(CEditEXIPV6, InvalidTextAfterValidAddsNothing)
{
    EnsureTestApp();
    struct Case { const char* valid; const char* invalid; int status; const char* type; };
    const Case cases[] = {
        {"192.168.1.10", "abc", 0, "1"},
        {"fe80::1%eth0", "fe80::1", -2, "2"},
        {"fe80::1%eth0", "fe80::2%", -2, "2"},
        {"fe80::1%eth0", "fe80::1%abcdefghijklmnopqrstu", -1, "2"},
        {"fe80::1%eth0", "fe80::zz%eth0", 0, "2"},
        {"fe80::1%eth0", "192.168.1.0", 0, "2"},
        {"192.168.1.10", "fe80::1", -2, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.valid) + " then " + c.invalid);
        CEditEXIPV6 edit;
        edit.setText(QString::fromLatin1(c.valid));
        ASSERT_EQ(edit.GetStatus(), 1);
        edit.setText(QString::fromLatin1(c.invalid));
        EXPECT_EQ(edit.GetStatus(), c.status);
        EXPECT_EQ(edit.GetAddressType(), QString::fromLatin1(c.type));
        FakeSession s;
        EXPECT_FALSE(edit.AddAddressTypeValue(s, QStringLiteral("1.1")));
        EXPECT_FALSE(edit.AddAddressValue(s, QStringLiteral("1.2")));
        EXPECT_FALSE(edit.AddInterfaceNameValue(s, QStringLiteral("1.3")));
        EXPECT_TRUE(s.values.empty());
        EXPECT_TRUE(edit.GetAddressOctets().isEmpty());
        EXPECT_EQ(edit.GetAddressOidIndex(), QString());
    }
}

// The status follows the text without a focus change: filled by the
// program, or typed and confirmed with Enter while the edit keeps the
// focus. A status computed only on focus-out would let the owner write an
// address it never checked.
TEST(CEditEXIPV6, StatusIsNeverStale)
{
    EnsureTestApp();
    CEditEXIPV6 edit;
    edit.setText(QStringLiteral("fe80::1%eth0"));
    EXPECT_EQ(edit.GetStatus(), 1);
    edit.setText(QStringLiteral("fe80::1"));
    EXPECT_EQ(edit.GetStatus(), -2);

    edit.clear();
    for (QChar ch : QStringLiteral("2001:db8::5")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&edit, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&edit, &enter);
    EXPECT_EQ(edit.text(), QStringLiteral("2001:db8::5"));
    EXPECT_EQ(edit.GetStatus(), 1);
    EXPECT_EQ(edit.GetAddressType(), QStringLiteral("2"));

    // Switching the scope check re-reads the current text.
    edit.setText(QStringLiteral("2001:db8::5%x"));
    EXPECT_EQ(edit.GetStatus(), 1);
    edit.SetCheckScope(false);
    EXPECT_EQ(edit.GetStatus(), 0);

    // Focus-out and the direct call give the same answer.
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.GetStatus(), 0);
    EXPECT_EQ(edit.OnKillFocus(), 0);
}

// The owner's message for each status, exact text, OK only; none while
// valid.
TEST(CEditEXIPV6, ShowAddressErrorTexts)
{
    EnsureTestApp();
    struct Msg { const char* text; const char* message; };
    const Msg cases[] = {
        {"fe80::1", "Link local address must specify interface name!ex: feXX::XXXX%InterfaceName"},
        {"fe80::1%abcdefghijklmnopqrstu", "Interface name too long."},
        {"192.168.1.0", "Invalid Sever IP address."},
        {"2001:db8::1", nullptr},
    };
    for (const Msg& m : cases) {
        MessageRecorder recorder;
        if (m.message)
            recorder.expect(QString::fromUtf8(m.message));
        CEditEXIPV6 edit;
        edit.setText(QString::fromUtf8(m.text));
        edit.ShowAddressError();
        if (!m.message) {
            EXPECT_TRUE(recorder.texts().isEmpty()) << m.text;
            continue;
        }
        ASSERT_EQ(recorder.requests().size(), 1) << m.text;
        EXPECT_EQ(recorder.texts()[0], QString::fromUtf8(m.message));
        EXPECT_EQ(recorder.requests()[0].buttons, MessageButtons::Ok);
    }
}
