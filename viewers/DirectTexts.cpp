#include "DirectTexts.h"

#include "CUtils.h"

#include <QStringList>

namespace DirectTexts {

namespace {

// value "1" is texts[0] ...; anything else `other`.
QString Lookup(const QByteArray& value, int first, const QStringList& texts, const QString& other)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (ok && QByteArray::number(n) == value && n >= first && n - first < texts.size())
        return texts[n - first];
    return other;
}

} // namespace

QString StorageType(const QByteArray& value)
{
    return Lookup(value, 2, {QStringLiteral("volatile"), QStringLiteral("nonVolatile"), QStringLiteral("permanent"),
                             QStringLiteral("readOnly")}, QStringLiteral("Other"));
}

QString RowStatus(const QByteArray& value)
{
    return Lookup(value, 1, {QStringLiteral("active"), QStringLiteral("notInService"), QStringLiteral("notReady"),
                             QStringLiteral("createAndGo"), QStringLiteral("createAndWait")}, QStringLiteral("destroy"));
}

QString AccessSecurityModel(const QString& digit)
{
    if (digit == QLatin1String("1"))
        return QStringLiteral("v1");
    if (digit == QLatin1String("2"))
        return QStringLiteral("v2");
    return QStringLiteral("v3");
}

QString SecurityLevel(const QString& digit)
{
    if (digit == QLatin1String("1"))
        return QStringLiteral("noAuthNoPriv");
    if (digit == QLatin1String("2"))
        return QStringLiteral("authNoPriv");
    return QStringLiteral("authPriv");
}

QString OctetsAsChars(const QByteArray& octets)
{
    QString text;
    for (char c : octets)
        if (c != '\0')
            text += QChar(uchar(c));
    return text;
}

QString OctetsAsHex(const QByteArray& octets)
{
    return CUtils::BytesToHexText(octets);
}

bool IndexAfter(const QByteArray& oid, const QByteArray& column, QList<quint32>& index)
{
    index.clear();
    const QByteArray prefix = column + '.';
    if (!oid.startsWith(prefix) || oid.size() == prefix.size())
        return false;
    for (const QByteArray& part : oid.mid(prefix.size()).split('.')) {
        bool ok = false;
        const quint32 n = part.toUInt(&ok);
        if (!ok || part.isEmpty())
            return false;
        index << n;
    }
    return true;
}

bool TakeIndexName(const QList<quint32>& index, int& pos, QString& name)
{
    name.clear();
    if (pos < 0 || pos >= index.size())
        return false;
    const quint32 length = index[pos];
    if (length > quint32(index.size() - pos - 1))
        return false;
    QByteArray octets;
    for (quint32 i = 1; i <= length; ++i) {
        if (index[pos + int(i)] > 255)
            return false;
        octets += char(index[pos + int(i)]);
    }
    name = QString::fromUtf8(octets);
    pos += int(length) + 1;
    return true;
}

QString ArpType(const QByteArray& value)
{
    return Lookup(value, 1, {QStringLiteral("Unknown"), QStringLiteral("Illegal"), QStringLiteral("Dynamic")},
                  QStringLiteral("Static"));
}

QString ArpMac(const QByteArray& octets)
{
    QStringList pairs;
    for (char c : octets)
        pairs << QStringLiteral("%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    return pairs.join(QLatin1Char(':'));
}

QString RouteType(const QByteArray& value)
{
    return Lookup(value, 1, {QStringLiteral("UnKnown"), QStringLiteral("Illegal"), QStringLiteral("Direct"),
                             QStringLiteral("Indirect")}, QStringLiteral("0"));
}

QString RouteProtocol(const QByteArray& value)
{
    return Lookup(value, 2, {QStringLiteral("local"), QStringLiteral("netmgmt"), QStringLiteral("icmp"),
                             QStringLiteral("egp"), QStringLiteral("ggp"), QStringLiteral("hello"),
                             QStringLiteral("rip"), QStringLiteral("is-is"), QStringLiteral("es-is"),
                             QStringLiteral("ciscoIgrp"), QStringLiteral("bbnSpfIgp"), QStringLiteral("ospf"),
                             QStringLiteral("bgp")}, QStringLiteral("other"));
}

} // namespace DirectTexts
