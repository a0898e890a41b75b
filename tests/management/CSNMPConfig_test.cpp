#include "CSNMPConfig.h"
#include "CUtils.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kArc = "1.3.6.1.4.1.32473.10.126.4.1.25";

// Collects what the access class reports.
struct Recorder : CModuleOwner
{
    struct Report
    {
        unsigned message;
        int code;
        QStringList texts;   // the row's or result's texts
        int outcome = -1;    // MN_WALK_END: the walk's result
    };
    std::vector<Report> reports;

    void OnModuleNotify(unsigned message, int code, const void* p) override
    {
        Report r{message, code, {}};
        if (message == WM_SNMP_SCALAR) {
            auto* s = static_cast<const SNMP_SCALAR_RESULT*>(p);
            r.texts = {s->bOk ? QStringLiteral("ok") : QStringLiteral("failed"), s->strValue};
        } else if (code == MN_WALK_END) {
            r.outcome = p ? static_cast<const WalkOutcome*>(p)->nResult : -2;
        } else if (code == MN_USER_ROW) {
            auto* u = static_cast<const SNMP_USER_ROW*>(p);
            r.texts = {u->strName, u->strGroup, u->strVersion, u->strAuthProtocol, u->strPrivProtocol, u->strRowStatus};
        } else if (code == MN_COMMUNITY_ROW) {
            auto* c = static_cast<const SNMP_COMMUNITY_ROW*>(p);
            r.texts = {c->strName, c->strViewPolicy, c->strRowStatus};
        }
        reports.push_back(r);
    }
    int Ends() const
    {
        int n = 0;
        for (const Report& r : reports)
            n += r.message == WM_MODULE_NOTIFY && r.code == MN_WALK_END;
        return n;
    }
    int Count(int code) const
    {
        int n = 0;
        for (const Report& r : reports)
            n += r.message == WM_MODULE_NOTIFY && r.code == code;
        return n;
    }
};

// Runs the sequence to its end; true when every step was accepted.
bool RunSteps(CSetSequence& sequence)
{
    bool done = false;
    bool ok = false;
    QObject::connect(&sequence, &CSetSequence::finished, [&](bool b, const SnmpSetFailure&) {
        done = true;
        ok = b;
    });
    if (!sequence.Start())
        return false;
    EXPECT_TRUE(WaitFor([&] { return done; }, 30000));
    return ok;
}

// The sets of the log as "OID=value" texts (hex for octet strings that are
// not printable).
std::vector<std::vector<std::string>> SetTexts(const SimulatedSwitch& sim)
{
    std::vector<std::vector<std::string>> out;
    for (const SimRequest& r : sim.sets()) {
        std::vector<std::string> vbs;
        for (const SimVarbind& v : r.varbinds)
            vbs.push_back(v.oid.substr(kArc.size()) + "=" + v.value);
        out.push_back(vbs);
    }
    return out;
}

} // namespace

// --- Index encodings (no switch needed) -------------------------------------------

// Each encoding the switch's tables are indexed by; a wrong length, a
// missing suffix or a character code taken as signed would address another
// row than the one the dialog shows.
TEST(SnmpAgentEncodingTest, IndexesAsTheSwitchExpectsThem)
{
    EXPECT_EQ(CUtils::StringToIndex(QStringLiteral("all")), ".3.97.108.108");
    EXPECT_EQ(CUtils::StringToIndex(QString(QChar(200))), ".2.195.136");   // UTF-8, as in the value
    EXPECT_EQ(CUtils::StringToIndex(QString()), ".0");
    EXPECT_EQ(CSNMPConfig::MakeModelIndex(QStringLiteral("u1"), QStringLiteral("V2c")), ".2.117.49.2");
    EXPECT_EQ(CSNMPConfig::MakeModelIndex(QStringLiteral("u1"), QStringLiteral("v3")), ".2.117.49.3");
    EXPECT_EQ(CSNMPConfig::MakeModelIndex(QStringLiteral("u1"), QStringLiteral("v4")), ".2.117.49");
    EXPECT_EQ(CSNMPConfig::GroupIndex(QStringLiteral("g"), QStringLiteral("v3"), QStringLiteral("AuthNoPriv")),
              ".1.103.3.2");
    EXPECT_EQ(CSNMPConfig::GroupIndex(QStringLiteral("g"), QStringLiteral("v1"), QStringLiteral("NoAuthNoPriv")),
              ".1.103.1.1");
    EXPECT_EQ(CSNMPConfig::ViewIndex(QStringLiteral("v"), QStringLiteral("1.3.6.1")), ".1.118.4.1.3.6.1");
    EXPECT_EQ(CSNMPConfig::HostIndex(QByteArray::fromHex("c0a80105")), ".4.192.168.1.5.1");
    EXPECT_EQ(CSNMPConfig::HostIndex(QByteArray::fromHex("20010db8000000000000000000000001")),
              ".16.32.1.13.184.0.0.0.0.0.0.0.0.0.0.0.1.2");
}

