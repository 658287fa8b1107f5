#pragma once
// Highlighter for HTML documents: tag names (known and unknown), attribute
// names, attribute values (quoted or not, also across lines), comments,
// character entities and text.
#include <cstdint>
#include <string>

#include "core/highlight/KeywordSchemes.h"
#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

class THTMLHighlighter : public TCustomHighlighter {
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

    THTMLHighlighter();

    // The values the main window's configuration gives its HTML highlighter,
    // applied as one configuration: subscribers hear of it once, at the end.
    void ApplyMainWindowColours();

    THighlighterAttributes* AndAttri() const { return andAttri_; }
    THighlighterAttributes* CommentAttri() const { return commentAttri_; }
    THighlighterAttributes* IdentifierAttri() const { return identifierAttri_; }
    THighlighterAttributes* KeyAttri() const { return keyAttri_; }
    THighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
    THighlighterAttributes* SymbolAttri() const { return symbolAttri_; }
    THighlighterAttributes* TextAttri() const { return textAttri_; }
    THighlighterAttributes* UndefKeyAttri() const { return undefKeyAttri_; }
    THighlighterAttributes* ValueAttri() const { return valueAttri_; }

    THighlighterAttributes* RoleAttribute(int role) const override;
    TCharSet WordCharSet() const override;
    std::string LanguageName() const override { return "HTML"; }
    bool IsFilterStored() const override { return DefaultFilter() != BuiltInFilter; }

    void ResetState() override;
    void SetState(uint32_t state) override;
    uint32_t GetState() const override { return state_; }
    void StartLine(std::string_view text, int lineIndex) override;
    void NextToken() override;
    bool AtLineEnd() const override { return kind_ == tkNull; }
    int TokenKind() const override { return kind_; }
    THighlighterAttributes* TokenAttribute() const override { return kindAttri_[kind_]; }

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
    void spaceProc();
    void crProc();
    void lfProc();
    void quoteProc();
    void quotedValueProc();
    void ampersandProc();
    void openProc();
    void equalsProc();
    void closeProc();
    void wordProc();
    void textProc();
    void commentProc();

    THighlighterAttributes* andAttri_;
    THighlighterAttributes* commentAttri_;
    THighlighterAttributes* identifierAttri_;
    THighlighterAttributes* keyAttri_;
    THighlighterAttributes* spaceAttri_;
    THighlighterAttributes* symbolAttri_;
    THighlighterAttributes* textAttri_;
    THighlighterAttributes* undefKeyAttri_;
    THighlighterAttributes* valueAttri_;
    THighlighterAttributes* kindAttri_[KindCount];

    uint8_t state_ = rsText;
    int kind_ = tkNull;
    // Length of the named entity the last text token stopped in front of; 0 = none.
    int pendingEntity_ = 0;
};

}  // namespace pelm
