#include "core/encoding/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>

#include "core/encoding/Iconv.h"

namespace pelm::encoding {

TextEncoding Utf8(bool bom) { return {"UTF-8", bom}; }
TextEncoding Utf16Le() { return {"UTF-16LE", true}; }
TextEncoding Utf16Be() { return {"UTF-16BE", true}; }
TextEncoding Windows1251() { return {"CP1251", false}; }
TextEncoding Koi8R() { return {"KOI8-R", false}; }
TextEncoding Cp866() { return {"CP866", false}; }
TextEncoding Iso88595() { return {"ISO-8859-5", false}; }
TextEncoding Ascii() { return {"ASCII", false}; }

bool IsUtf8(const TextEncoding& e) { return e.name == "UTF-8"; }
bool IsUtf16(const TextEncoding& e) { return e.name == "UTF-16LE" || e.name == "UTF-16BE"; }

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

struct Alias {
    const char* label;
    TextEncoding (*make)();
};

TextEncoding utf8Plain() { return Utf8(false); }
TextEncoding utf8Bom() { return Utf8(true); }

const Alias kAliases[] = {
    {"utf-8", utf8Plain}, {"utf8", utf8Plain}, {"unicode-1-1-utf-8", utf8Plain}, {"x-unicode20utf8", utf8Plain},
    {"utf-8 bom", utf8Bom}, {"utf-8-bom", utf8Bom}, {"utf-8 with bom", utf8Bom},
    {"utf-16 le", Utf16Le}, {"utf-16le", Utf16Le}, {"utf-16 be", Utf16Be}, {"utf-16be", Utf16Be},
    {"windows-1251", Windows1251}, {"cp1251", Windows1251}, {"x-cp1251", Windows1251}, {"win-1251", Windows1251},
    {"cp-1251", Windows1251}, {"win1251", Windows1251}, {"windows1251", Windows1251}, {"1251", Windows1251},
    {"koi8-r", Koi8R}, {"koi8r", Koi8R}, {"koi8", Koi8R}, {"cskoi8r", Koi8R}, {"koi", Koi8R},
    {"cp866", Cp866}, {"ibm866", Cp866}, {"866", Cp866}, {"csibm866", Cp866}, {"dos-866", Cp866}, {"cp-866", Cp866},
    {"x-cp866", Cp866},
    {"iso-8859-5", Iso88595}, {"iso8859-5", Iso88595}, {"iso_8859-5", Iso88595}, {"iso-ir-144", Iso88595},
    {"cyrillic", Iso88595}, {"csisolatincyrillic", Iso88595}, {"iso_8859-5:1988", Iso88595},
    {"us-ascii", Ascii}, {"ascii", Ascii}, {"ansi_x3.4-1968", Ascii},
};

// Facts about a charset iconv knows, found by converting single bytes.
struct Probe {
    bool asciiCompatible = false;
    bool singleByte = false;
};

Probe probe(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, Probe> cache;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = cache.find(name); it != cache.end()) return it->second;
    Probe p;
    if (Iconv::Supports("UTF-32LE", name)) {
        Iconv cd("UTF-32LE", name);
        auto one = [&](unsigned char b, uint32_t& cp) {
            cd.Reset();
            char in = static_cast<char>(b);
            const char* src = &in;
            size_t inLeft = 1;
            char out[16];
            char* dst = out;
            size_t outLeft = sizeof out;
            bool ok = cd.Convert(src, inLeft, dst, outLeft) && inLeft == 0;
            int err = ok ? 0 : errno;
            size_t produced = sizeof out - outLeft;
            if (ok && produced == 4) std::memcpy(&cp, out, 4);
            return ok ? (produced == 4 ? 1 : 2) : (err == EINVAL ? -1 : 0);  // 1 char, more, incomplete, invalid
        };
        p.asciiCompatible = true;
        for (int b = 0; b < 0x80 && p.asciiCompatible; ++b) {
            uint32_t cp = 0;
            p.asciiCompatible = one(static_cast<unsigned char>(b), cp) == 1 && cp == static_cast<uint32_t>(b);
        }
        p.singleByte = p.asciiCompatible;
        for (int b = 0x80; b < 0x100 && p.singleByte; ++b) {
            uint32_t cp = 0;
            int r = one(static_cast<unsigned char>(b), cp);
            p.singleByte = r == 1 || r == 0;
        }
    }
    cache[name] = p;
    return p;
}

}  // namespace

bool IsSingleByte(const TextEncoding& e) {
    if (e.name == "CP1251" || e.name == "KOI8-R" || e.name == "CP866" || e.name == "ISO-8859-5" || e.name == "ASCII")
        return true;
    if (IsUtf8(e) || IsUtf16(e)) return false;
    return probe(e.name).singleByte;
}

bool AsciiRunsSafe(const TextEncoding& e) { return IsUtf8(e) || IsSingleByte(e); }

std::string DisplayName(const TextEncoding& e) {
    if (IsUtf8(e)) return e.bom ? "UTF-8 BOM" : "UTF-8";
    if (e.name == "UTF-16LE") return "UTF-16 LE";
    if (e.name == "UTF-16BE") return "UTF-16 BE";
    if (e.name == "CP1251") return "Windows-1251";
    return e.name;
}

std::optional<TextEncoding> ParseEncodingName(std::string_view label) {
    while (!label.empty() && (label.front() == ' ' || label.front() == '\t' || label.front() == '"' || label.front() == '\''))
        label.remove_prefix(1);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\t' || label.back() == '"' || label.back() == '\''))
        label.remove_suffix(1);
    if (label.empty() || label.size() > 40) return std::nullopt;
    const std::string key = lower(label);
    for (const Alias& a : kAliases)
        if (key == a.label) return a.make();
    for (char c : key)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ':'))
            return std::nullopt;
    const std::string name = upper(label);
    // Stateful encodings and the wide ones cannot be read from or written as
    // ASCII text; a declaration naming them is a mistake.
    for (const char* bad : {"2022", "UTF-7", "UTF7", "HZ", "UTF-16", "UTF16", "UTF-32", "UTF32", "UCS", "UNICODE"})
        if (name.find(bad) != std::string::npos) return std::nullopt;
    if (!probe(name).asciiCompatible) return std::nullopt;
    return TextEncoding{name, false};
}

const std::vector<TextEncoding>& ChoosableEncodings() {
    static const std::vector<TextEncoding> list = {Utf8(false), Utf8(true), Utf16Le(), Utf16Be(),
                                                   Windows1251(), Koi8R(), Cp866(), Iso88595()};
    return list;
}

}  // namespace pelm::encoding
