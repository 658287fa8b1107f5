// The editor widget with real key, mouse and wheel events on the offscreen
// platform, the system clipboard, and what its paint puts on the screen.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MainWindowFixture.h"
#include "core/highlight/THTMLHighlighter.h"
#include "gui/app/StatusIcons.h"
#include "gui/editor/ColorConvert.h"
#include "gui/editor/EditorGlyphs.h"
#include "gui/editor/KeyMapping.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/editor/TQtClipboard.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

// An editor configured as the main window configures its own, in a window of
// its own so that window shortcuts can be registered.
class CodeEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QMainWindow>();
        edit_ = new TCodeEdit(window_.get());
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(13);
        edit_->SetEditorFont(font);
        QFont gutter(QStringLiteral("Courier New"));
        gutter.setPixelSize(11);
        edit_->SetGutterFont(gutter);
        edit_->SetActiveLineColor(0xE1FFFF);
        edit_->SetWantTabs(true);
        edit_->Model().BookmarkEnableKeys = false;
        edit_->OnError = [this](const QString& m) { errors_ << m; };
        window_->setCentralWidget(edit_);
        window_->resize(640, 400);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        edit_->setFocus();
        QApplication::processEvents();
    }

    void SetText(const std::string& text) { edit_->Lines().SetText(text); }
    std::string Text() const { return edit_->Lines().Text(); }
    TCustomCodeEdit& M() { return edit_->Model(); }

    // The centre of a cell (1-based column and row of the display) in the viewport.
    QPoint CellPoint(int column, int row) {
        const auto [x, y] = M().CellToPixels(TDisplayCoord{column, row});
        return QPoint(x + 1, y + M().RowPixelHeight() / 2);
    }

    // A key as a Russian layout delivers it: a key code outside Latin-1 and its
    // text, with the shortcut check first as the application does it. Returns
    // false when the press went to a window shortcut.
    bool SendKey(int key, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent override(QEvent::ShortcutOverride, key, mods, text);
        QApplication::sendEvent(edit_, &override);
        if (!override.isAccepted()) return false;
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(edit_, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(edit_, &release);
        return true;
    }

    QImage Grab() { return edit_->viewport()->grab().toImage(); }

    std::unique_ptr<QMainWindow> window_;
    TCodeEdit* edit_ = nullptr;
    QStringList errors_;
};

TEST_F(CodeEditTest, TypingGoesThroughTheCodePage) {
    QTest::keyClicks(edit_, "ab c");
    EXPECT_EQ(Text(), "ab c");
    // Cyrillic letters become their 1251 bytes; a character the code page lacks is dropped.
    SendKey(0, Qt::NoModifier, QStringLiteral("ж"));
    // With the key codes a Russian layout gives (Е sits on the T key: no table entry).
    const QString word = QStringLiteral("Привет");
    for (QChar c : word) SendKey(c.toUpper().unicode(), Qt::NoModifier, QString(c));
    EXPECT_EQ(M().LineText(1).substr(4), "\xE6\xCF\xF0\xE8\xE2\xE5\xF2");
    for (int i = 0; i < word.size(); ++i) QTest::keyClick(edit_, Qt::Key_Backspace);
    SendKey(0, Qt::NoModifier, QStringLiteral("中"));
    SendKey(0, Qt::NoModifier, QStringLiteral("€"));
    EXPECT_EQ(Text(), "ab c\xE6\x88");
    // Tab and Enter go into the text.
    QTest::keyClick(edit_, Qt::Key_Return);
    QTest::keyClick(edit_, Qt::Key_Tab);
    QTest::keyClicks(edit_, "x");
    EXPECT_EQ(Text(), "ab c\xE6\x88\r\n   x");  // a smart tab, up to the word above
    EXPECT_TRUE(edit_->hasFocus());
}

