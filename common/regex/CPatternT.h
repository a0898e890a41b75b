#pragma once

// A compiled pattern of the backtracking engine. Match is a whole-text
// match: it starts at the first character only (the last one right-to-left)
// and succeeds only when the pattern consumes the text to its very end, so
// a pattern never matches part of a text, with or without ^ and $.

#include "CMatchContext.h"
#include "CMatchRecord.h"
#include "CTreeBuilderT.h"

class CPatternT
{
public:
    explicit CPatternT(const char* pattern = nullptr, int flags = 0);
    CPatternT(const CPatternT&) = delete;
    CPatternT& operator=(const CPatternT&) = delete;

    // Frees the previous tree and builds a new one; a null pattern leaves
    // none, an empty pattern matches only the empty text.
    void Compile(const char* pattern, int flags = 0);
    void Compile(const char* pattern, int length, int flags);

    // Text counted up to its first zero byte.
    CMatchRecord Match(const char* text, CMatchContext* pContext = nullptr) const;
    // Text of the given length (zero bytes are ordinary characters).
    CMatchRecord Match(const char* text, int length, CMatchContext* pContext = nullptr) const;

    bool HasTree() const { return m_builder.m_pTop != nullptr; }
    int MaxGroupNumber() const { return m_builder.m_nMaxNumber; }

private:
    CTreeBuilderT m_builder;
};
