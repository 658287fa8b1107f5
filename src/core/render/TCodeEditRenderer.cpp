#include "core/render/TCodeEditRenderer.h"

#include <algorithm>

namespace pelm {

void TCodeEditRenderer::SetHighlighter(TCustomHighlighter* highlighter) {
    highlighter_ = highlighter;
    longLine_ = LongLineTokens();
}

void TCodeEditRenderer::ForgetLines(int firstLine, int lastLine) {
    if (longLine_.line >= firstLine && longLine_.line <= lastLine) longLine_.line = 0;
}

std::pair<int, int> TCodeEditRenderer::SelectedCells(const TCustomCodeEdit& editor, int line, int lineCells) {
    if (!editor.HasSelection()) return {0, 0};
    const TBufferCoord b = editor.SelBeginPos(), e = editor.SelEndPos();
    if (line < b.Line || line > e.Line) return {0, 0};
    switch (editor.SelectionMode()) {
        case smNormal: {
            const int s0 = line == b.Line ? editor.ColumnToCell(line, b.Column) - 1 : 0;
            // A line break inside the selection shows as one cell past the text.
            const int s1 = line == e.Line ? editor.ColumnToCell(line, e.Column) - 1 : lineCells + 1;
            return {s0, s1};
        }
        case smLine:
            return {0, INT_MAX};
        case smColumn: {
            const TBufferCoord a = editor.AnchorPos(), c = editor.ActivePos();
            const int ca = editor.ColumnToCell(a.Line, a.Column) - 1;
            const int cc = editor.ColumnToCell(c.Line, c.Column) - 1;
            return {std::min(ca, cc), std::max(ca, cc)};
        }
    }
    return {0, 0};
}

void TCodeEditRenderer::PaintRows(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style,
                                  int firstRow, int lastRow, int viewWidth) {
    const int rows = editor.RowCount();
    const int count = editor.Lines().Count();
    const int rowH = editor.RowPixelHeight();
    const int gs = editor.GutterSpan();
    int r = firstRow;
    while (r <= lastRow) {
        const int line = editor.LineOfRow(r);
        if (r > rows || line > count || count == 0) {
            const int y = (r - editor.FirstRow()) * rowH;
            canvas.FillRect(gs, y, viewWidth - gs, rowH, style.Color);
            ++r;
            continue;
        }
        // All rows of this line in view at once: a wrapped line is laid out once.
        const int lineLast = std::max(r, std::min(lastRow, editor.RowOfLine(line + 1) - 1));
        paintLine(canvas, editor, style, line, r, lineLast, viewWidth);
        r = lineLast + 1;
    }
}

void TCodeEditRenderer::layoutLine(const TCustomCodeEdit& editor, int line, int firstCell, int endCell) {
    const TCodeEditStringList& lines = editor.Lines();
    const std::string_view text = editor.LineText(line);
    const int len = static_cast<int>(text.size());
    layout_.Map(text, editor.TabWidth(), lines.ExpandedWidth(line - 1), firstCell, endCell);

    const THighlighterAttributes* whitespace = nullptr;
    if (highlighter_) {
        if (layout_.FirstByte() < layout_.EndByte()) {
            const uint32_t startState = line == 1 ? 0 : static_cast<uint32_t>(lines.LineState(line - 2));
            if (len >= LongLineBytes) {
                const LongLineTokens& t = longLineTokens(line, text, startState);
                layout_.ApplyTokens(t.start, t.attr, len);
            } else {
                layout_.ScanTokens(*highlighter_, text, line - 1, startState);
            }
        }
        whitespace = highlighter_->RoleAttribute(hrWhitespace);
    }
    const auto [s0, s1] = SelectedCells(editor, line, layout_.LineCells());
    layout_.SetSelection(s0, s1);
    layout_.SetLineLook(line == editor.CaretPos().Line, whitespace);
}

void TCodeEditRenderer::paintLine(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style, int line,
                                  int rowFrom, int rowTo, int viewWidth) {
    const int cellW = editor.CellPixelWidth();
    const int rowH = editor.RowPixelHeight();
    const int gs = editor.GutterSpan();
    const int firstRowOfLine = editor.RowOfLine(line);
    const TCodeEditWordWrap* map = editor.WordWrap() ? editor.WrapMap() : nullptr;

    // The cells of the line in view, 0-based in the tab-expanded line: each
    // painted row covers [rowStart, rowStart + its length).
    int u0, u1;
    int startOfFirst = 0;
    if (map) {
        for (int r = firstRowOfLine; r < rowFrom; ++r) startOfFirst += map->RowLength(r);
        u0 = startOfFirst;
        u1 = u0;
        for (int r = rowFrom; r <= rowTo; ++r) u1 += map->RowLength(r);
        // Virtual cells after the last row's text (the caret may stand there).
        u1 += editor.VisibleColumns() + 1;
    } else {
        u0 = editor.FirstColumn() - 1;
        u1 = u0 + (viewWidth - gs) / cellW + 2;
    }
    layoutLine(editor, line, u0, u1);

    const int lastRowOfLine = editor.RowOfLine(line + 1) - 1;
    int rowStart = startOfFirst;
    for (int r = rowFrom; r <= rowTo; ++r) {
        const int y = (r - editor.FirstRow()) * rowH;
        // This row's cells, and where the line's cell 0 would stand.
        int c0, c1, x0;
        if (map) {
            c0 = rowStart;
            c1 = r == lastRowOfLine ? u1 : rowStart + map->RowLength(r);
            x0 = gs + 2 - c0 * cellW;
            rowStart += map->RowLength(r);
        } else {
            c0 = u0;
            c1 = u1;
            x0 = gs + 2 - (editor.FirstColumn() - 1) * cellW;
        }
        canvas.BeginClip(gs, y, viewWidth - gs, rowH);
        // The two pixels between the gutter and the text, and anything past the cells.
        canvas.FillRect(gs, y, viewWidth - gs, rowH, layout_.RowBackground(style));
        PaintCells(canvas, layout_, style, c0, c1, x0, y, cellW, rowH);
        canvas.EndClip();
    }
}

void TCodeEditRenderer::PaintCells(TCanvas& canvas, const TLineLayout& layout, const TRenderStyle& style,
                                   int firstCell, int endCell, int x0, int y, int cellWidth, int rowHeight) {
    layout.BackgroundRuns(firstCell, endCell, style, backgrounds_);
    layout.TextRuns(firstCell, endCell, style, texts_);
    for (const auto& b : backgrounds_)
        canvas.FillRect(x0 + b.First * cellWidth, y, (b.End - b.First) * cellWidth, rowHeight, b.Color);
    for (const auto& t : texts_)
        canvas.TextRun(x0 + t.First * cellWidth, y, cellWidth, t.Bytes, t.Style, t.Foreground, clNone);
}

void TCodeEditRenderer::PaintRightEdge(TCanvas& canvas, const TCustomCodeEdit& editor, const TRenderStyle& style,
                                       int column, int height) {
    if (column <= 0) return;
    const int x = column * editor.CellPixelWidth() + editor.GutterSpan() + 2 -
                  (editor.FirstColumn() - 1) * editor.CellPixelWidth();
    if (x < editor.GutterSpan()) return;
    canvas.Line(x, 0, x, height, style.RightEdgeColor);
}

const TCodeEditRenderer::LongLineTokens& TCodeEditRenderer::longLineTokens(int line, std::string_view text,
                                                                           uint32_t startState) {
    LongLineTokens& t = longLine_;
    if (t.line == line && t.startState == startState) return t;
    t.line = line;
    t.startState = startState;
    t.start.clear();
    t.attr.clear();
    TCustomHighlighter& hl = *highlighter_;
    if (line == 1) hl.ResetState();
    else hl.SetState(startState);
    hl.StartLine(text, line - 1);
    // Tokens follow one another without gaps; empty ones paint nothing.
    while (!hl.AtLineEnd()) {
        if (hl.ScanPosition() > hl.TokenStart()) {
            t.start.push_back(hl.TokenStart());
            t.attr.push_back(hl.TokenAttribute());
        }
        hl.NextToken();
    }
    return t;
}

}  // namespace pelm
