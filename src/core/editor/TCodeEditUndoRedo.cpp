// Undo and redo: moving records between the two lists and reversing them.
//
// Insertion records (ckInsert, ckPaste, ckDragInsert, ckFillSpaces) say "the
// range StartPos..EndPos holds new text; Text is what it replaced", so undoing
// and redoing them is the same step: replace the range by Text and record the
// inverse on the other list. Deletion records hold the removed text and are
// reversed by putting it back. Paste brackets travel between the lists too
// (undo pushes the end marker first, so the redo list holds the bracket the
// other way round: redo starts at a begin marker and stops at the end marker).
#include <algorithm>

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

namespace {

bool isInsertion(TChangeKind k) { return k == ckInsert || k == ckPaste || k == ckDragInsert || k == ckFillSpaces; }
bool isDeletion(TChangeKind k) {
    return k == ckDelete || k == ckDeleteForward || k == ckCaretDelete || k == ckCaretDeleteForward;
}
bool isBracket(TChangeKind k) { return k == ckPasteBegin || k == ckPasteEnd; }

// Restores the editor's selection mode when a record is done.
struct ModeSwitch {
    TSelectionMode& mode;
    TSelectionMode saved;
    ModeSwitch(TSelectionMode& m, TSelectionMode to) : mode(m), saved(m) { mode = to; }
    ~ModeSwitch() { mode = saved; }
};

}  // namespace

void TCustomCodeEdit::undoItem(TCodeEditUndoItem& item) {
    // Paste brackets move along, so that redo sees the same bracket.
    if (isBracket(item.Kind)) {
        redoList_.RecordChange(item.Kind, item.StartPos, item.EndPos, {}, item.SelMode);
        return;
    }
    if (item.Kind == ckGroupEnd) return;
    ModeSwitch sw(selectionMode_, item.SelMode);
    TSelectionMode mode = item.SelMode;
    TBufferCoord caret = item.StartPos;
    TBufferCoord anchor = caret;
    if (isInsertion(item.Kind)) {
        std::string removed = TextOfRange(item.StartPos, item.EndPos, mode);
        TBufferCoord end = replaceRange(item.StartPos, item.EndPos, mode, item.Text);
        redoList_.RecordChange(item.Kind, item.StartPos, end, std::move(removed), mode);
        anchor = caret = item.StartPos;
    } else if (isDeletion(item.Kind)) {
        if (item.Kind == ckCaretDeleteForward && item.StartPos.Line > lines_.Count()) lines_.Add("");
        insertText(item.StartPos, item.Text, mode);
        // The text is back where it was, so the recorded range holds again (in
        // column mode the block's corner, which the last row need not reach).
        TBufferCoord end = item.EndPos;
        redoList_.RecordChange(item.Kind, item.StartPos, end, {}, mode);
        if (item.KeepsCaret) {
            redoList_.MarkTopKeepsCaret();
            return;
        }
        switch (item.Kind) {
            case ckDelete: anchor = item.StartPos; caret = end; break;
            case ckDeleteForward: anchor = end; caret = item.StartPos; break;
            case ckCaretDelete: anchor = caret = end; break;
            default: anchor = caret = item.StartPos; break;
        }
    } else if (item.Kind == ckLineBreak) {
        int L = item.StartPos.Line;
        std::string line(LineText(L));
        size_t keep = static_cast<size_t>(std::max(0, item.StartPos.Column - 1));
        if (line.size() > keep) line.resize(keep);
        else if (!item.Text.empty()) line.append(keep - line.size(), ' ');
        line += item.Text;
        putLine(L, std::move(line));
        if (L < lines_.Count()) lines_.RemoveLines(L, 1);
        redoList_.RecordChange(ckLineBreak, item.StartPos, item.EndPos, {}, mode);
        anchor = caret = item.StartPos;
    } else if (item.Kind == ckIndent) {
        redoList_.RecordChange(ckIndent, item.StartPos, item.EndPos, item.Text, mode);
        anchor = item.StartPos;
        caret = item.EndPos;
    } else if (item.Kind == ckUnindent) {
        int first, last;
        affectedLines(item.StartPos, item.EndPos, first, last);
        insertText(TBufferCoord{1, first}, item.Text, smColumn);
        redoList_.RecordChange(ckUnindent, item.StartPos, item.EndPos, item.Text, mode);
        anchor = item.StartPos;
        caret = item.EndPos;
    }
    caret = ClampPos(caret, false);
    setCaretRaw(caret);
    setSelectionRaw(ClampPos(anchor, true), anchor == caret ? caret : ClampPos(caret, true));
}

