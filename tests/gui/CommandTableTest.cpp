// The whole menu bar, both toolbars and the context menus against one table of
// the command set: captions, shortcuts, check marks, separators and hints; the
// menus that show another menu's items share its objects; and every shortcut
// reaches its item under a Latin and a Russian keyboard layout.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <set>

#include "MainWindowFixture.h"
#include "gui/app/TfrMain.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

// One row: the item's menu path ("/" between levels), then a tab and the
// shortcut, then the marks: [x] checked, [ ] checkable, (hidden), (disabled)
// for a shown item that is disabled.
// A separator is "-". Rows of items that other parts of the program build are
// marked with their owner; they are compared only when they exist.
struct Row {
    const char* line;
    const char* owner = "";
};

const Row kMenuTable[] = {
    {"&Файл/&Новый/"},
    {"&Файл/&Новый/&HTML\tCtrl+N"},
    {"&Файл/&Новый/&CSS"},
    {"&Файл/&Новый/&XML"},
    {"&Файл/&Новый/-"},
    {"&Файл/&Новый/&JavaScript"},
    {"&Файл/&Новый/&PHP"},
    {"&Файл/&Новый/Per&l"},
    {"&Файл/&Открыть...\tCtrl+O"},
    {"&Файл/&Сохранить\tCtrl+S"},
    {"&Файл/Сохранить &как..."},
    {"&Файл/-"},
    {"&Файл/Предварительный &просмотр/"},
    {"&Файл/Предварительный &просмотр/&Встроенный браузер\tF9", "preview"},
    {"&Файл/Предварительный &просмотр/-", "preview"},
    // The browsers' captions are their names: "Undefined" hides them.
    {"&Файл/Предварительный &просмотр/Undefined\tCtrl+F9 (hidden)"},
    {"&Файл/Предварительный &просмотр/Undefined\tCtrl+Shift+F9 (hidden)"},
    {"&Файл/-"},
    {"&Файл/Новое о&кно\tCtrl+Alt+N"},
    {"&Файл/&Печать кода...\tCtrl+P", "print"},
    {"&Файл/-"},
    // (the recent files go here)
    {"&Файл/-"},
    {"&Файл/&Выход"},

    {"&Правка/Отме&нить"},
    {"&Правка/&Повторить"},
    {"&Правка/-"},
    {"&Правка/&Вырезать"},
    {"&Правка/&Копировать"},
    {"&Правка/В&ставить"},
    {"&Правка/-"},
    {"&Правка/&Вставить/"},
    {"&Правка/&Вставить/&Тег/", "tags"},
    {"&Правка/&Вставить/&Символ...\tCtrl+Alt+C", "tags"},
    {"&Правка/&Вставить/&Дату"},
    {"&Правка/&Вставить/&Время"},
    {"&Правка/Режи&м выделения/"},
    {"&Правка/Режи&м выделения/&Потоком [x]"},
    {"&Правка/Режи&м выделения/&Блоком [ ]"},
    {"&Правка/Режи&м выделения/&Строками [ ]"},
    {"&Правка/-"},
    {"&Правка/О&чистить"},
    {"&Правка/&Выделить всё"},

    {"Поис&к/&Найти...\tCtrl+F"},
    {"Поис&к/-"},
    {"Поис&к/&Заменить...\tCtrl+H"},
    {"Поис&к/-"},
    {"Поис&к/Найти &далее\tF3"},
    {"Поис&к/Найти &назад\tShift+F3"},

    {"&Тег/&Формат/", "tags"},
    {"&Тег/&Формат/&Заголовок/", "tags"},
    {"&Тег/&Формат/&Заголовок/H&1\tAlt+1", "tags"},
    {"&Тег/&Формат/&Заголовок/H&2\tAlt+2", "tags"},
    {"&Тег/&Формат/&Заголовок/H&3\tAlt+3", "tags"},
    {"&Тег/&Формат/&Заголовок/H&4\tAlt+4", "tags"},
    {"&Тег/&Формат/&Заголовок/H&5\tAlt+5", "tags"},
    {"&Тег/&Формат/&Заголовок/H&6\tAlt+6", "tags"},
    {"&Тег/&Формат/-", "tags"},
    {"&Тег/&Формат/&Параграф\tAlt+A", "tags"},
    {"&Тег/&Формат/Перевод &строки\tAlt+N", "tags"},
    {"&Тег/&Формат/-", "tags"},
    {"&Тег/&Формат/&Стиль/", "tags"},
    {"&Тег/&Формат/&Стиль/&Цитата", "tags"},
    {"&Тег/&Формат/&Стиль/&Код", "tags"},
    {"&Тег/&Формат/&Стиль/К&лавиатура", "tags"},
    {"&Тег/&Формат/&Стиль/&Образец", "tags"},
    {"&Тег/&Шрифт/", "tags"},
    {"&Тег/&Шрифт/Полу&жирный\tAlt+B", "tags"},
    {"&Тег/&Шрифт/&Курсив\tAlt+I", "tags"},
    {"&Тег/&Шрифт/Под&чёркнутый\tAlt+U", "tags"},
    {"&Тег/&Шрифт/&Зачёркнутый", "tags"},
    {"&Тег/&Шрифт/-", "tags"},
    {"&Тег/&Шрифт/&Надстрочный", "tags"},
    {"&Тег/&Шрифт/&Подстрочный", "tags"},
    {"&Тег/&Шрифт/-", "tags"},
    {"&Тег/&Шрифт/&Шрифт...\tAlt+F", "tags"},
    {"&Тег/&Вставка/", "tags"},
    {"&Тег/&Вставка/Гипер&ссылка\tAlt+K", "tags"},
    {"&Тег/&Вставка/&Рисунок\tAlt+P", "tags"},
    {"&Тег/&Вставка/Горизонтальная &линия", "tags"},
    {"&Тег/&Вставка/&Комментарий\tAlt+C", "tags"},
    {"&Тег/&Таблица/", "tags"},
    {"&Тег/&Таблица/Добавить &таблицу\tAlt+T", "tags"},
    {"&Тег/&Таблица/Добавить &строки\tAlt+Z", "tags"},
    {"&Тег/&Таблица/Добавить &ячейки\tAlt+X", "tags"},
    {"&Тег/-", "tags"},
    {"&Тег/Панель вставки тега\tCtrl+`", "tags"},
    {"&Тег/&Вставить\tCtrl+Ins", "tags"},

    {"&Закладки/Перейти к &0\tCtrl+0"}, {"&Закладки/Перейти к &1\tCtrl+1"}, {"&Закладки/Перейти к &2\tCtrl+2"},
    {"&Закладки/Перейти к &3\tCtrl+3"}, {"&Закладки/Перейти к &4\tCtrl+4"}, {"&Закладки/Перейти к &5\tCtrl+5"},
    {"&Закладки/Перейти к &6\tCtrl+6"}, {"&Закладки/Перейти к &7\tCtrl+7"}, {"&Закладки/Перейти к &8\tCtrl+8"},
    {"&Закладки/Перейти к &9\tCtrl+9"},
    {"&Закладки/-"},
    {"&Закладки/Установить 0\tCtrl+Shift+0"}, {"&Закладки/Установить 1\tCtrl+Shift+1"},
    {"&Закладки/Установить 2\tCtrl+Shift+2"}, {"&Закладки/Установить 3\tCtrl+Shift+3"},
    {"&Закладки/Установить 4\tCtrl+Shift+4"}, {"&Закладки/Установить 5\tCtrl+Shift+5"},
    {"&Закладки/Установить 6\tCtrl+Shift+6"}, {"&Закладки/Установить 7\tCtrl+Shift+7"},
    {"&Закладки/Установить 8\tCtrl+Shift+8"}, {"&Закладки/Установить 9\tCtrl+Shift+9"},

    {"Се&рвис/&Подсветка/"},
    {"Се&рвис/&Подсветка/&HTML [x]"},
    {"Се&рвис/&Подсветка/&CSS [ ]"},
    {"Се&рвис/&Подсветка/&XML [ ]"},
    {"Се&рвис/&Подсветка/-"},
    {"Се&рвис/&Подсветка/&JavaScript [ ]"},
    {"Се&рвис/&Подсветка/&PHP [ ]"},
    {"Се&рвис/&Подсветка/Per&l [ ]"},
    {"Се&рвис/Выполнить &скрипт... (hidden)"},
    {"Се&рвис/-"},
    {"Се&рвис/&Настройка программы..."},

    {"&Справка/&ЧаВо\tF1"},
    {"&Справка/-"},
    {"&Справка/О&писание программы"},
    {"&Справка/Благо&дарности"},
    {"&Справка/&История версий"},
    {"&Справка/-"},
    {"&Справка/&Учебник"},
    {"&Справка/С&правочник"},
    {"&Справка/Текущий &тег\tCtrl+F1 (hidden)"},
    {"&Справка/-"},
    {"&Справка/Посетить &сайт"},
    {"&Справка/&Письмо автору"},
    {"&Справка/-"},
    {"&Справка/&О программе"},
};

