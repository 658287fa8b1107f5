#include <gtest/gtest.h>

#include "core/config/AppOptions.h"
#include "core/config/SettingsLocation.h"
#include "core/config/TIniFile.h"
#include "support/TempDir.h"

using namespace pelm;

TEST(AppOptions, DefaultsWithoutFile) {
    test::TempDir dir;
    TIniFile ini(dir.file("pelm.ini"));
    TAppOptions o = ReadAppOptions(ini);
    EXPECT_EQ(o.RightEdge, 80);
    EXPECT_EQ(o.ActiveLineColor, 0xE1FFFFu);
    EXPECT_TRUE(o.ShowLineNumbers);
    EXPECT_EQ(o.TabWidth, 8);
    EXPECT_FALSE(o.WordWrap);
    EXPECT_EQ(o.OpenHistory, 4);
    EXPECT_EQ(o.Theme, "Aluminum");
    EXPECT_FALSE(BrowserNamed(o.Browser1Name));
    EXPECT_FALSE(BrowserNamed(o.Browser2Name));
    EXPECT_TRUE(o.Autocorrect.empty());
    EXPECT_TRUE(o.AutocorrectEnabled);
    EXPECT_TRUE(o.UpperCaseTags);
    const char* files[] = {"HTML.pel", "CSS.pel", "XML.pel", "JS.pel", "PHP.pel", "Perl.pel"};
    for (int k = 0; k < kDocumentKindCount; ++k)
        EXPECT_EQ(o.TemplatePath[k], std::string("Library/Templates/") + files[k]);
}

TEST(AppOptions, SwitchRulesAndValues) {
    struct Case {
        const char* file;
        std::function<void(const TAppOptions&)> check;
    } cases[] = {
        {"[Editor]\nWordWrap=2\nAutocorrect=2\n", [](const TAppOptions& o) { EXPECT_FALSE(o.WordWrap); EXPECT_FALSE(o.AutocorrectEnabled); }},
        {"[Editor]\nWordWrap=1\nAutocorrect=1\n", [](const TAppOptions& o) { EXPECT_TRUE(o.WordWrap); EXPECT_TRUE(o.AutocorrectEnabled); }},
        {"[Editor]\nShowLineNumbers=2\nCase=2\n", [](const TAppOptions& o) { EXPECT_TRUE(o.ShowLineNumbers); EXPECT_TRUE(o.UpperCaseTags); }},
        {"[Editor]\nShowLineNumbers=0\nCase=0\n", [](const TAppOptions& o) { EXPECT_FALSE(o.ShowLineNumbers); EXPECT_FALSE(o.UpperCaseTags); }},
        {"[Editor]\nTabWidth=0\n", [](const TAppOptions& o) { EXPECT_EQ(o.TabWidth, 0); }},
        {"[Editor]\nPolosa=0x64\n", [](const TAppOptions& o) { EXPECT_EQ(o.RightEdge, 100); }},
        {"[Editor]\nPolosa=abc\nOpenHistory=2\n", [](const TAppOptions& o) { EXPECT_EQ(o.RightEdge, 80); EXPECT_EQ(o.OpenHistory, 2); }},
        {"[Colors]\nActiveLine=$FF\n", [](const TAppOptions& o) { EXPECT_EQ(o.ActiveLineColor, 0xFFu); }},
        {"[Toolbars]\nTheme = \"Xito\" \n", [](const TAppOptions& o) { EXPECT_EQ(o.Theme, "Xito"); }},
        {"[Browsers]\n1_name=undefined\n2_name=Firefox\n", [](const TAppOptions& o) {
             EXPECT_EQ(o.Browser1Name, "undefined");
             EXPECT_TRUE(BrowserNamed(o.Browser1Name));
             EXPECT_TRUE(BrowserNamed(o.Browser2Name));
         }},
        {"[Templates]\nHTML=my.pel\nPerl=\n", [](const TAppOptions& o) {
             EXPECT_EQ(o.TemplatePath[0], "Library/Templates/my.pel");
             EXPECT_EQ(o.TemplatePath[5], "Library/Templates/");
         }},
        {"[Autocorrect]\nteh=the\nadn=and\n", [](const TAppOptions& o) {
             EXPECT_EQ(o.Autocorrect, (std::vector<std::string>{"teh=the", "adn=and"}));
         }},
    };
    test::TempDir dir;
    TIniFile ini(dir.file("pelm.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        test::WriteFile(dir.file("pelm.ini"), c.file);
        c.check(ReadAppOptions(ini));
    }
}

TEST(SettingsLocation, ReadOnlyProgramFolderFallsBackToConfigFolder) {
    test::TempDir dir;
    std::string program = dir.file("prog") + "/";
    mkdir(program.c_str(), 0755);
    EXPECT_EQ(SettingsFileName(program), program + "pelm.ini");
    chmod(program.c_str(), 0555);
    setenv("XDG_CONFIG_HOME", dir.file("cfg").c_str(), 1);
    std::string fallback = SettingsFileName(program);
    EXPECT_EQ(fallback, dir.file("cfg") + "/pelm/pelm.ini");
    TIniFile ini(fallback);
    ini.IniWrite("Editor", "Polosa", "90");
    EXPECT_EQ(ini.IniReadNumber("Editor", "Polosa", 0), 90);
    unsetenv("XDG_CONFIG_HOME");
}
