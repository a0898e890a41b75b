#include "CRangeElxT.h"

#include <algorithm>

CRangeElxT::CRangeElxT(int bRightLeft, int bInvert) : CCharSetElxT(bRightLeft), m_binvert(bInvert) {}

bool CRangeElxT::IsContainChar(int ch) const
{
    bool found = false;
    for (size_t i = 0; !found && i + 1 < m_ranges.size(); i += 2)
        found = ch >= m_ranges[i] && ch <= m_ranges[i + 1];
    for (size_t i = 0; !found && i < m_chars.size(); ++i)
        found = ch == m_chars[i];
    for (size_t i = 0; !found && i < m_embedded.size(); ++i) {
        if (auto set = dynamic_cast<const CCharSetElxT*>(m_embedded[i]))
            found = set->IsContainChar(ch);
    }
    return m_binvert ? !found : found;
}

void CRangeElxT::AddOtherCase()
{
    const size_t rangeCount = m_ranges.size();
    for (size_t i = 0; i + 1 < rangeCount; i += 2) {
        const int from = m_ranges[i];
        const int to = m_ranges[i + 1];
        // Lower-case part of the range, upper-cased, and the reverse.
        const int lf = std::max(from, int('a')), lt = std::min(to, int('z'));
        if (lf <= lt)
            AddRange(lf - 'a' + 'A', lt - 'a' + 'A');
        const int uf = std::max(from, int('A')), ut = std::min(to, int('Z'));
        if (uf <= ut)
            AddRange(uf - 'A' + 'a', ut - 'A' + 'a');
    }
    const size_t charCount = m_chars.size();
    for (size_t i = 0; i < charCount; ++i) {
        const int ch = m_chars[i];
        int other = 0;
        if (ch >= 'a' && ch <= 'z')
            other = ch - 'a' + 'A';
        else if (ch >= 'A' && ch <= 'Z')
            other = ch - 'A' + 'a';
        if (other && std::find(m_chars.begin(), m_chars.end(), other) == m_chars.end())
            m_chars.push_back(other);
    }
}