// The standard toolbar: caption, then "|" and the hint.
const Row kStandardToolbar[] = {
    {"&Новый|"},
    {"Открыть|Открыть файл (Ctrl+O)"},
    {"Сохранить|Сохранить этот файл (Ctrl+S)"},
    {"-"},
    {"Печать|Распечатать HTML-код (Ctrl+P)", "print"},
    {"Просмотр|Предварительный просмотр (F9)", "preview"},
    {"-", "print"},
    {"Вырезать|Вырезать выделенный текст в буфер обмена (Ctrl+X)"},
    {"Копировать|Копировать выделенный текст в буфер обмена (Ctrl+C)"},
    {"Вставить|Вставить из буфера обмена"},
};

QString Describe(const QString& path, QAction* a) {
    if (a->isSeparator()) return path + QLatin1Char('-');
    if (a->menu()) return path + a->text() + QLatin1Char('/');
    QString line = path + a->text();
    if (!a->shortcut().isEmpty()) line += QLatin1Char('\t') + a->shortcut().toString(QKeySequence::PortableText);
    if (a->isCheckable()) line += a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
    // A hidden item is disabled as well (its key does nothing); the marks
    // tell the two apart only for shown items.
    if (!a->isVisible()) line += QStringLiteral(" (hidden)");
    else if (!a->isEnabled()) line += QStringLiteral(" (disabled)");
    return line;
}

