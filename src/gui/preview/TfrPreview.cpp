#include "gui/preview/TfrPreview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

#include <unistd.h>

#include "gui/ui/TStatusPanel.h"

namespace pelm {

namespace {
constexpr int kTitlePanelWidth = 150;
constexpr int kAddressPanelWidth = 350;
}  // namespace

void PrepareWebEngine() {
    static bool done = false;
    if (done) return;
    done = true;
    // Chromium refuses to start its sandbox for root; other users keep it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // With no GPU device (a virtual X server, a container) or no screen at all
    // the GPU process only fails and retries: render in software from the start.
    const bool noGpu = !QDir(QStringLiteral("/dev/dri")).exists() ||
                       QGuiApplication::platformName() == QLatin1String("offscreen");
    if (noGpu) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--disable-gpu")) {
            if (!flags.isEmpty()) flags += ' ';
            flags += "--disable-gpu";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        }
    }
}

QString TfrPreview::DefaultCaption() {
    return QStringLiteral("Предварительный просмотр");
}

TfrPreview::TfrPreview(const QString& fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      fileName_(fileName) {
    PrepareWebEngine();
    setObjectName(QStringLiteral("frPreview"));
    setWindowTitle(DefaultCaption());
    setModal(true);
    resize(478, 384);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The toolbar stays docked at the top.
    tbxPreview = new QToolBar(QStringLiteral("Предварительный простомотр"), this);
    tbxPreview->setObjectName(QStringLiteral("tbxPreview"));
    tbxPreview->setMovable(false);
    tbxPreview->setFloatable(false);
    tbxPreview->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QStyle* style = QApplication::style();
    auto item = [this](const char* name, const QIcon& icon, const QString& caption, const QString& hint,
                       const QKeySequence& shortcut, void (TfrPreview::*handler)()) {
        auto* action = new QAction(icon, caption, this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        connect(action, &QAction::triggered, this, handler);
        tbxPreview->addAction(action);
        return action;
    };
    auto icon = [style](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1String(theme), style->standardIcon(fallback));
    };
    pnkBack = item("pnkBack", icon("go-previous", QStyle::SP_ArrowBack), QStringLiteral("&Назад"),
                   QStringLiteral("Перейти на предыдущую страницу (Alt+Left)"), {}, &TfrPreview::pnkBackClick);
    pnkNext = item("pnkNext", icon("go-next", QStyle::SP_ArrowForward), QStringLiteral("&Вперёд"),
                   QStringLiteral("На следущую (Alt+Right)"), {}, &TfrPreview::pnkNextClick);
    tbxPreview->addSeparator();
    pnkHome = item("pnkHome", icon("go-home", QStyle::SP_DirHomeIcon), QStringLiteral("&Домой"),
                   QStringLiteral("Перейти на стартовую страницу (Alt+Home)"), QKeySequence(Qt::ALT | Qt::Key_Home),
                   &TfrPreview::pnkHomeClick);
    pnkStop = item("pnkStop", icon("process-stop", QStyle::SP_BrowserStop), QStringLiteral("&Стоп"),
                   QStringLiteral("Остановит загрузку страницы"), {}, &TfrPreview::pnkStopClick);
    pnkRefresh = item("pnkRefresh", icon("view-refresh", QStyle::SP_BrowserReload), QStringLiteral("&Обновить"),
                      QStringLiteral("Обновить текущую страницу (F5)"), {}, &TfrPreview::pnkRefreshClick);
    tbxPreview->addSeparator();
    pnkPrint = item("pnkPrint", icon("document-print", QStyle::SP_FileIcon), QStringLiteral("&Печать"),
                    QStringLiteral("Распечатать страницу на принтере"), QKeySequence(Qt::CTRL | Qt::Key_P),
                    &TfrPreview::pnkPrintClick);
    tbxPreview->addSeparator();
    pnkExit = item("pnkExit", icon("application-exit", QStyle::SP_DialogCloseButton), QStringLiteral("&Выход"),
                   QStringLiteral("Выход из препросмотра"), {}, &TfrPreview::pnkExitClick);
    layout->addWidget(tbxPreview);

    brsPreview = new QWebEngineView(this);
    brsPreview->setObjectName(QStringLiteral("brsPreview"));
    layout->addWidget(brsPreview, 1);
    connect(brsPreview, &QWebEngineView::titleChanged, this, &TfrPreview::brsPreviewTitleChange);
    connect(brsPreview, &QWebEngineView::urlChanged, this, &TfrPreview::brsPreviewNavigateComplete2);

    tbxStatus = new QStatusBar(this);
    tbxStatus->setObjectName(QStringLiteral("tbxStatus"));
    tbxStatus->setSizeGripEnabled(false);
    tbxStatusPanels[0] = new TStatusPanel(QStringLiteral("Заголовок страницы"), kTitlePanelWidth, Qt::ElideRight);
    tbxStatusPanels[1] = new TStatusPanel(QStringLiteral("Адрес"), kAddressPanelWidth, Qt::ElideMiddle);
    tbxStatusPanels[1]->setFrameShape(QFrame::NoFrame);
    for (TStatusPanel* panel : tbxStatusPanels) tbxStatus->addWidget(panel);
    layout->addWidget(tbxStatus);

    FormCreate();
}

TfrPreview::~TfrPreview() = default;

void TfrPreview::FormCreate() {
    brsPreview->load(QUrl::fromLocalFile(fileName_));
}

void TfrPreview::brsPreviewTitleChange(const QString& text) {
    setWindowTitle(text + QStringLiteral(" - ") + DefaultCaption());
    tbxStatusPanels[0]->setText(text);
}

void TfrPreview::brsPreviewNavigateComplete2(const QUrl& url) {
    // A local page by its file name, anything else by its address.
    tbxStatusPanels[1]->setText(url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                                  : url.toDisplayString());
}

void TfrPreview::FormResize() {
    const int width = this->width() - kTitlePanelWidth - 20;
    tbxStatusPanels[1]->setFixedWidth(qMax(0, width));
}

void TfrPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrPreview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrPreview::report(const QString& message) {
    if (OnError) OnError(message);
    else QMessageBox::critical(this, QApplication::applicationName(), message);
}

void TfrPreview::pnkBackClick() {
    if (!brsPreview->history()->canGoBack()) {
        report(QStringLiteral("Нет предыдущей страницы: переход назад невозможен."));
        return;
    }
    brsPreview->back();
}

void TfrPreview::pnkNextClick() {
    if (!brsPreview->history()->canGoForward()) {
        report(QStringLiteral("Нет следующей страницы: переход вперёд невозможен."));
        return;
    }
    brsPreview->forward();
}

void TfrPreview::pnkHomeClick() {
    brsPreview->load(QUrl::fromLocalFile(fileName_));
}

void TfrPreview::pnkStopClick() {
    brsPreview->stop();
}

void TfrPreview::pnkRefreshClick() {
    brsPreview->reload();
}

void TfrPreview::pnkPrintClick() {
    // The printer lives until the page reports the print finished.
    if (printer_) return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    printer_ = std::move(printer);
    connect(brsPreview, &QWebEngineView::printFinished, this,
            [this](bool ok) {
                printer_.reset();
                if (!ok) report(QStringLiteral("Страницу не удалось напечатать."));
            },
            Qt::SingleShotConnection);
    brsPreview->print(printer_.get());
}

void TfrPreview::pnkExitClick() {
    close();
}

}  // namespace pelm
