// PerformCommand and the editing commands: movement, typing, Tab and Shift+Tab,
// line breaks, deletions, block indentation and the mode commands.
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

// ---------------------------------------------------------------- dispatch

void TCustomCodeEdit::PerformCommand(TCodeEditorCommand command, char ch, void* data) {
    if (command >= ecUserFirst) {
        if (OnProcessUserCommand) OnProcessUserCommand(command, ch, data);
    } else if (OnProcessCommand) {
        OnProcessCommand(command, ch, data);
    }
    if (command == ecNone) return;
    auto hooks = commandHooks_;  // a hook may unregister itself
    bool handled = false;
    for (auto& h : hooks) h.Handler(false, handled, command, ch, data, h.Data);
    if (handled) command = ecNone;
    if (command != ecNone && command < ecUserFirst) executeCommand(command, ch, data);
    handled = false;
    for (auto& h : hooks) h.Handler(true, handled, command, ch, data, h.Data);
    if (command != ecNone && OnCommandProcessed) OnCommandProcessed(command, ch, data);
}

void TCustomCodeEdit::groupBreak() {
    if (HasOption(eoGroupUndo) && undoList_.UndoAvailable()) undoList_.PushGroupBreak();
}

void TCustomCodeEdit::executeCommand(TCodeEditorCommand command, char ch, void* data) {
    EditTransaction view(*this, TEditScope::View);
    bool select = command > ecSelection && command <= ecSelGotoXY;
    TCodeEditorCommand move = select ? static_cast<TCodeEditorCommand>(command - ecSelection) : command;
    TBufferCoord c = caret_;
    if (move >= ecLeft && move <= ecGotoXY) {
        switch (move) {
            case ecLeft:
                if (wordWrap_ && !caretAtRowEnd_ && c.Column > 1) {
                    TDisplayCoord d = TextToRowPos(c);
                    if (d.Column == 1 && d.Row > RowOfLine(c.Line)) {
                        // From the start of a lower row to the end of the upper one:
                        // the buffer position stays.
                        moveCaretTo(c, select);
                        caretAtRowEnd_ = true;
                        break;
                    }
                }
                moveCaretTo(TBufferCoord{std::max(1, c.Column - 1), c.Line}, select);
                break;
            case ecRight: {
                if (wordWrap_ && caretAtRowEnd_) {
                    moveCaretTo(c, select);
                    break;
                }
                int col = c.Column + 1;
                if (!wordWrap_) col = std::min(col, maxCaretColumn(c.Line));
                moveCaretTo(TBufferCoord{col, c.Line}, select);
                if (wordWrap_) {
                    TDisplayCoord d = TextToRowPos(caret_);
                    caretAtRowEnd_ = d.Column == 1 && d.Row > RowOfLine(caret_.Line);
                }
                break;
            }
            case ecUp: moveByRows(-1, select); break;
            case ecDown: moveByRows(1, select); break;
            case ecPageUp: pageMove(-1, select); break;
            case ecPageDown: pageMove(1, select); break;
            case ecPageTop:
            case ecPageBottom: {
                TDisplayCoord d = CaretDisplayPos();
                int row = move == ecPageTop ? firstRow_
                                            : std::min(firstRow_ + std::max(1, VisibleRows()) - 1, RowCount());
                moveToDisplay(TDisplayCoord{d.Column, row}, select);
                break;
            }
            case ecEditorTop: moveCaretTo(TBufferCoord{1, 1}, select); break;
            case ecEditorBottom: {
                int last = std::max(1, lines_.Count());
                moveCaretTo(TBufferCoord{LineLength(last) + 1, last}, select);
                break;
            }
            case ecLineStart:
                if (wordWrap_) moveCaretTo(RowToTextPos(TDisplayCoord{1, CaretDisplayPos().Row}), select);
                else moveCaretTo(TBufferCoord{1, c.Line}, select);
                break;
            case ecLineEnd:
                if (wordWrap_) {
                    int row = CaretDisplayPos().Row;
                    bool lastRow = row == RowOfLine(c.Line) + wrap_->RowsOfLine(c.Line) - 1;
                    TBufferCoord p = lastRow ? TBufferCoord{LineLength(c.Line) + 1, c.Line}
                                             : RowToTextPos(TDisplayCoord{wrap_->RowLength(row) + 1, row});
                    moveCaretTo(p, select);
                    caretAtRowEnd_ = !lastRow;
                } else {
                    moveCaretTo(TBufferCoord{LineLength(c.Line) + 1, c.Line}, select);
                }
                break;
            case ecWordLeft: moveCaretTo(wordLeftPos(c), select); break;
            case ecWordRight: moveCaretTo(wordRightPos(c), select); break;
            case ecGotoXY:
                if (data) moveCaretTo(*static_cast<TBufferCoord*>(data), select);
                break;
            default: break;  // ecPageLeft, ecPageRight: not reached by any key
        }
        return;
    }
    switch (command) {
        case ecSelectAll: SelectAll(); break;
        case ecCopy: ClipboardCopy(); break;
        case ecCut: ClipboardCut(); break;
        case ecPaste: ClipboardPaste(); break;
        case ecUndo: Undo(); break;
        case ecRedo: Redo(); break;
        case ecScrollUp: scrollBy(-1); break;
        case ecScrollDown: scrollBy(1); break;
        case ecScrollLeft: SetFirstColumn(firstColumn_ - 1); break;
        case ecScrollRight: SetFirstColumn(firstColumn_ + 1); break;
        case ecInsertMode: SetInsertMode(true); break;
        case ecOverwriteMode: SetInsertMode(false); break;
        case ecToggleMode: SetInsertMode(!insertMode_); break;
        case ecNormalSelect: SetSelectionMode(smNormal); break;
        case ecColumnSelect: SetSelectionMode(smColumn); break;
        case ecLineSelect: SetSelectionMode(smLine); break;
        case ecMatchBracket: {
            TBufferCoord p = matchBracket(c);
            if (!(p == c)) moveCaretTo(p, false);
            break;
        }
        case ecChar: commandChar(ch); break;
        case ecImeStr:
            if (data) {
                EditTransaction tx(*this, TEditScope::Command);
                if (tx) SetSelectedText(static_cast<const char*>(data));
            }
            break;
        case ecTab: commandTab(); break;
        case ecShiftTab: commandShiftTab(); break;
        case ecLineBreak: commandLineBreak(true); break;
        case ecInsertLine: commandLineBreak(false); break;
        case ecDeleteLastChar: commandBackspace(); break;
        case ecDeleteChar: commandDelete(); break;
        case ecDeleteWord: commandDeleteWord(); break;
        case ecDeleteLastWord: commandDeleteLastWord(); break;
        case ecDeleteBOL: {
            EditTransaction tx(*this, TEditScope::Typing);
            if (!tx) break;
            if (HasSelection()) {
                deleteSelectionRecorded();
                break;
            }
            if (c.Column > 1 && LineLength(c.Line) > 0)
                deleteCaretRange(TBufferCoord{1, c.Line}, TBufferCoord{std::min(c.Column, LineLength(c.Line) + 1), c.Line},
                                 ckCaretDelete, TBufferCoord{1, c.Line});
            break;
        }
        case ecDeleteEOL: {
            EditTransaction tx(*this, TEditScope::Typing);
            if (!tx) break;
            if (HasSelection()) {
                deleteSelectionRecorded();
                break;
            }
            if (c.Column <= LineLength(c.Line))
                deleteCaretRange(c, TBufferCoord{LineLength(c.Line) + 1, c.Line}, ckCaretDeleteForward, c);
            break;
        }
        case ecDeleteLine: commandDeleteLine(); break;
        case ecClearAll: {
            EditTransaction tx(*this, TEditScope::Typing);
            if (tx) ClearAll();
            break;
        }
        case ecBlockIndent:
        case ecBlockUnindent: {
            if (!HasSelection()) break;
            EditTransaction tx(*this, TEditScope::Typing);
            if (!tx) break;
            if (command == ecBlockIndent) blockIndentAt(anchor_, active_, &undoList_);
            else blockUnindentAt(anchor_, active_, &undoList_);
            break;
        }
        default:
            if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
                if (BookmarkEnableKeys) JumpToBookmark(command - ecGotoMarker0);
            } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
                if (BookmarkEnableKeys) PlaceBookmark(command - ecSetMarker0, c.Column, c.Line);
            }
            // ecContextHelp and the commands no key reaches (case changes, comment
            // block, completion) do nothing here.
            break;
    }
}

