// Editor state, the reactions to the line buffer's hooks, positions and their
// clamping, the display arithmetic, bookmarks and the mouse operations.
#include "core/editor/TCustomCodeEdit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pelm {

TCustomCodeEdit::TCustomCodeEdit() : wrap_(nullptr) {
    // The editor listens first: its own state follows the text before anyone
    // else hears of a change.
    lineListeners_ = {
        lines_.OnLinesChanging.Subscribe([this] { hookChanging(); }),
        lines_.OnLinesChanged.Subscribe([this] { hookChanged(); }),
        lines_.OnLinesCleared.Subscribe([this] { hookCleared(); }),
        lines_.OnLinesDeleted.Subscribe([this](int i, int n) { hookDeleted(i, n); }),
        lines_.OnLinesInserted.Subscribe([this](int i, int n) { hookInserted(i, n); }),
        lines_.OnLinePut.Subscribe([this](int i, int) { hookPut(i); }),
    };
    undoList_.OnItemAdded = [this](TCodeEditUndoList& l) { onItemAdded(l); };
    redoList_.OnItemAdded = [this](TCodeEditUndoList& l) { onItemAdded(l); };
    updateWordChars();
    // Until a view reports its size, the model assumes a window of 80 columns
    // and 25 rows.
    clientWidth_ = GutterSpan() + 2 + 80 * cellWidth_;
    clientHeight_ = 25 * rowHeight_;
}

TCustomCodeEdit::~TCustomCodeEdit() {
    if (highlighter_) highlighter_->Subscribe(nullptr);
    lines_.OnLinesChanging.Unsubscribe(lineListeners_[0]);
    lines_.OnLinesChanged.Unsubscribe(lineListeners_[1]);
    lines_.OnLinesCleared.Unsubscribe(lineListeners_[2]);
    lines_.OnLinesDeleted.Unsubscribe(lineListeners_[3]);
    lines_.OnLinesInserted.Unsubscribe(lineListeners_[4]);
    lines_.OnLinePut.Unsubscribe(lineListeners_[5]);
}

// ---------------------------------------------------------------- settings

void TCustomCodeEdit::SetOptions(TCodeEditorOptions o) {
    options_ = o;
    undoList_.SetGroupUndo(HasOption(eoGroupUndo));
    redoList_.SetGroupUndo(HasOption(eoGroupUndo));
}

void TCustomCodeEdit::SetReadOnly(bool v) {
    if (readOnly_ == v) return;
    readOnly_ = v;
    statusChanged(scReadOnly);
}

void TCustomCodeEdit::SetMaxScrollWidth(int w) {
    maxScrollWidth_ = std::max(1, w);
    SetFirstColumn(firstColumn_);
}

void TCustomCodeEdit::SetTabWidth(int w) {
    w = std::clamp(w, 1, 256);
    if (w == tabWidth_) return;
    tabWidth_ = w;
    lines_.ApplyTabWidth(w);
    longestDirty_ = true;
    if (wordWrap_) rebuildWrap();
    if (view_) view_->InvalidateAll();
}

void TCustomCodeEdit::SetInsertMode(bool v) {
    if (insertMode_ == v) return;
    insertMode_ = v;
    statusChanged(scInsertMode);
}

void TCustomCodeEdit::SetSelectionMode(TSelectionMode m) {
    if (m == selectionMode_) return;
    selectionMode_ = m;
    if (HasSelection()) invalidateLines(SelBeginPos().Line, SelEndPos().Line, true, false);
    statusChanged(scSelection);
}

// ---------------------------------------------------------------- painting lock and status

void TCustomCodeEdit::LockPainting() { ++paintLock_; }

void TCustomCodeEdit::UnlockPainting() {
    if (paintLock_ <= 0) return;
    if (--paintLock_ > 0) return;
    if (view_) {
        view_->ScrollBarsChanged();
        view_->CaretChanged();
    }
    if (pendingStatus_) {
        TStatusChanges c = pendingStatus_;
        pendingStatus_ = 0;
        if (OnStatusChange) OnStatusChange(c);
    }
}

