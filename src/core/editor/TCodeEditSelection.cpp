// The selection as text: reading it in the three modes, the text primitives that
// replace a range, SelectedText :=, the clipboard commands and drag and drop.
#include <algorithm>

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

namespace {

constexpr std::string_view CrLf = "\r\n";

// Splits at CR LF, CR or LF. A text ending with a break gives an empty last row.
std::vector<std::string_view> splitRows(std::string_view s) {
    std::vector<std::string_view> rows;
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            rows.push_back(s.substr(start, i - start));
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    rows.push_back(s.substr(start));
    return rows;
}

}  // namespace

TCustomCodeEdit::ColumnBlock TCustomCodeEdit::columnBlock(TBufferCoord a, TBufferCoord b) const {
    int ca = ColumnToCell(a.Line, a.Column), cb = ColumnToCell(b.Line, b.Column);
    return ColumnBlock{std::min(a.Line, b.Line), std::max(a.Line, b.Line), std::min(ca, cb), std::max(ca, cb)};
}

void TCustomCodeEdit::lineRangeAsStream(TBufferCoord b, TBufferCoord e, TBufferCoord& sb, TBufferCoord& se) const {
    sb = TBufferCoord{1, b.Line};
    if (e.Line >= lines_.Count()) se = TBufferCoord{LineLength(e.Line) + 1, e.Line};
    else se = TBufferCoord{1, e.Line + 1};
}

std::string TCustomCodeEdit::TextOfRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, bool pad) const {
    if (e < b) std::swap(b, e);
    std::string out;
    if (mode == smNormal) {
        std::string_view first = LineText(b.Line);
        size_t from = std::min<size_t>(static_cast<size_t>(b.Column - 1), first.size());
        if (b.Line == e.Line) {
            size_t to = std::min<size_t>(static_cast<size_t>(e.Column - 1), first.size());
            if (to > from) out.assign(first.substr(from, to - from));
            return out;
        }
        out.assign(first.substr(from));
        for (int l = b.Line + 1; l < e.Line; ++l) {
            out += CrLf;
            out += LineText(l);
        }
        out += CrLf;
        std::string_view last = LineText(e.Line);
        out += last.substr(0, std::min<size_t>(static_cast<size_t>(std::max(0, e.Column - 1)), last.size()));
        return out;
    }
    if (mode == smLine) {
        for (int l = b.Line; l <= e.Line && l <= lines_.Count(); ++l) {
            out += LineText(l);
            if (l < lines_.Count()) out += CrLf;
        }
        return out;
    }
    ColumnBlock blk = columnBlock(b, e);
    for (int l = blk.firstLine; l <= blk.lastLine; ++l) {
        if (l > blk.firstLine) out += CrLf;
        std::string_view s = LineText(l);
        int len = static_cast<int>(s.size());
        int cl = CellToColumn(l, blk.leftCell, true), cr = CellToColumn(l, blk.rightCell, true);
        if (cl <= len) out += s.substr(static_cast<size_t>(cl - 1), static_cast<size_t>(std::min(cr, len + 1) - cl));
        if (pad && cr > len + 1) {
            int covered = ColumnToCell(l, std::min(cr, len + 1)) - ColumnToCell(l, std::min(cl, len + 1));
            out.append(static_cast<size_t>(std::max(0, blk.rightCell - blk.leftCell - covered)), ' ');
        }
    }
    return out;
}

std::string TCustomCodeEdit::SelectedText() const {
    if (!HasSelection()) return {};
    return TextOfRange(SelBeginPos(), SelEndPos(), selectionMode_);
}

// ---------------------------------------------------------------- primitives

void TCustomCodeEdit::putLine(int line, std::string s, TUndoNote note, TBufferCoord start, TBufferCoord end,
                              std::string replaced) {
    if (!(line - 1 < lines_.Count() && LineText(line) == s)) lines_.SetStrings(line - 1, s);
    if (note.list) note.list->RecordChange(note.kind, start, end, std::move(replaced), smNormal);
}

void TCustomCodeEdit::ensureLine() {
    if (lines_.Count() == 0) lines_.Add("");
}