// ---------------------------------------------------------------- movement

void TCustomCodeEdit::moveCaretTo(TBufferCoord p, bool select) {
    TBufferCoord old = caret_;
    p = ClampPos(p, false);
    if (select) {
        TBufferCoord a = HasSelection() ? anchor_ : old;
        TBufferCoord act = ClampPos(p, true);
        if (selectionMode_ == smColumn && act.Column == a.Column) act.Column += 1;
        setCaretRaw(p);
        setSelectionRaw(a, act);
    } else {
        setCaretRaw(p);
        setSelectionRaw(p, p);
    }
    groupBreak();
    EnsureCaretVisible();
}

void TCustomCodeEdit::moveByRows(int rows, bool select) {
    TDisplayCoord d = CaretDisplayPos();
    int row = std::clamp(d.Row + rows, 1, RowCount());
    if (row == d.Row) {
        moveCaretTo(caret_, select);
        return;
    }
    moveToDisplay(TDisplayCoord{d.Column, row}, select);
}

void TCustomCodeEdit::moveToDisplay(TDisplayCoord d, bool select) {
    TBufferCoord p = RowToTextPos(d);
    moveCaretTo(p, select);
    if (!wordWrap_ || p.Line > wrap_->LineCount()) return;
    // A column past the end of a row that is not its line's last one lands on
    // the row boundary: the caret is shown at the end of that row, not at the
    // start of the next one.
    int lastRow = RowOfLine(p.Line) + wrap_->RowsOfLine(p.Line) - 1;
    if (d.Row < lastRow && d.Column > wrap_->RowLength(d.Row)) {
        caretAtRowEnd_ = true;
        EnsureCaretVisible();
    }
}

