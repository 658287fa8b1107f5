// The editor's search-replace loop over the plain and the regular-expression
// engine: ranges, the column filter, column shifts, prompts and undo.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestUtil.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"

using namespace pelm;
using namespace editortest;

namespace {

constexpr TSearchOptions Find = soEntireScope;
constexpr TSearchOptions All = soEntireScope | soReplace | soReplaceAll;
constexpr TSearchOptions FromCaret = soReplace | soReplaceAll;
constexpr TSearchOptions Asked = soEntireScope | soReplace | soReplaceAll | soPrompt;

// Answers the prompts from a script (C cancel, S skip, R replace, A all) and
// writes down where each prompt pointed ("line:column ").
struct PromptScript {
    std::string answers;
    std::string asked;
    size_t next = 0;

    void Attach(TCustomCodeEdit& e) {
        e.OnReplaceText = [this](const std::string&, const std::string&, int line, int column,
                                 TCodeReplaceAction& action) {
            asked += std::to_string(line) + ":" + std::to_string(column) + " ";
            char a = next < answers.size() ? answers[next++] : 'C';
            action = a == 'S' ? raSkip : a == 'R' ? raReplace : a == 'A' ? raReplaceAll : raCancel;
        };
    }
};

struct Case {
    const char* name;
    const char* before;  // marker notation
    TSelectionMode mode;
    bool regex;
    const char* search;
    const char* replace;
    TSearchOptions options;
    const char* answers;  // prompt script
    const char* after;
    int count;
    const char* asked;  // prompts seen
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class FindReplace : public ::testing::TestWithParam<Case> {};

TEST_P(FindReplace, Run) {
    const Case& c = GetParam();
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    TCodeEditRegexSearch regex;
    Load(e, c.before);
    e.SetSelectionMode(c.mode);
    e.SetSearchEngine(c.regex ? static_cast<TCodeEditSearchCustom*>(&regex) : &plain);
    PromptScript script{c.answers, {}};
    script.Attach(e);
    EXPECT_EQ(e.FindAndReplace(c.search, c.replace, c.options), c.count);
    EXPECT_EQ(Show(e), c.after);
    EXPECT_EQ(script.asked, c.asked);
}

const Case finds[] = {
    {"AaInAaaaFindsColumn1", "|aaaa", smNormal, false, "aa", "", Find, "", "[aa|]aa", 1, ""},
    {"AaInAaaaReplacesColumns1And3", "|aaaa", smNormal, false, "aa", "X", All, "", "XX|", 2, ""},
    {"FromCaretAfterMatchFindsNext", "ab|ab ab", smNormal, false, "ab", "", 0, "", "ab[ab|] ab", 1, ""},
    {"BackwardsFromMatchStartFindsPrevious", "ab ab |ab", smNormal, false, "ab", "", soBackwards, "",
     "ab [|ab] ab", 1, ""},
    {"BackwardsEntireScopeFindsLast", "|ab ab", smNormal, false, "ab", "", Find | soBackwards, "", "ab [|ab]", 1,
     ""},
    {"NothingFoundChangesNothing", "a[b|]c", smNormal, false, "x", "", Find, "", "a[b|]c", 0, ""},
    {"EmptySearchTextFindsNothing", "a|bc", smNormal, false, "", "", Find, "", "a|bc", 0, ""},
    {"MatchCase", "|Ab ab", smNormal, false, "ab", "", Find | soMatchCase, "", "Ab [ab|]", 1, ""},
    {"WholeWord", "|concat cat_ cat-", smNormal, false, "cat", "", Find | soWholeWord, "", "concat cat_ [cat|]-", 1,
     ""},
    {"ColumnModeCaretFiltersEveryLine", "x   |x x\nxx  xx\nzzzzzzzzzz", smColumn, false, "x", "Y", FromCaret, "",
     "x   Y Y\nxx  YY|\nzzzzzzzzzz", 4, ""},
    // The last line ends left of the caret: the block is empty and filters nothing.
    {"ColumnModeEndNotRightOfStartFiltersNothing", "x   |x\nxx", smColumn, false, "x", "Y", FromCaret, "",
     "Y   Y\nYY|", 4, ""},
    // In line mode a search from the caret still starts at the caret: find next
    // goes on to the next match instead of finding the line's first one again.
    {"LineModeFromCaretFindsNext", "ab ab| ab\nab", smLine, false, "ab", "", 0, "", "ab ab [ab|]\nab", 1, ""},
    {"LineModeBackwardsFromCaretFindsPrevious", "ab |ab ab", smLine, false, "ab", "", soBackwards, "",
     "[|ab] ab ab", 1, ""},
};
INSTANTIATE_TEST_SUITE_P(Finds, FindReplace, ::testing::ValuesIn(finds));

const Case replaces[] = {
    {"AToBbShiftsLaterMatches", "|a a", smNormal, false, "a", "bb", All, "", "bb bb|", 2, ""},
    {"PromptsSeeShiftedColumns", "|a a\na", smNormal, false, "a", "bb", Asked, "RRR", "bb bb\nbb|", 3,
     "1:1 1:4 2:1 "},
    {"ShrinkingShiftsLeft", "|abc abc abc", smNormal, false, "abc", "x", Asked, "RSR", "x abc x|", 3,
     "1:1 1:3 1:7 "},
    {"CancelKeepsEarlierReplacements", "|a a a", smNormal, false, "a", "bb", Asked, "RC", "bb [a|] a", 2, "1:1 1:4 "},
    {"CountIncludesSkipped", "|a a a", smNormal, false, "a", "b", Asked, "SSR", "a a b|", 3, "1:1 1:3 1:5 "},
    {"SkipLeavesCaretAfterMatch", "|a a", smNormal, false, "a", "b", Asked, "RS", "b a|", 2, "1:1 1:3 "},
    {"ReplaceAllAtFirstPromptStopsAsking", "|a a\na a", smNormal, false, "a", "xyz", Asked, "A",
     "xyz xyz\nxyz xyz|", 4, "1:1 "},
    {"ReplaceAllMidLine", "|a a a", smNormal, false, "a", "bb", Asked, "SA", "a bb bb|", 3, "1:1 1:3 "},
    {"ReplaceWithoutAllStopsAfterOne", "|a a", smNormal, false, "a", "b", Find | soReplace, "", "b| a", 1, ""},
    {"BackwardsReplaceAll", "a a\na a|", smNormal, false, "a", "bb", All | soBackwards, "", "bb| bb\nbb bb", 4, ""},
    {"BackwardsPrompted", "a a|", smNormal, false, "a", "bb", Asked | soBackwards, "RR", "bb| bb", 2, "1:3 1:1 "},
    {"LineBreakInReplacement", "|a,b\nc,d", smNormal, false, ",", "\r\n", All, "", "a\nb\nc\n|d", 2, ""},
    {"LineBreakInPromptedReplacement", "|a,b,c", smNormal, false, ",", "\r\n", Asked, "RR", "a\nb\n|c", 2,
     "1:2 2:2 "},
    {"RegexGroups", "|ab12 cd34", smNormal, true, "([a-z]+)([0-9]+)", "$2$1", All, "", "12ab 34cd|", 2, ""},
    {"RegexSeesTextAroundMatch", "|xab ab", smNormal, true, "\\bab", "<$&>", All, "", "xab <ab>|", 1, ""},
    {"RegexIgnoresCase", "|AB ab", smNormal, true, "ab", "x", All, "", "x x|", 2, ""},
};
INSTANTIATE_TEST_SUITE_P(Replaces, FindReplace, ::testing::ValuesIn(replaces));

constexpr TSearchOptions InSelection = All | soSelectedOnly;

const Case selections[] = {
    {"NormalSelectionOnly", "a [a a a|] a", smNormal, false, "a", "bb", InSelection, "", "a bb bb bb| a", 3, ""},
    {"NormalSelectionCutsPartialMatch", "a[b ab a|]b", smNormal, false, "ab", "X", InSelection, "", "ab X| ab", 1,
     ""},
    {"NormalSelectionAcrossLines", "a [a\na a\na|] a", smNormal, false, "a", "b", InSelection, "",
     "a b\nb b\nb| a", 4, ""},
    {"LineSelectionTakesWholeLines", "a\na [a\na|] a\na", smLine, false, "a", "b", InSelection, "",
     "a\nb b\nb b|\na", 4, ""},
    {"ColumnSelectionKeepsToColumns", "a [a a\na a a\na a| a", smColumn, false, "a", "b", InSelection, "",
     "a b a\na b a\na b| a", 3, ""},
    {"ColumnSelectionEndLeftOfStart", "a a] a\na a a\na [|a a", smColumn, false, "a", "b", InSelection, "",
     "a b a\na b a\na b| a", 3, ""},
    // The block's columns are checked against each match where it stands now,
    // after the replacements left of it on its line, prompted or not.
    {"ColumnBlockSeesShiftedMatches", "[a a a a\na a a a|]", smColumn, false, "a", "bbb", InSelection, "",
     "bbb bbb a a\nbbb bbb| a a", 4, ""},
    {"ColumnBlockSeesShiftedMatchesAfterAll", "[a a a a\na a a a|]", smColumn, false, "a", "bbb",
     InSelection | soPrompt, "A", "bbb bbb a a\nbbb bbb| a a", 4, "1:1 "},
    {"NoSelectionSearchesFromCaret", "a |a", smNormal, false, "a", "b", soReplace | soReplaceAll | soSelectedOnly,
     "", "a b|", 1, ""},
};
INSTANTIATE_TEST_SUITE_P(Selections, FindReplace, ::testing::ValuesIn(selections));

TEST(FindReplaceUndo, ReplaceAllAtFirstPromptIsOneUndoStep) {
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    e.SetSearchEngine(&plain);
    Load(e, "|a a a\nb a\na a");
    PromptScript script{"A", {}};
    script.Attach(e);
    EXPECT_EQ(e.FindAndReplace("a", "xy", Asked), 6);
    EXPECT_EQ(Show(e), "xy xy xy\nb xy\nxy xy|");
    e.Undo();
    EXPECT_EQ(e.Lines().Text(), "a a a\r\nb a\r\na a");
    EXPECT_FALSE(e.UndoAvailable());
    e.Redo();
    EXPECT_EQ(e.Lines().Text(), "xy xy xy\r\nb xy\r\nxy xy");
}

TEST(FindReplaceUndo, PromptedReplacementsAreSeparateSteps) {
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    e.SetSearchEngine(&plain);
    Load(e, "|a a");
    PromptScript script{"RR", {}};
    script.Attach(e);
    EXPECT_EQ(e.FindAndReplace("a", "b", Asked), 2);
    e.Undo();
    EXPECT_EQ(e.Lines().Text(), "b a");
}

TEST(FindReplaceUndo, TenThousandMatchesUndoneInOneStep) {
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    e.SetSearchEngine(&plain);
    std::string original;
    for (int i = 0; i < 2000; ++i) original += "<div>x</div> <div>y</div> <div>\r\n";
    original.resize(original.size() - 2);
    e.Lines().SetText(original);
    int changes = 0;
    e.OnChange = [&] { ++changes; };
    EXPECT_EQ(e.FindAndReplace("div", "span", All), 10000);
    EXPECT_EQ(changes, 1);  // one change for the whole block
    std::string replaced = e.Lines().Text();
    EXPECT_EQ(replaced.find("div"), std::string::npos);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{36, 2000}));  // after the last replacement
    e.Undo();
    EXPECT_TRUE(e.Lines().Text() == original);
    EXPECT_FALSE(e.UndoAvailable());
    e.Redo();
    EXPECT_TRUE(e.Lines().Text() == replaced);
}