void TCustomCodeEdit::statusChanged(TStatusChanges c) {
    pendingStatus_ |= c;
    if (paintLock_ == 0) {
        LockPainting();
        UnlockPainting();
    }
}

// ---------------------------------------------------------------- buffer listeners

void TCustomCodeEdit::invalidateLines(int firstLine, int lastLine, bool text, bool gutter) {
    if (linesChanging_) {
        // Collected until the change of lines is over.
        if (pendingFirstLine_ == 0 || firstLine < pendingFirstLine_) pendingFirstLine_ = firstLine;
        if (lastLine < 0 || pendingLastLine_ < 0) pendingLastLine_ = -1;
        else pendingLastLine_ = std::max(pendingLastLine_, lastLine);
        return;
    }
    if (!view_) return;
    int firstRow = RowOfLine(firstLine);
    int lastRow = lastLine < 0 ? -1 : RowOfLine(lastLine + 1) - 1;
    view_->InvalidateRows(firstRow, lastRow, text, gutter);
}

void TCustomCodeEdit::hookChanging() { linesChanging_ = true; }

void TCustomCodeEdit::hookChanged() {
    linesChanging_ = false;
    if (ownEdit_ == 0) {
        // A change made behind the editor's back (a load, a direct Lines call)
        // ends with the selection dropped at the caret.
        TBufferCoord c = ClampPos(caret_, false);
        caret_ = c;
        anchor_ = active_ = c;
        statusChanged(scSelection | scCaretX | scCaretY);
    }
    int digits = AutoSizeDigitCount();
    if (digits != lastDigits_) {
        // The line-number field widened or narrowed: fewer or more text columns.
        lastDigits_ = digits;
        GutterChanged();
    }
    if (pendingFirstLine_ != 0) {
        int f = pendingFirstLine_, l = pendingLastLine_;
        pendingFirstLine_ = pendingLastLine_ = 0;
        invalidateLines(f, l, true, true);
    }
    SetFirstRow(firstRow_);
}

void TCustomCodeEdit::noteLongestPut(int index) {
    if (longestDirty_) return;
    int w = lines_.ExpandedWidth(index);
    if (index == longestLine_) {
        if (w < longestWidth_) longestDirty_ = true;
        else longestWidth_ = w;
    } else if (w > longestWidth_) {
        longestLine_ = index;
        longestWidth_ = w;
    }
}

void TCustomCodeEdit::noteLongestInserted(int index, int count) {
    if (longestDirty_) return;
    if (longestLine_ >= index) longestLine_ += count;
    if (count > 64) {
        longestDirty_ = true;
        return;
    }
    for (int k = index; k < index + count; ++k) noteLongestPut(k);
}

void TCustomCodeEdit::noteLongestDeleted(int index, int count) {
    if (longestDirty_) return;
    if (longestLine_ >= index + count) longestLine_ -= count;
    else if (longestLine_ >= index) longestDirty_ = true;
}

void TCustomCodeEdit::hookCleared() {
    longestDirty_ = true;
    if (wordWrap_) rebuildWrap();
    DiscardUndo();
    pendingFirstLine_ = pendingLastLine_ = 0;
    if (view_) view_->InvalidateAll();
    caret_ = anchor_ = active_ = TBufferCoord{1, 1};
    caretAtRowEnd_ = false;
    firstRow_ = 1;
    firstColumn_ = 1;
    statusChanged(scAll);
}

int TCustomCodeEdit::rescanFrom(int index, int count) {
    if (!highlighter_ || lines_.Count() == 0) return index;
    if (count > 1) return highlighter_->RescanInserted(lines_, index, count);
    return highlighter_->RescanFrom(lines_, index);
}

