// The settings dialog over a main window: what it shows on opening, what Apply
// and OK write (and in which order), its immediate actions, the value grids'
// keys, and the check of the number fields before anything is written.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QFileDialog>
#include <QTimer>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/app/QtPrompts.h"
#include "gui/app/ShellOpen.h"
#include "gui/dialogs/TSetupControls.h"
#include "gui/dialogs/TfrSetup.h"
#include "gui/ui/Themes.h"

namespace pelm::test {
namespace {

// The settings file as "[Section] key=value" lines, in file order.
QStringList IniLines(const QByteArray& bytes) {
    QStringList out;
    QString section;
    for (QByteArray line : bytes.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty()) continue;
        if (line.startsWith('[')) {
            section = QString::fromLatin1(line);
            continue;
        }
        out << section + QLatin1Char(' ') + FromCp1251(line.toStdString());
    }
    return out;
}

class SetupDialogTest : public MainWindowFixture {
protected:
    // Opens the settings through the menu command and runs body on the
    // dialog instead of showing it; the command's last ApplyOptions follows.
    void WithSetup(TfrMain& w, const std::function<void(TfrSetup&)>& body) {
        w.OnSetupShown = body;
        w.pnkServiceSetupClick();
        w.OnSetupShown = nullptr;
    }
    QString IniPath() const { return Path(QStringLiteral("pelm.ini")); }
};

TEST_F(SetupDialogTest, FirstOkWithoutSettingsFileWritesEveryKeyInOrder) {
    SetTheme("Default");
    auto w = Start();
    ASSERT_FALSE(QFile::exists(IniPath()));
    bool accepted = false;
    WithSetup(*w, [&](TfrSetup& d) {
        d.btnOKClick();
        accepted = d.result() == QDialog::Accepted;
    });
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
    // Only the HTML template exists in the program's folder.
    const QStringList expected = {
        "[Toolbars] Theme=Aluminum",   "[Toolbars] TagInsertHide=0", "[Editor] Polosa=80",
        "[Editor] TabWidth=8",         "[Editor] ShowLineNumbers=1", "[Editor] WordWrap=0",
        "[Editor] OpenHistory=4",      "[Editor] Autocorrect=1",     "[Editor] Case=1",
        "[Colors] ActiveLine=14811135", "[Browsers] 1_exe=iexplore.exe", "[Browsers] 1_name=Undefined",
        "[Browsers] 2_exe=iexplore.exe", "[Browsers] 2_name=Undefined", "[Templates] HTML=HTML.pel",
        "[Templates] CSS=",            "[Templates] XML=",           "[Templates] JS=",
        "[Templates] PHP=",            "[Templates] Perl=",
    };
    EXPECT_EQ(IniLines(ReadFile(IniPath())), expected);
    TIniFile ini(FileNameBytes(IniPath()));
    std::vector<std::string> pairs{"x"};
    ini.IniReadPairs("Autocorrect", pairs);
    EXPECT_TRUE(pairs.empty());
    ini.IniReadPairs("Chars", pairs);
    EXPECT_TRUE(pairs.empty());
}

TEST_F(SetupDialogTest, OpeningShowsTheCurrentSettings) {
    WriteFile("pelm.ini",
              "[Toolbars]\r\nTheme=Xito\r\nTagInsertHide=1\r\n[Editor]\r\nPolosa=120\r\nTabWidth=4\r\n"
              "ShowLineNumbers=0\r\nWordWrap=1\r\nOpenHistory=7\r\nAutocorrect=2\r\nCase=5\r\n"
              "[Colors]\r\nActiveLine=255\r\n[Browsers]\r\n1_exe=/usr/bin/firefox\r\n1_name=&Firefox\r\n"
              "[Templates]\r\nhtml=html.PEL\r\n[Autocorrect]\r\nteh=the\r\nadn=and\r\n[Chars]\r\nCopy=&copy;\r\n");
    WriteFile("Library/Templates/CSS.pel", "");
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройка программы"));
        ASSERT_EQ(d.pcSetup->count(), 6);
        const QStringList pages = {"Внешний &вид", "&Браузеры", "Автозамена", "Си&мволы", "Шаблоны", "Прочее"};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(d.pcSetup->tabText(i), pages[i]);
        EXPECT_EQ(d.cmbTheme->count(), 15);
        EXPECT_EQ(d.cmbTheme->currentText(), QStringLiteral("Xito"));
        EXPECT_TRUE(d.chkHidePanel->isChecked());
        EXPECT_EQ(d.chkHidePanel->text(),
                  QStringLiteral("&Прятать &панель вставки тега после нажатия кнопки \"Вставить\""));
        EXPECT_EQ(d.cmbActiveCol->currentText(), QStringLiteral("Red"));
        EXPECT_EQ(d.cmbActiveCol->Selected(), 255u);
        EXPECT_EQ(d.edtTabWidth->Text(), QStringLiteral("4"));
        EXPECT_FALSE(d.chkLineNmb->isChecked());
        EXPECT_TRUE(d.chkWordWrap->isChecked());
        EXPECT_EQ(d.edtPolosa->Text(), QStringLiteral("120"));  // beyond the arrows' 100
        EXPECT_EQ(d.edtLastHistory->Text(), QStringLiteral("7"));
        // Every list holds every template file; the kind's own is chosen, case ignored.
        for (QComboBox* list : d.edtTemplate) EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(d.edtTemplate[0]->currentText(), QStringLiteral("HTML.pel"));
        EXPECT_EQ(d.edtTemplate[1]->currentText(), QStringLiteral("CSS.pel"));
        EXPECT_EQ(d.edtTemplate[2]->currentIndex(), -1);
        EXPECT_EQ(d.cmbExe[0]->currentText(), QStringLiteral("/usr/bin/firefox"));
        EXPECT_EQ(d.cmbName[0]->currentText(), QStringLiteral("&Firefox"));
        EXPECT_TRUE(d.chkEnable[0]->isChecked());
        EXPECT_TRUE(d.cmbExe[0]->isEnabled());
        // No 2_name: the second group is off and its fields disabled.
        EXPECT_FALSE(d.chkEnable[1]->isChecked());
        for (QWidget* c : std::initializer_list<QWidget*>{d.cmbExe[1], d.cmbName[1], d.btnBrowse[1], d.lblExe[1], d.lblName[1]})
            EXPECT_FALSE(c->isEnabled());
        EXPECT_FALSE(d.chkEnableAC->isChecked());  // 2 reads as off
        ASSERT_EQ(d.edtAC->RowCount(), 2);
        EXPECT_EQ(d.edtAC->Name(1), QStringLiteral("adn"));
        EXPECT_EQ(d.edtAC->Value(1), QStringLiteral("and"));
        EXPECT_EQ(d.edtChars->Value(0), QStringLiteral("&copy;"));
        EXPECT_EQ(d.cmbCase->currentIndex(), -1);  // neither 0 nor 1
        d.reject();
    });
}

