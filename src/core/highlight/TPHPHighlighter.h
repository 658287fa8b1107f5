#pragma once
// Highlighter for PHP scripts: keywords (letter case ignored), identifiers,
// $variables (also inside double-quoted strings), numbers, strings that may run
// over several lines, heredoc text, '#', '//' and '/* */' comments, and
// operators. The whole file is scanned as code.
//
// The range keeps the state in its low byte. While a heredoc is open (state
// rsHeredoc) the bits above hold the number of its identifier in a table this
// highlighter owns, so that a line scanned from its stored state looks for the
// same closing identifier as a scan of the whole text.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class TKeywordSlots;

class TPHPHighlighter : public TLanguageHighlighter {
public:
    enum TTokenKind : int {
        tkComment = 0,
        tkIdentifier = 1,
        tkKey = 2,
        tkNull = 3,  // end of line
        tkNumber = 4,
        tkSpace = 5,
        tkString = 6,
        tkSymbol = 7,
        tkUnknown = 8,  // a character without a meaning
        tkVariable = 9,
    };
    static constexpr int KindCount = 10;

    enum TRangeState : uint8_t {
        rsCode = 0,  // the initial state
        rsSingleQuoted = 1,
        rsDoubleQuoted = 2,
        rsComment = 3,  // inside /* */
        rsVariable = 4,  // a variable inside a double-quoted string comes next
        rsHeredoc = 5,
    };

    enum TAttributeRow : int {
        atComment, atIdentifier, atKey, atNumber, atSpace, atString, atSymbol, atVariable,
    };
    static const TLanguageSpec Language;
    static constexpr const char* BuiltInFilter = "PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc";
    // Words whose hash is this or more are identifiers.
    static constexpr int KeywordSlotCount = 207;
    // Heredoc identifiers the range can name (24 bits above the state byte).
    static constexpr uint32_t MaxHeredocIdentifiers = 0xFFFFFF;

    TPHPHighlighter();

    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* IdentifierAttri() const { return Attribute(atIdentifier); }
    THighlighterAttributes* KeyAttri() const { return Attribute(atKey); }
    THighlighterAttributes* NumberAttri() const { return Attribute(atNumber); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* StringAttri() const { return Attribute(atString); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }
    THighlighterAttributes* VariableAttri() const { return Attribute(atVariable); }

    void ResetState() override;
    void SetState(uint32_t state) override;
    uint32_t GetState() const override;
    void StartLine(std::string_view text, int lineIndex) override {
        closeAt_ = kCloseUnknown;
        TLanguageHighlighter::StartLine(text, lineIndex);
    }
    void NextToken() override;

    // The identifier of the open heredoc; empty when none is open.
    std::string_view HeredocIdentifier() const;
    int HeredocIdentifierCount() const { return static_cast<int>(identifiers_.size()); }

    static int WordKind(std::string_view word);
    static uint32_t WordHash(std::string_view word);
    static int KeywordCount();

private:
    void tableProc();
    void stringProc(bool continuing);
    void commentProc(bool continuing);
    void variableProc();
    void heredocProc();
    void openHeredoc();
    int findHeredocClose(std::string_view identifier, int from) const;

    static constexpr int kCloseUnknown = -1;
    static constexpr int kCloseNone = 0x7FFFFFFF;

    const TKeywordSlots* keywords_;
    uint8_t state_ = rsCode;
    // 1-based number of the open heredoc's identifier; 0: none.
    uint32_t heredoc_ = 0;
    // Where on the current line the open heredoc's identifier closes it
    // (kCloseUnknown: not searched yet; kCloseNone: nowhere from here on).
    int closeAt_ = kCloseUnknown;

    struct ViewHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::vector<std::string> identifiers_;
    std::unordered_map<std::string, uint32_t, ViewHash, std::equal_to<>> identifierNumbers_;
};

}  // namespace pelm
