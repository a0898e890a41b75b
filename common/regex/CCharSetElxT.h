#pragma once

#include "ElxInterface.h"

// One character taken from a set the subclass defines (a bracket's ranges,
// a POSIX class). Stepping over it, either way, and undoing the step is the
// same for every set, so it lives here.
class CCharSetElxT : public ElxInterface
{
public:
    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    virtual bool IsContainChar(int ch) const = 0;

protected:
    explicit CCharSetElxT(int bRightLeft) : m_brightleft(bRightLeft) {}

    int m_brightleft;
};
