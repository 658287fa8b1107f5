#include "core/config/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace pelm {

namespace {

int64_t overlap(const TScreenRect& a, const TScreenRect& b) {
    const int64_t left = std::max<int64_t>(a.Left, b.Left);
    const int64_t right = std::min<int64_t>(int64_t{a.Left} + a.Width, int64_t{b.Left} + b.Width);
    const int64_t top = std::max<int64_t>(a.Top, b.Top);
    const int64_t bottom = std::min<int64_t>(int64_t{a.Top} + a.Height, int64_t{b.Top} + b.Height);
    return right > left && bottom > top ? (right - left) * (bottom - top) : 0;
}

}  // namespace

TScreenRect FitWindowToScreens(TScreenRect w, const std::vector<TScreenRect>& areas) {
    if (areas.empty()) return w;
    // The screen that shows most of the window, else the primary one.
    const TScreenRect* screen = &areas.front();
    int64_t best = 0;
    for (const TScreenRect& a : areas) {
        const int64_t o = overlap(w, a);
        if (o > best) best = o, screen = &a;
    }
    const TScreenRect& s = *screen;
    w.Width = std::clamp(w.Width, std::min(kMinWindowWidth, s.Width), s.Width);
    w.Height = std::clamp(w.Height, std::min(kMinWindowHeight, s.Height), s.Height);
    const int grip = std::min(kVisibleGrip, w.Width);
    const int64_t minLeft = int64_t{s.Left} - w.Width + grip;
    const int64_t maxLeft = int64_t{s.Left} + s.Width - grip;
    w.Left = static_cast<int>(std::clamp<int64_t>(w.Left, minLeft, maxLeft));
    const int64_t maxTop = int64_t{s.Top} + s.Height - std::min(kVisibleGrip / 2, w.Height);
    w.Top = static_cast<int>(std::clamp<int64_t>(w.Top, s.Top, maxTop));
    return w;
}

}  // namespace pelm
