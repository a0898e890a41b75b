#pragma once

#include "CGreedyElxT.h"

// As greedy, then every choice point the repeat made is dropped: it never
// gives anything back.
class CPossessiveElxT : public CGreedyElxT
{
public:
    CPossessiveElxT(ElxInterface* pElx, int nMin, int nMax);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;
};
