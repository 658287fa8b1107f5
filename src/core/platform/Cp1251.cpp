#include "core/platform/Cp1251.h"

#include <array>

namespace pelm::cp1251 {
namespace {
#include "core/platform/Cp1251Tables.inc"

struct Reverse {
    // Code points below 0x100 map through a direct table; the rest (Cyrillic and
    // punctuation) through a small sorted list searched linearly, as there are few.
    std::array<int16_t, 256> low{};
    std::array<std::pair<char16_t, unsigned char>, 128> high{};
    int highCount = 0;
    Reverse() {
        low.fill(-1);
        for (int b = 0; b < 256; ++b) {
            char16_t u = kToUnicode[b];
            if (u == 0xFFFD) continue;
            if (u < 0x100) low[u] = static_cast<int16_t>(b);
            else high[highCount++] = {u, static_cast<unsigned char>(b)};
        }
    }
};

const Reverse& reverse() {
    static const Reverse r;
    return r;
}
}  // namespace

char16_t ToUnicode(unsigned char b) { return kToUnicode[b]; }

int FromUnicode(char32_t c) {
    const Reverse& r = reverse();
    if (c < 0x100) return r.low[c];
    if (c >= 0x410 && c <= 0x44F) return static_cast<int>(c - 0x410 + 0xC0);
    for (int i = 0; i < r.highCount; ++i)
        if (r.high[i].first == c) return r.high[i].second;
    return -1;
}

unsigned char ToUpper(unsigned char b) { return kUpper[b]; }
unsigned char ToLower(unsigned char b) { return kLower[b]; }
bool IsAlphaNumeric(unsigned char b) { return kAlnum[b] != 0; }

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
    return out;
}

std::string LowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
    return out;
}

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        char32_t u = kToUnicode[b];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
        else { ++i; continue; }
        if (i + len > utf8.size()) break;
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) { ++i; continue; }
        i += len;
        int b = FromUnicode(cp);
        if (b >= 0) out += static_cast<char>(b);
    }
    return out;
}

}  // namespace pelm::cp1251
