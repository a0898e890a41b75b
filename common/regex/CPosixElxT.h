#pragma once

#include "CCharSetElxT.h"

// One character of a POSIX class ([:alpha:] ...), or not of it when negated.
// An unknown class name never matches.
class CPosixElxT : public CCharSetElxT
{
public:
    CPosixElxT(const char* name, int bRightLeft, int bInvert);

    bool IsContainChar(int ch) const override;

private:
    int m_nclass;  // -1 unknown
    int m_binvert;
};
