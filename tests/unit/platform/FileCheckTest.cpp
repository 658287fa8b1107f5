// Files that are no documents: pipes, devices and folders are refused at once,
// a file larger than the memory there is before it is read, and a file that
// looks binary is told apart from text.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "core/editor/TCodeEditStringList.h"
#include "core/platform/Errors.h"
#include "core/platform/FileCheck.h"
#include "support/TempDir.h"

using namespace pelm;

TEST(FileCheck, SpecialFilesAreRefusedWithoutBlocking) {
    test::TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    mkdir(dir.file("folder").c_str(), 0700);
    struct Case {
        std::string file;
        const char* reason;
    } cases[] = {
        {dir.file("pipe"), "Not a regular file (a named pipe)."},
        {"/dev/zero", "Not a regular file (a character device)."},
        {"/dev/null", "Not a regular file (a character device)."},
        {dir.file("folder"), "Is a directory."},
        {dir.file("missing"), "No such file or directory."},
    };
    for (const Case& c : cases) {
        const std::string expected = "Cannot open file \"" + c.file + "\". " + c.reason;
        EXPECT_EQ(CheckDocumentFile(c.file).Error, expected);
        // The line buffer refuses them itself, before it is touched.
        TCodeEditStringList list;
        list.Add("kept");
        try {
            list.LoadTextFile(c.file);
            ADD_FAILURE() << c.file << " was loaded";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_EQ(list.Count(), 1);
    }
}

TEST(FileCheck, FileLargerThanSpareMemoryIsRefusedBeforeReading) {
    test::TempDir dir;
    test::WriteFile(dir.file("big.txt"), std::string(3 * 1024 * 1024, 'x'));
    const TFileCheck refused = CheckDocumentFile(dir.file("big.txt"), 2 * 1024 * 1024);
    EXPECT_EQ(refused.Error, "Cannot open file \"" + dir.file("big.txt") +
                                 "\". The file is larger than the memory available (3 MB, 2 MB free).");
    EXPECT_EQ(CheckDocumentFile(dir.file("big.txt"), 4 * 1024 * 1024).Error, "");
    EXPECT_GT(SpareMemory(), 3u * 1024 * 1024);
}

TEST(FileCheck, BinaryLooks) {
    struct Case {
        const char* name;
        std::string block;
        bool binary;
    } cases[] = {
        {"empty", "", false},
        {"html", "<html>\r\n\t<p>текст</p>\f\n", false},
        {"one NUL", std::string("abc\0def", 7), true},
        {"ELF header", std::string("\x7f" "ELF\x02\x01\x01\0", 8), true},
        {"a few escapes in a log", "\x1b[1mbold\x1b[0m and a long enough line of plain text around it", false},
        {"mostly control bytes", "\x01\x02\x03\x04" "ab\x05\x06\x07\x08", true},
        {"one in ten is not enough", std::string(9, 'a') + "\x01", false},
        {"one in nine is", std::string(8, 'a') + "\x01", true},
        {"UTF-16 LE text", std::string("\xFF\xFE<\0h\0t\0m\0l\0>\0", 12), false},
        {"UTF-16 BE text", std::string("\xFE\xFF\0<\0h\0t\0m\0l\0>", 12), false},
    };
    for (const Case& c : cases) EXPECT_EQ(LooksBinary(c.block), c.binary) << c.name;

    test::TempDir dir;
    std::string elf("\x7f" "ELF", 4);
    elf += std::string(100, '\0') + "text\n";
    test::WriteFile(dir.file("prog"), elf);
    test::WriteFile(dir.file("page.html"), "<p>x</p>\n");
    EXPECT_TRUE(CheckDocumentFile(dir.file("prog")).Binary);
    EXPECT_FALSE(CheckDocumentFile(dir.file("page.html")).Binary);
    // Only the first block decides.
    test::WriteFile(dir.file("late.txt"), std::string(kBinaryProbeSize, 'a') + std::string(1, '\0'));
    EXPECT_FALSE(CheckDocumentFile(dir.file("late.txt")).Binary);
}

TEST(FileCheck, MixedLineBreaksAreReported) {
    struct Case {
        const char* name;
        std::string text;
        bool mixed;
    } cases[] = {
        {"CR LF", "a\r\nb\r\n", false},     {"LF", "a\nb\n", false},         {"CR", "a\rb\r", false},
        {"none", "ab", false},              {"empty", "", false},            {"CR LF and LF", "a\r\nb\n", true},
        {"LF and CR", "a\nb\rc", true},     {"LF CR is two kinds", "a\n\rb", true},
        {"CR LF and CR", "a\r\nb\r", true},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteFile(dir.file("m.txt"), c.text);
        TCodeEditStringList list;
        list.LoadTextFile(dir.file("m.txt"));
        EXPECT_EQ(list.MixedLineBreaks(), c.mixed) << c.name;
    }
}
