#include "gui/editor/TCodeEdit.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/platform/Cp1251.h"
#include "gui/app/GuiText.h"
#include "gui/editor/ColorConvert.h"
#include "gui/editor/EditorGlyphs.h"
#include "gui/editor/KeyMapping.h"
#include "gui/editor/THighlighterLink.h"

namespace pelm {

namespace {

// Scroll bars of the platform hold positions up to this value; longer ranges
// are scaled down.
constexpr int MaxBarRange = 32767;
constexpr int BookmarkLeftMargin = 2;
constexpr int BookmarkXoffset = 12;
constexpr int ScrollHintMaxWidth = 200;

struct BarValues {
    int maximum, page, value;
};

// Range 1..range with a page and a position, scaled when the range is too long.
BarValues ScaleBar(int range, int page, int pos) {
    range = std::max(1, range);
    page = std::max(1, page);
    if (range > MaxBarRange) {
        page = std::max(1, static_cast<int>(static_cast<long long>(page) * MaxBarRange / range));
        pos = std::max(1, static_cast<int>(static_cast<long long>(pos) * MaxBarRange / range));
        range = MaxBarRange;
    }
    return {std::max(1, range - page + 1), page, pos};
}

// The row or column a scaled bar position stands for.
int UnscaleBar(int range, int page, int value) {
    if (range <= MaxBarRange) return value;
    return static_cast<int>(static_cast<long long>(range + page - 1) * value / MaxBarRange);
}

// A fixed-pitch face of the same name, size and style when the font's
// characters are not all one width.
QFont FixedPitch(QFont font) {
    QFontMetrics fm(font);
    if (fm.averageCharWidth() != fm.maxWidth() && !QFontInfo(font).fixedPitch()) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
        if (!QFontInfo(font).fixedPitch()) {
            QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            fixed.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() : 13);
            fixed.setBold(font.bold());
            fixed.setItalic(font.italic());
            font = fixed;
        }
    }
    return font;
}

}  // namespace

TCodeEdit::TCodeEdit(QWidget* parent) : QAbstractScrollArea(parent), model_(std::make_unique<TCustomCodeEdit>()) {
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    model_->SetClipboard(&clipboard_);
    model_->SetView(this);

    scrollHint_ = new QLabel(this);
    scrollHint_->setObjectName(QStringLiteral("scrollHint"));
    scrollHint_->setMargin(2);
    scrollHint_->setFrameShape(QFrame::Box);
    scrollHint_->setAutoFillBackground(true);
    scrollHint_->hide();

    autoScroll_.setInterval(100);
    connect(&autoScroll_, &QTimer::timeout, this, &TCodeEdit::autoScrollTick);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingBars_) return;
        const int rows = model_->RowCount();
        model_->SetFirstRow(UnscaleBar(rows, model_->VisibleRows(), value));
        if (verticalScrollBar()->isSliderDown()) showScrollHint();
    });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, &TCodeEdit::showScrollHint);
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { scrollHint_->hide(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingBars_) return;
        model_->SetFirstColumn(UnscaleBar(model_->HorzScrollRange(), model_->VisibleColumns(), value));
    });

    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(10);
    gutterFont_ = f;
    gutterFont_.setPointSize(8);
    SetEditorFont(f);
}

TCodeEdit::~TCodeEdit() {
    model_->SetView(nullptr);
    model_->SetHighlighterLink(nullptr);
    link_.reset();
}

// ---------------------------------------------------------------- settings

void TCodeEdit::SetEditorFont(const QFont& font) {
    font_ = FixedPitch(font);
    recomputeMetrics();
}

void TCodeEdit::SetGutterFont(const QFont& font) {
    gutterFont_ = font;
    gutterAscent_ = QFontMetrics(gutterFont_).ascent();
    viewport()->update();
}

void TCodeEdit::SetExtraLineSpacing(int pixels) {
    extraLineSpacing_ = pixels;
    recomputeMetrics();
}

