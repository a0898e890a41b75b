#pragma once

#include "CBufferT.h"

// The result of a match: element 0 is 1 when the text matched, element 1
// the highest group number N, then the start and end of every group 0..N
// (-1, -1 for a group that took no part). Empty means no match.
class CMatchRecord : public CBufferT<int>
{
public:
    int HasMatch() const { return GetSize() > 0 ? (*this)[0] : 0; }
    int MaxGroupNumber() const { return GetSize() > 1 ? (*this)[1] : -1; }
    int GetGroupStart(int nGroup) const { return Field(nGroup, 0); }
    int GetGroupEnd(int nGroup) const { return Field(nGroup, 1); }

private:
    int Field(int nGroup, int nWhich) const
    {
        if (nGroup < 0 || nGroup > MaxGroupNumber())
            return -1;
        return (*this)[2 + nGroup * 2 + nWhich];
    }
};
