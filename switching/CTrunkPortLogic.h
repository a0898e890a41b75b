#pragma once

// What decides whether a set of ports may form one aggregated link: a port
// may not belong to another link, and every feature the switch configures
// per port must treat all chosen ports alike or be off on all of them.
//
// The logic reads one per-port column (or one port list) of some twenty
// features into a TRUNK_RULE_STATE, each read registered with the dialog's
// read gate, so the rules run only on complete data. CheckRules is a pure
// function of that state and the chosen ports; SetTrunk fills the one set
// request that writes a link's members and channel mode.

#include "CCommonSNMP.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class CReadGate;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;

// Everything the rules compare, as read from the switch. Per-port vectors
// have one entry per port (index = port - 1); member texts are "1,3,5".
struct TRUNK_RULE_STATE
{
    int m_nPortNum = 0;
    std::vector<int> m_pInTrunk;           // 1: member of some aggregated link
    std::vector<int> m_pPvid;
    std::vector<int> m_pSpeed;             // 1 1000M full ... 3, 5 half duplex, 6 auto, 7 disabled
    std::vector<int> m_pPriority;          // 802.1p default priority
    std::vector<int> m_pPortSecurity;      // 1 on
    std::vector<int> m_pPortType;          // medium code
    std::vector<int> m_pLbd;               // loopback detection, 1 on
    std::vector<int> m_pBandwidthRx;
    std::vector<int> m_pBandwidthTx;
    std::vector<int> m_p8021xPort;
    std::vector<int> m_pVoiceVlanMode;     // 1 auto
    std::vector<int> m_pDhcpScreening;     // 1: in the screening port map
    std::vector<int> m_CameraVlanState;    // 1 auto
    std::vector<int> m_pCameraVlanDynamic; // 2 dynamic
    std::vector<std::array<int, 7>> m_Rstp; // the seven spanning-tree port settings
    std::vector<int> m_pStaticFdbPort;     // the port of every static forwarding row

    int m_i8021xState = 2;                 // 1 on, 2 off
    int m_iRstpEnable = 2;
    int m_iCameraVlanState = 2;
    int m_nMirrorState = 0;                // 1 on
    int m_nMirrorTarget = 0;

    QStringList m_strEgressLists;          // per VLAN with at least one egress port
    QStringList m_strUntaggedLists;        // per VLAN with at least one untagged port
    QStringList m_strAclLists;             // per ACL row with at least one port
    QStringList m_strArpLists;             // per ARP spoofing prevention row with a port
    QString m_strMirrorTxPorts;
    QString m_strMirrorRxPorts;
    QString m_strAutoLearnPorts;

    // Clears every value and sizes the per-port vectors for nPorts.
    void Reset(int nPorts);
};

struct TRUNK_RULE_FAILURE
{
    int nRule = 0;         // 1-17; 0 when every rule passed
    QString strMessage;    // the failing rule's message
    bool Passed() const { return nRule == 0; }
};

class CTrunkPortLogic
{
public:
    CTrunkPortLogic();
    ~CTrunkPortLogic();

    CTrunkPortLogic(const CTrunkPortLogic&) = delete;
    CTrunkPortLogic& operator=(const CTrunkPortLogic&) = delete;

    // Takes the port count and starts every read (ReadAll). Returns 1.
    int Init(CReadGate& gate);
    // Clears the state and starts every read, each a ticket of `gate`.
    void ReadAll(CReadGate& gate);

    // The rules in their fixed order over the chosen ports (selected[p-1]
    // non-zero); the first failure wins. curMembers: the edited link's
    // member text as listed before the edit (its ports pass rule 1).
    static TRUNK_RULE_FAILURE CheckRules(const TRUNK_RULE_STATE& state, const std::vector<int>& selected,
                                         const QString& curMembers);
    // The same over what was read.
    TRUNK_RULE_FAILURE CheckRules(const std::vector<int>& selected, const QString& curMembers) const
    {
        return CheckRules(m_state, selected, curMembers);
    }

