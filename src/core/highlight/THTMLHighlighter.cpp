#include "core/highlight/THTMLHighlighter.h"

#include <array>
#include <cstring>

namespace pelm {

namespace {

// The named entities, each recognised as "&name;" with letter case significant.
constexpr const char* kEntityNames[] = {
    "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa",
    "Lambda", "Mu", "Nu", "Xi", "Omicron", "Pi", "Rho", "Sigma", "Tau", "Upsilon", "Phi", "Chi",
    "Psi", "Omega", "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota",
    "kappa", "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigmaf", "sigma", "tau",
    "upsilon", "phi", "chi", "psi", "omega", "thetasym", "upsih", "piv", "bull", "hellip", "prime",
    "Prime", "oline", "frasl", "weierp", "image", "real", "trade", "alefsym", "larr", "uarr",
    "rarr", "darr", "harr", "crarr", "lArr", "uArr", "rArr", "dArr", "hArr", "forall", "part",
    "exist", "empty", "nabla", "isin", "notin", "ni", "prod", "sum", "minus", "lowast", "radic",
    "prop", "infin", "ang", "and", "or", "cap", "cup", "int", "there4", "sim", "cong", "asymp",
    "ne", "equiv", "le", "ge", "sub", "sup", "nsub", "sube", "supe", "oplus", "otimes", "perp",
    "sdot", "lceil", "rceil", "lfloor", "rfloor", "lang", "rang", "loz", "spades", "clubs",
    "hearts", "diams", "lsquo", "rsquo", "sbquo", "ldquo", "rdquo", "bdquo", "dagger", "Dagger",
    "permil", "lsaquo", "rsaquo", "quot", "amp", "lt", "gt", "ndash", "mdash", "nbsp", "thinsp",
    "ensp", "emsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "brkbar", "sect", "uml",
    "die", "copy", "ordf", "laquo", "not", "shy", "reg", "macr", "hibar", "deg", "plusmn", "sup2",
    "sup3", "acute", "micro", "para", "middot", "cedil", "sup1", "ordm", "raquo", "frac14",
    "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig",
    "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH",
    "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute",
    "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml",
    "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc",
    "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash",
    "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml", "euro", "OElig", "oelig",
    "scaron", "Scaron", "fnof", "circ",
};
constexpr int kEntityCount = static_cast<int>(sizeof(kEntityNames) / sizeof(kEntityNames[0]));
static_assert(kEntityCount == 249);

// The known tag names, compared without regard to letter case.
constexpr const char* kTagNames[] = {
    "!DOCTYPE", "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE", "BASEFONT",
    "BDO", "BGSOUND", "BIG", "BLINK", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER",
    "CITE", "CODE", "COL", "COLGROUP", "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT",
    "EM", "EMBED", "FIELDSET", "FONT", "FORM", "FRAME", "FRAMESET", "H1", "H2", "H3", "H4", "H5",
    "H6", "HEAD", "HR", "HTML", "I", "IFRAME", "ILAYER", "IMG", "INPUT", "INS", "ISINDEX", "KBD",
    "KEYGEN", "LABEL", "LAYER", "LEGEND", "LI", "LINK", "LISTING", "MAP", "MARQUEE", "MENU",
    "META", "MULTICOL", "NEXTID", "NOBR", "NOEMBED", "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT",
    "OL", "OPTGROUP", "OPTION", "P", "PARAM", "PLAINTEXT", "PRE", "Q", "S", "SAMP", "SCRIPT",
    "SELECT", "SERVER", "SMALL", "SPACER", "SPAN", "STRIKE", "STRONG", "STYLE", "SUB", "SUP",
    "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TITLE", "TR", "TT", "U", "UL",
    "VAR", "WBR", "XMP", "/A", "/ABBR", "/ACRONYM", "/ADDRESS", "/APPLET", "/B", "/BDO", "/BIG",
    "/BLINK", "/BLOCKQUOTE", "/BODY", "/BUTTON", "/CAPTION", "/CENTER", "/CITE", "/CODE",
    "/COLGROUP", "/COMMENT", "/DD", "/DEL", "/DFN", "/DIR", "/DIV", "/DL", "/DT", "/EM", "/EMBED",
    "/FIELDSET", "/FONT", "/FORM", "/FRAMESET", "/H1", "/H2", "/H3", "/H4", "/H5", "/H6", "/HEAD",
    "/HTML", "/I", "/IFRAME", "/ILAYER", "/INS", "/KBD", "/LABEL", "/LAYER", "/LEGEND", "/LI",
    "/LISTING", "/MAP", "/MARQUEE", "/MENU", "/MULTICOL", "/NOBR", "/NOEMBED", "/NOFRAMES",
    "/NOLAYER", "/NOSCRIPT", "/OBJECT", "/OL", "/OPTGROUP", "/OPTION", "/P", "/PRE", "/Q", "/S",
    "/SAMP", "/SCRIPT", "/SELECT", "/SERVER", "/SMALL", "/SPAN", "/STRIKE", "/STRONG", "/STYLE",
    "/SUB", "/SUP", "/TABLE", "/TBODY", "/TD", "/TEXTAREA", "/TFOOT", "/TH", "/THEAD", "/TITLE",
    "/TR", "/TT", "/U", "/UL", "/VAR", "/XMP",
};
constexpr int kTagCount = static_cast<int>(sizeof(kTagNames) / sizeof(kTagNames[0]));
static_assert(kTagCount == 202);

// Which scanning routine handles each character.
enum TRoutine : uint8_t { prNull, prSpace, prLF, prCR, prQuote, prAmpersand, prOpen, prEquals, prClose, prWord };

constexpr std::array<uint8_t, 256> makeRoutines() {
    std::array<uint8_t, 256> t{};
    for (auto& r : t) r = prWord;
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = prSpace;
    t[0] = prNull;
    t['\n'] = prLF;
    t['\r'] = prCR;
    t['"'] = prQuote;
    t['\''] = prQuote;
    t['&'] = prAmpersand;
    t['<'] = prOpen;
    t['='] = prEquals;
    t['>'] = prClose;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

// What ends a tag name's run of letters: letters, '!' and '/' continue it.
constexpr TCharClass kTagNameChars = cc::AsciiLetter | TCharClass{'!', '/'};
// What ends an unquoted value: a control character, a blank or '>'.
constexpr TStopClass kUnquotedValueEnd{cc::ControlOrBlank | TCharClass{'>'}};
// What ends an attribute name: a control character, a blank, '"', '=' or '>'.
constexpr TStopClass kAttributeNameEnd{cc::ControlOrBlank | TCharClass{'"', '=', '>'}};

// Open-addressing set of the entity names.
class EntitySet {
public:
    EntitySet() {
        for (const char* name : kEntityNames) {
            size_t len = std::strlen(name);
            if (static_cast<int>(len) > maxLength_) maxLength_ = static_cast<int>(len);
            size_t slot = hash(name, len);
            while (slots_[slot]) slot = (slot + 1) & (kSize - 1);
            slots_[slot] = name;
            lengths_[slot] = static_cast<uint8_t>(len);
        }
    }
    bool Contains(const char* p, size_t len) const {
        for (size_t slot = hash(p, len); slots_[slot]; slot = (slot + 1) & (kSize - 1))
            if (lengths_[slot] == len && std::memcmp(slots_[slot], p, len) == 0) return true;
        return false;
    }
    int MaxLength() const { return maxLength_; }

private:
    static constexpr size_t kSize = 1024;
    static size_t hash(const char* p, size_t len) {
        uint32_t h = 2166136261u;
        for (size_t i = 0; i < len; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 16777619u;
        return h & (kSize - 1);
    }
    const char* slots_[kSize] = {};
    uint8_t lengths_[kSize] = {};
    int maxLength_ = 0;
};

const EntitySet kEntities;

TKeywordSchemeA makeTagScheme() {
    TKeywordSchemeA scheme(THTMLHighlighter::TagSlotCount, kcIgnoreCase, THTMLHighlighter::tkUndefKey,
                           THTMLHighlighter::tkIdentifier);
    for (const char* name : kTagNames) scheme.Add(name, THTMLHighlighter::tkKey, THTMLHighlighter::TagHash(name));
    return scheme;
}

const TKeywordSchemeA kTagScheme = makeTagScheme();

// End of a numeric reference whose "&#" ends just before p: "x" or "X" and hex
// digits, or decimal digits; sets semicolon when a ';' closes it (included).
const char* scanNumericReference(const char* p, bool& semicolon) {
    if (*p == 'x' || *p == 'X') {
        ++p;
        while (cc::HexDigit(static_cast<unsigned char>(*p))) ++p;
    } else {
        while (cc::Digit(static_cast<unsigned char>(*p))) ++p;
    }
    semicolon = *p == ';';
    return semicolon ? p + 1 : p;
}

}  // namespace

uint32_t THTMLHighlighter::TagHash(std::string_view name) { return LetterDigitHash(name); }

int THTMLHighlighter::TagKind(std::string_view name) { return kTagScheme.Lookup(name, TagHash(name)); }

int THTMLHighlighter::NamedEntityLength(const char* p) {
    int n = 0;
    const int limit = kEntities.MaxLength();
    while (n <= limit && (cc::AsciiLetter(static_cast<unsigned char>(p[1 + n])) || cc::Digit(static_cast<unsigned char>(p[1 + n]))))
        ++n;
    if (n == 0 || n > limit || p[1 + n] != ';') return 0;
    return kEntities.Contains(p + 1, static_cast<size_t>(n)) ? n + 2 : 0;
}

int THTMLHighlighter::NamedEntityCount() { return kEntityCount; }
int THTMLHighlighter::TagNameCount() { return kTagScheme.KeywordCount(); }

namespace {

using H = THTMLHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Comment"},
    {"Identifier", clNone, fsBold},
    {"Reserved Word", 0xFF0080, fsBold},
    {"Space"},
    {"Symbol", clNone, fsBold},
    {"Text"},
    {"Unknown Word", clRed, fsBold},
    {"Value", 0xFF8000},
    {"Escape Ampersand", clLime, fsBold},
};

constexpr TKindSpec kKinds[] = {
    {"entity", H::atAnd},
    {"comment", H::atComment, hrComment},
    {"identifier", H::atIdentifier, hrIdentifier},
    {"keyword", H::atKey, hrKeyword},
    {"eol", kNoAttribute},
    {"space", H::atSpace, hrWhitespace},
    {"symbol", H::atSymbol, hrSymbol},
    {"text", H::atText},
    {"unknown", H::atUndefKey},
    {"value", H::atValue},
};
static_assert(std::size(kKinds) == H::KindCount);

constexpr const char* kStateNames[] = {"entity", "comment", "tagname", "tag", "text", "unused", "value", "squote", "dquote"};

constexpr TAttributeOverride kMainWindow[] = {
    {H::atAnd, clGreen},
    {H::atComment, clGray, fsItalic},
};

}  // namespace

constinit const TLanguageSpec THTMLHighlighter::Language = {
    "HTML",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    (1u << rsComment) | (1u << rsTagName) | (1u << rsTag) | (1u << rsText) | (1u << rsValue) | (1u << rsSingleQuoted) |
        (1u << rsDoubleQuoted),
    (cc::Digit | cc::AsciiLetter | TCharClass{'_'} | cc::Cp1251WordLetter).ToSet(),
    kMainWindow,
};

THTMLHighlighter::THTMLHighlighter() : TLanguageHighlighter(Language) {}

void THTMLHighlighter::ResetState() {
    state_ = rsText;
    pendingEntity_ = 0;
}

void THTMLHighlighter::SetState(uint32_t state) {
    state_ = static_cast<uint8_t>(state & 0xFF);
    pendingEntity_ = 0;
}

void THTMLHighlighter::StartLine(std::string_view text, int lineIndex) {
    KeepLine(text, lineIndex);
    pendingEntity_ = 0;
    NextToken();
}

void THTMLHighlighter::NextToken() {
    BeginToken();
    switch (state_) {
    case rsComment: commentProc(); break;
    case rsText: textProc(); break;
    case rsSingleQuoted:
    case rsDoubleQuoted:
        if (cc::LineEnd(Ch()))
            tableProc();
        else
            quotedValueProc();
        break;
    default: tableProc(); break;
    }
}

void THTMLHighlighter::tableProc() {
    switch (kRoutines[Ch()]) {
    case prNull: kind_ = tkNull; break;
    case prSpace: ScanSpaceRun(tkSpace); break;
    case prLF:
    case prCR: ScanLineBreak(tkSpace); break;
    case prQuote: quoteProc(); break;
    case prAmpersand: ampersandProc(); break;
    case prOpen: openProc(); break;
    case prEquals: equalsProc(); break;
    case prClose: closeProc(); break;
    default: wordProc(); break;
    }
}

void THTMLHighlighter::openProc() {
    Forward();
    if (Match("!--")) {
        Forward(3);
        kind_ = tkComment;
        state_ = rsComment;
    } else {
        kind_ = tkSymbol;
        state_ = rsTagName;
    }
}

void THTMLHighlighter::closeProc() {
    Forward();
    kind_ = tkSymbol;
    state_ = rsText;
}

void THTMLHighlighter::equalsProc() {
    Forward();
    kind_ = tkSymbol;
    state_ = rsValue;
}

void THTMLHighlighter::quoteProc() {
    if (state_ != rsValue) {
        wordProc();
        return;
    }
    state_ = Ch() == '"' ? rsDoubleQuoted : rsSingleQuoted;
    Forward();
    quotedValueProc();
}

void THTMLHighlighter::quotedValueProc() {
    kind_ = tkValue;
    const unsigned char quote = state_ == rsSingleQuoted ? '\'' : '"';
    for (;;) {
        unsigned char c = Ch();
        if (cc::LineEnd(c)) return;  // the value goes on in the next line
        Forward();
        if (c == quote) {
            state_ = rsTag;
            return;
        }
    }
}

void THTMLHighlighter::wordProc() {
    if (state_ == rsTagName) {
        // Tag name: letters, ! and /, then digits; possibly empty.
        ForwardWhile(kTagNameChars);
        ForwardWhile(cc::Digit);
        state_ = rsTag;
        kind_ = TagKind(TokenView());
        return;
    }
    Forward();  // the first character always belongs to the word
    if (state_ == rsValue) {
        ForwardUntil(kUnquotedValueEnd);
        state_ = rsTag;
        kind_ = tkValue;
        return;
    }
    ForwardUntil(kAttributeNameEnd);
    kind_ = tkIdentifier;
}

void THTMLHighlighter::ampersandProc() {
    if (state_ == rsAmpersand) {
        if (pendingEntity_ > 0) {
            Forward(pendingEntity_);
            kind_ = tkAmpersand;
        } else {
            Forward();
            bool semicolon = false;
            if (Ch() == '#') {
                const char* end = scanNumericReference(line_ + run_ + 1, semicolon);
                run_ = static_cast<int>(end - line_);
            }
            kind_ = semicolon ? tkAmpersand : tkText;
        }
        pendingEntity_ = 0;
        state_ = rsText;
        return;
    }
    if (state_ == rsTagName) {
        // "<&": the tag is abandoned and the '&' is text.
        Forward();
        kind_ = tkText;
        state_ = rsText;
        return;
    }
    wordProc();
}

void THTMLHighlighter::textProc() {
    unsigned char c = Ch();
    if (c < 32 || c == '<') {
        tableProc();
        return;
    }
    kind_ = tkText;
    for (;;) {
        ForwardUntil(cc::MarkupTextStops);
        if (Ch() != '&') return;  // below 32 or '<'
        const char* p = line_ + run_;
        if (p[1] == '#') {
            bool semicolon = false;
            const char* end = scanNumericReference(p + 2, semicolon);
            if (semicolon) {
                state_ = rsAmpersand;  // the reference is the next token
                pendingEntity_ = 0;
            } else {
                run_ = static_cast<int>(end - line_);  // "&#" and its digits stay text
            }
            return;
        }
        int len = NamedEntityLength(p);
        if (len > 0) {
            state_ = rsAmpersand;
            pendingEntity_ = len;
            return;
        }
        Forward();  // a plain '&' is text
    }
}

void THTMLHighlighter::commentProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkComment;
    for (;;) {
        unsigned char c = Ch();
        if (cc::LineEnd(c)) return;  // the comment goes on
        Forward();
        if (c == '>' && run_ >= 3 && line_[run_ - 2] == '-' && line_[run_ - 3] == '-') {
            state_ = rsText;
            return;
        }
    }
}

}  // namespace pelm
