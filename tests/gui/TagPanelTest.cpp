// The tag panel, the quick tag commands, the value commands and the character
// dialog, driven the way a user reaches them, over the shipped tag library.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "MainWindowFixture.h"
#include "core/editor/TCustomCodeEdit.h"
#include "gui/app/TTagController.h"
#include "gui/dialogs/TfrCharInsert.h"
#include "gui/panels/TTagPanel.h"
#include "gui/panels/TTagPrompts.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

class ScriptedTagPrompts : public TTagPrompts {
public:
    std::optional<QColor> color;  // the answer of the colour dialog
    QString file;                 // the answer of the file browser
    QList<QColor> colorRequests;
    QList<BrowseRequest> browseRequests;

    std::optional<QColor> pickColor(QWidget*, const QColor& initial) override {
        colorRequests << initial;
        return color;
    }
    QString browseFile(QWidget*, const BrowseRequest& request) override {
        browseRequests << request;
        return file;
    }
};

class TagPanelTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // The shipped library.
        const QString shipped = QStringLiteral(PELM_TEST_DATA "/../data/Library/Tags");
        QDirIterator it(shipped, QDir::Files);
        while (it.hasNext()) {
            it.next();
            QFile f(it.filePath());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            WriteFile(QStringLiteral("Library/Tags/") + it.fileName(), f.readAll());
        }
    }

    std::unique_ptr<TfrMain> Open() {
        auto w = Start();
        w->Tags()->SetTagPrompts(&tagPrompts_);
        w->show();
        QApplication::setActiveWindow(w.get());
        w->snEditor->setFocus();
        QApplication::processEvents();
        return w;
    }

    // The editor holds text (UTF-8 here) with its first n characters selected.
    static void SetText(TfrMain& w, const QString& text, int selected) {
        TCustomCodeEdit& e = w.snEditor->Model();
        e.SelectAll();
        e.SetSelectedText(ToCp1251(text));
        e.SetSelOffset(0);
        e.SelectChars(selected);
    }

    static void Type(const QString& text) {
        for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }

    static TTagPanel& Panel(TfrMain& w) { return *w.Tags()->Panel(); }

    static QStringList RowValues(TfrMain& w) {
        QStringList values;
        QTreeWidget* grid = Panel(w).edtTagProp;
        for (int i = 0; i < grid->topLevelItemCount(); ++i)
            values << grid->topLevelItem(i)->text(0) + QLatin1Char('=') + grid->topLevelItem(i)->text(1);
        return values;
    }

    static void Trigger(TfrMain& w, const char* name) {
        auto* a = w.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }

    ScriptedTagPrompts tagPrompts_;
};

QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(TagPanelTest, HyperlinkWithAltKTypedValueAndCtrlInsert) {
    auto w = Open();
    SetText(*w, QStringLiteral("текст"), 5);
    w->pnlTagInsert->hide();

    QTest::keyClick(w->snEditor, Qt::Key_K, Qt::AltModifier);
    EXPECT_TRUE(w->pnlTagInsert->isVisible());
    EXPECT_EQ(w->cmbTagName->currentText(), QStringLiteral("A"));
    EXPECT_EQ(w->barStatus[3]->text(), QStringLiteral("<A>"));
    EXPECT_EQ(Panel(*w).lblTagDescription->text(), QStringLiteral("Гиперссылка или якорь"));
    EXPECT_EQ(Panel(*w).clTagYN->text(), QStringLiteral("yes"));
    EXPECT_EQ(w->TagHelpTopic(), "a.html");
    EXPECT_EQ(QApplication::focusWidget(), Panel(*w).edtTagProp);
    EXPECT_EQ(Panel(*w).edtTagProp->currentItem()->text(0), QStringLiteral("href"));

    // The value is still being edited when Ctrl+Insert comes: it counts.
    Type(QStringLiteral("index.html"));
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ControlModifier);

    EXPECT_EQ(Text(*w), QStringLiteral("<A href=\"index.html\">текст</A>"));
    EXPECT_EQ(w->snEditor->SelOffset(), Text(*w).size() - 4);  // just before "</A>"
    EXPECT_FALSE(w->snEditor->Model().HasSelection());
    EXPECT_EQ(QApplication::focusWidget(), w->snEditor);
    EXPECT_TRUE(w->snEditor->Modified());
    EXPECT_TRUE(w->pnlTagInsert->isVisible());  // TagInsertHide is 0
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();

    w->snEditor->Model().Undo();  // one step
    EXPECT_EQ(Text(*w), QStringLiteral("текст"));
    w->snEditor->SetModified(false);
}

