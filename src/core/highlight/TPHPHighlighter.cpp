#include "core/highlight/TPHPHighlighter.h"

#include <array>

#include "core/highlight/KeywordSlots.h"
#include "core/highlight/ScriptScanning.h"

namespace pelm {

namespace {

using H = TPHPHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Comment", clNone, fsItalic},
    {"Identifier"},
    {"Reserved Word", clNone, fsBold},
    {"Number"},
    {"Space"},
    {"String"},
    {"Symbol"},
    {"Variable"},
};

constexpr TKindSpec kKinds[] = {
    {"comment", H::atComment, hrComment},
    {"identifier", H::atIdentifier, hrIdentifier},
    {"keyword", H::atKey, hrKeyword},
    {"eol", kNoAttribute},
    {"number", H::atNumber},
    {"space", H::atSpace, hrWhitespace},
    {"string", H::atString, hrString},
    {"symbol", H::atSymbol, hrSymbol},
    {"unknown", H::atIdentifier},
    {"variable", H::atVariable},
};
static_assert(std::size(kKinds) == H::KindCount);

constexpr const char* kStateNames[] = {"code", "single", "double", "comment", "variable", "heredoc"};

constexpr TAttributeOverride kMainWindow[] = {
    {H::atComment, clGray},
};

constexpr const char* kKeywords[] = {
    "__FILE__", "__LINE__", "and", "array", "break", "case", "cfunction", "class", "const", "continue",
    "default", "die", "do", "double", "echo", "else", "elseif", "empty", "endfor", "endif", "endswitch",
    "endwhile", "eval", "exit", "extends", "false", "float", "for", "foreach", "function", "global",
    "highlight_file", "highlight_string", "if", "include", "int", "integer", "isset", "list", "new", "object",
    "old_function", "or", "print", "real", "require", "return", "show_source", "static", "string", "switch",
    "true", "unset", "var", "while", "xor",
};
static_assert(std::size(kKeywords) == 56);

TKeywordSlots makeKeywords() {
    std::vector<TKeywordSlots::Keyword> list;
    for (const char* w : kKeywords) list.push_back({w, H::tkKey, H::WordHash(w)});
    return TKeywordSlots(H::KeywordSlotCount, kcTableValue, H::tkIdentifier, H::tkIdentifier, list,
                         script::LetterUnderscoreValues.data());
}

// Built once, at first use.
const TKeywordSlots& keywords() {
    static const TKeywordSlots slots = makeKeywords();
    return slots;
}

enum TRoutine : uint8_t {
    prNull, prSpace, prLineBreak, prQuote, prHash, prDollar, prSlash, prLess, prNumber, prIdent, prUnknown,
    prAnd, prEquals, prGreater, prMinus, prPlus, prOr, prWithEquals, prSymbol,
};

constexpr std::array<uint8_t, 256> makeRoutines() {
    std::array<uint8_t, 256> t{};
    for (auto& r : t) r = prSymbol;
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = prSpace;
    for (int c = 127; c <= 255; ++c) t[static_cast<size_t>(c)] = prUnknown;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = prNumber;
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<size_t>(c)] = prIdent;
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = prIdent;
    t['_'] = prIdent;
    t[0] = prNull;
    t['\n'] = prLineBreak;
    t['\r'] = prLineBreak;
    t['\''] = prQuote;
    t['"'] = prQuote;
    t['#'] = prHash;
    t['$'] = prDollar;
    t['/'] = prSlash;
    t['<'] = prLess;
    t['\\'] = prUnknown;
    t['`'] = prUnknown;
    t['&'] = prAnd;
    t['='] = prEquals;
    t['>'] = prGreater;
    t['-'] = prMinus;
    t['+'] = prPlus;
    t['|'] = prOr;
    for (unsigned char c : {'*', '!', '%', '^'}) t[c] = prWithEquals;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

// What continues a number after its first digit.
constexpr TCharClass kNumberChars = cc::Digit | TCharClass::Range('A', 'F') | TCharClass::Range('a', 'f') |
                                    TCharClass{'-', '.', 'L', 'X', 'l', 'x'};
constexpr TCharClass kCommentStops = cc::LineEnd | TCharClass{'*'};
// Where a quoted string stops to look: its line's end, and in a double-quoted
// string a '$' that may start a variable.
constexpr TCharClass kSingleStops = cc::LineEnd;
constexpr TCharClass kDoubleStops = cc::LineEnd | TCharClass{'$'};

// Length of the run of word characters at p.
int wordRun(const char* p) {
    int n = 0;
    while (script::WordChar(static_cast<unsigned char>(p[n]))) ++n;
    return n;
}

}  // namespace

