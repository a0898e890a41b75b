#pragma once

#include "CRepeatElxT.h"

// nMin matches, then as many more as possible up to nMax. Backtracking
// visits every way in greedy order: more matches before fewer, and after a
// match found a next way the repeat extends again from there.
class CGreedyElxT : public CRepeatElxT
{
public:
    CGreedyElxT(ElxInterface* pElx, int nMin, int nMax);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

protected:
    // Adds extra matches to the nDone already made; returns the new count.
    int Extend(CMatchContext* pContext, int nDone) const;

    int m_nvart;  // extra matches allowed beyond the fixed part
};
