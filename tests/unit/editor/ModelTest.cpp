// Bookmarks, the keystroke table, command hooks, the buffer hooks' reactions,
// long lines and the highlighter seam.
#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

TEST(Bookmarks, PlaceJumpRemove) {
    TCustomCodeEdit e;
    std::vector<std::string> lines(30, "text");
    e.Lines().AppendLines(lines);
    std::vector<int> placed, cleared;
    e.OnPlaceBookmark = [&](int n) { placed.push_back(n); };
    e.OnClearBookmark = [&](int n) { cleared.push_back(n); };
    e.PlaceBookmark(3, 2, 10);
    e.PlaceBookmark(3, 2, 20);  // replaces the first
    EXPECT_EQ(e.Marks().Count(), 1);
    EXPECT_EQ(e.Bookmark(3)->Line, 20);
    EXPECT_EQ(placed, (std::vector<int>{3, 3}));
    EXPECT_EQ(cleared, (std::vector<int>{3}));
    e.PlaceBookmark(4, 1, 20);  // two bookmarks on one line
    EXPECT_EQ(e.Marks().MarksOnLine(20).size(), 2u);
    e.PlaceBookmark(10, 1, 1);
    e.PlaceBookmark(5, 1, 31);
    EXPECT_EQ(e.Marks().Count(), 2);
    e.JumpToBookmark(3);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{2, 20}));
    e.RemoveBookmark(3);
    EXPECT_EQ(e.Bookmark(3), nullptr);
    e.JumpToBookmark(3);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{2, 20}));
}

struct MarkCase {
    const char* name;
    const char* before;
    int markLine;
    const char* steps;
    int expectedLine;
};

class MarksFollow : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarksFollow, Edits) {
    const MarkCase& c = GetParam();
    TCustomCodeEdit e;
    Load(e, c.before);
    e.PlaceBookmark(0, 1, c.markLine);
    Keys(e, c.steps);
    EXPECT_EQ(e.Bookmark(0)->Line, c.expectedLine);
}

const MarkCase markCases[] = {
    {"EnterMidLineAbove", "a|b\nc\nd", 2, "{Enter}", 3},
    {"EnterMidLineOnMarkLineStays", "a\nc|c\nd", 2, "{Enter}", 2},
    {"EnterAtColumn1MovesWithText", "a\n|cc\nd", 2, "{Enter}", 3},
    {"JoinAbovePullsUp", "a\n|b\nc", 3, "{BS}", 2},
    {"DeletedLineMovesToNext", "a\nb|b\nc", 2, "{DelLine}", 2},
    {"DeleteSelectionOfLines", "[a\nb\nc|]\nd", 4, "{Del}", 2},
    {"UndoLineBreakMovesUp", "a|b\nc\nd", 3, "{Enter}{Undo}", 3},
    {"PasteOfLinesAtColumn1", "|a\nb", 2, "{SelectAll}{Copy}{Top}{Paste}", 3},
};
INSTANTIATE_TEST_SUITE_P(Bookmarks, MarksFollow, ::testing::ValuesIn(markCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Bookmarks, LoadingKeepsLineNumbersAndFarOnesAreUnreachable) {
    TCustomCodeEdit e;
    std::vector<std::string> lines(30, "text");
    e.Lines().AppendLines(lines);
    e.PlaceBookmark(1, 1, 5);
    e.PlaceBookmark(2, 1, 25);
    e.Lines().SetText("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix");
    EXPECT_EQ(e.Bookmark(1)->Line, 5);
    EXPECT_EQ(e.Bookmark(2)->Line, 25);
    e.SetCaretPos({1, 1});
    e.JumpToBookmark(2);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{1, 1}));
    e.JumpToBookmark(1);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{1, 5}));
}

TEST(Keystrokes, DefaultsAndDuplicates) {
    TCodeEditKeyStrokes k;
    EXPECT_EQ(k.FindKeycode(VK_UP, 0), ecUp);
    EXPECT_EQ(k.FindKeycode(VK_BACK, ssAlt), ecUndo);
    EXPECT_EQ(k.FindKeycode(VK_BACK, ssShift | ssAlt), ecRedo);
    EXPECT_EQ(k.FindKeycode('Z', ssCtrl | ssShift), ecRedo);
    EXPECT_EQ(k.FindKeycode('7', ssCtrl), ecGotoMarker0 + 7);
    EXPECT_EQ(k.FindKeycode('7', ssCtrl | ssShift), ecSetMarker0 + 7);
    EXPECT_EQ(k.FindKeycode('B', ssCtrl | ssShift), ecMatchBracket);
    EXPECT_EQ(k.FindKeycode(VK_F1, 0), ecContextHelp);
    EXPECT_EQ(k.Count(), 58 + 20 + 4);
    EXPECT_EQ(k.Items(0).Command, ecUp);
    try {
        k.Add(ecCopy, VK_UP, 0);
        FAIL();
    } catch (const ECodeKeyError& x) {
        EXPECT_STREQ(x.what(), "Shortcut already exists");
    }
    EXPECT_THROW(k.SetShortCut(1, ShortCut(VK_UP, 0)), ECodeKeyError);
    EXPECT_TRUE(k.Remove(VK_F1, 0));
    EXPECT_EQ(k.FindKeycode(VK_F1, 0), ecNone);
}