constinit const TLanguageSpec TPHPHighlighter::Language = {
    "PHP",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    (1u << rsCode) | (1u << rsSingleQuoted) | (1u << rsDoubleQuoted) | (1u << rsComment) | (1u << rsHeredoc),
    script::EditorWordChar.ToSet(),
    kMainWindow,
};

TPHPHighlighter::TPHPHighlighter() : TLanguageHighlighter(Language), keywords_(&keywords()) {}

uint32_t TPHPHighlighter::WordHash(std::string_view word) { return script::LetterUnderscoreHash(word); }

int TPHPHighlighter::WordKind(std::string_view word) { return keywords().Lookup(word, WordHash(word)); }

int TPHPHighlighter::KeywordCount() { return keywords().KeywordCount(); }

void TPHPHighlighter::ResetState() {
    state_ = rsCode;
    heredoc_ = 0;
    closeAt_ = kCloseUnknown;
}

void TPHPHighlighter::SetState(uint32_t state) {
    state_ = static_cast<uint8_t>(state & 0xFF);
    const uint32_t number = state >> 8;
    heredoc_ = state_ == rsHeredoc && number <= identifiers_.size() ? number : 0;
    closeAt_ = kCloseUnknown;
}

uint32_t TPHPHighlighter::GetState() const {
    return state_ == rsHeredoc ? (heredoc_ << 8) | rsHeredoc : state_;
}

std::string_view TPHPHighlighter::HeredocIdentifier() const {
    return heredoc_ ? std::string_view(identifiers_[heredoc_ - 1]) : std::string_view();
}

void TPHPHighlighter::NextToken() {
    BeginToken();
    switch (state_) {
    case rsSingleQuoted:
    case rsDoubleQuoted: stringProc(true); break;
    case rsComment: commentProc(true); break;
    case rsVariable: variableProc(); break;
    case rsHeredoc: heredocProc(); break;
    default:
        state_ = rsCode;
        tableProc();
        break;
    }
}

void TPHPHighlighter::tableProc() {
    const unsigned char c = Ch();
    const uint8_t routine = kRoutines[c];
    switch (routine) {
    case prNull: kind_ = tkNull; return;
    case prSpace:
        run_ = script::SkipWhile(line_, run_ + 1, script::BlankRun);
        kind_ = tkSpace;
        return;
    case prLineBreak: ScanLineBreak(tkSpace); return;
    case prQuote:
        Forward();
        state_ = c == '\'' ? rsSingleQuoted : rsDoubleQuoted;
        stringProc(false);
        return;
    case prHash:
        run_ = script::SkipUntil(line_, run_, cc::LineEnd);
        kind_ = tkComment;
        return;
    case prDollar:
        run_ = script::SkipWhile(line_, run_ + 1, script::WordChar);
        kind_ = tkVariable;
        return;
    case prSlash:
        Forward();
        if (Ch() == '*') {
            Forward();
            state_ = rsComment;
            commentProc(false);
        } else if (Ch() == '/') {
            run_ = script::SkipUntil(line_, run_, cc::LineEnd);
            kind_ = tkComment;
        } else {
            if (Ch() == '=') Forward();
            kind_ = tkSymbol;
        }
        return;
    case prLess:
        if (Match("<<<") && script::WordChar(static_cast<unsigned char>(line_[run_ + 3]))) {
            openHeredoc();
            return;
        }
        Forward();
        if (Ch() == '<') {  // << <<=
            Forward();
            if (Ch() == '=') Forward();
        } else if (Ch() == '=') {
            Forward();
        }
        kind_ = tkSymbol;
        return;
    case prNumber:
        Forward();
        for (;;) {
            const unsigned char d = Ch();
            if (!kNumberChars(d) || (d == '.' && ChNext() == '.')) break;
            Forward();
        }
        kind_ = tkNumber;
        return;
    case prIdent: {
        uint32_t hash = 0;
        run_ = script::SkipWord(line_, run_, script::LetterUnderscoreValues.data(), hash);
        kind_ = keywords_->Lookup(TokenSpan(), hash);
        return;
    }
    case prUnknown:
        Forward();
        kind_ = tkUnknown;
        return;
    default: break;
    }
    // The symbols: one character, and one more that joins it.
    Forward();
    kind_ = tkSymbol;
    const unsigned char n = Ch();
    bool join = false;
    switch (routine) {
    case prAnd: join = n == '&' || n == '='; break;
    case prEquals: join = n == '=' || n == '>'; break;
    case prGreater: join = n == '=' || n == '>'; break;
    case prMinus: join = n == '-' || n == '=' || n == '>'; break;
    case prPlus: join = n == '+' || n == '='; break;
    case prOr: join = n == '|' || n == '='; break;
    case prWithEquals: join = n == '='; break;
    default: break;
    }
    if (join) Forward();
}

