// The XML-described device configuration form against Debian's snmpd (a
// standard agent): the shipped description reads there too, values show by
// their names, Apply sets snmpEnableAuthenTraps and the re-read shows it,
// and an object the agent lacks makes its v1 get fail as a whole.

#include "CDeviceCfgDlg.h"
#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kShippedFile = QStringLiteral(VELMARC_SOURCE_DIR "/resources/PQS6048_CFG.XML");

class DeviceCfgSnmpdTest : public SnmpdSuite
{
protected:
    void SetUp() override
    {
        SnmpdSuite::SetUp();
        SnmpInit(EnsureTestApp());
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral("127.0.0.1");
        g_strSnmpPort = QString::number(port());
        g_strReadCommunity = QString::fromLatin1(SnmpdAgent::kReadCommunity);
        g_strWriteCommunity = QString::fromLatin1(SnmpdAgent::kWriteCommunity);
        g_strSnmpTimeout = QStringLiteral("3000");
    }
    void TearDown() override { ResetGlobalSettings(); }

    static bool Open(CDeviceCfgDlg& d)
    {
        d.show();
        WaitFor([&] { return d.IsBusy(); }, 2000);
        return WaitFor([&] { return !d.IsBusy(); }, 20000);
    }
    static int RowOf(const CListCtrlEx* list, const QString& label)
    {
        return int(ListColumn(list, 0).indexOf(label));
    }
};

// Every described object reads from snmpd; the up time reads in hours and
// minutes, the authentication-trap switch by its value's name. Apply with
// the other value sets it, the re-read shows it; the switch is put back.
TEST_F(DeviceCfgSnmpdTest, ShippedFileReadsAndApplyToggles)
{
    MessageRecorder messages;
    CDeviceCfgDlg d(nullptr, kShippedFile);
    ASSERT_TRUE(Open(d));
    ASSERT_EQ(d.InfoList()->GetItemCount(), 7);
    const int uptime = RowOf(d.InfoList(), QStringLiteral("System Up Time"));
    ASSERT_GE(uptime, 0);
    EXPECT_TRUE(d.InfoList()->GetItemText(uptime, 1).contains(QRegularExpression(QStringLiteral("^\\d+ Hour \\d+ Min$"))))
        << d.InfoList()->GetItemText(uptime, 1).toStdString();
    EXPECT_FALSE(d.InfoList()->GetItemText(RowOf(d.InfoList(), QStringLiteral("System Description")), 1).isEmpty());

    const int traps = RowOf(d.CfgList(), QStringLiteral("Authentication Traps"));
    ASSERT_GE(traps, 0);
    const QString before = d.CfgList()->GetItemText(traps, 1);
    ASSERT_TRUE(before == QLatin1String("Enabled") || before == QLatin1String("Disabled")) << before.toStdString();
    const QString other = before == QLatin1String("Enabled") ? QStringLiteral("Disabled") : QStringLiteral("Enabled");

    for (const QString& want : {other, before}) {
        d.CfgList()->SelectItem(traps);
        d.OnListClick();
        ASSERT_TRUE(d.ApplyButton()->isEnabled());
        ASSERT_EQ(d.ValueCombo()->currentText(), want);
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !d.IsReReadDue() && !d.IsBusy(); }, 20000));
        EXPECT_EQ(d.CfgList()->GetItemText(traps, 1), want);
        // What the write did stays in view through the re-read.
        EXPECT_EQ(d.StatusLine()->text(), "Written: 1 setting");
    }
}

// A v1 get of an object snmpd does not serve is answered noSuchName for the
// whole request: the list stays empty and the status line says why.
TEST_F(DeviceCfgSnmpdTest, ObjectTheAgentLacksLeavesTheListEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<MIB><DEVINFO>"
            "<a><NAME>1.3.6.1.2.1.1.5</NAME><DESC>Name</DESC></a>"
            "<b><NAME>1.3.6.1.4.1.32473.99.1</NAME><DESC>Absent</DESC></b>"
            "</DEVINFO><DEVCFG>"
            "<c><NAME>1.3.6.1.2.1.11.30</NAME><DESC>Traps</DESC><VALUE><Enabled>1</Enabled><Disabled>2</Disabled></VALUE></c>"
            "</DEVCFG></MIB>");
    f.close();
    CDeviceCfgDlg d(nullptr, path);
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(d.InfoList()->GetItemCount(), 0);
    EXPECT_EQ(d.CfgList()->GetItemCount(), 1);
    EXPECT_TRUE(d.StatusLine()->text().contains(QLatin1String("Device Info"))) << d.StatusLine()->text().toStdString();
}

} // namespace
