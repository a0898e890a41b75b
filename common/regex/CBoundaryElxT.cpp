#include "CBoundaryElxT.h"
#include "CMatchContext.h"

namespace {

bool IsWordChar(int ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
}

} // namespace

CBoundaryElxT::CBoundaryElxT(int nType, int bNegative) : m_ntype(nType), m_bnegative(bNegative) {}

int CBoundaryElxT::Match(CMatchContext* pContext) const
{
    const int pos = pContext->m_nCurrentPos;
    const int len = pContext->m_nMatchStringLength;
    auto at = [&](int i) { return (i >= 0 && i < len) ? pContext->CharAt(i) : 0; };
    const bool wordBefore = pos > 0 && IsWordChar(at(pos - 1));
    const bool wordAfter = pos < len && IsWordChar(at(pos));

    bool result = false;
    switch (m_ntype) {
    case BOUNDARY_FILE_BEGIN:
        result = pos == 0;
        break;
    case BOUNDARY_FILE_END:
        result = pos == len;
        break;
    case BOUNDARY_FILE_END_N:
        result = pos == len || (pos == len - 1 && at(pos) == '\n')
                 || (pos == len - 2 && at(pos) == '\r' && at(pos + 1) == '\n');
        break;
    case BOUNDARY_LINE_BEGIN:
        result = pos == 0 || at(pos - 1) == '\n' || (at(pos - 1) == '\r' && (pos >= len || at(pos) != '\n'));
        break;
    case BOUNDARY_LINE_END:
        result = pos >= len || at(pos) == '\r' || (at(pos) == '\n' && (pos == 0 || at(pos - 1) != '\r'));
        break;
    case BOUNDARY_WORD_BEGIN:
        result = !wordBefore && wordAfter;
        break;
    case BOUNDARY_WORD_END:
        result = wordBefore && !wordAfter;
        break;
    case BOUNDARY_WORD_EDGE:
        result = wordBefore != wordAfter;
        break;
    default:
        break;
    }
    return m_bnegative ? !result : result;
}

int CBoundaryElxT::Retry(CMatchContext*) const
{
    return 0;
}
