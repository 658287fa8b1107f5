// Printing speed on big.html: the print engine paginating and drawing the
// whole document on a page device that counts its calls (A4 at 600 dpi), with
// line numbers, highlighted and coloured, highlighted without colours, and
// plain; beside them the pagination alone and the copy of the lines the
// print dialog makes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "CorpusFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/print/TCodeEditPrint.h"
#include "core/print/TRecordingPrintCanvas.h"

using namespace pelm;

namespace {

struct BigHtml {
    TCodeEditStringList lines;
    std::vector<std::string_view> views;
    double bytes = 0;
    BigHtml() {
        const std::string path = bench::CorpusFile("big.html");
        if (path.empty()) {
            std::fprintf(stderr, "cannot decompress big.html\n");
            std::exit(1);
        }
        lines.LoadTextFile(path);
        struct stat st {};
        ::stat(path.c_str(), &st);
        bytes = static_cast<double>(st.st_size);
        for (int i = 0; i < lines.Count(); ++i) views.push_back(lines.Line(i));
    }
};

BigHtml& big() {
    static BigHtml b;
    return b;
}

// A print of the whole document; mode 0: plain, 1: highlighted without
// colours, 2: highlighted in colour.
void BM_PrintBigHtml(benchmark::State& state) {
    BigHtml& b = big();
    THTMLHighlighter hl;
    TCodeEditPrint engine;
    engine.SetTabWidth(8);
    engine.SetLines(b.views);
    engine.LineNumbers = true;
    engine.Highlight = state.range(0) > 0;
    engine.Colors = state.range(0) == 2;
    TRecordingPrintCanvas canvas;
    canvas.Recording = false;
    for (auto _ : state) {
        // A fresh highlighter forgets the line states, as a new print does.
        engine.SetHighlighter(&hl);
        engine.PrintPages(canvas);
        benchmark::DoNotOptimize(canvas.CallCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.bytes));
    state.counters["pages"] = engine.PageCount();
    state.counters["calls/print"] = static_cast<double>(canvas.CallCount()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PrintBigHtml)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Pagination alone: geometry, rows per line with wrapping, page starts.
void BM_PaginateBigHtml(benchmark::State& state) {
    BigHtml& b = big();
    TCodeEditPrint engine;
    engine.SetLines(b.views);
    engine.LineNumbers = true;
    TRecordingPrintCanvas canvas;
    canvas.Recording = false;
    for (auto _ : state) {
        engine.Prepare(canvas);
        benchmark::DoNotOptimize(engine.PageCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.bytes));
    state.counters["pages"] = engine.PageCount();
}
BENCHMARK(BM_PaginateBigHtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The copy of the lines with their tabs expanded.
void BM_CopyLinesBigHtml(benchmark::State& state) {
    BigHtml& b = big();
    for (auto _ : state) {
        TCodeEditPrint engine;
        engine.SetLines(b.views);
        benchmark::DoNotOptimize(engine.LineCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.bytes));
}
BENCHMARK(BM_CopyLinesBigHtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