void TCustomCodeEdit::pageMove(int direction, bool select) {
    int n = std::max(1, VisibleRows());
    SetFirstRow(firstRow_ + direction * n);
    moveByRows(direction * n, select);
}

void TCustomCodeEdit::scrollBy(int rows) {
    TDisplayCoord d = CaretDisplayPos();
    int vr = std::max(1, VisibleRows());
    if (d.Row < firstRow_ || d.Row >= firstRow_ + vr) {
        EnsureCaretVisible();
        return;
    }
    SetFirstRow(firstRow_ + rows);
    if (d.Row < firstRow_) moveByRows(firstRow_ - d.Row, false);
    else if (d.Row >= firstRow_ + vr) moveByRows(firstRow_ + vr - 1 - d.Row, false);
}

TBufferCoord TCustomCodeEdit::wordRightPos(TBufferCoord p) const {
    std::string_view s = LineText(p.Line);
    int len = static_cast<int>(s.size());
    auto word = [&](int col) { return IsWordChar(static_cast<unsigned char>(s[static_cast<size_t>(col - 1)])); };
    if (p.Column > len) {
        if (p.Line >= lines_.Count()) return p;
        std::string_view n = LineText(p.Line + 1);
        for (size_t i = 0; i < n.size(); ++i)
            if (IsWordChar(static_cast<unsigned char>(n[i]))) return TBufferCoord{static_cast<int>(i) + 1, p.Line + 1};
        return TBufferCoord{1, p.Line + 1};
    }
    int i = p.Column;
    while (i <= len && word(i)) ++i;
    while (i <= len && !word(i)) ++i;
    return TBufferCoord{i, p.Line};
}

TBufferCoord TCustomCodeEdit::wordLeftPos(TBufferCoord p) const {
    if (p.Column == 1) {
        if (p.Line <= 1) return p;
        return TBufferCoord{LineLength(p.Line - 1) + 1, p.Line - 1};
    }
    std::string_view s = LineText(p.Line);
    int len = static_cast<int>(s.size());
    auto word = [&](int col) { return IsWordChar(static_cast<unsigned char>(s[static_cast<size_t>(col - 1)])); };
    int i = std::min(p.Column, len + 1);
    while (i > 1 && !word(i - 1)) --i;
    while (i > 1 && word(i - 1)) --i;
    return TBufferCoord{i, p.Line};
}

