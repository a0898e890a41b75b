// The information forms against the simulated switch: the syslog viewers
// and form, device and resource information, the private scalar forms and
// the XML-described device configuration form. Writes are checked in the
// switch's request log.

#include "CCLIControlDlg.h"
#include "CDHCPInfoDlg.h"
#include "CDeviceCfgDlg.h"
#include "CDeviceInfo.h"
#include "CHisSyslogInfoDlg.h"
#include "CListCtrlEx.h"
#include "CResourceInfo.h"
#include "CStatusLine.h"
#include "CSyslogAppInfoDlg.h"
#include "CSyslogCfgDlg.h"
#include "CSyslogInfoDlg.h"
#include "CTrunkInfoDlg.h"
#include "CVlanInfoDlg.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "SyslogTexts.h"
#include "WaitFor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::string Q = "1.3.6.1.4.1.32473.10.94.89.89.";
const QString kShippedFile = QStringLiteral(VELMARC_SOURCE_DIR "/resources/PQS6048_CFG.XML");

class InformationFormsTest : public SharedSwitchDialogTest
{
protected:
    static bool Open(CDirectSnmpDialog& d)
    {
        d.show();
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 20000);
    }
    static bool Idle(CDirectSnmpDialog& d) { return WaitFor([&] { return !d.IsBusy(); }, 20000); }

    static std::vector<SimRequest> Sets() { return sim->sets(); }
    // The objects a set carried: oid -> type and value.
    static std::vector<std::string> SetLines(const SimRequest& r)
    {
        std::vector<std::string> lines;
        for (const SimVarbind& v : r.varbinds)
            lines.push_back(v.oid.substr(v.oid.rfind(".89.89.") == std::string::npos ? 0 : Q.size()) + " " + v.type
                            + " " + v.value);
        return lines;
    }
    static int Reads(const std::string& oid)
    {
        int n = 0;
        for (const SimRequest& r : sim->requests())
            if (r.pdu != "set" && !r.varbinds.empty() && r.varbinds[0].oid == oid)
                ++n;
        return n;
    }
};

// Severity texts: "0" to "8" by name, anything else "Emergency".
TEST(SyslogTexts, SeverityNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Emergency"}, {"3", "Error"}, {"7", "Debug"}, {"8", "NotActive"}, {"9", "Emergency"},
        {"", "Emergency"},  {"07", "Emergency"}, {"-1", "Emergency"}, {"1", "Alert"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(SyslogTexts::SeverityToText(value), text) << value;
}

// The log and its cache: one row per entry, every column in its place, the
// severity by name; a value "9" reads "Emergency"; the count follows.
TEST_F(InformationFormsTest, LogViewersRowsAndSeverities)
{
    ASSERT_TRUE(sim->command("set " + Q + "82.2.8.1.4.3 i 9"));
    CSyslogInfoDlg log;
    ASSERT_TRUE(Open(log));
    EXPECT_EQ(log.windowTitle(), "Syslog Information");
    ASSERT_EQ(log.List()->GetItemCount(), 3);
    EXPECT_EQ(ListRow(log.List(), 0), QStringList({"1", "2026-12-11 08:00:01", "SYSTEM", "Info", "System started",
                                                   "text1-1", "text2-1", "text3-1", "text4-1"}));
    EXPECT_EQ(ListColumn(log.List(), 3), QStringList({"Info", "Warning", "Emergency"}));
    EXPECT_EQ(log.CountLabel()->text(), "3");
    EXPECT_TRUE(log.StatusLine()->text().isEmpty()) << log.StatusLine()->text().toStdString();

    CHisSyslogInfoDlg cache;
    ASSERT_TRUE(Open(cache));
    EXPECT_EQ(cache.windowTitle(), "Syslog Information in Cache");
    ASSERT_EQ(cache.List()->GetItemCount(), 2);
    EXPECT_EQ(ListColumn(cache.List(), 3), QStringList({"Notice", "Debug"}));
    EXPECT_EQ(ListColumn(cache.List(), 4), QStringList({"Login failed", "Port 3 link up"}));
    EXPECT_EQ(cache.List()->GetColumnCount(), 9);
}

// A row that lacks a column ends the walk without being added (its place
// in that column holds the next row's value): the rows before it stay. Refresh walks again from an empty list (no doubled rows).
TEST_F(InformationFormsTest, RowLackingAColumnEndsTheWalk)
{
    ASSERT_TRUE(sim->command("unset " + Q + "82.2.8.1.9.2"));
    CSyslogInfoDlg log;
    ASSERT_TRUE(Open(log));
    EXPECT_EQ(ListColumn(log.List(), 0), QStringList({"1"}));
    EXPECT_EQ(log.CountLabel()->text(), "1");
    ASSERT_TRUE(sim->command("reset"));
    log.RefreshButton()->click();
    log.RefreshButton()->click();
    ASSERT_TRUE(Idle(log));
    EXPECT_EQ(ListColumn(log.List(), 0), QStringList({"1", "2", "3"}));
}

// The applications: column 0 is each row's index (sparse: 1, 2, 5), the
// others the three columns, the severity by name.
TEST_F(InformationFormsTest, ApplicationViewerIndexColumn)
{
    CSyslogAppInfoDlg d;
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.List()->GetItemCount(), 3);
    EXPECT_EQ(ListColumn(d.List(), 0), QStringList({"1", "2", "5"}));
    EXPECT_EQ(ListRow(d.List(), 2), QStringList({"5", "SNMP Agent", "SNMP", "Debug"}));
    EXPECT_EQ(d.CountLabel()->text(), "3");
}