// A submenu that shows another menu's items (the Edit menu's "&Тег") is listed
// by its own row only; the test checks its items separately.
void Walk(QMenu* menu, const QString& path, QStringList& out) {
    for (QAction* a : menu->actions()) {
        out << Describe(path, a);
        if (a->menu() && a->menu()->objectName() != QStringLiteral("pnkEditInsertTag"))
            Walk(a->menu(), path + a->text() + QLatin1Char('/'), out);
    }
}

// Compares the program's rows with the table: rows that another part owns are
// skipped when the program does not have them yet (and everything under them).
void Compare(const QStringList& actual, const Row* table, size_t count, QStringList& skippedOwners) {
    int i = 0;
    for (size_t t = 0; t < count; ++t) {
        const QString want = QString::fromUtf8(table[t].line);
        const bool optional = *table[t].owner != 0;
        if (i < actual.size() && actual[i] == want) {
            ++i;
            continue;
        }
        if (optional) {
            if (!skippedOwners.contains(QString::fromLatin1(table[t].owner)))
                skippedOwners << QString::fromLatin1(table[t].owner);
            continue;
        }
        ADD_FAILURE() << "row " << t << ": expected \"" << want.toStdString() << "\", the program has \""
                      << (i < actual.size() ? actual[i].toStdString() : std::string("<end>")) << '"';
        return;
    }
    EXPECT_EQ(i, actual.size()) << "extra row: " << (i < actual.size() ? actual[i].toStdString() : "");
}

class CommandTableTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        w_ = Start();
        w_->show();
        QApplication::setActiveWindow(w_.get());
        w_->snEditor->setFocus();
        QApplication::processEvents();
    }
    std::unique_ptr<TfrMain> w_;
};

