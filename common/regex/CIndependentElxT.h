#pragma once

#include "ElxInterface.h"

// An atomic group: its child once, every choice point the child made dropped.
class CIndependentElxT : public ElxInterface
{
public:
    explicit CIndependentElxT(ElxInterface* pElx);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

private:
    ElxInterface* m_pelx;  // not owned
};
