#pragma once

#include "ElxInterface.h"

// A look-ahead or look-behind: its child's result (inverted when negative)
// without consuming anything. Captures of a succeeding positive assertion
// stay until the assertion is backtracked.
class CAssertElxT : public ElxInterface
{
public:
    CAssertElxT(ElxInterface* pElx, int bNegative);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

private:
    ElxInterface* m_pelx;  // not owned
    int m_bnegative;
};
