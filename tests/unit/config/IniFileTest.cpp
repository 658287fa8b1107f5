#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/config/TIniFile.h"
#include "core/platform/Convert.h"

using pelm::TIniFile;

struct ReadCase {
    const char* name;
    std::string file;
    std::string section, key;
    std::string expected;  // read with the default "DEF"
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReadsAsTheStoreSays) {
    const ReadCase& c = GetParam();
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("a.ini"), c.file);
    TIniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.IniRead(c.section, c.key, "DEF"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"Plain", "[Editor]\r\nPolosa=80\r\n", "Editor", "Polosa", "80"},
        ReadCase{"CaseOfNames", "[EDITOR]\nPOLOSA=80\n", "editor", "polosa", "80"},
        ReadCase{"CyrillicNamesIgnoreCase", "[\xcf\xf0\xe8]\n\xca\xeb\xfe\xf7=1\n", "\xef\xf0\xe8", "\xea\xcb\xde\xd7", "1"},
        ReadCase{"BlanksAroundDropped", "  [ Editor ]  \n  Polosa \t=  80  \n", "Editor", "Polosa", "80"},
        ReadCase{"DoubleQuotes", "[T]\nTheme=\"Xito\"\n", "T", "Theme", "Xito"},
        ReadCase{"SingleQuotes", "[T]\nTheme=' a b '\n", "T", "Theme", " a b "},
        ReadCase{"MismatchedQuotesKept", "[T]\nTheme=\"Xito'\n", "T", "Theme", "\"Xito'"},
        ReadCase{"OnlyOnePairRemoved", "[T]\nv=\"\"x\"\"\n", "T", "v", "\"x\""},
        ReadCase{"ValueWithEquals", "[T]\nk=a=b\n", "T", "k", "a=b"},
        ReadCase{"EmptyValue", "[T]\nk=\n", "T", "k", ""},
        ReadCase{"MissingKey", "[T]\nk=1\n", "T", "x", "DEF"},
        ReadCase{"MissingSection", "[T]\nk=1\n", "U", "k", "DEF"},
        ReadCase{"KeyOutsideSection", "k=1\n[T]\n", "T", "k", "DEF"},
        ReadCase{"KeyInNextSectionNotSeen", "[A]\n[B]\nk=1\n", "A", "k", "DEF"},
        ReadCase{"UnclosedBracketOpensNoSection", "[A]\n[B\nk=1\n", "A", "k", "1"},
        ReadCase{"FirstOfDuplicateKeys", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[A]\nk\n", "A", "k", "DEF"},
        ReadCase{"CrOnlyFile", "[A]\rk=1\r", "A", "k", "1"},
        ReadCase{"EmptyKeyNameReadsDefault", "[A]\n=1\n", "A", "", "DEF"},
        ReadCase{"LongValueCut", "[A]\nk=" + std::string(3000, 'v') + "\n", "A", "k", std::string(2047, 'v')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, MissingFileReadsDefaultsAndCreatesNothing) {
    pelm::test::TempDir dir;
    TIniFile ini(dir.file("none.ini"));
    EXPECT_EQ(ini.IniRead("A", "k", "d"), "d");
    EXPECT_EQ(ini.IniReadNumber("A", "k", 5), 5);
    std::vector<std::string> pairs{"stale"};
    ini.IniReadPairs("A", pairs);
    EXPECT_TRUE(pairs.empty());
    EXPECT_NE(access(dir.file("none.ini").c_str(), F_OK), 0);
}

TEST(IniFile, NumbersDecimalAndHexadecimal) {
    struct Case { const char* text; int expected; } cases[] = {
        {"80", 80}, {"-12", -12}, {"+7", 7}, {"0x64", 100}, {"0X64", 100}, {"$E1FFFF", 14811135},
        {"0x", 42}, {"$", 42}, {"12a", 42}, {"", 42}, {"abc", 42}, {"99999999999", 42},
        {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"\"0x10\"", 16}, {" 5 ", 5},
    };
    pelm::test::TempDir dir;
    TIniFile ini(dir.file("n.ini"));
    for (const Case& c : cases) {
        pelm::test::WriteFile(dir.file("n.ini"), std::string("[S]\nk=") + c.text + "\n");
        EXPECT_EQ(ini.IniReadNumber("S", "k", 42), c.expected) << c.text;
    }
    EXPECT_THROW(pelm::StrToInt(""), pelm::EConvertError);
    try {
        pelm::StrToInt("x1");
    } catch (const pelm::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

struct WriteCase {
    const char* name;
    std::string before;
    std::function<void(TIniFile&)> write;
    std::string after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, LeavesTheFileAsExpected) {
    const WriteCase& c = GetParam();
    pelm::test::TempDir dir;
    if (!c.before.empty()) pelm::test::WriteFile(dir.file("w.ini"), c.before);
    TIniFile ini(dir.file("w.ini"));
    c.write(ini);
    EXPECT_EQ(pelm::test::ReadFile(dir.file("w.ini")), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"CreatesFileAndSection", "", [](TIniFile& i) { i.IniWrite("Editor", "Polosa", "80"); },
                  "[Editor]\r\nPolosa=80\r\n"},
        WriteCase{"ReplacesValueKeepingOtherLines", "[A]\nx=1\nk=old\ny=2\n",
                  [](TIniFile& i) { i.IniWrite("a", "K", "new"); }, "[A]\nx=1\nK=new\ny=2\n"},
        WriteCase{"AddsKeyAtSectionEnd", "[A]\nx=1\n\n[B]\ny=2\n", [](TIniFile& i) { i.IniWrite("A", "k", "v"); },
                  "[A]\nx=1\nk=v\n\n[B]\ny=2\n"},
        WriteCase{"AddsSectionAtEnd", "[A]\nx=1\n", [](TIniFile& i) { i.IniWriteNumber("B", "n", -3); },
                  "[A]\nx=1\n[B]\nn=-3\n"},
        WriteCase{"ClearsSection", "[A]\nx=1\n[B]\ny=2\n[C]\n", [](TIniFile& i) { i.IniClearSection("b"); },
                  "[A]\nx=1\n[C]\n"},
        WriteCase{"RemovesKey", "[A]\nx=1\ny=2\n", [](TIniFile& i) { i.IniRemoveKey("A", "X"); }, "[A]\ny=2\n"},
        WriteCase{"RemovingMissingKeyChangesNothing", "[A]\r\nx=1\r\n", [](TIniFile& i) { i.IniRemoveKey("A", "z"); },
                  "[A]\r\nx=1\r\n"},
        WriteCase{"EmptyKeyNameStoresNoPair", "", [](TIniFile& i) { i.IniWrite("AC", "", ""); i.IniWrite("AC", "teh", "the"); },
                  "[AC]\r\nteh=the\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, ReadPairsInFileOrderWithoutEmptyNames) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("p.ini"), "[Autocorrect]\nteh = the \n=skip\nadn=\"and\"\n[Other]\nz=1\n");
    TIniFile ini(dir.file("p.ini"));
    std::vector<std::string> pairs;
    ini.IniReadPairs("autocorrect", pairs);
    EXPECT_EQ(pairs, (std::vector<std::string>{"teh=the", "adn=and"}));
}

TEST(IniFile, KeyNameBufferLimit) {
    pelm::test::TempDir dir;
    // 2000 names of 9 characters take 20000 characters: only those that fit are seen.
    std::string text = "[S]\n";
    for (int i = 0; i < 2000; ++i) text += "key" + std::to_string(100000 + i) + "=v\n";
    pelm::test::WriteFile(dir.file("k.ini"), text);
    TIniFile ini(dir.file("k.ini"));
    std::vector<std::string> pairs;
    ini.IniReadPairs("S", pairs);
    EXPECT_EQ(pairs.size(), 16383u / 10u);
}

TEST(IniFile, RefusedWriteRaisesAndKeepsEarlierWrites) {
    pelm::test::TempDir dir;
    TIniFile ini(dir.file("s.ini"));
    ini.IniWrite("A", "first", "1");
    chmod(dir.file("s.ini").c_str(), 0444);
    try {
        ini.IniWrite("A", "second", "2");
        ADD_FAILURE() << "write was not refused";
    } catch (const pelm::EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.file("s.ini"));
    }
    EXPECT_EQ(pelm::test::ReadFile(dir.file("s.ini")), "[A]\r\nfirst=1\r\n");
    EXPECT_EQ(ini.IniRead("A", "first", ""), "1");
}

TEST(IniFile, WriteLeavesNoTemporaryAndKeepsMode) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("m.ini"), "[A]\n");
    chmod(dir.file("m.ini").c_str(), 0600);
    TIniFile ini(dir.file("m.ini"));
    for (int i = 0; i < 20; ++i) ini.IniWriteNumber("A", "k" + std::to_string(i), i);
    struct stat st;
    stat(dir.file("m.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    FILE* p = popen(("ls -A '" + dir.path + "'").c_str(), "r");
    char buf[256];
    std::string listing;
    while (fgets(buf, sizeof buf, p)) listing += buf;
    pclose(p);
    EXPECT_EQ(listing, "m.ini\n");
    EXPECT_EQ(ini.IniReadNumber("A", "k19", -1), 19);
}

// A file that is there but cannot be read must not be replaced by a file holding
// only the one key written.
TEST(IniFile, UnreadableFileIsNotReplacedByAWrite) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("u.ini"), "[A]\nkeep=1\n");
    chmod(dir.file("u.ini").c_str(), 0200);
    TIniFile ini(dir.file("u.ini"));
    EXPECT_EQ(ini.IniRead("A", "keep", "d"), "d");
    EXPECT_THROW(ini.IniWrite("A", "k", "v"), pelm::EError);
    EXPECT_THROW(ini.IniRemoveKey("A", "keep"), pelm::EError);
    EXPECT_THROW(ini.IniClearSection("A"), pelm::EError);
    chmod(dir.file("u.ini").c_str(), 0600);
    EXPECT_EQ(pelm::test::ReadFile(dir.file("u.ini")), "[A]\nkeep=1\n");
}
