#include "CTreeBuilderT.h"

#include "CAlternativeElxT.h"
#include "CAssertElxT.h"
#include "CBackrefElxT.h"
#include "CBoundaryElxT.h"
#include "CBracketElxT.h"
#include "CConditionElxT.h"
#include "CDelegateElxT.h"
#include "CEmptyElxT.h"
#include "CGlobalElxT.h"
#include "CGreedyElxT.h"
#include "CIndependentElxT.h"
#include "CListElxT.h"
#include "CPossessiveElxT.h"
#include "CPosixElxT.h"
#include "CRangeElxT.h"
#include "CReluctantElxT.h"
#include "CRepeatElxT.h"
#include "CStringElxT.h"

#include <algorithm>

namespace {

enum TokenKind {
    TK_END,
    TK_LIT,      // ch: the character (signed 8-bit value)
    TK_SPECIAL,  // ch: one of $ ( ) * + . ? [ ] ^ | - (as the context makes them special)
    TK_CLASS,    // ch: d D s S w W
    TK_BOUND,    // ch: A b B G Z z
    TK_BACKREF,  // n1: group number, or -1 with name
    TK_GROUP,    // n1: group kind (below)
    TK_QUANT,    // n1, n2: bounds of {n}, {n,}, {n,m}
    TK_POSIX,    // name; n1: negated
};

enum GroupKind {
    G_CAPTURE,
    G_NONCAP,
    G_LOOKAHEAD,
    G_NLOOKAHEAD,
    G_LOOKBEHIND,
    G_NLOOKBEHIND,
    G_ATOMIC,
    G_NAMED,    // name
    G_COND,     // n2: COND_*; ch: group number for COND_NUMBER; name for COND_NAME
    G_CALL,     // n2: group number, or -1 with name
    G_OPTIONS,  // ch: flags on; n2: flags off; name ":" (scoped group) or ")" (rest of group)
};

enum CondKind { COND_NUMBER, COND_NAME, COND_LOOKAHEAD, COND_NLOOKAHEAD, COND_LOOKBEHIND, COND_NLOOKBEHIND };

int SignedChar(int c)
{
    return static_cast<signed char>(static_cast<unsigned char>(c & 0xFF));
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return s;
}

bool AllDigits(const std::string& s)
{
    return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), IsDigit);
}

int OptionBit(char c)
{
    switch (c) {
    case 'i': case 'I': return CTreeBuilderT::IGNORECASE;
    case 'm': case 'M': return CTreeBuilderT::MULTILINE;
    case 's': case 'S': return CTreeBuilderT::SINGLELINE;
    case 'g': case 'G': return CTreeBuilderT::GLOBAL;
    default: return 0;
    }
}

} // namespace

CTreeBuilderT::~CTreeBuilderT() = default;

void CTreeBuilderT::Clear()
{
    m_pTop = nullptr;
    m_nMaxNumber = 0;
    m_tokens.clear();
    m_nToken = 0;
    m_nDepth = 0;
    m_bTooDeep = false;
    m_nNumbered = 0;
    m_objlist.clear();
    std::fill(std::begin(m_stock), std::end(m_stock), nullptr);
    m_grouplist.clear();
    m_namedlist.clear();
    m_namedbackrefs.clear();
    m_namedbackrefnames.clear();
    m_calls.clear();
    m_namedconditions.clear();
}

void CTreeBuilderT::Build(const char* pattern, int length, int flags)
{
    Clear();
    if (!pattern)
        return;
    m_nFlags = flags;
    Tokenize(pattern, length);
    m_grouplist.push_back(nullptr);
    m_pTop = BuildAlternative();
    if (m_bTooDeep) {
        Clear();
        return;
    }
    m_grouplist[0] = m_pTop;
    Resolve();
}

const CTreeBuilderT::Token& CTreeBuilderT::At(int i) const
{
    // The token list always ends with TK_END; reading past it gives it again.
    return m_tokens[static_cast<size_t>(std::min(i, int(m_tokens.size()) - 1))];
}

bool CTreeBuilderT::IsSpecial(int i, int ch) const
{
    const Token& t = At(i);
    return t.kind == TK_SPECIAL && t.ch == ch;
}

bool CTreeBuilderT::IsQuantifier(int i) const
{
    const Token& t = At(i);
    return t.kind == TK_QUANT || (t.kind == TK_SPECIAL && (t.ch == '*' || t.ch == '+' || t.ch == '?'));
}

