#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/platform/Cp1251.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"

using namespace pelm;

namespace {

std::vector<int> Positions(TCodeEditSearchCustom& e, const std::string& line) {
    int n = e.FindAllInLine(line);
    std::vector<int> out;
    for (int i = 0; i < n; ++i) out.push_back(e.MatchPosition(i));
    EXPECT_EQ(n, e.MatchCount());
    return out;
}

struct PlainCase {
    const char* name;
    std::string pattern;
    SearchOptions options;
    std::string line;
    std::vector<int> positions;
};
std::ostream& operator<<(std::ostream& os, const PlainCase& c) { return os << c.name; }

class PlainSearch : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainSearch, Positions) {
    const PlainCase& c = GetParam();
    TCodeEditSearch e;
    e.SetSearchOptions(c.options);
    e.SetPattern(c.pattern);
    EXPECT_EQ(Positions(e, c.line), c.positions);
}

const std::string kCat = cp1251::FromUtf8("кот");

INSTANTIATE_TEST_SUITE_P(Edges, PlainSearch, testing::Values(
    PlainCase{"NonOverlapping", "aa", soMatchCase, "aaaa", {1, 3}},
    PlainCase{"RepeatedLastByte", "abab", soMatchCase, "abababab", {1, 5}},
    PlainCase{"LineShorterThanPattern", "abc", 0, "ab", {}},
    PlainCase{"WholeLine", "abc", 0, "abc", {1}},
    PlainCase{"AtLineEnd", "yz", 0, "xxyz", {3}},
    PlainCase{"IgnoreCaseByDefault", "Cat", 0, "CAT cat cAt", {1, 5, 9}},
    PlainCase{"MatchCase", "Cat", soMatchCase, "CAT cat Cat", {9}},
    PlainCase{"IgnoreCaseCyrillic", cp1251::FromUtf8("КоТ"), 0, cp1251::FromUtf8("КОТ кот"), {1, 5}},
    PlainCase{"WholeWordNotInside", "cat", soWholeWord, "concat cats cat", {13}},
    PlainCase{"WholeWordUnderscoreJoins", "cat", soWholeWord, "cat_x x_cat cat", {13}},
    PlainCase{"WholeWordHyphenSeparates", "cat", soWholeWord, "cat-y x-cat", {1, 9}},
    PlainCase{"WithoutWholeWord", "cat", 0, "concat cat_x", {4, 8}},
    PlainCase{"WholeWordCyrillic", kCat, soWholeWord, cp1251::FromUtf8("котик кот ёкот кот,"), {7, 16}},
    PlainCase{"WholeWordSkipsToNext", "aa", soWholeWord | soMatchCase, "aaa aa", {5}},
    PlainCase{"HighBytes", "\xFF\xFE", soMatchCase, "a\xFF\xFE\xFF\xFE", {2, 4}}));

TEST(PlainSearch, AgreesWithNaiveScan) {
    // Leftmost, non-overlapping matches, as a naive scan finds them.
    std::mt19937 rng(7);
    for (int iter = 0; iter < 20000; ++iter) {
        std::string pat, line;
        int pl = 1 + static_cast<int>(rng() % 4), ll = static_cast<int>(rng() % 20);
        for (int k = 0; k < pl; ++k) pat.push_back("abA_"[rng() % 4]);
        for (int k = 0; k < ll; ++k) line.push_back("abA_ "[rng() % 5]);
        bool sensitive = rng() % 2, whole = rng() % 2;
        auto tr = [&](char c) { return sensitive ? c : static_cast<char>(cp1251::ToLower(static_cast<unsigned char>(c))); };
        auto delim = [&](int i) { return i < 0 || i >= ll || line[i] == ' '; };
        std::vector<int> expected;
        for (int i = 0; i + pl <= ll;) {
            bool eq = true;
            for (int j = 0; j < pl && eq; ++j) eq = tr(line[i + j]) == tr(pat[j]);
            if (eq && (!whole || (delim(i - 1) && delim(i + pl)))) {
                expected.push_back(i + 1);
                i += pl;
            } else {
                ++i;
            }
        }
        TCodeEditSearch e;
        e.SetSearchOptions((sensitive ? soMatchCase : 0) | (whole ? soWholeWord : 0));
        e.SetPattern(pat);
        ASSERT_EQ(Positions(e, line), expected) << pat << " in '" << line << "' case " << sensitive << " whole " << whole;
    }
}

