// The word-wrap map, buffer/display conversions, the caret at a row boundary and
// the metrics arithmetic.
#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

TCodeEditWordWrap::BreakSet blanksBreak() {
    TCodeEditWordWrap::BreakSet b{};
    for (int c = 0; c <= 32; ++c) b[c] = true;
    return b;
}

std::vector<int> wrap(const std::string& cells, int width, const std::vector<bool>* inner = nullptr) {
    std::vector<uint8_t> out;
    int shortest = std::max(1, width - width / 3);
    TCodeEditWordWrap::WrapLine(cells.data(), static_cast<int>(cells.size()), inner, width, shortest, blanksBreak(), out);
    return std::vector<int>(out.begin(), out.end());
}

TEST(WordWrap, BreakRulesAtWidth100) {
    // Shortest row 67: the row ends after the last break among columns 69..100.
    std::string words(68, 'a');
    words += ' ';                       // column 69
    words += std::string(40, 'b');      // columns 70..109
    EXPECT_EQ(wrap(words, 100), (std::vector<int>{69, 40}));

    std::string early(60, 'a');
    early += ' ';                       // column 61: too early to break at
    early += std::string(60, 'b');
    EXPECT_EQ(wrap(early, 100), (std::vector<int>{100, 21}));

    std::string blankRun(100, 'a');
    blankRun += "   ";                  // a blank in column 101: runs on over the blanks
    blankRun += "cd";
    EXPECT_EQ(wrap(blankRun, 100), (std::vector<int>{103, 2}));
}

TEST(WordWrap, LongRowsCutAt255AndEmptyLineHasOneRow) {
    EXPECT_EQ(wrap(std::string(300, 'x'), 255), (std::vector<int>{255, 45}));
    EXPECT_EQ(wrap("", 80), (std::vector<int>{0}));
}

TEST(WordWrap, TabCellsNeverSplit) {
    // "abcdefg" then a tab spanning cells 8..15 (width 8) then text, row width 10.
    std::string cells = "abcdefg" + std::string(9, ' ') + "xyz";
    std::vector<bool> inner(cells.size(), false);
    for (int k = 8; k < 16; ++k) inner[static_cast<size_t>(k)] = true;
    auto rows = wrap(cells, 10, &inner);
    int start = 0;
    for (int r : rows) {
        EXPECT_FALSE(inner[static_cast<size_t>(start)]) << "row starts inside a tab";
        start += r;
    }
}

TEST(WordWrap, MapFollowsEditsAndConversions) {
    TCustomCodeEdit e;
    e.SetClientSize(e.GutterSpan() + 2 + 10 * e.CellPixelWidth(), 100);  // 10 columns
    ASSERT_EQ(e.VisibleColumns(), 10);
    Load(e, "short\naaaaaaaaaaaaaaaaaaaaaaaaa\nend|");
    e.SetWordWrap(true);
    const TCodeEditWordWrap* m = e.WrapMap();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->RowWidth(), 10);
    EXPECT_EQ(e.RowCount(), 5);   // 1 + 3 + 1
    EXPECT_EQ(e.RowOfLine(3), 5);
    EXPECT_EQ(e.LineOfRow(4), 2);
    EXPECT_EQ(e.TextToRowPos({12, 2}), (TDisplayCoord{2, 3}));
    EXPECT_EQ(e.RowToTextPos(TDisplayCoord{2, 3}), (TBufferCoord{12, 2}));
    // The last row of a line allows virtual space up to the row width.
    EXPECT_EQ(e.RowToTextPos(TDisplayCoord{50, 5}), (TBufferCoord{11, 3}));
    // Earlier rows clamp to their length + 1.
    EXPECT_EQ(e.RowToTextPos(TDisplayCoord{50, 2}), (TBufferCoord{11, 2}));

    e.SetCaretPos({1, 1});
    Keys(e, "{Enter}");
    EXPECT_EQ(e.RowCount(), 6);
    e.Lines().SetStrings(2, "x");   // line 3 (the long one) shrinks to one row
    EXPECT_EQ(e.RowCount(), 4);
    e.Lines().Delete(0);
    EXPECT_EQ(e.RowCount(), 3);
    e.SetWordWrap(false);
    EXPECT_EQ(e.WrapMap(), nullptr);
    EXPECT_EQ(e.RowCount(), 3);
}

