#include "core/platform/ProfileStore.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/Cp1251.h"

namespace pelm::profile {

namespace {

struct Document {
    std::vector<std::string> lines;
    std::string lineBreak = "\r\n";
    bool exists = false;
    // The file is there but could not be read whole (no read permission, an I/O
    // error): a write must not replace it with what little was seen.
    int readError = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (cp1251::ToLower(static_cast<unsigned char>(a[i])) != cp1251::ToLower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

Document readDocument(const std::string& file) {
    Document doc;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) doc.readError = errno;
        return doc;
    }
    std::string data;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) doc.readError = errno;
        if (n <= 0) break;
        data.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    doc.exists = true;
    size_t firstBreak = data.find_first_of("\r\n");
    if (firstBreak != std::string::npos) {
        if (data[firstBreak] == '\n') doc.lineBreak = "\n";
        else if (firstBreak + 1 < data.size() && data[firstBreak + 1] == '\n') doc.lineBreak = "\r\n";
        else doc.lineBreak = "\r";
    }
    size_t pos = 0;
    while (pos < data.size()) {
        size_t stop = data.find_first_of("\r\n", pos);
        if (stop == std::string::npos) stop = data.size();
        doc.lines.emplace_back(data, pos, stop - pos);
        pos = stop;
        if (pos < data.size() && data[pos] == '\r') ++pos;
        if (pos < data.size() && data[pos] == '\n') ++pos;
    }
    return doc;
}

// A section header line gives its name.
std::optional<std::string_view> sectionName(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    t.remove_prefix(1);
    // Without its closing bracket the line names no section.
    size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(t.substr(0, close));
}

// A key line inside a section gives its name and raw value.
bool keyLine(std::string_view line, std::string_view& name, std::string_view& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    name = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}

// Index range [first, end) of the first section of that name, first = its header.
bool findSection(const Document& doc, std::string_view section, size_t& first, size_t& end) {
    std::string_view want = trim(section);
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        auto name = sectionName(doc.lines[i]);
        if (name && sameName(*name, want)) {
            first = i;
            end = i + 1;
            while (end < doc.lines.size() && !sectionName(doc.lines[end])) ++end;
            return true;
        }
    }
    return false;
}

bool findKey(const Document& doc, size_t first, size_t end, std::string_view key, size_t& at) {
    std::string_view want = trim(key);
    for (size_t i = first + 1; i < end; ++i) {
        std::string_view name, value;
        if (keyLine(doc.lines[i], name, value) && !name.empty() && sameName(name, want)) {
            at = i;
            return true;
        }
    }
    return false;
}

std::string unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v.remove_prefix(1);
        v.remove_suffix(1);
    }
    if (v.size() > kMaxValueLength) v = v.substr(0, kMaxValueLength);
    return std::string(v);
}

std::string resolveLinks(const std::string& file) {
    std::string path = file;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0) break;
        std::string target(buf, static_cast<size_t>(n));
        size_t slash = path.rfind('/');
        path = target[0] == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    return path;
}

bool writeDocument(const std::string& file, const Document& doc) {
    std::string data;
    for (const std::string& l : doc.lines) {
        data += l;
        data += doc.lineBreak;
    }
    const std::string target = resolveLinks(file);
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    // A file marked read-only stays unwritten, even for a user whose rights would
    // let a replacement through.
    if (exists && ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        errno = EACCES;
        return false;
    }
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string tmp = dir + "/." + base + ".tmp-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    (void)::fchmod(fd, mode);
    const char* p = data.data();
    size_t left = data.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) { ok = false; break; }
        p += n;
        left -= static_cast<size_t>(n);
    }
    int err = errno;
    if (ok && ::fsync(fd) != 0) { ok = false; err = errno; }
    if (::close(fd) != 0 && ok) { ok = false; err = errno; }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) { ok = false; err = errno; }
    if (!ok) {
        ::unlink(tmp.c_str());
        errno = err;
    }
    return ok;
}

}  // namespace

std::string GetString(const std::string& file, std::string_view section, std::string_view key,
                      std::string_view def) {
    Document doc = readDocument(file);
    size_t first, end, at;
    if (!findSection(doc, section, first, end) || trim(key).empty() || !findKey(doc, first, end, key, at))
        return std::string(def);
    std::string_view name, value;
    keyLine(doc.lines[at], name, value);
    return unquote(value);
}

std::vector<std::string> GetKeyNames(const std::string& file, std::string_view section) {
    std::vector<std::string> names;
    Document doc = readDocument(file);
    size_t first, end;
    if (!findSection(doc, section, first, end)) return names;
    // Each name takes its length plus a terminator; one more terminator ends the list.
    size_t used = 0;
    for (size_t i = first + 1; i < end; ++i) {
        std::string_view name, value;
        if (!keyLine(doc.lines[i], name, value) || name.empty()) continue;
        if (used + name.size() + 1 > kKeyNameBuffer - 1) break;
        used += name.size() + 1;
        names.emplace_back(name);
    }
    return names;
}

bool WriteString(const std::string& file, std::string_view section, std::optional<std::string_view> key,
                 std::optional<std::string_view> value) {
    Document doc = readDocument(file);
    if (doc.readError) {
        errno = doc.readError;
        return false;
    }
    size_t first, end;
    bool haveSection = findSection(doc, section, first, end);
    if (!key) {
        if (!haveSection) return true;
        doc.lines.erase(doc.lines.begin() + static_cast<long>(first), doc.lines.begin() + static_cast<long>(end));
        return writeDocument(file, doc);
    }
    std::string_view k = trim(*key);
    size_t at;
    bool haveKey = haveSection && !k.empty() && findKey(doc, first, end, k, at);
    if (!value) {
        if (!haveKey) return true;
        doc.lines.erase(doc.lines.begin() + static_cast<long>(at));
        return writeDocument(file, doc);
    }
    if (!haveSection) {
        doc.lines.push_back("[" + std::string(trim(section)) + "]");
        first = doc.lines.size() - 1;
        end = doc.lines.size();
    }
    // A key without a name cannot be read back, so none is stored; the section
    // still comes to exist.
    if (!k.empty()) {
        std::string line = std::string(k) + "=" + std::string(*value);
        if (haveKey) {
            doc.lines[at] = line;
        } else {
            // After the section's last non-blank line.
            size_t insertAt = end;
            while (insertAt > first + 1 && trim(doc.lines[insertAt - 1]).empty()) --insertAt;
            doc.lines.insert(doc.lines.begin() + static_cast<long>(insertAt), line);
        }
    } else if (haveSection && doc.exists) {
        return true;
    }
    return writeDocument(file, doc);
}

}  // namespace pelm::profile
