#pragma once
// Highlighter for HTML documents: tag names (known and unknown), attribute
// names, attribute values (quoted or not, also across lines), comments,
// character entities and text.
#include <cstdint>
#include <string>

#include "core/highlight/KeywordSchemes.h"
#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class THTMLHighlighter : public TLanguageHighlighter {
public:
    // Token kinds.
    enum TTokenKind : int {
        tkAmpersand = 0,   // character entity
        tkComment = 1,
        tkIdentifier = 2,  // attribute name, or a tag name whose hash is 251 or more
        tkKey = 3,         // known tag name
        tkNull = 4,        // end of line
        tkSpace = 5,
        tkSymbol = 6,      // < > =
        tkText = 7,
        tkUndefKey = 8,    // tag name not in the list
        tkValue = 9,       // attribute value, quotes included
    };
    static constexpr int KindCount = 10;

    // The range: one byte of the 32-bit state.
    enum TRangeState : uint8_t {
        rsAmpersand = 0,     // a recognised entity is the next token (never survives the line)
        rsComment = 1,
        rsTagName = 2,       // after <
        rsTag = 3,           // after the tag name, an attribute name or a value
        rsText = 4,          // the initial state
        rsUnused = 5,
        rsValue = 6,         // after =
        rsSingleQuoted = 7,  // inside '...'
        rsDoubleQuoted = 8,  // inside "..."
    };

    static constexpr const char* BuiltInFilter = "HTML Documents (*.htm;*.html)|*.htm;*.html";
    // Tag names whose hash is this or more are identifiers.
    static constexpr int TagSlotCount = 251;

    // Rows of the attribute table, in creation order.
    enum TAttributeRow : int {
        atComment, atIdentifier, atKey, atSpace, atSymbol, atText, atUndefKey, atValue, atAnd,
    };
    static const TLanguageSpec Language;

    THTMLHighlighter();

    THighlighterAttributes* AndAttri() const { return Attribute(atAnd); }
    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* IdentifierAttri() const { return Attribute(atIdentifier); }
    THighlighterAttributes* KeyAttri() const { return Attribute(atKey); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }
    THighlighterAttributes* TextAttri() const { return Attribute(atText); }
    THighlighterAttributes* UndefKeyAttri() const { return Attribute(atUndefKey); }
    THighlighterAttributes* ValueAttri() const { return Attribute(atValue); }

    void ResetState() override;
    void SetState(uint32_t state) override;
    uint32_t GetState() const override { return state_; }
    void StartLine(std::string_view text, int lineIndex) override;
    void NextToken() override;

    // Kind of a tag name as the tag lookup gives it (for tests and tools).
    static int TagKind(std::string_view name);
    // Hash of a tag name: letter values 1..26, ! 123, / 122, digits their value.
    static uint32_t TagHash(std::string_view name);
    // Length of the named entity "&name;" starting at p (which points at '&'), or 0.
    static int NamedEntityLength(const char* p);
    static int NamedEntityCount();
    static int TagNameCount();

private:
    void tableProc();
    void quoteProc();
    void quotedValueProc();
    void ampersandProc();
    void openProc();
    void equalsProc();
    void closeProc();
    void wordProc();
    void textProc();
    void commentProc();

    uint8_t state_ = rsText;
    // Length of the named entity the last text token stopped in front of; 0 = none.
    int pendingEntity_ = 0;
};

}  // namespace pelm
