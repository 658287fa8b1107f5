#include "core/editor/TCodeEditStringList.h"

#include "core/platform/FileCheck.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelm {

namespace {

TCodeEditStringList::WriteFunction gWrite = nullptr;

ssize_t doWrite(int fd, const void* data, size_t size) {
    return gWrite ? gWrite(fd, data, size) : ::write(fd, data, size);
}

// Writes all of data, retrying short writes; false with errno set on failure.
bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = doWrite(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

size_t findByte(const char* data, size_t from, size_t size, char b) {
    if (from >= size) return size;
    const void* p = std::memchr(data + from, b, size - from);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - data) : size;
}

std::string dirOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save must write: a symbolic link is followed to its target, so the
// link stays a link.
std::string resolveSaveTarget(const std::string& name) {
    std::string path = name;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return path;
        std::string target(buf, static_cast<size_t>(n));
        path = target[0] == '/' ? target : dirOf(path) + "/" + target;
    }
    return path;
}

// Accumulates pieces in a 16384-byte buffer and writes it out when the next piece
// does not fit; a piece larger than the buffer enlarges it.
class BufferedWriter {
public:
    explicit BufferedWriter(int fd) : fd_(fd) { buf_.reserve(16384); cap_ = 16384; }
    bool put(const char* a, size_t an, const char* b, size_t bn) {
        size_t need = an + bn;
        if (buf_.size() + need > cap_) {
            if (!flush()) return false;
            if (need > cap_) { cap_ = need; buf_.reserve(cap_); }
        }
        buf_.insert(buf_.end(), a, a + an);
        buf_.insert(buf_.end(), b, b + bn);
        return true;
    }
    bool flush() {
        if (buf_.empty()) return true;
        bool ok = writeAll(fd_, buf_.data(), buf_.size());
        buf_.clear();
        return ok;
    }

private:
    int fd_;
    size_t cap_;
    std::vector<char> buf_;
};

}  // namespace

void TCodeEditStringList::SetWriteFunction(WriteFunction fn) { gWrite = fn; }

TCodeEditStringList::TCodeEditStringList() = default;

TCodeEditStringList::~TCodeEditStringList() {
    // The hooks go first, so that releasing the lines reports nothing.
    OnLinesChanged.Clear();
    OnLinesChanging.Clear();
    OnLinesCleared.Clear();
    OnLinesDeleted.Clear();
    OnLinesInserted.Clear();
    OnLinePut.Clear();
    clearAll();
}

void TCodeEditStringList::checkIndex(int i, int limit) const {
    if (i < 0 || i > limit) throw ECodeEditStringList(Format("Invalid stringlist index %d", i));
}

void TCodeEditStringList::moveGap(int to) {
    const int gap = capacity_ - count_;
    if (gap > 0 && to != gapStart_) {
        if (to < gapStart_) {
            size_t n = static_cast<size_t>(gapStart_ - to);
            std::memmove(recs_ + to + gap, recs_ + to, sizeof(Rec) * n);
            std::memmove(flags_ + to + gap, flags_ + to, n);
        } else {
            size_t n = static_cast<size_t>(to - gapStart_);
            std::memmove(recs_ + gapStart_, recs_ + gapStart_ + gap, sizeof(Rec) * n);
            std::memmove(flags_ + gapStart_, flags_ + gapStart_ + gap, n);
        }
    }
    gapStart_ = to;
}

void TCodeEditStringList::setCapacityRaw(int newCapacity) {
    if (newCapacity == capacity_) return;
    moveGap(count_);
    if (newCapacity == 0) {
        std::free(recs_);
        std::free(flags_);
        recs_ = nullptr;
        flags_ = nullptr;
    } else {
        Rec* r = static_cast<Rec*>(std::realloc(recs_, sizeof(Rec) * static_cast<size_t>(newCapacity)));
        if (!r) throw std::bad_alloc();
        recs_ = r;
        uint8_t* f = static_cast<uint8_t*>(std::realloc(flags_, static_cast<size_t>(newCapacity)));
        if (!f) throw std::bad_alloc();
        flags_ = f;
    }
    capacity_ = newCapacity;
}

