#pragma once

// The switch's own logging: severity texts shared by the syslog viewers and
// the syslog configuration form, and the second private arc's root.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "CDirectWalk.h"

namespace SyslogTexts {

// 1.3.6.1.4.1.32473.10.94.89.89: the arc of the syslog, device, resource
// and private scalar objects.
inline constexpr const char* kArc = "1.3.6.1.4.1.32473.10.94.89.89";
// kArc + "." + rest
QByteArray Oid(const char* rest);

// "Emergency", "Alert", ... "NotActive": index = value.
const QStringList& SeverityNames();
// "0" to "8" as its name; any other text "Emergency".
QString SeverityToText(const QByteArray& value);

// True when binding i of an answer lies in column i and every binding has
// the same row index: a row missing from one column shifts that column's
// binding to the next row, which must not be shown as this row's.
bool SameRow(const CDirectWalk::Response& response, const QList<QByteArray>& columns);

} // namespace SyslogTexts
