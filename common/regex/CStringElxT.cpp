#include "CStringElxT.h"
#include "CMatchContext.h"

namespace {

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

CStringElxT::CStringElxT(std::string text, int bRightLeft, int bIgnoreCase)
    : m_szPattern(std::move(text)), m_brightleft(bRightLeft), m_bignorecase(bIgnoreCase)
{
}

int CStringElxT::Match(CMatchContext* pContext) const
{
    const int n = static_cast<int>(m_szPattern.size());
    const int pos = pContext->m_nCurrentPos;
    int from;
    if (m_brightleft) {
        if (pos < n)
            return 0;
        from = pos - n;
    } else {
        if (pContext->m_nMatchStringLength - pos < n)
            return 0;
        from = pos;
    }
    const char* text = pContext->m_pMatchString + from;
    for (int i = 0; i < n; ++i) {
        const bool same = m_bignorecase ? Upper(text[i]) == Upper(m_szPattern[i]) : text[i] == m_szPattern[i];
        if (!same)
            return 0;
    }
    pContext->m_nCurrentPos = m_brightleft ? from : pos + n;
    return 1;
}

int CStringElxT::Retry(CMatchContext* pContext) const
{
    const int n = static_cast<int>(m_szPattern.size());
    pContext->m_nCurrentPos += m_brightleft ? n : -n;
    return 0;
}
