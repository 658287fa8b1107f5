#pragma once
// The live preview: a dock beside the editor that shows the page as the text
// stands, refreshed from memory half a second after the typing stops (no file
// is written; relative links resolve against the document's folder, and the
// scroll position is kept). Off by default; the switch is kept in pelm.ini,
// section "Preview", key "Live". The web view is made only when the dock is
// first switched on, so the web engine never loads for a user who does not.
#include <QObject>
#include <QPoint>

class QAction;
class QDockWidget;
class QTimer;
class QWebEngineView;

namespace pelm {

class TfrMain;

class TLivePreview : public QObject {
    Q_OBJECT
public:
    explicit TLivePreview(TfrMain& main);
    ~TLivePreview() override;

    // The Service menu's item and the standard toolbar's toggle.
    void CreateMenus();
    // Switches the dock on as pelm.ini remembers it (after the settings are read).
    void Restore();
    void pnkServiceLivePreviewClick(bool on);

    bool Active() const;
    // Milliseconds between the last change of the text and the refresh.
    static constexpr int kDelay = 500;

    QDockWidget* pnlLivePreview = nullptr;
    QAction* pnkServiceLivePreview = nullptr;
    QWebEngineView* brsLivePreview = nullptr;  // made on first use
    // Refreshes made so far (tests).
    int Refreshes() const { return refreshes_; }

    // Shows the text as it stands now.
    void Refresh();

private:
    void setActive(bool on);

    TfrMain& main_;
    QTimer* timer_ = nullptr;
    QPointF scroll_;
    int refreshes_ = 0;
};

}  // namespace pelm
