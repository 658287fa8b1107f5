#pragma once
// The encoding of a document's file: the charset name glibc's iconv knows it by
// and whether the file starts with a byte-order mark. Inside, the text is always
// Windows-1251; the encoding only matters where the file is read or written.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelm::encoding {

struct TextEncoding {
    // iconv's name: "UTF-8", "UTF-16LE", "UTF-16BE", "CP1251", "KOI8-R", "CP866",
    // "ISO-8859-5", "ASCII", or another charset a declaration named.
    std::string name;
    bool bom = false;
    bool operator==(const TextEncoding&) const = default;
};

TextEncoding Utf8(bool bom = false);
TextEncoding Utf16Le();  // always with its byte-order mark when detected
TextEncoding Utf16Be();
TextEncoding Windows1251();
TextEncoding Koi8R();
TextEncoding Cp866();
TextEncoding Iso88595();
TextEncoding Ascii();

bool IsUtf8(const TextEncoding& e);
bool IsUtf16(const TextEncoding& e);
// One byte per character, with the ASCII bytes standing for themselves.
bool IsSingleByte(const TextEncoding& e);
// The ASCII bytes stand for themselves and never occur inside a longer
// sequence, so runs of them can be copied unconverted.
bool AsciiRunsSafe(const TextEncoding& e);

// The name the status bar and the menus show: "UTF-8", "UTF-8 BOM",
// "UTF-16 LE", "Windows-1251", "KOI8-R", "CP866", "ISO-8859-5", "ASCII"...
std::string DisplayName(const TextEncoding& e);

// The encoding a label stands for: a declaration's charset ("windows-1251",
// "utf8", "x-cp1251", "koi8-r"...), a display name, or a charset iconv knows.
// Labels iconv does not know, stateful encodings (ISO-2022, UTF-7) and
// encodings whose ASCII bytes are not ASCII (a "UTF-16" written in ASCII is a
// mistake) give nothing.
std::optional<TextEncoding> ParseEncodingName(std::string_view label);

// The encodings offered for reopening and saving, in menu order.
const std::vector<TextEncoding>& ChoosableEncodings();

}  // namespace pelm::encoding