TEST(WordWrap, CaretHasTwoPlacesAtARowBoundary) {
    TCustomCodeEdit e;
    e.SetClientSize(e.GutterSpan() + 2 + 10 * e.CellPixelWidth(), 100);
    Load(e, "|aaaaaaaaaaaaaaa");
    e.SetWordWrap(true);
    e.SetCaretPos({10, 1});
    Keys(e, "{Right}");  // onto the boundary: shown at the end of the upper row
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{11, 1}));
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{11, 1}));
    Keys(e, "{Right}");  // same buffer position, now at the start of the lower row
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{11, 1}));
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{1, 2}));
    Keys(e, "{Left}");   // back to the end of the upper row without moving
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{11, 1}));
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{11, 1}));
    Keys(e, "{Home}");
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{1, 1}));
    Keys(e, "{End}");
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{11, 1}));
    Keys(e, "{Down}{Home}");
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{1, 2}));
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{11, 1}));
}

TEST(WordWrap, DownOntoAShorterRowStaysOnThatRow) {
    TCustomCodeEdit e;
    e.SetClientSize(e.GutterSpan() + 2 + 10 * e.CellPixelWidth(), 100);
    Load(e, "|aaaaaaaaaabbbbbbbb cccccccccc");  // rows of 10, 9 and 10 cells
    e.SetWordWrap(true);
    ASSERT_EQ(e.WrapMap()->RowLength(2), 9);
    Keys(e, "{End}{Down}");
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{10, 2}));
    Keys(e, "{Down}{Up}{Up}");  // no remembered column (eoKeepCaretX is off)
    EXPECT_EQ(e.CaretDisplayPos(), (TDisplayCoord{10, 1}));
}

TEST(WordWrap, WidthFollowsWindowAndTabWidth) {
    TCustomCodeEdit e;
    Load(e, "|" + std::string(300, 'x'));
    e.SetClientSize(e.GutterSpan() + 2 + 400 * e.CellPixelWidth(), 100);
    e.SetWordWrap(true);
    EXPECT_EQ(e.WrapMap()->RowWidth(), 255);  // a 400-column window still wraps at 255
    EXPECT_EQ(e.RowCount(), 2);
    e.SetClientSize(e.GutterSpan() + 2 + 100 * e.CellPixelWidth(), 100);
    EXPECT_EQ(e.RowCount(), 3);
}

TEST(Conversions, TabsWithoutWrap) {
    TCustomCodeEdit e;
    Load(e, "a\tb|");
    EXPECT_EQ(e.TextToRowPos({3, 1}), (TDisplayCoord{9, 1}));
    EXPECT_EQ(e.TextToRowPos({6, 1}), (TDisplayCoord{12, 1}));  // virtual space
    EXPECT_EQ(e.RowToTextPos(TDisplayCoord{5, 1}), (TBufferCoord{2, 1}));  // inside the tab
    EXPECT_EQ(e.CellToColumn(1, 5, true), 3);
    e.SetTabWidth(4);
    EXPECT_EQ(e.TextToRowPos({3, 1}), (TDisplayCoord{5, 1}));
}

TEST(Metrics, GutterColumnsRowsAndScrollLimits) {
    TCustomCodeEdit e;
    e.SetCellSize(7, 13);
    EXPECT_EQ(e.GutterSpan(), 30);
    e.Gutter().ShowLineNumbers = true;
    EXPECT_EQ(e.GutterSpan(), 20 + 4 * 7);
    e.SetClientSize(20 + 4 * 7 + 2 + 70 * 7 + 3, 13 * 20 + 5);
    EXPECT_EQ(e.VisibleColumns(), 70);
    EXPECT_EQ(e.VisibleRows(), 20);
    // Line 12345 keeps the field at four digits while AutoSize is off.
    std::vector<std::string> many(12345, "x");
    e.Lines().AppendLines(many);
    EXPECT_EQ(e.AutoSizeDigitCount(), 4);
    e.Gutter().AutoSize = true;
    EXPECT_EQ(e.AutoSizeDigitCount(), 5);
    e.SetFirstRow(99999);
    EXPECT_EQ(e.FirstRow(), 12345 - 20 + 1);
    e.SetFirstColumn(5000);
    EXPECT_EQ(e.FirstColumn(), 1024 - e.VisibleColumns() + 1);
    e.Gutter().Visible = false;
    EXPECT_EQ(e.GutterSpan(), 0);
    auto [x, y] = e.CellToPixels(TDisplayCoord{e.FirstColumn() + 2, e.FirstRow() + 1});
    EXPECT_EQ(x, 2 + 2 * 7);
    EXPECT_EQ(y, 13);
    EXPECT_EQ(e.PixelsToCell(x + 3, y + 5), (TDisplayCoord{e.FirstColumn() + 2, e.FirstRow() + 1}));
    EXPECT_EQ(e.PixelsToCell(x + 4, y), (TDisplayCoord{e.FirstColumn() + 3, e.FirstRow() + 1}));
}

