#include "gui/app/TfrMain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTime>
#include <QUrl>
#include <QVBoxLayout>

#include "core/config/TIniFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "gui/app/AppTitle.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/app/QtPrompts.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/StatusIcons.h"
#include "gui/app/TDocumentView.h"
#include "gui/app/WndRestore.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm {

const QString NewDocumentName = QStringLiteral("Новый");

namespace {

const char* const kSettingsName = "pelm.ini";

// The filter list of the open and the save dialog, in the order of its indexes.
QList<FileFilter> DocumentFilters() {
    return {
        {QStringLiteral("HTML (*.htm; *.html)"), QStringLiteral("*.htm;*.html")},
        {QStringLiteral("CSS (*.css)"), QStringLiteral("*.css")},
        {QStringLiteral("XML (*.xml;*.xsd;*.xsl;*.xslt;*.dtd; *.wml)"), QStringLiteral("*.xml;*.xsd;*.xsl;*.xslt;*.dtd; *.wml")},
        {QStringLiteral("JavaScript (*.js)"), QStringLiteral("*.js")},
        {QStringLiteral("PHP (*.php; *.php3; *.phtml; *.inc)"), QStringLiteral("*.php;*.php3;*.phtml;*.inc")},
        {QStringLiteral("Perl (*.pl; *.pm; *.cgi)"), QStringLiteral("*.pl;*.pm;*.cgi")},
        {QStringLiteral("Текст (*.txt)"), QStringLiteral("*.txt")},
        {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*")},
    };
}

std::string CursorKey(const QString& docFileName) {
    return FileNameBytes(docFileName) + "_Cursor";
}

}  // namespace

TfrMain::TfrMain(Prompts* prompts, const QString& programDir, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
    if (!prompts_) {
        ownPrompts_ = std::make_unique<QtPrompts>();
        prompts_ = ownPrompts_.get();
    }
    QString dir = programDir;
    if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    layoutFile_ = dir + QLatin1String(kSettingsName);
    createControls();
    FormCreate(dir, arguments);
}

TfrMain::~TfrMain() = default;

void TfrMain::createControls() {
    setObjectName(QStringLiteral("frMain"));
    setWindowTitle(QStringLiteral("Pelm2"));
    setWindowIconText(ApplicationTitle());
    resize(736, 473);

    snEditor = new TDocumentView(this);
    snEditor->setObjectName(QStringLiteral("snEditor"));
    QFont editorFont(QStringLiteral("Courier New"));
    editorFont.setStyleHint(QFont::TypeWriter);
    editorFont.setPixelSize(13);
    snEditor->setFont(editorFont);
    setCentralWidget(snEditor);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("barStatus"));
    bar->setSizeGripEnabled(true);
    barStatus[0] = new TStatusPanel(QStringLiteral("Файл изменён"), 20, Qt::ElideNone);
    barStatus[0]->setAlignment(Qt::AlignCenter);
    barStatus[0]->setPixmap(StatusIcon(false));
    barStatus[1] = new TStatusPanel(QStringLiteral("Путь к файлу"), 250, Qt::ElideMiddle);
    barStatus[2] = new TStatusPanel(QStringLiteral("Подсветка синтаксиса"), 0, Qt::ElideNone);
    barStatus[3] = new TStatusPanel(QStringLiteral("Текущий тег"), 95, Qt::ElideRight);
    barStatus[4] = new TStatusPanel(QStringLiteral("Режим выделения"), 0, Qt::ElideRight);
    barStatus[4]->setText(QStringLiteral("Поток"));
    barStatus[5] = new TStatusPanel(QString(), 100, Qt::ElideNone);

