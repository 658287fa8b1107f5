#pragma once
// Conversions between a file's encoding and the Windows-1251 text of the
// buffer, through glibc's iconv. Nothing is ever replaced silently: a
// character with no 1251 byte, or bytes that are not text in the encoding,
// are reported with their line so that the caller can refuse to write.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/encoding/TextEncoding.h"

namespace pelm::encoding {

// The first place where a file's bytes did not become 1251 text.
struct DecodeProblem {
    int line = 0;                // 1-based, as the buffer splits the text
    bool invalidBytes = false;   // the bytes are not text in the encoding
    char32_t codePoint = 0;      // otherwise: the character with no 1251 byte
    std::string bytes;           // the offending bytes (invalid bytes only)
};

struct Decoded {
    std::string text;  // 1251; every character that did not convert is '?'
    std::optional<DecodeProblem> problem;
    bool hadBom = false;  // a byte-order mark of the encoding was dropped
};

// The file's bytes as 1251 text. A byte-order mark of a UTF encoding at the
// start is dropped (hadBom). Windows-1251 itself is returned as it is.
Decoded DecodeTo1251(std::string_view bytes, const TextEncoding& e);
// The bytes convert without error in the encoding (whether or not every
// character has a 1251 byte).
bool IsValidIn(std::string_view bytes, const TextEncoding& e);

// Per-byte facts of a single-byte encoding.
class Decoder {
public:
    static const Decoder& For(const TextEncoding& e);
    bool ValidByte(unsigned char b) const { return valid_[b]; }

private:
    explicit Decoder(const TextEncoding& e);
    std::array<bool, 256> valid_{};
};

// The Unicode character of a 1251 byte (iconv's table), or U+FFFD for 0x98.
char32_t UnicodeOf1251(unsigned char b);

// Where text cannot be written in an encoding.
struct EncodeProblem {
    int line = 0;    // 1-based
    int column = 0;  // 1-based byte column of the line
    unsigned char byte = 0;
    char32_t codePoint = 0;
};

// Writes 1251 text in an encoding: each 1251 byte has a fixed sequence of
// bytes there (iconv's), or none.
class Encoder {
public:
    explicit Encoder(const TextEncoding& e);
    const TextEncoding& Encoding() const { return encoding_; }
    bool Identity() const { return identity_; }
    bool CanEncode(unsigned char b) const { return identity_ || valid_[b]; }
    // The byte-order mark the file starts with, if any.
    std::string_view Bom() const;
    // Appends the bytes of text; false at the first byte that has none.
    bool Append(std::string_view text, std::string& out) const;
    // Column (0-based) of the first byte of text that has no bytes, or npos.
    size_t FirstUnencodable(std::string_view text) const;

private:
    TextEncoding encoding_;
    bool identity_ = false;
    bool asciiSame_ = false;  // ASCII bytes are written as they are
    std::array<bool, 256> valid_{};
    std::array<std::string, 256> bytes_;
};

// The whole text in an encoding, byte-order mark first. Text the encoding
// cannot hold is reported in problem and written as '?' (for a page meant only
// to be shown, such as the preview; saving refuses instead).
std::string EncodeText(std::string_view text, const TextEncoding& e, std::optional<EncodeProblem>* problem = nullptr);

// 1-based line of a position in text, counting line breaks the way the line
// buffer splits them (CR LF, LF and CR each end a line).
int LineOfOffset(std::string_view text, size_t offset);

}  // namespace pelm::encoding
