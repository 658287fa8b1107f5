#include "gui/app/TPrintController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <exception>

#include "gui/app/Prompts.h"
#include "gui/dialogs/TfrPrint.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/print/TQtPrintCanvas.h"

namespace pelm {

TPrintController::TPrintController(QWidget* window, TCodeEdit& editor, Prompts& prompts,
                                   std::function<QString()> caption, std::function<QString()> docFileName)
    : window_(window), editor_(editor), prompts_(prompts), caption_(std::move(caption)),
      docFileName_(std::move(docFileName)) {}

TPrintController::~TPrintController() = default;

QPrinter& TPrintController::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty() || printer_->printerName().isEmpty()) {
            // No printer on this machine: the listing goes to a PDF file.
            printer_->setOutputFormat(QPrinter::PdfFormat);
            const QString doc = docFileName_ ? docFileName_() : QString();
            const QFileInfo info(doc);
            const QString name = (doc.isEmpty() ? QStringLiteral("Новый") : info.fileName()) + QStringLiteral(".pdf");
            printer_->setOutputFileName(info.isAbsolute() ? info.absolutePath() + QLatin1Char('/') + name
                                                          : QDir::homePath() + QLatin1Char('/') + name);
        }
    }
    return *printer_;
}

void TPrintController::pnkFilePrintClick() {
    TfrPrint dialog(window_, editor_, Printer(), prompts_, caption_ ? caption_() : QString());
    if (OnDialogCreated) OnDialogCreated(dialog);
    if (dialog.exec() == QDialog::Accepted) print(dialog);
}

void TPrintController::print(TfrPrint& dialog) {
    TCodeEditPrint& engine = dialog.Engine();
    QPrinter& printer = Printer();
    // A long job shows its pages and can be cancelled between them.
    QProgressDialog progress(QStringLiteral("Печать..."), QStringLiteral("Отмена"), 0, 1, window_);
    progress.setWindowTitle(QStringLiteral("Печать кода"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    int printed = 0;
    engine.OnPrintStatus = [&](TSynPrintStatus status, int page, bool& abort) {
        if (status == psNewPage) {
            const int total = std::max(1, engine.PageCount() * std::max(1, engine.Copies));
            if (progress.maximum() != total) progress.setMaximum(total);
            progress.setLabelText(QStringLiteral("Печать страницы %1 из %2").arg(page).arg(engine.PageCount()));
            progress.setValue(printed++);
        }
        if (progress.wasCanceled()) abort = true;
    };
    int lines = 0;
    engine.OnPrintLine = [&](int, int) {
        // Pages of long wrapped lines take a while: keep the window alive.
        if (++lines % 500 == 0) {
            QCoreApplication::processEvents();
            if (progress.wasCanceled()) engine.Abort();
        }
    };
    try {
        TQtPrintCanvas canvas(printer);
        engine.PrintPages(canvas, 1, 0);
    } catch (const std::exception& e) {
        progress.close();
        prompts_.showError(window_, QString::fromStdString(e.what()));
        return;
    }
    progress.close();
}

}  // namespace pelm