TBufferCoord TCustomCodeEdit::deleteRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, int activeLine,
                                          TUndoNote note) {
    if (e < b) std::swap(b, e);
    if (lines_.Count() == 0) return TBufferCoord{1, 1};
    if (note.list) {
        if (mode == smColumn) {
            // One record per row, each an exact byte range of its line: a block
            // edge inside a tab's cells would not convert back to the same bytes.
            ColumnBlock blk = columnBlock(b, e);
            for (int l = blk.firstLine; l <= blk.lastLine && l <= lines_.Count(); ++l) {
                int len = LineLength(l);
                int cl = CellToColumn(l, blk.leftCell, true);
                int cr = std::min(CellToColumn(l, blk.rightCell, true), len + 1);
                if (cl > len || cr <= cl) continue;
                TBufferCoord rb{cl, l}, re{cr, l};
                deleteRange(rb, re, smNormal, l, note);
            }
            int line = std::clamp(activeLine, blk.firstLine, blk.lastLine);
            return TBufferCoord{CellToColumn(line, blk.leftCell, true), line};
        }
        std::string text = TextOfRange(b, e, mode);
        TBufferCoord rs = b, re = e;
        // A line-mode deletion is recorded as the stream range it removed.
        if (mode == smLine) lineRangeAsStream(b, e, rs, re);
        TBufferCoord at = deleteRange(b, e, mode, activeLine);
        note.list->RecordChange(note.kind, rs, re, std::move(text), smNormal);
        return at;
    }
    if (mode == smNormal) {
        e.Line = std::min(e.Line, lines_.Count());
        std::string first(LineText(b.Line));
        size_t from = std::min<size_t>(static_cast<size_t>(b.Column - 1), first.size());
        std::string_view last = LineText(e.Line);
        size_t to = std::min<size_t>(static_cast<size_t>(std::max(0, e.Column - 1)), last.size());
        if (b.Line == e.Line) {
            if (to > from) first.erase(from, to - from);
            putLine(b.Line, std::move(first));
        } else {
            std::string joined = first.substr(0, from);
            joined += last.substr(to);
            putLine(b.Line, std::move(joined));
            lines_.RemoveLines(b.Line, e.Line - b.Line);
        }
        return b;
    }
    if (mode == smLine) {
        int last = std::min(e.Line, lines_.Count());
        if (last == lines_.Count()) {
            putLine(b.Line, std::string());
            if (last > b.Line) lines_.RemoveLines(b.Line, last - b.Line);
        } else {
            lines_.RemoveLines(b.Line - 1, last - b.Line + 1);
        }
        return TBufferCoord{1, b.Line};
    }
    ColumnBlock blk = columnBlock(b, e);
    for (int l = blk.firstLine; l <= blk.lastLine && l <= lines_.Count(); ++l) {
        std::string s(LineText(l));
        int len = static_cast<int>(s.size());
        int cl = CellToColumn(l, blk.leftCell, true), cr = CellToColumn(l, blk.rightCell, true);
        if (cl > len) continue;
        s.erase(static_cast<size_t>(cl - 1), static_cast<size_t>(std::min(cr, len + 1) - cl));
        putLine(l, std::move(s));
    }
    int line = std::clamp(activeLine, blk.firstLine, blk.lastLine);
    return TBufferCoord{CellToColumn(line, blk.leftCell, true), line};
}

