#pragma once
// Handing a file, a link or a program to the desktop, the way the program's
// commands ask the shell to "open" something: nothing waits for it, its result
// is not examined and no message is shown when it fails.
//
// Documents and links go to the desktop's opener. Programs (an executable
// file, or a bare name found on PATH) are started directly with the argument
// list split from the parameter text by the Windows rules, never through a
// shell. Two Windows programs the commands name have stand-ins: "notepad.exe"
// is the user's $VISUAL or $EDITOR (else the desktop's opener for the file),
// "hh.exe" opens the compiled help file named before "::/" with the opener;
// where the help is shipped as a folder of pages named like the .chm file
// ("Help/Tags/" for "Help/Tags.chm"), the topic after "::/" is a page of that
// folder (its index.html when empty), and so is a .chm document target.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

namespace pelm {

struct ShellOpenPlan {
    enum Action { OpenUrl, StartProgram };
    Action action = OpenUrl;
    QUrl url;             // OpenUrl
    QString program;      // StartProgram
    QStringList arguments;
};

// What ShellOpen does for a target and its parameter text.
ShellOpenPlan PlanShellOpen(const QString& target, const QString& parameters);

void ShellOpen(QWidget* owner, const QString& target, const QString& parameters = QString());

// Carries out a plan: starts the program detached, or hands the link to the
// desktop's opener. While ShellOpenHook() holds a function, the plans go to it
// instead (tests see what would have been started).
void RunShellOpenPlan(const ShellOpenPlan& plan);
std::function<void(const ShellOpenPlan&)>& ShellOpenHook();

}  // namespace pelm