TEST_F(SetupDialogTest, TypedRightEdgeBeyondTheArrowsIsWrittenAndApplied) {
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        d.edtPolosa->SetText(QStringLiteral("120"));
        EXPECT_TRUE(d.btnApplyClick());
        EXPECT_EQ(w->snEditor->RightEdge(), 120);
        // The arrows stay within 0..100.
        d.edtPolosa->stepBy(1);
        EXPECT_EQ(d.edtPolosa->Text(), QStringLiteral("100"));
        d.edtPolosa->SetText(QStringLiteral("0"));
        d.edtPolosa->stepBy(-1);
        EXPECT_EQ(d.edtPolosa->Text(), QStringLiteral("0"));
        d.reject();
    });
    EXPECT_EQ(TIniFile(FileNameBytes(IniPath())).IniReadNumber("Editor", "Polosa", 0), 120);
    // Cancel after Apply keeps the applied value.
    EXPECT_EQ(w->snEditor->RightEdge(), 120);
}

TEST_F(SetupDialogTest, NumberFieldsTakeDigitsOnly) {
    TNumberField field;
    QString text = QStringLiteral("12a");
    int pos = 0;
    EXPECT_EQ(field.validate(text, pos), QValidator::Invalid);
    text = QStringLiteral("-1");
    EXPECT_EQ(field.validate(text, pos), QValidator::Invalid);
    text = QStringLiteral("0042");
    EXPECT_EQ(field.validate(text, pos), QValidator::Acceptable);
    text.clear();
    EXPECT_EQ(field.validate(text, pos), QValidator::Acceptable);
}

