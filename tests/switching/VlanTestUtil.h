#pragma once

// What the VLAN dialogs' tests share: one simulated switch per test
// program, waits with deadlines, the VLAN objects, and a way to act on the
// dialog that a button opens modally.

#include "C8021qVlanSet.h"
#include "GlobalSettings.h"
#include "SimSettings.h"
#include "SimulatedSwitch.h"
#include "SnmpSetup.h"
#include "TestApp.h"
#include "WaitFor.h"

#include <QApplication>
#include <QStringList>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Readable failures for Qt texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << "{ ";
    for (const QString& t : texts)
        *os << '"' << t.toStdString() << "\" ";
    *os << '}';
}
QT_END_NAMESPACE

namespace vlantest {

const std::string kPrivate = "1.3.6.1.4.1.32473.10.126.4.1";
const std::string kMode = kPrivate + ".7.5.0";
const std::string kPvid = kPrivate + ".7.7.1.1.";   // + port
const std::string kVoiceState = kPrivate + ".21.1.2.0";
const std::string kVoiceVid = kPrivate + ".21.1.3.0";
const std::string kSurveillanceState = kPrivate + ".26.1.1.0";
const std::string kSurveillanceVid = kPrivate + ".26.1.2.0";
const std::string kIpInterfaceVlan = kPrivate + ".41.1.1.1.2.";   // + interface
const std::string kTrunkMembers = kPrivate + ".8.1.3.1.2.";     // + link

// A cell of the VLAN table: 1 name, 2 egress, 3 forbidden, 4 untagged,
// 5 advertisement, 6 row status.
inline std::string Cell(int column, int vid)
{
    return kPrivate + ".7.6.1." + std::to_string(column) + "." + std::to_string(vid);
}

// Once a modal dialog other than `opener` is up, `act` gets it (and should
// close it); `seen` tells whether one came.
class WhenModal
{
public:
    WhenModal(QWidget* opener, std::function<void(QWidget*)> act)
        : m_opener(opener), m_act(std::move(act))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == m_opener || m_seen)
                return;
            m_seen = true;
            m_timer.stop();
            m_act(modal);
        });
        m_timer.start();
    }
    bool seen() const { return m_seen; }

private:
    QWidget* m_opener;
    std::function<void(QWidget*)> m_act;
    QTimer m_timer;
    bool m_seen = false;
};

// Sets of the request log as (oid, hex or value) pairs, one per varbind.
inline std::vector<std::pair<std::string, std::string>> SetVarbinds(const SimulatedSwitch& sim)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& set : sim.setVarbinds())
        out.insert(out.end(), set.begin(), set.end());
    return out;
}

// A fixture with one simulated switch per test suite, reset before
// every test; settings point at it, 52 ports.
class VlanDialogTest : public SharedSimulatedSwitchTest
{
protected:
    void SetUp() override
    {
        SharedSimulatedSwitchTest::SetUp();
        SnmpInit(EnsureTestApp());
        UseSimulatedSwitch(*sim);
        // Short enough for the tests that wait for no answer, long enough
        // for a loaded machine.
        g_strSnmpTimeout = QStringLiteral("1000");
        g_nDevicePortNum = 52;
    }
    void TearDown() override
    {
        // Nothing modal may outlive its test.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    bool Do(const std::string& command) { return sim->command(command); }
    // A fresh switch with VLANs from..to, then the control commands.
    void Prepare(int from, int to, const std::vector<std::string>& commands)
    {
        ASSERT_TRUE(Do("reset") && Do("vlan add " + std::to_string(from) + " " + std::to_string(to)));
        for (const std::string& command : commands)
            ASSERT_TRUE(Do(command)) << command;
    }
    // The VLANs as the list dialog reads them.
    static VlanList ReadVlans()
    {
        C8021qVlanSet list;
        list.show();
        EXPECT_TRUE(WaitFor([&] { return !list.Gate().Pending(); }));
        EXPECT_TRUE(list.Gate().AllSucceeded());
        VlanList vlans = list.Vlans();
        list.close();
        return vlans;
    }

};

} // namespace vlantest
