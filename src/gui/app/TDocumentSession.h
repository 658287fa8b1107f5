#pragma once
// The one open document: its file name, its kind, its modified flag, the road
// by which a file or a template replaces it (OpenFrom), the save question and
// the commands that write it. The main window keeps the names its handlers are
// known by and forwards them here; what the window shows of the document
// (status panels, caption, the kind's menu item) it learns from the listener
// lists below, as the tag panel, the preview and the recovery journal can.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/document/DocumentKind.h"
#include "core/platform/ListenerList.h"
#include "gui/app/Prompts.h"

class QWidget;

namespace pelm {

class TCodeEdit;
class TCustomHighlighter;
class TIniFile;
class TRecentFiles;

// The name of a document that has no file yet.
extern const QString NewDocumentName;  // "Новый"

// What else takes part in reading and writing the document's file (the
// encoding layer): called around every load and save the session makes.
class TDocumentFileHooks {
public:
    virtual ~TDocumentFileHooks() = default;
    // Before the buffer is loaded from fileName (setName: it becomes the document's file).
    virtual void BeforeLoad(const QString& fileName, bool setName) = 0;
    // Right after a load succeeded, before the name and the flag change.
    virtual void AfterLoad() = 0;
    // Before a save writes; throwing abandons the save and nothing is written.
    virtual void BeforeSave() = 0;
    // After a save succeeded and DocFileName names the file written.
    virtual void AfterSave() = 0;
};

class TDocumentSession {
public:
    using HighlighterOf = std::function<TCustomHighlighter*(DocumentKind)>;

    // window: owner of the questions and dialogs. recent: the recent-files list
    // that opening and Save As add to. highlighterOf: the highlighter of a kind
    // (nullptr: none exists yet).
    TDocumentSession(QWidget* window, TCodeEdit& editor, Prompts& prompts, TRecentFiles& recent,
                     HighlighterOf highlighterOf);
    TDocumentSession(const TDocumentSession&) = delete;
    TDocumentSession& operator=(const TDocumentSession&) = delete;

    // pelm.ini, once start-up has opened it (caret memory of each file).
    void SetSettingsFile(TIniFile* settings) { settings_ = settings; }
    // The file hooks (nullptr: none).
    void SetFileHooks(TDocumentFileHooks* hooks) { fileHooks_ = hooks; }

    // Replaces the document with the contents of fileName: with setName the
    // file becomes the document's file, otherwise it is a template for a new
    // document. ext selects the kind by the extension table. Throws on failure
    // and EAbort when the user cancels the save question.
    void OpenFrom(const QString& fileName, bool setName, const std::string& ext);
    // Sets the editor's modified flag, then tells OnModifiedChanged its state.
    void ModFlag(bool value);
    // Asks about unsaved changes. Returns when the caller may go on; throws
    // EAbort when the caller's command is to be abandoned: on Cancel, and on Yes
    // when the document did not get saved.
    void CheckFileSave();
    // Restores the caret saved for the document and expands a new document's
    // template markers.
    void FindTemplates();
    // Attaches the kind's highlighter, then tells OnKindChanged.
    void SelectKind(DocumentKind kind);
    // The editor's change event: ModFlag(true), then OnChange.
    void TextChanged();

    // Guards around loading and saving the document's file (TDocumentSessionGuards.cpp):
    // refuses special and oversized files, asks about binary ones (true: open
    // read-only), and asks once before a save changes mixed line breaks.
    bool CheckFileToOpen(const QString& fileName);
    bool ConfirmSaveOverFile();

    // The Open command's dialog and open; nothing when it is cancelled.
    void Open();
    // Save: true when the document was written; false when Save As was cancelled.
    bool FileSave();
    bool FileSaveAs();
    // Preset of the save dialog: filter index (1-based) and default extension.
    void dlgSet(int filterIndex, const QString& defaultExt);
    // Runs when the open or the save dialog closes.
    void dlgSaveClose();

    const QString& DocFileName() const { return docFileName_; }
    std::optional<DocumentKind> Kind() const { return kind_; }
    bool Modified() const;
    // The save dialog's request as the last Save As made it.
    const FileDialogRequest& SaveDialog() const { return dlgSave_; }
    // Starting folder of the attribute helpers' file dialog.
    const QString& BrowseFolder() const { return browseFolder_; }

    // Every change the editor records (after the modified flag is set).
    TListenerList<> OnChange;
    // The modified flag was set or cleared (ModFlag); the flag's state.
    TListenerList<bool> OnModifiedChanged;
    // DocFileName is new (a file or template opened, Save As): the window's title.
    TListenerList<> OnTitleChanged;
    // A kind was selected and its highlighter attached.
    TListenerList<DocumentKind> OnKindChanged;

private:
    QWidget* window_;
    TCodeEdit& editor_;
    Prompts& prompts_;
    TRecentFiles& recent_;
    HighlighterOf highlighterOf_;
    TIniFile* settings_ = nullptr;
    TDocumentFileHooks* fileHooks_ = nullptr;
    // The user agreed to rewrite the loaded file's mixed line breaks.
    bool lineBreaksConfirmed_ = false;
    QString docFileName_;
    // The kind whose highlighter is attached; none before the first document.
    std::optional<DocumentKind> kind_;
    // The save dialog's preset and its current file name.
    FileDialogRequest dlgSave_;
    QString browseFolder_;
};

}  // namespace pelm
