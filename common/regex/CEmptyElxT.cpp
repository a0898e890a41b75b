#include "CEmptyElxT.h"

int CEmptyElxT::Match(CMatchContext*) const
{
    return 1;
}

int CEmptyElxT::Retry(CMatchContext*) const
{
    return 0;
}
