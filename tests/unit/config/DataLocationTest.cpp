#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/config/DataLocation.h"
#include "support/TempDir.h"

using namespace pelm;

namespace {
void makeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') ::mkdir(path.substr(0, i).c_str(), 0755);
}
}  // namespace

// A build folder keeps its data beside the program; an installed program finds
// it in <prefix>/share/pelm/; the program's own folder wins when both exist.
TEST(DataLocation, BesideTheProgramOrInstalledShareFolder) {
    test::TempDir dir;
    const std::string root = dir.file("t");
    makeDirs(root + "/build/bin/Library");
    makeDirs(root + "/usr/bin");
    makeDirs(root + "/usr/share/pelm/Library");
    makeDirs(root + "/both/bin/Library");
    makeDirs(root + "/both/share/pelm/Library");
    makeDirs(root + "/bare/bin");
    struct Case {
        std::string exe, expected;
    } cases[] = {
        {root + "/build/bin/", root + "/build/bin/"},
        {root + "/usr/bin/", root + "/usr/share/pelm/"},
        {root + "/usr/bin", root + "/usr/share/pelm/"},
        {root + "/both/bin/", root + "/both/bin/"},
        {root + "/bare/bin/", root + "/bare/bin/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe);
        EXPECT_EQ(DataDirFor(c.exe), c.expected);
    }
    EXPECT_TRUE(IsInstalledDataDir(root + "/usr/share/pelm/"));
    EXPECT_TRUE(IsInstalledDataDir("/usr/share/pelm"));
    EXPECT_FALSE(IsInstalledDataDir(root + "/build/bin/"));
    EXPECT_FALSE(IsInstalledDataDir("/opt/myshare/pelm/"));
}
