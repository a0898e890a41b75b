#include "IniFile.h"

#include <QByteArray>
#include <QFile>

// Read line by line as the classic profile reader does. A general INI
// parser would read these files differently: it takes indented lines for
// continuations of the value above, cuts values at an inline ";" and splits
// long lines into pieces that it then reads as lines of their own.
QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    QByteArray text = file.readAll();
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);

    const QByteArray wantedSection = section.toUtf8();
    const QByteArray wantedKey = key.toUtf8();
    bool inSection = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            const QByteArray name = (end < 0 ? line.mid(1) : line.mid(1, end - 1)).trimmed();
            inSection = name.compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0 || line.left(equals).trimmed().compare(wantedKey, Qt::CaseInsensitive) != 0)
            continue;
        // The first value wins; quotes around it are not part of it.
        QByteArray value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return QString::fromUtf8(value);
    }
    return defaultValue;
}
