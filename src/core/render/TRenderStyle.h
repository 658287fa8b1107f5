#pragma once
// The colours an editor view paints with, besides the highlighter's own. System
// colours (0xFF0000nn) follow the desktop's colour scheme on the screen.
#include "core/highlight/THighlighterAttributes.h"

namespace pelm {

struct TRenderStyle {
    TColor Color = clWindow;                  // background of the text
    TColor FontColor = 0xFF000008;            // clWindowText: text without a token colour
    TColor GutterColor = 0xFF00000F;          // clBtnFace
    TColor SelectedBackground = 0xFF00000D;   // clHighlight
    TColor SelectedForeground = 0xFF00000E;   // clHighlightText
    TColor ActiveLineColor = clNone;          // the caret line's background; clNone: not marked
    TColor RightEdgeColor = clSilver;
    TColor ScrollHintColor = clInfoBk;
    // False: tokens keep their font styles but take FontColor on Color, as a
    // listing printed without colours.
    bool TokenColours = true;
};

}  // namespace pelm
