#pragma once
// The main window's saved bounds, brought onto the screens that exist now: no
// larger than a screen's available area, and placed so that its top edge and
// a good part of its width are on a screen, where the user can take hold of it.
// Bounds that already meet this are kept as they are.
#include <vector>

namespace pelm {

struct TScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TScreenRect&) const = default;
};

constexpr int kMinWindowWidth = 200;
constexpr int kMinWindowHeight = 120;
// How much of the window must stay on a screen: this many pixels of its width
// (or all of a narrower window), with its top edge inside the screen.
constexpr int kVisibleGrip = 100;

// areas: the available area of each screen, the primary one first. With no
// screens the bounds come back unchanged.
TScreenRect FitWindowToScreens(TScreenRect wanted, const std::vector<TScreenRect>& areas);

}  // namespace pelm
