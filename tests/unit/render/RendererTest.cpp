// The renderer on a recording canvas: the calls an editor's rows are drawn
// with, for plain and highlighted text, the three selection modes, tabs, word
// wrap, the caret line, and a 5 MB line seen at its middle and its end.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "core/render/TCodeEditRenderer.h"
#include "core/render/TLineLayout.h"
#include "core/render/TRecordingCanvas.h"

using namespace pelm;
using namespace editortest;

namespace {

constexpr TColor White = 0xFFFFFF, Black = 0x000000, SelBack = 0xAA0000, SelFore = 0x00FFFF;
constexpr TColor CommentFore = 0x008000, CommentBack = 0xC0FFC0, KeywordFore = 0xFF0000;
constexpr TColor CaretBack = 0xE1FFFF, SpaceBack = 0xDDDDDD;

// A small language: "/* ... */" comments (open across lines), runs of blanks,
// upper-case keywords, and other text without an attribute.
class TinyHighlighter : public TCustomHighlighter {
public:
    THighlighterAttributes* Comment;
    THighlighterAttributes* Keyword;
    THighlighterAttributes* Space;

    TinyHighlighter() {
        Comment = AddAttribute("Comment");
        Keyword = AddAttribute("Keyword");
        Space = AddAttribute("Space");
        Comment->SetForeground(CommentFore);
        Comment->SetBackground(CommentBack);
        Keyword->SetForeground(KeywordFore);
        Keyword->SetStyle(fsBold | fsUnderline);
        FinishConstruction();
    }
    THighlighterAttributes* RoleAttribute(int role) const override {
        return role == hrWhitespace ? Space : role == hrComment ? Comment : nullptr;
    }
    void ResetState() override { inComment_ = false; }
    void SetState(uint32_t state) override { inComment_ = state != 0; }
    uint32_t GetState() const override { return inComment_ ? 1 : 0; }
    void StartLine(std::string_view text, int lineIndex) override {
        KeepLine(text, lineIndex);
        scan();
    }
    void NextToken() override { scan(); }
    bool AtLineEnd() const override { return atEnd_; }
    int TokenKind() const override { return 0; }
    THighlighterAttributes* TokenAttribute() const override { return attr_; }

private:
    bool at(int i, const char* s) const { return line_[i] == s[0] && line_[i + 1] == s[1]; }
    void scan() {
        tokenPos_ = run_;
        atEnd_ = line_[run_] == 0;
        if (atEnd_) return;
        const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
        if (inComment_ || at(run_, "/*")) {
            if (!inComment_) run_ += 2;
            inComment_ = true;
            while (line_[run_] && !at(run_, "*/")) ++run_;
            if (line_[run_]) {
                run_ += 2;
                inComment_ = false;
            }
            attr_ = Comment;
        } else if (line_[run_] == ' ') {
            while (line_[run_] == ' ') ++run_;
            attr_ = Space;
        } else if (upper(line_[run_])) {
            while (upper(line_[run_])) ++run_;
            attr_ = Keyword;
        } else {
            while (line_[run_] && line_[run_] != ' ' && !upper(line_[run_]) && !at(run_, "/*")) ++run_;
            attr_ = nullptr;
        }
    }
    bool inComment_ = false;
    bool atEnd_ = true;
    THighlighterAttributes* attr_ = nullptr;
};

class RendererTest : public ::testing::Test {
protected:
    static constexpr int CellW = 10, RowH = 20;

    void SetUp() override {
        ed_.Gutter().Visible = false;
        ed_.SetCellSize(CellW, RowH);
        Resize(12, 3);
        style_.Color = White;
        style_.FontColor = Black;
        style_.SelectedBackground = SelBack;
        style_.SelectedForeground = SelFore;
    }
    void TearDown() override { ed_.SetHighlighter(nullptr); }

    // A view of this many columns and rows; text starts 2 pixels right of the
    // (hidden) gutter.
    void Resize(int columns, int rows) {
        columns_ = columns;
        width_ = 2 + columns * CellW;
        ed_.SetClientSize(width_, rows * RowH);
    }
    void Attach() {
        ed_.SetHighlighter(&hl_);
        renderer_.SetHighlighter(&hl_);
    }
    void SetLine(const std::string& text) {
        ed_.Lines().Clear();
        ed_.Lines().Add(text);
    }

    // The calls drawing the rows in view.
    const std::vector<std::string>& Paint() {
        rec_.Clear();
        renderer_.PaintRows(rec_, ed_, style_, ed_.FirstRow(), ed_.FirstRow() + ed_.VisibleRows() - 1, width_);
        return rec_.Calls();
    }

