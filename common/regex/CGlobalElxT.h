#pragma once

#include "ElxInterface.h"

// \G: succeeds where the match began.
class CGlobalElxT : public ElxInterface
{
public:
    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;
};
