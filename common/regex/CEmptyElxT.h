#pragma once

#include "ElxInterface.h"

// Matches the empty string, once.
class CEmptyElxT : public ElxInterface
{
public:
    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;
};
