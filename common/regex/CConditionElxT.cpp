#include "CConditionElxT.h"
#include "CMatchContext.h"

int CConditionElxT::Match(CMatchContext* pContext) const
{
    int bCondition;
    if (m_pelxask) {
        bCondition = m_pelxask->Match(pContext);
    } else {
        const int r = pContext->CaptureRecord(m_nnumber);
        bCondition = r >= 0 && pContext->m_capturestack[r + CMatchContext::CAP_END] != -1;
    }
    const ElxInterface* branch = bCondition ? m_pelxyes : m_pelxno;
    if (!branch || branch->Match(pContext)) {
        pContext->m_stack.Push(bCondition);
        return 1;
    }
    if (bCondition && m_pelxask)
        m_pelxask->Retry(pContext);
    return 0;
}

int CConditionElxT::Retry(CMatchContext* pContext) const
{
    const int bCondition = pContext->m_stack.Pop();
    const ElxInterface* branch = bCondition ? m_pelxyes : m_pelxno;
    if (branch && branch->Retry(pContext)) {
        pContext->m_stack.Push(bCondition);
        return 1;
    }
    if (bCondition && m_pelxask)
        m_pelxask->Retry(pContext);
    return 0;
}