void TCodeEdit::SetHighlighter(TCustomHighlighter* highlighter) {
    if (highlighter == highlighter_) return;
    std::unique_ptr<THighlighterLink> old = std::move(link_);
    highlighter_ = highlighter;
    if (highlighter_) {
        link_ = std::make_unique<THighlighterLink>(*highlighter_);
        link_->BeforeChange = [this] { recomputeMetrics(); };
    }
    // The metrics first, so that a word-wrap map rebuilt by the model's rescan
    // uses the new cell width.
    recomputeMetrics();
    run([&] { model_->SetHighlighterLink(link_.get()); });
    old.reset();
    viewport()->update();
}

void TCodeEdit::SetRightEdge(int column) {
    if (column == rightEdge_) return;
    rightEdge_ = column;
    viewport()->update();
}

void TCodeEdit::SetRightEdgeColor(TColor color) {
    rightEdgeColor_ = color;
    viewport()->update();
}

void TCodeEdit::SetActiveLineColor(uint32_t color) {
    if (color == activeLineColor_) return;
    activeLineColor_ = color;
    InvalidateRows(model_->RowOfLine(model_->CaretPos().Line), model_->RowOfLine(model_->CaretPos().Line + 1) - 1,
                   true, false);
}

void TCodeEdit::SetColor(TColor color) {
    color_ = color;
    viewport()->update();
}

void TCodeEdit::SetShowLineNumbers(bool on) {
    if (model_->Gutter().ShowLineNumbers == on) return;
    model_->Gutter().ShowLineNumbers = on;
    model_->GutterChanged();
    updateScrollBars();
}

void TCodeEdit::SetWordWrap(bool on) {
    model_->SetWordWrap(on);
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    // The viewport's size changes with the bar; the model follows in resizeEvent.
    model_->SetClientSize(viewport()->width(), viewport()->height());
    updateScrollBars();
}

void TCodeEdit::SetReadOnly(bool on) {
    model_->SetReadOnly(on);
}

void TCodeEdit::SetGutterBorderStyle(TGutterBorderStyle s) {
    gutterBorder_ = s;
    viewport()->update();
}

void TCodeEdit::SetShortcutActions(const QList<QAction*>& actions) {
    shortcutActions_.clear();
    for (QAction* a : actions) shortcutActions_ << QPointer<QAction>(a);
    shortcutActionsSet_ = true;
}

int TCodeEdit::TextStartX() const {
    return model_->GutterSpan() + 2 - (model_->FirstColumn() - 1) * model_->CellPixelWidth();
}

void TCodeEdit::ScrollCaretToCentre() {
    model_->SetFirstRow(model_->CaretDisplayPos().Row - model_->VisibleRows() / 2);
    updateScrollBars();
}

bool TCodeEdit::ScrollHintVisible() const {
    return scrollHint_->isVisible();
}

QString TCodeEdit::ScrollHintText() const {
    return scrollHint_->text();
}

QColor TCodeEdit::qcolor(TColor c) const {
    return ColorToQColor(c, palette());
}

// ---------------------------------------------------------------- metrics

void TCodeEdit::recomputeMetrics() {
    // The styles in use: those of the highlighter's attributes, or the font's own.
    bool used[4] = {false, false, false, false};
    if (highlighter_) {
        used[0] = true;  // tokens without an attribute
        for (int i = 0; i < highlighter_->AttributeCount(); ++i)
            used[highlighter_->AttributeAt(i)->Style() & (fsBold | fsItalic)] = true;
    } else {
        used[(font_.bold() ? fsBold : 0) | (font_.italic() ? fsItalic : 0)] = true;
    }
    for (auto& f : faces_) f.reset();
    int cell = 1, height = 1, ascent = 0;
    for (int s = 0; s < 4; ++s) {
        if (!used[s]) continue;
        const StyleFace& sf = face(static_cast<TFontStyles>(s));
        QFontMetricsF fm(sf.font);
        double widest = 0;
        for (char c = 32; c < 127; ++c) widest = std::max(widest, fm.horizontalAdvance(QLatin1Char(c)));
        cell = std::max(cell, static_cast<int>(std::ceil(widest - 0.01)));
        height = std::max(height, static_cast<int>(std::ceil(fm.height() - 0.01)));
        ascent = std::max(ascent, static_cast<int>(std::ceil(fm.ascent() - 0.01)));
    }
    ascent_ = ascent;
    gutterAscent_ = QFontMetrics(gutterFont_).ascent();
    model_->SetCellSize(cell, height + extraLineSpacing_);
    model_->SetClientSize(viewport()->width(), viewport()->height());
    updateScrollBars();
    viewport()->update();
}

