#pragma once
// Pieces the script highlighters (JavaScript, PHP, Perl) share: their blank
// runs, their word characters, the letter values of their keyword hashes and a
// scanner for quoted text with backslash escapes. The scanners work on a
// NUL-terminated line and a position in it, so that a highlighter calls them
// with its scanning context's line and position; they never read past the NUL.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/highlight/TCharClass.h"

namespace pelm::script {

// A run of blanks: codes 1-9, 11, 12 and 14-32 (a TAB continues the run; a
// line break or the NUL ends it).
inline constexpr TCharClass BlankRun = TCharClass::Range(1, 32).Without({'\n', '\r'});
// Letters, digits and '_': identifiers, variables and heredoc names.
inline constexpr TCharClass WordChar = cc::Digit | cc::AsciiLetter | TCharClass{'_'};
// What the letter-led words start with.
inline constexpr TCharClass WordStart = cc::AsciiLetter | TCharClass{'_'};
// The word operations' characters of the JavaScript and PHP documents.
inline constexpr TCharClass EditorWordChar = WordChar | cc::Cp1251WordLetter;

// Keyword hash values: A-Z and a-z 1 to 26 (letter case ignored), '_' 31,
// every other byte 0.
extern const std::array<int, 256> LetterUnderscoreValues;
// Sum of LetterUnderscoreValues over word.
uint32_t LetterUnderscoreHash(std::string_view word);

// The end of a quoted text whose opening quote lies before pos. Moves over the
// text up to and including the first quote that is not escaped (a backslash
// escapes the character after it, so a quote is escaped when an odd number of
// backslashes stand directly before it), or up to a character of stops that is
// not escaped. stops must hold NUL; a backslash never escapes NUL, CR or LF.
// Returns the new position; closed tells whether the closing quote was taken.
int SkipQuoted(const char* line, int pos, char quote, const TCharClass& stops, bool& closed);

// The stops of a quoted text that ends with its line.
inline constexpr TCharClass QuotedStops = cc::LineEnd;

}  // namespace pelm::script

namespace pelm::script {

// The first position at or after pos whose character is not in cls (which
// must not hold NUL). A local loop, so the position stays in a register.
inline int SkipWhile(const char* line, int pos, const TCharClass& cls) {
    const char* p = line + pos;
    while (cls(static_cast<unsigned char>(*p))) ++p;
    return static_cast<int>(p - line);
}
// The first position at or after pos whose character is in cls or is NUL.
inline int SkipUntil(const char* line, int pos, const TCharClass& cls) {
    const char* p = line + pos;
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == 0 || cls(c)) break;
        ++p;
    }
    return static_cast<int>(p - line);
}
// Moves over a run of word characters from pos, adding up their values.
inline int SkipWord(const char* line, int pos, const int* values, uint32_t& hash) {
    const char* p = line + pos;
    uint32_t h = 0;
    while (WordChar(static_cast<unsigned char>(*p))) {
        h += static_cast<uint32_t>(values[static_cast<unsigned char>(*p)]);
        ++p;
    }
    hash = h;
    return static_cast<int>(p - line);
}

}  // namespace pelm::script
