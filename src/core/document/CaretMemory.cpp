#include "core/document/CaretMemory.h"

namespace pelm {

bool HasControlCharacter(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

std::optional<std::string> CaretMemoryKey(std::string_view docFileName) { return FileMemoryKey(docFileName, "_Cursor"); }

std::optional<std::string> FileMemoryKey(std::string_view docFileName, std::string_view suffix) {
    if (HasControlCharacter(docFileName) || docFileName.find('=') != std::string_view::npos) return std::nullopt;
    std::string_view t = docFileName;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    // "[x]..." as a key line would open a section named x.
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) return std::nullopt;
    return std::string(docFileName) + std::string(suffix);
}

}  // namespace pelm
