#include "CPosixElxT.h"

#include <cstring>

namespace {

const char* const kClassNames[] = {
    "alnum", "alpha", "ascii", "blank", "cntrl", "digit", "graph",
    "lower", "print", "punct", "space", "upper", "xdigit",
};

// ASCII only and independent of the locale; bytes from 0x80 up (negative
// here) belong to no class but ascii's complement.
bool InClass(int nclass, int ch)
{
    const bool upper = ch >= 'A' && ch <= 'Z';
    const bool lower = ch >= 'a' && ch <= 'z';
    const bool digit = ch >= '0' && ch <= '9';
    const bool graph = ch > 0x20 && ch < 0x7F;
    switch (nclass) {
    case 0: return upper || lower || digit;
    case 1: return upper || lower;
    case 2: return ch >= 0 && ch <= 0x7F;
    case 3: return ch == ' ' || ch == '\t';
    case 4: return (ch >= 0 && ch < 0x20) || ch == 0x7F;
    case 5: return digit;
    case 6: return graph;
    case 7: return lower;
    case 8: return graph || ch == ' ';
    case 9: return graph && !upper && !lower && !digit;
    case 10: return ch == ' ' || (ch >= '\t' && ch <= '\r');
    case 11: return upper;
    case 12: return digit || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
    default: return false;
    }
}

} // namespace

CPosixElxT::CPosixElxT(const char* name, int bRightLeft, int bInvert)
    : CCharSetElxT(bRightLeft), m_nclass(-1), m_binvert(bInvert)
{
    for (int i = 0; i < int(sizeof kClassNames / sizeof kClassNames[0]); ++i) {
        if (name && std::strcmp(name, kClassNames[i]) == 0)
            m_nclass = i;
    }
}

bool CPosixElxT::IsContainChar(int ch) const
{
    if (m_nclass < 0)
        return false;
    return InClass(m_nclass, ch) != static_cast<bool>(m_binvert);
}