void TCodeEditStringList::SetCapacity(int newCapacity) {
    if (newCapacity < count_)
        throw ECodeEditStringList("Stringlist capacity cannot be smaller than count");
    setCapacityRaw(newCapacity);
}

void TCodeEditStringList::grow() {
    int delta = capacity_ > 64 ? capacity_ / 4 : 16;
    setCapacityRaw(capacity_ + delta);
}

void TCodeEditStringList::ensureCapacity(int needed) {
    while (capacity_ < needed) grow();
}

std::string_view TCodeEditStringList::Line(int i) const {
    if (i < 0 || i >= count_) return {};
    return {rec(i).text, rec(i).length};
}

int TCodeEditStringList::LineLength(int i) const {
    if (i < 0 || i >= count_) return 0;
    return static_cast<int>(rec(i).length);
}

void TCodeEditStringList::releaseText(int i) {
    if (flg(i) & OwnsText) std::free(const_cast<char*>(rec(i).text));
    rec(i).text = nullptr;
    rec(i).length = 0;
    flg(i) = static_cast<uint8_t>(flg(i) & ~OwnsText);
}

void TCodeEditStringList::storeText(int i, std::string_view s) {
    releaseText(i);
    if (s.empty()) return;
    char* p = static_cast<char*>(std::malloc(s.size()));
    if (!p) throw std::bad_alloc();
    std::memcpy(p, s.data(), s.size());
    rec(i).text = p;
    rec(i).length = static_cast<uint32_t>(s.size());
    flg(i) |= OwnsText;
}

void TCodeEditStringList::insertRecords(int index, int n) {
    if (count_ + n > capacity_) {
        if (n == 1) grow();
        ensureCapacity(count_ + n);
    }
    // The new records take the front of the gap, which moves to the insertion point.
    moveGap(index);
    for (int k = index; k < index + n; ++k) {
        recs_[k] = Rec{nullptr, 0, NoLineState, -1};
        flags_[k] = ExpansionStale;
    }
    gapStart_ += n;
    count_ += n;
    if (!objects_.empty()) objects_.insert(objects_.begin() + index, static_cast<size_t>(n), nullptr);
    // A new line may be the longest.
    longestIndex_ = -1;
}

void TCodeEditStringList::SetStrings(int i, std::string_view s) {
    if (i == count_) {
        Add(s);
        return;
    }
    checkIndex(i, count_ - 1);
    BatchGuard batch(*this);
    storeText(i, s);
    flg(i) = static_cast<uint8_t>((flg(i) & OwnsText) | ExpansionStale);
    longestIndex_ = -1;
    OnLinePut.Notify(i, 1);
}

void* TCodeEditStringList::Objects(int i) const {
    if (i < 0 || i >= count_ || objects_.empty()) return nullptr;
    return objects_[static_cast<size_t>(i)];
}

void TCodeEditStringList::SetObjects(int i, void* obj) {
    checkIndex(i, count_ - 1);
    if (objects_.empty()) {
        if (!obj) return;
        objects_.assign(static_cast<size_t>(count_), nullptr);
    }
    objects_[static_cast<size_t>(i)] = obj;
}

int TCodeEditStringList::Add(std::string_view s) {
    int index = count_;
    Insert(index, s);
    return index;
}

void TCodeEditStringList::Insert(int i, std::string_view s) {
    checkIndex(i, count_);
    BatchGuard batch(*this);
    insertRecords(i, 1);
    storeText(i, s);
    notifyInserted(i, 1);
}

void TCodeEditStringList::Delete(int i) {
    checkIndex(i, count_ - 1);
    RemoveLines(i, 1);
}

