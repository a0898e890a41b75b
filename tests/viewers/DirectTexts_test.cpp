// The cell texts of the stand-alone viewers and the decoding of string
// indexes, as tables.

#include "DirectTexts.h"

#include <gtest/gtest.h>

namespace {

using namespace DirectTexts;

// Every code and the fall-backs (a wrong fall-back shows a valid-looking
// text for a code the switch never sent).
TEST(DirectTexts, CodeTexts)
{
    struct Case { QString (*f)(const QByteArray&); const char* value; const char* text; };
    const Case cases[] = {
        {&RouteType, "1", "UnKnown"}, {&RouteType, "2", "Illegal"}, {&RouteType, "3", "Direct"},
        {&RouteType, "4", "Indirect"}, {&RouteType, "5", "0"}, {&RouteType, "", "0"}, {&RouteType, "04", "0"},
        {&RouteProtocol, "1", "other"}, {&RouteProtocol, "2", "local"}, {&RouteProtocol, "3", "netmgmt"},
        {&RouteProtocol, "8", "rip"}, {&RouteProtocol, "9", "is-is"}, {&RouteProtocol, "10", "es-is"},
        {&RouteProtocol, "11", "ciscoIgrp"}, {&RouteProtocol, "12", "bbnSpfIgp"}, {&RouteProtocol, "13", "ospf"},
        {&RouteProtocol, "14", "bgp"}, {&RouteProtocol, "15", "other"},
        {&ArpType, "1", "Unknown"}, {&ArpType, "2", "Illegal"}, {&ArpType, "3", "Dynamic"}, {&ArpType, "4", "Static"},
        {&ArpType, "9", "Static"},
        {&StorageType, "1", "Other"}, {&StorageType, "2", "volatile"}, {&StorageType, "3", "nonVolatile"},
        {&StorageType, "4", "permanent"}, {&StorageType, "5", "readOnly"}, {&StorageType, "6", "Other"},
        {&RowStatus, "1", "active"}, {&RowStatus, "2", "notInService"}, {&RowStatus, "3", "notReady"},
        {&RowStatus, "4", "createAndGo"}, {&RowStatus, "5", "createAndWait"}, {&RowStatus, "6", "destroy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.f(c.value), c.text) << c.value << " -> " << c.text;
    EXPECT_EQ(AccessSecurityModel("1"), "v1");
    EXPECT_EQ(AccessSecurityModel("2"), "v2");
    EXPECT_EQ(AccessSecurityModel("3"), "v3");
    EXPECT_EQ(AccessSecurityModel(""), "v3");
    EXPECT_EQ(SecurityLevel("1"), "noAuthNoPriv");
    EXPECT_EQ(SecurityLevel("2"), "authNoPriv");
    EXPECT_EQ(SecurityLevel("3"), "authPriv");
}

// Octets: a zero octet adds nothing to a name; hexadecimal is upper case
// without separators and never cut (32 octets give 64 digits); a MAC of six
// octets is colon-separated pairs.
TEST(DirectTexts, Octets)
{
    EXPECT_EQ(OctetsAsChars(QByteArray("ab\0cd", 5)), "abcd");
    EXPECT_EQ(OctetsAsHex(QByteArray::fromHex("800007e580")), "800007E580");
    EXPECT_EQ(OctetsAsHex(QByteArray(32, '\xab')).size(), 64);
    EXPECT_EQ(ArpMac(QByteArray::fromHex("001b21a0b0c0")), "00:1B:21:A0:B0:C0");
    EXPECT_EQ(ArpMac(QByteArray()), "");
}

// String indexes by their length prefix, at lengths 1, 9, 10 and 11, one
// after another; indexes that do not fit are refused, not read past.
TEST(DirectTexts, IndexNames)
{
    for (const QString& name : {QStringLiteral("s"), QStringLiteral("velNoAuth"), QStringLiteral("tencharsAB"),
                               QStringLiteral("elevenchars")}) {
        QByteArray oid = "1.3.6.1.6.3.16.1.2.1.3.3." + QByteArray::number(name.size());
        for (QChar c : name)
            oid += '.' + QByteArray::number(c.unicode());
        oid += ".1.120";   // a second name after it: "x"
        QList<quint32> index;
        ASSERT_TRUE(IndexAfter(oid, "1.3.6.1.6.3.16.1.2.1.3", index));
        EXPECT_EQ(index[0], 3u);
        int pos = 1;
        QString decoded;
        ASSERT_TRUE(TakeIndexName(index, pos, decoded));
        EXPECT_EQ(decoded, name);
        ASSERT_TRUE(TakeIndexName(index, pos, decoded));
        EXPECT_EQ(decoded, "x");
        EXPECT_EQ(pos, index.size());
    }
    QList<quint32> index;
    EXPECT_FALSE(IndexAfter("1.3.6.1.6.3.16.1.2.1.4.3.1.115", "1.3.6.1.6.3.16.1.2.1.3", index));
    EXPECT_FALSE(IndexAfter("1.3.6.1.6.3.16.1.2.1.3", "1.3.6.1.6.3.16.1.2.1.3", index));
    ASSERT_TRUE(IndexAfter("1.3.6.1.6.3.16.1.2.1.3.3.5.97", "1.3.6.1.6.3.16.1.2.1.3", index));
    int pos = 1;
    QString name;
    EXPECT_FALSE(TakeIndexName(index, pos, name));   // five characters announced, one there
    index = {1, 300};
    pos = 0;
    EXPECT_FALSE(TakeIndexName(index, pos, name));   // not an octet
}

} // namespace