TBufferCoord TCustomCodeEdit::insertText(TBufferCoord at, std::string_view s, TSelectionMode mode, TUndoNote note) {
    ensureLine();
    at.Line = std::clamp(at.Line, 1, lines_.Count());
    if (s.empty()) return at;
    TCodeEditUndoList* rowList = mode == smColumn ? note.list : nullptr;
    if (note.list && mode != smColumn) {
        TBufferCoord recStart{mode == smLine ? 1 : std::min(at.Column, LineLength(at.Line) + 1), at.Line};
        TBufferCoord end = insertText(at, s, mode);
        note.list->RecordChange(note.kind, recStart, end, {}, smNormal);
        return end;
    }
    std::vector<std::string_view> rows = splitRows(s);
    int k = static_cast<int>(rows.size());
    if (mode == smLine) at.Column = 1;
    if (mode == smNormal || mode == smLine) {
        int L = at.Line;
        std::string text(LineText(L));
        size_t c = static_cast<size_t>(at.Column - 1);
        if (c > text.size()) text.append(c - text.size(), ' ');
        std::string right = text.substr(c);
        text.resize(c);
        if (k == 1) {
            text += rows[0];
            text += right;
            putLine(L, std::move(text));
            return TBufferCoord{at.Column + static_cast<int>(rows[0].size()), L};
        }
        std::string lastRow(rows[static_cast<size_t>(k - 1)]);
        int endColumn = static_cast<int>(lastRow.size()) + 1;
        lastRow += right;
        if (c == 0) {
            // At column 1 the new lines go above, so marks move with the line's text.
            lines_.InsertEmptyLines(L - 1, k - 1);
            for (int j = 0; j < k - 1; ++j) putLine(L + j, std::string(rows[static_cast<size_t>(j)]));
            putLine(L + k - 1, std::move(lastRow));
        } else {
            text += rows[0];
            putLine(L, std::move(text));
            lines_.InsertEmptyLines(L, k - 1);
            for (int j = 1; j < k - 1; ++j) putLine(L + j, std::string(rows[static_cast<size_t>(j)]));
            putLine(L + k - 1, std::move(lastRow));
        }
        return TBufferCoord{endColumn, L + k - 1};
    }
    // Column mode: each row at the same display cell on successive lines.
    int cell = ColumnToCell(at.Line, at.Column);
    TBufferCoord end = at;
    for (int j = 0; j < k; ++j) {
        int line = at.Line + j;
        std::string_view row = rows[static_cast<size_t>(j)];
        if (line > lines_.Count()) {
            int prev = lines_.Count();
            TBufferCoord breakAt{LineLength(prev) + 1, prev};
            lines_.Add("");
            if (rowList) rowList->RecordChange(ckLineBreak, breakAt, TBufferCoord{1, line}, {}, smColumn);
            if (row.empty()) {
                end = TBufferCoord{1, line};
                continue;
            }
            std::string t(static_cast<size_t>(cell - 1), ' ');
            t += row;
            putLine(line, std::move(t));
            end = TBufferCoord{cell + static_cast<int>(row.size()), line};
            if (rowList) rowList->RecordChange(ckPaste, TBufferCoord{1, line}, end, {}, smColumn);
            continue;
        }
        std::string t(LineText(line));
        int len = static_cast<int>(t.size());
        int col = CellToColumn(line, cell, true);
        if (row.empty()) {
            end = TBufferCoord{col, line};
            continue;
        }
        int startCol = col;
        if (col > len + 1) {
            t.append(static_cast<size_t>(col - len - 1), ' ');
            startCol = len + 1;
        }
        t.insert(static_cast<size_t>(col - 1), row);
        putLine(line, std::move(t));
        end = TBufferCoord{col + static_cast<int>(row.size()), line};
        if (rowList) rowList->RecordChange(ckPaste, TBufferCoord{startCol, line}, end, {}, smColumn);
    }
    return end;
}

TBufferCoord TCustomCodeEdit::replaceRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, std::string_view s) {
    if (e < b) std::swap(b, e);
    TBufferCoord at = b;
    if (!(b == e)) at = deleteRange(b, e, mode, b.Line);
    return insertText(at, s, mode);
}

// ---------------------------------------------------------------- selection text with undo

void TCustomCodeEdit::trimTrailingRecorded(int first, int last, TCodeEditUndoList& list) {
    if (!HasOption(eoTrimTrailingSpaces)) return;
    last = std::min(last, lines_.Count());
    for (int l = std::max(1, first); l <= last; ++l) {
        std::string_view s = LineText(l);
        size_t n = s.size();
        while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
        if (n == s.size()) continue;
        TBufferCoord b{static_cast<int>(n) + 1, l}, e{static_cast<int>(s.size()) + 1, l};
        deleteRange(b, e, smNormal, l, {&list, ckCaretDeleteForward});
        list.MarkTopKeepsCaret();
    }
}

void TCustomCodeEdit::deleteSelectionRecorded(bool trim) {
    EditTransaction tx(*this, TEditScope::Host);
    TBufferCoord b = SelBeginPos(), e = SelEndPos();
    if (selectionMode_ == smNormal) {
        // An end in virtual space stands for the end of its line.
        b.Column = std::min(b.Column, LineLength(b.Line) + 1);
        e.Column = std::min(e.Column, LineLength(e.Line) + 1);
    }
    TChangeKind kind = active_ < anchor_ ? ckDeleteForward : ckDelete;
    TBufferCoord caret;
    if (selectionMode_ == smColumn) {
        ColumnBlock blk = columnBlock(anchor_, active_);
        caret = deleteRange(anchor_, active_, smColumn, active_.Line, {&undoList_, kind});
        if (trim) trimTrailingRecorded(blk.firstLine, blk.lastLine, undoList_);
    } else {
        caret = deleteRange(b, e, selectionMode_, active_.Line, {&undoList_, kind});
        if (trim && selectionMode_ == smNormal) trimTrailingRecorded(b.Line, b.Line, undoList_);
    }
    setCaretRaw(caret);
    setSelectionRaw(caret, caret);
}

