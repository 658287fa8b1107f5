// Keeping the buffer's end states in step: incremental rescans stop at the
// first line whose state matches, and always agree with a full rescan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/highlight/THTMLHighlighter.h"

using namespace pelm;

namespace {

std::vector<int32_t> states(const TCodeEditStringList& l) {
    std::vector<int32_t> s;
    for (int i = 0; i < l.Count(); ++i) s.push_back(l.LineState(i));
    return s;
}

// The states a full rescan of the same text gives.
std::vector<int32_t> fullStates(const TCodeEditStringList& l) {
    TCodeEditStringList copy;
    copy.Assign(l);
    THTMLHighlighter h;
    FullRescan(copy, h);
    return states(copy);
}

// The editor's side of the hooks, reduced to the rescans; lastRescanned
// records what each rescan returned.
class RescanFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* s : {"<p>", "<!-- start", "inside", "more", "end -->", "<b>text</b>", "after"})
            lines.Add(s);
        FullRescan(lines, hl);
        inserted = lines.OnLinesInserted.Subscribe(
            [this](int i, int n) { lastRescanned = adapter.RescanInserted(lines, i, n); });
        put = lines.OnLinePut.Subscribe([this](int i, int) { lastRescanned = RescanFrom(lines, hl, i); });
        lines.OnLinesDeleted.Subscribe([this](int i, int) {
            if (lines.Count() > 0) lastRescanned = RescanFrom(lines, hl, i);
        });
    }
    TCodeEditStringList lines;
    THTMLHighlighter hl;
    TCodeEditHighlighterAdapter adapter{hl};
    TListenerToken inserted = 0, put = 0;
    int lastRescanned = -2;
};

TEST_F(RescanFixture, InsertedLineInsideACommentStopsAtTheNextMatchingLine) {
    const std::vector<int32_t> before = states(lines);
    EXPECT_EQ(before, (std::vector<int32_t>{4, 1, 1, 1, 4, 4, 4}));
    lines.Insert(2, "new line");
    // Line 2 is new (never scanned), line 3 "inside" still ends in the comment.
    EXPECT_EQ(lastRescanned, 3);
    EXPECT_EQ(lines.LineState(2), THTMLHighlighter::rsComment);
    EXPECT_EQ(states(lines), fullStates(lines));
}

TEST_F(RescanFixture, OpeningAndClosingCommentsRecolourUntilStatesAgree) {
    struct Step {
        int line;
        const char* text;
        int lastRescanned;
    };
    const Step steps[] = {
        {5, "<b>text</b>x", 5},  // a keystroke that keeps the end state: one line
        {0, "<!-- open", 1},     // line 1 already ends inside the comment
        {4, "end", 6},           // the comment no longer closes: on to the last line
        {6, "x -->", 6},
        {4, "end -->", 6},       // closes again: every line below changes back
        {0, "<p>", 1},
    };
    for (const Step& s : steps) {
        lines.SetStrings(s.line, s.text);
        EXPECT_EQ(lastRescanned, s.lastRescanned) << s.text;
        EXPECT_EQ(states(lines), fullStates(lines)) << s.text;
    }
}

TEST_F(RescanFixture, DeletingLinesRescansFromTheGap) {
    lines.Delete(4);  // "end -->": the comment now runs to the end
    EXPECT_EQ(lastRescanned, 5);
    EXPECT_EQ(states(lines), fullStates(lines));
    lines.RemoveLines(0, 2);
    EXPECT_EQ(states(lines), fullStates(lines));
    lines.RemoveLines(0, 100);
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(RescanFixture, InsertedBlockIsCoveredWhenARescanStopsInsideIt) {
    lines.OnLinesInserted.Unsubscribe(inserted);
    lines.InsertEmptyLines(2, 3);  // all-zero records
    lines.SetLineState(2, 1);      // as if the first already held the right state
    lines.SetStrings(2, "");       // (no hook is wired for puts below)
    lines.OnLinePut.Unsubscribe(put);
    lines.SetStrings(3, "x");
    lines.SetStrings(4, "y");
    // A rescan from 2 alone stops at once; the block rule goes on from 3.
    EXPECT_EQ(RescanFrom(lines, hl, 2), 2);
    EXPECT_EQ(lines.LineState(3), 0);
    int last = adapter.RescanInserted(lines, 2, 3);
    EXPECT_GE(last, 4);
    EXPECT_EQ(states(lines), fullStates(lines));
}

TEST(Rescan, EdgesOfTheBuffer) {
    TCodeEditStringList lines;
    THTMLHighlighter hl;
    EXPECT_EQ(RescanFrom(lines, hl, 0), 0);
    lines.Add("<!--");
    lines.Add("x");
    EXPECT_EQ(RescanFrom(lines, hl, 5), 5);
    EXPECT_EQ(RescanFrom(lines, hl, 0), 1);  // ran to the end
    EXPECT_EQ(states(lines), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(RescanFrom(lines, hl, 0), 0);  // nothing changed: stops at once
}

TEST(Rescan, FullRescanIsOneUpdateBracket) {
    TCodeEditStringList lines;
    for (int i = 0; i < 5; ++i) lines.Add("x\" y");
    THTMLHighlighter hl;
    int changing = 0, changed = 0;
    lines.OnLinesChanging.Subscribe([&] { ++changing; });
    lines.OnLinesChanged.Subscribe([&] { ++changed; });
    hl.SetState(THTMLHighlighter::rsDoubleQuoted);  // a full rescan starts from ResetState
    FullRescan(lines, hl);
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(states(lines), (std::vector<int32_t>{4, 4, 4, 4, 4}));
}

}  // namespace
