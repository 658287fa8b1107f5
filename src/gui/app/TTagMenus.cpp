// The Tag menu and its quick tag commands, the tags toolbar showing the same
// items (submenus as drop-down buttons), the Edit menu's insert items, the Help
// menu's current-tag item and the value grid's context menu pppTagProp.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "gui/app/TTagController.h"
#include "gui/app/TfrMain.h"
#include "gui/panels/TTagPanel.h"

namespace pelm {

namespace {

// A quick tag command: the tag it selects, and whether it inserts at once.
struct QuickTag {
    const char* item;
    const char* caption;
    QKeySequence shortcut;
    const char* name;
    bool insertNow;
};

}  // namespace

void TTagController::CreateMenus() {
    TfrMain& w = main_;
    auto action = [&w](QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
        auto* a = new QAction(caption, &w);
        a->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WindowShortcut);
            w.addAction(a);
        }
        if (menu) menu->addAction(a);
        return a;
    };
    auto submenu = [](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto quick = [this, &action](QMenu* menu, const QuickTag& q) {
        QAction* a = action(menu, q.item, QString::fromUtf8(q.caption), q.shortcut);
        const std::string name = q.name;
        const bool insertNow = q.insertNow;
        connect(a, &QAction::triggered, this, [this, name, insertNow] { TagSel(name, insertNow); });
        return a;
    };
    auto alt = [](Qt::Key key) { return QKeySequence(Qt::ALT | key); };

    QMenu* tag = w.pnkTag;
    QMenu* format = submenu(tag, "pnkTagFormat", QStringLiteral("&Формат"));
    QMenu* header = submenu(format, "pnkTagFormatHeader", QStringLiteral("&Заголовок"));
    for (int n = 1; n <= 6; ++n) {
        const QByteArray item = n == 5 ? QByteArray("PnkTagH5") : "pnkTagH" + QByteArray::number(n);
        const QByteArray caption = "H&" + QByteArray::number(n);
        const QByteArray name = "H" + QByteArray::number(n);
        QAction* a = action(header, item.constData(), QString::fromLatin1(caption),
                            alt(static_cast<Qt::Key>(Qt::Key_0 + n)));
        const std::string tagName = name.toStdString();
        connect(a, &QAction::triggered, this, [this, tagName] { TagSel(tagName, false); });
    }
    format->addSeparator();
    quick(format, {"pnkTagP", "&Параграф", alt(Qt::Key_A), "P", false});
    quick(format, {"pnkTagBR", "Перевод &строки", alt(Qt::Key_N), "BR", true});
    format->addSeparator();
    QMenu* style = submenu(format, "pnkTagStyle", QStringLiteral("&Стиль"));
    quick(style, {"pnkTagCite", "&Цитата", {}, "CITE", true});
    quick(style, {"pnkTagCode", "&Код", {}, "CODE", true});
    quick(style, {"pnkTagKbd", "К&лавиатура", {}, "KBD", true});
    quick(style, {"pnkTagSamp", "&Образец", {}, "SAMP", true});

    QMenu* font = submenu(tag, "pnkTagBIUS", QStringLiteral("&Шрифт"));
    quick(font, {"pnkTagBold", "Полу&жирный", alt(Qt::Key_B), "B", true});
    quick(font, {"pnkTagItalic", "&Курсив", alt(Qt::Key_I), "I", true});
    quick(font, {"pnkTagUnderline", "Под&чёркнутый", alt(Qt::Key_U), "U", true});
    quick(font, {"pnkTagStrike", "&Зачёркнутый", {}, "S", true});
    font->addSeparator();
    quick(font, {"pnkTagSup", "&Надстрочный", {}, "SUP", true});
    quick(font, {"pnkTagSub", "&Подстрочный", {}, "SUB", true});
    font->addSeparator();
    quick(font, {"pnkTagFont", "&Шрифт...", alt(Qt::Key_F), "FONT", false});

    QMenu* insert = submenu(tag, "pnkTagIns", QStringLiteral("&Вставка"));
    quick(insert, {"pnkTagA", "Гипер&ссылка", alt(Qt::Key_K), "A", false});
    quick(insert, {"pnkTagIMG", "&Рисунок", alt(Qt::Key_P), "IMG", false});
    quick(insert, {"pnkTagHR", "Горизонтальная &линия", {}, "HR", true});
    QAction* comment = action(insert, "pnkTagComment", QStringLiteral("&Комментарий"), alt(Qt::Key_C));
    connect(comment, &QAction::triggered, this, &TTagController::pnkTagCommentClick);

    QMenu* table = submenu(tag, "pnkTagTable", QStringLiteral("&Таблица"));
    quick(table, {"pnkTagTabl", "Добавить &таблицу", alt(Qt::Key_T), "TABLE", false});
    quick(table, {"pnkTagTR", "Добавить &строки", alt(Qt::Key_Z), "TR", false});
    // Shown, with its key, and does nothing.
    action(table, "pnkTagTD", QStringLiteral("Добавить &ячейки"), alt(Qt::Key_X));

    tag->addSeparator();
    // Ctrl with the key left of 1: "`" on a Latin layout, "ё" on a Russian one.
    pnkTagPanel = action(tag, "pnkTagPanel", QStringLiteral("Панель вставки тега"), {});
    pnkTagPanel->setToolTip(QStringLiteral("Открыть панель вставки тега"));
    pnkTagPanel->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_QuoteLeft), QKeySequence(Qt::CTRL | 0x0401)});
    pnkTagPanel->setShortcutContext(Qt::WindowShortcut);
    w.addAction(pnkTagPanel);
    connect(pnkTagPanel, &QAction::triggered, this, &TTagController::pnkServiceShowInsertTagPanelClick);
    pnkTagInsert = action(tag, "pnkTagInsert", QStringLiteral("&Вставить"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    connect(pnkTagInsert, &QAction::triggered, this, &TTagController::btnTagInsertClick);

    // The tags toolbar shows the same items; submenus drop down from buttons.
    w.tbxTags->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* a : tag->actions()) {
        if (a->isSeparator()) {
            w.tbxTags->addSeparator();
        } else if (QMenu* menu = a->menu()) {
            auto* button = new QToolButton(w.tbxTags);
            button->setObjectName(QStringLiteral("tbx") + menu->objectName());
            button->setText(menu->title());
            button->setMenu(menu);
            button->setPopupMode(QToolButton::InstantPopup);
            w.tbxTags->addWidget(button);
        } else {
            w.tbxTags->addAction(a);
        }
    }

    // The Edit menu's insert submenu: the Tag menu's items, then the character
    // dialog, before the date and the time.
    if (auto* editInsert = w.pnkEdit->findChild<QMenu*>(QStringLiteral("pnkEditInsert"))) {
        QAction* first = editInsert->actions().value(0);
        auto* editTag = new QMenu(QStringLiteral("&Тег"), editInsert);
        editTag->setObjectName(QStringLiteral("pnkEditInsertTag"));
        editTag->addActions(tag->actions());
        editInsert->insertMenu(first, editTag);
        QAction* chars = action(nullptr, "pnkCharInsert", QStringLiteral("&Символ..."),
                                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
        editInsert->insertAction(first, chars);
        connect(chars, &QAction::triggered, this, &TTagController::pnkCharInsertClick);
    }

    // The Help menu's current-tag item, hidden and disabled until a tag is chosen.
    // The main window may have made the item already with the rest of the Help menu.
    pnkHelpTag = w.pnkHelpTag ? w.pnkHelpTag : w.findChild<QAction*>(QStringLiteral("pnkHelpTag"));
    if (!pnkHelpTag) {
        QAction* reference = w.findChild<QAction*>(QStringLiteral("pnkHelpTagz"));
        const QList<QAction*> items = w.pnkHelp->actions();
        const qsizetype at = reference ? items.indexOf(reference) : -1;
        pnkHelpTag = action(nullptr, "pnkHelpTag", QStringLiteral("Текущий &тег"), QKeySequence(Qt::CTRL | Qt::Key_F1));
        w.pnkHelp->insertAction(at >= 0 ? items.value(at + 1) : nullptr, pnkHelpTag);
    }
    pnkHelpTag->setEnabled(false);
    pnkHelpTag->setVisible(false);
    connect(pnkHelpTag, &QAction::triggered, this, &TTagController::btnTagHelpClick);

    // The value grid's context menu: fixed values by the attribute they are
    // meant for, the colour mixer and the file browser.
    pppTagProp = new QMenu(panel_);
    pppTagProp->setObjectName(QStringLiteral("pppTagProp"));
    struct Value {
        const char* item;
        const char* caption;
        const char* value;
    };
    auto values = [this, &submenu](const char* name, const QString& caption, std::initializer_list<Value> list) {
        QMenu* m = submenu(pppTagProp, name, caption);
        for (const Value& v : list) {
            auto* a = m->addAction(QString::fromUtf8(v.caption));
            a->setObjectName(QLatin1String(v.item));
            const std::string value = v.value;
            connect(a, &QAction::triggered, this, [this, value] { WriteValue(value); });
        }
        return m;
    };
    values("pnkPropAlign", QStringLiteral("&align && valign"),
           {{"pnkPropAlignBottom", "&bottom", "bottom"}, {"pnkPropAlignCenter", "&center", "center"},
            {"pnkPropAlignJustify", "&justify", "justify"}, {"pnkPropAlignLeft", "&left", "left"},
            {"pnkPropAlignMiddle", "&middle", "middle"}, {"pnkPropAlignRight", "&right", "right"},
            {"pnkPropTop", "&top", "top"}});
    QMenu* color = submenu(pppTagProp, "pnkPropColor", QStringLiteral("&color, bgcolor && link"));
    QAction* mixer = color->addAction(QStringLiteral("&Микшер..."));
    mixer->setObjectName(QStringLiteral("pnkPropColorSelect"));
    connect(mixer, &QAction::triggered, this, &TTagController::pnkPropColorSelectClick);
    values("pnkPropInputType", QStringLiteral("input &type"),
           {{"pnkPropInputTypeButton", "&button", "button"}, {"pnkPropInputTypeCheckbox", "&checkbox", "checkbox"},
            {"pnkPropInputTypeFile", "&file", "file"}, {"pnkPropInputTypeHidden", "&hidden", "hidden"},
            {"pnkPropInputTypeImage", "&image", "image"}, {"pnkPropInputTypePassword", "&password", "password"},
            {"pnkPropInputTypeRadio", "&radio", "radio"}, {"pnkPropInputTypeReset", "&reset", "reset"},
            {"pnkPropInputTypeSubmit", "&submit", "submit"}, {"pnkPropInputTypeText", "&text", "text"}});
    values("pnkPropTarget", QStringLiteral("&target"),
           {{"pnkPropTargetBlank", "_&blank", "_blank"}, {"pnkPropTargetParent", "_&parent", "_parent"},
            {"pnkPropTargetSearch", "_&search", "_search"}, {"pnkPropTargetSelf", "_&self", "_self"},
            {"pnkPropTargetTop", "_&top", "_top"}});
    values("pnkPropShape", QStringLiteral("&shape"),
           {{"pnkPropShapeCirc", "&circ", "circ"}, {"pnkPropShapePoly", "&poly", "poly"},
            {"pnkPropShapeRect", "&rect", "rect"}});
    pppTagProp->addSeparator();
    QAction* browse = pppTagProp->addAction(QStringLiteral("&Обзор..."));
    browse->setObjectName(QStringLiteral("pnkPropBrowse"));
    connect(browse, &QAction::triggered, this, &TTagController::pnkPropBrowseClick);
    connect(panel_->edtTagProp, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        pppTagProp->popup(panel_->edtTagProp->viewport()->mapToGlobal(pos));
    });
}

}  // namespace pelm
