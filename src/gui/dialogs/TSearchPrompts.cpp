#include "gui/dialogs/TSearchPrompts.h"

#include <QApplication>

#include "gui/dialogs/TConfirmReplaceDialog.h"
#include "gui/dialogs/TTextSearchDialog.h"

namespace pelm {

bool TQtSearchPrompts::ExecuteSearchDialog(TTextSearchDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

TCodeReplaceAction TQtSearchPrompts::ExecuteConfirmDialog(TConfirmReplaceDialog& dialog) {
    dialog.exec();
    return dialog.Action();
}

void TQtSearchPrompts::Beep() { QApplication::beep(); }

}  // namespace pelm
