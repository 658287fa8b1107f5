#include "core/platform/FileCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/Convert.h"
#include "core/platform/Errors.h"

namespace pelm {

namespace {

std::string openError(const std::string& fileName, const std::string& reason) {
    return Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str());
}

// A value in kB from /proc/meminfo or /proc/self/status, in bytes; 0 when absent.
uint64_t procValue(const char* file, const char* key) {
    FILE* f = std::fopen(file, "re");
    if (!f) return 0;
    char line[256];
    uint64_t value = 0;
    const size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, keyLength) == 0) {
            value = std::strtoull(line + keyLength, nullptr, 10) * 1024;
            break;
        }
    }
    std::fclose(f);
    return value;
}

}  // namespace

bool LooksBinary(std::string_view block) {
    if (block.empty()) return false;
    // UTF-16 text is full of NUL bytes; its byte-order mark says it is text.
    if (block.size() >= 2 && ((block[0] == '\xFF' && block[1] == '\xFE') || (block[0] == '\xFE' && block[1] == '\xFF')))
        return false;
    size_t control = 0;
    for (unsigned char c : block) {
        if (c == 0) return true;
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F) ++control;
    }
    return control * 10 > block.size();
}

uint64_t SpareMemory() {
    uint64_t spare = procValue("/proc/meminfo", "MemAvailable:");
    if (spare == 0) {
        long pages = ::sysconf(_SC_AVPHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
        spare = pages > 0 && pageSize > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) : UINT64_MAX;
    }
    struct rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        uint64_t used = procValue("/proc/self/status", "VmSize:");
        spare = std::min<uint64_t>(spare, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
    }
    if (::getrlimit(RLIMIT_DATA, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        uint64_t used = procValue("/proc/self/status", "VmData:");
        spare = std::min<uint64_t>(spare, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
    }
    return spare;
}

std::string NotRegularReason(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return SystemErrorText(EISDIR);
    if (S_ISFIFO(mode)) return "Not a regular file (a named pipe).";
    if (S_ISCHR(mode)) return "Not a regular file (a character device).";
    if (S_ISBLK(mode)) return "Not a regular file (a block device).";
    if (S_ISSOCK(mode)) return "Not a regular file (a socket).";
    return "Not a regular file.";
}

std::string TooLargeReason(uint64_t size, uint64_t spare) {
    const uint64_t mb = 1024 * 1024;
    return Format("The file is larger than the memory available (%llu MB, %llu MB free).",
                  static_cast<unsigned long long>((size + mb - 1) / mb), static_cast<unsigned long long>(spare / mb));
}

TFileCheck CheckDocumentFile(const std::string& fileName, uint64_t spareMemory) {
    TFileCheck check;
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        check.Error = openError(fileName, SystemErrorText(errno));
        return check;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        check.Error = openError(fileName, SystemErrorText(errno));
    } else if (std::string reason = NotRegularReason(st.st_mode); !reason.empty()) {
        check.Error = openError(fileName, reason);
    } else if (static_cast<uint64_t>(st.st_size) > spareMemory) {
        check.Size = static_cast<uint64_t>(st.st_size);
        check.Error = openError(fileName, TooLargeReason(check.Size, spareMemory));
    } else {
        check.Size = static_cast<uint64_t>(st.st_size);
        std::string block(kBinaryProbeSize, '\0');
        size_t got = 0;
        while (got < block.size()) {
            ssize_t n = ::read(fd, block.data() + got, block.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                check.Error = openError(fileName, SystemErrorText(errno));
                break;
            }
            if (n == 0) break;
            got += static_cast<size_t>(n);
        }
        block.resize(got);
        check.Binary = check.Error.empty() && LooksBinary(block);
    }
    ::close(fd);
    return check;
}

}  // namespace pelm
