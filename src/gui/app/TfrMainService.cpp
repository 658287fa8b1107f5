// The Service menu's items after the highlighter submenu (the hidden script
// command and the settings dialog) and the Help menu's items after the help
// files (the current tag's help, the site, the mail and the about box).
#include <QAction>
#include <QMenu>

#include "gui/app/Commands.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TfrAbout.h"
#include "gui/dialogs/TfrSetup.h"

namespace pelm {

void TfrMain::createServiceHelpMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };

    // Service: the script command is never shown and has no shortcut.
    pnkServiceScriptRun = item(pnkService, "pnkServiceScriptRun", QStringLiteral("Выполнить &скрипт..."),
                               &TfrMain::pnkServiceScriptRunClick);
    pnkServiceScriptRun->setVisible(false);
    pnkService->addSeparator();
    pnkServiceSetup = item(pnkService, "pnkServiceSetup", QStringLiteral("&Настройка программы..."),
                           &TfrMain::pnkServiceSetupClick);

    // Help: the current tag's topic is shown and enabled by the tag panel once
    // a tag is chosen; its key works only then.
    pnkHelpTag = new QAction(QStringLiteral("Текущий &тег"), this);
    pnkHelpTag->setObjectName(QStringLiteral("pnkHelpTag"));
    pnkHelpTag->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    pnkHelpTag->setShortcutContext(Qt::WindowShortcut);
    pnkHelpTag->setVisible(false);
    pnkHelpTag->setEnabled(false);
    addAction(pnkHelpTag);
    pnkHelp->addAction(pnkHelpTag);
    pnkHelp->addSeparator();
    item(pnkHelp, "pnkHelpSite", QStringLiteral("Посетить &сайт"), &TfrMain::pnkHelpSiteClick);
    item(pnkHelp, "pnkHelpMail", QStringLiteral("&Письмо автору"), &TfrMain::pnkHelpMailClick);
    pnkHelp->addSeparator();
    item(pnkHelp, "pnkHelpAbout", QStringLiteral("&О программе"), &TfrMain::pnkHelpAboutClick);
}

void TfrMain::pnkServiceSetupClick() {
    // Without a settings file (a start-up that failed early) there is nothing to edit.
    if (!settingsFile_) return;
    run([&] {
        TfrSetup dialog(*this, *prompts_, this);
        if (OnSetupShown)
            OnSetupShown(dialog);
        else
            dialog.exec();
    });
    // Whatever closed the dialog, the file's settings are applied once more.
    run([&] { ApplyOptions(); });
}

void TfrMain::pnkServiceScriptRunClick() {
    run([&] {
        FileDialogRequest request;
        request.caption = QStringLiteral("Запустить скрипт");
        request.filters = {{QStringLiteral("Скрипт Pelm2 (*.pel)"), QStringLiteral("*.pel")},
                           {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*")}};
        request.defaultExt = QStringLiteral("pel");
        request.folder = programDir_ + QStringLiteral("Library/Scripts");
        const QString chosen = prompts_->openFileName(this, request);
        if (!chosen.isEmpty()) RunScript(chosen);
    });
}

void TfrMain::RunScript(const QString&) {
    // Scripts are not run: the command only lets the user choose one.
}

void TfrMain::pnkHelpSiteClick() { ShellOpen(this, MakerSite); }

void TfrMain::pnkHelpMailClick() {
    ShellOpen(this, AuthorMailLink());
}

void TfrMain::pnkHelpAboutClick() {
    run([&] {
        TfrAbout about(this);
        connect(&about, &TfrAbout::donateClicked, this, &TfrMain::btnDonateClick);
        connect(&about, &TfrAbout::siteClicked, this, &TfrMain::pnkHelpSiteClick);
        connect(&about, &TfrAbout::mailClicked, this, &TfrMain::pnkHelpMailClick);
        about.exec();
    });
}

}  // namespace pelm
