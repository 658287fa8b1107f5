#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/editor/TCodeEditStringList.h"

using pelm::TCodeEditStringList;

namespace {

std::vector<std::string> linesOf(const TCodeEditStringList& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.Count(); ++i) out.push_back(l.Strings(i));
    return out;
}

// Records the hooks in the order they are raised.
struct HookLog {
    std::vector<std::string> events;
    void attach(TCodeEditStringList& l) {
        l.OnLinesChanging.Subscribe([this] { events.push_back("changing"); });
        l.OnLinesChanged.Subscribe([this] { events.push_back("changed"); });
        l.OnLinesCleared.Subscribe([this] { events.push_back("cleared"); });
        l.OnLinesDeleted.Subscribe([this](int i, int n) { events.push_back("deleted " + std::to_string(i) + "," + std::to_string(n)); });
        l.OnLinesInserted.Subscribe([this](int i, int n) { events.push_back("inserted " + std::to_string(i) + "," + std::to_string(n)); });
        l.OnLinePut.Subscribe([this](int i, int n) { events.push_back("put " + std::to_string(i) + "," + std::to_string(n)); });
    }
};

}  // namespace

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    pelm::TLineBreakFormat format;
    std::string saved;
};

class LoadSave : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadSave, SplitsDetectsAndWritesBack) {
    const LoadCase& c = GetParam();
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("in"), c.bytes);
    TCodeEditStringList l;
    l.LoadTextFile(dir.file("in"));
    EXPECT_EQ(linesOf(l), c.lines);
    EXPECT_EQ(l.LineBreakFormat(), c.format);
    l.SaveTextFile(dir.file("out"));
    EXPECT_EQ(pelm::test::ReadFile(dir.file("out")), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadSave,
    ::testing::Values(
        LoadCase{"CrLf", "a\r\nb\r\n", {"a", "b"}, pelm::lbCrLf, "a\r\nb\r\n"},
        LoadCase{"Lf", "a\nb\n", {"a", "b"}, pelm::lbLf, "a\nb\n"},
        LoadCase{"Cr", "a\rb\r", {"a", "b"}, pelm::lbCr, "a\rb\r"},
        LoadCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}, pelm::lbCrLf, "a\r\nb\r\nc\r\nd\r\n"},
        LoadCase{"NoFinalBreak", "x\r\ny", {"x", "y"}, pelm::lbCrLf, "x\r\ny\r\n"},
        LoadCase{"NoBreakAtAll", "abc", {"abc"}, pelm::lbCrLf, "abc\r\n"},
        LoadCase{"Empty", "", {}, pelm::lbCrLf, ""},
        LoadCase{"OnlyCrLf", "\r\n", {""}, pelm::lbCrLf, "\r\n"},
        LoadCase{"LfCr", std::string("a\n\rb"), {"a", "", "b"}, pelm::lbCrLf, "a\r\n\r\nb\r\n"},
        LoadCase{"Nul", std::string("a\0b\nc\n", 6), {std::string("a\0b", 3), "c"}, pelm::lbLf, std::string("a\0b\nc\n", 6)},
        LoadCase{"HighBytes", "\xcf\xf0\xe8\n", {"\xcf\xf0\xe8"}, pelm::lbLf, "\xcf\xf0\xe8\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, LoadMissingFileLeavesBufferAndFormat) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("lf"), "keep\n");
    TCodeEditStringList l;
    l.LoadTextFile(dir.file("lf"));
    try {
        l.LoadTextFile(dir.file("missing"));
        FAIL();
    } catch (const pelm::EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir.file("missing") + "\". No such file or directory.");
    }
    EXPECT_EQ(linesOf(l), std::vector<std::string>{"keep"});
    EXPECT_EQ(l.LineBreakFormat(), pelm::lbLf);
}

TEST(StringList, LargeFileRoundTripsByteForByte) {
    pelm::test::TempDir dir;
    std::string big;
    big.reserve(100u << 20);
    for (int i = 0; big.size() < (100u << 20); ++i) big += "<p class=\"x\">line " + std::to_string(i) + "</p>\r\n";
    pelm::test::WriteFile(dir.file("big"), big);
    TCodeEditStringList l;
    l.LoadTextFile(dir.file("big"));
    l.SaveTextFile(dir.file("big2"));
    EXPECT_TRUE(pelm::test::ReadFile(dir.file("big2")) == big);
}

