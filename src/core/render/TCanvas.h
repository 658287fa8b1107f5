#pragma once
// The surface the renderer draws on: the editor widget's painter, a printer
// page, or a recording for tests. Coordinates are device pixels with y growing
// downwards; colours are the program's colour values (0x00BBGGRR, system
// colours 0xFF0000nn, clNone), which the canvas turns into its own.
#include <string_view>

#include "core/highlight/THighlighterAttributes.h"

namespace pelm {

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Fills the rectangle (left, top, width, height) with a colour.
    virtual void FillRect(int x, int y, int width, int height, TColor color) = 0;

    // Draws a run of Windows-1251 bytes in fixed cells: byte i stands in the
    // cell starting at x + i * cellWidth, whatever its glyph's own width, in a
    // row whose top is y (the canvas places the baseline by its font's ascent).
    // Bytes 0..32 are blank cells: no glyph. The style picks the face (bold,
    // italic) and the lines drawn under or through the whole run (underline,
    // strike-out). With a background other than clNone the run's cells are
    // filled first; with clNone they are left as they are.
    virtual void TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                         TColor background) = 0;

    // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
    virtual void Line(int x1, int y1, int x2, int y2, TColor color) = 0;

    // Drawing between BeginClip and EndClip stays inside the rectangle.
    // Clips do not nest.
    virtual void BeginClip(int x, int y, int width, int height) = 0;
    virtual void EndClip() = 0;
};

}  // namespace pelm
