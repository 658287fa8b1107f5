#include "core/highlight/TXMLHighlighter.h"

#include <array>

namespace pelm {

namespace {

using X = TXMLHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Element Name", clMaroon, fsBold},
    {"Text", clBlack, fsBold},
    {"Whitespace"},
    {"Entity Reference", clBlue, fsBold},
    {"Processing Instruction", clBlue},
    {"CDATA Section", clOlive, fsItalic},
    {"Comment", clGray, fsBold | fsItalic, clSilver},
    {"DOCTYPE Section", clBlue, fsItalic},
    {"Attribute Name", clMaroon},
    {"Namespace Attribute Name", clRed},
    {"Attribute Value", clNavy, fsBold},
    {"Namespace Attribute Value", clRed, fsBold},
    {"Symbol", clBlue},
};

constexpr TKindSpec kKinds[] = {
    {"squote", X::atAttributeValue},
    {"squote-entity", X::atEntityRef},
    {"attr", X::atAttribute, hrIdentifier},
    {"cdata", X::atCDATA},
    {"comment", X::atComment, hrComment},
    {"element", X::atElement, hrKeyword},
    {"entity", X::atEntityRef},
    {"attr-symbol", X::atSymbol},
    {"eol", kNoAttribute},
    {"pi", X::atProcessingInstruction},
    {"dquote", X::atAttributeValue},
    {"dquote-entity", X::atEntityRef},
    {"space", X::atSpace, hrWhitespace},
    {"symbol", X::atSymbol, hrSymbol},
    {"text", X::atText},
    {"ns-squote", X::atNamespaceAttributeValue},
    {"ns-squote-entity", X::atEntityRef},
    {"ns-attr", X::atNamespaceAttribute},
    {"ns-attr-symbol", X::atSymbol},
    {"ns-dquote", X::atNamespaceAttributeValue},
    {"ns-dquote-entity", X::atEntityRef},
    {"doctype", X::atDocType},
};
static_assert(std::size(kKinds) == X::KindCount);

constexpr const char* kStateNames[] = {
    "squote", "squote-entity", "tag", "cdata", "comment", "element", "text-entity", "after-attr", "pi", "dquote",
    "dquote-entity", "text", "ns-squote", "ns-squote-entity", "ns-after-attr", "ns-dquote", "ns-dquote-entity",
    "doctype", "doctype-subset",
};

constexpr TAttributeOverride kMainWindow[] = {
    {X::atComment, std::nullopt, fsItalic, clNone},
};

// Every state but the five entity states may end a line.
constexpr uint64_t kLineEndStates = ((uint64_t{1} << 19) - 1) & ~((uint64_t{1} << X::rsAPosEntityRef) |
                                                                 (uint64_t{1} << X::rsEntityRef) |
                                                                 (uint64_t{1} << X::rsQuoteEntityRef) |
                                                                 (uint64_t{1} << X::rsnsAPosEntityRef) |
                                                                 (uint64_t{1} << X::rsnsQuoteEntityRef));

// Element and attribute names: - . 0-9 : A-Z _ a-z (no byte above 127).
constexpr TCharClass kNameChars = cc::Digit | cc::AsciiLetter | TCharClass{'-', '.', ':', '_'};
// What ends an entity reference before it: a control character or a blank.
constexpr TCharClass kEntityEnd = cc::ControlOrBlank;
// What the routine after an attribute name stops at.
constexpr TStopClass kAfterNameStops{cc::LineEnd | TCharClass{'/', '"', '\''}};

// Where the multi-line constructs stop to look.
constexpr TStopClass kCommentStops{TCharClass{'-', '\n', '\r'}};
constexpr TStopClass kCloseStops{TCharClass{'>', '\n', '\r'}};
constexpr TStopClass kDocTypeStops{TCharClass{'>', '[', '\n', '\r'}};
constexpr TStopClass kSubsetStops{TCharClass{']', '\n', '\r'}};

enum TRoutine : uint8_t { prNull, prSpace, prLineBreak, prOpen, prClose, prName };

constexpr std::array<uint8_t, 256> makeRoutines() {
    std::array<uint8_t, 256> t{};
    for (auto& r : t) r = prName;  // 33-59, 61, 63-255
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = prSpace;
    t[0] = prNull;
    t['\n'] = prLineBreak;
    t['\r'] = prLineBreak;
    t['<'] = prOpen;
    t['>'] = prClose;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

}  // namespace

constinit const TLanguageSpec TXMLHighlighter::Language = {
    "XML",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    kLineEndStates,
    (cc::Digit | cc::AsciiLetter | TCharClass{'-', '.', '_'} | cc::Cp1251WordLetter).ToSet(),
    kMainWindow,
};

TXMLHighlighter::TXMLHighlighter() : TLanguageHighlighter(Language) {}

void TXMLHighlighter::ApplyMainWindowColours() {
    wantBracesParsed_ = false;
    TLanguageHighlighter::ApplyMainWindowColours();
}

void TXMLHighlighter::NextToken() {
    BeginToken();
    switch (state_) {
    case rsCDATA: cdataProc(); break;
    case rsComment: commentProc(); break;
    case rsProcessingInstruction: processingInstructionProc(); break;
    case rsText: textProc(); break;
    case rsDocType:
    case rsDocTypeSquareBraces: docTypeProc(); break;
    default: tableProc(); break;
    }
}

void TXMLHighlighter::tableProc() {
    switch (kRoutines[Ch()]) {
    case prNull: kind_ = tkNull; break;
    case prSpace: ScanSpaceRun(tkSpace); break;
    case prLineBreak: ScanLineBreak(tkSpace); break;
    case prOpen: openProc(); break;
    case prClose:
        Forward();
        kind_ = tkSymbol;
        state_ = rsText;
        break;
    default: nameProc(); break;
    }
}

void TXMLHighlighter::openProc() {
    Forward();
    if (Ch() == '/') Forward();
    if (Ch() == '!') {
        if (Match("!--")) {
            Forward(3);
            kind_ = tkSymbol;
            state_ = rsComment;
        } else if (Match("!DOCTYPE")) {
            Forward(8);
            kind_ = tkDocType;
            state_ = rsDocType;
        } else if (Match("![CDATA[")) {
            Forward(8);
            kind_ = tkCDATA;
            state_ = rsCDATA;
        } else {
            Forward();
            kind_ = tkSymbol;
            state_ = rsElement;
        }
    } else if (Ch() == '?') {
        Forward();
        kind_ = tkProcessingInstruction;
        state_ = rsProcessingInstruction;
    } else {
        kind_ = tkSymbol;
        state_ = rsElement;
    }
}

void TXMLHighlighter::commentProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    if (Match("-->")) {
        Forward(3);
        kind_ = tkSymbol;
        state_ = rsText;
        return;
    }
    // Up to the closing "-->", which is a token of its own.
    kind_ = tkComment;
    for (;;) {
        ForwardUntil(kCommentStops);
        if (Ch() != '-' || Match("-->")) return;
        Forward();
    }
}

