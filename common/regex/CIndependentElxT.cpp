#include "CIndependentElxT.h"
#include "CMatchContext.h"

CIndependentElxT::CIndependentElxT(ElxInterface* pElx) : m_pelx(pElx) {}

int CIndependentElxT::Match(CMatchContext* pContext) const
{
    const CMatchContext::AtomicMark mark = pContext->MarkAtomic();
    if (!m_pelx->Match(pContext))
        return 0;
    pContext->CommitAtomic(mark);
    return 1;
}

int CIndependentElxT::Retry(CMatchContext* pContext) const
{
    pContext->CancelAtomic();
    return 0;
}
