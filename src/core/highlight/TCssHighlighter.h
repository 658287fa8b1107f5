#pragma once
// Highlighter for style sheets: selectors, known and unknown property names,
// values, numbers, colour codes, strings, comments and the punctuation of
// rules. Property names are looked up in hash-entry chains (scheme B).
#include <cstdint>

#include "core/highlight/KeywordSchemes.h"
#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class TCssHighlighter : public TLanguageHighlighter {
public:
    enum TTokenKind : int {
        tkComment = 0,
        tkProperty = 1,     // property name of the list
        tkKey = 2,          // selector
        tkNull = 3,         // end of line
        tkSpace = 4,
        tkString = 5,
        tkSymbol = 6,       // { } ; : , and a lone /
        tkText = 7,         // never produced
        tkUndefProperty = 8,
        tkValue = 9,
        tkColor = 10,
        tkNumber = 11,
    };
    static constexpr int KindCount = 12;

    // The low byte of the range; while it is rsComment, the byte above holds
    // the state the comment returns to.
    enum TRangeState : uint8_t {
        rsComment = 0,
        rsUnused = 1,
        rsParam = 2,     // inside a rule, a property name expected
        rsSelector = 3,  // outside rules; the initial state
        rsProperty = 4,  // after ';' (behaves as rsParam)
        rsValue = 5,     // after ':' or ','
    };

    enum TAttributeRow : int {
        atComment, atProperty, atKey, atUndefProperty, atSpace, atColour, atNumber, atString, atSymbol, atText, atValue,
    };
    static const TLanguageSpec Language;
    static constexpr const char* BuiltInFilter = "Cascading Stylesheets (*.css)|*.css";

    TCssHighlighter();

    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* PropertyAttri() const { return Attribute(atProperty); }
    THighlighterAttributes* KeyAttri() const { return Attribute(atKey); }
    THighlighterAttributes* UndefPropertyAttri() const { return Attribute(atUndefProperty); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* ColourAttri() const { return Attribute(atColour); }
    THighlighterAttributes* NumberAttri() const { return Attribute(atNumber); }
    THighlighterAttributes* StringAttri() const { return Attribute(atString); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }
    THighlighterAttributes* TextAttri() const { return Attribute(atText); }
    THighlighterAttributes* ValueAttri() const { return Attribute(atValue); }

    void ResetState() override;
    void SetState(uint32_t state) override;
    uint32_t GetState() const override;
    void NextToken() override;

    // Kind of a property name as the chains give it (for tests and tools).
    int PropertyKind(std::string_view word) const { return properties_.Lookup(word); }
    int PropertyCount() const { return properties_.KeywordCount(); }

private:
    void tableProc();
    void selectorProc();
    void slashProc();
    void commentProc();
    void stringProc();
    void numberProc();
    void wordProc();

    TKeywordSchemeB properties_;
    uint8_t state_ = rsSelector;
    uint8_t commentReturn_ = rsSelector;
};

}  // namespace pelm
