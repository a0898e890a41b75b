#include "IniFile.h"

#include "CIniFile.h"

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    return CIniFile(path).ReadString(section, key, defaultValue);
}
