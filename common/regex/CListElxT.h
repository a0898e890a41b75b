#pragma once

#include "ElxInterface.h"

#include <vector>

// A sequence: its children in order (last to first when right-to-left).
class CListElxT : public ElxInterface
{
public:
    explicit CListElxT(int bRightLeft);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    std::vector<ElxInterface*> m_elxlist;  // not owned

private:
    const ElxInterface* Child(int nStep) const;
    // Matches children from nStep on, backtracking into earlier ones.
    int MatchFrom(CMatchContext* pContext, int nStep) const;

    int m_brightleft;
};
