#include "core/editor/TCodeEditHighlighterAdapter.h"


namespace pelm {

namespace {
TCodeEditHighlighterLink::CharSet toArray(const TCharSet& s) {
    TCodeEditHighlighterLink::CharSet out{};
    for (int c = 0; c < 256; ++c) out[static_cast<size_t>(c)] = s.Contains(static_cast<unsigned char>(c));
    return out;
}
}  // namespace

TCodeEditHighlighterLink::CharSet TCodeEditHighlighterAdapter::IdentChars() const { return toArray(hl_.WordCharSet()); }

TCodeEditHighlighterLink::CharSet TCodeEditHighlighterAdapter::WordChars() const {
    CharSet out = IdentChars();
    const TCharSet& brk = hl_.BreakCharSet();
    for (int c = 0; c < 256; ++c)
        if (brk.Contains(static_cast<unsigned char>(c))) out[static_cast<size_t>(c)] = false;
    return out;
}

bool TCodeEditHighlighterAdapter::InCommentOrString(const TCodeEditStringList& lines, int index, int column) {
    std::string_view text = lines.Line(index);
    int32_t before = index > 0 ? lines.LineState(index - 1) : 0;
    if (&lines != cachedList_ || index != cachedIndex_ || before != cachedState_ || text != cachedText_) {
        cachedList_ = &lines;
        cachedIndex_ = index;
        cachedState_ = before;
        cachedText_.assign(text);
        cachedFlags_.assign(text.size(), false);
        THighlighterAttributes* comment = hl_.RoleAttribute(hrComment);
        THighlighterAttributes* str = hl_.RoleAttribute(hrString);
        if (index > 0) hl_.SetState(static_cast<uint32_t>(before));
        else hl_.ResetState();
        hl_.StartLine(cachedText_, index);
        while (!hl_.AtLineEnd()) {
            THighlighterAttributes* a = hl_.TokenAttribute();
            if (a && (a == comment || a == str)) {
                int from = hl_.TokenStart(), to = hl_.ScanPosition();
                for (int k = from; k < to && k < static_cast<int>(cachedFlags_.size()); ++k)
                    cachedFlags_[static_cast<size_t>(k)] = true;
            }
            hl_.NextToken();
        }
    }
    size_t k = static_cast<size_t>(column - 1);
    return k < cachedFlags_.size() && cachedFlags_[k];
}

int TCodeEditHighlighterAdapter::RescanFrom(TCodeEditStringList& lines, int index) {
    return pelm::RescanFrom(lines, hl_, index);
}

void TCodeEditHighlighterAdapter::FullRescan(TCodeEditStringList& lines) { pelm::FullRescan(lines, hl_); }

void TCodeEditHighlighterAdapter::Subscribe(std::function<void()> onChange) {
    if (onChange) hl_.Subscribe(this, std::move(onChange));
    else hl_.Unsubscribe(this);
}

int TCodeEditHighlighterLink::RescanInserted(TCodeEditStringList& lines, int index, int count) {
    int last = RescanFrom(lines, index);
    int blockEnd = index + count - 1;
    while (last < blockEnd && last + 1 < lines.Count()) last = RescanFrom(lines, last + 1);
    return last;
}

int RescanFrom(TCodeEditStringList& lines, TCustomHighlighter& hl, int i) {
    int count = lines.Count();
    if (i >= count) return i;
    if (i < 0) i = 0;
    if (i > 0)
        hl.SetState(static_cast<uint32_t>(lines.LineState(i - 1)));
    else
        hl.ResetState();
    for (;;) {
        hl.StartLine(lines.Line(i), i);
        hl.ScanToLineEnd();
        int32_t r = static_cast<int32_t>(hl.GetState());
        if (r == lines.LineState(i)) return i;
        lines.SetLineState(i, r);
        if (++i >= count) return count - 1;
        // The highlighter already holds r as its state for the next line.
    }
}

void FullRescan(TCodeEditStringList& lines, TCustomHighlighter& hl) {
    BatchGuard batch(lines);
    hl.ResetState();
    int count = lines.Count();
    for (int i = 0; i < count; ++i) {
        hl.StartLine(lines.Line(i), i);
        hl.ScanToLineEnd();
        lines.SetLineState(i, static_cast<int32_t>(hl.GetState()));
    }
}

}  // namespace pelm
