#pragma once

// One active 802.1Q VLAN as the VLAN list dialog read it. The list dialog
// owns the list (in VID order) and hands it to the add, edit and PVID
// dialogs, which look VLANs up in it for their checks.

#include <QList>
#include <QString>

struct VLAN_ENTRY
{
    int nVid = 0;
    QString szName;             // decoded from UTF-8
    QString szEgressPorts;      // port lists such as "1,2,5"
    QString szUntaggedPorts;
    QString szForbiddenPorts;
    int nEgressCount = 0;
    int nUntaggedCount = 0;
    int nForbiddenCount = 0;
    int nNotMemberCount = 0;    // port count - egress - forbidden
    QString strAdvertisement;   // "1" enabled; empty when the switch has no such object
};

using VlanList = QList<VLAN_ENTRY>;

// The switch's 802.1Q objects (private MIB). Columns and scalars without
// their instance: ".0" for scalars, "." + VID or port for table cells.
namespace VlanOid {
inline const QString kMode = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.5");   // 1 asymmetric, 2 symmetric
inline const QString kPvid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1");
inline const QString kName = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.1");
inline const QString kEgress = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.2");
inline const QString kForbidden = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.3");
inline const QString kUntagged = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.4");
inline const QString kAdvertisement = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.5");
inline const QString kRowStatus = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.6.1.6");
inline const QString kVoiceState = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.21.1.2");
inline const QString kVoiceVid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.21.1.3");
inline const QString kSurveillanceState = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.26.1.1");
inline const QString kSurveillanceVid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.26.1.2");
inline const QString kIpInterfaceVlan = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.41.1.1.1.2");

// Row status values of the VLAN table.
constexpr int kActive = 1;
constexpr int kCreateAndWait = 5;
constexpr int kDestroy = 6;
} // namespace VlanOid

// The listed VLAN with that VID, or null.
inline const VLAN_ENTRY* FindVlan(const VlanList& list, int nVid)
{
    for (const VLAN_ENTRY& entry : list)
        if (entry.nVid == nVid)
            return &entry;
    return nullptr;
}
