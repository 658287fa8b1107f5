#include "core/render/TLineLayout.h"

#include <algorithm>

namespace pelm {

void TLineLayout::Map(std::string_view text, int tabWidth, int expandedWidth, int firstCell, int endCell) {
    u0_ = firstCell;
    u1_ = std::max(firstCell, endCell);
    const auto n = static_cast<size_t>(u1_ - u0_);
    cellByte_.assign(n, -1);
    cellChar_.assign(n, ' ');
    cellAttr_.assign(n, nullptr);
    tokenCursor_ = 0;
    s0_ = s1_ = 0;
    caretLine_ = false;
    whitespace_ = nullptr;

    const int len = static_cast<int>(text.size());
    if (expandedWidth == len) {
        // No tab: cell c shows byte c.
        lineCells_ = len;
        for (int c = u0_; c < std::min(u1_, len); ++c) {
            cellByte_[static_cast<size_t>(c - u0_)] = c;
            cellChar_[static_cast<size_t>(c - u0_)] = static_cast<unsigned char>(text[static_cast<size_t>(c)]);
        }
        b0_ = std::min(u0_, len);
        b1_ = std::min(u1_, len);
        return;
    }
    // A tab spans the cells up to the next multiple of the tab width.
    lineCells_ = expandedWidth;
    b0_ = len;
    b1_ = 0;
    int c = 0;
    for (int i = 0; i < len; ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[static_cast<size_t>(i)]);
        const bool tab = ch == '\t';
        const int span = tab ? tabWidth - c % tabWidth : 1;
        if (c + span > u0_ && c < u1_) {
            b0_ = std::min(b0_, i);
            b1_ = i + 1;
            for (int k = std::max(c, u0_); k < std::min(c + span, u1_); ++k) {
                cellByte_[static_cast<size_t>(k - u0_)] = i;
                cellChar_[static_cast<size_t>(k - u0_)] = tab ? ' ' : ch;
            }
        }
        c += span;
        if (c >= u1_) break;
    }
}

void TLineLayout::AssignToken(int start, int end, THighlighterAttributes* attribute) {
    // Window cells map to non-decreasing bytes; virtual cells (-1) come last.
    const int n = u1_ - u0_;
    int k = tokenCursor_;
    while (k < n && cellByte_[static_cast<size_t>(k)] >= 0 && cellByte_[static_cast<size_t>(k)] < start) ++k;
    tokenCursor_ = k;
    for (int j = k; j < n && cellByte_[static_cast<size_t>(j)] >= 0 && cellByte_[static_cast<size_t>(j)] < end; ++j)
        cellAttr_[static_cast<size_t>(j)] = attribute;
}

void TLineLayout::ScanTokens(TCustomHighlighter& hl, std::string_view text, int lineIndex, uint32_t startState) {
    if (b0_ >= b1_) return;
    if (lineIndex == 0) hl.ResetState();
    else hl.SetState(startState);
    hl.StartLine(text, lineIndex);
    while (!hl.AtLineEnd()) {
        const int ts = hl.TokenStart();
        if (ts >= b1_) break;
        const int te = hl.ScanPosition();
        if (te > b0_) AssignToken(ts, te, hl.TokenAttribute());
        hl.NextToken();
    }
}

void TLineLayout::ApplyTokens(const std::vector<int32_t>& starts, const std::vector<THighlighterAttributes*>& attributes,
                              int lineLength) {
    if (b0_ >= b1_) return;
    const auto count = static_cast<int>(starts.size());
    int i = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), b0_) - starts.begin()) - 1;
    for (i = std::max(i, 0); i < count && starts[static_cast<size_t>(i)] < b1_; ++i) {
        const int te = i + 1 < count ? starts[static_cast<size_t>(i + 1)] : lineLength;
        AssignToken(starts[static_cast<size_t>(i)], te, attributes[static_cast<size_t>(i)]);
    }
}

TColor TLineLayout::lineBackground(const TRenderStyle& style) const {
    if (caretLine_ && style.ActiveLineColor != clNone) return style.ActiveLineColor;
    if (whitespace_ && style.TokenColours) return whitespace_->Background();
    return style.Color;
}

TColor TLineLayout::RowBackground(const TRenderStyle& style) const {
    return WholeRowSelected() ? style.SelectedBackground : lineBackground(style);
}

TColor TLineLayout::cellBackground(int cell, const TRenderStyle& style, TColor lineBg) const {
    if (Selected(cell)) return style.SelectedBackground;
    // The caret line's colour covers the tokens' own backgrounds.
    if (caretLine_ && style.ActiveLineColor != clNone) return lineBg;
    const THighlighterAttributes* a = CellAttribute(cell);
    if (a && style.TokenColours && a->Background() != clNone) return a->Background();
    return lineBg;
}

void TLineLayout::BackgroundRuns(int first, int end, const TRenderStyle& style, std::vector<BackgroundRun>& out) const {
    out.clear();
    const TColor lineBg = lineBackground(style);
    int k = first;
    while (k < end) {
        const TColor bg = cellBackground(k, style, lineBg);
        int j = k + 1;
        while (j < end && cellBackground(j, style, lineBg) == bg) ++j;
        out.push_back(BackgroundRun{k, j, bg});
        k = j;
    }
}

void TLineLayout::TextRuns(int first, int end, const TRenderStyle& style, std::vector<TextRun>& out) const {
    out.clear();
    int k = first;
    while (k < end) {
        if (CellByte(k) <= 32) {
            ++k;
            continue;
        }
        // A run goes on while the token and the selection stay the same.
        THighlighterAttributes* a = CellAttribute(k);
        const bool sel = Selected(k);
        int j = k + 1;
        while (j < end && CellAttribute(j) == a && Selected(j) == sel) ++j;
        const TFontStyles fontStyle = a ? a->Style() : 0;
        TColor fg = style.FontColor;
        if (sel) fg = style.SelectedForeground;
        else if (a && style.TokenColours && a->Foreground() != clNone) fg = a->Foreground();
        // Blanks at the end show nothing unless a line runs under or through them.
        int last = j;
        if (!(fontStyle & (fsUnderline | fsStrikeOut)))
            while (last > k && CellByte(last - 1) <= 32) --last;
        const auto* bytes = reinterpret_cast<const char*>(cellChar_.data()) + (k - u0_);
        out.push_back(TextRun{k, last, std::string_view(bytes, static_cast<size_t>(last - k)), fontStyle, fg});
        k = j;
    }
}

}  // namespace pelm
