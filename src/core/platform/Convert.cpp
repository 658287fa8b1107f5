#include "core/platform/Convert.h"

#include <cstdint>

#include "core/platform/Errors.h"

namespace pelm {

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(std::string_view digits, bool negative, int& value) {
    if (digits.empty()) return false;
    uint64_t v = 0;
    for (char c : digits) {
        int d = hexDigit(c);
        if (d < 0) return false;
        v = v * 16 + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    // Eight hexadecimal digits fill all 32 bits, sign bit included.
    uint32_t bits = static_cast<uint32_t>(v);
    if (negative) bits = 0u - bits;
    value = static_cast<int>(bits);
    return true;
}
}  // namespace

bool ParseInteger(std::string_view s, int& value) {
    if (s.empty()) return false;
    bool negative = false;
    std::string_view rest = s;
    if (rest[0] == '-' || rest[0] == '+') {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest[0] == '$') return parseHex(rest.substr(1), negative, value);
    if (s.size() > 2 && rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        return parseHex(rest.substr(2), negative, value);
    if (rest.empty()) return false;
    int64_t v = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view text) {
    int v;
    if (!ParseInteger(text, v))
        throw EConvertError(Format("'%.*s' is not a valid integer value", static_cast<int>(text.size()), text.data()));
    return v;
}

int StrToIntDef(std::string_view text, int def) {
    int v;
    return ParseInteger(text, v) ? v : def;
}

}  // namespace pelm
