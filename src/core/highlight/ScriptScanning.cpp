#include "core/highlight/ScriptScanning.h"

namespace pelm::script {

namespace {
constexpr std::array<int, 256> makeValues() {
    std::array<int, 256> v{};
    for (int c = 'A'; c <= 'Z'; ++c) v[static_cast<size_t>(c)] = c - 'A' + 1;
    for (int c = 'a'; c <= 'z'; ++c) v[static_cast<size_t>(c)] = c - 'a' + 1;
    v['_'] = 31;
    return v;
}
}  // namespace

constexpr std::array<int, 256> LetterUnderscoreValues = makeValues();

uint32_t LetterUnderscoreHash(std::string_view word) {
    uint32_t h = 0;
    for (char c : word) h += static_cast<uint32_t>(LetterUnderscoreValues[static_cast<unsigned char>(c)]);
    return h;
}

int SkipQuoted(const char* line, int pos, char quote, const TCharClass& stops, bool& closed) {
    closed = false;
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(line[pos]);
        if (c == static_cast<unsigned char>(quote)) {
            closed = true;
            return pos + 1;
        }
        if (c == '\\') {
            // The escaped character goes with its backslash, unless it ends the line.
            pos += cc::LineEnd(static_cast<unsigned char>(line[pos + 1])) ? 1 : 2;
            continue;
        }
        if (stops(c)) return pos;
        ++pos;
    }
}

}  // namespace pelm::script
