// The editor widget's painting: the gutter of the visible rows, then their
// text through the core's renderer on a QPainter canvas, the gutter separator,
// the right edge and the caret.
#include <QPaintEvent>
#include <QPainter>
#include <QVariant>
#include <algorithm>

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
    const int firstRow = model_->FirstRow() + firstVisible;
    const int lastRow = model_->FirstRow() + lastVisible;
    paintGutter(p, firstRow, lastRow);

    TQtCanvas screen(p, faces_, ascent_, rowH, palette());
    TCanvas* canvas = &screen;
    if (recorder_) {
        recorder_->SetTarget(&screen);
        canvas = recorder_;
    }
    renderer_.PaintRows(*canvas, *model_, style_, firstRow, lastRow, viewport()->width());

    // The gutter's separator runs over the whole height.
    const int gs = model_->GutterSpan();
    if (gs > 0) {
        if (gutterBorder_ == gbsMiddle) {
            p.setPen(qcolor(style_.Color));
            p.drawLine(gs - 2, clip.top(), gs - 2, clip.bottom());
            p.setPen(qcolor(style_.GutterColor));
            p.drawLine(gs - 1, clip.top(), gs - 1, clip.bottom());
        } else if (gutterBorder_ == gbsRight) {
            p.setPen(qcolor(style_.Color));
            p.drawLine(gs - 1, clip.top(), gs - 1, clip.bottom());
        }
    }
    renderer_.PaintRightEdge(*canvas, *model_, style_, rightEdge_, viewport()->height());
    if (recorder_) recorder_->SetTarget(nullptr);
    paintPreedit(p);
    paintCaret(p);
}

void TCodeEdit::paintGutter(QPainter& p, int firstRow, int lastRow) {
    if (model_->GutterSpan() <= 0) return;
    const int rows = model_->RowCount();
    const int count = model_->Lines().Count();
    for (int r = firstRow; r <= lastRow; ++r) {
        const int line = model_->LineOfRow(r);
        if (r > rows || line > count || count == 0) paintGutterRow(p, r, 0, false);
        else paintGutterRow(p, r, line, r == model_->RowOfLine(line));
    }
}

void TCodeEdit::paintGutterRow(QPainter& p, int row, int line, bool firstRowOfLine) {
    const int gs = model_->GutterSpan();
    if (gs <= 0) return;
    const int rowH = model_->RowPixelHeight();
    const int y = (row - model_->FirstRow()) * rowH;
    const TCodeGutter& g = model_->Gutter();
    p.fillRect(QRect(0, y, gs, rowH), qcolor(style_.GutterColor));
    if (line <= 0) return;
    if (g.ShowLineNumbers && firstRowOfLine) {
        QString number = QString::number(g.ZeroStart ? line - 1 : line);
        const int digits = model_->AutoSizeDigitCount();
        if (number.size() < digits) {
            const QChar fill = g.LeadingZeros ? QLatin1Char('0') : QLatin1Char(' ');
            number = QString(digits - number.size(), fill) + number;
        }
        p.setFont(gutterFont_);
        p.setPen(qcolor(style_.FontColor));
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

void TCodeEdit::paintCaret(QPainter& p) {
    if (!hasFocus() || !caretShown_) return;
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

QRect TCodeEdit::caretCellRect() const {
    const auto [x, y] = model_->CellToPixels(model_->CaretDisplayPos());
    return QRect(x, y, model_->CellPixelWidth(), model_->RowPixelHeight());
}

void TCodeEdit::paintPreedit(QPainter& p) {
    if (preedit_.isEmpty()) return;
    const QRect cell = caretCellRect();
    QFont font = font_;
    font.setUnderline(true);
    const QFontMetrics metrics(font);
    const QRect box(cell.x(), cell.y(), metrics.horizontalAdvance(preedit_) + 2, cell.height());
    p.fillRect(box, qcolor(style_.Color));
    p.setFont(font);
    p.setPen(qcolor(style_.FontColor));
    p.drawText(box.x(), box.y() + ascent_, preedit_);
}

QVariant TCodeEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled: return !model_->ReadOnly();
        case Qt::ImCursorRectangle: {
            // The candidate window opens under the composed text, or the caret.
            QRect r = caretCellRect();
            if (!preedit_.isEmpty()) r.setWidth(QFontMetrics(font_).horizontalAdvance(preedit_));
            return QRect(viewport()->mapTo(this, r.topLeft()), r.size());
        }
        case Qt::ImFont: return font_;
        default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace pelm
