#include "core/platform/ProfileStore.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/Cp1251.h"

namespace pelm::profile {

namespace {

// What tells one state of a file from another: a write through this store
// replaces the file by a new one (a new inode), an edit in place changes its
// modification time or size.
struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    struct timespec mtime {};
    bool operator==(const Identity& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Identity identityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct Document {
    std::vector<std::string> lines;
    std::string lineBreak = "\r\n";
    bool exists = false;
    // The file is there but could not be read whole (no read permission, an I/O
    // error, not a regular file): a write must not replace it with what little
    // was seen.
    int readError = 0;
    Identity identity;
    // Header line of the first section of each name, by the name in lower case.
    std::unordered_map<std::string, size_t> firstSection;
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

std::string foldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(cp1251::ToLower(static_cast<unsigned char>(c)));
    return folded;
}

std::optional<std::string_view> sectionName(std::string_view line);

void indexSections(Document& doc) {
    doc.firstSection.clear();
    for (size_t i = 0; i < doc.lines.size(); ++i)
        if (auto name = sectionName(doc.lines[i])) doc.firstSection.try_emplace(foldName(*name), i);
}

Document readDocument(const std::string& file) {
    Document doc;
    // Without O_NONBLOCK a named pipe in the file's place would stop the
    // program until something writes to it.
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) doc.readError = errno;
        return doc;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        doc.readError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        doc.exists = true;
        ::close(fd);
        return doc;
    }
    doc.identity = identityOf(st);
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
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
    indexSections(doc);
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
    auto it = doc.firstSection.find(foldName(trim(section)));
    if (it == doc.firstSection.end()) return false;
    first = it->second;
    end = first + 1;
    while (end < doc.lines.size() && !sectionName(doc.lines[end])) ++end;
    return true;
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

// Writes the document; on success its identity becomes the new file's.
bool writeDocument(const std::string& file, Document& doc) {
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
    struct stat written;
    if (ok && ::fstat(fd, &written) != 0) { ok = false; err = errno; }
    if (::close(fd) != 0 && ok) { ok = false; err = errno; }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) { ok = false; err = errno; }
    if (!ok) {
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    doc.identity = identityOf(written);
    doc.exists = true;
    return true;
}

// The parsed copies of the files read last. A copy serves a read only while a
// stat of the file still shows the identity it was read with, so another
// program's write (ours replace the file, so the inode changes) or an edit in
// place is seen at the next read. A file changed within the last couple of
// seconds may be changed again without its time or size showing it (file
// times are coarse), so a copy read from such a file is used no longer than
// that read; copies of our own writes are exact and always serve.
constexpr size_t kCachedFiles = 8;
constexpr time_t kSettleSeconds = 2;

struct CacheEntry {
    std::string file;
    std::shared_ptr<const Document> doc;
};

std::mutex cacheMutex;
std::list<CacheEntry> cache;  // most recently used first
bool cacheEnabled = true;

bool settled(const Identity& id) {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return id.mtime.tv_sec + kSettleSeconds < now.tv_sec;
}

void remember(const std::string& file, std::shared_ptr<const Document> doc) {
    for (auto it = cache.begin(); it != cache.end(); ++it)
        if (it->file == file) {
            cache.erase(it);
            break;
        }
    if (!cacheEnabled) return;
    cache.push_front({file, std::move(doc)});
    if (cache.size() > kCachedFiles) cache.pop_back();
}

// The file's parsed contents, from the cache while the file is unchanged.
std::shared_ptr<const Document> loadDocument(const std::string& file) {
    std::lock_guard lock(cacheMutex);
    struct stat st;
    if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        for (auto it = cache.begin(); it != cache.end(); ++it)
            if (it->file == file) {
                if (it->doc->identity == identityOf(st)) {
                    cache.splice(cache.begin(), cache, it);
                    return cache.front().doc;
                }
                break;
            }
    }
    auto doc = std::make_shared<const Document>(readDocument(file));
    if (doc->exists && !doc->readError && settled(doc->identity)) remember(file, doc);
    else cache.remove_if([&](const CacheEntry& e) { return e.file == file; });
    return doc;
}

void rememberWritten(const std::string& file, Document&& doc) {
    std::lock_guard lock(cacheMutex);
    indexSections(doc);
    remember(file, std::make_shared<const Document>(std::move(doc)));
}

bool hasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

const std::string_view kLineBreaking("\r\n\0", 3);

// A name or value that would not read back as written, or would change the
// file's structure: a line break (or NUL) in any of them; "]" in a section
// name; "=" in a key name, or a key line that would read as a section header.
// No line of the file can hold such a name, so removing one removes nothing.
bool storable(std::string_view section, std::optional<std::string_view> key, std::optional<std::string_view> value) {
    if (hasAny(section, kLineBreaking) || section.find(']') != std::string_view::npos) return false;
    if (key) {
        if (hasAny(*key, kLineBreaking) || key->find('=') != std::string_view::npos) return false;
        if (sectionName(std::string(trim(*key)) + "=" + std::string(value.value_or("")))) return false;
    }
    if (value && hasAny(*value, kLineBreaking)) return false;
    return true;
}

bool commit(const std::string& file, Document&& doc) {
    if (!writeDocument(file, doc)) {
        int err = errno;
        std::lock_guard lock(cacheMutex);
        cache.remove_if([&](const CacheEntry& e) { return e.file == file; });
        errno = err;
        return false;
    }
    rememberWritten(file, std::move(doc));
    return true;
}

}  // namespace

