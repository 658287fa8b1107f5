#pragma once
// Every modal question, file dialog and the error box of the main window go
// through this interface, so that tests can answer them.
#include <QList>
#include <QString>

class QWidget;

namespace pelm {

enum class PromptAnswer { Yes, No, Cancel };

struct FileFilter {
    QString description;  // "HTML (*.htm; *.html)"
    QString patterns;     // "*.htm;*.html"
};

struct FileDialogRequest {
    QList<FileFilter> filters;
    int filterIndex = 1;  // 1-based, as in the filter table
    QString defaultExt;   // without the dot
    QString fileName;     // preset name (Save As)
    QString caption;      // the dialog's title ("": the default)
    QString folder;       // starting folder ("": the last one)
    int executablesFilter = 0;  // 1-based filter that lists executable files only (0: none)
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // A question box with the question icon and the buttons Yes, No and Cancel.
    virtual PromptAnswer askYesNoCancel(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The chosen file name, or an empty string when the dialog is cancelled.
    virtual QString openFileName(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual QString saveFileName(QWidget* owner, const FileDialogRequest& request) = 0;
    // The application's standard error box.
    virtual void showError(QWidget* owner, const QString& message) = 0;
};

}  // namespace pelm
