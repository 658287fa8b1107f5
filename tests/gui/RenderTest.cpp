// The editor widget paints its text through the core's renderer: the calls it
// makes while painting match a recording of the renderer over the same editor,
// and the screen shows what those calls say.
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/highlight/THTMLHighlighter.h"
#include "core/render/TCodeEditRenderer.h"
#include "core/render/TRecordingCanvas.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/editor/TQtCanvas.h"

namespace pelm::test {
namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QMainWindow>();
        edit_ = new TCodeEdit(window_.get());
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(13);
        edit_->SetEditorFont(font);
        edit_->SetActiveLineColor(0xE1FFFF);
        edit_->SetShowLineNumbers(true);
        edit_->SetRightEdge(30);
        html_.ApplyMainWindowColours();
        html_.CommentAttri()->SetBackground(0xC0FFC0);
        edit_->SetHighlighter(&html_);
        window_->setCentralWidget(edit_);
        window_->resize(480, 200);
        window_->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        edit_->SetPaintRecorder(nullptr);
        edit_->SetHighlighter(nullptr);
    }
    TCustomCodeEdit& M() { return edit_->Model(); }

    // The calls the widget makes while painting its whole viewport, and the picture.
    std::vector<std::string> WidgetCalls(QImage& image) {
        TRecordingCanvas recorder;
        edit_->SetPaintRecorder(&recorder);
        image = edit_->viewport()->grab().toImage();
        edit_->SetPaintRecorder(nullptr);
        return recorder.Calls();
    }

    // The same rows drawn by a renderer of our own on a recording canvas.
    std::vector<std::string> RendererCalls() {
        TCodeEditRenderer renderer;
        renderer.SetHighlighter(edit_->Highlighter());
        TRecordingCanvas rec;
        const int h = edit_->viewport()->height();
        const int lastRow = M().FirstRow() + (h - 1) / M().RowPixelHeight();
        renderer.PaintRows(rec, M(), edit_->RenderStyle(), M().FirstRow(), lastRow, edit_->viewport()->width());
        renderer.PaintRightEdge(rec, M(), edit_->RenderStyle(), edit_->RightEdge(), h);
        return rec.Calls();
    }

    // Every background the calls fill shows at its top-left pixel (unless the
    // right edge or the caret stands there), and every text run leaves ink in
    // its cells.
    void ExpectPixelsFollow(const std::vector<std::string>& calls, const QImage& img, const std::string& what) {
        const int edgeX = edit_->RightEdge() * M().CellPixelWidth() + edit_->TextStartX();
        const int gs = M().GutterSpan();
        const auto [caretX, caretY] = M().CellToPixels(M().CaretDisplayPos());
        for (const std::string& c : calls) {
            int x, y, w, h, cw;
            char colour[16];
            if (std::sscanf(c.c_str(), "fill %d,%d %dx%d %15s", &x, &y, &w, &h, colour) == 5) {
                QColor want = edit_->palette().color(QPalette::Active, QPalette::Base);
                unsigned v;
                if (std::sscanf(colour, "0x%x", &v) == 1) want = QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
                else if (std::string(colour) == "sys13") want = edit_->palette().color(QPalette::Active, QPalette::Highlight);
                const int px = std::max(x, gs);
                if (px == edgeX || px >= img.width() || y + 1 >= img.height() || w <= 0) continue;
                if (y == caretY && px >= caretX && px < caretX + M().CellPixelWidth()) continue;
                EXPECT_EQ(img.pixelColor(px, y), want) << what << ": " << c;
            } else if (std::sscanf(c.c_str(), "text %d,%d c%d", &x, &y, &cw) == 3) {
                const size_t q0 = c.find('"'), q1 = c.rfind('"');
                const int n = static_cast<int>(q1 - q0 - 1);  // escapes only make it longer
                const QColor bg = img.pixelColor(std::max(x, gs), y);
                bool ink = false;
                for (int yy = y; yy < std::min(img.height(), y + M().RowPixelHeight()) && !ink; ++yy)
                    for (int xx = std::max(x, gs); xx < std::min(img.width(), x + n * cw) && !ink; ++xx)
                        ink = img.pixelColor(xx, yy) != bg;
                if (x + cw <= img.width() && y + M().RowPixelHeight() <= img.height()) {
                    EXPECT_TRUE(ink) << what << ": " << c;
                }
            }
        }
    }

    void Check(const std::string& what) {
        QImage img;
        const std::vector<std::string> widget = WidgetCalls(img);
        ASSERT_FALSE(widget.empty()) << what;
        EXPECT_EQ(widget, RendererCalls()) << what;
        ExpectPixelsFollow(widget, img, what);
    }

    std::unique_ptr<QMainWindow> window_;
    TCodeEdit* edit_ = nullptr;
    THTMLHighlighter html_;
};

TEST_F(RenderTest, WidgetPaintsTheRendererRuns) {
    edit_->SetTabWidth(4);
    edit_->Lines().SetText(
        "<p class=\"a\">Text\tand\ttabs</p>\n"
        "<!-- a comment\n"
        "   still -->  <b>bold</b>\n"
        "plain words and more plain words and yet more words to wrap around\n"
        "<i>last</i>");
    M().SetCaretPos(TBufferCoord{3, 3});
    Check("highlighted, caret line");

    struct Sel {
        TSelectionMode mode;
        TBufferCoord anchor, active;
    } selections[] = {
        {smNormal, {5, 1}, {8, 3}},
        {smLine, {2, 2}, {4, 3}},
        {smColumn, {3, 1}, {9, 4}},
    };
    for (const Sel& s : selections) {
        M().SetSelectionMode(s.mode);
        M().SetSelection(s.anchor, s.active);
        Check("selection mode " + std::to_string(static_cast<int>(s.mode)));
    }
    M().SetSelectionMode(smNormal);
    M().SetSelection(TBufferCoord{1, 4}, TBufferCoord{20, 4});

    M().SetFirstColumn(6);
    Check("scrolled right");
    M().SetFirstColumn(1);

    edit_->SetWordWrap(true);
    ASSERT_GT(M().RowCount(), M().Lines().Count());
    Check("word wrap");
    edit_->SetWordWrap(false);

    edit_->SetHighlighter(nullptr);
    Check("plain");

    // A long line seen far from its start, with the highlighter's kept tokens.
    edit_->SetHighlighter(&html_);
    edit_->Lines().SetText("x\n<!--" + std::string(70000, 'a') + "-->tail");
    M().SetCaretPos(TBufferCoord{69990, 2});
    M().SetFirstColumn(69980);
    Check("long line");
}

}  // namespace
}  // namespace pelm::test
