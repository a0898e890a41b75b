#pragma once

// The front panel's configuration files: Config.ini beside the program names
// a model folder and the device INI in it; the device INI names the panel
// XML and gives the model name, the OID root of the panel's relative OIDs,
// the port count, the power threshold, the compound-OID keys, the value
// lists that turn SNMP values into picture states and the slot module
// tables. Read once; afterwards only looked up (also from the refresh
// thread), never changed.

#include "CIniFile.h"

#include <QString>
#include <QStringList>

class CPanelConfig
{
public:
    // INI texts are cut to this many characters.
    static constexpr int kMaxIniText = 259;
    // Port counts the program handles; others fall back to the default.
    static constexpr int kDefaultPortNum = 28;
    static constexpr int kMaxPortNum = 52;

    // Reads Config.ini in `exeDir` and the device INI it names. Missing
    // files leave texts empty and numbers at their defaults; nothing is
    // reported here (the panel XML then fails to load).
    void Read(const QString& exeDir);

    // Writes the device facts (g_strDeviceName, g_bPoeModel,
    // g_nDevicePortNum, g_nMediumTypeMode, g_nPowerMaxThreshold).
    void PublishDeviceFacts() const;

    // [section] key of the device INI, cut to kMaxIniText characters.
    QString DeviceIniString(const QString& section, const QString& key) const;
    // The same split into a value list (empty when the key is missing).
    QStringList DeviceIniList(const QString& section, const QString& key) const;

    // The value-list rule: items up to each ",", trimmed; empty items are
    // kept, a trailing comma adds nothing.
    static QStringList ReadIniList(const QString& text);
    // The atoi rule: leading blanks, an optional sign, leading decimal
    // digits; anything else gives 0.
    static int LeadingInt(const QString& text);
    // Whole, case-sensitive match of one item; the value is not trimmed.
    static bool ListContains(const QStringList& list, const QString& value);

    QString m_strExeDir;       // ends in "/"
    QString m_strConfigIni;
    QString m_strModelDir;     // ends in "/"
    QString m_strDeviceIni;
    QString m_strXmlPath;

    QString m_strDeviceName;
    QString m_strOIDRoot;
    float m_fPowerMaxThreshold = 7.0f;
    int m_nPowerMaxThreshold = 7;
    int m_nDevicePortNum = kDefaultPortNum;
    int m_nMediumTypeMode = 0;
    bool m_bPoeModel = false;

    QStringList m_arrOIDKeys;
    int m_nOIDKeyCount = 0;

private:
    // LeadingInt of the value; the default when the key is missing.
    int DeviceIniInt(const QString& section, const QString& key, int defaultValue) const;

    CIniFile m_deviceIni;
};
