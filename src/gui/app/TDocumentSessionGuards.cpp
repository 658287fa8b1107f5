// The document session's guards around the document's file: what may be opened, and
// what a save would do to the file that was loaded.
#include "gui/app/TDocumentSession.h"

#include "core/editor/TCodeEditStringList.h"
#include "core/platform/Errors.h"
#include "core/platform/FileCheck.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm {

// Raises the open error for a directory, a pipe, a device or a file larger than
// the memory there is; for a file that looks binary asks whether to edit it.
// True: open it read-only.
bool TDocumentSession::CheckFileToOpen(const QString& fileName) {
    const TFileCheck check = CheckDocumentFile(FileNameBytes(fileName));
    if (!check.Error.empty()) throw EFOpenError(check.Error);
    if (!check.Binary) return false;
    const QString text = QStringLiteral("Файл \"") + FileNamePart(fileName) +
                         QStringLiteral("\" похож на двоичный: в нём есть нулевые или управляющие байты, "
                                        "и сохранение может его изменить.\n\n"
                                        "Открыть его для правки? «Нет» откроет файл только для чтения.");
    switch (prompts_.askYesNoCancel(window_, QStringLiteral("Вопрос"), text)) {
        case PromptAnswer::Yes: return false;
        case PromptAnswer::No: return true;
        case PromptAnswer::Cancel: break;
    }
    throw EAbort();
}

// Before Save writes over the document's file: a read-only document is not
// written, and a file whose lines ended in more than one way is rewritten with
// one kind of line break only after the user has agreed, once per load.
bool TDocumentSession::ConfirmSaveOverFile() {
    if (editor_.Model().ReadOnly()) {
        prompts_.showError(window_, QStringLiteral("Файл \"") + FileNamePart(docFileName_) +
                                      QStringLiteral("\" открыт только для чтения. Сохраните его под другим именем."));
        return false;
    }
    if (lineBreaksConfirmed_ || !editor_.Lines().MixedLineBreaks()) return true;
    const QString text = QStringLiteral("В файле \"") + FileNamePart(docFileName_) +
                         QStringLiteral("\" строки разделены по-разному (CR LF, LF, CR). "
                                        "При сохранении все переводы строк станут CR LF.\n\nСохранить файл?");
    if (prompts_.askYesNoCancel(window_, QStringLiteral("Вопрос"), text) != PromptAnswer::Yes) return false;
    lineBreaksConfirmed_ = true;
    return true;
}

}  // namespace pelm