void TCodeEditStringList::clearAll() {
    for (int i = 0; i < count_; ++i)
        if (flg(i) & OwnsText) std::free(const_cast<char*>(rec(i).text));
    count_ = 0;
    gapStart_ = 0;
    setCapacityRaw(0);
    objects_.clear();
    blocks_.clear();
}

void TCodeEditStringList::Clear() {
    if (count_ > 0) {
        BatchGuard batch(*this);
        clearAll();
        longestIndex_ = -1;
        OnLinesCleared.Notify();
    }
    longestIndex_ = -1;
}

void TCodeEditStringList::Exchange(int i, int j) {
    checkIndex(i, count_ - 1);
    checkIndex(j, count_ - 1);
    if (i == j) return;
    BatchGuard batch(*this);
    std::swap(rec(i), rec(j));
    std::swap(flg(i), flg(j));
    if (!objects_.empty()) std::swap(objects_[static_cast<size_t>(i)], objects_[static_cast<size_t>(j)]);
    if (longestIndex_ == i) longestIndex_ = j;
    else if (longestIndex_ == j) longestIndex_ = i;
}

void TCodeEditStringList::AppendLines(const std::vector<std::string>& list) {
    if (list.empty()) return;
    BatchGuard batch(*this);
    int first = count_;
    int n = static_cast<int>(list.size());
    int wanted = (count_ + n + 15) / 16 * 16;
    if (capacity_ < wanted) setCapacityRaw(wanted);
    size_t total = 0;
    for (const std::string& s : list) total += s.size();
    char* block = nullptr;
    if (total > 0) {
        blocks_.emplace_back(new char[total]);
        block = blocks_.back().get();
    }
    insertRecords(first, n);
    for (int k = 0; k < n; ++k) {
        const std::string& s = list[static_cast<size_t>(k)];
        if (!s.empty()) {
            std::memcpy(block, s.data(), s.size());
            rec(first + k).text = block;
            rec(first + k).length = static_cast<uint32_t>(s.size());
            block += s.size();
        }
    }
    notifyInserted(first, n);
}

void TCodeEditStringList::AppendLines(const TCodeEditStringList& list) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Line(i));
    int first = count_;
    AppendLines(lines);
    if (!list.objects_.empty())
        for (int i = 0; i < list.Count(); ++i)
            if (list.Objects(i)) SetObjects(first + i, list.Objects(i));
}

std::string TCodeEditStringList::Text() const {
    if (count_ == 0) return {};
    size_t total = 0;
    for (int i = 0; i < count_; ++i) total += rec(i).length + 2;
    std::string out;
    out.reserve(total - 2);
    for (int i = 0; i < count_; ++i) {
        if (i > 0) out += "\r\n";
        out.append(rec(i).text ? rec(i).text : "", rec(i).length);
    }
    return out;
}

void TCodeEditStringList::SetText(std::string_view text) {
    BatchGuard batch(*this);
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = text.size();
        Add(text.substr(pos, stop - pos));
        pos = stop;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
}

void TCodeEditStringList::Assign(const TCodeEditStringList& list) {
    if (&list == this) return;
    BatchGuard batch(*this);
    Clear();
    for (int i = 0; i < list.Count(); ++i) Add(list.Line(i));
}

void TCodeEditStringList::BeginBatch() {
    if (updateCount_++ == 0) OnLinesChanging.Notify();
}

void TCodeEditStringList::EndBatch() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) OnLinesChanged.Notify();
}

