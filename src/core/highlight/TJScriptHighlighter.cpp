#include "core/highlight/TJScriptHighlighter.h"

#include <array>

#include "core/highlight/KeywordSlots.h"
#include "core/highlight/ScriptScanning.h"

namespace pelm {

namespace {

using J = TJScriptHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Comment", clNone, fsItalic},
    {"Identifier"},
    {"Reserved Word", clNone, fsBold},
    {"Non-reserved Keyword"},
    {"Event"},
    {"Number"},
    {"Space"},
    {"String"},
    {"Symbol"},
};

constexpr TKindSpec kKinds[] = {
    {"comment", J::atComment, hrComment},
    {"identifier", J::atIdentifier, hrIdentifier},
    {"reserved", J::atKey, hrKeyword},
    {"eol", kNoAttribute},
    {"number", J::atNumber},
    {"space", J::atSpace, hrWhitespace},
    {"string", J::atString, hrString},
    {"symbol", J::atSymbol, hrSymbol},
    {"unknown", J::atIdentifier},
    {"builtin", J::atNonReservedKey},
    {"event", J::atEvent},
};
static_assert(std::size(kKinds) == J::KindCount);

constexpr const char* kStateNames[] = {"normal", "comment"};

constexpr TAttributeOverride kMainWindow[] = {
    {J::atComment, clGray},
};

constexpr const char* kReservedWords[] = {
    "abstract", "boolean", "break", "byte", "callee", "case", "catch", "char", "class", "const", "constructor",
    "continue", "debugger", "default", "delete", "do", "double", "else", "enum", "export", "extends", "false",
    "final", "finally", "float", "for", "function", "goto", "if", "implements", "import", "in", "instanceof",
    "int", "interface", "long", "NaN", "native", "new", "null", "package", "private", "protected", "prototype",
    "public", "return", "short", "start", "static", "super", "switch", "synchronized", "this", "throw",
    "throws", "transient", "true", "try", "typeof", "var", "void", "while", "with",
};
static_assert(std::size(kReservedWords) == 63);

constexpr const char* kBuiltInNames[] = {
    "abs", "acos", "action", "alert", "align", "alinkColor", "All", "all", "Anchor", "anchor", "anchors",
    "appCodeName", "Applet", "applets", "appName", "appVersion", "Area", "Arguments", "arguments", "Array",
    "asin", "atan", "atan2", "back", "background", "bgColor", "big", "blink", "blur", "body", "bold", "Boolean",
    "border", "bottom", "Button", "call", "caller", "captureEvents", "ceil", "charAt", "charCodeAt",
    "Checkbox", "checked", "clear", "clearInterval", "clearTimeout", "click", "close", "closed", "color",
    "complete", "concat", "confirm", "cookie", "cos", "current", "Date", "defaultChecked", "defaultSelected",
    "defaultStatus", "defaultValue", "description", "display", "document", "domain", "E", "elements", "Embed",
    "embeds", "enabledPlugin", "encoding", "escape", "eval", "event", "exp", "fgColor", "filename",
    "FileUpload", "find", "fixed", "Float", "floor", "focus", "fontcolor", "fontsize", "Form", "form", "forms",
    "forward", "Frame", "frames", "fromCharCode", "Function", "getDate", "getDay", "getElementById",
    "getFullYear", "getHours", "getMilliseconds", "getMinutes", "getMonth", "getSeconds", "getTime",
    "getTimezoneOffset", "getUTCDate", "getUTCDay", "getUTCFullYear", "getUTCHours", "getUTCMilliseconds",
    "getUTCMinutes", "getUTCMonth", "getUTCSeconds", "getYear", "Global", "go", "handleEvent", "hash",
    "height", "Hidden", "History", "history", "home", "host", "hostname", "href", "hspace", "Image", "images",
    "index", "indexOf", "Infinity", "innerHeight", "innerWidth", "input", "isFinite", "isNaN", "italics",
    "java", "javaEnabled", "join", "lastIndexOf", "lastModified", "Layer", "layers", "left", "length", "Link",
    "link", "linkColor", "links", "LN10", "LN2", "Location", "location", "locationbar", "log", "LOG10E",
    "LOG2E", "logon", "lowsrc", "match", "Math", "max", "MAX_VALUE", "menubar", "method", "MimeType",
    "mimeTypes", "min", "MIN_VALUE", "moveBy", "moveTo", "name", "Navigator", "navigator",
    "NEGATIVE_INFINITY", "netscape", "next", "Null", "Number", "Object", "open", "opener", "Option", "options",
    "outerHeight", "outerWidth", "Packages", "pageX", "pageXOffset", "pageY", "pageYOffset", "parent",
    "parse", "parseFloat", "parseInt", "Password", "pathname", "personalbar", "PI", "platform", "Plugin",
    "plugins", "port", "POSITIVE_INFINITY", "pow", "previous", "print", "prompt", "protocol", "Radio",
    "random", "referrer", "refresh", "RegExp", "releaseEvents", "reload", "replace", "Reset", "reset",
    "resizeBy", "resizeTo", "reverse", "right", "round", "routeEvent", "screen", "scroll", "scrollbars",
    "scrollBy", "scrollTo", "search", "Select", "select", "selected", "selectedIndex", "self", "setDate",
    "setFullYear", "setHours", "setInterval", "setMilliseconds", "setMinutes", "setMonth", "setSeconds",
    "setTime", "setTimeout", "setUTCDate", "setUTCFullYear", "setUTCHours", "setUTCMilliseconds",
    "setUTCMinutes", "setUTCMonth", "setUTCSeconds", "setYear", "sin", "slice", "small", "sort", "split",
    "sqrt", "SQRT1_2", "SQRT2", "src", "status", "statusbar", "stop", "strike", "String", "style", "sub",
    "Submit", "submit", "substr", "substring", "suffixes", "sup", "tags", "taint", "taintEnabled", "tan",
    "target", "Text", "text", "Textarea", "title", "toGMTString", "toLocaleString", "toLowerCase", "toolbar",
    "top", "toSource", "toString", "toUpperCase", "toUTCString", "type", "Undefined", "undefined", "unescape",
    "untaint", "unwatch", "URL", "userAgent", "UTC", "value", "valueOf", "visibility", "vlinkColor", "vspace",
    "watch", "width", "Window", "window", "write", "writeln", "zIndex",
};
static_assert(std::size(kBuiltInNames) == 316);

constexpr const char* kEventNames[] = {
    "onAbort", "onBlur", "onChange", "onClick", "onDblClick", "onError", "onFocus", "onKeyDown", "onKeyPress",
    "onKeyUp", "onLoad", "onMouseDown", "onMouseMove", "onMouseOut", "onMouseOver", "onMouseUp", "onReset",
    "onSelect", "onSubmit", "onUnload",
};
static_assert(std::size(kEventNames) == 20);

TKeywordSlots makeKeywords() {
    std::vector<TKeywordSlots::Keyword> list;
    for (const char* w : kReservedWords) list.push_back({w, J::tkKey, J::WordHash(w)});
    for (const char* w : kBuiltInNames) list.push_back({w, J::tkNonReservedKey, J::WordHash(w)});
    for (const char* w : kEventNames) list.push_back({w, J::tkEvent, J::WordHash(w)});
    return TKeywordSlots(J::KeywordSlotCount, kcCaseSensitive, J::tkIdentifier, J::tkIdentifier, list);
}

// Built once, at first use.
const TKeywordSlots& keywords() {
    static const TKeywordSlots slots = makeKeywords();
    return slots;
}

enum TRoutine : uint8_t {
    prNull, prSpace, prLineBreak, prString, prUnknown, prModMul, prAnd, prPlus, prMinus, prOr, prDot, prSlash,
    prNumber, prIdent, prSymbol,
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
    t['"'] = prString;
    t['\''] = prString;
    for (unsigned char c : {'#', '$', '@', '\\', '^', '`'}) t[c] = prUnknown;
    t['%'] = prModMul;
    t['*'] = prModMul;
    t['&'] = prAnd;
    t['+'] = prPlus;
    t['-'] = prMinus;
    t['|'] = prOr;
    t['.'] = prDot;
    t['/'] = prSlash;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

constexpr TCharClass kCommentStops = cc::LineEnd | TCharClass{'*'};

}  // namespace

constinit const TLanguageSpec TJScriptHighlighter::Language = {
    "JavaScript",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    (1u << rsNormal) | (1u << rsComment),
    script::EditorWordChar.ToSet(),
    kMainWindow,
};

TJScriptHighlighter::TJScriptHighlighter() : TLanguageHighlighter(Language), keywords_(&keywords()) {}

uint32_t TJScriptHighlighter::WordHash(std::string_view word) { return script::LetterUnderscoreHash(word); }

int TJScriptHighlighter::WordKind(std::string_view word) { return keywords().Lookup(word, WordHash(word)); }

int TJScriptHighlighter::KeywordCount() { return keywords().KeywordCount(); }

void TJScriptHighlighter::NextToken() {
    BeginToken();
    if (state_ == rsComment)
        commentProc();
    else
        tableProc();
}

void TJScriptHighlighter::tableProc() {
    switch (kRoutines[Ch()]) {
    case prNull: kind_ = tkNull; break;
    case prSpace:
        run_ = script::SkipWhile(line_, run_ + 1, script::BlankRun);
        kind_ = tkSpace;
        break;
    case prLineBreak: ScanLineBreak(tkSpace); break;
    case prString: stringProc(); break;
    case prUnknown:
        Forward();
        kind_ = tkUnknown;
        break;
    case prModMul:  // % %= * *=
        Forward();
        if (Ch() == '=') Forward();
        kind_ = tkSymbol;
        break;
    case prAnd:  // & && &=
        Forward();
        if (Ch() == '&' || Ch() == '=') Forward();
        kind_ = tkSymbol;
        break;
    case prPlus:  // + ++ +=
        Forward();
        if (Ch() == '+' || Ch() == '=') Forward();
        kind_ = tkSymbol;
        break;
    case prMinus:  // - -- -= ->
        Forward();
        if (Ch() == '-' || Ch() == '=' || Ch() == '>') Forward();
        kind_ = tkSymbol;
        break;
    case prOr:  // | || |=
        Forward();
        if (Ch() == '|' || Ch() == '=') Forward();
        kind_ = tkSymbol;
        break;
    case prDot:  // . or ...
        Forward(Match("...") ? 3 : 1);
        kind_ = tkSymbol;
        break;
    case prSlash: slashProc(); break;
    case prNumber: numberProc(); break;
    case prIdent: identProc(); break;
    default:
        Forward();
        kind_ = tkSymbol;
        break;
    }
}

void TJScriptHighlighter::slashProc() {
    Forward();
    switch (Ch()) {
    case '*':
        Forward();
        state_ = rsComment;
        kind_ = tkComment;
        if (!cc::LineEnd(Ch())) commentProc();
        break;
    case '/':
        run_ = script::SkipUntil(line_, run_, cc::LineEnd);
        kind_ = tkComment;
        break;
    case '=':
        Forward();
        kind_ = tkSymbol;
        break;
    default: kind_ = tkSymbol; break;
    }
}

void TJScriptHighlighter::commentProc() {
    if (AtNul()) {
        kind_ = tkNull;
        return;
    }
    kind_ = tkComment;
    // A line break inside the line's text stays inside the comment, as a
    // token of its own.
    if (cc::LineEnd(Ch())) {
        ScanLineBreak(tkComment);
        return;
    }
    for (;;) {
        run_ = script::SkipUntil(line_, run_, kCommentStops);
        if (Ch() != '*') return;  // the comment goes on in the next line
        Forward();
        if (Ch() == '/') {
            Forward();
            state_ = rsNormal;
            return;
        }
    }
}

void TJScriptHighlighter::stringProc() {
    const char quote = static_cast<char>(Ch());
    Forward();
    if (Ch() == static_cast<unsigned char>(quote) && ChNext() == static_cast<unsigned char>(quote)) Forward(2);
    bool closed = false;
    run_ = script::SkipQuoted(line_, run_, quote, script::QuotedStops, closed);
    kind_ = tkString;
}

void TJScriptHighlighter::numberProc() {
    const bool leadingZero = Ch() == '0';
    Forward();
    bool hex = false;
    for (;;) {
        const unsigned char c = Ch();
        if (cc::Digit(c) || (hex && cc::HexDigit(c))) {
            Forward();
        } else if (c == '.') {
            if (ChNext() == '.') break;
            Forward();
        } else if ((c == 'x' || c == 'X') && leadingZero && run_ == tokenPos_ + 1 && cc::HexDigit(ChNext())) {
            hex = true;
            Forward();
        } else {
            break;
        }
    }
    kind_ = tkNumber;
}

void TJScriptHighlighter::identProc() {
    uint32_t hash = 0;
    run_ = script::SkipWord(line_, run_, script::LetterUnderscoreValues.data(), hash);
    kind_ = keywords_->Lookup(TokenSpan(), hash);
}

}  // namespace pelm