void CTreeBuilderT::Tokenize(const char* p, int len)
{
    m_tokens.clear();
    int i = 0;
    int depth = 0;        // inside a bracket
    bool afterOpen = false;
    int quote = 0;        // 1 \Q, 2 \L, 3 \U up to \E
    const bool extended = (m_nFlags & EXTENDED) != 0;

    auto push = [&](int kind, int ch, int pos, int n, int n1 = 0, int n2 = 0, std::string name = {}) {
        Token t;
        t.kind = kind;
        t.ch = ch;
        t.pos = pos;
        t.len = n;
        t.n1 = n1;
        t.n2 = n2;
        t.name = std::move(name);
        m_tokens.push_back(std::move(t));
    };
    // Reads a name up to the delimiter; false when the pattern ends first.
    auto readName = [&](int from, char delim, std::string& name, int& next) {
        int j = from;
        while (j < len && p[j] != delim)
            ++j;
        if (j >= len)
            return false;
        name.assign(p + from, p + j);
        next = j + 1;
        return true;
    };

    while (i < len) {
        const char c = p[i];
        if (quote) {
            if (c == '\\' && i + 1 < len && p[i + 1] == 'E') {
                quote = 0;
                i += 2;
                continue;
            }
            char v = c;
            if (quote == 2 && v >= 'A' && v <= 'Z')
                v = char(v - 'A' + 'a');
            else if (quote == 3 && v >= 'a' && v <= 'z')
                v = char(v - 'a' + 'A');
            push(TK_LIT, SignedChar(v), i, 1);
            afterOpen = false;
            ++i;
            continue;
        }
        if (extended) {
            if (IsBlank(c)) {
                ++i;
                continue;
            }
            if (c == '#') {
                while (i < len && p[i] != '\n' && p[i] != '\r')
                    ++i;
                continue;
            }
        }
        const bool wasAfterOpen = afterOpen;
        afterOpen = false;

        if (c == '\\') {
            const int start = i;
            if (i + 1 >= len) {
                push(TK_LIT, '\\', start, 1);
                ++i;
                continue;
            }
            const char e = p[i + 1];
            i += 2;
            switch (e) {
            case 'a': push(TK_LIT, 7, start, 2); break;
            case 'e': push(TK_LIT, 27, start, 2); break;
            case 'f': push(TK_LIT, 12, start, 2); break;
            case 'n': push(TK_LIT, 10, start, 2); break;
            case 'r': push(TK_LIT, 13, start, 2); break;
            case 't': push(TK_LIT, 9, start, 2); break;
            case 'v': push(TK_LIT, 11, start, 2); break;
            case 'b':
                if (depth)
                    push(TK_LIT, 8, start, 2);
                else
                    push(TK_BOUND, 'b', start, 2);
                break;
            case 'x':
            case 'u': {
                unsigned value = 0;
                if (i < len && p[i] == '{') {
                    int j = i + 1, n = 0;
                    while (j < len && n < 8 && HexValue(p[j]) >= 0) {
                        value = value * 16 + unsigned(HexValue(p[j++]));
                        ++n;
                    }
                    if (j < len && p[j] == '}')
                        ++j;
                    i = j;
                } else {
                    const int maxDigits = e == 'x' ? 2 : 4;
                    for (int n = 0; n < maxDigits && i < len && HexValue(p[i]) >= 0; ++n)
                        value = value * 16 + unsigned(HexValue(p[i++]));
                }
                push(TK_LIT, SignedChar(int(value & 0xFF)), start, i - start);
                break;
            }
            case 'A': case 'B': case 'G': case 'Z': case 'z':
                if (depth)
                    push(TK_LIT, e, start, 2);
                else
                    push(TK_BOUND, e, start, 2);
                break;
            case 'd': case 'D': case 's': case 'S': case 'w': case 'W':
                push(TK_CLASS, e, start, 2);
                break;
            case 'k':
            case 'g': {
                if (depth) {
                    push(TK_LIT, e, start, 2);
                    break;
                }
                std::string name;
                int next = i;
                if (i < len && (p[i] == '<' || p[i] == '\'')
                    && readName(i + 1, p[i] == '<' ? '>' : '\'', name, next)) {
                    i = next;
                    if (AllDigits(name))
                        push(TK_BACKREF, 0, start, i - start, std::stoi(name));
                    else
                        push(TK_BACKREF, 0, start, i - start, -1, 0, name);
                } else if (i < len && IsDigit(p[i])) {
                    int number = 0;
                    for (int n = 0; n < 3 && i < len && IsDigit(p[i]); ++n)
                        number = number * 10 + (p[i++] - '0');
                    push(TK_BACKREF, 0, start, i - start, number);
                } else {
                    push(TK_LIT, e, start, 2);
                }
                break;
            }
            case 'Q': quote = 1; break;
            case 'L': quote = 2; break;
            case 'U': quote = 3; break;
            case 'E': break;
            default:
                if (IsDigit(e) && !depth) {
                    int number = e - '0';
                    for (int n = 1; n < 3 && i < len && IsDigit(p[i]); ++n)
                        number = number * 10 + (p[i++] - '0');
                    push(TK_BACKREF, 0, start, i - start, number);
                } else {
                    push(TK_LIT, SignedChar(e), start, 2);
                }
                break;
            }
            continue;
        }

        if (depth) {
            if (c == ']') {
                push(TK_SPECIAL, c, i++, 1);
                depth = 0;
            } else if (c == '-') {
                push(TK_SPECIAL, c, i++, 1);
            } else if (c == '^' && wasAfterOpen) {
                push(TK_SPECIAL, c, i++, 1);
            } else if (c == '[' && i + 1 < len && p[i + 1] == ':') {
                // [:name:] or [:^name:]
                int j = i + 2;
                const bool negated = j < len && p[j] == '^';
                if (negated)
                    ++j;
                const int nameStart = j;
                while (j < len && p[j] != ':' && p[j] != ']')
                    ++j;
                if (j + 1 < len && p[j] == ':' && p[j + 1] == ']') {
                    push(TK_POSIX, 0, i, j + 2 - i, negated, 0, std::string(p + nameStart, p + j));
                    i = j + 2;
                } else {
                    push(TK_LIT, '[', i++, 1);
                }
            } else {
                push(TK_LIT, SignedChar(c), i++, 1);
            }
            continue;
        }

        switch (c) {
        case '[':
            push(TK_SPECIAL, c, i++, 1);
            depth = 1;
            afterOpen = true;
            break;
        case '$': case ')': case '*': case '+': case '.': case '?': case '^': case '|':
            push(TK_SPECIAL, c, i++, 1);
            break;
        case '{': {
            // {n}, {n,}, {n,m}: blanks skipped, each bound at most 3 digits.
            int j = i + 1;
            auto blanks = [&] { while (j < len && p[j] == ' ') ++j; };
            auto digits = [&](int& value) {
                int n = 0;
                value = 0;
                while (j < len && IsDigit(p[j])) {
                    // Digits past the third make no bound: count them, but
                    // stop adding before the value could overflow.
                    if (n < 3)
                        value = value * 10 + (p[j] - '0');
                    ++j;
                    ++n;
                }
                return n;
            };
            int lo = 0, hi = 0;
            bool ok = false;
            blanks();
            int n = digits(lo);
            if (n >= 1 && n <= 3) {
                blanks();
                if (j < len && p[j] == '}') {
                    hi = lo;
                    ok = true;
                } else if (j < len && p[j] == ',') {
                    ++j;
                    blanks();
                    n = digits(hi);
                    if (n == 0)
                        hi = kUnbounded;
                    blanks();
                    ok = n <= 3 && j < len && p[j] == '}';
                }
            }
            if (ok) {
                push(TK_QUANT, 0, i, j + 1 - i, lo, hi);
                i = j + 1;
            } else {
                push(TK_LIT, '{', i++, 1);
            }
            break;
        }
        case '(': {
            const int start = i;
            if (i + 1 >= len || p[i + 1] != '?') {
                push(TK_GROUP, 0, start, 1, G_CAPTURE);
                ++i;
                break;
            }
            int j = i + 2;
            const char k = j < len ? p[j] : '\0';
            const char k2 = j + 1 < len ? p[j + 1] : '\0';
            std::string name;
            int next = 0;
            if (k == '#') {
                while (j < len && p[j] != ')')
                    ++j;
                i = j < len ? j + 1 : len;
            } else if (k == ':') {
                push(TK_GROUP, 0, start, 3, G_NONCAP);
                i = j + 1;
            } else if (k == '=' || k == '!') {
                push(TK_GROUP, 0, start, 3, k == '=' ? G_LOOKAHEAD : G_NLOOKAHEAD);
                i = j + 1;
            } else if (k == '<' && (k2 == '=' || k2 == '!')) {
                push(TK_GROUP, 0, start, 4, k2 == '=' ? G_LOOKBEHIND : G_NLOOKBEHIND);
                i = j + 2;
            } else if (k == '>') {
                push(TK_GROUP, 0, start, 3, G_ATOMIC);
                i = j + 1;
            } else if ((k == '<' || k == '\'') && readName(j + 1, k == '<' ? '>' : '\'', name, next)) {
                push(TK_GROUP, 0, start, next - start, G_NAMED, 0, name);
                i = next;
            } else if (k == 'P' && k2 == '<' && readName(j + 2, '>', name, next)) {
                push(TK_GROUP, 0, start, next - start, G_NAMED, 0, name);
                i = next;
            } else if (k == '(') {
                const int c0 = j + 1;
                auto at = [&](int x) { return x < len ? p[x] : '\0'; };
                if (at(c0) == '?' && (at(c0 + 1) == '=' || at(c0 + 1) == '!')) {
                    push(TK_GROUP, 0, start, c0 + 2 - start, G_COND, at(c0 + 1) == '=' ? COND_LOOKAHEAD : COND_NLOOKAHEAD);
                    i = c0 + 2;
                } else if (at(c0) == '?' && at(c0 + 1) == '<' && (at(c0 + 2) == '=' || at(c0 + 2) == '!')) {
                    push(TK_GROUP, 0, start, c0 + 3 - start, G_COND, at(c0 + 2) == '=' ? COND_LOOKBEHIND : COND_NLOOKBEHIND);
                    i = c0 + 3;
                } else if (readName(c0, ')', name, next)) {
                    if (name.size() >= 2 && ((name.front() == '<' && name.back() == '>') || (name.front() == '\'' && name.back() == '\'')))
                        name = name.substr(1, name.size() - 2);
                    if (AllDigits(name))
                        push(TK_GROUP, std::stoi(name), start, next - start, G_COND, COND_NUMBER);
                    else
                        push(TK_GROUP, 0, start, next - start, G_COND, COND_NAME, name);
                    i = next;
                } else {
                    push(TK_GROUP, 0, start, 2, G_NONCAP);
                    i = start + 2;
                }
            } else if (k == 'R' && k2 == ')') {
                push(TK_GROUP, 0, start, 4, G_CALL, 0);
                i = j + 2;
            } else if (IsDigit(k) && readName(j, ')', name, next) && AllDigits(name)) {
                push(TK_GROUP, 0, start, next - start, G_CALL, std::stoi(name));
                i = next;
            } else {
                // Option letters, then ":" (scoped) or ")" (rest of group).
                int on = 0, off = 0;
                bool minus = false;
                int x = j;
                while (x < len && (OptionBit(p[x]) || p[x] == '-')) {
                    if (p[x] == '-')
                        minus = true;
                    else if (minus)
                        off |= OptionBit(p[x]);
                    else
                        on |= OptionBit(p[x]);
                    ++x;
                }
                if (x < len && (p[x] == ':' || p[x] == ')')) {
                    push(TK_GROUP, on, start, x + 1 - start, G_OPTIONS, off, std::string(1, p[x]));
                    i = x + 1;
                } else {
                    // Unknown "(?": a non-capturing group.
                    push(TK_GROUP, 0, start, 2, G_NONCAP);
                    i = start + 2;
                }
            }
            break;
        }
        default:
            push(TK_LIT, SignedChar(c), i++, 1);
            break;
        }
    }
    push(TK_END, 0, len, 0);
}

