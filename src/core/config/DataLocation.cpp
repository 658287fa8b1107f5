#include "core/config/DataLocation.h"

#include <sys/stat.h>

namespace pelm {

namespace {

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

// "/usr/bin/" -> "/usr/"; a folder without a parent gives "".
std::string parentOf(const std::string& dir) {
    std::string d = dir;
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    const size_t slash = d.rfind('/');
    if (slash == std::string::npos) return std::string();
    return d.substr(0, slash + 1);
}

}  // namespace

std::string DataDirFor(const std::string& executableDir) {
    const std::string own = withSlash(executableDir);
    if (isFolder(own + "Library")) return own;
    const std::string prefix = parentOf(own);
    if (!prefix.empty()) {
        const std::string shared = prefix + "share/pelm/";
        if (isFolder(shared + "Library")) return shared;
    }
    return own;
}

bool IsInstalledDataDir(const std::string& dataDir) {
    const std::string dir = withSlash(dataDir);
    const std::string tail = "/share/pelm/";
    return dir.size() >= tail.size() && dir.compare(dir.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace pelm
