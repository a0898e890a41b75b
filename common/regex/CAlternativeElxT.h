#pragma once

#include "ElxInterface.h"

#include <vector>

// Alternatives in pattern order; the one that matched is kept on the stack.
class CAlternativeElxT : public ElxInterface
{
public:
    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    std::vector<ElxInterface*> m_elxlist;  // not owned

private:
    int MatchFrom(CMatchContext* pContext, int nIndex) const;
};