TEST(StringList, IndexErrorsAndOutOfRangeReads) {
    TCodeEditStringList l;
    l.Add("a");
    EXPECT_EQ(l.Strings(1), "");
    EXPECT_EQ(l.LineState(5), 0);
    EXPECT_EQ(l.ExpandedWidth(-1), 0);
    EXPECT_EQ(l.Objects(3), nullptr);
    auto expectIndexError = [](auto fn, int index) {
        try {
            fn();
            ADD_FAILURE() << "no error";
        } catch (const pelm::ECodeEditStringList& e) {
            EXPECT_EQ(std::string(e.what()), "Invalid stringlist index " + std::to_string(index));
        }
    };
    expectIndexError([&] { l.SetStrings(2, "x"); }, 2);
    expectIndexError([&] { l.Insert(2, "x"); }, 2);
    expectIndexError([&] { l.Delete(1); }, 1);
    expectIndexError([&] { l.Exchange(0, 1); }, 1);
    expectIndexError([&] { l.RemoveLines(1, 1); }, 1);
    expectIndexError([&] { l.InsertEmptyLines(2, 1); }, 2);
    expectIndexError([&] { l.SetLineState(-1, 0); }, -1);
    expectIndexError([&] { l.SetObjects(1, nullptr); }, 1);
    EXPECT_EQ(linesOf(l), std::vector<std::string>{"a"});
    try {
        l.SetCapacity(0);
        ADD_FAILURE();
    } catch (const pelm::ECodeEditStringList& e) {
        EXPECT_STREQ(e.what(), "Stringlist capacity cannot be smaller than count");
    }
    l.SetStrings(1, "b");  // Strings[Count] := appends
    EXPECT_EQ(linesOf(l), (std::vector<std::string>{"a", "b"}));
}

TEST(StringList, HookOrder) {
    TCodeEditStringList l;
    HookLog log;
    log.attach(l);
    l.Add("a");
    l.BeginBatch();
    l.Insert(0, "b");
    l.SetStrings(1, "c");
    l.InsertEmptyLines(2, 3);
    l.InsertEmptyLines(0, 0);
    l.RemoveLines(1, 100);
    l.EndBatch();
    l.SetLineState(0, 7);
    l.Clear();
    l.Clear();
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "changing", "inserted 0,1", "changed",
                              "changing", "inserted 0,1", "put 1,1", "inserted 2,3", "deleted 1,4", "changed",
                              "changing", "changed",
                              "changing", "cleared", "changed"}));
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, LoadRaisesOneInsertPerLineInsideOneBracket) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("f"), "a\nb\n");
    TCodeEditStringList l;
    l.Add("old");
    HookLog log;
    log.attach(l);
    l.LoadTextFile(dir.file("f"));
    EXPECT_EQ(log.events, (std::vector<std::string>{"changing", "cleared", "inserted 0,1", "inserted 1,1", "changed"}));
}

TEST(StringList, NewLineRecordsAndEmptyLines) {
    TCodeEditStringList l;
    l.Add("x");
    EXPECT_EQ(l.LineState(0), pelm::NoLineState);
    EXPECT_EQ(l.CachedExpandedLength(0), -1);
    EXPECT_EQ(l.CachedFlags(0), TCodeEditStringList::ExpansionStale);
    l.InsertEmptyLines(1, 1);
    EXPECT_EQ(l.LineState(1), 0);
    EXPECT_EQ(l.CachedExpandedLength(1), 0);
    EXPECT_EQ(l.CachedFlags(1), 0);
}

TEST(StringList, TabExpansionAndWidths) {
    TCodeEditStringList l;
    l.Add("a\tb");
    l.Add("plain");
    EXPECT_EQ(l.ExpandedWidth(0), 9);
    EXPECT_EQ(l.ExpandedText(0), std::string("a") + std::string(7, '\t') + "b");
    EXPECT_EQ(l.CachedFlags(0), TCodeEditStringList::TabsPresent);
    EXPECT_EQ(l.ExpandedWidth(1), 5);
    EXPECT_EQ(l.CachedFlags(1), TCodeEditStringList::TabsAbsent);
    l.ApplyTabWidth(4);
    EXPECT_EQ(l.CachedFlags(1), TCodeEditStringList::ExpansionStale);
    EXPECT_EQ(l.ExpandedWidth(0), 5);
    l.ApplyTabWidth(3);  // not a power of two
    EXPECT_EQ(l.ExpandedWidth(0), 4);
    l.ApplyTabWidth(1);
    EXPECT_EQ(l.ExpandedWidth(0), 3);
    EXPECT_EQ(l.ExpandedText(0), "a b");
    EXPECT_EQ(l.LongestLineWidth(), 5);
    l.SetStrings(0, "\t\t\t\t\t\t");
    EXPECT_EQ(l.LongestLineWidth(), 6);
    TCodeEditStringList empty;
    EXPECT_EQ(empty.LongestLineWidth(), 0);
}

TEST(StringList, LongestLineKeepsFirstOfEqualWidthAndFollowsExchange) {
    TCodeEditStringList l;
    l.Add("abc");
    l.Add("xyz");
    l.Add("a");
    EXPECT_EQ(l.LongestLineWidth(), 3);
    l.Exchange(0, 2);
    EXPECT_EQ(l.Strings(2), "abc");
    l.Delete(0);
    EXPECT_EQ(l.LongestLineWidth(), 3);
}

