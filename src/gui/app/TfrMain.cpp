#include "gui/app/TfrMain.h"

#include <algorithm>
#include <utility>

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

#include "core/config/DataLocation.h"
#include "core/config/DefaultSettings.h"
#include "core/config/SettingsLocation.h"
#include "core/config/TIniFile.h"
#include "core/document/TemplateMarkers.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/highlight/LanguageRegistry.h"
#include "gui/app/AppTitle.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/app/QtPrompts.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TPreviewController.h"
#include "gui/app/TPrintController.h"
#include "gui/app/TSearchController.h"
#include "gui/preview/TLivePreview.h"
#include "gui/app/StatusIcons.h"
#include "gui/app/TTagController.h"
#include "gui/app/TfrMainEncoding.h"
#include "gui/app/WndRestore.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/panels/TTagPanel.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm {

namespace {

std::string ExtensionOf(const QString& fileName) {
    return LowerCaseExtension(ToCp1251(fileName));
}

}  // namespace

TfrMain::TfrMain(Prompts* prompts, const QString& programDir, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
    if (!prompts_) {
        ownPrompts_ = std::make_unique<QtPrompts>();
        prompts_ = ownPrompts_.get();
    }
    QString dir = programDir;
    if (dir.isEmpty())
        dir = FileNameFromBytes(DataDirFor(FileNameBytes(QCoreApplication::applicationDirPath() + QLatin1Char('/'))));
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    // An installed program's data folder belongs to the installation: its
    // settings live in the user's folder, started from the shipped pelm.ini.
    settingsFileName_ = FileNameFromBytes(IsInstalledDataDir(FileNameBytes(dir)) ? UserSettingsFileName()
                                                                                 : SettingsFileName(FileNameBytes(dir)));
    // Settings kept in the user's folder start as a copy of the shipped ones.
    SeedSettingsFile(FileNameBytes(settingsFileName_), FileNameBytes(dir));
    createControls();
    FormCreate(dir, arguments);
}

TfrMain::~TfrMain() {
    // The highlighters go before the editor, which is destroyed with the window.
    snEditor->SetHighlighter(nullptr);
}

void TfrMain::createControls() {
    setObjectName(QStringLiteral("frMain"));
    setWindowTitle(QStringLiteral("Pelm2"));
    setWindowIconText(ApplicationTitle());
    resize(736, 473);

    HTMLHighlighter1.ApplyMainWindowColours();
    // The other kinds' highlighters, for each language the registry has one for.
    for (DocumentKind kind : {DocumentKind::CSS, DocumentKind::XML, DocumentKind::JavaScript, DocumentKind::PHP,
                              DocumentKind::Perl}) {
        std::unique_ptr<TLanguageHighlighter> hl = MakeHighlighter(kind);
        if (!hl) continue;
        hl->ApplyMainWindowColours();
        std::unique_ptr<TCustomHighlighter>& slot = kind == DocumentKind::CSS ? CssHighlighter1
                                                    : kind == DocumentKind::XML ? XMLHighlighter1
                                                    : kind == DocumentKind::JavaScript ? JSHighlighter1
                                                    : kind == DocumentKind::PHP ? PHPHighlighter1
                                                                                : PerlHighlighter1;
        slot = std::move(hl);
    }

    snEditor = new TCodeEdit(this);
    snEditor->setObjectName(QStringLiteral("snEditor"));
    QFont editorFont(QStringLiteral("Courier New"));
    editorFont.setStyleHint(QFont::TypeWriter);
    editorFont.setPixelSize(13);
    snEditor->SetEditorFont(editorFont);
    QFont gutterFont(QStringLiteral("Courier New"));
    gutterFont.setStyleHint(QFont::TypeWriter);
    gutterFont.setPixelSize(11);
    snEditor->SetGutterFont(gutterFont);
    snEditor->SetActiveLineColor(clInfoBk);
    snEditor->SetScrollHintFormat(shfTopToBottom);
    snEditor->SetWantTabs(true);
    snEditor->Model().Keystrokes().Remove(VK_F1, 0);
    snEditor->Model().BookmarkEnableKeys = false;
    snEditor->Model().OnChange = [this] { snEditorChange(); };
    session_ = std::make_unique<TDocumentSession>(this, *snEditor, *prompts_, mruOpenRecent_,
                                                  [this](DocumentKind kind) { return HighlighterOf(kind); });
    search_ = std::make_unique<TSearchController>(this, *snEditor);
    print_ = std::make_unique<TPrintController>(this, *snEditor, *prompts_, [this] { return windowTitle(); },
                                                [this] { return DocFileName(); });
    snEditor->OnError = [this](const QString& message) { prompts_->showError(this, message); };
    setCentralWidget(snEditor);
    snAutoCorrect.ItemSepChar = '=';
    snAutoCorrect.Options = ascoCorrectOnMouseDown | ascoIgnoreCase | ascoMaintainCase;
    snAutoCorrect.SetEditor(&snEditor->Model());
    // The text has the keyboard when the window opens.
    snEditor->setFocus();

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

    // The tag insertion panel in the right dock: it can be closed, not moved
    // or floated.
    pnlTagInsert = new QDockWidget(QStringLiteral("Вставка тега"), this);
    pnlTagInsert->setObjectName(QStringLiteral("pnlTagInsert"));
    pnlTagInsert->setFeatures(QDockWidget::DockWidgetClosable);
    pnlTagInsert->setAllowedAreas(Qt::RightDockWidgetArea);
    tags_ = new TTagController(*this, *prompts_);
    pnlTagInsert->setWidget(tags_->Panel());
    cmbTagName = tags_->Panel()->cmbTagName;
    addDockWidget(Qt::RightDockWidgetArea, pnlTagInsert);

    createMenus();

    // What the window shows of the document.
    session_->OnModifiedChanged.Subscribe(
        [this](bool modified) { barStatus[0]->setPixmap(StatusIcon(modified)); });
    session_->OnTitleChanged.Subscribe([this] { ReloadTitle(); });
    session_->OnKindChanged.Subscribe([this](DocumentKind kind) {
        barStatus[2]->setText(QString::fromLatin1(KindStatusText(kind)));
        pnkServiceHlItems[static_cast<int>(kind)]->setChecked(true);
    });
    tags_->CreateMenus();
    encoding_ = std::make_unique<TEncodingController>(*this);
    session_->SetFileHooks(encoding_.get());
    preview_ = std::make_unique<TPreviewController>(*this, *prompts_);
    preview_->CreateMenus();
    livePreview_ = std::make_unique<TLivePreview>(*this);
    livePreview_->CreateMenus();
}

