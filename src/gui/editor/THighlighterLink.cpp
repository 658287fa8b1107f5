#include "gui/editor/THighlighterLink.h"

#include "core/editor/TCodeEditStringList.h"
#include "core/highlight/Rescan.h"

namespace pelm {

THighlighterLink::~THighlighterLink() {
    if (subscribed_) hl_.Unsubscribe(this);
}

TCodeEditHighlighterLink::CharSet THighlighterLink::IdentChars() const {
    CharSet set{};
    const TCharSet words = hl_.WordCharSet();
    for (int c = 0; c < 256; ++c) set[static_cast<size_t>(c)] = words.Contains(static_cast<unsigned char>(c));
    return set;
}

TCodeEditHighlighterLink::CharSet THighlighterLink::WordChars() const {
    CharSet set{};
    const TCharSet words = hl_.WordCharSet();
    const TCharSet& breaks = hl_.BreakCharSet();
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        set[static_cast<size_t>(c)] = words.Contains(b) && !breaks.Contains(b);
    }
    return set;
}

bool THighlighterLink::InCommentOrString(const TCodeEditStringList& lines, int index, int column) {
    if (index < 0 || index >= lines.Count()) return false;
    if (index == 0) hl_.ResetState();
    else hl_.SetState(static_cast<uint32_t>(lines.LineState(index - 1)));
    hl_.StartLine(lines.Line(index), index);
    const int at = column - 1;
    while (!hl_.AtLineEnd()) {
        if (hl_.TokenStart() <= at && at < hl_.ScanPosition()) {
            const THighlighterAttributes* a = hl_.TokenAttribute();
            return a && (a == hl_.RoleAttribute(hrComment) || a == hl_.RoleAttribute(hrString));
        }
        if (hl_.TokenStart() > at) break;
        hl_.NextToken();
    }
    return false;
}

int THighlighterLink::RescanFrom(TCodeEditStringList& lines, int index) {
    return pelm::RescanFrom(lines, hl_, index);
}

void THighlighterLink::FullRescan(TCodeEditStringList& lines) {
    pelm::FullRescan(lines, hl_);
}

void THighlighterLink::Subscribe(std::function<void()> onChange) {
    if (!onChange) {
        if (subscribed_) hl_.Unsubscribe(this);
        subscribed_ = false;
        return;
    }
    hl_.Subscribe(this, [this, onChange = std::move(onChange)] {
        if (BeforeChange) BeforeChange();
        onChange();
    });
    subscribed_ = true;
}

}  // namespace pelm