TEST(Keys, ConsumedKeyDropsItsCharacterAndTabsNeedWantTabs) {
    TCustomCodeEdit e;
    Load(e, "ab|");
    EXPECT_TRUE(e.KeyDown(VK_RETURN, 0));
    e.KeyPress('\r');  // the character of the same press is dropped
    e.KeyPress('x');
    EXPECT_EQ(Show(e), "ab\nx|");
    EXPECT_FALSE(e.KeyDown(VK_TAB, 0));
    e.WantTabs = true;
    EXPECT_TRUE(e.KeyDown(VK_TAB, 0));
    EXPECT_EQ(Show(e), "ab\nx~|");  // smart tab: up to the end of "b" above
}

TEST(Keys, HandlersRunFirstAndCanSwallow) {
    TCustomCodeEdit e;
    Load(e, "|");
    int id = e.AddKeyPressHandler([](char& c) { if (c == 'a') c = 'b'; });
    e.AddKeyDownHandler([](uint8_t& key, TShiftState) { if (key == VK_LEFT) key = 0; });
    e.KeyPress('a');
    EXPECT_FALSE(!e.KeyDown(VK_LEFT, 0));
    EXPECT_EQ(Show(e), "b|");
    e.RemoveHandler(id);
    e.KeyPress('a');
    EXPECT_EQ(Show(e), "ba|");
}

TEST(Commands, HookOrderAndCancel) {
    TCustomCodeEdit e;
    Load(e, "|");
    std::vector<std::string> log;
    e.OnProcessCommand = [&](TCodeEditorCommand& c, char& ch, void*) {
        log.push_back("process");
        if (ch == 'q') c = ecNone;
    };
    e.OnCommandProcessed = [&](TCodeEditorCommand&, char&, void*) { log.push_back("processed"); };
    int data = 7;
    int id = e.RegisterCommandHandler(
        [&](bool after, bool& handled, TCodeEditorCommand&, char& ch, void*, void* hd) {
            log.push_back(std::string(after ? "after" : "before") + std::to_string(*static_cast<int*>(hd)));
            if (!after && ch == 'x') handled = true;
        },
        &data);
    e.PerformCommand(ecChar, 'a');
    EXPECT_EQ(log, (std::vector<std::string>{"process", "before7", "after7", "processed"}));
    log.clear();
    e.PerformCommand(ecChar, 'x');  // cancelled by the hook
    e.PerformCommand(ecChar, 'q');  // cancelled by OnProcessCommand: no hooks at all
    EXPECT_EQ(log, (std::vector<std::string>{"process", "before7", "after7", "process"}));
    EXPECT_EQ(Show(e), "a|");
    e.UnregisterCommandHandler(id);
    int user = 0;
    e.OnProcessUserCommand = [&](TCodeEditorCommand& c, char&, void*) { user = c; };
    e.PerformCommand(ecUserFirst + 5);
    EXPECT_EQ(user, ecUserFirst + 5);
}

TEST(BufferHooks, ExternalChangesDropTheSelection) {
    TCustomCodeEdit e;
    Load(e, "a[bc|]d\nxy");
    e.Lines().SetStrings(1, "zz");
    EXPECT_FALSE(e.HasSelection());
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{4, 1}));
    Load(e, "ab\ncd|");
    e.Lines().Delete(1);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{3, 1}));  // clamped into the buffer
    e.Lines().Clear();
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{1, 1}));
    EXPECT_EQ(e.FirstRow(), 1);
}

TEST(StatusChanges, ReportedOnceWhenPaintingUnlocks) {
    TCustomCodeEdit e;
    Load(e, "abc|");
    std::vector<TStatusChanges> seen;
    e.OnStatusChange = [&](TStatusChanges c) { seen.push_back(c); };
    e.LockPainting();
    e.SetCaretPos({1, 1});
    e.SetInsertMode(false);
    EXPECT_TRUE(seen.empty());
    e.UnlockPainting();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0] & scCaretX);
    EXPECT_TRUE(seen[0] & scInsertMode);
}

// MaxScrollWidth limits only virtual space: a 200,000-byte line is editable at
// every column.
TEST(LongLines, EveryColumnOfA200000ByteLineWorks) {
    TCustomCodeEdit e;
    std::string line(200000, 'a');
    e.Lines().Add(line);
    e.Lines().Add("b");
    e.SetCaretPos({150001, 1});
    EXPECT_EQ(e.CaretPos().Column, 150001);
    Keys(e, "X");
    EXPECT_EQ(e.Lines().Line(0)[150000], 'X');
    Keys(e, "{BS}{Del}{S-Right}{S-Right}");
    EXPECT_EQ(e.SelectedText(), "aa");
    e.PerformCommand(ecLineEnd);
    EXPECT_EQ(e.CaretPos().Column, 199999 + 1);
    Keys(e, "{Right}");
    EXPECT_EQ(e.CaretPos().Column, 199999 + 1);  // no virtual space beyond 1025 on it
    Keys(e, "Z");
    EXPECT_EQ(e.CaretPos().Column, 200001);
    EXPECT_EQ(e.Lines().LineLength(0), 200000);
    EXPECT_GT(e.FirstColumn(), 1024);
    // Virtual space stays bounded on short lines.
    e.SetCaretPos({5000, 2});
    EXPECT_EQ(e.CaretPos().Column, 1025);
    Keys(e, "q");
    EXPECT_EQ(e.Lines().Line(1), "b");
    e.SetCaretPos({1024, 2});
    Keys(e, "q");
    EXPECT_EQ(e.Lines().LineLength(1), 1024);
}