// The view index is parsed within its own bounds: a name length or subtree
// length running past the end, or a sub-identifier above 32 bits, is refused
// instead of reading beyond the index.
TEST(SnmpAgentEncodingTest, ViewIndexParsedWithinBounds)
{
    struct Case { const char* index; bool ok; const char* name; const char* subtree; };
    const Case cases[] = {
        {"1.118.4.1.3.6.1", true, "v", "1.3.6.1"},
        {"3.97.108.108.1.1", true, "all", "1"},
        {"9.118.4.1.3.6.1", false, "", ""},       // name longer than the index
        {"1.118.9.1.3.6.1", false, "", ""},       // subtree longer than the index
        {"1.118.2.1.3.6.1", false, "", ""},       // subtree shorter than the index
        {"1.118", false, "", ""},                 // no subtree
        {"1.300.1.1", false, "", ""},             // not an octet
        {"1.118.1.4294967296", false, "", ""},    // above 32 bits
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        QString name, subtree;
        EXPECT_EQ(CSNMPConfig::ParseViewIndex(QString::fromLatin1(c.index), name, subtree), c.ok) << c.index;
        if (c.ok) {
            EXPECT_EQ(name, QString::fromLatin1(c.name)) << c.index;
            EXPECT_EQ(subtree, QString::fromLatin1(c.subtree)) << c.index;
        }
    }
}

// Masks, engine IDs and names: the octets that travel and what is refused.
TEST(SnmpAgentEncodingTest, MasksEngineIdsAndNames)
{
    QByteArray octets;
    EXPECT_TRUE(CSNMPConfig::MaskToOctets(QStringLiteral("1.0.01.00"), octets));
    EXPECT_EQ(octets, QByteArray::fromHex("01000100"));
    EXPECT_FALSE(CSNMPConfig::MaskToOctets(QStringLiteral("1.2"), octets));
    EXPECT_FALSE(CSNMPConfig::MaskToOctets(QStringLiteral("1..1"), octets));
    // Shown within the value's own length, never past it.
    EXPECT_EQ(CSNMPConfig::OctetsToMask(QByteArray::fromHex("0101"), 4), "1.1");
    EXPECT_EQ(CSNMPConfig::OctetsToMask(QByteArray::fromHex("01010000"), 2), "1.1");

    EXPECT_TRUE(CSNMPConfig::EngineIdOctets(QStringLiteral("abc"), octets));
    EXPECT_EQ(octets, QByteArray::fromHex("0abc"));   // odd length: a leading 0
    EXPECT_TRUE(CSNMPConfig::EngineIdOctets(QStringLiteral("80000000001"), octets));
    EXPECT_EQ(octets.size(), 6);
    EXPECT_FALSE(CSNMPConfig::EngineIdOctets(QStringLiteral("80000000GG"), octets));
    EXPECT_EQ(CSNMPConfig::DefaultEngineId(QStringLiteral("PQS-4400-28")),
              CSNMPConfig::DefaultEngineId(QStringLiteral("PQS-4400-20")));
    // An unknown model has no default: nothing is sent.
    EXPECT_TRUE(CSNMPConfig::EngineIdValues({}, true, QStringLiteral("PQS-9999")).isEmpty());
    EXPECT_EQ(CSNMPConfig::EngineIdValues({}, true, QStringLiteral("PQS-4400-52")).size(), 1);

    for (const char* bad : {"a.b", "a/b", "x?", "a:b", "a%b"})
        EXPECT_FALSE(CSNMPConfig::CheckName(QString::fromLatin1(bad))) << bad;
    for (const char* good : {"a b", "a-b_c", "x+(y)=z"})
        EXPECT_TRUE(CSNMPConfig::CheckName(QString::fromLatin1(good))) << good;
}

// --- Against the simulated switch, under v1 and v3 --------------------------------