// The start-up sequence. An error stops it where it happened: the error box
// shows it and the window opens in the state reached.
void TfrMain::FormCreate(const QString& dir, const QStringList& arguments) {
    try {
        setAcceptDrops(true);
        RestoreWindowLayout(this, settingsFileName_);
        settingsFile_ = std::make_unique<TIniFile>(FileNameBytes(settingsFileName_));
        session_->SetSettingsFile(settingsFile_.get());
        programDir_ = dir;
        LoadTagList();
        ApplyOptions();
        livePreview_->Restore();
        mruOpenRecent_.Load(*settingsFile_, "LastOpened");
        OpenFrom(programDir_ + TemplatePath(DocumentKind::HTML), false, KindTemplate(DocumentKind::HTML).extension);
        if (!arguments.isEmpty()) OpenFrom(arguments.first(), true, ExtensionOf(arguments.first()));
        ModFlag(false);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        prompts_->showError(this, MessageText(e.what()));
    }
}

void TfrMain::LoadTagList() {
    tags_->LoadTagList(programDir_);
}

QString TfrMain::TemplatePath(DocumentKind kind) const {
    return FileNameFromBytes(options_.TemplatePath[static_cast<int>(kind)]);
}

void TfrMain::OpenFrom(const QString& fileName, bool setName, const std::string& ext) {
    session_->OpenFrom(fileName, setName, ext);
}

void TfrMain::FindTemplates() { session_->FindTemplates(); }

void TfrMain::ModFlag(bool value) { session_->ModFlag(value); }

void TfrMain::ReloadTitle() {
    const QString& name = DocFileName();
    barStatus[1]->setText(name);
    setWindowTitle(QStringLiteral("Vorn Pelm - [") + name + QLatin1Char(']'));
    SetApplicationTitle(FileNamePart(name) + QStringLiteral(" - Vorn Pelm"));
}

TCustomHighlighter* TfrMain::HighlighterOf(DocumentKind kind) {
    switch (kind) {
        case DocumentKind::HTML: return &HTMLHighlighter1;
        case DocumentKind::CSS: return CssHighlighter1.get();
        case DocumentKind::XML: return XMLHighlighter1.get();
        case DocumentKind::JavaScript: return JSHighlighter1.get();
        case DocumentKind::PHP: return PHPHighlighter1.get();
        case DocumentKind::Perl: return PerlHighlighter1.get();
    }
    return nullptr;
}

void TfrMain::SelectKind(DocumentKind kind) { session_->SelectKind(kind); }

void TfrMain::CheckFileSave() { session_->CheckFileSave(); }

bool TfrMain::FileSave() { return session_->FileSave(); }

void TfrMain::dlgSet(int filterIndex, const QString& defaultExt) { session_->dlgSet(filterIndex, defaultExt); }

void TfrMain::dlgSaveClose() { session_->dlgSaveClose(); }

bool TfrMain::FileSaveAs() { return session_->FileSaveAs(); }

void TfrMain::run(const std::function<void()>& command) {
    RunCommand(this, *prompts_, command);
}

void TfrMain::pnkFileNewHTMLClick() {
    pnkFileNewClick(DocumentKind::HTML);
}

void TfrMain::pnkFileNewClick(DocumentKind kind) {
    run([&] { OpenFrom(programDir_ + TemplatePath(kind), false, KindTemplate(kind).extension); });
}

void TfrMain::pnkFileOpenClick() {
    run([&] { session_->Open(); });
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
    session_->TextChanged();
}

void TfrMain::HandleDroppedFiles(const QStringList& fileNames) {
    if (fileNames.isEmpty()) return;
    const QString name = fileNames.first();
    run([&] { OpenFrom(name, true, ExtensionOf(name)); });
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
    if (settingsFile_) run([&] { mruOpenRecent_.Save(*settingsFile_, "LastOpened"); });
    if (!RunCommand(this, *prompts_, [&] { CheckFileSave(); })) return false;
    SaveWindowLayout(this, settingsFileName_);
    if (settingsFile_) run([&] {
        if (settingsFile_->IniReadNumber("Toolbars", "TagInsertHide", 0) == 1) pnlTagInsert->hide();
    });
    return true;
}

}  // namespace pelm
