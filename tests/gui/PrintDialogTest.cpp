// The print dialog on the real main window: its controls and their first
// state, the copies error and the missing destination that keep it open, and
// a highlighted HTML document printed to a PDF file.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "gui/app/TPrintController.h"
#include "gui/dialogs/TfrPrint.h"

namespace pelm::test {
namespace {

class PrintDialogTest : public MainWindowFixture {
protected:
    // The window's print command with a dialog the test fills in; OK is
    // pressed once the dialog runs, unless fill returns false.
    void printWith(TfrMain& w, std::function<bool(TfrPrint&)> fill) {
        w.PrintController().OnDialogCreated = [fill](TfrPrint& dialog) {
            const bool ok = fill(dialog);
            QTimer::singleShot(0, &dialog, [&dialog, ok] {
                if (ok) dialog.btnOK->click();
                if (dialog.isVisible()) dialog.reject();
            });
        };
        w.pnkFilePrintClick();
    }
};

TEST_F(PrintDialogTest, MenuItemAndToolbarButtonOpenTheDialog) {
    auto w = Start();
    EXPECT_EQ(w->pnktbxFilePrint->text(), QStringLiteral("Печать"));
    EXPECT_EQ(w->pnktbxFilePrint->toolTip(), QStringLiteral("Распечатать HTML-код (Ctrl+P)"));
    int opened = 0;
    w->PrintController().OnDialogCreated = [&opened](TfrPrint& dialog) {
        ++opened;
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.btnCancel->click(); });
    };
    w->pnktbxFilePrint->trigger();
    w->pnkFilePrint->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(prompts_.errors.isEmpty());
}

TEST_F(PrintDialogTest, ControlsAndTheirFirstState) {
    auto w = Start();
    w->snEditor->Lines().SetText("<p>one</p>\n<p>two</p>");
    QPrinter printer;
    TfrPrint dialog(w.get(), *w->snEditor, printer, prompts_, w->windowTitle());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Печать кода"));
    EXPECT_EQ(dialog.size(), QSize(372, 232));
    ASSERT_EQ(dialog.pcPrint->count(), 1);
    EXPECT_EQ(dialog.pcPrint->tabText(0), QStringLiteral("Печать кода страницы"));
    EXPECT_EQ(dialog.lblCopies->text(), QStringLiteral("&Копий:"));
    EXPECT_EQ(dialog.edtCopies->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.edtCopies->toolTip(), QStringLiteral("Сколько копий этого документы печатать"));
    const struct {
        QCheckBox* box;
        const char* caption;
        const char* hint;
        bool checked;
    } boxes[] = {
        {dialog.chkSelectedOnly, "Только &выделенное", "Печатать не весь, а только выделенный фрагмент", false},
        {dialog.chkLineNumbers, "&Номера строк", "Слева от строк делать нумерацию", true},
        {dialog.chkColors, "&Цветная печать", "Печатать разными цветами", false},
        {dialog.chkHighlight, "Подсветка &синтаксиса", "Выделять элементы HTML", true},
    };
    for (const auto& b : boxes) {
        EXPECT_EQ(b.box->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.box->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.box->isChecked(), b.checked) << b.caption;
    }
    // Nothing selected: "only the selection" cannot be chosen.
    EXPECT_FALSE(dialog.chkSelectedOnly->isEnabled());
    EXPECT_EQ(dialog.BitBtn1->text(), QStringLiteral("&Принтер..."));
    EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("ОК"));
    EXPECT_TRUE(dialog.btnOK->isDefault());
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("Отмена"));
    // Tab order.
    const QList<QWidget*> order = {dialog.edtCopies,   dialog.chkSelectedOnly, dialog.chkLineNumbers, dialog.chkColors,
                                   dialog.chkHighlight, dialog.BitBtn1,         dialog.btnOK,          dialog.btnCancel};
    const auto nextStop = [](QWidget* from) {
        QWidget* n = from->nextInFocusChain();
        while (n != from && !(n->focusPolicy() & Qt::TabFocus)) n = n->nextInFocusChain();
        return n;
    };
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(nextStop(order[i]), order[i + 1]) << order[i]->objectName().toStdString();
    // The up-down steps between 1 and 100.
    auto* up = dialog.udCopies->findChild<QToolButton*>(QStringLiteral("udCopiesUp"));
    auto* down = dialog.udCopies->findChild<QToolButton*>(QStringLiteral("udCopiesDown"));
    down->click();
    EXPECT_EQ(dialog.edtCopies->text(), QStringLiteral("1"));
    up->click();
    EXPECT_EQ(dialog.edtCopies->text(), QStringLiteral("2"));
    dialog.edtCopies->setText(QStringLiteral("100"));
    up->click();
    EXPECT_EQ(dialog.edtCopies->text(), QStringLiteral("100"));

    // With a selection the box starts checked.
    w->snEditor->Model().SelectAll();
    TfrPrint selected(w.get(), *w->snEditor, printer, prompts_, w->windowTitle());
    EXPECT_TRUE(selected.chkSelectedOnly->isEnabled());
    EXPECT_TRUE(selected.chkSelectedOnly->isChecked());
}