TEST_F(CommandTableTest, MenuBarMatchesTheTable) {
    QStringList top;
    QStringList rows;
    for (QAction* a : w_->mnuMainBar->actions()) {
        top << a->text();
        Walk(a->menu(), a->text() + QLatin1Char('/'), rows);
    }
    EXPECT_EQ(top, (QStringList{"&Файл", "&Правка", "Поис&к", "&Тег", "&Закладки", "Се&рвис", "&Справка"}));
    // The Service menu's encoding submenu belongs to the encoding layer.
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const QString& r) { return r.startsWith(QStringLiteral("Се&рвис/")) && r.contains(QStringLiteral("одировк")); }),
               rows.end());
    // So is the live preview's item, which has no row in the table.
    rows.removeAll(QStringLiteral("Се&рвис/Живой просмотр [ ]"));
    QStringList skipped;
    Compare(rows, kMenuTable, std::size(kMenuTable), skipped);
    if (!skipped.isEmpty()) std::cout << "[ note ] rows not built yet, skipped: " << skipped.join(", ").toStdString() << '\n';
    // The Edit menu's "&Тег" shows the Tag menu's own items, not copies.
    if (auto* editTag = w_->findChild<QMenu*>(QStringLiteral("pnkEditInsertTag"))) {
        EXPECT_EQ(editTag->actions(), w_->pnkTag->actions());
    }
}

TEST_F(CommandTableTest, ToolbarsMatchTheTable) {
    QStringList rows;
    for (QAction* a : w_->tbxStandart->actions()) {
        if (a->isSeparator()) {
            rows << QStringLiteral("-");
        } else if (auto* button = qobject_cast<QToolButton*>(w_->tbxStandart->widgetForAction(a));
                   button && qobject_cast<QWidgetAction*>(a)) {
            rows << button->text() + QLatin1Char('|') + button->toolTip();
        } else {
            rows << a->text() + QLatin1Char('|') + a->toolTip();
        }
    }
    // The live preview's toggle closes the toolbar; it has no row in the table.
    if (!rows.isEmpty() && rows.last().startsWith(QStringLiteral("Живой просмотр|"))) rows.removeLast();
    QStringList skipped;
    Compare(rows, kStandardToolbar, std::size(kStandardToolbar), skipped);
    // The tags toolbar shows the Tag menu's own items (submenus as drop-down buttons).
    for (QAction* a : w_->tbxTags->actions()) {
        if (a->isSeparator()) continue;
        QAction* shown = a;
        if (auto* button = qobject_cast<QToolButton*>(w_->tbxTags->widgetForAction(a));
            button && qobject_cast<QWidgetAction*>(a))
            shown = button->menu() ? button->menu()->menuAction() : nullptr;
        EXPECT_TRUE(w_->pnkTag->actions().contains(shown)) << a->text().toStdString();
    }
    // The three toolbars share the overflow hint.
    for (QToolBar* bar : {w_->mnuMain, w_->tbxStandart, w_->tbxTags}) {
        auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        ASSERT_NE(more, nullptr);
        EXPECT_EQ(more->toolTip(), QStringLiteral("Больше"));
    }
}

TEST_F(CommandTableTest, MenusShowingAnotherMenusItemsShareTheObjects) {
    const QList<QAction*> status = w_->pppStatus->actions();
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status[0]->text(), QStringLiteral("&Подсветка"));
    EXPECT_EQ(status[1]->text(), QStringLiteral("&Выделение"));
    EXPECT_EQ(status[0]->menu()->actions(), w_->pnkServiceHl->actions());
    EXPECT_EQ(status[1]->menu()->actions(), w_->pnkEditSelMode->actions());
    // A check mark set through one menu shows in the other.
    w_->pnkEditSelModeItems[smColumn]->trigger();
    EXPECT_TRUE(status[1]->menu()->actions()[1]->isChecked());
    EXPECT_EQ(w_->barStatus[4]->text(), QStringLiteral("Блок"));
    if (auto* insertTag = w_->pnkEdit->findChild<QMenu*>(QStringLiteral("pnkEditInsertTag"))) {
        EXPECT_EQ(insertTag->actions(), w_->pnkTag->actions());
    }
}

// A key as the window system delivers it to the window, through Qt's own
// shortcut handling.
void Press(QWindow* window, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, window, static_cast<Qt::Key>(key), text, mods);
    QApplication::processEvents();
}

