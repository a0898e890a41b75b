// The standard-MIB viewers against Debian's snmpd (a standard agent, not the
// simulated switch): each shows what snmpwalk shows of the same agent.

#include "CIPAddrTable.h"
#include "CIntfList.h"
#include "CListCtrlEx.h"
#include "CSnmpDevIden.h"
#include "CTcpPortInfo.h"
#include "CUdpPortInfo.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "ListTexts.h"
#include "MessageRecorder.h"
#include "MibTexts.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "SnmpdAgent.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Column = std::map<std::string, std::string>;   // index -> value

class SnmpdViewerTest : public SnmpdSuite
{
protected:
    void SetUp() override
    {
        SnmpdSuite::SetUp();
        SnmpInit(EnsureTestApp());
        ResetGlobalSettings();
        g_strDeviceIP = QStringLiteral("127.0.0.1");
        g_strSnmpPort = QString::number(Agent()->port());
        g_strReadCommunity = QString::fromLatin1(SnmpdAgent::kReadCommunity);
        g_strWriteCommunity = QString::fromLatin1(SnmpdAgent::kWriteCommunity);
        g_strSnmpTimeout = QStringLiteral("2000");
    }

    // One column as snmpwalk shows it: index -> value (quotes of strings
    // and the leading dot of OIDs dropped).
    static Column Walk(const std::string& column) { return Agent()->WalkColumn(column); }

    static bool Open(CConfigDialog& d)
    {
        d.show();
        return WaitFor([&] { return !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }, 20000);
    }

    static std::set<QStringList> Rows(const CListCtrlEx* list)
    {
        std::set<QStringList> rows;
        for (int r = 0; r < list->GetItemCount(); ++r)
            rows.insert(ListRow(list, r));
        return rows;
    }
};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A TCP listener of the test's own on 127.0.0.1, so the TCP table has a row
// that stays put: its port, or 0.
struct TcpListener
{
    int fd = -1;
    int port = 0;
    TcpListener()
    {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(a);
        if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0 && listen(fd, 1) == 0
            && getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port = ntohs(a.sin_port);
    }
    ~TcpListener()
    {
        if (fd >= 0)
            close(fd);
    }
};

// System group: the same texts as snmpwalk, the uptime in hours and minutes;
// a name and location written through the dialog are what snmpd then holds.
TEST_F(SnmpdViewerTest, SystemInformation)
{
    const Column system = Walk("1.3.6.1.2.1.1");
    MessageRecorder messages;
    CSnmpDevIden d;
    ASSERT_TRUE(Open(d));
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1302))->text(), Q(system.at("1.0")));
    EXPECT_EQ(qobject_cast<QLabel*>(GetDlgItem(&d, 1303))->text(), Q(system.at("2.0")));
    EXPECT_TRUE(QRegularExpression("^\\d+ Hour \\d+ Min$").match(qobject_cast<QLabel*>(GetDlgItem(&d, 1304))->text()).hasMatch());
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->text(), Q(system.at("5.0")));
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313))->text(), Q(system.at("6.0")));

    qobject_cast<QLineEdit*>(GetDlgItem(&d, 1310))->setText("lab agent");
    qobject_cast<QLineEdit*>(GetDlgItem(&d, 1313))->setText("rack 9");
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d.IsWriting() && !d.Gate().Pending() && d.RefreshButton()->isEnabled(); }));
    const Column after = Walk("1.3.6.1.2.1.1");
    EXPECT_EQ(after.at("5.0"), "lab agent");
    EXPECT_EQ(after.at("6.0"), "rack 9");
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

