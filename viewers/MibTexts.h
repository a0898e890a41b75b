#pragma once

// Texts the standard-MIB viewers show for values of the switch. Counters,
// gauges and time ticks are unsigned: read as 64-bit, so a 10G speed or an
// uptime above 248 days never turns negative.

#include <QString>

namespace MibTexts {

// ifOperStatus: "1" "Connected", "2" "UnConnected", "3" "Test", else "Unknown".
QString LinkStatus(const QString& value);
// ifSpeed in bit/s as whole megabits: "1000000000" -> "1000M"; a value
// that is not a decimal number is shown as received.
QString SpeedMbps(const QString& value);
// tcpConnState: "2" "listen" ... "12" "deleteTCB"; anything else "closed".
QString TcpState(const QString& value);
// sysUpTime ticks (1/100 s) as "H Hour M Min"; empty for an empty text, the
// text as received when it is not a decimal number.
QString UpTime(const QString& ticks);

} // namespace MibTexts
