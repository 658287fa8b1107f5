#pragma once
// The editor model: caret, selection in three modes, undo and redo, the editing
// commands and the display arithmetic, over one line buffer. It knows no window:
// a view (the widget) gives it the cell and client sizes, feeds it keys and mouse
// positions and is told what to repaint through TCodeEditView.
//
// The implementation is spread over several files by topic:
//   TCustomCodeEdit.cpp    state, buffer listeners, positions, metrics, bookmarks, mouse
//   EditTransaction.cpp    what every edit holds while it runs (paint lock, own-edit
//                          mark, buffer update bracket, undo block, read-only check)
//   TCodeEditScrolling.cpp scroll position, caret in view, scroll bars, wheel
//   TCodeEditSelection.cpp selection text read/write, the text primitives, clipboard
//   TCodeEditUndoRedo.cpp  undo and redo
//   TCodeEditCommands.cpp  PerformCommand and every command
//   TCodeEditFindReplace.cpp the search-replace loop
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/EditTransaction.h"
#include "core/editor/TCodeEditClipboard.h"
#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/editor/TCodeEditHighlighterLink.h"
#include "core/editor/TCodeEditKeyStrokes.h"
#include "core/editor/TCodeEditMarkList.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/editor/TCodeEditTypes.h"
#include "core/editor/TCodeEditUndoList.h"
#include "core/editor/TCodeEditWordWrap.h"
#include "core/editor/TCodeEditorCommand.h"
#include "core/search/TCodeEditSearchCustom.h"

namespace pelm {

// What the model tells its view. Rows are display rows (1-based); lastRow -1
// means "to the end".
class TCodeEditView {
public:
    virtual ~TCodeEditView() = default;
    virtual void InvalidateRows(int firstRow, int lastRow, bool text, bool gutter) {}
    virtual void InvalidateAll() {}
    // Scroll position, ranges or caret place changed (reported when painting is unlocked).
    virtual void ScrollBarsChanged() {}
    virtual void CaretChanged() {}
    // A highlighter was attached, detached or changed its attributes: the view
    // recomputes the cell size from the font styles the attributes use.
    virtual void HighlighterChanged() {}
};

// One scroll bar: range 1..Range, Page, Position; arrows off when all fits.
struct TScrollBarInfo {
    int Range = 1;
    int Page = 0;
    int Position = 1;
    bool ArrowsEnabled = true;
};

struct TCodeGutter {
    bool Visible = true;
    int Width = 30;
    bool ShowLineNumbers = false;
    int DigitCount = 4;
    int LeftOffset = 16;
    int RightOffset = 2;
    bool AutoSize = false;
    bool LeadingZeros = false;
    bool ZeroStart = false;
};

// A command hook: called before (afterProcessing false) and after each command;
// setting handled before the command cancels it.
using THookedCommandHandler = std::function<void(bool afterProcessing, bool& handled,
                                                 TCodeEditorCommand& command, char& ch, void* data,
                                                 void* handlerData)>;
struct THookedCommandHandlerEntry {
    THookedCommandHandler Handler;
    void* Data = nullptr;
    int Id = 0;
};

// Where a text primitive records its undo: the list (nullptr: nowhere) and the
// kind of the record.
struct TUndoNote {
    TCodeEditUndoList* list = nullptr;
    TChangeKind kind = ckNone;
};

class TCustomCodeEdit {
public:
    using CommandEvent = std::function<void(TCodeEditorCommand& command, char& ch, void* data)>;
    using KeyDownHandler = std::function<void(uint8_t& key, TShiftState shift)>;
    using KeyPressHandler = std::function<void(char& ch)>;
    using MouseDownHandler = std::function<void(TBufferCoord pos, TShiftState shift, bool& handled)>;

    TCustomCodeEdit();
    ~TCustomCodeEdit();
    TCustomCodeEdit(const TCustomCodeEdit&) = delete;
    TCustomCodeEdit& operator=(const TCustomCodeEdit&) = delete;

    TCodeEditStringList& Lines() { return lines_; }
    const TCodeEditStringList& Lines() const { return lines_; }
    void SetView(TCodeEditView* view) { view_ = view; }
    // The clipboard used by cut, copy and paste; nullptr restores the built-in
    // in-memory one.
    void SetClipboard(TCodeEditClipboard* clipboard) { clipboard_ = clipboard ? clipboard : &memoryClipboard_; }
    TCodeEditClipboard& Clipboard() { return *clipboard_; }