TBufferCoord TCustomCodeEdit::matchBracket(TBufferCoord p) const {
    static const char brackets[] = "()[]{}<>";
    std::string_view s = LineText(p.Line);
    if (p.Column < 1 || p.Column > static_cast<int>(s.size())) return p;
    char ch = s[static_cast<size_t>(p.Column - 1)];
    const char* at = std::strchr(brackets, ch);
    if (!at || ch == 0) return p;
    int idx = static_cast<int>(at - brackets);
    bool forward = idx % 2 == 0;
    char partner = brackets[forward ? idx + 1 : idx - 1];
    auto ignored = [&](int line, int col) {
        return highlighter_ && const_cast<TCodeEditHighlighterLink*>(highlighter_)->InCommentOrString(lines_, line - 1, col);
    };
    int level = 0;
    int line = p.Line, col = p.Column;
    int count = lines_.Count();
    for (;;) {
        // Step to the next character in the search direction.
        if (forward) {
            ++col;
            while (line <= count && col > LineLength(line)) {
                ++line;
                col = 1;
            }
            if (line > count) return p;
        } else {
            --col;
            while (line >= 1 && col < 1) {
                --line;
                if (line >= 1) col = LineLength(line);
            }
            if (line < 1) return p;
        }
        char c = LineText(line)[static_cast<size_t>(col - 1)];
        if (c != ch && c != partner) continue;
        if (ignored(line, col)) continue;
        if (c == ch) ++level;
        else if (level == 0) return TBufferCoord{col, line};
        else --level;
    }
}

// ---------------------------------------------------------------- typing

int TCustomCodeEdit::indentOfLine(int line, bool tabAsWidth) const {
    int n = 0;
    for (char c : LineText(line)) {
        if (static_cast<unsigned char>(c) > 32) break;
        n += c == '\t' && tabAsWidth ? tabWidth_ : 1;
    }
    return n;
}

void TCustomCodeEdit::commandChar(char ch) {
    unsigned char u = static_cast<unsigned char>(ch);
    if (u < 32 || u == 127) return;
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (HasSelection()) {
        setSelTextInMode(std::string_view(&ch, 1), selectionMode_, ckInsert);
        return;
    }
    ensureLine();
    TBufferCoord c = ClampPos(caret_, false);
    int L = c.Line;
    std::string s(LineText(L));
    int len = static_cast<int>(s.size());
    // MaxScrollWidth bounds only virtual space: inside a longer line every column takes text.
    if (insertMode_ && !wordWrap_ && c.Column > maxScrollWidth_ && c.Column > len + 1) return;
    bool trimBlank = ch == ' ' && HasOption(eoTrimTrailingSpaces) &&
                     std::all_of(s.begin(), s.end(), isBlank);
    if (trimBlank) {
        // A line of blanks is stored without them; the caret goes to the display
        // width of the blanks typed so far (a tab counts its cells) + 1.
        int cell = ColumnToCell(L, c.Column) + 1;
        if (len > 0) deleteRange(TBufferCoord{1, L}, TBufferCoord{len + 1, L}, smNormal, L, {&undoList_, ckCaretDelete});
        setCaretRaw(ClampPos(TBufferCoord{cell, L}, false));
        setSelectionRaw(caret_, caret_);
        EnsureCaretVisible();
        return;
    }
    // A filled gap and the character are one block; a plain character is a
    // record of its own, which groups with the characters typed before it.
    if (c.Column > len + 1) {
        tx.OpenUndoBlock();
        TBufferCoord from{len + 1, L};
        s.append(static_cast<size_t>(c.Column - 1 - len), ' ');
        putLine(L, s, {&undoList_, ckFillSpaces}, from, c);
        len = static_cast<int>(s.size());
    }
    size_t at = static_cast<size_t>(c.Column - 1);
    std::string replaced;
    if (!insertMode_ && c.Column <= len) {
        replaced.assign(1, s[at]);
        s[at] = ch;
    } else {
        s.insert(at, 1, ch);
    }
    putLine(L, std::move(s), {&undoList_, ckInsert}, c, TBufferCoord{c.Column + 1, L}, std::move(replaced));
    setCaretRaw(TBufferCoord{c.Column + 1, L});
    setSelectionRaw(caret_, caret_);
    if (!wordWrap_) {
        int vc = std::max(1, VisibleColumns());
        int cell = CaretDisplayPos().Column;
        if (cell >= firstColumn_ + vc) SetFirstColumn(firstColumn_ + std::min(25, std::max(1, vc - 1)));
    }
    EnsureCaretVisible();
}

