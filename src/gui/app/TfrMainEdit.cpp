// The Edit and Bookmarks menus, the editor's and the status bar's context menus
// and the standard toolbar's edit buttons: small commands that are a call or two
// on the editor.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDate>
#include <QIcon>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolBar>

#include "gui/app/GuiText.h"
#include "gui/app/TfrMain.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm {

void TfrMain::createEditMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
        menu->addAction(action);
        return action;
    };
    TCustomCodeEdit& editor = snEditor->Model();

    // Edit menu. Its items have no shortcuts: the editor's own keys do the same.
    pnkEditUndo = item(pnkEdit, "pnkEditUndo", QStringLiteral("Отме&нить"), [&editor] { editor.Undo(); });
    pnkEditRedo = item(pnkEdit, "pnkEditRedo", QStringLiteral("&Повторить"), [&editor] { editor.Redo(); });
    pnkEdit->addSeparator();
    pnkEditCut = item(pnkEdit, "pnkEditCut", QStringLiteral("&Вырезать"), [this] { pnkEditCutClick(); });
    pnkEditCopy = item(pnkEdit, "pnkEditCopy", QStringLiteral("&Копировать"), [&editor] { editor.ClipboardCopy(); });
    pnkEditPaste = item(pnkEdit, "pnkEditPaste", QStringLiteral("В&ставить"), [this] { pnkEditPasteClick(); });
    pnkEdit->addSeparator();
    QMenu* insert = pnkEdit->addMenu(QStringLiteral("&Вставить"));
    insert->setObjectName(QStringLiteral("pnkEditInsert"));
    item(insert, "pnkEditInsertDate", QStringLiteral("&Дату"), [this] { pnkEditInsertDateClick(); });
    item(insert, "pnkEditInsertTime", QStringLiteral("&Время"), [this] { pnkEditInsertTimeClick(); });

    pnkEditSelMode = pnkEdit->addMenu(QStringLiteral("Режи&м выделения"));
    pnkEditSelMode->setObjectName(QStringLiteral("pnkEditSelMode"));
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    struct Mode {
        const char* name;
        QString caption;
        TSelectionMode mode;
    };
    const Mode modeItems[] = {
        {"pnkEditSelModePotok", QStringLiteral("&Потоком"), smNormal},
        {"pnkEditSelModeBlock", QStringLiteral("&Блоком"), smColumn},
        {"pnkEditSelModeStrok", QStringLiteral("&Строками"), smLine},
    };
    for (const Mode& m : modeItems) {
        const TSelectionMode mode = m.mode;
        QAction* action = item(pnkEditSelMode, m.name, m.caption, [this, mode] { SelectSelectionMode(mode); });
        action->setCheckable(true);
        modes->addAction(action);
        pnkEditSelModeItems[static_cast<int>(mode)] = action;
    }
    pnkEditSelModeItems[smNormal]->setChecked(true);
    pnkEdit->addSeparator();
    item(pnkEdit, "pnkEditClear", QStringLiteral("О&чистить"), [&editor] { editor.DeleteSelection(); });
    item(pnkEdit, "pnkEditClearAll", QStringLiteral("&Выделить всё"), [&editor] { editor.SelectAll(); });

    // The editor's context menu shows the Edit menu's own items.
    snEditor->SetContextMenu(pnkEdit);

    // Bookmarks: go to n, then set n at the caret; the keys are the window's.
    for (int n = 0; n <= 9; ++n) {
        QAction* go = item(pnkBookmarks, "", QStringLiteral("Перейти к &%1").arg(n), [&editor, n] { editor.JumpToBookmark(n); });
        go->setObjectName(QStringLiteral("pnkBm%1").arg(n));
        go->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n)));
        go->setShortcutContext(Qt::WindowShortcut);
        addAction(go);
    }
    pnkBookmarks->addSeparator();
    for (int n = 0; n <= 9; ++n) {
        QAction* set = item(pnkBookmarks, "", QStringLiteral("Установить %1").arg(n), [&editor, n] {
            editor.PlaceBookmark(n, editor.CaretPos().Column, editor.CaretPos().Line);
        });
        set->setObjectName(QStringLiteral("pnkBmg%1").arg(n));
        set->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_0 + n)));
        set->setShortcutContext(Qt::WindowShortcut);
        addAction(set);
    }

    // The status bar's context menu: the highlighter and selection-mode items.
    pppStatus = new QMenu(this);
    pppStatus->setObjectName(QStringLiteral("pppStatus"));
    QMenu* hl = pppStatus->addMenu(QStringLiteral("&Подсветка"));
    hl->addActions(pnkServiceHl->actions());
    QMenu* sel = pppStatus->addMenu(QStringLiteral("&Выделение"));
    sel->addActions(pnkEditSelMode->actions());
    statusBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(statusBar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { pppStatus->popup(statusBar()->mapToGlobal(pos)); });

    // The standard toolbar's edit buttons; "Копировать" copies, as its hint says.
    const QStyle* style = QApplication::style();
    tbxStandart->addSeparator();
    auto button = [this](const char* name, const QString& caption, const QString& hint, const QIcon& icon,
                         void (TfrMain::*handler)()) {
        auto* action = new QAction(icon, caption, this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, [this, handler] { run([this, handler] { (this->*handler)(); }); });
        tbxStandart->addAction(action);
        return action;
    };
    button("pnktbxEditCut", QStringLiteral("Вырезать"),
           QStringLiteral("Вырезать выделенный текст в буфер обмена (Ctrl+X)"),
           QIcon::fromTheme(QStringLiteral("edit-cut"), style->standardIcon(QStyle::SP_DialogDiscardButton)),
           &TfrMain::pnkEditCutClick);
    button("pnktbxEditCopy", QStringLiteral("Копировать"),
           QStringLiteral("Копировать выделенный текст в буфер обмена (Ctrl+C)"),
           QIcon::fromTheme(QStringLiteral("edit-copy"), style->standardIcon(QStyle::SP_FileDialogContentsView)),
           &TfrMain::pnkEditCopyClick);
    button("pnktbxEditPaste", QStringLiteral("Вставить"), QStringLiteral("Вставить из буфера обмена"),
           QIcon::fromTheme(QStringLiteral("edit-paste"), style->standardIcon(QStyle::SP_DialogApplyButton)),
           &TfrMain::pnkEditPasteClick);
}

void TfrMain::pnkEditCutClick() {
    snEditor->Model().ClipboardCut();
    ModFlag(true);
}

void TfrMain::pnkEditCopyClick() {
    snEditor->Model().ClipboardCopy();
}

void TfrMain::pnkEditPasteClick() {
    snEditor->Model().ClipboardPaste();
    ModFlag(true);
}

void TfrMain::pnkEditInsertDateClick() {
    snEditor->Model().SetSelectedText(ToCp1251(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
}

void TfrMain::pnkEditInsertTimeClick() {
    snEditor->Model().SetSelectedText(ToCp1251(QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat)));
}

void TfrMain::SelectSelectionMode(TSelectionMode mode) {
    pnkEditSelModeItems[static_cast<int>(mode)]->setChecked(true);
    snEditor->Model().SetSelectionMode(mode);
    static const char* const texts[] = {"Поток", "Строки", "Блок"};
    barStatus[4]->setText(QString::fromUtf8(texts[static_cast<int>(mode)]));
}

}  // namespace pelm
