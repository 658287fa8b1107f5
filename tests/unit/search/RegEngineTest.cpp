#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "core/search/TRegEngine.h"

using pelm::ERegEngine;
using pelm::TRegEngine;

namespace {

// Modifier switches written as letters: "i" on, "-r" off, e.g. "i-s".
void ApplyModifiers(TRegEngine& re, const std::string& mods) {
    bool on = true;
    for (char c : mods) {
        if (c == '-') {
            on = false;
            continue;
        }
        int index = std::string("irsgmx").find(c) + 1;
        re.SetModifier(index, on);
    }
}

struct MatchCase {
    const char* name;
    std::string expr;
    std::string mods;
    std::string text;
    int start;   // 1-based start of the first match, 0 for no match
    int length;
};

std::ostream& operator<<(std::ostream& os, const MatchCase& c) { return os << c.name; }

class FirstMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(FirstMatch, StartAndLength) {
    const MatchCase& c = GetParam();
    TRegEngine re;
    ApplyModifiers(re, c.mods);
    re.SetExpressionText(c.expr);
    bool found = re.RunOn(c.text);
    if (c.start == 0) {
        EXPECT_FALSE(found) << "matched at " << re.GroupStart(0) << " length " << re.GroupLength(0);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(re.GroupStart(0), c.start);
    EXPECT_EQ(re.GroupLength(0), c.length);
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

const std::string kRuLower = "\xB8\xE6\xE8\xEA";  // ёжик
const std::string kRuWord = "\xE6\xE8\xEA";       // жик

INSTANTIATE_TEST_SUITE_P(Dialect, FirstMatch, testing::Values(
    MatchCase{"Literal", "bc", "", "abcd", 2, 2},
    MatchCase{"NoMatch", "xyz", "", "abcd", 0, 0},
    MatchCase{"LeftmostNotLongest", "a|ab", "", "ab", 1, 1},
    MatchCase{"AlternativesInOrder", "(a|ab)(c|bcd)", "", "abcd", 1, 4},
    MatchCase{"GreedyBraces", "ab{2,3}", "", "abbbb", 1, 4},
    MatchCase{"LazyBraces", "ab{2,3}?", "", "abbbb", 1, 3},
    MatchCase{"ExactBraces", "a{2}", "", "aaaa", 1, 2},
    MatchCase{"OpenBraces", "a{2,}", "", "aaaa", 1, 4},
    MatchCase{"OpenBracesOnEmpty", "(a?){2,}", "", "aaaa", 1, 4},
    MatchCase{"BraceWithoutDigitsIsLiteral", "a{,2}", "", "xa{,2}", 2, 5},
    MatchCase{"UnclosedBraceIsLiteral", "a{2,x", "", "a{2,x", 1, 5},
    MatchCase{"LazyStar", "a+?", "", "aaa", 1, 1},
    MatchCase{"LazyDot", "<.*?>", "", "x<a><b>", 2, 3},
    MatchCase{"LazyBoundedRepeat", "a{2,4}?b", "", "aaaaab", 2, 5},
    MatchCase{"GreedyOffMakesLazy", "a+", "-g", "aaa", 1, 1},
    MatchCase{"GreedyOffLazyStaysLazy", "a+?", "-g", "aaa", 1, 1},
    MatchCase{"LazyGroup", "(ab)+?", "", "ababab", 1, 2},
    MatchCase{"CountedGroup", "(ab){2,3}", "", "abababab", 1, 6},
    MatchCase{"LazyCountedGroup", "(ab){2,3}?", "", "abababab", 1, 4},
    MatchCase{"OptionalGroup", "x(ab)?y", "", "xy xaby", 1, 2},
    MatchCase{"EmptyMatchAtEnd", "$", "", "abc", 4, 0},
    MatchCase{"DotStopsAtLineBreak", "a.b", "-s", "a\nb", 0, 0},
    MatchCase{"DotAllByDefault", "a.b", "", "a\nb", 1, 3},
    MatchCase{"DotStopsAtCr", "a.*", "-s", "ab\r\ncd", 1, 2},
    MatchCase{"CaseSensitiveByDefault", "abc", "", "ABC", 0, 0},
    MatchCase{"IgnoreCaseLatin", "abc", "i", "xABC", 2, 3},
    MatchCase{"IgnoreCaseCyrillic", "\xE0\xE1", "i", "\xC0\xC1", 1, 2},
    MatchCase{"IgnoreCaseClass", "[a-c]+", "i", "xAbC", 2, 3},
    MatchCase{"InlineIgnoreCase", "(?i)abc", "", "ABC", 1, 3},
    MatchCase{"InlineSwitchOff", "(?-i)abc", "i", "ABC abc", 5, 3},
    MatchCase{"ModifierScopedToGroup", "((?i)a)a", "", "AA Aa", 4, 2},
    MatchCase{"ModifierCoversLaterBranches", "(x(?i)|a)", "", "A", 1, 1},
    MatchCase{"ModifierLettersUpperCase", "(?I)abc", "", "ABC", 1, 3},
    MatchCase{"Comment", "a(?#note)b", "", "ab", 1, 2},
    MatchCase{"Digits", "\\d+", "", "ab123c", 3, 3},
    MatchCase{"NotDigits", "\\D+", "", "12ab3", 3, 2},
    MatchCase{"Blanks", "\\s+", "", "a \t\r\n\fb", 2, 5},
    MatchCase{"NotBlanks", "\\S+", "", "  ab ", 3, 2},
    MatchCase{"WordSkipsCyrillic", "\\w+", "", kRuWord + "abc", 4, 3},
    MatchCase{"RussianRangeCoversCyrillic", "[\xE0-\xDF]+", "", kRuWord + "abc", 1, 3},
    MatchCase{"RussianLowerWithYo", "[\xE0-\xFF]+", "", "A" + kRuLower, 2, 4},
    MatchCase{"PlainRangeWithoutYo", "[\xE0-\xFF]+", "-r", "A" + kRuLower, 3, 3},
    MatchCase{"RussianUpperWithYo", "[\xC0-\xDF]+", "", "\xA8\xC6", 1, 2},
    MatchCase{"WordBoundary", "\\bcat\\b", "", "concat cat", 8, 3},
    MatchCase{"NotWordBoundary", "\\Bcat", "", "cat concat", 8, 3},
    MatchCase{"BoundaryAtInputEdges", "\\b", "", "ab", 1, 0},
    MatchCase{"StartOfInput", "\\Aab", "", "ab ab", 1, 2},
    MatchCase{"EndOfInput", "ab\\Z", "", "ab ab", 4, 2},
    MatchCase{"CaretOnlyAtStart", "^b", "", "a\nb", 0, 0},
    MatchCase{"CaretMultiLine", "^b", "m", "a\nb", 3, 1},
    MatchCase{"DollarMultiLine", "a$", "m", "a\nb", 1, 1},
    MatchCase{"DollarNotBeforeFinalNewline", "a$", "", "a\n", 0, 0},
    MatchCase{"CaretAfterCrLf", "^c", "m", "ab\r\ncd", 5, 1},
    MatchCase{"NoLineStartInsideCrLf", "^\\n", "m", "ab\r\ncd", 0, 0},
    MatchCase{"NoLineEndInsideCrLf", "\\r$", "m", "ab\r\ncd", 0, 0},
    MatchCase{"LineEndBeforeCr", "b$", "m", "ab\r\ncd", 2, 1},
    MatchCase{"BackReference", "(a+)b\\1", "", "aabaa", 1, 5},
    MatchCase{"BackReferenceShorter", "(a+)b\\1", "", "aaba", 2, 3},
    MatchCase{"BackReferenceCase", "(a)\\1", "", "aA", 0, 0},
    MatchCase{"BackReferenceIgnoreCase", "(a)\\1", "i", "aA", 1, 2},
    // Inside its own group a back reference is the group's last complete pass (as perl).
    MatchCase{"SelfReferenceSeesLastPass", "(a|b\\1)+", "", "abababc", 1, 3},
    MatchCase{"InnerSelfReferenceSeesLastPass", "((a|b\\2)c)+", "", "acbacbac", 1, 5},
    MatchCase{"SelfReferenceRepeated", "(a|\\1)+b", "", "aaab", 1, 4},
    MatchCase{"SelfReferenceAloneNeverMatches", "(\\1)*x", "", "ax", 2, 1},
    MatchCase{"HexEscape", "\\x41\\x{42}", "", "xAB", 2, 2},
    MatchCase{"HexBracesLeadingZeros", "\\x{0043}", "", "C", 1, 1},
    MatchCase{"ControlEscapes", "\\t\\n\\r\\f\\a\\e", "", "x\t\n\r\f\a\x1B", 2, 6},
    MatchCase{"EscapedMeta", "\\.\\*\\$", "", "a.*$", 2, 3},
    MatchCase{"Extended", "a b # comment\n c", "x", "abc", 1, 3},
    MatchCase{"ExtendedKeepsEscapedBlank", "a\\ b", "x", "a b", 1, 3},
    MatchCase{"ExtendedKeepsBlankInBrackets", "a[ ]b", "x", "a b", 1, 3},
    MatchCase{"BracketCloseFirst", "[]a]+", "", "x]a]", 2, 3},
    MatchCase{"NegatedBracketCloseFirst", "[^]a]+", "", "]a bc", 3, 3},
    MatchCase{"DashAtEnd", "[a-]+", "", "x-a-", 2, 3},
    MatchCase{"DashAfterClass", "[\\d-z]+", "", "x1-z", 2, 3},
    MatchCase{"EscapedDash", "[a\\-z]+", "", "b-az", 2, 3},
    MatchCase{"DashAfterRange", "[a-c-e]+", "", "d-ea", 2, 3},
    MatchCase{"EscapesInBrackets", "[\\x41\\t]+", "", "xA\tA", 2, 3},
    MatchCase{"NegatedClass", "<[^>]*>", "", "a<b c>d", 2, 5},
    MatchCase{"NulEndsInput", "b", "", std::string("a\0b", 3), 0, 0},
    MatchCase{"FourteenGroups", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)", "", "abcdefghijklmn", 1, 14},
    MatchCase{"LargeCountRunsOnCounter", "(ab){5000}", "", Repeat("ab", 5001), 1, 10000},
    MatchCase{"CounterGreedy", "(a|b){4001,4003}", "", std::string(5000, 'a'), 1, 4003},
    MatchCase{"CounterLazy", "(a|b){4001,}?", "", std::string(5000, 'a'), 1, 4001},
    MatchCase{"CounterBacktracks", "(a|ab){0,5000}c", "", "xaabababc", 2, 8},
    MatchCase{"CounterTooFew", "(a|b){4500}", "", std::string(4499, 'a'), 0, 0},
    MatchCase{"TenNestedLoops", "((((((((((a)+)+)+)+)+)+)+)+)+)+", "", "aaa", 1, 3}));

// The exponential traps of a plain backtracking matcher: the answer comes from the
// failure memory, in time linear in the line.
INSTANTIATE_TEST_SUITE_P(Exponential, FirstMatch, testing::Values(
    MatchCase{"NestedPlusNoMatch", "(x+x+)+y", "", std::string(30, 'x') + "!y", 0, 0},
    MatchCase{"NestedPlusMatch", "(x+x+)+y", "", std::string(30, 'x') + "y", 1, 31},
    MatchCase{"NestedLazyPlusNoMatch", "(x+?x+?)+y", "", std::string(5000, 'x') + "!y", 0, 0},
    MatchCase{"TrapAfterBackReference", "(a)\\1(x+x+)+y", "", "aa" + std::string(30, 'x') + "!y", 0, 0},
    MatchCase{"TrapAfterCounter", "(a|b){4100}(x+x+)+y", "", std::string(4100, 'a') + std::string(30, 'x') + "!y", 0, 0},
    MatchCase{"NestedPlusLongLine", "(x+x+)+y", "", std::string(50000, 'x') + "!y", 0, 0},
    MatchCase{"AlternationStar", "(a|aa)*b", "", std::string(40, 'a') + "!b", 42, 1},
    MatchCase{"AlternationPlusNoMatch", "(a|aa)+b", "", std::string(40, 'a') + "!b", 0, 0},
    MatchCase{"AlternationStarCount", "(a|aa)*c", "", std::string(40, 'a') + "!c", 42, 1},
    MatchCase{"ManyStars", "a*a*a*a*a*a*a*b", "", std::string(1000, 'a') + "!b", 1002, 1},
    MatchCase{"NestedGroupsLongLine", "((a|b)+c?)+d", "", std::string(20000, 'a') + "e", 0, 0}));

TEST(RegEngine, GroupThatDidNotTakePart) {
    TRegEngine re;
    re.SetExpressionText("(a)|b");
    ASSERT_TRUE(re.RunOn("b"));
    EXPECT_EQ(re.GroupStart(0), 1);
    EXPECT_EQ(re.GroupStart(1), -1);
    EXPECT_EQ(re.GroupLength(1), -1);
    EXPECT_EQ(re.FillTemplate("[$1]"), "[]");
}

TEST(RegEngine, GroupsNumberedByOpeningParenthesis) {
    TRegEngine re;
    re.SetExpressionText("((a)(b))c");
    ASSERT_TRUE(re.RunOn("xabc"));
    EXPECT_EQ(re.GroupStart(1), 2);
    EXPECT_EQ(re.GroupLength(1), 2);
    EXPECT_EQ(re.GroupStart(2), 2);
    EXPECT_EQ(re.GroupStart(3), 3);
    EXPECT_EQ(re.GroupStart(15), -1);
    EXPECT_EQ(re.GroupStart(-1), -1);
}

TEST(RegEngine, GroupsKeepTheirLastPass) {
    TRegEngine re;
    re.SetExpressionText("(?:x)?");  // "(?:" is not in the dialect
    EXPECT_THROW(re.Compile(), ERegEngine);
    re.SetExpressionText("(a|(b))+");
    ASSERT_TRUE(re.RunOn("ba"));
    EXPECT_EQ(re.Group(0), "ba");
    EXPECT_EQ(re.Group(1), "a");
    EXPECT_EQ(re.Group(2), "b");
    // Backtracking out of a group restores what it had captured.
    re.SetExpressionText("(a)*(ab)");
    ASSERT_TRUE(re.RunOn("aab"));
    EXPECT_EQ(re.Group(1), "a");
    EXPECT_EQ(re.GroupStart(1), 1);
    EXPECT_EQ(re.Group(2), "ab");
}

TEST(RegEngine, RunNextWalksEmptyMatches) {
    TRegEngine re;
    re.SetExpressionText("x*");
    std::vector<int> starts;
    for (bool f = re.RunOn("abc"); f; f = re.RunNext()) {
        EXPECT_EQ(re.GroupLength(0), 0);
        starts.push_back(re.GroupStart(0));
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 2, 3, 4}));
}

TEST(RegEngine, RunNextContinuesAfterMatch) {
    TRegEngine re;
    re.SetExpressionText("a+");
    std::vector<std::pair<int, int>> got;
    for (bool f = re.RunOn("aa b aaa"); f; f = re.RunNext()) got.emplace_back(re.GroupStart(0), re.GroupLength(0));
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 2}, {6, 3}}));
    EXPECT_EQ(re.GroupStart(0), -1);
}

