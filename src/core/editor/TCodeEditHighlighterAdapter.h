#pragma once
// The editor's highlighter seam over a TCustomHighlighter of the highlighter
// framework.
#include <vector>

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
    int RescanInserted(TCodeEditStringList& lines, int index, int count) override;
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

}  // namespace pelm
