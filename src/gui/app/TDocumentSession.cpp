#include "gui/app/TDocumentSession.h"

#include "core/document/CaretMemory.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include "core/config/RecentFiles.h"
#include "core/config/TIniFile.h"
#include "core/document/TemplateMarkers.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm {

const QString NewDocumentName = QStringLiteral("Новый");

namespace {

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

// No key for a name that could not be one line of the settings file.
std::optional<std::string> CursorKey(const QString& docFileName) {
    return CaretMemoryKey(FileNameBytes(docFileName));
}

std::string ExtensionOf(const QString& fileName) {
    return LowerCaseExtension(ToCp1251(fileName));
}

// The editor as the template scan sees it: each marker is selected and its
// selection replaced, the way a user's edit would go.
class TEditorTemplate : public TTemplateDocument {
public:
    explicit TEditorTemplate(TCustomCodeEdit& editor) : editor_(editor) {}
    std::string Text() const override { return editor_.Lines().Text(); }
    void Replace(int offset, int length, const std::string& with) override {
        editor_.SetSelOffset(offset);
        editor_.SelectChars(length);
        editor_.SetSelectedText(with);
    }

private:
    TCustomCodeEdit& editor_;
};

}  // namespace

TDocumentSession::TDocumentSession(QWidget* window, TCodeEdit& editor, Prompts& prompts, TRecentFiles& recent,
                                   HighlighterOf highlighterOf)
    : window_(window), editor_(editor), prompts_(prompts), recent_(recent), highlighterOf_(std::move(highlighterOf)) {}

bool TDocumentSession::Modified() const { return editor_.Modified(); }

void TDocumentSession::OpenFrom(const QString& fileName, bool setName, const std::string& ext) {
    CheckFileSave();
    const bool readOnly = CheckFileToOpen(fileName);
    if (fileHooks_) fileHooks_->BeforeLoad(fileName, setName);
    // A file that cannot be read raises before the buffer changes, so the
    // document, its name and its flag stay as they were.
    editor_.Lines().LoadTextFile(FileNameBytes(fileName));
    // The hooks set the read-only state the encoding needs; a binary file the
    // user chose not to edit stays read-only whatever they found.
    if (fileHooks_) fileHooks_->AfterLoad();
    else editor_.SetReadOnly(false);
    if (readOnly) editor_.SetReadOnly(true);
    lineBreaksConfirmed_ = false;
    if (setName) {
        docFileName_ = fileName;
        recent_.InsertIfAbsent(FileNameBytes(fileName));
    } else {
        docFileName_ = NewDocumentName;
    }
    FindTemplates();
    ModFlag(false);
    OnTitleChanged.Notify();
    if (const auto kind = KindOfExtension(ext)) SelectKind(*kind);
}

void TDocumentSession::FindTemplates() {
    TCustomCodeEdit& editor = editor_.Model();
    if (editor.Lines().Text().size() < 4) return;
    const auto key = CursorKey(docFileName_);
    editor.SetSelOffset(key ? settings_->IniReadNumber("Filez", *key, 0) : 0);
    if (docFileName_ != NewDocumentName) return;

    editor.SetSelOffset(0);
    const QLocale locale = QLocale::system();
    TEditorTemplate document(editor);
    const int caret =
        ExpandTemplateMarkers(document, ToCp1251(locale.toString(QDate::currentDate(), QLocale::ShortFormat)),
                              ToCp1251(locale.toString(QTime::currentTime(), QLocale::LongFormat)));
    editor.SetSelOffset(caret);
    // The expansion is part of the new document, not an edit to undo.
    editor.DiscardUndo();
}

void TDocumentSession::ModFlag(bool value) {
    editor_.SetModified(value);
    OnModifiedChanged.Notify(editor_.Modified());
}

void TDocumentSession::TextChanged() {
    ModFlag(true);
    OnChange.Notify();
}

void TDocumentSession::SelectKind(DocumentKind kind) {
    editor_.SetHighlighter(highlighterOf_(kind));
    kind_ = kind;
    OnKindChanged.Notify(kind);
}

void TDocumentSession::CheckFileSave() {
    if (!editor_.Modified()) return;
    const QString text = QStringLiteral("Сохранить изменения в файле \"") + FileNamePart(docFileName_) +
                         QStringLiteral("\"?") + QStringLiteral("\n\r") + QLatin1Char('(') + docFileName_ +
                         QLatin1Char(')');
    switch (prompts_.askYesNoCancel(window_, QStringLiteral("Вопрос"), text)) {
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

void TDocumentSession::Open() {
    FileDialogRequest request;
    request.filters = DocumentFilters();
    request.defaultExt = QStringLiteral("htm");
    const QString chosen = prompts_.openFileName(window_, request);
    dlgSaveClose();
    if (chosen.isEmpty()) return;
    OpenFrom(chosen, true, ExtensionOf(chosen));
}

bool TDocumentSession::FileSave() {
    bool saved;
    if (docFileName_ != NewDocumentName) {
        if (!ConfirmSaveOverFile()) return false;
        if (fileHooks_) fileHooks_->BeforeSave();
        editor_.Lines().SaveTextFile(FileNameBytes(docFileName_));
        ModFlag(false);
        if (fileHooks_) fileHooks_->AfterSave();
        saved = true;
    } else {
        saved = FileSaveAs();
    }
    if (const auto key = CursorKey(docFileName_)) settings_->IniWriteNumber("Filez", *key, editor_.SelOffset());
    return saved;
}

void TDocumentSession::dlgSet(int filterIndex, const QString& defaultExt) {
    dlgSave_.filterIndex = filterIndex;
    dlgSave_.defaultExt = defaultExt;
}

void TDocumentSession::dlgSaveClose() {
    const qsizetype slash = dlgSave_.fileName.lastIndexOf(QLatin1Char('/'));
    browseFolder_ = slash < 0 ? QString() : dlgSave_.fileName.left(slash + 1);
}

bool TDocumentSession::FileSaveAs() {
    if (fileHooks_) fileHooks_->BeforeSave();
    dlgSave_.filters = DocumentFilters();
    // The kind named in status panel 2, which always shows the selected kind.
    if (kind_) dlgSet(KindSavePreset(*kind_).filterIndex, QString::fromLatin1(KindSavePreset(*kind_).defaultExt));
    dlgSave_.fileName = FileNamePart(docFileName_);
    const QString chosen = prompts_.saveFileName(window_, dlgSave_);
    if (!chosen.isEmpty()) dlgSave_.fileName = chosen;
    dlgSaveClose();
    if (chosen.isEmpty()) return false;
    docFileName_ = chosen;
    editor_.Lines().SaveTextFile(FileNameBytes(docFileName_));
    ModFlag(false);
    OnTitleChanged.Notify();
    recent_.InsertIfAbsent(FileNameBytes(docFileName_));
    if (fileHooks_) fileHooks_->AfterSave();
    return true;
}

}  // namespace pelm