void TCustomCodeEdit::hookDeleted(int index, int count) {
    if (highlighter_ && lines_.Count() > 0) rescanFrom(std::min(index, lines_.Count() - 1), 1);
    if (wordWrap_) wrap_->LinesDeleted(index, count);
    noteLongestDeleted(index, count);
    marks_.LinesDeleted(index + 1, count, lines_.Count());
    invalidateLines(index + 1, -1, true, true);
}

void TCustomCodeEdit::hookInserted(int index, int count) {
    rescanFrom(index, count);
    if (wordWrap_) wrap_->LinesInserted(index, count);
    noteLongestInserted(index, count);
    marks_.LinesInserted(index + 1, count, lines_.Count() - count);
    invalidateLines(index + 1, -1, true, true);
}

void TCustomCodeEdit::hookPut(int index) {
    bool rowsChanged = wordWrap_ && wrap_->LinePut(index);
    noteLongestPut(index);
    int last = rescanFrom(index, 1);
    // Text down to the last line whose colours may have changed; the gutter
    // below only when the line's number of rows changed.
    invalidateLines(index + 1, rowsChanged ? -1 : std::max(index, last) + 1, true, false);
    invalidateLines(index + 1, rowsChanged ? -1 : index + 1, false, true);
}

// ---------------------------------------------------------------- highlighter seam

void TCustomCodeEdit::updateWordChars() {
    if (highlighter_) {
        wordChars_ = highlighter_->WordChars();
        auto ident = highlighter_->IdentChars();
        for (int c = 0; c < 256; ++c) breakChars_[c] = !ident[c];
    } else {
        for (int c = 0; c < 256; ++c) {
            bool w = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
                     (c >= 192 && c != 215 && c != 247);
            wordChars_[c] = w;
            breakChars_[c] = c <= 32;
        }
    }
}

void TCustomCodeEdit::SetHighlighter(TCustomHighlighter* hl) {
    if (hl == Highlighter()) return;
    auto next = hl ? std::make_unique<TCodeEditHighlighterAdapter>(*hl) : nullptr;
    SetHighlighterLink(next.get());
    adapter_ = std::move(next);
}

void TCustomCodeEdit::SetHighlighterLink(TCodeEditHighlighterLink* link) {
    if (highlighter_ == link) return;
    if (highlighter_) highlighter_->Subscribe(nullptr);
    if (adapter_ && adapter_.get() != link) adapter_.reset();
    highlighter_ = link;
    auto refresh = [this] {
        updateWordChars();
        if (highlighter_) {
            BatchGuard batch(lines_);
            ++ownEdit_;
            highlighter_->FullRescan(lines_);
            --ownEdit_;
        }
        if (wordWrap_) rebuildWrap();
        if (view_) {
            view_->HighlighterChanged();
            view_->InvalidateAll();
        }
    };
    if (highlighter_) highlighter_->Subscribe(refresh);
    refresh();
}

// ---------------------------------------------------------------- positions

int TCustomCodeEdit::maxCaretColumn(int line) const {
    // MaxScrollWidth limits only virtual space: every byte of a longer line
    // stays reachable.
    return std::max(maxScrollWidth_ + 1, LineLength(line) + 1);
}

TBufferCoord TCustomCodeEdit::ClampPos(TBufferCoord p, bool selectionEnd) const {
    int count = std::max(1, lines_.Count());
    p.Line = std::clamp(p.Line, 1, count);
    p.Column = std::max(1, p.Column);
    if (!wordWrap_) p.Column = std::min(p.Column, maxCaretColumn(p.Line));
    if (selectionEnd && selectionMode_ == smNormal) p.Column = std::min(p.Column, LineLength(p.Line) + 1);
    return p;
}

void TCustomCodeEdit::setCaretRaw(TBufferCoord p) {
    TStatusChanges c = 0;
    if (p.Column != caret_.Column) c |= scCaretX;
    if (p.Line != caret_.Line) c |= scCaretY;
    caret_ = p;
    caretAtRowEnd_ = false;
    if (c) statusChanged(c);
}

