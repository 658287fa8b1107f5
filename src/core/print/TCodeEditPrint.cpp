#include "core/print/TCodeEditPrint.h"

#include <algorithm>

#include "core/editor/TCustomCodeEdit.h"
#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

void TCodeEditPrint::SetHighlighter(TCustomHighlighter* h) {
    highlighter_ = h;
    states_.clear();
    pages_.clear();
}

void TCodeEditPrint::SetLines(const std::vector<std::string_view>& lines) {
    lines_.clear();
    lines_.reserve(lines.size());
    for (std::string_view s : lines) AddLine(s);
}

void TCodeEditPrint::AddLine(std::string_view line) {
    states_.clear();
    pages_.clear();
    std::string out;
    if (line.find('\t') == std::string_view::npos) {
        out.assign(line);
    } else {
        out.reserve(line.size() + 16);
        for (const char ch : line) {
            if (ch == '\t') out.append(static_cast<size_t>(tabWidth_ - static_cast<int>(out.size()) % tabWidth_), ' ');
            else out += ch;
        }
    }
    lines_.push_back(std::move(out));
}

void TCodeEditPrint::SetSelection(bool hasSelection, TBufferCoord begin, TBufferCoord end, TSelectionMode mode) {
    hasSelection_ = hasSelection;
    selBegin_ = begin;
    selEnd_ = end;
    selMode_ = mode;
}

void TCodeEditPrint::TakeEditor(const TCustomCodeEdit& editor) {
    SetHighlighter(editor.Highlighter());
    SetTabWidth(editor.TabWidth());
    const TCodeEditStringList& lines = editor.Lines();
    lines_.clear();
    lines_.reserve(static_cast<size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) AddLine(lines.Line(i));
    // The copied lines have their tabs expanded: the selection's columns are
    // counted in cells likewise, so that a line with tabs prints the part
    // that was selected.
    TBufferCoord b = editor.SelBeginPos(), e = editor.SelEndPos();
    const TSelectionMode mode = editor.SelectionMode();
    if (b.Line >= 1 && b.Line <= lines.Count()) b.Column = editor.ColumnToCell(b.Line, b.Column);
    if (e.Line >= 1 && e.Line <= lines.Count()) e.Column = editor.ColumnToCell(e.Line, e.Column);
    // A block drawn from right to left still selects the cells between its
    // two columns.
    if (mode == smColumn && e.Column < b.Column) std::swap(b.Column, e.Column);
    SetSelection(editor.HasSelection(), b, e, mode);
}

std::string_view TCodeEditPrint::PrintedText(int i) const {
    const std::string& s = lines_[static_cast<size_t>(i)];
    if (!SelectedOnly || selMode_ == smLine) return s;
    const int line = i + 1;
    const int start = selMode_ == smColumn || line == selBegin_.Line ? selBegin_.Column : 1;
    int len;
    if (selMode_ == smColumn || line == selEnd_.Line) len = selEnd_.Column - start;
    else len = static_cast<int>(s.size()) - (start - 1);
    const int size = static_cast<int>(s.size());
    const int from = std::max(0, start - 1);
    if (len <= 0 || from >= size) return {};
    return std::string_view(s).substr(static_cast<size_t>(from), static_cast<size_t>(std::min(len, size - from)));
}

std::vector<int> TCodeEditPrint::WrapPoints(std::string_view text, int rowChars) {
    const int rc = std::max(1, rowChars);
    const int n = static_cast<int>(text.size());
    std::vector<int> points;
    if (n <= rc) return points;
    // One set of break characters: the row ends after the last break character
    // seen before the row would grow past rc characters.
    const auto trySet = [&](std::string_view breaks) {
        points.clear();
        int prev = 0, cand = 0;
        for (int pos = 1; pos <= n; ++pos) {
            if (pos - prev > rc && cand > 0) {
                points.push_back(cand);
                prev = cand;
                if (n - cand > rc && pos != n) cand = 0;
                else break;
            }
            if (breaks.find(text[static_cast<size_t>(pos - 1)]) != std::string_view::npos) cand = pos;
        }
        return !points.empty();
    };
    if (trySet(std::string_view(" -\t,", 4)) || trySet(").;")) return points;
    points.clear();
    for (int w = rc; w < n; w += rc) points.push_back(w);
    return points;
}

void TCodeEditPrint::status(TSynPrintStatus s, int page) {
    if (OnPrintStatus) OnPrintStatus(s, page, abort_);
}

void TCodeEditPrint::computePage(int page) { geo_ = ComputePageGeometry(Margins, info_, page, numberWidth_); }

void TCodeEditPrint::computeStates() {
    const size_t n = lines_.size();
    states_.assign(n, 0);
    TCustomHighlighter& hl = *highlighter_;
    hl.ResetState();
    states_[0] = hl.GetState();
    for (size_t i = 1; i < n; ++i) {
        hl.StartLine(lines_[i - 1], static_cast<int>(i - 1));
        hl.ScanToLineEnd();
        states_[i] = hl.GetState();
    }
}

void TCodeEditPrint::Prepare(TPrintCanvas& canvas) {
    info_.Update(canvas.Caps());
    // The cell is as wide as the widest face's average character, so that
    // every style fits the same grid.
    TPrintFont all = Font;
    all.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    canvas.SetFont(all);
    const TPrintFontMetrics m = canvas.Metrics();
    canvas.SetFont(Font);
    cellWidth_ = std::max(1, m.AverageCharWidth);
    rowHeight_ = std::max(1, m.Height + m.ExternalLeading);
    // Every character prints in one cell, so a number's printed width is its
    // length in cells. The widest number is the one of the last line.
    numberWidth_ = 0;
    if (LineNumbers && !LineNumbersInMargin)
        numberWidth_ = static_cast<int>(std::to_string(LineCount() + LineOffset).size() + 2) * cellWidth_;
    computePage(1);
    paginate();
    Header.InitPrint(pageTotal_, Title);
    Footer.InitPrint(pageTotal_, Title);
    highlighted_ = Highlight && highlighter_ && !lines_.empty();
    if (highlighted_ && states_.size() != lines_.size()) computeStates();
}

