// The editor widget's painting: the visible rows with their gutter, token
// colours, selection and caret line, then the gutter separator, the right edge
// and the caret. Only the cells in view are mapped and drawn.
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <climits>

#include "core/platform/Cp1251.h"
#include "gui/editor/EditorGlyphs.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm {

namespace {

constexpr int BookmarkLeftMargin = 2;
constexpr int BookmarkXoffset = 12;

}  // namespace

void TCodeEdit::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const int rowH = model_->RowPixelHeight();
    const QRect clip = event->rect();
    const int firstVisible = std::max(0, clip.top() / rowH);
    const int lastVisible = std::max(firstVisible, clip.bottom() / rowH);
    paintRows(p, firstVisible, lastVisible);

    // The gutter's separator and the right edge run over the whole height.
    const int gs = model_->GutterSpan();
    const int h = viewport()->height();
    if (gs > 0) {
        if (gutterBorder_ == gbsMiddle) {
            p.setPen(qcolor(color_));
            p.drawLine(gs - 2, clip.top(), gs - 2, clip.bottom());
            p.setPen(qcolor(gutterColor_));
            p.drawLine(gs - 1, clip.top(), gs - 1, clip.bottom());
        } else if (gutterBorder_ == gbsRight) {
            p.setPen(qcolor(color_));
            p.drawLine(gs - 1, clip.top(), gs - 1, clip.bottom());
        }
    }
    if (rightEdge_ > 0) {
        const int x = rightEdge_ * model_->CellPixelWidth() + TextStartX();
        if (x >= gs) {
            p.setPen(qcolor(rightEdgeColor_));
            p.drawLine(x, 0, x, h);
        }
    }
    paintCaret(p);
}

void TCodeEdit::paintRows(QPainter& p, int firstVisible, int lastVisible) {
    const int rows = model_->RowCount();
    const int count = model_->Lines().Count();
    int r = model_->FirstRow() + firstVisible;
    const int last = model_->FirstRow() + lastVisible;
    while (r <= last) {
        const int line = model_->LineOfRow(r);
        if (r > rows || line > count || count == 0) {
            paintEmptyRow(p, r);
            ++r;
            continue;
        }
        // All visible rows of this line at once: a wrapped line is mapped once.
        const int lineLast = std::min(last, model_->RowOfLine(line + 1) - 1);
        paintLine(p, line, r, std::max(r, lineLast));
        r = std::max(r, lineLast) + 1;
    }
}

void TCodeEdit::paintEmptyRow(QPainter& p, int row) {
    const int rowH = model_->RowPixelHeight();
    const int y = (row - model_->FirstRow()) * rowH;
    const int gs = model_->GutterSpan();
    p.fillRect(QRect(gs, y, viewport()->width() - gs, rowH), qcolor(color_));
    paintGutterRow(p, row, 0, false);
}

void TCodeEdit::paintGutterRow(QPainter& p, int row, int line, bool firstRowOfLine) {
    const int gs = model_->GutterSpan();
    if (gs <= 0) return;
    const int rowH = model_->RowPixelHeight();
    const int y = (row - model_->FirstRow()) * rowH;
    const TCodeGutter& g = model_->Gutter();
    p.fillRect(QRect(0, y, gs, rowH), qcolor(gutterColor_));
    if (line <= 0) return;
    if (g.ShowLineNumbers && firstRowOfLine) {
        QString number = QString::number(g.ZeroStart ? line - 1 : line);
        const int digits = model_->AutoSizeDigitCount();
        if (number.size() < digits) {
            const QChar fill = g.LeadingZeros ? QLatin1Char('0') : QLatin1Char(' ');
            number = QString(digits - number.size(), fill) + number;
        }
        p.setFont(gutterFont_);
        p.setPen(qcolor(fontColor_));
        const int right = gs - g.RightOffset - 2;
        p.drawText(QRect(0, y, right, rowH), Qt::AlignRight | Qt::AlignVCenter, number.trimmed());
    }
    if (model_->WordWrap() && !firstRowOfLine) {
        const QPixmap& glyph = WrapGlyph();
        const int x = gs - g.RightOffset - glyph.width() - 2;
        p.save();
        p.setClipRect(QRect(0, y, gs, rowH));
        p.drawPixmap(x, y + (rowH - glyph.height()) / 2, glyph);
        p.restore();
    }
    if (firstRowOfLine && model_->Marks().Count() > 0) {
        const std::vector<TCodeEditMark*> marks = model_->Marks().MarksOnLine(line);
        if (!marks.empty()) {
            p.save();
            p.setClipRect(QRect(0, y, gs, rowH));
            // Bookmarks first, on top of each other; then the other marks side by side.
            for (const TCodeEditMark* m : marks)
                if (m->Visible && m->IsBookmark()) p.drawPixmap(BookmarkLeftMargin, y, BookmarkImage(m->ImageIndex));
            int k = 1;
            for (const TCodeEditMark* m : marks)
                if (m->Visible && !m->IsBookmark() && !BookmarkImage(m->ImageIndex).isNull())
                    p.drawPixmap(BookmarkLeftMargin + BookmarkXoffset * k++, y, BookmarkImage(m->ImageIndex));
            p.restore();
        }
    }
}

