#include "CReluctantElxT.h"
#include "CMatchContext.h"

CReluctantElxT::CReluctantElxT(ElxInterface* pElx, int nMin, int nMax)
    : CRepeatElxT(pElx, nMin), m_nvart(nMax - nMin)
{
}

int CReluctantElxT::Match(CMatchContext* pContext) const
{
    if (!MatchFixed(pContext))
        return 0;
    pContext->m_stack.Push(0);
    return 1;
}

int CReluctantElxT::Retry(CMatchContext* pContext) const
{
    int nDone = pContext->m_stack.Pop();
    const int nHere = pContext->m_nCurrentPos;
    if (nDone < m_nvart && MatchConsuming(pContext)) {
        // As in the greedy repeat: the start sits above the match's state.
        pContext->m_stack.Push(nHere);
        pContext->m_stack.Push(nDone + 1);
        return 1;
    }
    for (; nDone > 0; --nDone) {
        const int nStart = pContext->m_stack.Pop();
        while (m_pelx->Retry(pContext)) {
            if (pContext->m_nCurrentPos != nStart) {
                pContext->m_stack.Push(nStart);
                pContext->m_stack.Push(nDone);
                return 1;
            }
        }
    }
    if (!RetryFixed(pContext))
        return 0;
    pContext->m_stack.Push(0);
    return 1;
}
