#include "CBackrefElxT.h"
#include "CMatchContext.h"

#include <algorithm>

namespace {

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

CBackrefElxT::CBackrefElxT(int nNumber, int bRightLeft, int bIgnoreCase)
    : m_nnumber(nNumber), m_brightleft(bRightLeft), m_bignorecase(bIgnoreCase)
{
}

int CBackrefElxT::Match(CMatchContext* pContext) const
{
    const int r = pContext->CaptureRecord(m_nnumber);
    if (r < 0)
        return 0;
    const int a = pContext->m_capturestack[r + CMatchContext::CAP_START];
    int b = pContext->m_capturestack[r + CMatchContext::CAP_END];
    if (b == -1)
        b = pContext->m_nCurrentPos;
    const int from = std::min(a, b);
    const int n = std::max(a, b) - from;

    const int pos = pContext->m_nCurrentPos;
    int at;
    if (m_brightleft) {
        if (pos < n)
            return 0;
        at = pos - n;
    } else {
        if (pContext->m_nMatchStringLength - pos < n)
            return 0;
        at = pos;
    }
    const char* text = pContext->m_pMatchString;
    for (int i = 0; i < n; ++i) {
        const char x = text[from + i];
        const char y = text[at + i];
        if (m_bignorecase ? Upper(x) != Upper(y) : x != y)
            return 0;
    }
    pContext->m_nCurrentPos = m_brightleft ? at : pos + n;
    pContext->m_stack.Push(n);
    return 1;
}

int CBackrefElxT::Retry(CMatchContext* pContext) const
{
    const int n = pContext->m_stack.Pop();
    pContext->m_nCurrentPos += m_brightleft ? n : -n;
    return 0;
}
