#pragma once
// A class of byte values for the scanners: one flag per byte, built at compile
// time, tested with one load. The classes every language shares are below;
// a language builds its own from them with | and the builders.
#include <cstdint>
#include <initializer_list>

#include "core/highlight/TCharSet.h"

namespace pelm {

class TCharClass {
public:
    constexpr TCharClass() = default;
    constexpr TCharClass(std::initializer_list<unsigned char> chars) {
        for (unsigned char c : chars) flags_[c] = true;
    }
    static constexpr TCharClass Range(unsigned char first, unsigned char last) {
        TCharClass cc;
        for (int c = first; c <= last; ++c) cc.flags_[c] = true;
        return cc;
    }

    constexpr bool operator()(unsigned char c) const { return flags_[c]; }
    constexpr bool Contains(unsigned char c) const { return flags_[c]; }

    constexpr TCharClass operator|(const TCharClass& o) const {
        TCharClass cc;
        for (int c = 0; c < 256; ++c) cc.flags_[c] = flags_[c] || o.flags_[c];
        return cc;
    }
    constexpr TCharClass Without(std::initializer_list<unsigned char> chars) const {
        TCharClass cc = *this;
        for (unsigned char c : chars) cc.flags_[c] = false;
        return cc;
    }
    // Every byte not in this class.
    constexpr TCharClass operator~() const {
        TCharClass cc;
        for (int c = 0; c < 256; ++c) cc.flags_[c] = !flags_[c];
        return cc;
    }
    constexpr TCharSet ToSet() const {
        TCharSet set;
        for (int c = 0; c < 256; ++c)
            if (flags_[c]) set.Add(static_cast<unsigned char>(c));
        return set;
    }

private:
    bool flags_[256] = {};
};

// The characters a scan runs up to. It always holds NUL, so that such a scan
// ends at the line's terminator at the latest, with one test per character.
class TStopClass {
public:
    constexpr explicit TStopClass(const TCharClass& cls) : cls_(cls | TCharClass{0}) {}
    constexpr bool operator()(unsigned char c) const { return cls_(c); }

private:
    TCharClass cls_;
};

// The classes the languages share.
namespace cc {
inline constexpr TCharClass Digit = TCharClass::Range('0', '9');
inline constexpr TCharClass HexDigit = Digit | TCharClass::Range('A', 'F') | TCharClass::Range('a', 'f');
inline constexpr TCharClass AsciiLetter = TCharClass::Range('A', 'Z') | TCharClass::Range('a', 'z');
// What ends a line's text for a construct that goes on in the next line.
inline constexpr TCharClass LineEnd{0, '\n', '\r'};
// Control characters and the blank: the bytes 0-31 and 32.
inline constexpr TCharClass ControlOrBlank = TCharClass::Range(0, 32);
inline constexpr TCharClass Control = TCharClass::Range(0, 31);
// What continues a run of blanks: 1-8, 11, 12, 14-32 (a TAB, LF, CR or NUL
// ends the run, so each TAB starts a token of its own).
inline constexpr TCharClass SpaceRun = TCharClass::Range(1, 32).Without({'\t', '\n', '\r'});
// The Cyrillic letters of code page 1251 that word operations take: 192-214,
// 216-246, 248-255 (the multiplication and division signs are left out).
inline constexpr TCharClass Cp1251WordLetter =
    TCharClass::Range(192, 214) | TCharClass::Range(216, 246) | TCharClass::Range(248, 255);
// Where text between markup stops to look: a control character, '<' or '&'.
inline constexpr TStopClass MarkupTextStops{Control | TCharClass{'<', '&'}};
}  // namespace cc

}  // namespace pelm
