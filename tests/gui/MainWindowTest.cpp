// The main window's spine: start-up, opening, the title, the status panels, the
// save question and the tag panel's visibility.
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/app/AppTitle.h"
#include "gui/app/GuiText.h"
#include "gui/app/StatusIcons.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

bool ShowsModifiedIcon(TfrMain& w) {
    const QImage shown = w.barStatus[0]->pixmap().toImage();
    const bool modified = shown == StatusIcon(true).toImage();
    EXPECT_TRUE(modified || shown == StatusIcon(false).toImage()) << "panel 0 shows neither icon";
    return modified;
}

QStringList Recent(TfrMain& w) {
    QStringList list;
    for (const std::string& name : w.RecentFiles().Items()) list << FileNameFromBytes(name);
    return list;
}

// Changes the buffer the way an edit would and raises the editor's change event.
void Edit(TfrMain& w, const char* firstLine) {
    w.snEditor->Lines().SetStrings(0, firstLine);
    w.snEditorChange();
}

using MainWindowTest = MainWindowFixture;

TEST(StatusIconTest, TheTwoIconsDiffer) {
    EXPECT_FALSE(StatusIcon(true).isNull());
    EXPECT_NE(StatusIcon(true).toImage(), StatusIcon(false).toImage());
}

TEST_F(MainWindowTest, NewDocumentAtStartUp) {
    auto w = Start();
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
    EXPECT_EQ(w->DocFileName(), QStringLiteral("Новый"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Vorn Pelm - [Новый]"));
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Новый - Vorn Pelm"));
    EXPECT_EQ(w->windowIconText(), QStringLiteral("Новый - Vorn Pelm"));
    EXPECT_EQ(w->barStatus[1]->text(), QStringLiteral("Новый"));
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("HTML"));
    EXPECT_EQ(w->barStatus[4]->text(), QStringLiteral("Поток"));
    EXPECT_FALSE(ShowsModifiedIcon(*w));
    EXPECT_EQ(Text(*w), QStringLiteral("<html>\n<title>Vorn Pelm 2.00</title>\n\n</html>"));
    EXPECT_EQ(w->snEditor->SelOffset(), 6 + 2 + 29 + 2);  // where %cur stood
    EXPECT_EQ(w->ProgramDir(), ProgramDir());
    ASSERT_NE(w->SettingsFile(), nullptr);
    EXPECT_EQ(w->SettingsFile()->FileName(), (ProgramDir() + "pelm.ini").toStdString());
    ASSERT_EQ(w->cmbTagName->count(), 3);
    EXPECT_EQ(w->cmbTagName->itemText(0), QStringLiteral(">TEXT"));  // the default Case: upper
    EXPECT_EQ(w->pnlTagInsert->windowTitle(), QStringLiteral("Вставка тега"));
    EXPECT_TRUE(prompts_.questions.empty());
}

TEST_F(MainWindowTest, StatusPanelsHintsWidthsAndEllipsis) {
    auto w = Start();
    struct Panel {
        const char* hint;
        int width;
        Qt::TextElideMode elide;
    };
    const Panel expected[6] = {
        {"Файл изменён", 20, Qt::ElideNone},        {"Путь к файлу", 250, Qt::ElideMiddle},
        {"Подсветка синтаксиса", 0, Qt::ElideNone}, {"Текущий тег", 95, Qt::ElideRight},
        {"Режим выделения", 0, Qt::ElideRight},     {"", 100, Qt::ElideNone},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w->barStatus[i]->toolTip(), QString::fromUtf8(expected[i].hint));
        EXPECT_EQ(w->barStatus[i]->PanelWidth(), expected[i].width);
        EXPECT_EQ(w->barStatus[i]->ElideMode(), expected[i].elide);
        if (expected[i].width > 0) {
            EXPECT_EQ(w->barStatus[i]->sizeHint().width(), expected[i].width);
        }
    }
    // An automatic panel is as wide as its whole text: "Поток" is not cut.
    w->show();
    EXPECT_EQ(w->barStatus[4]->ShownText(), QStringLiteral("Поток"));
    w->barStatus[1]->setText(QStringLiteral("/very/long/folder/name/that/does/not/fit/into/the/panel/index.html"));
    EXPECT_TRUE(w->barStatus[1]->ShownText().endsWith(QStringLiteral("index.html")));
    EXPECT_TRUE(w->barStatus[1]->ShownText().contains(QChar(0x2026)));
    EXPECT_EQ(w->btnDonate->text(), QStringLiteral("DONATE"));
    EXPECT_TRUE(w->btnDonate->font().bold());
    EXPECT_EQ(w->btnDonate->parentWidget(), w->barStatus[5]);
}