    static char Symbol(const std::string& colour) {
        static const std::map<std::string, char> names = {
            {"0xFFFFFF", '.'}, {"0x000000", 'k'}, {"0xAA0000", 's'}, {"0x00FFFF", 'S'}, {"0x008000", 'g'},
            {"0xC0FFC0", 'c'}, {"0xFF0000", 'b'}, {"0xE1FFFF", 'a'}, {"0xDDDDDD", 'w'}};
        auto it = names.find(colour);
        return it == names.end() ? '?' : it->second;
    }

    // The backgrounds of a row in view (0-based): the row's own fill, "|", then
    // one symbol per visible column (see Symbol).
    std::string Backs(int viewRow) {
        std::string rowFill = "-", cells(static_cast<size_t>(columns_), '-');
        for (const std::string& c : Paint()) {
            int x, y, w, h;
            char colour[16];
            if (std::sscanf(c.c_str(), "fill %d,%d %dx%d %15s", &x, &y, &w, &h, colour) != 5 || y != viewRow * RowH)
                continue;
            if (x == 0 && w == width_) {
                rowFill = Symbol(colour);
                continue;
            }
            for (int col = (x - 2) / CellW; col < (x - 2 + w) / CellW; ++col)
                if (col >= 0 && col < columns_) cells[static_cast<size_t>(col)] = Symbol(colour);
        }
        return rowFill + "|" + cells;
    }

    // The text runs of a row in view: @column"bytes"style:foreground, by spaces.
    std::string Texts(int viewRow) {
        std::string out;
        for (const std::string& c : Paint()) {
            int x, y, cw;
            if (std::sscanf(c.c_str(), "text %d,%d c%d", &x, &y, &cw) != 3 || y != viewRow * RowH) continue;
            const size_t q0 = c.find('"'), q1 = c.rfind('"');
            char style[8], fg[16], bg[16];
            std::sscanf(c.c_str() + q1 + 1, " %7s %15s %15s", style, fg, bg);
            if (!out.empty()) out += ' ';
            out += '@';
            out += std::to_string((x - 2) / CellW);
            out.append(c, q0, q1 - q0 + 1);
            out += style;
            out += ':';
            out += Symbol(fg);
        }
        return out;
    }

    // What a row in view shows, column by column: the glyph bytes of its runs,
    // blanks elsewhere.
    std::string RowText(int viewRow) {
        std::string shown(static_cast<size_t>(columns_), ' ');
        for (const std::string& c : Paint()) {
            int x, y, cw;
            if (std::sscanf(c.c_str(), "text %d,%d c%d", &x, &y, &cw) != 3 || y != viewRow * RowH) continue;
            const size_t q0 = c.find('"'), q1 = c.rfind('"');
            const std::string bytes = c.substr(q0 + 1, q1 - q0 - 1);  // the texts here need no escapes
            for (size_t i = 0; i < bytes.size(); ++i) {
                const int col = (x - 2) / CellW + static_cast<int>(i);
                if (col >= 0 && col < columns_ && bytes[i] != ' ') shown[static_cast<size_t>(col)] = bytes[i];
            }
        }
        return shown;
    }
    // The columns of a text as a row shows them.
    std::string Shown(std::string s) {
        s.resize(static_cast<size_t>(columns_), ' ');
        return s;
    }