void TCustomCodeEdit::setSelTextInMode(std::string_view s, TSelectionMode mode, TChangeKind insertKind) {
    EditTransaction tx(*this, TEditScope::Host);
    if (HasSelection()) deleteSelectionRecorded(s.empty());
    else {
        // Order the ends, the selection being empty at the caret.
        TBufferCoord c = ClampPos(caret_, false);
        setSelectionRaw(c, c);
    }
    if (!s.empty()) {
        TBufferCoord at = caret_;
        if (lines_.Count() == 0) at = TBufferCoord{1, 1};
        TBufferCoord end = insertText(at, s, mode, {&undoList_, insertKind});
        // Every line written loses its trailing blanks.
        trimTrailingRecorded(std::min(at.Line, end.Line), end.Line, undoList_);
        setCaretRaw(end);
        setSelectionRaw(end, end);
    }
    EnsureCaretVisible();
}

void TCustomCodeEdit::SetSelectedText(std::string_view s) { setSelTextInMode(s, selectionMode_, ckInsert); }

void TCustomCodeEdit::DeleteSelection() {
    if (HasSelection()) SetSelectedText("");
}

// ---------------------------------------------------------------- clipboard

void TCustomCodeEdit::ClipboardCopy() {
    if (!HasSelection()) return;
    std::string text = TextOfRange(SelBeginPos(), SelEndPos(), selectionMode_, true);
    std::string block = MakeBlockData(selectionMode_, text);
    if (!clipboard_->SetContent(text, &block)) throw ECodeEditError("Clipboard copy operation failed");
}

void TCustomCodeEdit::ClipboardCut() {
    if (!HasSelection()) return;
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    ClipboardCopy();
    deleteSelectionRecorded();
    EnsureCaretVisible();
}

void TCustomCodeEdit::ClipboardPaste() {
    EditTransaction tx(*this, TEditScope::Command);
    if (!tx) return;
    std::optional<std::string> block = clipboard_->BlockData();
    int mode = selectionMode_;
    std::string text;
    if (block) {
        if (!ParseBlockData(*block, mode, text) || mode > smColumn)
            throw ECodeEditError("Clipboard paste operation failed.");
    } else {
        std::optional<std::string> plain = clipboard_->Text();
        if (!plain) return;
        text = *plain;
        size_t nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
    }
    undoList_.RecordChange(ckPasteBegin, caret_, caret_, {}, selectionMode_);
    setSelTextInMode(text, static_cast<TSelectionMode>(mode), ckPaste);
    undoList_.RecordChange(ckPasteEnd, caret_, caret_, {}, selectionMode_);
}

void TCustomCodeEdit::SelectAll() {
    EditTransaction tx(*this, TEditScope::View);
    int last = std::max(1, lines_.Count());
    TBufferCoord end = lines_.Count() == 0 ? TBufferCoord{1, 1} : TBufferCoord{LineLength(last) + 1, last};
    setCaretRaw(end);
    setSelectionRaw(TBufferCoord{1, 1}, end);
    EnsureCaretVisible();
}

void TCustomCodeEdit::ClearAll() {
    EditTransaction tx(*this, TEditScope::View);
    lines_.Clear();
    for (int n = 0; n < 10; ++n) bookmarks_[static_cast<size_t>(n)] = nullptr;
    marks_.Clear();
    DiscardUndo();
    caret_ = anchor_ = active_ = TBufferCoord{1, 1};
    SetModified(false);
    if (view_) view_->InvalidateAll();
}

// ---------------------------------------------------------------- drag and drop

bool TCustomCodeEdit::DropSelection(TBufferCoord pos, bool copy) {
    if (selectionMode_ != smNormal || !HasSelection() || !HasOption(eoDragDropEditing)) return false;
    pos = ClampPos(pos, false);
    if (DropInsideSelection(pos, copy)) return false;
    EditTransaction tx(*this, TEditScope::Command);
    if (!tx) return false;
    std::string text = SelectedText();
    TBufferCoord b = SelBeginPos(), e = SelEndPos();
    if (!copy) {
        deleteSelectionRecorded();
        // The drop point after the removed text moves back by what went before it.
        if (e <= pos) {
            if (pos.Line == e.Line) pos = TBufferCoord{b.Column + (pos.Column - e.Column), b.Line};
            else pos.Line -= e.Line - b.Line;
        }
    }
    TBufferCoord end = insertText(pos, text, smNormal, {&undoList_, ckDragInsert});
    setCaretRaw(pos);
    setSelectionRaw(end, pos);
    EnsureCaretVisible();
    return true;
}

}  // namespace pelm