struct CommandLineCase {
    const char* file;
    const char* status;
};

TEST_F(MainWindowTest, CommandLineOpenSelectsKindByLowerCasedExtension) {
    const CommandLineCase cases[] = {
        {"INDEX.HTM", "HTML"},   {"Style.CSS", "CSS"},   {"feed.XSD", "XML"},
        {"app.Js", "JScript"},   {"page.PHTML", "PHP"},  {"run.CGI", "Perl"},
        {"notes.TXT", "HTML"},   {"sheet.xsl", "HTML"},  {"script.perl", "HTML"},  // kept from the new document
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = WriteFile(QStringLiteral("docs/") + c.file, "one\r\ntwo");
        const QString ignored = WriteFile("docs/second.css", "x");
        auto w = Start({path, ignored});
        EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
        EXPECT_EQ(w->DocFileName(), path);
        EXPECT_EQ(w->barStatus[1]->text(), path);
        EXPECT_EQ(w->barStatus[2]->text(), QString::fromLatin1(c.status));
        EXPECT_EQ(w->windowTitle(), "Vorn Pelm - [" + path + "]");
        EXPECT_EQ(ApplicationTitle(), QString::fromLatin1(c.file) + " - Vorn Pelm");
        EXPECT_EQ(Text(*w), QStringLiteral("one\ntwo"));
        EXPECT_FALSE(ShowsModifiedIcon(*w));
        EXPECT_EQ(Recent(*w), QStringList{path});
        EXPECT_TRUE(prompts_.questions.empty());
    }
}

TEST_F(MainWindowTest, UnrecognisedExtensionKeepsTheKind) {
    const QString css = WriteFile("docs/a.css", "body {}");
    auto w = Start({css});
    ASSERT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
    for (const char* name : {"notes.txt", "sheet.xsl", "Makefile"}) {
        SCOPED_TRACE(name);
        const QString path = WriteFile(QStringLiteral("docs/") + name, "x");
        w->HandleDroppedFiles({path});
        EXPECT_EQ(w->DocFileName(), path);
        EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
        EXPECT_EQ(w->Kind(), DocumentKind::CSS);
    }
}

struct TemplateCase {
    const char* name;
    const char* templ;
    const char* text;  // as shown, lines joined by LF
    int caret;
};

