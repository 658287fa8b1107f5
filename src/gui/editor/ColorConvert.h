#pragma once
// The editor's colour values (0x00BBGGRR, system colours 0xFF0000nn, clNone)
// turned into Qt colours. System colours follow the widget's palette, so the
// editor follows the desktop's colour scheme as the platform colours would.
#include <QColor>
#include <QPalette>

#include "core/highlight/THighlighterAttributes.h"

namespace pelm {

// System colour indexes the editor uses.
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clInfoText = 0xFF000017;

// The Qt colour of a colour value; clNone gives an invalid QColor.
QColor ColorToQColor(TColor color, const QPalette& palette);

}  // namespace pelm
