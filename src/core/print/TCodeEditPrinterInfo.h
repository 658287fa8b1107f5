#pragma once
// The printer's page geometry in device pixels, and the conversions from
// millimetres measured from a paper edge to pixels measured from the printable
// area's top-left corner.
#include "core/print/TPrintCanvas.h"

namespace pelm {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

class TCodeEditPrinterInfo {
public:
    void Update(const TPrinterCaps& caps);

    int PhysicalWidth() const { return caps_.PhysicalWidth; }
    int PhysicalHeight() const { return caps_.PhysicalHeight; }
    int PrintableWidth() const { return caps_.PrintableWidth; }
    int PrintableHeight() const { return caps_.PrintableHeight; }
    // The unprintable strips at the four edges.
    int LeftGutter() const { return caps_.OffsetLeft; }
    int TopGutter() const { return caps_.OffsetTop; }
    int RightGutter() const { return caps_.PhysicalWidth - caps_.PrintableWidth - caps_.OffsetLeft; }
    int BottomGutter() const { return caps_.PhysicalHeight - caps_.PrintableHeight - caps_.OffsetTop; }
    int XPixPrInch() const { return caps_.PixelsPerInchX; }
    int YPixPrInch() const { return caps_.PixelsPerInchY; }
    double XPixPrmm() const { return caps_.PixelsPerInchX / 25.4; }
    double YPixPrmm() const { return caps_.PixelsPerInchY / 25.4; }

    // mm from the left (top) paper edge, in pixels from the printable area's
    // left (top) edge; from the right (bottom) paper edge, in pixels of width
    // (height) to take off the printable width (height).
    int PixFromLeft(double mm) const { return RoundHalfEven(mm * XPixPrmm() - LeftGutter()); }
    int PixFromRight(double mm) const { return RoundHalfEven(mm * XPixPrmm() - RightGutter()); }
    int PixFromTop(double mm) const { return RoundHalfEven(mm * YPixPrmm() - TopGutter()); }
    int PixFromBottom(double mm) const { return RoundHalfEven(mm * YPixPrmm() - BottomGutter()); }

private:
    TPrinterCaps caps_;
};

}  // namespace pelm