TEST_F(MainWindowTest, TemplateMarkersOfANewDocument) {
    const TemplateCase cases[] = {
        {"only a caret marker", "%cur", "", 0},
        {"generator and caret", "<title>%gen</title>%cur", "<title>Vorn Pelm 2.00</title>", 29},
        {"capitals are no marker", "a %CUR b", "a %CUR b", 0},
        {"two caret markers", "a%curb%cur", "ab", 2},
        {"caret on a later line", "x\r\n%cury", "x\ny", 3},
        {"marker made by a deletion stays", "%%curcur", "%cur", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("Library/Templates/HTML.pel", c.templ);
        auto w = Start();
        EXPECT_EQ(Text(*w), QString::fromLatin1(c.text));
        EXPECT_EQ(w->snEditor->SelOffset(), c.caret);
        EXPECT_EQ(w->DocFileName(), QStringLiteral("Новый"));
    }
    // Three characters: loaded as they are.
    WriteFile("Library/Templates/HTML.pel", "%cu");
    EXPECT_EQ(Text(*Start()), QStringLiteral("%cu"));
}

struct AnswerCase {
    const char* name;
    PromptAnswer answer;
    bool goesOn;     // the other file is opened
    bool writesOld;  // the changed text reached the old file
};

TEST_F(MainWindowTest, SaveQuestionTextAndItsThreeAnswers) {
    const AnswerCase cases[] = {
        {"yes saves, then opens", PromptAnswer::Yes, true, true},
        {"no drops the changes", PromptAnswer::No, true, false},
        {"cancel leaves everything", PromptAnswer::Cancel, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_ = ScriptedPrompts();
        const QString a = WriteFile("docs/a.html", "old\r\n");
        const QString b = WriteFile("docs/b.css", "b\r\n");
        auto w = Start({a});
        Edit(*w, "changed");
        ASSERT_TRUE(ShowsModifiedIcon(*w));
        prompts_.answers = {c.answer};
        w->HandleDroppedFiles({b});

        ASSERT_EQ(prompts_.questions.size(), 1u);
        EXPECT_EQ(prompts_.questions[0].caption, QStringLiteral("Вопрос"));
        EXPECT_EQ(prompts_.questions[0].text,
                  QStringLiteral("Сохранить изменения в файле \"a.html\"?\n\r(") + a + QStringLiteral(")"));
        EXPECT_TRUE(prompts_.errors.isEmpty());
        EXPECT_EQ(ReadFile(a), c.writesOld ? QByteArray("changed\r\n") : QByteArray("old\r\n"));
        if (c.goesOn) {
            EXPECT_EQ(w->DocFileName(), b);
            EXPECT_EQ(Text(*w), QStringLiteral("b"));
            EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
            EXPECT_FALSE(ShowsModifiedIcon(*w));
        } else {
            EXPECT_EQ(w->DocFileName(), a);
            EXPECT_EQ(w->windowTitle(), "Vorn Pelm - [" + a + "]");
            EXPECT_EQ(Text(*w), QStringLiteral("changed"));
            EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("HTML"));
            EXPECT_TRUE(ShowsModifiedIcon(*w));
        }
    }
}

TEST_F(MainWindowTest, UnnamedDocumentIsNamedNewTwiceInTheQuestion) {
    auto w = Start();
    Edit(*w, "typed");
    prompts_.answers = {PromptAnswer::Cancel};
    w->pnkFileNewHTMLClick();
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0].text, QStringLiteral("Сохранить изменения в файле \"Новый\"?\n\r(Новый)"));
    EXPECT_EQ(Text(*w).section('\n', 0, 0), QStringLiteral("typed"));
}

