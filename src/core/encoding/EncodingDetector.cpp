#include "core/encoding/EncodingDetector.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <uchardet.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/encoding/Conversion.h"

namespace pelm::encoding {

namespace {

// How far into the file a declaration is looked for.
constexpr size_t kDeclarationWindow = 4096;
// How much of an 8-bit file the statistical guess reads.
constexpr size_t kGuessWindow = 256 * 1024;

// The end of the run of ASCII bytes starting at i, 64 bytes at a step.
inline size_t skipAscii(const unsigned char* p, size_t i, size_t n) {
#if defined(__SSE2__)
    while (i + 64 <= n) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 32));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 48));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0) break;
        i += 64;
    }
#else
    while (i + 32 <= n) {
        uint64_t w[4];
        std::memcpy(w, p + i, 32);
        if (((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ull) != 0) break;
        i += 32;
    }
#endif
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive search of a lower-case needle.
size_t findNoCase(std::string_view hay, std::string_view needle, size_t from = 0) {
    if (needle.size() > hay.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && lowerAscii(hay[i + k]) == needle[k]) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

bool isLabelChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == ':';
}

// The charset label at pos after optional blanks, '=' or ':' (when sep is
// given), more blanks and an optional quote.
std::string_view labelAt(std::string_view s, size_t pos, const char* separators) {
    auto blanks = [&] {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r' || s[pos] == '\n')) ++pos;
    };
    blanks();
    if (separators) {
        if (pos >= s.size() || !std::strchr(separators, s[pos])) return {};
        ++pos;
        blanks();
    }
    if (pos < s.size() && (s[pos] == '"' || s[pos] == '\'')) ++pos;
    size_t end = pos;
    while (end < s.size() && isLabelChar(s[end])) ++end;
    // A trailing colon belongs to the modeline, not to the name.
    while (end > pos && s[end - 1] == ':') --end;
    return s.substr(pos, end - pos);
}

std::optional<TextEncoding> declared(std::string_view label) {
    if (label.empty()) return std::nullopt;
    auto e = ParseEncodingName(label);
    if (e && IsUtf16(*e)) return std::nullopt;  // read as ASCII, the file cannot be UTF-16
    return e;
}

std::optional<TextEncoding> xmlDeclaration(std::string_view head) {
    size_t start = 0;
    while (start < head.size() && (head[start] == ' ' || head[start] == '\t' || head[start] == '\r' || head[start] == '\n'))
        ++start;
    if (!startsWith(head.substr(start), "<?xml")) return std::nullopt;
    size_t end = head.find("?>", start);
    std::string_view decl = head.substr(start, end == std::string_view::npos ? head.size() - start : end - start);
    size_t at = decl.find("encoding");
    if (at == std::string_view::npos) return std::nullopt;
    return declared(labelAt(decl, at + 8, "="));
}

std::optional<TextEncoding> cssCharset(std::string_view head) {
    if (!startsWith(head, "@charset \"")) return std::nullopt;
    size_t end = head.find('"', 10);
    if (end == std::string_view::npos) return std::nullopt;
    return declared(head.substr(10, end - 10));
}

// <meta charset="..."> and <meta http-equiv="Content-Type" content="...; charset=...">.
std::optional<TextEncoding> metaCharset(std::string_view head) {
    for (size_t at = findNoCase(head, "<meta"); at != std::string_view::npos; at = findNoCase(head, "<meta", at + 5)) {
        size_t end = head.find('>', at);
        std::string_view tag = head.substr(at, end == std::string_view::npos ? head.size() - at : end - at);
        size_t cs = findNoCase(tag, "charset");
        if (cs == std::string_view::npos) continue;
        if (auto e = declared(labelAt(tag, cs + 7, "="))) return e;
    }
    return std::nullopt;
}

// Emacs "-*- coding: x -*-", Vim "vim: set fileencoding=x :", Python
// "# coding=x": looked for in the first five lines.
std::optional<TextEncoding> codingLine(std::string_view head) {
    size_t pos = 0;
    for (int line = 0; line < 5 && pos < head.size(); ++line) {
        size_t end = head.find('\n', pos);
        if (end == std::string_view::npos) end = head.size();
        std::string_view s = head.substr(pos, end - pos);
        pos = end + 1;
        if (s.find("-*-") != std::string_view::npos) {
            size_t at = findNoCase(s, "coding:");
            if (at != std::string_view::npos) return declared(labelAt(s, at + 7, nullptr));
        }
        if (s.find("vim:") != std::string_view::npos || s.find("vi:") != std::string_view::npos ||
            s.find("ex:") != std::string_view::npos) {
            for (std::string_view key : {"fileencoding=", "fenc="}) {
                size_t at = s.find(key);
                if (at != std::string_view::npos) return declared(labelAt(s, at + key.size(), nullptr));
            }
        }
        size_t first = s.find_first_not_of(" \t\f");
        if (first != std::string_view::npos && s[first] == '#') {
            size_t at = s.find("coding");
            if (at != std::string_view::npos) {
                std::string_view label = labelAt(s, at + 6, ":=");
                if (!label.empty()) return declared(label);
            }
        }
    }
    return std::nullopt;
}

// Perl's "use utf8;" (and the old "use encoding 'x';") on a line of its own.
std::optional<TextEncoding> perlPragma(std::string_view head) {
    size_t pos = 0;
    while (pos < head.size()) {
        size_t end = head.find('\n', pos);
        if (end == std::string_view::npos) end = head.size();
        std::string_view s = head.substr(pos, end - pos);
        pos = end + 1;
        size_t first = s.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        s.remove_prefix(first);
        if (startsWith(s, "use utf8") && (s.size() == 8 || s[8] == ';' || s[8] == ' ' || s[8] == '\r'))
            return Utf8(false);
        if (startsWith(s, "use encoding ")) return declared(labelAt(s, 13, nullptr));
    }
    return std::nullopt;
}

// Every byte has a character in a single-byte encoding.
bool validSingleByte(std::string_view bytes, const TextEncoding& e) {
    const Decoder& d = Decoder::For(e);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = FirstNonAscii(bytes); i < bytes.size(); ++i)
        if (p[i] >= 0x80 && !d.ValidByte(p[i])) return false;
    return true;
}

}  // namespace