// Written lines lose their trailing blanks, as with any replacement of the
// selection; undo brings them back with the rest.
TEST(FindReplaceUndo, TrimmedBlanksComeBackWithUndo) {
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    e.SetSearchEngine(&plain);
    for (TSearchOptions options : {All, Asked}) {
        e.Lines().SetText("a b  \r\nx a");
        PromptScript script{"RR", {}};
        script.Attach(e);
        EXPECT_EQ(e.FindAndReplace("a", "", options), 2);
        EXPECT_EQ(e.Lines().Text(), " b\r\nx");
        while (e.UndoAvailable()) e.Undo();
        EXPECT_EQ(e.Lines().Text(), "a b  \r\nx a");
    }
}

TEST(FindReplaceErrors, NoSearchEngine) {
    TCustomCodeEdit e;
    Load(e, "a|b");
    try {
        e.FindAndReplace("a", "", Find);
        FAIL() << "no error";
    } catch (const ECodeEditError& err) {
        EXPECT_STREQ(err.what(), "No search engine has been assigned");
    }
    EXPECT_EQ(Show(e), "a|b");
}

TEST(FindReplaceErrors, InvalidExpressionLeavesTextAndSelection) {
    TCustomCodeEdit e;
    TCodeEditRegexSearch regex;
    e.SetSearchEngine(&regex);
    Load(e, "a[(b|] a");
    EXPECT_THROW(e.FindAndReplace("a(", "x", All), ERegEngine);
    EXPECT_EQ(Show(e), "a[(b|] a");
    EXPECT_FALSE(e.UndoAvailable());
    EXPECT_EQ(e.PaintLock(), 0);
    // The run's undo block was closed: a later edit is an undo step of its own.
    EXPECT_EQ(e.UndoList().BlockDepth(), 0);
}

TEST(FindReplaceView, FoundMatchIsCentredWhenFarOutOfView) {
    TCustomCodeEdit e;
    TCodeEditSearch plain;
    e.SetSearchEngine(&plain);
    std::string text;
    for (int i = 1; i <= 100; ++i) text += i == 80 ? "needle\r\n" : "hay\r\n";
    e.Lines().SetText(text);
    e.SetClientSize(400, 10 * e.RowPixelHeight());
    ASSERT_EQ(e.VisibleRows(), 10);
    EXPECT_EQ(e.FindAndReplace("needle", "", Find), 1);
    EXPECT_EQ(e.FirstRow(), 80 - 4);
    // One row below the window only scrolls by one.
    e.SetCaretPos(TBufferCoord{1, 1});
    e.SetFirstRow(70);
    EXPECT_EQ(e.FindAndReplace("needle", "", Find), 1);
    EXPECT_EQ(e.FirstRow(), 71);
}

}  // namespace