// Interfaces and addresses do not change while the test runs: the lists
// equal snmpwalk's rows, in its order, through the viewers' texts.
TEST_F(SnmpdViewerTest, InterfaceAndAddressTables)
{
    {
        const Column index = Walk("1.3.6.1.2.1.2.2.1.1");
        const Column status = Walk("1.3.6.1.2.1.2.2.1.8");
        const Column speed = Walk("1.3.6.1.2.1.2.2.1.5");
        ASSERT_FALSE(index.empty());
        CIntfList d;
        ASSERT_TRUE(Open(d));
        ASSERT_EQ(d.List()->GetItemCount(), int(index.size()));
        EXPECT_EQ(d.CountLabel()->text(), QString::number(index.size()));
        int row = 0;
        for (const auto& [i, value] : index) {
            EXPECT_EQ(ListRow(d.List(), row++), QStringList({Q(value), MibTexts::LinkStatus(Q(status.at(i))),
                                                         MibTexts::SpeedMbps(Q(speed.at(i)))}))
                << i;
        }
    }
    {
        const Column address = Walk("1.3.6.1.2.1.4.20.1.1");
        const Column mask = Walk("1.3.6.1.2.1.4.20.1.3");
        ASSERT_FALSE(address.empty());
        CIPAddrTable d;
        ASSERT_TRUE(Open(d));
        std::set<QStringList> expected;
        for (const auto& [i, value] : address)
            expected.insert({Q(value), Q(mask.at(i))});
        EXPECT_EQ(Rows(d.List()), expected);
    }
}

// TCP and UDP endpoints come and go (other programs run on this machine):
// every endpoint snmpwalk shows both before and after the viewer's read is
// in the viewer, with the same texts.
TEST_F(SnmpdViewerTest, TcpAndUdpTables)
{
    const auto tcpRows = [] {
        const Column local = Walk("1.3.6.1.2.1.6.13.1.3");
        const Column localIp = Walk("1.3.6.1.2.1.6.13.1.2");
        const Column remoteIp = Walk("1.3.6.1.2.1.6.13.1.4");
        const Column remote = Walk("1.3.6.1.2.1.6.13.1.5");
        const Column state = Walk("1.3.6.1.2.1.6.13.1.1");
        std::set<QStringList> rows;
        for (const auto& [i, port] : local)
            if (localIp.count(i) && remoteIp.count(i) && remote.count(i) && state.count(i))
                rows.insert({Q(port), Q(localIp.at(i)), Q(remoteIp.at(i)), Q(remote.at(i)),
                             MibTexts::TcpState(Q(state.at(i)))});
        return rows;
    };
    const auto udpRows = [] {
        const Column port = Walk("1.3.6.1.2.1.7.5.1.2");
        const Column ip = Walk("1.3.6.1.2.1.7.5.1.1");
        std::set<QStringList> rows;
        for (const auto& [i, p] : port)
            if (ip.count(i))
                rows.insert({Q(p), Q(ip.at(i))});
        return rows;
    };
    const auto stable = [](const std::set<QStringList>& a, const std::set<QStringList>& b) {
        std::set<QStringList> both;
        for (const QStringList& r : a)
            if (b.count(r))
                both.insert(r);
        return both;
    };

    TcpListener listener;
    ASSERT_GT(listener.port, 0);
    const std::set<QStringList> tcpBefore = tcpRows();
    CTcpPortInfo tcp;
    ASSERT_TRUE(Open(tcp));
    const std::set<QStringList> tcpShown = Rows(tcp.List());
    const std::set<QStringList> tcpStable = stable(tcpBefore, tcpRows());
    ASSERT_TRUE(tcpStable.count({QString::number(listener.port), "127.0.0.1", "0.0.0.0", "0", "listen"}));
    for (const QStringList& r : tcpStable)
        EXPECT_TRUE(tcpShown.count(r)) << r.join(' ').toStdString();

    const std::set<QStringList> udpBefore = udpRows();
    CUdpPortInfo udp;
    ASSERT_TRUE(Open(udp));
    const std::set<QStringList> udpShown = Rows(udp.List());
    const std::set<QStringList> udpStable = stable(udpBefore, udpRows());
    ASSERT_TRUE(udpStable.count({QString::number(Agent()->port()), "127.0.0.1"}));   // the agent's own port
    for (const QStringList& r : udpStable)
        EXPECT_TRUE(udpShown.count(r)) << r.join(' ').toStdString();
}

} // namespace
