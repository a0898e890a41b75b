#pragma once

#include "ElxInterface.h"

// Its child exactly m_nfixed times, backtracking among those matches.
// The base of the greedy, reluctant and possessive repeats.
class CRepeatElxT : public ElxInterface
{
public:
    CRepeatElxT(ElxInterface* pElx, int nFixed);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

protected:
    int MatchFixed(CMatchContext* pContext) const;
    int RetryFixed(CMatchContext* pContext) const;
    // Matches the child at the current position, insisting that it consume
    // something: a repeat may not loop on the empty string.
    int MatchConsuming(CMatchContext* pContext) const;

    ElxInterface* m_pelx;  // not owned
    int m_nfixed;

private:
    int MatchFixedFrom(CMatchContext* pContext, int nDone) const;
};
