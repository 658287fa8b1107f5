// The shipped tag library: every tag of the list has its description and its
// reference page, help topics exist, the first row is a row, void elements get
// no closing tag, and the generator's output is what is committed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <set>

#include "core/authoring/TagLibrary.h"
#include "core/config/TIniFile.h"

namespace pelm::test {
namespace {

const std::string Data = std::string(PELM_TEST_DATA) + "/../data/";

bool IsFile(const std::string& name) {
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TEST(TagLibraryConsistencyTest, EveryTagIsComplete) {
    const std::string tags = Data + "Library/Tags/";
    const std::vector<std::string> list = LoadTagList(tags + "tags.pel");
    const std::set<std::string> voids = {"AREA", "BASE", "BR", "COL", "EMBED", "HR", "IMG", "INPUT",
                                         "LINK", "META", "SOURCE", "TRACK", "WBR"};
    // The tags the quick commands choose.
    std::set<std::string> quick = {"H1", "H2", "H3", "H4", "H5", "H6", "P", "BR", "CITE", "CODE",
                                   "KBD", "SAMP", "B", "I", "U", "S", "SUP", "SUB", "FONT", "A",
                                   "IMG", "HR", "TABLE", "TR"};
    ASSERT_TRUE(IsTagHeader(list.front()));
    int count = 0;
    for (const std::string& entry : list) {
        SCOPED_TRACE(entry);
        ASSERT_FALSE(entry.empty());
        if (IsTagHeader(entry)) continue;
        ++count;
        quick.erase(entry);
        const std::string file = tags + entry + ".pel";
        ASSERT_TRUE(IsFile(file));
        const TIniFile ini(file);
        const TTagDescription d = ReadTagDescription(tags, entry);
        EXPECT_NE(ini.IniRead("Info", "Comment", ""), "");
        EXPECT_EQ(d.CloseTag, voids.count(entry) ? "no" : "yes");
        ASSERT_NE(d.Help, "");
        EXPECT_TRUE(IsFile(Data + "Help/Tags/" + d.Help)) << d.Help;
        EXPECT_GE(d.Default, 0);
        EXPECT_LT(d.Default, static_cast<int>(std::max<size_t>(d.Params.size(), 1)));
    }
    EXPECT_GT(count, 100);
    EXPECT_TRUE(quick.empty()) << *quick.begin();
    EXPECT_TRUE(IsFile(Data + "Help/Tags/index.html"));
}

TEST(TagLibraryConsistencyTest, GeneratedFilesAreUpToDate) {
    if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
    const std::string command = "python3 '" + Data + "../scripts/gen-tags.py' --check";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace pelm::test
