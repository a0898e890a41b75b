// The stand-alone dialogs and their base against the simulated switch: the
// walk's rows and end, Refresh and closing while a walk is pending, the v3
// security they build, the version-1 set, the engine, 802.1X and package
// views, the ARP printout and the setup form.

#include "C8021Diagnosis.h"
#include "C8021Status.h"
#include "CArpTable.h"
#include "CDirectSnmpDialog.h"
#include "CDirectWalk.h"
#include "CEngineInfo.h"
#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "CSwPackageInfoDlg.h"
#include "ControlId.h"
#include "DirectTexts.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SetupDlg.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

const std::string kStats = "1.0.8802.1.1.1.1.2.2.1.";
const std::string kPackages = "1.3.6.1.4.1.32473.10.94.89.89.67.1.1.";

class DirectDialogTest : public SharedSwitchDialogTest
{
protected:
    static bool Open(CDirectSnmpDialog& d)
    {
        d.show();
        // The first read is posted when the dialog is shown.
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 20000);
    }

    // get-next requests that start a walk of `column` (its bare OID as the
    // first binding): one per walk.
    static int WalkStarts(const std::string& column)
    {
        int n = 0;
        for (const SimRequest& r : sim->requests())
            if (r.pdu == "getnext" && !r.varbinds.empty() && r.varbinds[0].oid == column)
                ++n;
        return n;
    }

    static QString StatsRowCell(int port, int column)
    {
        if (column == 11)
            return QStringLiteral("00-1B-21-33-00-%1").arg(port, 2, 16, QLatin1Char('0')).toUpper();
        if (column == 10)
            return QStringLiteral("2");
        return QString::number(port * 1000 + column + 1);
    }
};

// One row per port, in port order, column n holding table column n+1: over
// v1 and over v3 (each security level), so neither read path can shift or
// drop a column. The MAC of the last frame's source reads as a MAC address.
TEST_F(DirectDialogTest, StatisticsRowsInColumnOrderOverV1AndV3)
{
    for (const char* user : {"", "velnone", "velsha", "velmd5des"}) {
        UseSimulatedSwitch(*sim);
        for (const SimUser& u : SimulatedSwitch::Users())
            if (std::string(u.name) == user)
                UseSimUser(u);
        MessageRecorder messages;
        C8021Status d;
        ASSERT_TRUE(Open(d)) << user;
        ASSERT_EQ(d.List()->GetItemCount(), 52) << user;
        for (int port : {1, 2, 10, 52}) {
            QStringList expected;
            for (int c = 0; c < 12; ++c)
                expected << StatsRowCell(port, c);
            EXPECT_EQ(ListRow(d.List(), port - 1), expected) << user << " port " << port;
        }
        EXPECT_TRUE(d.StatusLine()->text().isEmpty()) << d.StatusLine()->text().toStdString();
    }
}

// The diagnostics: 18 columns, every one in its place.
TEST_F(DirectDialogTest, DiagnosisRowsInColumnOrder)
{
    C8021Diagnosis d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    ASSERT_EQ(d.List()->GetColumnCount(), 18);
    QStringList expected;
    for (int c = 1; c <= 18; ++c)
        expected << QString::number(7000 + c);
    EXPECT_EQ(ListRow(d.List(), 6), expected);
}

// A table with no rows: the walk ends at once, the list stays empty, the
// count says 0, nothing is pending and no failure is shown. Then the two
// packages, in their column order.
TEST_F(DirectDialogTest, PackageWalkWithNoRowsAndWithTwo)
{
    for (int i : {1, 2})
        for (int c : {1, 2})
            ASSERT_TRUE(sim->command("unset " + kPackages + std::to_string(c) + "." + std::to_string(i)));
    {
        CSwPackageInfoDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.windowTitle(), "SwPackage Information");
        EXPECT_EQ(d.List()->GetItemCount(), 0);
        EXPECT_EQ(d.CountLabel()->text(), "0");
        EXPECT_EQ(d.Walk().m_nRequestId, 0);
        EXPECT_TRUE(d.StatusLine()->text().isEmpty());
    }
    ASSERT_TRUE(sim->command("reset"));
    CSwPackageInfoDlg d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.List(), 0), QStringList({"Runtime", "2.10.014"}));
    EXPECT_EQ(ListRow(d.List(), 1), QStringList({"Boot", "1.00.003"}));
    EXPECT_EQ(d.CountLabel()->text(), "2");
}