size_t FirstNonAscii(std::string_view bytes) {
    return skipAscii(reinterpret_cast<const unsigned char*>(bytes.data()), 0, bytes.size());
}

bool IsValidUtf8(std::string_view bytes) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    for (;;) {
        i = skipAscii(p, i, n);
        if (i >= n) return true;
        const unsigned char c = p[i];
        size_t len;
        unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + len > n) return false;
        if (p[i + 1] < lo || p[i + 1] > hi) return false;
        for (size_t k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
}

std::optional<TextEncoding> BomEncoding(std::string_view b) {
    if (startsWith(b, "\xEF\xBB\xBF")) return Utf8(true);
    if (startsWith(b, "\xFF\xFE")) return Utf16Le();
    if (startsWith(b, "\xFE\xFF")) return Utf16Be();
    return std::nullopt;
}

size_t BomLength(const TextEncoding& e) {
    if (!e.bom) return 0;
    return IsUtf8(e) ? 3 : IsUtf16(e) ? 2 : 0;
}

std::optional<TextEncoding> FindDeclaration(std::string_view bytes) {
    std::string_view head = bytes.substr(0, kDeclarationWindow);
    if (auto e = xmlDeclaration(head)) return e;
    if (auto e = cssCharset(head)) return e;
    if (auto e = metaCharset(head)) return e;
    if (auto e = codingLine(head)) return e;
    if (auto e = perlPragma(head)) return e;
    return std::nullopt;
}

TextEncoding GuessCyrillic(std::string_view bytes) {
    size_t first = FirstNonAscii(bytes);
    if (first >= bytes.size()) return Windows1251();
    size_t from = first > 1024 ? first - 1024 : 0;
    std::string_view sample = bytes.substr(from, kGuessWindow);
    uchardet_t ud = uchardet_new();
    TextEncoding result = Windows1251();
    if (ud) {
        if (uchardet_handle_data(ud, sample.data(), sample.size()) == 0) {
            uchardet_data_end(ud);
            const char* name = uchardet_get_charset(ud);
            if (name && *name) {
                if (auto e = ParseEncodingName(name)) {
                    if (*e == Koi8R() || *e == Cp866() || *e == Iso88595()) result = *e;
                }
            }
        }
        uchardet_delete(ud);
    }
    return result;
}

Detection DetectEncoding(std::string_view bytes, const DetectOptions& options) {
    if (auto e = BomEncoding(bytes)) return {*e, DetectionSource::Bom, false};
    const size_t firstHigh = FirstNonAscii(bytes);
    const bool ascii = firstHigh >= bytes.size();
    // Whole-file UTF-8 validity is needed by two steps below; it is computed
    // once, and only when the file has a byte above 127.
    std::optional<bool> utf8;
    auto validUtf8 = [&] {
        if (!utf8) utf8 = !ascii && IsValidUtf8(bytes.substr(firstHigh));
        return *utf8;
    };
    if (auto e = FindDeclaration(bytes)) {
        bool valid;
        if (ascii) valid = true;
        else if (IsUtf8(*e)) valid = validUtf8();
        // An 8-bit declaration gives way to text that is all valid UTF-8 with
        // characters beyond ASCII: that is a page converted to UTF-8 whose old
        // declaration stayed behind, never real Cyrillic 8-bit text.
        else if (IsSingleByte(*e)) valid = validSingleByte(bytes, *e) && !validUtf8();
        else valid = IsValidIn(bytes, *e);
        if (valid) return {*e, DetectionSource::Declaration, ascii};
    }
    // Plain ASCII is the same bytes in every encoding offered here; what is
    // typed into it later is written in the editor's own Windows-1251.
    if (ascii) return {Windows1251(), DetectionSource::Ascii, true};
    if (validUtf8()) return {Utf8(false), DetectionSource::Utf8, false};
    if (!options.guess) return {Windows1251(), DetectionSource::Default, false};
    return {GuessCyrillic(bytes), DetectionSource::Guess, false};
}

}  // namespace pelm::encoding
