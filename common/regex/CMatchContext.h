#pragma once

// The state of one match: the backtracking stack, the capture records and
// the text. Nodes keep everything they need to resume on these stacks, so a
// node object can serve any number of nested or repeated uses.

#include "CBufferT.h"

class CMatchContext
{
public:
    // A capture record is four ints on m_capturestack.
    enum { CAP_GROUP = 0, CAP_START = 1, CAP_END = 2, CAP_COUNTER = 3, CAP_SIZE = 4 };

    CBufferT<int> m_stack;         // backtracking stack
    CBufferT<int> m_capturestack;  // capture records
    CBufferT<int> m_captureindex;  // group number -> its current record, -1 none

    int m_nCurrentPos = 0;
    int m_nBeginPos = 0;
    int m_nLastBeginPos = -1;
    int m_nCaptureCounter = 0;
    int m_nCallDepth = 0;          // nesting of group calls (recursion guard)
    CBufferT<int> m_callstack;     // running calls: group number, entry position

    const char* m_pMatchString = nullptr;
    int m_nMatchStringLength = 0;

    // Character at pos as a signed 8-bit code (the engine compares so).
    int CharAt(int pos) const { return static_cast<signed char>(m_pMatchString[pos]); }

    // Current record of group nGroup, or -1 (also for unknown groups).
    int CaptureRecord(int nGroup) const
    {
        if (nGroup < 0 || nGroup >= m_captureindex.GetSize())
            return -1;
        return m_captureindex[nGroup];
    }

    // Drops the capture records above nSize; a group whose current record
    // goes falls back to its latest earlier record.
    void TruncateCaptures(int nSize);

    // Atomic matching (independent groups, possessive repeats): where the
    // element starts, taken before it matches.
    struct AtomicMark
    {
        int nStart;
        int nStackSize;
        int nCaptureSize;
    };
    AtomicMark MarkAtomic() const
    {
        return {m_nCurrentPos, m_stack.GetSize(), m_capturestack.GetSize()};
    }
    // After the element matched: forgets its backtracking state, so it is
    // never retried, and keeps what CancelAtomic needs to undo it.
    void CommitAtomic(const AtomicMark& mark);
    // Retry of an atomic element: undoes its match as a whole.
    void CancelAtomic();
};