void TCustomCodeEdit::setSelectionRaw(TBufferCoord anchor, TBufferCoord active) {
    bool had = HasSelection();
    int oldB = SelBeginPos().Line, oldE = SelEndPos().Line;
    anchor_ = anchor;
    active_ = active;
    if (had || HasSelection()) {
        invalidateLines(std::min(oldB, SelBeginPos().Line), std::max(oldE, SelEndPos().Line), true, false);
        statusChanged(scSelection);
    }
}

void TCustomCodeEdit::SetCaretPos(TBufferCoord p) {
    p = ClampPos(p, false);
    setCaretRaw(p);
    setSelectionRaw(p, p);
    EnsureCaretVisible();
}

void TCustomCodeEdit::SetSelBeginPos(TBufferCoord p) {
    p = ClampPos(p, true);
    setCaretRaw(p);
    setSelectionRaw(p, p);
}

void TCustomCodeEdit::SetSelEndPos(TBufferCoord p) {
    p = ClampPos(p, true);
    setCaretRaw(p);
    setSelectionRaw(anchor_, p);
}

void TCustomCodeEdit::SetSelection(TBufferCoord anchor, TBufferCoord active) {
    anchor = ClampPos(anchor, true);
    active = ClampPos(active, true);
    setCaretRaw(active);
    setSelectionRaw(anchor, active);
}

bool TCustomCodeEdit::HasSelection() const {
    return anchor_.Column != active_.Column || (anchor_.Line != active_.Line && selectionMode_ != smColumn);
}

int TCustomCodeEdit::SelOffset() const {
    TBufferCoord p = HasSelection() ? SelBeginPos() : caret_;
    long long off = 0;
    for (int l = 1; l < p.Line && l <= lines_.Count(); ++l) off += LineLength(l) + 2;
    off += p.Column - 1;
    return static_cast<int>(std::min<long long>(off, INT_MAX));
}

void TCustomCodeEdit::SetSelOffset(int n) {
    n = std::max(0, n);
    int count = lines_.Count();
    TBufferCoord p{1, 1};
    long long rest = n;
    int l = 1;
    for (; l <= count; ++l) {
        long long len = LineLength(l);
        // The last line has no line break after it.
        if (rest <= (l == count ? len : len + 1)) {
            // On the first break character: length + 1; on the second: length + 2.
            p = TBufferCoord{static_cast<int>(rest) + 1, l};
            break;
        }
        rest -= len + 2;
    }
    if (l > count) p = TBufferCoord{1, std::max(1, count)};
    p = ClampPos(p, false);
    setCaretRaw(p);
    setSelectionRaw(p, p);
    EnsureCaretVisible();
}

void TCustomCodeEdit::SelectChars(int n) {
    TBufferCoord b = SelBeginPos();
    auto offsetOf = [this](TBufferCoord p) {
        long long off = 0;
        for (int l = 1; l < p.Line; ++l) off += LineLength(l) + 2;
        return off + p.Column - 1;
    };
    auto posOf = [this](long long off) {
        int count = lines_.Count();
        for (int l = 1; l <= count; ++l) {
            long long len = LineLength(l);
            if (off <= len) return TBufferCoord{static_cast<int>(off) + 1, l};
            if (l == count) break;  // past the end of the text
            if (off < len + 2) return TBufferCoord{1, l + 1};
            off -= len + 2;
        }
        int last = std::max(1, count);
        return TBufferCoord{LineLength(last) + 1, last};
    };
    long long start = offsetOf(b);
    if (n >= 0) {
        TBufferCoord e = posOf(start + n);
        SetSelection(b, e);
    } else if (start + n >= 0) {
        TBufferCoord s = posOf(start + n);
        SetSelection(b, s);
    } else {
        int last = std::max(1, lines_.Count());
        SetSelection(b, TBufferCoord{LineLength(last) + 1, last});
    }
}

