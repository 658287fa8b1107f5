#include "gui/dialogs/TfrPrint.h"

#include <QCheckBox>
#include <QDate>
#include <QLocale>
#include <QTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "core/platform/Convert.h"
#include "core/platform/Errors.h"
#include "gui/app/GuiText.h"
#include "gui/app/Prompts.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/print/TQtPrintCanvas.h"

namespace pelm {

TfrPrint::TfrPrint(QWidget* parent, TCodeEdit& editor, QPrinter& printer, Prompts& prompts, const QString& docTitle)
    : QDialog(parent), editor_(editor), printer_(printer), prompts_(prompts), docTitle_(docTitle) {
    setObjectName(QStringLiteral("frPrint"));
    setWindowTitle(QStringLiteral("Печать кода"));
    setFixedSize(372, 232);

    pcPrint = new QTabWidget(this);
    pcPrint->setObjectName(QStringLiteral("pcPrint"));
    pcPrint->setGeometry(8, 8, 356, 184);
    tabPrint = new QWidget;
    tabPrint->setObjectName(QStringLiteral("tabPrint"));
    pcPrint->addTab(tabPrint, QStringLiteral("Печать кода страницы"));

    lblCopies = new QLabel(QStringLiteral("&Копий:"), tabPrint);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    lblCopies->setGeometry(12, 14, 60, 21);
    edtCopies = new QLineEdit(QStringLiteral("1"), tabPrint);
    edtCopies->setObjectName(QStringLiteral("edtCopies"));
    edtCopies->setGeometry(76, 14, 44, 21);
    edtCopies->setToolTip(QStringLiteral("Сколько копий этого документы печатать"));
    lblCopies->setBuddy(edtCopies);
    // The up-down beside the copies: steps the number from 1 to 100.
    udCopies = new QWidget(tabPrint);
    udCopies->setObjectName(QStringLiteral("udCopies"));
    udCopies->setGeometry(120, 14, 16, 21);
    udCopies->setToolTip(edtCopies->toolTip());
    auto* up = new QToolButton(udCopies);
    up->setObjectName(QStringLiteral("udCopiesUp"));
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, 16, 10);
    up->setAutoRepeat(true);
    up->setFocusPolicy(Qt::NoFocus);
    auto* down = new QToolButton(udCopies);
    down->setObjectName(QStringLiteral("udCopiesDown"));
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, 11, 16, 10);
    down->setAutoRepeat(true);
    down->setFocusPolicy(Qt::NoFocus);
    connect(up, &QToolButton::clicked, this, [this] { stepCopies(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepCopies(-1); });

    auto check = [this](const char* name, const QString& caption, const QString& hint, int y, bool checked) {
        auto* box = new QCheckBox(caption, tabPrint);
        box->setObjectName(QLatin1String(name));
        box->setToolTip(hint);
        box->setGeometry(12, y, 220, 19);
        box->setChecked(checked);
        return box;
    };
    chkSelectedOnly = check("chkSelectedOnly", QStringLiteral("Только &выделенное"),
                            QStringLiteral("Печатать не весь, а только выделенный фрагмент"), 46, false);
    chkLineNumbers = check("chkLineNumbers", QStringLiteral("&Номера строк"),
                           QStringLiteral("Слева от строк делать нумерацию"), 68, true);
    chkColors = check("chkColors", QStringLiteral("&Цветная печать"), QStringLiteral("Печатать разными цветами"), 90,
                      false);
    chkHighlight = check("chkHighlight", QStringLiteral("Подсветка &синтаксиса"),
                         QStringLiteral("Выделять элементы HTML"), 112, true);
    BitBtn1 = new QPushButton(QStringLiteral("&Принтер..."), tabPrint);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    BitBtn1->setGeometry(240, 12, 100, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrPrint::BitBtn1Click);
    // Where the listing goes: a printer's name or the PDF file.
    lblPrinter = new QLabel(tabPrint);
    lblPrinter->setObjectName(QStringLiteral("lblPrinter"));
    lblPrinter->setGeometry(12, 134, 330, 19);

    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(208, 200, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrPrint::btnOKClick);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(289, 200, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edtCopies, chkSelectedOnly);
    setTabOrder(chkSelectedOnly, chkLineNumbers);
    setTabOrder(chkLineNumbers, chkColors);
    setTabOrder(chkColors, chkHighlight);
    setTabOrder(chkHighlight, BitBtn1);
    setTabOrder(BitBtn1, btnOK);
    setTabOrder(btnOK, btnCancel);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TfrPrint::FormCreate() {
    chkSelectedOnly->setChecked(false);
    if (editor_.Model().HasSelection()) chkSelectedOnly->setChecked(true);
    else chkSelectedOnly->setEnabled(false);
    showDestination();
}

QString TfrPrint::DestinationText(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        if (printer.outputFileName().isEmpty()) return QStringLiteral("Печать в файл (PDF): файл не выбран");
        return QStringLiteral("Печать в файл (PDF): ") + QFileInfo(printer.outputFileName()).fileName();
    }
    if (printer.printerName().isEmpty()) return QStringLiteral("Принтер не выбран");
    return QStringLiteral("Принтер: ") + printer.printerName();
}

void TfrPrint::showDestination() {
    lblPrinter->setText(DestinationText(printer_));
    lblPrinter->setToolTip(printer_.outputFileName());
}

void TfrPrint::stepCopies(int delta) {
    int n = 1;
    if (!ParseInteger(edtCopies->text().toStdString(), n)) n = 1;
    else n = std::clamp(n + delta, 1, 100);
    edtCopies->setText(QString::number(n));
}

void TfrPrint::BitBtn1Click() {
    if (PrinterSetup) {
        PrinterSetup(printer_, this);
    } else {
        QPrintDialog dialog(&printer_, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.exec();
    }
    showDestination();
}

void TfrPrint::btnOKClick() {
    SynEditPrint.DocTitle = docTitle_.toStdString();
    SynEditPrint.TakeEditor(editor_.Model());
    SynEditPrint.Font = TQtPrintCanvas::FromQFont(editor_.EditorFont());
    // The bands' $DATE$ and $TIME$ in the user's locale formats.
    const QLocale locale = QLocale::system();
    for (THeaderFooter* band : {&SynEditPrint.Header, &SynEditPrint.Footer}) {
        band->DateText = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        band->TimeText = locale.toString(QTime::currentTime(), QLocale::LongFormat).toStdString();
    }
    try {
        SynEditPrint.Copies = StrToInt(edtCopies->text().toStdString());
    } catch (const EError& e) {
        prompts_.showError(this, QString::fromStdString(e.what()));
        return;
    }
    SynEditPrint.Colors = chkColors->isChecked();
    SynEditPrint.Highlight = chkHighlight->isChecked();
    SynEditPrint.LineNumbers = chkLineNumbers->isChecked();
    SynEditPrint.SelectedOnly = chkSelectedOnly->isChecked();
    // Without a printer and without a file there is nowhere to print: say so
    // and keep the dialog, with every choice, open.
    const bool toFile = printer_.outputFormat() == QPrinter::PdfFormat;
    if ((toFile && printer_.outputFileName().isEmpty()) || (!toFile && printer_.printerName().isEmpty())) {
        prompts_.showError(this, QStringLiteral("Не выбран ни принтер, ни файл для печати. Выберите их кнопкой "
                                                "\"Принтер...\"."));
        return;
    }
    accept();
}

}  // namespace pelm
