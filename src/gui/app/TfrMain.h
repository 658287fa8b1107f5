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
#include "core/editor/TCodeEditTypes.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"
#include "gui/app/Prompts.h"

class QAction;
class QComboBox;
class QDockWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolBar;
class QToolButton;

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
    // Reads the options of pelm.ini and pushes them into the editor, the
    // recent-files list, the theme, the browser menu items, the autocorrect
    // list and the tag list (TfrMainOptions.cpp).
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
    void pnkEditCutClick();
    void pnkEditPasteClick();
    void pnkEditInsertDateClick();
    void pnkEditInsertTimeClick();
    // Checks the mode's item, sets the editor's mode and status panel 4.
    void SelectSelectionMode(TSelectionMode mode);

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
    // Guards around loading and saving the document's file (TfrMainFileGuard.cpp):
    // refuses special and oversized files, asks about binary ones (true: open
    // read-only), and asks once before a save changes mixed line breaks.
    bool CheckFileToOpen(const QString& fileName);
    bool ConfirmSaveOverFile();
    bool lineBreaksConfirmed_ = false;
    void run(const std::function<void()>& command);

    void createMenus();
    void createEditMenus();
    // Preset of the save dialog: filter index (1-based) and default extension.
    void dlgSet(int filterIndex, const QString& defaultExt);
    // Runs when the open or the save dialog closes.
    void dlgSaveClose();
    // The recent-files items between their two separators in the File menu,
    // which the Open button's drop-down shows as well.
    void rebuildRecentItems();

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

    // The save dialog's preset and its current file name.
    FileDialogRequest dlgSave_;
    QString browseFolder_;
    QAction* mruSeparatorTop_ = nullptr;
    QAction* mruSeparatorBottom_ = nullptr;
    QList<QAction*> mruItems_;

public:
    // Menus and toolbars (TfrMainMenus.cpp), named as in the window's form.
    QToolBar* mnuMain = nullptr;  // the toolbar "Меню" holding the menu bar
    QMenuBar* mnuMainBar = nullptr;
    QToolBar* tbxStandart = nullptr;
    QToolBar* tbxTags = nullptr;
    QMenu* pnkFile = nullptr;
    QMenu* pnkEdit = nullptr;
    QMenu* pnkSearch = nullptr;
    QMenu* pnkTag = nullptr;
    QMenu* pnkBookmarks = nullptr;
    QMenu* pnkService = nullptr;
    QMenu* pnkHelp = nullptr;
    QMenu* pnkFileNew = nullptr;
    QAction* pnkFileNewHTML = nullptr;
    QAction* pnkFileNewCss = nullptr;
    QAction* pnkFileNewXML = nullptr;
    QAction* pnkFileNewJs = nullptr;
    QAction* pnkFileNewPhp = nullptr;
    QAction* pnkFileNewPerl = nullptr;
    QAction* pnkFileOpen = nullptr;
    QAction* pnkFileSave = nullptr;
    QAction* pnkFileSaveAs = nullptr;
    QMenu* pnkFilePreview = nullptr;
    QAction* pnkFilePreview1st = nullptr;
    QAction* pnkFilePreview2nd = nullptr;
    QAction* pnkFileNewWindow = nullptr;
    QAction* pnkFileExit = nullptr;
    QMenu* pnkServiceHl = nullptr;
    QAction* pnkEditUndo = nullptr;
    QAction* pnkEditRedo = nullptr;
    QAction* pnkEditCut = nullptr;
    QAction* pnkEditCopy = nullptr;
    QAction* pnkEditPaste = nullptr;
    QMenu* pnkEditSelMode = nullptr;
    std::array<QAction*, 3> pnkEditSelModeItems{};  // by TSelectionMode
    QMenu* pppStatus = nullptr;
    // The highlighter items by DocumentKind; one is checked at a time.
    std::array<QAction*, kDocumentKindCount> pnkServiceHlItems{};
    QToolButton* TBXSubmenuItem1 = nullptr;  // New: click New HTML, drop-down the New submenu
    QToolButton* pnktbxFileOpen = nullptr;   // Open: click Open, drop-down the recent files
    QAction* pnktbxSave = nullptr;
    QMenu* mruOpenRecent = nullptr;  // the Open button's drop-down

    // Opens an entry of the recent-files list: it moves to the top first, and
    // the document kind stays as it is.
    void mruOpenRecentClick(const QString& fileName);
    // The recent-files items as both menus show them.
    const QList<QAction*>& RecentFileItems() const { return mruItems_; }
    const TAppOptions& Options() const { return options_; }
    // Starting folder of the attribute helpers' file dialog.
    const QString& BrowseFolder() const { return browseFolder_; }
    // The save dialog's request as the last Save As made it.
    const FileDialogRequest& SaveDialog() const { return dlgSave_; }
};

}  // namespace pelm