ElxInterface* CTreeBuilderT::GetStockElx(int nId)
{
    if (nId < 0 || nId > 16)
        return nullptr;
    if (m_stock[nId])
        return m_stock[nId];
    const int rtl = nId >= 9;
    const int base = nId >= 9 ? nId - 8 : nId;
    ElxInterface* node = nullptr;
    if (nId == 0) {
        node = Make<CEmptyElxT>();
    } else {
        const bool invert = base == 1 || base == 2 || base == 4 || base == 6 || base == 8;
        CRangeElxT* range = Make<CRangeElxT>(rtl, invert);
        switch (base) {
        case 2:
            range->AddChar('\n');
            break;
        case 3:
        case 4:
            range->AddRange('A', 'Z');
            range->AddRange('a', 'z');
            range->AddRange('0', '9');
            range->AddChar('_');
            break;
        case 5:
        case 6:
            range->AddChar(' ');
            range->AddChar('\t');
            range->AddChar('\r');
            range->AddChar('\n');
            if (rtl) {
                range->AddChar('\f');
                range->AddChar('\v');
            }
            break;
        case 7:
        case 8:
            range->AddRange('0', '9');
            break;
        default:
            break;
        }
        node = range;
    }
    m_stock[nId] = node;
    return node;
}

ElxInterface* CTreeBuilderT::BuildAlternative()
{
    if (Cur().kind == TK_END)
        return GetStockElx(0);
    std::vector<ElxInterface*> alternatives{BuildList()};
    while (!m_bTooDeep && IsSpecial(m_nToken, '|')) {
        Advance();
        alternatives.push_back(BuildList());
    }
    if (alternatives.size() == 1)
        return alternatives.front();
    CAlternativeElxT* node = Make<CAlternativeElxT>();
    node->m_elxlist = std::move(alternatives);
    return node;
}