void TCustomCodeEdit::commandTab() {
    EditTransaction tx(*this, TEditScope::Command);
    if (!tx) return;
    if (HasSelection()) deleteSelectionRecorded(false);
    TBufferCoord c = ClampPos(caret_, false);
    int width = 0;
    if (HasOption(eoSmartTabs) && c.Line > 1) {
        int cell = ColumnToCell(c.Line, c.Column);
        for (int l = c.Line - 1; l >= 1; --l) {
            int col = CellToColumn(l, cell);
            std::string_view s = LineText(l);
            int len = static_cast<int>(s.size());
            if (col > len) continue;
            int i = col;
            while (i <= len && !isBlank(s[static_cast<size_t>(i - 1)])) ++i;
            while (i <= len && isBlank(s[static_cast<size_t>(i - 1)])) ++i;
            width = i - col;
            break;
        }
    }
    if (width == 0) width = tabWidth_ - ((c.Column - 1) % tabWidth_);
    setCaretRaw(c);
    setSelectionRaw(c, c);
    setSelTextInMode(std::string(static_cast<size_t>(width), ' '), selectionMode_ == smColumn ? smColumn : smNormal,
                     ckInsert);
    TBufferCoord to{c.Column + width, c.Line};
    setCaretRaw(ClampPos(to, false));
    setSelectionRaw(caret_, caret_);
    EnsureCaretVisible();
}

void TCustomCodeEdit::commandShiftTab() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    TBufferCoord c = ClampPos(caret_, false);
    if (c.Column <= 1) return;
    int newCol = c.Column;
    if (HasOption(eoSmartTabs)) {
        for (int l = c.Line - 1; l >= 1; --l) {
            std::string_view s = LineText(l);
            if (static_cast<int>(s.size()) < c.Column - 1) continue;
            int j = c.Column - 1;
            while (j >= 1 && s[static_cast<size_t>(j - 1)] == ' ') --j;
            while (j >= 1 && s[static_cast<size_t>(j - 1)] != ' ') --j;
            newCol = j + 1;
            break;
        }
        if (newCol >= c.Column) newCol = c.Column;
    }
    std::string_view s = LineText(c.Line);
    int len = static_cast<int>(s.size());
    if (newCol == c.Column) {
        int stop = tabWidth_ * ((c.Column - 2) / tabWidth_) + 1;
        if (c.Column > len + 1) {
            newCol = stop;
        } else if (s[static_cast<size_t>(c.Column - 2)] == '\t') {
            newCol = c.Column - 1;
        } else {
            int j = c.Column;
            while (j > stop && s[static_cast<size_t>(j - 2)] == ' ') --j;
            newCol = j;
        }
    }
    if (newCol == c.Column) return;
    int to = std::min(c.Column, len + 1);
    if (newCol < to)
        deleteCaretRange(TBufferCoord{newCol, c.Line}, TBufferCoord{to, c.Line}, ckDeleteForward,
                         TBufferCoord{newCol, c.Line});
    setCaretRaw(TBufferCoord{newCol, c.Line});
    setSelectionRaw(caret_, caret_);
    EnsureCaretVisible();
}

// ---------------------------------------------------------------- line breaks