// Yes whose save does not happen must not go on to replace the document.
TEST_F(MainWindowTest, YesWhoseSaveDoesNotHappenAbandonsTheCommand) {
    struct Case {
        const char* name;
        bool named;            // a document with a file, whose folder then vanishes
        const char* errorStart;  // "" for a silent abandon
    };
    const Case cases[] = {
        {"save as dialog cancelled", false, ""},
        {"write fails", true, "Cannot create file \""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_ = ScriptedPrompts();
        const QString b = WriteFile("docs/b.css", "b");
        const QString gone = WriteFile("gone/a.html", "old");
        auto w = c.named ? Start({gone}) : Start();
        if (c.named) QDir(Path("gone")).removeRecursively();
        else prompts_.saveNames = {QString()};
        const QString nameBefore = w->DocFileName();
        Edit(*w, "precious");
        prompts_.answers = {PromptAnswer::Yes};
        w->HandleDroppedFiles({b});

        EXPECT_EQ(prompts_.questions.size(), 1u);
        if (*c.errorStart) {
            ASSERT_EQ(prompts_.errors.size(), 1);
            EXPECT_TRUE(prompts_.errors[0].startsWith(QString::fromLatin1(c.errorStart)))
                << prompts_.errors[0].toStdString();
        } else {
            EXPECT_TRUE(prompts_.errors.isEmpty());
            ASSERT_EQ(prompts_.saveRequests.size(), 1u);
            EXPECT_EQ(prompts_.saveRequests[0].fileName, QStringLiteral("Новый"));
        }
        EXPECT_EQ(w->DocFileName(), nameBefore);
        EXPECT_EQ(Text(*w).section('\n', 0, 0), QStringLiteral("precious"));
        EXPECT_TRUE(ShowsModifiedIcon(*w));
        EXPECT_NE(w->barStatus[2]->text(), QStringLiteral("CSS"));
        EXPECT_EQ(Recent(*w).indexOf(b), -1);
    }
}

TEST_F(MainWindowTest, YesWithSaveAsOfANewDocumentSavesThenGoesOn) {
    auto w = Start();
    Edit(*w, "kept");
    const QString saved = Path("docs/new.html");
    const QString b = WriteFile("docs/b.css", "b");
    prompts_.answers = {PromptAnswer::Yes};
    prompts_.saveNames = {saved};
    w->HandleDroppedFiles({b});
    EXPECT_TRUE(prompts_.errors.isEmpty());
    EXPECT_EQ(ReadFile(saved), QByteArray("kept\r\n<title>Vorn Pelm 2.00</title>\r\n\r\n</html>\r\n"));
    EXPECT_EQ(w->DocFileName(), b);
    EXPECT_EQ(Recent(*w), (QStringList{b, saved}));
}

TEST_F(MainWindowTest, SaveAsPresetsTheDialogFromTheKindAndRemembersTheCaret) {
    auto w = Start();
    QDir().mkpath(Path("docs"));
    const QString saved = Path("docs/page.html");
    prompts_.saveNames = {saved};
    w->pnkFileSaveAsClick();
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
    ASSERT_EQ(prompts_.saveRequests.size(), 1u);
    const FileDialogRequest& r = prompts_.saveRequests[0];
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.defaultExt, QStringLiteral("htm"));
    EXPECT_EQ(r.fileName, QStringLiteral("Новый"));
    ASSERT_EQ(r.filters.size(), 8);
    EXPECT_EQ(r.filters[5].description, QStringLiteral("Perl (*.pl; *.pm; *.cgi)"));
    EXPECT_EQ(w->DocFileName(), saved);
    EXPECT_EQ(w->windowTitle(), "Vorn Pelm - [" + saved + "]");
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("page.html - Vorn Pelm"));
    EXPECT_FALSE(ShowsModifiedIcon(*w));

    // Save writes the caret under the file's name; the next open restores it.
    w->pnkFileSaveClick();
    EXPECT_EQ(w->SettingsFile()->IniReadNumber("Filez", (saved + "_Cursor").toStdString(), -1), 39);
    w.reset();
    auto again = Start({saved});
    EXPECT_EQ(again->snEditor->SelOffset(), 39);

    const QString perl = WriteFile("docs/run.cgi", "print 1;");
    again->HandleDroppedFiles({perl});
    prompts_.saveNames = {QString()};
    again->pnkFileSaveAsClick();
    ASSERT_EQ(prompts_.saveRequests.size(), 2u);
    EXPECT_EQ(prompts_.saveRequests[1].filterIndex, 6);
    EXPECT_EQ(prompts_.saveRequests[1].defaultExt, QStringLiteral("cgi"));
    EXPECT_EQ(prompts_.saveRequests[1].fileName, QStringLiteral("run.cgi"));
    EXPECT_EQ(again->DocFileName(), perl);  // cancelled: nothing changes
}

TEST_F(MainWindowTest, ThreeDroppedFilesOpenOnlyTheFirst) {
    auto w = Start();
    const QString first = WriteFile("docs/first.js", "var a;");
    const QString second = WriteFile("docs/second.css", "b");
    const QString third = WriteFile("docs/third.php", "c");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second), QUrl::fromLocalFile(third)});

    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QApplication::processEvents();

    EXPECT_EQ(w->DocFileName(), first);
    EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("JScript"));
    EXPECT_EQ(Text(*w), QStringLiteral("var a;"));
    EXPECT_EQ(Recent(*w), QStringList{first});
    EXPECT_TRUE(prompts_.errors.isEmpty());
}

TEST_F(MainWindowTest, ModifiedIconFollowsTheFlag) {
    const QString a = WriteFile("docs/sub/a.html", "a");
    auto w = Start({a});
    EXPECT_FALSE(ShowsModifiedIcon(*w));
    w->snEditorChange();
    EXPECT_TRUE(ShowsModifiedIcon(*w));
    w->pnkFileSaveClick();
    EXPECT_FALSE(ShowsModifiedIcon(*w));
    Edit(*w, "b");
    QDir(Path("docs/sub")).removeRecursively();
    w->pnkFileSaveClick();  // the write fails
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(ShowsModifiedIcon(*w));
    const QString c = WriteFile("docs/c.html", "c");
    prompts_.answers = {PromptAnswer::No};
    w->HandleDroppedFiles({c});
    EXPECT_FALSE(ShowsModifiedIcon(*w));
}

