#pragma once
// Draws the text area of an editor's display rows onto a canvas: each row's
// background, the token and selection colours of its cells, its glyphs in
// fixed cells, and the right-edge line. The editor widget draws with it on the
// screen (the gutter and the caret are the widget's own); a printer canvas can
// draw laid-out lines with PaintCells.
//
// Only the rows and cells in view are laid out, so a paint costs the same at
// any place of any document. The tokens of a long highlighted line are kept
// between paints, so that painting a part of it does not rescan it from its
// start each time.
#include <climits>
#include <cstdint>
#include <vector>

#include "core/editor/TCustomCodeEdit.h"
#include "core/highlight/TCustomHighlighter.h"
#include "core/render/TCanvas.h"
#include "core/render/TLineLayout.h"
#include "core/render/TRenderStyle.h"

namespace pelm {

class TCodeEditRenderer {
public:
    // Lines at least this long keep their tokens between paints.
    static constexpr int LongLineBytes = 64 * 1024;

    // The highlighter whose tokens colour the text, or none.
    void SetHighlighter(TCustomHighlighter* highlighter);
    TCustomHighlighter* Highlighter() const { return highlighter_; }
    // The text of the lines firstLine..lastLine (1-based) changed, or the state
    // they start in: kept tokens of those lines are dropped.
    void ForgetLines(int firstLine, int lastLine);
    // The highlighter's attributes changed: every kept token is dropped.
    void ForgetTokens() { longLine_.line = 0; }

    // Draws the display rows firstRow..lastRow (1-based, rows of the whole
    // text) of the editor in a view viewWidth pixels wide: for each row the
    // area right of the gutter, rows past the text in the editor's colour.
    void PaintRows(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style, int firstRow,
                   int lastRow, int viewWidth);

    // Draws the cells [firstCell, endCell) of a laid-out line in a row whose
    // cell 0 is at x0 and whose top is y: backgrounds, then text runs.
    void PaintCells(TCanvas& canvas, const TLineLayout& layout, const TRenderStyle& style, int firstCell,
                    int endCell, int x0, int y, int cellWidth, int rowHeight);

    // The right-edge line at a column (none for 0 or less, or left of the
    // text area), from y 0 to height.
    void PaintRightEdge(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style, int column,
                        int height);

    // The selected cells [first, end) (0-based) of a line of the editor, as
    // TLineLayout::SetSelection takes them; lineCells is the line's width.
    static std::pair<int, int> SelectedCells(const TCustomCodeEdit& editor, int line, int lineCells);

private:
    // Lays out the cells [firstCell, endCell) of a line with its tokens,
    // selection and looks.
    void layoutLine(const TCustomCodeEdit& editor, int line, int firstCell, int endCell);
    void paintLine(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style, int line, int rowFrom,
                   int rowTo, int viewWidth);

    struct LongLineTokens {
        int line = 0;  // 0: none
        uint32_t startState = 0;
        std::vector<int32_t> start;
        std::vector<THighlighterAttributes*> attr;
    };
    const LongLineTokens& longLineTokens(int line, std::string_view text, uint32_t startState);

    TCustomHighlighter* highlighter_ = nullptr;
    LongLineTokens longLine_;
    // Scratch, kept between paints.
    TLineLayout layout_;
    std::vector<TLineLayout::BackgroundRun> backgrounds_;
    std::vector<TLineLayout::TextRun> texts_;
};

}  // namespace pelm
