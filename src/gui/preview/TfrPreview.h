#pragma once
// The built-in preview window: the temporary page in an embedded web view,
// a fixed toolbar (back, forward, home, stop, reload, print, exit) and a
// status bar with the page's title and address. It is made for one preview,
// shown modally, and the Enter key that reaches it closes it.
#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QAction;
class QPrinter;
class QStatusBar;
class QToolBar;
class QWebEngineView;

namespace pelm {

class TStatusPanel;

// Settles the web engine's environment before its first use: the sandbox
// cannot run as root, and without a GPU (no /dev/dri, offscreen platform)
// Chromium is told to render in software. Runs its work once.
void PrepareWebEngine();

class TfrPreview : public QDialog {
    Q_OBJECT
public:
    // fileName: the page shown first and reached again by "Домой".
    explicit TfrPreview(const QString& fileName, QWidget* parent = nullptr);
    ~TfrPreview() override;

    // A refused browser operation (Back or Forward with nowhere to go); the
    // window stays open. Unset: a message box.
    std::function<void(const QString&)> OnError;

    // Controls, named as in the window's form.
    QToolBar* tbxPreview = nullptr;
    QAction* pnkBack = nullptr;
    QAction* pnkNext = nullptr;
    QAction* pnkHome = nullptr;
    QAction* pnkStop = nullptr;
    QAction* pnkRefresh = nullptr;
    QAction* pnkPrint = nullptr;
    QAction* pnkExit = nullptr;
    QWebEngineView* brsPreview = nullptr;
    QStatusBar* tbxStatus = nullptr;
    TStatusPanel* tbxStatusPanels[2] = {nullptr, nullptr};

    void pnkBackClick();
    void pnkNextClick();
    void pnkHomeClick();
    void pnkStopClick();
    void pnkRefreshClick();
    void pnkPrintClick();
    void pnkExitClick();

    void brsPreviewTitleChange(const QString& text);
    void brsPreviewNavigateComplete2(const QUrl& url);

    static QString DefaultCaption();  // "Предварительный просмотр"

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void report(const QString& message);

    QString fileName_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace pelm