    btnDonate = new QPushButton(QStringLiteral("DONATE"), barStatus[5]);
    btnDonate->setObjectName(QStringLiteral("btnDonate"));
    btnDonate->setFlat(true);
    btnDonate->setCursor(Qt::PointingHandCursor);
    btnDonate->setFocusPolicy(Qt::NoFocus);
    QFont bold = btnDonate->font();
    bold.setBold(true);
    btnDonate->setFont(bold);
    // The colours of an active window caption: the selection colours of the palette.
    btnDonate->setStyleSheet(QStringLiteral(
        "QPushButton { color: palette(highlighted-text); background: palette(highlight);"
        " border: none; padding: 0px 6px; }"
        "QPushButton:hover { text-decoration: underline; }"));
    auto* donateLayout = new QHBoxLayout(barStatus[5]);
    donateLayout->setContentsMargins(2, 1, 2, 1);
    donateLayout->addWidget(btnDonate);
    connect(btnDonate, &QPushButton::clicked, this, &TfrMain::btnDonateClick);

    for (TStatusPanel* panel : barStatus) bar->addWidget(panel);

    // The tag insertion panel's place in the right dock; the panel fills it.
    pnlTagInsert = new QDockWidget(QStringLiteral("Вставка тега"), this);
    pnlTagInsert->setObjectName(QStringLiteral("pnlTagInsert"));
    pnlTagInsert->setFeatures(QDockWidget::NoDockWidgetFeatures);
    pnlTagInsert->setAllowedAreas(Qt::RightDockWidgetArea);
    auto* tagArea = new QWidget(pnlTagInsert);
    tagArea->setFixedSize(206, 290);
    auto* tagLayout = new QVBoxLayout(tagArea);
    cmbTagName = new QComboBox(tagArea);
    cmbTagName->setObjectName(QStringLiteral("cmbTagName"));
    cmbTagName->setMaxVisibleItems(20);
    tagLayout->addWidget(cmbTagName);
    tagLayout->addStretch(1);
    pnlTagInsert->setWidget(tagArea);
    addDockWidget(Qt::RightDockWidgetArea, pnlTagInsert);
}

// The start-up sequence. An error stops it where it happened: the error box
// shows it and the window opens in the state reached.
void TfrMain::FormCreate(const QString& dir, const QStringList& arguments) {
    try {
        setAcceptDrops(true);
        RestoreWindowLayout(this, layoutFile_);
        settingsFile_ = std::make_unique<TIniFile>(FileNameBytes(dir + QLatin1String(kSettingsName)));
        programDir_ = dir;
        LoadTagList();
        ApplyOptions();
        mruOpenRecent_.LoadFromIni(*settingsFile_, "LastOpened");
        OpenFrom(programDir_ + TemplatePath(DocumentKind::HTML), false, KindInfo(DocumentKind::HTML).newExtension);
        if (!arguments.isEmpty()) OpenFrom(arguments.first(), true, LowerCaseExtension(arguments.first()));
        ModFlag(false);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        prompts_->showError(this, MessageText(e.what()));
    }
}

void TfrMain::LoadTagList() {
    TCodeEditStringList list;
    list.LoadTextFile(FileNameBytes(programDir_ + QStringLiteral("Library/Tags/tags.pel")));
    QStringList items;
    items.reserve(list.Count());
    for (int i = 0; i < list.Count(); ++i) items << FromCp1251(list.Line(i));
    cmbTagName->clear();
    cmbTagName->addItems(items);
}

void TfrMain::ApplyOptions() {
    for (int k = 0; k < DocumentKindCount; ++k) {
        const DocumentKindInfo& info = KindInfo(static_cast<DocumentKind>(k));
        const std::string file = settingsFile_->IniRead("Templates", info.templateKey, info.defaultTemplate);
        templatePath_[static_cast<size_t>(k)] = QStringLiteral("Library/Templates/") + FileNameFromBytes(file);
    }
    mruOpenRecent_.SetMaxItems(settingsFile_->IniReadNumber("Editor", "OpenHistory", 4));
}

void TfrMain::OpenFrom(const QString& fileName, bool setName, const std::string& ext) {
    CheckFileSave();
    // A file that cannot be read raises before the buffer changes, so the
    // document, its name and its flag stay as they were.
    snEditor->Lines().LoadTextFile(FileNameBytes(fileName));
    if (setName) {
        docFileName_ = fileName;
        mruOpenRecent_.InsertIfAbsent(fileName);
    } else {
        docFileName_ = NewDocumentName;
    }
    FindTemplates();
    ModFlag(false);
    ReloadTitle();
    if (const auto kind = KindFromExtension(ext)) SelectKind(*kind);
}

