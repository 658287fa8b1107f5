#pragma once
// The interface the editor's search-replace loop uses to find matches in one line
// and to get the text that replaces a match. Two engines implement it: the plain
// TCodeEditSearch and the regular-expression TCodeEditRegexSearch.
#include <cstdint>
#include <string>
#include <string_view>

namespace pelm {

// Search options: one byte, bits in this order (the engines read bits 0 and 1).
using SearchOptions = uint8_t;
using TSearchOptions = SearchOptions;  // the name this set had at first
enum SearchOption : uint8_t {
    soMatchCase = 1u << 0,     // upper and lower case differ
    soWholeWord = 1u << 1,     // a plain match must be a whole word
    soBackwards = 1u << 2,     // walk from the end of the range to its start
    soEntireScope = 1u << 3,   // the whole range instead of starting at the caret
    soSelectedOnly = 1u << 4,  // the range is the selection
    soReplace = 1u << 5,       // replace the found text
    soReplaceAll = 1u << 6,    // go on after each match
    soPrompt = 1u << 7,        // ask the host before each replacement
};

// The host's answer to a replacement prompt.
enum TCodeReplaceAction : int { raCancel = 0, raSkip = 1, raReplace = 2, raReplaceAll = 3 };

class TCodeEditSearchCustom {
public:
    virtual ~TCodeEditSearchCustom() = default;

    virtual std::string Pattern() const = 0;
    virtual void SetPattern(std::string_view s) = 0;
    // Length in bytes and 1-based byte column of the i-th match of the last
    // FindAllInLine; 0 for an index outside the list.
    virtual int MatchLength(int i) const = 0;
    virtual int MatchPosition(int i) const = 0;
    virtual int MatchCount() const = 0;
    virtual void SetSearchOptions(SearchOptions options) = 0;
    // Finds all matches in one line, left to right, and returns their number.
    virtual int FindAllInLine(std::string_view line) = 0;
    // The text that replaces foundText.
    virtual std::string ReplacementFor(std::string_view foundText, std::string_view replaceText) = 0;
    // The text that replaces the i-th match of the last FindAllInLine, as found in
    // that line (a regular expression sees the text around the match). Lets a
    // replace-all build each line's new text in one pass.
    virtual std::string ReplacementForMatch(int i, std::string_view replaceText) = 0;
};

}  // namespace pelm