    // Adds to `sequence` the one set of link `trunkId`'s member map (hex
    // port map text, sent as octets) and channel mode ("1" LACP, "2"
    // static), on m_cCommonSNMPSet. 0 with "Parameter Error !" in *message
    // when the map holds no octet, else 1.
    int SetTrunk(CSetSequence& sequence, const QString& strMode, const QString& strHexMap,
                 const QString& strTrunkId, QString* message = nullptr) const;

    // Every session with its member name, for the dialog to close.
    std::vector<std::pair<CCommonSNMP*, const char*>> Sessions();
    // Stops every read without a report (the sessions close next).
    void CloseAll();

    const TRUNK_RULE_STATE& State() const { return m_state; }

    CCommonSNMP m_cCommonSNMP;                  // 802.1X, spanning tree, surveillance states
    CCommonSNMP m_cCommonSNMPSet;               // SetTrunk
    CCommonSNMP m_cCommonSNMPMirror;            // mirror source maps and auto-learning ports
    CCommonSNMP m_cCommonSNMPTableACL;
    CCommonSNMP m_cCommonSNMPPoint;             // mirror state and target
    CCommonSNMP m_cCommonSNMPTableVlan;
    CCommonSNMP m_cCommonSNMPTableTrunk;
    CCommonSNMP m_cCommonSNMPTableStaticPor;
    CCommonSNMP m_cCommonSNMPTableGetVlanTrunk; // the eight-column port walk
    CCommonSNMP m_cCommonSNMPTableArp;
    CCommonSNMP m_cCommonSNMPTableCamera;
    CCommonSNMP m_cCommonSNMPTableRstp;
    CCommonSNMP m_cCommonSNMPDhcp;

private:
    void GetPortTables(CReadGate& gate);
    void GetTrunkTable(CReadGate& gate);
    void GetVlanPorts(CReadGate& gate);
    void GetAclPortLists(CReadGate& gate);
    void GetMirrorPorts(CReadGate& gate);
    void GetArpSpoofingPorts(CReadGate& gate);
    void GetSurveillancePorts(CReadGate& gate);
    void GetRstpPorts(CReadGate& gate);
    void GetMirror(CReadGate& gate);
    void GetStaticFdbPorts(CReadGate& gate);
    void Get8021EnableState(CReadGate& gate);
    void GetDhcpScreening(CReadGate& gate);

    // Walks `columns` on a walk of its own; at a complete end `take` reads
    // the rows, then the ticket settles.
    void Walk(CSnmpRowWalk& walk, CReadGate& gate, const QString& what, const QStringList& columns,
              void (CTrunkPortLogic::*take)(const CSnmpRowWalk&));
    void Read(CSnmpScalarRead& read, CReadGate& gate, const QString& what, const QStringList& oids,
              void (CTrunkPortLogic::*take)(const CSnmpScalarRead&));

    void TakePortTables(const CSnmpRowWalk& walk);
    void TakeTrunkTable(const CSnmpRowWalk& walk);
    void TakeVlanPorts(const CSnmpRowWalk& walk);
    void TakeAclPortLists(const CSnmpRowWalk& walk);
    void TakeArpSpoofingPorts(const CSnmpRowWalk& walk);
    void TakeSurveillancePorts(const CSnmpRowWalk& walk);
    void TakeRstpPorts(const CSnmpRowWalk& walk);
    void TakeStaticFdbPorts(const CSnmpRowWalk& walk);
    void TakeMirrorPorts(const CSnmpScalarRead& read);
    void TakeMirror(const CSnmpScalarRead& read);
    void Take8021EnableState(const CSnmpScalarRead& read);
    void TakeDhcpScreening(const CSnmpScalarRead& read);

    TRUNK_RULE_STATE m_state;
    std::unique_ptr<CSnmpRowWalk> m_walkPorts, m_walkTrunk, m_walkVlan, m_walkAcl, m_walkArp, m_walkCamera,
        m_walkRstp, m_walkStaticFdb;
    std::unique_ptr<CSnmpScalarRead> m_readMirrorPorts, m_readMirror, m_readStates, m_readDhcp;
};
