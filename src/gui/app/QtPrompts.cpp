#include "gui/app/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace pelm {

QtPrompts::~QtPrompts() {
    delete dlgOpen_.data();
    delete dlgSave_.data();
}

PromptAnswer QtPrompts::askYesNoCancel(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        default: return PromptAnswer::Cancel;
    }
}

QString QtPrompts::QtFilterText(const FileFilter& filter) {
    QString description = filter.description;
    const qsizetype paren = description.indexOf(QLatin1String(" ("));
    if (paren >= 0) description.truncate(paren);
    QStringList patterns = filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    return description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QString QtPrompts::runDialog(QPointer<QFileDialog>& dialog, QWidget* owner, bool save,
                             const FileDialogRequest& request) {
    if (!dialog) {
        dialog = new QFileDialog(owner);
        dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog->setOption(QFileDialog::ReadOnly, false);
        dialog->setSizeGripEnabled(true);
    }
    QStringList filters;
    for (const FileFilter& f : request.filters) filters << QtFilterText(f);
    // Setting the same list again would reset the user's last filter choice.
    if (dialog->nameFilters() != filters) dialog->setNameFilters(filters);
    if (save && request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog->selectNameFilter(filters[request.filterIndex - 1]);
    dialog->setDefaultSuffix(request.defaultExt);
    if (!request.caption.isEmpty()) dialog->setWindowTitle(request.caption);
    if (!request.folder.isEmpty()) dialog->setDirectory(request.folder);
    // One filter may list programs only: the executable files of the folder.
    if (request.executablesFilter >= 1 && request.executablesFilter <= filters.size()) {
        const QString programs = filters[request.executablesFilter - 1];
        const QDir::Filters plain = QDir::AllDirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot;
        auto choose = [d = dialog.data(), programs, plain](const QString& filter) {
            d->setFilter(filter == programs ? plain | QDir::Executable : plain);
        };
        QObject::connect(dialog, &QFileDialog::filterSelected, dialog, choose);
        dialog->selectNameFilter(programs);
        choose(programs);
    }
    if (save || !request.fileName.isEmpty()) dialog->selectFile(request.fileName);
    if (dialog->exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString QtPrompts::openFileName(QWidget* owner, const FileDialogRequest& request) {
    // A dialog with a title, folder or filter of its own (the browser and
    // script dialogs) is a separate dialog: the open dialog keeps its state.
    if (!request.caption.isEmpty() || !request.folder.isEmpty() || request.executablesFilter != 0) {
        QPointer<QFileDialog> own;
        const QString chosen = runDialog(own, owner, false, request);
        delete own.data();
        return chosen;
    }
    return runDialog(dlgOpen_, owner, false, request);
}

QString QtPrompts::saveFileName(QWidget* owner, const FileDialogRequest& request) {
    return runDialog(dlgSave_, owner, true, request);
}

void QtPrompts::showError(QWidget* owner, const QString& message) {
    QString caption = owner ? owner->window()->windowIconText() : QString();
    if (caption.isEmpty()) caption = QApplication::applicationName();
    QMessageBox::critical(owner, caption, message);
}

}  // namespace pelm
