#include "CCommandTable.h"

#include "C8021XAuRadiusServerDLG.h"
#include "C8021XGlobalDlg.h"
#include "C8021XUserDLG.h"
#include "C8021qVlanSet.h"
#include "CAboutDlg.h"
#include "CCameraVlanSetting.h"
#include "CDeviceCfgDlg.h"
#include "CFirmDownLoad.h"
#include "CGVRPSettings.h"
#include "CGVRPTime.h"
#include "CIGMPSnoopConfig.h"
#include "CIPAddrTable.h"
#include "CIntfList.h"
#include "CJumboFrameconfigdlg.h"
#include "CLLDPGroup.h"
#include "CLLDPMED.h"
#include "CLLDPREMOTEINFO.h"
#include "CMultiFilterModeConfig.h"
#include "CPortMirroringdlg.h"
#include "CPortSetInfo.h"
#include "CSnmpDevIden.h"
#include "CSpanTreeBridgeParam.h"
#include "CSwitchDatabase.h"
#include "CSyslogHostCfgDlg.h"
#include "CTcpPortInfo.h"
#include "CTrunkConfigDlg.h"
#include "CUdpPortInfo.h"
#include "Dot1xPortConfig.h"
#include "CPOEConfigDlg.h"
#include "CPOEGlobal.h"
#include "CPowerSaveDlg.h"
#include "CSNMPCommunity.h"
#include "CSNMPEngineID.h"
#include "CSNMPGlobal.h"
#include "CSNMPGroup.h"
#include "CSNMPHost.h"
#include "CSNMPTrapSetting.h"
#include "CSNMPUser.h"
#include "CSNMPViewTree.h"
#include "CTimeProfileInfo.h"
#include "TimeRangInfo.h"

#include "CARPSpoofSetting.h"
#include "CBandWidthControlDlg.h"
#include "CDHCPServerScreenDlg.h"
#include "CStormControlDlg.h"
#include "CGratuitousARPDlg.h"
#include "CIPInterfaceDlg.h"
#include "CStaticARP.h"
#include "CStaticRoute.h"
#include "CTrafficSegDlg.h"

#include <QDialog>

namespace {

template <class Dialog>
std::unique_ptr<QDialog> Make()
{
    return std::make_unique<Dialog>();
}

using F = CommandEntry::Flags;

} // namespace

