// The engine's limits: the step budget counts real work, repeats over long lines
// answer without a stack as deep as the line, and loops over operands that can
// match empty are guarded instead of refused or left to spin.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "core/search/TRegEngine.h"
#include "core/search/TRegEngineImpl.h"

using pelm::ERegEngine;
using pelm::TRegEngine;

namespace {

std::string Times(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

constexpr int kTooComplex = -1;

struct LimitCase {
    const char* name;
    std::string expr;
    std::string text;
    int start;   // 1-based start of the first match, 0 for none, kTooComplex for 1016
    int length;
    int group1Start = 0;  // checked when not 0 (-1: group 1 unset)
    int group1Length = 0;
};

std::ostream& operator<<(std::ostream& os, const LimitCase& c) { return os << c.name; }

class Limits : public testing::TestWithParam<LimitCase> {};

TEST_P(Limits, Outcome) {
    const LimitCase& c = GetParam();
    TRegEngine re;
    re.SetModifier(TRegEngine::modIndexI, false);
    re.SetExpressionText(c.expr);
    bool found = false;
    try {
        found = re.RunOn(c.text);
    } catch (const ERegEngine& e) {
        ASSERT_EQ(c.start, kTooComplex) << "error " << e.ErrorCode();
        EXPECT_EQ(e.ErrorCode(), TRegEngine::reTooComplex);
        return;
    }
    ASSERT_NE(c.start, kTooComplex) << "expected 1016, got " << (found ? "a match" : "no match");
    if (c.start == 0) {
        EXPECT_FALSE(found) << "matched at " << re.GroupStart(0);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(re.GroupStart(0), c.start);
    EXPECT_EQ(re.GroupLength(0), c.length);
    if (c.group1Start != 0) {
        EXPECT_EQ(re.GroupStart(1), c.group1Start);
        if (c.group1Start > 0) {
            EXPECT_EQ(re.GroupLength(1), c.group1Length);
        }
    }
}

const std::string kMiB(size_t(1) << 20, 'a');

// A back reference compares as many bytes as it holds: a search that would compare
// gigabytes ends with 1016 instead of freezing the window, however few
// instructions it runs.
INSTANTIATE_TEST_SUITE_P(BudgetCountsWork, Limits, testing::Values(
    LimitCase{"LongComparisonsFewSteps", "^(a+)\\1c", kMiB + "bc", kTooComplex, 0},
    LimitCase{"BackReferenceOnShortLine", "(a+)\\1+b", "b" + std::string(4000, 'a'), kTooComplex, 0},
    LimitCase{"BackReferenceOnMegabyte", "(a+)\\1+b", "b" + kMiB, kTooComplex, 0},
    LimitCase{"CaseBlindBackReferences", "(?i)(\\w+)(\\w+)\\2\\1z", "z" + std::string(5000, 'a'), kTooComplex, 0},
    // Cheap back references still answer.
    LimitCase{"BackReferenceMatches", "(a+)\\1b", std::string(2000, 'a') + "b", 1, 2001, 1, 1000},
    LimitCase{"DoubledWord", "(\\w+) \\1", Times("ab cd ", 3000) + "x x", 18001, 3, 18001, 1}));

// Repeats of groups over a long line answer from the verdict table when the
// backtracking stack would grow with the line.
INSTANTIATE_TEST_SUITE_P(LongLines, Limits, testing::Values(
    LimitCase{"SingleCharacterAlternatives", "(a|b)*", std::string(600000, 'a'), 1, 600000, 600000, 1},
    LimitCase{"OverlappingAlternativesNoMatch", "(a|aa)+b", "b" + std::string(700000, 'a'), 0, 0},
    LimitCase{"OverlappingAlternativesMatch", "(a|aa)+b", std::string(700000, 'a') + "b", 1, 700001, 700000, 1},
    LimitCase{"SecondAlternativeNeeded", "(a|ab)*!", Times("ab", 300000) + "!", 1, 600001, 599999, 2},
    LimitCase{"LazyGroup", "(a|b)+?c", Times("ab", 300000) + "c", 1, 600001, 600000, 1},
    LimitCase{"LazyStarMatchesEmpty", "(a|b)*?", kMiB, 1, 0, -1},
    LimitCase{"AnyCharacterGroup", "(.)*!", std::string(1500000, 'x') + "!", 1, 1500001, 1500000, 1},
    LimitCase{"GroupWithRepeatInside", "(<[^>]*>)*$", Times("<b>", 400000), 1, 1200000, 1199998, 3},
    LimitCase{"AnchoredInside", "^(ab|cd)+$", Times("abcd", 300000), 1, 1200000, 1199999, 2},
    LimitCase{"NoMatchAtEnd", "^(ab|cd)+$", Times("abcd", 300000) + "a", 0, 0}));

// Loops over operands that can match empty: braces are accepted, and an
// iteration that matches nothing ends the loop instead of repeating.
INSTANTIATE_TEST_SUITE_P(EmptyIterations, Limits, testing::Values(
    LimitCase{"SelfReferenceBraces", "(|\\1){1,25}!", "a!", 2, 1, 2, 0},
    LimitCase{"HugeCountOnAssertion", "\\B{99999999}", "", 1, 0},
    LimitCase{"HugeCountOnWordBoundary", "x\\b{5000,}", "ax", 2, 1},
    LimitCase{"OpenBracesOnStar", "(a*){2,}", "aaa", 1, 3, 4, 0},
    LimitCase{"OpenBracesOnOptional", "(a?){1,}b", "aab", 1, 3, 2, 1},
    LimitCase{"OpenBracesFromZero", "(a|){0,}b", "aab", 1, 3, 2, 1},
    LimitCase{"LazyOpenBraces", "(a?){2,}?b", "aab", 1, 3, 2, 1},
    LimitCase{"OpenBracesNoMatch", "(a*){3,}b", "aaa", 0, 0},
    LimitCase{"BoundedBracesWithBackReference", "(a|\\1){2,30}b", "aaab", 1, 4, 3, 1}));

// The verdict table and backtracking find the same match and groups: every
// expression runs once the usual way and once with the table from the start.
TEST(RegEngineLimits, VerdictAgreesWithBacktracking) {
    std::mt19937 rng(4242);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::function<std::string(int)> gen = [&](int depth) -> std::string {
        int kind = depth > 2 ? pick(3) : pick(7);
        std::string atom;
        switch (kind) {
            case 0: {
                static const char* atoms[] = {"a", "b", "c", "a", "b", "\\w", "\\b", "^", "$", "\\B", "(?i)A"};
                atom = atoms[pick(11)];
                break;
            }
            case 1: atom = pick(2) ? "[ab]" : "[^a]"; break;
            case 2: atom = pick(2) ? "." : "ab"; break;
            case 3: atom = "(" + gen(depth + 1) + ")"; break;
            case 4: atom = "(" + gen(depth + 1) + "|" + gen(depth + 1) + ")"; break;
            default: atom = gen(depth + 1) + gen(depth + 1); break;
        }
        static const char* quants[] = {"", "", "*", "+", "?", "*?", "+?", "??", "{1,2}", "{2}", "{0,3}?", "{2,}"};
        return atom + quants[pick(12)];
    };
    size_t& depth = pelm::regengine::VerdictDepth();
    const size_t usual = depth;
    int compared = 0;
    for (int iter = 0; iter < 4000; ++iter) {
        std::string expr = gen(0);
        std::string text;
        int n = pick(14);
        for (int k = 0; k < n; ++k) text.push_back("abcx "[pick(5)]);
        TRegEngine usualEngine, tableEngine;
        usualEngine.SetExpressionText(expr);
        tableEngine.SetExpressionText(expr);
        try {
            usualEngine.Compile();
        } catch (const ERegEngine&) {
            continue;
        }
        depth = usual;
        bool a = usualEngine.RunOn(text);
        depth = 0;
        bool b = tableEngine.RunOn(text);
        depth = usual;
        for (;;) {
            ASSERT_EQ(a, b) << expr << " on " << text;
            if (!a) break;
            for (int g = 0; g <= TRegEngine::kMaxGroup; ++g) {
                ASSERT_EQ(usualEngine.GroupStart(g), tableEngine.GroupStart(g)) << expr << " on " << text << " group " << g;
                ASSERT_EQ(usualEngine.GroupLength(g), tableEngine.GroupLength(g)) << expr << " on " << text << " group " << g;
            }
            a = usualEngine.RunNext();
            depth = 0;
            b = tableEngine.RunNext();
            depth = usual;
        }
        ++compared;
    }
    depth = usual;
    EXPECT_GT(compared, 2000);
}

// The budget belongs to the line: the searches after the first (RunNext) draw on
// what is left, so finding every match of a line stays bounded too, while a line
// with many cheap matches finds them all.
TEST(RegEngineLimits, ManyMatchesOnOneLine) {
    TRegEngine re;
    re.SetExpressionText("a");
    int count = 0;
    for (bool f = re.RunOn(kMiB); f; f = re.RunNext()) ++count;
    EXPECT_EQ(count, 1 << 20);
    re.SetExpressionText("(a|b)*?a");
    count = 0;
    for (bool f = re.RunOn(std::string(300000, 'a')); f; f = re.RunNext()) ++count;
    EXPECT_EQ(count, 300000);
}

}  // namespace