// A bad number must not leave the file half-written: nothing is written, the
// message names the text and the dialog stays open.
TEST_F(SetupDialogTest, InvalidNumberWritesNothingAndKeepsTheDialogOpen) {
    struct Case {
        const char* field;
        QString text;
    } cases[] = {{"edtPolosa", ""}, {"edtTabWidth", ""}, {"edtLastHistory", "99999999999"}};
    for (const Case& c : cases) {
        auto w = Start();
        prompts_.errors.clear();
        bool accepted = true;
        WithSetup(*w, [&](TfrSetup& d) {
            d.findChild<TNumberField*>(QLatin1String(c.field))->SetText(c.text);
            d.cmbTheme->setCurrentText(QStringLiteral("Xito"));
            d.btnOKClick();
            accepted = d.result() == QDialog::Accepted;
        });
        EXPECT_FALSE(accepted) << c.field;
        ASSERT_EQ(prompts_.errors.size(), 1) << c.field;
        EXPECT_EQ(prompts_.errors[0], QStringLiteral("'%1' is not a valid integer value").arg(c.text));
        EXPECT_FALSE(QFile::exists(IniPath())) << c.field;
    }
}

TEST_F(SetupDialogTest, BrowserEnableBoxHidesAndShowsTheMenuItem) {
    WriteFile("pelm.ini", "[Browsers]\r\n1_exe=firefox\r\n1_name=&Firefox\r\n");
    auto w = Start();
    EXPECT_TRUE(w->pnkFilePreview1st->isVisible());
    WithSetup(*w, [&](TfrSetup& d) {
        d.chkEnable[0]->setChecked(false);
        EXPECT_EQ(d.cmbName[0]->currentText(), QStringLiteral("Undefined"));
        EXPECT_FALSE(d.cmbExe[0]->isEnabled());
        d.btnOKClick();
    });
    EXPECT_FALSE(w->pnkFilePreview1st->isVisible());
    WithSetup(*w, [&](TfrSetup& d) {
        d.chkEnable[0]->setChecked(true);
        EXPECT_EQ(d.cmbName[0]->currentText(), QStringLiteral("Undefined"));
        EXPECT_TRUE(d.cmbName[0]->isEnabled());
        d.cmbName[0]->setEditText(QStringLiteral("Fire&fox"));
        d.btnOKClick();
    });
    EXPECT_TRUE(w->pnkFilePreview1st->isVisible());
    EXPECT_EQ(w->pnkFilePreview1st->text(), QStringLiteral("Fire&fox"));
}

TEST_F(SetupDialogTest, BrowseSetsTheProgramField) {
    auto w = Start();
    prompts_.openNames.push_back(QStringLiteral("/usr/bin/firefox"));
    WithSetup(*w, [&](TfrSetup& d) {
        d.btnBrowse1Click();
        EXPECT_EQ(d.cmbExe[0]->currentText(), QStringLiteral("/usr/bin/firefox"));
        d.reject();
    });
    ASSERT_EQ(prompts_.openRequests.size(), 1u);
    const FileDialogRequest& r = prompts_.openRequests[0];
    EXPECT_EQ(r.caption, QStringLiteral("Браузер 1"));
    EXPECT_EQ(r.fileName, QStringLiteral("iexplore.exe"));
    EXPECT_EQ(r.folder, QStringLiteral("/usr/bin"));
    EXPECT_EQ(r.executablesFilter, 1);
    EXPECT_EQ(r.filters[0].description, QStringLiteral("Приложения"));
    // Nothing reaches the file before Apply.
    EXPECT_FALSE(QFile::exists(IniPath()));
}

TEST_F(SetupDialogTest, AutocorrectPairsReachTheComponent) {
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        d.edtAC->SetRow(0, QStringLiteral("teh"), QStringLiteral("the"));
        d.btnAddACClick();  // inserted before the current row
        d.edtAC->SetRow(0, QStringLiteral("x"), QStringLiteral("y=z"));
        d.btnAddACClick();
        d.btnAddACClick();  // the current row is empty: no second empty row
        EXPECT_EQ(d.edtAC->RowCount(), 3);
        d.btnOKClick();
    });
    EXPECT_EQ(w->snAutoCorrect.Items, (std::vector<std::string>{"x=y=z", "teh=the"}));
    EXPECT_TRUE(w->snAutoCorrect.Enabled);
    WithSetup(*w, [&](TfrSetup& d) {
        d.chkEnableAC->setChecked(false);
        d.btnOKClick();
    });
    EXPECT_FALSE(w->snAutoCorrect.Enabled);
}

TEST_F(SetupDialogTest, DuplicateNameIsRefusedWithTheMessage) {
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        d.edtAC->SetPairs({"teh=the"});
        d.edtAC->AddRow();
        d.edtAC->item(0, 0)->setText(QStringLiteral("TEH"));
        EXPECT_EQ(d.edtAC->Name(0), QString());
        d.reject();
    });
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0], QStringLiteral("A key with the name of \"TEH\" already exists"));
}

