#pragma once

#include "CRepeatElxT.h"

// nMin matches and no extra one at first; each Retry adds one more (up to
// nMax), and only when none can be added gives up the latest one's way.
class CReluctantElxT : public CRepeatElxT
{
public:
    CReluctantElxT(ElxInterface* pElx, int nMin, int nMax);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

private:
    int m_nvart;
};
