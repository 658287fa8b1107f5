#pragma once
// Printing the code: the print dialog, the printer or PDF file the listing goes
// to (kept for the whole run, so a choice holds for the next print), and the
// job with a progress window that can cancel it.
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace pelm {

class Prompts;
class TCodeEdit;
class TfrPrint;

class TPrintController {
public:
    // caption: the main window's caption; docFileName: the document's file
    // name ("Новый" without one), which names the default PDF file.
    TPrintController(QWidget* window, TCodeEdit& editor, Prompts& prompts, std::function<QString()> caption,
                     std::function<QString()> docFileName);
    ~TPrintController();
    TPrintController(const TPrintController&) = delete;
    TPrintController& operator=(const TPrintController&) = delete;

    // The print command: the dialog, then the job when it closes with OK.
    void pnkFilePrintClick();

    // The destination. Without any installed printer it is a PDF file beside
    // the document (or in the home folder).
    QPrinter& Printer();
    // Called with each new dialog before it shows (tests fill it in here).
    std::function<void(TfrPrint&)> OnDialogCreated;

private:
    void print(TfrPrint& dialog);

    QWidget* window_;
    TCodeEdit& editor_;
    Prompts& prompts_;
    std::function<QString()> caption_;
    std::function<QString()> docFileName_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace pelm