const TCodeEdit::StyleFace& TCodeEdit::face(TFontStyles style) {
    const int index = style & (fsBold | fsItalic);
    auto& slot = faces_[static_cast<size_t>(index)];
    if (!slot) {
        slot = std::make_unique<StyleFace>();
        slot->font = font_;
        slot->font.setBold((index & fsBold) != 0);
        slot->font.setItalic((index & fsItalic) != 0);
        slot->raw = QRawFont::fromFont(slot->font);
        for (int b = 0; b < 256; ++b) {
            const char32_t u = cp1251::ToUnicode(static_cast<unsigned char>(b));
            quint32 g = 0;
            if (b >= 32 && slot->raw.isValid()) {
                const QList<quint32> glyphs = slot->raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(u))));
                if (glyphs.size() == 1) g = glyphs.front();
            }
            slot->glyph[static_cast<size_t>(b)] = g;
        }
        QFontMetrics fm(slot->font);
        slot->underlinePos = fm.underlinePos();
        slot->strikeOutPos = fm.strikeOutPos();
        slot->lineWidth = std::max(1, fm.lineWidth());
    }
    return *slot;
}

// ---------------------------------------------------------------- view callbacks

void TCodeEdit::InvalidateRows(int firstRow, int lastRow, bool text, bool gutter) {
    const int rowH = model_->RowPixelHeight();
    const int top = std::max(0, (firstRow - model_->FirstRow()) * rowH);
    const int bottom = lastRow < 0 ? viewport()->height() : (lastRow - model_->FirstRow() + 1) * rowH;
    if (bottom <= 0 || top >= viewport()->height()) return;
    viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TCodeEdit::InvalidateAll() {
    viewport()->update();
}

void TCodeEdit::ScrollBarsChanged() {
    updateScrollBars();
}

void TCodeEdit::CaretChanged() {
    const int line = model_->CaretPos().Line;
    if (line != caretLine_) {
        // The old and the new caret line change their background.
        const int old = caretLine_;
        caretLine_ = line;
        InvalidateRows(model_->RowOfLine(old), model_->RowOfLine(old + 1) - 1, true, false);
        InvalidateRows(model_->RowOfLine(line), model_->RowOfLine(line + 1) - 1, true, false);
    } else {
        const TDisplayCoord d = model_->CaretDisplayPos();
        InvalidateRows(d.Row, d.Row, true, false);
    }
}

void TCodeEdit::updateScrollBars() {
    updatingBars_ = true;
    const BarValues v = ScaleBar(model_->RowCount(), model_->VisibleRows(), model_->FirstRow());
    QScrollBar* vb = verticalScrollBar();
    vb->setRange(1, v.maximum);
    vb->setPageStep(v.page);
    vb->setSingleStep(1);
    vb->setValue(v.value);
    // Everything fits: the bar stays, with its arrows disabled.
    vb->setEnabled(v.maximum > 1);
    if (!model_->WordWrap()) {
        const BarValues h = ScaleBar(model_->HorzScrollRange(), model_->VisibleColumns(), model_->FirstColumn());
        QScrollBar* hb = horizontalScrollBar();
        hb->setRange(1, h.maximum);
        hb->setPageStep(h.page);
        hb->setSingleStep(1);
        hb->setValue(h.value);
        hb->setEnabled(h.maximum > 1);
    }
    updatingBars_ = false;
}

void TCodeEdit::showScrollHint() {
    const int rows = model_->RowCount();
    const int first = model_->FirstRow();
    const int top = model_->LineOfRow(first);
    QString text;
    if (scrollHintFormat_ == shfTopToBottom) {
        const int bottom = model_->LineOfRow(first + std::min(model_->VisibleRows(), rows - first));
        text = QString::asprintf("%d - %d", top, bottom);
    } else {
        text = QString::asprintf("Top Line: %d", top);
    }
    QPalette pal = scrollHint_->palette();
    pal.setColor(QPalette::Window, qcolor(scrollHintColor_));
    pal.setColor(QPalette::WindowText, qcolor(clInfoText));
    scrollHint_->setPalette(pal);
    scrollHint_->setText(text);
    scrollHint_->adjustSize();
    scrollHint_->resize(std::min(scrollHint_->width(), ScrollHintMaxWidth), scrollHint_->height());
    const QRect client = viewport()->geometry();
    scrollHint_->move(client.right() + 1 - 4 - scrollHint_->width(), client.top() + 10);
    scrollHint_->show();
    scrollHint_->raise();
}

// ---------------------------------------------------------------- painting

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
        if (line == 1) hl.ResetState();
        else hl.SetState(static_cast<uint32_t>(model_->Lines().LineState(line - 2)));
        hl.StartLine(text, line - 1);
        // Cells in view map to non-decreasing bytes; cells past the text (-1) come last.
        int k = 0;
        auto byteAt = [&](int j) { return cellByte_[static_cast<size_t>(j)]; };
        while (!hl.AtLineEnd()) {
            const int ts = hl.TokenStart();
            if (ts >= b1) break;
            const int te = hl.ScanPosition();
            if (te > b0) {
                THighlighterAttributes* a = hl.TokenAttribute();
                while (k < n && byteAt(k) >= 0 && byteAt(k) < ts) ++k;
                for (int j = k; j < n && byteAt(j) >= 0 && byteAt(j) < te; ++j) cellAttr_[static_cast<size_t>(j)] = a;
            }
            hl.NextToken();
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

void TCodeEdit::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    model_->SetClientSize(viewport()->width(), viewport()->height());
    updateScrollBars();
}

void TCodeEdit::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) viewport()->update();
}

