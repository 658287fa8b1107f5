#pragma once
// The page preview of the main window: the temporary page written beside the
// document (or, for a new document, in the program's folder), the built-in
// preview window over it, and the two external browsers named in pelm.ini.
// It owns the File menu's "Встроенный браузер" item and the toolbar's
// "Просмотр" button, and answers the browsers' items that the menus create
// and ApplyOptions names.
#include <QObject>
#include <QString>
#include <functional>

class QAction;

namespace pelm {

class Prompts;
class TfrMain;
class TfrPreview;

// The folder that takes a new document's page: the program's folder when it
// can be written, else the user's cache folder (made when missing). Both end in "/".
QString NewDocumentPreviewFolder(const QString& programDir);

class TPreviewController : public QObject {
    Q_OBJECT
public:
    TPreviewController(TfrMain& main, Prompts& prompts);
    ~TPreviewController() override;

    // The built-in item at the top of the preview submenu, the toolbar button,
    // and the browsers' items connected.
    void CreateMenus();

    // The full name of the temporary page as the last SaveTempPreview set it.
    const QString& PreviewFileName() const { return previewFileName_; }
    // Sets PreviewFileName and writes the editor's lines there the way a save
    // writes the document (same encoding and line breaks); the document's
    // name, file and modified flag stay as they are. Throws the line buffer's
    // error when the page cannot be written.
    void SaveTempPreview();

    // The commands; each reports its own errors.
    void pnkFilePreviewPelmClick();
    void pnkFilePreview1stClick() { ExternalBrowser(1); }
    void pnkFilePreview2ndClick() { ExternalBrowser(2); }
    void ExternalBrowser(int n);

    QAction* pnkFilePreviewPelm = nullptr;
    QAction* pnktbxFilePreviewPelm = nullptr;

    // Tests: the preview window, once its page is loading, is handed to this
    // hook instead of being shown modally; it is destroyed and the page
    // deleted afterwards as usual.
    std::function<void(TfrPreview&)> OnPreviewShown;

private:
    QString computePreviewFileName() const;
    void writePage(const QString& fileName);

    TfrMain& main_;
    Prompts& prompts_;
    QString previewFileName_;
};

}  // namespace pelm
