#include "CPossessiveElxT.h"
#include "CMatchContext.h"

CPossessiveElxT::CPossessiveElxT(ElxInterface* pElx, int nMin, int nMax) : CGreedyElxT(pElx, nMin, nMax) {}

int CPossessiveElxT::Match(CMatchContext* pContext) const
{
    const CMatchContext::AtomicMark mark = pContext->MarkAtomic();
    if (!CGreedyElxT::Match(pContext))
        return 0;
    pContext->CommitAtomic(mark);
    return 1;
}

int CPossessiveElxT::Retry(CMatchContext* pContext) const
{
    pContext->CancelAtomic();
    return 0;
}
