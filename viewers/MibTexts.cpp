#include "MibTexts.h"

#include "StrictNumber.h"


namespace {

// An unsigned decimal text (at most 64 bits).
bool Unsigned(const QString& text, quint64* value)
{
    if (text.isEmpty() || text.size() > 20)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    bool ok = false;
    *value = text.toULongLong(&ok);
    return ok;
}

} // namespace

namespace MibTexts {

QString LinkStatus(const QString& value)
{
    if (value == u"1")
        return QStringLiteral("Connected");
    if (value == u"2")
        return QStringLiteral("UnConnected");
    if (value == u"3")
        return QStringLiteral("Test");
    return QStringLiteral("Unknown");
}

QString SpeedMbps(const QString& value)
{
    quint64 bps = 0;
    if (!Unsigned(value, &bps))
        return value;
    return QString::number(bps / 1000000) + u'M';
}

QString TcpState(const QString& value)
{
    static const char* const states[] = {"listen",   "synSent",   "synReceived", "established",
                                         "finWait1", "finWait2",  "closeWait",   "lastAck",
                                         "closing",  "timeWait",  "deleteTCB"};
    qint64 n = 0;
    if (ParseStrictInt(value, 2, 12, &n))
        return QString::fromLatin1(states[n - 2]);
    return QStringLiteral("closed");
}

QString UpTime(const QString& ticks)
{
    if (ticks.isEmpty())
        return QString();
    quint64 t = 0;
    if (!Unsigned(ticks, &t))
        return ticks;
    const quint64 hours = t / 360000;
    const quint64 minutes = (t - hours * 360000) / 6000;
    return QStringLiteral("%1 Hour %2 Min").arg(hours).arg(minutes);
}

} // namespace MibTexts
