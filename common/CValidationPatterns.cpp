#include "CValidationPatterns.h"

#include "CPatternT.h"

namespace {

// Printable ASCII only, the empty name included; length and the other name
// rules are the caller's.
const char kVlanName[] = R"pat(^[A-Za-z0-9~`!@#$%"\^&\*\.\{\}\[\]\(\) _\+=\-|\\/:;\'<,>\?]*$)pat";

const char kIPv4[] = R"pat(((25[0-5]|2[0-4]\d|[01]?\d\d?)\.){3}(25[0-5]|2[0-4]\d|[01]?\d\d?)$)pat";

// Lower-case hex only; optional blanks around, an optional %interface.
const char kIPv6[] =
    R"pat(^\s*((([0-9a-f]{1,4}:){7}(([0-9a-f]{1,4})|:))|(([0-9a-f]{1,4}:){6}(:|((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})|(:[0-9a-f]{1,4})))|(([0-9a-f]{1,4}:){5}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(([0-9a-f]{1,4}:){4}(:[0-9a-f]{1,4}){0,1}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(([0-9a-f]{1,4}:){3}(:[0-9a-f]{1,4}){0,2}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(([0-9a-f]{1,4}:){2}(:[0-9a-f]{1,4}){0,3}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(([0-9a-f]{1,4}:)(:[0-9a-f]{1,4}){0,4}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(:(:[0-9a-f]{1,4}){0,5}((:((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})?)|((:[0-9a-f]{1,4}){1,2})))|(((25[0-5]|2[0-4]\d|[01]?\d{1,2})(\.(25[0-5]|2[0-4]\d|[01]?\d{1,2})){3})))(%.+)?\s*$)pat";

bool WholeMatch(const CPatternT& pattern, const QByteArray& text)
{
    return pattern.Match(text.constData(), int(text.size())).HasMatch() != 0;
}

} // namespace

const char* CValidationPatterns::VlanNamePattern()
{
    return kVlanName;
}

const char* CValidationPatterns::IPv4Pattern()
{
    return kIPv4;
}

const char* CValidationPatterns::IPv6Pattern()
{
    return kIPv6;
}

bool CValidationPatterns::MatchesVlanName(const QByteArray& text)
{
    static const CPatternT pattern(kVlanName, 0);
    return WholeMatch(pattern, text);
}

bool CValidationPatterns::MatchesIPv4(const QByteArray& text)
{
    static const CPatternT pattern(kIPv4, 0);
    return WholeMatch(pattern, text);
}

bool CValidationPatterns::MatchesIPv6(const QByteArray& text)
{
    static const CPatternT pattern(kIPv6, 0);
    return WholeMatch(pattern, text);
}