ElxInterface* CTreeBuilderT::BuildList()
{
    std::vector<ElxInterface*> items;
    while (!m_bTooDeep) {
        const Token& t = Cur();
        if (t.kind == TK_END || (t.kind == TK_SPECIAL && t.ch == '|'))
            break;
        if (t.kind == TK_SPECIAL && t.ch == ')' && m_nDepth > 0)
            break;
        items.push_back(BuildRepeat());
    }
    if (items.empty())
        return GetStockElx(0);
    if (items.size() == 1)
        return items.front();
    CListElxT* node = Make<CListElxT>(RightLeft());
    node->m_elxlist = std::move(items);
    return node;
}

ElxInterface* CTreeBuilderT::BuildRepeat()
{
    ElxInterface* node = BuildSimple();
    while (IsQuantifier(m_nToken)) {
        const Token& q = Cur();
        int nMin = 0, nMax = kUnbounded;
        if (q.kind == TK_QUANT) {
            nMin = q.n1;
            nMax = q.n2;
        } else if (q.ch == '+') {
            nMin = 1;
        } else if (q.ch == '?') {
            nMax = 1;
        }
        Advance();
        if (nMax < nMin)
            nMax = nMin;
        if (nMin == nMax || nMax == 0) {
            node = Make<CRepeatElxT>(node, nMin);
            if (IsSpecial(m_nToken, '?') || IsSpecial(m_nToken, '+'))
                Advance();
        } else if (IsSpecial(m_nToken, '?')) {
            Advance();
            node = Make<CReluctantElxT>(node, nMin, nMax);
        } else if (IsSpecial(m_nToken, '+')) {
            Advance();
            node = Make<CPossessiveElxT>(node, nMin, nMax);
        } else {
            node = Make<CGreedyElxT>(node, nMin, nMax);
        }
    }
    return node;
}

