#include "CIniFile.h"

#include <QFile>

#include <ini.h>

namespace {

int onEntry(void* user, const char* section, const char* name, const char* value)
{
    auto* values = static_cast<QHash<QString, QString>*>(user);
    const QString key = QString::fromUtf8(section).toLower() + QLatin1Char('\n')
                        + QString::fromUtf8(name).toLower();
    if (!values->contains(key))   // the first of a repeated key wins
        values->insert(key, QString::fromUtf8(value));
    return 1;   // malformed lines elsewhere must not hide the entries
}

} // namespace

bool CIniFile::Load(const QString& path)
{
    m_values.clear();
    const QByteArray fileName = QFile::encodeName(path);
    m_bLoaded = ini_parse(fileName.constData(), onEntry, &m_values) >= 0;
    if (!m_bLoaded)
        m_values.clear();
    return m_bLoaded;
}

QString CIniFile::Key(const QString& section, const QString& key)
{
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}

QString CIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const
{
    const auto it = m_values.constFind(Key(section, key));
    return it == m_values.constEnd() ? defaultValue : it.value();
}

bool CIniFile::Contains(const QString& section, const QString& key) const
{
    return m_values.contains(Key(section, key));
}
