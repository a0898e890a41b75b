#include "CGlobalElxT.h"
#include "CMatchContext.h"

int CGlobalElxT::Match(CMatchContext* pContext) const
{
    return pContext->m_nCurrentPos == pContext->m_nBeginPos;
}

int CGlobalElxT::Retry(CMatchContext*) const
{
    return 0;
}