TEST(PlainSearch, EngineState) {
    TCodeEditSearch e;
    EXPECT_THROW(e.FindAllInLine("abc"), EError);
    try {
        e.FindAllInLine("abc");
    } catch (const EError& err) {
        EXPECT_STREQ(err.what(), "Pattern is empty");
    }
    e.SetPattern("ab");
    EXPECT_EQ(e.FindAllInLine("ab ab"), 2);
    EXPECT_EQ(e.MatchLength(0), 2);
    EXPECT_EQ(e.MatchLength(7), 2);
    EXPECT_EQ(e.MatchPosition(2), 0);
    EXPECT_EQ(e.MatchPosition(-1), 0);
    e.SetPattern("ab");  // same pattern: the counter still starts again
    EXPECT_EQ(e.MatchCount(), 0);
    // Options switch case sensitivity in both directions with the same pattern.
    e.SetSearchOptions(soMatchCase);
    EXPECT_EQ(e.FindAllInLine("AB ab"), 1);
    e.SetSearchOptions(0);
    EXPECT_EQ(e.FindAllInLine("AB ab"), 2);
    EXPECT_EQ(e.ReplacementFor("ab", "$1x"), "$1x");
    EXPECT_EQ(e.ReplacementForMatch(0, "$1x"), "$1x");
}

TEST(RegexSearch, FindAllInLine) {
    TCodeEditRegexSearch e;
    e.SetSearchOptions(soMatchCase);
    e.SetPattern("a+");
    EXPECT_EQ(Positions(e, "aa b aaa A"), (std::vector<int>{1, 6}));
    EXPECT_EQ(e.MatchLength(0), 2);
    EXPECT_EQ(e.MatchLength(1), 3);
    EXPECT_EQ(e.MatchLength(2), 0);
    EXPECT_EQ(e.MatchPosition(2), 0);
    // Without soMatchCase the "i" modifier is on; whole word is not supported.
    e.SetSearchOptions(soWholeWord);
    EXPECT_EQ(Positions(e, "aa b aaa A"), (std::vector<int>{1, 6, 10}));
    e.SetPattern(cp1251::FromUtf8("кОт"));
    EXPECT_EQ(Positions(e, cp1251::FromUtf8("КОТ котик")), (std::vector<int>{1, 5}));
    EXPECT_EQ(Positions(e, ""), std::vector<int>{});
}

TEST(RegexSearch, EmptyMatchesAreRecorded) {
    TCodeEditRegexSearch e;
    e.SetPattern("x*");
    EXPECT_EQ(Positions(e, "abc"), (std::vector<int>{1, 2, 3, 4}));
}

TEST(RegexSearch, InvalidExpressionRaises) {
    TCodeEditRegexSearch e;
    e.SetPattern("[z-a]");
    EXPECT_THROW(e.FindAllInLine("abc"), ERegEngine);
}

TEST(RegexSearch, Replacements) {
    TCodeEditRegexSearch e;
    e.SetSearchOptions(soMatchCase);
    e.SetPattern("(\\w+)=(\\w+)");
    ASSERT_EQ(e.FindAllInLine("a=b, cc=dd"), 2);
    EXPECT_EQ(e.ReplacementForMatch(0, "$2=$1"), "b=a");
    EXPECT_EQ(e.ReplacementForMatch(1, "$2=$1"), "dd=cc");
    EXPECT_EQ(e.ReplacementFor("cc=dd", "$2=$1"), "dd=cc");
    // One match of the found text gets one copy of the template.
    e.SetPattern("a*");
    EXPECT_EQ(e.ReplacementFor("aaa", "X"), "X");
    ASSERT_EQ(e.FindAllInLine("baaa"), 3);  // empty at 1, aaa at 2, empty at 5
    EXPECT_EQ(e.ReplacementForMatch(1, "<$&>"), "<aaa>");
    // In its line a match sees the text around it; alone, the found text may not match.
    e.SetPattern("\\Bb");
    ASSERT_EQ(e.FindAllInLine("ab"), 1);
    EXPECT_EQ(e.ReplacementForMatch(0, "[$&]"), "[b]");
    EXPECT_EQ(e.ReplacementFor("b", "[$&]"), "b");
}

}  // namespace
