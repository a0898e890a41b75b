#include "CCharSetElxT.h"
#include "CMatchContext.h"

int CCharSetElxT::Match(CMatchContext* pContext) const
{
    const int pos = pContext->m_nCurrentPos;
    if (m_brightleft) {
        if (pos <= 0 || !IsContainChar(pContext->CharAt(pos - 1)))
            return 0;
        pContext->m_nCurrentPos = pos - 1;
    } else {
        if (pos >= pContext->m_nMatchStringLength || !IsContainChar(pContext->CharAt(pos)))
            return 0;
        pContext->m_nCurrentPos = pos + 1;
    }
    return 1;
}

int CCharSetElxT::Retry(CMatchContext* pContext) const
{
    pContext->m_nCurrentPos += m_brightleft ? 1 : -1;
    return 0;
}
