#pragma once
// The print dialog "Печать кода": copies, selection only, line numbers,
// colours, highlighting, and the printer. OK hands the editor's text and the
// choices to the print engine and closes the dialog; the caller prints.
#include <QDialog>
#include <QString>
#include <functional>

#include "core/print/TCodeEditPrint.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace pelm {

class Prompts;
class TCodeEdit;

class TfrPrint : public QDialog {
    Q_OBJECT
public:
    // printer: the destination, kept by the caller between prints. docTitle:
    // the main window's caption, which names the job.
    TfrPrint(QWidget* parent, TCodeEdit& editor, QPrinter& printer, Prompts& prompts, const QString& docTitle);

    void FormCreate();
    // Validates and fills the engine; closes the dialog when all is well.
    void btnOKClick();
    // The printer setup: the choice of a printer or of a PDF file.
    void BitBtn1Click();

    TCodeEditPrint& Engine() { return SynEditPrint; }
    // Runs the printer setup on the printer; false when cancelled. By default
    // Qt's print dialog.
    std::function<bool(QPrinter&, QWidget*)> PrinterSetup;
    // The destination as the dialog shows it.
    static QString DestinationText(const QPrinter& printer);

    QTabWidget* pcPrint;
    QWidget* tabPrint;
    QLabel* lblCopies;
    QLineEdit* edtCopies;
    QWidget* udCopies;
    QCheckBox* chkSelectedOnly;
    QCheckBox* chkLineNumbers;
    QCheckBox* chkColors;
    QCheckBox* chkHighlight;
    QPushButton* BitBtn1;
    QLabel* lblPrinter;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    void stepCopies(int delta);
    void showDestination();

    TCodeEdit& editor_;
    QPrinter& printer_;
    Prompts& prompts_;
    QString docTitle_;
    TCodeEditPrint SynEditPrint;
};

}  // namespace pelm
