#pragma once

#include "ElxInterface.h"

// One side of a capturing group. The opening side pushes a capture record
// (group, position, -1, depth) and points the group's index at it; the
// closing side stores the end position and the closing order. Right-to-left
// groups put the opening side last in their list, so it still runs first.
class CBracketElxT : public ElxInterface
{
public:
    CBracketElxT(int nNumber, int bClosing);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    int m_nnumber;  // set late for named groups

private:
    int m_bclosing;
};
