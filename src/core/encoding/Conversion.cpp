#include "core/encoding/Conversion.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "core/encoding/EncodingDetector.h"
#include "core/encoding/Iconv.h"

namespace pelm::encoding {

namespace {

// The 1251 table as iconv has it, both ways.
struct Table1251 {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;
    Table1251() {
        Iconv cd("UTF-32LE", "CP1251");
        for (int b = 0; b < 256; ++b) {
            cd.Reset();
            char in = static_cast<char>(b);
            const char* src = &in;
            size_t inLeft = 1;
            char32_t cp = 0xFFFD;
            char* dst = reinterpret_cast<char*>(&cp);
            size_t outLeft = sizeof cp;
            if (!cd.Convert(src, inLeft, dst, outLeft) || outLeft != 0) cp = 0xFFFD;
            toUnicode[b] = cp;
            if (cp != 0xFFFD) fromUnicode.emplace(cp, static_cast<unsigned char>(b));
        }
    }
};

const Table1251& table() {
    static const Table1251 t;
    return t;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Drops the byte-order mark of a UTF encoding from the front of bytes.
bool dropBom(std::string_view& bytes, const TextEncoding& e) {
    std::string_view bom = IsUtf8(e) ? "\xEF\xBB\xBF" : e.name == "UTF-16LE" ? "\xFF\xFE" : e.name == "UTF-16BE" ? "\xFE\xFF" : "";
    if (bom.empty() || !startsWith(bytes, bom)) return false;
    bytes.remove_prefix(bom.size());
    return true;
}

bool isAscii(unsigned char c) { return c < 0x80; }

}  // namespace

char32_t UnicodeOf1251(unsigned char b) { return table().toUnicode[b]; }

int LineOfOffset(std::string_view text, size_t offset) {
    int line = 1;
    offset = std::min(offset, text.size());
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\r') {
            ++line;
            if (i + 1 < offset && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            ++line;
        }
    }
    return line;
}

Decoded DecodeTo1251(std::string_view bytes, const TextEncoding& e) {
    Decoded d;
    d.hadBom = dropBom(bytes, e);
    if (e.name == "CP1251") {
        d.text.assign(bytes);
        return d;
    }
    const Table1251& t = table();
    size_t problemAt = std::string::npos;
    auto note = [&](DecodeProblem p) {
        if (d.problem) return;
        d.problem = std::move(p);
        problemAt = d.text.size();
    };
    Iconv cd("UTF-32LE", e.name);
    const bool utf16 = IsUtf16(e);
    auto convertRun = [&](std::string_view run) {
        cd.Reset();
        const char* in = run.data();
        size_t inLeft = run.size();
        char32_t buf[1024];
        while (inLeft > 0) {
            char* out = reinterpret_cast<char*>(buf);
            size_t outLeft = sizeof buf;
            const bool ok = cd.Convert(in, inLeft, out, outLeft);
            const int err = errno;
            const size_t got = (sizeof buf - outLeft) / sizeof(char32_t);
            for (size_t i = 0; i < got; ++i) {
                const char32_t cp = buf[i];
                if (cp < 0x80) {
                    d.text.push_back(static_cast<char>(cp));
                    continue;
                }
                auto it = t.fromUnicode.find(cp);
                if (it == t.fromUnicode.end()) {
                    note({0, false, cp, {}});
                    d.text.push_back('?');
                } else {
                    d.text.push_back(static_cast<char>(it->second));
                }
            }
            if (!ok && err != E2BIG) {
                // Bytes that are not text here: one unit is reported and skipped.
                const size_t unit = std::min<size_t>(utf16 ? 2 : 1, inLeft);
                note({0, true, 0, std::string(in, unit)});
                d.text.push_back('?');
                in += unit;
                inLeft -= unit;
                cd.Reset();
            }
        }
    };
    d.text.reserve(bytes.size());
    if (AsciiRunsSafe(e)) {
        // ASCII runs are copied; only the runs of other bytes go through iconv.
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
        size_t i = 0;
        const size_t n = bytes.size();
        while (i < n) {
            size_t j = i + FirstNonAscii(bytes.substr(i));
            d.text.append(bytes.data() + i, j - i);
            if (j >= n) break;
            size_t k = j;
            while (k < n && !isAscii(p[k])) ++k;
            convertRun(bytes.substr(j, k - j));
            i = k;
        }
    } else {
        convertRun(bytes);
    }
    if (d.problem) d.problem->line = LineOfOffset(d.text, problemAt);
    return d;
}

bool IsValidIn(std::string_view bytes, const TextEncoding& e) {
    dropBom(bytes, e);
    if (IsUtf8(e)) return IsValidUtf8(bytes);
    if (e.name == "CP1251") return bytes.find('\x98') == std::string_view::npos;
    if (IsSingleByte(e)) {
        const Decoder& dec = Decoder::For(e);
        for (unsigned char c : bytes)
            if (!isAscii(c) && !dec.ValidByte(c)) return false;
        return true;
    }
    Iconv cd("UTF-32LE", e.name);
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    char buf[4096];
    while (inLeft > 0) {
        char* out = buf;
        size_t outLeft = sizeof buf;
        if (!cd.Convert(in, inLeft, out, outLeft) && errno != E2BIG) return false;
    }
    return true;
}

const Decoder& Decoder::For(const TextEncoding& e) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<Decoder>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = cache[e.name];
    if (!slot) slot.reset(new Decoder(e));
    return *slot;
}

