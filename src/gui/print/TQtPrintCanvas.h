#pragma once
// The print engine's page device on a QPrinter: a CUPS printer or a PDF file.
// Rows of cells are drawn by the editor's own canvas (TQtCanvas) with faces
// made at the printer's resolution; the job is the painter's life on the
// printer.
#include <QFont>
#include <QPainter>
#include <QPalette>

#include "core/print/TPrintCanvas.h"
#include "gui/editor/TQtCanvas.h"

class QPrinter;

namespace pelm {

class TQtPrintCanvas : public TPrintCanvas {
public:
    explicit TQtPrintCanvas(QPrinter& printer);
    ~TQtPrintCanvas() override;

    // The Qt font of a program font at a resolution in dots per inch.
    static QFont ToQFont(const TPrintFont& font, int dpi);
    // The program font of an editor font.
    static TPrintFont FromQFont(const QFont& font);

    TPrinterCaps Caps() const override;
    void SetFont(const TPrintFont& font) override;
    const TPrintFont& Font() const override { return font_; }
    TPrintFontMetrics Metrics() override;
    int TextWidth(std::string_view bytes) override;
    int TextHeight(std::string_view bytes) override;
    void TextOut(int x, int y, std::string_view bytes) override;
    void FrameRect(int x, int y, int width, int height, TColor color) override;
    // Throws EError when the printer does not take the job or a page.
    void BeginJob(const std::string& title) override;
    void NewPage() override;
    void EndJob() override;
    void AbortJob() override;

    void FillRect(int x, int y, int width, int height, TColor color) override;
    void TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                 TColor background) override;
    void Line(int x1, int y1, int x2, int y2, TColor color) override;
    void BeginClip(int x, int y, int width, int height) override;
    void EndClip() override;

private:
    TQtCanvas cells();

    QPrinter& printer_;
    QPainter painter_;
    QPalette palette_;
    TPrintFont font_;
    QFont qfont_;
    TQtFaces faces_;
    int ascent_ = 0;
    int rowHeight_ = 0;
};

}  // namespace pelm