void TXMLHighlighter::processingInstructionProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkProcessingInstruction;
    for (;;) {
        ForwardUntil(kCloseStops);
        if (Ch() != '>') return;  // goes on in the next line
        const bool closes = ChPrev() == '?';
        Forward();
        if (closes) {
            state_ = rsText;
            return;
        }
    }
}

void TXMLHighlighter::cdataProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkCDATA;
    for (;;) {
        ForwardUntil(kCloseStops);
        if (Ch() != '>') return;  // goes on in the next line
        const bool closes = ChPrev() == ']';
        Forward();
        if (closes) {
            state_ = rsText;
            return;
        }
    }
}

void TXMLHighlighter::docTypeProc() {
    if (cc::LineEnd(Ch())) {
        tableProc();
        return;
    }
    kind_ = tkDocType;
    if (state_ == rsDocType) {
        ForwardUntil(kDocTypeStops);
        if (Ch() == '>') {
            Forward();
            state_ = rsAttribute;
            return;
        }
        if (Ch() != '[') return;  // goes on in the next line
        state_ = rsDocTypeSquareBraces;  // the subset belongs to this token
    }
    ForwardUntil(kSubsetStops);
    if (Ch() == ']') {
        Forward();
        state_ = rsDocType;
    }
}

void TXMLHighlighter::textProc() {
    const unsigned char c = Ch();
    if (c < 32 || c == '<') {
        tableProc();
        return;
    }
    kind_ = tkText;
    ForwardUntil(cc::MarkupTextStops);
    if (Ch() == '&') state_ = rsEntityRef;  // the reference is the next token
}

