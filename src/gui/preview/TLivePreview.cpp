#include "gui/preview/TLivePreview.h"

#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "core/config/TIniFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "gui/app/GuiText.h"
#include "gui/app/TfrMain.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/preview/TfrPreview.h"

namespace pelm {

TLivePreview::TLivePreview(TfrMain& main) : main_(main) {
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kDelay);
    connect(timer_, &QTimer::timeout, this, &TLivePreview::Refresh);
    // Typing only restarts the timer: the page is built once the typing stops.
    main_.Session().OnChange.Subscribe([this] {
        if (Active()) timer_->start();
    });
    main_.Session().OnTitleChanged.Subscribe([this] {
        if (Active()) timer_->start();
    });
}

TLivePreview::~TLivePreview() = default;

void TLivePreview::CreateMenus() {
    pnlLivePreview = new QDockWidget(QStringLiteral("Живой просмотр"), &main_);
    pnlLivePreview->setObjectName(QStringLiteral("pnlLivePreview"));
    pnlLivePreview->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    pnlLivePreview->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    main_.addDockWidget(Qt::RightDockWidgetArea, pnlLivePreview);
    pnlLivePreview->hide();

    pnkServiceLivePreview = new QAction(QStringLiteral("Живой просмотр"), &main_);
    pnkServiceLivePreview->setObjectName(QStringLiteral("pnkServiceLivePreview"));
    pnkServiceLivePreview->setCheckable(true);
    pnkServiceLivePreview->setToolTip(QStringLiteral("Живой просмотр: страница рядом с текстом"));
    pnkServiceLivePreview->setIcon(QIcon::fromTheme(QStringLiteral("view-preview"),
                                                    QApplication::style()->standardIcon(QStyle::SP_DesktopIcon)));
    connect(pnkServiceLivePreview, &QAction::triggered, this, &TLivePreview::pnkServiceLivePreviewClick);
    main_.pnkService->addAction(pnkServiceLivePreview);
    main_.tbxStandart->addAction(pnkServiceLivePreview);
    // Closing the dock by its own button switches the preview off.
    connect(pnlLivePreview, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && pnkServiceLivePreview->isChecked() && !main_.isHidden() && !pnlLivePreview->isFloating() &&
            pnlLivePreview->isHidden())
            pnkServiceLivePreviewClick(false);
    });
}

void TLivePreview::Restore() {
    if (main_.SettingsFile() && main_.SettingsFile()->IniReadNumber("Preview", "Live", 0) == 1) setActive(true);
}

void TLivePreview::pnkServiceLivePreviewClick(bool on) {
    setActive(on);
    if (main_.SettingsFile()) main_.SettingsFile()->IniWriteNumber("Preview", "Live", on ? 1 : 0);
}

bool TLivePreview::Active() const {
    return pnkServiceLivePreview && pnkServiceLivePreview->isChecked();
}

void TLivePreview::setActive(bool on) {
    pnkServiceLivePreview->setChecked(on);
    if (!on) {
        timer_->stop();
        pnlLivePreview->hide();
        return;
    }
    if (!brsLivePreview) {
        PrepareWebEngine();
        brsLivePreview = new QWebEngineView(pnlLivePreview);
        brsLivePreview->setObjectName(QStringLiteral("brsLivePreview"));
        brsLivePreview->setMinimumSize(240, 200);
        pnlLivePreview->setWidget(brsLivePreview);
        // The place the reader had reached, given back after each refresh.
        connect(brsLivePreview, &QWebEngineView::loadFinished, this, [this] {
            if (scroll_.isNull()) return;
            brsLivePreview->page()->runJavaScript(
                QStringLiteral("window.scrollTo(%1, %2);").arg(scroll_.x()).arg(scroll_.y()));
        });
    }
    pnlLivePreview->show();
    // Beside the tag panel the page takes the larger share of the height.
    main_.resizeDocks({pnlLivePreview}, {qMax(200, main_.height() * 3 / 5)}, Qt::Vertical);
    Refresh();
}

void TLivePreview::Refresh() {
    if (!brsLivePreview || !Active()) return;
    const TCodeEditStringList& lines = main_.snEditor->Lines();
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        text += lines.Line(i);
        text += '\n';
    }
    // Links are read against the document's folder (the program's folder for
    // a new document), as they would be from the saved file.
    const QString doc = main_.DocFileName();
    const QString folder = doc == NewDocumentName ? main_.ProgramDir() : QFileInfo(doc).absolutePath() + '/';
    scroll_ = brsLivePreview->page()->scrollPosition();
    brsLivePreview->setHtml(FromCp1251(text), QUrl::fromLocalFile(folder + QStringLiteral("live-preview.htm")));
    ++refreshes_;
}

}  // namespace pelm