void TfrMain::FindTemplates() {
    TCodeEditStringList& lines = snEditor->Lines();
    // The length of the text with every line break counted as 2.
    long long length = 0;
    for (int i = 0; i < lines.Count(); ++i) length += lines.LineLength(i) + (i > 0 ? 2 : 0);
    if (length < 4) return;
    snEditor->SetSelOffset(settingsFile_->IniReadNumber("Filez", CursorKey(docFileName_), 0));
    if (docFileName_ != NewDocumentName) return;

    snEditor->SetSelOffset(0);
    const QLocale locale = QLocale::system();
    const std::string date = ToCp1251(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    const std::string time = ToCp1251(locale.toString(QTime::currentTime(), QLocale::LongFormat));
    const std::string generator = "Vorn Pelm 2.00";
    int caret = 0;
    // The markers hold no line break, so each line is scanned on its own; each
    // test sees the line as the previous one left it.
    BatchGuard batch(lines);
    long long lineStart = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string line = lines.Strings(i);
        bool changed = false;
        for (size_t p = 0; p < line.size(); ++p) {
            if (line.compare(p, 4, "%cur") == 0) {
                line.erase(p, 4);
                caret = static_cast<int>(lineStart + static_cast<long long>(p));
                changed = true;
            }
            if (line.compare(p, 4, "%dat") == 0) { line.replace(p, 4, date); changed = true; }
            if (line.compare(p, 4, "%tim") == 0) { line.replace(p, 4, time); changed = true; }
            if (line.compare(p, 4, "%gen") == 0) { line.replace(p, 4, generator); changed = true; }
        }
        if (changed) lines.SetStrings(i, line);
        lineStart += static_cast<long long>(line.size()) + 2;
    }
    snEditor->SetSelOffset(caret);
}

void TfrMain::ModFlag(bool value) {
    snEditor->SetModified(value);
    barStatus[0]->setPixmap(StatusIcon(snEditor->Modified()));
}

void TfrMain::ReloadTitle() {
    barStatus[1]->setText(docFileName_);
    setWindowTitle(QStringLiteral("Vorn Pelm - [") + docFileName_ + QLatin1Char(']'));
    SetApplicationTitle(FileNamePart(docFileName_) + QStringLiteral(" - Vorn Pelm"));
}

void TfrMain::SelectKind(DocumentKind kind) {
    kind_ = kind;
    barStatus[2]->setText(QString::fromLatin1(KindInfo(kind).statusText));
}

void TfrMain::CheckFileSave() {
    if (!snEditor->Modified()) return;
    const QString text = QStringLiteral("Сохранить изменения в файле \"") + FileNamePart(docFileName_) +
                         QStringLiteral("\"?") + QStringLiteral("\n\r") + QLatin1Char('(') + docFileName_ +
                         QLatin1Char(')');
    switch (prompts_->askYesNoCancel(this, QStringLiteral("Вопрос"), text)) {
        case PromptAnswer::Yes:
            // Going on after a save that did not happen would throw the
            // changes away: a cancelled Save As abandons the caller, and a
            // failed write raises its error past it.
            if (!FileSave()) throw EAbort();
            return;
        case PromptAnswer::No:
            return;
        case PromptAnswer::Cancel:
            throw EAbort();
    }
}

bool TfrMain::FileSave() {
    bool saved;
    if (docFileName_ != NewDocumentName) {
        snEditor->Lines().SaveTextFile(FileNameBytes(docFileName_));
        ModFlag(false);
        saved = true;
    } else {
        saved = FileSaveAs();
    }
    settingsFile_->IniWriteNumber("Filez", CursorKey(docFileName_), snEditor->SelOffset());
    return saved;
}

