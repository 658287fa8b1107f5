#include "core/config/SettingsLocation.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace pelm {

namespace {
bool writableFolder(const std::string& dir) {
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & 0222) != 0 &&
           ::access(dir.c_str(), W_OK) == 0;
}
}  // namespace

std::string SettingsFileName(const std::string& programDir) {
    if (writableFolder(programDir.empty() ? std::string(".") : programDir)) return programDir + "pelm.ini";
    return UserSettingsFileName();
}

std::string UserSettingsFileName() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    ::mkdir(base.c_str(), 0700);
    std::string dir = base + "/pelm";
    ::mkdir(dir.c_str(), 0700);
    return dir + "/pelm.ini";
}

}  // namespace pelm