class SnmpConfigTest : public SharedSwitchDialogTest, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        if (std::string(GetParam()) == "v3")
            UseSimUser(SimulatedSwitch::Users()[1]);
        // Answers are never taken for lost on a loaded machine; the tests of
        // lost answers shorten it where they drop them.
        UseAnswerTimeout();
        config = std::make_unique<CSNMPConfig>();
        config->SetOwnerWnd(&owner);
    }
    // Lost answers ahead: a new module whose sessions give up soon (a
    // session takes its time-out when it opens).
    void ShortTimeout()
    {
        UseLostAnswerTimeout();
        config = std::make_unique<CSNMPConfig>();
        config->SetOwnerWnd(&owner);
    }
    void TearDown() override
    {
        config.reset();
        SharedSwitchDialogTest::TearDown();
    }

    void WaitEnds(int n)
    {
        ASSERT_TRUE(WaitFor([&] { return owner.Ends() >= n; }, 30000));
        // and no second report trails the first
        WaitFor([] { return false; }, 300);
        EXPECT_EQ(owner.Ends(), n);
    }

    MessageRecorder recorder;
    Recorder owner;
    std::unique_ptr<CSNMPConfig> config;
};

INSTANTIATE_TEST_SUITE_P(Versions, SnmpConfigTest, ::testing::Values("v1", "v3"));

// Every walk reports the switch's rows and ends with exactly one end report;
// the community walk's rows come first, then the users of the walk it
// chains, then the single end.
TEST_P(SnmpConfigTest, EveryWalkEndsWithOneReport)
{
    ASSERT_TRUE(config->GetUserTable());
    WaitEnds(1);
    ASSERT_EQ(owner.Count(MN_USER_ROW), 3);
    // In index order (the shorter name first), codes shown as texts.
    EXPECT_EQ(owner.reports[0].texts.join(','), "admin,admin,V3,MD5,DES_CBC,1");
    EXPECT_EQ(owner.reports[1].texts.join(','), "public,public,V1,None,None,1");

    for (auto start : {&CSNMPConfig::GetGroupTable, &CSNMPConfig::GetViewTable, &CSNMPConfig::GetHostTable}) {
        owner.reports.clear();
        ASSERT_TRUE((config.get()->*start)());
        WaitEnds(1);
        EXPECT_GE(owner.Count(MN_ROW), 1);
        EXPECT_EQ(owner.reports.back().outcome, WalkOutcome::Complete);
    }

    owner.reports.clear();
    ASSERT_TRUE(config->GetCommunityTable());
    WaitEnds(1);
    ASSERT_EQ(owner.reports.size(), 2u + 3u + 1u);
    EXPECT_EQ(owner.reports[0].code, MN_COMMUNITY_ROW);
    EXPECT_EQ(owner.reports[1].code, MN_COMMUNITY_ROW);
    EXPECT_EQ(owner.reports[2].code, MN_USER_ROW);
    EXPECT_EQ(owner.reports.back().code, MN_WALK_END);
}

// A walk whose answers stop mid-table (time-out) or that meets an error
// status still ends with exactly one end report, carrying the failure: the
// dialog's buttons come back and Close does not hang. In the community walk
// the failure is reported once, without starting the user walk.
TEST_P(SnmpConfigTest, FailedWalksEndOnceWithTheirFailure)
{
    ShortTimeout();
    struct Case { const char* fault; bool (CSNMPConfig::*start)(); int result; };
    const Case cases[] = {
        {"drop under 1.3.6.1.4.1.32473.10.126.4.1.25.2.1.1.3", &CSNMPConfig::GetUserTable, WalkOutcome::NoAnswer},
        {"drop under 1.3.6.1.4.1.32473.10.126.4.1.25.4.1.1.4", &CSNMPConfig::GetViewTable, WalkOutcome::NoAnswer},
        {"drop under 1.3.6.1.4.1.32473.10.126.4.1.25.6.2.1.4", &CSNMPConfig::GetHostTable, WalkOutcome::NoAnswer},
        {"drop under 1.3.6.1.4.1.32473.10.126.4.1.25.5.1.1.2", &CSNMPConfig::GetCommunityTable, WalkOutcome::NoAnswer},
        {"error 1.3.6.1.4.1.32473.10.126.4.1.25.3.1.1.5.6.112.117.98.108.105.99.1.1 genErr", &CSNMPConfig::GetGroupTable,
         WalkOutcome::ErrorStatus},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("clear"));
        ASSERT_TRUE(sim->command(c.fault)) << c.fault;
        owner.reports.clear();
        (config.get()->*c.start)();
        WaitEnds(1);
        EXPECT_EQ(owner.reports.back().outcome, c.result) << c.fault;
        // Rows of a failed walk are not offered as the switch's table.
        EXPECT_EQ(owner.reports.size(), 1u) << c.fault;
    }
}

