#include "core/authoring/TagText.h"

#include <array>

namespace pelm {

namespace {

constexpr std::array<bool, 256> MakeQuotingSet() {
    std::array<bool, 256> set{};
    for (unsigned char c : std::string_view(" `~!@#$%^&*()=';:][.,\\|/?><")) set[c] = true;
    for (int c = 0xC0; c <= 0xFF; ++c) set[static_cast<size_t>(c)] = true;  // А..Я, а..я
    set[0xA8] = true;                                                         // Ё
    set[0xB8] = true;                                                         // ё
    return set;
}

constexpr std::array<bool, 256> QuotingSet = MakeQuotingSet();

}  // namespace

bool InQuotingSet(unsigned char c) {
    return QuotingSet[c];
}

std::string Kav(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '"')
            text += "&quot;";
        else
            text += c;
    }
    for (unsigned char c : text)
        if (InQuotingSet(c)) return '"' + text + '"';
    return text;
}

std::string CommentText(std::string_view text) {
    return "<!-- " + std::string(text) + " -->";
}

}  // namespace pelm