TBufferCoord TCustomCodeEdit::breakLine(TBufferCoord at, bool indentAllowed, TCodeEditUndoList* list,
                                        bool trimLeft) {
    ensureLine();
    int L = at.Line;
    std::string s(LineText(L));
    int len = static_cast<int>(s.size());
    bool autoIndent = HasOption(eoAutoIndent) && indentAllowed;
    TBufferCoord caret;
    std::string right;
    if (len == 0) {
        lines_.InsertEmptyLines(L - 1, 1);
        int col = 1;
        if (autoIndent)
            for (int l = L; l >= 1; --l)
                if (LineLength(l) > 0) {
                    col = indentOfLine(l, true) + 1;
                    break;
                }
        caret = TBufferCoord{col, L + 1};
    } else if (at.Column > len) {
        std::string indent;
        if (autoIndent)
            for (char ch : s) {
                if (!isBlank(ch)) break;
                indent += ch;
            }
        lines_.Insert(L, indent);
        caret = TBufferCoord{static_cast<int>(indent.size()) + 1, L + 1};
    } else if (at.Column == 1) {
        lines_.InsertEmptyLines(L - 1, 1);
        right = s;
        caret = TBufferCoord{1, L + 1};
    } else {
        std::string left = s.substr(0, static_cast<size_t>(at.Column - 1));
        right = s.substr(static_cast<size_t>(at.Column - 1));
        // The auto-indent measure of the left part's leading bytes up to 32.
        int indent = 0;
        if (autoIndent) {
            for (char ch : left) {
                if (static_cast<unsigned char>(ch) > 32) break;
                indent += ch == '\t' ? tabWidth_ : 1;
            }
        }
        putLine(L, std::move(left));
        lines_.Insert(L, std::string(static_cast<size_t>(indent), ' ') + right);
        caret = TBufferCoord{indent + 1, L + 1};
    }
    if (list) list->RecordChange(ckLineBreak, at, caret, std::move(right), selectionMode_);
    // The left part loses its trailing blanks, recorded after the break.
    if (list && trimLeft && at.Column > 1 && at.Column <= len) trimTrailingRecorded(L, L, *list);
    return caret;
}

void TCustomCodeEdit::commandLineBreak(bool moveCaret) {
    EditTransaction tx(*this, TEditScope::Command);
    if (!tx) return;
    if (HasSelection()) deleteSelectionRecorded(false);
    TBufferCoord old = ClampPos(caret_, false);
    if (lines_.Count() == 0) old = TBufferCoord{old.Column, 1};
    TBufferCoord c = breakLine(old, true, &undoList_, true);
    setCaretRaw(moveCaret ? c : old);
    setSelectionRaw(caret_, caret_);
    EnsureCaretVisible();
}

// ---------------------------------------------------------------- deletions

void TCustomCodeEdit::deleteCaretRange(TBufferCoord b, TBufferCoord e, TChangeKind kind, TBufferCoord caretAfter) {
    deleteRange(b, e, smNormal, b.Line, {&undoList_, kind});
    setCaretRaw(ClampPos(caretAfter, false));
    setSelectionRaw(caret_, caret_);
    EnsureCaretVisible();
}

void TCustomCodeEdit::commandBackspace() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (HasSelection()) {
        deleteSelectionRecorded();
        EnsureCaretVisible();
        return;
    }
    if (lines_.Count() == 0) return;
    TBufferCoord c = ClampPos(caret_, false);
    int L = c.Line;
    std::string_view s = LineText(L);
    int len = static_cast<int>(s.size());
    if (c.Column > len + 1 && HasOption(eoSmartTabDelete)) {
        int target = len + 1;
        if (len == 0) {
            target = 1;
            for (int l = L - 1; l >= 1; --l) {
                int ind = indentOfLine(l, true);
                if (ind < c.Column - 1) {
                    target = ind + 1;
                    break;
                }
            }
        }
        moveCaretTo(TBufferCoord{target, L}, false);
        return;
    }
    if (c.Column == 1) {
        if (L < 2) return;
        int prevLen = LineLength(L - 1);
        deleteCaretRange(TBufferCoord{prevLen + 1, L - 1}, TBufferCoord{1, L}, ckCaretDelete,
                         TBufferCoord{prevLen + 1, L - 1});
        return;
    }
    int blanks = 0;
    while (blanks < len && isBlank(s[static_cast<size_t>(blanks)])) ++blanks;
    if (HasOption(eoSmartTabDelete) && blanks > 0 && blanks == c.Column - 1) {
        int target = 0;
        for (int l = L - 1; l >= 1; --l) {
            // Here the indentation counts blank bytes, a tab as one.
            std::string_view a = LineText(l);
            int ind = 0;
            while (ind < static_cast<int>(a.size()) && isBlank(a[static_cast<size_t>(ind)])) ++ind;
            if (ind < blanks) {
                target = ind;
                break;
            }
        }
        int cut = blanks - target;
        deleteCaretRange(TBufferCoord{1, L}, TBufferCoord{cut + 1, L}, ckCaretDelete, TBufferCoord{c.Column - cut, L});
        return;
    }
    deleteCaretRange(TBufferCoord{c.Column - 1, L}, c, ckCaretDelete, TBufferCoord{c.Column - 1, L});
}