TEST_F(MainWindowTest, UnreadableFileLeavesTheDocumentAsItWas) {
    const QString a = WriteFile("docs/a.css", "kept");
    QDir().mkpath(Path("docs/folder.html"));
    for (const QString& bad : {Path("docs/missing.html"), Path("docs/folder.html")}) {
        SCOPED_TRACE(bad.toStdString());
        prompts_ = ScriptedPrompts();
        auto w = Start({a});
        Edit(*w, "edited");
        prompts_.answers = {PromptAnswer::No};
        prompts_.openNames = {bad};
        w->pnkFileOpenClick();
        ASSERT_EQ(prompts_.errors.size(), 1);
        EXPECT_TRUE(prompts_.errors[0].startsWith("Cannot open file \"" + bad + "\". "))
            << prompts_.errors[0].toStdString();
        EXPECT_EQ(w->DocFileName(), a);
        EXPECT_EQ(Text(*w), QStringLiteral("edited"));
        EXPECT_TRUE(ShowsModifiedIcon(*w));
        EXPECT_EQ(w->barStatus[2]->text(), QStringLiteral("CSS"));
        EXPECT_EQ(Recent(*w).indexOf(bad), -1);
    }
}

TEST_F(MainWindowTest, StartUpErrorSkipsTheRemainingSteps) {
    struct Case {
        const char* name;
        const char* removed;
        bool recentLoaded;  // step 7 ran before the failure
    };
    const Case cases[] = {
        {"tag list missing", "Library/Tags/tags.pel", false},
        {"template missing", "Library/Templates/HTML.pel", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_ = ScriptedPrompts();
        SetUp();
        WriteFile("pelm.ini", "[LastOpened]\r\nMRU1=/old/file.html\r\n");
        const QString arg = WriteFile("docs/x.css", "x");
        QFile::remove(Path(c.removed));
        auto w = Start({arg});
        ASSERT_EQ(prompts_.errors.size(), 1);
        EXPECT_TRUE(prompts_.errors[0].startsWith("Cannot open file \"" + Path(c.removed) + "\"."))
            << prompts_.errors[0].toStdString();
        EXPECT_EQ(w->DocFileName(), QString());
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Pelm2"));
        EXPECT_EQ(w->barStatus[2]->text(), QString());
        EXPECT_EQ(Text(*w), QString());
        EXPECT_EQ(Recent(*w).size(), c.recentLoaded ? 1 : 0);
    }
}

TEST_F(MainWindowTest, TagPanelVisibilityIsKeptInTheSettings) {
    WriteFile("pelm.ini", "[Toolbars]\r\nTagInsert=0\r\n");
    {
        auto w = Start();
        w->show();
        EXPECT_FALSE(w->pnlTagInsert->isVisibleTo(w.get()));
        EXPECT_TRUE(w->close());
    }
    WriteFile("pelm.ini", "[Toolbars]\r\nTagInsertHide=1\r\n");
    {
        auto w = Start();
        w->show();
        EXPECT_TRUE(w->pnlTagInsert->isVisible());
        EXPECT_TRUE(w->close());
        EXPECT_EQ(TIniFile(Path("pelm.ini").toStdString()).IniReadNumber("Toolbars", "TagInsert", -1), 0);
    }
    auto w = Start();
    w->show();
    EXPECT_FALSE(w->pnlTagInsert->isVisibleTo(w.get()));
}

TEST_F(MainWindowTest, CancelAtCloseKeepsTheWindowOpen) {
    const QString a = WriteFile("docs/a.html", "a");
    auto w = Start({a});
    w->show();
    Edit(*w, "unsaved");
    prompts_.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    TIniFile ini(Path("pelm.ini").toStdString());
    // The recent files are saved before the question.
    EXPECT_EQ(ini.IniRead("LastOpened", "MRU1", ""), a.toStdString());
    EXPECT_EQ(ini.IniRead("TfrMainWindow", "Width", ""), "");

    prompts_.answers = {PromptAnswer::No};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), w->width());
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "State", 0), 1);
    EXPECT_EQ(ReadFile(a), QByteArray("a"));
}

}  // namespace
}  // namespace pelm::test
