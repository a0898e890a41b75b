#pragma once

// One INI file read once and then looked up many times (the panel's device
// INI answers thousands of value-list lookups). Same rules as IniReadString:
// section and key names are case-insensitive and a repeated key yields its
// first value. After Load the object is only read, so several threads may
// look things up at once.

#include <QHash>
#include <QString>

class CIniFile
{
public:
    CIniFile() = default;
    explicit CIniFile(const QString& path) { Load(path); }

    // Reads the file; false when it cannot be read (the object is then empty).
    bool Load(const QString& path);

    bool IsLoaded() const { return m_bLoaded; }

    // The value of [section] key, or `defaultValue` when the section or key
    // is missing.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;

    // True when [section] key exists (even with an empty value).
    bool Contains(const QString& section, const QString& key) const;

private:
    static QString Key(const QString& section, const QString& key);

    QHash<QString, QString> m_values;   // "section\nkey" in lower case
    bool m_bLoaded = false;
};
