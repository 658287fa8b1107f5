// Highlighting speed on real files: the full rescan of big.html beside its
// load time, one keystroke's incremental rescan in the middle of it, and one
// scan of the 5 MB single line of oneline.min.js with the HTML highlighter
// (at a quarter, half and all of its length, to show the cost is linear).
// The other languages: the full rescan of big.css (CSS) and of big.xml (XML,
// made by repeating real XML files of this machine), and the 5 MB line
// through each of them. The script languages: big.js and the 5 MB line through
// the JavaScript highlighter; for PHP and Perl a file built by repeating the
// scripts found on this machine; and a 5 MB line of PHP heredoc text that keeps
// almost closing, to show the closing-identifier search stays linear.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/highlight/TCssHighlighter.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/highlight/TJScriptHighlighter.h"
#include "core/highlight/TPHPHighlighter.h"
#include "core/highlight/TPerlHighlighter.h"
#include "core/highlight/TXMLHighlighter.h"

using namespace pelm;
namespace fs = std::filesystem;

namespace {

// The decompressed corpus file in the build folder, made on first use.
std::string corpusFile(const std::string& name) {
    fs::path dir = fs::path(PELM_BUILD_DIR) / "corpus";
    fs::path out = dir / name;
    if (!fs::exists(out)) {
        fs::create_directories(dir);
        fs::path tmp = out;
        tmp += ".part";
        std::string cmd = "gzip -dc '" + (fs::path(PELM_CORPUS_DIR) / (name + ".gz")).string() + "' > '" + tmp.string() + "'";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "cannot decompress %s\n", name.c_str());
            std::exit(1);
        }
        fs::rename(tmp, out);
    }
    return out.string();
}

// big.xml: real XML files of this machine, repeated up to about 20 MB.
std::string bigXmlFile() {
    fs::path out = fs::path(PELM_BUILD_DIR) / "corpus" / "big.xml";
    if (fs::exists(out)) return out.string();
    const char* sources[] = {
        "/usr/share/vulkan/registry/vk.xml",
        "/usr/share/xml/iso-codes/iso_639-3.xml",
        "/usr/share/xml/iso-codes/iso_3166-2.xml",
        "/usr/share/mime/packages/freedesktop.org.xml",
        "/usr/share/X11/xkb/rules/evdev.xml",
    };
    std::string all;
    for (const char* src : sources) {
        std::ifstream f(src, std::ios::binary);
        std::ostringstream ss;
        ss << f.rdbuf();
        all += ss.str();
    }
    if (all.empty()) {
        std::fprintf(stderr, "no XML files to build big.xml from\n");
        std::exit(1);
    }
    std::string text;
    while (text.size() < 20u * 1024 * 1024) text += all;
    fs::create_directories(out.parent_path());
    fs::path tmp = out;
    tmp += ".part";
    std::ofstream(tmp, std::ios::binary) << text;
    fs::rename(tmp, out);
    return out.string();
}

double fileBytes(const std::string& path) { return static_cast<double>(fs::file_size(path)); }

void BM_LoadBigHtml(benchmark::State& state) {
    std::string path = corpusFile("big.html");
    for (auto _ : state) {
        TCodeEditStringList lines;
        lines.LoadTextFile(path);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes(path)));
}
BENCHMARK(BM_LoadBigHtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FullRescanBigHtml(benchmark::State& state) {
    std::string path = corpusFile("big.html");
    TCodeEditStringList lines;
    lines.LoadTextFile(path);
    THTMLHighlighter hl;
    for (auto _ : state) FullRescan(lines, hl);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes(path)));
    state.counters["lines"] = lines.Count();
}
BENCHMARK(BM_FullRescanBigHtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One typed character in a line near the middle that does not change the
// line's end state: the line is replaced, and the rescan stops at that line.
void BM_KeystrokeRescanBigHtml(benchmark::State& state) {
    std::string path = corpusFile("big.html");
    TCodeEditStringList lines;
    lines.LoadTextFile(path);
    THTMLHighlighter hl;
    FullRescan(lines, hl);
    int line = lines.Count() / 2;
    std::string original, typed;
    for (;; ++line) {
        original = std::string(lines.Line(line));
        if (original.size() < 20) continue;
        typed = original;
        typed.insert(typed.size() / 2, 1, 'x');
        lines.SetStrings(line, typed);
        bool same = RescanFrom(lines, hl, line) == line;
        lines.SetStrings(line, original);
        RescanFrom(lines, hl, line);
        if (same) break;
    }
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        lines.SetStrings(line, flip ? typed : original);
        benchmark::DoNotOptimize(RescanFrom(lines, hl, line));
    }
    state.counters["line"] = line + 1;
    state.counters["length"] = static_cast<double>(original.size());
}
BENCHMARK(BM_KeystrokeRescanBigHtml)->Unit(benchmark::kMicrosecond);