// Creating one row of each table: createAndWait, the columns, active; the
// switch then lists the row as active. The V1 user carries its group only;
// the link-local host carries its interface name; the group request has no
// empty varbind.
TEST_P(SnmpConfigTest, CreatesRowsInThreeRequests)
{
    struct Case {
        const char* what;
        QString statusOid;
        QList<QList<SnmpSetValue>> requests;
        std::vector<std::vector<std::string>> expected;
    };
    const QString u = CSNMPConfig::MakeModelIndex("u1", "V1");
    const QString u3 = CSNMPConfig::MakeModelIndex("u3", "V3");
    const QString g = CSNMPConfig::GroupIndex("g", "v3", "AuthNoPriv");
    const QString v = CSNMPConfig::ViewIndex("v", "1.3.6.1");
    const QByteArray ll = QByteArray::fromHex("fe800000000000000000000000000001");
    const QString h = CSNMPConfig::HostIndex(ll);
    const Case cases[] = {
        {"community", CSNMPConfig::CommunityColumn(3) + CUtils::StringToIndex("ro"),
         {CSNMPConfig::AddCommunityValues("ro", "public")},
         {{".5.1.1.3.2.114.111=5"}, {".5.1.1.2.2.114.111=public"}, {".5.1.1.3.2.114.111=1"}}},
        {"V1 user", CSNMPConfig::UserColumn(8) + u,
         CSNMPConfig::AddUserRequests("u1", "V1", "grp", "MD5", "ignored", "DES", "ignored"),
         {{".2.1.1.8.2.117.49.1=5"}, {".2.1.1.3.2.117.49.1=grp"}, {".2.1.1.8.2.117.49.1=1"}}},
        {"V3 user", CSNMPConfig::UserColumn(8) + u3,
         CSNMPConfig::AddUserRequests("u3", "V3", "grp", "MD5", "authpass1", "DES", "privpass1"),
         {{".2.1.1.8.2.117.51.3=5"},
          {".2.1.1.3.2.117.51.3=grp"},
          {".2.1.1.4.2.117.51.3=2", ".2.1.1.6.2.117.51.3=2"},
          {".2.1.1.5.2.117.51.3=authpass1", ".2.1.1.7.2.117.51.3=privpass1"},
          {".2.1.1.8.2.117.51.3=1"}}},
        // Without "encrypted": authentication "None" travels as its code 1,
        // and the password request still carries the empty authentication
        // password (the switch takes it).
        {"V3 user without security", CSNMPConfig::UserColumn(8) + CSNMPConfig::MakeModelIndex("u4", "V3"),
         CSNMPConfig::AddUserRequests("u4", "V3", "grp", "None", "", "None", ""),
         {{".2.1.1.8.2.117.52.3=5"}, {".2.1.1.3.2.117.52.3=grp"}, {".2.1.1.4.2.117.52.3=1"},
          {".2.1.1.5.2.117.52.3="}, {".2.1.1.8.2.117.52.3=1"}}},
        {"group", CSNMPConfig::GroupColumn(7) + g, {CSNMPConfig::AddGroupValues("g", "v3", "AuthNoPriv", "all", "", "")},
         {{".3.1.1.7.1.103.3.2=5"}, {".3.1.1.4.1.103.3.2=all"}, {".3.1.1.7.1.103.3.2=1"}}},
        {"view", CSNMPConfig::ViewColumn(5) + v, {CSNMPConfig::AddViewValues("v", "1.3.6.1", "1.1.0", "Excluded")},
         {{".4.1.1.5.1.118.4.1.3.6.1=5"},
          {".4.1.1.3.1.118.4.1.3.6.1=010100", ".4.1.1.4.1.118.4.1.3.6.1=2"},
          {".4.1.1.5.1.118.4.1.3.6.1=1"}}},
        {"link-local host", CSNMPConfig::HostColumn(6) + h,
         {CSNMPConfig::AddHostValues(ll, "public", "2", "fe80::1", "eth0")},
         {{(".6.2.1.6" + h + "=5").toStdString()},
          {(".6.2.1.3" + h + "=public").toStdString(), (".6.2.1.4" + h + "=2").toStdString(),
           (".6.2.1.5" + h + "=eth0").toStdString()},
          {(".6.2.1.6" + h + "=1").toStdString()}}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim->command("clearlog"));
        CSetSequence sequence(config->m_cCommonSNMPSet);
        ASSERT_TRUE(config->AddCreateSteps(sequence, c.statusOid, c.requests, c.what));
        EXPECT_TRUE(RunSteps(sequence)) << c.what;
        EXPECT_EQ(SetTexts(*sim), c.expected) << c.what;
        const std::string status = sim->control("get " + c.statusOid.toStdString());
        EXPECT_EQ(status, "ok i 1") << c.what;
    }
    // A global-unicast host sends no interface name.
    EXPECT_EQ(CSNMPConfig::AddHostValues(QByteArray::fromHex("20010db8000000000000000000000001"), "p", "1",
                                         "2001:db8::1", "eth0")
                  .size(),
              2);
}

