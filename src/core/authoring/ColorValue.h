#pragma once
// HTML colours ("#RRGGBB") and the platform's colour values (0x00BBGGRR, red in
// the low byte) for the colour mixer of the tag panel.
#include <cstdint>
#include <optional>
#include <string>

namespace pelm {

// The value without its "#" characters (all of them) when it starts with "#",
// else unchanged.
void CheckHexForHash(const std::string& value, std::string& result);

// "#RRGGBB" (or "RRGGBB") to 0x00BBGGRR; characters after the sixth digit are
// ignored, either case of digit is taken. Fewer than six characters after the
// "#" characters give black. A character that is not a hexadecimal digit
// raises EConvertError "'$00BBGGRR' is not a valid integer value".
uint32_t Hex2Color(const std::string& value);

// 0x00BBGGRR to "#RRGGBB" with upper-case digits.
std::string HtmlColor(uint32_t color);

// The colour the mixer opens on for a row's value: a 7-character value starting
// with "#" is converted (and may raise as Hex2Color does), any other
// 7-character value gives black, any other length leaves the dialog's colour
// as it is (nullopt).
std::optional<uint32_t> MixerStartColor(const std::string& value);

}  // namespace pelm