// ---------------------------------------------------------------- keyboard

void TCodeEdit::run(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        const QString message = MessageText(e.what());
        if (OnError) OnError(message);
        else QMessageBox::critical(this, QApplication::applicationName(), message);
    }
}

QAction* TCodeEdit::claimingAction(const QKeyEvent& event) const {
    const QKeyCombination latin = LatinCombinationOf(event);
    if (latin.key() == Qt::Key_unknown || latin.key() == 0) return nullptr;
    const QKeySequence pressed(latin);
    auto matches = [&](QAction* a) {
        if (!a || !a->isEnabled()) return false;
        for (const QKeySequence& s : a->shortcuts())
            if (s.count() == 1 && s == pressed) return true;
        return false;
    };
    if (shortcutActionsSet_) {
        for (const QPointer<QAction>& a : shortcutActions_)
            if (matches(a.data())) return a.data();
        return nullptr;
    }
    const QWidget* w = window();
    if (!w || w == this) return nullptr;
    for (QAction* a : w->findChildren<QAction*>())
        if (matches(a)) return a;
    return nullptr;
}

bool TCodeEdit::editorTakes(const QKeyEvent& event) const {
    const TEditKeyPress press = EditKeyOf(event);
    if (press.key != 0 && model_->Keystrokes().FindKeycode(press.key, press.shift) != ecNone) return true;
    // Typed text, but not the menu mnemonics and shortcuts of Ctrl and Alt.
    const Qt::KeyboardModifiers m = event.modifiers();
    if (m & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).unicode() >= 32;
}

