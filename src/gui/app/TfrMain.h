#pragma once
// The main window: start-up and shutdown, the controls, menus and status bar,
// and every handler under the name it is known by. The handlers forward to
// small controllers with one job each:
//   TDocumentSession   the one document: open, save, the save question, kind,
//                      modified flag, OpenFrom, DocFileName (TDocumentSession.h)
//   TSearchController  find and replace (TSearchController.h)
// A new part of the window's work (the tag panel, the preview, printing) gets a
// controller of its own in the same way: a class in gui/app/ (or gui/panels/)
// created in createControls with what it needs, its handlers on TfrMain in a
// TfrMainXxx.cpp of their own forwarding to it, and the document's events
// taken from the session's listener lists (OnChange, OnModifiedChanged,
// OnTitleChanged, OnKindChanged) rather than from edits to the handlers here.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/authoring/TCodeAutoCorrect.h"
#include "core/config/AppOptions.h"
#include "core/document/DocumentKind.h"
#include "core/config/RecentFiles.h"
#include "core/document/SearchState.h"
#include "core/editor/TCodeEditTypes.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/search/TCodeEditSearchCustom.h"
#include "gui/app/Prompts.h"
#include "gui/app/TDocumentSession.h"

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
class TSearchController;
class TPrintController;
class TStatusPanel;
class TTagController;
class TEncodingController;
class TPreviewController;
class TLivePreview;

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
    // The print dialog and the job (TfrMainPrint.cpp, TPrintController).
    void pnkFilePrintClick();
    TPrintController& PrintController() { return *print_; }
    void pnkFileExitClick();
    void btnDonateClick();
    void snEditorChange();
    // The dropped files' names: the first one is opened, the rest ignored.
    void HandleDroppedFiles(const QStringList& fileNames);

    // The tag panel and the tag commands (TfrMainTags.cpp, TTagController).
    void TagSel(const std::string& name, bool insertNow);
    std::string InsTag();
    void cmbTagNameChange(int index);
    void btnTagInsertClick();
    void btnTagHelpClick();
    void pnkServiceShowInsertTagPanelClick();
    void pnkTagCommentClick();
    void pnkCharInsertClick();
    const std::string& TagHelpTopic() const;
    TTagController* Tags() const { return tags_; }

    // Search and replace (TfrMainSearch.cpp).
    void pnkEditCutClick();
    void pnkEditCopyClick();
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
    void SetSearchPrompts(TSearchPrompts* prompts);
    const TSearchState& SearchState() const;
    bool ContinueFromCaret() const;

    const QString& DocFileName() const { return session_->DocFileName(); }
    const QString& ProgramDir() const { return programDir_; }
    TIniFile* SettingsFile() const { return settingsFile_.get(); }
    const TRecentFiles& RecentFiles() const { return mruOpenRecent_; }
    // Relative to ProgramDir, by kind.
    QString TemplatePath(DocumentKind kind) const;
    std::optional<DocumentKind> Kind() const { return session_->Kind(); }
    // The document: its listener lists tell of changes of the text, of the
    // modified flag, of the file name and of the kind.
    TDocumentSession& Session() { return *session_; }
    // The document's encoding: status panel, menu, load and save (TfrMainEncoding.cpp).
    TEncodingController* Encoding() const { return encoding_.get(); }
    // The page preview: the temporary page, the built-in window and the
    // external browsers (TPreviewController.h).
    TPreviewController* Preview() const { return preview_.get(); }
    // The live preview dock (gui/preview/TLivePreview.h).
    TLivePreview* LivePreview() const { return livePreview_.get(); }

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
    // Autocorrect, watching snEditor; ApplyOptions gives it its pairs and switch.
    TCodeAutoCorrect snAutoCorrect;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TEncodingController;
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
    QString programDir_;
    std::unique_ptr<TIniFile> settingsFile_;
    TRecentFiles mruOpenRecent_;
    TAppOptions options_;
    TTagController* tags_ = nullptr;
    std::unique_ptr<TEncodingController> encoding_;
    std::unique_ptr<TPreviewController> preview_;
    std::unique_ptr<TLivePreview> livePreview_;

    // The controllers (see the top of this file).
    std::unique_ptr<TDocumentSession> session_;
    std::unique_ptr<TSearchController> search_;
    std::unique_ptr<TPrintController> print_;

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
    QAction* pnkFilePrint = nullptr;
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
    QAction* pnktbxFilePrint = nullptr;
    QMenu* mruOpenRecent = nullptr;  // the Open button's drop-down

    // Opens an entry of the recent-files list: it moves to the top first, and
    // the document kind stays as it is.
    void mruOpenRecentClick(const QString& fileName);
    // The recent-files items as both menus show them.
    const QList<QAction*>& RecentFileItems() const { return mruItems_; }
    const TAppOptions& Options() const { return options_; }

    // Service and Help commands (TfrMainService.cpp, TfrMainHelp.cpp).
    void createServiceHelpMenus();
    void pnkServiceSetupClick();
    void pnkServiceScriptRunClick();
    void RunScript(const QString& fileName);
    void pnkHelpAboutClick();
    void pnkHelpSiteClick();
    void pnkHelpMailClick();
    void ClearRecentFiles() { mruOpenRecent_.Clear(); }
    // Tests: the settings dialog, once created, is handed to this hook
    // instead of being shown modally; it is destroyed afterwards as usual.
    std::function<void(class TfrSetup&)> OnSetupShown;
    QAction* pnkServiceSetup = nullptr;
    QAction* pnkServiceScriptRun = nullptr;
    QAction* pnkHelpTag = nullptr;
    // Starting folder of the attribute helpers' file dialog.
    const QString& BrowseFolder() const { return session_->BrowseFolder(); }
    // The save dialog's request as the last Save As made it.
    const FileDialogRequest& SaveDialog() const { return session_->SaveDialog(); }
};

}  // namespace pelm
