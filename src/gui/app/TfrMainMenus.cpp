// The main window's menu bar, its toolbars and the recent-files items.
//
// The menu bar sits in a toolbar of its own ("Меню") so that it docks like the
// standard toolbar and the tags toolbar; none of the three can float. Items
// with a shortcut are also added to the window itself, so their keys work
// wherever the focus is in the window, whether or not a menu is open.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "gui/app/GuiText.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TfrMain.h"

namespace pelm {

namespace {

QToolBar* NewToolbar(QMainWindow* window, const char* name, const QString& caption) {
    auto* toolbar = new QToolBar(caption, window);
    toolbar->setObjectName(QLatin1String(name));
    toolbar->setFloatable(false);
    toolbar->setMovable(true);
    toolbar->setAllowedAreas(Qt::AllToolBarAreas);
    // The overflow button's hint, shared by the three toolbars.
    if (auto* more = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setToolTip(QStringLiteral("Больше"));
    return toolbar;
}

}  // namespace

void TfrMain::createMenus() {
    // An item of the window: caption, shortcut (window-wide) and handler.
    auto item = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                       auto handler) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };
    auto submenu = [this](QMenu* parent, const char* name, const QString& caption) {
        QMenu* menu = parent->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };

    mnuMain = NewToolbar(this, "mnuMain", QStringLiteral("Меню"));
    mnuMainBar = new QMenuBar(mnuMain);
    mnuMainBar->setObjectName(QStringLiteral("mnuMainBar"));
    mnuMainBar->setNativeMenuBar(false);
    mnuMain->addWidget(mnuMainBar);
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = mnuMainBar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    pnkFile = menu("pnkFile", QStringLiteral("&Файл"));
    pnkEdit = menu("pnkEdit", QStringLiteral("&Правка"));
    pnkSearch = menu("pnkSearch", QStringLiteral("Поис&к"));
    pnkTag = menu("pnkTag", QStringLiteral("&Тег"));
    pnkBookmarks = menu("pnkBookmarks", QStringLiteral("&Закладки"));
    pnkService = menu("pnkService", QStringLiteral("Се&рвис"));
    pnkHelp = menu("pnkHelp", QStringLiteral("&Справка"));

    // File menu.
    pnkFileNew = submenu(pnkFile, "pnkFileNew", QStringLiteral("&Новый"));
    pnkFileNewHTML = item(pnkFileNew, "pnkFileNewHTML", QStringLiteral("&HTML"), QKeySequence(Qt::CTRL | Qt::Key_N),
                          &TfrMain::pnkFileNewHTMLClick);
    pnkFileNewCss = item(pnkFileNew, "pnkFileNewCss", QStringLiteral("&CSS"), {},
                         [this] { pnkFileNewClick(DocumentKind::CSS); });
    pnkFileNewXML = item(pnkFileNew, "pnkFileNewXML", QStringLiteral("&XML"), {},
                         [this] { pnkFileNewClick(DocumentKind::XML); });
    pnkFileNew->addSeparator();
    pnkFileNewJs = item(pnkFileNew, "pnkFileNewJs", QStringLiteral("&JavaScript"), {},
                        [this] { pnkFileNewClick(DocumentKind::JavaScript); });
    pnkFileNewPhp = item(pnkFileNew, "pnkFileNewPhp", QStringLiteral("&PHP"), {},
                         [this] { pnkFileNewClick(DocumentKind::PHP); });
    pnkFileNewPerl = item(pnkFileNew, "pnkFileNewPerl", QStringLiteral("Per&l"), {},
                          [this] { pnkFileNewClick(DocumentKind::Perl); });
    pnkFileOpen = item(pnkFile, "pnkFileOpen", QStringLiteral("&Открыть..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                       &TfrMain::pnkFileOpenClick);
    pnkFileSave = item(pnkFile, "pnkFileSave", QStringLiteral("&Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S),
                       &TfrMain::pnkFileSaveClick);
    pnkFileSaveAs =
        item(pnkFile, "pnkFileSaveAs", QStringLiteral("Сохранить &как..."), {}, &TfrMain::pnkFileSaveAsClick);
    pnkFile->addSeparator();
    // The external browsers' items: ApplyOptions names them, or hides them
    // while they are "Undefined".
    pnkFilePreview = submenu(pnkFile, "pnkFilePreview", QStringLiteral("Предварительный &просмотр"));
    auto browser = [this](const char* name, const QString& caption, const QKeySequence& shortcut) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        pnkFilePreview->addAction(action);
        return action;
    };
    pnkFilePreview1st = browser("pnkFilePreview1st", QStringLiteral("Первый &браузер"),
                                QKeySequence(Qt::CTRL | Qt::Key_F9));
    pnkFilePreview2nd = browser("pnkFilePreview2nd", QStringLiteral("&Второй браузер"),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F9));
    pnkFile->addSeparator();
    pnkFileNewWindow = item(pnkFile, "pnkFileNewWindow", QStringLiteral("Новое о&кно"),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), &TfrMain::pnkFileNewWindowClick);
    pnkFilePrint = item(pnkFile, "pnkFilePrint", QStringLiteral("&Печать кода..."), QKeySequence(Qt::CTRL | Qt::Key_P),
                        &TfrMain::pnkFilePrintClick);
    mruSeparatorTop_ = pnkFile->addSeparator();
    mruSeparatorBottom_ = pnkFile->addSeparator();
    pnkFileExit = item(pnkFile, "pnkFileExit", QStringLiteral("&Выход"), {}, &TfrMain::pnkFileExitClick);