void SetCacheEnabled(bool on) {
    std::lock_guard lock(cacheMutex);
    cacheEnabled = on;
    cache.clear();
}

std::string GetString(const std::string& file, std::string_view section, std::string_view key,
                      std::string_view def) {
    std::shared_ptr<const Document> doc = loadDocument(file);
    size_t first, end, at;
    if (!findSection(*doc, section, first, end) || trim(key).empty() || !findKey(*doc, first, end, key, at))
        return std::string(def);
    std::string_view name, value;
    keyLine(doc->lines[at], name, value);
    return unquote(value);
}

std::vector<std::string> GetKeyNames(const std::string& file, std::string_view section) {
    std::vector<std::string> names;
    for (auto& pair : GetPairs(file, section)) names.push_back(std::move(pair.first));
    return names;
}

std::vector<std::pair<std::string, std::string>> GetPairs(const std::string& file, std::string_view section) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::shared_ptr<const Document> doc = loadDocument(file);
    size_t first, end;
    if (!findSection(*doc, section, first, end)) return pairs;
    // A name that occurs twice reads the value of its first occurrence.
    std::unordered_map<std::string, std::string> firstValue;
    // Each name takes its length plus a terminator; one more terminator ends the list.
    size_t used = 0;
    for (size_t i = first + 1; i < end; ++i) {
        std::string_view name, value;
        if (!keyLine(doc->lines[i], name, value) || name.empty()) continue;
        if (used + name.size() + 1 > kKeyNameBuffer - 1) break;
        used += name.size() + 1;
        auto [it, added] = firstValue.try_emplace(foldName(name), unquote(value));
        pairs.emplace_back(std::string(name), it->second);
    }
    return pairs;
}

bool WriteString(const std::string& file, std::string_view section, std::optional<std::string_view> key,
                 std::optional<std::string_view> value) {
    if (!storable(section, key, value)) {
        if (!value) return true;  // nothing of that name can be in the file
        errno = EINVAL;
        return false;
    }
    std::shared_ptr<const Document> cached = loadDocument(file);
    if (cached->readError) {
        errno = cached->readError;
        return false;
    }
    // The cached copy stays as the file is until the new file is in place.
    Document doc = *cached;
    cached.reset();
    size_t first, end;
    bool haveSection = findSection(doc, section, first, end);
    if (!key) {
        if (!haveSection) return true;
        doc.lines.erase(doc.lines.begin() + static_cast<long>(first), doc.lines.begin() + static_cast<long>(end));
        return commit(file, std::move(doc));
    }
    std::string_view k = trim(*key);
    size_t at;
    bool haveKey = haveSection && !k.empty() && findKey(doc, first, end, k, at);
    if (!value) {
        if (!haveKey) return true;
        doc.lines.erase(doc.lines.begin() + static_cast<long>(at));
        return commit(file, std::move(doc));
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
    return commit(file, std::move(doc));
}

}  // namespace pelm::profile
