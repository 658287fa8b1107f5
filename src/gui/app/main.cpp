// The program's entry: the application object, its title "Pelm2", the main
// window (whose creation runs the start-up sequence) and the message loop.
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/app/AppTitle.h"
#include "gui/app/CommandLine.h"
#include "gui/app/QtTranslations.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TfrAbout.h"

int main(int argc, char** argv) {
    // --help and --version answer without a display or a window.
    const pelm::CommandLine early = pelm::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!early.printAndExit.empty()) {
        std::fputs(early.printAndExit.c_str(), stdout);
        return 0;
    }
    // The page preview's web engine starts only with the first preview, which
    // settles its environment then (PrepareWebEngine); sharing GL contexts
    // must be asked for before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelm2"));
    pelm::SetApplicationTitle(QStringLiteral("Pelm2"));
    QApplication::setWindowIcon(pelm::ApplicationIcon());
    pelm::InstallQtTranslations();

    // The file on the command line is kept by its full name, so that the recent
    // files and the caret memory still find it when the program starts elsewhere.
    // Qt has taken its own options (-platform...) out of the arguments by now.
    const QStringList all = QApplication::arguments().mid(1);
    std::vector<std::string> args;
    for (const QString& a : all) args.push_back(a.toStdString());
    const int fileIndex = pelm::ParseCommandLine(args).fileIndex;
    QStringList arguments;
    if (fileIndex >= 0) arguments.append(QFileInfo(all[fileIndex]).absoluteFilePath());
    pelm::TfrMain frMain(nullptr, QString(), arguments);
    frMain.show();
    return app.exec();
}