// The direct-settings form reads version 1 only: with version 3 set it
// sends nothing and says why.
TEST_F(DirectDialogTest, DirectFormReadsNothingUnderVersion3)
{
    UseSimUser(SimulatedSwitch::Users()[0]);
    CSwPackageInfoDlg d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !d.StatusLine()->text().isEmpty(); }));
    EXPECT_FALSE(d.IsBusy());
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_TRUE(sim->requests().empty());
}

// An engine ID of the full 32 octets shows all 64 hexadecimal digits, over
// v1 and v3; boots, time and message size as read.
TEST_F(DirectDialogTest, EngineIdOf32OctetsInFull)
{
    QString id;
    for (int b = 0x80; b < 0xA0; ++b)
        id += QStringLiteral("%1").arg(b, 2, 16).toUpper();
    for (bool v3 : {false, true}) {
        UseSimulatedSwitch(*sim);
        if (v3)
            UseSimUser(SimulatedSwitch::Users()[3]);
        CEngineInfo d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.Field(0)->text(), id) << v3;
        EXPECT_EQ(d.Field(1)->text(), "7");
        EXPECT_EQ(d.Field(2)->text(), "86400");
        EXPECT_EQ(d.Field(3)->text(), "1500");
        EXPECT_EQ(GetDlgItem(&d, 249), d.Field(0));
    }
}

// Refresh while the walk is pending starts no second walk and empties
// nothing: the pending walk ends with the whole table, each row once.
TEST_F(DirectDialogTest, RefreshDuringWalkStartsNoSecondWalkAndEndsWithFullTable)
{
    ASSERT_TRUE(sim->command("delay 20"));
    C8021Status d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return d.List()->GetItemCount() >= 3; }, 20000));
    ASSERT_TRUE(d.IsBusy());
    d.RefreshButton()->click();
    d.OnRefresh();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 20000));
    ASSERT_EQ(d.List()->GetItemCount(), 52);
    for (int port = 1; port <= 52; ++port)
        ASSERT_EQ(d.List()->GetItemText(port - 1, 0), StatsRowCell(port, 0)) << port;
    EXPECT_EQ(WalkStarts(kStats + "1"), 1);
    // Once the walk has ended, Refresh walks again from the start.
    d.OnRefresh();
    ASSERT_TRUE(WaitFor([&] { return !d.IsBusy(); }, 20000));
    EXPECT_EQ(d.List()->GetItemCount(), 52);
    EXPECT_EQ(WalkStarts(kStats + "1"), 2);
}

// A walk destroyed while its request is on the wire never calls back (run
// under AddressSanitizer this also proves nothing touches the freed walk).
TEST_F(DirectDialogTest, WalkDestroyedMidWalkNeverCallsBack)
{
    ASSERT_TRUE(sim->command("delay 300"));
    auto calls = std::make_shared<int>(0);
    auto walk = std::make_unique<CDirectWalk>();
    walk->SetHandlers([calls](const CDirectWalk::Response&) { ++*calls; return true; },
                      [calls](int) { ++*calls; });
    ASSERT_EQ(walk->Start(DirectSnmpSettings::Current(), {"1.0.8802.1.1.1.1.2.2.1.1"}, SNMP_PDU_GETNEXT,
                          CDirectWalk::SettingsCopy),
              CDirectWalk::Started);
    EXPECT_NE(walk->m_nRequestId, 0);
    walk.reset();
    // The answer arrives and is dropped.
    ASSERT_TRUE(WaitFor([&] {
        for (const SimRequest& r : sim->requests())
            if (r.answered)
                return true;
        return false;
    }));
    WaitFor([] { return false; }, 600);
    EXPECT_EQ(*calls, 0);
}

