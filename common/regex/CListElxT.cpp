#include "CListElxT.h"

CListElxT::CListElxT(int bRightLeft) : m_brightleft(bRightLeft) {}

const ElxInterface* CListElxT::Child(int nStep) const
{
    const int n = static_cast<int>(m_elxlist.size());
    return m_brightleft ? m_elxlist[n - 1 - nStep] : m_elxlist[nStep];
}

int CListElxT::MatchFrom(CMatchContext* pContext, int nStep) const
{
    const int n = static_cast<int>(m_elxlist.size());
    while (nStep < n) {
        if (Child(nStep)->Match(pContext)) {
            ++nStep;
            continue;
        }
        // Ask the children before this one, latest first, for a next way.
        for (--nStep; nStep >= 0; --nStep) {
            if (Child(nStep)->Retry(pContext))
                break;
        }
        if (nStep < 0)
            return 0;
        ++nStep;
    }
    return 1;
}

int CListElxT::Match(CMatchContext* pContext) const
{
    return MatchFrom(pContext, 0);
}

int CListElxT::Retry(CMatchContext* pContext) const
{
    int nStep = static_cast<int>(m_elxlist.size()) - 1;
    for (; nStep >= 0; --nStep) {
        if (Child(nStep)->Retry(pContext))
            break;
    }
    if (nStep < 0)
        return 0;
    return MatchFrom(pContext, nStep + 1);
}
