// The stand-alone viewers against Debian's snmpd (a standard agent): the
// SNMPv3 agent tables read the same over v1 and v3, their string indexes
// decode at every length, the user protocols read as such, and the ARP and
// route tables show what snmpwalk shows, through their code texts.

#include "CAccessInfo.h"
#include "CArpTable.h"
#include "CCommunityInfo.h"
#include "CGroupInfo.h"
#include "CListCtrlEx.h"
#include "CRouterMap.h"
#include "CDirectTableDialog.h"
#include "CStatusLine.h"
#include "CUserInfo.h"
#include "DirectTexts.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace {

using Column = std::map<std::string, std::string>;   // index -> value

class DirectSnmpdTest : public SnmpdSuite
{
protected:
    void SetUp() override
    {
        SnmpdSuite::SetUp();
        SnmpInit(EnsureTestApp());
        UseV1();
    }
    void TearDown() override { ResetGlobalSettings(); }

    static void UseV1()
    {
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral("127.0.0.1");
        g_strSnmpPort = QString::number(port());
        g_strReadCommunity = QString::fromLatin1(SnmpdAgent::kReadCommunity);
        g_strWriteCommunity = QString::fromLatin1(SnmpdAgent::kWriteCommunity);
        g_strSnmpTimeout = QStringLiteral("3000");
    }
    static void UseV3()
    {
        UseV1();
        g_strSnmpVersion = QStringLiteral("3");
        g_strV3SecurityLevel = QStringLiteral("3");
        g_strV3UserName = QString::fromLatin1(SnmpdAgent::kShaDesUser);
        g_strV3AuthProtocol = QStringLiteral("3");
        g_strV3AuthPassword = QString::fromLatin1(SnmpdAgent::kAuthPassword);
        g_strV3PrivProtocol = QStringLiteral("2");
        g_strV3PrivPassword = QString::fromLatin1(SnmpdAgent::kPrivPassword);
    }

