#include "gui/editor/ColorConvert.h"

namespace pelm {

namespace {

// The palette role standing for each system colour index, in index order.
QPalette::ColorRole SystemRole(unsigned index) {
    switch (index) {
        case 0: return QPalette::Button;           // scroll bar
        case 1: return QPalette::Window;           // desktop
        case 2: return QPalette::Highlight;        // active caption
        case 3: return QPalette::Mid;              // inactive caption
        case 4: return QPalette::Window;           // menu
        case 5: return QPalette::Base;             // window
        case 6: return QPalette::Shadow;           // window frame
        case 7: return QPalette::WindowText;       // menu text
        case 8: return QPalette::Text;             // window text
        case 9: return QPalette::HighlightedText;  // caption text
        case 10: return QPalette::Mid;             // active border
        case 11: return QPalette::Mid;             // inactive border
        case 12: return QPalette::Dark;            // application workspace
        case 13: return QPalette::Highlight;
        case 14: return QPalette::HighlightedText;
        case 15: return QPalette::Button;          // button face
        case 16: return QPalette::Dark;            // button shadow
        case 17: return QPalette::PlaceholderText; // grey text
        case 18: return QPalette::ButtonText;
        case 19: return QPalette::WindowText;      // inactive caption text
        case 20: return QPalette::Light;           // button highlight
        case 21: return QPalette::Shadow;          // 3D dark shadow
        case 22: return QPalette::Midlight;        // 3D light
        case 23: return QPalette::ToolTipText;     // info text
        case 24: return QPalette::ToolTipBase;     // info background
        case 26: return QPalette::Link;            // hot light
        case 29: return QPalette::Highlight;       // menu highlight
        case 30: return QPalette::Window;          // menu bar
        default: return QPalette::Window;
    }
}

}  // namespace

QColor ColorToQColor(TColor color, const QPalette& palette) {
    if (color == clNone) return QColor();
    if (IsSystemColor(color)) return palette.color(QPalette::Active, SystemRole(color & 0xFFu));
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace pelm
