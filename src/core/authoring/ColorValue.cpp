#include "core/authoring/ColorValue.h"

#include "core/platform/Errors.h"

namespace pelm {

void CheckHexForHash(const std::string& value, std::string& result) {
    if (value.empty() || value[0] != '#') {
        result = value;
        return;
    }
    result.clear();
    for (char c : value)
        if (c != '#') result += c;
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

uint32_t Hex2Color(const std::string& value) {
    std::string digits;
    CheckHexForHash(value, digits);
    if (digits.size() < 6) return 0;
    const std::string text = "$00" + digits.substr(4, 2) + digits.substr(2, 2) + digits.substr(0, 2);
    uint32_t color = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
        color = color * 16 + static_cast<uint32_t>(d);
    }
    return color;
}

std::string HtmlColor(uint32_t color) {
    return Format("#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::optional<uint32_t> MixerStartColor(const std::string& value) {
    if (value.size() != 7) return std::nullopt;
    if (value[0] == '#') return Hex2Color(value);
    return 0u;
}

}  // namespace pelm