bool TCodeEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(event);
        pendingAction_ = nullptr;
        if (QAction* a = claimingAction(*ke)) {
            // The window's shortcut wins. When the layout gives the key another
            // meaning (a Cyrillic letter), Qt would not find the shortcut: the
            // editor takes the key and triggers the command itself.
            bool qtMatches = false;
            for (const QKeySequence& s : a->shortcuts())
                if (s == QKeySequence(ke->keyCombination())) qtMatches = true;
            if (qtMatches) {
                event->ignore();
            } else {
                pendingAction_ = a;
                event->accept();
            }
            return true;
        }
        if (editorTakes(*ke)) event->accept();
        else event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Tab and Shift+Tab go into the text instead of moving the focus.
        auto* ke = static_cast<QKeyEvent*>(event);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && model_->WantTabs) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TCodeEdit::focusNextPrevChild(bool next) {
    if (model_->WantTabs) return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TCodeEdit::keyPressEvent(QKeyEvent* event) {
    if (pendingAction_) {
        QPointer<QAction> a = pendingAction_;
        pendingAction_ = nullptr;
        if (a && a == claimingAction(*event)) {
            a->trigger();
            event->accept();
            return;
        }
    }
    const TEditKeyPress press = EditKeyOf(*event);
    bool consumed = false;
    run([&] { consumed = model_->KeyDown(press.key, press.shift); });
    if (consumed) {
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers m = event->modifiers();
    const bool commandChord = (m & Qt::ControlModifier) || ((m & Qt::AltModifier) && !(m & Qt::ControlModifier));
    const QString text = event->text();
    if (!commandChord && !text.isEmpty() && text.at(0).unicode() >= 32) {
        insertTypedText(text);
        event->accept();
        return;
    }
    event->ignore();
}

void TCodeEdit::insertTypedText(const QString& text) {
    run([&] {
        for (char32_t c : text.toUcs4()) {
            if (c < 32 || c == 127) continue;
            // Characters without a byte in the code page are not inserted.
            const int b = cp1251::FromUnicode(c);
            if (b >= 0) model_->KeyPress(static_cast<char>(b));
        }
    });
}

void TCodeEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        // Each character arrives as its own press, as typed keys do.
        run([&] { model_->KeyDown(0, 0); });
        insertTypedText(event->commitString());
    }
    event->accept();
}

void TCodeEdit::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    CaretChanged();
}

void TCodeEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    CaretChanged();
}

// ---------------------------------------------------------------- mouse

TBufferCoord TCodeEdit::bufferPosAt(QPoint pt) const {
    return model_->RowToTextPos(model_->PixelsToCell(pt.x(), pt.y()));
}

bool TCodeEdit::inTextArea(QPoint pt) const {
    const int left = model_->GutterSpan() + 2;
    const int right = left + model_->VisibleColumns() * model_->CellPixelWidth();
    const int bottom = model_->VisibleRows() * model_->RowPixelHeight();
    return pt.x() >= left && pt.x() < std::max(right, left + 1) && pt.y() >= 0 && pt.y() < std::max(bottom, 1);
}

static TShiftState ShiftOf(Qt::KeyboardModifiers m) {
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (m & Qt::AltModifier) s |= ssAlt;
    return s;
}

void TCodeEdit::mousePressEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    lastMouse_ = pt;
    lastModifiers_ = event->modifiers();
    if (event->button() != Qt::LeftButton) return;
    if (pt.x() < model_->GutterSpan()) {
        const int line = model_->LineOfRow(model_->PixelsToCell(model_->GutterSpan() + 2, pt.y()).Row);
        const TCodeEditMark* mark = nullptr;
        for (const TCodeEditMark* m : model_->Marks().MarksOnLine(line))
            if (m->Visible) {
                mark = m;
                break;
            }
        if (OnGutterClick) OnGutterClick(line, mark);
        return;
    }
    const TBufferCoord pos = bufferPosAt(pt);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (!shift && model_->SelectionMode() == smNormal && model_->HasSelection() &&
        model_->HasOption(eoDragDropEditing) && model_->SelBeginPos() <= pos && pos < model_->SelEndPos()) {
        dragPending_ = true;
        pressPoint_ = pt;
        return;
    }
    run([&] { model_->MouseDown(pos, ShiftOf(event->modifiers())); });
    selecting_ = true;
}