void TCustomCodeEdit::commandDelete() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (HasSelection()) {
        deleteSelectionRecorded();
        EnsureCaretVisible();
        return;
    }
    if (lines_.Count() == 0) return;
    TBufferCoord c = ClampPos(caret_, false);
    int L = c.Line;
    int len = LineLength(L);
    if (c.Column > len) {
        if (L >= lines_.Count()) return;
        tx.OpenUndoBlock();
        if (c.Column > len + 1) {
            std::string s(LineText(L));
            s.append(static_cast<size_t>(c.Column - 1 - len), ' ');
            putLine(L, std::move(s), {&undoList_, ckFillSpaces}, TBufferCoord{len + 1, L}, c);
        }
        deleteCaretRange(c, TBufferCoord{1, L + 1}, ckCaretDeleteForward, c);
        return;
    }
    deleteCaretRange(c, TBufferCoord{c.Column + 1, L}, ckCaretDeleteForward, c);
}

void TCustomCodeEdit::commandDeleteWord() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (HasSelection()) {
        deleteSelectionRecorded();
        return;
    }
    if (lines_.Count() == 0) return;
    TBufferCoord c = ClampPos(caret_, false);
    int L = c.Line;
    std::string_view s = LineText(L);
    int len = static_cast<int>(s.size());
    if (c.Column > len) {
        if (L >= lines_.Count()) return;
        tx.OpenUndoBlock();
        if (c.Column > len + 1) {
            std::string t(s);
            t.append(static_cast<size_t>(c.Column - 1 - len), ' ');
            putLine(L, std::move(t), {&undoList_, ckFillSpaces}, TBufferCoord{len + 1, L}, c);
        }
        std::string_view next = LineText(L + 1);
        int k = 0;
        while (k < static_cast<int>(next.size()) && next[static_cast<size_t>(k)] == ' ') ++k;
        deleteCaretRange(c, TBufferCoord{k + 1, L + 1}, ckCaretDeleteForward, c);
        return;
    }
    auto at = [&](int col) { return s[static_cast<size_t>(col - 1)]; };
    int i = c.Column;
    if (IsWordChar(static_cast<unsigned char>(at(i)))) {
        while (i <= len && IsWordChar(static_cast<unsigned char>(at(i)))) ++i;
    } else if (at(i) == ' ') {
        while (i <= len && at(i) == ' ') ++i;
    } else {
        ++i;
    }
    while (i <= len && at(i) == ' ') ++i;
    deleteCaretRange(c, TBufferCoord{i, L}, ckCaretDeleteForward, c);
}

void TCustomCodeEdit::commandDeleteLastWord() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    if (HasSelection()) {
        deleteSelectionRecorded();
        return;
    }
    if (lines_.Count() == 0) return;
    TBufferCoord c = ClampPos(caret_, false);
    TBufferCoord p = wordLeftPos(c);
    TBufferCoord e = c;
    e.Column = std::min(e.Column, LineLength(e.Line) + 1);
    if (p < e) deleteCaretRange(p, e, ckCaretDelete, p);
    else if (p < c) moveCaretTo(p, false);
}

