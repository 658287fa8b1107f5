#pragma once
// Everything the editor asks of an attached highlighter, behind one small
// interface, so that the editor is complete without one. An adapter over the
// highlighter framework implements it.
#include <array>
#include <functional>

namespace pelm {

class TCodeEditStringList;

class TCodeEditHighlighterLink {
public:
    using CharSet = std::array<bool, 256>;
    virtual ~TCodeEditHighlighterLink() = default;

    // Identifier characters (the wrap map breaks at every other byte).
    virtual CharSet IdentChars() const = 0;
    // Word characters for the word commands: identifier minus word-break characters.
    virtual CharSet WordChars() const = 0;
    // Whether the character at a 0-based line index and 1-based column stands in a
    // token drawn with the comment or the string attribute.
    virtual bool InCommentOrString(const TCodeEditStringList& lines, int index, int column) = 0;
    // Incremental rescan from line i (0-based): stops at the first line whose new
    // end state equals the stored one. Returns that line, Count-1 when the scan
    // ran to the end, or i unchanged when i >= Count.
    virtual int RescanFrom(TCodeEditStringList& lines, int index) = 0;
    // After count lines were inserted at index: rescans from index, and whenever
    // a rescan stops inside the block, goes on from the line after the stop until
    // the whole block is covered. Returns the last line rescanned.
    int RescanInserted(TCodeEditStringList& lines, int index, int count);
    // Scans every line from the initial state and stores each end state.
    virtual void FullRescan(TCodeEditStringList& lines) = 0;
    // Change notification while attached; nullptr to unsubscribe.
    virtual void Subscribe(std::function<void()> onChange) = 0;
};

}  // namespace pelm
