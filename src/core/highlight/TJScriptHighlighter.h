#pragma once
// Highlighter for JavaScript: reserved words, built-in object, property and
// method names, event handler names, identifiers, numbers, strings, line and
// block comments, and operators. Only a block comment runs over several lines.
// Words are looked up in hash slots (scheme A), letter case significant.
#include <cstdint>

#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class TKeywordSlots;

class TJScriptHighlighter : public TLanguageHighlighter {
public:
    enum TTokenKind : int {
        tkComment = 0,
        tkIdentifier = 1,
        tkKey = 2,  // reserved word
        tkNull = 3,  // end of line
        tkNumber = 4,
        tkSpace = 5,
        tkString = 6,
        tkSymbol = 7,
        tkUnknown = 8,  // a character without a meaning
        tkNonReservedKey = 9,  // built-in object, property or method name
        tkEvent = 10,  // event handler name
    };
    static constexpr int KindCount = 11;

    enum TRangeState : uint8_t {
        rsNormal = 0,  // code; the initial state
        rsComment = 1, // inside a /* */ comment
    };

    enum TAttributeRow : int {
        atComment, atIdentifier, atKey, atNonReservedKey, atEvent, atNumber, atSpace, atString, atSymbol,
    };
    static const TLanguageSpec Language;
    static constexpr const char* BuiltInFilter = "Javascript Files (*.js)|*.js";
    // Words whose hash is this or more are identifiers.
    static constexpr int KeywordSlotCount = 253;

    TJScriptHighlighter();

    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* IdentifierAttri() const { return Attribute(atIdentifier); }
    THighlighterAttributes* KeyAttri() const { return Attribute(atKey); }
    THighlighterAttributes* NonReservedKeyAttri() const { return Attribute(atNonReservedKey); }
    THighlighterAttributes* EventAttri() const { return Attribute(atEvent); }
    THighlighterAttributes* NumberAttri() const { return Attribute(atNumber); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* StringAttri() const { return Attribute(atString); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }

    void ResetState() override { state_ = rsNormal; }
    void SetState(uint32_t state) override { state_ = static_cast<uint8_t>(state & 0xFF); }
    uint32_t GetState() const override { return state_; }
    void NextToken() override;

    // The kind the keyword lookup gives word (for tests and tools).
    static int WordKind(std::string_view word);
    static uint32_t WordHash(std::string_view word);
    static int KeywordCount();

private:
    void tableProc();
    void slashProc();
    void commentProc();
    void stringProc();
    void numberProc();
    void identProc();

    const TKeywordSlots* keywords_;
    uint8_t state_ = rsNormal;
};

}  // namespace pelm
