#include "CDelegateElxT.h"
#include "CMatchContext.h"

CDelegateElxT::CDelegateElxT(int nNumber, std::string name) : m_nnumber(nNumber), m_szName(std::move(name)) {}

int CDelegateElxT::Match(CMatchContext* pContext) const
{
    if (!m_pelx)
        return 1;
    if (pContext->m_nCallDepth >= kMaxCallDepth)
        return 0;
    ++pContext->m_nCallDepth;
    const int result = m_pelx->Match(pContext);
    --pContext->m_nCallDepth;
    return result;
}

int CDelegateElxT::Retry(CMatchContext* pContext) const
{
    if (!m_pelx)
        return 0;
    if (pContext->m_nCallDepth >= kMaxCallDepth)
        return 0;
    ++pContext->m_nCallDepth;
    const int result = m_pelx->Retry(pContext);
    --pContext->m_nCallDepth;
    return result;
}