void TCustomCodeEdit::redoItem(TCodeEditUndoItem& item) {
    if (isBracket(item.Kind)) {
        undoList_.RecordChange(item.Kind, item.StartPos, item.EndPos, {}, item.SelMode);
        return;
    }
    if (item.Kind == ckGroupEnd) return;
    ModeSwitch sw(selectionMode_, item.SelMode);
    TSelectionMode mode = item.SelMode;
    TBufferCoord caret = item.StartPos;
    TBufferCoord anchor = caret;
    if (isInsertion(item.Kind)) {
        std::string removed = TextOfRange(item.StartPos, item.EndPos, mode);
        TBufferCoord end = replaceRange(item.StartPos, item.EndPos, mode, item.Text);
        undoList_.RecordChange(item.Kind, item.StartPos, end, std::move(removed), mode);
        anchor = caret = end;
        if (item.Kind == ckDragInsert) {
            anchor = end;
            caret = item.StartPos;
        }
    } else if (isDeletion(item.Kind)) {
        std::string text = TextOfRange(item.StartPos, item.EndPos, mode);
        deleteRange(item.StartPos, item.EndPos, mode, item.StartPos.Line);
        undoList_.RecordChange(item.Kind, item.StartPos, item.EndPos, std::move(text), mode);
        if (item.KeepsCaret) {
            undoList_.MarkTopKeepsCaret();
            TBufferCoord c = ClampPos(caret_, false);
            setCaretRaw(c);
            setSelectionRaw(c, c);
            return;
        }
        anchor = caret = item.StartPos;
    } else if (item.Kind == ckLineBreak) {
        anchor = caret = breakLine(item.StartPos, item.EndPos.Column > 1, &undoList_, false);
    } else if (item.Kind == ckIndent) {
        undoList_.RecordChange(ckIndent, item.StartPos, item.EndPos, item.Text, mode);
        int first, last;
        affectedLines(item.StartPos, item.EndPos, first, last);
        int left = mode == smColumn ? std::min(ColumnToCell(item.StartPos.Line, item.StartPos.Column),
                                               ColumnToCell(item.EndPos.Line, item.EndPos.Column))
                                    : 1;
        auto shift = [&](TBufferCoord p) {
            if (p.Line >= first && p.Line <= last && (mode != smColumn || ColumnToCell(p.Line, p.Column) >= left))
                p.Column += tabWidth_;
            return p;
        };
        anchor = shift(item.StartPos);
        caret = shift(item.EndPos);
    } else if (item.Kind == ckUnindent) {
        blockUnindentAt(item.StartPos, item.EndPos, &undoList_);
        return;
    }
    caret = ClampPos(caret, false);
    setCaretRaw(caret);
    setSelectionRaw(ClampPos(anchor, true), anchor == caret ? caret : ClampPos(caret, true));
}

void TCustomCodeEdit::Undo() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (undoList_.LastKind() == ckGroupEnd) {
        TCodeEditUndoItem brk = undoList_.Pop();
        redoList_.PushGroupBreakNumbered(brk.GroupNumber);
    }
    if (const TCodeEditUndoItem* top = undoList_.Peek()) {
        TChangeKind k = top->Kind;
        int32_t g = top->GroupNumber;
        int32_t savedBlock = redoList_.BlockNumber();
        redoList_.SetBlockNumber(g);
        bool groupUndo = HasOption(eoGroupUndo);
        for (;;) {
            TCodeEditUndoItem item = undoList_.Pop();
            undoItem(item);
            const TCodeEditUndoItem* r = undoList_.Peek();
            if (!r) break;
            if (k == ckPasteEnd) {
                if (r->Kind == ckPasteBegin) break;
                continue;
            }
            bool sameGroup = r->GroupNumber == g;
            bool sameKind = groupUndo && !item.InBlock && !r->InBlock && r->Kind == item.Kind &&
                            r->Kind != ckIndent && r->Kind != ckUnindent && r->Kind != ckGroupEnd;
            if (!sameGroup && !sameKind) break;
        }
        if (k == ckPasteEnd && undoList_.LastKind() == ckPasteBegin) {
            TCodeEditUndoItem m = undoList_.Pop();
            undoItem(m);
        }
        redoList_.SetBlockNumber(savedBlock);
    }
    updateModifiedFromUndo();
    EnsureCaretVisible();
}

void TCustomCodeEdit::Redo() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    inRedo_ = true;
    if (const TCodeEditUndoItem* top = redoList_.Peek()) {
        TChangeKind k = top->Kind;
        int32_t g = top->GroupNumber;
        int32_t savedBlock = undoList_.BlockNumber();
        undoList_.SetBlockNumber(g);
        bool groupUndo = HasOption(eoGroupUndo);
        if (k == ckGroupEnd) {
            // A break on top of the redo list belongs below the step it follows.
            TCodeEditUndoItem brk = redoList_.Pop();
            undoList_.PushGroupBreakNumbered(brk.GroupNumber);
        } else {
            for (;;) {
                TCodeEditUndoItem item = redoList_.Pop();
                redoItem(item);
                const TCodeEditUndoItem* r = redoList_.Peek();
                if (!r) break;
                if (k == ckPasteBegin) {
                    if (r->Kind == ckPasteEnd) break;
                    continue;
                }
                bool sameGroup = r->GroupNumber == g && r->Kind != ckGroupEnd;
                bool sameKind = groupUndo && !item.InBlock && !r->InBlock && r->Kind == item.Kind &&
                                r->Kind != ckIndent && r->Kind != ckUnindent && r->Kind != ckGroupEnd;
                if (!sameGroup && !sameKind) break;
            }
            if (k == ckPasteBegin && redoList_.LastKind() == ckPasteEnd) {
                TCodeEditUndoItem m = redoList_.Pop();
                redoItem(m);
            }
        }
        undoList_.SetBlockNumber(savedBlock);
        if (redoList_.LastKind() == ckGroupEnd) {
            TCodeEditUndoItem brk = redoList_.Pop();
            undoList_.PushGroupBreakNumbered(brk.GroupNumber);
        }
    }
    inRedo_ = false;
    updateModifiedFromUndo();
    EnsureCaretVisible();
}

}  // namespace pelm
