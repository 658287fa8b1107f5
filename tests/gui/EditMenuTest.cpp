// The Edit and Bookmarks menus, the two context menus and the toolbar's edit
// buttons, driven the way a user reaches them.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

class EditMenuTest : public MainWindowFixture {};

QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(EditMenuTest, ItemsInOrderAndTheEditorsContextMenu) {
    auto w = Start();
    EXPECT_EQ(Captions(w->pnkEdit),
              (QStringList{"Отме&нить", "&Повторить", "-", "&Вырезать", "&Копировать", "В&ставить", "-", "&Вставить",
                           "Режи&м выделения", "-", "О&чистить", "&Выделить всё"}));
    for (const QAction* a : w->pnkEdit->actions()) EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    EXPECT_EQ(Captions(w->pnkEditSelMode), (QStringList{"&Потоком", "&Блоком", "&Строками"}));
    EXPECT_TRUE(w->pnkEditSelModeItems[smNormal]->isChecked());
    QStringList marks = Captions(w->pnkBookmarks);
    EXPECT_EQ(marks.size(), 21);
    EXPECT_EQ(marks[0], QStringLiteral("Перейти к &0"));
    EXPECT_EQ(marks[10], QStringLiteral("-"));
    EXPECT_EQ(marks[20], QStringLiteral("Установить 9"));
}

TEST_F(EditMenuTest, SelectionModeChecksOneItemEverywhere) {
    auto w = Start();
    w->pnkEditSelModeItems[smColumn]->trigger();
    EXPECT_EQ(w->snEditor->Model().SelectionMode(), smColumn);
    EXPECT_EQ(w->barStatus[4]->text(), QStringLiteral("Блок"));
    EXPECT_TRUE(w->pnkEditSelModeItems[smColumn]->isChecked());
    EXPECT_FALSE(w->pnkEditSelModeItems[smNormal]->isChecked());
    // The status bar's menu shows the same items, so the same check mark.
    QMenu* sel = w->pppStatus->actions().at(1)->menu();
    ASSERT_NE(sel, nullptr);
    EXPECT_EQ(sel->actions().at(1), w->pnkEditSelModeItems[smColumn]);
    w->pnkEditSelModeItems[smLine]->trigger();
    EXPECT_EQ(w->barStatus[4]->text(), QStringLiteral("Строки"));
    EXPECT_EQ(w->snEditor->Model().SelectionMode(), smLine);
}

// The toolbar's "Копировать" copies, as its caption and hint promise (it must
// not run the Cut command and delete the user's text).
TEST_F(EditMenuTest, ToolbarCopyCopiesLikeTheMenuCopy) {
    auto w = Start();
    TCustomCodeEdit& e = w->snEditor->Model();
    e.SelectAll();
    e.SetSelectedText("hello");
    w->ModFlag(false);
    e.SetSelection({1, 1}, {6, 1});
    w->pnkEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello"));
    EXPECT_FALSE(e.Modified());
    EXPECT_TRUE(e.HasSelection());
    QAction* toolbarCopy = w->findChild<QAction*>(QStringLiteral("pnktbxEditCopy"));
    ASSERT_NE(toolbarCopy, nullptr);
    QApplication::clipboard()->clear();
    toolbarCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello"));
    EXPECT_TRUE(e.HasSelection());
    EXPECT_EQ(e.Lines().Strings(0), "hello");
    EXPECT_FALSE(e.Modified());
}

TEST_F(EditMenuTest, CutWithNothingSelectedStillMarksModified) {
    auto w = Start();
    w->ModFlag(false);
    std::string before = w->snEditor->Model().Lines().Text();
    w->pnkEditCut->trigger();
    EXPECT_EQ(w->snEditor->Model().Lines().Text(), before);
    EXPECT_TRUE(w->snEditor->Model().Modified());
}

TEST_F(EditMenuTest, InsertDateReplacesTheSelection) {
    auto w = Start();
    TCustomCodeEdit& e = w->snEditor->Model();
    e.SelectAll();
    e.SetSelectedText("x OLD y");
    e.SetSelection({3, 1}, {6, 1});
    w->pnkEditInsertDateClick();
    const std::string date = ToCp1251(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    EXPECT_EQ(e.Lines().Strings(0), "x " + date + " y");
    e.Undo();
    EXPECT_EQ(e.Lines().Strings(0).substr(0, 7), "x OLD y");
}

TEST_F(EditMenuTest, BookmarkKeysReachTheMenu) {
    auto w = Start();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    TCustomCodeEdit& e = w->snEditor->Model();
    std::vector<std::string> lines(40, "line");
    e.Lines().AppendLines(lines);
    e.SetCaretPos({3, 12});
    w->snEditor->setFocus();
    QTest::keyClick(w->snEditor, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(e.Bookmark(3), nullptr);
    EXPECT_EQ(e.Bookmark(3)->Line, 12);
    e.SetCaretPos({1, 1});
    QTest::keyClick(w->snEditor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{3, 12}));
}

}  // namespace
}  // namespace pelm::test
