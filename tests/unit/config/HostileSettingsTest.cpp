// Settings files written by someone else: counts and sizes out of all proportion,
// window bounds off every screen, names that would break the file's lines, and
// the parsed-file cache that must never serve a stale copy.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "core/config/AppOptions.h"
#include "core/config/TIniFile.h"
#include "core/config/WindowPlacement.h"
#include "core/document/CaretMemory.h"
#include "core/config/RecentFiles.h"
#include "core/platform/ProfileStore.h"
#include "support/TempDir.h"

using namespace pelm;

namespace {

// Moves the file's times an hour back, as for a file written long ago.
void Age(const std::string& file) {
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    utimes(file.c_str(), times);
}

}  // namespace

TEST(HostileSettings, CountsAndSizesAreBounded) {
    struct Case {
        const char* file;
        int rightEdge, openHistory;
    } cases[] = {
        {"[Editor]\nPolosa=120\nOpenHistory=35\n", 120, 35},  // sane values stay as they are
        {"[Editor]\nPolosa=0\nOpenHistory=0\n", 0, 0},
        {"[Editor]\nPolosa=2147483647\nOpenHistory=100000000\n", kMaxRightEdge, kMaxOpenHistory},
        {"[Editor]\nPolosa=-5\nOpenHistory=-3\n", 0, 0},
    };
    test::TempDir dir;
    TIniFile ini(dir.file("pelm.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        test::WriteFile(dir.file("pelm.ini"), c.file);
        const TAppOptions o = ReadAppOptions(ini);
        EXPECT_EQ(o.RightEdge, c.rightEdge);
        EXPECT_EQ(o.OpenHistory, c.openHistory);
    }
    EXPECT_EQ(kMaxOpenHistory, 35);  // "1".."9" and "A".."Z"
}

TEST(HostileSettings, HugeHistoryLoadsOnlyTheCappedKeys) {
    test::TempDir dir;
    test::WriteFile(dir.file("pelm.ini"), "[Editor]\nOpenHistory=100000000\n[LastOpened]\nMRU1=/a.htm\nMRU36=/b.htm\n");
    TIniFile ini(dir.file("pelm.ini"));
    TRecentFiles recent;
    recent.SetMaxItems(ReadAppOptions(ini).OpenHistory);
    const auto start = std::chrono::steady_clock::now();
    recent.Load(ini, "LastOpened");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(recent.Items(), (std::vector<std::string>{"/a.htm"}));
}

TEST(HostileSettings, WindowBoundsComeOntoTheScreens) {
    const std::vector<TScreenRect> one{{0, 0, 1920, 1040}};
    const std::vector<TScreenRect> two{{0, 0, 1920, 1040}, {1920, 0, 1280, 1000}};
    struct Case {
        const char* name;
        TScreenRect wanted;
        std::vector<TScreenRect> screens;
        TScreenRect expected;
    } cases[] = {
        {"sane bounds kept", {100, 80, 736, 473}, one, {100, 80, 736, 473}},
        {"partly off the right edge kept", {1500, 300, 736, 473}, one, {1500, 300, 736, 473}},
        {"huge size cut to the screen", {0, 0, 2147483647, 2147483647}, one, {0, 0, 1920, 1040}},
        {"far off the top left", {-100000, -100000, 736, 473}, one, {100 - 736, 0, 736, 473}},
        {"far off the bottom right", {100000, 100000, 736, 473}, one, {1920 - 100, 1040 - 50, 736, 473}},
        {"negative size", {10, 10, -5, -7}, one, {10, 10, kMinWindowWidth, kMinWindowHeight}},
        {"on the second screen kept", {2000, 100, 800, 600}, two, {2000, 100, 800, 600}},
        {"cut to the second screen", {2000, 0, 4000, 4000}, two, {2000, 0, 1280, 1000}},
        {"no screens: unchanged", {-100000, 5, 10, 10}, {}, {-100000, 5, 10, 10}},
    };
    for (const Case& c : cases) EXPECT_EQ(FitWindowToScreens(c.wanted, c.screens), c.expected) << c.name;
}

TEST(HostileSettings, CaretMemoryKeyOnlyForNamesThatStayOneLine) {
    struct Case {
        std::string name;
        bool hasKey;
    } cases[] = {
        {"/site/index.html", true},
        {"Новый", true},
        {"/site/a b [1].html", true},
        {"/site/x\n[Editor]\nTabWidth=1", false},
        {"/site/x\r.html", false},
        {"/site/x\t.html", false},
        {"/site/a=b.html", false},
        {"[Editor]x.html", false},
        {" [Editor]", false},
    };
    for (const Case& c : cases) {
        auto key = CaretMemoryKey(c.name);
        EXPECT_EQ(key.has_value(), c.hasKey) << c.name;
        if (key) {
            EXPECT_EQ(*key, c.name + "_Cursor");
        }
    }
    TRecentFiles recent;
    recent.InsertIfAbsent("/site/x\n[Editor]\nTabWidth=1");
    EXPECT_EQ(recent.Count(), 0);
}

// Whatever the caller passes, a write never adds a line or a section the
// caller did not ask for: such writes are refused and the file stays as it was.
TEST(HostileSettings, StoreRefusesWritesThatWouldBreakALine) {
    test::TempDir dir;
    const std::string before = "[Editor]\r\nTabWidth=8\r\n[Filez]\r\n";
    test::WriteFile(dir.file("pelm.ini"), before);
    TIniFile ini(dir.file("pelm.ini"));
    struct Case {
        const char* name;
        std::string section, key, value;
    } cases[] = {
        {"LF in key", "Filez", "/x\n[Editor]\nTabWidth=1_Cursor", "5"},
        {"CR in key", "Filez", "/x\r[Editor]", "5"},
        {"LF in value", "LastOpened", "MRU1", "/x\n[Editor]\nTabWidth=1"},
        {"CR in value", "LastOpened", "MRU1", "/x\r"},
        {"NUL in value", "LastOpened", "MRU1", std::string("/x\0y", 4)},
        {"LF in section", "A\n[Editor]", "k", "v"},
        {"bracket in section", "A]x", "k", "v"},
        {"equals in key", "Filez", "/a=b_Cursor", "1"},
        {"key reads as a section", "Filez", "[Editor]_Cursor", "1"},
        {"key line reads as a section", "Filez", "[Editor", "]"},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(ini.IniWrite(c.section, c.key, c.value), EError) << c.name;
        EXPECT_EQ(test::ReadFile(dir.file("pelm.ini")), before) << c.name;
    }
    // Such names cannot be in the file: removing them removes nothing.
    ini.IniRemoveKey("Filez", "a\nb");
    ini.IniClearSection("A\n[Editor]");
    EXPECT_EQ(test::ReadFile(dir.file("pelm.ini")), before);
    EXPECT_EQ(ini.IniReadNumber("Editor", "TabWidth", 0), 8);
    // Values that merely look odd are stored and read back as written.
    ini.IniWrite("Filez", "/a [1].html_Cursor", "[x]=y");
    EXPECT_EQ(ini.IniRead("Filez", "/a [1].html_Cursor", ""), "[x]=y");
}

// The cache may serve a parsed copy only while the file is the one it was read
// from: every way another writer can change the file is seen at the next read.
TEST(HostileSettings, CachedCopySeesEveryChangeOfTheFile) {
    test::TempDir dir;
    const std::string file = dir.file("pelm.ini");
    test::WriteFile(file, "[A]\nk=1\n");
    Age(file);
    TIniFile first(file), second(file);
    EXPECT_EQ(first.IniRead("A", "k", ""), "1");

    // Another object on the file (the layout code) writes: the first one reads it.
    second.IniWrite("A", "k", "2");
    EXPECT_EQ(first.IniRead("A", "k", ""), "2");

    // Another program replaces the file (a new inode), same size.
    test::WriteFile(dir.file("other"), "[A]\r\nk=3\r\n");
    Age(dir.file("other"));
    ASSERT_EQ(rename(dir.file("other").c_str(), file.c_str()), 0);
    EXPECT_EQ(first.IniRead("A", "k", ""), "3");

    // Edited in place to the same size: the modification time tells.
    Age(file);
    EXPECT_EQ(first.IniRead("A", "k", ""), "3");
    test::WriteFile(file, "[A]\r\nk=4\r\n");
    EXPECT_EQ(first.IniRead("A", "k", ""), "4");
    // Edited in place again within the same instant, same size: a copy of a file
    // that changed a moment ago is not trusted.
    test::WriteFile(file, "[A]\r\nk=5\r\n");
    EXPECT_EQ(first.IniRead("A", "k", ""), "5");

    // Gone, then back.
    unlink(file.c_str());
    EXPECT_EQ(first.IniRead("A", "k", "none"), "none");
    test::WriteFile(file, "[A]\nk=6\n");
    EXPECT_EQ(first.IniRead("A", "k", ""), "6");
}

TEST(HostileSettings, SettingsFileThatIsAPipeOrAFolderReadsDefaults) {
    test::TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo.ini").c_str(), 0600), 0);
    mkdir(dir.file("dir.ini").c_str(), 0700);
    for (const char* name : {"fifo.ini", "dir.ini"}) {
        TIniFile ini(dir.file(name));
        EXPECT_EQ(ini.IniRead("A", "k", "d"), "d") << name;  // returns at once, no writer needed
        EXPECT_THROW(ini.IniWrite("A", "k", "v"), EError) << name;
    }
}

TEST(HostileSettings, ReadPairsKeepsFirstValueOfADuplicateName) {
    test::TempDir dir;
    test::WriteFile(dir.file("p.ini"), "[Autocorrect]\nteh=the\nTEH=other\nadn=and\n");
    TIniFile ini(dir.file("p.ini"));
    std::vector<std::string> pairs;
    ini.IniReadPairs("Autocorrect", pairs);
    EXPECT_EQ(pairs, (std::vector<std::string>{"teh=the", "TEH=the", "adn=and"}));
}
