// The File menu and the standard toolbar: the items and their keys, the New
// commands over the shipped templates, the recent-files items, the caret
// memory and the Save As presets.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTime>
#include <QToolBar>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

// The offset of a 1-based line and column, each line break counting 2.
int OffsetOf(TfrMain& w, int line, int column) {
    int offset = 0;
    for (int i = 0; i < line - 1; ++i) offset += w.snEditor->Lines().LineLength(i) + 2;
    return offset + column - 1;
}

void PlaceCaret(TfrMain& w, int line, int column) {
    w.snEditor->Model().SetCaretPos(TBufferCoord{column, line});
}

int Caret(TfrMain& w) {
    return w.snEditor->Model().SelOffset();
}

// The recent-files items as the File menu shows them, between its two
// separators above "&Выход".
QList<QAction*> FileMenuRecentItems(TfrMain& w) {
    emit w.pnkFile->aboutToShow();
    const QList<QAction*> all = w.pnkFile->actions();
    const qsizetype exit = all.indexOf(w.pnkFileExit);
    qsizetype first = exit - 1;
    EXPECT_TRUE(all[first]->isSeparator());
    while (first > 0 && !all[first - 1]->isSeparator()) --first;
    return all.mid(first, exit - 1 - first);
}

QStringList Captions(const QList<QAction*>& items) {
    QStringList list;
    for (QAction* a : items) list << a->text();
    return list;
}

