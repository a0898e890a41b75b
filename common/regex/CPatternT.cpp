#include "CPatternT.h"

#include <cstring>

CPatternT::CPatternT(const char* pattern, int flags)
{
    Compile(pattern, flags);
}

void CPatternT::Compile(const char* pattern, int flags)
{
    Compile(pattern, pattern ? int(std::strlen(pattern)) : 0, flags);
}

void CPatternT::Compile(const char* pattern, int length, int flags)
{
    m_builder.Build(pattern, length < 0 ? 0 : length, flags);
}

CMatchRecord CPatternT::Match(const char* text, CMatchContext* pContext) const
{
    return Match(text, text ? int(std::strlen(text)) : 0, pContext);
}

CMatchRecord CPatternT::Match(const char* text, int length, CMatchContext* pContext) const
{
    CMatchRecord result;
    if (!m_builder.m_pTop || !text || length < 0)
        return result;

    CMatchContext local;
    CMatchContext* ctx = pContext ? pContext : &local;
    ctx->m_stack.Clear();
    ctx->m_capturestack.Clear();
    ctx->m_captureindex.Clear();
    ctx->m_nLastBeginPos = -1;
    ctx->m_nCaptureCounter = 0;
    ctx->m_nCallDepth = 0;
    ctx->m_callstack.Clear();
    ctx->m_pMatchString = text;
    ctx->m_nMatchStringLength = length;

    const bool rtl = (m_builder.m_nFlags & CTreeBuilderT::RIGHTTOLEFT) != 0;
    ctx->m_nBeginPos = ctx->m_nCurrentPos = rtl ? length : 0;
    const int farEnd = rtl ? 0 : length;

    const int maxNumber = m_builder.m_nMaxNumber;
    ctx->m_captureindex.Prepare(maxNumber, -1);
    ctx->m_captureindex[0] = 0;
    ctx->m_capturestack.Push(0);
    ctx->m_capturestack.Push(ctx->m_nCurrentPos);
    ctx->m_capturestack.Push(-1);
    ctx->m_capturestack.Push(-1);

    const ElxInterface* top = m_builder.m_pTop;
    if (!top->Match(ctx))
        return result;
    // Only a match that reaches the far end counts: ask for the next way
    // until one does or none is left. The search space is finite (every
    // extra repeat consumes), so this ends.
    while (ctx->m_nCurrentPos != farEnd) {
        if (!top->Retry(ctx))
            return result;
        ctx->m_nLastBeginPos = ctx->m_nCurrentPos;
    }
    ctx->m_capturestack[CMatchContext::CAP_END] = ctx->m_nCurrentPos;

    result.Push(1);
    result.Push(maxNumber);
    for (int g = 0; g <= maxNumber; ++g) {
        const int r = ctx->m_captureindex[g];
        const int a = r >= 0 ? ctx->m_capturestack[r + CMatchContext::CAP_START] : -1;
        const int b = r >= 0 ? ctx->m_capturestack[r + CMatchContext::CAP_END] : -1;
        if (r < 0 || b == -1) {
            result.Push(-1);
            result.Push(-1);
        } else {
            result.Push(a < b ? a : b);
            result.Push(a < b ? b : a);
        }
    }
    return result;
}