// ---------------------------------------------------------------- undo list glue

void TCustomCodeEdit::SetModified(bool value) {
    if (value == modified_) return;
    modified_ = value;
    if (!value && HasOption(eoGroupUndo) && undoList_.UndoAvailable()) undoList_.PushGroupBreak();
    undoList_.SetSavedState(!value);
    statusChanged(scModified);
}

void TCustomCodeEdit::updateModifiedFromUndo() {
    bool m = !undoList_.IsSavedState();
    if (m != modified_) {
        modified_ = m;
        statusChanged(scModified);
    }
}

void TCustomCodeEdit::onItemAdded(TCodeEditUndoList& list) {
    updateModifiedFromUndo();
    if (&list == &undoList_ && !inRedo_ && undoList_.LastKind() != ckGroupEnd) redoList_.Clear();
    if (list.BlockDepth() == 0 && OnChange) OnChange();
}

void TCustomCodeEdit::DiscardUndo() {
    undoList_.Clear();
    redoList_.Clear();
}

void TCustomCodeEdit::SuspendUndo() {
    undoList_.Lock();
    redoList_.Lock();
}

void TCustomCodeEdit::ResumeUndo() {
    undoList_.Unlock();
    redoList_.Unlock();
}

void TCustomCodeEdit::SetMaxUndo(int n) {
    if (n < 0) return;
    undoList_.SetMaxUndo(n);
    redoList_.SetMaxUndo(n);
}

// ---------------------------------------------------------------- handler lists

int TCustomCodeEdit::RegisterCommandHandler(THookedCommandHandler handler, void* data) {
    int id = nextHandlerId_++;
    commandHooks_.push_back(THookedCommandHandlerEntry{std::move(handler), data, id});
    return id;
}

void TCustomCodeEdit::UnregisterCommandHandler(int id) {
    std::erase_if(commandHooks_, [id](const THookedCommandHandlerEntry& e) { return e.Id == id; });
}

int TCustomCodeEdit::AddKeyDownHandler(KeyDownHandler h) {
    keyDownHandlers_.emplace_back(nextHandlerId_, std::move(h));
    return nextHandlerId_++;
}

int TCustomCodeEdit::AddKeyPressHandler(KeyPressHandler h) {
    keyPressHandlers_.emplace_back(nextHandlerId_, std::move(h));
    return nextHandlerId_++;
}

int TCustomCodeEdit::AddMouseDownHandler(MouseDownHandler h) {
    mouseDownHandlers_.emplace_back(nextHandlerId_, std::move(h));
    return nextHandlerId_++;
}

void TCustomCodeEdit::RemoveHandler(int id) {
    auto pred = [id](const auto& p) { return p.first == id; };
    std::erase_if(keyDownHandlers_, pred);
    std::erase_if(keyPressHandlers_, pred);
    std::erase_if(mouseDownHandlers_, pred);
}

bool TCustomCodeEdit::KeyDown(uint8_t key, TShiftState shift) {
    dropNextChar_ = false;
    for (auto& h : keyDownHandlers_) {
        h.second(key, shift);
        if (key == 0) return true;
    }
    TCodeEditorCommand cmd = keystrokes_.FindKeycode(key, shift);
    if (cmd == ecNone) return false;
    if ((cmd == ecTab || cmd == ecShiftTab) && !WantTabs) return false;
    if (cmd == ecLineBreak && key == VK_RETURN && !WantReturns) return false;
    PerformCommand(cmd, 0, nullptr);
    dropNextChar_ = true;
    return true;
}

void TCustomCodeEdit::KeyPress(char ch) {
    if (dropNextChar_) {
        dropNextChar_ = false;
        return;
    }
    for (auto& h : keyPressHandlers_) {
        h.second(ch);
        if (ch == 0) return;
    }
    PerformCommand(ecChar, ch, nullptr);
}

// ---------------------------------------------------------------- bookmarks