void TCodeEditStringList::LoadTextFile(const std::string& fileName) {
    // Only regular files are read: O_NONBLOCK keeps a named pipe from stopping
    // the program at the open, and a device (/dev/zero) would never end.
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), SystemErrorText(errno).c_str()));
    struct stat st;
    std::string refused;
    if (::fstat(fd, &st) != 0) refused = SystemErrorText(errno);
    else if (refused = NotRegularReason(st.st_mode); refused.empty() && static_cast<uint64_t>(st.st_size) > 0) {
        // A file larger than the memory the machine can spare is refused before
        // it is read, not by running out of memory part-way.
        const uint64_t spare = SpareMemory();
        if (static_cast<uint64_t>(st.st_size) > spare) refused = TooLargeReason(static_cast<uint64_t>(st.st_size), spare);
    }
    if (!refused.empty()) {
        ::close(fd);
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), refused.c_str()));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Read the whole file into one block of its size; a file that turns out longer
    // than it said (a growing log) is read on to its end.
    size_t cap = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    size_t size = 0;
    std::unique_ptr<char[]> data(cap ? new char[cap] : nullptr);
    auto fail = [&](int err) {
        ::close(fd);
        return EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), SystemErrorText(err).c_str()));
    };
    for (;;) {
        if (size == cap) {
            char probe[65536];
            ssize_t n = ::read(fd, probe, sizeof probe);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw fail(errno);
            if (n == 0) break;
            size_t newCap = std::max(cap * 2, size + static_cast<size_t>(n) + 65536);
            std::unique_ptr<char[]> bigger(new char[newCap]);
            if (size) std::memcpy(bigger.get(), data.get(), size);
            std::memcpy(bigger.get() + size, probe, static_cast<size_t>(n));
            data = std::move(bigger);
            cap = newCap;
            size += static_cast<size_t>(n);
            continue;
        }
        ssize_t n = ::read(fd, data.get() + size, cap - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw fail(errno);
        if (n == 0) break;
        size += static_cast<size_t>(n);
    }
    ::close(fd);
    if (codec_) {
        std::string text;
        if (codec_->Decode(std::string_view(data.get(), size), text)) {
            data.reset(text.empty() ? nullptr : new char[text.size()]);
            if (!text.empty()) std::memcpy(data.get(), text.data(), text.size());
            size = text.size();
        }
    }

    const char* d = data.get();
    // The record array is sized from the line breaks of the first megabyte, grows
    // if the guess was short and is trimmed to the count at the end: one pass less
    // over the file than counting every line first.
    size_t sample = std::min<size_t>(size, 1u << 20);
    size_t breaks = 0;
    for (char b : {'\n', '\r'}) {
        size_t n = 0;
        for (size_t p = findByte(d, 0, sample, b); p < sample; p = findByte(d, p + 1, sample, b)) ++n;
        breaks = std::max(breaks, n);
    }
    double guess = sample ? static_cast<double>(breaks + 1) * static_cast<double>(size) / static_cast<double>(sample) : 0;
    BatchGuard batch(*this);
    Clear();
    setCapacityRaw(static_cast<int>(std::min(guess * 1.05 + 16, static_cast<double>(INT_MAX / 2))));
    bool crSeen = false, lfSeen = false;
    // Which of CR LF, LF alone and CR alone end lines, one bit each.
    unsigned breakKinds = 0;
    size_t pos = 0;
    size_t nextLF = findByte(d, 0, size, '\n');
    size_t nextCR = findByte(d, 0, size, '\r');
    const bool hook = static_cast<bool>(OnLinesInserted);
    while (pos < size) {
        if (nextLF < pos) nextLF = findByte(d, pos, size, '\n');
        if (nextCR < pos) nextCR = findByte(d, pos, size, '\r');
        size_t stop = std::min(nextLF, nextCR);
        if (count_ == capacity_) grow();
        // The gap stays at the end while lines are appended.
        int index = count_++;
        gapStart_ = count_;
        recs_[index] = Rec{stop > pos ? d + pos : nullptr, static_cast<uint32_t>(stop - pos), NoLineState, -1};
        flags_[index] = ExpansionStale;
        if (hook) OnLinesInserted.Notify(index, 1);
        pos = stop;
        unsigned kind = 0;
        if (pos < size && d[pos] == '\r') { crSeen = true; ++pos; kind = 4; }
        if (pos < size && d[pos] == '\n') { lfSeen = true; ++pos; kind = kind ? 1 : 2; }
        breakKinds |= kind;
    }
    mixedLineBreaks_ = breakKinds != 0 && (breakKinds & (breakKinds - 1)) != 0;
    if (capacity_ > count_) setCapacityRaw(count_);
    if (size > 0) blocks_.push_back(std::move(data));
    if (crSeen && !lfSeen) lineBreakFormat_ = lbCr;
    else if (lfSeen && !crSeen) lineBreakFormat_ = lbLf;
    else lineBreakFormat_ = lbCrLf;
}