TEST(Paging, PageDownMovesViewAndCaretTogether) {
    TCustomCodeEdit e;
    std::vector<std::string> many(100, "line");
    e.Lines().AppendLines(many);
    e.SetClientSize(e.GutterSpan() + 2 + 80 * 8, 10 * e.RowPixelHeight());
    e.SetCaretPos({2, 3});
    e.PerformCommand(ecPageDown);
    EXPECT_EQ(e.FirstRow(), 11);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{2, 13}));
    e.PerformCommand(ecPageBottom);
    EXPECT_EQ(e.CaretPos().Line, 20);
    e.PerformCommand(ecScrollDown);  // the caret stays while it remains in view
    EXPECT_EQ(e.FirstRow(), 12);
    EXPECT_EQ(e.CaretPos().Line, 20);
    e.PerformCommand(ecPageTop);
    e.PerformCommand(ecScrollDown);  // now the caret would leave the view: it moves along
    EXPECT_EQ(e.CaretPos().Line, 13);
}

}  // namespace

namespace {

class Scrolling : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> many(100000, "row");
        e.Lines().AppendLines(many);
        e.SetClientSize(e.GutterSpan() + 2 + 80 * 8, 20 * e.RowPixelHeight());
    }
    TCustomCodeEdit e;
};

TEST_F(Scrolling, WheelKeepsRemainderAndCapsTheStep) {
    e.SetFirstRow(500);
    e.MouseWheel(-60, false, 3);
    EXPECT_EQ(e.FirstRow(), 500);
    e.MouseWheel(-60, false, 3);  // two halves make one notch down
    EXPECT_EQ(e.FirstRow(), 503);
    e.MouseWheel(120, false, 50);  // never more than a window
    EXPECT_EQ(e.FirstRow(), 483);
    e.MouseWheel(240, true, 3);
    EXPECT_EQ(e.FirstRow(), 443);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{1, 1}));
}

TEST_F(Scrolling, BarsScaleAbove32767AndHintShowsLines) {
    e.SetFirstRow(50000);
    TScrollBarInfo v = e.VertScrollBar();
    EXPECT_EQ(v.Range, 32767);
    EXPECT_NEAR(v.Position, 50000 * 32767 / 100000, 1);
    EXPECT_TRUE(v.ArrowsEnabled);
    TScrollBarInfo h = e.HorzScrollBar();
    EXPECT_EQ(h.Range, 1024);
    EXPECT_EQ(h.Page, 80);
    EXPECT_EQ(e.ScrollHintText(), "50000 - 50020");
    EXPECT_EQ(e.RowOfScrollBox(32767), 100000 + 20 - 1);
}

TEST_F(Scrolling, AutoScrollExtendsTheSelection) {
    e.SetCaretPos({1, 10});
    e.MouseDown({1, 10}, 0);
    e.AutoScrollTick(0, 3, false);  // two rows below the text: the view steps by 3
    EXPECT_EQ(e.FirstRow(), 4);
    EXPECT_EQ(e.SelEndPos().Line, 4 + 20 - 1);
    EXPECT_EQ(e.SelBeginPos(), (TBufferCoord{1, 10}));
}

TEST(GutterAutoSize, WidensWithTheLineCount) {
    TCustomCodeEdit e;
    e.Gutter().ShowLineNumbers = true;
    e.Gutter().AutoSize = true;
    int narrow = e.GutterSpan();
    std::vector<std::string> many(123456, "x");
    e.Lines().AppendLines(many);
    EXPECT_EQ(e.GutterSpan(), narrow + 2 * e.CellPixelWidth());
}

}  // namespace

namespace {

// The widest line is tracked through the hooks; after any sequence of edits it
// must agree with a full scan of the buffer.
TEST(HorzScrollRange, TracksTheWidestLineThroughEdits) {
    TCustomCodeEdit e;
    e.SetMaxScrollWidth(4);
    Load(e, "abc\n\tx\nlongest line|\nz");
    const char* steps[] = {"{Top}xyz", "{Down}{End}{BS}{BS}{BS}", "{Enter}", "{Bottom}{DelLine}",
                           "{Top}{DelLine}", "{SelectAll}{Copy}{Paste}{Paste}", "{Undo}", "{Top}{S-Down}{S-Down}{Del}",
                           "\t\t\t", "{Home}{DelEOL}", "{Redo}{Undo}{Undo}"};
    for (const char* s : steps) {
        Keys(e, s);
        EXPECT_EQ(e.HorzScrollRange(), std::max(4, e.Lines().LongestLineWidth() + 1)) << s;
    }
    e.SetTabWidth(2);
    EXPECT_EQ(e.HorzScrollRange(), std::max(4, e.Lines().LongestLineWidth() + 1));
}

}  // namespace