void TCustomCodeEdit::PlaceBookmark(int n, int column, int line) {
    if (n < 0 || n > 9 || line < 1 || line > std::max(1, lines_.Count())) return;
    if (bookmarks_[static_cast<size_t>(n)]) RemoveBookmark(n);
    auto m = std::make_unique<TCodeEditMark>();
    m->Line = line;
    m->Column = std::max(1, column);
    m->ImageIndex = n;
    m->MarkSlot = n;
    m->Visible = true;
    m->UseBuiltInImage = !HasBookmarkImages;
    bookmarks_[static_cast<size_t>(n)] = marks_.Add(std::move(m));
    if (OnPlaceBookmark) OnPlaceBookmark(n);
    invalidateLines(line, line, false, true);
}

void TCustomCodeEdit::JumpToBookmark(int n) {
    if (n < 0 || n > 9) return;
    TCodeEditMark* m = bookmarks_[static_cast<size_t>(n)];
    if (!m || m->Line > lines_.Count()) return;
    SetCaretPos(TBufferCoord{m->Column, m->Line});
    SetFirstRow(CaretDisplayPos().Row - VisibleRows() / 2);
}

void TCustomCodeEdit::RemoveBookmark(int n) {
    if (n < 0 || n > 9) return;
    TCodeEditMark* m = bookmarks_[static_cast<size_t>(n)];
    if (!m) return;
    if (OnClearBookmark) OnClearBookmark(n);
    int line = m->Line;
    marks_.Remove(m);
    bookmarks_[static_cast<size_t>(n)] = nullptr;
    invalidateLines(line, line, false, true);
}

const TCodeEditMark* TCustomCodeEdit::Bookmark(int n) const {
    return n >= 0 && n <= 9 ? bookmarks_[static_cast<size_t>(n)] : nullptr;
}

// ---------------------------------------------------------------- display arithmetic

void TCustomCodeEdit::GutterChanged() {
    if (wordWrap_) rebuildWrap();
    if (view_) view_->InvalidateAll();
}

void TCustomCodeEdit::SetCellSize(int cellPixelWidth, int rowPixelHeight) {
    int oldCols = VisibleColumns();
    cellWidth_ = std::max(1, cellPixelWidth);
    rowHeight_ = std::max(1, rowPixelHeight);
    if (wordWrap_ && VisibleColumns() != oldCols) rebuildWrap();
    if (view_) view_->InvalidateAll();
}

void TCustomCodeEdit::SetClientSize(int width, int height) {
    int oldCols = VisibleColumns();
    clientWidth_ = std::max(0, width);
    clientHeight_ = std::max(0, height);
    if (wordWrap_ && VisibleColumns() != oldCols) rebuildWrap();
    SetFirstRow(firstRow_);
    if (view_) view_->ScrollBarsChanged();
}

int TCustomCodeEdit::AutoSizeDigitCount() const {
    if (!(gutter_.Visible && gutter_.AutoSize && gutter_.ShowLineNumbers)) return gutter_.DigitCount;
    int n = lines_.Count() - (gutter_.ZeroStart ? 1 : 0);
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return std::max(gutter_.DigitCount, digits);
}

int TCustomCodeEdit::GutterSpan() const {
    if (!gutter_.Visible) return 0;
    if (gutter_.ShowLineNumbers)
        return gutter_.LeftOffset + gutter_.RightOffset + AutoSizeDigitCount() * cellWidth_ + 2;
    return gutter_.Width;
}

int TCustomCodeEdit::VisibleColumns() const { return std::max(clientWidth_ - GutterSpan() - 2, 0) / cellWidth_; }

int TCustomCodeEdit::VisibleRows() const { return clientHeight_ / rowHeight_; }

int TCustomCodeEdit::RowCount() const {
    if (wordWrap_) return std::max(1, wrap_->RowCount());
    return std::max(1, lines_.Count());
}