// The syslog form reads the switch's settings, and Apply writes all four in
// one set in their order: "Debug" as 7, "NotActive" as 8, the cleared box
// as 2.
TEST_F(InformationFormsTest, SyslogFormReadsAndWritesSeverities)
{
    CSyslogCfgDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "Syslog Configuration");
    EXPECT_TRUE(d.EnableBox()->isChecked());
    EXPECT_EQ(d.SeverityCombo(0)->currentText(), "Error");
    EXPECT_EQ(d.SeverityCombo(1)->currentText(), "Warning");
    EXPECT_EQ(d.SeverityCombo(2)->currentText(), "Info");
    ASSERT_TRUE(d.ApplyButton()->isEnabled());

    d.EnableBox()->setChecked(false);
    d.SeverityCombo(0)->setCurrentText(QStringLiteral("Debug"));
    d.SeverityCombo(2)->setCurrentText(QStringLiteral("NotActive"));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const auto sets = Sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(SetLines(sets[0]), std::vector<std::string>({"82.2.1.0 INTEGER 2", "82.2.2.0 INTEGER 7",
                                                           "82.2.3.0 INTEGER 4", "82.2.4.0 INTEGER 8"}));
    EXPECT_EQ(sets[0].errorStatus, 0);
    EXPECT_EQ(sim->value(Q + "82.2.2.0"), "i 7");
}

// A form whose read got no answer keeps Apply off: it would write "logging
// off" and "Emergency" over the switch's settings. An out-of-range value
// read selects "Emergency".
TEST_F(InformationFormsTest, SyslogFormAppliesOnlyAfterARead)
{
    ASSERT_TRUE(sim->command("drop 1"));
    {
        CSyslogCfgDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_FALSE(d.ApplyButton()->isEnabled());
        EXPECT_FALSE(d.StatusLine()->text().isEmpty());
        sim->clearLog();
        d.OnOK();
        ASSERT_TRUE(Idle(d));
        EXPECT_TRUE(Sets().empty());
    }
    ASSERT_TRUE(sim->command("set " + Q + "82.2.3.0 i 12"));
    CSyslogCfgDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.SeverityCombo(1)->currentText(), "Emergency");
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
}

