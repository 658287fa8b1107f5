#pragma once
// The editor's highlighter seam over a TCustomHighlighter of the highlighter
// framework, and the rescanning that keeps the line buffer's end-of-line states
// in step with a highlighter. The editor rescans from its buffer listeners:
// RescanFrom on a changed line or after deleted lines, RescanInserted after
// inserted lines, FullRescan when a highlighter is attached or reports a change
// of its attributes.
#include <vector>

#include "core/editor/TCodeEditStringList.h"

#include "core/editor/TCodeEditHighlighterLink.h"
#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

class TCodeEditHighlighterAdapter : public TCodeEditHighlighterLink {
public:
    explicit TCodeEditHighlighterAdapter(TCustomHighlighter& hl) : hl_(hl) {}
    ~TCodeEditHighlighterAdapter() override { hl_.Unsubscribe(this); }

    TCustomHighlighter& Highlighter() const { return hl_; }

    // The highlighter's identifier characters are its WordCharSet.
    CharSet IdentChars() const override;
    CharSet WordChars() const override;
    bool InCommentOrString(const TCodeEditStringList& lines, int index, int column) override;
    int RescanFrom(TCodeEditStringList& lines, int index) override;
    void FullRescan(TCodeEditStringList& lines) override;
    void Subscribe(std::function<void()> onChange) override;

private:
    TCustomHighlighter& hl_;
    // Comment/string flags per byte of the last line asked about, so that a
    // bracket search scans each line once.
    const TCodeEditStringList* cachedList_ = nullptr;
    int cachedIndex_ = -1;
    std::string cachedText_;
    int32_t cachedState_ = 0;
    std::vector<bool> cachedFlags_;
};

// The same rescans on a highlighter that is not attached to an editor (the
// golden runner, benchmarks, fuzzers). RescanFrom: from line i until a stored
// state matches, as TCodeEditHighlighterLink::RescanFrom. FullRescan: every line
// from ResetState, inside one BeginBatch/EndBatch on the buffer.
int RescanFrom(TCodeEditStringList& lines, TCustomHighlighter& hl, int i);
void FullRescan(TCodeEditStringList& lines, TCustomHighlighter& hl);

}  // namespace pelm