ElxInterface* CTreeBuilderT::BuildSimple()
{
    const Token& t = Cur();
    const int rtl = RightLeft();
    const int icase = (m_nFlags & IGNORECASE) != 0;
    switch (t.kind) {
    case TK_LIT: {
        std::string text(1, char(t.ch));
        Advance();
        if (IsQuantifier(m_nToken))
            return Make<CStringElxT>(text, rtl, icase);
        while (Cur().kind == TK_LIT && !IsQuantifier(m_nToken + 1)) {
            text.push_back(char(Cur().ch));
            Advance();
        }
        return Make<CStringElxT>(text, rtl, icase);
    }
    case TK_CLASS: {
        const char* order = "wWsSdD";
        const int base = 3 + int(std::string(order).find(char(t.ch)));
        Advance();
        return GetStockElx(base + (rtl ? 8 : 0));
    }
    case TK_BOUND: {
        const int ch = t.ch;
        Advance();
        switch (ch) {
        case 'A': return Make<CBoundaryElxT>(CBoundaryElxT::BOUNDARY_FILE_BEGIN);
        case 'z': return Make<CBoundaryElxT>(CBoundaryElxT::BOUNDARY_FILE_END);
        case 'Z': return Make<CBoundaryElxT>(CBoundaryElxT::BOUNDARY_FILE_END_N);
        case 'b': return Make<CBoundaryElxT>(CBoundaryElxT::BOUNDARY_WORD_EDGE);
        case 'B': return Make<CBoundaryElxT>(CBoundaryElxT::BOUNDARY_WORD_EDGE, 1);
        default:
            if (m_nFlags & GLOBAL)
                return Make<CGlobalElxT>();
            return GetStockElx(0);
        }
    }
    case TK_BACKREF: {
        CBackrefElxT* node = Make<CBackrefElxT>(t.n1, rtl, icase);
        if (t.n1 < 0) {
            m_namedbackrefs.push_back(node);
            m_namedbackrefnames.push_back(t.name);
        }
        Advance();
        return node;
    }
    case TK_GROUP:
        return BuildGroup();
    case TK_POSIX: {
        CPosixElxT* node = Make<CPosixElxT>(t.name.c_str(), rtl, t.n1);
        Advance();
        return node;
    }
    case TK_QUANT: {
        // A bound with nothing to repeat stands for itself.
        std::string text = "{" + std::to_string(t.n1) + "}";
        Advance();
        return Make<CStringElxT>(text, rtl, icase);
    }
    case TK_SPECIAL: {
        const int ch = t.ch;
        if (ch == '[')
            return BuildBracket();
        Advance();
        switch (ch) {
        case '.':
            return GetStockElx(((m_nFlags & SINGLELINE) ? 1 : 2) + (rtl ? 8 : 0));
        case '^':
            return Make<CBoundaryElxT>((m_nFlags & MULTILINE) ? CBoundaryElxT::BOUNDARY_LINE_BEGIN
                                                               : CBoundaryElxT::BOUNDARY_FILE_BEGIN);
        case '$':
            return Make<CBoundaryElxT>((m_nFlags & MULTILINE) ? CBoundaryElxT::BOUNDARY_LINE_END
                                                               : CBoundaryElxT::BOUNDARY_FILE_END);
        default:
            // A stray ")" or a quantifier with nothing before it.
            return Make<CStringElxT>(std::string(1, char(ch)), rtl, icase);
        }
    }
    default:
        Advance();
        return GetStockElx(0);
    }
}