void TCodeEdit::paintLine(QPainter& p, int line, int rowFrom, int rowTo) {
    const int cellW = model_->CellPixelWidth();
    const int rowH = model_->RowPixelHeight();
    const int gs = model_->GutterSpan();
    const int vw = viewport()->width();
    const int firstRowOfLine = model_->RowOfLine(line);
    const bool wrap = model_->WordWrap();
    const TCodeEditWordWrap* map = model_->WrapMap();

    // The cells of the line in view, 0-based in the tab-expanded line: each
    // painted row covers [rowStart, rowStart + rowCells).
    int u0, u1;
    int startOfFirst = 0;
    if (wrap && map) {
        for (int r = firstRowOfLine; r < rowFrom; ++r) startOfFirst += map->RowLength(r);
        u0 = startOfFirst;
        u1 = u0;
        for (int r = rowFrom; r <= rowTo; ++r) u1 += map->RowLength(r);
        // Virtual cells after the last row's text (the caret may stand there).
        u1 += model_->VisibleColumns() + 1;
    } else {
        u0 = model_->FirstColumn() - 1;
        u1 = u0 + (vw - gs) / cellW + 2;
    }
    const int n = u1 - u0;
    cellByte_.assign(static_cast<size_t>(n), -1);
    cellChar_.assign(static_cast<size_t>(n), 0);
    cellAttr_.assign(static_cast<size_t>(n), nullptr);

    // Bytes to cells for the cells in view only.
    const std::string_view text = model_->LineText(line);
    const int len = static_cast<int>(text.size());
    const int tabWidth = model_->TabWidth();
    const bool tabs = model_->Lines().ExpandedWidth(line - 1) != len;
    int lineCells;
    int b0 = len, b1 = 0;  // bytes in view
    if (!tabs) {
        lineCells = len;
        for (int c = u0; c < std::min(u1, len); ++c) {
            cellByte_[static_cast<size_t>(c - u0)] = c;
            cellChar_[static_cast<size_t>(c - u0)] = static_cast<unsigned char>(text[static_cast<size_t>(c)]);
        }
        b0 = std::min(u0, len);
        b1 = std::min(u1, len);
    } else {
        int c = 0;
        for (int i = 0; i < len; ++i) {
            const bool tab = text[static_cast<size_t>(i)] == '\t';
            const int span = tab ? tabWidth - c % tabWidth : 1;
            if (c + span > u0 && c < u1) {
                b0 = std::min(b0, i);
                b1 = i + 1;
                for (int k = std::max(c, u0); k < std::min(c + span, u1); ++k) {
                    cellByte_[static_cast<size_t>(k - u0)] = i;
                    cellChar_[static_cast<size_t>(k - u0)] = tab ? 0 : static_cast<unsigned char>(text[static_cast<size_t>(i)]);
                }
            }
            c += span;
            if (c >= u1) break;
        }
        lineCells = model_->Lines().ExpandedWidth(line - 1);
    }

    // Token attributes of the bytes in view: the scan stops past the view.
    THighlighterAttributes* wsAttr = nullptr;
    if (highlighter_ && b0 < b1) {
        TCustomHighlighter& hl = *highlighter_;
        const uint32_t startState = line == 1 ? 0 : static_cast<uint32_t>(model_->Lines().LineState(line - 2));
        // Cells in view map to non-decreasing bytes; cells past the text (-1) come last.
        int k = 0;
        auto byteAt = [&](int j) { return cellByte_[static_cast<size_t>(j)]; };
        auto assign = [&](int ts, int te, THighlighterAttributes* a) {
            while (k < n && byteAt(k) >= 0 && byteAt(k) < ts) ++k;
            for (int j = k; j < n && byteAt(j) >= 0 && byteAt(j) < te; ++j) cellAttr_[static_cast<size_t>(j)] = a;
        };
        if (len >= LongLineBytes) {
            const LongLineTokens& t = longLineTokens(line, text, startState);
            const auto count = static_cast<int>(t.start.size());
            int i = static_cast<int>(std::upper_bound(t.start.begin(), t.start.end(), b0) - t.start.begin()) - 1;
            for (i = std::max(i, 0); i < count && t.start[static_cast<size_t>(i)] < b1; ++i) {
                const int te = i + 1 < count ? t.start[static_cast<size_t>(i + 1)] : len;
                assign(t.start[static_cast<size_t>(i)], te, t.attr[static_cast<size_t>(i)]);
            }
        } else {
            // The scan stops past the view.
            if (line == 1) hl.ResetState();
            else hl.SetState(startState);
            hl.StartLine(text, line - 1);
            while (!hl.AtLineEnd()) {
                const int ts = hl.TokenStart();
                if (ts >= b1) break;
                const int te = hl.ScanPosition();
                if (te > b0) assign(ts, te, hl.TokenAttribute());
                hl.NextToken();
            }
        }
    }
    if (highlighter_) {
        wsAttr = highlighter_->RoleAttribute(hrWhitespace);
        if (wsAttr && wsAttr->Background() == clNone) wsAttr = nullptr;
    }

    // The selected cells of this line, 0-based, [s0, s1).
    int s0 = 0, s1 = 0;
    if (model_->HasSelection()) {
        const TBufferCoord b = model_->SelBeginPos(), e = model_->SelEndPos();
        if (line >= b.Line && line <= e.Line) {
            switch (model_->SelectionMode()) {
                case smNormal:
                    s0 = line == b.Line ? model_->ColumnToCell(line, b.Column) - 1 : 0;
                    // A line break inside the selection shows as one cell past the text.
                    s1 = line == e.Line ? model_->ColumnToCell(line, e.Column) - 1 : lineCells + 1;
                    break;
                case smLine:
                    s0 = 0;
                    s1 = INT_MAX;
                    break;
                case smColumn: {
                    const TBufferCoord a = model_->AnchorPos(), c = model_->ActivePos();
                    const int ca = model_->ColumnToCell(a.Line, a.Column) - 1;
                    const int cc = model_->ColumnToCell(c.Line, c.Column) - 1;
                    s0 = std::min(ca, cc);
                    s1 = std::max(ca, cc);
                    break;
                }
            }
        }
    }

    const bool caretLine = line == model_->CaretPos().Line && activeLineColor_ != clNone;
    const QColor editorBg = qcolor(color_);
    const QColor lineBg = caretLine ? qcolor(activeLineColor_) : (wsAttr ? qcolor(wsAttr->Background()) : editorBg);
    const QColor selBg = qcolor(selectedBackground_);
    const QColor selFg = qcolor(selectedForeground_);
    const QColor fontFg = qcolor(fontColor_);
    auto background = [&](int cell, THighlighterAttributes* a) -> QColor {
        if (cell >= s0 && cell < s1) return selBg;
        if (caretLine) return lineBg;
        if (a && a->Background() != clNone) return qcolor(a->Background());
        return lineBg;
    };

    QList<quint32> glyphs;
    QList<QPointF> positions;
    int rowStart = startOfFirst;
    for (int r = rowFrom; r <= rowTo; ++r) {
        const int y = (r - model_->FirstRow()) * rowH;
        const bool first = r == firstRowOfLine;
        paintGutterRow(p, r, line, first);

        // This row's cells in the scratch arrays, and where its column 1 is.
        int c0, c1, x0;
        if (wrap && map) {
            c0 = rowStart;
            const bool lastRowOfLine = r == model_->RowOfLine(line + 1) - 1;
            c1 = rowStart + map->RowLength(r);
            if (lastRowOfLine) c1 = u1;  // virtual space after the text
            x0 = gs + 2 - c0 * cellW;
            rowStart += map->RowLength(r);
        } else {
            c0 = u0;
            c1 = u1;
            x0 = TextStartX();
        }
        p.save();
        p.setClipRect(QRect(gs, y, vw - gs, rowH));
        // The two pixels between the gutter and the text, and anything past the cells.
        p.fillRect(QRect(gs, y, vw - gs, rowH), s0 == 0 && s1 == INT_MAX ? selBg : lineBg);

        // Backgrounds in runs of one colour.
        int k = c0;
        while (k < c1) {
            const QColor bg = background(k, cellAttr_[static_cast<size_t>(k - u0)]);
            int j = k + 1;
            while (j < c1 && background(j, cellAttr_[static_cast<size_t>(j - u0)]) == bg) ++j;
            p.fillRect(QRect(x0 + k * cellW, y, (j - k) * cellW, rowH), bg);
            k = j;
        }

        // Glyphs in runs of one colour and style, placed on the cell grid.
        const int baseline = y + ascent_;
        k = c0;
        while (k < c1) {
            const unsigned char ch = cellChar_[static_cast<size_t>(k - u0)];
            if (ch <= 32) {
                ++k;
                continue;
            }
            THighlighterAttributes* a = cellAttr_[static_cast<size_t>(k - u0)];
            const bool sel = k >= s0 && k < s1;
            const TFontStyles style = a ? a->Style() : 0;
            const QColor fg = sel ? selFg : (a && a->Foreground() != clNone ? qcolor(a->Foreground()) : fontFg);
            int j = k;
            glyphs.clear();
            positions.clear();
            const StyleFace& sf = face(style);
            p.setPen(fg);
            while (j < c1) {
                const unsigned char cj = cellChar_[static_cast<size_t>(j - u0)];
                THighlighterAttributes* aj = cellAttr_[static_cast<size_t>(j - u0)];
                const bool selj = j >= s0 && j < s1;
                if (aj != a || selj != sel) break;
                if (cj > 32) {
                    const quint32 g = sf.glyph[cj];
                    if (g != 0) {
                        glyphs << g;
                        positions << QPointF(x0 + j * cellW, baseline);
                    } else {
                        // A character the face lacks: drawn alone in its cell by a fallback face.
                        p.setFont(sf.font);
                        p.drawText(QPointF(x0 + j * cellW, baseline), QString(QChar(cp1251::ToUnicode(cj))));
                    }
                }
                ++j;
            }
            if (!glyphs.isEmpty()) {
                QGlyphRun run;
                run.setRawFont(sf.raw);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                p.drawGlyphRun(QPointF(0, 0), run);
            }
            if (style & (fsUnderline | fsStrikeOut)) {
                const int xa = x0 + k * cellW, xb = x0 + j * cellW;
                if (style & fsUnderline)
                    p.fillRect(QRect(xa, baseline + sf.underlinePos, xb - xa, sf.lineWidth), fg);
                if (style & fsStrikeOut)
                    p.fillRect(QRect(xa, baseline - sf.strikeOutPos, xb - xa, sf.lineWidth), fg);
            }
            k = j;
        }
        p.restore();
    }
}

const TCodeEdit::LongLineTokens& TCodeEdit::longLineTokens(int line, std::string_view text, uint32_t startState) {
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

void TCodeEdit::paintCaret(QPainter& p) {
    if (!hasFocus()) return;
    const TDisplayCoord d = model_->CaretDisplayPos();
    const auto [x, y] = model_->CellToPixels(d);
    const int cellW = model_->CellPixelWidth();
    const int rowH = model_->RowPixelHeight();
    if (x < model_->GutterSpan() || y < 0 || y >= viewport()->height()) return;
    QRect r;
    switch (model_->ActiveCaretType()) {
        case ctVerticalLine: r = QRect(x, y, 2, rowH); break;
        case ctHorizontalLine: r = QRect(x, y + rowH - 2, cellW, 2); break;
        case ctHalfBlock: r = QRect(x, y + rowH / 2, cellW, rowH - rowH / 2); break;
        case ctBlock: r = QRect(x, y, cellW, rowH); break;
    }
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(r, Qt::white);
    p.restore();
}

}  // namespace pelm
