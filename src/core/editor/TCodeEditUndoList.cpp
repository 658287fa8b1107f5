#include "core/editor/TCodeEditUndoList.h"

#include <utility>

namespace pelm {

void TCodeEditUndoList::advanceNumber() {
    ++nextNumber_;
    if (nextNumber_ == 0) nextNumber_ = 1;
}

// A new record belongs to the top record's undo step when one undo would take
// both: same group, same groupable kind, or inside an open paste bracket.
bool TCodeEditUndoList::joinsTop(const TCodeEditUndoItem& r) const {
    if (items_.empty()) return false;
    const TCodeEditUndoItem& t = items_.back();
    if (r.Kind == ckGroupEnd || t.Kind == ckGroupEnd) return false;
    if (inPasteBracket_) return true;
    if (r.GroupNumber == t.GroupNumber) return true;
    return groupUndo_ && !r.InBlock && !t.InBlock && r.Kind == t.Kind && r.Kind != ckIndent && r.Kind != ckUnindent;
}

void TCodeEditUndoList::append(TCodeEditUndoItem item) {
    item.StartsStep = !joinsTop(item);
    if (item.Kind == ckPasteBegin) inPasteBracket_ = true;
    if (item.Kind == ckPasteEnd) inPasteBracket_ = false;
    if (item.StartsStep) ++steps_;
    TChangeKind kind = item.Kind;
    items_.push_back(std::move(item));
    enforceLimit();
    if (kind != ckGroupEnd && OnItemAdded) OnItemAdded(*this);
}

// Drops the oldest whole undo steps while the list holds more than MaxUndo
// records. The newest step (which holds any open block) is never touched, so a
// large group may keep the list above the limit until a later step exists.
void TCodeEditUndoList::enforceLimit() {
    while (static_cast<int>(items_.size()) > maxUndo_ && steps_ > 1) {
        items_.pop_front();
        while (!items_.empty() && !items_.front().StartsStep) items_.pop_front();
        --steps_;
        truncated_ = true;
    }
}

void TCodeEditUndoList::RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end,
                                     std::string text, TSelectionMode selMode) {
    if (lockDepth_ > 0) return;
    TCodeEditUndoItem item;
    item.Kind = kind;
    item.SelMode = selMode;
    item.StartPos = start;
    item.EndPos = end;
    item.Text = std::move(text);
    if (blockNumber_ != 0) {
        item.GroupNumber = blockNumber_;
        item.InBlock = true;
    } else {
        item.GroupNumber = nextNumber_;
        advanceNumber();
    }
    append(std::move(item));
}

void TCodeEditUndoList::OpenBlock() {
    ++blockDepth_;
    if (blockDepth_ == 1) blockNumber_ = nextNumber_;
}

void TCodeEditUndoList::CloseBlock() {
    if (blockDepth_ <= 0) return;
    if (--blockDepth_ > 0) return;
    int32_t closed = blockNumber_;
    blockNumber_ = 0;
    advanceNumber();
    if (!items_.empty() && items_.back().GroupNumber == closed && OnItemAdded) OnItemAdded(*this);
}

void TCodeEditUndoList::Clear() {
    items_.clear();
    steps_ = 0;
    truncated_ = false;
    inPasteBracket_ = false;
}

TCodeEditUndoItem TCodeEditUndoList::Pop() {
    TCodeEditUndoItem item = std::move(items_.back());
    items_.pop_back();
    if (item.StartsStep) --steps_;
    if (item.Kind == ckPasteBegin || item.Kind == ckPasteEnd) inPasteBracket_ = false;
    return item;
}

void TCodeEditUndoList::PushGroupBreak() {
    if (LastKind() == ckGroupEnd) return;
    RecordChange(ckGroupEnd, {}, {}, {}, smNormal);
}

void TCodeEditUndoList::PushGroupBreakNumbered(int32_t group) {
    if (lockDepth_ > 0 || LastKind() == ckGroupEnd) return;
    TCodeEditUndoItem item;
    item.Kind = ckGroupEnd;
    item.GroupNumber = group;
    append(std::move(item));
}

void TCodeEditUndoList::SetSavedState(bool saved) {
    if (saved) savedNumber_ = items_.empty() ? 0 : items_.back().GroupNumber;
    else if (IsSavedState()) savedNumber_ = -1;
}

bool TCodeEditUndoList::IsSavedState() const {
    if (items_.empty()) return savedNumber_ == 0;
    return items_.back().GroupNumber == savedNumber_;
}

void TCodeEditUndoList::SetMaxUndo(int32_t n) {
    if (n < 0) return;
    maxUndo_ = n;
    enforceLimit();
}

size_t TCodeEditUndoList::MemoryUsed() const {
    size_t total = 0;
    for (const auto& it : items_) {
        total += sizeof(TCodeEditUndoItem);
        if (it.Text.capacity() > 15) total += it.Text.capacity() + 1;
    }
    return total;
}

}  // namespace pelm
