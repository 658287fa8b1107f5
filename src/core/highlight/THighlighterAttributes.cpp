#include "core/highlight/THighlighterAttributes.h"

namespace pelm {

void THighlighterAttributes::SetBackground(TColor c) {
    if (c == background_) return;
    background_ = c;
    changed();
}

void THighlighterAttributes::SetForeground(TColor c) {
    if (c == foreground_) return;
    foreground_ = c;
    changed();
}

void THighlighterAttributes::SetStyle(TFontStyles s) {
    if (s == style_) return;
    style_ = s;
    changed();
}

void THighlighterAttributes::TakeDefaults() {
    defaultBackground_ = background_;
    defaultForeground_ = foreground_;
    defaultStyle_ = style_;
}

}  // namespace pelm