std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// A file of at least 20 MB in the build folder, made by repeating the files
// under root whose names end in ext (in name order); empty when there are none.
std::string repeatedLocalFile(const std::string& name, const std::string& root, const std::string& ext) {
    fs::path out = fs::path(PELM_BUILD_DIR) / "corpus" / name;
    if (fs::exists(out)) return out.string();
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec) && it->path().extension() == ext) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    std::string one;
    for (const fs::path& f : files) one += readAll(f.string());
    if (one.empty()) return {};
    std::string all;
    while (all.size() < 20u * 1024 * 1024) all += one;
    fs::create_directories(out.parent_path());
    std::ofstream(out, std::ios::binary) << all;
    return out.string();
}

template <class Highlighter>
void fullRescanOf(benchmark::State& state, const std::string& path) {
    if (path.empty()) {
        state.SkipWithError("no input file");
        return;
    }
    TCodeEditStringList lines;
    lines.LoadTextFile(path);
    Highlighter hl;
    for (auto _ : state) FullRescan(lines, hl);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes(path)));
    state.counters["lines"] = lines.Count();
    state.counters["MB"] = fileBytes(path) / 1e6;
}


void BM_FullRescanBigCss(benchmark::State& state) { fullRescanOf<TCssHighlighter>(state, corpusFile("big.css")); }
BENCHMARK(BM_FullRescanBigCss)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FullRescanBigXml(benchmark::State& state) { fullRescanOf<TXMLHighlighter>(state, bigXmlFile()); }
BENCHMARK(BM_FullRescanBigXml)->Unit(benchmark::kMillisecond)->MinTime(2.0);


void BM_FullRescanBigJs(benchmark::State& state) { fullRescanOf<TJScriptHighlighter>(state, corpusFile("big.js")); }
BENCHMARK(BM_FullRescanBigJs)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FullRescanPhp(benchmark::State& state) {
    fullRescanOf<TPHPHighlighter>(state, repeatedLocalFile("repeated.php", "/usr/lib/google-cloud-sdk", ".php"));
}
BENCHMARK(BM_FullRescanPhp)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FullRescanPerl(benchmark::State& state) {
    fullRescanOf<TPerlHighlighter>(state, repeatedLocalFile("repeated.pm", "/usr/share/perl", ".pm"));
}
BENCHMARK(BM_FullRescanPerl)->Unit(benchmark::kMillisecond)->MinTime(2.0);

template <class Highlighter>
void oneLine(benchmark::State& state, const std::string& text) {
    Highlighter hl;
    for (auto _ : state) {
        hl.ResetState();
        hl.StartLine(text, 0);
        hl.ScanToLineEnd();
        benchmark::DoNotOptimize(hl.GetState());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}

// The first range(0) percent of the 5 MB line of oneline.min.js, scanned as one
// line by each highlighter (the script is the JavaScript highlighter's own case).
template <class Highlighter>
void oneLineMinJs(benchmark::State& state) {
    std::string text = readAll(corpusFile("oneline.min.js"));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    text.resize(text.size() * static_cast<size_t>(state.range(0)) / 100);
    oneLine<Highlighter>(state, text);
}
BENCHMARK(oneLineMinJs<THTMLHighlighter>)->Name("BM_OneLineMinJsAsHtml")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(oneLineMinJs<TCssHighlighter>)->Name("BM_OneLineMinJsAsCss")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(oneLineMinJs<TXMLHighlighter>)->Name("BM_OneLineMinJsAsXml")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(oneLineMinJs<TJScriptHighlighter>)->Name("BM_OneLineMinJs")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// range(0) percent of a 5 MB heredoc line: identifier of 1000 letters, text
// of runs of 999 of them each followed by ';' (every ';' nearly closes).
void BM_OneLinePhpHeredoc(benchmark::State& state) {
    const std::string id(1000, 'A');
    std::string text = "<<<" + id + " ";
    const std::string chunk = std::string(999, 'A') + ";";
    while (text.size() < 5u * 1024 * 1024) text += chunk;
    text.resize(text.size() * static_cast<size_t>(state.range(0)) / 100);
    oneLine<TPHPHighlighter>(state, text);
}
BENCHMARK(BM_OneLinePhpHeredoc)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
