#pragma once
// Change records and the two lists (undo and redo) that hold them.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "core/editor/TCodeEditTypes.h"

namespace pelm {

enum TChangeKind : uint8_t {
    ckInsert = 0, ckPaste = 1, ckDragInsert = 2, ckDeleteForward = 3, ckDelete = 4,
    ckLineBreak = 5, ckIndent = 6, ckUnindent = 7, ckCaretDelete = 8, ckCaretDeleteForward = 9,
    // 10 and 11 are reserved.
    ckPasteBegin = 12, ckPasteEnd = 13,
    // 14 to 19 are reserved.
    ckNone = 20, ckGroupEnd = 21,
    // 22 to 24 are reserved.
    ckFillSpaces = 25
};

struct TCodeEditUndoItem {
    TChangeKind Kind = ckNone;
    TSelectionMode SelMode = smNormal;
    TBufferCoord StartPos;
    TBufferCoord EndPos;
    std::string Text;
    int32_t GroupNumber = 0;
    // Recorded inside a block (or moved between the lists as part of one step).
    // Like kinds group into one undo step only outside blocks, so that a step
    // never takes part of a block.
    bool InBlock = false;
    // Set on the oldest record of each run that one undo step takes together;
    // the limit drops records only in whole runs.
    bool StartsStep = true;
    // The trailing blanks an edit trimmed: undoing or redoing the record leaves
    // the caret where the edit's own records put it.
    bool KeepsCaret = false;
};

class TCodeEditUndoList {
public:
    // Raised with the list after a record other than a group break was added,
    // and when a block whose number the top record carries is closed.
    std::function<void(TCodeEditUndoList&)> OnItemAdded;

    void RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end, std::string text,
                      TSelectionMode selMode);
    void OpenBlock();
    void CloseBlock();
    void Clear();
    bool UndoAvailable() const { return !items_.empty(); }
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const TCodeEditUndoItem* Peek() const { return items_.empty() ? nullptr : &items_.back(); }
    const TCodeEditUndoItem& Item(int i) const { return items_[static_cast<size_t>(i)]; }
    TCodeEditUndoItem Pop();
    TChangeKind LastKind() const { return items_.empty() ? ckNone : items_.back().Kind; }
    void PushGroupBreak();
    // Flags the record just recorded (when one was) as KeepsCaret.
    void MarkTopKeepsCaret() {
        if (lockDepth_ == 0 && !items_.empty()) items_.back().KeepsCaret = true;
    }
    // A group break carrying a given group number (undo and redo move breaks
    // between the lists with their numbers).
    void PushGroupBreakNumbered(int32_t group);
    void Lock() { ++lockDepth_; }
    void Unlock() { if (lockDepth_ > 0) --lockDepth_; }
    bool Locked() const { return lockDepth_ > 0; }
    void SetSavedState(bool saved);
    bool IsSavedState() const;

    int32_t BlockNumber() const { return blockNumber_; }
    void SetBlockNumber(int32_t n) { blockNumber_ = n; }
    int32_t BlockDepth() const { return blockDepth_; }
    bool Truncated() const { return truncated_; }
    int32_t SavedNumber() const { return savedNumber_; }
    int32_t MaxUndo() const { return maxUndo_; }
    void SetMaxUndo(int32_t n);
    int32_t NextNumber() const { return nextNumber_; }
    // Whether one undo step groups records of the same kind (eoGroupUndo).
    void SetGroupUndo(bool on) { groupUndo_ = on; }
    // Bytes held by the records, for measurements.
    size_t MemoryUsed() const;

private:
    void advanceNumber();
    bool joinsTop(const TCodeEditUndoItem& r) const;
    void append(TCodeEditUndoItem item);
    void enforceLimit();

    std::deque<TCodeEditUndoItem> items_;  // oldest first, top last
    int steps_ = 0;                        // records with StartsStep set
    int32_t blockNumber_ = 0;              // group of the open block, 0 when none
    int32_t blockDepth_ = 0;
    bool truncated_ = false;
    int32_t savedNumber_ = 0;              // 0: empty list saved; -1: no reachable saved state
    int32_t lockDepth_ = 0;
    int32_t maxUndo_ = 1024;
    int32_t nextNumber_ = 1;
    bool groupUndo_ = true;
    bool inPasteBracket_ = false;
};

// Holds an undo block open for its lifetime.
class UndoBlockGuard {
public:
    explicit UndoBlockGuard(TCodeEditUndoList& l) : l_(l) { l_.OpenBlock(); }
    ~UndoBlockGuard() { l_.CloseBlock(); }
    UndoBlockGuard(const UndoBlockGuard&) = delete;
    UndoBlockGuard& operator=(const UndoBlockGuard&) = delete;

private:
    TCodeEditUndoList& l_;
};

}  // namespace pelm