    static bool Open(CDirectTableDialog& d)
    {
        d.show();
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 30000);
    }

    static std::vector<QStringList> Rows(const CListCtrlEx* list)
    {
        std::vector<QStringList> rows;
        for (int r = 0; r < list->GetItemCount(); ++r)
            rows.push_back(ListRow(list, r));
        return rows;
    }

    template <class Dialog>
    static std::vector<QStringList> ReadRows()
    {
        Dialog d;
        EXPECT_TRUE(Open(d));
        EXPECT_TRUE(d.StatusLine()->text().isEmpty()) << d.StatusLine()->text().toStdString();
        return Rows(d.List());
    }

    // One column as snmpwalk shows it over v1: index -> value, OIDs without
    // their leading dot, strings without quotes.
    static Column Walk(const std::string& column) { return Agent()->WalkColumn(column); }
};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The four agent tables give identical rows over v1 and over v3 (one
// conversion serves both reads), and the rows are not empty where snmpd
// has entries.
TEST_F(DirectSnmpdTest, AgentTablesIdenticalOverV1AndV3)
{
    MessageRecorder messages;
    const auto community1 = ReadRows<CCommunityInfo>();
    const auto group1 = ReadRows<CGroupInfo>();
    const auto access1 = ReadRows<CAccessInfo>();
    const auto user1 = ReadRows<CUserInfo>();
    UseV3();
    EXPECT_EQ(ReadRows<CCommunityInfo>(), community1);
    EXPECT_EQ(ReadRows<CGroupInfo>(), group1);
    EXPECT_EQ(ReadRows<CAccessInfo>(), access1);
    EXPECT_EQ(ReadRows<CUserInfo>(), user1);
    EXPECT_GE(group1.size(), 8u);
    EXPECT_GE(access1.size(), 3u);
    EXPECT_GE(user1.size(), 5u);
}

// Security and group names of 1, 9, 10 and 11 characters decode exactly
// from their length prefix (a fixed one-digit length would cut the longer
// ones and shift every character).
TEST_F(DirectSnmpdTest, IndexNamesOfEveryLengthDecode)
{
    const auto groups = ReadRows<CGroupInfo>();
    std::map<QString, QStringList> bySecurityName;
    for (const QStringList& row : groups)
        bySecurityName[row[1]] = row;
    ASSERT_TRUE(bySecurityName.count("s"));
    EXPECT_EQ(bySecurityName["s"].mid(0, 3), QStringList({"v2", "s", "g"}));
    ASSERT_TRUE(bySecurityName.count("velNoAuth"));
    EXPECT_EQ(bySecurityName["velNoAuth"][0], "v3");
    ASSERT_TRUE(bySecurityName.count("tencharsAB"));
    EXPECT_EQ(bySecurityName["tencharsAB"][2], "grp10chars");
    ASSERT_TRUE(bySecurityName.count("elevenchars"));
    EXPECT_EQ(bySecurityName["elevenchars"].mid(0, 3), QStringList({"v3", "elevenchars", "grp11charsX"}));

    std::set<QStringList> access;
    for (const QStringList& row : ReadRows<CAccessInfo>())
        access.insert(row.mid(0, 4));
    // "any" security model is 0 in the index: shown as v3, as every model
    // but 1 and 2.
    EXPECT_TRUE(access.count({"g", "v3", "noAuthNoPriv", "all"}));
    EXPECT_TRUE(access.count({"grp10chars", "v3", "noAuthNoPriv", "all"}));
    EXPECT_TRUE(access.count({"grp11charsX", "v3", "noAuthNoPriv", "all"}));
}

// Users: MD5 with DES reads "MD5"/"DES", SHA without privacy "Other"/
// "Other"; each user's group is its own mapping's (as snmpwalk has it).
TEST_F(DirectSnmpdTest, UserProtocolsAndGroups)
{
    const auto users = ReadRows<CUserInfo>();
    std::map<QString, QStringList> byName;
    for (const QStringList& row : users)
        byName[row[0]] = row;
    const Column groups = Walk("1.3.6.1.6.3.16.1.2.1.3.3");
    const auto groupOf = [&](const std::string& user) {
        std::string index = std::to_string(user.size());
        for (char c : user)
            index += "." + std::to_string(int(uchar(c)));
        return groups.count(index) ? Q(groups.at(index)) : QString();
    };
    for (const char* user : {SnmpdAgent::kMd5DesUser, SnmpdAgent::kShaUser, SnmpdAgent::kMd5User,
                             SnmpdAgent::kNoAuthUser}) {
        ASSERT_TRUE(byName.count(user)) << user;
        EXPECT_EQ(byName[user][1], groupOf(user)) << user;
        EXPECT_FALSE(byName[user][1].isEmpty()) << user;
    }
    EXPECT_EQ(byName[SnmpdAgent::kMd5DesUser].mid(2), QStringList({"MD5", "DES"}));
    EXPECT_EQ(byName[SnmpdAgent::kShaUser].mid(2), QStringList({"Other", "Other"}));
    EXPECT_EQ(byName[SnmpdAgent::kMd5User].mid(2), QStringList({"MD5", "Other"}));
    EXPECT_EQ(byName[SnmpdAgent::kNoAuthUser].mid(2), QStringList({"Other", "Other"}));
}

// ARP and route tables: the ARP rows snmpwalk shows, with the type texts;
// the route walk ends where snmpd's answer leaves the walked columns.
TEST_F(DirectSnmpdTest, ArpAndRouteTablesAsSnmpwalkShowsThem)
{
    {
        // snmpd serves no ipRouteAge and no metrics 2 to 4: the first answer
        // already leaves those columns, which ends the walk without a row
        // (and without a failure: it is the table's end).
        ASSERT_FALSE(Walk("1.3.6.1.2.1.4.21.1.1").empty());
        ASSERT_TRUE(Walk("1.3.6.1.2.1.4.21.1.10").empty());
        CRouterMap d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.List()->GetItemCount(), 0);
        EXPECT_EQ(d.CountLabel()->text(), "0");
        EXPECT_EQ(d.Walk().m_nRequestId, 0);
        EXPECT_TRUE(d.StatusLine()->text().isEmpty()) << d.StatusLine()->text().toStdString();
    }
    {
        const Column ip = Walk("1.3.6.1.2.1.4.22.1.3");
        const Column type = Walk("1.3.6.1.2.1.4.22.1.4");
        std::set<QStringList> expected;
        for (const auto& [i, a] : ip)
            expected.insert({Q(a), DirectTexts::ArpType(QByteArray::fromStdString(type.at(i)))});
        CArpTable d;
        ASSERT_TRUE(Open(d));
        std::set<QStringList> shown;
        for (const QStringList& row : Rows(d.List())) {
            shown.insert({row[1], row[3]});
            EXPECT_TRUE(row[2].isEmpty() || row[2].count(':') == 5) << row[2].toStdString();
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(d.CountLabel()->text(), QString::number(ip.size()));
    }
}

} // namespace
