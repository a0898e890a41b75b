#include "CBracketElxT.h"
#include "CMatchContext.h"

CBracketElxT::CBracketElxT(int nNumber, int bClosing) : m_nnumber(nNumber), m_bclosing(bClosing) {}

int CBracketElxT::Match(CMatchContext* pContext) const
{
    CBufferT<int>& caps = pContext->m_capturestack;
    const int nOldIndex = pContext->CaptureRecord(m_nnumber);
    if (m_nnumber < 0)
        return 0;
    pContext->m_captureindex.Prepare(m_nnumber, -1);

    if (!m_bclosing) {
        // A group entered again while open (a call into itself) counts depth.
        int nDepth = 0;
        if (nOldIndex >= 0 && caps[nOldIndex + CMatchContext::CAP_END] == -1)
            nDepth = caps[nOldIndex + CMatchContext::CAP_COUNTER] + 1;
        const int r = caps.GetSize();
        caps.Push(m_nnumber);
        caps.Push(pContext->m_nCurrentPos);
        caps.Push(-1);
        caps.Push(nDepth);
        pContext->m_captureindex[m_nnumber] = r;
        pContext->m_stack.Push(nOldIndex);
        return 1;
    }

    // The innermost open record of this group.
    int r = nOldIndex;
    while (r >= 0 && (caps[r + CMatchContext::CAP_GROUP] != m_nnumber || caps[r + CMatchContext::CAP_END] != -1))
        r -= CMatchContext::CAP_SIZE;
    if (r < 0)
        return 0;
    pContext->m_stack.Push(nOldIndex);
    pContext->m_stack.Push(r);
    pContext->m_stack.Push(caps[r + CMatchContext::CAP_COUNTER]);
    caps[r + CMatchContext::CAP_END] = pContext->m_nCurrentPos;
    caps[r + CMatchContext::CAP_COUNTER] = pContext->m_nCaptureCounter++;
    pContext->m_captureindex[m_nnumber] = r;
    return 1;
}

int CBracketElxT::Retry(CMatchContext* pContext) const
{
    CBufferT<int>& caps = pContext->m_capturestack;
    if (!m_bclosing) {
        const int nOldIndex = pContext->m_stack.Pop();
        caps.Restore(caps.GetSize() - CMatchContext::CAP_SIZE);
        pContext->m_captureindex[m_nnumber] = nOldIndex;
        return 0;
    }
    const int nCounter = pContext->m_stack.Pop();
    const int r = pContext->m_stack.Pop();
    const int nOldIndex = pContext->m_stack.Pop();
    caps[r + CMatchContext::CAP_END] = -1;
    caps[r + CMatchContext::CAP_COUNTER] = nCounter;
    pContext->m_captureindex[m_nnumber] = nOldIndex;
    --pContext->m_nCaptureCounter;
    return 0;
}
