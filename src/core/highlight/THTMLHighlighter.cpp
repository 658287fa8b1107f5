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

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isHexDigit(unsigned char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool isLineEnd(unsigned char c) { return c == 0 || c == '\n' || c == '\r'; }

// Character values for the tag hash: letters 1..26 without regard to case,
// ! 123, / 122, everything else 0.
constexpr std::array<int, 256> makeTagValues() {
    std::array<int, 256> t{};
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<size_t>(c)] = c - 'A' + 1;
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = c - 'a' + 1;
    t['!'] = 123;
    t['/'] = 122;
    return t;
}
constexpr std::array<int, 256> kTagValues = makeTagValues();

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

// Characters that make the text routine stop and look: below 32, '<' and '&'.
constexpr std::array<bool, 256> makeTextStops() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 32; ++c) t[static_cast<size_t>(c)] = true;
    t['<'] = true;
    t['&'] = true;
    return t;
}
constexpr std::array<bool, 256> kTextStops = makeTextStops();

// Characters that continue a run of blanks: 1-8, 11, 12, 14-32.
constexpr std::array<bool, 256> makeSpaceRun() {
    std::array<bool, 256> t{};
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = true;
    t['\t'] = t['\n'] = t['\r'] = false;
    return t;
}
constexpr std::array<bool, 256> kSpaceRun = makeSpaceRun();

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
        while (isHexDigit(static_cast<unsigned char>(*p))) ++p;
    } else {
        while (isDigit(static_cast<unsigned char>(*p))) ++p;
    }
    semicolon = *p == ';';
    return semicolon ? p + 1 : p;
}

}  // namespace

uint32_t THTMLHighlighter::TagHash(std::string_view name) {
    uint32_t h = 0;
    for (char ch : name) {
        unsigned char c = static_cast<unsigned char>(ch);
        h += isDigit(c) ? static_cast<uint32_t>(c - '0') : static_cast<uint32_t>(kTagValues[c]);
    }
    return h;
}

int THTMLHighlighter::TagKind(std::string_view name) { return kTagScheme.Lookup(name, TagHash(name)); }

int THTMLHighlighter::NamedEntityLength(const char* p) {
    int n = 0;
    const int limit = kEntities.MaxLength();
    while (n <= limit && (isAsciiLetter(static_cast<unsigned char>(p[1 + n])) || isDigit(static_cast<unsigned char>(p[1 + n]))))
        ++n;
    if (n == 0 || n > limit || p[1 + n] != ';') return 0;
    return kEntities.Contains(p + 1, static_cast<size_t>(n)) ? n + 2 : 0;
}

int THTMLHighlighter::NamedEntityCount() { return kEntityCount; }
int THTMLHighlighter::TagNameCount() { return kTagScheme.KeywordCount(); }

THTMLHighlighter::THTMLHighlighter() {
    commentAttri_ = AddAttribute("Comment");
    identifierAttri_ = AddAttribute("Identifier");
    identifierAttri_->SetStyle(fsBold);
    keyAttri_ = AddAttribute("Reserved Word");
    keyAttri_->SetForeground(0xFF0080);
    keyAttri_->SetStyle(fsBold);
    spaceAttri_ = AddAttribute("Space");
    symbolAttri_ = AddAttribute("Symbol");
    symbolAttri_->SetStyle(fsBold);
    textAttri_ = AddAttribute("Text");
    undefKeyAttri_ = AddAttribute("Unknown Word");
    undefKeyAttri_->SetForeground(clRed);
    undefKeyAttri_->SetStyle(fsBold);
    valueAttri_ = AddAttribute("Value");
    valueAttri_->SetForeground(0xFF8000);
    andAttri_ = AddAttribute("Escape Ampersand");
    andAttri_->SetForeground(clLime);
    andAttri_->SetStyle(fsBold);

    kindAttri_[tkAmpersand] = andAttri_;
    kindAttri_[tkComment] = commentAttri_;
    kindAttri_[tkIdentifier] = identifierAttri_;
    kindAttri_[tkKey] = keyAttri_;
    kindAttri_[tkNull] = nullptr;
    kindAttri_[tkSpace] = spaceAttri_;
    kindAttri_[tkSymbol] = symbolAttri_;
    kindAttri_[tkText] = textAttri_;
    kindAttri_[tkUndefKey] = undefKeyAttri_;
    kindAttri_[tkValue] = valueAttri_;

    SetDefaultFilter(BuiltInFilter);
    FinishConstruction();
}

void THTMLHighlighter::ApplyMainWindowColours() {
    BeginConfiguration();
    andAttri_->SetForeground(clGreen);
    commentAttri_->SetForeground(clGray);
    commentAttri_->SetStyle(fsItalic);
    SetDefaultFilter(BuiltInFilter);
    ConfigurationFinished();
}

THighlighterAttributes* THTMLHighlighter::RoleAttribute(int role) const {
    switch (role) {
    case hrComment: return commentAttri_;
    case hrIdentifier: return identifierAttri_;
    case hrKeyword: return keyAttri_;
    case hrWhitespace: return spaceAttri_;
    case hrSymbol: return symbolAttri_;
    default: return nullptr;
    }
}

