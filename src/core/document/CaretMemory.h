#pragma once
// The caret memory of section "Filez": one key per saved file, the document's
// name followed by "_Cursor". A name that could not be one key line of the
// settings file gets no entry at all (it is neither written nor read): a name
// with a control character (CR and LF above all, which would start new lines
// and so new keys or sections), with "=" (the key would read back as another
// name), or one that would read as a section header.
#include <optional>
#include <string>
#include <string_view>

namespace pelm {

bool HasControlCharacter(std::string_view text);

// The key of the document's caret memory, or none for a name that cannot be one.
std::optional<std::string> CaretMemoryKey(std::string_view docFileName);
// The same rule for any other per-file key: the name followed by suffix.
std::optional<std::string> FileMemoryKey(std::string_view docFileName, std::string_view suffix);

}  // namespace pelm
