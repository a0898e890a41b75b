#pragma once

#include "ElxInterface.h"

// One character of a POSIX class ([:alpha:] ...), or not of it when negated.
// An unknown class name never matches.
class CPosixElxT : public ElxInterface
{
public:
    CPosixElxT(const char* name, int bRightLeft, int bInvert);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    bool IsContainChar(int ch) const;

private:
    int m_nclass;  // -1 unknown
    int m_brightleft;
    int m_binvert;
};