ElxInterface* CTreeBuilderT::BuildInner()
{
    ElxInterface* node = BuildAlternative();
    if (IsSpecial(m_nToken, ')'))
        Advance();
    return node;
}

ElxInterface* CTreeBuilderT::BuildGroup()
{
    const Token t = Cur();
    Advance();
    if (m_nDepth >= kMaxNesting) {
        m_bTooDeep = true;
        return GetStockElx(0);
    }
    ++m_nDepth;
    const int savedFlags = m_nFlags;
    ElxInterface* result = nullptr;

    auto capture = [&](int number, const std::string* name) {
        CBracketElxT* open = Make<CBracketElxT>(number, 0);
        CBracketElxT* close = Make<CBracketElxT>(number, 1);
        CListElxT* list = Make<CListElxT>(RightLeft());
        if (number > 0)
            m_grouplist.resize(std::max(m_grouplist.size(), size_t(number) + 1), nullptr);
        ElxInterface* inner = BuildInner();
        if (RightLeft())
            list->m_elxlist = {close, inner, open};
        else
            list->m_elxlist = {open, inner, close};
        if (number > 0)
            m_grouplist[size_t(number)] = list;
        else
            m_namedlist.push_back({*name, open, close, list});
        return list;
    };

    switch (t.n1) {
    case G_CAPTURE:
        result = capture(++m_nNumbered, nullptr);
        break;
    case G_NAMED:
        result = capture(-1, &t.name);
        break;
    case G_LOOKAHEAD:
    case G_NLOOKAHEAD:
        m_nFlags &= ~RIGHTTOLEFT;
        result = Make<CAssertElxT>(BuildInner(), t.n1 == G_NLOOKAHEAD);
        break;
    case G_LOOKBEHIND:
    case G_NLOOKBEHIND:
        m_nFlags |= RIGHTTOLEFT;
        result = Make<CAssertElxT>(BuildInner(), t.n1 == G_NLOOKBEHIND);
        break;
    case G_ATOMIC:
        result = Make<CIndependentElxT>(BuildInner());
        break;
    case G_COND: {
        CConditionElxT* cond = Make<CConditionElxT>();
        if (t.n2 == COND_NUMBER) {
            cond->m_nnumber = t.ch;
        } else if (t.n2 == COND_NAME) {
            cond->m_szName = t.name;
            m_namedconditions.push_back(cond);
        } else {
            const bool behind = t.n2 == COND_LOOKBEHIND || t.n2 == COND_NLOOKBEHIND;
            const bool negative = t.n2 == COND_NLOOKAHEAD || t.n2 == COND_NLOOKBEHIND;
            if (behind)
                m_nFlags |= RIGHTTOLEFT;
            else
                m_nFlags &= ~RIGHTTOLEFT;
            ElxInterface* ask = BuildInner();
            m_nFlags = savedFlags;
            cond->m_pelxask = Make<CAssertElxT>(ask, negative);
        }
        cond->m_pelxyes = BuildList();
        if (IsSpecial(m_nToken, '|')) {
            Advance();
            cond->m_pelxno = BuildAlternative();
        }
        if (IsSpecial(m_nToken, ')'))
            Advance();
        result = cond;
        break;
    }
    case G_CALL: {
        CDelegateElxT* call = Make<CDelegateElxT>(t.n2);
        m_calls.push_back(call);
        result = call;
        break;
    }
    case G_OPTIONS:
        if (t.name == ")") {
            // Holds for the rest of the enclosing group: no restore here.
            m_nFlags = (m_nFlags | t.ch) & ~t.n2;
            --m_nDepth;
            return GetStockElx(0);
        }
        m_nFlags = (m_nFlags | t.ch) & ~t.n2;
        result = BuildInner();
        break;
    case G_NONCAP:
    default:
        result = BuildInner();
        break;
    }
    m_nFlags = savedFlags;
    --m_nDepth;
    return result;
}