// Version 3 configured: the syslog viewers and form send nothing, the lists
// stay empty, the form keeps its defaults and writes nothing.
TEST_F(InformationFormsTest, SyslogDialogsSendNothingUnderVersion3)
{
    UseSimUser(SimulatedSwitch::Users()[0]);
    sim->clearLog();
    CSyslogInfoDlg log;
    CHisSyslogInfoDlg cache;
    CSyslogAppInfoDlg apps;
    for (CDirectTableDialog* d : {static_cast<CDirectTableDialog*>(&log), static_cast<CDirectTableDialog*>(&cache),
                                  static_cast<CDirectTableDialog*>(&apps)}) {
        d->show();
        WaitFor([&] { return !d->StatusLine()->text().isEmpty(); }, 2000);
        EXPECT_EQ(d->List()->GetItemCount(), 0);
    }
    CSyslogCfgDlg form;
    form.show();
    WaitFor([&] { return !form.StatusLine()->text().isEmpty(); }, 2000);
    EXPECT_FALSE(form.EnableBox()->isChecked());
    EXPECT_EQ(form.SeverityCombo(0)->currentIndex(), 0);
    EXPECT_FALSE(form.ApplyButton()->isEnabled());
    form.OnOK();
    EXPECT_TRUE(sim->requests().empty());
}

// The power supplies and port facts, over v1 and v3: the state as
// received, the source by the version's own texts ("6" is "Other" or
// "other").
TEST_F(InformationFormsTest, DeviceInfoOverV1AndV3)
{
    ASSERT_TRUE(sim->command("set " + Q + "83.1.2.1.4.2 i 6"));
    for (const char* user : {"", "velsha"}) {
        UseSimulatedSwitch(*sim);
        for (const SimUser& u : SimulatedSwitch::Users())
            if (std::string(u.name) == user)
                UseSimUser(u);
        const bool v3 = *user != 0;
        CDeviceInfo d;
        ASSERT_TRUE(Open(d)) << user;
        EXPECT_EQ(d.windowTitle(), "Device Information");
        ASSERT_EQ(d.PowerList()->GetItemCount(), 2) << user;
        EXPECT_EQ(ListRow(d.PowerList(), 0), QStringList({"Main Power", "1", v3 ? "ac" : "AC"})) << user;
        EXPECT_EQ(ListRow(d.PowerList(), 1), QStringList({"Redundant Power", "3", v3 ? "other" : "Other"})) << user;
        const QStringList edits = {d.PortEdit(0)->text(), d.PortEdit(1)->text(), d.PortEdit(2)->text(),
                                   d.PortEdit(3)->text()};
        EXPECT_EQ(edits, QStringList({"80", "52", "0", "0"})) << user;
        EXPECT_TRUE(d.StatusLine()->text().isEmpty()) << d.StatusLine()->text().toStdString();
    }
}

TEST(DeviceInfoTexts, PowerSources)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"1", "Unknown", "unknown"}, {"2", "AC", "ac"}, {"3", "DC", "dc"},
        {"4", "External PowerSupply", "externalPowerSupply"}, {"5", "Internal Redundant", "internalRedundant"},
        {"6", "Other", "other"}, {"0", "Other", "other"}, {"", "Other", "other"}, {"22", "Other", "other"},
    };
    for (const auto& [value, v1, v3] : cases) {
        EXPECT_EQ(CDeviceInfo::SourceText(value, 1), v1) << value;
        EXPECT_EQ(CDeviceInfo::SourceText(value, 3), v3) << value;
    }
}

