#pragma once

// The checks and writes of the VLAN add and edit dialog. Checks give the
// message to show (empty when they pass); writes are steps of a set
// sequence, in an order that a switch enforcing "untagged within egress"
// and "no egress port forbidden" accepts at every step.

#include "CModuleBase.h"
#include "VLAN_ENTRY.h"

#include <vector>

class CSetSequence;

// One entry per port (port - 1): 1 set, 0 not.
using PortFlags = std::vector<int>;

class CVlanAddLogic : public CModuleBase
{
public:
    CVlanAddLogic();

    int PortCount() const { return m_nPortNum; }

    // The first listed VLAN other than nVid with exactly that name.
    static const VLAN_ENTRY* FindVlanByName(const VlanList& list, const QString& strName, int nVid);

    static QString CheckVid(const VlanList& list, int nVid);
    static bool IsValidName(const QString& strName);
    static QString CheckName(const VlanList& list, const QString& strName, int nVid);
    // No membership may split an aggregated link (the map must be loaded).
    QString CheckTrunkMembers(const PortFlags& egress, const PortFlags& untagged, const PortFlags& forbidden) const;
    // Edit: a VLAN may be left without members only while another listed
    // VLAN has some.
    static QString CheckMembers(const VlanList& list, int nVid, const PortFlags& egress);

    // The VLAN's port lists as flags.
    void SplitPortList(const VLAN_ENTRY& entry, PortFlags& egress, PortFlags& untagged, PortFlags& forbidden) const;
    // Ports untagged in a listed VLAN other than nVid: in symmetric mode a
    // port is untagged in one VLAN only.
    PortFlags UntaggedElsewhere(const VlanList& list, int nVid) const;
    // A port map as the VLAN table takes it: 12 octets on 52 ports, 8 on 28,
    // the common padding on other models.
    QByteArray PortMap(const PortFlags& flags) const;

    struct Settings
    {
        int nVid = 0;
        QString strName;
        PortFlags egress;      // tagged and untagged members
        PortFlags untagged;
        PortFlags forbidden;
        int nAdvertisement = 0;   // 1 enabled, 2 disabled, 0 not written
    };
    // A new VLAN: the row is created, filled and activated.
    void AddSteps(CSetSequence& sequence, const Settings& s) const;
    // A listed VLAN changed in place: its row, and whatever hangs on it on
    // the switch, stays.
    void EditSteps(CSetSequence& sequence, const VLAN_ENTRY& old, const Settings& s) const;
    // Removes a VLAN's row.
    static void DestroySteps(CSetSequence& sequence, int nVid);

private:
    // Untagged, egress and forbidden maps, name, advertisement, activation.
    void FinalSteps(CSetSequence& sequence, const Settings& s) const;
    PortFlags Flags(const QString& strPorts) const;

    int m_nPortNum = 0;
};
