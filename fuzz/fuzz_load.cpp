// Fuzzes loading and saving a document file. The input is written to a file
// and loaded:
// - the lines and the line-break format must be those of a plain reference
//   splitter (CR LF, LF and CR each end a line; a final break adds no line);
// - a save must write every line followed by the format's break, so that a file
//   with one kind of break and a final break comes back byte for byte;
// - a save whose writes fail part-way (short writes first, then an error at a
//   step chosen by the input) must raise and leave the original file exactly
//   as it was, with no temporary file left beside it;
// - the binary check must agree with the first block of the file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/platform/Errors.h"
#include "core/platform/FileCheck.h"

using pelm::TCodeEditStringList;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_load: %s\n", what);
    std::abort();
}

const std::string& folder() {
    static const std::string dir = [] {
        std::string t = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/fuzz_load.XXXXXX");
        if (!mkdtemp(t.data())) std::abort();
        std::atexit([] { rmdir(folder().c_str()); });
        return t;
    }();
    return dir;
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
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) std::abort();
    close(fd);
}

int entries() {
    int n = 0;
    DIR* d = opendir(folder().c_str());
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.' || (e->d_name[1] && (e->d_name[1] != '.' || e->d_name[2]))) ++n;
    closedir(d);
    return n;
}

struct Reference {
    std::vector<std::string> lines;
    pelm::TLineBreakFormat format = pelm::lbCrLf;
    bool mixed = false;
};

Reference split(const std::string& d) {
    Reference r;
    bool cr = false, lf = false, crlf = false, lone = false, loneCr = false;
    size_t pos = 0;
    while (pos < d.size()) {
        size_t stop = pos;
        while (stop < d.size() && d[stop] != '\r' && d[stop] != '\n') ++stop;
        r.lines.push_back(d.substr(pos, stop - pos));
        pos = stop;
        bool sawCr = false;
        if (pos < d.size() && d[pos] == '\r') cr = sawCr = true, ++pos;
        if (pos < d.size() && d[pos] == '\n') {
            lf = true, ++pos;
            (sawCr ? crlf : lone) = true;
        } else if (sawCr) {
            loneCr = true;
        }
    }
    r.format = cr && !lf ? pelm::lbCr : lf && !cr ? pelm::lbLf : pelm::lbCrLf;
    r.mixed = int(crlf) + int(lone) + int(loneCr) > 1;
    return r;
}

// The injected write: the first calls write short pieces, the call numbered
// failAt fails.
int writeCalls = 0, failAt = 0, shortUntil = 0;
ssize_t injectedWrite(int fd, const void* data, size_t size) {
    ++writeCalls;
    if (writeCalls == failAt) {
        errno = writeCalls % 2 ? ENOSPC : EIO;
        return -1;
    }
    if (writeCalls <= shortUntil && size > 1) size = size / 2;
    return ::write(fd, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int failStep = in.ConsumeIntegralInRange(1, 6);
    const int shortWrites = in.ConsumeIntegralInRange(0, 3);
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::string doc = folder() + "/doc.txt", copy = folder() + "/copy.txt";
    writeAll(doc, text);

    TCodeEditStringList list;
    list.LoadTextFile(doc);
    const Reference ref = split(text);
    if (list.Count() != static_cast<int>(ref.lines.size())) fail("line count differs from the reference");
    for (int i = 0; i < list.Count(); ++i)
        if (list.Line(i) != ref.lines[static_cast<size_t>(i)]) fail("a line differs from the reference");
    if (list.LineBreakFormat() != ref.format) fail("line-break format differs from the reference");
    if (list.MixedLineBreaks() != ref.mixed) fail("mixed line breaks misreported");

    const pelm::TFileCheck check = pelm::CheckDocumentFile(doc);
    if (!check.Error.empty() || check.Size != text.size()) fail("check of a regular file failed");
    if (check.Binary != pelm::LooksBinary(std::string_view(text).substr(0, pelm::kBinaryProbeSize)))
        fail("binary check differs from its first block");

    // Save round trip.
    const char* brk = ref.format == pelm::lbLf ? "\n" : ref.format == pelm::lbCr ? "\r" : "\r\n";
    std::string expected;
    for (const std::string& l : ref.lines) expected += l + brk;
    list.SaveTextFile(copy);
    const std::string saved = readAll(copy);
    if (saved != expected) fail("saved bytes are not the lines with their breaks");
    const bool clean = !ref.mixed && (text.empty() || text.back() == '\n' || text.back() == '\r') &&
                       !(ref.format == pelm::lbCrLf && !text.empty() && text.find('\n') == std::string::npos);
    if (clean && saved != text) fail("a clean file does not come back byte for byte");
    TCodeEditStringList again;
    again.LoadTextFile(copy);
    if (again.Count() != list.Count()) fail("a saved file loads with another line count");

    // A save that fails part-way leaves the original.
    list.SetStrings(0, "changed");  // appends when the list is empty
    writeCalls = 0, failAt = failStep, shortUntil = shortWrites;
    TCodeEditStringList::SetWriteFunction(injectedWrite);
    bool raised = false;
    try {
        list.SaveTextFile(doc);
    } catch (const pelm::EFCreateError&) {
        raised = true;
    }
    TCodeEditStringList::SetWriteFunction(nullptr);
    const bool reachedFailure = writeCalls >= failAt;
    if (reachedFailure && !raised) fail("a failed write was reported as success");
    if (raised && readAll(doc) != text) fail("a failed save changed the original");
    if (!raised && !reachedFailure) {
        // All writes went through (short ones included): the file is complete.
        TCodeEditStringList back;
        back.LoadTextFile(doc);
        if (back.Count() != list.Count() || back.Line(0) != "changed") fail("a save with short writes lost text");
    }
    if (entries() != 2) fail("a temporary file was left behind");
    unlink(doc.c_str());
    unlink(copy.c_str());
    return 0;
}