void TPHPHighlighter::stringProc(bool continuing) {
    // A string going on from an earlier line: the line's end is not part of it.
    if (continuing && cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkString;
    const bool single = state_ == rsSingleQuoted;
    const char quote = single ? '\'' : '"';
    for (;;) {
        bool closed = false;
        run_ = script::SkipQuoted(line_, run_, quote, single ? kSingleStops : kDoubleStops, closed);
        if (closed) {
            state_ = rsCode;
            return;
        }
        if (Ch() != '$') return;  // the end of the line: the string goes on
        const unsigned char next = ChNext();
        if (next != '{' && !script::WordChar(next)) {
            Forward();  // a '$' that starts no variable
            continue;
        }
        // The variable comes next; a '{' directly before its '$' belongs to it.
        if (run_ > tokenPos_ && line_[run_ - 1] == '{') --run_;
        state_ = rsVariable;
        // Nothing of the string before it: the variable is this token.
        if (run_ == tokenPos_) variableProc();
        return;
    }
}

void TPHPHighlighter::commentProc(bool continuing) {
    if (continuing && cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkComment;
    for (;;) {
        run_ = script::SkipUntil(line_, run_, kCommentStops);
        if (Ch() != '*') return;  // the comment goes on in the next line
        Forward();
        if (Ch() == '/') {
            Forward();
            state_ = rsCode;
            return;
        }
    }
}

void TPHPHighlighter::variableProc() {
    state_ = rsDoubleQuoted;
    if (Match('{', '$') || Match('$', '{')) {
        // The braced form, up to the brace that balances the first one.
        kind_ = tkVariable;
        int depth = 0;
        for (;;) {
            const unsigned char c = Ch();
            if (cc::LineEnd(c)) return;
            Forward();
            if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                return;
            }
        }
    }
    if (Ch() != '$') {
        // Only a state set from outside gets here: go on with the string.
        stringProc(true);
        return;
    }
    kind_ = tkVariable;
    Forward();
    ForwardWhile(script::WordChar);
    // Then any chain of [key], ['key'] and ->name parts that complete.
    for (;;) {
        const char* p = line_ + run_;
        if (p[0] == '[') {
            if (int n = wordRun(p + 1); n > 0 && p[1 + n] == ']') {
                Forward(n + 2);
                continue;
            }
            if (p[1] == '\'') {
                if (int n = wordRun(p + 2); n > 0 && p[2 + n] == '\'' && p[3 + n] == ']') {
                    Forward(n + 4);
                    continue;
                }
            }
            return;
        }
        if (p[0] == '-' && p[1] == '>') {
            if (int n = wordRun(p + 2); n > 0) {
                Forward(n + 2);
                continue;
            }
        }
        return;
    }
}

void TPHPHighlighter::openHeredoc() {
    Forward(3);
    const int start = run_;
    ForwardWhile(script::WordChar);
    const std::string_view id(line_ + start, static_cast<size_t>(run_ - start));
    kind_ = tkString;
    state_ = rsHeredoc;
    closeAt_ = kCloseUnknown;
    auto it = identifierNumbers_.find(id);
    if (it != identifierNumbers_.end()) {
        heredoc_ = it->second;
    } else if (identifiers_.size() < MaxHeredocIdentifiers) {
        identifiers_.emplace_back(id);
        heredoc_ = static_cast<uint32_t>(identifiers_.size());
        identifierNumbers_.emplace(identifiers_.back(), heredoc_);
    } else {
        heredoc_ = 0;  // the table is full: the heredoc ends with its first character
    }
}

void TPHPHighlighter::heredocProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkString;
    if (heredoc_ == 0) {
        Forward();
        state_ = rsCode;
        return;
    }
    const std::string_view id = identifiers_[heredoc_ - 1];
    if (closeAt_ < run_) closeAt_ = findHeredocClose(id, run_);
    if (closeAt_ == run_) {
        Forward(static_cast<int>(id.size()));
        heredoc_ = 0;
        state_ = rsCode;
        closeAt_ = kCloseUnknown;
        return;
    }
    Forward();
}

// The first position at or after from where the line holds identifier
// followed by ';', or kCloseNone. Each ';' is checked by comparing the text
// before it backwards; that comparison stops at the latest at the ';' before,
// so the search reads each character a bounded number of times.
int TPHPHighlighter::findHeredocClose(std::string_view identifier, int from) const {
    const int k = static_cast<int>(identifier.size());
    for (int j = from;; ++j) {
        const char c = line_[j];
        if (c == '\0') return kCloseNone;
        if (c != ';' || j - from < k) continue;
        int i = k;
        while (i > 0 && line_[j - k + i - 1] == identifier[static_cast<size_t>(i - 1)]) --i;
        if (i == 0) return j - k;
    }
}

}  // namespace pelm
