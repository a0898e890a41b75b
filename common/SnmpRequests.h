#pragma once

// Synchronous one-request helpers on a session, for features that must not
// handle the SNMP layer's response objects themselves.

#include "CSetSequence.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

class CCommonSNMP;

// One get of every OID in one request. 0 when the switch answered with
// error status 0 (values[i] is empty for an object it does not have), else
// the session's result code or the error status. nTimeout 0 = the session's.
int SnmpGetValues(CCommonSNMP& session, const QStringList& oids, QList<std::optional<QByteArray>>& values,
                  int nTimeout = 0);

// One set request carrying every value. 0 when the switch answered with
// error status 0, else the session's result code or the error status.
int SnmpSetValues(CCommonSNMP& session, const QList<SnmpSetValue>& values, int nTimeout = 0);