    // ---- settings
    TCodeEditorOptions Options() const { return options_; }
    void SetOptions(TCodeEditorOptions o);
    bool HasOption(TCodeEditorOption o) const { return (options_ & OptionBit(o)) != 0; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool WantTabs = false;
    bool WantReturns = true;
    int MaxScrollWidth() const { return maxScrollWidth_; }
    void SetMaxScrollWidth(int w);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int w);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool v);
    TCaretType InsertCaret = ctVerticalLine;
    TCaretType OverwriteCaret = ctBlock;
    TCaretType ActiveCaretType() const { return insertMode_ ? InsertCaret : OverwriteCaret; }
    TSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSelectionMode m);
    bool BookmarkEnableKeys = true;  // BookMarkOptions.EnableKeys
    bool HasBookmarkImages = false;  // BookMarkOptions.BookmarkImages is set (by the view)

    // ---- caret and selection
    TBufferCoord CaretPos() const { return caret_; }
    void SetCaretPos(TBufferCoord p);
    TBufferCoord AnchorPos() const { return anchor_; }
    TBufferCoord ActivePos() const { return active_; }
    TBufferCoord SelBeginPos() const { return active_ < anchor_ ? active_ : anchor_; }
    TBufferCoord SelEndPos() const { return active_ < anchor_ ? anchor_ : active_; }
    void SetSelBeginPos(TBufferCoord p);
    void SetSelEndPos(TBufferCoord p);
    // Sets both ends at once (anchor and active), clamped, caret at the active end.
    void SetSelection(TBufferCoord anchor, TBufferCoord active);
    bool HasSelection() const;
    std::string SelectedText() const;
    void SetSelectedText(std::string_view s);
    int SelOffset() const;
    void SetSelOffset(int n);
    void SelectChars(int n);
    void ClipboardCut();
    void ClipboardCopy();
    void ClipboardPaste();
    void DeleteSelection();
    void SelectAll();
    void ClearAll();

    // ---- undo and redo
    TCodeEditUndoList& UndoList() { return undoList_; }
    TCodeEditUndoList& RedoList() { return redoList_; }
    void Undo();
    void Redo();
    bool UndoAvailable() const { return !readOnly_ && undoList_.UndoAvailable(); }
    bool RedoAvailable() const { return !readOnly_ && redoList_.UndoAvailable(); }
    bool Modified() const { return modified_; }
    void SetModified(bool value);
    void DiscardUndo();
    void SuspendUndo();
    void ResumeUndo();
    void OpenUndoBlock() { undoList_.OpenBlock(); }
    void CloseUndoBlock() { undoList_.CloseBlock(); }
    int MaxUndo() const { return undoList_.MaxUndo(); }
    void SetMaxUndo(int n);

    // ---- painting lock and events
    void LockPainting();
    void UnlockPainting();
    int PaintLock() const { return paintLock_; }
    std::function<void()> OnChange;
    std::function<void(TStatusChanges)> OnStatusChange;
    std::function<void(int slot)> OnPlaceBookmark;
    std::function<void(int slot)> OnClearBookmark;
    // A left click in the gutter: the line and the first bookmark on it (or nullptr).
    std::function<void(int line, const TCodeEditMark* mark)> OnGutterClick;

    // ---- commands and keys
    TCodeEditKeyStrokes& Keystrokes() { return keystrokes_; }
    void PerformCommand(TCodeEditorCommand command, char ch = 0, void* data = nullptr);
    // A key press from the view; true when the keystroke table consumed it (the
    // character message of the same press must then be dropped).
    bool KeyDown(uint8_t key, TShiftState shift);
    // A character message from the view.
    void KeyPress(char ch);
    CommandEvent OnProcessCommand;
    CommandEvent OnProcessUserCommand;
    CommandEvent OnCommandProcessed;
    int RegisterCommandHandler(THookedCommandHandler handler, void* data);
    void UnregisterCommandHandler(int id);
    int AddKeyDownHandler(KeyDownHandler h);
    int AddKeyPressHandler(KeyPressHandler h);
    int AddMouseDownHandler(MouseDownHandler h);
    void RemoveHandler(int id);

    // ---- bookmarks and marks
    void PlaceBookmark(int n, int column, int line);
    void JumpToBookmark(int n);
    void RemoveBookmark(int n);
    // The bookmark in slot n, or nullptr.
    const TCodeEditMark* Bookmark(int n) const;
    TCodeEditMarkList& Marks() { return marks_; }

    // ---- highlighter
    // The attached highlighter, or none. Attaching subscribes the editor to its
    // change notification and rescans every line; nullptr detaches. The owner
    // detaches a highlighter before destroying it.
    void SetHighlighter(TCustomHighlighter* hl);
    TCustomHighlighter* Highlighter() const { return adapter_ ? &adapter_->Highlighter() : nullptr; }
    // The same through the seam (any implementation of the link, e.g. a test's).
    void SetHighlighterLink(TCodeEditHighlighterLink* link);
    TCodeEditHighlighterLink* HighlighterLink() const { return highlighter_; }
    bool IsWordChar(unsigned char c) const { return wordChars_[c]; }

    // ---- display arithmetic
    TCodeGutter& Gutter() { return gutter_; }
    void GutterChanged();
    void SetCellSize(int cellPixelWidth, int rowPixelHeight);
    void SetClientSize(int width, int height);
    int CellPixelWidth() const { return cellWidth_; }
    int RowPixelHeight() const { return rowHeight_; }
    int AutoSizeDigitCount() const;
    int GutterSpan() const;
    int VisibleColumns() const;
    int VisibleRows() const;
    int FirstRow() const { return firstRow_; }
    void SetFirstRow(int row);
    int FirstColumn() const { return firstColumn_; }
    void SetFirstColumn(int column);
    int TopLine() const { return LineOfRow(firstRow_); }
    int RowCount() const;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    const TCodeEditWordWrap* WrapMap() const { return wordWrap_ ? wrap_.get() : nullptr; }
    int LineOfRow(int row) const;
    int RowOfLine(int line) const;
    TDisplayCoord TextToRowPos(TBufferCoord p) const;
    TBufferCoord RowToTextPos(TDisplayCoord p) const;
    // Where the caret is shown: at a row boundary either the end of the upper row
    // or the start of the lower one.
    TDisplayCoord CaretDisplayPos() const;
    bool CaretAtRowEnd() const { return caretAtRowEnd_; }
    // Buffer column <-> display cell (1-based) of one line through its tabs,
    // virtual space included. ceil: a cell inside a tab maps past the tab.
    int ColumnToCell(int line, int column) const;
    int CellToColumn(int line, int cell, bool ceil = false) const;
    std::pair<int, int> CellToPixels(TDisplayCoord p) const;
    TDisplayCoord PixelsToCell(int x, int y) const;
    // Horizontal scroll range: MaxScrollWidth, or more when a line is longer.
    int HorzScrollRange() const;
    void EnsureCaretVisible();
    TScrollBarInfo HorzScrollBar() const;  // all zero while word wrap is on
    TScrollBarInfo VertScrollBar() const;
    // The top row while the vertical scroll box is dragged to a position.
    int RowOfScrollBox(int boxPosition) const;
    // "%d - %d": the lines of the top row and of the last visible row.
    std::string ScrollHintText() const;
    // Scrolls without moving the caret: delta in wheel units (120 a notch),
    // wheelLines rows a notch, or a page with wholePage (Ctrl held).
    void MouseWheel(int delta, bool wholePage, int wheelLines);

    // ---- mouse, in buffer positions (the view converts pixels with PixelsToCell
    // and RowToTextPos)
    void MouseDown(TBufferCoord pos, TShiftState shift);  // left press: place or extend
    void MouseDragTo(TBufferCoord pos);                    // left button held
    void SelectWordAt(TBufferCoord pos);                   // double click
    void GutterClick(int row);                             // left click in the gutter
    // One tick of the auto-scroll timer. dxCells / dyRows are the steps: the
    // mouse's distance beyond the text area in whole cells / rows plus one
    // (negative: left/above; 0: not beyond that edge).
    void AutoScrollTick(int dxCells, int dyRows, bool shift);
    // Whether a drop at pos lands inside the selection (move: the ends count as
    // inside; copy: as outside).
    bool DropInsideSelection(TBufferCoord pos, bool copy) const;
    // Drops the normal-mode selection's text at pos: moved, or copied with copy.
    // Returns false when nothing was done.
    bool DropSelection(TBufferCoord pos, bool copy);

    // ---- search and replace (TCodeEditFindReplace.cpp)
    // The host's answer to one replacement prompt; Line and Column give the start
    // of the match (1-based).
    using TReplaceTextEvent = std::function<void(const std::string& ASearch, const std::string& AReplace,
                                                 int Line, int Column, TCodeReplaceAction& Action)>;
    TCodeEditSearchCustom* SearchEngine() const { return searchEngine_; }
    void SetSearchEngine(TCodeEditSearchCustom* engine) { searchEngine_ = engine; }
    TReplaceTextEvent OnReplaceText;
    // Finds (and replaces) searchText in the range the options choose; returns the
    // number of matches reached, skipped ones included.
    int FindAndReplace(std::string_view searchText, std::string_view replaceText, TSearchOptions options);

    // ---- helpers used by the command and undo code, public for tests
    std::string_view LineText(int line) const { return lines_.Line(line - 1); }
    int LineLength(int line) const { return lines_.LineLength(line - 1); }
    TBufferCoord ClampPos(TBufferCoord p, bool selectionEnd) const;
    // The text of a range in a mode (padded: column rows padded to the block width).
    std::string TextOfRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, bool pad = false) const;