// The processor utilization: one row, read again every five seconds. A
// tick whose answer never comes ends that read at its time-out, so the next
// tick polls again; a tick while the read is pending sends nothing.
TEST_F(InformationFormsTest, ResourcePollingResumesAfterASilentTick)
{
    const std::string first = Q + "1.7.0";
    CResourceInfo d;
    ASSERT_TRUE(Open(d));
    EXPECT_TRUE(d.PollTimer()->isActive());
    EXPECT_EQ(d.PollTimer()->interval(), 5000);
    ASSERT_EQ(d.CpuList()->GetItemCount(), 1);
    EXPECT_EQ(ListRow(d.CpuList(), 0), QStringList({"12", "9", "7"}));
    EXPECT_TRUE(d.MibTreeList()->isHidden() || !d.MibTreeList()->isVisible());

    ASSERT_TRUE(sim->command("drop 1"));
    const int before = Reads(first);
    d.OnPollTimer();
    ASSERT_TRUE(WaitFor([&] { return Reads(first) == before + 1; }, 5000));
    d.OnPollTimer();   // still pending: nothing sent
    EXPECT_TRUE(d.CpuWalk().IsPending());
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(Reads(first), before + 1);
    EXPECT_EQ(d.CpuList()->GetItemCount(), 0);
    ASSERT_TRUE(sim->command("set " + first + " u 55"));
    d.OnPollTimer();
    ASSERT_TRUE(Idle(d));
    ASSERT_EQ(d.CpuList()->GetItemCount(), 1);
    EXPECT_EQ(d.CpuList()->GetItemText(0, 0), "55");

    d.FetchMibTree();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(ListColumn(d.MibTreeList(), 0), QStringList({"system", "interfaces"}));
    d.reject();
    EXPECT_FALSE(d.PollTimer()->isActive());
}

// The private forms' bindings: each binding in its control, with the
// form's value texts; an answer with fewer bindings than the form reads
// changes nothing.
TEST_F(InformationFormsTest, PrivateFormBindingsToControls)
{
    auto response = [](const QList<QByteArray>& values) {
        CDirectWalk::Response r;
        for (const QByteArray& v : values)
            r.append({QByteArray("1.1"), v, true, 1});
        return r;
    };
    // control texts: an edit's text, a check box "[x]" or "[ ]"
    auto texts = [](CPrivateScalarForm& f) {
        QStringList out;
        for (int i = 0; i < f.Bindings().size(); ++i)
            out << (f.CheckOf(i) ? QString::fromLatin1(f.CheckOf(i)->isChecked() ? "[x]" : "[ ]") : f.EditOf(i)->text());
        return out;
    };
    {
        CDHCPInfoDlg d;
        EXPECT_EQ(d.windowTitle(), "DHCP Information");
        EXPECT_EQ(d.ApplyButton(), nullptr);
        ASSERT_TRUE(d.FillControls(response({"3", "1", "2"})));
        EXPECT_EQ(texts(d), QStringList({"3", "Yes", "No"}));
        ASSERT_TRUE(d.FillControls(response({"3", "2", "7"})));
        EXPECT_EQ(texts(d), QStringList({"3", "No", "Yes"}));
    }
    {
        CTrunkInfoDlg d;
        EXPECT_EQ(d.ApplyButton(), nullptr);
        ASSERT_TRUE(d.FillControls(response({"1", "8", "4", "0"})));
        EXPECT_EQ(texts(d), QStringList({"1", "8", "4", "notSupported"}));
        ASSERT_TRUE(d.FillControls(response({"1", "8", "4", "1"})));
        EXPECT_EQ(texts(d)[3], "supportsTrunkOrLacp");
        ASSERT_TRUE(d.FillControls(response({"1", "8", "4", "x"})));
        EXPECT_EQ(texts(d)[3], "supportsTrunkOrLacp");
    }
    {
        CVlanInfoDlg d;
        EXPECT_EQ(d.windowTitle(), "VLAN Configuration");
        EXPECT_EQ(d.ApplyButton(), nullptr);
        ASSERT_TRUE(d.FillControls(response({"2", "256", "1", "1", "2", "2", "9", "3", "1"})));
        EXPECT_EQ(texts(d), QStringList({"2", "256", "[x]", "Yes", "No", "[ ]", "No", "3", "[x]"}));
        for (int i = 0; i < 9; ++i)
            EXPECT_FALSE(d.Control(i)->isEnabled()) << i;
    }
    {
        CCLIControlDlg d;
        EXPECT_EQ(d.windowTitle(), "CLI Configuration");
        ASSERT_NE(d.ApplyButton(), nullptr);
        const QList<QByteArray> nine = {"15", "1", "20", "10", "16", "2", "21", "1", "22"};
        ASSERT_TRUE(d.FillControls(response(nine)));
        EXPECT_EQ(texts(d), QStringList({"15", "[x]", "20", "10", "16", "[ ]", "21", "[x]", "22"}));
        // Eight bindings: nothing changes.
        EXPECT_FALSE(d.FillControls(response({"99", "2", "99", "99", "99", "1", "99", "2"})));
        EXPECT_EQ(texts(d), QStringList({"15", "[x]", "20", "10", "16", "[ ]", "21", "[x]", "22"}));
        const QList<bool> editable = {true, true, true, true, false, true, false, false, false};
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(d.Control(i)->isEnabled(), editable[i]) << i;
        EXPECT_EQ(d.EditOf(0)->maxLength(), 32);
        EXPECT_EQ(d.EditOf(3)->maxLength(), 60);
    }
}

