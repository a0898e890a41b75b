#include "CAlternativeElxT.h"
#include "CMatchContext.h"

int CAlternativeElxT::MatchFrom(CMatchContext* pContext, int nIndex) const
{
    const int n = static_cast<int>(m_elxlist.size());
    for (; nIndex < n; ++nIndex) {
        if (m_elxlist[nIndex]->Match(pContext)) {
            pContext->m_stack.Push(nIndex);
            return 1;
        }
    }
    return 0;
}

int CAlternativeElxT::Match(CMatchContext* pContext) const
{
    return MatchFrom(pContext, 0);
}

int CAlternativeElxT::Retry(CMatchContext* pContext) const
{
    const int nIndex = pContext->m_stack.Pop();
    if (m_elxlist[nIndex]->Retry(pContext)) {
        pContext->m_stack.Push(nIndex);
        return 1;
    }
    return MatchFrom(pContext, nIndex + 1);
}