void TCodeEdit::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    lastMouse_ = pt;
    lastModifiers_ = event->modifiers();
    if (dragPending_) {
        if ((pt - pressPoint_).manhattanLength() > QApplication::startDragDistance()) {
            dragPending_ = false;
            startTextDrag();
        }
        return;
    }
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
    if (inTextArea(pt)) {
        autoScroll_.stop();
        run([&] { model_->MouseDragTo(bufferPosAt(pt)); });
    } else if (!autoScroll_.isActive()) {
        autoScroll_.start();
    }
}

void TCodeEdit::mouseReleaseEvent(QMouseEvent* event) {
    autoScroll_.stop();
    if (dragPending_) {
        // A click inside the selection that did not become a drag places the caret.
        dragPending_ = false;
        const TBufferCoord pos = bufferPosAt(event->position().toPoint());
        run([&] { model_->MouseDown(pos, 0); });
    }
    selecting_ = false;
}

void TCodeEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (event->button() != Qt::LeftButton || pt.x() < model_->GutterSpan()) return;
    run([&] { model_->SelectWordAt(bufferPosAt(pt)); });
    selecting_ = false;
    dragPending_ = false;
}

void TCodeEdit::autoScrollTick() {
    if (!selecting_) {
        autoScroll_.stop();
        return;
    }
    // The distance beyond the edge in whole cells and rows, plus one.
    const int cellW = model_->CellPixelWidth();
    const int rowH = model_->RowPixelHeight();
    const int left = model_->GutterSpan() + 2;
    const int right = left + model_->VisibleColumns() * cellW;
    const int bottom = model_->VisibleRows() * rowH;
    const QPoint pt = lastMouse_;
    int dx = 0, dy = 0;
    if (!model_->WordWrap()) {
        if (pt.x() < left) dx = -((left - pt.x()) / cellW + 1);
        else if (pt.x() >= right) dx = (pt.x() - right) / cellW + 1;
    }
    if (pt.y() < 0) dy = -((-pt.y()) / rowH + 1);
    else if (pt.y() >= bottom) dy = (pt.y() - bottom) / rowH + 1;
    if (dx == 0 && dy == 0) {
        autoScroll_.stop();
        return;
    }
    run([&] { model_->AutoScrollTick(dx, dy, lastModifiers_ & Qt::ShiftModifier); });
}

void TCodeEdit::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int units = wheelRemainder_ / 120;
    wheelRemainder_ -= units * 120;
    if (units != 0) {
        const int rows = std::max(1, model_->VisibleRows());
        int step = QApplication::wheelScrollLines();
        if ((event->modifiers() & Qt::ControlModifier) || step <= 0) step = rows;
        step = std::min(step, rows);
        model_->SetFirstRow(model_->FirstRow() - units * step);
        updateScrollBars();
    }
    event->accept();
}

void TCodeEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_) {
        contextMenu_->popup(event->globalPos());
        event->accept();
    }
}

// ---------------------------------------------------------------- drag and drop

void TCodeEdit::startTextDrag() {
    auto* data = new QMimeData;
    data->setText(FromCp1251(model_->SelectedText()));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // The drop handler moves or copies the text itself, for drops into this editor.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void TCodeEdit::dragEnterEvent(QDragEnterEvent* event) {
    // Dropped files belong to the main window.
    if (model_->ReadOnly() || !event->mimeData()->hasText() || event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TCodeEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (model_->ReadOnly() || !event->mimeData()->hasText() || event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    const bool copy = event->modifiers() & Qt::ControlModifier;
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void TCodeEdit::dropEvent(QDropEvent* event) {
    if (model_->ReadOnly() || !event->mimeData()->hasText() || event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    const TBufferCoord pos = bufferPosAt(event->position().toPoint());
    const bool copy = event->modifiers() & Qt::ControlModifier;
    if (event->source() == this) {
        // A drop inside the selection does nothing.
        run([&] { model_->DropSelection(pos, copy); });
        event->setDropAction(Qt::CopyAction);
    } else {
        const std::string text = ToCp1251(event->mimeData()->text());
        run([&] {
            model_->SetCaretPos(pos);
            model_->SetSelectedText(text);
        });
        event->setDropAction(Qt::CopyAction);
    }
    event->accept();
    setFocus();
}

}  // namespace pelm
