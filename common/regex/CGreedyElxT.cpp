#include "CGreedyElxT.h"
#include "CMatchContext.h"

CGreedyElxT::CGreedyElxT(ElxInterface* pElx, int nMin, int nMax)
    : CRepeatElxT(pElx, nMin), m_nvart(nMax - nMin)
{
}

int CGreedyElxT::Extend(CMatchContext* pContext, int nDone) const
{
    while (nDone < m_nvart) {
        const int nStart = pContext->m_nCurrentPos;
        if (!MatchConsuming(pContext))
            break;
        // Each extra match keeps its start above its own state, so a later
        // retry can refuse a way that consumes nothing.
        pContext->m_stack.Push(nStart);
        ++nDone;
    }
    return nDone;
}

int CGreedyElxT::Match(CMatchContext* pContext) const
{
    if (!MatchFixed(pContext))
        return 0;
    pContext->m_stack.Push(Extend(pContext, 0));
    return 1;
}

int CGreedyElxT::Retry(CMatchContext* pContext) const
{
    const int nDone = pContext->m_stack.Pop();
    if (nDone > 0) {
        const int nStart = pContext->m_stack.Pop();
        while (m_pelx->Retry(pContext)) {
            if (pContext->m_nCurrentPos != nStart) {
                // The last extra match found another way: extend again from it.
                pContext->m_stack.Push(nStart);
                pContext->m_stack.Push(Extend(pContext, nDone));
                return 1;
            }
        }
        // The last extra match is undone: one fewer.
        pContext->m_stack.Push(nDone - 1);
        return 1;
    }
    if (!RetryFixed(pContext))
        return 0;
    pContext->m_stack.Push(Extend(pContext, 0));
    return 1;
}
