#pragma once
// One change of the text, from the editor's side of the buffer: everything an
// edit must hold while it runs, taken together and given back together (also
// when the edit ends with an error), in this order:
//   - the paint lock, so the view repaints once, after the edit;
//   - the editor's own-edit mark, so the buffer listeners know the change is
//     the editor's (a change behind its back drops the selection);
//   - the buffer's update bracket (BeginBatch/EndBatch), so the buffer's
//     listeners see one change;
//   - the undo block, so the edit is one undo step.
// Read-only is checked here, once: a refused transaction holds nothing and
// tests false. The text primitives (insert, delete, put line) run inside a
// transaction and record their own undo.
#include <cstdint>

namespace pelm {

class TCustomCodeEdit;

enum class TEditScope : uint8_t {
    // Caret, selection or scrolling only: the paint lock and the own-edit mark.
    View,
    // A keystroke's edit, undo or redo: refused when read-only; no undo block, so
    // that like records of successive keystrokes group into one undo step.
    Typing,
    // A user command: refused when read-only; one undo block.
    Command,
    // The program's own edit (SelectedText :=, a replacement, an edit inside a
    // command that already checked): never refused; one undo block.
    Host,
};

class EditTransaction {
public:
    EditTransaction(TCustomCodeEdit& e, TEditScope scope);
    ~EditTransaction();
    EditTransaction(const EditTransaction&) = delete;
    EditTransaction& operator=(const EditTransaction&) = delete;

    // False when the editor is read-only and the scope refuses the edit.
    explicit operator bool() const { return open_; }
    // Makes the rest of a Typing or View transaction one undo block (a keystroke
    // that turns into a block only on some paths, e.g. filling virtual space).
    void OpenUndoBlock();

private:
    TCustomCodeEdit& e_;
    bool open_ = false;
    bool batch_ = false;
    bool block_ = false;
};

}  // namespace pelm
