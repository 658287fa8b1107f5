#pragma once
// One display attribute of a highlighter: foreground, background and font style
// of the tokens that use it. Colours are the platform's 32-bit values.
#include <cstdint>
#include <functional>
#include <string>

namespace pelm {

// 0x00BBGGRR for an RGB colour (red in the low byte); 0xFF000000 plus an index
// for a system colour; clNone for "not set".
using TColor = uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clInfoBk = 0xFF000018;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }

// Font style set, one byte.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

class THighlighterAttributes {
public:
    using ChangeCallback = std::function<void()>;

    explicit THighlighterAttributes(std::string name) : name_(std::move(name)) {}
    THighlighterAttributes(const THighlighterAttributes&) = delete;
    THighlighterAttributes& operator=(const THighlighterAttributes&) = delete;

    const std::string& Name() const { return name_; }

    TColor Background() const { return background_; }
    TColor Foreground() const { return foreground_; }
    TFontStyles Style() const { return style_; }

    // Each setter does nothing when the value is already the current one;
    // otherwise it stores the value and calls the change callback once.
    void SetBackground(TColor c);
    void SetForeground(TColor c);
    void SetStyle(TFontStyles s);

    // Values as the owning highlighter's constructor left them.
    TColor DefaultBackground() const { return defaultBackground_; }
    TColor DefaultForeground() const { return defaultForeground_; }
    TFontStyles DefaultStyle() const { return defaultStyle_; }
    // True when a configuration changed any value away from the built-in one.
    bool ChangedFromDefault() const {
        return background_ != defaultBackground_ || foreground_ != defaultForeground_ || style_ != defaultStyle_;
    }

    // Snapshot of the current values as the defaults.
    void TakeDefaults();
    void SetChangeCallback(ChangeCallback cb) { onChange_ = std::move(cb); }

private:
    void changed() {
        if (onChange_) onChange_();
    }

    std::string name_;
    TColor background_ = clNone;
    TColor foreground_ = clNone;
    TFontStyles style_ = 0;
    TColor defaultBackground_ = clNone;
    TColor defaultForeground_ = clNone;
    TFontStyles defaultStyle_ = 0;
    ChangeCallback onChange_;
};

}  // namespace pelm