    TinyHighlighter hl_;
    TCustomCodeEdit ed_;
    TCodeEditRenderer renderer_;
    TRenderStyle style_;
    TRecordingCanvas rec_;
    int columns_ = 0;
    int width_ = 0;
};

TEST_F(RendererTest, PlainRowsAreFilledThenWrittenInsideTheirClip) {
    Load(ed_, "|ab  cd\nx\xE9\x01y");
    EXPECT_EQ(Paint(), (std::vector<std::string>{
                           "clip 0,0 122x20",
                           "fill 0,0 122x20 0xFFFFFF",
                           "fill 2,0 140x20 0xFFFFFF",
                           "text 2,0 c10 \"ab  cd\" - 0x000000 none",
                           "unclip",
                           "clip 0,20 122x20",
                           "fill 0,20 122x20 0xFFFFFF",
                           "fill 2,20 140x20 0xFFFFFF",
                           "text 2,20 c10 \"x\\xE9\\x01y\" - 0x000000 none",
                           "unclip",
                           "fill 0,40 122x20 0xFFFFFF",  // past the text
                       }));
    // Scrolled right by three columns: the window starts at cell 3.
    ed_.SetFirstColumn(4);
    EXPECT_EQ(Texts(0), "@1\"cd\"-:k");
    EXPECT_EQ(Backs(0), ".|............");

    // The right edge: at its column from the text's start, gone when scrolled past.
    ed_.SetFirstColumn(1);
    const auto edge = [&](int column) {
        rec_.Clear();
        renderer_.PaintRightEdge(rec_, ed_, style_, column, 60);
        return rec_.Text();
    };
    EXPECT_EQ(edge(5), "line 52,0 52,60 0xC0C0C0\n");
    EXPECT_EQ(edge(0), "");
    ed_.SetFirstColumn(8);
    EXPECT_EQ(edge(5), "");
}

TEST_F(RendererTest, TabsAreBlankCellsInsideTheirRun) {
    ed_.SetTabWidth(4);
    Load(ed_, "a[\tb|]c\nx\ty");
    // The selection covers the tab's three cells and the b.
    EXPECT_EQ(Backs(0), ".|.ssss.......");
    EXPECT_EQ(Texts(0), "@0\"a\"-:k @4\"b\"-:S @5\"c\"-:k");
    EXPECT_EQ(Texts(1), "@0\"x   y\"-:k");
    // Scrolled into the middle of the tab.
    ed_.SetFirstColumn(3);
    EXPECT_EQ(Texts(1), "@2\"y\"-:k");
}

TEST_F(RendererTest, SelectionModesColourTheirCells) {
    struct Case {
        TSelectionMode mode;
        const char* text;
        const char* backs[3];
        const char* texts[3];
    } cases[] = {
        // A line break inside a stream selection shows as one cell past the text.
        {smNormal, "a[bcdef\nabcdef\nab|]cdef",
         {".|.ssssss.....", ".|sssssss.....", ".|ss.........."},
         {"@0\"a\"-:k @1\"bcdef\"-:S", "@0\"abcdef\"-:S", "@0\"ab\"-:S @2\"cdef\"-:k"}},
        // Whole lines, the area past the cells included.
        {smLine, "a[bc|]def\nabcdef\nabcdef",
         {"s|ssssssssssss", ".|............", ".|............"},
         {"@0\"abcdef\"-:S", "@0\"abcdef\"-:k", "@0\"abcdef\"-:k"}},
        {smColumn, "a[bcdef\nabc|]def\nabcdef",
         {".|.ss.........", ".|.ss.........", ".|............"},
         {"@0\"a\"-:k @1\"bc\"-:S @3\"def\"-:k", "@0\"a\"-:k @1\"bc\"-:S @3\"def\"-:k", "@0\"abcdef\"-:k"}},
        // A block dragged leftwards: the same columns.
        {smColumn, "abc[def\na|]bcdef\nabcdef",
         {".|.ss.........", ".|.ss.........", ".|............"},
         {"@0\"a\"-:k @1\"bc\"-:S @3\"def\"-:k", "@0\"a\"-:k @1\"bc\"-:S @3\"def\"-:k", "@0\"abcdef\"-:k"}},
    };
    for (const Case& c : cases) {
        ed_.SetSelectionMode(c.mode);
        Load(ed_, c.text);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(Backs(row), c.backs[row]) << c.text << " row " << row;
            EXPECT_EQ(Texts(row), c.texts[row]) << c.text << " row " << row;
        }
    }
}

TEST_F(RendererTest, HighlightedTokensCaretLineAndWhitespaceRole) {
    Attach();
    Load(ed_, "ab /* c\nd */ KEY z\n|");
    // The comment opened on line 1 colours the start of line 2.
    EXPECT_EQ(Backs(0), ".|...cccc.....");
    EXPECT_EQ(Texts(0), "@0\"ab\"-:k @3\"/* c\"-:g");
    EXPECT_EQ(Backs(1), ".|cccc........");
    EXPECT_EQ(Texts(1), "@0\"d */\"-:g @5\"KEY\"BU:b @9\"z\"-:k");

    // The whitespace role's background is the line's own: under blanks, tokens
    // without a background and the cells past the text.
    hl_.Space->SetBackground(SpaceBack);
    EXPECT_EQ(Backs(0), "w|wwwccccwwwww");
    EXPECT_EQ(Backs(2), "w|wwwwwwwwwwww");

    // The caret line's colour covers the tokens' backgrounds, not the selection.
    style_.ActiveLineColor = CaretBack;
    ed_.SetCaretPos(TBufferCoord{1, 1});
    EXPECT_EQ(Backs(0), "a|aaaaaaaaaaaa");
    EXPECT_EQ(Texts(0), "@0\"ab\"-:k @3\"/* c\"-:g");
    ed_.SetSelection(TBufferCoord{2, 1}, TBufferCoord{1, 1});
    EXPECT_EQ(Backs(0), "a|saaaaaaaaaaa");
    EXPECT_EQ(Backs(1), "w|ccccwwwwwwww");

    // Without token colours (a listing printed in black): styles stay.
    style_.ActiveLineColor = clNone;
    style_.TokenColours = false;
    EXPECT_EQ(Backs(1), ".|............");
    EXPECT_EQ(Texts(1), "@0\"d */\"-:k @5\"KEY\"BU:k @9\"z\"-:k");
}

