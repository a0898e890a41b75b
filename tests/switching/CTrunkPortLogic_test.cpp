// The aggregated-link rules as a table over a state record, without a switch.

#include "CTrunkPortLogic.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kPorts = 12;

// A state in which any set of ports passes: nothing configured per port,
// every port auto-learning, the global features off.
TRUNK_RULE_STATE CleanState()
{
    TRUNK_RULE_STATE s;
    s.Reset(kPorts);
    s.m_strAutoLearnPorts = QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12");
    return s;
}

std::vector<int> Select(std::initializer_list<int> ports)
{
    std::vector<int> selected(kPorts, 0);
    for (int p : ports)
        selected[size_t(p - 1)] = 1;
    return selected;
}

template <class V> void Put(V& values, std::initializer_list<typename V::value_type> fromPort1)
{
    size_t i = 0;
    for (const auto& v : fromPort1)
        values[i++] = v;
}

struct RuleCase
{
    const char* why;
    std::function<void(TRUNK_RULE_STATE&)> setup;
    std::initializer_list<int> ports;
    const char* currentMembers;
    int rule;             // 0: passes
    const char* message;
};

const char* const kOtherLink = "Cannot add the port as it is a member of another aggregated link !";
const char* const kTypes = "Cannot add ports of different types to an aggregated link !";
const char* const kHalf = "Cannot add a port in half-duplex mode to an aggregated link.";
const char* const kSpeed = "Cannot add ports of different speed to an aggregated link.";
const char* const kDhcp = "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.";
const char* const kDot1x = "Cannot add the 802.1X-enabled port to an aggregated link.";
const char* const kChannel = "Setting the Channel Mode Fail.";
const char* const kVlan = "Cannot add ports with different VLAN configurations to an aggregated link !";
const char* const kLearn = "Cannot add a Auto-learn disabled port to an aggregated link.";
const char* const kPriority = "Cannot add ports with different 802.1p default priorities to an aggregated link.";
const char* const kPvid = "Cannot add ports with different PVIDs to an aggregated link.";
const char* const kSecurity = "Cannot add a port-security anabled port to an aggregated link.";
const char* const kLbd = "Cannot add a LBD-enabled port to an aggregated link.";
const char* const kMirrorSrc = "Cannot add ports of Port Mirror enable ports to an aggregated link.";
const char* const kMirrorDst = "Cannot add a mirror port to an aggregated link.";
const char* const kArp = "Cannot add ports of ARP Spoofing Prevent enable ports to an aggregated link.";
const char* const kRate = "Cannot add ports with different rate control configurations to an aggregated link.";
const char* const kRstp = "Cannot add a port with different RSTP port setting to an aggregated link. ";
const char* const kVoice = "Cannot add a port in Voice Vlan Auto mode to an aggregated link.";
const char* const kFdb = "Cannot add ports with different FDB-destination-hit configurations to an aggregated link.";
const char* const kAcl = "Cannot add an ACL enabled port to an aggregated link.";
const char* const kCamera = "Cannot add a port in  Auto Surveillance VLAN Auto mode to an aggregated link";
const char* const kCameraDyn = "Cannot add a port in Auto Surveillance Vlan Auto dynamic mode to an aggregated link";

using S = TRUNK_RULE_STATE;

