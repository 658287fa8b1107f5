#include "core/print/TPageGeometry.h"

namespace pelm {

TPageGeometry ComputePageGeometry(const TCodeEditPrintMargins& m, const TCodeEditPrinterInfo& info, int page,
                                  int numberWidth) {
    using M = TCodeEditPrintMargins;
    TPageGeometry g;
    const double left = m.MM(M::mLeft) + m.MM(M::mGutter);
    const double right = m.MM(M::mRight);
    if (!m.MirrorMargins || page % 2 != 0) {
        g.TextLeft = info.PixFromLeft(left);
        g.TextRight = info.PrintableWidth() - info.PixFromRight(right);
    } else {
        g.TextLeft = info.PixFromLeft(right);
        g.TextRight = info.PrintableWidth() - info.PixFromRight(left);
    }
    g.TextLeft += numberWidth;
    g.TextTop = info.PixFromTop(m.MM(M::mTop));
    g.TextBottom = info.PrintableHeight() - info.PixFromBottom(m.MM(M::mBottom));
    g.HeaderEdge = info.PixFromTop(m.MM(M::mHeader));
    g.FooterEdge = info.PrintableHeight() - info.PixFromBottom(m.MM(M::mFooter));
    g.BandInnerSpace = RoundHalfEven(info.YPixPrmm() * m.MM(M::mHFInternalMargin));
    g.GutterPixels = RoundHalfEven(info.XPixPrmm() * m.MM(M::mGutter));
    g.BandTextRight = g.TextRight - RoundHalfEven(info.XPixPrmm() * m.MM(M::mRightHFTextIndent));
    g.BandTextLeft = g.TextLeft + RoundHalfEven(info.XPixPrmm() * m.MM(M::mLeftHFTextIndent));
    return g;
}

}  // namespace pelm
