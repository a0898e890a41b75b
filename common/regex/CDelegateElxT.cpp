#include "CDelegateElxT.h"
#include "CMatchContext.h"

CDelegateElxT::CDelegateElxT(int nNumber, std::string name) : m_nnumber(nNumber), m_szName(std::move(name)) {}

template <class Step>
int CDelegateElxT::Enter(CMatchContext* pContext, int pos, bool bFirst, Step step) const
{
    // A retry runs under the same calls that its match passed through, so
    // only the first entry needs the checks (a retry must reach the called
    // node, whose state is on the stack).
    if (bFirst) {
        if (pContext->m_nCallDepth >= kMaxCallDepth)
            return 0;
        const CBufferT<int>& calls = pContext->m_callstack;
        for (int i = 0; i + 1 < calls.GetSize(); i += 2) {
            if (calls[i] == m_nnumber && calls[i + 1] == pos)
                return 0;  // same group, same position: no progress possible
        }
    }
    const int mark = pContext->m_callstack.GetSize();
    pContext->m_callstack.Push(m_nnumber);
    pContext->m_callstack.Push(pos);
    ++pContext->m_nCallDepth;
    const int result = step();
    --pContext->m_nCallDepth;
    pContext->m_callstack.Restore(mark);
    if (result)
        pContext->m_stack.Push(pos);
    return result;
}

int CDelegateElxT::Match(CMatchContext* pContext) const
{
    if (!m_pelx)
        return 1;
    return Enter(pContext, pContext->m_nCurrentPos, true, [&] { return m_pelx->Match(pContext); });
}

int CDelegateElxT::Retry(CMatchContext* pContext) const
{
    if (!m_pelx)
        return 0;
    // The entry position sits above the called node's own state.
    const int pos = pContext->m_stack.Pop();
    return Enter(pContext, pos, false, [&] { return m_pelx->Retry(pContext); });
}