CCommandTable::CCommandTable()
{
    m_entries = {
        // System
        {ID_PORT_CONFIGURATION, QStringLiteral("CPortSetInfo"), &Make<CPortSetInfo>, F::None},
        {ID_SYSLOG_HOST, QStringLiteral("CSyslogHostCfgDlg"), &Make<CSyslogHostCfgDlg>, F::None},
        {ID_TIME_PROFILE, QStringLiteral("CTimeProfileInfo"), &Make<CTimeProfileInfo>, F::None},
        {ID_POWER_SAVING, QStringLiteral("CPowerSaveDlg"), &Make<CPowerSaveDlg>, F::None},
        // VLAN
        {ID_VLAN_CONFIGURATION, QStringLiteral("C8021qVlanSet"), &Make<C8021qVlanSet>, F::None},
        {ID_GVRP_GLOBAL, QStringLiteral("CGVRPTime"), &Make<CGVRPTime>, F::None},
        {ID_GVRP_PORT, QStringLiteral("CGVRPSettings"), &Make<CGVRPSettings>, F::None},
        {ID_AUTO_SURVEILLANCE_VLAN, QStringLiteral("CCameraVlanSetting"), &Make<CCameraVlanSetting>, F::None},
        // L2 Function
        {ID_JUMBO_FRAME, QStringLiteral("CJumboFrameconfigdlg"), &Make<CJumboFrameconfigdlg>, F::None},
        {ID_PORT_MIRRORING, QStringLiteral("CPortMirroringdlg"), &Make<CPortMirroringdlg>, F::None},
        {ID_SPANNING_TREE, QStringLiteral("CSpanTreeBridgeParam"), &Make<CSpanTreeBridgeParam>, F::None},
        {ID_TRUNK_CONFIGURATION, QStringLiteral("CTrunkConfigDlg"), &Make<CTrunkConfigDlg>, F::None},
        {ID_MULTICAST_FILTERING, QStringLiteral("CMultiFilterModeConfig"), &Make<CMultiFilterModeConfig>, F::None},
        {ID_IGMP_SNOOPING, QStringLiteral("CIGMPSnoopConfig"), &Make<CIGMPSnoopConfig>, F::None},
        // L3 Function
        {ID_IP_INTERFACE, QStringLiteral("CIPInterfaceDlg"), &Make<CIPInterfaceDlg>, F::None},
        {ID_STATIC_ROUTE, QStringLiteral("CStaticRoute"), &Make<CStaticRoute>, F::None},
        {ID_STATIC_ARP, QStringLiteral("CStaticARP"), &Make<CStaticARP>, F::None},
        {ID_GRATUITOUS_ARP, QStringLiteral("CGratuitousARPDlg"), &Make<CGratuitousARPDlg>, F::None},
        // Qos
        {ID_BANDWIDTH_CONTROL, QStringLiteral("CBandWidthControlDlg"), &Make<CBandWidthControlDlg>, F::None},
        // Security
        {ID_ARP_SPOOFING, QStringLiteral("CARPSpoofSetting"), &Make<CARPSpoofSetting>, F::None},
        {ID_DHCP_SERVER_SCREENING, QStringLiteral("CDHCPServerScreenDlg"), &Make<CDHCPServerScreenDlg>, F::None},
        {ID_TRAFFIC_SEGMENTATION, QStringLiteral("CTrafficSegDlg"), &Make<CTrafficSegDlg>, F::None},
        {ID_STORM_CONTROL, QStringLiteral("CStormControlDlg"), &Make<CStormControlDlg>, F::None},
        // AAA
        {ID_802_1X_GLOBAL, QStringLiteral("C8021XGlobalDlg"), &Make<C8021XGlobalDlg>, F::None},
        {ID_802_1X_PORT, QStringLiteral("Dot1xPortConfig"), &Make<Dot1xPortConfig>, F::None},
        {ID_802_1X_USER, QStringLiteral("C8021XUserDLG"), &Make<C8021XUserDLG>, F::None},
        {ID_802_1X_RADIUS, QStringLiteral("C8021XAuRadiusServerDLG"), &Make<C8021XAuRadiusServerDLG>, F::None},
        // SNMP
        {ID_SNMP_GLOBAL, QStringLiteral("CSNMPGlobal"), &Make<CSNMPGlobal>, F::None},
        {ID_SNMP_USER, QStringLiteral("CSNMPUser"), &Make<CSNMPUser>, F::None},
        {ID_SNMP_GROUP, QStringLiteral("CSNMPGroup"), &Make<CSNMPGroup>, F::None},
        {ID_SNMP_VIEW, QStringLiteral("CSNMPViewTree"), &Make<CSNMPViewTree>, F::None},
        {ID_SNMP_COMMUNITY, QStringLiteral("CSNMPCommunity"), &Make<CSNMPCommunity>, F::None},
        // The host table is edited with the panel in view.
        {ID_SNMP_HOST, QStringLiteral("CSNMPHost"), &Make<CSNMPHost>, F::KeepMainWindow},
        {ID_SNMP_ENGINE_ID, QStringLiteral("CSNMPEngineID"), &Make<CSNMPEngineID>, F::None},
        {ID_SNMP_TRAP, QStringLiteral("CSNMPTrapSetting"), &Make<CSNMPTrapSetting>, F::None},
        // PoE
        {ID_POE_GLOBAL, QStringLiteral("CPOEGlobal"), &Make<CPOEGlobal>, F::PoeOnly},
        {ID_POE_PORT, QStringLiteral("CPOEConfigDlg"), &Make<CPOEConfigDlg>, F::PoeOnly},
        // Public MIB
        {ID_SYSTEM_INFORMATION, QStringLiteral("CSnmpDevIden"), &Make<CSnmpDevIden>, F::None},
        {ID_INTERFACE_TABLE, QStringLiteral("CIntfList"), &Make<CIntfList>, F::None},
        {ID_IP_TABLE, QStringLiteral("CIPAddrTable"), &Make<CIPAddrTable>, F::None},
        {ID_FORWARDING_TABLE, QStringLiteral("CSwitchDatabase"), &Make<CSwitchDatabase>, F::None},
        {ID_TCP_SERVICE, QStringLiteral("CTcpPortInfo"), &Make<CTcpPortInfo>, F::None},
        {ID_UDP_SERVICE, QStringLiteral("CUdpPortInfo"), &Make<CUdpPortInfo>, F::None},
        // Tools
        {ID_FIRMWARE_TRANSFER, QStringLiteral("CFirmDownLoad"), &Make<CFirmDownLoad>, F::None},
        // About
        {ID_APP_ABOUT, QStringLiteral("CAboutDlg"), &Make<CAboutDlg>, F::None},
        // Sent by no menu: reachable from code only.
        {ID_DEVICE_CONFIGURATION, QStringLiteral("CDeviceCfgDlg"), &Make<CDeviceCfgDlg>, F::None},
        {ID_TIME_BASED_POE, QStringLiteral("TimeRangInfo"), &Make<TimeRangInfo>, F::PoeOnly},
        {ID_LLDP_GROUP, QStringLiteral("CLLDPGroup"), &Make<CLLDPGroup>, F::PoeOnly},
        {ID_LLDP_REMOTE_INFO, QStringLiteral("CLLDPREMOTEINFO"), &Make<CLLDPREMOTEINFO>, F::PoeOnly},
        {ID_LLDP_MED, QStringLiteral("CLLDPMED"), &Make<CLLDPMED>, F::PoeOnly},
    };
}

const CommandEntry* CCommandTable::Find(int nID) const
{
    for (const CommandEntry& entry : m_entries) {
        if (entry.nID == nID)
            return &entry;
    }
    return nullptr;
}

bool CCommandTable::IsBuilt(int nID) const
{
    const CommandEntry* entry = Find(nID);
    return entry && entry->factory;
}

bool CCommandTable::SetFactory(int nID, DialogFactory factory)
{
    for (CommandEntry& entry : m_entries) {
        if (entry.nID == nID) {
            entry.factory = std::move(factory);
            return true;
        }
    }
    return false;
}