// A RowStatus text other than 1, 5 and 6 is refused with its message and
// nothing reaches the switch; creating an existing row is refused by the
// switch and the sequence stops there (no column write, no activation).
TEST_P(SnmpConfigTest, RowStatusRules)
{
    ASSERT_TRUE(sim->command("clearlog"));
    CSetSequence sequence(config->m_cCommonSNMPSet);
    recorder.expect(QStringLiteral("error istatus value!"));
    EXPECT_FALSE(config->AddRowStatusStep(sequence, CSNMPConfig::CommunityColumn(3) + ".2.114.111", "2", "x"));
    EXPECT_EQ(sequence.StepCount(), 0);
    EXPECT_TRUE(sim->sets().empty());

    ASSERT_TRUE(config->AddCreateSteps(sequence, CSNMPConfig::CommunityColumn(3) + CUtils::StringToIndex("public"),
                                       {CSNMPConfig::AddCommunityValues("public", "x")}, "community"));
    EXPECT_FALSE(RunSteps(sequence));
    const auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].errorName, std::string(GetParam()) == "v1" ? "badValue" : "inconsistentValue");

    // Delete uses the index create used: the row is gone afterwards.
    CSetSequence destroy(config->m_cCommonSNMPSet);
    ASSERT_TRUE(config->AddRowStatusStep(destroy, CSNMPConfig::CommunityColumn(3) + CUtils::StringToIndex("public"),
                                         "6", "delete"));
    EXPECT_TRUE(RunSteps(destroy));
    EXPECT_EQ(sim->control("get " + (CSNMPConfig::CommunityColumn(2) + CUtils::StringToIndex("public")).toStdString())
                  .rfind("error", 0),
              0u);
}

// Scalars: the global state and the engine ID (octets shown as lower-case
// hex, written from hex text); a dropped answer is reported as a failure.
TEST_P(SnmpConfigTest, GlobalStateAndEngineId)
{
    EXPECT_TRUE(config->GetGlobalState());
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0].code, SCALAR_GLOBAL_STATE);
    EXPECT_EQ(owner.reports[0].texts, QStringList({"ok", "1"}));

    CSetSequence sequence(config->m_cCommonSNMPSet);
    sequence.Add("engine ID", CSNMPConfig::EngineIdValues("800000000A", false, {}));
    EXPECT_TRUE(RunSteps(sequence));
    owner.reports.clear();
    EXPECT_TRUE(config->GetEngineID());
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0].texts, QStringList({"ok", "800000000a"}));

    ShortTimeout();
    ASSERT_TRUE(sim->command("drop 1"));
    owner.reports.clear();
    EXPECT_FALSE(config->GetGlobalState());
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0].texts[0], "failed");
}

// Trap switches: six objects on a model without PoE, in order; a dropped
// read reports nothing and returns false (the dialog then keeps Apply off).
TEST_P(SnmpConfigTest, TrapSettingsReadAndWrite)
{
    ASSERT_TRUE(sim->command("clearlog"));
    ASSERT_TRUE(sim->command("set " + kArc + ".8.3.0 i 2"));
    EXPECT_TRUE(config->GetTrapSettings(false));
    ASSERT_EQ(owner.Count(MN_ROW), 1);
    const auto requests = sim->requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].varbinds.size(), 6u);
    EXPECT_EQ(requests[0].varbinds[5].oid, kArc + ".8.9.0");

    SNMP_TRAP_ROW row;
    for (QString& f : row.field)
        f = "1";
    row.field[0] = "2";
    const auto values = CSNMPConfig::TrapValues(row, false);
    ASSERT_EQ(values.size(), 6);
    EXPECT_EQ(values[0].value, "2");
    EXPECT_EQ(CSNMPConfig::TrapValues(row, true).size(), 9);

    owner.reports.clear();
    ShortTimeout();
    ASSERT_TRUE(sim->command("drop 1"));
    QString why;
    EXPECT_FALSE(config->GetTrapSettings(false, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(owner.Count(MN_ROW), 0);
}