TEST(RegEngine, RunFromOffset) {
    TRegEngine re;
    re.SetExpressionText("b");
    re.RunOn("abab");
    ASSERT_TRUE(re.RunFrom(3));
    EXPECT_EQ(re.GroupStart(0), 4);
}

TEST(RegEngine, CaretTriedOnlyAtStart) {
    TRegEngine re;
    re.SetExpressionText("^a");
    ASSERT_TRUE(re.RunOn("aaa"));
    EXPECT_FALSE(re.RunNext());
}

TEST(RegEngine, FillTemplate) {
    TRegEngine re;
    re.SetExpressionText("(\\w+)=(\\w+)");
    ASSERT_TRUE(re.RunOn("x key=val y"));
    struct { const char* tmpl; const char* out; } cases[] = {
        {"$2=$1", "val=key"},
        {"${2}${1}", "valkey"},
        {"[$&]", "[key=val]"},
        {"[${&}]", "[key=val]"},
        {"$0", "key=val"},
        {"100\\$", "100$"},
        {"a\\\\b", "a\\b"},
        {"\\n", "n"},
        {"$", "$"},
        {"$x", "$x"},
        {"${2", "${2"},
        {"${x}", "${x}"},
        {"$15|$9|$14", "||"},
        {"$1$", "key$"},
    };
    for (const auto& c : cases) EXPECT_EQ(re.FillTemplate(c.tmpl), c.out) << c.tmpl;
}