ElxInterface* CTreeBuilderT::BuildBracket()
{
    Advance();  // "["
    const int invert = IsSpecial(m_nToken, '^');
    if (invert)
        Advance();
    const int rtl = RightLeft();
    CRangeElxT* range = Make<CRangeElxT>(rtl, invert);
    while (Cur().kind != TK_END && !IsSpecial(m_nToken, ']')) {
        const Token& t = Cur();
        if (t.kind == TK_CLASS) {
            const char* order = "wWsSdD";
            range->AddEmbedded(GetStockElx(3 + int(std::string(order).find(char(t.ch))) + (rtl ? 8 : 0)));
            Advance();
            continue;
        }
        if (t.kind == TK_POSIX) {
            range->AddEmbedded(Make<CPosixElxT>(t.name.c_str(), rtl, t.n1));
            Advance();
            continue;
        }
        const int ch = t.ch;
        const Token& after = At(m_nToken + 2);
        if (IsSpecial(m_nToken + 1, '-') && after.kind == TK_LIT) {
            range->AddRange(ch, after.ch);
            Advance();
            Advance();
            Advance();
        } else {
            range->AddChar(ch);
            Advance();
        }
    }
    if (IsSpecial(m_nToken, ']'))
        Advance();
    if (m_nFlags & IGNORECASE)
        range->AddOtherCase();
    return range;
}

void CTreeBuilderT::Resolve()
{
    // Named groups are numbered after the numbered ones, in pattern order;
    // a repeated name (compared without case) shares its first number.
    std::vector<std::pair<std::string, int>> names;
    int next = m_nNumbered;
    m_grouplist.resize(size_t(m_nNumbered) + 1, nullptr);
    auto lookup = [&](const std::string& name) {
        const std::string key = Lower(name);
        for (const auto& entry : names) {
            if (entry.first == key)
                return entry.second;
        }
        return -1;
    };
    for (NamedGroup& group : m_namedlist) {
        int number = lookup(group.name);
        if (number < 0) {
            number = ++next;
            names.emplace_back(Lower(group.name), number);
            m_grouplist.resize(size_t(number) + 1, nullptr);
            m_grouplist[size_t(number)] = group.node;
        }
        group.open->m_nnumber = number;
        group.close->m_nnumber = number;
    }
    m_nMaxNumber = next;

    for (size_t i = 0; i < m_namedbackrefs.size(); ++i)
        m_namedbackrefs[i]->m_nnumber = lookup(m_namedbackrefnames[i]);
    for (CConditionElxT* cond : m_namedconditions)
        cond->m_nnumber = lookup(cond->m_szName);
    for (CDelegateElxT* call : m_calls) {
        int number = call->m_nnumber;
        if (number < 0 && !call->m_szName.empty())
            number = lookup(call->m_szName);
        if (number >= 0 && number <= m_nMaxNumber)
            call->m_pelx = m_grouplist[size_t(number)];
    }
}
