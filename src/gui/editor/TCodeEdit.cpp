// The editor widget: settings, metrics, the model's view callbacks, scroll
// bars, keys, mouse and drag and drop. Painting is in TCodeEditPainting.cpp.
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
#include <QStyleHints>
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/platform/Cp1251.h"
#include "gui/app/GuiText.h"
#include "gui/editor/ColorConvert.h"
#include "gui/editor/EditorGlyphs.h"
#include "gui/editor/KeyMapping.h"

namespace pelm {

namespace {

// Scroll bars of the platform hold positions up to this value; longer ranges
// are scaled down.
constexpr int MaxBarRange = 32767;
constexpr int ScrollHintMaxWidth = 200;

// The column a scaled horizontal bar position stands for.
int UnscaleBar(int range, int page, int value) {
    if (range <= MaxBarRange) return value;
    return static_cast<int>(static_cast<long long>(range + page - 1) * value / MaxBarRange);
}

// Whether the printable ASCII characters of a font all advance alike.
bool SameAdvances(const QFont& font) {
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(QLatin1Char('W'));
    for (char c = 33; c < 127; ++c)
        if (std::abs(fm.horizontalAdvance(QLatin1Char(c)) - w) > 0.01) return false;
    return true;
}

// A fixed-pitch face of the same name, size and style when the font's average
// and widest characters differ (a face whose Latin characters all advance
// alike is kept even if a few other glyphs are wider).
QFont FixedPitch(QFont font) {
    QFontMetrics fm(font);
    if (fm.averageCharWidth() == fm.maxWidth() || SameAdvances(font)) return font;
    QFont asked = font;
    asked.setFixedPitch(true);
    asked.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    if (SameAdvances(asked)) return asked;
    QStringList families{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
    families << QFontDatabase::systemFont(QFontDatabase::FixedFont).family() << QStringLiteral("monospace");
    for (const QString& family : families) {
        QFont f = font;
        f.setFamily(family);
        f.setStyleHint(QFont::TypeWriter);
        if (SameAdvances(f)) return f;
    }
    return asked;
}

}  // namespace

TCodeEdit::TCodeEdit(QWidget* parent) : QAbstractScrollArea(parent), model_(std::make_unique<TCustomCodeEdit>()) {
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    // Moves without a button pressed, for the gutter's own cursor.
    viewport()->setMouseTracking(true);
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
    connect(&caretBlink_, &QTimer::timeout, this, [this] {
        caretShown_ = !caretShown_;
        const TDisplayCoord d = model_->CaretDisplayPos();
        repaintRows(d.Row, d.Row);
    });
    connect(QGuiApplication::styleHints(), &QStyleHints::cursorFlashTimeChanged, this,
            [this](int) { restartCaretBlink(); });

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingBars_) return;
        model_->SetFirstRow(model_->RowOfScrollBox(value));
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
    if (highlighter_) highlighter_->Unsubscribe(this);
    model_->SetView(nullptr);
    model_->SetHighlighter(nullptr);
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
    if (highlighter_) highlighter_->Unsubscribe(this);
    highlighter_ = highlighter;
    renderer_.SetHighlighter(highlighter_);
    // A change of the attributes changes the styles in use and the tokens'
    // looks; the model rescans on the same notification.
    // A highlighter destroyed while attached clears the property.
    if (highlighter_)
        highlighter_->Subscribe(
            this,
            [this] {
                renderer_.ForgetTokens();
                recomputeMetrics();
            },
            [this] { SetHighlighter(nullptr); });
    // The metrics first, so that a word-wrap map rebuilt by the model's rescan
    // uses the new cell width.
    recomputeMetrics();
    run([&] { model_->SetHighlighter(highlighter_); });
    viewport()->update();
}

void TCodeEdit::SetRightEdge(int column) {
    if (column == rightEdge_) return;
    rightEdge_ = column;
    viewport()->update();
}

void TCodeEdit::SetRightEdgeColor(TColor color) {
    style_.RightEdgeColor = color;
    viewport()->update();
}

void TCodeEdit::SetActiveLineColor(uint32_t color) {
    if (color == style_.ActiveLineColor) return;
    style_.ActiveLineColor = color;
    repaintRows(model_->RowOfLine(model_->CaretPos().Line), model_->RowOfLine(model_->CaretPos().Line + 1) - 1);
}

void TCodeEdit::SetColor(TColor color) {
    style_.Color = color;
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
    faces_.SetFont(font_);
    int cell = 1, height = 1, ascent = 0;
    for (int s = 0; s < 4; ++s) {
        if (!used[s]) continue;
        const TQtFaces::Face& sf = faces_.Of(static_cast<TFontStyles>(s));
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

// ---------------------------------------------------------------- view callbacks

void TCodeEdit::InvalidateRows(int firstRow, int lastRow, bool text, bool gutter) {
    if (text) renderer_.ForgetLines(model_->LineOfRow(firstRow), lastRow < 0 ? INT_MAX : model_->LineOfRow(lastRow));
    repaintRows(firstRow, lastRow);
}

void TCodeEdit::repaintRows(int firstRow, int lastRow) {
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

void TCodeEdit::restartCaretBlink() {
    caretShown_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0) {
        caretBlink_.start(std::max(1, flash / 2));
    } else {
        caretBlink_.stop();
    }
}

void TCodeEdit::CaretChanged() {
    restartCaretBlink();
    const int line = model_->CaretPos().Line;
    if (line != caretLine_) {
        // The old and the new caret line change their background.
        const int old = caretLine_;
        caretLine_ = line;
        repaintRows(model_->RowOfLine(old), model_->RowOfLine(old + 1) - 1);
        repaintRows(model_->RowOfLine(line), model_->RowOfLine(line + 1) - 1);
    } else {
        const TDisplayCoord d = model_->CaretDisplayPos();
        repaintRows(d.Row, d.Row);
    }
}

void TCodeEdit::updateScrollBars() {
    updatingBars_ = true;
    auto apply = [](QScrollBar* bar, const TScrollBarInfo& info) {
        const int page = std::max(1, info.Page);
        bar->setRange(1, std::max(1, info.Range - page + 1));
        bar->setPageStep(page);
        bar->setSingleStep(1);
        bar->setValue(info.Position);
        // Everything fits: the bar stays, with its arrows disabled.
        bar->setEnabled(info.ArrowsEnabled);
    };
    apply(verticalScrollBar(), model_->VertScrollBar());
    if (!model_->WordWrap()) apply(horizontalScrollBar(), model_->HorzScrollBar());
    updatingBars_ = false;
}

void TCodeEdit::showScrollHint() {
    const QString text = scrollHintFormat_ == shfTopToBottom
                             ? QString::fromStdString(model_->ScrollHintText())
                             : QString::asprintf("Top Line: %d", model_->TopLine());
    QPalette pal = scrollHint_->palette();
    pal.setColor(QPalette::Window, qcolor(style_.ScrollHintColor));
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
    // Shortcuts that belong to one other widget only are not the window's.
    for (QAction* a : w->findChildren<QAction*>())
        if (a->shortcutContext() != Qt::WidgetShortcut && matches(a)) return a;
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
    if (event->preeditString() != preedit_) {
        preedit_ = event->preeditString();
        viewport()->update();
    }
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
    // The gutter shows the platform's default cursor, the text the I-beam.
    const Qt::CursorShape shape = pt.x() < model_->GutterSpan() ? Qt::ArrowCursor : Qt::IBeamCursor;
    if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
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
    // A non-positive line count is the system asking for page scrolling.
    const int lines = QApplication::wheelScrollLines();
    const bool page = (event->modifiers() & Qt::ControlModifier) || lines <= 0;
    model_->MouseWheel(event->angleDelta().y(), page, lines);
    updateScrollBars();
    event->accept();
}

void TCodeEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_) {
        contextMenu_->popup(event->globalPos());
        event->accept();
    }
}

// ---------------------------------------------------------------- drag and drop

const QString CodeEditDragMimeType = QStringLiteral("application/x-pelm-editor-drag");

namespace {

QByteArray DragOwnerId(const TCodeEdit* edit) {
    return QByteArray::number(static_cast<qulonglong>(reinterpret_cast<quintptr>(edit)));
}

}  // namespace

QMimeData* TCodeEdit::SelectionDragData() const {
    auto* data = new QMimeData;
    data->setText(FromCp1251(model_->SelectedText()));
    data->setData(CodeEditDragMimeType, DragOwnerId(this));
    return data;
}

void TCodeEdit::startTextDrag() {
    auto* drag = new QDrag(this);
    drag->setMimeData(SelectionDragData());
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
    const bool own = event->source() == this || event->mimeData()->data(CodeEditDragMimeType) == DragOwnerId(this);
    if (own) {
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