TEST(RegEngine, ReplaceMatches) {
    TRegEngine re;
    re.SetExpressionText("a*");
    EXPECT_EQ(re.ReplaceMatches("aaa", "X"), "XX");
    re.SetExpressionText("(\\d+)");
    EXPECT_EQ(re.ReplaceMatches("a1b22c", "<$1>"), "a<1>b<22>c");
    EXPECT_EQ(re.ReplaceMatches("none", "<$1>"), "none");
}

TEST(RegEngine, CompileOnceAndRecompileOnChange) {
    TRegEngine re;
    re.SetExpressionText("abc");
    EXPECT_FALSE(re.RunOn("ABC"));
    re.SetModifier(TRegEngine::modIndexI, true);
    EXPECT_TRUE(re.GetModifier(TRegEngine::modIndexI));
    EXPECT_TRUE(re.RunOn("ABC"));
    re.SetExpressionText("abc");  // same text: the program stays
    EXPECT_TRUE(re.RunOn("ABC"));
    re.SetExpressionText("b");
    ASSERT_TRUE(re.RunOn("ABC"));
    EXPECT_EQ(re.GroupStart(0), 2);
}

TEST(RegEngine, DefaultModifiers) {
    TRegEngine re;
    const bool expected[] = {false, true, true, true, false, false};  // i r s g m x
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(re.GetModifier(k), expected[k - 1]) << k;
}