void TCodeEditStringList::SaveTextFile(const std::string& fileName) const {
    auto createError = [&](int err) {
        return EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), SystemErrorText(err).c_str()));
    };
    auto writeError = [&](int err) {
        return EFCreateError(Format("Cannot write file \"%s\". %s", fileName.c_str(), SystemErrorText(err).c_str()));
    };
    const char* brk = lineBreakFormat_ == lbLf ? "\n" : lineBreakFormat_ == lbCr ? "\r" : "\r\n";
    size_t brkLen = lineBreakFormat_ == lbCrLf ? 2 : 1;
    auto writeLines = [&](int fd) {
        BufferedWriter w(fd);
        if (codec_ && !codec_->Identity()) {
            // Each line and its break converted on the way; a character the
            // encoding cannot hold abandons the save before the file is replaced.
            std::string piece;
            const std::string_view prefix = codec_->Prefix();
            if (!prefix.empty() && !w.put(prefix.data(), prefix.size(), "", 0)) return false;
            for (int i = 0; i < count_; ++i) {
                piece.clear();
                if (!codec_->Encode(std::string_view(rec(i).text ? rec(i).text : "", rec(i).length), piece) ||
                    !codec_->Encode(std::string_view(brk, brkLen), piece)) {
                    errno = EILSEQ;
                    return false;
                }
                if (!w.put(piece.data(), piece.size(), "", 0)) return false;
            }
            return w.flush();
        }
        for (int i = 0; i < count_; ++i)
            if (!w.put(rec(i).text, rec(i).length, brk, brkLen)) return false;
        return w.flush();
    };

    // The text goes to a temporary file beside the target, which replaces the
    // target only once it is complete on disk: a failing write never destroys the
    // file the user had.
    const std::string target = resolveSaveTarget(fileName);
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throw createError(EISDIR);
    // A file marked read-only is refused, though replacing it would only need a
    // writable folder. In a folder we may not write, the save fails before the
    // file is touched: writing it in place could leave it half-written.
    if (exists && ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) throw createError(EACCES);
    std::string tmp = dirOf(target) + "/." + baseOf(target) + ".pelm-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) throw createError(errno);
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) { /* keeping our own owner is fine */ }
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // Keeping the original's permission bits matters more than reporting a file
    // system that cannot set them.
    (void)::fchmod(fd, mode);
    int err = 0;
    bool ok = writeLines(fd);
    if (!ok) err = errno;
    if (ok && ::fsync(fd) != 0) { ok = false; err = errno; }
    if (::close(fd) != 0 && ok) { ok = false; err = errno; }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        err = errno;
        ::unlink(tmp.c_str());
        throw createError(err);
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        throw writeError(err);
    }
    int dfd = ::open(dirOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void TCodeEditStringList::InsertEmptyLines(int index, int numLines) {
    checkIndex(index, count_);
    if (numLines <= 0) return;
    BatchGuard batch(*this);
    insertRecords(index, numLines);
    for (int k = index; k < index + numLines; ++k) {
        rec(k) = Rec{nullptr, 0, 0, 0};
        flg(k) = 0;
    }
    notifyInserted(index, numLines);
}

void TCodeEditStringList::RemoveLines(int index, int numLines) {
    if (numLines <= 0) return;
    checkIndex(index, count_ - 1);
    numLines = std::min(numLines, count_ - index);
    BatchGuard batch(*this);
    for (int k = index; k < index + numLines; ++k) releaseText(k);
    // The removed records join the gap, which moves to where they stood.
    moveGap(index + numLines);
    gapStart_ = index;
    if (!objects_.empty()) objects_.erase(objects_.begin() + index, objects_.begin() + index + numLines);
    count_ -= numLines;
    if (longestIndex_ >= index) longestIndex_ = longestIndex_ < index + numLines ? -1 : longestIndex_ - numLines;
    if (count_ == 0) blocks_.clear();
    OnLinesDeleted.Notify(index, numLines);
}

int32_t TCodeEditStringList::LineState(int i) const {
    if (i < 0 || i >= count_) return 0;
    return rec(i).endState;
}

void TCodeEditStringList::SetLineState(int i, int32_t value) {
    checkIndex(i, count_ - 1);
    BatchGuard batch(*this);
    rec(i).endState = value;
}

void TCodeEditStringList::computeExpansion(int i) const {
    Rec& r = rec(i);
    int tw = tabWidth_;
    bool pow2 = (tw & (tw - 1)) == 0;
    int64_t cells = 0;
    bool tabs = false;
    for (uint32_t k = 0; k < r.length; ++k) {
        if (r.text[k] == '\t') {
            tabs = true;
            cells = pow2 ? ((cells + tw) & ~static_cast<int64_t>(tw - 1)) : cells + (tw - cells % tw);
        } else {
            ++cells;
        }
    }
    r.expandedLength = static_cast<int32_t>(std::min<int64_t>(cells, INT32_MAX));
    flg(i) = static_cast<uint8_t>((flg(i) & OwnsText) | (tabs ? TabsPresent : TabsAbsent));
}

std::string_view TCodeEditStringList::ExpandedView(int i, std::string& scratch) const {
    if (i < 0 || i >= count_) return {};
    if (flg(i) & TabsAbsent) return Line(i);
    computeExpansion(i);
    if (flg(i) & TabsAbsent) return Line(i);
    const Rec& r = rec(i);
    scratch.clear();
    scratch.reserve(static_cast<size_t>(r.expandedLength));
    int tw = tabWidth_;
    for (uint32_t k = 0; k < r.length; ++k) {
        char c = r.text[k];
        if (c == '\t') {
            int fill = tw - static_cast<int>(scratch.size() % static_cast<size_t>(tw));
            scratch.append(static_cast<size_t>(fill), tw == 1 ? ' ' : '\t');
        } else {
            scratch += c;
        }
    }
    return scratch;
}

std::string TCodeEditStringList::ExpandedText(int i) const {
    std::string scratch;
    return std::string(ExpandedView(i, scratch));
}

int TCodeEditStringList::ExpandedWidth(int i) const {
    if (i < 0 || i >= count_) return 0;
    if ((flg(i) & ExpansionStale) || rec(i).expandedLength < 0) computeExpansion(i);
    return rec(i).expandedLength;
}

int TCodeEditStringList::LongestLineWidth() const {
    if (count_ == 0) return 0;
    if (longestIndex_ < 0) {
        int best = 0, bestWidth = -1;
        for (int i = 0; i < count_; ++i) {
            int w = ExpandedWidth(i);
            if (w > bestWidth) { bestWidth = w; best = i; }
        }
        longestIndex_ = best;
    }
    return ExpandedWidth(longestIndex_);
}

void TCodeEditStringList::ApplyTabWidth(int n) {
    if (n != tabWidth_) {
        tabWidth_ = n;
        longestIndex_ = -1;
    }
    for (int i = 0; i < count_; ++i) {
        rec(i).expandedLength = -1;
        flg(i) = static_cast<uint8_t>((flg(i) & ~TabsAbsent) | ExpansionStale);
    }
}

int32_t TCodeEditStringList::CachedExpandedLength(int i) const {
    return i >= 0 && i < count_ ? rec(i).expandedLength : 0;
}

uint8_t TCodeEditStringList::CachedFlags(int i) const {
    return i >= 0 && i < count_ ? static_cast<uint8_t>(flg(i) & (TabsPresent | TabsAbsent | ExpansionStale)) : 0;
}

}  // namespace pelm
