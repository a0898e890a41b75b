#include "CAssertElxT.h"
#include "CMatchContext.h"

CAssertElxT::CAssertElxT(ElxInterface* pElx, int bNegative) : m_pelx(pElx), m_bnegative(bNegative) {}

int CAssertElxT::Match(CMatchContext* pContext) const
{
    const int nStart = pContext->m_nCurrentPos;
    const int nStackSize = pContext->m_stack.GetSize();
    const int nCaptureSize = pContext->m_capturestack.GetSize();
    const int bMatched = m_pelx->Match(pContext);
    pContext->m_nCurrentPos = nStart;
    pContext->m_stack.Restore(nStackSize);
    if (m_bnegative) {
        if (bMatched) {
            pContext->TruncateCaptures(nCaptureSize);
            return 0;
        }
    } else if (!bMatched) {
        return 0;
    }
    pContext->m_stack.Push(nCaptureSize);
    return 1;
}

int CAssertElxT::Retry(CMatchContext* pContext) const
{
    pContext->TruncateCaptures(pContext->m_stack.Pop());
    return 0;
}
