// The program's entry: the application object, its title "Pelm2", the main
// window (whose creation runs the start-up sequence) and the message loop.
#include <QApplication>
#include <QFileInfo>

#include "gui/app/AppTitle.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TfrAbout.h"

int main(int argc, char** argv) {
    // The page preview's web engine starts only with the first preview, which
    // settles its environment then (PrepareWebEngine); sharing GL contexts
    // must be asked for before the application exists.
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
