#pragma once

// Turns a pattern into a tree of nodes: a lexer that cuts the pattern into
// tokens, then a recursive descent (alternation, sequence, repeat, item).
// Owns every node it creates; they are freed together on Clear or
// destruction. Malformed patterns never fail: an unclosed bracket or group
// ends at the end of the pattern, a brace that is no valid bound is a
// literal, a stray ")" is a literal.

#include "ElxInterface.h"

#include <memory>
#include <string>
#include <vector>

class CBracketElxT;
class CBackrefElxT;
class CDelegateElxT;
class CConditionElxT;

class CTreeBuilderT
{
public:
    // Compile flags (bit values).
    enum {
        SINGLELINE = 1,
        MULTILINE = 2,
        GLOBAL = 4,
        IGNORECASE = 8,
        RIGHTTOLEFT = 16,
        EXTENDED = 32,
    };

    static constexpr int kUnbounded = 2147483647;
    // Deeper nesting than this is refused (no tree) rather than recursed.
    static constexpr int kMaxNesting = 256;

    CTreeBuilderT() = default;
    ~CTreeBuilderT();
    CTreeBuilderT(const CTreeBuilderT&) = delete;
    CTreeBuilderT& operator=(const CTreeBuilderT&) = delete;

    // Builds the tree; a null pattern leaves none.
    void Build(const char* pattern, int length, int flags);
    void Clear();

    ElxInterface* m_pTop = nullptr;
    int m_nFlags = 0;
    int m_nMaxNumber = 0;  // highest group number, named groups included

    struct Token {
        int kind = 0;
        int ch = 0;
        int pos = 0;
        int len = 0;
        int n1 = 0;
        int n2 = 0;
        std::string name;
    };

private:
    void Tokenize(const char* pattern, int length);

    const Token& Cur() const { return At(m_nToken); }
    const Token& At(int i) const;
    bool IsSpecial(int i, int ch) const;
    bool IsQuantifier(int i) const;
    void Advance() { if (m_nToken < int(m_tokens.size())) ++m_nToken; }

    ElxInterface* BuildAlternative();
    ElxInterface* BuildList();
    ElxInterface* BuildRepeat();
    ElxInterface* BuildSimple();
    ElxInterface* BuildGroup();
    ElxInterface* BuildBracket();
    ElxInterface* BuildInner();  // an alternation up to and including ")"
    ElxInterface* GetStockElx(int nId);
    void Resolve();

    template <class T, class... Args>
    T* Make(Args&&... args)
    {
        auto node = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = node.get();
        m_objlist.push_back(std::move(node));
        return raw;
    }

    bool RightLeft() const { return (m_nFlags & RIGHTTOLEFT) != 0; }

    std::vector<Token> m_tokens;
    int m_nToken = 0;
    int m_nDepth = 0;
    bool m_bTooDeep = false;
    int m_nNumbered = 0;

    std::vector<std::unique_ptr<ElxInterface>> m_objlist;
    ElxInterface* m_stock[17] = {};

    std::vector<ElxInterface*> m_grouplist;  // by number; 0 is the whole pattern
    struct NamedGroup {
        std::string name;
        CBracketElxT* open;
        CBracketElxT* close;
        ElxInterface* node;
    };
    std::vector<NamedGroup> m_namedlist;
    std::vector<CBackrefElxT*> m_namedbackrefs;
    std::vector<std::string> m_namedbackrefnames;
    std::vector<CDelegateElxT*> m_calls;
    std::vector<CConditionElxT*> m_namedconditions;
};
