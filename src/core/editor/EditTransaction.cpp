#include "core/editor/EditTransaction.h"

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

EditTransaction::EditTransaction(TCustomCodeEdit& e, TEditScope scope) : e_(e) {
    if ((scope == TEditScope::Typing || scope == TEditScope::Command) && e_.readOnly_) return;
    open_ = true;
    e_.LockPainting();
    ++e_.ownEdit_;
    if (scope == TEditScope::View) return;
    e_.lines_.BeginBatch();
    batch_ = true;
    if (scope != TEditScope::Typing) OpenUndoBlock();
}

void EditTransaction::OpenUndoBlock() {
    if (!open_ || block_) return;
    e_.undoList_.OpenBlock();
    block_ = true;
}

EditTransaction::~EditTransaction() {
    if (!open_) return;
    if (block_) e_.undoList_.CloseBlock();
    if (batch_) e_.lines_.EndBatch();
    --e_.ownEdit_;
    e_.UnlockPainting();
}

}  // namespace pelm