bool TfrMain::FileSaveAs() {
    FileDialogRequest request;
    request.filters = DocumentFilters();
    request.filterIndex = 0;
    if (const auto kind = KindFromStatusText(barStatus[2]->text().toStdString())) {
        request.filterIndex = KindInfo(*kind).saveFilterIndex;
        request.defaultExt = QString::fromLatin1(KindInfo(*kind).saveDefaultExt);
    }
    request.fileName = FileNamePart(docFileName_);
    const QString chosen = prompts_->saveFileName(this, request);
    if (chosen.isEmpty()) return false;
    docFileName_ = chosen;
    snEditor->Lines().SaveTextFile(FileNameBytes(docFileName_));
    ModFlag(false);
    ReloadTitle();
    mruOpenRecent_.InsertIfAbsent(docFileName_);
    return true;
}

void TfrMain::run(const std::function<void()>& command) {
    RunCommand(this, *prompts_, command);
}

void TfrMain::pnkFileNewHTMLClick() {
    pnkFileNewClick(DocumentKind::HTML);
}

void TfrMain::pnkFileNewClick(DocumentKind kind) {
    run([&] { OpenFrom(programDir_ + TemplatePath(kind), false, KindInfo(kind).newExtension); });
}

void TfrMain::pnkFileOpenClick() {
    run([&] {
        FileDialogRequest request;
        request.filters = DocumentFilters();
        request.defaultExt = QStringLiteral("htm");
        const QString chosen = prompts_->openFileName(this, request);
        if (chosen.isEmpty()) return;
        OpenFrom(chosen, true, LowerCaseExtension(chosen));
    });
}

void TfrMain::pnkFileSaveClick() {
    run([&] { FileSave(); });
}

void TfrMain::pnkFileSaveAsClick() {
    run([&] { FileSaveAs(); });
}

void TfrMain::pnkFileNewWindowClick() {
    ShellOpen(this, QCoreApplication::applicationFilePath());
}

void TfrMain::pnkFileExitClick() {
    close();
}

void TfrMain::btnDonateClick() {
    ShellOpen(this, programDir_ + QStringLiteral("Help/Donate.txt"));
}

void TfrMain::snEditorChange() {
    ModFlag(true);
}

void TfrMain::HandleDroppedFiles(const QStringList& fileNames) {
    if (fileNames.isEmpty()) return;
    const QString name = fileNames.first();
    run([&] { OpenFrom(name, true, LowerCaseExtension(name)); });
}

void TfrMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    QMainWindow::dragEnterEvent(event);
}

void TfrMain::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    if (files.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    // The drop finishes first; the open (and its save question) runs after it,
    // so that no modal box holds the dragging program.
    QMetaObject::invokeMethod(this, [this, files] { HandleDroppedFiles(files); }, Qt::QueuedConnection);
}

void TfrMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrMain::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!event->spontaneous()) FormHide();
}

void TfrMain::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TfrMain::FormShow() {
    if (!settingsFile_) return;
    run([&] { pnlTagInsert->setVisible(settingsFile_->IniReadNumber("Toolbars", "TagInsert", 1) != 0); });
}

void TfrMain::FormHide() {
    if (!settingsFile_) return;
    try {
        settingsFile_->IniWriteNumber("Toolbars", "TagInsert", pnlTagInsert->isVisibleTo(this) ? 1 : 0);
    } catch (const std::exception&) {
        // The window is going away; there is nobody left to tell.
    }
}

bool TfrMain::FormClose() {
    // A settings file that refuses the recent files is reported, but must not
    // keep the user from leaving.
    if (settingsFile_) run([&] { mruOpenRecent_.SaveToIni(*settingsFile_, "LastOpened"); });
    if (!RunCommand(this, *prompts_, [&] { CheckFileSave(); })) return false;
    SaveWindowLayout(this, layoutFile_);
    if (settingsFile_) run([&] {
        if (settingsFile_->IniReadNumber("Toolbars", "TagInsertHide", 0) == 1) pnlTagInsert->hide();
    });
    return true;
}

}  // namespace pelm