    // Search menu.
    item(pnkSearch, "pnkSearchFind", QStringLiteral("&Найти..."), QKeySequence(Qt::CTRL | Qt::Key_F),
         &TfrMain::pnkSearchFindClick);
    pnkSearch->addSeparator();
    item(pnkSearch, "pnkSearchReplace", QStringLiteral("&Заменить..."), QKeySequence(Qt::CTRL | Qt::Key_H),
         &TfrMain::pnkSearchReplaceClick);
    pnkSearch->addSeparator();
    item(pnkSearch, "pnkSearchFindNext", QStringLiteral("Найти &далее"), QKeySequence(Qt::Key_F3),
         &TfrMain::pnkSearchFindNextClick);
    item(pnkSearch, "pnkSearchFindBack", QStringLiteral("Найти &назад"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
         &TfrMain::pnkSearchFindBackClick);

    // Service menu: the highlighter submenu.
    pnkServiceHl = submenu(pnkService, "pnkServiceHl", QStringLiteral("&Подсветка"));
    auto* kinds = new QActionGroup(this);
    kinds->setExclusive(true);
    struct HlItem {
        const char* name;
        const char* caption;
        DocumentKind kind;
    };
    const HlItem hlItems[] = {
        {"pnkServiceHlHtml", "&HTML", DocumentKind::HTML}, {"pnkServiceHlCss", "&CSS", DocumentKind::CSS},
        {"pnkServiceHlXML", "&XML", DocumentKind::XML},    {"pnkServiceHlJs", "&JavaScript", DocumentKind::JavaScript},
        {"pnkServiceHlPhp", "&PHP", DocumentKind::PHP},    {"pnkServiceHlPerl", "Per&l", DocumentKind::Perl},
    };
    for (const HlItem& h : hlItems) {
        if (h.kind == DocumentKind::JavaScript) pnkServiceHl->addSeparator();
        const DocumentKind kind = h.kind;
        QAction* action = item(pnkServiceHl, h.name, QString::fromLatin1(h.caption), {}, [this, kind] { SelectKind(kind); });
        action->setCheckable(true);
        kinds->addAction(action);
        pnkServiceHlItems[static_cast<int>(kind)] = action;
    }

    // Help menu: the help files beside the program.
    auto help = [this, &item](const char* name, const QString& caption, const QKeySequence& shortcut,
                              const char* file) {
        const QString target = QString::fromLatin1(file);
        return item(pnkHelp, name, caption, shortcut, [this, target] { ShellOpen(this, programDir_ + target); });
    };
    help("pnkHelpFAQ", QStringLiteral("&ЧаВо"), QKeySequence(Qt::Key_F1), "Help/FAQ.txt");
    pnkHelp->addSeparator();
    help("pnkHelpReadme", QStringLiteral("О&писание программы"), {}, "Help/Readme.txt");
    help("pnkHelpThanx", QStringLiteral("Благо&дарности"), {}, "Help/Thanks.txt");
    help("pnkHelpHistory", QStringLiteral("&История версий"), {}, "Help/History.txt");
    pnkHelp->addSeparator();
    help("pnkHelpTutor", QStringLiteral("&Учебник"), {}, "Help/Tutorial/index.html");
    help("pnkHelpTagz", QStringLiteral("С&правочник"), {}, "Help/tags.chm");
    createServiceHelpMenus();

    // The standard toolbar's file buttons.
    tbxStandart = NewToolbar(this, "tbxStandart", QStringLiteral("Стандартная"));
    tbxStandart->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QStyle* style = QApplication::style();

    TBXSubmenuItem1 = new QToolButton(tbxStandart);
    TBXSubmenuItem1->setObjectName(QStringLiteral("TBXSubmenuItem1"));
    TBXSubmenuItem1->setText(QStringLiteral("&Новый"));
    TBXSubmenuItem1->setIcon(style->standardIcon(QStyle::SP_FileIcon));
    TBXSubmenuItem1->setMenu(pnkFileNew);
    TBXSubmenuItem1->setPopupMode(QToolButton::MenuButtonPopup);
    connect(TBXSubmenuItem1, &QToolButton::clicked, this, &TfrMain::pnkFileNewHTMLClick);
    tbxStandart->addWidget(TBXSubmenuItem1);

    mruOpenRecent = new QMenu(this);
    mruOpenRecent->setObjectName(QStringLiteral("mruOpenRecent"));
    pnktbxFileOpen = new QToolButton(tbxStandart);
    pnktbxFileOpen->setObjectName(QStringLiteral("pnktbxFileOpen"));
    pnktbxFileOpen->setText(QStringLiteral("Открыть"));
    pnktbxFileOpen->setToolTip(QStringLiteral("Открыть файл (Ctrl+O)"));
    pnktbxFileOpen->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    pnktbxFileOpen->setMenu(mruOpenRecent);
    pnktbxFileOpen->setPopupMode(QToolButton::MenuButtonPopup);
    connect(pnktbxFileOpen, &QToolButton::clicked, this, &TfrMain::pnkFileOpenClick);
    tbxStandart->addWidget(pnktbxFileOpen);

    pnktbxSave = new QAction(style->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Сохранить"), this);
    pnktbxSave->setObjectName(QStringLiteral("pnktbxSave"));
    pnktbxSave->setToolTip(QStringLiteral("Сохранить этот файл (Ctrl+S)"));
    connect(pnktbxSave, &QAction::triggered, this, &TfrMain::pnkFileSaveClick);
    tbxStandart->addAction(pnktbxSave);
    tbxStandart->addSeparator();
    pnktbxFilePrint = new QAction(style->standardIcon(QStyle::SP_FileDialogDetailedView), QStringLiteral("Печать"), this);
    pnktbxFilePrint->setObjectName(QStringLiteral("pnktbxFilePrint"));
    pnktbxFilePrint->setToolTip(QStringLiteral("Распечатать HTML-код (Ctrl+P)"));
    connect(pnktbxFilePrint, &QAction::triggered, this, &TfrMain::pnkFilePrintClick);
    tbxStandart->addAction(pnktbxFilePrint);

    tbxTags = NewToolbar(this, "tbxTags", QStringLiteral("Теги"));

    // The form's layout: the three toolbars in rows 0, 1 and 2 of the top dock.
    addToolBar(Qt::TopToolBarArea, mnuMain);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, tbxStandart);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, tbxTags);

