#pragma once

// Process-wide values shared by the whole program: the connection settings
// of the one switch this process manages (written once at start-up from the
// command line), the device facts of that switch (written once by the front
// panel from the device INI) and the subnet-mask table. Each is written on
// the GUI thread before any other thread or session exists, then only read.

#include <QByteArray>
#include <QString>

// Connection settings.
extern QString g_strCmdArg1;
extern QString g_strDeviceIP;
extern QString g_strReadCommunity;
extern QString g_strWriteCommunity;
extern QString g_strSnmpVersion;
extern QString g_strSnmpPort;
extern QString g_strCmdArg8;
extern QString g_strV3SecurityLevel;
extern QString g_strV3UserName;
extern QString g_strV3AuthPassword;
extern QString g_strV3PrivPassword;
extern QString g_strV3AuthProtocol;
extern QString g_strV3PrivProtocol;
extern QString g_strSnmpTimeout;
extern int g_bWritePermission;

// The connection settings as typed values, the one place where their texts
// are turned into numbers; sessions read these.
struct ConnectionSettings
{
    QString strAddress;             // dotted IPv4, blanks dropped
    int nPort = 161;                // a missing or unusable port gives 161
    int nVersion = 1;               // 1 or 3 usable; anything else refused by the sessions
    QByteArray readCommunity;
    QByteArray writeCommunity;
    int nSecurityLevel = 1;         // 1 none, 2 authentication, 3 authentication and privacy
    QByteArray userName;
    QByteArray authPassword;
    QByteArray privPassword;
    int nAuthProtocol = 1;          // 2 MD5, 3 SHA, else none
    int nPrivProtocol = 1;          // 2 DES, else none
    bool bWritePermission = true;
    int nTimeoutMs = 3000;          // 0 or less gives 3000

    QByteArray AgentAddress() const;   // "a.b.c.d:port"
};

// The current connection settings, typed.
ConnectionSettings GetConnectionSettings();

// Device facts.
extern QString g_strDeviceName;
extern int g_nDevicePortNum;
extern bool g_bPoeModel;
extern int g_nMediumTypeMode;
extern int g_nPowerMaxThreshold;

// True for a PoE model: its name holds "P" or "p" anywhere but in the
// leading family prefix "PQS" ("PQS-4400-52" is not a PoE model,
// "PQS-4400-28P" is). The one rule behind g_bPoeModel, the menu pruning and
// the PoE features.
bool IsPoeModelName(const QString& modelName);

// Dotted subnet masks indexed by 32 minus the prefix length:
// entry 0 "255.255.255.255" ... entry 8 "255.255.255.0" ... entry 32 "0.0.0.0".
constexpr int SUBNET_MASK_COUNT = 33;
extern const QString g_strSubnetMask[SUBNET_MASK_COUNT];

// Puts every connection setting and device fact back to its start-up
// default (tests and the command-line parser start from here).
void ResetGlobalSettings();

// Decimal value of a setting text; a non-numeric text gives 0.
int SettingToInt(const QString& text);