// Closing a dialog while its read is pending (Close, Escape, the close box,
// or destroying it) cancels the read: no callback, no box.
TEST_F(DirectDialogTest, ClosingWhileReadingCancelsTheRead)
{
    ASSERT_TRUE(sim->command("delay 300"));
    MessageRecorder messages;
    for (int way = 0; way < 4; ++way) {
        auto d = std::make_unique<C8021Diagnosis>();
        d->show();
        ASSERT_TRUE(WaitFor([&] { return d->IsBusy(); }));
        if (way == 0)
            d->CloseButton()->click();
        else if (way == 1)
        {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(d.get(), &escape);
        }
        else if (way == 2)
            d->close();
        if (way < 3) {
            EXPECT_FALSE(d->isVisible()) << way;
            EXPECT_FALSE(d->IsBusy()) << way;
        }
        d.reset();
    }
    WaitFor([] { return false; }, 700);
    EXPECT_TRUE(messages.texts().isEmpty());
}

// The security of a v3 request, as a table: level, protocols -> the flags
// it ends with and which keys it sets. The last case is the edge: level 3
// with an unknown authentication protocol and no DES ends at flags 1.
struct V3Recorder
{
    int maxSize = 0, model = 0, flags = -1, authArith = -1, privArith = -1;
    QByteArray user, authPwd, privPwd;
    void setMsgMaxSize(int s) { maxSize = s; }
    void setMsgSecurityModel(int m) { model = m; }
    void setUserName(const char* u) { user = u; }
    void setMsgFlags(char f) { flags = f; }
    void setAuthArith(int a) { authArith = a; }
    void setAuthPwd(const unsigned char* p, int n) { authPwd = QByteArray(reinterpret_cast<const char*>(p), n); }
    void setPriArith(int a) { privArith = a; }
    void setPriPwd(const unsigned char* p, int n) { privPwd = QByteArray(reinterpret_cast<const char*>(p), n); }
};

TEST(DirectV3Security, FlagsAndKeysAsATable)
{
    struct Case { const char* level; const char* auth; const char* priv; int flags; int authArith; int privArith; };
    const Case cases[] = {
        {"1", "2", "2", 0, -1, -1},   // no authentication: nothing else set
        {"0", "2", "2", 0, -1, -1},   // an unknown level is none
        {"2", "2", "1", 1, 0, -1},    // MD5
        {"2", "3", "1", 1, 1, -1},    // SHA
        {"2", "1", "2", 0, -1, -1},   // unknown protocol: no security at all
        {"3", "2", "2", 3, 0, 0},     // MD5 + DES
        {"3", "3", "2", 3, 1, 0},     // SHA + DES
        {"3", "3", "1", 1, 1, -1},    // no DES: authentication only
        {"3", "1", "2", 0, -1, 0},    // privacy sets its key but the flags stay 0
        {"3", "1", "1", 1, -1, -1},   // the edge: flags 1 without an authentication key
    };
    for (const Case& c : cases) {
        DirectSnmpSettings s;
        s.m_strSecurityLevel = c.level;
        s.m_strAuthProtocol = c.auth;
        s.m_strPrivProtocol = c.priv;
        s.m_pszUserName = "someone";
        s.m_pszAuthPassword = "authsecret";
        s.m_pszPrivPassword = "privsecret";
        V3Recorder r;
        ApplyV3Security(r, s);
        const std::string what = std::string(c.level) + "/" + c.auth + "/" + c.priv;
        EXPECT_EQ(r.flags, c.flags) << what;
        EXPECT_EQ(r.authArith, c.authArith) << what;
        EXPECT_EQ(r.privArith, c.privArith) << what;
        EXPECT_EQ(r.authPwd, c.authArith >= 0 ? QByteArray("authsecret") : QByteArray()) << what;
        EXPECT_EQ(r.privPwd, c.privArith >= 0 ? QByteArray("privsecret") : QByteArray()) << what;
        EXPECT_EQ(r.maxSize, 1024);
        EXPECT_EQ(r.model, 3);
        EXPECT_EQ(r.user, "someone");
    }
}

