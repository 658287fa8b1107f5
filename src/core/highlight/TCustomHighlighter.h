#pragma once
// The base of every highlighter. A highlighter cuts one line at a time into
// tokens, each with a kind and a display attribute, and keeps a small state (the
// range) telling which construct is open at the end of the line.
//
// Calling order, for painting, rescans and printing alike:
//   1. before line i (1-based): ResetState() for i = 1, else SetState(range of line i-1);
//   2. StartLine(text of line i, i-1)  -- the first token is already scanned;
//   3. while !AtLineEnd(): read TokenStart/TokenText/TokenView/TokenAttribute/TokenKind,
//      then NextToken();
//   4. GetState() is the range at the end of line i (ScanToLineEnd() does 3 blind).
//
// The line is kept as a NUL-terminated copy, so a scanner's look-ahead stops at
// the NUL; a NUL inside the line ends the scan there. NextToken never allocates.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/highlight/TCharSet.h"
#include "core/highlight/TScanContext.h"
#include "core/highlight/THighlighterAttributes.h"
#include "core/platform/Errors.h"

namespace pelm {

// Raised by a highlighter's constructor on a faulty attribute or keyword list.
class EHighlighterError : public EError {
public:
    using EError::EError;
};

// Common roles an attribute can play, for RoleAttribute.
enum THighlighterRole : int {
    hrComment = 0,
    hrIdentifier = 1,
    hrKeyword = 2,
    hrString = 3,
    hrWhitespace = 4,
    hrSymbol = 5,
};

// The scanning context is a protected base: the scanning routines of a
// language work on it directly.
class TCustomHighlighter : protected TScanContext {
public:
    using ChangeCallback = std::function<void()>;

    TCustomHighlighter();
    virtual ~TCustomHighlighter();
    TCustomHighlighter(const TCustomHighlighter&) = delete;
    TCustomHighlighter& operator=(const TCustomHighlighter&) = delete;

    // Attributes, in name order.
    int AttributeCount() const { return static_cast<int>(attributes_.size()); }
    // None (nullptr) when i is outside 0..AttributeCount()-1.
    THighlighterAttributes* AttributeAt(int i) const;
    // The attribute playing a common role, or nullptr when the highlighter has none.
    virtual THighlighterAttributes* RoleAttribute(int role) const = 0;

    const std::string& DefaultFilter() const { return defaultFilter_; }
    void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
    // Whether DefaultFilter differs from the built-in one; the base always says so.
    virtual bool IsFilterStored() const { return true; }

    // Characters that form words for the editor's word operations.
    virtual TCharSet WordCharSet() const;
    const TCharSet& BreakCharSet() const { return breakCharSet_; }
    void SetBreakCharSet(const TCharSet& set) { breakCharSet_ = set; }
    virtual std::string SampleText() const { return {}; }
    virtual std::string LanguageName() const { return "<Unknown>"; }
    virtual bool KeywordTest(std::string_view word) const { return false; }

    // Scanning.
    virtual void ResetState() {}
    virtual void SetState(uint32_t state) {}
    virtual uint32_t GetState() const { return 0; }
    // Keeps the line (0-based index lineIndex) and scans its first token.
    virtual void StartLine(std::string_view text, int lineIndex) = 0;
    virtual void NextToken() = 0;
    virtual bool AtLineEnd() const = 0;
    virtual int TokenKind() const = 0;
    // nullptr: paint the token with the editor's own colours and style.
    virtual THighlighterAttributes* TokenAttribute() const = 0;
    // 0-based index of the token's first character in the line.
    virtual int TokenStart() const { return tokenPos_; }
    // Copy of the token's text.
    virtual std::string TokenText() const { return std::string(TokenView()); }
    // The token's text without a copy; valid until the next StartLine.
    std::string_view TokenView() const { return TokenSpan(); }
    // Scan position: the index just past the current token.
    int ScanPosition() const { return run_; }
    int LineIndex() const { return lineIndex_; }
    // The kept line, without its NUL terminator.
    std::string_view LineText() const { return KeptLine(); }

    // NextToken until AtLineEnd.
    void ScanToLineEnd();

    // Change subscribers (the editors using this highlighter). The key
    // identifies the subscriber for Unsubscribe; subscribing again replaces.
    // onDestroyed, when given, runs when the highlighter is destroyed while
    // the subscriber is still subscribed, so that an editor can let go of it.
    void Subscribe(const void* key, ChangeCallback cb, ChangeCallback onDestroyed = {});
    void Unsubscribe(const void* key);
    int SubscriberCount() const { return static_cast<int>(subscribers_.size()); }

    // The main window configures a highlighter between these two calls;
    // attribute changes in between notify nobody, and the end notifies once.
    void BeginConfiguration() { configuring_ = true; }
    void ConfigurationFinished();
    bool Configuring() const { return configuring_; }

    // The change callback of every attribute: notifies each subscriber once,
    // unless the highlighter is being configured.
    void AttributeChanged();

protected:
    // Creates an attribute owned by this highlighter and keeps the list sorted by
    // name; a second attribute of the same name raises EHighlighterError.
    THighlighterAttributes* AddAttribute(std::string name);
    // The end of a constructor: snapshot the defaults, install change callbacks.
    void FinishConstruction();

    // Keeps text as a NUL-terminated line and resets the positions.
    void KeepLine(std::string_view text, int lineIndex) {
        TScanContext::KeepLine(text);
        lineIndex_ = lineIndex;
    }

private:
    std::vector<std::unique_ptr<THighlighterAttributes>> attributes_;
    struct Subscriber {
        const void* key;
        ChangeCallback cb;
        ChangeCallback onDestroyed;
    };
    std::vector<Subscriber> subscribers_;
    TCharSet breakCharSet_;
    std::string defaultFilter_;
    bool configuring_ = false;
    int lineIndex_ = 0;
};

}  // namespace pelm
