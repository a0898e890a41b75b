#pragma once

// The connection settings of a stand-alone dialog. The settings-copy form
// takes them once when the dialog opens; the direct-settings form takes
// them again for every request (so the setup form's changes reach it at
// once). Texts stay growable: nothing is cut to a fixed buffer.

#include <QByteArray>
#include <QString>

struct DirectSnmpSettings
{
    QByteArray m_pszAgentAddress;    // "a.b.c.d:port"
    QByteArray m_pszReadCommunity;
    QByteArray m_pszWriteCommunity;
    QString m_strVersion;            // the setting's text: "1", "3", ...
    int m_nVersion = 0;              // its decimal value (1 and 3 are served)
    int m_nTimeout = 2000;           // ms; 0 = the library's default
    QString m_strSecurityLevel;
    QByteArray m_pszUserName;
    QString m_strAuthProtocol;
    QByteArray m_pszAuthPassword;
    QString m_strPrivProtocol;
    QByteArray m_pszPrivPassword;

    // The process-wide settings as they are now.
    static DirectSnmpSettings Current();
};

// The user-based security of a version-3 request, in the order the calls
// must come: level "2" asks for authentication, "3" for authentication and
// privacy; an unknown authentication protocol drops to no security, an
// unknown privacy protocol to authentication only (this last step wins, so
// level "3" with neither protocol known ends at 1: the SNMP layer then
// refuses the request for want of an authentication key, nothing is sent).
// A template so that tests can record the calls on a stand-in.
template <class V3Request>
void ApplyV3Security(V3Request& request, const DirectSnmpSettings& s)
{
    request.setMsgMaxSize(1024);
    request.setMsgSecurityModel(3);
    request.setUserName(s.m_pszUserName.constData());
    const auto authenticate = [&] {
        if (s.m_strAuthProtocol == QLatin1String("2") || s.m_strAuthProtocol == QLatin1String("3")) {
            request.setAuthArith(s.m_strAuthProtocol == QLatin1String("2") ? 0 : 1);
            request.setAuthPwd(reinterpret_cast<const unsigned char*>(s.m_pszAuthPassword.constData()),
                               int(s.m_pszAuthPassword.size()));
        } else {
            request.setMsgFlags(0);
        }
    };
    if (s.m_strSecurityLevel == QLatin1String("2")) {
        request.setMsgFlags(1);
        authenticate();
    } else if (s.m_strSecurityLevel == QLatin1String("3")) {
        request.setMsgFlags(3);
        authenticate();
        if (s.m_strPrivProtocol == QLatin1String("2")) {
            request.setPriArith(0);
            request.setPriPwd(reinterpret_cast<const unsigned char*>(s.m_pszPrivPassword.constData()),
                              int(s.m_pszPrivPassword.size()));
        } else {
            request.setMsgFlags(1);
        }
    } else {
        request.setMsgFlags(0);
    }
}