QByteArray ShippedTemplate(const char* name) {
    QFile f(QStringLiteral(PELM_TEST_DATA "/../data/Library/Templates/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

using FileCommandsTest = MainWindowFixture;

TEST_F(FileCommandsTest, MenuBarAndFileMenuItems) {
    auto w = Start();
    QStringList titles;
    for (QAction* a : w->mnuMainBar->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&Файл", "&Правка", "Поис&к", "&Тег", "&Закладки", "Се&рвис", "&Справка"}));

    struct Item {
        QAction* action;
        const char* caption;  // nullptr: a separator
        QKeySequence shortcut;
    };
    const Item file[] = {
        {w->pnkFileNew->menuAction(), "&Новый", {}},
        {w->pnkFileOpen, "&Открыть...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {w->pnkFileSave, "&Сохранить", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {w->pnkFileSaveAs, "Сохранить &как...", {}},
        {nullptr, nullptr, {}},
        {w->pnkFilePreview->menuAction(), "Предварительный &просмотр", {}},
        {nullptr, nullptr, {}},
        {w->pnkFileNewWindow, "Новое о&кно", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N)},
        {w->pnkFilePrint, "&Печать кода...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {nullptr, nullptr, {}},
        {nullptr, nullptr, {}},
        {w->pnkFileExit, "&Выход", {}},
    };
    const QList<QAction*> shown = w->pnkFile->actions();
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(std::size(file)));  // no recent files yet
    for (size_t i = 0; i < std::size(file); ++i) {
        SCOPED_TRACE(i);
        if (!file[i].caption) {
            EXPECT_TRUE(shown[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(shown[i], file[i].action);
        EXPECT_EQ(shown[i]->text(), QString::fromUtf8(file[i].caption));
        EXPECT_EQ(shown[i]->shortcut(), file[i].shortcut);
    }
    const Item fileNew[] = {
        {w->pnkFileNewHTML, "&HTML", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {w->pnkFileNewCss, "&CSS", {}},
        {w->pnkFileNewXML, "&XML", {}},
        {nullptr, nullptr, {}},
        {w->pnkFileNewJs, "&JavaScript", {}},
        {w->pnkFileNewPhp, "&PHP", {}},
        {w->pnkFileNewPerl, "Per&l", {}},
    };
    const QList<QAction*> sub = w->pnkFileNew->actions();
    ASSERT_EQ(sub.size(), static_cast<qsizetype>(std::size(fileNew)));
    for (size_t i = 0; i < std::size(fileNew); ++i) {
        SCOPED_TRACE(i);
        if (!fileNew[i].caption) {
            EXPECT_TRUE(sub[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(sub[i], fileNew[i].action);
        EXPECT_EQ(sub[i]->text(), QString::fromUtf8(fileNew[i].caption));
        EXPECT_EQ(sub[i]->shortcut(), fileNew[i].shortcut);
    }
    QStringList search;
    for (QAction* a : w->pnkSearch->actions())
        search << (a->isSeparator() ? QStringLiteral("-") : a->text() + " " + a->shortcut().toString());
    EXPECT_EQ(search, (QStringList{"&Найти... Ctrl+F", "-", "&Заменить... Ctrl+H", "-", "Найти &далее F3",
                                   "Найти &назад Shift+F3"}));
    // The built-in browser, a separator, then the two external browsers.
    const QList<QAction*> preview = w->pnkFilePreview->actions();
    ASSERT_EQ(preview.size(), 4);
    EXPECT_EQ(preview[0]->objectName(), QStringLiteral("pnkFilePreviewPelm"));
    EXPECT_EQ(preview[0]->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_TRUE(preview[1]->isSeparator());
    EXPECT_EQ(preview.mid(2), (QList<QAction*>{w->pnkFilePreview1st, w->pnkFilePreview2nd}));
    EXPECT_EQ(w->pnkFilePreview1st->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F9));
    EXPECT_EQ(w->pnkFilePreview2nd->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F9));
    // Items with keys belong to the window, so the keys reach them from any control.
    for (QAction* a : {w->pnkFileNewHTML, w->pnkFileOpen, w->pnkFileSave, w->pnkFileNewWindow}) {
        EXPECT_TRUE(w->actions().contains(a)) << a->text().toStdString();
        EXPECT_EQ(a->shortcutContext(), Qt::WindowShortcut);
    }
}

TEST_F(FileCommandsTest, ToolbarsAndTheirFileButtons) {
    auto w = Start();
    struct Bar {
        QToolBar* toolbar;
        const char* name;
        const char* caption;
    };
    for (const Bar& b : {Bar{w->mnuMain, "mnuMain", "Меню"}, Bar{w->tbxStandart, "tbxStandart", "Стандартная"},
                         Bar{w->tbxTags, "tbxTags", "Теги"}}) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.toolbar->objectName(), QLatin1String(b.name));
        EXPECT_EQ(b.toolbar->windowTitle(), QString::fromUtf8(b.caption));
        EXPECT_FALSE(b.toolbar->isFloatable());
        EXPECT_EQ(w->toolBarArea(b.toolbar), Qt::TopToolBarArea);
    }
    EXPECT_EQ(w->mnuMainBar->parentWidget(), w->mnuMain);

    EXPECT_EQ(w->TBXSubmenuItem1->text(), QStringLiteral("&Новый"));
    EXPECT_EQ(w->TBXSubmenuItem1->toolTip(), QString());
    EXPECT_EQ(w->TBXSubmenuItem1->menu(), w->pnkFileNew);  // the same items as the File menu's
    EXPECT_EQ(w->TBXSubmenuItem1->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(w->pnktbxFileOpen->text(), QStringLiteral("Открыть"));
    EXPECT_EQ(w->pnktbxFileOpen->toolTip(), QStringLiteral("Открыть файл (Ctrl+O)"));
    EXPECT_EQ(w->pnktbxFileOpen->menu(), w->mruOpenRecent);
    EXPECT_EQ(w->pnktbxFileOpen->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(w->pnktbxSave->text(), QStringLiteral("Сохранить"));
    EXPECT_EQ(w->pnktbxSave->toolTip(), QStringLiteral("Сохранить этот файл (Ctrl+S)"));

    // The buttons run the commands: New's click part makes a new HTML document,
    // Open's shows the open dialog, Save on a new document is Save As.
    w->pnkServiceHlItems[static_cast<int>(DocumentKind::CSS)]->trigger();
    w->TBXSubmenuItem1->click();
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("HTML"));
    prompts_.openNames = {QString()};
    w->pnktbxFileOpen->click();
    EXPECT_EQ(prompts_.openRequests.size(), 1u);
    prompts_.saveNames = {QString()};
    w->pnktbxSave->trigger();
    EXPECT_EQ(prompts_.saveRequests.size(), 1u);
}

TEST_F(FileCommandsTest, ShortcutsWorkFromAnyControlOfTheWindow) {
    auto w = Start();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    for (QWidget* focus : {static_cast<QWidget*>(w->snEditor), static_cast<QWidget*>(w->cmbTagName)}) {
        SCOPED_TRACE(focus->objectName().toStdString());
        prompts_ = ScriptedPrompts();
        focus->setFocus();
        prompts_.openNames = {QString()};
        QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(prompts_.openRequests.size(), 1u);
        prompts_.saveNames = {QString()};
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(prompts_.saveRequests.size(), 1u);
        w->pnkServiceHlItems[static_cast<int>(DocumentKind::PHP)]->trigger();
        QTest::keyClick(focus, Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("HTML"));
    }
}

struct KindCase {
    DocumentKind kind;
    QAction* TfrMain::*item;
    const char* templ;
    const char* status;
    const char* saveAs;
};

// Every New command over the template shipped for its kind: no marker is left,
// the date and time are the locale's, the caret stands where "%cur" stood,
// and the saved file has exactly those bytes.
TEST_F(FileCommandsTest, NewDocumentFromEveryShippedTemplate) {
    const KindCase cases[] = {
        {DocumentKind::HTML, &TfrMain::pnkFileNewHTML, "HTML.pel", "HTML", "docs/page.html"},
        {DocumentKind::CSS, &TfrMain::pnkFileNewCss, "CSS.pel", "CSS", "docs/style.css"},
        {DocumentKind::XML, &TfrMain::pnkFileNewXML, "XML.pel", "XML", "docs/data.xml"},
        {DocumentKind::JavaScript, &TfrMain::pnkFileNewJs, "JS.pel", "JScript", "docs/app.js"},
        {DocumentKind::PHP, &TfrMain::pnkFileNewPhp, "PHP.pel", "PHP", "docs/index.php"},
        {DocumentKind::Perl, &TfrMain::pnkFileNewPerl, "Perl.pel", "Perl", "docs/run.cgi"},
    };
    QDir().mkpath(Path("docs"));
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.templ);
        const QByteArray templ = ShippedTemplate(c.templ);
        ASSERT_TRUE(templ.contains("%cur"));
        WriteFile(QStringLiteral("Library/Templates/") + c.templ, templ);
        auto w = Start();
        prompts_ = ScriptedPrompts();
        const QLocale locale = QLocale::system();
        const QString timeBefore = locale.toString(QTime::currentTime(), QLocale::LongFormat);
        (w.get()->*c.item)->trigger();
        const QString timeAfter = locale.toString(QTime::currentTime(), QLocale::LongFormat);
        const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
        ASSERT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();

        EXPECT_EQ(w->DocFileName(), QStringLiteral("Новый"));
        EXPECT_EQ(w->barStatus[2]->text(), QLatin1String(c.status));
        EXPECT_EQ(w->Kind(), c.kind);
        EXPECT_TRUE(w->pnkServiceHlItems[static_cast<int>(c.kind)]->isChecked());
        const QString text = Text(*w);
        for (const char* marker : {"%cur", "%dat", "%tim", "%gen"}) EXPECT_FALSE(text.contains(QLatin1String(marker)));
        const QString time = text.contains(timeBefore) ? timeBefore : timeAfter;
        if (templ.contains("%dat")) {
            EXPECT_TRUE(text.contains(date)) << text.toStdString();
        }
        if (templ.contains("%tim")) {
            EXPECT_TRUE(text.contains(time)) << text.toStdString();
        }
        EXPECT_TRUE(text.contains(QStringLiteral("Vorn Pelm 2.00")));

        // The caret: the line of "%cur", at its column (nothing is expanded
        // before it on that line).
        const QList<QByteArray> templLines = templ.split('\n');
        int caretLine = 0;
        while (!templLines[caretLine].contains("%cur")) ++caretLine;
        const int caretColumn = static_cast<int>(templLines[caretLine].indexOf("%cur"));
        ASSERT_FALSE(templLines[caretLine].left(caretColumn).contains('%'));
        EXPECT_EQ(Caret(*w), OffsetOf(*w, caretLine + 1, caretColumn + 1));
        EXPECT_FALSE(w->snEditor->Model().UndoAvailable());  // the expansion cannot be undone
        EXPECT_FALSE(w->snEditor->Modified());

        QByteArray expected = templ;
        expected.replace("%cur", "").replace("%gen", "Vorn Pelm 2.00");
        expected.replace("%dat", QByteArray::fromStdString(ToCp1251(date)));
        expected.replace("%tim", QByteArray::fromStdString(ToCp1251(time)));
        prompts_.saveNames = {Path(c.saveAs)};
        w->pnkFileSave->trigger();
        EXPECT_EQ(ReadFile(Path(c.saveAs)), expected);
        EXPECT_EQ(w->DocFileName(), Path(c.saveAs));
        EXPECT_EQ(w->barStatus[2]->text(), QLatin1String(c.status));
    }
}

// The editor trims the blanks that deleting an indented "%cur" leaves; the
// markers after it are still replaced where they stand, and nothing is lost.
TEST_F(FileCommandsTest, MarkersAfterATrimmedLine) {
    WriteFile("Library/Templates/HTML.pel", "<p>\r\n  %cur\r\n</p><!-- %gen -->\r\n");
    auto w = Start();
    EXPECT_EQ(Text(*w), QStringLiteral("<p>\n\n</p><!-- Vorn Pelm 2.00 -->"));
    EXPECT_FALSE(w->snEditor->Model().UndoAvailable());
}

// A text of fewer than four characters skips the caret memory and the markers.
TEST_F(FileCommandsTest, ShortTextsKeepTheirCaretAndMarkers) {
    WriteFile("Library/Templates/CSS.pel", "%cu");
    const QString shortFile = WriteFile("docs/s.html", "ab\n");
    WriteFile("pelm.ini", ("[Filez]\r\n" + shortFile + "_Cursor=2\r\n").toUtf8());
    auto w = Start({shortFile});
    EXPECT_EQ(Caret(*w), 0);
    w->pnkFileNewCss->trigger();
    EXPECT_EQ(Text(*w), QStringLiteral("%cu"));
    EXPECT_EQ(w->DocFileName(), NewDocumentName);
}

// Save of a new document runs Save As; cancelled, it still writes the caret
// under the name "Новый". A Save As whose write fails has taken the new name,
// keeps the old title and the modified flag, and lists nothing.
TEST_F(FileCommandsTest, SaveOfANewDocumentAndAFailedSaveAs) {
    WriteFile("Library/Templates/Perl.pel", "print %cur;\r\n");
    auto w = Start();
    w->pnkFileNewPerl->trigger();
    prompts_.saveNames = {QString()};
    w->pnkFileSave->trigger();
    ASSERT_EQ(prompts_.saveRequests.size(), 1u);
    EXPECT_EQ(prompts_.saveRequests[0].fileName, NewDocumentName);
    EXPECT_EQ(prompts_.saveRequests[0].filterIndex, 6);
    EXPECT_EQ(prompts_.saveRequests[0].defaultExt, QStringLiteral("cgi"));
    EXPECT_EQ(w->SettingsFile()->IniReadNumber("Filez", FileNameBytes(NewDocumentName) + "_Cursor", -1), Caret(*w));

    w->snEditorChange();
    const QString title = w->windowTitle();
    const QString unwritable = Path("missing/run.cgi");
    prompts_.saveNames = {unwritable};
    w->pnkFileSaveAs->trigger();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].startsWith("Cannot create file \"" + unwritable + "\"."));
    EXPECT_EQ(w->DocFileName(), unwritable);
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_TRUE(w->snEditor->Modified());
    EXPECT_TRUE(w->RecentFiles().Items().empty());
}

TEST_F(FileCommandsTest, NewCommandsUseTheTemplatesNamedInTheSettings) {
    WriteFile("pelm.ini", "[Templates]\r\nCSS=Mine.pel\r\n");
    WriteFile("Library/Templates/Mine.pel", "/* %gen */\r\n");
    auto w = Start();
    w->pnkFileNewCss->trigger();
    EXPECT_EQ(Text(*w), QStringLiteral("/* Vorn Pelm 2.00 */"));
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
    // A missing template: the file error, and the document stays.
    w->pnkFileNewXML->trigger();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].startsWith("Cannot open file \"" + Path("Library/Templates/XML.pel") + "\"."));
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
}

TEST_F(FileCommandsTest, RecentFilesShownInBothMenusAsTheSameItems) {
    const QString a = WriteFile("docs/a.html", "a");
    const QString b = WriteFile("docs/R&D.css", "b");
    auto w = Start({a});
    w->HandleDroppedFiles({b});
    const QList<QAction*> items = FileMenuRecentItems(*w);
    EXPECT_EQ(Captions(items), (QStringList{"&1 R&&D.css", "&2 a.html"}));
    emit w->mruOpenRecent->aboutToShow();
    EXPECT_EQ(w->mruOpenRecent->actions(), FileMenuRecentItems(*w));
    EXPECT_EQ(w->RecentFileItems(), FileMenuRecentItems(*w));
}

TEST_F(FileCommandsTest, RecentFilesOrderThroughOpenAndThroughTheList) {
    const QString a = WriteFile("docs/a.html", "a");
    const QString b = WriteFile("docs/b.html", "b");
    const QString c = WriteFile("docs/c.css", "c");
    WriteFile("pelm.ini", ("[LastOpened]\r\nMRU1=" + a + "\r\nMRU2=" + b + "\r\nMRU3=" + c + "\r\n").toUtf8());
    auto w = Start();
    EXPECT_EQ(Captions(FileMenuRecentItems(*w)), (QStringList{"&1 a.html", "&2 b.html", "&3 c.css"}));

    // Opened through the Open dialog, the third entry stays third.
    prompts_.openNames = {c};
    w->pnkFileOpen->trigger();
    EXPECT_EQ(w->DocFileName(), c);
    EXPECT_EQ(Captions(FileMenuRecentItems(*w)), (QStringList{"&1 a.html", "&2 b.html", "&3 c.css"}));

    // Chosen from the list it goes to the top; "!!!" keeps the kind (CSS here).
    FileMenuRecentItems(*w)[1]->trigger();
    EXPECT_EQ(w->DocFileName(), b);
    EXPECT_EQ(Text(*w), QStringLiteral("b"));
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
    EXPECT_EQ(Captions(FileMenuRecentItems(*w)), (QStringList{"&1 b.html", "&2 a.html", "&3 c.css"}));

    // Cancel in the save question leaves the chosen entry at the top, the document as it was.
    w->snEditorChange();
    prompts_.answers = {PromptAnswer::Cancel};
    emit w->mruOpenRecent->aboutToShow();
    w->mruOpenRecent->actions()[2]->trigger();
    EXPECT_EQ(w->DocFileName(), b);
    EXPECT_EQ(Captions(FileMenuRecentItems(*w)), (QStringList{"&1 c.css", "&2 b.html", "&3 a.html"}));
}

TEST_F(FileCommandsTest, OpenHistoryTwoWithThreeStoredEntries) {
    WriteFile("pelm.ini", "[Editor]\r\nOpenHistory=2\r\n[LastOpened]\r\nMRU1=/x/one.html\r\nMRU2=/x/two.html\r\n"
                          "MRU3=/x/three.html\r\n");
    auto w = Start();
    EXPECT_EQ(Captions(FileMenuRecentItems(*w)), (QStringList{"&1 one.html", "&2 two.html"}));
    w->show();
    EXPECT_TRUE(w->close());
    TIniFile ini(FileNameBytes(Path("pelm.ini")));
    EXPECT_EQ(ini.IniRead("LastOpened", "MRU1", ""), "/x/one.html");
    EXPECT_EQ(ini.IniRead("LastOpened", "MRU2", ""), "/x/two.html");
    EXPECT_EQ(ini.IniRead("LastOpened", "MRU3", ""), "/x/three.html");  // not touched
}

TEST_F(FileCommandsTest, CaretMemoryCountsTwoPerLineBreak) {
    const QString a = WriteFile("docs/a.html", "0123456789\r\nabcde\r\nthird line\r\n");
    {
        auto w = Start({a});
        PlaceCaret(*w, 3, 1);
        w->pnkFileSave->trigger();
        EXPECT_EQ(w->SettingsFile()->IniReadNumber("Filez", FileNameBytes(a) + "_Cursor", -1), 19);
    }
    const QString b = WriteFile("docs/b.html", "b");
    auto w = Start({b});
    prompts_.openNames = {a};
    w->pnkFileOpen->trigger();
    EXPECT_EQ(Caret(*w), 19);
    EXPECT_EQ(ReadFile(a), QByteArray("0123456789\r\nabcde\r\nthird line\r\n"));
}

TEST_F(FileCommandsTest, SaveAsPresetsPerKind) {
    struct Preset {
        DocumentKind kind;
        int filter;
        const char* ext;
    };
    const Preset presets[] = {
        {DocumentKind::HTML, 1, "htm"}, {DocumentKind::CSS, 2, "css"}, {DocumentKind::XML, 3, "xml"},
        {DocumentKind::JavaScript, 4, "js"}, {DocumentKind::PHP, 5, "php"}, {DocumentKind::Perl, 6, "cgi"},
    };
    const QString a = WriteFile("docs/page.html", "x");
    auto w = Start({a});
    for (const Preset& p : presets) {
        SCOPED_TRACE(p.ext);
        w->pnkServiceHlItems[static_cast<int>(p.kind)]->trigger();
        for (int k = 0; k < kDocumentKindCount; ++k)
            EXPECT_EQ(w->pnkServiceHlItems[k]->isChecked(), k == static_cast<int>(p.kind));
        prompts_.saveNames = {QString()};
        w->pnkFileSaveAs->trigger();
        ASSERT_FALSE(prompts_.saveRequests.empty());
        const FileDialogRequest& r = prompts_.saveRequests.back();
        EXPECT_EQ(r.filterIndex, p.filter);
        EXPECT_EQ(r.defaultExt, QLatin1String(p.ext));
        EXPECT_EQ(r.fileName, QStringLiteral("page.html"));
        EXPECT_EQ(r.filters.size(), 8);
    }
    EXPECT_EQ(w->DocFileName(), a);
}

// When a file dialog closes, the attribute helpers' browse folder becomes the
// folder of the save dialog's file name.
TEST_F(FileCommandsTest, DialogCloseSetsTheBrowseFolder) {
    auto w = Start();
    QDir().mkpath(Path("site/img"));
    prompts_.saveNames = {Path("site/img/page.html")};
    w->pnkFileSaveAs->trigger();
    EXPECT_EQ(w->BrowseFolder(), Path("site/img/"));
    prompts_.openNames = {QString()};
    w->pnkFileOpen->trigger();
    EXPECT_EQ(w->BrowseFolder(), Path("site/img/"));
    prompts_.saveNames = {QString()};
    w->pnkFileSaveAs->trigger();  // cancelled: the name preset had no folder
    EXPECT_EQ(w->BrowseFolder(), QString());
}

}  // namespace
}  // namespace pelm::test