const RuleCase kCases[] = {
    {"clean state passes", [](S&) {}, {1, 2}, "", 0, ""},
    // 1
    {"port 2 in another link", [](S& s) { Put(s.m_pInTrunk, {0, 1}); }, {1, 2}, "", 1, kOtherLink},
    {"ports already in the edited link pass", [](S& s) { Put(s.m_pInTrunk, {1, 1}); }, {1, 2}, "1,2", 0, ""},
    // 2
    {"types (0,1,1) pass: an unread 0 sets no reference", [](S& s) { Put(s.m_pPortType, {0, 1, 1}); }, {1, 2, 3}, "", 0, ""},
    {"types (1,0) fail", [](S& s) { Put(s.m_pPortType, {1, 0}); }, {1, 2}, "", 2, kTypes},
    // 3
    {"lowest non-zero speed half duplex (5)", [](S& s) { Put(s.m_pSpeed, {5, 5}); }, {1, 2}, "", 3, kHalf},
    {"reference 3 found after a 0", [](S& s) { Put(s.m_pSpeed, {0, 3, 3}); }, {1, 2, 3}, "", 3, kHalf},
    {"speeds (1,2) differ", [](S& s) { Put(s.m_pSpeed, {1, 2}); }, {1, 2}, "", 3, kSpeed},
    {"equal full-duplex speeds pass", [](S& s) { Put(s.m_pSpeed, {1, 1}); }, {1, 2}, "", 0, ""},
    // 4
    {"one port screened, one not", [](S& s) { Put(s.m_pDhcpScreening, {1, 0}); }, {1, 2}, "", 4, kDhcp},
    {"both screened pass", [](S& s) { Put(s.m_pDhcpScreening, {1, 1}); }, {1, 2}, "", 0, ""},
    // 5
    {"802.1X on, values (0,1)", [](S& s) { s.m_i8021xState = 1; Put(s.m_p8021xPort, {0, 1}); }, {1, 2}, "", 5, kChannel},
    {"802.1X on, values (2,1): the first decides", [](S& s) { s.m_i8021xState = 1; Put(s.m_p8021xPort, {2, 1}); }, {1, 2}, "", 5, kDot1x},
    {"802.1X off ignores the port values", [](S& s) { Put(s.m_p8021xPort, {2, 1}); }, {1, 2}, "", 0, ""},
    // 6
    {"egress VLAN on port 1 only", [](S& s) { s.m_strEgressLists = {"1,5"}; }, {1, 2}, "", 6, kVlan},
    {"untagged VLAN on port 2 only", [](S& s) { s.m_strUntaggedLists = {"2"}; }, {1, 2}, "", 6, kVlan},
    {"VLANs with neither or both pass", [](S& s) { s.m_strEgressLists = {"3,4", "1,2,3"}; }, {1, 2}, "", 0, ""},
    // 7
    {"empty auto-learning list refuses", [](S& s) { s.m_strAutoLearnPorts.clear(); }, {1, 2}, "", 7, kLearn},
    {"port 2 not learning", [](S& s) { s.m_strAutoLearnPorts = "1,3"; }, {1, 2}, "", 7, kLearn},
    // 8
    {"priorities (1,2)", [](S& s) { Put(s.m_pPriority, {1, 2}); }, {1, 2}, "", 8, kPriority},
    {"PVIDs (1,10)", [](S& s) { Put(s.m_pPvid, {1, 10}); }, {1, 2}, "", 8, kPvid},
    {"port security on port 2", [](S& s) { Put(s.m_pPortSecurity, {2, 1}); }, {1, 2}, "", 8, kSecurity},
    {"loopback detection on port 1", [](S& s) { Put(s.m_pLbd, {1, 2}); }, {1, 2}, "", 8, kLbd},
    {"equal attributes pass", [](S& s) { Put(s.m_pPriority, {3, 3}); Put(s.m_pPvid, {7, 7}); Put(s.m_pLbd, {2, 2}); }, {1, 2}, "", 0, ""},
    // 9
    {"receive source on port 1 only", [](S& s) { s.m_strMirrorRxPorts = "1"; }, {1, 2}, "", 9, kMirrorSrc},
    {"transmit source on port 2 only", [](S& s) { s.m_strMirrorTxPorts = "2,9"; }, {1, 2}, "", 9, kMirrorSrc},
    {"both ports receive sources pass", [](S& s) { s.m_strMirrorRxPorts = "1,2"; }, {1, 2}, "", 0, ""},
    // 10
    {"mirroring on with target 4 chosen", [](S& s) { s.m_nMirrorState = 1; s.m_nMirrorTarget = 4; }, {4, 5}, "", 10, kMirrorDst},
    {"mirroring off (2) with target 4 chosen", [](S& s) { s.m_nMirrorState = 2; s.m_nMirrorTarget = 4; }, {4, 5}, "", 0, ""},
    // 11
    {"ARP prevention on port 1 only", [](S& s) { s.m_strArpLists = {"1"}; }, {1, 2}, "", 11, kArp},
    {"every ARP row counts, not only the last", [](S& s) { s.m_strArpLists = {"2", "1,2"}; }, {1, 2}, "", 11, kArp},
    {"ARP prevention on both passes", [](S& s) { s.m_strArpLists = {"1,2"}; }, {1, 2}, "", 0, ""},
    // 12
    {"receive rates differ", [](S& s) { Put(s.m_pBandwidthRx, {0, 64}); }, {1, 2}, "", 12, kRate},
    {"transmit rates differ", [](S& s) { Put(s.m_pBandwidthTx, {64, 0}); }, {1, 2}, "", 12, kRate},
    // 13
    {"RSTP on, port settings differ", [](S& s) { s.m_iRstpEnable = 1; s.m_Rstp[1][6] = 1; }, {1, 2}, "", 13, kRstp},
    {"RSTP off, port settings differ", [](S& s) { s.m_Rstp[1][6] = 1; }, {1, 2}, "", 0, ""},
    {"RSTP on, equal settings pass", [](S& s) { s.m_iRstpEnable = 1; s.m_Rstp[0] = s.m_Rstp[1] = {128, 0, 2, 1, 1, 1, 2}; }, {1, 2}, "", 0, ""},
    // 14
    {"voice VLAN auto on port 2", [](S& s) { Put(s.m_pVoiceVlanMode, {2, 1}); }, {1, 2}, "", 14, kVoice},
    // 15
    {"static forwarding row on port 3", [](S& s) { s.m_pStaticFdbPort = {9, 3}; }, {3, 4}, "", 15, kFdb},
    {"static forwarding row elsewhere", [](S& s) { s.m_pStaticFdbPort = {9, 3}; }, {1, 2}, "", 0, ""},
    // 16
    {"ACL 1-4 refuses {4,5}", [](S& s) { s.m_strAclLists = {"1,2,3,4"}; }, {4, 5}, "", 16, kAcl},
    {"ACL 1-4 accepts {1,2}", [](S& s) { s.m_strAclLists = {"1,2,3,4"}; }, {1, 2}, "", 0, ""},
    {"ACL 1-4 accepts {5,6}", [](S& s) { s.m_strAclLists = {"1,2,3,4"}; }, {5, 6}, "", 0, ""},
    // 17
    {"surveillance on, port 2 auto", [](S& s) { s.m_iCameraVlanState = 1; Put(s.m_CameraVlanState, {2, 1}); }, {1, 2}, "", 17, kCamera},
    {"surveillance on, port 1 dynamic", [](S& s) { s.m_iCameraVlanState = 1; Put(s.m_pCameraVlanDynamic, {2, 1}); }, {1, 2}, "", 17, kCameraDyn},
    {"surveillance off ignores the port modes", [](S& s) { Put(s.m_CameraVlanState, {1, 1}); Put(s.m_pCameraVlanDynamic, {2, 2}); }, {1, 2}, "", 0, ""},
    // order
    {"first failure wins: types (2) before ACL (16)", [](S& s) { Put(s.m_pPortType, {1, 2}); s.m_strAclLists = {"1"}; }, {1, 2}, "", 2, kTypes},
    {"first failure wins: speed (3) before PVID (8)", [](S& s) { Put(s.m_pSpeed, {1, 2}); Put(s.m_pPvid, {1, 2}); }, {1, 2}, "", 3, kSpeed},
    {"first failure wins: VLAN (6) before mirror target (10)", [](S& s) { s.m_strEgressLists = {"1"}; s.m_nMirrorState = 1; s.m_nMirrorTarget = 2; }, {1, 2}, "", 6, kVlan},
};

} // namespace

// Each rule with one failing and (where the comparison has a trap) one
// passing case, with its exact message; the first failing rule wins.
TEST(TrunkRules, EachRuleWithItsMessageFirstFailureWins)
{
    for (const RuleCase& c : kCases) {
        SCOPED_TRACE(c.why);
        TRUNK_RULE_STATE s = CleanState();
        c.setup(s);
        const TRUNK_RULE_FAILURE f = CTrunkPortLogic::CheckRules(s, Select(c.ports), QString::fromLatin1(c.currentMembers));
        EXPECT_EQ(f.nRule, c.rule);
        EXPECT_EQ(f.strMessage.toStdString(), c.message);
    }
}

// Port numbers beyond the port count in a list text, and a selection array
// longer than the port count, are ignored rather than read past the state.
TEST(TrunkRules, PortsBeyondThePortCountAreIgnored)
{
    TRUNK_RULE_STATE s = CleanState();
    s.m_strAclLists = {"13,14,60"};
    s.m_strMirrorRxPorts = "60";
    std::vector<int> selected = Select({1, 2});
    selected.resize(64, 1);
    EXPECT_TRUE(CTrunkPortLogic::CheckRules(s, selected, "1,2,99").Passed());
}
