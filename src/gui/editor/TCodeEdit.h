#pragma once
// The editor control: a scroll area over the editor model. It paints the
// visible rows (gutter, tokens, selection, caret line, right edge), turns keys
// and the mouse into model commands, keeps the scroll bars and the scroll hint,
// and gives the model the system clipboard.
//
// The text area is drawn by the core's renderer on a QPainter canvas (glyphs
// placed on the cell grid directly, no text shaping); the gutter, its
// separator and the caret are the widget's own.
#include <QAbstractScrollArea>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/editor/TCustomCodeEdit.h"
#include "core/highlight/TCustomHighlighter.h"
#include "core/render/TCodeEditRenderer.h"
#include "core/render/TRecordingCanvas.h"
#include "core/render/TRenderStyle.h"
#include "gui/editor/TQtCanvas.h"
#include "gui/editor/TQtClipboard.h"

#include <QAction>
#include <QMenu>

class QLabel;
class QMimeData;
class QPainter;

namespace pelm {

enum TScrollHintFormat { shfTopLineOnly, shfTopToBottom };

// The MIME type that marks a text drag started by an editor; its data names the
// editor, so a drop back into it moves (or with Ctrl copies) the selection.
extern const QString CodeEditDragMimeType;  // "application/x-pelm-editor-drag"
enum TGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

class TCodeEdit : public QAbstractScrollArea, private TCodeEditView {
    Q_OBJECT
public:
    explicit TCodeEdit(QWidget* parent = nullptr);
    ~TCodeEdit() override;

    TCustomCodeEdit& Model() { return *model_; }
    const TCustomCodeEdit& Model() const { return *model_; }

    // The model's names the main window uses.
    TCodeEditStringList& Lines() { return model_->Lines(); }
    bool Modified() const { return model_->Modified(); }
    void SetModified(bool value) { model_->SetModified(value); }
    int SelOffset() const { return model_->SelOffset(); }
    void SetSelOffset(int offset) { model_->SetSelOffset(offset); }

    // Fonts. A face whose average and widest characters differ is replaced by
    // a fixed-pitch face of the same name, size and style.
    void SetEditorFont(const QFont& font);
    const QFont& EditorFont() const { return font_; }
    void SetGutterFont(const QFont& font);
    const QFont& GutterFont() const { return gutterFont_; }
    void SetExtraLineSpacing(int pixels);

    // The attached highlighter, or none. Attaching subscribes to its change
    // notification, recomputes the metrics, rescans every line and repaints.
    void SetHighlighter(TCustomHighlighter* highlighter);
    TCustomHighlighter* Highlighter() const { return highlighter_; }

    // Display settings.
    void SetRightEdge(int column);
    int RightEdge() const { return rightEdge_; }
    void SetRightEdgeColor(TColor color);
    void SetActiveLineColor(uint32_t color);
    TColor ActiveLineColor() const { return style_.ActiveLineColor; }
    void SetColor(TColor color);
    TColor Color() const { return style_.Color; }
    // Every colour the editor paints with besides the highlighter's.
    const TRenderStyle& RenderStyle() const { return style_; }
    void SetShowLineNumbers(bool on);
    void SetTabWidth(int width) { model_->SetTabWidth(width); }
    void SetWordWrap(bool on);
    void SetReadOnly(bool on);
    void SetWantTabs(bool on) { model_->WantTabs = on; }
    void SetScrollHintFormat(TScrollHintFormat f) { scrollHintFormat_ = f; }
    void SetGutterBorderStyle(TGutterBorderStyle s);
    // The context menu of a right click (not owned).
    void SetContextMenu(QMenu* menu) { contextMenu_ = menu; }
    QMenu* ContextMenu() const { return contextMenu_; }

    // The window's commands whose shortcuts win over the editor's key table.
    // Until a list is set, every action of the window with a shortcut counts.
    void SetShortcutActions(const QList<QAction*>& actions);

    // Metrics: the cell grid and where column 1 starts in the viewport.
    int CellPixelWidth() const { return model_->CellPixelWidth(); }
    int RowPixelHeight() const { return model_->RowPixelHeight(); }
    int TextStartX() const;