// The four forms read the switch; the CLI form writes its six objects in
// order, numbers as Unsigned32, the cleared telnet-history box as "2".
TEST_F(InformationFormsTest, PrivateFormsReadAndCliWrites)
{
    {
        CDHCPInfoDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.EditOf(1)->text(), "Yes");
        EXPECT_EQ(d.EditOf(2)->text(), "No");
    }
    {
        CTrunkInfoDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.EditOf(3)->text(), "supportsTrunkOrLacp");
    }
    {
        CVlanInfoDlg d;
        ASSERT_TRUE(Open(d));
        EXPECT_EQ(d.EditOf(1)->text(), "256");
        EXPECT_TRUE(d.CheckOf(5)->isChecked());
    }
    CCLIControlDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.EditOf(0)->text(), "15");
    ASSERT_TRUE(d.CheckOf(5)->isChecked());
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    d.CheckOf(5)->setChecked(false);
    d.EditOf(3)->setText(QStringLiteral("30"));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    const auto sets = Sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(SetLines(sets[0]), std::vector<std::string>({"74.2.0 Gauge32 15", "74.3.0 INTEGER 1", "74.4.0 Gauge32 20",
                                                           "74.6.0 Gauge32 30", "74.7.0 Gauge32 15",
                                                           "74.8.0 INTEGER 2"}));
    EXPECT_EQ(sets[0].errorStatus, 0);
    EXPECT_EQ(d.StatusLine()->text(), "Written: 6 settings");

    // Not a number: nothing is sent, and the status line says so.
    d.EditOf(0)->setText(QStringLiteral("15s"));
    sim->clearLog();
    d.ApplyButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_TRUE(Sets().empty());
    EXPECT_FALSE(d.StatusLine()->text().isEmpty());
}

// A CLI answer lacking its ninth object changes no control and leaves Apply
// off (a write would send the empty edits).
TEST_F(InformationFormsTest, CliShortAnswerChangesNothing)
{
    ASSERT_TRUE(sim->command("unset " + Q + "74.11.0"));
    CCLIControlDlg d;
    ASSERT_TRUE(Open(d));
    EXPECT_TRUE(d.EditOf(0)->text().isEmpty());
    EXPECT_FALSE(d.CheckOf(1)->isChecked());
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    sim->clearLog();
    d.OnOK();
    ASSERT_TRUE(Idle(d));
    EXPECT_TRUE(Sets().empty());
}