TEST(LineLayout, RunsStartAtAGlyphAndKeepUnderlinedBlanks) {
    THighlighterAttributes keyword("Keyword");
    keyword.SetStyle(fsUnderline);
    TRenderStyle style;
    TLineLayout l;
    l.Map("  AB  x", 8, 7, 0, 10);
    l.AssignToken(0, 6, &keyword);
    l.AssignToken(6, 7, nullptr);
    std::vector<TLineLayout::TextRun> runs;
    l.TextRuns(0, 10, style, runs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].First, 2);
    EXPECT_EQ(runs[0].Bytes, "AB  ");  // the underline runs on under the blanks
    EXPECT_EQ(runs[1].First, 6);
    EXPECT_EQ(runs[1].Bytes, "x");
    keyword.SetStyle(fsBold);
    l.TextRuns(0, 10, style, runs);
    EXPECT_EQ(runs[0].Bytes, "AB");

    // The bytes in a window that starts inside a tab.
    l.Map("ab\tcd", 4, 6, 3, 5);
    EXPECT_EQ(l.FirstByte(), 2);
    EXPECT_EQ(l.EndByte(), 4);
    EXPECT_EQ(l.CellByte(3), ' ');
    EXPECT_EQ(l.CellByte(4), 'c');
    EXPECT_EQ(l.LineCells(), 6);
}

// A listing's way: one laid-out line, a piece of it drawn where the page wants
// it, with or without the tokens' colours.
TEST(RendererWithoutAnEditor, DrawsAnyCellRangeOfALaidOutLine) {
    TinyHighlighter hl;
    TCodeEditRenderer renderer;
    TRecordingCanvas rec;
    TRenderStyle print;
    print.Color = White;
    print.FontColor = Black;
    print.TokenColours = false;
    const std::string text = "ab /* c */ KEY";
    const int len = static_cast<int>(text.size());
    TLineLayout l;
    l.Map(text, 8, len, 0, len);
    l.ScanTokens(hl, text, 0, 0);
    // Cells 5.. as a second printed row at x 100, y 40, in cells of 7 x 16.
    renderer.PaintCells(rec, l, print, 5, len, 100 - 5 * 7, 40, 7, 16);
    EXPECT_EQ(rec.Text(),
              "fill 100,40 63x16 0xFFFFFF\n"
              "text 107,40 c7 \"c */\" - 0x000000 none\n"
              "text 142,40 c7 \"KEY\" BU 0x000000 none\n");
    rec.Clear();
    print.TokenColours = true;
    renderer.PaintCells(rec, l, print, 5, len, 100 - 5 * 7, 40, 7, 16);
    EXPECT_EQ(rec.Text(),
              "fill 100,40 35x16 0xC0FFC0\n"
              "fill 135,40 28x16 0xFFFFFF\n"
              "text 107,40 c7 \"c */\" - 0x008000 none\n"
              "text 142,40 c7 \"KEY\" BU 0xFF0000 none\n");
}

