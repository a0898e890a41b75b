// The engine on the three validation patterns with arbitrary texts: no
// crash or hang, and the VLAN name check equals its plain definition.
#include "CValidationPatterns.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    bool printable = true;
    for (char c : text)
        printable = printable && c >= 0x20 && c <= 0x7E;
    if (CValidationPatterns::MatchesVlanName(text) != printable)
        std::abort();
    const bool v4 = CValidationPatterns::MatchesIPv4(text);
    if (v4 && (text.count('.') != 3 || text.size() > 15))
        std::abort();
    CValidationPatterns::MatchesIPv6(text);
    return 0;
}
