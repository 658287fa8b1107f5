#include "core/highlight/TCssHighlighter.h"

#include <array>

namespace pelm {

namespace {

using C = TCssHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Comment"},
    {"Property", clNone, fsBold},
    {"Reserved Word", 0xFF0080, fsBold},
    {"Undefined Property", 0xFF0080, fsBold},
    {"Space"},
    {"Color Value"},
    {"Number"},
    {"String"},
    {"Symbol"},
    {"Text"},
    {"Value", 0xFF8000},
};

constexpr TKindSpec kKinds[] = {
    {"comment", C::atComment, hrComment},
    {"property", C::atProperty},
    {"selector", C::atKey, hrKeyword},
    {"eol", kNoAttribute},
    {"space", C::atSpace, hrWhitespace},
    {"string", C::atString, hrString},
    {"symbol", C::atSymbol},
    {"text", C::atText},
    {"undefined", C::atUndefProperty},
    {"value", C::atValue},
    {"colour", C::atColour},
    {"number", C::atNumber},
};
static_assert(std::size(kKinds) == C::KindCount);

constexpr const char* kStateNames[] = {"comment", "unused", "rule", "selector", "property", "value"};

constexpr TAttributeOverride kMainWindow[] = {
    {C::atComment, clGray, fsItalic},
};

constexpr TCharClass kWordChars = cc::Digit | cc::AsciiLetter | TCharClass{'-', '_'};

// The known property names; all yield kind property. (Groups separated by
// blanks split into keywords of their own, like the commas.)
constexpr const char* kPropertyList =
    "azimuth, background, background-attachment, background-color, background-image, background-position, "
    "background-repeat, border, border-collapse, border-color, border-spacing, border-style, "
    "border-top border-right border-bottom border-left, "
    "border-top-color border-right-color border-bottom-color border-left-color, "
    "border-top-style border-right-style border-bottom-style border-left-style, "
    "border-top-width border-right-width border-bottom-width border-left-width, border-width, bottom, "
    "caption-side, clear, clip, color, content, counter-increment, counter-reset, cue, cue-after, cue-before, "
    "cursor, direction, display, elevation, empty-cells, float, font, font-family, font-size, "
    "font-size-adjust, font-stretch, font-style, font-variant, font-weight, height, left, letter-spacing, "
    "line-height, list-style, list-style-image, list-style-position, list-style-type, margin, "
    "margin-top margin-right margin-bottom margin-left, marker-offset, marks, max-height, max-width, "
    "min-height, min-width, orphans, outline, outline-color, outline-style, outline-width, overflow, padding, "
    "padding-top padding-right padding-bottom padding-left, page, page-break-after, page-break-before, "
    "page-break-inside, pause, pause-after, pause-before, pitch, pitch-range, play-during, position, quotes, "
    "richness, right, size, speak, speak-header, speak-numeral, speak-punctuation, speech-rate, stress, "
    "table-layout, text-align, text-decoration, text-indent, text-shadow, text-transform, top, unicode-bidi, "
    "vertical-align, visibility, voice-family, volume, white-space, widows, width, word-spacing, z-index";

// The lookup word: a run of letters and hyphens, then a run of digits.
constexpr TCharClass kLookupLetters = cc::AsciiLetter | TCharClass{'-'};
// What ends a property-name token: a control character, a blank, '"', ':', ';' or '}'.
constexpr TStopClass kPropertyEnd{cc::ControlOrBlank | TCharClass{'"', ':', ';', '}'}};
// What ends a value: a line end, ',', ';' or '}'.
constexpr TStopClass kValueEnd{cc::LineEnd | TCharClass{',', ';', '}'}};
// What ends a selector: a control character, '/' or '{'.
constexpr TStopClass kSelectorEnd{cc::Control | TCharClass{'/', '{'}};
constexpr TStopClass kStringEnd{cc::LineEnd | TCharClass{'"'}};
constexpr TStopClass kCommentStops{cc::LineEnd | TCharClass{'*'}};
constexpr TCharClass kNumberChars = cc::Digit | TCharClass{'.'};

enum TRoutine : uint8_t {
    prNull, prSpace, prLineBreak, prString, prColour, prValueOpener, prNumber, prSlash, prSemicolon, prOpenBrace,
    prCloseBrace, prWord,
};

constexpr std::array<uint8_t, 256> makeRoutines() {
    std::array<uint8_t, 256> t{};
    for (auto& r : t) r = prWord;
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = prSpace;
    t[0] = prNull;
    t['\n'] = prLineBreak;
    t['\r'] = prLineBreak;
    t['"'] = prString;
    t['#'] = prColour;
    t[','] = prValueOpener;
    t[':'] = prValueOpener;
    t['.'] = prNumber;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = prNumber;
    t['/'] = prSlash;
    t[';'] = prSemicolon;
    t['{'] = prOpenBrace;
    t['}'] = prCloseBrace;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

}  // namespace

constinit const TLanguageSpec TCssHighlighter::Language = {
    "Cascading Style Sheet",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    (1u << rsComment) | (1u << rsParam) | (1u << rsSelector) | (1u << rsProperty) | (1u << rsValue),
    kWordChars.ToSet(),
    kMainWindow,
    true,
};

TCssHighlighter::TCssHighlighter()
    : TLanguageHighlighter(Language), properties_(LetterValues.data(), &LetterDigitHash, tkUndefProperty) {
    properties_.AddList(kPropertyList, Language.wordChars, tkProperty);
}

void TCssHighlighter::ResetState() {
    state_ = rsSelector;
    commentReturn_ = rsSelector;
}

void TCssHighlighter::SetState(uint32_t state) {
    state_ = static_cast<uint8_t>(state & 0xFF);
    commentReturn_ = state_ == rsComment ? static_cast<uint8_t>((state >> 8) & 0xFF) : static_cast<uint8_t>(rsSelector);
}

uint32_t TCssHighlighter::GetState() const {
    return state_ == rsComment ? static_cast<uint32_t>(commentReturn_) << 8 : state_;
}

void TCssHighlighter::NextToken() {
    BeginToken();
    switch (state_) {
    case rsComment: commentProc(); break;
    case rsSelector: selectorProc(); break;
    default: tableProc(); break;
    }
}

void TCssHighlighter::tableProc() {
    switch (kRoutines[Ch()]) {
    case prNull: kind_ = tkNull; break;
    case prSpace: ScanSpaceRun(tkSpace); break;
    case prLineBreak: ScanLineBreak(tkSpace); break;
    case prString: stringProc(); break;
    case prColour:
        Forward();
        ForwardWhile(cc::HexDigit);
        kind_ = tkColor;
        break;
    case prValueOpener:
        Forward();
        kind_ = tkSymbol;
        state_ = rsValue;
        break;
    case prNumber: numberProc(); break;
    case prSlash: slashProc(); break;
    case prSemicolon:
        Forward();
        kind_ = tkSymbol;
        state_ = rsProperty;
        break;
    case prOpenBrace:
        Forward();
        kind_ = tkSymbol;
        state_ = rsParam;
        break;
    case prCloseBrace:
        Forward();
        kind_ = tkSymbol;
        state_ = rsSelector;
        break;
    default: wordProc(); break;
    }
}

void TCssHighlighter::selectorProc() {
    if (kSelectorEnd(Ch())) {
        tableProc();
        return;
    }
    ForwardUntil(kSelectorEnd);
    kind_ = tkKey;
}

void TCssHighlighter::slashProc() {
    Forward();
    if (Ch() != '*') {
        kind_ = tkSymbol;
        return;
    }
    Forward();
    commentReturn_ = state_;
    state_ = rsComment;
    kind_ = tkComment;
    if (!cc::LineEnd(Ch())) commentProc();
}

void TCssHighlighter::commentProc() {
    if (AtNul()) {
        kind_ = tkNull;
        return;
    }
    kind_ = tkComment;
    // A line break inside the line's text belongs to the comment; it is a
    // token of its own, so that a line ending in CR LF keeps the tokens
    // before it.
    if (cc::LineEnd(Ch())) {
        ScanLineBreak(tkComment);
        return;
    }
    for (;;) {
        ForwardUntil(kCommentStops);
        if (Ch() != '*') return;  // the comment goes on
        Forward();
        if (Ch() == '/') {
            Forward();
            state_ = commentReturn_;
            return;
        }
    }
}

void TCssHighlighter::stringProc() {
    Forward();
    ForwardUntil(kStringEnd);
    if (Ch() == '"') Forward();
    kind_ = tkString;
}

void TCssHighlighter::numberProc() {
    Forward();
    for (;;) {
        const unsigned char c = Ch();
        if (!kNumberChars(c) || (c == '.' && ChNext() == '.')) break;
        Forward();
    }
    kind_ = tkNumber;
}

void TCssHighlighter::wordProc() {
    if (state_ == rsValue) {
        Forward();
        ForwardUntil(kValueEnd);
        kind_ = tkValue;
        state_ = rsParam;
        return;
    }
    ForwardWhile(kLookupLetters);
    ForwardWhile(cc::Digit);
    kind_ = properties_.Lookup(TokenView());
    if (kPropertyEnd(Ch())) return;
    Forward();
    ForwardUntil(kPropertyEnd);
}

}  // namespace pelm
