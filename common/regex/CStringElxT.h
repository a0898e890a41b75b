#pragma once

#include "ElxInterface.h"

#include <string>

// A literal string; compared with both sides upper-cased when ignoring case.
class CStringElxT : public ElxInterface
{
public:
    CStringElxT(std::string text, int bRightLeft, int bIgnoreCase);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

private:
    std::string m_szPattern;
    int m_brightleft;
    int m_bignorecase;
};