TEST_F(SetupDialogTest, GridKeys) {
    TPairGrid g;
    g.SetPairs({"a=1", "b=2"});
    auto names = [&] {
        QStringList n;
        for (int r = 0; r < g.RowCount(); ++r) n << g.Name(r) + QLatin1Char('=') + g.Value(r);
        return n;
    };
    g.setCurrentCell(1, 0);
    QTest::keyClick(&g, Qt::Key_Down);  // last row with a name: a new row
    EXPECT_EQ(names(), (QStringList{"a=1", "b=2", "="}));
    EXPECT_EQ(g.currentRow(), 2);
    QTest::keyClick(&g, Qt::Key_Down);  // the new row has no name: nothing
    EXPECT_EQ(g.RowCount(), 3);
    QTest::keyClick(&g, Qt::Key_Up, Qt::ControlModifier);  // to the first row; the empty one goes
    QApplication::processEvents();
    EXPECT_EQ(g.currentRow(), 0);
    EXPECT_EQ(names(), (QStringList{"a=1", "b=2"}));
    QTest::keyClick(&g, Qt::Key_Insert);  // above the current row
    EXPECT_EQ(names(), (QStringList{"=", "a=1", "b=2"}));
    QTest::keyClick(&g, Qt::Key_Insert);  // the current row has no name: nothing
    EXPECT_EQ(g.RowCount(), 3);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(names(), (QStringList{"a=1", "b=2"}));
    EXPECT_EQ(g.currentRow(), 1);
    g.item(1, 1)->setText(QStringLiteral("changed"));
    QTest::keyClick(&g, Qt::Key_Escape);  // the row as it was
    EXPECT_EQ(names(), (QStringList{"a=1", "b=2"}));
    QTest::keyClick(&g, Qt::Key_Delete, Qt::ControlModifier);  // last row: the one above becomes current
    EXPECT_EQ(names(), (QStringList{"a=1"}));
    EXPECT_EQ(g.currentRow(), 0);
    QTest::keyClick(&g, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(names(), (QStringList{"="}));  // one empty row stays
}

TEST_F(SetupDialogTest, CharacterButtonsWorkOnTheirOwnGrid) {
    WriteFile("pelm.ini", "[Autocorrect]\r\na=1\r\nb=2\r\n[Chars]\r\nx=1\r\ny=2\r\n");
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        d.edtAC->setCurrentCell(1, 0);
        d.edtChars->setCurrentCell(0, 0);
        d.btnDelChrClick();
        EXPECT_EQ(d.edtChars->RowCount(), 1);
        EXPECT_EQ(d.edtChars->Name(0), QStringLiteral("y"));
        EXPECT_EQ(d.edtAC->RowCount(), 2);
        d.btnAddChrClick();  // a new row holding the entity frame
        EXPECT_EQ(d.edtChars->Value(0), QStringLiteral("&;"));
        EXPECT_EQ(d.edtChars->Name(0), QString());
        d.btnAddChrClick();  // the current row holds a code: another row
        EXPECT_EQ(d.edtChars->RowCount(), 3);
        d.edtChars->SetRow(0, QString(), QString());
        d.btnAddChrClick();  // an existing empty row takes the code in its place
        EXPECT_EQ(d.edtChars->RowCount(), 3);
        EXPECT_EQ(d.edtChars->Value(0), QStringLiteral("&;"));
        d.edtChars->SetRow(0, QStringLiteral("Nbsp"), QStringLiteral("&nbsp;"));
        d.btnOKClick();
    });
    TIniFile ini(FileNameBytes(IniPath()));
    std::vector<std::string> pairs;
    ini.IniReadPairs("Chars", pairs);
    EXPECT_EQ(pairs, (std::vector<std::string>{"Nbsp=&nbsp;", "y=2"}));
}

TEST_F(SetupDialogTest, ClearHistoryThenCancelLeavesTheListEmpty) {
    const QString doc = WriteFile("doc.html", "<p>\r\n");
    WriteFile("pelm.ini", "[LastOpened]\r\nMRU1=" + doc.toUtf8() + "\r\n[Filez]\r\n" + doc.toUtf8() + "_Cursor=2\r\n");
    auto w = Start();
    ASSERT_EQ(w->RecentFiles().Count(), 1);
    WithSetup(*w, [&](TfrSetup& d) {
        d.btnClearClick();
        d.reject();
    });
    EXPECT_EQ(w->RecentFiles().Count(), 0);
    const QByteArray ini = ReadFile(IniPath());
    EXPECT_FALSE(ini.contains("LastOpened")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("Filez")) << ini.toStdString();
}