// The Russian layout's key for a Latin letter or digit key: its Qt key and text.
struct LayoutKey {
    int key;
    QString text;
};
LayoutKey RussianKey(Qt::Key latin, Qt::KeyboardModifiers mods) {
    static const char16_t letters[] = u"фисвуапршолдьтщзйкыегмцчня";  // a..z
    if (latin >= Qt::Key_A && latin <= Qt::Key_Z) {
        const QChar lower(letters[latin - Qt::Key_A]);
        return {lower.toUpper().unicode(), (mods & Qt::ShiftModifier) ? QString(lower.toUpper()) : QString(lower)};
    }
    if (latin == Qt::Key_QuoteLeft) return {0x401, QStringLiteral("ё")};
    if (latin >= Qt::Key_0 && latin <= Qt::Key_9 && (mods & Qt::ShiftModifier)) {
        // The shifted digit row of the Russian layout, 0 to 9.
        static const char16_t shifted[] = u")!\"№;%:?*(";
        const QChar c(shifted[latin - Qt::Key_0]);
        return {c.unicode(), QString(c)};
    }
    return {latin, QString()};
}

TEST_F(CommandTableTest, EveryShortcutReachesItsItemUnderLatinAndRussianLayouts) {
    QWindow* window = w_->windowHandle();
    ASSERT_NE(window, nullptr);
    std::map<QAction*, int> fired;
    QList<QAction*> withKeys;
    for (QAction* a : w_->findChildren<QAction*>()) {
        if (a->shortcut().isEmpty() || a->parent() != w_.get()) continue;
        // Only the item's arrival is counted: the commands themselves (dialogs,
        // new windows, help viewers) are not run here.
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, [&fired, a] { ++fired[a]; });
        withKeys << a;
    }
    ASSERT_GE(withKeys.size(), 30);
    for (QAction* a : withKeys) {
        const QKeyCombination combo = a->shortcut()[0];
        const Qt::Key key = combo.key();
        const Qt::KeyboardModifiers mods = combo.keyboardModifiers();
        const bool live = a->isEnabled();
        const std::string name = a->objectName().toStdString() + " " + a->shortcut().toString().toStdString();

        fired[a] = 0;
        Press(window, key, mods, QString());
        EXPECT_EQ(fired[a], live ? 1 : 0) << name << " (Latin)";

        const LayoutKey ru = RussianKey(key, mods);
        // Shifted digits whose Russian symbol is not a Latin shifted digit are
        // told apart by the X server's key code, which a test event cannot carry.
        static const char latinShifted[] = ")!@#$%^&*(";
        const bool byScanCode = ru.key != key && key >= Qt::Key_0 && key <= Qt::Key_9 && ru.key != 0x2116 &&
                                ru.key != latinShifted[key - Qt::Key_0];
        if (byScanCode) continue;
        fired[a] = 0;
        Press(window, ru.key, mods, ru.text);
        EXPECT_EQ(fired[a], live ? 1 : 0) << name << " (Russian)";
    }
}

TEST_F(CommandTableTest, DisabledItemsKeyDoesNothing) {
    ASSERT_FALSE(w_->pnkHelpTag->isEnabled());
    int fired = 0;
    QObject::connect(w_->pnkHelpTag, &QAction::triggered, [&] { ++fired; });
    Press(w_->windowHandle(), Qt::Key_F1, Qt::ControlModifier, QString());
    EXPECT_EQ(fired, 0);
    // The tag panel shows and enables the item once a tag is chosen.
    w_->pnkHelpTag->setVisible(true);
    w_->pnkHelpTag->setEnabled(true);
    Press(w_->windowHandle(), Qt::Key_F1, Qt::ControlModifier, QString());
    EXPECT_EQ(fired, 1);
}

TEST_F(CommandTableTest, ScriptCommandOnlyChoosesAFile) {
    prompts_.openNames.push_back(Path("Library/Scripts/x.pel"));
    w_->pnkServiceScriptRun->trigger();
    ASSERT_EQ(prompts_.openRequests.size(), 1u);
    const FileDialogRequest& r = prompts_.openRequests[0];
    EXPECT_EQ(r.caption, QStringLiteral("Запустить скрипт"));
    EXPECT_EQ(r.folder, Path("Library/Scripts"));
    EXPECT_EQ(r.defaultExt, QStringLiteral("pel"));
    ASSERT_EQ(r.filters.size(), 2);
    EXPECT_EQ(r.filters[0].description, QStringLiteral("Скрипт Pelm2 (*.pel)"));
    EXPECT_EQ(r.filters[1].description, QStringLiteral("Все файлы (*.*)"));
    EXPECT_EQ(Text(*w_).isEmpty(), false);  // the document is untouched
}

}  // namespace
}  // namespace pelm::test
