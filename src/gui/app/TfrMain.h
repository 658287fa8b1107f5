#pragma once
// The main window: start-up, the one document and its state (file name,
// modified flag, kind), the title and the status bar, the save question and
// the file commands that replace or write the document.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/config/AppOptions.h"
#include "core/document/DocumentKind.h"
#include "core/document/RecentFiles.h"
#include "core/document/SearchState.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"

class QComboBox;
class QDockWidget;
class QPushButton;

namespace pelm {

class Prompts;
class TSearchPrompts;
class TCodeEdit;
class TCustomHighlighter;
class TIniFile;
class TStatusPanel;

// The name of a document that has no file yet.
extern const QString NewDocumentName;  // "Новый"

class TfrMain : public QMainWindow {
    Q_OBJECT
public:
    // prompts: the questions and dialogs (nullptr: Qt's own). programDir: the
    // folder holding pelm.ini, Library/ and Help/, with a trailing "/" (empty:
    // the executable's folder). arguments: the command line without the
    // program's name. The start-up sequence runs here.
    TfrMain(Prompts* prompts, const QString& programDir, const QStringList& arguments, QWidget* parent = nullptr);
    ~TfrMain() override;

    // Replaces the document with the contents of fileName: with setName the
    // file becomes the document's file, otherwise it is a template for a new
    // document. ext selects the kind by the extension table. Throws on failure
    // and EAbort when the user cancels the save question.
    void OpenFrom(const QString& fileName, bool setName, const std::string& ext);
    void ModFlag(bool value);
    void ReloadTitle();
    // Asks about unsaved changes. Returns when the caller may go on; throws
    // EAbort when the caller's command is to be abandoned: on Cancel, and on Yes
    // when the document did not get saved.
    void CheckFileSave();
    // Reads the options of pelm.ini and applies those the window has controls
    // for so far: the template files and the length of the recent-files list.
    void ApplyOptions();
    // Restores the caret saved for the document and expands a new document's
    // template markers.
    void FindTemplates();
    void SelectKind(DocumentKind kind);

    // Commands (each one catches its own errors and reports them).
    void pnkFileNewHTMLClick();
    void pnkFileNewClick(DocumentKind kind);
    void pnkFileOpenClick();
    void pnkFileSaveClick();
    void pnkFileSaveAsClick();
    void pnkFileNewWindowClick();
    void pnkFileExitClick();
    void btnDonateClick();
    void snEditorChange();
    // The dropped files' names: the first one is opened, the rest ignored.
    void HandleDroppedFiles(const QStringList& fileNames);

    // Search and replace (TfrMainSearch.cpp).
    void pnkSearchFindClick();
    void pnkSearchReplaceClick();
    void pnkSearchFindNextClick();
    void pnkSearchFindBackClick();
    void ShowSearchDialog(bool replace);
    void RunSearch(bool replace, bool backwards);
    void snEditorReplaceText(const std::string& ASearch, const std::string& AReplace, int Line, int Column,
                             TCodeReplaceAction& Action);
    // The dialogs, the replace prompt and the beep (nullptr: the real ones).
    void SetSearchPrompts(TSearchPrompts* prompts) { searchPrompts_ = prompts; }
    const TSearchState& SearchState() const { return searchState_; }
    bool ContinueFromCaret() const { return continueFromCaret_; }

    const QString& DocFileName() const { return docFileName_; }
    const QString& ProgramDir() const { return programDir_; }
    TIniFile* SettingsFile() const { return settingsFile_.get(); }
    const TRecentFiles& RecentFiles() const { return mruOpenRecent_; }
    // Relative to ProgramDir, by kind.
    QString TemplatePath(DocumentKind kind) const;
    std::optional<DocumentKind> Kind() const { return kind_; }

    // Controls, named as in the window's form.
    TCodeEdit* snEditor = nullptr;
    // The six highlighters, one per document kind; a kind whose highlighter
    // does not exist yet attaches none.
    THTMLHighlighter HTMLHighlighter1;
    std::unique_ptr<TCustomHighlighter> CssHighlighter1;
    std::unique_ptr<TCustomHighlighter> XMLHighlighter1;
    std::unique_ptr<TCustomHighlighter> JSHighlighter1;
    std::unique_ptr<TCustomHighlighter> PHPHighlighter1;
    std::unique_ptr<TCustomHighlighter> PerlHighlighter1;
    TCustomHighlighter* HighlighterOf(DocumentKind kind);
    std::array<TStatusPanel*, 6> barStatus{};
    QPushButton* btnDonate = nullptr;
    QDockWidget* pnlTagInsert = nullptr;
    QComboBox* cmbTagName = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void FormCreate(const QString& dir, const QStringList& arguments);
    void FormShow();
    void FormHide();
    // False when the close is to be cancelled.
    bool FormClose();
    void LoadTagList();
    // Save: true when the document was written; false when Save As was cancelled.
    bool FileSave();
    bool FileSaveAs();
    void run(const std::function<void()>& command);

    // pelm.ini (in the program's folder when it can be written), known
    // before ProgramDir is set, for the layout calls.
    QString settingsFileName_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_;
    QString docFileName_;
    QString programDir_;
    std::unique_ptr<TIniFile> settingsFile_;
    TRecentFiles mruOpenRecent_;
    TAppOptions options_;
    // The kind whose highlighter is attached; none before the first document.
    std::optional<DocumentKind> kind_;

    // Search: what the dialogs remember, and the two engines.
    TSearchPrompts& searchPrompts();
    TSearchState searchState_;
    bool continueFromCaret_ = false;
    TCodeEditSearch CodeEditSearch;
    TCodeEditRegexSearch CodeEditRegexSearch;
    TSearchPrompts* searchPrompts_ = nullptr;
};

}  // namespace pelm