TEST(StringList, TextAndSetText) {
    TCodeEditStringList l;
    EXPECT_EQ(l.Text(), "");
    l.SetText("a\r\nb\nc\rd\r\n");
    EXPECT_EQ(linesOf(l), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd");
    TCodeEditStringList copy;
    copy.Assign(l);
    copy.AppendLines(l);
    EXPECT_EQ(copy.Count(), 8);
    EXPECT_EQ(copy.Strings(7), "d");
}

// A write call that fails with "no space" once a given number of bytes is out.
static size_t gBudget = 0;
static ssize_t failingWrite(int fd, const void* data, size_t size) {
    if (gBudget == 0) {
        errno = ENOSPC;
        return -1;
    }
    size_t n = std::min(size, gBudget);
    gBudget -= n;
    return ::write(fd, data, n);
}

TEST(StringList, FailedSaveLeavesOriginalUntouched) {
    pelm::test::TempDir dir;
    std::string original = "original\r\ncontent\r\n";
    pelm::test::WriteFile(dir.file("doc.html"), original);
    chmod(dir.file("doc.html").c_str(), 0640);
    TCodeEditStringList l;
    for (int i = 0; i < 5000; ++i) l.Add("a much longer replacement line " + std::to_string(i));
    gBudget = 40000;
    TCodeEditStringList::SetWriteFunction(failingWrite);
    try {
        l.SaveTextFile(dir.file("doc.html"));
        ADD_FAILURE() << "save reported success";
    } catch (const pelm::EFCreateError& e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
    }
    TCodeEditStringList::SetWriteFunction(nullptr);
    EXPECT_EQ(pelm::test::ReadFile(dir.file("doc.html")), original);
    // No temporary file is left behind.
    std::string listing;
    FILE* p = popen(("ls -A '" + dir.path + "'").c_str(), "r");
    char buf[256];
    while (fgets(buf, sizeof buf, p)) listing += buf;
    pclose(p);
    EXPECT_EQ(listing, "doc.html\n");
    // A successful save keeps the permission bits.
    l.SaveTextFile(dir.file("doc.html"));
    struct stat st;
    stat(dir.file("doc.html").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(StringList, SaveWritesThroughSymbolicLink) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("real.txt"), "old\n");
    ASSERT_EQ(symlink("real.txt", dir.file("link.txt").c_str()), 0);
    TCodeEditStringList l;
    l.LoadTextFile(dir.file("link.txt"));
    l.SetStrings(0, "new");
    l.SaveTextFile(dir.file("link.txt"));
    struct stat st;
    lstat(dir.file("link.txt").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(pelm::test::ReadFile(dir.file("real.txt")), "new\n");
}

TEST(StringList, SaveIntoMissingFolderIsCreateError) {
    TCodeEditStringList l;
    l.Add("x");
    try {
        l.SaveTextFile("/nonexistent-dir/x.txt");
        FAIL();
    } catch (const pelm::EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"/nonexistent-dir/x.txt\". No such file or directory.");
    }
}

TEST(StringList, GrowthAppendLinesAndExchange) {
    TCodeEditStringList l;
    std::vector<int> capacities;
    for (int i = 0; i < 101; ++i) {
        l.Add("x");
        if (capacities.empty() || capacities.back() != l.Capacity()) capacities.push_back(l.Capacity());
    }
    // By 16 up to 64, then by a quarter.
    EXPECT_EQ(capacities, (std::vector<int>{16, 32, 48, 64, 80, 100, 125}));

    TCodeEditStringList m;
    m.Add("a");
    m.Add("b");
    m.Add("c");
    m.SetLineState(0, 5);
    HookLog log;
    log.attach(m);
    m.AppendLines(std::vector<std::string>(20, "n"));
    EXPECT_EQ(m.Capacity(), 32);  // the new count rounded up to 16
    m.Exchange(0, 22);
    m.SetStrings(22, "q");
    EXPECT_EQ(log.events, (std::vector<std::string>{"changing", "inserted 3,20", "changed", "changing", "changed",
                                                    "changing", "put 22,1", "changed"}));
    EXPECT_EQ(m.Strings(0), "n");
    // Exchange moves the whole record; a new text keeps the stored state.
    EXPECT_EQ(m.LineState(22), 5);
    EXPECT_EQ(m.LineState(0), pelm::NoLineState);
}

TEST(StringList, ClearKeepsTheLineBreakFormat) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("f"), "a\rb\r");
    TCodeEditStringList l;
    l.LoadTextFile(dir.file("f"));
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Capacity(), 0);
    EXPECT_EQ(l.LineBreakFormat(), pelm::lbCr);
    l.Add("z");
    l.SaveTextFile(dir.file("g"));
    EXPECT_EQ(pelm::test::ReadFile(dir.file("g")), "z\r");
}

