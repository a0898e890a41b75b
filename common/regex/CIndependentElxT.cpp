#include "CIndependentElxT.h"
#include "CMatchContext.h"

CIndependentElxT::CIndependentElxT(ElxInterface* pElx) : m_pelx(pElx) {}

int CIndependentElxT::Match(CMatchContext* pContext) const
{
    const int nStart = pContext->m_nCurrentPos;
    const int nStackSize = pContext->m_stack.GetSize();
    const int nCaptureSize = pContext->m_capturestack.GetSize();
    if (!m_pelx->Match(pContext))
        return 0;
    pContext->m_stack.Restore(nStackSize);
    pContext->m_stack.Push(nStart);
    pContext->m_stack.Push(nCaptureSize);
    return 1;
}

int CIndependentElxT::Retry(CMatchContext* pContext) const
{
    const int nCaptureSize = pContext->m_stack.Pop();
    const int nStart = pContext->m_stack.Pop();
    pContext->TruncateCaptures(nCaptureSize);
    pContext->m_nCurrentPos = nStart;
    return 0;
}