void TCodeEditPrint::paginate() {
    const int width = geo_.TextRight - geo_.TextLeft;
    // The most cells whose width stays below the text area's width.
    const int cells = width <= 0 ? 0 : (width + cellWidth_ - 1) / cellWidth_ - 1;
    rowChars_ = std::max(1, cells);
    rowWidth_ = rowChars_ * cellWidth_;

    pageTotal_ = 1;
    pages_.clear();
    int from = 0, to = LineCount() - 1;
    if (SelectedOnly) {
        from = std::max(0, selBegin_.Line - 1);
        to = std::min(to, selEnd_.Line - 1);
    }
    pages_.push_back(std::min(from, std::max(0, LineCount() - 1)));
    penY_ = geo_.TextTop;
    for (int i = from; i <= to; ++i) {
        const std::string_view text = PrintedText(i);
        // A page too short for one row still takes a line, so that every
        // page has at least one.
        if (penY_ + rowHeight_ > geo_.TextBottom && i > pages_.back()) {
            pages_.push_back(i);
            ++pageTotal_;
            penY_ = geo_.TextTop;
        }
        if (wraps(text)) penY_ += rowHeight_ * static_cast<int>(WrapPoints(text, rowChars_).size());
        penY_ += rowHeight_;
    }
}

void TCodeEditPrint::PrintPages(TPrintCanvas& canvas, int first, int last) {
    abort_ = false;
    if (SelectedOnly && !hasSelection_) return;
    canvas.BeginJob(DocTitle.empty() ? Title : DocTitle);
    status(psBegin, 0);
    Prepare(canvas);
    if (last < 1 || last > pageTotal_) last = pageTotal_;
    first = std::max(1, first);
    for (int copy = 1; copy <= Copies && !abort_; ++copy) {
        for (int page = first; page <= last && !abort_; ++page) {
            printPage(canvas, page);
            if (!abort_ && !(copy == Copies && page == last)) canvas.NewPage();
        }
    }
    if (abort_) {
        canvas.AbortJob();
        return;
    }
    status(psEnd, last);
    canvas.EndJob();
}

void TCodeEditPrint::printPage(TPrintCanvas& canvas, int page) {
    status(psNewPage, page);
    if (abort_) return;
    // The page's own values first, so that a mirrored page fills its own area.
    computePage(page);
    canvas.FillRect(geo_.TextLeft, geo_.TextTop, geo_.TextRight - geo_.TextLeft, geo_.TextBottom - geo_.TextTop,
                    Color);
    Header.Print(canvas, geo_, page + PageOffset);
    penY_ = geo_.TextTop;
    const int from = pages_[static_cast<size_t>(page - 1)];
    int to = page < pageTotal_ ? pages_[static_cast<size_t>(page)] - 1 : LineCount() - 1;
    if (SelectedOnly) to = std::min(to, selEnd_.Line - 1);
    for (int i = std::max(from, SelectedOnly ? selBegin_.Line - 1 : 0); i <= to; ++i) {
        printLine(canvas, i, page);
        if (OnPrintLine) OnPrintLine(i + 1, page);
    }
    Footer.Print(canvas, geo_, page + PageOffset);
}

void TCodeEditPrint::printLine(TPrintCanvas& canvas, int i, int page) {
    (void)page;
    const std::string_view text = PrintedText(i);
    const int cw = cellWidth_;
    if (LineNumbers) {
        const std::string number = std::to_string(i + 1 + LineOffset) + ": ";
        canvas.TextRun(geo_.TextLeft - static_cast<int>(number.size()) * cw, penY_, cw, number, 0, clBlack, Color);
    }
    std::vector<int>& points = wrapScratch_;
    points.clear();
    if (wraps(text)) points = WrapPoints(text, rowChars_);
    const int n = static_cast<int>(text.size());
    if (!highlighted_) {
        int start = 0;
        for (size_t r = 0; r <= points.size(); ++r) {
            const int end = r < points.size() ? points[r] : n;
            if (r > 0) penY_ += rowHeight_;
            if (end > start)
                canvas.TextRun(geo_.TextLeft, penY_, cw, text.substr(static_cast<size_t>(start),
                                                                    static_cast<size_t>(end - start)),
                               Font.Style, Font.Color, Color);
            start = end;
        }
    } else {
        // The screen's token walk lays out the line; each row is painted from
        // it with the attribute colours (or, without Colors, the font's colour
        // on the page colour and the attribute styles alone).
        layout_.Map(text, tabWidth_, n, 0, n);
        layout_.ScanTokens(*highlighter_, text, i, states_[static_cast<size_t>(i)]);
        TRenderStyle style;
        style.Color = Color;
        style.FontColor = Font.Color;
        style.TokenColours = Colors;
        int start = 0;
        for (size_t r = 0; r <= points.size(); ++r) {
            const int end = r < points.size() ? points[r] : n;
            if (r > 0) penY_ += rowHeight_;
            renderer_.PaintCells(canvas, layout_, style, start, end, geo_.TextLeft - start * cw, penY_, cw,
                                 rowHeight_);
            start = end;
        }
    }
    penY_ += rowHeight_;
}

}  // namespace pelm
