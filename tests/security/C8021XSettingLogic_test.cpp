#include "C8021XSettingLogic.h"
#include "Dot1xTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SnmpRow Row(const QString& index, const QList<QByteArray>& cells)
{
    SnmpRow row;
    row.strIndex = index;
    row.cells = cells;
    for (const QByteArray& cell : cells)
        row.present << !cell.isNull();
    return row;
}

// Keeps the reports it gets, in order.
struct Owner : CModuleOwner
{
    void OnModuleNotify(unsigned nMessage, int, const void* pData) override
    {
        messages.push_back(nMessage);
        if (pData)
            outcomes.push_back(static_cast<const WalkOutcome*>(pData)->nResult);
    }
    std::vector<unsigned> messages;
    std::vector<int> outcomes;
};

class Dot1xLogicTest : public Dot1xDialogTest
{
};

} // namespace

// A RADIUS row's address by its type: 16 octets in the shortest IPv6 form,
// 4 dotted; octets that do not fit the type (none at all, 16 for IPv4) give
// no address instead of bytes read past the value. Passwords and keys are
// never kept.
TEST(Dot1xRecords, AddressesByTypeAndLength)
{
    const QByteArray v6 = QByteArray::fromHex("20010db8000000000000000000000001");
    struct Case { QByteArray type; QByteArray octets; const char* text; };
    const Case cases[] = {
        {"2", v6, "2001:db8::1"},
        {"1", QByteArray::fromHex("0a5a5a64"), "10.90.90.100"},
        {"1", QByteArray(""), ""},
        {"2", QByteArray(""), ""},
        {"1", v6, ""},
        {"2", QByteArray::fromHex("0a5a5a64"), ""},
        {"3", QByteArray::fromHex("0a5a5a64"), ""},
    };
    for (const Case& c : cases) {
        const auto server = C8021XSettingLogic::RadiusRecord(
            Row("2", {"2", c.type, c.octets, "", "1812", "1813", "5", "2", "secret", "1"}));
        EXPECT_EQ(server.strAddress, QString::fromLatin1(c.text)) << c.octets.toHex().constData();
        EXPECT_EQ(server.nIndex, 2);
        EXPECT_EQ(server.strKey, "*****");
        EXPECT_EQ(server.nRowStatus, 1);
    }
    // A missing index column still names the slot; a non-number is 0.
    const auto server = C8021XSettingLogic::RadiusRecord(Row("3", {QByteArray(), "1", "x", "", "abc"}));
    EXPECT_EQ(server.nIndex, 3);
    EXPECT_EQ(server.nAuthPort, 0);
    EXPECT_EQ(server.nRowStatus, 0);

    const auto user = C8021XSettingLogic::UserRecord(Row("4.97.98.99.100", {"abcd", "pw", "5"}));
    EXPECT_EQ(user.strUserName, "abcd");
    EXPECT_EQ(user.strPassword, "*****");
    EXPECT_EQ(user.nRowStatus, 5);
    EXPECT_EQ(user.strIndex, "4.97.98.99.100");
}

// Every row is kept whatever its status, and the end is reported once with
// a complete outcome.
TEST_F(Dot1xLogicTest, WalksKeepEveryRow)
{
    for (const auto& [name, status] : {std::pair<std::string, int>{"abcd", 1}, {"pend", 5}}) {
        const std::string cell = P + ".23.3.1.1.%d." + NameIndex(name);
        ASSERT_TRUE(sim->command("set " + P + ".23.3.1.1.1." + NameIndex(name) + " s " + name));
        ASSERT_TRUE(sim->command("set " + P + ".23.3.1.1.3." + NameIndex(name) + " i " + std::to_string(status)));
    }
    C8021XSettingLogic logic;
    Owner owner;
    logic.SetOwnerWnd(&owner);
    ASSERT_EQ(logic.GetUserTable(), 1);
    ASSERT_TRUE(WaitFor([&] { return !owner.messages.empty(); }, 8000));
    EXPECT_EQ(owner.messages, std::vector<unsigned>{WM_8021X_TABLE_DONE});
    EXPECT_EQ(owner.outcomes, std::vector<int>{WalkOutcome::Complete});
    ASSERT_EQ(logic.m_UserList.size(), 3);
    int active = 0;
    for (const auto& user : logic.m_UserList)
        active += user.nRowStatus == 1;
    EXPECT_EQ(active, 2);

    // A walk overtaken by a newer one is reported as stale, then the newer
    // one ends; the list holds the newer walk's rows only.
    owner.messages.clear();
    owner.outcomes.clear();
    logic.GetRadiusServerTable();
    logic.GetRadiusServerTable();
    ASSERT_TRUE(WaitFor([&] { return owner.messages.size() >= 2; }, 8000));
    EXPECT_EQ(owner.messages, (std::vector<unsigned>{WM_8021X_TABLE_STALE, WM_8021X_TABLE_DONE}));
    ASSERT_EQ(logic.m_RadiusServerList.size(), 1);
    EXPECT_EQ(logic.m_RadiusServerList[0].strAddress, "10.90.90.100");
    EXPECT_EQ(logic.m_RadiusServerList[0].nAuthPort, 1812);
    logic.Close();
}

// No answer ends the walk with what was read and a failed outcome.
TEST_F(Dot1xLogicTest, NoAnswerIsReportedAsAFailedEnd)
{
    ASSERT_TRUE(sim->command("drop all"));
    C8021XSettingLogic logic;
    Owner owner;
    logic.SetOwnerWnd(&owner);
    logic.GetUserTable();
    ASSERT_TRUE(WaitFor([&] { return !owner.messages.empty(); }, 8000));
    EXPECT_EQ(owner.messages, std::vector<unsigned>{WM_8021X_TABLE_DONE});
    EXPECT_EQ(owner.outcomes, std::vector<int>{WalkOutcome::NoAnswer});
    EXPECT_TRUE(logic.m_UserList.isEmpty());
    ASSERT_TRUE(sim->command("drop off"));
}
