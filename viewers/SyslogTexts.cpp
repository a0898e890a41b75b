#include "SyslogTexts.h"

namespace SyslogTexts {

QByteArray Oid(const char* rest)
{
    return QByteArray(kArc) + '.' + rest;
}

const QStringList& SeverityNames()
{
    static const QStringList names = {
        QStringLiteral("Emergency"), QStringLiteral("Alert"),  QStringLiteral("Critical"),
        QStringLiteral("Error"),     QStringLiteral("Warning"), QStringLiteral("Notice"),
        QStringLiteral("Info"),      QStringLiteral("Debug"),   QStringLiteral("NotActive"),
    };
    return names;
}

QString SeverityToText(const QByteArray& value)
{
    // Exactly one digit: " 3", "03" or "3x" are not severities.
    if (value.size() == 1 && value[0] >= '0' && value[0] <= '8')
        return SeverityNames()[value[0] - '0'];
    return SeverityNames()[0];
}

bool SameRow(const CDirectWalk::Response& response, const QList<QByteArray>& columns)
{
    if (response.size() < columns.size())
        return false;
    QByteArray index;
    for (int i = 0; i < columns.size(); ++i) {
        const QByteArray prefix = columns[i] + '.';
        const QByteArray& oid = response[i].oid;
        if (!oid.startsWith(prefix) || oid.size() == prefix.size())
            return false;
        const QByteArray suffix = oid.mid(prefix.size());
        if (i == 0)
            index = suffix;
        else if (suffix != index)
            return false;
    }
    return true;
}

} // namespace SyslogTexts
