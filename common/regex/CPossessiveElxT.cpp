#include "CPossessiveElxT.h"
#include "CMatchContext.h"

CPossessiveElxT::CPossessiveElxT(ElxInterface* pElx, int nMin, int nMax) : CGreedyElxT(pElx, nMin, nMax) {}

int CPossessiveElxT::Match(CMatchContext* pContext) const
{
    const int nStart = pContext->m_nCurrentPos;
    const int nStackSize = pContext->m_stack.GetSize();
    const int nCaptureSize = pContext->m_capturestack.GetSize();
    if (!CGreedyElxT::Match(pContext))
        return 0;
    pContext->m_stack.Restore(nStackSize);
    pContext->m_stack.Push(nStart);
    pContext->m_stack.Push(nCaptureSize);
    return 1;
}

int CPossessiveElxT::Retry(CMatchContext* pContext) const
{
    const int nCaptureSize = pContext->m_stack.Pop();
    const int nStart = pContext->m_stack.Pop();
    pContext->TruncateCaptures(nCaptureSize);
    pContext->m_nCurrentPos = nStart;
    return 0;
}