void TCustomCodeEdit::rebuildWrap() {
    if (!wrap_) wrap_ = std::make_unique<TCodeEditWordWrap>(lines_);
    wrap_->Rebuild(VisibleColumns(), breakChars_);
    if (view_) view_->InvalidateAll();
}

void TCustomCodeEdit::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    int topLine = TopLine();
    wordWrap_ = on;
    if (on) {
        rebuildWrap();
        firstColumn_ = 1;
    } else {
        wrap_.reset();
    }
    caretAtRowEnd_ = false;
    firstRow_ = RowOfLine(topLine);
    SetFirstRow(firstRow_);
    if (view_) {
        view_->InvalidateAll();
        view_->ScrollBarsChanged();
    }
}

int TCustomCodeEdit::LineOfRow(int row) const { return wordWrap_ ? wrap_->LineOfRow(row) : std::max(1, row); }

int TCustomCodeEdit::RowOfLine(int line) const { return wordWrap_ ? wrap_->RowOfLine(line) : std::max(1, line); }

int TCustomCodeEdit::ColumnToCell(int line, int column) const {
    std::string_view s = LineText(line);
    int len = static_cast<int>(s.size());
    int n = std::min(column - 1, len);
    int cell = 0;
    if (lines_.ExpandedWidth(line - 1) == len) {
        cell = n;
    } else {
        for (int i = 0; i < n; ++i) cell += s[static_cast<size_t>(i)] == '\t' ? tabWidth_ - cell % tabWidth_ : 1;
    }
    return cell + std::max(0, column - 1 - len) + 1;
}

int TCustomCodeEdit::CellToColumn(int line, int cell, bool ceil) const {
    std::string_view s = LineText(line);
    int len = static_cast<int>(s.size());
    int target = cell - 1;
    if (lines_.ExpandedWidth(line - 1) == len) return std::max(1, cell);
    int c0 = 0;
    for (int i = 0; i < len; ++i) {
        int span = s[static_cast<size_t>(i)] == '\t' ? tabWidth_ - c0 % tabWidth_ : 1;
        if (target < c0 + span) return (target == c0 || !ceil) ? i + 1 : i + 2;
        c0 += span;
    }
    return len + 1 + std::max(0, target - c0);
}

TDisplayCoord TCustomCodeEdit::TextToRowPos(TBufferCoord p) const {
    int cell = ColumnToCell(p.Line, p.Column);
    if (!wordWrap_ || p.Line > wrap_->LineCount()) {
        if (!wordWrap_) return TDisplayCoord{cell, p.Line};
        return TDisplayCoord{cell, wrap_->RowOfLine(p.Line)};
    }
    int first = wrap_->RowOfLine(p.Line);
    int rows = wrap_->RowsOfLine(p.Line);
    int offset = cell - 1;
    for (int r = 0; r < rows - 1; ++r) {
        int len = wrap_->RowLength(first + r);
        if (offset < len) return TDisplayCoord{offset + 1, first + r};
        offset -= len;
    }
    return TDisplayCoord{offset + 1, first + rows - 1};
}

TBufferCoord TCustomCodeEdit::RowToTextPos(TDisplayCoord p) const {
    if (!wordWrap_) {
        int line = std::max(1, p.Row);
        return TBufferCoord{CellToColumn(line, std::max(1, p.Column)), line};
    }
    int line = wrap_->LineOfRow(p.Row);
    if (line > wrap_->LineCount()) return TBufferCoord{std::max(1, p.Column), line};
    int first = wrap_->RowOfLine(line);
    int rows = wrap_->RowsOfLine(line);
    int idx = std::clamp(p.Row - first, 0, rows - 1);
    int col = std::max(1, p.Column);
    if (idx < rows - 1) col = std::min(col, wrap_->RowLength(first + idx) + 1);
    else col = std::min(col, std::max(wrap_->RowWidth(), wrap_->RowLength(first + idx)) + 1);
    int cell = col;
    for (int r = 0; r < idx; ++r) cell += wrap_->RowLength(first + r);
    return TBufferCoord{CellToColumn(line, cell), line};
}

