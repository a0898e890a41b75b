#include "CMatchContext.h"

void CMatchContext::TruncateCaptures(int nSize)
{
    while (m_capturestack.GetSize() > nSize && m_capturestack.GetSize() >= CAP_SIZE) {
        const int top = m_capturestack.GetSize() - CAP_SIZE;
        const int group = m_capturestack[top + CAP_GROUP];
        if (group >= 0 && group < m_captureindex.GetSize() && m_captureindex[group] == top) {
            int previous = -1;
            for (int r = top - CAP_SIZE; r >= 0; r -= CAP_SIZE) {
                if (m_capturestack[r + CAP_GROUP] == group) {
                    previous = r;
                    break;
                }
            }
            m_captureindex[group] = previous;
        }
        m_capturestack.Restore(top);
    }
}

void CMatchContext::CommitAtomic(const AtomicMark& mark)
{
    m_stack.Restore(mark.nStackSize);
    m_stack.Push(mark.nStart);
    m_stack.Push(mark.nCaptureSize);
}

void CMatchContext::CancelAtomic()
{
    const int nCaptureSize = m_stack.Pop();
    const int nStart = m_stack.Pop();
    TruncateCaptures(nCaptureSize);
    m_nCurrentPos = nStart;
}
