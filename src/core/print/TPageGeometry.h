#pragma once
// The areas of one printed page in device pixels, measured from the printable
// area's top-left corner.
#include "core/print/TCodeEditPrintMargins.h"
#include "core/print/TCodeEditPrinterInfo.h"

namespace pelm {

struct TPageGeometry {
    int TextLeft = 0, TextRight = 0, TextTop = 0, TextBottom = 0;
    int HeaderEdge = 0;  // the header band's bottom line
    int FooterEdge = 0;  // the footer band's top line
    int BandInnerSpace = 0;
    int GutterPixels = 0;
    int BandTextLeft = 0, BandTextRight = 0;
};

// The page values of page number `page` (1-based). numberWidth: pixels the
// line numbers take left of the text (0 when they are not printed there).
TPageGeometry ComputePageGeometry(const TCodeEditPrintMargins& margins, const TCodeEditPrinterInfo& info, int page,
                                  int numberWidth);

}  // namespace pelm
