#pragma once

// Cell texts of the stand-alone viewers: SNMPv3 agent tables, ARP and route
// tables, and the index names they decode.

#include <QByteArray>
#include <QList>
#include <QString>

namespace DirectTexts {

QString StorageType(const QByteArray& value);      // "2" volatile ... else "Other"
QString RowStatus(const QByteArray& value);        // "1" active ... else "destroy"
QString AccessSecurityModel(const QString& digit); // "1" v1, "2" v2, else v3
QString SecurityLevel(const QString& digit);       // "1" noAuthNoPriv, "2" authNoPriv, else authPriv
// Each octet as one character; a zero octet adds nothing.
QString OctetsAsChars(const QByteArray& octets);
// Each octet as two upper-case hexadecimal digits, no separator.
QString OctetsAsHex(const QByteArray& octets);

// The sub-identifiers of `oid` after `column` (both dotted); false when the
// OID is not under the column or not numeric.
bool IndexAfter(const QByteArray& oid, const QByteArray& column, QList<quint32>& index);
// A string index at index[pos]: its length, then one sub-identifier per
// octet. Moves pos past it; false when it does not fit.
bool TakeIndexName(const QList<quint32>& index, int& pos, QString& name);

QString ArpType(const QByteArray& value);          // "1" Unknown, "2" Illegal, "3" Dynamic, else Static
QString ArpMac(const QByteArray& octets);          // 6 octets as XX:XX:..; other lengths as hex pairs
QString RouteType(const QByteArray& value);        // "1" UnKnown ... "4" Indirect, else "0"
QString RouteProtocol(const QByteArray& value);    // "2" local ... "14" bgp, else "other"

} // namespace DirectTexts
