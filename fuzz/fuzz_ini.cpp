// Fuzzes the profile store behind every INI file: a starting file from the
// input, then a run of writes, key removals and section clears with names and
// values drawn from a small pool (so that operations meet each other), blanks,
// quotes, brackets, "=" and line breaks included. After each operation:
// - a write the store accepts reads back as the reader sees values (blanks
//   around dropped, one pair of quotes removed, at most 2047 characters);
// - no other pair of the pool changes its value (no write may add a section
//   or a key that was not asked for);
// - a refused write leaves the file byte for byte as it was;
// - the cached parse gives the same answers as a fresh read of the file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/platform/Cp1251.h"
#include "core/platform/ProfileStore.h"

namespace profile = pelm::profile;

namespace {

[[noreturn]] void fail(const char* what, const std::string& section, const std::string& key) {
    std::fprintf(stderr, "fuzz_ini: %s [section \"%s\", key \"%s\"]\n", what, section.c_str(), key.c_str());
    std::abort();
}

std::string fileName() {
    static const std::string name = [] {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/fuzz_ini." + std::to_string(getpid()) + ".ini";
    }();
    return name;
}

std::string readAll(const std::string& file) {
    std::string data;
    int fd = open(file.c_str(), O_RDONLY);
    if (fd < 0) return "<missing>";
    char buf[65536];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) data.append(buf, static_cast<size_t>(n));
    close(fd);
    return data;
}

void writeAll(const std::string& file, const std::string& data) {
    unlink(file.c_str());
    if (data.empty()) return;
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    if (write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) std::abort();
    close(fd);
}

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string folded(const std::string& s) { return pelm::cp1251::LowerCase(trim(s)); }

// The value as the reader gives it back.
std::string asRead(const std::string& value) {
    std::string v = trim(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    if (v.size() > profile::kMaxValueLength) v.resize(profile::kMaxValueLength);
    return v;
}

const char* const kDefault = "\x01none";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = fileName();
    writeAll(file, in.ConsumeRandomLengthString(512));

    std::vector<std::string> sections, keys;
    const int poolSize = in.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < poolSize; ++i) sections.push_back(in.ConsumeRandomLengthString(12));
    for (int i = 0; i < poolSize; ++i) keys.push_back(in.ConsumeRandomLengthString(12));

    auto snapshot = [&] {
        std::vector<std::string> values;
        for (const std::string& s : sections)
            for (const std::string& k : keys) values.push_back(profile::GetString(file, s, k, kDefault));
        return values;
    };

    for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
        const std::string& section = sections[in.ConsumeIntegralInRange<size_t>(0, sections.size() - 1)];
        const std::string& key = keys[in.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)];
        const int op = in.ConsumeIntegralInRange(0, 3);
        std::string value = in.ConsumeRandomLengthString(op == 3 ? 3000 : 40);

        const std::vector<std::string> before = snapshot();
        const std::string bytesBefore = readAll(file);
        bool ok;
        if (op == 0) ok = profile::WriteString(file, section, std::nullopt, std::nullopt);
        else if (op == 1) ok = profile::WriteString(file, section, std::string_view(key), std::nullopt);
        else ok = profile::WriteString(file, section, std::string_view(key), std::string_view(value));
        if (!ok) {
            if (errno != EINVAL) fail("write failed for a reason other than a refused name or value", section, key);
            if (readAll(file) != bytesBefore) fail("a refused write changed the file", section, key);
            continue;
        }
        const std::vector<std::string> after = snapshot();
        size_t i = 0;
        for (const std::string& s : sections)
            for (const std::string& k : keys) {
                const bool sameSection = folded(s) == folded(section);
                const bool target = sameSection && folded(k) == folded(key);
                if (op >= 2 && target && !trim(k).empty() && after[i] != asRead(value))
                    fail("a written value does not read back", s, k);
                // Removing a key or a section may uncover a later duplicate; any
                // other pair keeps its value.
                const bool touched = op == 0 ? sameSection : target;
                if (!touched && after[i] != before[i]) fail("another pair changed its value", s, k);
                ++i;
            }
        std::vector<std::string> names = profile::GetKeyNames(file, section);
        profile::SetCacheEnabled(false);
        if (snapshot() != after) fail("the cached parse differs from the file", section, key);
        if (profile::GetKeyNames(file, section) != names) fail("cached key names differ from the file", section, key);
        profile::SetCacheEnabled(true);
    }
    unlink(file.c_str());
    return 0;
}
