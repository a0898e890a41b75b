#include "DirectSnmpSettings.h"

#include "GlobalSettings.h"

DirectSnmpSettings DirectSnmpSettings::Current()
{
    DirectSnmpSettings s;
    s.m_pszAgentAddress = GetConnectionSettings().AgentAddress();
    s.m_pszReadCommunity = g_strReadCommunity.toUtf8();
    s.m_pszWriteCommunity = g_strWriteCommunity.toUtf8();
    s.m_strVersion = g_strSnmpVersion;
    s.m_nVersion = SettingToInt(g_strSnmpVersion);
    s.m_nTimeout = qMax(0, SettingToInt(g_strSnmpTimeout));   // 0 = the library default
    s.m_strSecurityLevel = g_strV3SecurityLevel;
    s.m_pszUserName = g_strV3UserName.toUtf8();
    s.m_strAuthProtocol = g_strV3AuthProtocol;
    s.m_pszAuthPassword = g_strV3AuthPassword.toUtf8();
    s.m_strPrivProtocol = g_strV3PrivProtocol;
    s.m_pszPrivPassword = g_strV3PrivPassword.toUtf8();
    return s;
}