TCharSet THTMLHighlighter::WordCharSet() const {
    TCharSet set;
    set.AddRange('0', '9').AddRange('A', 'Z').Add('_').AddRange('a', 'z');
    set.AddRange(192, 214).AddRange(216, 246).AddRange(248, 255);
    return set;
}

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
    tokenPos_ = run_;
    switch (state_) {
    case rsComment: commentProc(); break;
    case rsText: textProc(); break;
    case rsSingleQuoted:
    case rsDoubleQuoted:
        if (isLineEnd(static_cast<unsigned char>(line_[run_])))
            tableProc();
        else
            quotedValueProc();
        break;
    default: tableProc(); break;
    }
}

void THTMLHighlighter::tableProc() {
    switch (kRoutines[static_cast<unsigned char>(line_[run_])]) {
    case prNull: kind_ = tkNull; break;
    case prSpace: spaceProc(); break;
    case prLF: lfProc(); break;
    case prCR: crProc(); break;
    case prQuote: quoteProc(); break;
    case prAmpersand: ampersandProc(); break;
    case prOpen: openProc(); break;
    case prEquals: equalsProc(); break;
    case prClose: closeProc(); break;
    default: wordProc(); break;
    }
}

void THTMLHighlighter::spaceProc() {
    ++run_;
    while (kSpaceRun[static_cast<unsigned char>(line_[run_])]) ++run_;
    kind_ = tkSpace;
}

void THTMLHighlighter::lfProc() {
    ++run_;
    kind_ = tkSpace;
}

void THTMLHighlighter::crProc() {
    ++run_;
    if (line_[run_] == '\n') ++run_;
    kind_ = tkSpace;
}

void THTMLHighlighter::openProc() {
    ++run_;
    if (line_[run_] == '!' && line_[run_ + 1] == '-' && line_[run_ + 2] == '-') {
        run_ += 3;
        kind_ = tkComment;
        state_ = rsComment;
    } else {
        kind_ = tkSymbol;
        state_ = rsTagName;
    }
}

void THTMLHighlighter::closeProc() {
    ++run_;
    kind_ = tkSymbol;
    state_ = rsText;
}

void THTMLHighlighter::equalsProc() {
    ++run_;
    kind_ = tkSymbol;
    state_ = rsValue;
}

void THTMLHighlighter::quoteProc() {
    if (state_ != rsValue) {
        wordProc();
        return;
    }
    state_ = line_[run_] == '"' ? rsDoubleQuoted : rsSingleQuoted;
    ++run_;
    quotedValueProc();
}

void THTMLHighlighter::quotedValueProc() {
    kind_ = tkValue;
    const char quote = state_ == rsSingleQuoted ? '\'' : '"';
    for (;;) {
        unsigned char c = static_cast<unsigned char>(line_[run_]);
        if (isLineEnd(c)) return;  // the value goes on in the next line
        ++run_;
        if (c == static_cast<unsigned char>(quote)) {
            state_ = rsTag;
            return;
        }
    }
}

void THTMLHighlighter::wordProc() {
    if (state_ == rsTagName) {
        // Tag name: letters, ! and /, then digits; possibly empty.
        while (true) {
            unsigned char c = static_cast<unsigned char>(line_[run_]);
            if (!isAsciiLetter(c) && c != '!' && c != '/') break;
            ++run_;
        }
        while (isDigit(static_cast<unsigned char>(line_[run_]))) ++run_;
        state_ = rsTag;
        kind_ = TagKind(TokenView());
        return;
    }
    ++run_;  // the first character always belongs to the word
    if (state_ == rsValue) {
        // Unquoted value: up to a blank, a control character or '>'.
        while (true) {
            unsigned char c = static_cast<unsigned char>(line_[run_]);
            if (c <= 32 || c == '>') break;
            ++run_;
        }
        state_ = rsTag;
        kind_ = tkValue;
        return;
    }
    // Attribute name: up to a blank, a control character, '"', '=' or '>'.
    while (true) {
        unsigned char c = static_cast<unsigned char>(line_[run_]);
        if (c <= 32 || c == '"' || c == '=' || c == '>') break;
        ++run_;
    }
    kind_ = tkIdentifier;
}

void THTMLHighlighter::ampersandProc() {
    if (state_ == rsAmpersand) {
        if (pendingEntity_ > 0) {
            run_ += pendingEntity_;
            kind_ = tkAmpersand;
        } else {
            ++run_;
            bool semicolon = false;
            if (line_[run_] == '#') {
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
        ++run_;
        kind_ = tkText;
        state_ = rsText;
        return;
    }
    wordProc();
}

void THTMLHighlighter::textProc() {
    unsigned char c = static_cast<unsigned char>(line_[run_]);
    if (c < 32 || c == '<') {
        tableProc();
        return;
    }
    kind_ = tkText;
    for (;;) {
        c = static_cast<unsigned char>(line_[run_]);
        if (!kTextStops[c]) {
            ++run_;
            continue;
        }
        if (c != '&') return;  // below 32 or '<'
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
        ++run_;  // a plain '&' is text
    }
}

void THTMLHighlighter::commentProc() {
    if (isLineEnd(static_cast<unsigned char>(line_[run_]))) {
        tableProc();
        return;
    }
    kind_ = tkComment;
    for (;;) {
        unsigned char c = static_cast<unsigned char>(line_[run_]);
        if (isLineEnd(c)) return;  // the comment goes on
        ++run_;
        if (c == '>' && run_ >= 3 && line_[run_ - 2] == '-' && line_[run_ - 3] == '-') {
            state_ = rsText;
            return;
        }
    }
}

}  // namespace pelm
