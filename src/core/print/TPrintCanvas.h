#pragma once
// The page device the print engine draws on: the render layer's canvas plus
// what a printed listing needs besides rows of cells: a current font with its
// metrics, plain text in that font (header and footer lines), the device's
// geometry, and the job's pages.
#include <string>
#include <string_view>

#include "core/highlight/THighlighterAttributes.h"
#include "core/render/TCanvas.h"

namespace pelm {

// A font as the program names it: face, size in points, colour, style.
struct TPrintFont {
    std::string Name = "Courier New";
    int Size = 10;
    TColor Color = clBlack;
    TFontStyles Style = 0;
    bool operator==(const TPrintFont&) const = default;
};

// Metrics of the current font in device pixels.
struct TPrintFontMetrics {
    int AverageCharWidth = 0;
    int Height = 0;            // ascent + descent
    int ExternalLeading = 0;   // extra space the font asks for between rows
};

// What the device tells about its page, in device pixels.
struct TPrinterCaps {
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    int OffsetLeft = 0;  // the unprintable strip at the left
    int OffsetTop = 0;   // and at the top
    int PixelsPerInchX = 0;
    int PixelsPerInchY = 0;
};

class TPrintCanvas : public TCanvas {
public:
    virtual TPrinterCaps Caps() const = 0;

    // The current font; TextRun draws in its face with the run's own style.
    virtual void SetFont(const TPrintFont& font) = 0;
    virtual const TPrintFont& Font() const = 0;
    virtual TPrintFontMetrics Metrics() = 0;
    // Width and height of a text in the current font.
    virtual int TextWidth(std::string_view bytes) = 0;
    virtual int TextHeight(std::string_view bytes) = 0;
    // Draws a text in the current font and colour with the font's own advances,
    // its top at y, on a transparent background.
    virtual void TextOut(int x, int y, std::string_view bytes) = 0;
    // A rectangle's outline.
    virtual void FrameRect(int x, int y, int width, int height, TColor color) = 0;

    // The job: Begin names it; NewPage ends the current page and starts the
    // next; End finishes the job, Abort drops it.
    virtual void BeginJob(const std::string& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndJob() = 0;
    virtual void AbortJob() = 0;
};

}  // namespace pelm