    // The recent-files items are made anew whenever one of their menus opens.
    connect(pnkFile, &QMenu::aboutToShow, this, &TfrMain::rebuildRecentItems);
    connect(mruOpenRecent, &QMenu::aboutToShow, this, &TfrMain::rebuildRecentItems);

    createEditMenus();
}

void TfrMain::rebuildRecentItems() {
    for (QAction* action : mruItems_) {
        pnkFile->removeAction(action);
        mruOpenRecent->removeAction(action);
        action->deleteLater();
    }
    mruItems_.clear();
    for (int i = 0; i < mruOpenRecent_.Count(); ++i) {
        const QString fileName = FileNameFromBytes(mruOpenRecent_.Items()[static_cast<size_t>(i)]);
        auto* action = new QAction(FileNameFromBytes(mruOpenRecent_.Caption(i)), this);
        action->setObjectName(QStringLiteral("pnkFileOpenRecentOpen"));
        action->setToolTip(fileName);
        connect(action, &QAction::triggered, this, [this, fileName] { mruOpenRecentClick(fileName); });
        mruItems_ << action;
    }
    pnkFile->insertActions(mruSeparatorBottom_, mruItems_);
    mruOpenRecent->addActions(mruItems_);
}

void TfrMain::mruOpenRecentClick(const QString& fileName) {
    mruOpenRecent_.MoveToTop(mruOpenRecent_.Find(FileNameBytes(fileName)));
    run([&] { OpenFrom(fileName, true, "!!!"); });
}

}  // namespace pelm
