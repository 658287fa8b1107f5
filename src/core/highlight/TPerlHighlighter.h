#pragma once
// Highlighter for Perl scripts: built-in functions and control words, word
// operators, pragma names, special variables, numbers, strings, '#' comments
// and operators. It keeps no state between lines: every line is scanned on its
// own. Words are looked up in hash slots (scheme A) keyed by the sum of their
// character codes, letter case significant.
#include <cstdint>

#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class TKeywordSlots;

class TPerlHighlighter : public TLanguageHighlighter {
public:
    enum TTokenKind : int {
        tkComment = 0,
        tkIdentifier = 1,
        tkKey = 2,  // built-in function or control word
        tkNull = 3,  // end of line
        tkNumber = 4,
        tkOperator = 5,  // word operator
        tkPragma = 6,
        tkSpace = 7,
        tkString = 8,
        tkSymbol = 9,
        tkUnknown = 10,  // illegal character
        tkVariable = 11,  // special variable
    };
    static constexpr int KindCount = 12;

    enum TAttributeRow : int {
        atComment, atIdentifier, atInvalid, atKey, atNumber, atOperator, atPragma, atSpace, atString, atSymbol,
        atVariable,
    };
    static const TLanguageSpec Language;
    static constexpr const char* BuiltInFilter = "Perl Files (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi";
    // Words whose hash is this or more are identifiers.
    static constexpr int KeywordSlotCount = 2168;

    TPerlHighlighter();

    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* IdentifierAttri() const { return Attribute(atIdentifier); }
    THighlighterAttributes* InvalidAttri() const { return Attribute(atInvalid); }
    THighlighterAttributes* KeyAttri() const { return Attribute(atKey); }
    THighlighterAttributes* NumberAttri() const { return Attribute(atNumber); }
    THighlighterAttributes* OperatorAttri() const { return Attribute(atOperator); }
    THighlighterAttributes* PragmaAttri() const { return Attribute(atPragma); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* StringAttri() const { return Attribute(atString); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }
    THighlighterAttributes* VariableAttri() const { return Attribute(atVariable); }

    // No state between lines: GetState is always 0.
    void NextToken() override;

    static int WordKind(std::string_view word);
    // The sum of the word's character codes.
    static uint32_t WordHash(std::string_view word);
    static int KeywordCount();

private:
    void tableProc();
    void doubleQuoteProc();
    void singleQuoteProc();
    void dotOrNumberProc();
    void numberProc();
    void wordProc();
    void lookupWord();

    const TKeywordSlots* keywords_;
};

}  // namespace pelm