TEST(RegEngine, CompileErrorLeavesNoProgram) {
    TRegEngine re;
    re.SetExpressionText("a(");
    EXPECT_THROW(re.RunOn("a"), ERegEngine);
    EXPECT_THROW(re.RunOn("a"), ERegEngine);  // compiled again, fails again
    re.SetExpressionText("a");
    EXPECT_TRUE(re.RunOn("a"));
}

// Compile errors: code and the message with the consumed-characters suffix.
struct ErrorCase {
    const char* name;
    std::string expr;
    int code;
};
std::ostream& operator<<(std::ostream& os, const ErrorCase& c) { return os << c.name; }

class CompileErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(CompileErrors, CodeAndMessage) {
    const ErrorCase& c = GetParam();
    TRegEngine re;
    re.SetExpressionText(c.expr);
    try {
        re.RunOn("abc");
        FAIL() << "no error for " << c.expr;
    } catch (const ERegEngine& e) {
        EXPECT_EQ(e.ErrorCode(), c.code);
        EXPECT_EQ(re.LastError(), c.code);
        std::string expected = TRegEngine::ErrorMessage(c.code) + " (pos " + std::to_string(e.ErrorOffset()) + ")";
        EXPECT_EQ(std::string(e.what()), expected);
        EXPECT_EQ(std::string(e.what()).rfind("TRegEngine(comp): ", 0), 0u);
        EXPECT_GE(e.ErrorOffset(), 0);
        EXPECT_LE(e.ErrorOffset(), static_cast<int>(c.expr.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, CompileErrors, testing::Values(
    ErrorCase{"NullArgument", "", 100},
    ErrorCase{"FifteenGroups", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)", 102},
    ErrorCase{"UnclosedGroup", "(ab", 103},
    ErrorCase{"UnclosedModifier", "(?i", 103},
    ErrorCase{"UnopenedGroup", "ab)", 104},
    ErrorCase{"JunkAfterNul", std::string("ab\0cd", 5), 105},
    ErrorCase{"NulInsideGroup", std::string("(a\0)", 4), 105},
    ErrorCase{"StarOnEmptyGroup", "(a*)*b", 106},
    ErrorCase{"PlusOnEmptyAlternative", "(a|)+", 106},
    ErrorCase{"StarOnAssertion", "\\b*", 106},
    ErrorCase{"SelfReferenceWithEmptyBranch", "(a?|\\1)+", 106},
    ErrorCase{"DoubleStar", "a**", 107},
    ErrorCase{"BracesAfterBraces", "a{2}{3}", 107},
    ErrorCase{"PlusAfterLazy", "a*?+", 107},
    ErrorCase{"BadHexDigit", "\\xZZ", 108},
    ErrorCase{"BadHexDigitInBraces", "\\x{4G}", 108},
    ErrorCase{"ReversedRange", "[z-a]", 109},
    ErrorCase{"RussianRangeWithoutR", "(?-r)[\xE0-\xDF]", 109},
    ErrorCase{"BackslashEndsBrackets", "[a\\", 110},
    ErrorCase{"NoHexCode", "\\x", 111},
    ErrorCase{"EmptyHexBraces", "\\x{}", 111},
    ErrorCase{"HexTooBig", "\\x{100}", 112},
    ErrorCase{"UnclosedBrackets", "[abc", 113},
    ErrorCase{"StarFirst", "*a", 115},
    ErrorCase{"StarAfterBar", "a|*b", 115},
    ErrorCase{"BracesAfterOpen", "({2}a)", 115},
    ErrorCase{"TrailingBackslash", "abc\\", 116},
    ErrorCase{"BracesTooBig", "a{123456789}", 122},
    ErrorCase{"BracesMinAboveMax", "a{3,2}", 124},
    ErrorCase{"UnclosedComment", "a(?#note", 125},
    ErrorCase{"UnknownModifier", "(?q)a", 127}));

TEST(RegEngine, InvalidRangeMessage) {
    TRegEngine re;
    re.SetExpressionText("[z-a]");
    try {
        re.Compile();
        FAIL();
    } catch (const ERegEngine& e) {
        EXPECT_EQ(std::string(e.what()), "TRegEngine(comp): Invalid [] Range (pos 4)");
        EXPECT_EQ(e.ErrorOffset(), 4);
    }
}

TEST(RegEngine, LinePairMustHoldTwoDifferentCharacters) {
    TRegEngine re;
    re.SetExpressionText("a");
    for (std::string pair : {"\n\n", "\r", "\r\n\r"}) {
        re.SetLineBreakPair(pair);
        try {
            re.Compile();
            FAIL() << pair.size();
        } catch (const ERegEngine& e) {
            EXPECT_EQ(e.ErrorCode(), 128);
            EXPECT_EQ(std::string(e.what()), TRegEngine::ErrorMessage(128) + " (pos 0)");
        }
    }
    re.SetLineBreakPair("");
    EXPECT_NO_THROW(re.Compile());
}

// Errors of calls, without the position suffix.
TEST(RegEngine, ExecErrors) {
    auto expectCode = [](int code, auto&& call) {
        try {
            call();
            ADD_FAILURE() << "no error " << code;
        } catch (const ERegEngine& e) {
            EXPECT_EQ(e.ErrorCode(), code);
            EXPECT_EQ(e.ErrorOffset(), 0);
            EXPECT_EQ(std::string(e.what()), TRegEngine::ErrorMessage(code));
        }
    };
    {
        TRegEngine re;
        expectCode(1003, [&] { re.RunOn("a"); });
    }
    {
        TRegEngine re;
        re.SetExpressionText("a");
        expectCode(1005, [&] { re.FillTemplate("$0"); });
        expectCode(1005, [&] { re.RunFrom(1); });
        expectCode(1007, [&] { re.RunNext(); });
        re.RunOn("a");
        expectCode(1006, [&] { re.RunFrom(0); });
        expectCode(1013, [&] { re.SetModifier(7, true); });
        expectCode(1013, [&] { re.GetModifier(0); });
        EXPECT_EQ(TRegEngine::ErrorMessage(1013), "Unknown error");
    }
    {
        TRegEngine re;
        re.SetExpressionText("(((((((((((a)+)+)+)+)+)+)+)+)+)+)+");
        EXPECT_FALSE(re.RunOn("bbb"));  // never reaches the loops
        expectCode(1014, [&] { re.RunOn("a"); });
    }
    {
        // A back reference rules out the failure memory; the step budget ends the run.
        TRegEngine re;
        re.SetExpressionText("(x+x+)+\\1y");
        expectCode(TRegEngine::reTooComplex, [&] { re.RunOn(std::string(40, 'x') + "!y"); });
        EXPECT_NE(TRegEngine::ErrorMessage(TRegEngine::reTooComplex).find("Too Complex"), std::string::npos);
        // The engine stays usable.
        EXPECT_TRUE(re.RunOn("xxxxy"));
        EXPECT_EQ(re.GroupLength(0), 5);
        // Memory is bounded too: a group repeated over millions of bytes, with a
        // back reference after it, stops with the same error instead of growing
        // the backtracking stack without end. Without the back reference the
        // verdict table answers.
        re.SetExpressionText("(.)*\\1!");
        expectCode(TRegEngine::reTooComplex, [&] { re.RunOn(std::string(1500000, 'x') + "!"); });
        EXPECT_TRUE(re.RunOn(std::string(100000, 'x') + "!"));
        re.SetExpressionText("(.)*!");
        EXPECT_TRUE(re.RunOn(std::string(1500000, 'x') + "!"));
    }
}

TEST(RegEngine, ErrorMessages) {
    EXPECT_EQ(TRegEngine::ErrorMessage(0), "No errors");
    EXPECT_EQ(TRegEngine::ErrorMessage(103), TRegEngine::ErrorMessage(104));
    EXPECT_EQ(TRegEngine::ErrorMessage(110), "TRegEngine(comp): Parse Atom Trailing \\");
    EXPECT_EQ(TRegEngine::ErrorMessage(111), "TRegEngine(comp): No Hex Code After \\x");
    EXPECT_EQ(TRegEngine::ErrorMessage(1015), "TRegEngine(exec): Loop Without LoopEntry !");
    EXPECT_EQ(TRegEngine::ErrorMessage(5), "Unknown error");
}

TEST(RegEngine, CustomSets) {
    TRegEngine re;
    re.SetWordSet("ab");
    re.SetExpressionText("\\w+");
    ASSERT_TRUE(re.RunOn("xyzab"));
    EXPECT_EQ(re.GroupStart(0), 4);
    re.SetBlankSet("-");
    re.SetExpressionText("\\s");
    ASSERT_TRUE(re.RunOn("a b-c"));
    EXPECT_EQ(re.GroupStart(0), 4);
}

// The first match agrees with ECMAScript backtracking on the common subset of the
// two dialects, which checks alternation order, greedy and lazy quantifiers and
// the failure memory's pruning on many random expressions.
TEST(RegEngine, AgreesWithBacktrackingReference) {
    std::mt19937 rng(12345);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::function<std::string(int)> gen = [&](int depth) -> std::string {
        int kind = depth > 2 ? pick(3) : pick(7);
        std::string atom;
        switch (kind) {
            case 0: {
                static const char* atoms[] = {"a", "b", "c", "a", "b", "\\w", "\\b", "^", "$", "\\B"};
                atom = atoms[pick(10)];
                break;
            }
            case 1: atom = pick(2) ? "[ab]" : "[^a]"; break;
            case 2: atom = "."; break;
            case 3: atom = "(" + gen(depth + 1) + ")"; break;
            case 4: atom = "(" + gen(depth + 1) + "|" + gen(depth + 1) + ")"; break;
            default: atom = gen(depth + 1) + gen(depth + 1); break;
        }
        static const char* quants[] = {"", "", "*", "+", "?", "*?", "+?", "??", "{1,2}", "{2}", "{0,3}?"};
        return atom + quants[pick(11)];
    };
    int compared = 0;
    for (int iter = 0; iter < 4000; ++iter) {
        std::string expr = gen(0);
        std::string text;
        int n = pick(12);
        for (int k = 0; k < n; ++k) text.push_back("abcx "[pick(5)]);
        TRegEngine re;
        re.SetExpressionText(expr);
        bool found;
        try {
            found = re.RunOn(text);
        } catch (const ERegEngine& e) {
            ASSERT_LT(e.ErrorCode(), 1000) << expr;
            continue;  // a quantified operand that can be empty, refused by this dialect
        }
        std::smatch m;
        std::regex ref;
        try {
            ref.assign(expr, std::regex::ECMAScript);
        } catch (const std::regex_error&) {
            continue;  // ECMAScript refuses a quantified assertion
        }
        bool refFound = std::regex_search(text, m, ref);
        ASSERT_EQ(found, refFound) << expr << " on " << text;
        if (found) {
            ASSERT_EQ(re.GroupStart(0) - 1, m.position(0)) << expr << " on " << text;
            ASSERT_EQ(re.GroupLength(0), m.length(0)) << expr << " on " << text;
        }
        ++compared;
    }
    EXPECT_GT(compared, 1000);
}

}  // namespace

namespace {

// Any string of the dialect's characters either compiles and runs, or fails with
// ERegEngine; nothing else escapes, and a failed compile leaves the engine usable.
TEST(RegEngine, ArbitraryExpressionsFailCleanly) {
    std::mt19937 rng(99);
    const std::string alphabet = "ab()[]{}|*+?^$.\\-,0129xdwsbBAZ#?:irmsgx \n\xE0\xDF";
    TRegEngine re;
    int compiled = 0;
    for (int iter = 0; iter < 20000; ++iter) {
        std::string expr;
        int n = 1 + static_cast<int>(rng() % 10);
        for (int k = 0; k < n; ++k) expr.push_back(alphabet[rng() % alphabet.size()]);
        re.SetModifier(TRegEngine::modIndexX, rng() % 4 == 0);
        re.SetModifier(TRegEngine::modIndexI, rng() % 2 == 0);
        re.SetExpressionText(expr);
        try {
            for (bool f = re.RunOn("ab a\r\nb0{1}]\xE0"); f; f = re.RunNext()) {
                ASSERT_GE(re.GroupStart(0), 1);
                re.FillTemplate("$1${2}$&\\$");
            }
            ++compiled;
        } catch (const ERegEngine& e) {
            ASSERT_NE(e.ErrorCode(), TRegEngine::reTooComplex) << expr;
            ASSERT_NE(TRegEngine::ErrorMessage(e.ErrorCode()), "Unknown error") << expr;
        }
    }
    EXPECT_GT(compiled, 1000);
}

}  // namespace