// The edge case above on the wire: the request asks for authentication
// without a key; the SNMP layer refuses it before sending, the status line
// says so, nothing reaches the switch, nothing crashes.
TEST_F(DirectDialogTest, AuthenticationWithoutKeyFailsCleanly)
{
    UseSimUser(SimulatedSwitch::Users()[3]);
    g_strV3AuthProtocol = QStringLiteral("1");
    g_strV3PrivProtocol = QStringLiteral("1");
    C8021Status d;
    d.show();
    ASSERT_TRUE(WaitFor([&] { return !d.StatusLine()->text().isEmpty(); }));
    EXPECT_TRUE(d.StatusLine()->text().contains(QString::fromUtf8(SnmpResultText(SNMP_BAD_PASSPHRASE))))
        << d.StatusLine()->text().toStdString();
    EXPECT_FALSE(d.IsBusy());
    EXPECT_EQ(d.List()->GetItemCount(), 0);
    EXPECT_TRUE(sim->requests().empty());
}

// A dialog of the template that writes.
class WritingDialog : public CDirectSnmpDialog
{
public:
    WritingDialog() : CDirectSnmpDialog(Form::DirectSettings, QStringLiteral("Writer")) { AddButtonRow(3); }
    void OnRefresh() override {}
};

const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kIfAdmin1 = "1.3.6.1.2.1.2.2.1.7.1";

// The version-1 set: with version 3 configured nothing is sent; integers
// that are not plain decimal are refused before anything is sent; a good
// set is sent once, in order, with the write community; a refused one
// reports its error status and index.
TEST_F(DirectDialogTest, VersionOneSet)
{
    WritingDialog d;
    int result = 99, status = -1, index = -1;
    const auto done = [&](int r, int s, int i) { result = r; status = s; index = i; };

    g_strSnmpVersion = QStringLiteral("3");
    EXPECT_EQ(d.WriteScalars({{kSysName, SNMP_TYPE_OCTETS, "core"}}, done), CDirectWalk::VersionNotServed);
    g_strSnmpVersion = QStringLiteral("1");
    for (const char* bad : {"0x1E", " 7", "7 ", "+7", "15abc", "", "1.5"})
        EXPECT_EQ(d.WriteScalars({{kSysName, SNMP_TYPE_OCTETS, "core"}, {kIfAdmin1, SNMP_TYPE_INTEGER, bad}}, done),
                  SNMP_BAD_REQUEST)
            << bad;
    EXPECT_FALSE(d.StatusLine()->text().isEmpty());
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(sim->sets().empty());
    EXPECT_EQ(result, 99);

    ASSERT_EQ(d.WriteScalars({{kSysName, SNMP_TYPE_OCTETS, "core"}, {kIfAdmin1, SNMP_TYPE_INTEGER, "2"}}, done), 0);
    ASSERT_TRUE(WaitFor([&] { return result != 99; }));
    EXPECT_EQ(result, 0);
    auto sets = sim->sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].community, SimulatedSwitch::kWriteCommunity);
    ASSERT_EQ(sets[0].varbinds.size(), 2u);
    EXPECT_EQ(sets[0].varbinds[0].oid, kSysName);
    EXPECT_EQ(sets[0].varbinds[0].value, "core");
    EXPECT_EQ(sets[0].varbinds[1].oid, kIfAdmin1);
    EXPECT_EQ(sets[0].varbinds[1].value, "2");

    result = 99;
    ASSERT_EQ(d.WriteScalars({{kSysName, SNMP_TYPE_OCTETS, "edge"}, {kIfAdmin1, SNMP_TYPE_INTEGER, "9"}}, done), 0);
    ASSERT_TRUE(WaitFor([&] { return result != 99; }));
    EXPECT_EQ(result, SNMP_ERROR_STATUS);
    EXPECT_EQ(status, 3);   // badValue
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(d.StatusLine()->text().startsWith("Refused")) << d.StatusLine()->text().toStdString();
    EXPECT_EQ(sim->value(kSysName), "x 636f7265");   // "core": the refused set changed nothing
}