class DeviceCfgTest : public InformationFormsTest
{
protected:
    QString WriteXml(const QString& devinfo, const QString& devcfg)
    {
        const QString path = m_dir.filePath(QStringLiteral("cfg.xml"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("<MIB><DEVINFO>%1</DEVINFO><DEVCFG>%2</DEVCFG></MIB>").arg(devinfo, devcfg).toUtf8());
        return path;
    }
    QTemporaryDir m_dir;
};

TEST(DeviceCfgTexts, Ticks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"360000", "1 Hour 0 Min"}, {"0", "0 Hour 0 Min"}, {"365999", "1 Hour 0 Min"},
        {"366000", "1 Hour 1 Min"}, {"8640000", "24 Hour 0 Min"}, {"abc", "abc"}, {"", ""},
    };
    for (const auto& [ticks, text] : cases)
        EXPECT_EQ(CDeviceCfgDlg::TicksText(QString::fromLatin1(ticks)), text) << ticks;
}

// The shipped description against the switch: labels, values by their
// names, the up time in hours and minutes; always over v1, also when the
// program runs with v3. Selecting a row offers the other values; Apply
// sets the chosen one (INTEGER) and the re-read shows it.
TEST_F(DeviceCfgTest, ReadsAndAppliesOverV1)
{
    UseSimUser(SimulatedSwitch::Users()[0]);
    MessageRecorder messages;
    CDeviceCfgDlg d(nullptr, kShippedFile);
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.windowTitle(), "Device Configure");
    ASSERT_EQ(d.InfoList()->GetItemCount(), 7);
    EXPECT_EQ(ListColumn(d.InfoList(), 0).first(), "System Description");
    EXPECT_EQ(d.InfoList()->GetItemText(4, 1), "PQS-4400-52");
    EXPECT_TRUE(d.InfoList()->GetItemText(2, 1).contains(QRegularExpression(QStringLiteral("^\\d+ Hour \\d+ Min$"))))
        << d.InfoList()->GetItemText(2, 1).toStdString();
    EXPECT_EQ(d.InfoList()->GetItemText(6, 1), "52");
    ASSERT_EQ(d.CfgList()->GetItemCount(), 2);
    EXPECT_EQ(ListRow(d.CfgList(), 0), QStringList({"Authentication Traps", "Disabled"}));
    EXPECT_EQ(ListRow(d.CfgList(), 1), QStringList({"IP Forwarding", "NotForwarding"}));
    for (const SimRequest& r : sim->requests())
        EXPECT_EQ(r.version, "1");
    EXPECT_FALSE(d.ApplyButton()->isEnabled());

    d.CfgList()->SelectItem(0);
    d.OnListClick();
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    ASSERT_EQ(d.ValueCombo()->count(), 1);
    EXPECT_EQ(d.ValueCombo()->currentText(), "Enabled");
    sim->clearLog();
    d.ApplyButton()->click();
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return d.CfgList()->GetItemText(0, 1) == QLatin1String("Enabled"); }, 30000));
    ASSERT_TRUE(Idle(d));
    const auto sets = Sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(SetLines(sets[0]), std::vector<std::string>({"1.3.6.1.2.1.11.30.0 INTEGER 1"}));
    EXPECT_EQ(sets[0].community, SimulatedSwitch::kWriteCommunity);
    EXPECT_EQ(sim->value("1.3.6.1.2.1.11.30.0"), "i 1");
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(d.ValueCombo()->count(), 0);
    EXPECT_EQ(d.StatusLine()->text(), "Written: 1 setting");

    // A click on no row: Apply off, no values.
    d.CfgList()->SelectItem(1);
    d.OnListClick();
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    d.CfgList()->ClearSelection();
    d.OnListClick();
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(d.ValueCombo()->count(), 0);
}

// Two quick Refreshes give each list its rows once.
TEST_F(DeviceCfgTest, QuickRefreshesDoNotDoubleRows)
{
    CDeviceCfgDlg d(nullptr, kShippedFile);
    ASSERT_TRUE(Open(d));
    d.RefreshButton()->click();
    d.RefreshButton()->click();
    ASSERT_TRUE(Idle(d));
    EXPECT_EQ(d.InfoList()->GetItemCount(), 7);
    EXPECT_EQ(d.CfgList()->GetItemCount(), 2);
}