Decoder::Decoder(const TextEncoding& e) {
    Iconv cd("UTF-32LE", e.name);
    for (int b = 0; b < 256; ++b) {
        cd.Reset();
        char in = static_cast<char>(b);
        const char* src = &in;
        size_t inLeft = 1;
        char out[16];
        char* dst = out;
        size_t outLeft = sizeof out;
        valid_[b] = cd.Convert(src, inLeft, dst, outLeft) && inLeft == 0 && outLeft == sizeof out - 4;
    }
}

Encoder::Encoder(const TextEncoding& e) : encoding_(e) {
    identity_ = e.name == "CP1251";
    if (identity_) return;
    Iconv cd(e.name, "UTF-32LE");
    const Table1251& t = table();
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = t.toUnicode[b];
        if (cp == 0xFFFD) continue;
        cd.Reset();
        const char* src = reinterpret_cast<const char*>(&cp);
        size_t inLeft = sizeof cp;
        char out[16];
        char* dst = out;
        size_t outLeft = sizeof out;
        if (cd.Convert(src, inLeft, dst, outLeft) && inLeft == 0) {
            valid_[b] = true;
            bytes_[b].assign(out, sizeof out - outLeft);
        }
    }
    asciiSame_ = AsciiRunsSafe(e);
    for (int b = 0; b < 0x80 && asciiSame_; ++b)
        asciiSame_ = valid_[b] && bytes_[b] == std::string(1, static_cast<char>(b));
}

std::string_view Encoder::Bom() const {
    if (!encoding_.bom) return {};
    if (IsUtf8(encoding_)) return "\xEF\xBB\xBF";
    if (encoding_.name == "UTF-16LE") return "\xFF\xFE";
    if (encoding_.name == "UTF-16BE") return "\xFE\xFF";
    return {};
}

bool Encoder::Append(std::string_view text, std::string& out) const {
    if (identity_) {
        out.append(text);
        return true;
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        if (asciiSame_ && isAscii(p[i])) {
            size_t j = i + 1;
            while (j < n && isAscii(p[j])) ++j;
            out.append(text.data() + i, j - i);
            i = j;
            continue;
        }
        if (!valid_[p[i]]) return false;
        out += bytes_[p[i]];
        ++i;
    }
    return true;
}

size_t Encoder::FirstUnencodable(std::string_view text) const {
    if (identity_) return std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i)
        if (!valid_[static_cast<unsigned char>(text[i])]) return i;
    return std::string_view::npos;
}

std::string EncodeText(std::string_view text, const TextEncoding& e, std::optional<EncodeProblem>* problem) {
    Encoder enc(e);
    std::string out(enc.Bom());
    out.reserve(text.size() + out.size());
    size_t pos = 0;
    while (pos < text.size()) {
        std::string_view rest = text.substr(pos);
        size_t bad = enc.FirstUnencodable(rest);
        enc.Append(rest.substr(0, bad == std::string_view::npos ? rest.size() : bad), out);
        if (bad == std::string_view::npos) break;
        const size_t at = pos + bad;
        if (problem && !*problem) {
            const int line = LineOfOffset(text, at);
            size_t lineStart = text.find_last_of("\r\n", at == 0 ? std::string_view::npos : at - 1);
            lineStart = (at == 0 || lineStart == std::string_view::npos) ? 0 : lineStart + 1;
            const unsigned char b = static_cast<unsigned char>(text[at]);
            *problem = EncodeProblem{line, static_cast<int>(at - lineStart) + 1, b, UnicodeOf1251(b)};
        }
        enc.Append("?", out);
        pos = at + 1;
    }
    return out;
}

}  // namespace pelm::encoding