// A highlighter seen through the seam: identifier and word characters, tokens
// in comments, rescans.
class FakeHighlighter : public TCodeEditHighlighterLink {
public:
    CharSet IdentChars() const override {
        CharSet s{};
        for (int c = 'a'; c <= 'z'; ++c) s[c] = true;
        s['-'] = true;
        return s;
    }
    CharSet WordChars() const override { return IdentChars(); }
    bool InCommentOrString(const TCodeEditStringList& lines, int index, int column) override {
        std::string_view l = lines.Line(index);
        size_t c = l.find("//");
        return c != std::string_view::npos && static_cast<size_t>(column - 1) >= c;
    }
    int RescanFrom(TCodeEditStringList& lines, int index) override {
        rescans.push_back(index);
        return index;
    }
    void FullRescan(TCodeEditStringList&) override { ++full; }
    void Subscribe(std::function<void()> cb) override { notify = std::move(cb); }
    std::vector<int> rescans;
    int full = 0;
    std::function<void()> notify;
};

TEST(Highlighter, WordsBracketsAndRescans) {
    TCustomCodeEdit e;
    FakeHighlighter h;
    Load(e, "|ab-cd ef");
    e.SetHighlighterLink(&h);
    EXPECT_EQ(h.full, 1);
    ASSERT_TRUE(h.notify);
    h.notify();
    EXPECT_EQ(h.full, 2);
    Keys(e, "{WordRight}");
    EXPECT_EQ(Show(e), "ab-cd |ef");  // '-' is a word character of this language
    Load(e, "|(a // )\n)");
    Keys(e, "{Match}");
    EXPECT_EQ(Show(e), "(a // )\n|)");
    h.rescans.clear();
    Keys(e, "{Bottom}x");
    EXPECT_EQ(h.rescans, (std::vector<int>{1}));
    Keys(e, "{Enter}");
    EXPECT_FALSE(h.rescans.empty());
    e.SetHighlighterLink(nullptr);
    EXPECT_FALSE(h.notify);
    Load(e, "|ab-cd");
    Keys(e, "{WordRight}");
    EXPECT_EQ(Show(e), "ab-|cd");
}

}  // namespace

#include "core/highlight/THTMLHighlighter.h"

namespace {

TEST(Highlighter, RealHighlighterStatesAndComments) {
    THTMLHighlighter html;
    TCustomCodeEdit e;
    Load(e, "|(a <!-- ) \n --> b)\nc");
    e.SetHighlighter(&html);
    EXPECT_EQ(e.Highlighter(), &html);
    EXPECT_EQ(html.SubscriberCount(), 1);
    // The comment's range is stored at the end of line 1.
    EXPECT_NE(e.Lines().LineState(0), e.Lines().LineState(2));
    Keys(e, "{Match}");  // the ")" inside the comment does not count
    EXPECT_EQ(Show(e), "(a <!-- ) \n --> b|)\nc");
    // Closing the comment on line 1 changes the state that line 2 starts from.
    int32_t before = e.Lines().LineState(0);
    e.SetCaretPos({11, 1});
    Keys(e, "-->");
    EXPECT_NE(e.Lines().LineState(0), before);
    EXPECT_EQ(e.Lines().LineState(0), e.Lines().LineState(2));
    e.SetHighlighter(nullptr);
    EXPECT_EQ(html.SubscriberCount(), 0);
    EXPECT_EQ(e.Highlighter(), nullptr);
}

}  // namespace

namespace {

struct RecordingView : TCodeEditView {
    std::vector<std::pair<int, int>> rows;
    int all = 0, bars = 0;
    void InvalidateRows(int first, int last, bool, bool) override { rows.emplace_back(first, last); }
    void InvalidateAll() override { ++all; }
    void ScrollBarsChanged() override { ++bars; }
};

TEST(View, RepaintsOfOneChangeAreCollected) {
    TCustomCodeEdit e;
    RecordingView v;
    Load(e, "a\nb|\nc\nd");
    e.SetView(&v);
    Keys(e, "x");
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0], (std::pair<int, int>{2, 2}));
    v.rows.clear();
    e.SetSelectedText("1\r\n2\r\n3");  // several lines change: one pending area
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0], (std::pair<int, int>{2, -1}));
    EXPECT_GE(v.bars, 2);
    e.SetView(nullptr);
}

}  // namespace