TEST_F(TagPanelTest, AltBInsertsAtOnceAndTagInsertHideHidesThePanel) {
    WriteFile("pelm.ini", "[Toolbars]\r\nTagInsertHide=1\r\n");
    auto w = Open();
    SetText(*w, QStringLiteral("ab"), 0);
    w->snEditor->SetSelOffset(1);
    QTest::keyClick(w->snEditor, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(Text(*w), QStringLiteral("a<B></B>b"));
    EXPECT_EQ(w->snEditor->SelOffset(), 4);  // between the two tags
    EXPECT_EQ(w->cmbTagName->currentText(), QStringLiteral("B"));
    EXPECT_FALSE(w->pnlTagInsert->isVisible());

    // The comment command, without the panel.
    QTest::keyClick(w->snEditor, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(Text(*w), QStringLiteral("a<B><!--  --></B>b"));
    w->snEditor->SetModified(false);
}

TEST_F(TagPanelTest, CaseZeroWritesLowerCaseTags) {
    WriteFile("pelm.ini", "[Editor]\r\nCase=0\r\n");
    auto w = Open();
    SetText(*w, QStringLiteral("x"), 1);
    Trigger(*w, "pnkTagStrike");
    EXPECT_EQ(Text(*w), QStringLiteral("<s>x</s>"));
    EXPECT_EQ(w->barStatus[3]->text(), QStringLiteral("<s>"));
    w->snEditor->SetModified(false);
}

TEST_F(TagPanelTest, MenusToolbarAndHelpItem) {
    auto w = Open();
    EXPECT_EQ(Captions(w->pnkTag), (QStringList{"&Формат", "&Шрифт", "&Вставка", "&Таблица", "-",
                                                "Панель вставки тега", "&Вставить"}));
    auto* header = w->findChild<QMenu*>(QStringLiteral("pnkTagFormatHeader"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(Captions(header), (QStringList{"H&1", "H&2", "H&3", "H&4", "H&5", "H&6"}));
    EXPECT_NE(w->findChild<QAction*>(QStringLiteral("PnkTagH5")), nullptr);
    auto* font = w->findChild<QMenu*>(QStringLiteral("pnkTagBIUS"));
    EXPECT_EQ(Captions(font), (QStringList{"Полу&жирный", "&Курсив", "Под&чёркнутый", "&Зачёркнутый", "-",
                                           "&Надстрочный", "&Подстрочный", "-", "&Шрифт..."}));
    auto* insert = w->findChild<QAction*>(QStringLiteral("pnkTagInsert"));
    EXPECT_EQ(insert->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));

    // The toolbar: submenus as drop-down buttons showing the same menus.
    auto* button = w->tbxTags->findChild<QToolButton*>(QStringLiteral("tbxpnkTagBIUS"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->menu(), font);
    EXPECT_TRUE(w->tbxTags->actions().contains(insert));

    // The Edit menu's insert submenu: the same item objects, then the characters.
    auto* editInsert = w->findChild<QMenu*>(QStringLiteral("pnkEditInsert"));
    EXPECT_EQ(Captions(editInsert), (QStringList{"&Тег", "&Символ...", "&Дату", "&Время"}));
    auto* editTag = w->findChild<QMenu*>(QStringLiteral("pnkEditInsertTag"));
    EXPECT_EQ(editTag->actions(), w->pnkTag->actions());

    // "Добавить &ячейки" and its Alt+X do nothing.
    SetText(*w, QStringLiteral("x"), 1);
    QTest::keyClick(w->snEditor, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(Text(*w), QStringLiteral("x"));

    // The current-tag help item appears with the first choice.
    auto* help = w->findChild<QAction*>(QStringLiteral("pnkHelpTag"));
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    const QList<QAction*> helpItems = w->pnkHelp->actions();
    EXPECT_EQ(helpItems.indexOf(help), helpItems.indexOf(w->findChild<QAction*>(QStringLiteral("pnkHelpTagz"))) + 1);
    w->TagSel("TABLE", false);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isEnabled());
    EXPECT_EQ(w->TagHelpTopic(), "table.html");
}

TEST_F(TagPanelTest, ChoosingInTheList) {
    auto w = Open();
    QComboBox* list = w->cmbTagName;
    EXPECT_EQ(list->itemText(0), QStringLiteral(">ДОКУМЕНТ"));
    EXPECT_EQ(list->currentIndex(), -1);
    // Before the first choice the grid holds one empty row.
    EXPECT_EQ(RowValues(*w), QStringList{"="});

    // Up on the entry just below a header keeps the choice there.
    w->cmbTagNameChange(1);
    EXPECT_EQ(list->currentText(), QStringLiteral("HTML"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentText(), QStringLiteral("HTML"));
    EXPECT_EQ(w->barStatus[3]->text(), QStringLiteral("<HTML>"));
    // Down onto a header passes on to the entry after it.
    list->setCurrentIndex(list->findText(QStringLiteral("BODY")));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), QStringLiteral("HEADER"));
    EXPECT_EQ(w->barStatus[3]->text(), QStringLiteral("<HEADER>"));

    // A quick command for the current tag reloads its presets.
    w->TagSel("LINK", false);
    EXPECT_EQ(RowValues(*w).first(), QStringLiteral("rel=stylesheet"));
    Panel(*w).edtTagProp->topLevelItem(0)->setText(1, QStringLiteral("icon"));
    w->TagSel("link", false);
    EXPECT_EQ(RowValues(*w).first(), QStringLiteral("rel=stylesheet"));

    // An unknown name: the panel shows no entry, the rows stay, nothing is inserted.
    SetText(*w, QStringLiteral("x"), 1);
    w->TagSel("BLINK", true);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(RowValues(*w).first(), QStringLiteral("rel=stylesheet"));
    EXPECT_EQ(Text(*w), QStringLiteral("x"));
}

TEST_F(TagPanelTest, DefaultRowOutOfRangeIsReported) {
    WriteFile("Library/Tags/B.pel", "[Info]\r\nComment=Bad\r\nDefault=3\r\nHelp=b.html\r\n[Params]\r\nclass=\r\n");
    auto w = Open();
    w->TagSel("A", false);
    SetText(*w, QStringLiteral("x"), 1);
    w->TagSel("B", true);
    EXPECT_EQ(prompts_.errors, QStringList{"Grid index out of range"});
    EXPECT_EQ(Panel(*w).lblTagDescription->text(), QStringLiteral("Bad"));
    EXPECT_EQ(RowValues(*w), QStringList{"class="});
    EXPECT_EQ(w->barStatus[3]->text(), QStringLiteral("<A>"));
    EXPECT_EQ(w->TagHelpTopic(), "a.html");
    EXPECT_EQ(Text(*w), QStringLiteral("x"));  // the insertion did not happen
}

TEST_F(TagPanelTest, ValueCommandsAndTheColourMixer) {
    auto w = Open();
    w->TagSel("FONT", false);
    QTreeWidget* grid = Panel(*w).edtTagProp;
    EXPECT_EQ(grid->currentItem()->text(0), QStringLiteral("face"));
    // Fixed values go into the current row whatever its name.
    Trigger(*w, "pnkPropTargetBlank");
    EXPECT_EQ(RowValues(*w)[0], QStringLiteral("face=_blank"));

    grid->setCurrentItem(grid->topLevelItem(2));  // color
    tagPrompts_.color = QColor(0x1A, 0x2B, 0x3C);
    Trigger(*w, "pnkPropColorSelect");
    EXPECT_EQ(RowValues(*w)[2], QStringLiteral("color=#1A2B3C"));
    ASSERT_EQ(tagPrompts_.colorRequests.size(), 1);
    EXPECT_EQ(tagPrompts_.colorRequests[0], QColor(Qt::black));  // first opening

    // The value opens the mixer on its colour; OK without a change writes it back in upper case.
    grid->topLevelItem(2)->setText(1, QStringLiteral("#aabbcc"));
    tagPrompts_.color = QColor(0xAA, 0xBB, 0xCC);
    Trigger(*w, "pnkPropColorSelect");
    EXPECT_EQ(tagPrompts_.colorRequests[1], QColor(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(RowValues(*w)[2], QStringLiteral("color=#AABBCC"));

    // Cancel writes nothing; a bad digit is an error and the dialog stays shut.
    tagPrompts_.color.reset();
    Trigger(*w, "pnkPropColorSelect");
    EXPECT_EQ(RowValues(*w)[2], QStringLiteral("color=#AABBCC"));
    grid->topLevelItem(2)->setText(1, QStringLiteral("#12345G"));
    Trigger(*w, "pnkPropColorSelect");
    EXPECT_EQ(prompts_.errors, QStringList{"'$005G3412' is not a valid integer value"});
    EXPECT_EQ(tagPrompts_.colorRequests.size(), 3);

    // Twenty-five fixed values, the mixer and the browser in the context menu.
    int values = 0;
    for (QAction* a : Panel(*w).findChild<QMenu*>(QStringLiteral("pppTagProp"))->actions())
        if (a->menu())
            for (QAction* v : a->menu()->actions()) values += v->objectName() != "pnkPropColorSelect";
    EXPECT_EQ(values, 25);
}

TEST_F(TagPanelTest, FileBrowserWritesARelativePath) {
    const QString doc = WriteFile("site/pages/index.htm", "<p>\r\n");
    auto w = Open();
    w->TagSel("IMG", false);
    tagPrompts_.file = Path("site/img/logo.gif");
    Trigger(*w, "pnkPropBrowse");  // still a new document: the full name
    EXPECT_EQ(RowValues(*w)[0], QStringLiteral("src=") + Path("site/img/logo.gif"));
    EXPECT_EQ(tagPrompts_.browseRequests[0].folder, QString());

    w->OpenFrom(doc, true, ".htm");
    Trigger(*w, "pnkPropBrowse");
    EXPECT_EQ(RowValues(*w)[0], QStringLiteral("src=../img/logo.gif"));
    const BrowseRequest& request = tagPrompts_.browseRequests[1];
    EXPECT_EQ(request.title, QStringLiteral("Выберите файл для вставки в тег"));
    EXPECT_EQ(request.folder, Path("site/pages/"));
    ASSERT_EQ(request.filters.size(), 5);
    EXPECT_EQ(request.filters[2].description, QStringLiteral("Картинки"));

    tagPrompts_.file.clear();  // cancel
    Trigger(*w, "pnkPropBrowse");
    EXPECT_EQ(RowValues(*w)[0], QStringLiteral("src=../img/logo.gif"));
}

TEST_F(TagPanelTest, PanelCommandShowsThePanelAndOpensTheList) {
    auto w = Open();
    w->pnlTagInsert->hide();
    QTest::keyClick(w->snEditor, Qt::Key_QuoteLeft, Qt::ControlModifier);
    EXPECT_TRUE(w->pnlTagInsert->isVisible());
    EXPECT_TRUE(w->cmbTagName->view()->isVisible());
    w->cmbTagName->hidePopup();
    // The same key under a Russian layout types "ё".
    w->pnlTagInsert->hide();
    w->snEditor->setFocus();
    QTest::sendKeyEvent(QTest::Press, w->snEditor, static_cast<Qt::Key>(0x0401), QString(QChar(0x0451)),
                        Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Release, w->snEditor, static_cast<Qt::Key>(0x0401), QString(QChar(0x0451)),
                        Qt::ControlModifier);
    EXPECT_TRUE(w->pnlTagInsert->isVisible());
    w->cmbTagName->hidePopup();
}

TEST_F(TagPanelTest, CharacterDialogInsertsTheCode) {
    WriteFile("pelm.ini", "[Chars]\r\n\xCD\xE5\xF0\xE0\xE7\xF0\xFB\xE2\xED\xFB\xE9 \xEF\xF0\xEE\xE1\xE5\xEB=&nbsp;\r\n"
                          "Copyright=&copy;\r\n");
    auto w = Open();
    SetText(*w, QStringLiteral("ab"), 0);
    w->snEditor->SetSelOffset(1);
    {
        TfrCharInsert dialog(w->SettingsFile(), &w->snEditor->Model(), w.get());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Вставка символа"));
        ASSERT_EQ(dialog.edtChar->rowCount(), 2);
        EXPECT_EQ(dialog.edtChar->item(0, 0)->text(), QStringLiteral("Неразрывный пробел"));
        dialog.btnOKClick();  // the first row when none is chosen by the user
    }
    EXPECT_EQ(Text(*w), QStringLiteral("a&nbsp;b"));
    EXPECT_EQ(w->snEditor->SelOffset(), 7);

    // Through the menu command, with a selection replaced by the second entry.
    w->snEditor->SetSelOffset(0);
    w->snEditor->Model().SelectChars(1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfrCharInsert*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->edtChar->selectRow(1);
        QTest::keyClick(dialog->edtChar, Qt::Key_Return);
    });
    QTest::keyClick(w->snEditor, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Text(*w), QStringLiteral("&copy;&nbsp;b"));
    w->snEditor->SetModified(false);
}

}  // namespace
}  // namespace pelm::test
