#pragma once
// One line of text laid out in cells: a window of its tab-expanded cells, the
// byte each cell shows, the token attribute and selection of each cell, and
// the runs a row of that window is drawn with (spans of one background, and
// spans of one look for the text).
//
// Only the window is mapped, so laying out the part of a 5 MB line that is in
// view costs the same as laying out a short line.
#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/highlight/TCustomHighlighter.h"
#include "core/render/TRenderStyle.h"

namespace pelm {

class TLineLayout {
public:
    // Cells (0-based, tab-expanded) [first, end) filled with one background.
    struct BackgroundRun {
        int First;
        int End;
        TColor Color;
    };
    // Cells [first, end) whose bytes are drawn in one face and colour. It starts
    // at a cell with a glyph; blank cells at its end are kept only when the
    // style draws lines under or through them.
    struct TextRun {
        int First;
        int End;
        std::string_view Bytes;  // one byte per cell; tabs and virtual cells are blanks
        TFontStyles Style;
        TColor Foreground;
    };

    // Maps the cells [firstCell, endCell) of a line. expandedWidth is the line's
    // width in cells (its length when it has no tab). Cells past the text are
    // virtual: blank, without an attribute. Clears tokens, selection and looks.
    void Map(std::string_view text, int tabWidth, int expandedWidth, int firstCell, int endCell);

    int FirstCell() const { return u0_; }
    int EndCell() const { return u1_; }
    // The line's width in cells.
    int LineCells() const { return lineCells_; }
    // The bytes shown in the window, [FirstByte, EndByte); none when FirstByte >= EndByte.
    int FirstByte() const { return b0_; }
    int EndByte() const { return b1_; }
    // The byte shown in a cell of the window (blank for tabs and virtual cells).
    unsigned char CellByte(int cell) const { return cellChar_[static_cast<size_t>(cell - u0_)]; }
    THighlighterAttributes* CellAttribute(int cell) const { return cellAttr_[static_cast<size_t>(cell - u0_)]; }

    // Gives the bytes [start, end) of the line a token attribute. Tokens come in
    // line order, as a highlighter produces them.
    void AssignToken(int start, int end, THighlighterAttributes* attribute);
    // The tokens of the bytes in the window from a scan of the line, starting
    // in startState (ResetState for the first line, lineIndex 0). The scan stops
    // past the window.
    void ScanTokens(TCustomHighlighter& highlighter, std::string_view text, int lineIndex, uint32_t startState);
    // The same from a line's stored tokens: token i covers the bytes from
    // starts[i] to starts[i + 1] (the last one to lineLength).
    void ApplyTokens(const std::vector<int32_t>& starts, const std::vector<THighlighterAttributes*>& attributes,
                     int lineLength);

    // The selected cells [first, end); first 0 and end INT_MAX select the whole
    // row, the area past the cells included.
    void SetSelection(int first, int end) {
        s0_ = first;
        s1_ = end;
    }
    bool WholeRowSelected() const { return s0_ == 0 && s1_ == INT_MAX; }
    bool Selected(int cell) const { return cell >= s0_ && cell < s1_; }

    // The line's own background: the caret line's colour over everything but
    // the selection, else the whitespace attribute's background under cells
    // whose token has none (nullptr or clNone: the editor's colour).
    void SetLineLook(bool caretLine, const THighlighterAttributes* whitespace) {
        caretLine_ = caretLine;
        whitespace_ = whitespace && whitespace->Background() != clNone ? whitespace : nullptr;
    }
    // The background of the row outside its cells.
    TColor RowBackground(const TRenderStyle& style) const;

    // The runs of the cells [first, end) of the window.
    void BackgroundRuns(int first, int end, const TRenderStyle& style, std::vector<BackgroundRun>& out) const;
    void TextRuns(int first, int end, const TRenderStyle& style, std::vector<TextRun>& out) const;

private:
    TColor lineBackground(const TRenderStyle& style) const;
    TColor cellBackground(int cell, const TRenderStyle& style, TColor lineBg) const;

    int u0_ = 0, u1_ = 0;  // the window
    int lineCells_ = 0;
    int b0_ = 0, b1_ = 0;  // bytes in the window
    int tokenCursor_ = 0;  // first window cell not yet passed by AssignToken
    int s0_ = 0, s1_ = 0;
    bool caretLine_ = false;
    const THighlighterAttributes* whitespace_ = nullptr;
    // Per window cell; kept between lines to avoid allocations.
    std::vector<int> cellByte_;  // -1: virtual
    std::vector<unsigned char> cellChar_;
    std::vector<THighlighterAttributes*> cellAttr_;
};

}  // namespace pelm
