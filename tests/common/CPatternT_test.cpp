// std::regex (the oracle here) trips a false -Wmaybe-uninitialized inside
// libstdc++ when built with the sanitizers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "CPatternT.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

bool Matches(const char* pattern, const std::string& text, int flags = 0)
{
    const CPatternT compiled(pattern, flags);
    return compiled.Match(text.c_str(), int(text.size())).HasMatch() != 0;
}

std::vector<std::string> AllStrings(const std::string& alphabet, int maxLength)
{
    std::vector<std::string> out{""};
    size_t from = 0;
    for (int len = 1; len <= maxLength; ++len) {
        const size_t to = out.size();
        for (size_t i = from; i < to; ++i) {
            for (char c : alphabet)
                out.push_back(out[i] + c);
        }
        from = to;
    }
    return out;
}

} // namespace

// Whole-text matching: a match of a prefix or a suffix must not count, with
// or without anchors; $ must not match before a final line feed.
TEST(CPatternT, MatchesOnlyWholeTexts)
{
    struct Case { const char* pattern; const char* text; bool match; };
    const Case cases[] = {
        {"a", "a", true},
        {"a", "ab", false},
        {"a", "ba", false},
        {"a$", "a\n", false},
        {"^a", "a", true},
        {"a*", "", true},
        {"a*", "aaab", false},
        {"a|ab", "ab", true},   // the first alternative alone would stop short
        {"(a|ab)(c|bcd)", "abcd", true},
        {"ab", "a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Matches(c.pattern, c.text), c.match) << c.pattern << " on " << c.text;
}

// Counted repeats and brackets as the validation patterns use them: a wrong
// bound or a literal hyphen taken as a range would let bad addresses pass.
TEST(CPatternT, RepeatsAndBrackets)
{
    struct Case { const char* pattern; const char* text; bool match; };
    const Case cases[] = {
        {"a{2}", "aa", true}, {"a{2}", "a", false}, {"a{2}", "aaa", false},
        {"a{2,}", "aa", true}, {"a{2,}", "aaaaaa", true}, {"a{2,}", "a", false},
        {"a{3,1}", "aaa", true}, {"a{3,1}", "a", false}, {"a{3,1}", "aaaa", false},
        {"a{ 1 , 2 }", "aa", true},
        {"a{0}", "", true}, {"a{0}b", "ab", false},
        {"a{x}", "a{x}", true},      // not a bound: literal text
        {"a{1234}", "a{1234}", true}, // more than three digits: literal
        {"[a-]", "-", true}, {"[a-]", "a", true}, {"[a-]", "b", false},
        {"[$|]", "$", true}, {"[$|]", "|", true}, {"[$|]", "a", false},
        {"[^0-9]", "x", true}, {"[^0-9]", "5", false}, {"[^0-9]", "", false},
        {"[\\d.]+", "1.2", true}, {"[.]", "x", false},
        {"[]a]", "]a", false},  // "]" right after "[" closes an empty class, which takes nothing
        {"\\d", "\xd9", false},
        {"\\s", "\f", false}, {"\\s", "\v", false}, {"\\s", "\t", true},
        {".", "\n", false}, {".", "\r", true},
        {"[[:alpha:]]+", "abZ", true}, {"[[:alpha:]]+", "ab1", false}, {"[[:^digit:]]", "a", true},
        {"[[:nosuch:]]", "a", false},
        {"\\x41\\u0042\\x{43}", "ABC", true},
        {"\\Q.*\\E", ".*", true}, {"\\Q.*\\E", "ab", false},
        {"a\\", "a\\", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Matches(c.pattern, c.text), c.match) << c.pattern << " on " << c.text;
}

// Flags: ignore case reaches bracket ranges and literals; single-line lets
// "." take a line feed; multi-line anchors at line ends; extended skips
// blanks and comments; right-to-left matches the same whole texts.
TEST(CPatternT, Flags)
{
    struct Case { const char* pattern; int flags; const char* text; bool match; };
    const Case cases[] = {
        {"[a-c]", 8, "B", true}, {"[a-c]", 0, "B", false},
        {"abc", 8, "ABC", true}, {"abc", 0, "ABC", false},
        {"[^a]", 8, "A", false},
        {"(?i)abc", 0, "AbC", true}, {"a(?i:b)c", 0, "aBc", true}, {"a(?i:b)c", 0, "aBC", false},
        {"(?i)a(?-i)b", 0, "Ab", true}, {"(?i)a(?-i)b", 0, "AB", false},
        {"a.b", 1, "a\nb", true}, {"a.b", 0, "a\nb", false},
        {"a$\\n^b", 2, "a\nb", true}, {"a$\\n^b", 0, "a\nb", false},
        {"a b # note\n c", 32, "abc", true},
        {"[ a]", 32, " ", false},
        {"abc", 16, "abc", true}, {"a(b|bc)", 16, "abc", true}, {"a+b*", 16, "aab", true},
        {"(a)(b)\\2", 16, "abb", false},  // right to left the reference runs before its group
        {"\\s", 16, "\f", true},           // the right-to-left \s also takes form feed
    };
    for (const Case& c : cases)
        EXPECT_EQ(Matches(c.pattern, c.text, c.flags), c.match) << c.pattern << " flags " << c.flags << " on " << c.text;
}

// Groups, references, assertions, atomic and possessive forms, conditions,
// calls and named groups.
TEST(CPatternT, GroupsAndReferences)
{
    struct Case { const char* pattern; const char* text; bool match; };
    const Case cases[] = {
        {"(a)\\1", "aa", true}, {"(a)\\1", "ab", false},
        {"(a|b)\\1", "bb", true}, {"(a|b)\\1", "ab", false},
        {"\\1(a)", "a", false},  // no capture yet: the reference fails
        {"(?<x>a)\\k<x>", "aa", true}, {"(?'x'a)\\k'x'", "aa", true}, {"(?P<x>a)\\k<X>", "aa", true},
        {"(?<x>a)(?<x>b)?\\k<x>", "aa", true},
        {"a(?=b)b", "ab", true}, {"a(?!b)b", "ab", false}, {"a(?!c)[a-c]", "ab", true},
        {"a(?<=a)b", "ab", true}, {"a(?<!a)b", "ab", false},
        {"(?>a*)a", "aa", false}, {"(?>a|ab)c", "abc", false}, {"(?:a|ab)c", "abc", true},
        {"a*+a", "aa", false}, {"a++b", "aab", true},
        {"a*?b", "aab", true}, {"(a|ab)*?c", "abac", true},
        {"(a)?(?(1)b|c)", "ab", true}, {"(a)?(?(1)b|c)", "c", true}, {"(a)?(?(1)b|c)", "ac", false},
        {"(?(?=a)ab|cd)", "ab", true}, {"(?(?=a)ab|cd)", "cd", true},
        {"(a(?1)?b)", "aabb", true}, {"(a(?1)?b)", "aab", false},
        {"a(?R)?b", "aaabbb", true},
        {"(?9)a", "a", true},     // unresolved call matches the empty string
        {"(?R)", "a", false},     // endless self-call: refused, not a crash
        // A call that re-enters its own group without consuming anything
        // fails at once: two such ways used to mean 2^depth tries (a hang).
        {"(?R)|(?R)", "", false}, {"(?R)|(?R)a", "ab", false}, {"((?1)|(?1)|a)b", "ab", true},
        {"a(?R)?b|(?R)(?R)c", "aabbc", false}, {"(a|b(?1)(?1))", "baa", true},
        {"(?#comment)a", "a", true},
        {"\\ba\\b", "a", true}, {"a\\Bb", "ab", true}, {"\\Aa\\z", "a", true}, {"a\\Z", "a", true},
        {"(?:|)(?:|)|abc", "abc", true},  // several empty ways first must not hide the later match
    };
    for (const Case& c : cases)
        EXPECT_EQ(Matches(c.pattern, c.text), c.match) << c.pattern << " on " << c.text;
}

// The result record: whole match, group bounds, groups that took no part.
TEST(CPatternT, MatchRecordHoldsGroupBounds)
{
    const CPatternT pattern("(a)(b)?(c*)", 0);
    const CMatchRecord r = pattern.Match("acc");
    ASSERT_TRUE(r.HasMatch());
    EXPECT_EQ(r.MaxGroupNumber(), 3);
    EXPECT_EQ(r.GetGroupStart(0), 0);
    EXPECT_EQ(r.GetGroupEnd(0), 3);
    EXPECT_EQ(r.GetGroupStart(1), 0);
    EXPECT_EQ(r.GetGroupEnd(1), 1);
    EXPECT_EQ(r.GetGroupStart(2), -1);
    EXPECT_EQ(r.GetGroupEnd(2), -1);
    EXPECT_EQ(r.GetGroupStart(3), 1);
    EXPECT_EQ(r.GetGroupEnd(3), 3);

    // The last repetition's capture is the one kept.
    const CMatchRecord last = CPatternT("(a|b)*", 0).Match("ab");
    ASSERT_TRUE(last.HasMatch());
    EXPECT_EQ(last.GetGroupStart(1), 1);

    // Right to left the bounds still come out in order.
    const CMatchRecord rtl = CPatternT("(ab)c", 16).Match("abc");
    ASSERT_TRUE(rtl.HasMatch());
    EXPECT_EQ(rtl.GetGroupStart(1), 0);
    EXPECT_EQ(rtl.GetGroupEnd(1), 2);
}

// No tree, no match: a null pattern gives an empty result for every text;
// an empty pattern matches only the empty text; a null text never matches.
TEST(CPatternT, NullAndEmptyPatterns)
{
    const CPatternT none(nullptr, 0);
    EXPECT_FALSE(none.HasTree());
    EXPECT_EQ(none.Match("").GetSize(), 0);
    EXPECT_EQ(none.Match("a").HasMatch(), 0);
    const CPatternT empty("", 0);
    EXPECT_TRUE(empty.Match("").HasMatch());
    EXPECT_FALSE(empty.Match("a").HasMatch());
    EXPECT_FALSE(empty.Match(nullptr).HasMatch());
}

// Malformed or hostile patterns end in a tree (or none), never a crash or a
// hang: unclosed groups and brackets, stray ")", deep nesting.
TEST(CPatternT, MalformedPatternsAreSafe)
{
    EXPECT_TRUE(Matches("(a", "a"));
    EXPECT_TRUE(Matches("[ab", "b"));
    EXPECT_TRUE(Matches("a)", "a)"));
    EXPECT_TRUE(Matches("*a", "*a"));
    EXPECT_TRUE(Matches("a**", "aaa"));
    EXPECT_FALSE(Matches("(?<x", "x"));
    // A bound of many digits is literal text; reading it must not overflow
    // (the sanitizer build stops on the overflow).
    EXPECT_TRUE(Matches("a{99999999999}", "a{99999999999}"));
    EXPECT_TRUE(Matches("a{1,99999999999}", "a{1,99999999999}"));
    const std::string deep = std::string(5000, '(') + "a" + std::string(5000, ')');
    const CPatternT tooDeep(deep.c_str(), 0);
    EXPECT_FALSE(tooDeep.HasTree());
    EXPECT_FALSE(tooDeep.Match("a").HasMatch());
    const std::string nested = std::string(100, '(') + "a" + std::string(100, ')');
    EXPECT_TRUE(Matches(nested.c_str(), "a"));
    // Zero-width repeats end instead of looping.
    EXPECT_TRUE(Matches("(a*)*b", "aab"));
    EXPECT_TRUE(Matches("(a?)+b", "b"));
    EXPECT_FALSE(Matches("(|a)*c", "aab"));
    // Long texts cost stack entries, not recursion.
    EXPECT_TRUE(Matches("a*b", std::string(200000, 'a') + "b"));
}

// The engine agrees with std::regex (ECMAScript, whole match) on every text
// over a small alphabet: catches backtracking that misses a way (a greedy
// repeat that does not extend again after a retried iteration, an
// alternation that forgets its index) or finds one that does not exist.
TEST(CPatternT, AgreesWithStdRegexOnAllShortTexts)
{
    const char* patterns[] = {
        "a", "ab|a", "(a|ab)*c", "(a|ab)(c|bcd)(d*)", "a*?b", "(a*)*b", "(a|b)*abb",
        "a{2}", "a{2,}", "a{2,3}", "(ab){1,2}?c", "((a)|b)+", "(a)\\1", "(a|b)\\1*",
        "(?:a|b)+?c", "a(?=b)b", "a(?!c)[a-c]", "[^a]b", "[a-]+", ".*c", "(a|)+b",
        "(a+|b+)*c", "(a|ab|abc)*(bc|c)", "(?:a|b)*(?:ab|ba)+", "c?(a{1,2}|b{2}){2,3}c?",
        "(a*b*)*c", "(a|b)*?(ab|bc)*", "[abc]{0,3}?a",
    };
    const std::vector<std::string> texts = AllStrings("abc", 6);
    for (const char* p : patterns) {
        const CPatternT mine(p, 0);
        const std::regex oracle(p, std::regex::ECMAScript);
        for (const std::string& t : texts) {
            const bool expected = std::regex_match(t, oracle);
            ASSERT_EQ(mine.Match(t.c_str(), int(t.size())).HasMatch() != 0, expected)
                << "pattern " << p << " text '" << t << "'";
        }
    }
}