// Random edits at wandering places checked against a plain vector: the record
// array's gap must never show through.
TEST(StringList, RandomEditsMatchAPlainList) {
    TCodeEditStringList l;
    std::vector<std::string> ref;
    std::vector<int32_t> states;
    unsigned seed = 12345;
    auto next = [&](unsigned n) { seed = seed * 1103515245u + 12345u; return n ? (seed >> 8) % n : 0u; };
    for (int step = 0; step < 20000; ++step) {
        int count = static_cast<int>(ref.size());
        switch (next(8)) {
            case 0: case 1: {
                int i = static_cast<int>(next(static_cast<unsigned>(count + 1)));
                std::string s = "line" + std::to_string(step);
                l.Insert(i, s);
                ref.insert(ref.begin() + i, s);
                states.insert(states.begin() + i, pelm::NoLineState);
                break;
            }
            case 2:
                if (count) {
                    int i = static_cast<int>(next(static_cast<unsigned>(count)));
                    l.Delete(i);
                    ref.erase(ref.begin() + i);
                    states.erase(states.begin() + i);
                }
                break;
            case 3:
                if (count) {
                    int i = static_cast<int>(next(static_cast<unsigned>(count)));
                    int n = static_cast<int>(next(5)) + 1;
                    l.RemoveLines(i, n);
                    int m = std::min(n, count - i);
                    ref.erase(ref.begin() + i, ref.begin() + i + m);
                    states.erase(states.begin() + i, states.begin() + i + m);
                }
                break;
            case 4: {
                int i = static_cast<int>(next(static_cast<unsigned>(count + 1)));
                int n = static_cast<int>(next(4));
                l.InsertEmptyLines(i, n);
                ref.insert(ref.begin() + i, static_cast<size_t>(n), "");
                states.insert(states.begin() + i, static_cast<size_t>(n), 0);
                break;
            }
            case 5:
                if (count) {
                    int i = static_cast<int>(next(static_cast<unsigned>(count)));
                    l.SetStrings(i, "put" + std::to_string(step));
                    ref[static_cast<size_t>(i)] = "put" + std::to_string(step);
                }
                break;
            case 6:
                if (count > 1) {
                    int i = static_cast<int>(next(static_cast<unsigned>(count)));
                    int j = static_cast<int>(next(static_cast<unsigned>(count)));
                    l.Exchange(i, j);
                    std::swap(ref[static_cast<size_t>(i)], ref[static_cast<size_t>(j)]);
                    std::swap(states[static_cast<size_t>(i)], states[static_cast<size_t>(j)]);
                }
                break;
            case 7:
                if (count) {
                    int i = static_cast<int>(next(static_cast<unsigned>(count)));
                    l.SetLineState(i, step);
                    states[static_cast<size_t>(i)] = step;
                }
                break;
        }
        if (step % 97 == 0 || step == 19999) {
            ASSERT_EQ(l.Count(), static_cast<int>(ref.size())) << step;
            for (int i = 0; i < l.Count(); ++i) {
                ASSERT_EQ(l.Strings(i), ref[static_cast<size_t>(i)]) << "step " << step << " line " << i;
                ASSERT_EQ(l.LineState(i), states[static_cast<size_t>(i)]) << "step " << step << " line " << i;
            }
        }
    }
    int objectLine = l.Count() / 2;
    l.SetObjects(objectLine, &seed);
    l.Insert(0, "front");
    l.Delete(l.Count() - 1);
    EXPECT_EQ(l.Objects(objectLine + 1), &seed);
    EXPECT_EQ(l.Objects(objectLine), nullptr);
}

TEST(StringList, LongestLineSeesInsertedLines) {
    TCodeEditStringList l;
    l.Add("a");
    EXPECT_EQ(l.LongestLineWidth(), 1);
    l.Add("xxxxxxxx");
    EXPECT_EQ(l.LongestLineWidth(), 8);
    l.Insert(0, "0123456789");
    EXPECT_EQ(l.LongestLineWidth(), 10);
    l.AppendLines(std::vector<std::string>{std::string(12, 'y')});
    EXPECT_EQ(l.LongestLineWidth(), 12);
}

TEST(StringList, SaveRefusesAReadOnlyFileAndLeavesIt) {
    pelm::test::TempDir dir;
    pelm::test::WriteFile(dir.file("ro.html"), "keep\n");
    chmod(dir.file("ro.html").c_str(), 0444);
    TCodeEditStringList l;
    l.Add("new");
    try {
        l.SaveTextFile(dir.file("ro.html"));
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const pelm::EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir.file("ro.html") + "\". Permission denied.");
    }
    EXPECT_EQ(pelm::test::ReadFile(dir.file("ro.html")), "keep\n");
}
