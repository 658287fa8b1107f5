#pragma once
// The prompts as Qt's message boxes and file dialogs. The open and the save
// dialog are each one object for the whole run, so each keeps its own last
// folder and filter.
#include <QPointer>

#include "gui/app/Prompts.h"

class QFileDialog;

namespace pelm {

class QtPrompts : public Prompts {
public:
    ~QtPrompts() override;

    PromptAnswer askYesNoCancel(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFileName(QWidget* owner, const FileDialogRequest& request) override;
    QString saveFileName(QWidget* owner, const FileDialogRequest& request) override;
    void showError(QWidget* owner, const QString& message) override;

    // Qt takes the patterns from the parentheses of a filter text and splits
    // them at blanks: "HTML (*.htm; *.html)" becomes "HTML (*.htm *.html)".
    static QString QtFilterText(const FileFilter& filter);

private:
    QString runDialog(QPointer<QFileDialog>& dialog, QWidget* owner, bool save, const FileDialogRequest& request);

    QPointer<QFileDialog> dlgOpen_;
    QPointer<QFileDialog> dlgSave_;
};

}  // namespace pelm