TEST_F(CodeEditTest, ShiftArrowsSelect) {
    SetText("hello world");
    QTest::keyClick(edit_, Qt::Key_End);
    QTest::keyClick(edit_, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(edit_, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(M().SelectedText(), "ld");
    QTest::keyClick(edit_, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(M().SelectedText(), "world");
    QTest::keyClicks(edit_, "X");
    EXPECT_EQ(Text(), "hello X");
    // Insert toggles overwrite, and the caret shape follows the mode.
    QTest::keyClick(edit_, Qt::Key_Insert);
    EXPECT_FALSE(M().InsertMode());
    EXPECT_EQ(M().ActiveCaretType(), ctBlock);
}

TEST_F(CodeEditTest, MouseClickShiftClickAndDragSelect) {
    SetText("abcdef\nghijkl");
    QTest::mousePress(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(CellPoint(5, 2)), QPointF(edit_->viewport()->mapToGlobal(CellPoint(5, 2))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit_->viewport(), &move);
    QTest::mouseRelease(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(5, 2));
    EXPECT_EQ(M().SelectedText(), "ghij");
    // A click inside the selection that does not drag places the caret.
    QTest::mouseClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(3, 2));
    EXPECT_FALSE(M().HasSelection());
    EXPECT_EQ(M().CaretPos(), (TBufferCoord{3, 2}));

    QTest::mouseClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(2, 1));
    EXPECT_EQ(M().CaretPos(), (TBufferCoord{2, 1}));
    QTest::mouseClick(edit_->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(3, 2));
    EXPECT_EQ(M().SelectedText(), "bcdef\r\ngh");

    QTest::mouseDClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(3, 1));
    EXPECT_EQ(M().SelectedText(), "abcdef");
}

TEST_F(CodeEditTest, ColumnBlockSurvivesTheSystemClipboard) {
    SetText("abcd\nefgh\nij");
    QTest::keyClick(edit_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);  // column mode
    ASSERT_EQ(M().SelectionMode(), smColumn);
    QTest::keyClick(edit_, Qt::Key_Right);
    QTest::keyClick(edit_, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(edit_, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(edit_, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(edit_, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), QStringLiteral("bc\r\nfg"));
    const QByteArray block = data->data(CodeEditBlockMimeType);
    ASSERT_FALSE(block.isEmpty());
    EXPECT_EQ(block.at(0), char(smColumn));

    // Back in stream mode, the paste still inserts columns.
    QTest::keyClick(edit_, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(M().SelectionMode(), smNormal);
    M().SetCaretPos(TBufferCoord{1, 2});
    QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abcd\r\nbcefgh\r\nfgij");

    // Text from another program is pasted in the current mode.
    QGuiApplication::clipboard()->setText(QStringLiteral("Жz"));
    M().SetCaretPos(TBufferCoord{1, 1});
    QTest::keyClick(edit_, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(M().LineText(1), "\xC6zabcd");
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(CodeEditTest, ShortcutsFollowTheLatinKeyUnderARussianLayout) {
    SetText("copy me");
    M().SelectAll();
    // Ctrl+С on the key that carries C in the Russian layout copies.
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(SendKey(0x421, Qt::ControlModifier, QStringLiteral("с")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("copy me"));

    // A window shortcut wins over the editor's table (Ctrl+N would insert a
    // line), in either layout.
    int triggered = 0;
    auto* action = new QAction(window_.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    window_->addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    EXPECT_FALSE(SendKey(Qt::Key_N, Qt::ControlModifier, QString()));  // Qt's shortcut map takes it
    EXPECT_TRUE(SendKey(0x422, Qt::ControlModifier, QStringLiteral("т")));  // the editor hands it over
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(M().Lines().Count(), 1);
    // Keys the window does not claim stay the editor's.
    EXPECT_TRUE(SendKey(Qt::Key_Y, Qt::ControlModifier, QString()));
    EXPECT_EQ(Text(), "");
}

TEST_F(CodeEditTest, WheelScrollsInUnitsOf120KeepingTheRemainder) {
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\n";
    SetText(text);
    const int lines = QApplication::wheelScrollLines();
    auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        const QPointF at(100, 50);
        QWheelEvent e(at, edit_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit_->viewport(), &e);
    };
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(M().FirstRow(), 1 + lines);
    wheel(-60, Qt::NoModifier);
    EXPECT_EQ(M().FirstRow(), 1 + lines);
    wheel(-60, Qt::NoModifier);
    EXPECT_EQ(M().FirstRow(), 1 + 2 * lines);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(M().FirstRow(), std::max(1, 1 + 2 * lines - M().VisibleRows()));
    EXPECT_EQ(M().CaretPos(), (TBufferCoord{1, 1}));  // the caret stays
    EXPECT_EQ(edit_->verticalScrollBar()->value(), M().FirstRow());
}

TEST_F(CodeEditTest, ScrollHintShowsTheLinesWhileTheBoxIsDragged) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "x\n";
    SetText(text);
    edit_->SetScrollHintFormat(shfTopToBottom);
    QScrollBar* bar = edit_->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setValue(50);
    EXPECT_TRUE(edit_->ScrollHintVisible());
    EXPECT_EQ(edit_->ScrollHintText(), QString::asprintf("50 - %d", 50 + M().VisibleRows()));
    EXPECT_EQ(M().FirstRow(), 50);
    bar->setSliderDown(false);
    EXPECT_FALSE(edit_->ScrollHintVisible());
}

TEST_F(CodeEditTest, DropsInsertTextButNotWhenReadOnly) {
    SetText("abc");
    QMimeData data;
    data.setText(QStringLiteral("XY"));
    auto drop = [&] {
        QDragEnterEvent enter(CellPoint(2, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit_->viewport(), &enter);
        QDropEvent event(QPointF(CellPoint(2, 1)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit_->viewport(), &event);
        return event.isAccepted();
    };
    edit_->SetReadOnly(true);
    EXPECT_FALSE(drop());
    EXPECT_EQ(Text(), "abc");
    edit_->SetReadOnly(false);
    EXPECT_TRUE(drop());
    EXPECT_EQ(Text(), "aXYbc");
}

TEST_F(CodeEditTest, DraggedSelectionMovesCopiesOrStays) {
    struct Case {
        const char* name;
        int dropColumn;
        Qt::KeyboardModifiers mods;
        const char* text;
        const char* selected;
    } cases[] = {
        {"move", 8, Qt::NoModifier, "aefgbcdh", "bcd"},
        {"copy with Ctrl", 8, Qt::ControlModifier, "abcdefgbcdh", "bcd"},
        {"inside the selection", 3, Qt::NoModifier, "abcdefgh", "bcd"},
        {"onto its end, moving", 5, Qt::NoModifier, "abcdefgh", "bcd"},
        {"onto its end, copying", 5, Qt::ControlModifier, "abcdbcdefgh", "bcd"},
    };
    for (const Case& c : cases) {
        SetText("abcdefgh");
        M().SetSelection(TBufferCoord{2, 1}, TBufferCoord{5, 1});
        std::unique_ptr<QMimeData> data(edit_->SelectionDragData());
        // The application hands the drop to the widget that accepted the drag's entry.
        QDragEnterEvent enter(CellPoint(c.dropColumn, 1), Qt::MoveAction | Qt::CopyAction, data.get(), Qt::LeftButton,
                              c.mods);
        QApplication::sendEvent(edit_->viewport(), &enter);
        QDropEvent drop(QPointF(CellPoint(c.dropColumn, 1)), Qt::MoveAction | Qt::CopyAction, data.get(), Qt::LeftButton,
                        c.mods);
        QApplication::sendEvent(edit_->viewport(), &drop);
        EXPECT_EQ(Text(), c.text) << c.name;
        EXPECT_EQ(M().SelectedText(), c.selected) << c.name;
    }
}

// ---------------------------------------------------------------- pixels

QColor Rgb(TColor c) {
    return ColorToQColor(c, QPalette());
}

TEST_F(CodeEditTest, CaretLineInTheActiveLineColourAndTheRightEdge) {
    SetText("<b>one</b>\ntwo\nthree");
    THTMLHighlighter html;
    html.ApplyMainWindowColours();
    edit_->SetHighlighter(&html);
    edit_->SetRightEdge(20);
    M().SetCaretPos(TBufferCoord{1, 2});
    const QImage img = Grab();
    const int rowH = M().RowPixelHeight();
    const int cellW = M().CellPixelWidth();
    const int yCaret = rowH + rowH / 2;
    // The caret line, past its text and also behind the text's cells.
    EXPECT_EQ(img.pixelColor(edit_->TextStartX() + 10 * cellW, yCaret), QColor(0xFF, 0xFF, 0xE1));
    EXPECT_EQ(img.pixelColor(edit_->TextStartX() + 2 * cellW + 1, rowH + 1), QColor(0xFF, 0xFF, 0xE1));
    EXPECT_NE(img.pixelColor(edit_->TextStartX() + 10 * cellW, rowH / 2), QColor(0xFF, 0xFF, 0xE1));
    // The right edge: one silver column at RightEdge x CellPixelWidth + text start.
    const int x = 20 * cellW + edit_->TextStartX();
    for (int y : {2, yCaret, 4 * rowH + 3}) {
        EXPECT_EQ(img.pixelColor(x, y), Rgb(clSilver)) << y;
        EXPECT_NE(img.pixelColor(x - 1, y), Rgb(clSilver)) << y;
        EXPECT_NE(img.pixelColor(x + 1, y), Rgb(clSilver)) << y;
    }
    edit_->SetRightEdge(0);
    const QImage none = Grab();
    EXPECT_NE(none.pixelColor(x, 4 * rowH + 3), Rgb(clSilver));
    edit_->SetHighlighter(nullptr);
}

TEST_F(CodeEditTest, SelectionUsesTheHighlightColours) {
    SetText("abcdef\nabcdef");
    edit_->SetActiveLineColor(clNone);
    const QColor highlight = edit_->palette().color(QPalette::Active, QPalette::Highlight);
    const int rowH = M().RowPixelHeight(), cellW = M().CellPixelWidth();
    struct Case {
        TSelectionMode mode;
        TBufferCoord anchor, active;
        int column, row;  // a cell that must show selected (1-based)
        int outColumn, outRow;  // one that must not
    } cases[] = {
        {smNormal, {2, 1}, {3, 2}, 5, 1, 4, 2},
        {smLine, {3, 1}, {3, 1}, 10, 1, 1, 2},
        {smColumn, {2, 1}, {4, 2}, 3, 2, 5, 2},
    };
    for (const Case& c : cases) {
        M().SetSelectionMode(c.mode);
        M().SetSelection(c.anchor, c.active);
        if (c.mode == smLine) M().SetSelection(c.anchor, TBufferCoord{4, 1});
        const QImage img = Grab();
        const int x = edit_->TextStartX() + (c.column - 1) * cellW;
        EXPECT_EQ(img.pixelColor(x, (c.row - 1) * rowH + 1), highlight) << int(c.mode);
        const int xo = edit_->TextStartX() + (c.outColumn - 1) * cellW;
        EXPECT_NE(img.pixelColor(xo, (c.outRow - 1) * rowH + 1), highlight) << int(c.mode);
    }
}

// The columns of a region of the image whose pixels differ from the background.
std::pair<int, int> InkColumns(const QImage& img, QRect r, QColor background) {
    int left = INT_MAX, right = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST_F(CodeEditTest, FiveDigitLineNumberFitsTheFourDigitGutter) {
    std::string text;
    for (int i = 1; i <= 12400; ++i) text += "l\n";
    SetText(text);
    edit_->SetShowLineNumbers(true);
    const int gs = M().GutterSpan();
    EXPECT_EQ(gs, 20 + 4 * M().CellPixelWidth());  // no auto size
    const QColor gutter = edit_->palette().color(QPalette::Active, QPalette::Button);
    const int rowH = M().RowPixelHeight();
    auto numberInk = [&](int line) {
        M().SetFirstRow(line);
        const QImage img = Grab();
        return InkColumns(img, QRect(0, 0, gs - 3, rowH), gutter);
    };
    const auto four = numberInk(9999);
    const auto five = numberInk(12345);
    const int digitW = QFontMetrics(edit_->GutterFont()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(five.second, four.second);  // right-aligned at the same place
    EXPECT_GE(five.first, 0);
    EXPECT_NEAR((five.second - five.first) - (four.second - four.first), digitW, 2);
    EXPECT_EQ(M().GutterSpan(), gs);
}

TEST_F(CodeEditTest, WrappedRowsCarryTheGlyphAndNoNumber) {
    std::string words;
    for (int i = 0; i < 60; ++i) words += "word ";
    SetText(words + "\nshort");
    edit_->SetShowLineNumbers(true);
    edit_->SetWordWrap(true);
    ASSERT_GT(M().RowCount(), 3);
    EXPECT_FALSE(edit_->horizontalScrollBar()->isVisible());
    const int gs = M().GutterSpan();
    const int rowH = M().RowPixelHeight();
    const QColor gutter = edit_->palette().color(QPalette::Active, QPalette::Button);
    const QColor glyphColour = WrapGlyph().toImage().pixelColor(7, 3);
    const QImage img = Grab();
    auto rowHas = [&](int row, auto pred) {
        for (int y = (row - 1) * rowH; y < row * rowH; ++y)
            for (int x = 0; x < gs - 2; ++x)
                if (pred(img.pixelColor(x, y))) return true;
        return false;
    };
    auto isGlyph = [&](QColor c) { return c == glyphColour; };
    auto isInk = [&](QColor c) { return c != gutter && c != glyphColour; };
    EXPECT_TRUE(rowHas(1, isInk));  // the number of line 1
    EXPECT_FALSE(rowHas(1, isGlyph));
    EXPECT_TRUE(rowHas(2, isGlyph));
    EXPECT_FALSE(rowHas(2, isInk));
    const int shortRow = M().RowOfLine(2);
    EXPECT_TRUE(rowHas(shortRow, isInk));
    EXPECT_FALSE(rowHas(shortRow, isGlyph));
}

TEST_F(CodeEditTest, BookmarkJumpCentresTheLine) {
    std::string text;
    for (int i = 1; i <= 500; ++i) text += "b\n";
    SetText(text);
    M().PlaceBookmark(3, 1, 300);
    M().JumpToBookmark(3);
    EXPECT_EQ(M().CaretPos().Line, 300);
    EXPECT_EQ(M().FirstRow(), 300 - M().VisibleRows() / 2);
    // The image of bookmark 3 in the gutter of its row.
    const int row = 300 - M().FirstRow() + 1;
    const QImage img = Grab();
    const QImage mark = BookmarkImage(3).toImage();
    EXPECT_EQ(img.pixelColor(2 + 8, (row - 1) * M().RowPixelHeight() + 8), mark.pixelColor(8, 8));
}

TEST_F(CodeEditTest, DragBeyondTheBottomKeepsScrollingAndSelecting) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "row\n";
    SetText(text);
    QTest::mousePress(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 2));
    const QPoint below(50, edit_->viewport()->height() + M().RowPixelHeight() / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(below), QPointF(edit_->viewport()->mapToGlobal(below)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit_->viewport(), &move);
    QTest::qWait(350);  // a few ticks of the 100 ms timer
    QTest::mouseRelease(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_GT(M().FirstRow(), 2);
    EXPECT_GT(M().CaretPos().Line, M().VisibleRows());
    EXPECT_EQ(M().SelBeginPos(), (TBufferCoord{1, 2}));
    EXPECT_EQ(M().SelEndPos(), M().CaretPos());
    const int first = M().FirstRow();
    QTest::qWait(150);
    EXPECT_EQ(M().FirstRow(), first);  // the timer stopped with the button
}

TEST_F(CodeEditTest, GutterClickReportsLineAndBookmark) {
    SetText("a\nb\nc");
    M().PlaceBookmark(5, 1, 2);
    int line = 0;
    const TCodeEditMark* mark = nullptr;
    edit_->OnGutterClick = [&](int l, const TCodeEditMark* m) {
        line = l;
        mark = m;
    };
    QTest::mouseClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, M().RowPixelHeight() + 3));
    EXPECT_EQ(line, 2);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->MarkSlot, 5);
    EXPECT_EQ(M().CaretPos(), (TBufferCoord{1, 1}));  // the caret stays
    // The gutter has the platform's arrow, the text the I-beam.
    auto moveTo = [&](QPoint pt) {
        QMouseEvent move(QEvent::MouseMove, pt, edit_->viewport()->mapToGlobal(pt), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(edit_->viewport(), &move);
        return edit_->viewport()->cursor().shape();
    };
    EXPECT_TRUE(edit_->viewport()->hasMouseTracking());
    EXPECT_EQ(moveTo(QPoint(5, 3)), Qt::ArrowCursor);
    EXPECT_EQ(moveTo(CellPoint(2, 1)), Qt::IBeamCursor);
}

TEST_F(CodeEditTest, RightClickOpensTheContextMenuAndLeavesTheCaret) {
    SetText("abc");
    M().SetCaretPos(TBufferCoord{2, 1});
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    edit_->SetContextMenu(&menu);
    QTest::mouseClick(edit_->viewport(), Qt::RightButton, Qt::NoModifier, CellPoint(3, 1));
    QContextMenuEvent event(QContextMenuEvent::Mouse, CellPoint(3, 1), edit_->viewport()->mapToGlobal(CellPoint(3, 1)));
    QApplication::sendEvent(edit_->viewport(), &event);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_EQ(M().CaretPos(), (TBufferCoord{2, 1}));
}

TEST_F(CodeEditTest, ProportionalFontIsReplacedByAFixedPitchFace) {
    QFont proportional(QStringLiteral("DejaVu Sans"));
    proportional.setPixelSize(13);
    auto narrowEqualsWide = [](const QFont& f) {
        const QFontMetrics fm(f);
        return fm.horizontalAdvance(QLatin1Char('i')) == fm.horizontalAdvance(QLatin1Char('W'));
    };
    ASSERT_FALSE(narrowEqualsWide(proportional));
    edit_->SetEditorFont(proportional);
    EXPECT_TRUE(narrowEqualsWide(edit_->EditorFont()));
    EXPECT_EQ(QFontInfo(edit_->EditorFont()).pixelSize(), 13);
    const QFontMetrics fm(edit_->EditorFont());
    EXPECT_EQ(M().CellPixelWidth(), fm.horizontalAdvance(QLatin1Char('W')));
}

TEST(KeyMappingTest, CyrillicLettersAndShiftedDigitsMeanTheirLatinKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char16_t* text;
        uint8_t editKey;
    } cases[] = {
        {0x421, Qt::ControlModifier, u"с", 'C'},
        {0x439, Qt::NoModifier, u"й", 'Q'},
        {0x42F, Qt::ControlModifier | Qt::ShiftModifier, u"Я", 'Z'},
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, u"!", '1'},
        {0x2116, Qt::ControlModifier | Qt::ShiftModifier, u"№", '3'},
        {Qt::Key_V, Qt::ControlModifier, u"", 'V'},
        {Qt::Key_Backtab, Qt::ShiftModifier, u"", VK_TAB},
    };
    for (const Case& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods, QString::fromUtf16(c.text));
        EXPECT_EQ(EditKeyOf(e).key, c.editKey) << c.key;
    }
    QKeyEvent ru(QEvent::KeyPress, 0x422, Qt::ControlModifier, QStringLiteral("т"));
    EXPECT_EQ(QKeySequence(LatinCombinationOf(ru)), QKeySequence(Qt::CTRL | Qt::Key_N));
}

// A highlighter whose comments have a background, to see token colours in pixels.
class HighlightedEditTest : public CodeEditTest {
protected:
    void SetUp() override {
        CodeEditTest::SetUp();
        html_.ApplyMainWindowColours();
        html_.CommentAttri()->SetBackground(clLime);
        edit_->SetActiveLineColor(clNone);
        edit_->SetHighlighter(&html_);
    }
    void TearDown() override { edit_->SetHighlighter(nullptr); }
    // Whether the first visible cell of a display row shows the comment background.
    bool CommentAt(int row) {
        const QImage img = Grab();
        return img.pixelColor(edit_->TextStartX() + (M().FirstColumn() - 1) * M().CellPixelWidth() + 1,
                              (row - M().FirstRow()) * M().RowPixelHeight() + 1) == QColor(0, 255, 0);
    }
    THTMLHighlighter html_;
};

TEST_F(HighlightedEditTest, LongLinesRecolourAfterEveryChange) {
    // A line long enough for the painter's token cache, seen far from its start.
    const std::string tail(70000, 'a');
    SetText("x\n" + tail);
    M().SetFirstColumn(60000);
    EXPECT_FALSE(CommentAt(2));
    // A change of the line itself.
    edit_->Lines().SetStrings(1, "<!--" + tail);
    EXPECT_TRUE(CommentAt(2));
    // A change of the state the line starts in.
    edit_->Lines().SetStrings(1, tail);
    EXPECT_FALSE(CommentAt(2));
    edit_->Lines().SetStrings(0, "<!--");
    EXPECT_TRUE(CommentAt(2));
    edit_->Lines().SetStrings(0, "x");
    EXPECT_FALSE(CommentAt(2));
    // A change of the highlighter's attributes.
    edit_->Lines().SetStrings(0, "<!--");
    html_.CommentAttri()->SetBackground(clNone);
    EXPECT_FALSE(CommentAt(2));
}

TEST_F(CodeEditTest, DestroyedHighlighterIsLetGo) {
    SetText("<b>bold</b>\n<!-- c");
    auto html = std::make_unique<THTMLHighlighter>();
    edit_->SetHighlighter(html.get());
    html.reset();
    EXPECT_EQ(edit_->Highlighter(), nullptr);
    EXPECT_EQ(M().Highlighter(), nullptr);
    // Painting and editing go on with the editor's own colours.
    Grab();
    QTest::keyClick(edit_, Qt::Key_X);
    EXPECT_EQ(Text(), "x<b>bold</b>\r\n<!-- c");
}

// Records what the model asks its view to repaint.
struct RepaintSpy : TCodeEditView {
    std::vector<std::pair<int, int>> rows;
    void InvalidateRows(int first, int last, bool text, bool) override {
        if (text) rows.emplace_back(first, last);
    }
    bool Covers(int row) const {
        for (auto [f, l] : rows)
            if (row >= f && (l < 0 || row <= l)) return true;
        return false;
    }
};

TEST(CodeEditRepaintTest, OpeningACommentRepaintsTheLinesItRecolours) {
    THTMLHighlighter html;
    TCustomCodeEdit model;
    RepaintSpy spy;
    model.SetView(&spy);
    model.SetHighlighter(&html);
    model.Lines().SetText("x\nabc\ndef\n-->\nghi");
    model.SetCaretPos(TBufferCoord{1, 1});
    for (char c : std::string("<!-")) model.PerformCommand(ecChar, c);
    spy.rows.clear();
    model.PerformCommand(ecChar, '-');
    EXPECT_TRUE(spy.Covers(3));
    EXPECT_TRUE(spy.Covers(4));
    EXPECT_FALSE(spy.Covers(5));
    model.SetView(nullptr);
    model.SetHighlighter(nullptr);
}

using EditorInMainWindowTest = MainWindowFixture;

TEST_F(EditorInMainWindowTest, FirstKeystrokeShowsTheModifiedIcon) {
    auto w = Start();
    w->show();
    QApplication::setActiveWindow(w.get());
    w->snEditor->setFocus();
    EXPECT_EQ(w->barStatus[0]->pixmap().toImage(), StatusIcon(false).toImage());
    QTest::keyClick(w->snEditor, Qt::Key_Z);
    EXPECT_TRUE(w->snEditor->Modified());
    EXPECT_EQ(w->barStatus[0]->pixmap().toImage(), StatusIcon(true).toImage());
    // The form's settings; ApplyOptions has replaced the form's clInfoBk with
    // the settings' active-line colour.
    EXPECT_EQ(w->snEditor->ActiveLineColor(), TColor(14811135));
    EXPECT_EQ(w->snEditor->Model().Keystrokes().FindKeycode(VK_F1, 0), ecNone);
    EXPECT_TRUE(w->snEditor->Model().WantTabs);
    EXPECT_EQ(w->snEditor->Highlighter(), &w->HTMLHighlighter1);
    EXPECT_EQ(w->snEditor->EditorFont().pixelSize(), 13);

    // Typed text is saved as code-page bytes.
    const QString file = WriteFile(QStringLiteral("typed.html"), "<p></p>\r\n");
    w->ModFlag(false);
    w->OpenFrom(file, true, ".html");
    w->snEditor->Model().SetCaretPos(TBufferCoord{4, 1});
    for (QChar c : QStringLiteral("Да!")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w->snEditor, &press);
    }
    w->pnkFileSaveClick();
    EXPECT_EQ(ReadFile(file), QByteArray("<p>\xC4\xE0!</p>\r\n"));
    EXPECT_FALSE(w->snEditor->Modified());
    EXPECT_EQ(QFontInfo(w->snEditor->EditorFont()).family(), QFontInfo(QFont(QStringLiteral("Courier New"))).family());
}

// The caret blinks at the platform's rate while the editor has the keyboard,
// shows again at once when it moves, and stays on without the keyboard.
TEST_F(CodeEditTest, CaretBlinksAtThePlatformRate) {
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash <= 0) GTEST_SKIP() << "the platform does not blink carets";
    SetText("abc");
    ASSERT_TRUE(edit_->hasFocus());
    M().SetCaretPos(TBufferCoord{2, 1});
    EXPECT_EQ(edit_->CaretBlinkInterval(), flash / 2);
    EXPECT_TRUE(edit_->CaretShown());
    const QImage shown = Grab();
    QElapsedTimer clock;
    clock.start();
    while (edit_->CaretShown() && clock.elapsed() < 4 * flash) QTest::qWait(10);
    ASSERT_FALSE(edit_->CaretShown());
    EXPECT_NE(Grab(), shown);
    // A key that moves the caret brings it back at once.
    QTest::keyClick(edit_, Qt::Key_Right);
    QTest::keyClick(edit_, Qt::Key_Left);
    EXPECT_TRUE(edit_->CaretShown());
    EXPECT_EQ(Grab(), shown);
    edit_->clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(edit_->CaretBlinkInterval(), 0);
    EXPECT_TRUE(edit_->CaretShown());
}

// An input method's text being composed shows at the caret without entering
// the document; the candidate window is placed at the caret; the committed
// text goes in and the composition disappears.
TEST_F(CodeEditTest, InputMethodCompositionShowsAtTheCaret) {
    SetText("ab");
    M().SetCaretPos(TBufferCoord{2, 1});
    QApplication::processEvents();
    const QImage before = Grab();
    const QRect caret = static_cast<QWidget*>(edit_)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const auto [x, y] = M().CellToPixels(M().CaretDisplayPos());
    EXPECT_EQ(caret.topLeft(), edit_->viewport()->mapTo(edit_, QPoint(x, y)));
    EXPECT_EQ(caret.height(), M().RowPixelHeight());

    QInputMethodEvent compose(QStringLiteral("пр"), {});
    QApplication::sendEvent(edit_, &compose);
    EXPECT_EQ(edit_->PreeditText(), QStringLiteral("пр"));
    EXPECT_EQ(Text(), "ab");
    const QImage composing = Grab();
    EXPECT_NE(composing, before);
    // Ink appears right of the caret, in the cells the composition covers.
    const int rowH = M().RowPixelHeight();
    bool ink = false;
    for (int px = x + 2; px < x + 2 * M().CellPixelWidth(); ++px)
        for (int py = y; py < y + rowH; ++py) ink = ink || composing.pixelColor(px, py) != before.pixelColor(px, py);
    EXPECT_TRUE(ink);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("при"));
    QApplication::sendEvent(edit_, &commit);
    EXPECT_TRUE(edit_->PreeditText().isEmpty());
    EXPECT_EQ(Text(), "a\xEF\xF0\xE8" "b");
}

}  // namespace
}  // namespace pelm::test