private:
    friend class EditTransaction;
    struct ColumnBlock { int firstLine, lastLine, leftCell, rightCell; };

    // buffer listeners
    void hookChanging();
    void hookChanged();
    void hookCleared();
    void hookDeleted(int index, int count);
    void hookInserted(int index, int count);
    void hookPut(int index);
    int rescanFrom(int index, int count);  // the last line rescanned
    void invalidateLines(int firstLine, int lastLine, bool text, bool gutter);

    // status and painting
    void statusChanged(TStatusChanges c);
    void setCaretRaw(TBufferCoord p);
    void setSelectionRaw(TBufferCoord anchor, TBufferCoord active);
    void rebuildWrap();
    void updateWordChars();
    int maxCaretColumn(int line) const;

    // The text primitives (TCodeEditSelection.cpp). They run inside an
    // EditTransaction and record their own undo when given a note (the list and
    // the kind of the record); without one they record nothing (undo and redo
    // replaying a record). They never trim: trailing blanks are removed by
    // trimTrailingRecorded as steps of their own, so that every record replays
    // exactly.
    ColumnBlock columnBlock(TBufferCoord a, TBufferCoord b) const;
    // Puts line s; with a note, records kind over start..end with the text replaced.
    void putLine(int line, std::string s, TUndoNote note = {}, TBufferCoord start = {}, TBufferCoord end = {},
                 std::string replaced = {});
    void ensureLine();
    // With a note: a stream or line deletion is one record of the stream range it
    // removed; a column deletion one record per row, each an exact byte range.
    TBufferCoord deleteRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, int activeLine, TUndoNote note = {});
    // With a note: a stream or line insertion is one record of note's kind from
    // where the text went (at most the line's end) to its end; a column insertion
    // records each row (ckPaste) and each line it adds (ckLineBreak).
    TBufferCoord insertText(TBufferCoord at, std::string_view s, TSelectionMode mode, TUndoNote note = {});
    // Selects b..e, replaces it by s; returns the end of the inserted text.
    TBufferCoord replaceRange(TBufferCoord b, TBufferCoord e, TSelectionMode mode, std::string_view s);
    // With eoTrimTrailingSpaces: removes the trailing blanks of the lines first..last,
    // each as a recorded deletion on list.
    void trimTrailingRecorded(int first, int last, TCodeEditUndoList& list);
    // Replaces the selection by s with undo records in mode; the core of SelectedText :=.
    void setSelTextInMode(std::string_view s, TSelectionMode mode, TChangeKind insertKind);
    // Deletes the selection, recording one deletion step; trim: the joined line
    // then loses its trailing blanks (not when text is inserted at once).
    void deleteSelectionRecorded(bool trim = true);
    // Line normal mode equivalent of a line-mode range.
    void lineRangeAsStream(TBufferCoord b, TBufferCoord e, TBufferCoord& sb, TBufferCoord& se) const;

    // search and replace (TCodeEditFindReplace.cpp)
    void showFoundMatch(TBufferCoord start, TBufferCoord end, bool backwards);
    void centreLine(TBufferCoord p);
    TBufferCoord replaceSpanRecorded(TBufferCoord b, TBufferCoord e, std::string_view s);

    // undo and redo (TCodeEditUndoRedo.cpp)
    void onItemAdded(TCodeEditUndoList& list);
    void undoItem(TCodeEditUndoItem& item);
    void redoItem(TCodeEditUndoItem& item);
    void updateModifiedFromUndo();

    // commands (TCodeEditCommands.cpp)
    void executeCommand(TCodeEditorCommand command, char ch, void* data);
    void moveCaretTo(TBufferCoord p, bool select);
    void moveByRows(int rows, bool select);
    void moveToDisplay(TDisplayCoord d, bool select);
    void commandChar(char ch);
    void commandTab();
    void commandShiftTab();
    // trimLeft: the left part then loses its trailing blanks (a step of its own;
    // redo replays that step separately).
    TBufferCoord breakLine(TBufferCoord at, bool indentAllowed, TCodeEditUndoList* list, bool trimLeft);
    void commandLineBreak(bool moveCaret);
    void commandBackspace();
    void commandDelete();
    void commandDeleteWord();
    void commandDeleteLastWord();
    void commandDeleteLine();
    void deleteCaretRange(TBufferCoord b, TBufferCoord e, TChangeKind kind, TBufferCoord caretAfter);
    void blockIndentAt(TBufferCoord anchor, TBufferCoord active, TCodeEditUndoList* list);
    void blockUnindentAt(TBufferCoord anchor, TBufferCoord active, TCodeEditUndoList* list);
    void affectedLines(TBufferCoord anchor, TBufferCoord active, int& first, int& last) const;
    TBufferCoord wordRightPos(TBufferCoord p) const;
    TBufferCoord wordLeftPos(TBufferCoord p) const;
    TBufferCoord matchBracket(TBufferCoord p) const;
    void scrollBy(int rows);
    void pageMove(int direction, bool select);
    void groupBreak();
    int indentOfLine(int line, bool tabAsWidth) const;

    TCodeEditStringList lines_;
    TCodeEditView* view_ = nullptr;
    TMemoryClipboard memoryClipboard_;
    TCodeEditClipboard* clipboard_ = &memoryClipboard_;
    TCodeEditHighlighterLink* highlighter_ = nullptr;
    std::unique_ptr<TCodeEditHighlighterAdapter> adapter_;  // when attached by SetHighlighter
    TCodeEditHighlighterLink::CharSet wordChars_{};
    TCodeEditWordWrap::BreakSet breakChars_{};

    TCodeEditorOptions options_ = DefaultEditorOptions;
    bool readOnly_ = false;
    int maxScrollWidth_ = 1024;
    int tabWidth_ = 8;
    bool insertMode_ = true;
    TSelectionMode selectionMode_ = smNormal;

    TBufferCoord caret_;
    TBufferCoord anchor_;
    TBufferCoord active_;
    bool caretAtRowEnd_ = false;  // caret shown at the end of the upper row of a boundary

    TCodeEditUndoList undoList_;
    TCodeEditUndoList redoList_;
    bool modified_ = false;
    bool inRedo_ = false;   // redo running: the redo list is not emptied

    int paintLock_ = 0;
    int ownEdit_ = 0;           // >0 while the editor itself changes the lines
    std::array<TListenerToken, 6> lineListeners_{};  // the editor's own subscriptions to the buffer
    bool linesChanging_ = false;
    TStatusChanges pendingStatus_ = 0;
    int pendingFirstLine_ = 0;  // pending repaint while the lines change (0: none)
    int pendingLastLine_ = 0;

    TCodeEditKeyStrokes keystrokes_;
    std::vector<THookedCommandHandlerEntry> commandHooks_;
    std::vector<std::pair<int, KeyDownHandler>> keyDownHandlers_;
    std::vector<std::pair<int, KeyPressHandler>> keyPressHandlers_;
    std::vector<std::pair<int, MouseDownHandler>> mouseDownHandlers_;
    int nextHandlerId_ = 1;
    bool dropNextChar_ = false;

    TCodeEditMarkList marks_;
    std::array<TCodeEditMark*, 10> bookmarks_{};

    TCodeEditSearchCustom* searchEngine_ = nullptr;

    TCodeGutter gutter_;
    int cellWidth_ = 8;
    int rowHeight_ = 15;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int firstRow_ = 1;
    int firstColumn_ = 1;
    bool wordWrap_ = false;
    std::unique_ptr<TCodeEditWordWrap> wrap_;
    int wheelRemainder_ = 0;
    // The widest line (0-based) and its width, kept up to date by the hooks so
    // that the horizontal scroll range costs no scan of the buffer per
    // keystroke; a full scan happens only when the widest line shrank or went.
    void noteLongestPut(int index);
    void noteLongestInserted(int index, int count);
    void noteLongestDeleted(int index, int count);
    mutable int longestLine_ = -1;
    mutable int longestWidth_ = 0;
    mutable bool longestDirty_ = true;
    int lastDigits_ = 4;  // gutter digits in use when the lines last changed
};

}  // namespace pelm
