#pragma once
// What the editor model asks of a highlighter, answered by a highlighter of the
// framework: its word and identifier characters, the comment/string test of the
// bracket matching, the rescans and the change notification.
#include <functional>

#include "core/editor/TCodeEditHighlighterLink.h"
#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

class THighlighterLink : public TCodeEditHighlighterLink {
public:
    explicit THighlighterLink(TCustomHighlighter& highlighter) : hl_(highlighter) {}
    ~THighlighterLink() override;

    TCustomHighlighter& Highlighter() const { return hl_; }

    CharSet IdentChars() const override;
    CharSet WordChars() const override;
    bool InCommentOrString(const TCodeEditStringList& lines, int index, int column) override;
    int RescanFrom(TCodeEditStringList& lines, int index) override;
    void FullRescan(TCodeEditStringList& lines) override;
    void Subscribe(std::function<void()> onChange) override;

    // Runs before the model's own reaction to a change notification (the view
    // recomputes its font metrics there).
    std::function<void()> BeforeChange;

private:
    TCustomHighlighter& hl_;
    bool subscribed_ = false;
};

}  // namespace pelm
