// Loading and saving a document, beside the raw cost of reading the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <unistd.h>

#include "CorpusFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/editor/TCustomCodeEdit.h"
#include "core/encoding/EncodingDetector.h"
#include "core/encoding/TDocumentCodec.h"
#include "core/highlight/THTMLHighlighter.h"

namespace {

std::string BigHtml() { return pelm::bench::CorpusFile("big.html"); }

std::string ShortLines() {
    std::string path = std::string(PELM_BUILD_DIR) + "/corpus/short-lines.txt";
    std::ifstream probe(path);
    if (!probe) {
        std::system(("mkdir -p '" + std::string(PELM_BUILD_DIR) + "/corpus'").c_str());
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 1000000; ++i) f << "line " << i % 1000 << "\n";
    }
    return path;
}

size_t fileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
}

void RawRead(benchmark::State& state, const std::string& path, bool countLines) {
    size_t size = fileSize(path);
    std::unique_ptr<char[]> buf(new char[size]);
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        size_t got = 0;
        while (got < size) {
            ssize_t n = ::read(fd, buf.get() + got, size - got);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        ::close(fd);
        size_t lines = 0;
        if (countLines) {
            const char* p = buf.get();
            const char* end = p + got;
            while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
                ++lines;
                ++p;
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void Load(benchmark::State& state, const std::string& path) {
    size_t size = fileSize(path);
    size_t heapBefore = mallinfo2().uordblks;
    int lines = 0;
    size_t heapLoaded = 0;
    for (auto _ : state) {
        pelm::TCodeEditStringList l;
        l.LoadTextFile(path);
        lines = l.Count();
        state.PauseTiming();
        heapLoaded = mallinfo2().uordblks + mallinfo2().hblkhd;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["lines"] = lines;
    // Memory held by the loaded buffer beyond the file's own bytes, per line.
    double beyond = static_cast<double>(heapLoaded - heapBefore) - static_cast<double>(size);
    state.counters["bytes_per_line_beyond_text"] = lines ? beyond / lines : 0;
}

void Save(benchmark::State& state, const std::string& path) {
    pelm::TCodeEditStringList l;
    l.LoadTextFile(path);
    std::string out = std::string(PELM_BUILD_DIR) + "/corpus/saved.tmp";
    for (auto _ : state) l.SaveTextFile(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize(path)));
    ::unlink(out.c_str());
}

// The whole open as the program does it: the editor reacts to every inserted line
// (wrap map, marks) and the attached HTML highlighter scans each one.
void LoadIntoEditor(benchmark::State& state, const std::string& path, bool highlight) {
    pelm::THTMLHighlighter html;
    pelm::TCustomCodeEdit editor;
    if (highlight) editor.SetHighlighter(&html);
    for (auto _ : state) editor.Lines().LoadTextFile(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize(path)));
    editor.SetHighlighter(nullptr);
}

std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// big.html in Windows-1251 (characters 1251 lacks dropped), for the load that
// needs no conversion.
std::string BigHtml1251() {
    std::string path = std::string(PELM_BUILD_DIR) + "/corpus/big-1251.html";
    std::ifstream probe(path);
    if (!probe) std::system(("iconv -c -f UTF-8 -t CP1251 '" + BigHtml() + "' > '" + path + "'").c_str());
    return path;
}

// The encoding detection alone, on the bytes already in memory: what loading
// a file adds before the split when no conversion follows.
void Detect(benchmark::State& state, const std::string& path) {
    const std::string bytes = readAll(path);
    for (auto _ : state) {
        auto d = pelm::encoding::DetectEncoding(bytes);
        benchmark::DoNotOptimize(d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.SetLabel(pelm::encoding::DisplayName(pelm::encoding::DetectEncoding(bytes).encoding));
}

// The load as the program does it: detection, and conversion to 1251 when the
// file is in another encoding.
void LoadWithCodec(benchmark::State& state, const std::string& path) {
    pelm::encoding::TDocumentCodec codec;
    for (auto _ : state) {
        pelm::TCodeEditStringList l;
        l.SetFileCodec(&codec);
        l.LoadTextFile(path);
        benchmark::DoNotOptimize(l.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize(path)));
    state.SetLabel(pelm::encoding::DisplayName(codec.LastLoad().encoding) +
                   (codec.LastLoad().problem ? " (read-only)" : ""));
}

}  // namespace

BENCHMARK_CAPTURE(Load, big_html_baseline_for_detection, BigHtml())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, big_html, BigHtml())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadWithCodec, big_html, BigHtml())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, big_html_1251, BigHtml1251())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, big_html_1251, BigHtml1251())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadWithCodec, big_html_1251, BigHtml1251())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadIntoEditor, big_html_plain, BigHtml(), false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadIntoEditor, big_html_with_html_highlighter, BigHtml(), true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawRead, big_html_read, BigHtml(), false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawRead, big_html_read_and_count_lines, BigHtml(), true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, big_html, BigHtml())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, big_html, BigHtml())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawRead, short_lines_read_and_count_lines, ShortLines(), true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, short_lines_1M, ShortLines())->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