// Printing: 35 entries make one page, 36 two (the second with one row);
// an empty list prints nothing.
TEST(DirectArpPrint, PagesOf35Entries)
{
    EnsureTestApp();
    QTemporaryDir dir;
    for (int entries : {0, 1, 35, 36, 71}) {
        CArpTable d;
        for (int i = 0; i < entries; ++i)
            d.List()->AppendRow({"1", QStringLiteral("10.0.0.%1").arg(i + 1), "00:1B:21:00:00:01", "Dynamic"});
        const QString path = dir.filePath(QStringLiteral("arp%1.pdf").arg(entries));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        const int pages = d.PrintTo(printer);
        const int expected = (entries + 34) / 35;
        EXPECT_EQ(pages, expected) << entries;
        if (entries == 0) {
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        QFile pdf(path);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(pdf.readAll());
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), expected) << entries;
        EXPECT_EQ(d.windowTitle(), " ARP Information");
    }
}

// The setup form: it shows the settings as they are; Apply stores a blank
// address as 0.0.0.0 and an empty time-out as it is; Close after Apply
// keeps what was applied and the flag stays set; OK stores and ends.
TEST(DirectSetupDlg, EdgeCases)
{
    EnsureTestApp();
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("10.90.90.90");
    g_strSnmpTimeout = QStringLiteral("3000");
    {
        SetupDlg d;
        d.show();
        EXPECT_EQ(d.TimeoutEdit()->text(), "3000");
        EXPECT_EQ(SetupDlg::AddressText(d.AddressEdit()->text()), "10.90.90.90");
        EXPECT_EQ(d.m_bSaved, 0);
        d.AddressEdit()->clear();
        d.TimeoutEdit()->clear();
        qobject_cast<QPushButton*>(GetDlgItem(&d, 3))->click();
        EXPECT_EQ(g_strDeviceIP, "0.0.0.0");
        EXPECT_EQ(g_strSnmpTimeout, "");
        EXPECT_EQ(SettingToInt(g_strSnmpTimeout), 0);
        EXPECT_EQ(d.m_bSaved, 1);
        EXPECT_TRUE(d.isVisible());
        qobject_cast<QPushButton*>(GetDlgItem(&d, 2))->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(g_strDeviceIP, "0.0.0.0");
        EXPECT_EQ(d.m_bSaved, 1);
    }
    {
        SetupDlg d;
        d.show();
        EXPECT_EQ(d.TimeoutEdit()->text(), "0");
        d.AddressEdit()->setText(QStringLiteral("192.168.1.2"));
        d.TimeoutEdit()->setText(QStringLiteral("1500"));
        qobject_cast<QPushButton*>(GetDlgItem(&d, 1))->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(g_strDeviceIP, "192.168.1.2");
        EXPECT_EQ(g_strSnmpTimeout, "1500");
        EXPECT_EQ(d.m_bSaved, 1);
    }
    {
        // Close without writing leaves the settings alone.
        SetupDlg d;
        d.show();
        d.TimeoutEdit()->setText(QStringLiteral("9"));
        qobject_cast<QPushButton*>(GetDlgItem(&d, 2))->click();
        EXPECT_EQ(g_strSnmpTimeout, "1500");
        EXPECT_EQ(d.m_bSaved, 0);
    }
    // Parts of an address field: empty parts 0, each part at most 255.
    EXPECT_EQ(SetupDlg::AddressText(QStringLiteral("...")), "0.0.0.0");
    EXPECT_EQ(SetupDlg::AddressText(QStringLiteral("10..3.")), "10.0.3.0");
    EXPECT_EQ(SetupDlg::AddressText(QStringLiteral("300.1.1.1")), "255.1.1.1");
    ResetGlobalSettings();
}

} // namespace
