#include "CPanelConfig.h"

#include "GlobalSettings.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPanelConfig, "velmarc.panel.config", QtInfoMsg)

namespace {

const QString kDeviceInfo = QStringLiteral("DeviceInfo");

QString Cut(const QString& text)
{
    return text.left(CPanelConfig::kMaxIniText);
}

// A folder named in an INI file, as a path ending in "/"; the files were
// first written with backslashes.
QString FolderPath(const QString& base, const QString& relative)
{
    QString folder = relative;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return base + folder + QLatin1Char('/');
}

} // namespace

void CPanelConfig::Read(const QString& exeDir)
{
    m_strExeDir = exeDir.endsWith(QLatin1Char('/')) ? exeDir : exeDir + QLatin1Char('/');
    m_strConfigIni = m_strExeDir + QStringLiteral("Config.ini");
    qCDebug(lcPanelConfig) << "Config.ini:" << m_strConfigIni;

    const CIniFile config(m_strConfigIni);
    m_strModelDir = FolderPath(m_strExeDir, Cut(config.ReadString(kDeviceInfo, QStringLiteral("Path"))));
    qCDebug(lcPanelConfig) << "model folder:" << m_strModelDir;
    m_strDeviceIni = m_strModelDir + Cut(config.ReadString(kDeviceInfo, QStringLiteral("File")));
    qCDebug(lcPanelConfig) << "device INI:" << m_strDeviceIni;

    m_deviceIni.Load(m_strDeviceIni);
    m_strXmlPath = m_strModelDir + DeviceIniString(kDeviceInfo, QStringLiteral("XMLName"));
    qCDebug(lcPanelConfig) << "panel XML:" << m_strXmlPath;
    m_strDeviceName = DeviceIniString(kDeviceInfo, QStringLiteral("DeviceName"));
    m_bPoeModel = IsPoeModelName(m_strDeviceName);
    m_strOIDRoot = DeviceIniString(kDeviceInfo, QStringLiteral("OIDRoot"));
    m_fPowerMaxThreshold = float(DeviceIniInt(kDeviceInfo, QStringLiteral("PowerMaxThreshold"), 7));
    m_nPowerMaxThreshold = int(m_fPowerMaxThreshold);
    m_nDevicePortNum = DeviceIniInt(kDeviceInfo, QStringLiteral("DevicePortNum"), kDefaultPortNum);
    if (m_nDevicePortNum < 1 || m_nDevicePortNum > kMaxPortNum) {
        qCWarning(lcPanelConfig) << "DevicePortNum" << m_nDevicePortNum << "in" << m_strDeviceIni
                                 << "is outside 1 to" << kMaxPortNum << "- using" << kDefaultPortNum;
        m_nDevicePortNum = kDefaultPortNum;
    }
    m_nMediumTypeMode = DeviceIniInt(kDeviceInfo, QStringLiteral("MediumTypeMode"), 0);

    m_arrOIDKeys = ReadIniList(DeviceIniString(QStringLiteral("OID"), QStringLiteral("OID")));
    m_nOIDKeyCount = int(m_arrOIDKeys.size());
}

void CPanelConfig::PublishDeviceFacts() const
{
    g_strDeviceName = m_strDeviceName;
    g_bPoeModel = m_bPoeModel;
    g_nPowerMaxThreshold = m_nPowerMaxThreshold;
    g_nDevicePortNum = m_nDevicePortNum;
    g_nMediumTypeMode = m_nMediumTypeMode;
}

QString CPanelConfig::DeviceIniString(const QString& section, const QString& key) const
{
    return Cut(m_deviceIni.ReadString(section, key));
}

QStringList CPanelConfig::DeviceIniList(const QString& section, const QString& key) const
{
    return ReadIniList(DeviceIniString(section, key));
}

int CPanelConfig::DeviceIniInt(const QString& section, const QString& key, int defaultValue) const
{
    return m_deviceIni.Contains(section, key) ? LeadingInt(DeviceIniString(section, key)) : defaultValue;
}

int CPanelConfig::LeadingInt(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && t[end].unicode() >= '0' && t[end].unicode() <= '9')
        ++end;
    bool ok = false;
    const int value = t.left(end).toInt(&ok);
    return ok ? value : 0;
}

QStringList CPanelConfig::ReadIniList(const QString& text)
{
    QStringList items;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            items << rest.trimmed();
            break;
        }
        items << rest.left(comma).trimmed();
        rest = rest.mid(comma + 1).trimmed();
    }
    return items;
}

bool CPanelConfig::ListContains(const QStringList& list, const QString& value)
{
    return list.contains(value, Qt::CaseSensitive);
}
