// Search speed over 50 MB of real HTML, line by line as the editor searches,
// beside memmem over the whole file for a literal and PCRE2's interpreter (no JIT)
// line by line for regular expressions. Also the exponential backtracking traps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"

#ifdef PELM_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

namespace {

struct Corpus {
    std::string text;
    std::vector<std::string_view> lines;
};

const Corpus& BigHtml() {
    static Corpus c = [] {
        Corpus c;
        std::string dir = std::string(PELM_BUILD_DIR) + "/corpus";
        std::string path = dir + "/big.html";
        struct stat st;
        if (stat(path.c_str(), &st) != 0) {
            mkdir(dir.c_str(), 0755);
            std::string cmd = "gzip -dc '" + std::string(PELM_CORPUS_DIR) + "/big.html.gz' > '" + path + "'";
            if (std::system(cmd.c_str()) != 0) {
                std::fprintf(stderr, "cannot decompress %s\n", path.c_str());
                std::exit(1);
            }
        }
        std::ifstream f(path, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        c.text = ss.str();
        // Lines without their separators, as the line buffer holds them.
        size_t start = 0;
        const std::string& t = c.text;
        while (start < t.size()) {
            size_t nl = t.find('\n', start);
            size_t end = nl == std::string::npos ? t.size() : nl;
            size_t e = end;
            if (e > start && t[e - 1] == '\r') --e;
            c.lines.emplace_back(t.data() + start, e - start);
            start = end + 1;
        }
        return c;
    }();
    return c;
}

void Finish(benchmark::State& state, long long matches) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(BigHtml().text.size()));
    state.counters["matches"] = static_cast<double>(matches);
}

void BM_LiteralMemmem(benchmark::State& state) {
    const std::string& t = BigHtml().text;
    long long n = 0;
    for (auto _ : state) {
        n = 0;
        const char* p = t.data();
        const char* end = t.data() + t.size();
        while (const void* hit = memmem(p, static_cast<size_t>(end - p), "class=", 6)) {
            ++n;
            p = static_cast<const char*>(hit) + 6;
        }
        benchmark::DoNotOptimize(n);
    }
    Finish(state, n);
}

void PlainCount(benchmark::State& state, pelm::SearchOptions options) {
    const Corpus& c = BigHtml();
    pelm::TCodeEditSearch e;
    e.SetSearchOptions(options);
    e.SetPattern("class=");
    long long n = 0;
    for (auto _ : state) {
        n = 0;
        for (std::string_view line : c.lines) n += e.FindAllInLine(line);
        benchmark::DoNotOptimize(n);
    }
    Finish(state, n);
}
void BM_LiteralPlain(benchmark::State& state) { PlainCount(state, pelm::soMatchCase); }
void BM_LiteralPlainIgnoreCase(benchmark::State& state) { PlainCount(state, 0); }

const char* const kExpressions[] = {"<[a-z]+[^>]*>", "\\bclass\\s*=", "(a|b)*c"};

long long RegexCountAll(pelm::TCodeEditRegexSearch& e) {
    long long n = 0;
    for (std::string_view line : BigHtml().lines) n += e.FindAllInLine(line);
    return n;
}

void RegexCount(benchmark::State& state, pelm::SearchOptions options) {
    pelm::TCodeEditRegexSearch e;
    e.SetSearchOptions(options);
    e.SetPattern(kExpressions[state.range(0)]);
    state.SetLabel(kExpressions[state.range(0)]);
    long long n = 0;
    for (auto _ : state) {
        n = RegexCountAll(e);
        benchmark::DoNotOptimize(n);
    }
    Finish(state, n);
}
void BM_Regex(benchmark::State& state) { RegexCount(state, pelm::soMatchCase); }
// The search dialog's default: case ignored, the expression's "i" modifier on.
void BM_RegexIgnoreCase(benchmark::State& state) { RegexCount(state, 0); }

