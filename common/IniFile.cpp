#include "IniFile.h"

#include <QFile>

#include <ini.h>

#include <strings.h>

namespace {

struct Lookup
{
    QByteArray section;
    QByteArray key;
    QByteArray value;
    bool found = false;
};

int onEntry(void* user, const char* section, const char* name, const char* value)
{
    auto* lookup = static_cast<Lookup*>(user);
    if (!lookup->found && strcasecmp(section, lookup->section.constData()) == 0
        && strcasecmp(name, lookup->key.constData()) == 0) {
        lookup->value = value;
        lookup->found = true;
    }
    return 1;   // malformed lines elsewhere must not hide the entry
}

} // namespace

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    Lookup lookup;
    lookup.section = section.toUtf8();
    lookup.key = key.toUtf8();
    const QByteArray fileName = QFile::encodeName(path);
    if (ini_parse(fileName.constData(), onEntry, &lookup) < 0 || !lookup.found)
        return defaultValue;
    return QString::fromUtf8(lookup.value);
}