void TCustomCodeEdit::commandDeleteLine() {
    EditTransaction tx(*this, TEditScope::Typing);
    if (!tx) return;
    int count = lines_.Count();
    if (count == 0 || (count == 1 && LineLength(1) == 0)) return;
    int L = std::clamp(caret_.Line, 1, count);
    if (count == 1) {
        deleteCaretRange(TBufferCoord{1, 1}, TBufferCoord{LineLength(1) + 1, 1}, ckCaretDeleteForward, TBufferCoord{1, 1});
    } else if (L < count) {
        deleteCaretRange(TBufferCoord{1, L}, TBufferCoord{1, L + 1}, ckCaretDeleteForward, TBufferCoord{1, L});
    } else {
        deleteCaretRange(TBufferCoord{LineLength(L - 1) + 1, L - 1}, TBufferCoord{LineLength(L) + 1, L},
                         ckCaretDeleteForward, TBufferCoord{1, L - 1});
    }
}

// ---------------------------------------------------------------- block indentation

void TCustomCodeEdit::affectedLines(TBufferCoord anchor, TBufferCoord active, int& first, int& last) const {
    TBufferCoord b = std::min(anchor, active), e = std::max(anchor, active);
    first = b.Line;
    last = e.Line;
    if (e.Column == 1 && last > first) --last;
    last = std::min(last, std::max(1, lines_.Count()));
}

void TCustomCodeEdit::blockIndentAt(TBufferCoord anchor, TBufferCoord active, TCodeEditUndoList* list) {
    EditTransaction tx(*this, TEditScope::Host);
    int first, last;
    affectedLines(anchor, active, first, last);
    int left = selectionMode_ == smColumn ? std::min(ColumnToCell(anchor.Line, anchor.Column),
                                                     ColumnToCell(active.Line, active.Column))
                                          : 1;
    std::string rows;
    for (int l = first; l <= last; ++l) {
        if (l > first) rows += "\r\n";
        rows.append(static_cast<size_t>(tabWidth_), ' ');
    }
    // A record of the selection before and after the rows, so that both undo and
    // redo end by restoring it.
    list->RecordChange(ckIndent, anchor, active, {}, selectionMode_);
    insertText(TBufferCoord{CellToColumn(first, left, true), first}, rows, smColumn, {list, ckPaste});
    list->RecordChange(ckIndent, anchor, active, {}, selectionMode_);
    auto shift = [&](TBufferCoord p) {
        if (p.Line >= first && p.Line <= last &&
            (selectionMode_ != smColumn || ColumnToCell(p.Line, p.Column) >= left))
            p.Column += tabWidth_;
        return p;
    };
    TBufferCoord a = shift(anchor), act = shift(active);
    setCaretRaw(act);
    setSelectionRaw(a, act);
}

void TCustomCodeEdit::blockUnindentAt(TBufferCoord anchor, TBufferCoord active, TCodeEditUndoList* list) {
    EditTransaction tx(*this, TEditScope::Typing);
    int first, last;
    affectedLines(anchor, active, first, last);
    std::vector<int> removed;
    std::string text;
    bool any = false;
    for (int l = first; l <= last; ++l) {
        std::string_view s = LineText(l);
        int k = 0;
        if (!s.empty() && s[0] == '\t') {
            k = 1;
        } else {
            while (k < tabWidth_ && k < static_cast<int>(s.size()) && s[static_cast<size_t>(k)] == ' ') ++k;
            if (k < tabWidth_ && k < static_cast<int>(s.size()) && s[static_cast<size_t>(k)] == '\t') ++k;
        }
        removed.push_back(k);
        if (l > first) text += "\r\n";
        text += s.substr(0, static_cast<size_t>(k));
        any = any || k > 0;
    }
    if (!any) return;
    tx.OpenUndoBlock();
    for (int l = first; l <= last; ++l) {
        int k = removed[static_cast<size_t>(l - first)];
        if (k > 0) putLine(l, std::string(LineText(l).substr(static_cast<size_t>(k))));
    }
    list->RecordChange(ckUnindent, anchor, active, std::move(text), selectionMode_);
    auto shift = [&](TBufferCoord p) {
        if (p.Line >= first && p.Line <= last) p.Column = std::max(1, p.Column - removed[static_cast<size_t>(p.Line - first)]);
        return p;
    };
    TBufferCoord a = shift(anchor), act = shift(active);
    setCaretRaw(act);
    setSelectionRaw(a, act);
}

}  // namespace pelm