TEST_F(PrintDialogTest, BadCopiesAndNoDestinationKeepTheDialogOpen) {
    auto w = Start();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("out.pdf"));
    TfrPrint dialog(w.get(), *w->snEditor, printer, prompts_, w->windowTitle());
    dialog.show();
    dialog.edtCopies->setText(QStringLiteral("два"));
    dialog.chkColors->setChecked(true);
    dialog.btnOKClick();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0], QStringLiteral("'два' is not a valid integer value"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.edtCopies->text(), QStringLiteral("два"));
    EXPECT_TRUE(dialog.chkColors->isChecked());

    // A PDF without a file name: nowhere to print.
    dialog.edtCopies->setText(QStringLiteral("2"));
    printer.setOutputFileName(QString());
    dialog.btnOKClick();
    ASSERT_EQ(prompts_.errors.size(), 2);
    EXPECT_TRUE(prompts_.errors[1].contains(QStringLiteral("Не выбран ни принтер, ни файл")));
    EXPECT_TRUE(dialog.isVisible());

    // The printer setup chooses a file: the dialog shows it and OK closes it.
    dialog.PrinterSetup = [this](QPrinter& p, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(Path("chosen.pdf"));
        return true;
    };
    dialog.BitBtn1->click();
    EXPECT_EQ(dialog.lblPrinter->text(), QStringLiteral("Печать в файл (PDF): chosen.pdf"));
    dialog.btnOKClick();
    EXPECT_EQ(prompts_.errors.size(), 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Engine().Copies, 2);
    EXPECT_TRUE(dialog.Engine().Colors);
}

TEST_F(PrintDialogTest, PrintsAHighlightedDocumentToPdf) {
    QByteArray html = "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Print test</title>\r\n"
                      "<style>body { color: #333; }</style>\r\n</head>\r\n<body>\r\n"
                      "<!-- a comment that the highlighter colours -->\r\n";
    for (int i = 1; i <= 70; ++i)
        html += "<p class=\"row\" id=\"p" + QByteArray::number(i) + "\">Paragraph " + QByteArray::number(i) +
                " &amp; text</p>\r\n";
    html += "<p>" + QByteArray("alpha, beta, gamma, delta, epsilon, zeta, eta, theta, iota, kappa, lambda, mu, "
                               "nu, xi, omicron, pi, rho, sigma, tau, upsilon, phi, chi, psi, omega") +
            "</p>\r\n</body>\r\n</html>\r\n";
    const QString file = WriteFile("page.html", html);
    auto w = Start({file});
    ASSERT_EQ(w->snEditor->Lines().Count(), 81);  // the last line break ends an empty line
    const QString pdf = Path("page.pdf");
    QPrinter& printer = w->PrintController().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printWith(*w, [](TfrPrint& d) {
        d.chkColors->setChecked(true);
        return true;
    });
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();
    const QByteArray bytes = ReadFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << bytes.left(20).toStdString();
    EXPECT_GT(bytes.size(), 2000);
    // Two pages: 80 lines at about 59 rows a page with the default margins.
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page ") +
                  bytes.count("/Type /Page>"),
              2)
        << "pages";
    // A copy for looking at, when asked for.
    const QByteArray keep = qgetenv("PELM_KEEP_PRINT_PDF");
    if (!keep.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(pdf, QString::fromLocal8Bit(keep));
    }

    // Cancel prints nothing.
    QFile::remove(pdf);
    printWith(*w, [](TfrPrint&) { return false; });
    EXPECT_FALSE(QFile::exists(pdf));
}

// A destination that does not take the job: the error box names it, and the
// document is untouched.
TEST_F(PrintDialogTest, APrinterThatRefusesTheJobReportsIt) {
    auto w = Start();
    w->snEditor->Lines().SetText("<p>kept</p>");
    QPrinter& printer = w->PrintController().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString bad = Path("no/such/folder/out.pdf");
    printer.setOutputFileName(bad);
    printWith(*w, [](TfrPrint&) { return true; });
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0], QStringLiteral("Cannot start printing on \"") + bad + QStringLiteral("\"."));
    EXPECT_EQ(Text(*w), QStringLiteral("<p>kept</p>"));
}

// A long job shows its progress, and its Cancel stops the job between pages:
// the 20,000-line listing does not run to its end.
TEST_F(PrintDialogTest, ALongJobCanBeCancelled) {
    auto w = Start();
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "<p>line " + std::to_string(i) + "</p>\n";
    w->snEditor->Lines().SetText(text);
    QPrinter& printer = w->PrintController().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("long.pdf"));
    QTimer canceller;
    bool cancelled = false;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = w->findChild<QProgressDialog*>()) {
            progress->cancel();
            cancelled = true;
        }
    });
    canceller.start(20);
    w->PrintController().OnDialogCreated = [](TfrPrint& dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.btnOK->click(); });
    };
    w->pnkFilePrintClick();
    canceller.stop();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();
    // About 340 pages: a cancelled job stops well before them (an aborted
    // PDF may be left out altogether).
    const QByteArray bytes = ReadFile(Path("long.pdf"));
    EXPECT_LT(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>"), 300);
}

}  // namespace
}  // namespace pelm::test
