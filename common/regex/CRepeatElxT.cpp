#include "CRepeatElxT.h"
#include "CMatchContext.h"

CRepeatElxT::CRepeatElxT(ElxInterface* pElx, int nFixed) : m_pelx(pElx), m_nfixed(nFixed) {}

int CRepeatElxT::MatchFixedFrom(CMatchContext* pContext, int nDone) const
{
    while (nDone < m_nfixed) {
        if (m_pelx->Match(pContext)) {
            ++nDone;
            continue;
        }
        // The latest earlier match is the one whose state is on top.
        for (--nDone; nDone >= 0; --nDone) {
            if (m_pelx->Retry(pContext))
                break;
        }
        if (nDone < 0)
            return 0;
        ++nDone;
    }
    return 1;
}

int CRepeatElxT::MatchFixed(CMatchContext* pContext) const
{
    return MatchFixedFrom(pContext, 0);
}

int CRepeatElxT::RetryFixed(CMatchContext* pContext) const
{
    int nDone = m_nfixed - 1;
    for (; nDone >= 0; --nDone) {
        if (m_pelx->Retry(pContext))
            break;
    }
    if (nDone < 0)
        return 0;
    return MatchFixedFrom(pContext, nDone + 1);
}

int CRepeatElxT::MatchConsuming(CMatchContext* pContext) const
{
    const int before = pContext->m_nCurrentPos;
    if (!m_pelx->Match(pContext))
        return 0;
    while (pContext->m_nCurrentPos == before) {
        if (!m_pelx->Retry(pContext))
            return 0;
    }
    return 1;
}

int CRepeatElxT::Match(CMatchContext* pContext) const
{
    return MatchFixed(pContext);
}

int CRepeatElxT::Retry(CMatchContext* pContext) const
{
    return RetryFixed(pContext);
}
