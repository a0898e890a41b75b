#pragma once

#include "ElxInterface.h"

// A zero-width test of one kind, positive or negated.
class CBoundaryElxT : public ElxInterface
{
public:
    enum Kind {
        BOUNDARY_FILE_BEGIN = 0,    // start of text
        BOUNDARY_FILE_END = 1,      // end of text
        BOUNDARY_FILE_END_N = 2,    // end, or before a final \n or \r\n
        BOUNDARY_LINE_BEGIN = 3,
        BOUNDARY_LINE_END = 4,
        BOUNDARY_WORD_BEGIN = 5,
        BOUNDARY_WORD_END = 6,
        BOUNDARY_WORD_EDGE = 7,
    };

    CBoundaryElxT(int nType, int bNegative = 0);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

private:
    int m_ntype;
    int m_bnegative;
};