TEST_F(RendererTest, WrappedRowsStartAtTheirOwnCells) {
    Resize(10, 3);
    Load(ed_, "|aaaa bbbb cccc dddd\nx");
    ed_.SetWordWrap(true);
    ASSERT_EQ(ed_.RowCount(), 3);
    EXPECT_EQ(Paint(), (std::vector<std::string>{
                           "clip 0,0 102x20",
                           "fill 0,0 102x20 0xFFFFFF",
                           "fill 2,0 100x20 0xFFFFFF",
                           "text 2,0 c10 \"aaaa bbbb\" - 0x000000 none",
                           "unclip",
                           // The last row of a line runs on into virtual space.
                           "clip 0,20 102x20",
                           "fill 0,20 102x20 0xFFFFFF",
                           "fill 2,20 200x20 0xFFFFFF",
                           "text 2,20 c10 \"cccc dddd\" - 0x000000 none",
                           "unclip",
                           "clip 0,40 102x20",
                           "fill 0,40 102x20 0xFFFFFF",
                           "fill 2,40 120x20 0xFFFFFF",
                           "text 2,40 c10 \"x\" - 0x000000 none",
                           "unclip",
                       }));
    // A selection over the row boundary.
    Load(ed_, "aaaa [bbbb cc|]cc dddd\nx");
    EXPECT_EQ(Backs(0), ".|.....sssss");
    EXPECT_EQ(Backs(1), ".|ss........");
    EXPECT_EQ(Texts(1), "@0\"cc\"-:S @2\"cc dddd\"-:k");
    // Scrolled to the second row: only it and the next line are laid out.
    Resize(10, 2);
    ed_.SetFirstRow(2);
    EXPECT_EQ(Texts(0), "@0\"cc\"-:S @2\"cc dddd\"-:k");
    EXPECT_EQ(Texts(1), "@0\"x\"-:k");
}

TEST_F(RendererTest, FiveMegabyteLineAtItsMiddleAndEnd) {
    std::string body;
    body.reserve(5u << 20);
    while (body.size() < (5u << 20)) body += "word ";
    const int len = static_cast<int>(body.size());

    // Plain.
    SetLine(body);
    ed_.SetCaretPos(TBufferCoord{len / 2, 1});
    ed_.SetFirstColumn(len / 2);
    EXPECT_EQ(RowText(0), Shown(body.substr(static_cast<size_t>(len / 2 - 1), 12)));
    // At the end: scrolled as far as the line's end allows.
    ed_.SetCaretPos(TBufferCoord{len, 1});
    ed_.SetFirstColumn(len);
    ASSERT_EQ(ed_.FirstColumn(), len - 10);
    EXPECT_EQ(RowText(0), Shown(body.substr(static_cast<size_t>(len - 11))));

    // Highlighted: the tokens of the long line are kept between paints and
    // dropped when the line changes.
    Attach();
    std::string commented = "/*";
    commented += body;
    commented += "*/ END";
    const int clen = static_cast<int>(commented.size());
    SetLine(commented);
    ed_.SetCaretPos(TBufferCoord{clen / 2, 1});
    ed_.SetFirstColumn(clen / 2);
    EXPECT_EQ(Backs(0), ".|cccccccccccc");
    EXPECT_EQ(Texts(0).substr(0, 3), "@0\"");
    EXPECT_NE(Texts(0).find(":g"), std::string::npos);
    EXPECT_EQ(Texts(0).find(":k"), std::string::npos);
    ed_.SetCaretPos(TBufferCoord{clen, 1});
    ed_.SetFirstColumn(clen);
    ASSERT_EQ(ed_.FirstColumn(), clen - 10);
    EXPECT_EQ(Backs(0), ".|ccccccc.....");
    EXPECT_EQ(Texts(0), "@0\"word */\"-:g @8\"END\"BU:b");
    ed_.Lines().SetStrings(0, "xx" + body + "*/ END");  // no longer opens a comment
    renderer_.ForgetLines(1, 1);
    EXPECT_EQ(Backs(0), ".|............");
    EXPECT_EQ(Texts(0), "@0\"word\"-:k @5\"*/\"-:k @8\"END\"BU:b");

    // Wrapped, at the middle row.
    ed_.SetHighlighter(nullptr);
    renderer_.SetHighlighter(nullptr);
    SetLine(body);
    ed_.SetWordWrap(true);
    const TCodeEditWordWrap* map = ed_.WrapMap();
    ASSERT_NE(map, nullptr);
    const int row = ed_.RowCount() / 2;
    ASSERT_GT(row, 100000);
    ed_.SetFirstRow(row);
    ASSERT_EQ(ed_.FirstRow(), row);
    size_t start = 0;
    for (int r = 1; r < row; ++r) start += static_cast<size_t>(map->RowLength(r));
    EXPECT_EQ(RowText(0), Shown(body.substr(start, static_cast<size_t>(map->RowLength(row)))));
    EXPECT_EQ(RowText(1), Shown(body.substr(start + static_cast<size_t>(map->RowLength(row)),
                                            static_cast<size_t>(map->RowLength(row + 1)))));
}

}  // namespace