TEST_F(SetupDialogTest, TemplateButtonsOpenTheTemplateForEditing) {
    auto w = Start();
    QStringList calls;
    WithSetup(*w, [&](TfrSetup& d) {
        d.shellOpen = [&](const QString& target, const QString& parameters) { calls << target << parameters; };
        d.btnTemplate[0]->click();
        d.btnTemplate[1]->click();  // nothing chosen: the bare folder
        d.reject();
    });
    EXPECT_EQ(calls, (QStringList{"notepad.exe", Path("Library/Templates/HTML.pel"), "notepad.exe",
                                  Path("Library/Templates/")}));
    // The text editor is the user's own, started without a shell.
    qputenv("VISUAL", "myeditor --wait");
    const ShellOpenPlan plan = PlanShellOpen(calls[0], calls[1]);
    qunsetenv("VISUAL");
    EXPECT_EQ(plan.action, ShellOpenPlan::StartProgram);
    EXPECT_EQ(plan.program, QStringLiteral("myeditor"));
    EXPECT_EQ(plan.arguments, (QStringList{"--wait", Path("Library/Templates/HTML.pel")}));
}

TEST_F(SetupDialogTest, ScanDirListsFilesOnly) {
    WriteFile("Library/Templates/sub/inner.pel", "");
    WriteFile("Library/Templates/.hidden", "");
    QStringList list{"kept"};
    TfrSetup::ScanDir(Path("Library/Templates"), QString(), list);
    list.sort();
    EXPECT_EQ(list, (QStringList{".hidden", "HTML.pel", "kept"}));
    QStringList masked;
    TfrSetup::ScanDir(Path("Library/Templates/"), QStringLiteral("*.pel"), masked);
    EXPECT_EQ(masked, (QStringList{"HTML.pel"}));
}

TEST_F(SetupDialogTest, CaseListAndThemeAreWrittenAndApplied) {
    auto w = Start();
    WithSetup(*w, [&](TfrSetup& d) {
        d.cmbCase->setCurrentIndex(0);
        d.cmbTheme->setCurrentText(QStringLiteral("Xito"));
        d.btnOKClick();
    });
    EXPECT_EQ(CurrentThemeName(), "Xito");
    EXPECT_EQ(TIniFile(FileNameBytes(IniPath())).IniReadNumber("Editor", "Case", -1), 0);
    EXPECT_EQ(w->cmbTagName->itemText(1), QStringLiteral("a"));
    SetTheme("Default");
}

}  // namespace
}  // namespace pelm::test

namespace pelm::test {
namespace {

// The real browse dialog: its own title, /usr/bin, and executables only under
// "Приложения".
TEST(BrowseDialog, ListsProgramsFromUsrBin) {
    QtPrompts prompts;
    FileDialogRequest request;
    request.caption = QStringLiteral("Браузер 2");
    request.filters = {{QStringLiteral("Приложения"), QStringLiteral("*")},
                       {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*")}};
    request.executablesFilter = 1;
    request.folder = QStringLiteral("/usr/bin");
    QString title, folder;
    bool executables = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) {
                title = d->windowTitle();
                folder = d->directory().absolutePath();
                executables = d->filter().testFlag(QDir::Executable);
                d->reject();
            }
    });
    EXPECT_EQ(prompts.openFileName(nullptr, request), QString());
    EXPECT_EQ(title, QStringLiteral("Браузер 2"));
    EXPECT_EQ(folder, QStringLiteral("/usr/bin"));
    EXPECT_TRUE(executables);
}

}  // namespace
}  // namespace pelm::test

namespace pelm::test {
namespace {

TEST(ColorList, NamedEntriesAndTheCustomEntry) {
    TColorList list;
    list.Select(0x00FFFF);  // yellow (red and green)
    EXPECT_EQ(list.currentText(), QStringLiteral("Yellow"));
    list.Select(14811135);  // not a named colour: the custom entry holds it
    EXPECT_EQ(list.currentIndex(), 0);
    EXPECT_EQ(list.Selected(), 14811135u);
    list.setCurrentIndex(3);
    int asked = 0;
    list.AskColor = [&](uint32_t& color) {
        ++asked;
        EXPECT_EQ(color, 14811135u);  // the dialog starts from the custom colour
        color = 0x123456;
        return true;
    };
    list.setCurrentIndex(0);
    emit list.activated(0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(list.Selected(), 0x123456u);
    list.AskColor = [](uint32_t&) { return false; };  // cancelled: the entry before stays
    list.setCurrentIndex(5);
    emit list.activated(5);
    list.setCurrentIndex(0);
    emit list.activated(0);
    EXPECT_EQ(list.currentIndex(), 5);
}

}  // namespace
}  // namespace pelm::test
