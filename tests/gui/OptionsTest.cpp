// ApplyOptions as the window shows it: every default, each key's "on" test,
// the theme by name, the browser items, the tag list's case and the settings
// file's place.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPalette>
#include <QToolBar>

#include <functional>
#include <set>
#include <sys/stat.h>

#include "MainWindowFixture.h"
#include "core/config/AppOptions.h"
#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/Themes.h"

namespace pelm::test {
namespace {

// What the editor was given by ApplyOptions.
struct EditorSettings {
    int rightEdge;
    uint32_t activeLine;
    bool lineNumbers;
    int tabWidth;
    bool wordWrap;
};

EditorSettings EditorOf(TfrMain& w) {
    TCustomCodeEdit& m = w.snEditor->Model();
    return {w.snEditor->RightEdge(), w.snEditor->ActiveLineColor(), m.Gutter().ShowLineNumbers, m.TabWidth(),
            m.WordWrap()};
}

struct OptionsCase {
    const char* name;
    const char* ini;
    std::function<void(TfrMain&)> check;
};

using OptionsTest = MainWindowFixture;

TEST_F(OptionsTest, DefaultsWithoutSettingsFile) {
    SetTheme("Default");
    auto w = Start();
    ASSERT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
    const EditorSettings e = EditorOf(*w);
    EXPECT_EQ(e.rightEdge, 80);
    EXPECT_EQ(e.activeLine, 0x00E1FFFFu);  // red 255, green 255, blue 225
    EXPECT_TRUE(e.lineNumbers);
    EXPECT_EQ(e.tabWidth, 8);
    EXPECT_FALSE(e.wordWrap);
    EXPECT_EQ(w->RecentFiles().MaxItems(), 4);
    EXPECT_EQ(CurrentThemeName(), "Aluminum");
    for (QAction* item : {w->pnkFilePreview1st, w->pnkFilePreview2nd}) {
        EXPECT_EQ(item->text(), QStringLiteral("Undefined"));
        EXPECT_FALSE(item->isVisible());
        EXPECT_FALSE(item->isEnabled());
    }
    EXPECT_TRUE(w->Options().Autocorrect.empty());
    EXPECT_TRUE(w->Options().AutocorrectEnabled);
    EXPECT_EQ(w->cmbTagName->itemText(0), QStringLiteral(">TEXT"));
    const char* files[] = {"HTML.pel", "CSS.pel", "XML.pel", "JS.pel", "PHP.pel", "Perl.pel"};
    for (int k = 0; k < kDocumentKindCount; ++k)
        EXPECT_EQ(w->TemplatePath(static_cast<DocumentKind>(k)), QStringLiteral("Library/Templates/") + files[k]);
    // Reading the defaults writes nothing.
    EXPECT_FALSE(QFile::exists(Path("pelm.ini")));
}

TEST_F(OptionsTest, KeysAndTheirOnTests) {
    const OptionsCase cases[] = {
        {"WordWrap=2 is off, ShowLineNumbers=2 is on", "[Editor]\r\nWordWrap=2\r\nShowLineNumbers=2\r\n",
         [](TfrMain& w) {
             EXPECT_FALSE(EditorOf(w).wordWrap);
             EXPECT_TRUE(EditorOf(w).lineNumbers);
         }},
        {"WordWrap=1 on, ShowLineNumbers=0 off", "[Editor]\r\nWordWrap=1\r\nShowLineNumbers=0\r\n",
         [](TfrMain& w) {
             EXPECT_TRUE(EditorOf(w).wordWrap);
             EXPECT_FALSE(EditorOf(w).lineNumbers);
         }},
        {"TabWidth=0 gives 1", "[Editor]\r\nTabWidth=0\r\n", [](TfrMain& w) { EXPECT_EQ(EditorOf(w).tabWidth, 1); }},
        {"TabWidth=1000 gives 256", "[Editor]\r\nTabWidth=1000\r\n",
         [](TfrMain& w) { EXPECT_EQ(EditorOf(w).tabWidth, 256); }},
        {"Polosa=0x64 gives 100", "[Editor]\r\nPolosa=0x64\r\n",
         [](TfrMain& w) { EXPECT_EQ(EditorOf(w).rightEdge, 100); }},
        {"not a number takes the default", "[Editor]\r\nPolosa=wide\r\nTabWidth=\r\n",
         [](TfrMain& w) {
             EXPECT_EQ(EditorOf(w).rightEdge, 80);
             EXPECT_EQ(EditorOf(w).tabWidth, 8);
         }},
        {"active line colour", "[Colors]\r\nActiveLine=255\r\n",
         [](TfrMain& w) { EXPECT_EQ(EditorOf(w).activeLine, 0xFFu); }},
        {"quoted theme with blanks", "[Toolbars]\r\nTheme = \"Tristan\"  \r\n",
         [](TfrMain& w) {
             EXPECT_EQ(CurrentThemeName(), "Tristan");
             // A dark theme darkens the bars, not the page of text.
             EXPECT_NE(w.mnuMain->palette().color(QPalette::Window), DocumentPalette().color(QPalette::Window));
             EXPECT_EQ(w.snEditor->palette().color(QPalette::Base), DocumentPalette().color(QPalette::Base));
         }},
        {"lower-case undefined is a name", "[Browsers]\r\n1_name=undefined\r\n2_name=Firefox\r\n",
         [](TfrMain& w) {
             EXPECT_EQ(w.pnkFilePreview1st->text(), QStringLiteral("undefined"));
             EXPECT_TRUE(w.pnkFilePreview1st->isVisible());
             EXPECT_TRUE(w.pnkFilePreview1st->isEnabled());
             EXPECT_EQ(w.pnkFilePreview2nd->text(), QStringLiteral("Firefox"));
             EXPECT_TRUE(w.pnkFilePreview2nd->isVisible());
         }},
        {"second browser alone", "[Browsers]\r\n2_name=Opera\r\n",
         [](TfrMain& w) {
             EXPECT_FALSE(w.pnkFilePreview1st->isVisible());
             EXPECT_TRUE(w.pnkFilePreview2nd->isVisible());
         }},
        {"Autocorrect=2 is off, pairs kept in file order", "[Editor]\r\nAutocorrect=2\r\n[Autocorrect]\r\nteh=the\r\nadn=and\r\n",
         [](TfrMain& w) {
             EXPECT_FALSE(w.Options().AutocorrectEnabled);
             EXPECT_EQ(w.Options().Autocorrect, (std::vector<std::string>{"teh=the", "adn=and"}));
         }},
        {"Case=0 lower-cases the tag list, headers too", "[Editor]\r\nCase=0\r\n",
         [](TfrMain& w) {
             EXPECT_EQ(w.cmbTagName->itemText(0), QStringLiteral(">text"));
             EXPECT_EQ(w.cmbTagName->itemText(1), QStringLiteral("a"));
         }},
        {"Case=2 is upper case", "[Editor]\r\nCase=2\r\n",
         [](TfrMain& w) { EXPECT_EQ(w.cmbTagName->itemText(0), QStringLiteral(">TEXT")); }},
        {"OpenHistory", "[Editor]\r\nOpenHistory=7\r\n", [](TfrMain& w) { EXPECT_EQ(w.RecentFiles().MaxItems(), 7); }},
        {"template names", "[Templates]\r\nCSS=Sheet.pel\r\nPerl=cgi/Script.pel\r\n",
         [](TfrMain& w) {
             EXPECT_EQ(w.TemplatePath(DocumentKind::CSS), QStringLiteral("Library/Templates/Sheet.pel"));
             EXPECT_EQ(w.TemplatePath(DocumentKind::Perl), QStringLiteral("Library/Templates/cgi/Script.pel"));
             EXPECT_EQ(w.TemplatePath(DocumentKind::HTML), QStringLiteral("Library/Templates/HTML.pel"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_ = ScriptedPrompts();
        WriteFile("pelm.ini", c.ini);
        auto w = Start();
        EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
        c.check(*w);
    }
}

TEST_F(OptionsTest, CyrillicTagNamesChangeCase) {
    WriteFile("Library/Tags/tags.pel", ">\xD2\xE5\xEA\xF1\xF2\r\nb\r\n");  // ">Текст" in Windows-1251
    WriteFile("pelm.ini", "[Editor]\r\nCase=1\r\n");
    auto w = Start();
    EXPECT_EQ(w->cmbTagName->itemText(0), QStringLiteral(">ТЕКСТ"));
    EXPECT_EQ(w->cmbTagName->itemText(1), QStringLiteral("B"));
}

TEST_F(OptionsTest, ApplyingAgainTakesTheFileAsItIsNow) {
    WriteFile("pelm.ini", "[Browsers]\r\n1_name=Firefox\r\n[LastOpened]\r\nMRU1=/a.html\r\nMRU2=/b.html\r\nMRU3=/c.html\r\n");
    auto w = Start();
    ASSERT_EQ(w->RecentFiles().Count(), 3);
    ASSERT_TRUE(w->pnkFilePreview1st->isVisible());
    TIniFile& ini = *w->SettingsFile();
    ini.IniWrite("Browsers", "1_name", "Undefined");
    ini.IniWriteNumber("Editor", "OpenHistory", 2);
    ini.IniWrite("Toolbars", "Theme", "Eos");
    w->ApplyOptions();
    EXPECT_FALSE(w->pnkFilePreview1st->isVisible());
    EXPECT_FALSE(w->pnkFilePreview1st->isEnabled());
    EXPECT_EQ(w->RecentFiles().Count(), 2);  // dropped from the end at once
    EXPECT_EQ(w->RecentFiles().Items()[1], "/b.html");
    EXPECT_EQ(CurrentThemeName(), "Eos");
}

TEST_F(OptionsTest, UnknownThemeKeepsTheCurrentOne) {
    ASSERT_TRUE(SetTheme("Miranda"));
    const QColor before = QApplication::palette().color(QPalette::Window);
    for (const char* name : {"Bogus", "aluminum", ""}) {
        SCOPED_TRACE(name);
        WriteFile("pelm.ini", QByteArray("[Toolbars]\r\nTheme=") + name + "\r\n");
        auto w = Start();
        EXPECT_EQ(CurrentThemeName(), "Miranda");
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), before);
    }
}

TEST(ThemeTest, EveryNameIsADistinctLook) {
    std::set<std::pair<QRgb, QRgb>> looks;
    for (const std::string& name : ThemeNames()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SetTheme(name));
        EXPECT_EQ(CurrentThemeName(), name);
        const QPalette p = QApplication::palette();
        looks.insert({p.color(QPalette::Window).rgb(), p.color(QPalette::Highlight).rgb()});
        EXPECT_EQ(qApp->styleSheet().isEmpty(), name == "Default");
    }
    EXPECT_EQ(looks.size(), ThemeNames().size());
    EXPECT_EQ(ThemeNames().size(), 15u);
    EXPECT_FALSE(SetTheme("Office2007"));
    EXPECT_EQ(CurrentThemeName(), ThemeNames().back());
    // "Default" is the plain Fusion look.
    ASSERT_TRUE(SetTheme("Default"));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QApplication::palette(), QApplication::style()->standardPalette());
}

TEST_F(OptionsTest, RefusedWriteIsReportedAndEarlierWritesStay) {
    const QString a = WriteFile("docs/a.html", "0123456789\r\nabcde\r\nlast\r\n");
    auto w = Start({a});
    w->pnkFileSaveClick();
    ASSERT_TRUE(prompts_.errors.isEmpty());
    const QByteArray before = ReadFile(Path("pelm.ini"));
    ASSERT_TRUE(before.contains("a.html_Cursor=0"));
    ::chmod(Path("pelm.ini").toLocal8Bit().constData(), 0444);
    w->pnkFileSaveClick();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0], QStringLiteral("Unable to write to ") + Path("pelm.ini"));
    EXPECT_EQ(ReadFile(Path("pelm.ini")), before);
    ::chmod(Path("pelm.ini").toLocal8Bit().constData(), 0644);
}

// An installed copy's folder cannot be written: the settings, and the layout
// with them, go to the user's configuration folder.
TEST_F(OptionsTest, ReadOnlyProgramFolderUsesTheUserConfigFolder) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString dir = ProgramDir();
    ::chmod(dir.toLocal8Bit().constData(), 0555);
    {
        auto w = Start();
        const QString expected = config.path() + QStringLiteral("/pelm/pelm.ini");
        EXPECT_EQ(FileNameFromBytes(w->SettingsFile()->FileName()), expected);
        w->SettingsFile()->IniWrite("Editor", "Polosa", "90");
        w->ApplyOptions();
        EXPECT_EQ(EditorOf(*w).rightEdge, 90);
        w->show();
        EXPECT_TRUE(w->close());
        TIniFile ini(FileNameBytes(expected));
        EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), 736);
        EXPECT_EQ(ini.IniRead("tbxStandartToolbar", "Dock", ""), "Top");
    }
    EXPECT_FALSE(QFile::exists(Path("pelm.ini")));
    ::chmod(dir.toLocal8Bit().constData(), 0755);
    if (oldConfig.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", oldConfig);
}

}  // namespace
}  // namespace pelm::test
