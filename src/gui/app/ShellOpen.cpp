#include "gui/app/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "core/platform/CommandLine.h"

namespace pelm {

namespace {

QStringList SplitParameters(const QString& parameters) {
    QStringList list;
    for (const std::string& a : SplitCommandLine(parameters.toStdString())) list << QString::fromStdString(a);
    return list;
}

// A parameter text that names one file, as Notepad reads its command line: the
// whole text, blanks included, without one pair of enclosing quotes.
QString WholeFileName(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

ShellOpenPlan OpenFile(const QString& fileName) {
    ShellOpenPlan plan;
    plan.url = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath());
    return plan;
}

ShellOpenPlan Start(const QString& program, QStringList arguments) {
    ShellOpenPlan plan;
    plan.action = ShellOpenPlan::StartProgram;
    plan.program = program;
    plan.arguments = std::move(arguments);
    return plan;
}

bool LooksLikeLink(const QString& target) {
    return target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

// An executable file counts as a program unless its extension names a document
// type (a help text on a file system that marks every file executable).
bool IsProgramFile(const QFileInfo& info) {
    if (!info.isFile() || !info.isExecutable()) return false;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.isDefault() || mime.inherits(QStringLiteral("application/x-executable")) ||
           mime.inherits(QStringLiteral("application/x-shellscript")) ||
           mime.inherits(QStringLiteral("application/x-sharedlib"));
}

QString FindOnPath(const QString& name) {
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty() && name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        found = QStandardPaths::findExecutable(name.left(name.size() - 4));
    return found;
}

// There is no compiled-help viewer here: the help of "X.chm" is shipped as a
// folder "X" of HTML pages beside it (found in any case of its name). A topic
// names a page of that folder, with an optional "#anchor"; no topic opens the
// folder's index.html. A real .chm file, or no such folder, opens as it is.
ShellOpenPlan OpenHelp(const QString& chmFile, const QString& topic) {
    const QFileInfo chm(chmFile);
    if (chm.exists() || chm.suffix().compare(QLatin1String("chm"), Qt::CaseInsensitive) != 0) return OpenFile(chmFile);
    const QString base = chm.completeBaseName();
    QDir parent = chm.absoluteDir();
    QString folder;
    for (const QString& name : parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (name.compare(base, Qt::CaseInsensitive) == 0) {
            folder = parent.filePath(name);
            if (name == base) break;
        }
    if (folder.isEmpty()) return OpenFile(chmFile);
    QString page = topic;
    QString anchor;
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        anchor = page.mid(hash + 1);
        page.truncate(hash);
    }
    if (page.isEmpty()) page = QStringLiteral("index.html");
    ShellOpenPlan plan = OpenFile(folder + QLatin1Char('/') + page);
    if (!anchor.isEmpty()) plan.url.setFragment(anchor);
    return plan;
}

}  // namespace

ShellOpenPlan PlanShellOpen(const QString& target, const QString& parameters) {
    const QString name = QFileInfo(target).fileName().toLower();
    if (name == QLatin1String("notepad.exe")) {
        const QString file = WholeFileName(parameters);
        QString editor = qEnvironmentVariable("VISUAL");
        if (editor.trimmed().isEmpty()) editor = qEnvironmentVariable("EDITOR");
        QStringList command = SplitParameters(editor);
        if (command.isEmpty()) return OpenFile(file);
        const QString program = command.takeFirst();
        command << file;
        return Start(program, command);
    }
    if (name == QLatin1String("hh.exe")) {
        QString file = WholeFileName(parameters);
        QString topic;
        const qsizetype at = file.indexOf(QLatin1String("::/"));
        if (at >= 0) {
            topic = file.mid(at + 3);
            file.truncate(at);
        }
        return OpenHelp(file, topic);
    }
    if (LooksLikeLink(target)) {
        ShellOpenPlan plan;
        plan.url = QUrl(target, QUrl::TolerantMode);
        return plan;
    }
    if (target.contains(QLatin1Char('/'))) {
        const QFileInfo info(target);
        if (IsProgramFile(info)) return Start(info.absoluteFilePath(), SplitParameters(parameters));
        return OpenHelp(target, QString());
    }
    const QFileInfo local(target);
    if (local.exists()) {
        if (IsProgramFile(local)) return Start(local.absoluteFilePath(), SplitParameters(parameters));
        return OpenFile(target);
    }
    const QString program = FindOnPath(target);
    if (!program.isEmpty()) return Start(program, SplitParameters(parameters));
    return OpenFile(target);
}

void ShellOpen(QWidget* owner, const QString& target, const QString& parameters) {
    Q_UNUSED(owner);
    RunShellOpenPlan(PlanShellOpen(target, parameters));
}

std::function<void(const ShellOpenPlan&)>& ShellOpenHook() {
    static std::function<void(const ShellOpenPlan&)> hook;
    return hook;
}

void RunShellOpenPlan(const ShellOpenPlan& plan) {
    if (ShellOpenHook()) {
        ShellOpenHook()(plan);
        return;
    }
    if (plan.action == ShellOpenPlan::StartProgram)
        QProcess::startDetached(plan.program, plan.arguments);
    else
        QDesktopServices::openUrl(plan.url);
}

}  // namespace pelm
