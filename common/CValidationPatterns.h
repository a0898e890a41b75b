#pragma once

// The three fixed patterns behind the VLAN name and address checks. Each is
// compiled once, on first use, and matched against the whole text.

#include <QByteArray>
#include <QString>

class CValidationPatterns
{
public:
    static const char* VlanNamePattern();
    static const char* IPv4Pattern();
    static const char* IPv6Pattern();

    // The text's bytes (UTF-8), all of them: a zero byte is a character
    // like any other, so nothing after it slips past the check.
    static bool MatchesVlanName(const QByteArray& text);
    static bool MatchesIPv4(const QByteArray& text);
    static bool MatchesIPv6(const QByteArray& text);

    static bool MatchesVlanName(const QString& text) { return MatchesVlanName(text.toUtf8()); }
    static bool MatchesIPv4(const QString& text) { return MatchesIPv4(text.toUtf8()); }
    static bool MatchesIPv6(const QString& text) { return MatchesIPv6(text.toUtf8()); }
};