#ifdef PELM_HAVE_PCRE2
struct Pcre {
    pcre2_code* code = nullptr;
    pcre2_match_data* md = nullptr;
    explicit Pcre(const char* pattern) {
        int err;
        PCRE2_SIZE off;
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0, &err, &off, nullptr);
        md = pcre2_match_data_create_from_pattern(code, nullptr);
    }
    ~Pcre() {
        pcre2_match_data_free(md);
        pcre2_code_free(code);
    }
    // Every match of one subject, continuing after each as the editor's engine does;
    // -1 when PCRE2 gives up (match limit).
    long long CountAll(std::string_view s) {
        long long n = 0;
        PCRE2_SIZE offset = 0;
        while (offset <= s.size()) {
            int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(s.data()), s.size(), offset, 0, md, nullptr);
            if (rc == PCRE2_ERROR_NOMATCH) break;
            if (rc < 0) return -1;
            PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md);
            ++n;
            offset = ov[1] == ov[0] ? ov[1] + 1 : ov[1];
        }
        return n;
    }
};

void BM_Pcre2Interpreter(benchmark::State& state) {
    Pcre re(kExpressions[state.range(0)]);
    state.SetLabel(kExpressions[state.range(0)]);
    long long n = 0;
    for (auto _ : state) {
        n = 0;
        for (std::string_view line : BigHtml().lines) n += re.CountAll(line);
        benchmark::DoNotOptimize(n);
    }
    Finish(state, n);
}
#endif

// The backtracking traps: a nested quantifier that cannot end the match, and an
// alternation whose branches overlap.
struct Trap {
    const char* expr;
    std::string text;
};
const Trap kTraps[] = {
    {"(x+x+)+y", std::string(30, 'x') + "!y"},
    {"(a|aa)*b", std::string(40, 'a')},
    {"(a|aa)+b", std::string(40, 'a') + "!b"},
    {"(x+x+)+y", std::string(5000, 'x') + "!y"},
};

void BM_TrapRegEngine(benchmark::State& state) {
    const Trap& t = kTraps[state.range(0)];
    pelm::TRegEngine re;
    re.SetExpressionText(t.expr);
    state.SetLabel(std::string(t.expr) + " on " + std::to_string(t.text.size()) + " bytes");
    int found = 0;
    for (auto _ : state) {
        found = re.RunOn(t.text);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
}

#ifdef PELM_HAVE_PCRE2
void BM_TrapPcre2Interpreter(benchmark::State& state) {
    const Trap& t = kTraps[state.range(0)];
    Pcre re(t.expr);
    state.SetLabel(std::string(t.expr) + " on " + std::to_string(t.text.size()) + " bytes");
    long long found = 0;
    for (auto _ : state) {
        found = re.CountAll(t.text);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);  // -1: PCRE2 gave up
}
#endif

// Before timing: both engines must count the same matches.
void CheckCounts() {
#ifdef PELM_HAVE_PCRE2
    for (int k = 0; k < 3; ++k) {
        pelm::TCodeEditRegexSearch e;
        e.SetSearchOptions(pelm::soMatchCase);
        e.SetPattern(kExpressions[k]);
        long long ours = RegexCountAll(e);
        Pcre re(kExpressions[k]);
        long long theirs = 0;
        for (std::string_view line : BigHtml().lines) theirs += re.CountAll(line);
        std::fprintf(stderr, "%-16s TRegEngine %lld matches, PCRE2 %lld%s\n", kExpressions[k], ours, theirs,
                     ours == theirs ? "" : "  MISMATCH");
    }
#endif
}

}  // namespace

BENCHMARK(BM_LiteralMemmem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralPlainIgnoreCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Regex)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexIgnoreCase)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
#ifdef PELM_HAVE_PCRE2
BENCHMARK(BM_Pcre2Interpreter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_TrapRegEngine)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
#ifdef PELM_HAVE_PCRE2
BENCHMARK(BM_TrapPcre2Interpreter)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
#endif

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BigHtml();
    CheckCounts();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