TDisplayCoord TCustomCodeEdit::CaretDisplayPos() const {
    TDisplayCoord d = TextToRowPos(caret_);
    if (caretAtRowEnd_ && wordWrap_ && d.Column == 1 && d.Row > RowOfLine(caret_.Line)) {
        --d.Row;
        d.Column = wrap_->RowLength(d.Row) + 1;
    }
    return d;
}

std::pair<int, int> TCustomCodeEdit::CellToPixels(TDisplayCoord p) const {
    return {GutterSpan() + 2 + (p.Column - firstColumn_) * cellWidth_, (p.Row - firstRow_) * rowHeight_};
}

TDisplayCoord TCustomCodeEdit::PixelsToCell(int x, int y) const {
    int dx = x - GutterSpan() - 2 + cellWidth_ / 2;
    int col = firstColumn_ + (dx >= 0 ? dx / cellWidth_ : -((-dx + cellWidth_ - 1) / cellWidth_));
    int dy = y;
    int row = firstRow_ + (dy >= 0 ? dy / rowHeight_ : -((-dy + rowHeight_ - 1) / rowHeight_));
    return TDisplayCoord{std::max(1, col), std::max(1, row)};
}

// ---------------------------------------------------------------- mouse

void TCustomCodeEdit::MouseDown(TBufferCoord pos, TShiftState shift) {
    bool handled = false;
    for (auto& h : mouseDownHandlers_) {
        h.second(pos, shift, handled);
        if (handled) return;
    }
    EditTransaction view(*this, TEditScope::View);
    TBufferCoord p = ClampPos(pos, false);
    if (shift & ssShift) {
        TBufferCoord a = ClampPos(HasSelection() ? anchor_ : caret_, true);
        setCaretRaw(p);
        setSelectionRaw(a, ClampPos(pos, true));
    } else {
        setCaretRaw(p);
        setSelectionRaw(p, p);
    }
    EnsureCaretVisible();
}

void TCustomCodeEdit::MouseDragTo(TBufferCoord pos) {
    EditTransaction view(*this, TEditScope::View);
    TBufferCoord a = anchor_;
    setCaretRaw(ClampPos(pos, false));
    setSelectionRaw(a, ClampPos(pos, true));
    EnsureCaretVisible();
}

void TCustomCodeEdit::SelectWordAt(TBufferCoord pos) {
    EditTransaction view(*this, TEditScope::View);
    pos = ClampPos(pos, true);
    std::string_view s = LineText(pos.Line);
    int len = static_cast<int>(s.size());
    int b = pos.Column, e = pos.Column;
    auto word = [&](int col) { return col >= 1 && col <= len && IsWordChar(static_cast<unsigned char>(s[static_cast<size_t>(col - 1)])); };
    if (!word(b) && word(b - 1)) --b;
    if (word(b)) {
        while (word(b - 1)) --b;
        e = b;
        while (word(e)) ++e;
    }
    setCaretRaw(TBufferCoord{e, pos.Line});
    setSelectionRaw(TBufferCoord{b, pos.Line}, TBufferCoord{e, pos.Line});
}

void TCustomCodeEdit::GutterClick(int row) {
    int line = LineOfRow(row);
    if (line > std::max(1, lines_.Count())) return;
    const TCodeEditMark* first = nullptr;
    for (int i = 0; i < marks_.Count() && !first; ++i)
        if (marks_.Items(i).Line == line && marks_.Items(i).IsBookmark()) first = &marks_.Items(i);
    if (OnGutterClick) OnGutterClick(line, first);
}

bool TCustomCodeEdit::DropInsideSelection(TBufferCoord pos, bool copy) const {
    TBufferCoord b = SelBeginPos(), e = SelEndPos();
    if (copy) return b < pos && pos < e;
    return b <= pos && pos <= e;
}

}  // namespace pelm