void TXMLHighlighter::nameProc() {
    switch (state_) {
    case rsElement:
        if (Ch() == '/') Forward();
        ForwardWhile(kNameChars);
        kind_ = tkElement;
        state_ = rsAttribute;
        break;
    case rsAttribute:
        if (Ch() == '"' || Ch() == '\'') {
            Forward();
            kind_ = tkSymbol;
            break;
        }
        ForwardWhile(kNameChars);
        if (TokenView().find("xmlns") != std::string_view::npos) {
            kind_ = tknsAttribute;
            state_ = rsnsEqual;
        } else {
            kind_ = tkAttribute;
            state_ = rsEqual;
        }
        break;
    case rsEqual: afterAttributeNameProc(false); break;
    case rsnsEqual: afterAttributeNameProc(true); break;
    case rsQuoteAttrValue: quotedValueProc('"', tkQuoteAttrValue, rsQuoteEntityRef); break;
    case rsnsQuoteAttrValue: quotedValueProc('"', tknsQuoteAttrValue, rsnsQuoteEntityRef); break;
    case rsAposAttrValue: quotedValueProc('\'', tkAposAttrValue, rsAPosEntityRef); break;
    case rsnsAposAttrValue: quotedValueProc('\'', tknsAposAttrValue, rsnsAPosEntityRef); break;
    case rsAPosEntityRef: entityRefProc(tkAposEntityRef, rsAposAttrValue); break;
    case rsEntityRef: entityRefProc(tkEntityRef, rsText); break;
    case rsQuoteEntityRef: entityRefProc(tkQuoteEntityRef, rsQuoteAttrValue); break;
    case rsnsAPosEntityRef: entityRefProc(tknsAposEntityRef, rsnsAposAttrValue); break;
    case rsnsQuoteEntityRef: entityRefProc(tknsQuoteEntityRef, rsnsQuoteAttrValue); break;
    default:
        // A state no scan leaves behind (an out-of-range SetState): the
        // character is text, so that the line still reaches its end.
        Forward();
        kind_ = tkText;
        break;
    }
}

void TXMLHighlighter::afterAttributeNameProc(bool ns) {
    kind_ = ns ? tknsEqual : tkEqual;
    ForwardUntil(kAfterNameStops);
    switch (Ch()) {
    case '/':
        Forward();
        kind_ = tkSymbol;
        state_ = rsElement;
        break;
    case '"':
        Forward();
        state_ = ns ? rsnsQuoteAttrValue : rsQuoteAttrValue;
        break;
    case '\'':
        Forward();
        state_ = ns ? rsnsAposAttrValue : rsAposAttrValue;
        break;
    default: break;  // a line end: the state goes on
    }
}

void TXMLHighlighter::quotedValueProc(unsigned char quote, int kind, uint8_t entityState) {
    kind_ = kind;
    for (;;) {
        const unsigned char c = Ch();
        if (c == quote) {
            state_ = rsAttribute;  // the closing quote is a symbol of its own
            return;
        }
        if (c == '&') {
            state_ = entityState;
            return;
        }
        if (cc::LineEnd(c)) return;
        Forward();
    }
}

void TXMLHighlighter::entityRefProc(int kind, uint8_t returnState) {
    kind_ = kind;
    for (;;) {
        const unsigned char c = Ch();
        if (kEntityEnd(c)) break;
        Forward();
        if (c == ';') break;
    }
    state_ = returnState;
}

}  // namespace pelm
