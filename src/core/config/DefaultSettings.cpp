#include "core/config/DefaultSettings.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace pelm {

bool SeedSettingsFile(const std::string& settingsFile, const std::string& programDir) {
    const std::string shipped = programDir + "pelm.ini";
    if (settingsFile == shipped || ::access(settingsFile.c_str(), F_OK) == 0) return false;
    std::ifstream in(shipped, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // O_EXCL: a file that appeared meanwhile is left alone.
    const int fd = ::open(settingsFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool ok = ::close(fd) == 0 && done == bytes.size();
    if (!ok) ::unlink(settingsFile.c_str());
    return ok;
}

}  // namespace pelm
