// The program's entry: the application object, its title "Pelm2", the main
// window (whose creation runs the start-up sequence) and the message loop.
#include <QApplication>
#include <QFileInfo>

#include "gui/app/AppTitle.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TfrAbout.h"

int main(int argc, char** argv) {
    // The page preview's browser engine cannot run its sandbox as root and is
    // noisy about missing GPUs; both must be settled before the application exists.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelm2"));
    pelm::SetApplicationTitle(QStringLiteral("Pelm2"));
    QApplication::setWindowIcon(pelm::ApplicationIcon());

    // The file on the command line is kept by its full name, so that the recent
    // files and the caret memory still find it when the program starts elsewhere.
    QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty()) arguments[0] = QFileInfo(arguments[0]).absoluteFilePath();
    pelm::TfrMain frMain(nullptr, QString(), arguments);
    frMain.show();
    return app.exec();
}
