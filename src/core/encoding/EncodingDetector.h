#pragma once
// Finds the encoding of a file from its bytes, in this order: a byte-order
// mark; a declaration near the start (HTML meta charset or http-equiv, the XML
// declaration, CSS @charset, Perl's "use utf8;", an Emacs, Vim or Python coding
// line) when the bytes are valid in it; strict UTF-8 when the file has bytes
// above 127 and all of them form UTF-8; otherwise a statistical guess among
// Windows-1251, KOI8-R, CP866 and ISO-8859-5. A file of ASCII bytes alone
// stays as it is and counts as Windows-1251, the editor's own encoding, for
// what is typed into it. Invalid UTF-8 is never taken for UTF-8.
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/encoding/TextEncoding.h"

namespace pelm::encoding {

enum class DetectionSource { Bom, Declaration, Utf8, Guess, Ascii, Default, Chosen, Remembered };

struct Detection {
    TextEncoding encoding;
    DetectionSource source = DetectionSource::Default;
    bool ascii = false;  // no byte above 127 in the file
};

struct DetectOptions {
    // False for the program's own data files (templates): undeclared 8-bit text
    // is Windows-1251 there, without a guess.
    bool guess = true;
};

Detection DetectEncoding(std::string_view bytes, const DetectOptions& options = {});

// The encoding a byte-order mark at the start names, with bom set.
std::optional<TextEncoding> BomEncoding(std::string_view bytes);
size_t BomLength(const TextEncoding& e);
// The encoding declared in the first few kilobytes, whether or not the bytes
// agree with it.
std::optional<TextEncoding> FindDeclaration(std::string_view bytes);

// The first byte above 127, or the size when there is none.
size_t FirstNonAscii(std::string_view bytes);
// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
// Windows-1251, KOI8-R, CP866 or ISO-8859-5, by libuchardet's reading of the
// bytes; Windows-1251 when it names none of them.
TextEncoding GuessCyrillic(std::string_view bytes);

}  // namespace pelm::encoding