    // Scrolls so that the caret's row stands in the middle of the window, as
    // for a bookmark jump or a search match.
    void ScrollCaretToCentre();
    // The blinking caret's phase: false while it is off.
    bool CaretShown() const { return caretShown_; }
    const QString& PreeditText() const { return preedit_; }
    int CaretBlinkInterval() const { return caretBlink_.isActive() ? caretBlink_.interval() : 0; }

    // A left click in the gutter: the line and the first bookmark under it.
    std::function<void(int line, const TCodeEditMark* mark)> OnGutterClick;
    // Errors raised by a key or mouse command (clipboard failures); without a
    // handler a message box shows them.
    std::function<void(const QString& message)> OnError;

    // The data of a drag of the selection out of this editor.
    QMimeData* SelectionDragData() const;

    // The scroll hint while the vertical box is dragged.
    bool ScrollHintVisible() const;
    QString ScrollHintText() const;

    // A canvas that sees every call the renderer makes while the widget
    // paints, passed on to the screen (for tests); nullptr: none.
    void SetPaintRecorder(TRecordingCanvas* recorder) { recorder_ = recorder; }

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // TCodeEditView
    void InvalidateRows(int firstRow, int lastRow, bool text, bool gutter) override;
    void InvalidateAll() override;
    void ScrollBarsChanged() override;
    void CaretChanged() override;

    // Repaints display rows (lastRow -1: to the end) without touching caches.
    void repaintRows(int firstRow, int lastRow);
    void recomputeMetrics();
    void paintGutter(QPainter& p, int firstRow, int lastRow);
    void paintGutterRow(QPainter& p, int row, int line, bool firstRowOfLine);
    void paintCaret(QPainter& p);
    // The input method's text still being composed, drawn underlined at the
    // caret over the text until it is committed.
    void paintPreedit(QPainter& p);
    QRect caretCellRect() const;
    void updateScrollBars();
    void showScrollHint();
    QColor qcolor(TColor c) const;
    TBufferCoord bufferPosAt(QPoint pt) const;
    bool inTextArea(QPoint pt) const;
    void autoScrollTick();
    // The caret blinks at the platform's rate (half of its flash time on, half
    // off) while the editor has the keyboard; it is shown again at once
    // whenever it moves, and stays on when the platform says not to blink.
    void restartCaretBlink();
    void startTextDrag();
    // The window action whose shortcut this key press means, or nullptr.
    QAction* claimingAction(const QKeyEvent& event) const;
    bool editorTakes(const QKeyEvent& event) const;
    void run(const std::function<void()>& action);
    void insertTypedText(const QString& text);

    std::unique_ptr<TCustomCodeEdit> model_;
    TQtClipboard clipboard_;
    TCustomHighlighter* highlighter_ = nullptr;

    QFont font_;
    QFont gutterFont_;
    int extraLineSpacing_ = 0;
    int ascent_ = 0;        // baseline offset within a row
    int gutterAscent_ = 0;
    TQtFaces faces_;
    TRenderStyle style_;
    TCodeEditRenderer renderer_;
    TRecordingCanvas* recorder_ = nullptr;
    int rightEdge_ = 80;
    TScrollHintFormat scrollHintFormat_ = shfTopLineOnly;
    TGutterBorderStyle gutterBorder_ = gbsMiddle;
    QPointer<QMenu> contextMenu_;
    QList<QPointer<QAction>> shortcutActions_;
    bool shortcutActionsSet_ = false;
    QPointer<QAction> pendingAction_;

    int caretLine_ = 1;           // the caret line last painted as the active line
    bool updatingBars_ = false;
    QLabel* scrollHint_ = nullptr;

    // Mouse state.
    bool selecting_ = false;      // left button down in the text, extending the selection
    bool dragPending_ = false;    // pressed inside the selection; a drag may start
    QPoint pressPoint_;
    QPoint lastMouse_;
    Qt::KeyboardModifiers lastModifiers_;
    QTimer autoScroll_;
    QTimer caretBlink_;
    bool caretShown_ = true;      // the blinking caret's current phase
    QString preedit_;             // the input method's uncommitted text
};

}  // namespace pelm
