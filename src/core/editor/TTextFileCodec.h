#pragma once
// The conversion between a file's bytes and the line buffer's 8-bit text. The
// buffer keeps its own reading, splitting and writing; a codec attached to it
// only turns the bytes read into text before the split, and each piece of text
// into bytes as it is written.
#include <string>
#include <string_view>

namespace pelm {

class TTextFileCodec {
public:
    virtual ~TTextFileCodec() = default;
    // Turns the whole file into the buffer's text. Returns false when the bytes
    // serve as they are (then text is left untouched and no copy is made).
    virtual bool Decode(std::string_view file, std::string& text) = 0;
    // True when the text is written as it is: no prefix and no conversion.
    virtual bool Identity() const = 0;
    // Bytes written before the first line (a byte-order mark), or none.
    virtual std::string_view Prefix() const = 0;
    // Appends the file's bytes for a piece of text; false when the piece holds a
    // character the file's encoding has no bytes for (the save is then abandoned).
    virtual bool Encode(std::string_view text, std::string& bytes) const = 0;
};

}  // namespace pelm