// The edge cases of the description: a value that matches no VALUE child
// shows empty; an object whose one allowed value is the current one offers
// nothing, and Apply then sends no made-up number; an entry whose first
// child is not its NAME cannot be resolved by position, so Apply stays off
// (it would write the object selected before).
TEST_F(DeviceCfgTest, UnmatchedOnlyValueAndUnresolvedEntry)
{
    const QString cfg =
        QStringLiteral("<a><NAME>1.3.6.1.2.1.11.30</NAME><DESC>Auth</DESC><VALUE><Disabled>2</Disabled></VALUE></a>"
                       "<b><NAME>1.3.6.1.2.1.4.1</NAME><DESC>Fwd</DESC><VALUE><On>1</On></VALUE></b>"
                       "<c><DESC>Shuffled</DESC><NAME>1.3.6.1.2.1.1.7</NAME><VALUE><X>1</X><Y>2</Y></VALUE></c>");
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.1.7.0 i 72"));
    CDeviceCfgDlg d(nullptr, WriteXml(QStringLiteral("<s><NAME>1.3.6.1.2.1.1.5</NAME><DESC>Name</DESC></s>"), cfg));
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.CfgList()->GetItemCount(), 3);
    EXPECT_EQ(ListColumn(d.CfgList(), 1), QStringList({"Disabled", "", ""}));

    d.CfgList()->SelectItem(0);
    d.OnListClick();
    EXPECT_EQ(d.ValueCombo()->count(), 0);
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    sim->clearLog();
    d.ApplyButton()->click();
    EXPECT_FALSE(d.StatusLine()->text().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return !d.IsReReadDue(); }, 30000));
    ASSERT_TRUE(Idle(d));
    EXPECT_TRUE(Sets().empty());
    EXPECT_TRUE(d.StatusLine()->text().startsWith(QLatin1String("Nothing written"))) << d.StatusLine()->text().toStdString();

    d.CfgList()->SelectItem(2);
    d.OnListClick();
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    EXPECT_EQ(d.ValueCombo()->count(), 0);
}

// No description file: one message, no request reaches the switch. No
// address or community: nothing read and no message.
TEST_F(DeviceCfgTest, MissingFileAndMissingSettings)
{
    {
        MessageRecorder messages;
        messages.expect(QStringLiteral("No PQS6048_CFG.XML !"));
        sim->clearLog();
        CDeviceCfgDlg d(nullptr, m_dir.filePath(QStringLiteral("absent.xml")));
        d.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(Idle(d));
        EXPECT_EQ(d.InfoList()->GetItemCount(), 0);
        EXPECT_EQ(d.CfgList()->GetItemCount(), 0);
        EXPECT_TRUE(sim->requests().empty());
    }
    {
        MessageRecorder messages;
        g_strWriteCommunity.clear();
        sim->clearLog();
        CDeviceCfgDlg d(nullptr, kShippedFile);
        d.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(Idle(d));
        EXPECT_EQ(d.InfoList()->GetItemCount(), 0);
        EXPECT_TRUE(sim->requests().empty());
    }
}

// The file is found in the current directory first, then beside the
// program.
TEST_F(DeviceCfgTest, DescriptionFileLookup)
{
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const QString none = CDeviceCfgDlg::FindDescriptionFile();
    ASSERT_TRUE(QFile::copy(kShippedFile, m_dir.filePath(QStringLiteral("PQS6048_CFG.XML"))));
    const QString here = CDeviceCfgDlg::FindDescriptionFile();
    QDir::setCurrent(old);
    EXPECT_TRUE(none.isEmpty() || !none.startsWith(m_dir.path())) << none.toStdString();
    EXPECT_EQ(here, QDir(m_dir.path()).absoluteFilePath(QStringLiteral("PQS6048_CFG.XML")));
}

} // namespace
